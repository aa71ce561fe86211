// The hour-by-hour charts: QSOs per hour stacked by band, and the score line
// of each log (with its multipliers when there is one log).
#include <algorithm>

#include "page/drawing.h"
#include "page/sections.h"

namespace tools::page {

std::string HourlyChart(const LogFigures& log, double start, int hours) {
    const std::vector<std::string> bands = BandsOf(log);
    const auto grid = HourlyByBand(log, bands, start, hours);
    std::int64_t most = 0;
    for (const auto& row : grid) {
        std::int64_t sum = 0;
        for (int n : row) sum += n;
        most = std::max(most, sum);
    }
    const std::int64_t top = NiceCeiling(most);
    Frame f;
    f.right = 24;
    std::string out = SvgOpen(f, "hourly", "QSOs per hour by band") + ValueAxis(f, top, false, "");
    const double bw = f.PlotW() / hours;
    for (int h = 0; h < hours; ++h) {
        int total = 0;
        for (int n : grid[static_cast<std::size_t>(h)]) total += n;
        out += "<g class=\"hour\" data-hour=\"" + std::to_string(h) + "\" data-qsos=\"" + std::to_string(total) +
               "\"><title>" + DayTime(start + h / 24.0) + " UTC: " + std::to_string(total) + " QSOs</title>";
        double y = f.top + f.PlotH();
        for (std::size_t b = 0; b < bands.size(); ++b) {
            const int n = grid[static_cast<std::size_t>(h)][b];
            if (n == 0) continue;
            const double height = f.PlotH() * n / static_cast<double>(top);
            y -= height;
            out += "<rect class=\"bar\" data-band=\"" + Escape(bands[b]) + "\" x=\"" +
                   Format("%.2f", f.left + h * bw + bw * 0.08) + "\" y=\"" + Format("%.2f", y) + "\" width=\"" +
                   Format("%.2f", bw * 0.84) + "\" height=\"" + Format("%.2f", height) + "\" fill=\"" +
                   BandColour(bands[b]) + "\"/>";
        }
        out += "</g>";
    }
    out += HourAxis(f, start, hours) + "</svg>";
    std::vector<std::pair<std::string, std::string>> legend;
    for (const std::string& band : bands) legend.emplace_back(band, BandColour(band));
    return out + Legend(legend);
}

std::string ScoreChart(const std::vector<const LogFigures*>& logs, double start, int hours) {
    std::int64_t topScore = 0, topMult = 0;
    for (const LogFigures* log : logs)
        for (const HourEnd& e : log->hourEnds) {
            topScore = std::max(topScore, e.score);
            topMult = std::max(topMult, e.multipliers);
        }
    topScore = NiceCeiling(topScore);
    topMult = NiceCeiling(topMult);
    const bool single = logs.size() == 1;
    Frame f;
    if (!single) f.right = 24;
    std::string out = SvgOpen(f, "score", "score over time") + ValueAxis(f, topScore, false, "score");
    if (single) out += ValueAxis(f, topMult, true, "mult");
    const double bw = f.PlotW() / hours;
    auto x = [&](std::size_t hour) { return f.left + (hour + 1) * bw; };
    auto y = [&](std::int64_t v, std::int64_t top) { return f.top + f.PlotH() - f.PlotH() * v / double(top); };
    for (std::size_t l = 0; l < logs.size(); ++l) {
        const LogFigures& log = *logs[l];
        const std::string colour = single ? "#1f78b4" : kLogColours[l % 7];
        std::string scoreLine = Format("%.2f", f.left) + "," + Format("%.2f", y(0, topScore));
        std::string multLine = scoreLine;
        for (std::size_t h = 0; h < log.hourEnds.size(); ++h) {
            scoreLine += " " + Format("%.2f", x(h)) + "," + Format("%.2f", y(log.hourEnds[h].score, topScore));
            multLine += " " + Format("%.2f", x(h)) + "," + Format("%.2f", y(log.hourEnds[h].multipliers, topMult));
        }
        if (single) out += "<polyline class=\"line mult\" points=\"" + multLine + "\" stroke=\"#33a02c\"/>";
        out += "<polyline class=\"line\" points=\"" + scoreLine + "\" stroke=\"" + colour + "\"/>";
        for (std::size_t h = 0; h < log.hourEnds.size(); ++h) {
            const HourEnd& e = log.hourEnds[h];
            out += "<circle class=\"pt\" data-log=\"" + std::to_string(l) + "\" data-hour=\"" + std::to_string(h) +
                   "\" data-score=\"" + std::to_string(e.score) + "\" data-mult=\"" + std::to_string(e.multipliers) +
                   "\" cx=\"" + Format("%.2f", x(h)) + "\" cy=\"" + Format("%.2f", y(e.score, topScore)) +
                   "\" r=\"2.5\" fill=\"" + colour + "\"><title>" + Escape(log.station) + ", " +
                   DayTime(start + (h + 1) / 24.0) + " UTC: " + std::to_string(e.points) + " points × " +
                   std::to_string(e.multipliers) + " = " + std::to_string(e.score) + "</title></circle>";
        }
    }
    out += HourAxis(f, start, hours) + "</svg>";
    if (single) return out + Legend({{"score (left scale)", "#1f78b4"}, {"multipliers (right scale)", "#33a02c"}});
    return out + LogLegend(logs);
}

std::string HourlyCompareChart(const std::vector<const LogFigures*>& logs, double start, int hours) {
    Frame f;
    f.right = 24;
    std::vector<std::vector<int>> perHour(logs.size(), std::vector<int>(static_cast<std::size_t>(hours)));
    int most = 0;
    for (std::size_t l = 0; l < logs.size(); ++l)
        for (const CountedQso& q : logs[l]->counted) {
            const int h = HourIndex(start, q.time);
            if (h >= 0 && h < hours) most = std::max(most, ++perHour[l][static_cast<std::size_t>(h)]);
        }
    const std::int64_t top = NiceCeiling(most);
    std::string out = SvgOpen(f, "hourly compare", "QSOs per hour of each log") + ValueAxis(f, top, false, "");
    const double bw = f.PlotW() / hours, each = bw * 0.84 / static_cast<double>(logs.size());
    for (int h = 0; h < hours; ++h) {
        std::string counts;
        for (std::size_t l = 0; l < logs.size(); ++l)
            counts += (l ? "," : "") + std::to_string(perHour[l][static_cast<std::size_t>(h)]);
        out += "<g class=\"hour\" data-hour=\"" + std::to_string(h) + "\" data-qsos=\"" + counts + "\"><title>" +
               DayTime(start + h / 24.0) + " UTC: " + counts + " QSOs</title>";
        for (std::size_t l = 0; l < logs.size(); ++l) {
            const int n = perHour[l][static_cast<std::size_t>(h)];
            if (n == 0) continue;
            const double height = f.PlotH() * n / double(top);
            out += "<rect class=\"bar\" data-log=\"" + std::to_string(l) + "\" x=\"" +
                   Format("%.2f", f.left + h * bw + bw * 0.08 + l * each) + "\" y=\"" +
                   Format("%.2f", f.top + f.PlotH() - height) + "\" width=\"" + Format("%.2f", each) +
                   "\" height=\"" + Format("%.2f", height) + "\" fill=\"" + kLogColours[l % 7] + "\"/>";
        }
        out += "</g>";
    }
    return out + HourAxis(f, start, hours) + "</svg>" + LogLegend(logs);
}

}  // namespace tools::page
