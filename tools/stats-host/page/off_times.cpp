// Off-times and the operating time: the first and last QSO, the time used
// against the category's limit and, once it is passed, what log checking
// removes; every gap of 60 minutes or more.
#include <algorithm>

#include "page/drawing.h"
#include "page/sections.h"

namespace tools::page {

std::string OffTimeSection(const LogFigures& log, double start, int hours) {
    if (log.loggedTimes.empty()) return "<p>No QSO.</p>";
    const stats::OperatingTime& t = log.operating;
    const double first = log.loggedTimes.front(), last = log.loggedTimes.back();
    std::string out = "<table class=\"facts\"><tr><th>first QSO</th><td>" + FullTime(first) +
                      "</td></tr><tr><th>last QSO</th><td>" + FullTime(last) +
                      "</td></tr><tr><th>operating time</th><td class=\"operating\" data-minutes=\"" +
                      std::to_string(t.operatingMinutes) + "\">" + DurationOfMinutes(t.operatingMinutes) +
                      " (first to last QSO, less the off-times below)</td></tr><tr><th>limit</th><td class=\"limit\"" +
                      (t.limit ? " data-minutes=\"" + std::to_string(*t.limit) + "\"" : std::string()) + ">" +
                      LimitText(t, log.category);
    if (t.limit && !t.limitPassed)
        out += ": within it, " + DurationOfMinutes(*t.limit - t.operatingMinutes) + " to spare";
    out += "</td></tr>";
    if (t.limitPassed) {
        // The limit falls between the last QSO within it and the first past
        // it; QSOs are numbered in time order, dupes and rejected ones too.
        const std::size_t firstPast = t.qsosWithin + 1;
        out += "<tr><th>limit reached</th><td class=\"reached\" data-qso=\"" + std::to_string(firstPast) + "\">" +
               DayTime(HostDateOfMinute(t.limitReachedMinute)) + " UTC, after QSO " +
               Num(static_cast<std::int64_t>(t.qsosWithin)) + "; the first QSO past it is QSO " +
               Num(static_cast<std::int64_t>(firstPast)) + ", " + DayTime(HostDateOfMinute(t.firstPastMinute)) +
               " UTC</td></tr>";
        const std::string past = Counted(static_cast<std::int64_t>(t.qsosPast), "QSO", "QSOs");
        out += "<tr><th>past the limit</th><td class=\"past\" data-qsos=\"" + std::to_string(t.qsosPast) + "\"";
        if (log.withinLimit) {
            const HourEnd& w = *log.withinLimit;
            const std::int64_t counted = log.result.qsos - w.qsos, points = log.result.points - w.points,
                               prefixes = log.result.multipliers - w.multipliers;
            out += " data-counted=\"" + std::to_string(counted) + "\" data-points=\"" + std::to_string(points) +
                   "\" data-prefixes=\"" + std::to_string(prefixes) + "\"><strong>" + past +
                   "</strong> that log checking removes: " + Num(counted) + " counted ones worth " + Num(points) +
                   " points, and " + Num(prefixes) + (prefixes == 1 ? " prefix" : " prefixes") +
                   " that no QSO within the limit has</td></tr><tr><th>score within the limit</th><td "
                   "class=\"within\" data-score=\"" +
                   std::to_string(w.score) + "\">" + Num(w.score) + " (" + Num(w.qsos) + " QSOs, " + Num(w.points) +
                   " points, " + Num(w.multipliers) + " prefixes)";
        } else {
            out += "><strong>" + past + "</strong> that log checking removes";
        }
        out += "</td></tr>";
    }
    const double before = first - start, after = start + hours / 24.0 - last;
    out += "<tr><th>before the first QSO</th><td>" + Duration(std::max(0.0, before)) +
           "</td></tr><tr><th>after the last QSO</th><td>" + Duration(std::max(0.0, after)) + "</td></tr></table>";
    if (t.offTimes.empty()) return out + "<p>No gap of 60 minutes or more between QSOs.</p>";
    out += "<table class=\"list offtimes\"><thead><tr><th>off from</th><th>to</th><th>length</th></tr></thead><tbody>";
    for (const stats::OffTime& off : t.offTimes)
        out += "<tr class=\"off\"><td>" + DayTime(HostDateOfMinute(off.lastBefore)) + "</td><td>" +
               DayTime(HostDateOfMinute(off.nextAfter)) + "</td><td>" + DurationOfMinutes(off.Minutes()) +
               "</td></tr>";
    return out + "</tbody><tfoot><tr class=\"total\"><th>" +
           Counted(static_cast<std::int64_t>(t.offTimes.size()), "off-time", "off-times") +
           "</th><td></td><td data-minutes=\"" + std::to_string(t.offMinutes) + "\">" +
           DurationOfMinutes(t.offMinutes) + "</td></tr></tfoot></table>";
}

std::string OperatingTimeTable(const std::vector<const LogFigures*>& logs) {
    // Each log by its own category's limit.
    std::string out = "<table class=\"list\"><thead><tr><th>station</th><th>operating time</th><th>off-times</th>"
                      "<th>limit</th><th>past the limit</th></tr></thead><tbody>";
    for (const LogFigures* log : logs) {
        const stats::OperatingTime& t = log->operating;
        out += "<tr><th>" + Escape(log->station) + "</th><td class=\"operating\" data-minutes=\"" +
               std::to_string(t.operatingMinutes) + "\">" + HoursMinutes(t.operatingMinutes) + "</td><td>" +
               std::to_string(t.offTimes.size()) + "</td><td>" + LimitText(t, log->category) +
               "</td><td class=\"past\" data-qsos=\"" + std::to_string(t.qsosPast) + "\">" +
               (t.limitPassed ? "<strong>" + Num(static_cast<std::int64_t>(t.qsosPast)) + " QSOs</strong>"
                              : std::string("&mdash;")) +
               "</td></tr>";
    }
    return out + "</tbody></table>";
}

}  // namespace tools::page
