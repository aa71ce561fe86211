// stats-host: plays the logging program for the statistics plug-in. Reads an
// ADIF log, loads the plug-in, and runs one statistics run through its
// exported functions exactly as the host does: ResetStats0, one AddData0 per
// QSO in log order, optional call checks, GetResult0; prints the result.
//
// Exit status: 0 done; 2 bad input or usage (the message names the file, the
// record and the field); 1 the plug-in or the working directory failed.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "adif.h"
#include "country_file.h"
#include "host_platform.h"
#include "host_session.h"
#include "log_mapping.h"
#include "settings_key.h"
#include "wpx_prefix.h"

namespace fs = std::filesystem;
using namespace tools;

namespace {

constexpr const char kUsage[] =
    "usage: stats-host [options] LOG.adi\n"
    "\n"
    "Scores an ADIF log through the statistics plug-in, as the logging program does.\n"
    "\n"
    "  --call CALL         own call (default: STATION_CALLSIGN or OPERATOR of the log)\n"
    "  --country C         own country prefix, or a DXCC entity number (default: MY_DXCC)\n"
    "  --continent CONT    own continent (default: the own country's)\n"
    "  --start YYYY-MM-DD  contest start (default: the first QSO's date)\n"
    "  --end YYYY-MM-DD    contest end (default: the last QSO's date)\n"
    "  --contest cw|ssb    the plug-in's contest mode (default: the mode of most QSOs)\n"
    "  --html              ask for the HTML result (setVersion first)\n"
    "  --report            a report run: the plug-in also writes the Cabrillo log\n"
    "  --check CALL        after the log, check CALL as if it were being entered;\n"
    "    --band B --mode M   its band and mode (required),\n"
    "    --prefix P          its WPX prefix (default: from the call),\n"
    "    --country C         its country prefix (default: from the country file);\n"
    "                        repeat --check for more calls\n"
    "  --dir D             working directory for the settings, bad-QSO and Cabrillo\n"
    "                      files (default: the current one)\n"
    "  --plugin PATH       the plug-in to load (default: beside this program or its folder)\n"
    "  --cty PATH          country file cty.csv (default: /usr/share/hamradio-files/cty.csv\n"
    "                      when present; \"\" for none: entity numbers stand for countries)\n";

constexpr const char kDefaultCountryFile[] = "/usr/share/hamradio-files/cty.csv";
constexpr const char kSettingsFile[] = "Plugins/CQ-WPX-CW-SSB.ini";
constexpr std::size_t kProgressFrom = 10000;  // records; smaller logs finish before a bar would help

struct CheckRequest {
    std::string call, band, mode;
    std::optional<std::string> prefix, country;
};

struct Options {
    std::string log;
    std::optional<std::string> call, country, continent, start, end, contest;
    bool html = false, report = false;
    std::vector<CheckRequest> checks;
    std::string dir, plugin, cty;
    bool ctyGiven = false;
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
        } else if (a == "--cty") {
            o.cty = value(i);
            o.ctyGiven = true;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            throw UsageError("unknown option " + a);
        } else if (o.log.empty()) {
            o.log = a;
        } else {
            throw UsageError("one log at a time (" + o.log + " and " + a + ")");
        }
    }
    if (o.log.empty()) throw UsageError("no log file given");
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
    for (const fs::path& candidate : {fs::path(folder) / PluginFileName(), fs::path(folder) / ".." / PluginFileName()}) {
        std::error_code ec;
        if (fs::exists(candidate, ec)) return fs::absolute(candidate).lexically_normal().string();
    }
    return PluginFileName();  // left to the system's search
}

// What the first reading of the log finds out before the plug-in sees anything.
struct LogSurvey {
    std::size_t records = 0, mappable = 0, cw = 0, ssb = 0;
    std::optional<double> first, last;
    std::string stationCall;
    std::optional<int> stationDxcc;
};

LogSurvey Survey(const std::string& path, const CountryFile* countries) {
    LogSurvey s;
    adif::Reader reader(path);
    adif::Record record;
    while (reader.Next(record)) {
        ++s.records;
        std::string skipped;
        StationFields station;
        const auto qso = MapRecord(record, path, countries, &skipped, &station);
        if (s.stationCall.empty()) s.stationCall = station.call;
        if (!s.stationDxcc) s.stationDxcc = station.dxcc;
        if (!qso) {
            std::fprintf(stderr, "%s: record %zu skipped: %s\n", path.c_str(), record.number, skipped.c_str());
            continue;
        }
        ++s.mappable;
        if (qso->mode == "CW") ++s.cw;
        if (qso->mode == "SSB") ++s.ssb;
        const double t = qso->time.m_dt;
        if (!s.first || t < *s.first) s.first = t;
        if (!s.last || t > *s.last) s.last = t;
    }
    return s;
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

int Run(const Options& o) {
    // Paths are settled before the working directory changes.
    const std::string log = fs::absolute(o.log).string();
    const std::string plugin = o.plugin.empty() ? FindPlugin() : fs::absolute(o.plugin).string();

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

    const LogSurvey survey = Survey(log, cty);
    if (survey.mappable == 0) std::fprintf(stderr, "%s: no QSO to pass to the plug-in\n", log.c_str());

    HostStation station;
    station.call = o.call.value_or(survey.stationCall);
    std::string ownContinent;
    if (o.country) {
        const bool number = !o.country->empty() && o.country->find_first_not_of("0123456789") == std::string::npos;
        station.countryPrefix = number ? CountryOfDxcc(std::stoi(*o.country), cty, &ownContinent) : *o.country;
        if (!number && cty != nullptr)
            for (const CountryEntity& e : cty->Entities())
                if (e.prefix == *o.country) ownContinent = e.continent;
    } else if (survey.stationDxcc) {
        station.countryPrefix = CountryOfDxcc(*survey.stationDxcc, cty, &ownContinent);
    } else if (cty != nullptr && !station.call.empty()) {
        if (const auto m = cty->ByCall(station.call)) {
            station.countryPrefix = m->entity->prefix;
            ownContinent = m->continent;
        }
    }
    station.continent = o.continent.value_or(ownContinent);
    const double first = survey.first.value_or(0.0), last = survey.last.value_or(0.0);
    station.start = stats::OleDateTime::Valid(o.start ? ParseDateOption("--start", *o.start) : first);
    station.end = stats::OleDateTime::Valid(o.end ? ParseDateOption("--end", *o.end) : last);
    const bool cwContest = o.contest ? *o.contest == "cw" : survey.cw > survey.ssb;

    std::string error;
    auto session = HostSession::Open(plugin, &error);
    if (!session) {
        std::fprintf(stderr, "stats-host: %s\n", error.c_str());
        return 1;
    }

    std::error_code ec;
    if (!o.dir.empty()) {
        fs::create_directories(o.dir, ec);
        fs::current_path(o.dir, ec);
        if (ec) {
            std::fprintf(stderr, "stats-host: cannot work in %s: %s\n", o.dir.c_str(), ec.message().c_str());
            return 1;
        }
    }
    // The operator's contest-mode choice lives in the plug-in's settings file.
    // "Start" = 1 keeps the plug-in's own windows closed: there is no screen here.
    fs::create_directories("Plugins", ec);
    if (!WriteSettingsKey(kSettingsFile, "Settings", "CW", cwContest ? "1" : "0") ||
        !WriteSettingsKey(kSettingsFile, "Settings", "Start", "1")) {
        std::fprintf(stderr, "stats-host: cannot write %s in %s\n", kSettingsFile, fs::current_path(ec).string().c_str());
        return 1;
    }

    if (o.html) session->AskForHtml();
    session->Reset(station, o.report);

    ProgressBar progress(survey.records, StderrIsTerminal());
    std::size_t accepted = 0, passed = 0;
    adif::Reader reader(log);
    adif::Record record;
    while (reader.Next(record)) {
        const auto qso = MapRecord(record, log, cty, nullptr);
        if (qso) {
            ++passed;
            accepted += static_cast<std::size_t>(session->Add(*qso, static_cast<unsigned>(passed)) == 1);
        }
        progress.Step(record.number);
    }
    progress.Done();

    std::vector<int> codes;
    for (const CheckRequest& c : o.checks) {
        HostCheck check;
        check.call = c.call;
        check.band = c.band;
        check.mode = c.mode;
        check.wpxPrefix = c.prefix.value_or(WpxPrefix(c.call));
        if (c.country) {
            check.countryPrefix = *c.country;
        } else if (const auto m = cty != nullptr ? cty->ByCall(c.call) : std::nullopt) {
            check.countryPrefix = m->entity->prefix;
            check.continent = m->continent;
        } else {
            check.countryPrefix = check.wpxPrefix;  // the check goes on for any country text
        }
        codes.push_back(session->Check(check));
    }

    SetBinaryStdout();
    const std::string result = session->Result();
    std::fwrite(result.data(), 1, result.size(), stdout);
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
