// The figures of the contest page, from a replay of a log through the
// plug-in's exports: the log's QSOs in time order, each checked (a dupe is
// what the plug-in's call check says it is) and added as the host adds it,
// with the plug-in's text result asked for at the end of every hour.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "contest/operating_time.h"
#include "contest/pace_curve.h"
#include "contest_page.h"
#include "country_file.h"
#include "host_session.h"

namespace tools {

// A log read whole for the page and the audit: its QSOs in time order (a QSO
// logged later but timed earlier, as an edit leaves it, goes to its place in
// time), and for each where the log has it and its transmitter.
struct PageLog {
    std::vector<HostQso> qsos;
    // The record's number in an ADIF log, the line's in a Cabrillo log.
    std::vector<std::size_t> numbers;
    // The transmitter number of a multi-transmitter Cabrillo log's QSO line,
    // as written; empty otherwise.
    std::vector<std::string> transmitters;
    std::size_t records = 0;
    bool cabrillo = false;
};
PageLog ReadPageLog(const std::string& path, const CountryFile* countries);

// The call check the host makes of a QSO as it is entered: a dupe is what
// the plug-in's answer says it is.
HostCheck CheckOf(const HostQso& qso);

// The minutes of a log's QSOs by the operating-time rule: every QSO passed
// to the plug-in, at the minute its Cabrillo line shows.
stats::MinuteCounts ActivityOf(const PageLog& log);

// One statistics run of `log` (after the caller's reset): counted QSOs, the
// plug-in's figures at the end of each hour from `gridStart` up to the hour
// of the last QSO, its figures within the operating-time limit of
// `figures.category`, and its final text result.
void ReplayForPage(HostSession& session, const PageLog& log, double gridStart, page::LogFigures& figures);

// One statistics run of `log` (after the caller's reset) as a pace curve: a
// row every 10 minutes from `gridStart` (a host date on a whole minute), each
// with the plug-in's figures of the QSOs before that minute and the operating
// clock at the last of them; the rows run to the contest's 48 hours, or on
// past the last QSO.
stats::PaceCurve ReplayForPace(HostSession& session, const PageLog& log, double gridStart, bool cw);
// The counted QSOs of each continent in a run of their own (each after a
// reset for `station`): the plug-in's QSOs and points by continent.
void ReplayByContinent(HostSession& session, const PageLog& log, const HostStation& station,
                       page::LogFigures& figures);
// The same QSOs added again, nothing asked: a run whose result is wanted in
// another form.
void AddAll(HostSession& session, const PageLog& log);

// What a Cabrillo log's header says of its categories and claimed score;
// nothing for an ADIF log.
struct LogHeader {
    std::vector<std::pair<std::string, std::string>> categories;  // the CATEGORY- lines, as written
    std::optional<std::int64_t> claimed;
    std::optional<std::string> operators, club;  // OPERATORS and CLUB, as written
    // The entry's category for the operating-time limit, from CATEGORY-OPERATOR
    // and CATEGORY-OVERLAY; nothing when the header does not say.
    std::optional<stats::EntryCategory> category;
};
LogHeader ReadLogHeader(const std::string& path);
// The category of a run: the one asked for, else the log's, else single-op
// as in the plug-in.
stats::EntryCategory CategoryOfRun(const std::optional<stats::EntryCategory>& asked, const LogHeader& header);

// The calls of a MASTER.SCP file (one a line, "#" starts a comment), in
// capitals; nothing, with the reason in `error`, when it cannot be read.
std::optional<std::unordered_set<std::string>> ReadActiveCalls(const std::string& path, std::string* error);
// Whether a call is in such a list: as written, or by its home call when it
// carries a designator or an operating suffix.
bool IsActiveCall(const std::unordered_set<std::string>& active, const std::string& call);

}  // namespace tools
