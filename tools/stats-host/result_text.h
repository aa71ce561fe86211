// What the plug-in's text result says: its band rows, totals, dupes, bad
// QSOs and score, read back into numbers. Every figure stats-host shows or
// compares is the plug-in's own, taken from this text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// A band row of the text result.
struct BandRow {
    std::string band;
    std::int64_t qsos = 0, points = 0;
};

struct TextResult {
    std::vector<BandRow> bands;
    std::int64_t qsos = 0, points = 0, multipliers = 0, dupes = 0, bad = 0, score = 0;
    bool complete = false;  // a Total row and a Score line were found
};
TextResult ParseTextResult(const std::string& text);

// The plug-in's totals at one moment of a run.
struct Totals {
    std::int64_t score = 0, points = 0, multipliers = 0, qsos = 0;
};
inline Totals TotalsOf(const TextResult& r) { return Totals{r.score, r.points, r.multipliers, r.qsos}; }

}  // namespace tools
