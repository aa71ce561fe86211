// Peak rates: the best 60 and 10 minutes of counted QSOs.
#include "page/drawing.h"
#include "page/sections.h"

namespace tools::page {

Peak BestWindow(const std::vector<double>& sortedTimes, double minutes) {
    Peak best;
    const double span = minutes / kMinutesPerDay;
    std::size_t from = 0;
    for (std::size_t to = 0; to < sortedTimes.size(); ++to) {
        // A small allowance keeps QSOs exactly `minutes` apart out of one window.
        while (sortedTimes[to] - sortedTimes[from] >= span - 1e-9) ++from;
        const int n = static_cast<int>(to - from + 1);
        if (n > best.qsos) best = Peak{n, sortedTimes[from], sortedTimes[to]};
    }
    return best;
}

std::string PeakRates(const LogFigures& log) {
    const std::vector<double> times = CountedTimes(log);
    std::string out = "<table class=\"facts\">";
    for (const auto& [minutes, name] : {std::pair{60.0, "60 minutes"}, std::pair{10.0, "10 minutes"}}) {
        const Peak p = BestWindow(times, minutes);
        // With dupes and rejected QSOs, as a count of the log's lines finds it.
        const Peak logged = BestWindow(log.loggedTimes, minutes);
        out += "<tr><th>best " + std::string(name) + "</th><td class=\"peak\" data-minutes=\"" +
               Format("%.0f", minutes) + "\" data-qsos=\"" + std::to_string(p.qsos) + "\" data-logged=\"" +
               std::to_string(logged.qsos) + "\">" + std::to_string(p.qsos) + " QSOs</td><td>" +
               (p.qsos ? "a rate of " + std::to_string(static_cast<int>(p.qsos * 60 / minutes)) + " per hour, " +
                             Span(p.from, p.to) + " UTC"
                       : std::string("&mdash;")) +
               (logged.qsos != p.qsos ? "; " + std::to_string(logged.qsos) + " with dupes and rejected QSOs" : "") +
               "</td></tr>";
    }
    return out + "</table>";
}

}  // namespace tools::page
