// --pace: the pace curve of one log. Bad input is said plainly and writes no
// file (status 2).
#include <cstdio>
#include <filesystem>

#include "commands.h"
#include "contest/file_util.h"
#include "host_setup.h"
#include "log_set.h"
#include "replay.h"

namespace tools {

int MakePace(const CommandContext& c) {
    const Options& o = c.options;
    const std::string curvePath = std::filesystem::absolute(*o.pace).string();
    const ContestLog log = ReadLog(o.log, o, c.cty);
    if (const auto why = UnfitForContestTime(log)) {
        std::fprintf(stderr, "stats-host: %s: no curve\n", why->c_str());
        return 2;
    }
    const double start = ContestTimeStart(o, *log.survey.first);

    auto session = OpenSession(c.plugin, WorkingFolder(o));
    if (!session || !WriteRunSettings(log.cw)) return 1;
    session->Reset(log.station, false);
    const stats::PaceCurve curve = ReplayForPace(*session, log, start);
    if (!stats::ReplaceFileContent(curvePath, stats::WritePaceCurve(curve))) {
        std::fprintf(stderr, "stats-host: cannot write %s\n", curvePath.c_str());
        return 1;
    }
    std::fprintf(stderr, "stats-host: %s: the pace curve of %s, %zu rows from %s 00:00 UTC\n", curvePath.c_str(),
                 o.log.c_str(), curve.rows.size(), DateText(start).c_str());
    return 0;
}

}  // namespace tools
