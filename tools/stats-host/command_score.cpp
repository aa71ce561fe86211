// The log scored as the logging program scores it: ResetStats0, one
// AddData0 per QSO in the log's order, optional call checks, GetResult0; the
// result on standard output, and the log's operating time by the contest's
// rule below it.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "contest/ole_date.h"
#include "contest/operating_time.h"
#include "host_platform.h"
#include "host_setup.h"
#include "log_set.h"
#include "replay.h"
#include "wpx_prefix.h"

namespace tools {

namespace {

constexpr std::size_t kProgressFrom = 10000;  // QSOs; smaller logs finish before a bar would help

class ProgressBar {
public:
    ProgressBar(std::size_t total, bool shown) : total_(total), shown_(shown && total >= kProgressFrom) {}
    void Step(std::size_t done) {
        if (!shown_) return;
        const std::size_t percent = done * 100 / total_;
        if (percent == last_) return;
        last_ = percent;
        const std::size_t filled = percent * 40 / 100;
        std::fprintf(stderr, "\r[%s%s] %3zu%%  %zu/%zu QSOs", std::string(filled, '#').c_str(),
                     std::string(40 - filled, ' ').c_str(), percent, done, total_);
        std::fflush(stderr);
    }
    void Done() {
        if (shown_) std::fprintf(stderr, "\r%s\r", std::string(72, ' ').c_str());
    }

private:
    std::size_t total_, last_ = 101;
    bool shown_;
};

// The operating time of a run by the contest's rule, and what is past the
// limit, a line each, each ended by `eol`. The counts keep their plurals
// whatever the number, so that the lines read the same to a script.
std::string OperatingTimeLines(const stats::OperatingTime& t, stats::EntryCategory category, const char* eol) {
    using stats::HoursMinutes;
    std::string out = "Operating time: " + HoursMinutes(t.operatingMinutes);
    if (t.limit)
        out += " of " + HoursMinutes(*t.limit) + " (" + stats::CategoryName(category) + ")";
    else
        out += std::string(" (") + stats::CategoryName(category) + ", no limit)";
    out += ", " + std::to_string(t.offTimes.size()) + " off-times, " + HoursMinutes(t.offMinutes) + " off" + eol;
    if (t.limitPassed)
        out += "Past the limit: " + std::to_string(t.qsosPast) + " QSOs from " +
               stats::FormatOleDate(stats::OleDateOfMinute(t.firstPastMinute), "%Y-%m-%d %H%M") + eol;
    return out;
}

}  // namespace

int ScoreLog(const CommandContext& c) {
    const Options& o = c.options;
    const CountryFile* cty = c.cty;
    const ContestLog log = ReadLog(o.log, o, cty);
    const LogSurvey& survey = log.survey;
    // A zero summary of nothing would read as a result.
    if (survey.mappable == 0) {
        std::fprintf(stderr, "stats-host: %s: %s: nothing to score\n", o.log.c_str(),
                     survey.records == 0 ? "the log holds no QSO"
                                         : ("none of its " + std::to_string(survey.records) +
                                            " records is a QSO with the call, date and time the plug-in needs")
                                               .c_str());
        return 2;
    }

    // The calls to check, settled before the plug-in sees anything.
    std::vector<HostCheck> checks;
    for (const CheckRequest& r : o.checks) {
        HostCheck check;
        check.call = r.call;
        check.band = r.band;
        check.mode = r.mode;
        check.wpxPrefix = r.prefix.value_or(WpxPrefix(r.call));
        const Location where = r.country ? CountryOption(*r.country, cty, r.call) : Locate(cty, r.call, std::nullopt, "");
        check.countryPrefix = where.found ? where.country : check.wpxPrefix;  // the check goes on for any country text
        check.continent = where.continent;
        checks.push_back(std::move(check));
    }

    const std::string folder = WorkingFolder(o);
    auto session = OpenSession(c.plugin, folder);
    if (!session || !WriteRunSettings(log.cw)) return 1;

    if (o.html) session->AskForHtml();
    session->Reset(log.station, o.report);

    // In the log's own order, as the operator entered the QSOs.
    ProgressBar progress(log.qsos.size(), StderrIsTerminal());
    std::size_t accepted = 0, passed = 0;
    for (const std::size_t i : log.LogOrder()) {
        ++passed;
        accepted += static_cast<std::size_t>(session->Add(log.qsos[i], static_cast<unsigned>(passed)) == 1);
        progress.Step(passed);
    }
    progress.Done();
    // Every QSO passed is activity, whatever the plug-in makes of it.
    const stats::EntryCategory category = log.category;
    const stats::OperatingTime operating = stats::ComputeOperatingTime(ActivityOf(log), category);

    std::vector<int> codes;
    for (const HostCheck& check : checks) codes.push_back(session->Check(check));

    SetBinaryStdout();
    const std::string result = session->Result();
    std::fwrite(result.data(), 1, result.size(), stdout);
    // Below the text result, a blank line apart, in its CR LF line ends; the
    // HTML result stays a page of its own, and the lines go to the messages.
    if (o.html) {
        std::fputs(OperatingTimeLines(operating, category, "\n").c_str(), stderr);
    } else {
        const bool ended = !result.empty() && result.back() == '\n';
        const std::string lines = std::string(ended ? "\r\n" : result.empty() ? "" : "\r\n\r\n") +
                                  OperatingTimeLines(operating, category, "\r\n");
        std::fwrite(lines.data(), 1, lines.size(), stdout);
    }
    for (std::size_t i = 0; i < codes.size(); ++i)
        std::printf("%s %s %s: %d %s\n", o.checks[i].call.c_str(), o.checks[i].band.c_str(), o.checks[i].mode.c_str(),
                    codes[i], CheckCodeMeaning(codes[i]));
    std::fflush(stdout);
    std::fprintf(stderr, "stats-host: %zu records, %zu QSOs passed, %zu accepted, %zu rejected\n", survey.records,
                 passed, accepted, passed - accepted);
    // Without --dir the plug-in's files are in a folder the user did not name.
    if (o.dir.empty())
        std::fprintf(stderr, "stats-host: the plug-in's settings%s are in %s\n",
                     o.report ? ", bad-QSO file and Cabrillo log" : " and bad-QSO file", folder.c_str());
    return 0;
}


}  // namespace tools
