// The page of one log, section by section (each in page/, named after it).
#include "contest_page.h"

#include "page/drawing.h"
#include "page/sections.h"

namespace tools::page {

namespace {

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
    out += "<h2 id=\"before-you-submit\">Before you submit</h2>" + BeforeYouSubmit(in);
    return out + "</body></html>\n";
}

}  // namespace

std::string RenderPage(const PageInput& input) {
    if (input.logs.empty()) return std::string();
    return input.logs.size() == 1 ? SingleLogPage(input) : ComparePage(input);
}

}  // namespace tools::page
