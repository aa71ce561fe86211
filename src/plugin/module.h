// Module load and unload: one Plugin per loaded library.
#pragma once

#include "plugin/plugin.h"

namespace stats {

// Builds the run state with its values at load.
void ModuleLoad(const Platform& platform);
// Stops the window thread, waits 20 ms more, and destroys the run state.
// False when the thread did not stop and had to be frozen: then nothing it
// may still refer to or hold is touched again, the platform objects included.
bool ModuleUnload();
// The process ends with the library loaded: only the waiting report lines are
// written, if that can be done without waiting.
void ModuleProcessExit();
// The loaded plug-in, or null outside load and unload.
Plugin* LoadedPlugin();

}  // namespace stats
