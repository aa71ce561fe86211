#include "host_setup.h"

#include <cstdio>
#include <filesystem>

#include "host_platform.h"
#include "settings_key.h"

namespace fs = std::filesystem;

namespace tools {

namespace {

constexpr const char kSettingsFile[] = "Plugins/CQ-WPX-CW-SSB.ini";

bool EnterWorkingDirectory(const std::string& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    fs::current_path(dir, ec);
    if (ec) std::fprintf(stderr, "stats-host: cannot work in %s: %s\n", dir.c_str(), ec.message().c_str());
    return !ec;
}

}  // namespace

std::string FindPlugin(const Options& o) {
    if (!o.plugin.empty()) return fs::absolute(o.plugin).string();
    const std::string folder = ProgramFolder();
    // Beside the program in a build's folders; under lib/ where it is installed.
    for (const fs::path& candidate : {fs::path(folder) / PluginFileName(), fs::path(folder) / ".." / PluginFileName(),
                                      fs::path(folder) / ".." / "lib" / "stats-host" / PluginFileName()}) {
        std::error_code ec;
        if (fs::exists(candidate, ec)) return fs::absolute(candidate).lexically_normal().string();
    }
    return PluginFileName();  // left to the system's search
}

std::string WorkingFolder(const Options& o) {
    if (!o.dir.empty()) return o.dir;
    const std::string user = PerUserFolder();
    if (!user.empty()) return (fs::path(user) / "stats-host").string();
    std::error_code ec;
    return (fs::temp_directory_path(ec) / "stats-host").string();
}

std::unique_ptr<HostSession> OpenSession(const std::string& plugin, const std::string& folder) {
    std::string error;
    auto session = HostSession::Open(plugin, &error);
    if (!session) {
        std::fprintf(stderr, "stats-host: %s\n", error.c_str());
        return nullptr;
    }
    if (!EnterWorkingDirectory(folder)) return nullptr;
    return session;
}

// "Start" = 1 keeps the plug-in's own windows closed: there is no screen here.
bool WriteRunSettings(bool cwContest) {
    std::error_code ec;
    fs::create_directories("Plugins", ec);
    if (WriteSettingsKey(kSettingsFile, "Settings", "CW", cwContest ? "1" : "0") &&
        WriteSettingsKey(kSettingsFile, "Settings", "Start", "1"))
        return true;
    std::fprintf(stderr, "stats-host: cannot write %s in %s\n", kSettingsFile, fs::current_path(ec).string().c_str());
    return false;
}

}  // namespace tools
