// A reader of Cabrillo contest logs: the header lines it needs (CALLSIGN,
// CONTEST) and the QSO lines, one at a time with their line numbers, so that
// a line that does not parse can be reported and skipped.
#pragma once

#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tools::cabrillo {

// One QSO line of a CQ WPX log, its fields as written:
// "QSO: freq mo date time call rst exch call rst exch [t]".
struct QsoLine {
    std::string frequency, mode, date, time;
    std::string ownCall, rstSent, exchangeSent;
    std::string call, rstReceived, exchangeReceived;
    std::string transmitter;  // multi-transmitter logs only; empty otherwise
};

// The fields of a QSO line (the text after "QSO:"); nothing, with the reason
// in `problem`, when there are too few or too many of them.
std::optional<QsoLine> SplitQsoLine(std::string_view fields, std::string* problem);

// Input that is not a Cabrillo log, or one cut short. what() reads
// "FILE: line N: problem".
class FormatError : public std::runtime_error {
public:
    FormatError(const std::string& file, std::size_t line, const std::string& problem);
    std::size_t line;
};

class Reader {
public:
    // Throws std::runtime_error when the file cannot be opened and
    // FormatError when it does not start with START-OF-LOG:.
    explicit Reader(std::string path);

    // The next QSO line's fields (the text after "QSO:") and its line number;
    // false after END-OF-LOG:. Throws FormatError when the file ends without
    // END-OF-LOG:: a line cut short can still read as a QSO (serial 12 of
    // 123), so a truncated log is not scored at all.
    bool Next(std::string& fields, std::size_t& lineNumber);

    const std::string& Path() const { return path_; }
    // The header's values as far as the file has been read.
    const std::string& Callsign() const { return callsign_; }
    const std::string& Contest() const { return contest_; }
    // The header's lines before the first QSO line, each tag as written and
    // its value, both trimmed.
    const std::vector<std::pair<std::string, std::string>>& HeaderLines() const { return header_; }
    std::uint64_t BytesRead() const { return consumed_; }

private:
    std::string path_;
    std::ifstream in_;
    std::size_t line_ = 0;
    std::uint64_t consumed_ = 0;
    bool ended_ = false;
    std::string callsign_, contest_;
    std::vector<std::pair<std::string, std::string>> header_;
    bool inHeader_ = true;
};

// Whether a file is a Cabrillo log rather than ADIF: it starts with
// START-OF-LOG:, or it has no ADIF tag near its start and is named .cbr or .log.
bool LooksLikeCabrillo(const std::string& path);

}  // namespace tools::cabrillo
