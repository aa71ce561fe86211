// The run state of one loaded plug-in and the guard that protects it.
//
// Two threads use this state: the host's thread (every exported function) and
// the plug-in's window thread, which reads the log, the worked prefixes and
// the previous-QSO rows and writes a few flags. Both take `guard` for as short
// as they can and never hold it across a dialog, a message box, a wait for the
// other thread or a call into the host.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "contest/bad_qso_file.h"
#include "contest/qso_log.h"
#include "contest/running_score.h"

namespace stats {

// The multipliers of the last result, for the working-prefix window. A result
// request takes them as pool ids, a copy of four bytes a prefix; the window
// reads their texts, which the log's pool keeps until a reset. A reset keeps
// the texts themselves, as the list outlives it until the next request.
class WorkedPrefixes {
public:
    void Publish(const std::vector<QsoLog::Id>& ids) {
        ids_ = ids;
        texts_.clear();
    }
    // Before the log's pool is emptied.
    void Detach(const QsoLog& log) {
        if (ids_.empty()) return;
        texts_ = Texts(log);
        ids_.clear();
    }
    void Clear() {
        ids_.clear();
        texts_.clear();
    }
    std::size_t size() const { return ids_.empty() ? texts_.size() : ids_.size(); }
    bool empty() const { return size() == 0; }
    // In no particular order.
    std::vector<std::string> Texts(const QsoLog& log) const {
        if (ids_.empty()) return texts_;
        std::vector<std::string> texts;
        texts.reserve(ids_.size());
        for (const QsoLog::Id id : ids_) texts.push_back(log.Text(id));
        return texts;
    }

private:
    std::vector<QsoLog::Id> ids_;
    std::vector<std::string> texts_;
};

inline constexpr const char* kBandNames[] = {"160m", "80m", "40m", "20m", "15m", "10m"};
inline constexpr const char* kModeNames[] = {"CW", "SSB"};
inline constexpr std::size_t kBandCount = 6;
inline constexpr std::size_t kPrevQsoCells = 5;

struct RunState {
    RunState();

    mutable std::mutex guard;

    QsoLog g_QsoLog;
    const CContestRules g_ValidBands;
    const CContestRules g_ValidModes;

    std::vector<std::string> g_WorkedBands;     // distinct band texts in order of first appearance
    WorkedPrefixes g_WorkedPrefixes;            // multipliers of the last result
    std::uint64_t g_WorkedPrefixesVersion = 0;  // g_Score's prefixes they were taken from
    std::vector<std::vector<std::string>> g_PrevQsoRows;  // one row per valid band, five cells
    RejectedQsos g_RejectedQsos;
    RunningScore g_Score;  // the score's figures of g_QsoLog, kept as it changes
    // Changes at every reset and removal: a reader that follows the log by
    // the records added since it last looked must then look at all of them.
    std::uint64_t g_LogGeneration = 0;

    std::string g_OwnCall;
    std::string g_OwnCountry;
    std::string g_OwnContinent;
    std::string g_StartDayMonth;  // "%d.%m"
    std::string g_StartYear;      // "%Y"
    std::string g_EndDate;        // "%d.%m.%Y"
    OleDateTime g_ContestStart = OleDateTime::Null();  // as the host passed them
    OleDateTime g_ContestEnd = OleDateTime::Null();
    std::string g_HostVersion;
    const std::string g_SettingsSection;
    const std::string g_SettingsFile;  // relative to the host's current directory

    int g_nStartKey = 0;
    int g_bReportRequest = 0;
    int g_bCwContest = 0;
    int g_bHtmlResult = 0;
    int g_bCyrillicUi = 0;
    int g_bRefreshIdle = 1;
    std::int64_t g_nClaimedScore = 0;

    BadQsoFile g_BadQsoFile{g_bCwContest};  // its header names the contest mode above

    // Text of the last result; owned here, valid until the next result request.
    std::string g_strResult;
};

}  // namespace stats
