// Calls to check: those not in the list of active contest calls, and those
// worked only once, by band; in bold when they are both.
#include <algorithm>
#include <map>

#include "page/drawing.h"
#include "page/sections.h"
#include "wpx_prefix.h"

namespace tools::page {

namespace {

bool IsActive(const std::unordered_set<std::string>& active, const std::string& call) {
    // A call with a designator or an operating suffix is known by its home call.
    return active.count(call) > 0 || active.count(ReadPortableCall(call).home) > 0;
}

}  // namespace

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

}  // namespace tools::page
