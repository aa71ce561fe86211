#include "plugin/plugin.h"

#include <mutex>

#include "contest/scoring.h"
#include "contest/text_util.h"
#include "reports/summary_html.h"
#include "reports/summary_text.h"

namespace stats {

Plugin::Plugin(const Platform& platform) : platform_(platform) {}

Plugin::~Plugin() = default;

std::string Plugin::ReadSetting(const std::string& key, const std::string& fallback) {
    return platform_.settings->Read(state_.g_SettingsFile, state_.g_SettingsSection, key, fallback);
}

void Plugin::WriteSetting(const std::string& key, const std::string& value) {
    // A line break in a value (the host's own call as the default operator,
    // say) would start a line of its own in the file and could set any key.
    platform_.settings->Write(state_.g_SettingsFile, state_.g_SettingsSection, key, OnOneLine(value));
}

SettingsKeys Plugin::Settings() {
    return SettingsKeys{[this](const std::string& key, const std::string& fallback) { return ReadSetting(key, fallback); },
                        [this](const std::string& key, const std::string& value) { WriteSetting(key, value); }};
}

int SettingsKeys::ReadInt(const std::string& key) const { return ParseDecimal(Read(key)); }

int Plugin::AddData(const QsoInput& qso) {
    std::lock_guard<std::mutex> lock(state_.guard);
    return AddQso(state_, qso);
}

int Plugin::RemoveData(const QsoInput& qso) {
    std::lock_guard<std::mutex> lock(state_.guard);
    RemoveQso(state_, qso);
    if (platform_.windows->HasSetupWindow()) platform_.windows->PostRefresh();
    return 1;
}

void Plugin::WriteWaitingLines() {
    std::lock_guard<std::mutex> lock(state_.guard);
    state_.g_BadQsoFile.FlushWaitingLines();
}

void Plugin::WriteWaitingLinesIfFree() {
    std::unique_lock<std::mutex> lock(state_.guard, std::try_to_lock);
    if (lock.owns_lock()) state_.g_BadQsoFile.FlushWaitingLines();
}

int Plugin::CheckCallFunc(const CallCheckInput& input) {
    std::lock_guard<std::mutex> lock(state_.guard);
    state_.g_BadQsoFile.FlushWaitingLinesUnlessFailing();  // the lines of the additions before, as at any other call
    // At most one refresh caused by call checks waits in the window's queue.
    if (platform_.windows->HasSetupWindow() && state_.g_bRefreshIdle != 0) {
        state_.g_bRefreshIdle = 0;
        platform_.windows->PostRefresh();
    }
    return CheckCall(state_, input);
}

const char* Plugin::GetResult(int* out) {
    std::int64_t score = 0;
    {
        std::lock_guard<std::mutex> lock(state_.guard);
        std::string& result = state_.g_strResult;
        result.clear();
        const bool html = state_.g_bHtmlResult != 0;
        if (html)
            AppendHtmlHeader(result, state_);
        else
            AppendTextHeader(result, state_);
        const CScoreSummary summary = ComputeStatistics(state_);
        if (html)
            AppendHtmlBody(result, summary);
        else
            AppendTextBody(result, state_, summary);
        score = summary.score;
    }
    // The host asks for a result after each QSO and more often; the settings
    // file is written again only when the claimed score changed (or the run
    // is new: the report run's header may have set the key meanwhile).
    if (claimedWritten_ != score) {
        const std::string claimed = Format("%lld", static_cast<long long>(score));
        if (platform_.settings->Write(state_.g_SettingsFile, state_.g_SettingsSection, "Claimed", claimed))
            claimedWritten_ = score;
        else
            claimedWritten_.reset();
    }
    bool report = false;
    {
        std::lock_guard<std::mutex> lock(state_.guard);
        state_.g_nClaimedScore = score;
        report = state_.g_bReportRequest != 0;
    }
    if (report) WriteReport();
    if (out != nullptr) *out = -1;
    return state_.g_strResult.c_str();
}

void Plugin::WriteReport() {
    bool cw = false;
    std::string hostVersion;
    std::int64_t claimed = 0;
    {
        std::lock_guard<std::mutex> lock(state_.guard);
        const QsoLog& log = state_.g_QsoLog;
        g_CabrilloReport.ClearQsoLines();  // a second request must not list every QSO twice
        for (std::size_t i = 0; i < log.GetCount(); ++i) {
            const QsoRecord& r = log.Record(i);
            g_CabrilloReport.AddQsoLine(log.Text(r.call), r.freqKHz, CabrilloModeToken(log.Text(r.mode)), r.time,
                                        log.Text(r.rstSent), log.Text(r.exchSent), log.Text(r.rstRcvd),
                                        log.Text(r.exchRcvd));
        }
        cw = state_.g_bCwContest != 0;
        hostVersion = state_.g_HostVersion;
        claimed = state_.g_nClaimedScore;
    }
    // The box is modal: the window thread must be able to read the state meanwhile.
    platform_.messageBox->Show(g_CabrilloReport.WriteCabrilloFile(cw, hostVersion, claimed), "Output", true);
}

unsigned long Plugin::SetVersion() {
    std::lock_guard<std::mutex> lock(state_.guard);
    state_.g_BadQsoFile.FlushWaitingLines();
    state_.g_bHtmlResult = 1;
    return 0;
}

void Plugin::SetupSet() {
    WriteWaitingLines();
    platform_.messageBox->Show(kNoSetupText, nullptr, false);
}

bool IsValidExchange(const char* text) {
    if (text == nullptr) return false;
    const std::string_view t(text);
    if (t.size() < 2 || t.size() > 4 || t == "599") return false;
    for (const char c : t)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace stats
