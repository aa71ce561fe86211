// The sections of the contest page, one file each in this folder, named
// after the section. Each returns its HTML; contest_page.cpp puts the page of
// one log together, comparison.cpp the page of several.
#pragma once

#include <string>
#include <vector>

#include "contest_page.h"

namespace tools::page {

// at_a_glance.cpp: the page's head with its style, the log's facts, and the
// plug-in's own summary.
std::string Head(const std::string& title);
std::string LogFacts(const LogFigures& log);
std::string ScopedSummary(const std::string& html);

// hourly_charts.cpp: QSOs per hour by band; the score (and, for one log, the
// multipliers) at the end of each hour.
std::string HourlyChart(const LogFigures& log, double start, int hours);
std::string ScoreChart(const std::vector<const LogFigures*>& logs, double start, int hours);
// Several logs' QSOs per hour, side by side.
std::string HourlyCompareChart(const std::vector<const LogFigures*>& logs, double start, int hours);

// rate_sheet.cpp
std::string RateSheet(const LogFigures& log, double start, int hours);

// peak_rates.cpp
std::string PeakRates(const LogFigures& log);

// off_times.cpp: off-times and the operating time against the limit.
std::string OffTimeSection(const LogFigures& log, double start, int hours);
// Several logs' operating time, each against its own category's limit.
std::string OperatingTimeTable(const std::vector<const LogFigures*>& logs);

// continents.cpp
std::string ContinentTable(const LogFigures& log);

// before_you_submit.cpp: the audit's findings and what they cost; for one
// log, the calls to check.
std::string BeforeYouSubmit(const PageInput& input);

// comparison.cpp: the page of two or more logs.
std::string ComparePage(const PageInput& input);

}  // namespace tools::page
