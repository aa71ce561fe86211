#include "reports/summary_text.h"

#include "contest/contest_name.h"
#include "contest/text_util.h"

namespace stats {

namespace {
long long L(std::int64_t v) { return static_cast<long long>(v); }
}  // namespace

void AppendTextHeader(std::string& out, const RunState& state) {
    // The host's own call stays on the contestant line whatever it holds.
    const std::string ownCall = OnOneLine(state.g_OwnCall);
    AppendFormat(out, "  %s Contest %s-%s \r\n     Contestant: %s\r\nBand\tQSOs\tPoints\tNew Prefix\r\n",
                 ContestName(state.g_bCwContest != 0), state.g_StartDayMonth.c_str(), state.g_EndDate.c_str(),
                 ownCall.c_str());
}

void AppendTextBody(std::string& out, const RunState& state, const CScoreSummary& s) {
    for (const CBandScore& band : s.bands)
        AppendFormat(out, "%s\t %lld\t  %lld\r\n", band.band.c_str(), L(band.qsos), L(band.points));
    AppendFormat(out, "Total\t %lld\t  %lld\t    %lld\r\nDupe\t %lld\r\nBad QSO\t %lld\r\nScore = %lld * %lld  = %lld \r\n",
                 L(s.totalQsos), L(s.totalPoints), L(s.multipliers), L(s.dupes), L(s.badQsos), L(s.totalPoints),
                 L(s.multipliers), L(s.score));
    if (state.g_bReportRequest == 0 && !state.g_QsoLog.IsEmpty()) {
        AppendFormat(out,
                     "\t\t\tRate\r\nHourly (10min) QSO rate: %5lld (%lld) QSOs/hour\r\n"
                     "Hourly (10min) pts rate: %5lld (%lld) points/hour\r\n\r\nLast QSO: %lld points\r\n",
                     L(s.hourQsos), L(s.tenMinuteQsos * 6), L(s.hourPoints), L(s.tenMinutePoints * 6),
                     L(s.lastQsoPoints));
    }
}

}  // namespace stats
