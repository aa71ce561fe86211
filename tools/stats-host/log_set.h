// The logs of one command: each read once into a ContestLog, with the own
// station and the contest of its run settled from the log and the command
// line; the country file and the list of active calls they are judged by.
#pragma once

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "contest_log.h"
#include "country_file.h"
#include "log_mapping.h"
#include "options.h"

namespace tools {

// The country file: --cty, else the package's when present; "" for none. A
// file named that cannot be read is bad usage.
std::optional<CountryFile> LoadCountryFile(const Options& o);
// The country file's path LoadCountryFile reads; "" for none.
std::string CountryFilePath(const Options& o);

// The list of active contest calls: --calls, else the package's when present;
// "" for none. A list named that cannot be read is bad usage. `source` gets
// the file's name.
std::optional<std::unordered_set<std::string>> LoadActiveCalls(const Options& o, std::string& source);

// A country given on the command line, as the country file names it: its
// primary prefix (or name), or an entity number when the file has numbers.
// The continent is the call's when the file places it in that country.
Location CountryOption(const std::string& text, const CountryFile* cty, const std::string& call);

// Reads one log and settles its run: the own call, country and continent
// (the options, else the log's), the contest dates, the plug-in's contest
// (the option, else the one the log names, else the mode of most QSOs) and
// the entry's category. What is amiss is said on standard error.
ContestLog ReadLog(const std::string& file, const Options& o, const CountryFile* cty);

// Why a log cannot make a page, a pace curve or an audit: no QSO the plug-in
// can take, or QSOs spread far beyond one contest. Nothing when it can.
std::optional<std::string> UnfitForContestTime(const ContestLog& log);

// The logs of a page or an audit (the command line's, in its order), each
// fit for contest time, all of one contest. Nothing, with the reason said on
// standard error and followed by `refusal` ("no page"), when they are not.
std::optional<std::vector<ContestLog>> ReadLogsOfOneContest(const Options& o, const CountryFile* cty,
                                                           const char* refusal);

// The start of the contest time of a page, a pace curve and an audit:
// --start, else the contest's start by the first QSO.
double ContestTimeStart(const Options& o, double firstQso);

// A host date as YYYY-MM-DD.
std::string DateText(double hostDate);

}  // namespace tools
