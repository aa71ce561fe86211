// The rate sheet: counted QSOs per band and hour, shaded by count, with each
// hour's dupes and rejected QSOs beside them and the totals below.
#include <algorithm>

#include "page/drawing.h"
#include "page/sections.h"

namespace tools::page {

namespace {

std::string Shade(int n, int most) {
    if (n == 0 || most == 0) return "";
    return " style=\"background:rgba(31,120,180," + Format("%.2f", 0.08 + 0.6 * n / double(most)) + ")\"";
}

}  // namespace

std::string RateSheet(const LogFigures& log, double start, int hours) {
    const std::vector<std::string> bands = BandsOf(log);
    const auto grid = HourlyByBand(log, bands, start, hours);
    int most = 0;
    for (const auto& row : grid)
        for (int n : row) most = std::max(most, n);
    // Dupes and rejected QSOs per hour: the QSOs passed less those counted.
    std::vector<int> passed(static_cast<std::size_t>(hours));
    for (const double t : log.loggedTimes) {
        const int h = HourIndex(start, t);
        if (h >= 0 && h < hours) ++passed[static_cast<std::size_t>(h)];
    }
    std::string out = "<table class=\"sheet\"><thead><tr><th>hour (UTC)</th>";
    for (const std::string& band : bands) out += "<th>" + Escape(band) + "</th>";
    out += "<th>QSOs</th><th class=\"cum\">in all</th><th title=\"dupes and rejected QSOs\">not count&shy;ed</th>"
           "</tr></thead><tbody>";
    std::vector<int> totals(bands.size());
    int cumulative = 0, left = 0;
    for (int h = 0; h < hours; ++h) {
        int total = 0;
        std::string cells;
        for (std::size_t b = 0; b < bands.size(); ++b) {
            const int n = grid[static_cast<std::size_t>(h)][b];
            totals[b] += n;
            total += n;
            cells += "<td class=\"b\"" + Shade(n, most) + ">" + (n ? std::to_string(n) : "") + "</td>";
        }
        cumulative += total;
        const int other = passed[static_cast<std::size_t>(h)] - total;
        left += other;
        // Within a week the weekday names the day; the rows are whole hours.
        const When w = WhenOf(start + h / 24.0);
        const std::string label =
            hours <= 7 * 24 ? std::string(kDays[w.weekday]) + " " + Two(w.hour) + ":00" : DayTime(start + h / 24.0);
        out += std::string("<tr") + (total == 0 ? " class=\"idle\"" : "") + "><th>" + label + "</th>" + cells +
               "<td class=\"sum\">" + (total ? std::to_string(total) : "") + "</td><td class=\"cum\">" +
               std::to_string(cumulative) + "</td><td class=\"other\">" + (other ? std::to_string(other) : "") +
               "</td></tr>";
    }
    out += "</tbody><tfoot><tr class=\"total\"><th>total</th>";
    int all = 0;
    for (std::size_t b = 0; b < bands.size(); ++b) {
        all += totals[b];
        out += "<td data-band=\"" + Escape(bands[b]) + "\">" + std::to_string(totals[b]) + "</td>";
    }
    return out + "<td class=\"sum\" data-qsos=\"" + std::to_string(all) + "\">" + std::to_string(all) +
           "</td><td class=\"cum\"></td><td class=\"other\">" + std::to_string(left) + "</td></tr></tfoot></table>";
}

}  // namespace tools::page
