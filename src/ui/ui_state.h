// State and seams of the plug-in's window thread. Everything here runs on that
// thread; what it shares with the host's thread lives in the run state and is
// read and written under its guard.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace stats {

// The one private window message, always posted to the Setup window with
// wParam 0 and lParam 0; its handler is the refresh cycle.
inline constexpr unsigned kRefreshViewsMessage = 0x0400 + 500;  // WM_USER + 500

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
inline constexpr Rgb kWindowBackground{255, 250, 198};  // Setup, prefix grid, previous-QSO margins
inline constexpr Rgb kTableBackground{255, 255, 198};
inline constexpr Rgb kCurrentBandRow{198, 255, 255};
inline constexpr Rgb kContestBackground{255, 255, 224};
inline constexpr Rgb kTextColor{0, 0, 0};
inline constexpr Rgb kAheadColor{0, 128, 0};     // the run ahead of its reference
inline constexpr Rgb kBehindColor{192, 0, 0};    // behind it; QSOs past the limit
inline constexpr Rgb kWarningColor{176, 88, 0};  // the last hour before the limit

enum class View { kPrefixes, kPrevQso, kContest };

struct UiState {
    int g_bOnTop = 0;
    int g_nLastWindowX = 0;  // one position pair shared by all three windows
    int g_nLastWindowY = 0;
    std::string g_EntryCall;
    int g_nCurrentBand = -1;  // 0 = 160m .. 5 = 10m
    double g_dLastSp1Frequency = 0.0;  // hertz
    std::vector<std::string> g_ViewBands;
};

// A call to the host that failed on a connected link (the host went away).
class HostLinkError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The host's automation object. Without a connection every operation does
// nothing; a failing call throws HostLinkError.
class IHostLink {
public:
    virtual ~IHostLink() = default;
    virtual void Connect() = 0;
    virtual bool Connected() const = 0;
    virtual void SendMacro(const std::string& macro) = 0;
    virtual double GetFrequency() = 0;                  // hertz; 0 without a host
    virtual std::string GetEntryField(int field) = 0;   // 8-bit text; empty without a host
};

class NoHostLink final : public IHostLink {
public:
    void Connect() override {}
    bool Connected() const override { return false; }
    void SendMacro(const std::string&) override {}
    double GetFrequency() override { return 0.0; }
    std::string GetEntryField(int) override { return std::string(); }
};

// The view windows as the refresh cycle and the Setup window use them.
class IViewWindows {
public:
    virtual ~IViewWindows() = default;
    virtual bool IsOpen(View view) const = 0;
    // Creates the window, which places itself and is then shown.
    virtual void Open(View view) = 0;
    // Sends the close request and forgets the window.
    virtual void Close(View view) = 0;
    virtual void SetTitle(View view, const std::string& title) = 0;
    // Repaints the panel without erasing the background.
    virtual void RepaintPanel(View view) = 0;
    virtual void PostRefresh() = 0;
};

}  // namespace stats
