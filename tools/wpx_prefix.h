// The WPX prefix of a call sign, for records that do not carry one.
#pragma once

#include <string>
#include <string_view>

namespace tools {

// The prefix a call counts as in the WPX contest, in capitals:
//
//   - A plain call counts up to the end of its first group of digits that
//     follows a letter: N8BJQ -> N8, WD8ABC -> WD8, LY1000A -> LY1000,
//     2E0ABC -> 2E0, 4U1ITU -> 4U1, 3DA0BP -> 3DA0.
//   - A call without such digits gets a zero after its first two characters:
//     XEFTJW -> XE0, RAEM -> RA0.
//   - After a "/", the operating suffixes P, M, MM, AM, QRP, A, E and J are
//     dropped (they never make a prefix): DL1ABC/P -> DL1, K1AB/QRP -> K1.
//   - Of two parts left around a "/", the shorter one is the portable
//     designator (the first on a tie), and it becomes the prefix:
//       KH9/N8BJQ and N8BJQ/KH9 -> KH9 (cut after its first digits, as a call);
//       PA/N8BJQ -> PA0 (a designator without digits gets a zero);
//       W1AW/7 -> W7 (a lone digit replaces the call's digits).
//
// An empty or unusable call gives an empty prefix.
std::string WpxPrefix(std::string_view call);

}  // namespace tools
