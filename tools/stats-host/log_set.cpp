#include "log_set.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "active_calls.h"
#include "checking/contest.h"
#include "contest/contest_name.h"
#include "contest/ole_date.h"

namespace fs = std::filesystem;

namespace tools {

namespace {

constexpr const char kDefaultCountryFile[] = "/usr/share/hamradio-files/cty.dat";
constexpr const char kDefaultActiveCalls[] = "/usr/share/hamradio-files/MASTER.SCP";

// Why the logs are not of one contest (another mode, another contest named,
// another weekend), in a sentence; nothing when they are.
std::optional<std::string> NotOneContest(const std::vector<ContestLog>& logs) {
    std::vector<stats::ContestOfLog> contests;
    for (const ContestLog& log : logs)
        contests.push_back(stats::ContestOfLog{log.cw, log.survey.contest, log.survey.first.value_or(0.0)});
    const auto other = stats::FindOtherContest(contests);
    if (!other) return std::nullopt;
    const ContestLog &lead = logs.front(), &o = logs[other->log];
    switch (other->reason) {
        case stats::OtherContest::Reason::kMode:
            return lead.file + " is " + stats::ContestName(lead.cw) + " and " + o.file + " " +
                   stats::ContestName(o.cw) + ": logs are compared within one contest";
        case stats::OtherContest::Reason::kNamed:
            return lead.file + " names the contest " + lead.survey.contest + " and " + o.file + " " +
                   o.survey.contest + ": logs are compared within one contest";
        case stats::OtherContest::Reason::kWeekend:
            break;
    }
    return lead.file + " (" + DateText(*lead.survey.first) + ") and " + o.file + " (" + DateText(*o.survey.first) +
           ") are not logs of one contest";
}

}  // namespace

Location CountryOption(const std::string& text, const CountryFile* cty, const std::string& call) {
    if (cty == nullptr) return Location{text, "", true};
    const bool number = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (number && !cty->HasEntityNumbers())
        throw UsageError("--country " + text + ": the country file has no entity numbers; give the country's prefix");
    const CountryEntity* e = number ? cty->ByDxcc(std::stoi(text)) : cty->ByPrefix(text);
    if (e == nullptr && !number) e = cty->ByName(text);
    if (e == nullptr) throw UsageError("--country " + text + " is not a country of the country file");
    const auto m = cty->ByCall(call);
    return Location{e->prefix, m && m->entity == e ? m->continent : e->continent, true};
}

std::string CountryFilePath(const Options& o) {
    const std::string path = !o.ctyGiven ? kDefaultCountryFile : o.cty.empty() ? "" : fs::absolute(o.cty).string();
    std::error_code ec;
    return path.empty() || (!o.ctyGiven && !fs::exists(path, ec)) ? "" : path;
}

std::optional<CountryFile> LoadCountryFile(const Options& o) {
    const std::string path = CountryFilePath(o);
    if (path.empty()) return std::nullopt;
    std::string error;
    auto countries = CountryFile::Load(path, &error);
    if (!countries && o.ctyGiven) throw UsageError(error);
    return countries;
}

std::optional<std::unordered_set<std::string>> LoadActiveCalls(const Options& o, std::string& source) {
    std::error_code ec;
    const std::string path = o.calls ? (o.calls->empty() ? "" : fs::absolute(*o.calls).string())
                                     : (fs::exists(kDefaultActiveCalls, ec) ? kDefaultActiveCalls : "");
    if (path.empty()) return std::nullopt;
    std::string error;
    auto calls = ReadActiveCalls(path, &error);
    if (!calls && o.calls) throw UsageError("--calls " + error);
    source = fs::path(path).filename().string();
    return calls;
}

ContestLog ReadLog(const std::string& file, const Options& o, const CountryFile* cty) {
    ContestLog log = ReadContestLog(file, cty);
    const LogSurvey& survey = log.survey;
    if (survey.mappable == 0) std::fprintf(stderr, "%s: no QSO to pass to the plug-in\n", log.path.c_str());

    // The own station's country comes from the same file as every QSO's, so
    // that the plug-in's same-country test compares like with like.
    HostStation& station = log.station;
    station.call = o.call.value_or(survey.stationCall);
    const Location own = o.country ? CountryOption(*o.country, cty, station.call)
                                   : Locate(cty, station.call, survey.stationDxcc, "");
    if (!own.found && cty != nullptr && survey.mappable > 0)
        std::fprintf(stderr, "stats-host: no country for the own call %s in the country file: give --country\n",
                     station.call.c_str());
    station.countryPrefix = own.country;
    station.continent = o.continent.value_or(own.continent);
    const double first = survey.first.value_or(0.0), last = survey.last.value_or(0.0);
    station.start = stats::OleDateTime::Valid(o.start ? ParseDateOption("--start", *o.start) : first);
    station.end = stats::OleDateTime::Valid(o.end ? ParseDateOption("--end", *o.end) : last);

    // The contest mode: the option, else the contest the log names, else its QSOs.
    log.cw = survey.cw > survey.ssb;
    if (o.contest) {
        log.cw = *o.contest == "cw";
    } else if (survey.contest == stats::kCwContestName || survey.contest == stats::kSsbContestName) {
        log.cw = survey.contest == stats::kCwContestName;
    } else if (!survey.contest.empty()) {
        std::fprintf(stderr, "stats-host: the log's contest %s is not %s or %s: %s by its QSOs\n",
                     survey.contest.c_str(), stats::kCwContestName, stats::kSsbContestName, log.cw ? "CW" : "SSB");
    }

    log.category = stats::CategoryOfEntry(o.category, log.header);
    log.categoryAsked = o.category.has_value();
    log.rule = stats::TransmitterRuleOf(log.category, log.header.Transmitter());
    return log;
}

std::optional<std::string> UnfitForContestTime(const ContestLog& log) {
    const LogSurvey& survey = log.survey;
    const std::string& file = log.file;
    if (survey.records == 0) return file + ": the log holds no QSO";
    if (survey.mappable == 0)
        return file + ": none of its " + std::to_string(survey.records) +
               " records is a QSO with the call, date and time the plug-in needs (the lines above say what each "
               "lacks)";
    if (*survey.last - *survey.first > stats::kLongestContestSpanDays) {
        char days[32];
        std::snprintf(days, sizeof days, "%.0f", *survey.last - *survey.first);
        return file + ": its QSOs span " + days + " days (" + DateText(*survey.first) + " to " +
               DateText(*survey.last) + "), not one contest";
    }
    return std::nullopt;
}

std::optional<std::vector<ContestLog>> ReadLogsOfOneContest(const Options& o, const CountryFile* cty,
                                                           const char* refusal) {
    std::vector<std::string> files{o.log};
    files.insert(files.end(), o.moreLogs.begin(), o.moreLogs.end());
    std::vector<ContestLog> logs;
    for (const std::string& file : files) {
        logs.push_back(ReadLog(file, o, cty));
        if (const auto why = UnfitForContestTime(logs.back())) {
            std::fprintf(stderr, "stats-host: %s: %s\n", why->c_str(), refusal);
            return std::nullopt;
        }
    }
    if (const auto why = NotOneContest(logs)) {
        std::fprintf(stderr, "stats-host: %s: %s\n", why->c_str(), refusal);
        return std::nullopt;
    }
    return logs;
}

double ContestTimeStart(const Options& o, double firstQso) {
    if (o.start) return ParseDateOption("--start", *o.start);
    return stats::ContestStartDay(firstQso);
}

std::string DateText(double hostDate) {
    return stats::FormatOleDate(stats::OleDateTime::Valid(hostDate), "%Y-%m-%d");
}

}  // namespace tools
