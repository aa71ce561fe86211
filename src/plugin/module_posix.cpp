// Load and unload of the portable shared library.
#include "plugin/module.h"
#include "plugin/platform_portable.h"

namespace {

// Never destroyed: the unload step below still uses it, and the order of
// static destruction against it is not ours to choose.
stats::PortablePlatform& ThePlatform() {
    static auto* platform = new stats::PortablePlatform;
    return *platform;
}

__attribute__((constructor)) void OnLoad() { stats::ModuleLoad(ThePlatform().Get()); }
__attribute__((destructor)) void OnUnload() { stats::ModuleUnload(); }

}  // namespace
