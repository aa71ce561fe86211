#include "contest_page.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "contest/ole_date.h"
#include "log_mapping.h"
#include "wpx_prefix.h"

namespace tools::page {

namespace {

constexpr double kMinutesPerDay = 24.0 * 60.0;
// A list of calls stops here: a page to read, not a dump. A real log of
// 10,000 QSOs lists every call it needs to well within it.
constexpr std::size_t kListedCalls = 3000;

const char* const kBandOrder[] = {"160m", "80m", "40m", "20m", "15m", "10m"};
const char* const kBandColours[] = {"#6a3d9a", "#1f78b4", "#33a02c", "#e31a1c", "#ff7f00", "#b15928"};
const char* const kLogColours[] = {"#1f78b4", "#e31a1c", "#33a02c", "#6a3d9a", "#ff7f00", "#b15928", "#444444"};

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Num(std::int64_t n) {
    // Thousands separated by a narrow space, as figures in a table read best;
    // a space that never breaks a number over two lines.
    std::string digits = std::to_string(n < 0 ? -n : n), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += "&#8239;";
        out += digits[i];
    }
    return n < 0 ? "&minus;" + out : out;
}

int BandRank(const std::string& band) {
    for (int i = 0; i < 6; ++i)
        if (band == kBandOrder[i]) return i;
    return 6;
}

std::string BandColour(const std::string& band) {
    const int rank = BandRank(band);
    return rank < 6 ? kBandColours[rank] : "#888888";
}

// The minute a host date falls in, counted from the host's day 0. A time is
// shown as a log writes it, its seconds dropped; the allowance only absorbs
// the rounding of a date stored in days.
double MinuteOf(double hostDate) { return std::floor(hostDate * kMinutesPerDay + 1e-6); }

// Calendar fields of a host date (days since 30 December 1899, a Saturday).
struct When {
    int year, month, day, hour, minute, weekday;  // weekday 0 = Sunday
};
When WhenOf(double hostDate) {
    const double minute = MinuteOf(hostDate);
    int year, month, day, hour, minuteOfHour, second;
    CalendarOf(minute / kMinutesPerDay, year, month, day, hour, minuteOfHour, second);
    const auto days = static_cast<long long>(std::floor(minute / kMinutesPerDay));
    const int weekday = static_cast<int>(((days % 7) + 7 + 6) % 7);  // day 0 was a Saturday
    return When{year, month, day, hour, minuteOfHour, weekday};
}

const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

std::string Two(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

// "Sat 27 10:00"
std::string DayTime(double hostDate) {
    const When w = WhenOf(hostDate);
    return std::string(kDays[w.weekday]) + " " + std::to_string(w.day) + " " + Two(w.hour) + ":" + Two(w.minute);
}

// "27 May 2023 10:00 UTC"
std::string FullTime(double hostDate) {
    const When w = WhenOf(hostDate);
    return std::to_string(w.day) + " " + kMonths[w.month - 1] + " " + std::to_string(w.year) + " " + Two(w.hour) +
           ":" + Two(w.minute) + " UTC";
}

std::string DurationOfMinutes(std::int64_t minutes) {
    return std::to_string(minutes / 60) + " h " + Two(static_cast<int>(minutes % 60)) + " min";
}

std::string Duration(double days) { return DurationOfMinutes(std::llround(days * kMinutesPerDay)); }

// A minute of the operating-time rule as a host date.
double HostDateOfMinute(std::int64_t minute) { return stats::OleDateOfMinute(minute).m_dt; }

// "36 hours (single-op)", "none (multi-op)"; in a sentence, "limit 36 hours
// (single-op)", "no limit (multi-op)".
std::string LimitText(const stats::OperatingTime& t, stats::EntryCategory category, bool inSentence = false) {
    const std::string name = std::string(" (") + stats::CategoryName(category) + ")";
    if (!t.limit) return (inSentence ? "no limit" : "none") + name;
    return (inSentence ? "limit " : "") + std::to_string(*t.limit / 60) + " hours" + name;
}

std::string Period(double start, int hours) {
    const When a = WhenOf(start), b = WhenOf(start + (hours - 1) / 24.0);
    std::string text = std::to_string(a.day);
    if (a.month != b.month || a.year != b.year) text += std::string(" ") + kMonths[a.month - 1];
    if (a.year != b.year) text += " " + std::to_string(a.year);
    if (a.day != b.day || a.month != b.month || a.year != b.year) text += "&ndash;" + std::to_string(b.day);
    return text + " " + kMonths[b.month - 1] + " " + std::to_string(b.year) + ", " + std::to_string(hours) +
           " hours from " + Two(a.hour) + ":00 UTC";
}

// An axis label: short, since a score runs to millions.
std::string AxisNumber(std::int64_t n) {
    if (n < 0) return "&minus;" + AxisNumber(-n);
    if (n >= 1000000 && n % 10000 == 0) {
        std::string text = Format("%.2f", n / 1e6);
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
        return text + "M";
    }
    if (n >= 10000 && n % 1000 == 0) return std::to_string(n / 1000) + "k";
    return Num(n);
}

std::int64_t NiceCeiling(std::int64_t value) {
    if (value <= 5) return 5;
    double step = std::pow(10.0, std::floor(std::log10(static_cast<double>(value))));
    for (const double f : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (f * step >= static_cast<double>(value)) return static_cast<std::int64_t>(f * step);
    return static_cast<std::int64_t>(10 * step);
}

const char* ContestName(bool cw) { return cw ? "CQ-WPX-CW" : "CQ-WPX-SSB"; }

// The bands of a log in the plug-in's display order: its text result's rows,
// then any counted band it did not show.
std::vector<std::string> BandsOf(const LogFigures& log) {
    std::vector<std::string> bands;
    for (const BandRow& row : log.result.bands) bands.push_back(row.band);
    for (const CountedQso& q : log.counted)
        if (std::find(bands.begin(), bands.end(), q.band) == bands.end()) bands.push_back(q.band);
    return bands;
}

// QSOs per hour and band: [hour][band index].
std::vector<std::vector<int>> HourlyByBand(const LogFigures& log, const std::vector<std::string>& bands, double start,
                                           int hours) {
    std::vector<std::vector<int>> grid(static_cast<std::size_t>(hours), std::vector<int>(bands.size()));
    for (const CountedQso& q : log.counted) {
        const int h = HourIndex(start, q.time);
        if (h < 0 || h >= hours) continue;
        const auto b = std::find(bands.begin(), bands.end(), q.band) - bands.begin();
        ++grid[static_cast<std::size_t>(h)][static_cast<std::size_t>(b)];
    }
    return grid;
}

// Chart frame: a viewBox the page scales to its width, never wider.
struct Frame {
    double width = 960, height = 270, left = 48, right = 52, top = 12, bottom = 44;
    double PlotW() const { return width - left - right; }
    double PlotH() const { return height - top - bottom; }
};

std::string SvgOpen(const Frame& f, const std::string& cls, const std::string& label) {
    return "<svg class=\"chart " + cls + "\" viewBox=\"0 0 " + Format("%.0f", f.width) + " " +
           Format("%.0f", f.height) + "\" role=\"img\" aria-label=\"" + Escape(label) + "\">";
}

std::string HourAxis(const Frame& f, double start, int hours) {
    std::string out;
    const int every = hours <= 72 ? 6 : hours <= 168 ? 24 : 24 * 7;
    const double bw = f.PlotW() / hours;
    const double y = f.top + f.PlotH();
    out += "<line class=\"axis\" x1=\"" + Format("%.1f", f.left) + "\" y1=\"" + Format("%.1f", y) + "\" x2=\"" +
           Format("%.1f", f.left + f.PlotW()) + "\" y2=\"" + Format("%.1f", y) + "\"/>";
    for (int h = 0; h <= hours; h += every) {
        const double x = f.left + h * bw;
        const When w = WhenOf(start + h / 24.0);
        out += "<line class=\"tick\" x1=\"" + Format("%.1f", x) + "\" y1=\"" + Format("%.1f", y) + "\" x2=\"" +
               Format("%.1f", x) + "\" y2=\"" + Format("%.1f", y + 5) + "\"/>";
        out += "<text class=\"label\" x=\"" + Format("%.1f", x) + "\" y=\"" + Format("%.1f", y + 18) +
               "\" text-anchor=\"middle\">" + std::string(kDays[w.weekday]) + " " + Two(w.hour) + "</text>";
    }
    out += "<text class=\"label\" x=\"" + Format("%.1f", f.left + f.PlotW() / 2) + "\" y=\"" +
           Format("%.1f", y + 36) + "\" text-anchor=\"middle\">hour (UTC)</text>";
    return out;
}

std::string ValueAxis(const Frame& f, std::int64_t top, bool right, const std::string& cls) {
    std::string out;
    const double x = right ? f.left + f.PlotW() : f.left;
    for (int i = 0; i <= 4; ++i) {
        const double y = f.top + f.PlotH() - f.PlotH() * i / 4.0;
        const std::int64_t value = top * i / 4;
        if (!right)
            out += "<line class=\"grid\" x1=\"" + Format("%.1f", f.left) + "\" y1=\"" + Format("%.1f", y) +
                   "\" x2=\"" + Format("%.1f", f.left + f.PlotW()) + "\" y2=\"" + Format("%.1f", y) + "\"/>";
        out += "<text class=\"label " + cls + "\" x=\"" + Format("%.1f", right ? x + 6 : x - 6) + "\" y=\"" +
               Format("%.1f", y + 4) + "\" text-anchor=\"" + (right ? "start" : "end") + "\">" + AxisNumber(value) +
               "</text>";
    }
    return out;
}

std::string Legend(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string out = "<p class=\"legend\">";
    for (const auto& [name, colour] : entries)
        out += "<span><i style=\"background:" + colour + "\"></i>" + Escape(name) + "</span>";
    return out + "</p>";
}

// QSOs per hour, one bar per hour stacked by band.
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

// Score lines (one per log) and, for a single log, its multipliers.
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
        if (single)
            out += "<polyline class=\"line mult\" points=\"" + multLine + "\" stroke=\"#33a02c\"/>";
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
    std::vector<std::pair<std::string, std::string>> legend;
    if (single) {
        legend = {{"score (left scale)", "#1f78b4"}, {"multipliers (right scale)", "#33a02c"}};
    } else {
        for (std::size_t l = 0; l < logs.size(); ++l) legend.emplace_back(logs[l]->station, kLogColours[l % 7]);
    }
    return out + Legend(legend);
}

std::string Shade(int n, int most) {
    if (n == 0 || most == 0) return "";
    return " style=\"background:rgba(31,120,180," + Format("%.2f", 0.08 + 0.6 * n / double(most)) + ")\"";
}

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

// "11:50–11:59", or "Sat 27 23:55–Sun 28 00:04" across midnight.
std::string Span(double from, double to) {
    const When a = WhenOf(from), b = WhenOf(to);
    return DayTime(from) + "&ndash;" +
           (a.day == b.day ? Two(b.hour) + ":" + Two(b.minute) : DayTime(to));
}

std::string PeakRates(const LogFigures& log) {
    std::vector<double> times;
    for (const CountedQso& q : log.counted) times.push_back(q.time);
    std::sort(times.begin(), times.end());
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
        const std::string past = Num(static_cast<std::int64_t>(t.qsosPast)) + (t.qsosPast == 1 ? " QSO" : " QSOs");
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
    return out + "</tbody><tfoot><tr class=\"total\"><th>" + std::to_string(t.offTimes.size()) +
           (t.offTimes.size() == 1 ? " off-time" : " off-times") + "</th><td></td><td data-minutes=\"" +
           std::to_string(t.offMinutes) + "\">" + DurationOfMinutes(t.offMinutes) + "</td></tr></tfoot></table>";
}

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

// Calls (or prefixes) as a list to scan; those in `marked` in bold.
std::string CallList(const std::vector<std::string>& calls, const std::string& cls,
                     const std::set<std::string>& marked = {}, const std::string& lead = "") {
    std::string out = "<p class=\"calls " + cls + "\" data-count=\"" + std::to_string(calls.size()) + "\">" + lead;
    for (std::size_t i = 0; i < calls.size() && i < kListedCalls; ++i)
        out += marked.count(calls[i]) ? "<span><strong>" + Escape(calls[i]) + "</strong></span> "
                                      : "<span>" + Escape(calls[i]) + "</span> ";
    if (calls.size() > kListedCalls) out += "<em>and " + std::to_string(calls.size() - kListedCalls) + " more</em>";
    return out + "</p>";
}

bool IsActive(const std::unordered_set<std::string>& active, const std::string& call) {
    // A call with a designator or an operating suffix is known by its home call.
    return active.count(call) > 0 || active.count(ReadPortableCall(call).home) > 0;
}

std::string CallsToCheck(const LogFigures& log, const PageInput& input) {
    std::map<std::string, int> worked;
    std::map<std::string, std::string> bandOf;
    for (const CountedQso& q : log.counted) {
        ++worked[q.call];
        bandOf[q.call] = q.band;
    }
    std::vector<std::string> unknown;
    std::set<std::string> once;
    if (!input.activeCalls.empty())
        for (const auto& [call, n] : worked)
            if (!IsActive(input.activeCalls, call)) unknown.push_back(call);
    for (const auto& [call, n] : worked)
        if (n == 1) once.insert(call);
    std::set<std::string> both;
    for (const std::string& call : unknown)
        if (once.count(call)) both.insert(call);

    std::string out = "<p class=\"note\">A list to look at, not a judgment: a log checker looks at these first, and "
                      "first of all at the calls in bold: not in the list of active calls, and worked only once.</p>";
    out += "<h3>Not in the list of active contest calls</h3>";
    if (input.activeCalls.empty()) {
        out += "<p>No list of active contest calls was read (stats-host --calls names one).</p>";
    } else {
        out += "<p>" + Num(static_cast<std::int64_t>(unknown.size())) + " of " +
               Num(static_cast<std::int64_t>(worked.size())) + " calls are not in " + Escape(input.activeCallsSource) +
               "; " + Num(static_cast<std::int64_t>(both.size())) + " of them worked only once.</p>" +
               CallList(unknown, "unknown", both);
    }
    out += "<h3>Worked only once in the whole log</h3>";
    const std::vector<std::string> bands = BandsOf(log);
    std::vector<std::vector<std::string>> byBand(bands.size());
    for (const std::string& call : once)
        byBand[static_cast<std::size_t>(std::find(bands.begin(), bands.end(), bandOf[call]) - bands.begin())]
            .push_back(call);
    out += "<table class=\"list\"><thead><tr>";
    for (const std::string& band : bands) out += "<th>" + Escape(band) + "</th>";
    out += "<th>all</th></tr></thead><tbody><tr>";
    for (const auto& calls : byBand) out += "<td>" + std::to_string(calls.size()) + "</td>";
    out += "<td>" + std::to_string(once.size()) + "</td></tr></tbody></table>";
    for (std::size_t b = 0; b < bands.size(); ++b)
        if (!byBand[b].empty())
            out += CallList(byBand[b], "once", both, "<b>" + Escape(bands[b]) + "</b> ");
    return out;
}

std::string ScopedSummary(const std::string& html) {
    // The plug-in's page, body and style, with its style rules confined to
    // the box it is shown in.
    std::string style, body = html;
    const auto styleOpen = html.find("<style>"), styleClose = html.find("</style>");
    if (styleOpen != std::string::npos && styleClose != std::string::npos && styleClose > styleOpen) {
        const std::string rules = html.substr(styleOpen + 7, styleClose - styleOpen - 7);
        std::size_t from = 0;
        while (from < rules.size()) {
            const std::size_t open = rules.find('{', from), close = rules.find('}', from);
            if (open == std::string::npos || close == std::string::npos || close < open) break;
            std::string selectors = rules.substr(from, open - from), scoped;
            std::stringstream list(selectors);
            for (std::string one; std::getline(list, one, ',');) {
                const auto a = one.find_first_not_of(" \t\r\n"), b = one.find_last_not_of(" \t\r\n");
                if (a == std::string::npos) continue;
                scoped += std::string(scoped.empty() ? "" : ", ") + ".summary " + one.substr(a, b - a + 1);
            }
            style += scoped + rules.substr(open, close - open + 1);
            from = close + 1;
        }
    }
    const auto bodyOpen = html.find("<body>"), bodyClose = html.rfind("</body>");
    if (bodyOpen != std::string::npos && bodyClose != std::string::npos && bodyClose > bodyOpen)
        body = html.substr(bodyOpen + 6, bodyClose - bodyOpen - 6);
    return (style.empty() ? "" : "<style>" + style + "</style>") + "<div class=\"summary\">" + body + "</div>";
}

const char kStyle[] =
    "body{font-family:'DejaVu Sans',Arial,Helvetica,sans-serif;color:#222;max-width:1000px;margin:0 auto;"
    "padding:0 14px 40px;line-height:1.4}"
    "h1{font-size:1.6em;margin:0.8em 0 0.2em}h2{font-size:1.25em;margin:1.6em 0 0.5em;border-bottom:2px solid #1f78b4}"
    "h3{font-size:1.05em;margin:1.1em 0 0.4em}"
    "table{border-collapse:collapse;margin:0.4em 0}th,td{padding:2px 8px}"
    ".facts th{text-align:left;font-weight:normal;color:#555;padding-right:14px;white-space:nowrap}"
    ".list th,.list td,.sheet th,.sheet td{border:1px solid #ccc;text-align:right}"
    ".sheet{font-size:0.85em;width:100%}.sheet th{text-align:left;white-space:nowrap}"
    ".sheet thead th{text-align:right;white-space:normal}"
    ".sheet .idle{color:#999}.sheet .other{color:#777}.sheet .sum{font-weight:bold}"
    ".total td,.total th{font-weight:bold;border-top:2px solid #888}"
    ".chart{width:100%;height:auto;display:block}.chart .axis,.chart .tick{stroke:#555}.chart .grid{stroke:#e4e4e4}"
    ".chart .label{font-size:12px;fill:#444}.chart .line{fill:none;stroke-width:2}.chart .mult{stroke-dasharray:5 3}"
    ".legend span{margin-right:16px;white-space:nowrap;font-size:0.9em}"
    ".legend i{display:inline-block;width:12px;height:12px;margin-right:5px;vertical-align:-1px}"
    ".calls{overflow-wrap:anywhere;font-family:'DejaVu Sans Mono',monospace;font-size:0.9em}"
    ".calls span{display:inline-block;margin-right:0.6em}"
    "code{overflow-wrap:anywhere;word-break:break-all}"
    ".nw{white-space:nowrap}.note{color:#555}.warn{color:#b00}.up{color:#1a7a1a}.down{color:#b00}"
    ".summary{max-width:560px}.top{display:flex;flex-wrap:wrap;gap:0 32px;align-items:flex-start}"
    ".top>div{flex:1 1 420px;min-width:0}"
    // A phone: the rate sheet's ten columns fit without its running total.
    "@media (max-width:760px){body{padding:0 4px 30px}.facts th{white-space:normal}"
    ".sheet{font-size:0.66em}.sheet .cum{display:none}.sheet th,.sheet td{padding:1px 2px}"
    ".list{font-size:0.85em}.list th,.list td{padding:1px 4px}}"
    "@media print{body{max-width:none}h2{break-after:avoid}.chart{break-inside:avoid}}";

std::string Head(const std::string& title) {
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><meta name=\"viewport\" "
           "content=\"width=device-width, initial-scale=1\"><title>" +
           Escape(title) + "</title><style>" + kStyle + "</style></head><body>\n";
}

std::string LogFacts(const LogFigures& log) {
    std::string out = "<table class=\"facts\">";
    // The log's CATEGORY- lines, by the rest of their names.
    for (const auto& [key, value] : log.header) {
        if (value.empty()) continue;
        std::string name = key.substr(key.find('-') + 1);
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        out += "<tr><th>" + Escape(name) + "</th><td>" + Escape(value) + "</td></tr>";
    }
    out += "<tr><th>score by the plug-in</th><td class=\"score\" data-score=\"" + std::to_string(log.result.score) +
           "\"><strong>" + Num(log.result.score) + "</strong> (" + Num(log.result.qsos) + " QSOs, " +
           Num(log.result.points) + " points, " + Num(log.result.multipliers) + " prefixes)</td></tr>";
    if (log.claimed) {
        const std::int64_t diff = log.result.score - *log.claimed;
        out += "<tr><th>claimed in the log</th><td class=\"claimed\">" + Num(*log.claimed);
        if (diff == 0) {
            out += " (the same)";
        } else {
            out += " (the plug-in's score is " + Num(diff < 0 ? -diff : diff) + (diff < 0 ? " lower" : " higher");
            if (*log.claimed > 0) out += ", " + Format("%.2f", std::fabs(100.0 * diff / double(*log.claimed))) + "%";
            out += ")";
        }
        out += "</td></tr>";
    }
    out += "<tr><th>QSOs in the log</th><td>" + Num(static_cast<std::int64_t>(log.loggedTimes.size())) + ": " +
           Num(static_cast<std::int64_t>(log.counted.size())) + " counted, " + Num(log.dupes) + " dupes, " +
           Num(log.rejected) + " rejected</td></tr>";
    // The figures an operator asks first, each drawn or listed further down.
    const stats::OperatingTime& t = log.operating;
    out += "<tr><th>operating time</th><td>" + DurationOfMinutes(t.operatingMinutes) + ", " +
           std::to_string(t.offTimes.size()) + (t.offTimes.size() == 1 ? " off-time" : " off-times") + "; " +
           LimitText(t, log.category, true);
    if (t.limitPassed)
        out += ", <strong>" + Num(static_cast<std::int64_t>(t.qsosPast)) + (t.qsosPast == 1 ? " QSO" : " QSOs") +
               " past it</strong>";
    out += "</td></tr>";
    std::vector<double> times;
    for (const CountedQso& q : log.counted) times.push_back(q.time);
    std::sort(times.begin(), times.end());
    for (const auto& [minutes, name] : {std::pair{60.0, "60"}, std::pair{10.0, "10"}}) {
        const Peak p = BestWindow(times, minutes);
        if (p.qsos > 0)
            out += "<tr><th>best " + std::string(name) + " minutes</th><td>" + std::to_string(p.qsos) +
                   " QSOs, <span class=\"nw\">" + Span(p.from, p.to) + "</span></td></tr>";
    }
    out += "</table>";
    if (!log.otherContest.empty())
        out += "<p class=\"warn\">The log names the contest " + Escape(log.otherContest) +
               "; the plug-in scored it as " +
               ContestName(log.cw) + ".</p>";
    return out;
}

std::string SingleLogPage(const PageInput& in) {
    const LogFigures& log = in.logs.front();
    std::string out = Head(log.station + " " + ContestName(log.cw)) + "<h1>" + Escape(log.station) + " &mdash; " +
                      ContestName(log.cw) + "</h1><p>" + Period(in.start, in.hours) + ". Log <code>" +
                      Escape(log.file) + "</code>.</p>";
    // The log's facts and the plug-in's summary side by side where the page
    // is wide enough, so that the charts start near the top.
    out += "<div class=\"top\"><div><h2 id=\"log\">The log at a glance</h2>" + LogFacts(log) +
           "</div><div><h2 id=\"summary\">The plug-in's summary</h2>" + ScopedSummary(log.summaryHtml) + "</div></div>";
    out += "<h2 id=\"qsos-per-hour\">QSOs per hour</h2><p class=\"note\">The QSOs the plug-in counts, here and "
           "below: dupes and rejected QSOs are left out (the rate sheet shows them hour by hour).</p>" +
           HourlyChart(log, in.start, in.hours);
    out += "<h2 id=\"score\">Score and multipliers, hour by hour</h2><p class=\"note\">The plug-in's own figures at "
           "the end of each hour, from a replay of the log.</p>" +
           ScoreChart({&log}, in.start, in.hours);
    out += "<h2 id=\"rate-sheet\">Rate sheet</h2>" + RateSheet(log, in.start, in.hours);
    out += "<h2 id=\"peaks\">Peak rates</h2>" + PeakRates(log);
    out += "<h2 id=\"off-times\">Off-times</h2><p class=\"note\">Every gap of 60 minutes or more without a QSO.</p>" +
           OffTimeSection(log, in.start, in.hours);
    out += "<h2 id=\"continents\">QSOs and points by continent</h2>" + ContinentTable(log);
    out += "<h2 id=\"calls\">Calls to check</h2>" + CallsToCheck(log, in);
    return out + "</body></html>\n";
}

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
        out += "<line class=\"" + std::string(v == 0 ? "axis" : "grid") + "\" x1=\"" + Format("%.1f", f.left) +
               "\" y1=\"" + Format("%.1f", y(v)) + "\" x2=\"" + Format("%.1f", f.left + f.PlotW()) + "\" y2=\"" +
               Format("%.1f", y(v)) + "\"/><text class=\"label\" x=\"" + Format("%.1f", f.left - 6) + "\" y=\"" +
               Format("%.1f", y(v) + 4) + "\" text-anchor=\"end\">" + (v > 0 ? "+" : "") + AxisNumber(v) + "</text>";
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

std::string ComparePage(const PageInput& in) {
    const LogFigures& first = in.logs.front();
    std::string title = std::string(ContestName(first.cw)) + ": ";
    for (std::size_t l = 0; l < in.logs.size(); ++l) title += (l ? ", " : "") + in.logs[l].station;
    std::string out = Head(title) + "<h1>" + Escape(title) + "</h1><p>" + Period(in.start, in.hours) + ".</p>";
    bool claims = false;
    for (const LogFigures& log : in.logs) claims = claims || log.claimed.has_value();
    out += "<table class=\"list\"><thead><tr><th>station</th><th>QSOs</th><th>points</th><th>prefixes</th>"
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
    out += "</tbody></table><p class=\"note\">Logs: " + files + ".</p>";

    // Each log by its own category's limit.
    out += "<h2 id=\"operating\">Operating time</h2><table class=\"list\"><thead><tr><th>station</th><th>operating "
           "time</th><th>off-times</th><th>limit</th><th>past the limit</th></tr></thead><tbody>";
    for (const LogFigures& log : in.logs) {
        const stats::OperatingTime& t = log.operating;
        out += "<tr><th>" + Escape(log.station) + "</th><td class=\"operating\" data-minutes=\"" +
               std::to_string(t.operatingMinutes) + "\">" + HoursMinutes(t.operatingMinutes) + "</td><td>" +
               std::to_string(t.offTimes.size()) + "</td><td>" + LimitText(t, log.category) +
               "</td><td class=\"past\" data-qsos=\"" + std::to_string(t.qsosPast) + "\">" +
               (t.limitPassed ? "<strong>" + Num(static_cast<std::int64_t>(t.qsosPast)) + " QSOs</strong>"
                              : std::string("&mdash;")) +
               "</td></tr>";
    }
    out += "</tbody></table>";

    std::vector<const LogFigures*> logs;
    for (const LogFigures& log : in.logs) logs.push_back(&log);
    out += "<h2 id=\"score\">Score, hour by hour</h2>" + ScoreChart(logs, in.start, in.hours);

    // The difference from the first log at the end of each hour.
    std::size_t longest = 0;
    for (const LogFigures& log : in.logs) longest = std::max(longest, log.hourEnds.size());
    out += "<h2 id=\"difference\">Difference from " + Escape(first.station) + "</h2>" +
           DifferenceChart(in, longest) + "<table class=\"sheet\"><thead><tr><th>end of hour (UTC)</th><th>" +
           Escape(first.station) + "</th>";
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
    out += "</tbody></table>";

    // QSOs per hour side by side.
    Frame f;
    f.right = 24;
    std::vector<std::vector<int>> perHour(in.logs.size(), std::vector<int>(static_cast<std::size_t>(in.hours)));
    int most = 0;
    for (std::size_t l = 0; l < in.logs.size(); ++l)
        for (const CountedQso& q : in.logs[l].counted) {
            const int h = HourIndex(in.start, q.time);
            if (h >= 0 && h < in.hours) most = std::max(most, ++perHour[l][static_cast<std::size_t>(h)]);
        }
    const std::int64_t top = NiceCeiling(most);
    std::string chart = SvgOpen(f, "hourly compare", "QSOs per hour of each log") + ValueAxis(f, top, false, "");
    const double bw = f.PlotW() / in.hours, each = bw * 0.84 / static_cast<double>(in.logs.size());
    for (int h = 0; h < in.hours; ++h) {
        std::string counts;
        for (std::size_t l = 0; l < in.logs.size(); ++l)
            counts += (l ? "," : "") + std::to_string(perHour[l][static_cast<std::size_t>(h)]);
        chart += "<g class=\"hour\" data-hour=\"" + std::to_string(h) + "\" data-qsos=\"" + counts + "\"><title>" +
                 DayTime(in.start + h / 24.0) + " UTC: " + counts + " QSOs</title>";
        for (std::size_t l = 0; l < in.logs.size(); ++l) {
            const int n = perHour[l][static_cast<std::size_t>(h)];
            if (n == 0) continue;
            const double height = f.PlotH() * n / double(top);
            chart += "<rect class=\"bar\" data-log=\"" + std::to_string(l) + "\" x=\"" +
                     Format("%.2f", f.left + h * bw + bw * 0.08 + l * each) + "\" y=\"" +
                     Format("%.2f", f.top + f.PlotH() - height) + "\" width=\"" + Format("%.2f", each) +
                     "\" height=\"" + Format("%.2f", height) + "\" fill=\"" + kLogColours[l % 7] + "\"/>";
        }
        chart += "</g>";
    }
    chart += HourAxis(f, in.start, in.hours) + "</svg>";
    std::vector<std::pair<std::string, std::string>> legend;
    for (std::size_t l = 0; l < in.logs.size(); ++l) legend.emplace_back(in.logs[l].station, kLogColours[l % 7]);
    out += "<h2 id=\"qsos-per-hour\">QSOs per hour</h2>" + chart + Legend(legend);

    // Prefixes one log has that the others lack.
    std::vector<std::set<std::string>> prefixes(in.logs.size());
    for (std::size_t l = 0; l < in.logs.size(); ++l)
        for (const CountedQso& q : in.logs[l].counted) prefixes[l].insert(q.prefix);
    out += "<h2 id=\"prefixes\">Prefixes the others lack</h2><table class=\"list\"><thead><tr><th>station</th>"
           "<th>prefixes</th><th>only in this log</th></tr></thead><tbody>";
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

    for (const LogFigures& log : in.logs)
        out += "<h2>" + Escape(log.station) + ": the plug-in's summary</h2>" + ScopedSummary(log.summaryHtml);
    return out + "</body></html>\n";
}

std::int64_t NumberAfter(const std::string& line, std::size_t& at) {
    while (at < line.size() && !(line[at] >= '0' && line[at] <= '9') && line[at] != '-') ++at;
    std::int64_t value = 0;
    bool negative = false;
    if (at < line.size() && line[at] == '-') {
        negative = true;
        ++at;
    }
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') value = value * 10 + (line[at++] - '0');
    return negative ? -value : value;
}

}  // namespace

std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

TextResult ParseTextResult(const std::string& text) {
    TextResult r;
    std::stringstream lines(text);
    bool inRows = false, total = false, score = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t at = 0;
        if (line.rfind("Band\t", 0) == 0) {
            inRows = true;
        } else if (line.rfind("Total\t", 0) == 0) {
            inRows = false;
            total = true;
            r.qsos = NumberAfter(line, at);
            r.points = NumberAfter(line, at);
            r.multipliers = NumberAfter(line, at);
        } else if (inRows) {
            const std::size_t tab = line.find('\t');
            if (tab == std::string::npos) continue;
            BandRow row;
            row.band = line.substr(0, tab);
            at = tab;
            row.qsos = NumberAfter(line, at);
            row.points = NumberAfter(line, at);
            r.bands.push_back(row);
        } else if (line.rfind("Dupe\t", 0) == 0) {
            r.dupes = NumberAfter(line, at);
        } else if (line.rfind("Bad QSO\t", 0) == 0) {
            r.bad = NumberAfter(line, at);
        } else if (line.rfind("Score = ", 0) == 0) {
            const std::size_t equals = line.rfind('=');
            at = equals;
            r.score = NumberAfter(line, at);
            score = true;
        }
    }
    r.complete = total && score;
    return r;
}

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

std::string HoursMinutes(std::int64_t minutes) {
    return std::to_string(minutes / 60) + ":" + Two(static_cast<int>(minutes % 60));
}

int HourIndex(double start, double time) { return static_cast<int>(std::floor((time - start) * 24.0 + 1e-9)); }

std::string RenderPage(const PageInput& input) {
    if (input.logs.empty()) return std::string();
    return input.logs.size() == 1 ? SingleLogPage(input) : ComparePage(input);
}

}  // namespace tools::page
