#include "scoreboard_command.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "contest/ole_date.h"
#include "contest_page.h"
#include "log_source.h"
#include "page_replay.h"
#include "reports/scoreboard_document.h"
#include "text.h"

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
std::map<std::string, std::string> HeaderSettings(const LogHeader& header,
                                                  const std::optional<stats::EntryCategory>& asked) {
    namespace keys = stats::scoreboard_keys;
    std::map<std::string, std::string> settings;
    if (header.operators) settings[keys::kOperators] = *header.operators;
    if (header.club) settings[keys::kClub] = *header.club;
    for (const auto& [name, value] : header.categories) {
        for (const char* key : {keys::kOperator, keys::kAssisted, keys::kBand, keys::kPower, keys::kTransmitter,
                                keys::kOverlay})
            if (Upper(name) == Upper(key)) settings[key] = value;
    }
    if (asked) {
        settings[keys::kOperator] = *asked == stats::EntryCategory::kMultiOp ? "MULTI-OP" : "SINGLE-OP";
        std::string& overlay = settings[keys::kOverlay];
        if (*asked == stats::EntryCategory::kClassic) overlay = "CLASSIC";
        else if (Upper(overlay) == "CLASSIC") overlay.clear();
    }
    return settings;
}

}  // namespace

std::optional<std::string> ScoreboardOfLog(HostSession& session, const ScoreboardRequest& request) {
    session.Reset(request.station, false);
    std::vector<std::int64_t> activity;  // every QSO passed counts, as in the operating-time line
    unsigned passed = 0;
    LogSource source(request.log, request.countries);
    for (LogSource::Entry entry; source.Next(entry);) {
        if (!entry.qso) continue;
        session.Add(*entry.qso, ++passed);
        if (const auto minute = stats::OleDateMinute(entry.qso->time)) activity.push_back(*minute);
    }
    const page::TextResult result = page::ParseTextResult(session.Result());
    if (!result.complete) {
        std::fprintf(stderr, "stats-host: the plug-in's result has no total or score\n");
        return std::nullopt;
    }

    stats::ScoreboardFigures figures;
    // The result has a row for each band text the host passed; "20M" is 20 m.
    for (const page::BandRow& row : result.bands)
        for (std::size_t b = 0; b < stats::kBandCount; ++b)
            if (Upper(row.band) == Upper(stats::kBandNames[b])) {
                figures.bands[b].qsos += row.qsos;
                figures.bands[b].points += row.points;
            }
    figures.totals = stats::RunTotals{result.qsos, result.points, result.multipliers};
    if (figures.totals.Score() != result.score) {
        std::fprintf(stderr, "stats-host: the plug-in's score %lld is not its points times its prefixes\n",
                     static_cast<long long>(result.score));
        return std::nullopt;
    }
    const LogHeader header = ReadLogHeader(request.log);
    const stats::EntryCategory category = CategoryOfRun(request.category, header);
    figures.operatingMinutes =
        stats::ComputeOperatingTime(stats::CountMinutes(std::move(activity)), category).operatingMinutes;

    const std::map<std::string, std::string> settings = HeaderSettings(header, request.category);
    const stats::SettingsKeys keys{[&](const std::string& key, const std::string& fallback) {
                                       const auto it = settings.find(key);
                                       return it == settings.end() ? fallback : it->second;
                                   },
                                   [](const std::string&, const std::string&) {}};
    stats::ScoreboardRun run{request.station.call, request.station.countryPrefix, request.cw, false};
    const std::string& cty = request.countryFile;
    const bool ctyDat = cty.size() >= 4 && Upper(cty.substr(cty.size() - 4)) == ".DAT";
    const auto zones =
        ctyDat ? stats::ReadCountryZones({cty}, run.ownCountry, run.ownCall) : std::optional<stats::CountryZones>();
    const stats::ScoreboardStation station = stats::ScoreboardStationOf(keys, run, category, zones);
    return stats::ScoreboardDocument(station, figures, UtcNow());
}

}  // namespace tools
