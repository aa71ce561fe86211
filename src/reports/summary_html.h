// The contest summary as a one-line HTML page, for hosts that asked for HTML.
// The fragments are the page's established markup, kept as they stand
// (including their irregular nesting and column spans), because hosts and
// saved pages already show them that way.
#pragma once

#include <string>

#include "contest/run_state.h"
#include "contest/scoring.h"

namespace stats {

// Page head, title block and column heads.
void AppendHtmlHeader(std::string& out, const RunState& state);

// Band rows, totals, score, last-QSO and rate rows, and the closing tags. The
// rate rows are always there (0 in a report run or with an empty log).
void AppendHtmlBody(std::string& out, const CScoreSummary& summary);

}  // namespace stats
