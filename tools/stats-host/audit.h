// What log checking will take away from one or more logs of one contest
// before they go in, and what it costs: `stats-host --audit` writes it as a
// report, the contest page shows it in its "Before you submit" section. Both
// format the one result computed here. Read-only: it changes no log,
// suggests no correction and fills in nothing from other sources.
//
// The rules are the core's (operating time, band changes, received serials,
// cross-log matching); every point and multiplier comes from the plug-in, the
// logs replayed through its exports: the log as it is, the log without the
// QSOs of each kind of finding, and without all of them for the floor.
//
// The report is text, one line each, fields separated by tabs; its first
// field says what the line is: "note", "log", "expected after checking",
// "floor", a finding's kind (its last field its certainty), "claimed", "at
// risk".
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "contest/operating_time.h"
#include "host_session.h"

namespace tools {
struct PageLog;
}

namespace tools::audit {

// The kinds of finding, in the order the report gives them.
enum class Kind {
    kSerialMismatch,
    kSerialOutOfSequence,
    kNotInLog,
    kBustedCall,
    kBandChanges,
    kPastTheLimit,
    kNotActive,
};
inline constexpr Kind kKinds[] = {Kind::kSerialMismatch, Kind::kSerialOutOfSequence, Kind::kNotInLog,
                                  Kind::kBustedCall,     Kind::kBandChanges,         Kind::kPastTheLimit,
                                  Kind::kNotActive};
// "serial mismatch", ..., "not in MASTER.SCP": the report's words.
const char* KindName(Kind kind);

// How sure a finding is. Proven: another log given proves it, or the rules do
// (band changes, operating time). A serial out of sequence, and a call no
// list knows worked once, are uncertain: such a call is likely busted only on
// evidence (a call one edit away worked near the same minute and band, in this
// log or another given), else a unique, likely kept; a serial out of sequence
// has its evidence in the station's other serials, likely busted.
enum class Certainty { kProven, kLikelyBusted, kLikelyKept };
// "proven", "likely busted", "likely kept": the report's words.
const char* CertaintyName(Certainty certainty);

// Said once wherever the findings are shown.
extern const char kReadOnly[];

// One log as the first reading found it.
struct LogPlan {
    std::string file;  // as given on the command line
    std::string path;  // absolute
    HostStation station;
    bool cw = true;       // the plug-in's contest: CQ-WPX-CW, else CQ-WPX-SSB
    std::string contest;  // as the log names it; empty when it does not
    double first = 0.0;   // host date of the first QSO
    const PageLog* log = nullptr;  // its QSOs, read whole by the caller
};

struct Setup {
    std::vector<LogPlan> logs;
    // Active contest calls (MASTER.SCP); nothing when no list was read.
    std::optional<std::unordered_set<std::string>> activeCalls;
    std::string activeCallsSource;  // the file's name, for the report
    // The entry's category when the command line gives it; otherwise each
    // log's CATEGORY- lines say, single-op when they do not.
    std::optional<stats::EntryCategory> category;
    double start = 0.0;  // host date of the contest's start
};

// Why these logs, each with QSOs, are not logs of one contest (another mode,
// another contest named, another weekend), in a sentence; nothing when they
// are. The page and the audit both refuse such logs.
std::optional<std::string> NotOneContest(const std::vector<LogPlan>& logs);
// Why these logs cannot be audited together: not one contest, or one
// station's log twice; nothing when they can.
std::optional<std::string> Refusal(const Setup& setup);

// What the QSOs of some findings cost: the QSOs that go, the points they and
// their penalties take, the prefixes no QSO left has, and the score left.
struct Cost {
    std::size_t qsos = 0;
    std::int64_t points = 0, penalties = 0, prefixes = 0, score = 0;
};

// One finding, described by its first QSO (in time order).
struct Finding {
    Kind kind = Kind::kSerialMismatch;
    Certainty certainty = Certainty::kProven;
    std::string where;        // "line 8" of a Cabrillo log, "record 17" of an ADIF log
    std::int64_t minute = 0;  // as OleDateMinute counts them
    std::string band, call;
    std::size_t qsos = 0;  // how many QSOs go
    // What this finding alone takes: its counted QSOs' points (twice with a
    // penalty) and the prefixes no other counted QSO has.
    std::int64_t points = 0, prefixes = 0;
    std::string reason;
};

// The plug-in's figures.
struct Figures {
    std::int64_t qsos = 0, points = 0, multipliers = 0, score = 0;
};

// The counted calls by the list of active calls and by how often they were
// worked, for a log checker's first look; the "not in MASTER.SCP" findings
// are the calls of both lists not already judged by another log given.
struct Calls {
    bool listRead = false;
    std::size_t worked = 0;              // distinct counted calls
    std::vector<std::string> notListed;  // not in the list, in capitals, sorted
    // Worked once, with the band, sorted by call.
    std::vector<std::pair<std::string, std::string>> once;
};

struct LogAudit {
    std::string file, call;
    bool cw = true;
    // "multi-op, multi-two (CATEGORY- lines)"
    std::string category;
    std::size_t qsos = 0;  // every QSO passed
    std::int64_t dupes = 0, rejected = 0;
    std::vector<std::string> notes;
    std::vector<Finding> findings;  // by kind in report order, each kind in time order
    std::optional<std::int64_t> claimed;
    Figures plugin;  // the log as it is
    std::vector<std::pair<Kind, Cost>> atRisk;  // each kind found, in report order
    // What checking is expected to leave: the proven findings and the likely
    // busts go, with their penalties.
    Cost expected;
    Cost floor;  // every finding at once
    Calls calls;
};

struct Audit {
    std::string activeCallsSource;  // the list's file name; empty when none was read
    std::vector<LogAudit> logs;
};

// The audit, through `session`; `prepareRun` readies the plug-in's settings
// for a run of the given contest (CW or SSB) and says whether it could.
// Nothing when the plug-in could not be run. The results come back as HTML
// after HostSession::AskForHtml: audit before asking for it.
std::optional<Audit> Run(HostSession& session, const Setup& setup, const std::function<bool(bool cw)>& prepareRun);

// The report of `--audit`.
std::string Report(const Audit& audit);

}  // namespace tools::audit
