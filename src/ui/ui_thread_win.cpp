#include "ui/ui_thread_win.h"

#include <chrono>

#include "plugin/plugin.h"
#include "ui/refresh_cycle.h"
#include "ui/window_text_win.h"

namespace stats {

namespace {

// How long the host's thread waits at most for the window thread: a thread
// stuck in a call to the host must not hang the host at unload.
constexpr DWORD kCloseTimeoutMs = 2000;
constexpr auto kStopTimeout = std::chrono::seconds(5);

void SendCloseRequest(HWND window) {
    if (window == nullptr) return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kCloseTimeoutMs, &ignored);
}

}  // namespace

UiContext::UiContext(HINSTANCE m, Plugin& p, Win32WindowThread& t)
    : module(m), plugin(p), thread(t), ui(t.ui), views(*this, t) {}

bool Win32ViewWindows::IsOpen(View view) const {
    return (view == View::kPrefixes ? thread_.prefixWindow : thread_.prevQsoWindow).load() != nullptr;
}

void Win32ViewWindows::Open(View view) {
    HWND window = CreateViewWindow(context_, view);
    if (window == nullptr) return;
    made_.push_back(window);
    (view == View::kPrefixes ? thread_.prefixWindow : thread_.prevQsoWindow).store(window);
    ShowWindow(window, SW_SHOWNORMAL);
}

void Win32ViewWindows::Close(View view) {
    HWND window = (view == View::kPrefixes ? thread_.prefixWindow : thread_.prevQsoWindow).exchange(nullptr);
    if (window != nullptr) SendMessageA(window, WM_CLOSE, 0, 0);
}

void Win32ViewWindows::SetTitle(View view, const std::string& title) {
    if (HWND window = (view == View::kPrefixes ? thread_.prefixWindow : thread_.prevQsoWindow).load())
        SetWindowTextFrom(window, title, CurrentLanguage(context_.plugin.State()).cyrillic);
}

void Win32ViewWindows::RepaintPanel(View view) {
    if (HWND window = (view == View::kPrefixes ? thread_.prefixWindow : thread_.prevQsoWindow).load())
        InvalidateRect(GetDlgItem(window, 1003), nullptr, FALSE);
}

void Win32ViewWindows::PostRefresh() {
    if (context_.setupWindow != nullptr) PostMessageA(context_.setupWindow, kRefreshViewsMessage, 0, 0);
}

void Win32ViewWindows::DestroyAll() {
    thread_.prefixWindow.store(nullptr);
    thread_.prevQsoWindow.store(nullptr);
    for (HWND window : made_)
        if (IsWindow(window)) DestroyWindow(window);
    made_.clear();
}

void Win32WindowThread::Start(Plugin& plugin) {
    if (HasSetupWindow()) Stop();
    plugin_ = &plugin;
    ++startedThreads_;
    HANDLE thread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    if (thread == nullptr)
        --startedThreads_;
    else
        CloseHandle(thread);  // the thread is followed through its windows, not its handle
}

DWORD WINAPI Win32WindowThread::ThreadProc(LPVOID self) { return static_cast<Win32WindowThread*>(self)->Run(); }

DWORD Win32WindowThread::Run() {
    bool expected = false;
    if (!setupExists_.compare_exchange_strong(expected, true)) {
        --startedThreads_;
        return 1;
    }
    try {
        UiContext context(module_, *plugin_, *this);
        RunSetupWindow(context);
        context.views.DestroyAll();
        if (stopping_.load())
            context.host.Abandon();
        else
            context.host.Disconnect();
        if (context.brush != nullptr) DeleteObject(context.brush);
    } catch (...) {
        // Nothing may escape a thread of the host's process.
    }
    setupWindow.store(nullptr);
    setupExists_.store(false);
    --startedThreads_;  // last: after this the host may unload the library
    return 0;
}

void Win32WindowThread::PostRefresh() {
    if (HWND window = setupWindow.load()) PostMessageA(window, kRefreshViewsMessage, 0, 0);
}

bool Win32WindowThread::Stop() {
    const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
    auto running = [this] { return setupExists_.load() || startedThreads_.load() > 0; };
    if (!running()) return true;
    stopping_.store(true);
    // A thread that has started but has not shown its Setup window yet is waited for too.
    while (running() && setupWindow.load() == nullptr && std::chrono::steady_clock::now() < deadline) Sleep(20);
    SendCloseRequest(prevQsoWindow.exchange(nullptr));
    SendCloseRequest(prefixWindow.exchange(nullptr));
    SendCloseRequest(setupWindow.load());
    while (running() && std::chrono::steady_clock::now() < deadline) Sleep(20);
    const bool stopped = !running();
    if (stopped) stopping_.store(false);
    return stopped;
}

}  // namespace stats
