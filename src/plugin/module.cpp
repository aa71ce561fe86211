#include "plugin/module.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace stats {

namespace {
std::atomic<Plugin*> g_plugin{nullptr};
}

void ModuleLoad(const Platform& platform) {
    ModuleUnload();
    g_plugin.store(new Plugin(platform));
}

bool ModuleUnload() {
    Plugin* plugin = g_plugin.exchange(nullptr);
    if (plugin == nullptr) return true;
    plugin->WriteWaitingLines();
    IWindowThread& windows = *plugin->GetPlatform().windows;
    IBackgroundWork* background = plugin->GetPlatform().background;
    // The background work is given up first, so that its end overlaps the
    // windows' stop; the windows hand it no more once it is cancelled.
    if (background != nullptr) background->Cancel();
    const bool stopped = windows.Stop();
    const bool backgroundStopped = background == nullptr || background->Stop();
    // A thread that has just said it ended still returns through a few
    // instructions of the library.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (stopped && backgroundStopped) {
        delete plugin;
        return true;
    }
    // They never run again, and the state they may hold stays allocated.
    if (!stopped) windows.Freeze();
    if (!backgroundStopped) background->Freeze();
    return false;
}

void ModuleProcessExit() {
    if (Plugin* plugin = g_plugin.load()) plugin->WriteWaitingLinesIfFree();
}

Plugin* LoadedPlugin() { return g_plugin.load(); }

}  // namespace stats
