// The contest page: one self-contained HTML file that shows how a contest went
// (the plug-in's summary, QSOs per hour by band, the score over time, the rate
// sheet, peak rates, off-times, continents, and before you submit: what log
// checking will take away, with the calls worth a second look), or how two or
// more logs of the same contest compare. Charts are inline SVG;
// the page needs no script and fetches nothing.
//
// The figures come from a replay of each log through the plug-in's exports
// (page_replay.h) and from the audit (audit.h); this part only counts and
// draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "audit.h"
#include "contest/operating_time.h"

namespace tools::page {

// One QSO the plug-in counted (accepted, not a dupe), as the host passed it.
struct CountedQso {
    double time = 0.0;  // host date: days since 30 December 1899, UTC
    std::string call, band, continent, prefix;
    std::size_t index = 0;  // its place among the QSOs passed, in time order
};

// The plug-in's QSOs and points of one continent's counted QSOs, scored alone.
struct ContinentFigures {
    std::string continent;  // as the host passed it; empty when unknown
    std::int64_t qsos = 0, points = 0;
};

// The plug-in's figures after the last QSO of one hour.
struct HourEnd {
    std::int64_t score = 0, points = 0, multipliers = 0, qsos = 0;
};

// A band row of the plug-in's text result.
struct BandRow {
    std::string band;
    std::int64_t qsos = 0, points = 0;
};

// What the plug-in's text result says.
struct TextResult {
    std::vector<BandRow> bands;
    std::int64_t qsos = 0, points = 0, multipliers = 0, dupes = 0, bad = 0, score = 0;
    bool complete = false;  // a Total row and a Score line were found
};
TextResult ParseTextResult(const std::string& text);

struct LogFigures {
    std::string file;     // as given on the command line
    std::string station;  // the own call
    bool cw = true;       // CQ-WPX-CW, else CQ-WPX-SSB
    // The log's own category lines (CATEGORY-...).
    std::vector<std::pair<std::string, std::string>> header;
    std::optional<std::int64_t> claimed;
    // The entry's category, which sets the operating-time limit.
    stats::EntryCategory category = stats::EntryCategory::kSingleOp;

    std::string summaryHtml;  // the plug-in's HTML result
    TextResult result;        // the plug-in's text result after the last QSO
    std::vector<CountedQso> counted;
    std::vector<double> loggedTimes;  // every QSO passed to the plug-in, sorted
    std::int64_t dupes = 0, rejected = 0;
    // The operating time of every QSO passed, by the contest's rule; once the
    // limit is passed, the plug-in's figures of the QSOs within it (the
    // counted QSOs, points and prefixes past it are the rest of its total).
    stats::OperatingTime operating;
    std::optional<HourEnd> withinLimit;
    // The hour grid shared by all logs of the page: the first hour starts at
    // `start` (a whole UTC hour); hourEnds[i] is after hour i, up to the hour
    // of the log's last QSO.
    double start = 0.0;
    std::vector<HourEnd> hourEnds;
    std::vector<ContinentFigures> continents;
    // The contest the log names, when the plug-in scored it as another one.
    std::string otherContest;
};

struct PageInput {
    std::vector<LogFigures> logs;
    double start = 0.0;  // host date of the first hour
    int hours = 48;
    // What log checking will take away from each log, for "Before you
    // submit"; the section is left out when it holds no log for each.
    audit::Audit audit;
};

// The most QSOs in any window of `minutes` (a window is [t, t + minutes)),
// and the time of its first QSO; times sorted.
struct Peak {
    int qsos = 0;
    double from = 0.0, to = 0.0;  // first and last QSO in the window
};
Peak BestWindow(const std::vector<double>& sortedTimes, double minutes);

using stats::HoursMinutes;

// The hour of the grid starting at `start` that a host date falls in.
int HourIndex(double start, double time);

std::string RenderPage(const PageInput& input);

// "&", "<", ">", quotes escaped for HTML text and attributes.
std::string Escape(const std::string& text);

}  // namespace tools::page
