// stats-host's commands, one file each (command_*.cpp). Each takes the
// command line and the country file, and returns the program's exit status:
// 0 done; 2 bad input (said plainly); 1 the plug-in or the working folder
// failed. A new command is a file here, a line below and a row in main's
// table.
#pragma once

#include "country_file.h"
#include "options.h"

namespace tools {

struct CommandContext {
    const Options& options;
    std::string plugin;        // the plug-in's file (FindPlugin)
    const CountryFile* cty;    // nothing when no country file was read
};

// The log scored as the logging program scores it, with its operating time.
int ScoreLog(const CommandContext& c);
// --page: the contest page of one log, or of several logs of one contest.
int MakePage(const CommandContext& c);
// --pace: the pace curve of one log.
int MakePace(const CommandContext& c);
// --audit: what log checking will take away, as a report.
int AuditLogs(const CommandContext& c);
// --scoreboard: the document the plug-in would post to the live scoreboards
// at the end of one log.
int MakeScoreboard(const CommandContext& c);
// --forecast: the projection of one log's final score, hour by hour.
int MakeForecast(const CommandContext& c);

}  // namespace tools
