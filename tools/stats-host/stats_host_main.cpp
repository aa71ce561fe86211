// stats-host: plays the logging program for the statistics plug-in. Reads an
// ADIF or Cabrillo log, loads the plug-in, and runs one statistics run through
// its exported functions exactly as the host does: ResetStats0, one AddData0
// per QSO in log order, optional call checks, GetResult0; prints the result
// and the log's operating time by the contest's rule.
//
// Exit status: 0 done; 2 bad input or usage (the message names the file, the
// record and the field); 1 the plug-in or the working directory failed.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "audit.h"
#include "contest/ole_date.h"
#include "contest/operating_time.h"
#include "contest_page.h"
#include "country_file.h"
#include "forecast.h"
#include "host_platform.h"
#include "host_session.h"
#include "log_mapping.h"
#include "log_source.h"
#include "page_replay.h"
#include "settings_key.h"
#include "stats_version.h"
#include "text.h"
#include "wpx_prefix.h"

namespace fs = std::filesystem;
using namespace tools;

namespace {

constexpr const char kUsage[] =
    "usage: stats-host [options] LOG\n"
    "       stats-host --page FILE.html [options] LOG [LOG...]\n"
    "       stats-host --pace FILE.csv [options] LOG\n"
    "       stats-host --audit [options] LOG [LOG...]\n"
    "       stats-host --forecast [--reference CURVE.csv] [options] LOG\n"
    "\n"
    "Scores a contest log, ADIF (.adi) or Cabrillo (.cbr, .log, or any file that\n"
    "starts with START-OF-LOG:), through the statistics plug-in, as the logging\n"
    "program does, and gives its operating time by the contest's rule: every QSO\n"
    "passed counts, dupes and rejected QSOs too; a gap of 60 minutes or more is an\n"
    "off-time; QSOs past the category's limit are said.\n"
    "\n"
    "  --page FILE.html    write a page that shows how the contest went: the plug-in's\n"
    "                      summary, QSOs per hour, the score hour by hour, the rate\n"
    "                      sheet, peak rates, off-times, continents, and before you\n"
    "                      submit: what --audit finds, with the calls to check; with\n"
    "                      two or more logs of one contest, how they compare\n"
    "  --pace FILE.csv     write the log's pace curve, a reference for the contest\n"
    "                      view: every 10 minutes from the contest's Saturday 00:00 UTC\n"
    "                      (or --start), the QSOs, points, prefixes and score of the\n"
    "                      QSOs before then and the operating minutes\n"
    "  --audit             report what log checking will take away, and what it costs:\n"
    "                      serials received wrong or out of sequence, QSOs not in the\n"
    "                      other log and busted calls (among the logs given), band\n"
    "                      changes, QSOs past the operating-time limit, calls not in\n"
    "                      MASTER.SCP worked once; then the claimed score, the figures\n"
    "                      at risk by kind and the score floor. One line each, fields\n"
    "                      separated by tabs. Read-only: it changes no log\n"
    "  --forecast          the projection of the final score as the contest view\n"
    "                      makes it, at each whole hour of the contest: CSV rows\n"
    "                      hour,score,low,projected,high (the range and the point)\n"
    "  --reference CURVE.csv  the pace curve --forecast projects against, as the\n"
    "                      contest view's reference (default: the log's own course)\n"
    "  --category C        single, classic or multi: the operating-time limit (36 h,\n"
    "                      24 h, none) of the text result and the audit, and the\n"
    "                      audit's band-change rule; default: the log's CATEGORY-\n"
    "                      lines, else single\n"
    "  --calls PATH        the list of active contest calls the page and the audit\n"
    "                      check calls against (default:\n"
    "                      /usr/share/hamradio-files/MASTER.SCP when present; \"\" for none)\n"
    "  --call CALL         own call (default: the log's STATION_CALLSIGN or OPERATOR,\n"
    "                      or its CALLSIGN: line)\n"
    "  --country C         own country: its prefix in the country file, or an entity\n"
    "                      number (default: the own call's, or MY_DXCC's)\n"
    "  --continent CONT    own continent (default: the own country's)\n"
    "  --start YYYY-MM-DD  contest start (default: the first QSO's date)\n"
    "  --end YYYY-MM-DD    contest end (default: the last QSO's date)\n"
    "  --cw, --ssb         the plug-in's contest mode (also --contest cw|ssb; default:\n"
    "                      the log's CONTEST_ID or CONTEST: line, else the mode of most QSOs)\n"
    "  --html              ask for the HTML result (setVersion first)\n"
    "  --report            a report run: the plug-in also writes the Cabrillo log\n"
    "  --check CALL        after the log, check CALL as if it were being entered;\n"
    "    --band B --mode M   its band and mode (required),\n"
    "    --prefix P          its WPX prefix (default: from the call),\n"
    "    --country C         its country (default: from the country file);\n"
    "                        repeat --check for more calls\n"
    "  --dir D             working directory for the settings, bad-QSO and Cabrillo\n"
    "                      files (default: the current one)\n"
    "  --plugin PATH       the plug-in to load (default: beside this program or its folder,\n"
    "                      or in ../lib/stats-host/ where it is installed)\n"
    "  --version           this program's version and the plug-in's, then stop\n"
    "  --cty PATH          country file, cty.dat or cty.csv (default:\n"
    "                      /usr/share/hamradio-files/cty.dat when present; \"\" for none:\n"
    "                      entity numbers and names stand for countries as written)\n";

constexpr const char kDefaultCountryFile[] = "/usr/share/hamradio-files/cty.dat";
constexpr const char kSettingsFile[] = "Plugins/CQ-WPX-CW-SSB.ini";
constexpr const char kDefaultActiveCalls[] = "/usr/share/hamradio-files/MASTER.SCP";
// A contest lasts a weekend: a page of a log spread over more than this would
// draw thousands of hours of nothing.
constexpr double kLongestSpanDays = 21.0;
constexpr std::size_t kProgressFrom = 10000;  // records; smaller logs finish before a bar would help

struct CheckRequest {
    std::string call, band, mode;
    std::optional<std::string> prefix, country;
};

struct Options {
    std::string log;
    std::vector<std::string> moreLogs;  // a page's further logs
    std::optional<std::string> page, calls, pace;
    std::optional<stats::EntryCategory> category;
    std::optional<std::string> call, country, continent, start, end, contest;
    bool html = false, report = false;
    bool audit = false;
    bool forecast = false;
    std::optional<std::string> reference;
    std::vector<CheckRequest> checks;
    std::string dir, plugin, cty;
    bool ctyGiven = false;
    bool version = false;
};

class UsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

Options ParseOptions(int argc, char** argv) {
    Options o;
    auto value = [&](int& i) -> std::string {
        if (i + 1 >= argc) throw UsageError(std::string(argv[i]) + " needs a value");
        return argv[++i];
    };
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--call") {
            o.call = value(i);
        } else if (a == "--country") {
            // After --check, the country belongs to the call being checked.
            if (!o.checks.empty()) o.checks.back().country = value(i);
            else o.country = value(i);
        } else if (a == "--continent") {
            o.continent = value(i);
        } else if (a == "--start") {
            o.start = value(i);
        } else if (a == "--end") {
            o.end = value(i);
        } else if (a == "--cw" || a == "--ssb") {
            o.contest = a.substr(2);
        } else if (a == "--contest") {
            o.contest = value(i);
            for (char& c : *o.contest) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (*o.contest != "cw" && *o.contest != "ssb") throw UsageError("--contest takes cw or ssb");
        } else if (a == "--html") {
            o.html = true;
        } else if (a == "--report") {
            o.report = true;
        } else if (a == "--check") {
            o.checks.push_back(CheckRequest{value(i), "", "", std::nullopt, std::nullopt});
        } else if (a == "--band" || a == "--mode" || a == "--prefix") {
            if (o.checks.empty()) throw UsageError(a + " belongs to a --check");
            std::string v = value(i);
            if (a == "--band") o.checks.back().band = v;
            else if (a == "--mode") o.checks.back().mode = v;
            else o.checks.back().prefix = v;
        } else if (a == "--dir") {
            o.dir = value(i);
        } else if (a == "--plugin") {
            o.plugin = value(i);
        } else if (a == "--page") {
            o.page = value(i);
        } else if (a == "--pace") {
            o.pace = value(i);
        } else if (a == "--category") {
            const std::string c = Lower(value(i));
            if (c == "single") o.category = stats::EntryCategory::kSingleOp;
            else if (c == "classic") o.category = stats::EntryCategory::kClassic;
            else if (c == "multi") o.category = stats::EntryCategory::kMultiOp;
            else throw UsageError("--category takes single, classic or multi");
        } else if (a == "--audit") {
            o.audit = true;
        } else if (a == "--forecast") {
            o.forecast = true;
        } else if (a == "--reference") {
            o.reference = value(i);
        } else if (a == "--calls") {
            o.calls = value(i);
        } else if (a == "--cty") {
            o.cty = value(i);
            o.ctyGiven = true;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            throw UsageError("unknown option " + a);
        } else if (o.log.empty()) {
            o.log = a;
        } else {
            o.moreLogs.push_back(a);
        }
    }
    if (o.log.empty() && !o.version) throw UsageError("no log file given");
    if (!o.moreLogs.empty() && !o.page && !o.audit)
        throw UsageError("one log at a time (" + o.log + " and " + o.moreLogs.front() +
                         "), unless for a --page or an --audit");
    if (o.page && o.pace) throw UsageError("--page and --pace: one at a time");
    if (o.forecast && (o.page || o.pace || o.audit || o.html || o.report || !o.checks.empty()))
        throw UsageError(
            "--forecast writes a projection: --page, --pace, --audit, --html, --report and --check do not go with it");
    if (o.reference && !o.forecast) throw UsageError("--reference goes with --forecast");
    if (o.audit && (o.page || o.pace || o.html || o.report || !o.checks.empty()))
        throw UsageError("--audit writes a report: --page, --pace, --html, --report and --check do not go with it");
    if (o.audit && !o.moreLogs.empty() && o.category)
        throw UsageError("--category describes one log's entry: give one log with it");
    if (o.page && (o.html || o.report || !o.checks.empty()))
        throw UsageError("--page makes a page: --html, --report and --check do not go with it");
    if (o.pace && (o.html || o.report || !o.checks.empty()))
        throw UsageError("--pace writes a curve: --html, --report and --check do not go with it");
    if (!o.moreLogs.empty() && (o.call || o.country || o.continent))
        throw UsageError("--call, --country and --continent describe one log's station: give one log with them");
    for (const CheckRequest& c : o.checks)
        if (c.band.empty() || c.mode.empty()) throw UsageError("--check " + c.call + " needs --band and --mode");
    return o;
}

// A date option: YYYY-MM-DD or YYYYMMDD, the day's start.
double ParseDateOption(const std::string& name, const std::string& text) {
    std::string digits;
    for (char c : text)
        if (c != '-') digits.push_back(c);
    const auto date = ParseAdifDate(digits);
    if (!date) throw UsageError(name + " \"" + text + "\" is not a date YYYY-MM-DD");
    return *date;
}

std::string FindPlugin() {
    const std::string folder = ProgramFolder();
    // Beside the program in a build's folders; under lib/ where it is installed.
    for (const fs::path& candidate : {fs::path(folder) / PluginFileName(), fs::path(folder) / ".." / PluginFileName(),
                                      fs::path(folder) / ".." / "lib" / "stats-host" / PluginFileName()}) {
        std::error_code ec;
        if (fs::exists(candidate, ec)) return fs::absolute(candidate).lexically_normal().string();
    }
    return PluginFileName();  // left to the system's search
}

// What the first reading of the log finds out before the plug-in sees anything.
struct LogSurvey {
    std::size_t records = 0, mappable = 0, cw = 0, ssb = 0;
    std::optional<double> first, last;
    std::string stationCall, contest;
    std::optional<int> stationDxcc;
};

// Reports every record or line that is skipped or amiss, here and only here.
LogSurvey Survey(const std::string& path, const CountryFile* countries) {
    LogSurvey s;
    LogSource source(path, countries);
    for (LogSource::Entry entry; source.Next(entry);) {
        ++s.records;
        if (!entry.note.empty()) std::fprintf(stderr, "%s\n", entry.note.c_str());
        if (!entry.qso) continue;
        ++s.mappable;
        if (entry.qso->mode == "CW") ++s.cw;
        if (entry.qso->mode == "SSB") ++s.ssb;
        const double t = entry.qso->time.m_dt;
        if (!s.first || t < *s.first) s.first = t;
        if (!s.last || t > *s.last) s.last = t;
    }
    s.stationCall = source.StationCall();
    s.stationDxcc = source.StationDxcc();
    s.contest = source.Contest();
    return s;
}

// A country given on the command line, as the country file names it: its
// primary prefix (or name), or an entity number when the file has numbers.
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

// The own station, the contest dates and the contest mode of one log's run.
struct RunPlan {
    LogSurvey survey;
    HostStation station;
    bool cwContest = false;
};

RunPlan PlanRun(const Options& o, const std::string& log, const CountryFile* cty) {
    RunPlan plan;
    LogSurvey& survey = plan.survey;
    HostStation& station = plan.station;
    survey = Survey(log, cty);
    if (survey.mappable == 0) std::fprintf(stderr, "%s: no QSO to pass to the plug-in\n", log.c_str());

    // The own station's country comes from the same file as every QSO's, so
    // that the plug-in's same-country test compares like with like.
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
    bool& cwContest = plan.cwContest;
    cwContest = survey.cw > survey.ssb;
    if (o.contest) {
        cwContest = *o.contest == "cw";
    } else if (survey.contest == "CQ-WPX-CW" || survey.contest == "CQ-WPX-SSB") {
        cwContest = survey.contest == "CQ-WPX-CW";
    } else if (!survey.contest.empty()) {
        std::fprintf(stderr, "stats-host: the log's contest %s is not CQ-WPX-CW or CQ-WPX-SSB: %s by its QSOs\n",
                     survey.contest.c_str(), cwContest ? "CW" : "SSB");
    }

    return plan;
}

bool EnterWorkingDirectory(const std::string& dir) {
    std::error_code ec;
    if (dir.empty()) return true;
    fs::create_directories(dir, ec);
    fs::current_path(dir, ec);
    if (ec) std::fprintf(stderr, "stats-host: cannot work in %s: %s\n", dir.c_str(), ec.message().c_str());
    return !ec;
}

// The plug-in loaded, in the working directory; nothing (said) when either fails.
std::unique_ptr<HostSession> OpenSession(const std::string& plugin, const std::string& dir) {
    std::string error;
    auto session = HostSession::Open(plugin, &error);
    if (!session) {
        std::fprintf(stderr, "stats-host: %s\n", error.c_str());
        return nullptr;
    }
    if (!EnterWorkingDirectory(dir)) return nullptr;
    return session;
}

// The list of active contest calls: --calls, else the package's when present;
// "" for none. A list named that cannot be read is bad input.
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

// The operator's contest-mode choice lives in the plug-in's settings file.
// "Start" = 1 keeps the plug-in's own windows closed: there is no screen here.
bool WriteRunSettings(bool cwContest) {
    std::error_code ec;
    fs::create_directories("Plugins", ec);
    if (WriteSettingsKey(kSettingsFile, "Settings", "CW", cwContest ? "1" : "0") &&
        WriteSettingsKey(kSettingsFile, "Settings", "Start", "1"))
        return true;
    std::fprintf(stderr, "stats-host: cannot write %s in %s\n", kSettingsFile, fs::current_path(ec).string().c_str());
    return false;
}

std::string FormatHostDate(double hostDate) {
    int year, month, day, hour, minute, second;
    CalendarOf(hostDate, year, month, day, hour, minute, second);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

// Why a log cannot make a page, a pace curve or an audit: no QSO the plug-in can take,
// or QSOs spread far beyond one contest. Nothing when it can.
std::optional<std::string> UnfitForContestTime(const std::string& file, const LogSurvey& survey) {
    if (survey.records == 0) return file + ": the log holds no QSO";
    if (survey.mappable == 0)
        return file + ": none of its " + std::to_string(survey.records) +
               " records is a QSO with the call, date and time the plug-in needs (the lines above say what each "
               "lacks)";
    if (*survey.last - *survey.first > kLongestSpanDays) {
        char days[32];
        std::snprintf(days, sizeof days, "%.0f", *survey.last - *survey.first);
        return file + ": its QSOs span " + days + " days (" + FormatHostDate(*survey.first) + " to " +
               FormatHostDate(*survey.last) + "), not one contest";
    }
    return std::nullopt;
}

// The start of the contest time of a page and a pace curve: --start, else the
// day of the first QSO. The contest starts on a Saturday at 00:00 UTC: a log
// whose first QSO is on the Sunday still starts on the Saturday.
double ContestTimeStart(const Options& o, double firstQso) {
    if (o.start) return ParseDateOption("--start", *o.start);
    const double firstDay = std::floor(firstQso);
    const bool sunday = static_cast<long long>(firstDay) % 7 == 1;  // host day 0 was a Saturday
    return sunday ? firstDay - 1 : firstDay;
}

// Writes a whole file or nothing: a temporary file renamed into place.
bool WriteWholeFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    std::error_code ec;
    if (!out) {
        fs::remove(temporary, ec);
        std::fprintf(stderr, "stats-host: cannot write %s\n", path.c_str());
        return false;
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        std::fprintf(stderr, "stats-host: cannot write %s: %s\n", path.c_str(), ec.message().c_str());
        return false;
    }
    return true;
}

// The contest page of one log, or of several logs of one contest compared.
// Bad input is said plainly and makes no page (status 2).
int MakePage(const Options& o, const std::string& plugin, const CountryFile* cty) {
    const std::string pagePath = fs::absolute(*o.page).string();
    std::vector<std::string> files{o.log};
    files.insert(files.end(), o.moreLogs.begin(), o.moreLogs.end());

    page::PageInput input;
    audit::Setup setup;
    setup.category = o.category;
    setup.activeCalls = LoadActiveCalls(o, setup.activeCallsSource);

    struct Entry {
        std::string file, path;
        RunPlan plan;
        PageLog log;
    };
    std::vector<Entry> entries;
    auto refuse = [](const std::string& what) {
        std::fprintf(stderr, "stats-host: %s: no page\n", what.c_str());
        return 2;
    };
    for (const std::string& file : files) {
        const std::string path = fs::absolute(file).string();
        Entry e{file, path, PlanRun(o, path, cty), {}};
        if (const auto why = UnfitForContestTime(file, e.plan.survey)) return refuse(*why);
        e.log = ReadPageLog(path, cty);
        entries.push_back(std::move(e));
    }
    for (const Entry& e : entries)
        setup.logs.push_back(audit::LogPlan{e.file, e.path, e.plan.station, e.plan.cwContest, e.plan.survey.contest,
                                            *e.plan.survey.first, &e.log});
    if (const auto why = audit::NotOneContest(setup.logs)) return refuse(*why);
    const RunPlan& lead = entries.front().plan;

    // One hour grid for every log: from the contest's start, at least its
    // 48 hours. A log whose first QSO is on the Sunday still shows the whole
    // weekend, its Saturday empty.
    double first = *lead.survey.first, last = *lead.survey.last;
    for (const Entry& e : entries) {
        first = std::min(first, *e.plan.survey.first);
        last = std::max(last, *e.plan.survey.last);
    }
    input.start = ContestTimeStart(o, first);
    input.hours = std::max(48, static_cast<int>(std::floor((last - input.start) * 24.0 + 1e-9)) + 1);

    auto session = OpenSession(plugin, o.dir);
    if (!session) return 1;
    for (Entry& e : entries) {
        page::LogFigures figures;
        figures.file = e.file;
        figures.station = e.plan.station.call;
        figures.cw = e.plan.cwContest;
        // Each log by its own category, unless one is asked for all.
        const LogHeader header = ReadLogHeader(e.path);
        figures.header = header.categories;
        figures.claimed = header.claimed;
        figures.category = CategoryOfRun(o.category, header);
        if (!WriteRunSettings(e.plan.cwContest)) return 1;
        session->Reset(e.plan.station, false);
        ReplayForPage(*session, e.log, input.start, figures);
        ReplayByContinent(*session, e.log, e.plan.station, figures);
        const std::string& named = e.plan.survey.contest;
        if (!named.empty() && named != (e.plan.cwContest ? "CQ-WPX-CW" : "CQ-WPX-SSB")) figures.otherContest = named;
        input.logs.push_back(std::move(figures));
    }
    // Before you submit: the audit, before the plug-in's results turn to HTML.
    setup.start = input.start;
    auto audited = audit::Run(*session, setup, WriteRunSettings);
    if (!audited) return 1;
    input.audit = std::move(*audited);
    // The plug-in's own page of each log: a host that asks for it keeps it.
    session->AskForHtml();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!WriteRunSettings(entries[i].plan.cwContest)) return 1;
        session->Reset(entries[i].plan.station, false);
        AddAll(*session, entries[i].log);
        input.logs[i].summaryHtml = session->Result();
    }

    const std::string html = page::RenderPage(input);
    if (!WriteWholeFile(pagePath, html)) return 1;
    std::fprintf(stderr, "stats-host: %s: the page of %zu log%s, %zu KiB\n", pagePath.c_str(), entries.size(),
                 entries.size() == 1 ? "" : "s", (html.size() + 1023) / 1024);
    return 0;
}

// The pace curve of one log and the day its contest time starts; nothing,
// with the status to end on, when bad input (said plainly, status 2) or the
// plug-in (1) stops it.
std::optional<stats::PaceCurve> CurveOfLog(const Options& o, const std::string& plugin, const CountryFile* cty,
                                           const char* refusal, int& status, double& start) {
    const std::string path = fs::absolute(o.log).string();
    const RunPlan plan = PlanRun(o, path, cty);
    if (const auto why = UnfitForContestTime(o.log, plan.survey)) {
        std::fprintf(stderr, "stats-host: %s: %s\n", why->c_str(), refusal);
        status = 2;
        return std::nullopt;
    }
    const PageLog log = ReadPageLog(path, cty);
    start = ContestTimeStart(o, *plan.survey.first);

    auto session = OpenSession(plugin, o.dir);
    status = 1;
    if (!session || !WriteRunSettings(plan.cwContest)) return std::nullopt;
    session->Reset(plan.station, false);
    status = 0;
    return ReplayForPace(*session, log, start, plan.cwContest);
}

// The pace curve of one log. Bad input is said plainly and writes no file
// (status 2).
int MakePace(const Options& o, const std::string& plugin, const CountryFile* cty) {
    const std::string curvePath = fs::absolute(*o.pace).string();
    int status = 0;
    double start = 0;
    const auto curve = CurveOfLog(o, plugin, cty, "no curve", status, start);
    if (!curve) return status;
    if (!WriteWholeFile(curvePath, stats::WritePaceCurve(*curve))) return 1;
    std::fprintf(stderr, "stats-host: %s: the pace curve of %s, %zu rows from %s 00:00 UTC\n", curvePath.c_str(),
                 o.log.c_str(), curve->rows.size(), FormatHostDate(start).c_str());
    return 0;
}

// The projection of one log's final score, hour by hour, on standard output.
// A reference the view could not use is said in the view's words (status 2).
int MakeForecast(const Options& o, const std::string& plugin, const CountryFile* cty) {
    int status = 0;
    double start = 0;
    const auto curve = CurveOfLog(o, plugin, cty, "no forecast", status, start);
    if (!curve) return status;
    stats::ContestReference reference;
    if (o.reference) {
        reference = stats::ReadContestReference(fs::absolute(*o.reference).string(), curve->cw);
        if (reference.state != stats::ContestReference::kRead) {
            std::fprintf(stderr, "stats-host: %s: %s: no forecast\n", o.reference->c_str(),
                         stats::ReferenceProblem(reference, stats::ContestTexts(false)).c_str());
            return 2;
        }
    }
    const std::string path = fs::absolute(o.log).string();
    const std::string csv =
        forecast::ForecastCsv(*curve, CategoryOfRun(o.category, ReadLogHeader(path)), reference);
    std::fwrite(csv.data(), 1, csv.size(), stdout);
    std::fflush(stdout);
    return 0;
}

// The operating time of a run by the contest's rule, and what is past the
// limit, a line each, each ended by `eol`. The counts keep their plurals
// whatever the number, so that the lines read the same to a script.
std::string OperatingTimeLines(const stats::OperatingTime& t, stats::EntryCategory category, const char* eol) {
    using page::HoursMinutes;
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

// The audit of one or more logs of one contest: a report on standard output
// (status 0 whatever it finds); logs it cannot read or compare are said
// plainly and get no report (status 2).
int AuditLogs(const Options& o, const std::string& plugin, const CountryFile* cty) {
    audit::Setup setup;
    setup.category = o.category;
    setup.activeCalls = LoadActiveCalls(o, setup.activeCallsSource);
    std::vector<std::string> files{o.log};
    files.insert(files.end(), o.moreLogs.begin(), o.moreLogs.end());
    for (const std::string& file : files) {
        const std::string path = fs::absolute(file).string();
        const RunPlan plan = PlanRun(o, path, cty);
        if (const auto why = UnfitForContestTime(file, plan.survey)) {
            std::fprintf(stderr, "stats-host: %s: no audit\n", why->c_str());
            return 2;
        }
        setup.logs.push_back(
            audit::LogPlan{file, path, plan.station, plan.cwContest, plan.survey.contest, *plan.survey.first});
    }
    if (const auto refusal = audit::Refusal(setup)) {
        std::fprintf(stderr, "stats-host: %s: no audit\n", refusal->c_str());
        return 2;
    }
    std::vector<PageLog> logs(setup.logs.size());
    for (std::size_t i = 0; i < logs.size(); ++i) {
        logs[i] = ReadPageLog(setup.logs[i].path, cty);
        setup.logs[i].log = &logs[i];
    }
    double first = setup.logs.front().first;
    for (const audit::LogPlan& p : setup.logs) first = std::min(first, p.first);
    setup.start = ContestTimeStart(o, first);
    auto session = OpenSession(plugin, o.dir);
    if (!session) return 1;
    const auto result = audit::Run(*session, setup, WriteRunSettings);
    if (!result) return 1;
    const std::string report = audit::Report(*result);
    std::fwrite(report.data(), 1, report.size(), stdout);
    std::fflush(stdout);
    return 0;
}

int Run(const Options& o) {
    // Paths are settled before the working directory changes.
    const std::string plugin = o.plugin.empty() ? FindPlugin() : fs::absolute(o.plugin).string();
    if (o.version) {
        std::printf("stats-host %s\n", STATS_VERSION_TEXT);
        std::error_code ec;
        if (!fs::exists(plugin, ec))
            std::printf("plug-in: none found (%s)\n", plugin.c_str());
        else if (const auto version = PluginFileVersion(plugin))
            std::printf("plug-in: %s, file version %s\n", plugin.c_str(), version->c_str());
        else
            std::printf("plug-in: %s (no version resource on this platform)\n", plugin.c_str());
        return 0;
    }
    const std::string log = fs::absolute(o.log).string();

    std::optional<CountryFile> countries;
    {
        std::string error;
        const std::string ctyPath = !o.ctyGiven ? kDefaultCountryFile : o.cty.empty() ? "" : fs::absolute(o.cty).string();
        if (!ctyPath.empty() && (o.ctyGiven || fs::exists(ctyPath))) {
            countries = CountryFile::Load(ctyPath, &error);
            if (!countries && o.ctyGiven) throw UsageError(error);
        }
    }
    const CountryFile* cty = countries ? &*countries : nullptr;
    if (o.page) return MakePage(o, plugin, cty);
    if (o.pace) return MakePace(o, plugin, cty);
    if (o.audit) return AuditLogs(o, plugin, cty);
    if (o.forecast) return MakeForecast(o, plugin, cty);

    const RunPlan plan = PlanRun(o, log, cty);
    const LogSurvey& survey = plan.survey;
    const HostStation& station = plan.station;
    const bool cwContest = plan.cwContest;
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
    for (const CheckRequest& c : o.checks) {
        HostCheck check;
        check.call = c.call;
        check.band = c.band;
        check.mode = c.mode;
        check.wpxPrefix = c.prefix.value_or(WpxPrefix(c.call));
        const Location where = c.country ? CountryOption(*c.country, cty, c.call) : Locate(cty, c.call, std::nullopt, "");
        check.countryPrefix = where.found ? where.country : check.wpxPrefix;  // the check goes on for any country text
        check.continent = where.continent;
        checks.push_back(std::move(check));
    }

    auto session = OpenSession(plugin, o.dir);
    if (!session || !WriteRunSettings(cwContest)) return 1;

    if (o.html) session->AskForHtml();
    session->Reset(station, o.report);

    ProgressBar progress(survey.records, StderrIsTerminal());
    std::size_t accepted = 0, passed = 0, read = 0;
    // Every QSO passed is activity, whatever the plug-in makes of it.
    std::vector<std::int64_t> activity;
    LogSource source(log, cty);
    for (LogSource::Entry entry; source.Next(entry);) {
        if (entry.qso) {
            ++passed;
            accepted += static_cast<std::size_t>(session->Add(*entry.qso, static_cast<unsigned>(passed)) == 1);
            if (const auto minute = stats::OleDateMinute(entry.qso->time)) activity.push_back(*minute);
        }
        progress.Step(++read);
    }
    progress.Done();
    const stats::EntryCategory category = CategoryOfRun(o.category, ReadLogHeader(log));
    const stats::OperatingTime operating =
        stats::ComputeOperatingTime(stats::CountMinutes(std::move(activity)), category);

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
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(ParseOptions(argc, argv));
    } catch (const UsageError& e) {
        std::fprintf(stderr, "stats-host: %s\n\n%s", e.what(), kUsage);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "stats-host: %s\n", e.what());
    }
    return 2;
}
