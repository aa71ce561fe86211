// What log checking finds wanting in a log, and what it costs. Log checking
// removes every QSO a finding names. For a busted call and a QSO not in the
// other station's log it takes a penalty besides: the QSO's points once more.
// A call no list of active calls knows, worked once, is at risk of being
// either, so it is costed the same way.
#pragma once

#include <cstdint>

namespace stats {

// The kinds in the order a report gives them.
enum class FindingKind {
    kSerialMismatch,
    kSerialOutOfSequence,
    kNotInLog,
    kBustedCall,
    kBandChanges,
    kPastTheLimit,
    kNotActive,
};
inline constexpr FindingKind kFindingKinds[] = {
    FindingKind::kSerialMismatch, FindingKind::kSerialOutOfSequence, FindingKind::kNotInLog,
    FindingKind::kBustedCall,     FindingKind::kBandChanges,         FindingKind::kPastTheLimit,
    FindingKind::kNotActive};

bool CarriesPenalty(FindingKind kind);

// How sure a finding is. Proven: a log given proves it (serial mismatch, not
// in log, a busted call matched in another log), or the rules do (band
// changes, past the limit). The others are uncertain: a serial out of
// sequence has its evidence in the station's other serials, likely busted; a
// call no list knows, worked once, is likely busted only on evidence of a
// bust (`bustEvidence`), else a unique, likely kept.
enum class Certainty { kProven, kLikelyBusted, kLikelyKept };
Certainty CertaintyOf(FindingKind kind, bool bustEvidence);

// What a counted QSO of `points` costs when a finding of `kind` names it: its
// points, and its penalty when the kind carries one.
inline std::int64_t PointsLost(FindingKind kind, std::int64_t points) {
    return CarriesPenalty(kind) ? 2 * points : points;
}

// The score once checked: the points left less the penalties (never below
// nothing), times the multipliers left.
inline std::int64_t CheckedScore(std::int64_t pointsLeft, std::int64_t penalties, std::int64_t multipliersLeft) {
    const std::int64_t points = pointsLeft - penalties;
    return (points > 0 ? points : 0) * multipliersLeft;
}

}  // namespace stats
