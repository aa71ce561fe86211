// The page of two or more logs of one contest: their scores side by side,
// each log's operating time, the score over time and the difference from the
// first log, QSOs per hour, the prefixes one log has that the others lack,
// what log checking will take away from each (the QSOs among them matched in
// the other logs), and each log's summary from the plug-in.
#include <algorithm>
#include <set>

#include "page/drawing.h"
#include "page/sections.h"

namespace tools::page {

namespace {

// A log's score at the end of hour `h`; after its last QSO, its final score.
std::int64_t ScoreAt(const LogFigures& log, std::size_t h) {
    if (log.hourEnds.empty()) return 0;
    return log.hourEnds[std::min(h, log.hourEnds.size() - 1)].score;
}

// Each other log's score less the first's, at the end of each hour: above the
// line it is ahead.
std::string DifferenceChart(const PageInput& in, std::size_t hourEnds) {
    const LogFigures& first = in.logs.front();
    std::int64_t low = 0, high = 0;
    for (std::size_t l = 1; l < in.logs.size(); ++l)
        for (std::size_t h = 0; h < hourEnds; ++h) {
            const std::int64_t d = ScoreAt(in.logs[l], h) - ScoreAt(first, h);
            low = std::min(low, d);
            high = std::max(high, d);
        }
    // Grid lines a quarter of the larger side apart, as many each way from
    // zero as that side needs.
    const std::int64_t step = std::max<std::int64_t>(1, NiceCeiling(std::max(-low, high)) / 4);
    const std::int64_t top = std::max<std::int64_t>((high + step - 1) / step, low < 0 ? 0 : 4) * step;
    const std::int64_t bottom = -((-low + step - 1) / step) * step;
    Frame f;
    f.right = 24;
    f.left = 56;
    auto y = [&](std::int64_t v) {
        return f.top + f.PlotH() * static_cast<double>(top - v) / static_cast<double>(top - bottom);
    };
    std::string out = SvgOpen(f, "difference", "difference from the first log's score");
    for (std::int64_t v = bottom; v <= top; v += step) {
        out += SvgLine(v == 0 ? "axis" : "grid", f.left, y(v), f.left + f.PlotW(), y(v)) +
               SvgText("label", f.left - 6, y(v) + 4, "end", (v > 0 ? "+" : "") + AxisNumber(v));
    }
    const double bw = f.PlotW() / in.hours;
    for (std::size_t l = 1; l < in.logs.size(); ++l) {
        const std::string colour = kLogColours[l % 7];
        std::string line = Format("%.2f", f.left) + "," + Format("%.2f", y(0)), dots;
        for (std::size_t h = 0; h < hourEnds; ++h) {
            const std::int64_t d = ScoreAt(in.logs[l], h) - ScoreAt(first, h);
            const std::string at = Format("%.2f", f.left + (h + 1) * bw) + "," + Format("%.2f", y(d));
            line += " " + at;
            dots += "<circle class=\"dpt\" data-log=\"" + std::to_string(l) + "\" data-difference=\"" +
                    std::to_string(d) + "\" cx=\"" + at.substr(0, at.find(',')) + "\" cy=\"" +
                    at.substr(at.find(',') + 1) + "\" r=\"2\" fill=\"" + colour + "\"><title>" +
                    Escape(in.logs[l].station) + ", " + DayTime(in.start + (h + 1) / 24.0) + " UTC: " +
                    (d > 0 ? "+" : "") + std::to_string(d) + "</title></circle>";
        }
        out += "<polyline class=\"line\" points=\"" + line + "\" stroke=\"" + colour + "\"/>" + dots;
    }
    out += HourAxis(f, in.start, in.hours) + "</svg>";
    std::vector<std::pair<std::string, std::string>> legend;
    for (std::size_t l = 1; l < in.logs.size(); ++l)
        legend.emplace_back(in.logs[l].station + " less " + first.station, kLogColours[l % 7]);
    return out + Legend(legend);
}

// The scores side by side, with the claimed ones where a log claims one.
std::string ScoresTable(const PageInput& in) {
    bool claims = false;
    for (const LogFigures& log : in.logs) claims = claims || log.claimed.has_value();
    std::string out = "<table class=\"list\"><thead><tr><th>station</th><th>QSOs</th><th>points</th><th>prefixes</th>"
                      "<th>score</th>" +
                      std::string(claims ? "<th>claimed</th>" : "") + "</tr></thead><tbody>";
    std::string files;
    for (const LogFigures& log : in.logs) {
        out += "<tr><th>" + Escape(log.station) + "</th><td>" + Num(log.result.qsos) + "</td><td>" +
               Num(log.result.points) + "</td><td>" + Num(log.result.multipliers) + "</td><td class=\"score\" "
               "data-score=\"" + std::to_string(log.result.score) + "\"><strong>" + Num(log.result.score) +
               "</strong></td>";
        if (claims) out += "<td>" + (log.claimed ? Num(*log.claimed) : std::string("&mdash;")) + "</td>";
        out += "</tr>";
        files += std::string(files.empty() ? "" : "; ") + Escape(log.station) + " <code>" + Escape(log.file) +
                 "</code>";
    }
    return out + "</tbody></table><p class=\"note\">Logs: " + files + ".</p>";
}

// The difference from the first log at the end of each hour: a chart and a table.
std::string DifferenceSection(const PageInput& in) {
    const LogFigures& first = in.logs.front();
    std::size_t longest = 0;
    for (const LogFigures& log : in.logs) longest = std::max(longest, log.hourEnds.size());
    std::string out = DifferenceChart(in, longest) +
                      "<table class=\"sheet\"><thead><tr><th>end of hour (UTC)</th><th>" + Escape(first.station) +
                      "</th>";
    for (std::size_t l = 1; l < in.logs.size(); ++l) out += "<th>" + Escape(in.logs[l].station) + "</th>";
    out += "</tr></thead><tbody>";
    for (std::size_t h = 0; h < longest; ++h) {
        const std::int64_t base = ScoreAt(first, h);
        out += "<tr><th>" + DayTime(in.start + (h + 1) / 24.0) + "</th><td>" + Num(base) + "</td>";
        for (std::size_t l = 1; l < in.logs.size(); ++l) {
            const std::int64_t d = ScoreAt(in.logs[l], h) - base;
            out += std::string("<td class=\"") + (d > 0 ? "up" : d < 0 ? "down" : "") + "\">" + (d > 0 ? "+" : "") +
                   Num(d) + "</td>";
        }
        out += "</tr>";
    }
    return out + "</tbody></table>";
}

// Prefixes one log has that the others lack: a count each, and for two logs
// the lists.
std::string PrefixesTheOthersLack(const PageInput& in) {
    std::vector<std::set<std::string>> prefixes(in.logs.size());
    for (std::size_t l = 0; l < in.logs.size(); ++l)
        for (const CountedQso& q : in.logs[l].counted) prefixes[l].insert(q.prefix);
    std::string out = "<table class=\"list\"><thead><tr><th>station</th><th>prefixes</th><th>only in this log</th>"
                      "</tr></thead><tbody>";
    std::vector<std::vector<std::string>> only(in.logs.size());
    for (std::size_t l = 0; l < in.logs.size(); ++l) {
        for (const std::string& p : prefixes[l]) {
            bool elsewhere = false;
            for (std::size_t o = 0; o < in.logs.size() && !elsewhere; ++o) elsewhere = o != l && prefixes[o].count(p);
            if (!elsewhere) only[l].push_back(p);
        }
        out += "<tr><th>" + Escape(in.logs[l].station) + "</th><td>" + Num(std::int64_t(prefixes[l].size())) +
               "</td><td class=\"only\" data-count=\"" + std::to_string(only[l].size()) + "\">" +
               Num(std::int64_t(only[l].size())) + "</td></tr>";
    }
    out += "</tbody></table>";
    if (in.logs.size() == 2)
        for (std::size_t l = 0; l < 2; ++l)
            out += "<h3>" + Escape(in.logs[l].station) + " only</h3>" + CallList(only[l], "prefixes");
    return out;
}

}  // namespace

std::string ComparePage(const PageInput& in) {
    const LogFigures& first = in.logs.front();
    std::vector<const LogFigures*> logs;
    for (const LogFigures& log : in.logs) logs.push_back(&log);
    std::string title = std::string(ContestName(first.cw)) + ": ";
    for (std::size_t l = 0; l < in.logs.size(); ++l) title += (l ? ", " : "") + in.logs[l].station;
    std::string out = Head(title) + "<h1>" + Escape(title) + "</h1><p>" + Period(in.start, in.hours) + ".</p>" +
                      ScoresTable(in);
    out += "<h2 id=\"operating\">Operating time</h2>" + OperatingTimeTable(logs);
    out += "<h2 id=\"score\">Score, hour by hour</h2>" + ScoreChart(logs, in.start, in.hours);
    out += "<h2 id=\"difference\">Difference from " + Escape(first.station) + "</h2>" + DifferenceSection(in);
    out += "<h2 id=\"qsos-per-hour\">QSOs per hour</h2>" + HourlyCompareChart(logs, in.start, in.hours);
    out += "<h2 id=\"prefixes\">Prefixes the others lack</h2>" + PrefixesTheOthersLack(in);
    out += "<h2 id=\"before-you-submit\">Before you submit</h2>" + BeforeYouSubmit(in);
    for (const LogFigures& log : in.logs)
        out += "<h2>" + Escape(log.station) + ": the plug-in's summary</h2>" + ScopedSummary(log.summaryHtml);
    return out + "</body></html>\n";
}

}  // namespace tools::page
