#include "checking/findings.h"

namespace stats {

bool CarriesPenalty(FindingKind kind) {
    return kind == FindingKind::kNotInLog || kind == FindingKind::kBustedCall || kind == FindingKind::kNotActive;
}

}  // namespace stats
