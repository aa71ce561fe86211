#include "result_text.h"

#include <sstream>

namespace tools {

namespace {

std::int64_t NumberAfter(const std::string& line, std::size_t& at) {
    while (at < line.size() && !(line[at] >= '0' && line[at] <= '9') && line[at] != '-') ++at;
    std::int64_t value = 0;
    bool negative = false;
    if (at < line.size() && line[at] == '-') {
        negative = true;
        ++at;
    }
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') value = value * 10 + (line[at++] - '0');
    return negative ? -value : value;
}

}  // namespace

TextResult ParseTextResult(const std::string& text) {
    TextResult r;
    std::stringstream lines(text);
    bool inRows = false, total = false, score = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t at = 0;
        if (line.rfind("Band\t", 0) == 0) {
            inRows = true;
        } else if (line.rfind("Total\t", 0) == 0) {
            inRows = false;
            total = true;
            r.qsos = NumberAfter(line, at);
            r.points = NumberAfter(line, at);
            r.multipliers = NumberAfter(line, at);
        } else if (inRows) {
            const std::size_t tab = line.find('\t');
            if (tab == std::string::npos) continue;
            BandRow row;
            row.band = line.substr(0, tab);
            at = tab;
            row.qsos = NumberAfter(line, at);
            row.points = NumberAfter(line, at);
            r.bands.push_back(row);
        } else if (line.rfind("Dupe\t", 0) == 0) {
            r.dupes = NumberAfter(line, at);
        } else if (line.rfind("Bad QSO\t", 0) == 0) {
            r.bad = NumberAfter(line, at);
        } else if (line.rfind("Score = ", 0) == 0) {
            const std::size_t equals = line.rfind('=');
            at = equals;
            r.score = NumberAfter(line, at);
            score = true;
        }
    }
    r.complete = total && score;
    return r;
}

}  // namespace tools
