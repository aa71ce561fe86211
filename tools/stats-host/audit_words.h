// The audit's findings in words: the report of `stats-host --audit` and the
// page's "Before you submit" say the same things the same way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audit.h"

namespace tools::audit {

// "serial mismatch", ..., "not in MASTER.SCP".
const char* KindName(Kind kind);

// "proven", "likely busted", "likely kept".
const char* CertaintyName(stats::Certainty certainty);

// Said once wherever the findings are shown.
extern const char kReadOnly[];

// The findings whose QSOs cost a penalty besides, as a list in words: "a
// busted call, a QSO not in the other log and a call not in the list".
std::string PenalizedKinds();

// "multi-op, multi-two (CATEGORY- lines)": the category a log was judged by,
// and where it came from.
std::string CategoryText(const ContestLog& log);

// Why a finding goes, in a clause.
std::string Reason(const Audit& audit, const LogAudit& log, const Finding& finding);

// What could not be judged in a log, and how much was, a clause each.
std::vector<std::string> Notes(const Audit& audit, const LogAudit& log);

// A minute as OleDateMinute counts it, by a strftime format.
std::string TimeText(std::int64_t minute, const char* format = "%Y-%m-%d %H%M");

}  // namespace tools::audit
