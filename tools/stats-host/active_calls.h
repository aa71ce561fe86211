// The list of active contest calls (MASTER.SCP) that calls are checked against.
#pragma once

#include <optional>
#include <string>
#include <unordered_set>

namespace tools {

// The calls of a MASTER.SCP file (one a line, "#" starts a comment), in
// capitals; nothing, with the reason in `error`, when it cannot be read.
std::optional<std::unordered_set<std::string>> ReadActiveCalls(const std::string& path, std::string* error);
// Whether a call is in such a list: as written, or by its home call when it
// carries a designator or an operating suffix.
bool IsActiveCall(const std::unordered_set<std::string>& active, const std::string& call);

}  // namespace tools
