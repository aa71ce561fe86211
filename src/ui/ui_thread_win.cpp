#include "ui/ui_thread_win.h"

#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <iterator>

#include "plugin/plugin.h"
#include "ui/refresh_cycle.h"
#include "ui/window_text_win.h"

namespace stats {

namespace {

// How long the host's thread waits at most for the window thread: a thread
// stuck in a call to the host must not hang the host at unload.
constexpr DWORD kCloseTimeoutMs = 2000;
constexpr auto kStopTimeout = std::chrono::seconds(5);
// How long a reset waits at most for the new thread's start-up.
constexpr DWORD kStartTimeoutMs = 5000;

// A host whose automation object lives on the thread that calls the reset
// answers the new thread's first calls to it only while that thread serves
// them: in a single-threaded apartment this wait is COM's modal loop, which
// lets them in as during any call the host makes itself; on any other thread
// it is a plain wait.
void WaitServingCalls(HANDLE* handles, DWORD count, DWORD timeoutMs) {
    DWORD index = 0;
    const HRESULT hr = CoWaitForMultipleHandles(0, timeoutMs, count, handles, &index);
    if (FAILED(hr) && hr != RPC_S_CALLPENDING) WaitForMultipleObjects(count, handles, FALSE, timeoutMs);
}

void SendCloseRequest(HWND window) {
    if (window == nullptr) return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kCloseTimeoutMs, &ignored);
}

// Message boxes of the window thread: every dialog of it that is none of the
// plug-in's own windows.
struct BoxSearch {
    HWND known[4];
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM p) {
    auto* search = reinterpret_cast<BoxSearch*>(p);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && std::find(std::begin(search->known), std::end(search->known), window) ==
                                             std::end(search->known))
        search->boxes.push_back(window);
    return TRUE;
}

}  // namespace

UiContext::UiContext(HINSTANCE m, Plugin& p, Win32WindowThread& t)
    : module(m), plugin(p), thread(t), ui(t.ui), host(t.Stopping()), views(*this, t) {}

Win32WindowThread::Win32WindowThread(HINSTANCE module)
    : module_(module), started_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Win32WindowThread::~Win32WindowThread() {
    if (thread_ != nullptr) CloseHandle(thread_);
    if (started_ != nullptr) CloseHandle(started_);
}

bool Win32ViewWindows::IsOpen(View view) const { return thread_.WindowOf(view).load() != nullptr; }

void Win32ViewWindows::Open(View view) {
    HWND window = CreateViewWindow(context_, view);
    if (window == nullptr) return;
    made_.push_back(window);
    thread_.WindowOf(view).store(window);
    ShowWindow(window, SW_SHOWNORMAL);
}

void Win32ViewWindows::Close(View view) {
    HWND window = thread_.WindowOf(view).exchange(nullptr);
    if (window != nullptr) SendMessageA(window, WM_CLOSE, 0, 0);
}

void Win32ViewWindows::SetTitle(View view, const std::string& title) {
    if (HWND window = thread_.WindowOf(view).load())
        SetWindowTextFrom(window, title, CurrentLanguage(context_.plugin.State()).cyrillic);
}

void Win32ViewWindows::RepaintPanel(View view) {
    if (HWND window = thread_.WindowOf(view).load()) InvalidateRect(GetDlgItem(window, 1003), nullptr, FALSE);
}

void Win32ViewWindows::PostRefresh() {
    if (context_.setupWindow != nullptr) PostMessageA(context_.setupWindow, kRefreshViewsMessage, 0, 0);
}

void Win32ViewWindows::DestroyAll() {
    thread_.prefixWindow.store(nullptr);
    thread_.prevQsoWindow.store(nullptr);
    thread_.contestWindow.store(nullptr);
    for (HWND window : made_)
        if (IsWindow(window)) DestroyWindow(window);
    made_.clear();
}

void Win32WindowThread::Start(Plugin& plugin) {
    if (HasSetupWindow()) Stop();
    plugin_ = &plugin;
    ++startedThreads_;
    if (started_ != nullptr) ResetEvent(started_);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, ThreadProc, this, 0, &id);
    if (thread == nullptr) {
        --startedThreads_;
        return;
    }
    // The thread is followed through its windows; the handle serves the last
    // resort of an unload only.
    if (thread_ != nullptr) CloseHandle(thread_);
    thread_ = thread;
    threadId_.store(id);
    // Whatever a thread does for the first time may need the loader's lock:
    // its own start, its first window (the display driver, input methods,
    // themes), the dialog template, COM's start-up and the first call to the
    // host. An unloading host holds that lock for the whole unload while it
    // waits for this thread, so none of it may be left for then: the reset
    // returns only once the start-up is over (or the thread has ended).
    HANDLE waits[] = {started_, thread};
    if (started_ != nullptr) WaitServingCalls(waits, 2, kStartTimeoutMs);
}

void Win32WindowThread::SignalStarted() {
    if (started_ != nullptr) SetEvent(started_);
}

DWORD WINAPI Win32WindowThread::ThreadProc(LPVOID self) { return static_cast<Win32WindowThread*>(self)->Run(); }

DWORD Win32WindowThread::Run() {
    bool expected = false;
    if (stopping_.load() || !setupExists_.compare_exchange_strong(expected, true)) {
        SignalStarted();
        --startedThreads_;
        return 1;
    }
    bool hostReferenceLeft = false;
    try {
        UiContext context(module_, *plugin_, *this);
        RunSetupWindow(context);
        context.views.DestroyAll();
        if (stopping_.load())
            hostReferenceLeft = context.host.Abandon();
        else
            context.host.Disconnect();
        if (context.brush != nullptr) DeleteObject(context.brush);
    } catch (...) {
        // Nothing may escape a thread of the host's process.
    }
    setupWindow.store(nullptr);
    setupExists_.store(false);
    SignalStarted();  // a start-up that failed is over too
    --startedThreads_;  // after this the host may unload the library
    if (hostReferenceLeft) {
        // A thread that ends gives back what its apartment still holds, and
        // it does so while it holds the loader's lock: a call to the host,
        // which needs a new thread of the process's pool, which needs that
        // lock. The process would hang for good at its next library load or
        // thread start. So this thread never ends: it waits here, holding no
        // lock and no window, until the process ends; nothing wakes it, so it
        // never returns into the library's code once the image is gone.
        for (;;) SleepEx(INFINITE, FALSE);
    }
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
    // A call to the host that is waiting for its answer notices the stop at
    // the next message (see Win32HostLink).
    if (const DWORD id = threadId_.load()) PostThreadMessageA(id, WM_NULL, 0, 0);
    // A thread that has started but has not shown its Setup window yet is waited for too.
    while (running() && setupWindow.load() == nullptr && std::chrono::steady_clock::now() < deadline) Sleep(20);
    // A message box about a failing host holds the thread in its own loop.
    if (const DWORD id = threadId_.load()) {
        BoxSearch search{{setupWindow.load(), prefixWindow.load(), prevQsoWindow.load(), contestWindow.load()}, {}};
        EnumThreadWindows(id, CollectBox, reinterpret_cast<LPARAM>(&search));
        for (HWND box : search.boxes) PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    SendCloseRequest(contestWindow.exchange(nullptr));
    SendCloseRequest(prevQsoWindow.exchange(nullptr));
    SendCloseRequest(prefixWindow.exchange(nullptr));
    SendCloseRequest(setupWindow.load());
    while (running() && std::chrono::steady_clock::now() < deadline) Sleep(20);
    const bool stopped = !running();
    if (stopped) stopping_.store(false);
    return stopped;
}

void Win32WindowThread::Freeze() {
    // The thread has not answered for the whole stop. Its start-up was over
    // before the reset returned and its way out needs nothing of the loader,
    // so it waits in a call that did not return (the host's, most likely) and
    // holds none of the process's locks that code outside such a wait takes;
    // the rest of the unload leaves alone everything it refers to. Suspended,
    // it never returns into the library's code once the image is gone; the
    // system ends it with the process.
    if (thread_ == nullptr || threadId_.load() == GetCurrentThreadId()) return;
    if (SuspendThread(thread_) == static_cast<DWORD>(-1)) return;
    // SuspendThread only asks; reading the context waits until it is done.
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    GetThreadContext(thread_, &context);
}

}  // namespace stats
