// stats-host --audit: what log checking will take away from one or more logs
// of one contest before they go in, and what it costs. Read-only: it changes
// no log, suggests no correction and fills in nothing from other sources.
//
// The rules are the core's (operating time, band changes, received serials,
// cross-log matching); every point and multiplier comes from the plug-in, the
// logs replayed through its exports: the log as it is, the log without the
// QSOs of each kind of finding, and without all of them for the floor.
//
// The report is text, one line each, fields separated by tabs; its first
// field says what the line is: "note", "log", a finding's kind, "at risk",
// "claimed", "floor".
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "contest/operating_time.h"
#include "country_file.h"
#include "host_session.h"

namespace tools::audit {

// One log as the first reading found it.
struct LogPlan {
    std::string file;  // as given on the command line
    std::string path;  // absolute
    HostStation station;
    bool cw = true;       // the plug-in's contest: CQ-WPX-CW, else CQ-WPX-SSB
    std::string contest;  // as the log names it; empty when it does not
    double first = 0.0;   // host date of the first QSO
};

struct Setup {
    std::vector<LogPlan> logs;
    const CountryFile* countries = nullptr;
    // Active contest calls (MASTER.SCP); nothing when no list was read.
    std::optional<std::unordered_set<std::string>> activeCalls;
    std::string activeCallsSource;  // the file's name, for the report
    // The entry's category when the command line gives it (one log only);
    // otherwise the log's CATEGORY- lines say, single-op when they do not.
    std::optional<stats::EntryCategory> category;
    std::optional<double> start;  // host date of the contest's start (--start)
};

// Why these logs, each with QSOs, cannot be audited together, in a
// sentence; nothing when they can.
std::optional<std::string> Refusal(const Setup& setup);

// The report, through `session`; `prepareRun` readies the plug-in's settings
// for a run of the given contest (CW or SSB) and says whether it could.
// Nothing when the plug-in could not be run.
std::optional<std::string> Report(HostSession& session, const Setup& setup,
                                  const std::function<bool(bool cw)>& prepareRun);

}  // namespace tools::audit
