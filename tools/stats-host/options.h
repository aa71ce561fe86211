// stats-host's command line: its options, read into one place and checked
// for what does not go together.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "contest/operating_time.h"

namespace tools {

// The help text: --help prints it, and every usage error ends with it.
extern const char kUsage[];

struct CheckRequest {
    std::string call, band, mode;
    std::optional<std::string> prefix, country;
};

struct Options {
    std::string log;
    std::vector<std::string> moreLogs;  // a page's further logs
    std::optional<std::string> page, calls, pace, scoreboard;
    std::optional<stats::EntryCategory> category;
    std::optional<std::string> call, country, continent, start, end, contest;
    bool html = false, report = false;
    bool audit = false;
    bool forecast = false;
    std::optional<std::string> reference;  // --forecast's
    std::vector<CheckRequest> checks;
    std::string dir, plugin, cty;
    bool ctyGiven = false;
    bool version = false;
};

// Bad usage: the message and the help, status 2.
class UsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The options of the command line; throws UsageError for what is wrong, and
// prints the help and stops for --help.
Options ParseOptions(int argc, char** argv);

// A date option: YYYY-MM-DD or YYYYMMDD, the day's start as a host date.
double ParseDateOption(const std::string& name, const std::string& text);

}  // namespace tools
