// --scoreboard: the document the plug-in would post to the live scoreboards
// at the end of one log, made by the plug-in's own builder. The run is a
// plain one through the exports (every QSO added in the log's order, then the
// text result); the log's Cabrillo header (CALLSIGN, OPERATORS, CLUB, the
// CATEGORY- lines) stands for the plug-in's settings. Bad input is said
// plainly and writes no file (status 2).
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "commands.h"
#include "contest/file_util.h"
#include "contest/ole_date.h"
#include "contest/text_util.h"
#include "host_setup.h"
#include "log_set.h"
#include "replay.h"
#include "reports/scoreboard_document.h"
#include "result_text.h"

namespace tools {

namespace {

// The clock as a UTC host date: days from 30 December 1899.
stats::OleDateTime UtcNow() {
    using namespace std::chrono;
    const double seconds = duration<double>(system_clock::now().time_since_epoch()).count();
    return stats::OleDateTime::Valid(25569.0 + std::floor(seconds) / 86400.0);
}

// The log's header as the plug-in's settings would hold it after the header
// dialog: the keys the document reads. --category stands for the operator
// and the overlay, as it stands for the log's CATEGORY- lines elsewhere.
std::map<std::string, std::string> HeaderSettings(const ContestLog& log) {
    namespace keys = stats::scoreboard_keys;
    std::map<std::string, std::string> settings;
    if (log.header.operators) settings[keys::kOperators] = *log.header.operators;
    if (log.header.club) settings[keys::kClub] = *log.header.club;
    for (const auto& [name, value] : log.header.categories) {
        for (const char* key : {keys::kOperator, keys::kAssisted, keys::kBand, keys::kPower, keys::kTransmitter,
                                keys::kOverlay})
            if (stats::EqualsNoCase(name, key)) settings[key] = value;
    }
    if (log.categoryAsked) {
        settings[keys::kOperator] = log.category == stats::EntryCategory::kMultiOp ? "MULTI-OP" : "SINGLE-OP";
        std::string& overlay = settings[keys::kOverlay];
        if (log.category == stats::EntryCategory::kClassic) overlay = "CLASSIC";
        else if (stats::EqualsNoCase(overlay, "CLASSIC")) overlay.clear();
    }
    return settings;
}

// The run's figures from the plug-in's text result; nothing, said, when the
// result cannot be read or its score is not its points times its prefixes.
std::optional<stats::ScoreboardFigures> FiguresOf(const TextResult& result, const ContestLog& log) {
    if (!result.complete) {
        std::fprintf(stderr, "stats-host: the plug-in's result has no total or score\n");
        return std::nullopt;
    }
    stats::ScoreboardFigures figures;
    // The result has a row for each band text the host passed; "20M" is 20 m.
    for (const BandRow& row : result.bands)
        for (std::size_t b = 0; b < stats::kBandCount; ++b)
            if (stats::EqualsNoCase(row.band, stats::kBandNames[b])) {
                figures.bands[b].qsos += row.qsos;
                figures.bands[b].points += row.points;
            }
    figures.totals = stats::RunTotals{result.qsos, result.points, result.multipliers};
    if (figures.totals.Score() != result.score) {
        std::fprintf(stderr, "stats-host: the plug-in's score %lld is not its points times its prefixes\n",
                     static_cast<long long>(result.score));
        return std::nullopt;
    }
    // Every QSO passed counts, as in the score run's operating-time line.
    figures.operatingMinutes = stats::ComputeOperatingTime(ActivityOf(log), log.category).operatingMinutes;
    return figures;
}

}  // namespace

int MakeScoreboard(const CommandContext& c) {
    const Options& o = c.options;
    // Paths are settled before the working folder changes.
    const std::string out = std::filesystem::absolute(*o.scoreboard).string();
    const std::string cty = CountryFilePath(o);
    const ContestLog log = ReadLog(o.log, o, c.cty);
    if (const auto why = UnfitForContestTime(log)) {
        std::fprintf(stderr, "stats-host: %s: no document\n", why->c_str());
        return 2;
    }

    auto session = OpenSession(c.plugin, WorkingFolder(o));
    if (!session || !WriteRunSettings(log.cw)) return 1;
    session->Reset(log.station, false);
    unsigned passed = 0;
    for (const std::size_t i : log.LogOrder()) session->Add(log.qsos[i], ++passed);
    const auto figures = FiguresOf(ParseTextResult(session->Result()), log);
    if (!figures) return 1;

    const std::map<std::string, std::string> settings = HeaderSettings(log);
    const stats::SettingsKeys keys{[&](const std::string& key, const std::string& fallback) {
                                       const auto it = settings.find(key);
                                       return it == settings.end() ? fallback : it->second;
                                   },
                                   [](const std::string&, const std::string&) {}};
    // The host's 8-bit texts; a log's header is read as Windows-1252.
    const stats::ScoreboardRun run{log.station.call, log.station.countryPrefix, log.cw, false};
    // The zones as the plug-in finds them: from a cty.dat.
    const bool ctyDat = cty.size() >= 4 && stats::EqualsNoCase(cty.substr(cty.size() - 4), ".dat");
    const auto zones =
        ctyDat ? stats::ReadCountryZones({cty}, run.ownCountry, run.ownCall) : std::optional<stats::CountryZones>();
    const stats::ScoreboardStation station = stats::ScoreboardStationOf(keys, run, log.category, zones);
    const std::string document = stats::ScoreboardDocument(station, *figures, UtcNow());

    if (!stats::ReplaceFileContent(out, document)) {
        std::fprintf(stderr, "stats-host: cannot write %s\n", out.c_str());
        return 1;
    }
    std::fprintf(stderr, "stats-host: %s: the scoreboard document of %s\n", out.c_str(), o.log.c_str());
    return 0;
}

}  // namespace tools
