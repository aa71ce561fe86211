// The report of `stats-host --audit`: text, one line each, fields separated
// by tabs; its first field says what the line is: "note", "log", a finding's
// kind, "claimed", "at risk", "floor".
#pragma once

#include <string>

#include "audit.h"

namespace tools::audit {

std::string Report(const Audit& audit);

}  // namespace tools::audit
