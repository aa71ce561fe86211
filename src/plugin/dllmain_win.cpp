// Load and unload of Stats.dll.
#include <windows.h>

#include "plugin/module.h"
#include "plugin/platform_win.h"

namespace {

stats::Win32Platform& ThePlatform() {
    static auto* platform = new stats::Win32Platform;  // outlives the unload step that uses it
    return *platform;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            DisableThreadLibraryCalls(instance);
            try {
                stats::ModuleLoad(ThePlatform().Get());
            } catch (...) {
                return FALSE;
            }
            break;
        case DLL_PROCESS_DETACH:
            try {
                stats::ModuleUnload();
            } catch (...) {
            }
            break;
        default:
            break;
    }
    return TRUE;
}
