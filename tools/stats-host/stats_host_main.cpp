// stats-host: plays the logging program for the statistics plug-in. Reads an
// ADIF or Cabrillo log, loads the plug-in, and runs it through its exported
// functions exactly as the host does; one command a run (commands.h): the
// score, a contest page, a pace curve, an audit, a scoreboard document or a
// forecast.
//
// Exit status: 0 done; 2 bad input or usage (the message names the file, the
// record and the field); 1 the plug-in or the working directory failed.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "commands.h"
#include "host_platform.h"
#include "host_setup.h"
#include "log_set.h"
#include "options.h"
#include "stats_version.h"

using namespace tools;

namespace {

// The commands an option asks for, the first that applies winning; the
// score when none does. ParseOptions refuses options that do not go together.
struct Command {
    bool (*asked)(const Options& o);
    int (*run)(const CommandContext& c);
};
constexpr Command kCommands[] = {
    {[](const Options& o) { return o.page.has_value(); }, MakePage},
    {[](const Options& o) { return o.pace.has_value(); }, MakePace},
    {[](const Options& o) { return o.audit; }, AuditLogs},
    {[](const Options& o) { return o.scoreboard.has_value(); }, MakeScoreboard},
    {[](const Options& o) { return o.forecast; }, MakeForecast},
};

int PrintVersion(const std::string& plugin) {
    std::printf("stats-host %s\n", STATS_VERSION_TEXT);
    std::error_code ec;
    if (!std::filesystem::exists(plugin, ec))
        std::printf("plug-in: none found (%s)\n", plugin.c_str());
    else if (const auto version = PluginFileVersion(plugin))
        std::printf("plug-in: %s, file version %s\n", plugin.c_str(), version->c_str());
    else
        std::printf("plug-in: %s (no version resource on this platform)\n", plugin.c_str());
    return 0;
}

int Run(const Options& o) {
    // Paths are settled before the working directory changes.
    const std::string plugin = FindPlugin(o);
    if (o.version) return PrintVersion(plugin);
    const std::optional<CountryFile> countries = LoadCountryFile(o);
    const CommandContext context{o, plugin, countries ? &*countries : nullptr};
    for (const Command& command : kCommands)
        if (command.asked(o)) return command.run(context);
    return ScoreLog(context);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(ParseOptions(argc, argv));
    } catch (const UsageError& e) {
        std::fprintf(stderr, "stats-host: %s\n\n%s", e.what(), kUsage);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "stats-host: %s\n", e.what());
    }
    return 2;
}
