// The contest page: one self-contained HTML file that shows how a contest went
// (the plug-in's summary, QSOs per hour by band, the score over time, the rate
// sheet, peak rates, off-times, continents, and before you submit: what log
// checking will take away, with the calls worth a second look), or how two or
// more logs of the same contest compare. Charts are inline SVG;
// the page needs no script and fetches nothing.
//
// The figures come from a replay of each log through the plug-in's exports
// (replay.h) and from the audit (audit.h); this part only counts, words and
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
#include "replay.h"
#include "result_text.h"

namespace tools::page {

using HourEnd = Totals;

// One log as the page shows it: its run hour by hour, and what the page says
// of the log beside.
struct LogFigures : HourlyFigures {
    std::string file;     // as given on the command line
    std::string station;  // the own call
    bool cw = true;       // CQ-WPX-CW, else CQ-WPX-SSB
    // The log's own category lines (CATEGORY-...).
    std::vector<std::pair<std::string, std::string>> header;
    std::optional<std::int64_t> claimed;
    // The entry's category, which sets the operating-time limit.
    stats::EntryCategory category = stats::EntryCategory::kSingleOp;
    std::string summaryHtml;  // the plug-in's HTML result
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

std::string RenderPage(const PageInput& input);

// "&", "<", ">", quotes escaped for HTML text and attributes.
std::string Escape(const std::string& text);

}  // namespace tools::page
