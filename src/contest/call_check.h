// The check of a call being entered: dupe, known prefix, new prefix or invalid.
#pragma once

#include <string_view>

#include "contest/run_state.h"

namespace stats {

enum CallCheckCode : int {
    kCheckDupe = 0,
    kCheckKnownPrefix = 1,
    kCheckNewPrefix = 2,
    kCheckInvalid = 4,
};

// Null host pointers arrive as `absent`; an absent call matches nothing.
struct CallCheckInput {
    const char* call = nullptr;
    const char* mode = nullptr;
    const char* wpxPrefix = nullptr;
    const char* countryPrefix = nullptr;
    const char* band = nullptr;
    const char* otherBand = nullptr;
};

// Answers from the log without changing it. Caller holds the run guard.
int CheckCall(const RunState& state, const CallCheckInput& input);

}  // namespace stats
