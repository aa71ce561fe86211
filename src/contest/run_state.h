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
#include <optional>
#include <string>
#include <vector>

#include "contest/qso_log.h"

namespace stats {

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
    std::vector<std::string> g_WorkedPrefixes;  // multipliers of the last result
    std::vector<std::vector<std::string>> g_PrevQsoRows;  // one row per valid band, five cells
    RejectedQsos g_RejectedQsos;
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
    std::string g_BadQsoFileName;
    // The reset could not empty the file (another program held it): its lines
    // are the last run's, to be neither counted nor added to.
    bool g_BadQsoFileStale = false;
    // Report lines of additions not yet in the file, with their line ends. A
    // replay of the host's log brings thousands of rejections and dupes, and
    // on Windows each open and close of the file is dear, so a run of
    // additions writes its lines together: before anything else can read the
    // file (the next call of any other export, the window thread's figures,
    // the unload) or once they are many.
    std::string g_WaitingLines;
    // The file's length before a write of the waiting lines that failed (what
    // follows it is part of them), or -1.
    std::int64_t g_WaitingFrom = -1;
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

    // Text of the last result; owned here, valid until the next result request.
    std::string g_strResult;
};

// True when the bad-QSO file holds this run's lines only; a stale file is
// emptied first if it can be now, and the waiting lines are written. Caller
// holds the run guard (so do the callers of the functions below).
bool BadQsoFileIsCurrent(RunState& state);

// Queues `count` copies of a report line; writes the queue once it is large.
void QueueReportLine(RunState& state, const std::string& line, std::size_t count);

// Writes the waiting lines to the file; false when they are still waiting
// (they are tried again at the next opportunity).
bool WriteWaitingLines(RunState& state);

// The same from calls that must stay quick (a call check comes with each
// keystroke, an addition with each QSO of a replay): once a write of the
// lines has failed, another program may hold the file, and each try could
// take a while; the next result request, removal or reset tries again.
void WriteWaitingLinesUnlessFailing(RunState& state);

// What the file holds for this run: its content, without the part of a failed
// write, followed by the waiting lines. Nothing when the file is there but
// cannot be read.
std::optional<std::string> BadQsoFileContent(RunState& state);

// The file is now `content` (the waiting lines included): nothing waits any more.
void ForgetWaitingLines(RunState& state);

}  // namespace stats
