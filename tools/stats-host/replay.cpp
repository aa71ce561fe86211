#include "replay.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "contest/ole_date.h"

namespace tools {

namespace {

Totals TotalsNow(HostSession& session) { return TotalsOf(ParseTextResult(session.Result())); }

}  // namespace

int HourIndex(double start, double time) { return static_cast<int>(std::floor((time - start) * 24.0 + 1e-9)); }

stats::MinuteCounts ActivityOf(const ContestLog& log) {
    std::vector<std::int64_t> minutes;
    minutes.reserve(log.qsos.size());
    for (const HostQso& q : log.qsos)
        if (const auto minute = stats::OleDateMinute(q.time)) minutes.push_back(*minute);
    return stats::CountMinutes(std::move(minutes));
}

HourlyFigures ReplayByHour(HostSession& session, ContestLog& log, double gridStart) {
    HourlyFigures figures;
    figures.start = gridStart;
    figures.operating = stats::ComputeOperatingTime(ActivityOf(log), log.category);
    Replay(session, log, [&](std::size_t i) {
        const HostQso& q = log.qsos[i];
        // Every hour before this QSO's is over: the plug-in's figures then.
        const int hour = HourIndex(gridStart, q.time.m_dt);
        while (static_cast<int>(figures.hourEnds.size()) < hour) figures.hourEnds.push_back(TotalsNow(session));
        // The QSOs come in time order: before the first past the limit, the
        // plug-in's figures are those of the QSOs within it.
        if (figures.operating.limitPassed && !figures.withinLimit) {
            const auto minute = stats::OleDateMinute(q.time);
            if (minute && figures.operating.PastLimit(*minute)) figures.withinLimit = TotalsNow(session);
        }
    });
    // The hour of the last QSO ends too.
    if (!log.qsos.empty()) {
        const int last = HourIndex(gridStart, log.qsos.back().time.m_dt);
        while (static_cast<int>(figures.hourEnds.size()) <= last) figures.hourEnds.push_back(TotalsNow(session));
    }
    figures.result = log.result;
    for (std::size_t i = 0; i < log.qsos.size(); ++i) {
        const HostQso& q = log.qsos[i];
        figures.loggedTimes.push_back(q.time.m_dt);
        if (log.status[i] == QsoStatus::kRejected)
            ++figures.rejected;
        else if (log.status[i] == QsoStatus::kDupe)
            ++figures.dupes;
        else
            figures.counted.push_back(CountedQso{q.time.m_dt, q.call, q.band, q.continent, q.wpxPrefix, i});
    }
    return figures;
}

stats::PaceCurve ReplayForPace(HostSession& session, const ContestLog& log, double gridStart) {
    stats::PaceCurve curve;
    curve.cw = log.cw;
    const std::int64_t start = stats::OleDateMinute(stats::OleDateTime::Valid(gridStart)).value_or(0);
    const stats::MinuteCounts activity = ActivityOf(log);
    const std::vector<std::int64_t> clock = stats::OperatingClock(activity);
    // The 48 hours, and on to the first row after the last QSO.
    std::int64_t end = 48 * 60;
    if (!activity.empty()) {
        const std::int64_t past = activity.back().first - start + 1;
        end = std::max(end, (past + stats::kPaceStepMinutes - 1) / stats::kPaceStepMinutes * stats::kPaceStepMinutes);
    }

    std::size_t active = 0;  // activity minutes before the next row's
    bool added = true;       // QSOs added since the plug-in was last asked
    Totals figures;
    auto rowsBefore = [&](std::int64_t minute) {
        for (std::int64_t elapsed = static_cast<std::int64_t>(curve.rows.size()) * stats::kPaceStepMinutes;
             elapsed <= end && start + elapsed <= minute; elapsed += stats::kPaceStepMinutes) {
            while (active < activity.size() && activity[active].first < start + elapsed) ++active;
            if (added) figures = TotalsNow(session);
            added = false;
            curve.rows.push_back(stats::PaceRow{elapsed, figures.qsos, figures.points, figures.multipliers,
                                                figures.score, active == 0 ? 0 : clock[active - 1]});
        }
    };
    unsigned number = 0;
    for (const HostQso& q : log.qsos) {
        // The rows up to this QSO's minute hold the QSOs before it. A QSO
        // without a minute goes where its time puts it, between the rows.
        if (const auto minute = stats::OleDateMinute(q.time)) rowsBefore(*minute);
        session.Add(q, ++number);
        added = true;
    }
    rowsBefore(start + end);
    return curve;
}

void ReplayByContinent(HostSession& session, const ContestLog& log, HourlyFigures& figures) {
    // A QSO's points depend on it alone, never on the others, so the
    // plug-in's points of one continent's QSOs, added by themselves, are the
    // share of its total that continent brought. Only counted QSOs go in:
    // none of them can be a dupe of another.
    std::map<std::string, std::vector<std::size_t>> by;
    for (const CountedQso& q : figures.counted) by[q.continent].push_back(q.index);
    figures.continents.clear();
    for (const auto& [continent, indexes] : by) {
        session.Reset(log.station, false);
        unsigned number = 0;
        for (const std::size_t i : indexes) session.Add(log.qsos[i], ++number);
        const TextResult r = ParseTextResult(session.Result());
        figures.continents.push_back(ContinentFigures{continent, r.qsos, r.points});
    }
    // QSOs without a known continent close the list.
    if (!figures.continents.empty() && figures.continents.front().continent.empty())
        std::rotate(figures.continents.begin(), figures.continents.begin() + 1, figures.continents.end());
}

}  // namespace tools
