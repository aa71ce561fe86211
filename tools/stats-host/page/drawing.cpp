#include "page/drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "contest/ole_date.h"
#include "log_mapping.h"

namespace tools::page {

namespace {

// A list of calls stops here: a page to read, not a dump. A real log of
// 10,000 QSOs lists every call it needs to well within it.
constexpr std::size_t kListedCalls = 3000;

const char* const kBandOrder[] = {"160m", "80m", "40m", "20m", "15m", "10m"};
const char* const kBandColours[] = {"#6a3d9a", "#1f78b4", "#33a02c", "#e31a1c", "#ff7f00", "#b15928"};

int BandRank(const std::string& band) {
    for (int i = 0; i < 6; ++i)
        if (band == kBandOrder[i]) return i;
    return 6;
}

// The minute a host date falls in, counted from the host's day 0. A time is
// shown as a log writes it, its seconds dropped; the allowance only absorbs
// the rounding of a date stored in days.
double MinuteOf(double hostDate) { return std::floor(hostDate * kMinutesPerDay + 1e-6); }

}  // namespace

const char* const kDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};
const char* const kLogColours[7] = {"#1f78b4", "#e31a1c", "#33a02c", "#6a3d9a", "#ff7f00", "#b15928", "#444444"};

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

std::string Two(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

std::string Counted(std::int64_t n, const char* one, const char* many) {
    return Num(n) + " " + (n == 1 || n == -1 ? one : many);
}


When WhenOf(double hostDate) {
    const double minute = MinuteOf(hostDate);
    int year, month, day, hour, minuteOfHour, second;
    CalendarOf(minute / kMinutesPerDay, year, month, day, hour, minuteOfHour, second);
    const auto days = static_cast<long long>(std::floor(minute / kMinutesPerDay));
    const int weekday = static_cast<int>(((days % 7) + 7 + 6) % 7);  // day 0 was a Saturday
    return When{year, month, day, hour, minuteOfHour, weekday};
}

std::string DayTime(double hostDate) {
    const When w = WhenOf(hostDate);
    return std::string(kDays[w.weekday]) + " " + std::to_string(w.day) + " " + Two(w.hour) + ":" + Two(w.minute);
}

std::string FullTime(double hostDate) {
    const When w = WhenOf(hostDate);
    return std::to_string(w.day) + " " + kMonths[w.month - 1] + " " + std::to_string(w.year) + " " + Two(w.hour) +
           ":" + Two(w.minute) + " UTC";
}

std::string Span(double from, double to) {
    const When a = WhenOf(from), b = WhenOf(to);
    return DayTime(from) + "&ndash;" + (a.day == b.day ? Two(b.hour) + ":" + Two(b.minute) : DayTime(to));
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

std::string DurationOfMinutes(std::int64_t minutes) {
    return std::to_string(minutes / 60) + " h " + Two(static_cast<int>(minutes % 60)) + " min";
}

std::string Duration(double days) { return DurationOfMinutes(std::llround(days * kMinutesPerDay)); }

double HostDateOfMinute(std::int64_t minute) { return stats::OleDateOfMinute(minute).m_dt; }

std::string LimitText(const stats::OperatingTime& t, stats::EntryCategory category, bool inSentence) {
    const std::string name = std::string(" (") + stats::CategoryName(category) + ")";
    if (!t.limit) return (inSentence ? "no limit" : "none") + name;
    return (inSentence ? "limit " : "") + std::to_string(*t.limit / 60) + " hours" + name;
}

std::string BandColour(const std::string& band) {
    const int rank = BandRank(band);
    return rank < 6 ? kBandColours[rank] : "#888888";
}

std::vector<std::string> BandsOf(const LogFigures& log) {
    std::vector<std::string> bands;
    for (const BandRow& row : log.result.bands) bands.push_back(row.band);
    for (const CountedQso& q : log.counted)
        if (std::find(bands.begin(), bands.end(), q.band) == bands.end()) bands.push_back(q.band);
    return bands;
}

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

std::vector<double> CountedTimes(const LogFigures& log) {
    std::vector<double> times;
    times.reserve(log.counted.size());
    for (const CountedQso& q : log.counted) times.push_back(q.time);
    std::sort(times.begin(), times.end());
    return times;
}

std::int64_t NiceCeiling(std::int64_t value) {
    if (value <= 5) return 5;
    double step = std::pow(10.0, std::floor(std::log10(static_cast<double>(value))));
    for (const double f : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (f * step >= static_cast<double>(value)) return static_cast<std::int64_t>(f * step);
    return static_cast<std::int64_t>(10 * step);
}

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

std::string SvgOpen(const Frame& f, const std::string& cls, const std::string& label) {
    return "<svg class=\"chart " + cls + "\" viewBox=\"0 0 " + Format("%.0f", f.width) + " " +
           Format("%.0f", f.height) + "\" role=\"img\" aria-label=\"" + Escape(label) + "\">";
}

std::string SvgLine(const std::string& cls, double x1, double y1, double x2, double y2) {
    return "<line class=\"" + cls + "\" x1=\"" + Format("%.1f", x1) + "\" y1=\"" + Format("%.1f", y1) + "\" x2=\"" +
           Format("%.1f", x2) + "\" y2=\"" + Format("%.1f", y2) + "\"/>";
}

std::string SvgText(const std::string& cls, double x, double y, const char* anchor, const std::string& text) {
    return "<text class=\"" + cls + "\" x=\"" + Format("%.1f", x) + "\" y=\"" + Format("%.1f", y) +
           "\" text-anchor=\"" + anchor + "\">" + text + "</text>";
}

std::string HourAxis(const Frame& f, double start, int hours) {
    const int every = hours <= 72 ? 6 : hours <= 168 ? 24 : 24 * 7;
    const double bw = f.PlotW() / hours;
    const double y = f.top + f.PlotH();
    std::string out = SvgLine("axis", f.left, y, f.left + f.PlotW(), y);
    for (int h = 0; h <= hours; h += every) {
        const double x = f.left + h * bw;
        const When w = WhenOf(start + h / 24.0);
        out += SvgLine("tick", x, y, x, y + 5) +
               SvgText("label", x, y + 18, "middle", std::string(kDays[w.weekday]) + " " + Two(w.hour));
    }
    return out + SvgText("label", f.left + f.PlotW() / 2, y + 36, "middle", "hour (UTC)");
}

std::string ValueAxis(const Frame& f, std::int64_t top, bool right, const std::string& cls) {
    std::string out;
    const double x = right ? f.left + f.PlotW() : f.left;
    for (int i = 0; i <= 4; ++i) {
        const double y = f.top + f.PlotH() - f.PlotH() * i / 4.0;
        const std::int64_t value = top * i / 4;
        if (!right) out += SvgLine("grid", f.left, y, f.left + f.PlotW(), y);
        out += SvgText("label " + cls, right ? x + 6 : x - 6, y + 4, right ? "start" : "end", AxisNumber(value));
    }
    return out;
}

std::string Legend(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string out = "<p class=\"legend\">";
    for (const auto& [name, colour] : entries)
        out += "<span><i style=\"background:" + colour + "\"></i>" + Escape(name) + "</span>";
    return out + "</p>";
}

std::string LogLegend(const std::vector<const LogFigures*>& logs) {
    std::vector<std::pair<std::string, std::string>> legend;
    for (std::size_t l = 0; l < logs.size(); ++l) legend.emplace_back(logs[l]->station, kLogColours[l % 7]);
    return Legend(legend);
}

std::string CallList(const std::vector<std::string>& calls, const std::string& cls, const std::set<std::string>& marked,
                     const std::string& lead) {
    std::string out = "<p class=\"calls " + cls + "\" data-count=\"" + std::to_string(calls.size()) + "\">" + lead;
    for (std::size_t i = 0; i < calls.size() && i < kListedCalls; ++i)
        out += marked.count(calls[i]) ? "<span><strong>" + Escape(calls[i]) + "</strong></span> "
                                      : "<span>" + Escape(calls[i]) + "</span> ";
    if (calls.size() > kListedCalls) out += "<em>and " + std::to_string(calls.size() - kListedCalls) + " more</em>";
    return out + "</p>";
}

}  // namespace tools::page
