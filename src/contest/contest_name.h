// The contest's name, as every file, page and window of the plug-in and its
// tools writes it.
#pragma once

namespace stats {

inline constexpr const char kCwContestName[] = "CQ-WPX-CW";
inline constexpr const char kSsbContestName[] = "CQ-WPX-SSB";

inline constexpr const char* ContestName(bool cw) { return cw ? kCwContestName : kSsbContestName; }

}  // namespace stats
