// What every section of the contest page draws with: numbers and times as
// the page writes them, the SVG chart frame with its axes and legend, and
// lists of calls. Each returns HTML text; nothing here knows a section.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "contest/contest_name.h"
#include "contest/operating_time.h"
#include "contest_page.h"

namespace tools::page {

inline constexpr double kMinutesPerDay = 24.0 * 60.0;

extern const char* const kDays[7];     // "Sun" to "Sat"
extern const char* const kMonths[12];  // "January" to "December"
// One colour a log, in the order the logs are given (the seventh and every
// seventh after it alike).
extern const char* const kLogColours[7];

// ---- Numbers and words

// `value` through printf's `format` ("%.2f").
std::string Format(const char* format, double value);
// Thousands apart by a narrow space that never breaks; a minus sign, not a hyphen.
std::string Num(std::int64_t n);
// "07"
std::string Two(int n);
// "1 off-time", "3 off-times", "−1 point": the count as Num writes it, then the word.
std::string Counted(std::int64_t n, const char* one, const char* many);
using stats::ContestName;

// ---- Times: host dates (days since 30 December 1899, UTC)

// Calendar fields of a host date, its seconds dropped.
struct When {
    int year, month, day, hour, minute, weekday;  // weekday 0 = Sunday
};
When WhenOf(double hostDate);
// "Sat 27 10:00"
std::string DayTime(double hostDate);
// "27 May 2023 10:00 UTC"
std::string FullTime(double hostDate);
// "11:50–11:59", or "Sat 27 23:55–Sun 28 00:04" across midnight.
std::string Span(double from, double to);
// "27–28 May 2023, 48 hours from 00:00 UTC"
std::string Period(double start, int hours);
// "5 h 07 min"
std::string DurationOfMinutes(std::int64_t minutes);
std::string Duration(double days);
// A minute of the operating-time rule as a host date.
double HostDateOfMinute(std::int64_t minute);
// "36 hours (single-op)", "none (multi-op)"; in a sentence, "limit 36 hours
// (single-op)", "no limit (multi-op)".
std::string LimitText(const stats::OperatingTime& t, stats::EntryCategory category, bool inSentence = false);

// ---- Bands and hours of a log

std::string BandColour(const std::string& band);
// The bands of a log in the plug-in's display order: its text result's rows,
// then any counted band it did not show.
std::vector<std::string> BandsOf(const LogFigures& log);
// Counted QSOs per hour and band: [hour][band index of `bands`].
std::vector<std::vector<int>> HourlyByBand(const LogFigures& log, const std::vector<std::string>& bands, double start,
                                           int hours);
// The times of the counted QSOs, sorted.
std::vector<double> CountedTimes(const LogFigures& log);

// ---- Charts

// A chart's frame: a viewBox the page scales to its width, never wider.
struct Frame {
    double width = 960, height = 270, left = 48, right = 52, top = 12, bottom = 44;
    double PlotW() const { return width - left - right; }
    double PlotH() const { return height - top - bottom; }
};
// The smallest round number (1, 2, 2.5 or 5 times a power of ten) at or
// above `value`, and at least 5: the top of a value axis.
std::int64_t NiceCeiling(std::int64_t value);
// An axis label: short, since a score runs to millions ("1.25M", "40k").
std::string AxisNumber(std::int64_t n);
std::string SvgOpen(const Frame& f, const std::string& cls, const std::string& label);
// <line class="cls" .../>, coordinates to a tenth.
std::string SvgLine(const std::string& cls, double x1, double y1, double x2, double y2);
// <text class="cls" ...>text</text>, `text` as HTML already.
std::string SvgText(const std::string& cls, double x, double y, const char* anchor, const std::string& text);
// The hour axis under the plot: a tick and a label every 6 hours (a day, a
// week for longer spans).
std::string HourAxis(const Frame& f, double start, int hours);
// Four grid steps from 0 to `top`, labelled left or right of the plot.
std::string ValueAxis(const Frame& f, std::int64_t top, bool right, const std::string& cls);
// Colour keys under a chart: (name, colour).
std::string Legend(const std::vector<std::pair<std::string, std::string>>& entries);
// One colour key a log, by its station.
std::string LogLegend(const std::vector<const LogFigures*>& logs);

// ---- Lists

// Calls (or prefixes) as a list to scan, those in `marked` in bold; `lead`
// (HTML) opens it. A long list stops with a count of the rest.
std::string CallList(const std::vector<std::string>& calls, const std::string& cls,
                     const std::set<std::string>& marked = {}, const std::string& lead = "");

}  // namespace tools::page
