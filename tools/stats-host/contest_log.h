// One contest log as stats-host works with it, read once from its file: the
// QSOs in time order, the header's entry, what the reading found, the own
// station and contest of its run, and, after a replay through the plug-in's
// exports, each QSO's status as the plug-in recorded it. The score, the
// page, the pace curve and the audit all take it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "checking/entry.h"
#include "country_file.h"
#include "host_session.h"
#include "result_text.h"

namespace tools {

// What the reading found before the plug-in sees anything.
struct LogSurvey {
    std::size_t records = 0, mappable = 0, cw = 0, ssb = 0;
    std::optional<double> first, last;  // host dates of the first and last QSO
    std::string stationCall, contest;   // as the log gives them; empty when it does not
    std::optional<int> stationDxcc;
};

enum class QsoStatus : unsigned char { kCounted, kDupe, kRejected };

struct ContestLog {
    std::string file;  // as given on the command line
    std::string path;  // absolute
    bool cabrillo = false;
    LogSurvey survey;
    stats::EntryHeader header;  // empty for an ADIF log

    // The run: the own station and contest dates, the plug-in's contest
    // (CQ-WPX-CW, else CQ-WPX-SSB), and the entry's category and band-change
    // rule (the one asked for on the command line, else the header's).
    HostStation station;
    bool cw = true;
    stats::EntryCategory category = stats::EntryCategory::kSingleOp;
    bool categoryAsked = false;
    stats::TransmitterRule rule = stats::TransmitterRule::kNone;

    // The QSOs the plug-in can take, in time order: a QSO logged later but
    // timed earlier, as an edit leaves it, goes to its place in time; QSOs
    // of one time keep the log's order. For each, the record's number in an
    // ADIF log or the line's in a Cabrillo log, the transmitter number of a
    // multi-transmitter Cabrillo line (empty otherwise), and the minute as
    // OleDateMinute counts it (0 for a date outside the calendar).
    std::vector<HostQso> qsos;
    std::vector<std::size_t> numbers;
    std::vector<std::string> transmitters;
    std::vector<std::int64_t> minutes;

    // Set by Replay: each QSO's status, and the plug-in's text result after
    // the last one.
    std::vector<QsoStatus> status;
    TextResult result;

    // "line 8" of a Cabrillo log, "record 17" of an ADIF log.
    std::string Where(std::size_t qso) const;
    // The QSOs in the order the log has them, as a host enters them.
    std::vector<std::size_t> LogOrder() const;
    std::size_t Count(QsoStatus s) const;
};

// Reads a log whole, saying on standard error each record or line it skips
// or finds amiss. Throws std::runtime_error for a file that cannot be read.
ContestLog ReadContestLog(const std::string& file, const CountryFile* countries);

// The call check the host makes of a QSO as it is entered.
HostCheck CheckOf(const HostQso& qso);

// One statistics run of the log (after the caller's reset for its station):
// each QSO in time order checked, then added, as the host does it, a dupe
// being what the plug-in's check says. `before(i)`, when given, is called
// before QSO i goes in, to ask the plug-in for its figures then.
void Replay(HostSession& session, ContestLog& log, const std::function<void(std::size_t)>& before = {});

// The same QSOs added again, nothing asked: a run whose result is wanted in
// another form.
void AddAll(HostSession& session, const ContestLog& log);

}  // namespace tools
