// QSOs and points by continent, each continent's QSOs scored by the plug-in
// in a run of their own.
#include "page/drawing.h"
#include "page/sections.h"

namespace tools::page {

std::string ContinentTable(const LogFigures& log) {
    std::int64_t qsos = 0, points = 0;
    for (const ContinentFigures& c : log.continents) {
        qsos += c.qsos;
        points += c.points;
    }
    std::string out = "<table class=\"list\"><thead><tr><th>continent</th><th>QSOs</th><th>share</th><th>points</th>"
                      "</tr></thead><tbody>";
    for (const ContinentFigures& c : log.continents)
        out += "<tr><th>" + (c.continent.empty() ? std::string("?") : Escape(c.continent)) + "</th><td>" +
               Num(c.qsos) + "</td><td>" + Format("%.1f", qsos ? 100.0 * c.qsos / qsos : 0.0) + "%</td><td>" +
               Num(c.points) + "</td></tr>";
    out += "</tbody><tfoot><tr class=\"total\"><th>all</th><td>" + Num(qsos) + "</td><td></td><td data-points=\"" +
           std::to_string(points) + "\">" + Num(points) + "</td></tr></tfoot></table>";
    if (log.result.complete && (points != log.result.points || qsos != log.result.qsos))
        out += "<p class=\"warn\">The continents, each scored alone, add up to " + Num(qsos) + " QSOs and " +
               Num(points) + " points; the whole log to " + Num(log.result.qsos) + " and " +
               Num(log.result.points) + ".</p>";
    return out;
}

}  // namespace tools::page
