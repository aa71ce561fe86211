#include "checking/findings.h"

namespace stats {

bool CarriesPenalty(FindingKind kind) {
    return kind == FindingKind::kNotInLog || kind == FindingKind::kBustedCall || kind == FindingKind::kNotActive;
}

Certainty CertaintyOf(FindingKind kind, bool bustEvidence) {
    if (kind == FindingKind::kSerialOutOfSequence) return Certainty::kLikelyBusted;
    if (kind != FindingKind::kNotActive) return Certainty::kProven;
    return bustEvidence ? Certainty::kLikelyBusted : Certainty::kLikelyKept;
}

}  // namespace stats
