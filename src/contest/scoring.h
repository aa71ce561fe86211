// The scoring pass: points, multipliers, per-band rows, dupes, bad QSOs, rates.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "contest/run_state.h"

namespace stats {

struct CBandScore {
    std::string band;
    std::int64_t qsos = 0;
    std::int64_t points = 0;
    std::int64_t newPrefixes = 0;
};

// Counters are 64-bit so that a long log's score prints its true value.
struct CScoreSummary {
    std::vector<CBandScore> bands;  // display order
    std::int64_t totalQsos = 0;
    std::int64_t totalPoints = 0;
    std::int64_t multipliers = 0;
    std::int64_t dupes = 0;
    std::int64_t badQsos = 0;
    std::int64_t score = 0;
    std::int64_t lastQsoPoints = 0;
    std::int64_t hourQsos = 0;
    std::int64_t hourPoints = 0;
    std::int64_t tenMinuteQsos = 0;
    std::int64_t tenMinutePoints = 0;
};

// The summary from the running figures (g_Score). Sorts g_WorkedBands into
// display order (descending by the band text padded with leading zeros to 20
// characters, so "160m" comes before "80m") and rebuilds g_WorkedPrefixes when
// the prefixes changed. The rate windows count back from the latest valid QSO
// time in the log; bad QSOs are the rejection lines of the bad-QSO file.
// Caller holds the run guard.
CScoreSummary ComputeStatistics(RunState& state);

// Points of one counted QSO, by the contest's published table: 1 for the same
// country on any band; otherwise 1 within the own continent (2 when both
// stations are in North America) and 3 to another continent, doubled on the
// low bands.
int QsoPoints(bool sameCountry, bool sameContinent, bool ownInNorthAmerica, bool lowBand);
bool IsLowBand(const std::string& band);  // exactly "160m", "80m" or "40m"

}  // namespace stats
