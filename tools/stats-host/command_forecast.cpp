// --forecast: the projection of one log's final score at each whole hour of
// the contest, through the contest view's code, as CSV on standard output.
// Bad input, a reference the view could not use too, is said plainly (status 2).
#include <cstdio>
#include <filesystem>

#include "commands.h"
#include "forecast.h"
#include "host_setup.h"
#include "log_set.h"
#include "replay.h"

namespace tools {

int MakeForecast(const CommandContext& c) {
    const Options& o = c.options;
    const ContestLog log = ReadLog(o.log, o, c.cty);
    if (const auto why = UnfitForContestTime(log)) {
        std::fprintf(stderr, "stats-host: %s: no forecast\n", why->c_str());
        return 2;
    }
    stats::ContestReference reference;
    if (o.reference) {
        reference = stats::ReadContestReference(std::filesystem::absolute(*o.reference).string(), log.cw);
        if (reference.state != stats::ContestReference::kRead) {
            std::fprintf(stderr, "stats-host: %s: %s: no forecast\n", o.reference->c_str(),
                         stats::ReferenceProblem(reference, stats::ContestTexts(false)).c_str());
            return 2;
        }
    }
    const double start = ContestTimeStart(o, *log.survey.first);

    auto session = OpenSession(c.plugin, WorkingFolder(o));
    if (!session || !WriteRunSettings(log.cw)) return 1;
    session->Reset(log.station, false);
    const std::string csv = forecast::ForecastCsv(ReplayForPace(*session, log, start), log.category, reference);
    std::fwrite(csv.data(), 1, csv.size(), stdout);
    std::fflush(stdout);
    return 0;
}

}  // namespace tools
