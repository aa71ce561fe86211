// Replays of a contest log through the plug-in's exports, each asking the
// plug-in for its figures along the way: hour by hour (the log's run, which
// also records each QSO's status), every 10 minutes for the pace curve, and
// one continent at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "contest/operating_time.h"
#include "contest/pace_curve.h"
#include "contest_log.h"
#include "host_session.h"
#include "result_text.h"

namespace tools {

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

// The hour of the grid starting at `start` that a host date falls in.
int HourIndex(double start, double time);

// The minutes of a log's QSOs by the operating-time rule: every QSO passed
// to the plug-in, at the minute its Cabrillo line shows.
stats::MinuteCounts ActivityOf(const ContestLog& log);

// What a log's run shows hour by hour.
struct HourlyFigures {
    TextResult result;  // the plug-in's text result after the last QSO
    std::vector<CountedQso> counted;
    std::vector<double> loggedTimes;  // every QSO passed to the plug-in, sorted
    std::int64_t dupes = 0, rejected = 0;
    // The operating time of every QSO passed, by the contest's rule; once the
    // limit is passed, the plug-in's figures of the QSOs within it (the
    // counted QSOs, points and prefixes past it are the rest of its total).
    stats::OperatingTime operating;
    std::optional<Totals> withinLimit;
    // The hour grid: the first hour starts at `start` (a whole UTC hour);
    // hourEnds[i] is after hour i, up to the hour of the log's last QSO.
    double start = 0.0;
    std::vector<Totals> hourEnds;
    std::vector<ContinentFigures> continents;
};

// The log's run (Replay, after the caller's reset), with the plug-in's
// figures at the end of each hour from `gridStart` up to the hour of the last
// QSO, and within the operating-time limit of the log's category.
HourlyFigures ReplayByHour(HostSession& session, ContestLog& log, double gridStart);

// One statistics run of `log` (after the caller's reset) as a pace curve: a
// row every 10 minutes from `gridStart` (a host date on a whole minute), each
// with the plug-in's figures of the QSOs before that minute and the operating
// clock at the last of them; the rows run to the contest's 48 hours, or on
// past the last QSO.
stats::PaceCurve ReplayForPace(HostSession& session, const ContestLog& log, double gridStart);

// The counted QSOs of each continent in a run of their own (each after a
// reset for the log's station): the plug-in's QSOs and points by continent.
void ReplayByContinent(HostSession& session, const ContestLog& log, HourlyFigures& figures);

}  // namespace tools
