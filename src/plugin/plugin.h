// One loaded plug-in: the run state and the work behind each exported function.
// Called on the host's thread, one call at a time; the window thread reads the
// same state under its guard.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "contest/call_check.h"
#include "contest/intake.h"
#include "contest/run_state.h"
#include "plugin/platform.h"
#include "reports/cabrillo_report.h"

namespace stats {

struct ResetInput {
    std::string_view iniSearchPath;  // "*.ini" is appended to search for the host's settings file
    int reportRequest = 0;
    std::string_view ownCall;
    OleDateTime startTime = OleDateTime::Null();
    OleDateTime endTime = OleDateTime::Null();
    std::string_view ownCountryPrefix;
    std::string_view ownContinent;
};

inline constexpr const char kSetName[] = "CQ-WPX-CW/SSB (C)";
inline constexpr const char kNoSetupText[] = "No additional setup for this plugin";

class Plugin {
public:
    explicit Plugin(const Platform& platform);
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    int ResetStats(const ResetInput& input);
    int AddData(const QsoInput& qso);
    int RemoveData(const QsoInput& qso);
    int CheckCallFunc(const CallCheckInput& input);
    // Text (or page) of the summary; valid until the next call.
    const char* GetResult(int* out);
    unsigned long SetVersion();
    void SetupSet();
    // Puts the report lines of the last additions into the bad-QSO file (every
    // export but AddData0 does so first, and so does the unload).
    void WriteWaitingLines();
    // The same at the end of the process, when another thread that held the
    // guard may have been ended: nothing is written then.
    void WriteWaitingLinesIfFree();

    RunState& State() { return state_; }
    const Platform& GetPlatform() const { return platform_; }
    // The report of a report run; host's thread only.
    CCabrilloReport& CabrilloReport() { return g_CabrilloReport; }

    // Settings of section "Settings" in the plug-in's settings file.
    std::string ReadSetting(const std::string& key, const std::string& fallback = std::string());
    void WriteSetting(const std::string& key, const std::string& value);
    SettingsKeys Settings();

private:
    void FindHostVersion(std::string_view iniSearchPath);
    void WriteReport();

    Platform platform_;
    RunState state_;
    CCabrilloReport g_CabrilloReport;
    // The claimed score this run last put into the settings file; host's thread only.
    std::optional<std::int64_t> claimedWritten_;
};

bool IsValidExchange(const char* text);

}  // namespace stats
