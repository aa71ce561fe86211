// stats-host --forecast: the projection of a log's final score, hour by hour,
// as the contest view would have shown it at each whole hour of the contest.
#pragma once

#include <string>

#include "contest/operating_time.h"
#include "contest/pace_curve.h"
#include "ui/contest_view.h"

namespace forecast {

inline constexpr char kHeader[] = "hour,score,low,projected,high";

// The CSV text, LF line ends: the header row, then a row for each whole hour
// of the contest's 48 from `run`, the log's pace curve. The run is taken at
// each hour as the view takes it live: its figures then, its operating time
// against its category's limit and the hours left, the reference read as the
// view reads it. An hour with nothing to project from leaves the three
// fields empty.
std::string ForecastCsv(const stats::PaceCurve& run, stats::EntryCategory category,
                        const stats::ContestReference& reference);

}  // namespace forecast
