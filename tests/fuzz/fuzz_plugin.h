// For the targets that drive the loaded plug-in: every input starts as after
// a load, whatever the input before left behind.
#pragma once

#include <mutex>

#include "plugin/module.h"

namespace fuzz {

// A reset renews everything else: the host's request for the HTML page and
// report lines still waiting for the next call are the last input's.
inline void ForgetTheLastInput() {
    if (stats::Plugin* plugin = stats::LoadedPlugin()) {
        stats::RunState& state = plugin->State();
        std::lock_guard<std::mutex> lock(state.guard);
        state.g_bHtmlResult = 0;
        state.g_BadQsoFile.ForgetWaitingLines();
    }
}

}  // namespace fuzz
