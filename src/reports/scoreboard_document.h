// The score as the live contest scoreboards take it: one XML document,
// `dynamicresults`, made here and nowhere else, for the plug-in's poster and
// for stats-host alike. Portable; no network here.
//
// Texts come in as the host's 8-bit code page (Windows-1251 when the plug-in
// speaks Russian, else Windows-1252) and go out as UTF-8, every one escaped.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "contest/live_figures.h"
#include "contest/ole_date.h"
#include "contest/operating_time.h"
#include "contest/run_state.h"
#include "plugin/platform.h"

namespace stats {

// The `class` element's attributes, in Cabrillo values (CATEGORY-POWER and so
// on). An empty overlay is left out of the document.
struct ScoreboardClass {
    std::string power, assisted, transmitter, ops, bands, mode, overlay;
};

// What the document says of the station.
struct ScoreboardStation {
    bool cw = true;     // CQ-WPX-CW, else CQ-WPX-SSB
    std::string call;   // the Cabrillo header's call
    std::string ops;    // calls separated by commas, at most 250 characters
    std::string club;
    ScoreboardClass category;
    std::string soft, version;  // the plug-in's name and file version
    // The own country's prefix, and its zones where a country file told them.
    std::string country;
    std::optional<int> cqZone, ituZone;
    bool cyrillic = false;  // the texts' code page: 1251, else 1252
};

// What a run tells of the station, copied under the run guard.
struct ScoreboardRun {
    std::string ownCall, ownCountry;
    bool cw = true;
    bool cyrillic = false;
};
ScoreboardRun ScoreboardRunOf(const RunState& state);  // caller holds the guard

// The own country's CQ and ITU zones by a country file (cty.dat): the entity
// whose primary prefix is `country`, or the zones its line gives the own call
// itself ("=CALL(cq)[itu]"). Nothing when the file has no such entity.
struct CountryZones {
    int cq = 0, itu = 0;
};
std::optional<CountryZones> ZonesFromCountryFile(std::string_view ctyText, std::string_view country,
                                                 std::string_view ownCall);
// The same from the first of `paths` that can be read (each read whole, up to
// a few MiB); nothing when none can, or none names the country.
std::optional<CountryZones> ReadCountryZones(const std::vector<std::string>& paths, std::string_view country,
                                             std::string_view ownCall);

// The header's settings keys the document reads (the header dialog writes
// them on OK). A host without the settings file (stats-host) answers these
// from a log's own header.
namespace scoreboard_keys {
inline constexpr const char kOperators[] = "Operators";
inline constexpr const char kClub[] = "Club";
inline constexpr const char kOperator[] = "Category-Operator";
inline constexpr const char kAssisted[] = "Category-Assisted";
inline constexpr const char kBand[] = "Category-Band";
inline constexpr const char kPower[] = "Category-Power";
inline constexpr const char kTransmitter[] = "Category-Transmitter";
inline constexpr const char kOverlay[] = "Category-Overlay";
}  // namespace scoreboard_keys

// What the document says of the station: the Cabrillo header's settings as
// the plug-in keeps them (`settings`: the plug-in's section of its settings
// file), the own call and country of the last reset, and where the header was
// never confirmed, the dialog's presets with the operator and overlay of the
// contest view's category. `call` of the header is the host's own call, as in
// the Cabrillo log.
ScoreboardStation ScoreboardStationOf(const SettingsKeys& settings, const ScoreboardRun& run,
                                      EntryCategory viewCategory, std::optional<CountryZones> zones);

// The figures the document carries.
struct ScoreboardBand {
    std::int64_t qsos = 0, points = 0;
};
struct ScoreboardFigures {
    std::array<ScoreboardBand, kBandCount> bands{};  // in the order of kBandNames
    RunTotals totals;  // its Score() is GetResult0's score
    std::int64_t operatingMinutes = 0;  // by the contest's rule
};
// The run's figures as the contest view keeps them (after Digest).
ScoreboardFigures ScoreboardFiguresOf(const LiveFigures& live);

// The whole document, made at `utcNow` (a UTC host date).
std::string ScoreboardDocument(const ScoreboardStation& station, const ScoreboardFigures& figures,
                               OleDateTime utcNow);
std::string ScoreboardDocument(const ScoreboardStation& station, const LiveFigures& live, OleDateTime utcNow);

// "07:05": operating minutes as the boards' hh:mm.
std::string ScoreboardOpTime(std::int64_t minutes);

}  // namespace stats
