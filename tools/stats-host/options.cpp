#include "options.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "log_mapping.h"
#include "text.h"

namespace tools {

const char kUsage[] =
    "usage: stats-host [options] LOG\n"
    "       stats-host --page FILE.html [options] LOG [LOG...]\n"
    "       stats-host --pace FILE.csv [options] LOG\n"
    "       stats-host --scoreboard FILE.xml [options] LOG\n"
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
    "  --scoreboard FILE.xml\n"
    "                      write the document the plug-in would post to the live\n"
    "                      scoreboards at the end of the log: its score, QSOs and\n"
    "                      points by band, operating time, and the station from the\n"
    "                      log's Cabrillo header (CALLSIGN, OPERATORS, CLUB, CATEGORY-)\n"
    "  --audit             report what log checking will take away, and what it costs:\n"
    "                      serials received wrong or out of sequence, QSOs not in the\n"
    "                      other log and busted calls (among the logs given), band\n"
    "                      changes, QSOs past the operating-time limit, calls not in\n"
    "                      MASTER.SCP worked once, each proven, likely busted or likely\n"
    "                      kept; first the score expected after checking and the\n"
    "                      floor, then the findings, the claimed score and the figures\n"
    "                      at risk by kind. One line each, fields separated by tabs.\n"
    "                      Read-only: it changes no log\n"
    "  --forecast          the projection of the final score as the contest view\n"
    "                      makes it, at each whole hour of the contest: CSV rows\n"
    "                      hour,score,low,projected,high (the range and the point)\n"
    "  --reference CURVE.csv  the pace curve --forecast projects against, as the\n"
    "                      contest view's reference (default: the log's own course)\n"
    "  --category C        single, classic or multi: the operating-time limit (36 h,\n"
    "                      24 h, none) of the text result and the audit, and the\n"
    "                      audit's band-change rule, the scoreboard document's\n"
    "                      operator and overlay; default: the log's CATEGORY-\n"
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
    "                      files (default: stats-host in the user's folder for such\n"
    "                      files, said after a score run; never the current one)\n"
    "  --plugin PATH       the plug-in to load (default: beside this program or its folder,\n"
    "                      or in ../lib/stats-host/ where it is installed)\n"
    "  --version           this program's version and the plug-in's, then stop\n"
    "  --cty PATH          country file, cty.dat or cty.csv (default:\n"
    "                      /usr/share/hamradio-files/cty.dat when present; \"\" for none:\n"
    "                      entity numbers and names stand for countries as written)\n";

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
            o.contest = LowerAscii(value(i));
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
        } else if (a == "--scoreboard") {
            o.scoreboard = value(i);
        } else if (a == "--category") {
            const std::string c = LowerAscii(value(i));
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
    if (o.scoreboard && (o.page || o.pace || o.audit))
        throw UsageError("--scoreboard writes one file: --page, --pace and --audit do not go with it");
    if (o.scoreboard && (o.html || o.report || !o.checks.empty()))
        throw UsageError("--scoreboard writes the document of one log: --html, --report and --check do not go with it");
    if (o.forecast && (o.page || o.pace || o.audit || o.scoreboard || o.html || o.report || !o.checks.empty()))
        throw UsageError(
            "--forecast writes a projection: --page, --pace, --audit, --scoreboard, --html, --report and --check do "
            "not go with it");
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

double ParseDateOption(const std::string& name, const std::string& text) {
    std::string digits;
    for (char c : text)
        if (c != '-') digits.push_back(c);
    const auto date = ParseAdifDate(digits);
    if (!date) throw UsageError(name + " \"" + text + "\" is not a date YYYY-MM-DD");
    return *date;
}

}  // namespace tools
