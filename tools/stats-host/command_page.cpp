// --page: the contest page of one log, or of several logs of one contest
// compared. Bad input is said plainly and makes no page (status 2).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "audit.h"
#include "commands.h"
#include "contest/contest_name.h"
#include "contest/file_util.h"
#include "contest_page.h"
#include "host_setup.h"
#include "log_set.h"
#include "replay.h"

namespace tools {

int MakePage(const CommandContext& c) {
    const Options& o = c.options;
    const std::string pagePath = std::filesystem::absolute(*o.page).string();
    audit::Setup setup;
    setup.activeCalls = LoadActiveCalls(o, setup.activeCallsSource);
    auto logs = ReadLogsOfOneContest(o, c.cty, "no page");
    if (!logs) return 2;

    // One hour grid for every log: from the contest's start, at least its
    // 48 hours. A log whose first QSO is on the Sunday still shows the whole
    // weekend, its Saturday empty.
    double first = *logs->front().survey.first, last = *logs->front().survey.last;
    for (const ContestLog& log : *logs) {
        first = std::min(first, *log.survey.first);
        last = std::max(last, *log.survey.last);
    }
    page::PageInput input;
    input.start = ContestTimeStart(o, first);
    input.hours = std::max(48, static_cast<int>(std::floor((last - input.start) * 24.0 + 1e-9)) + 1);

    auto session = OpenSession(c.plugin, WorkingFolder(o));
    if (!session) return 1;
    for (ContestLog& log : *logs) {
        if (!WriteRunSettings(log.cw)) return 1;
        session->Reset(log.station, false);
        page::LogFigures figures;
        static_cast<HourlyFigures&>(figures) = ReplayByHour(*session, log, input.start);
        ReplayByContinent(*session, log, figures);
        figures.file = log.file;
        figures.station = log.station.call;
        figures.cw = log.cw;
        figures.header = log.header.categories;
        figures.claimed = log.header.claimed;
        figures.category = log.category;
        const std::string& named = log.survey.contest;
        if (!named.empty() && named != stats::ContestName(log.cw)) figures.otherContest = named;
        input.logs.push_back(std::move(figures));
        setup.logs.push_back(&log);
    }
    // Before you submit: the audit, before the plug-in's results turn to HTML.
    setup.start = input.start;
    auto audited = audit::Run(*session, setup, WriteRunSettings);
    if (!audited) return 1;
    input.audit = std::move(*audited);
    // The plug-in's own page of each log: a host that asks for it keeps it.
    session->AskForHtml();
    for (std::size_t i = 0; i < logs->size(); ++i) {
        const ContestLog& log = (*logs)[i];
        if (!WriteRunSettings(log.cw)) return 1;
        session->Reset(log.station, false);
        AddAll(*session, log);
        input.logs[i].summaryHtml = session->Result();
    }

    const std::string html = page::RenderPage(input);
    if (!stats::ReplaceFileContent(pagePath, html)) {
        std::fprintf(stderr, "stats-host: cannot write %s\n", pagePath.c_str());
        return 1;
    }
    std::fprintf(stderr, "stats-host: %s: the page of %zu log%s, %zu KiB\n", pagePath.c_str(), logs->size(),
                 logs->size() == 1 ? "" : "s", (html.size() + 1023) / 1024);
    return 0;
}

}  // namespace tools
