// Setting up the plug-in as the logging program does: finding it, loading
// it, working in its folder, and writing its settings file there.
#pragma once

#include <memory>
#include <string>

#include "host_session.h"
#include "options.h"

namespace tools {

// The plug-in to load: --plugin, else beside this program or one folder up
// (a build's folders), else under ../lib/stats-host/ where it is installed,
// else its bare name for the system's search.
std::string FindPlugin(const Options& o);

// The folder the plug-in works in, where it keeps its settings, bad-QSO and
// Cabrillo files: --dir, else a folder of stats-host's own in the user's
// folder for such files (or the temporary folder), never the current one:
// a run leaves nothing where it was started.
std::string WorkingFolder(const Options& o);

// The plug-in loaded, working in `folder` (made when missing); nothing, said
// on standard error, when either fails.
std::unique_ptr<HostSession> OpenSession(const std::string& plugin, const std::string& folder);

// The operator's contest-mode choice, in the plug-in's settings file in the
// working folder; false, said, when it cannot be written.
bool WriteRunSettings(bool cwContest);

}  // namespace tools
