#include "contest/call_check.h"

#include "contest/text_util.h"

namespace stats {

namespace {
std::string_view Text(const char* p) { return p ? std::string_view(p) : std::string_view(); }
}  // namespace

int CheckCall(const RunState& state, const CallCheckInput& in) {
    // Two host versions take an invalid band or mode as a known prefix.
    const int invalid = (state.g_HostVersion == "2.19" || state.g_HostVersion == "2.20") ? kCheckKnownPrefix
                                                                                         : kCheckInvalid;
    if (in.band != nullptr && in.otherBand != nullptr && !EqualsNoCase(in.band, in.otherBand)) return invalid;
    if (!state.g_ValidBands.Contains(Text(in.band))) return invalid;
    if (!state.g_ValidModes.Contains(Text(in.mode))) return invalid;

    if (Text(in.countryPrefix).empty()) return kCheckKnownPrefix;

    // The mode plays no part in the dupe test, and dupe-flagged QSOs count.
    if (in.call != nullptr && state.g_QsoLog.HasCallOnBand(in.call, in.band)) return kCheckDupe;
    if (state.g_QsoLog.HasPrefix(Text(in.wpxPrefix))) return kCheckKnownPrefix;
    return kCheckNewPrefix;
}

}  // namespace stats
