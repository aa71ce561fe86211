// A pace curve: a log's figures every 10 minutes of contest time, as
// `stats-host --pace` writes them from any log and the contest view reads
// them back as the reference a run races against; and the projection of a
// run's final score.
//
// The file is CSV with a header row, one row per line (CR LF or LF):
//   elapsed_minutes,qsos,points,prefixes,score,operating_minutes,contest
//   0,0,0,0,0,0,CQ-WPX-CW
//   10,14,38,13,494,9,CQ-WPX-CW
// A row holds the figures of the QSOs logged before that minute of the
// contest: the QSOs counted, their points, the prefixes, the score and the
// operating minutes by the operating-time rule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stats {

inline constexpr std::int64_t kPaceStepMinutes = 10;
inline constexpr const char kPaceHeader[] = "elapsed_minutes,qsos,points,prefixes,score,operating_minutes,contest";

struct PaceRow {
    std::int64_t elapsed = 0;  // minutes from the contest's start
    std::int64_t qsos = 0;
    std::int64_t points = 0;
    std::int64_t prefixes = 0;
    std::int64_t score = 0;
    std::int64_t operating = 0;  // minutes
};

struct PaceCurve {
    bool cw = true;
    std::vector<PaceRow> rows;  // rising elapsed minutes
};

// The file's text, CR LF line ends.
std::string WritePaceCurve(const PaceCurve& curve);

// Why a file is not a curve, without wording: the windows word it in their
// language.
struct PaceReadError {
    enum Kind {
        kTooLarge,   // more than a curve can hold
        kNoHeader,   // line 1 is not the header row
        kBadRow,     // `line` is not a curve row
        kBackwards,  // `line` does not come after the row before it
        kMixed,      // `line` names another contest than the rows before it
        kNoRows,
    } kind;
    std::size_t line = 0;
};

struct PaceReadResult {
    std::optional<PaceCurve> curve;
    PaceReadError error{PaceReadError::kNoRows, 0};
};

// Reads a curve from a file's whole content. Any bytes are safe to pass.
PaceReadResult ReadPaceCurve(std::string_view content);

inline constexpr std::size_t kMaxPaceFileBytes = 1 << 20;

// The figures at an elapsed minute, between two rows in proportion; before
// the first row the first, after the last the last. The curve has rows.
PaceRow PaceAt(const PaceCurve& curve, std::int64_t elapsed);

// Where a run's final score is heading: a range, and the point inside it.
struct ScoreProjection {
    std::int64_t low = 0;
    std::int64_t projected = 0;
    std::int64_t high = 0;
};

// How far the range spreads the growth still to come, either way: the final
// lies between score * growth^(1 - width) and score * growth^(1 + width),
// where growth is projected / score. Stations differ more from one another
// than a run differs from its own course, hence the wider spread when the
// point comes from a reference.
inline constexpr double kOwnRangeWidth = 0.35;
inline constexpr double kReferenceRangeWidth = 0.5;

// The range around a point projection of a run whose score is `score` now.
// It narrows as the growth left shrinks and, for a point at or above the
// score, never reaches below the score already made; a point under it (a
// reference whose score fell) still gives low <= projected <= high.
ScoreProjection ProjectionRange(std::int64_t score, std::int64_t projected, double width);

// The minutes a run can still operate: up to its category's operating-time
// limit, when it has one, and up to the contest's end, when that is known.
std::int64_t OperatingLeft(std::int64_t operated, std::optional<std::int64_t> limit,
                           std::optional<std::int64_t> contestLeft);

// The QSOs a run makes grow as this power of its operating minutes: the rate
// falls through the weekend, as the stations not yet worked thin out and the
// operators tire, so the rate now is about this share of the average so far.
inline constexpr double kQsoGrowthPower = 0.6;

// The final score a run is heading for, from its figures now (`now.elapsed`
// is the contest minute they belong to) and the `operatingLeft` minutes it can
// still operate:
// - with a reference whose score at that minute is above 0, and a score of
//   its own, the run's score grown as the reference's grew from that minute
//   to its end;
// - otherwise by the run's own course (`ownCurve` is its curve up to now):
//   the QSOs grown as the kQsoGrowthPower of the operating minutes, from
//   those operated so far to those plus `operatingLeft`; each new QSO worth
//   the points a QSO brought over the last half of the run's QSOs; and the
//   prefixes growing with the QSOs as the power they grew by over that half
//   (the whole run's when the curve does not reach back so far).
// Nothing when neither way has anything to go on.
std::optional<ScoreProjection> ProjectFinalScore(const PaceRow& now, const PaceCurve* reference,
                                                 const PaceCurve& ownCurve, std::int64_t operatingLeft);

}  // namespace stats
