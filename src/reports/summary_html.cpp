#include "reports/summary_html.h"

#include "contest/contest_name.h"
#include "contest/text_util.h"

namespace stats {

namespace {

constexpr const char kPageHead[] =
    "<html><head><style>table{ width:100%; }table, th, td{ border: 1px solid black; border-collapse: collapse; }"
    "th, td{ padding: 1px; text-align: middle; }th,td{ background-color: #fffac6; color: black; }</style></head>"
    "<body>";
constexpr const char kTitle[] = "   %s Contest %s-%s";
constexpr const char kTitleBlock[] = "<center><b>%s</b></center><center>Contestant:  <b>%s</center></b><table>";
constexpr const char kColumnHeads[] = "<tr><th>%s</th><th>%s</th><th>%s</th><th>%s</th></tr>";
constexpr const char kBandRow[] =
    "<tr><th><center>%s</center></th><td><center>%lld</center></td><td><center>%lld</center></td>"
    "<td><center>%s</center></td></tr>";
constexpr const char kTotalRow[] =
    "<tr><th><center>%s</center></th><td><center>%lld</center></td><td><center>%lld</center></td>"
    "<td><center>%lld</center></td></tr>";
constexpr const char kCountRow[] = "<tr><th><center>%s</center></th><td><center>%lld</center></td><td colspan=7> </td></tr>";
constexpr const char kScoreRow[] = "<tr><th>%s</th><td colspan=8><center>%lld * %lld  = %lld</center></td></tr>";
constexpr const char kLastQsoRow[] = "<tr><th>%s</th><td colspan=5><center>%5lld</center> </td></tr>";
constexpr const char kRateHead[] = "<th colspan=6><center>%s</center></th></tr>";
constexpr const char kRateRow[] = "<tr><th>%s</th><td colspan=6><center>%5lld /%lld</center></td></tr>";
constexpr const char kTableEnd[] = "</table>";
constexpr const char kPageEnd[] = "</body></html>";

long long L(std::int64_t v) { return static_cast<long long>(v); }

// A host text as page text: one line, and no markup of its own.
std::string PageText(std::string_view text) {
    std::string out;
    for (const char c : OnOneLine(text)) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else
            out += c;
    }
    return out;
}

}  // namespace

void AppendHtmlHeader(std::string& out, const RunState& state) {
    out += kPageHead;
    const std::string title = Format(kTitle, ContestName(state.g_bCwContest != 0), state.g_StartDayMonth.c_str(),
                                     state.g_EndDate.c_str());
    AppendFormat(out, kTitleBlock, title.c_str(), PageText(state.g_OwnCall).c_str());
    AppendFormat(out, kColumnHeads, "Band", "QSOs", "Points", "New Prefix");
}

void AppendHtmlBody(std::string& out, const CScoreSummary& s) {
    for (const CBandScore& band : s.bands)
        AppendFormat(out, kBandRow, band.band.c_str(), L(band.qsos), L(band.points), " ");
    AppendFormat(out, kTotalRow, "Total", L(s.totalQsos), L(s.totalPoints), L(s.multipliers));
    AppendFormat(out, kCountRow, "Dupe", L(s.dupes));
    AppendFormat(out, kCountRow, "Bad QSO", L(s.badQsos));
    AppendFormat(out, kScoreRow, "Score:", L(s.totalPoints), L(s.multipliers), L(s.score));
    AppendFormat(out, kLastQsoRow, "Last QSO points:", L(s.lastQsoPoints));
    AppendFormat(out, kRateHead, "Rate");
    AppendFormat(out, kRateRow, "Hourly (10min/1 hour) QSO rate:", L(s.hourQsos), L(s.tenMinuteQsos * 6));
    AppendFormat(out, kRateRow, "Hourly (10min/1 hour) pts rate:", L(s.hourPoints), L(s.tenMinutePoints * 6));
    out += kTableEnd;
    out += kPageEnd;
}

}  // namespace stats
