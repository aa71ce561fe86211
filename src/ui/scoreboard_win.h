// Posting the score with the system's HTTP client, on a thread of its own, and
// the window thread's side of it: the settings, the schedule's timer and the
// scoreboard window opened from the contest view.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>

#include "contest/live_figures.h"
#include "plugin/platform.h"
#include "reports/scoreboard_document.h"
#include "ui/scoreboard.h"

namespace stats {

struct UiContext;

// Posted to the Setup window when a post is over.
inline constexpr UINT kScoreboardDoneMessage = WM_USER + 501;
// The Setup window's timer that looks whether a post is due.
inline constexpr UINT_PTR kScoreboardTimer = 2;
inline constexpr UINT kScoreboardTimerMs = 2000;

// One post: everything the posting thread needs, copied, so that it refers
// to nothing of the window thread's.
struct PostRequest {
    BoardAddress address;
    std::string user, password;  // sent only where the address allows it
    std::string body;            // the document, UTF-8
    std::int64_t minute = 0;     // when it was made
};

// The posting thread. It lives as long as the loaded library, across runs of
// the window thread, and is started at the first post. At most one post is in
// flight; none ever waits for a turn.
class Win32ScorePoster final : public IBackgroundWork {
public:
    Win32ScorePoster();
    ~Win32ScorePoster() override;
    // Hands a post over unless one is in flight; `notify` gets `message` when
    // it is over. Never waits on the network.
    bool Send(PostRequest request, HWND notify, UINT message);
    bool Busy() const { return busy_.load(); }
    // The outcome of the last post, once, when it is over.
    std::optional<PostOutcome> TakeOutcome();
    // Cancels a post in flight and lets the thread end, within bounds.
    void Cancel() override;
    bool Stop() override;
    void Freeze() override;

private:
    static DWORD WINAPI ThreadProc(LPVOID self);
    void Run();
    PostOutcome Post(const PostRequest& request);
    // Keeps a handle where Stop can close it; false when stopping already.
    bool Keep(HINTERNET& slot, HINTERNET handle);
    void CloseKept(HINTERNET& slot);

    std::mutex guard_;  // never held across a network call
    std::optional<PostRequest> job_;
    std::optional<PostOutcome> outcome_;
    HWND notify_ = nullptr;
    UINT message_ = 0;
    HINTERNET session_ = nullptr, connection_ = nullptr, request_ = nullptr;

    HANDLE wake_ = nullptr;
    HANDLE thread_ = nullptr;
    std::atomic<bool> busy_{false};
    std::atomic<bool> stopping_{false};
    std::atomic<bool> running_{false};  // the thread is in the library's code
    std::chrono::steady_clock::time_point cancelled_;
};

// CryptProtectData for the current user, as hex; empty when it fails.
std::string ProtectPassword(const std::string& password);
std::string UnprotectPassword(const std::string& stored);

// The window thread's side: the settings, the schedule and the status line.
class ScoreboardPosting {
public:
    explicit ScoreboardPosting(UiContext& context);
    // Every few seconds and when a post is over: starts a post when it is due.
    void Tick();
    void PostNow();
    // The operator's settings from the scoreboard window; false (and the
    // line saying why) when the address is refused.
    bool Apply(bool enabled, const std::string& address, const std::string& user, const std::string& password,
               std::string& problem);
    std::string StatusLine() const;
    bool Enabled() const { return schedule_.Enabled(); }
    const std::string& Address() const { return address_; }
    const std::string& User() const { return user_; }
    const std::string& Password() const { return password_; }
    // Where the status line shows: the contest view and the scoreboard window.
    HWND statusWindow = nullptr;
    HWND boardWindow = nullptr;

private:
    std::string Document();
    void ShowStatus();

    UiContext& context_;
    ScoreboardSchedule schedule_;
    LiveFigures figures_;
    std::optional<CountryZones> zones_;
    std::string zonesCountry_;
    bool zonesRead_ = false;
    std::string address_, user_, password_;
    PostOutcome outcome_;
};

// The scoreboard window (template 120), modal, owned by the contest view.
void RunScoreboardWindow(HWND owner, UiContext& context);

}  // namespace stats
