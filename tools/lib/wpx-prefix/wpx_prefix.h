// The WPX prefix of a call sign, for records that do not carry one, and the
// reading of a call's "/" parts that the country lookup shares with it.
#pragma once

#include <string>
#include <string_view>

namespace tools {

// A call read around its "/"s, in capitals. After a "/", the operating
// suffixes P, M, MM, AM, QRP, QRPP, LH, A, E, J and the interim licence-class
// identifiers AG, AE, KT say how a station operates, not where, and are set
// aside: DL1ABC/P is DL1ABC. Before the first "/" the same letters are
// prefixes (M/DL1ABC is in England, MM/DL1ABC in Scotland). Of the two parts
// left, the shorter one is the portable designator (the first on a tie):
// DL/K1ABC and K1ABC/DL have the designator DL.
struct PortableCall {
    std::string home;        // the call itself, or the only part
    std::string designator;  // empty for a call without one
    // A designator of digits only names a call area of the home country (K1ABC/4).
    bool DesignatesCallArea() const;
};
PortableCall ReadPortableCall(std::string_view call);

// The prefix a call counts as in the WPX contest, in capitals:
//
//   - A plain call counts up to the end of its first group of digits that
//     follows a letter: N8BJQ -> N8, WD8ABC -> WD8, LY1000A -> LY1000,
//     2E0ABC -> 2E0, 4U1ITU -> 4U1, 3DA0BP -> 3DA0.
//   - A call without such digits gets a zero after its first two characters:
//     XEFTJW -> XE0, RAEM -> RA0.
//   - Operating suffixes never make a prefix (ReadPortableCall):
//     DL1ABC/P -> DL1, K1AB/QRP -> K1, KD9ABC/AG -> KD9.
//   - A portable designator becomes the prefix:
//       KH9/N8BJQ and N8BJQ/KH9 -> KH9 (cut after its first digits, as a call);
//       PA/N8BJQ -> PA0, MM/W7ABC -> MM0 (a designator without digits gets a zero);
//       W1AW/7 -> W7 (a call-area number replaces the call's digits).
//
// An empty or unusable call gives an empty prefix.
std::string WpxPrefix(std::string_view call);

}  // namespace tools
