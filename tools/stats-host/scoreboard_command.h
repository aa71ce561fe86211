// stats-host --scoreboard: the document the plug-in would post to the live
// scoreboards at the end of a log, made by the plug-in's own builder from a
// run through its exports.
#pragma once

#include <optional>
#include <string>

#include "contest/operating_time.h"
#include "country_file.h"
#include "host_session.h"

namespace tools {

struct ScoreboardRequest {
    std::string log;  // the log's path
    const CountryFile* countries = nullptr;
    HostStation station;
    bool cw = true;
    // --category: the operator and overlay it stands for replace the header's.
    std::optional<stats::EntryCategory> category;
    // The country file read for the QSOs; the zones come from it when it is a
    // cty.dat, as the plug-in reads the host's. "" for none.
    std::string countryFile;
};

// One statistics run of the log (the caller has loaded the plug-in and written
// its settings): every QSO added in log order, as a plain run does, then the
// document of the plug-in's text result, the log's operating time by the
// contest's rule and its Cabrillo header (CALLSIGN, OPERATORS, CLUB, the
// CATEGORY- lines) in the place of the plug-in's settings. Nothing, said on
// standard error, when the plug-in's result cannot be read.
std::optional<std::string> ScoreboardOfLog(HostSession& session, const ScoreboardRequest& request);

}  // namespace tools
