#include "contest/scoring.h"

#include <algorithm>

namespace stats {

namespace {

void SortBandsForDisplay(std::vector<std::string>& bands) {
    std::stable_sort(bands.begin(), bands.end(), BandShownBefore);
}

}  // namespace

int QsoPoints(bool sameCountry, bool sameContinent, bool ownInNorthAmerica, bool lowBand) {
    if (sameCountry) return 1;
    const int points = !sameContinent ? 3 : ownInNorthAmerica ? 2 : 1;
    return lowBand ? 2 * points : points;
}

bool IsLowBand(const std::string& band) { return band == "160m" || band == "80m" || band == "40m"; }

CScoreSummary ComputeStatistics(RunState& state) {
    CScoreSummary summary;
    const QsoLog& log = state.g_QsoLog;
    const RunningScore& score = state.g_Score;
    const OwnStation own{state.g_OwnCountry, state.g_OwnContinent};

    SortBandsForDisplay(state.g_WorkedBands);
    if (score.PrefixesVersion() != state.g_WorkedPrefixesVersion) {
        state.g_WorkedPrefixes.Publish(score.PrefixIds());
        state.g_WorkedPrefixesVersion = score.PrefixesVersion();
    }

    summary.bands.resize(state.g_WorkedBands.size());
    for (std::size_t row = 0; row < state.g_WorkedBands.size(); ++row) {
        CBandScore& band = summary.bands[row];
        band.band = state.g_WorkedBands[row];
        const BandFigures figures = score.Band(band.band);
        band.qsos = figures.qsos;
        band.points = figures.points;
        band.newPrefixes = figures.newPrefixes;
        summary.dupes += figures.dupes;
        summary.totalQsos += band.qsos;
        summary.totalPoints += band.points;
        summary.multipliers += band.newPrefixes;
    }

    const std::size_t count = log.GetCount();
    if (count > 0) {
        // The points of the last counted QSO on the band of the last record.
        const QsoLog::Id lastBand = log.Record(count - 1).band;
        for (std::size_t i = count; i-- > 0;) {
            const QsoRecord& r = log.Record(i);
            if (r.band != lastBand || !CountsForScore(r)) continue;
            summary.lastQsoPoints = score.PointsOf(log, r, own);
            break;
        }
    }

    if (state.g_bReportRequest == 0 && count == 1) {
        // One record: its span to the date value 0, as the rates of a longer
        // log count back from its latest QSO.
        const QsoRecord& r = log.Record(0);
        const auto minutes = SpanWholeMinutes(r.time, OleDateTime::Valid(0.0));
        if (CountsForScore(r) && minutes) {
            const int points = score.PointsOf(log, r, own);
            if (*minutes < 60) {
                summary.hourQsos = 1;
                summary.hourPoints = points;
            }
            if (*minutes < 10) {
                summary.tenMinuteQsos = 1;
                summary.tenMinutePoints = points;
            }
        }
    } else if (state.g_bReportRequest == 0 && count > 1) {
        // The latest QSO, not the last record: the host passes an edit as a
        // removal and an addition, so an edited old QSO becomes the last
        // record and would put every later QSO into both windows.
        const RateFigures rates = score.Rates(score.LatestValidTime(log).value_or(log.Record(count - 1).time));
        summary.hourQsos = rates.hourQsos;
        summary.hourPoints = rates.hourPoints;
        summary.tenMinuteQsos = rates.tenMinuteQsos;
        summary.tenMinutePoints = rates.tenMinutePoints;
    }

    summary.badQsos = state.g_BadQsoFile.RejectedQsos();
    summary.score = summary.totalPoints * summary.multipliers;
    return summary;
}

}  // namespace stats
