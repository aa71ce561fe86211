// Load and unload of the portable shared library.
#include <new>

#include "plugin/module.h"
#include "plugin/platform_portable.h"

namespace {

// Built at load and destroyed at unload only after the run state, which uses it
// until its last step.
alignas(stats::PortablePlatform) unsigned char g_platformStorage[sizeof(stats::PortablePlatform)];
stats::PortablePlatform* g_platform = nullptr;

__attribute__((constructor)) void OnLoad() {
    g_platform = new (g_platformStorage) stats::PortablePlatform;
    stats::ModuleLoad(g_platform->Get());
}

__attribute__((destructor)) void OnUnload() {
    if (stats::ModuleUnload() && g_platform != nullptr) g_platform->~PortablePlatform();
    g_platform = nullptr;
}

}  // namespace
