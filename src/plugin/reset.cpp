// The statistics reset: the start of every statistics run.
#include <algorithm>
#include <mutex>

#include "contest/file_util.h"
#include "contest/text_util.h"
#include "plugin/plugin.h"

namespace stats {

namespace {

// Host versions that predate the plug-in's windows.
constexpr const char* kOldHostVersions[] = {"2.18", "2.17", "2.16", "2.15", "2.14", "2.14R"};
// Own countries whose operators get the windows' Russian texts.
constexpr const char* kCyrillicCountries[] = {"UA", "UA2", "UA9", "CE9/KC4", "UR", "UN", "EU"};

constexpr const char kHostSettingsFile[] = "Zelk2.ini";
constexpr const char kHostVersionKey[] = "Zelk=";

template <std::size_t N>
bool IsOneOf(std::string_view text, const char* const (&list)[N]) {
    return std::any_of(std::begin(list), std::end(list), [&](const char* item) { return text == item; });
}

}  // namespace

void Plugin::FindHostVersion(std::string_view iniSearchPath) {
    const std::vector<std::string> names =
        platform_.fileSearch->FindNames(std::string(iniSearchPath) + "*.ini");
    const bool found = std::any_of(names.begin(), names.end(), [](const std::string& name) {
        return name.find(kHostSettingsFile) != std::string::npos;
    });
    if (!found) {
        state_.g_HostVersion = "Zelk";
        return;
    }
    // The host keeps its settings file in its own folder, the current directory.
    const auto content = ReadWholeFile(kHostSettingsFile);
    if (!content) return;
    std::size_t from = 0;
    while (from < content->size()) {
        std::size_t end = content->find('\n', from);
        if (end == std::string::npos) end = content->size();
        std::string_view line(content->data() + from, end - from);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find(kHostVersionKey) != std::string_view::npos) {
            state_.g_HostVersion = std::string(line.substr(std::min<std::size_t>(5, line.size())));
            return;
        }
        from = end + 1;
    }
}

int Plugin::ResetStats(const ResetInput& in) {
    claimedWritten_.reset();
    {
        std::lock_guard<std::mutex> lock(state_.guard);
        state_.g_BadQsoFile.EndRun();
        state_.g_StartDayMonth = FormatOleDate(in.startTime, "%d.%m");
        state_.g_StartYear = FormatOleDate(in.startTime, "%Y");
        state_.g_EndDate = FormatOleDate(in.endTime, "%d.%m.%Y");
        FindHostVersion(in.iniSearchPath);

        state_.g_ContestStart = in.startTime;
        state_.g_ContestEnd = in.endTime;
        state_.g_WorkedPrefixes.Detach(state_.g_QsoLog);
        state_.g_QsoLog.RemoveAll();
        state_.g_Score.Clear();
        state_.g_RejectedQsos.Clear();
        ++state_.g_LogGeneration;
        state_.g_WorkedBands.clear();
        state_.g_OwnCountry = in.ownCountryPrefix;
        state_.g_OwnContinent = in.ownContinent;
        state_.g_OwnCall = in.ownCall;
        if (IsOneOf(in.ownCountryPrefix, kCyrillicCountries)) state_.g_bCyrillicUi = 1;  // never cleared
        for (std::size_t b = 0; b < kBandCount; ++b)
            state_.g_PrevQsoRows[b] = {state_.g_ValidBands.GetAt(b), "-", "-", "-", "-"};
        state_.g_bReportRequest = in.reportRequest;
    }

    // The header dialog is modal; the window thread must be able to read the
    // state meanwhile.
    if (in.reportRequest != 0) {
        int cw = 0;
        const int accepted = g_CabrilloReport.PrepareHeader(std::string(in.ownCall), Settings(), *platform_.headerDialog, cw);
        std::lock_guard<std::mutex> lock(state_.guard);
        state_.g_bCwContest = cw;
        if (accepted == 0) state_.g_bReportRequest = 0;
    }
    if (in.reportRequest != 0) WriteSetting("Start", "1");

    // "Start" toggles in the settings file: a reset that opens the windows arms
    // it, the next one only re-arms it, and a report run never opens them.
    const int startKey = ParseDecimal(ReadSetting("Start"));
    std::string hostVersion;
    {
        std::lock_guard<std::mutex> lock(state_.guard);
        state_.g_nStartKey = startKey;
        hostVersion = state_.g_HostVersion;
    }
    if (startKey != 0) {
        WriteSetting("Start", "0");
    } else if (!platform_.windows->HasSetupWindow()) {
        if (!IsOneOf(hostVersion, kOldHostVersions)) platform_.windows->Start(*this);
        WriteSetting("Start", "1");
    }

    const int cw = ParseDecimal(ReadSetting("CW"));
    std::lock_guard<std::mutex> lock(state_.guard);
    state_.g_bCwContest = cw;
    // The last run's file goes; until it can be emptied its lines are stale.
    state_.g_BadQsoFile.StartRun(Format(cw != 0 ? "BadQSO_StatsWPXCW_%s.txt" : "BadQSO_StatsWPXSSB_%s.txt",
                                        FormatOleDate(in.endTime, "%d_%m_%Y").c_str()));
    return 1;
}

}  // namespace stats
