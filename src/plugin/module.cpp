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

void ModuleUnload() {
    Plugin* plugin = g_plugin.exchange(nullptr);
    if (plugin == nullptr) return;
    const bool stopped = plugin->GetPlatform().windows->Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    // A window thread that did not end may still read the state: leave it be.
    if (stopped) delete plugin;
}

Plugin* LoadedPlugin() { return g_plugin.load(); }

}  // namespace stats
