// --audit: what log checking will take away from one or more logs of one
// contest, a report on standard output (status 0 whatever it finds); logs it
// cannot read or compare are said plainly and get no report (status 2).
#include <algorithm>
#include <cstdio>

#include "audit.h"
#include "audit_report.h"
#include "commands.h"
#include "host_setup.h"
#include "log_set.h"

namespace tools {

int AuditLogs(const CommandContext& c) {
    const Options& o = c.options;
    audit::Setup setup;
    setup.activeCalls = LoadActiveCalls(o, setup.activeCallsSource);
    auto logs = ReadLogsOfOneContest(o, c.cty, "no audit");
    if (!logs) return 2;
    for (const ContestLog& log : *logs) setup.logs.push_back(&log);
    if (const auto why = audit::SameStationTwice(setup.logs)) {
        std::fprintf(stderr, "stats-host: %s: no audit\n", why->c_str());
        return 2;
    }
    double first = *logs->front().survey.first;
    for (const ContestLog& log : *logs) first = std::min(first, *log.survey.first);
    setup.start = ContestTimeStart(o, first);

    auto session = OpenSession(c.plugin, WorkingFolder(o));
    if (!session) return 1;
    for (ContestLog& log : *logs) {
        if (!WriteRunSettings(log.cw)) return 1;
        session->Reset(log.station, false);
        Replay(*session, log);
    }
    const auto result = audit::Run(*session, setup, WriteRunSettings);
    if (!result) return 1;
    const std::string report = audit::Report(*result);
    std::fwrite(report.data(), 1, report.size(), stdout);
    std::fflush(stdout);
    return 0;
}

}  // namespace tools
