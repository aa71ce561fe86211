// The plug-in's window thread on Windows: it runs the Setup window modally and
// the view windows beside it. The host's thread only starts it, posts the
// refresh message to it and, at unload, closes its windows and waits for it.
#pragma once

#include <windows.h>

#include <atomic>
#include <vector>

#include "plugin/platform.h"
#include "ui/host_link_win.h"
#include "ui/scoreboard_win.h"
#include "ui/ui_state.h"

namespace stats {

class Plugin;
class SetupModel;
class Win32WindowThread;

// Everything the windows of one run of the thread share; lives on its stack.
struct UiContext;

class Win32ViewWindows final : public IViewWindows {
public:
    Win32ViewWindows(UiContext& context, Win32WindowThread& thread) : context_(context), thread_(thread) {}
    bool IsOpen(View view) const override;
    void Open(View view) override;
    void Close(View view) override;
    void SetTitle(View view, const std::string& title) override;
    void RepaintPanel(View view) override;
    void PostRefresh() override;
    // Destroys every view window this run made, hidden ones included.
    void DestroyAll();

private:
    UiContext& context_;
    Win32WindowThread& thread_;
    std::vector<HWND> made_;
};

struct UiContext {
    HINSTANCE module;
    Plugin& plugin;
    Win32WindowThread& thread;
    UiState& ui;  // the thread's, kept from one run to the next
    Win32HostLink host;
    Win32ViewWindows views;
    HICON icon = nullptr;
    HBRUSH brush = nullptr;  // the windows' background colour
    SetupModel* setup = nullptr;
    ScoreboardPosting* scoreboard = nullptr;  // while the Setup window runs
    HWND setupWindow = nullptr;
    bool hostErrorShown = false;  // one box about a failing host at a time
    bool started = false;         // the reset that started the thread has been told

    UiContext(HINSTANCE m, Plugin& p, Win32WindowThread& t);
};

class Win32WindowThread final : public IWindowThread {
public:
    explicit Win32WindowThread(HINSTANCE module);
    ~Win32WindowThread() override;
    void Start(Plugin& plugin) override;
    bool Stop() override;
    void Freeze() override;
    // Set while the host's thread waits in Stop.
    const std::atomic<bool>& Stopping() const { return stopping_; }
    bool HasSetupWindow() const override { return setupExists_.load(); }
    void PostRefresh() override;
    // The window thread's start-up is over: the reset that started it returns.
    void SignalStarted();

    // Kept up to date by the window thread, read by the host's thread.
    std::atomic<HWND> setupWindow{nullptr};
    std::atomic<HWND> prefixWindow{nullptr};
    std::atomic<HWND> prevQsoWindow{nullptr};
    std::atomic<HWND> contestWindow{nullptr};
    std::atomic<HWND>& WindowOf(View view) {
        return view == View::kPrefixes ? prefixWindow : view == View::kPrevQso ? prevQsoWindow : contestWindow;
    }
    const std::atomic<HWND>& WindowOf(View view) const { return const_cast<Win32WindowThread*>(this)->WindowOf(view); }

    // The entry call, the radio's band and frequency and the last window place
    // as the window thread last knew them. They belong to the loaded library,
    // not to one run of the thread: a thread started again after Escape goes
    // on from them. Only the window thread touches them, one run at a time.
    UiState ui;
    // The scoreboard's posting thread: the library's, not one run's, so that
    // a post in flight never holds up the window thread's end.
    Win32ScorePoster poster;

private:
    static DWORD WINAPI ThreadProc(LPVOID self);
    DWORD Run();

    HINSTANCE module_;
    HANDLE started_ = nullptr;  // set by a new thread once its start-up is over
    HANDLE thread_ = nullptr;   // the last thread started
    std::atomic<DWORD> threadId_{0};
    Plugin* plugin_ = nullptr;
    std::atomic<bool> setupExists_{false};
    std::atomic<bool> stopping_{false};  // the host's thread is waiting in Stop
    std::atomic<int> startedThreads_{0};  // created and not yet ended
};

// The Setup window's modal run (template 104); returns when it is closed.
void RunSetupWindow(UiContext& context);
// A view window (template 116, 114 or 118), modeless, without a parent.
HWND CreateViewWindow(UiContext& context, View view);

}  // namespace stats
