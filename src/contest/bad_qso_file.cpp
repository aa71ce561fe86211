#include "contest/bad_qso_file.h"

#include <cstdio>
#include <cstring>

#include "contest/file_util.h"
#include "contest/text_util.h"

namespace stats::badqso {

namespace {
constexpr const char kHeaderCw[] = "CQ-WPX-CW TEST UBN file ";
constexpr const char kHeaderSsb[] = "CQ-WPX-SSB TEST UBN file ";
constexpr const char kSeparator[] = "  ";
constexpr const char kLineEnd[] = "\r\n";

bool EndsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// Consumes `prefix` from the front of `s`.
bool Take(std::string_view& s, std::string_view prefix) {
    if (s.substr(0, prefix.size()) != prefix) return false;
    s.remove_prefix(prefix.size());
    return true;
}

// True when `written` is `text` as a report line holds it.
bool IsWrittenAs(std::string_view written, std::string_view text) {
    if (written.size() != text.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (written[i] != (IsLineBreak(text[i]) ? ' ' : text[i])) return false;
    return true;
}

// Calls `visit` with each line of `content` without its line end; a last line
// without a line end is a line too.
template <typename Visit>
void ForEachLine(std::string_view content, Visit visit) {
    std::size_t from = 0;
    while (from < content.size()) {
        std::size_t end = content.find('\n', from);
        const std::size_t next = end == std::string_view::npos ? content.size() : end + 1;
        if (end == std::string_view::npos) end = content.size();
        std::size_t len = end - from;
        if (len > 0 && content[from + len - 1] == '\r' && end < content.size()) --len;
        visit(content.substr(from, len));
        from = next;
    }
}

// Consumes `text`, as a report line holds it, from the front of `s`.
bool TakeWritten(std::string_view& s, std::string_view text) {
    if (!IsWrittenAs(s.substr(0, text.size()), text)) return false;
    s.remove_prefix(text.size());
    return true;
}
}  // namespace

const char* HeaderLine(bool cwContest) { return cwContest ? kHeaderCw : kHeaderSsb; }

bool IsHeaderLine(std::string_view line) { return line == kHeaderCw || line == kHeaderSsb; }

std::string ReportLine(const LineFields& f, const char* reason) {
    std::string line = "QSO:  ";
    line += std::to_string(f.freqKHz);
    for (const std::string_view field :
         {f.mode, f.dateTime, f.ownCall, f.rstSent, f.exchSent, f.call, f.rstRcvd, f.exchRcvd}) {
        line += kSeparator;
        line += field;
    }
    // A line break in a host text would split its QSO over two lines of the
    // file, which then counts two bad QSOs and no longer matches on removal.
    line = OnOneLine(line);
    line += reason;
    return line;
}

bool IsRejectionOf(std::string_view line, std::string_view call, std::string_view mode,
                   std::string_view dateTime) {
    if (!Take(line, "QSO:  ")) return false;
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    if (digits == 0) return false;
    line.remove_prefix(digits);
    if (!Take(line, kSeparator) || !TakeWritten(line, mode) || !Take(line, kSeparator) || !Take(line, dateTime) ||
        !Take(line, kSeparator))
        return false;

    bool rejected = false;
    for (const char* reason : {kReasonWrongBand, kReasonWrongMode, kReasonNoNumber}) {
        if (EndsWith(line, reason)) {
            line.remove_suffix(std::strlen(reason));
            rejected = true;
            break;
        }
    }
    if (!rejected) return false;

    // What is left is own call, report and serial sent, worked call, report and
    // serial received. Reports and serials hold no double blank, so the worked
    // call is the third field from the right.
    std::string_view rest = line;
    for (int field = 0; field < 2; ++field) {
        const std::size_t at = rest.rfind(kSeparator);
        if (at == std::string_view::npos) return false;
        rest = rest.substr(0, at);
    }
    const std::size_t at = rest.rfind(kSeparator);
    if (at == std::string_view::npos) return false;
    return IsWrittenAs(rest.substr(at + 2), call);
}

bool Rewrite(const std::string& file, const char* header, const std::vector<std::string>& lines) {
    if (file.empty()) return false;
    std::string content = header;
    content += kLineEnd;
    for (const std::string& line : lines) {
        content += line;
        content += kLineEnd;
    }
    return ReplaceFileContent(file, content);
}

std::vector<std::string> SplitLines(std::string_view content) {
    std::vector<std::string> lines;
    ForEachLine(content, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::int64_t CountRejectionLines(std::string_view content) {
    std::int64_t count = 0;
    bool first = true;
    ForEachLine(content, [&](std::string_view line) {
        const bool header = first && IsHeaderLine(line);
        first = false;
        if (!header && !EndsWith(line, kReasonDupe)) ++count;
    });
    return count;
}

}  // namespace stats::badqso
