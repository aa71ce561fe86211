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
    plugin->GetPlatform().windows->Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    delete plugin;
}

Plugin* LoadedPlugin() { return g_plugin.load(); }

}  // namespace stats
