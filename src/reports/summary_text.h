// The contest summary as plain text: tab-separated columns, CR LF line ends.
#pragma once

#include <string>

#include "contest/run_state.h"
#include "contest/scoring.h"

namespace stats {

// The three header lines (contest name with dates, contestant, column heads).
void AppendTextHeader(std::string& out, const RunState& state);

// Band rows, totals and, unless a report was requested or the log is empty,
// the rate block.
void AppendTextBody(std::string& out, const RunState& state, const CScoreSummary& summary);

}  // namespace stats
