// Load and unload of Stats.dll.
#include <windows.h>

#include <new>

#include "plugin/module.h"
#include "plugin/platform_win.h"

namespace {

// Built at load and destroyed at unload only after the run state, which uses it
// until its last step.
alignas(stats::Win32Platform) unsigned char g_platformStorage[sizeof(stats::Win32Platform)];
stats::Win32Platform* g_platform = nullptr;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            DisableThreadLibraryCalls(instance);
            try {
                g_platform = new (g_platformStorage) stats::Win32Platform(instance);
                stats::ModuleLoad(g_platform->Get());
            } catch (...) {
                return FALSE;
            }
            break;
        case DLL_PROCESS_DETACH:
            // The process is ending: the system has already ended every other
            // thread, the window thread too, and takes back all memory. A stop
            // would only wait for windows whose thread is gone; the report
            // lines of the last additions are still worth writing.
            if (reserved != nullptr) {
                try {
                    stats::ModuleProcessExit();
                } catch (...) {
                }
                break;
            }
            try {
                // A frozen window thread may hold what the platform objects'
                // end would take (its handles, its windows' classes): they stay.
                if (stats::ModuleUnload() && g_platform != nullptr) g_platform->~Win32Platform();
            } catch (...) {
            }
            g_platform = nullptr;
            break;
        default:
            break;
    }
    return TRUE;
}
