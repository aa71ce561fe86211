#include "contest/bad_qso_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <utility>

#include "contest/contest_name.h"
#include "contest/file_util.h"
#include "contest/text_util.h"

namespace stats::badqso {

namespace {
const std::string kHeaderCw = std::string(kCwContestName) + " TEST UBN file ";
const std::string kHeaderSsb = std::string(kSsbContestName) + " TEST UBN file ";
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

const char* HeaderLine(bool cwContest) { return cwContest ? kHeaderCw.c_str() : kHeaderSsb.c_str(); }

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

    const auto worked = WorkedCallOf(line);
    return worked && IsWrittenAs(*worked, call);
}

std::optional<std::string_view> WorkedCallOf(std::string_view line) {
    bool rejected = false;
    for (const char* reason : {kReasonWrongBand, kReasonWrongMode, kReasonNoNumber}) {
        if (EndsWith(line, reason)) {
            line.remove_suffix(std::strlen(reason));
            rejected = true;
            break;
        }
    }
    if (!rejected) return std::nullopt;

    // What is left is own call, report and serial sent, worked call, report and
    // serial received. Reports and serials hold no double blank, so the worked
    // call is the third field from the right.
    std::string_view rest = line;
    for (int field = 0; field < 2; ++field) {
        const std::size_t at = rest.rfind(kSeparator);
        if (at == std::string_view::npos) return std::nullopt;
        rest = rest.substr(0, at);
    }
    const std::size_t at = rest.rfind(kSeparator);
    if (at == std::string_view::npos) return std::nullopt;
    return rest.substr(at + 2);
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

namespace stats {

namespace {

// Beyond this the waiting lines are written at once: a bound on the memory
// they take and on what a crash of the host could lose.
constexpr std::size_t kMostWaiting = 64 * 1024;
// The most a first read of the file takes at once.
constexpr std::uint64_t kMostReserved = 64 * 1024 * 1024;

bool IsDupeLine(std::string_view line) {
    const std::string_view reason = badqso::kReasonDupe;
    return line.size() >= reason.size() && line.substr(line.size() - reason.size()) == reason;
}

// A line's share of the digest of the counted lines; a sum of them does not
// depend on the lines' order.
std::uint64_t Digest(std::string_view line) { return std::hash<std::string_view>{}(line); }

}  // namespace

void BadQsoFile::EndRun() {
    if (!stale_) FlushWaitingLines();
    ForgetWaitingLines();
}

void BadQsoFile::StartRun(std::string name) {
    name_ = std::move(name);
    stale_ = true;
    ClearIndex();
    FlushWaitingLines();
}

void BadQsoFile::Queue(const std::string& line, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        waiting_ += line;
        waiting_ += badqso::kLineEnd;
    }
    if (!IsDupeLine(line)) Index(line, count);
    if (waiting_.size() >= kMostWaiting) FlushWaitingLinesUnlessFailing();
}

void BadQsoFile::Index(std::string_view line, std::size_t count) {
    rejections_ += static_cast<std::int64_t>(count);
    rejectionDigest_ += Digest(line) * count;
    const auto call = badqso::WorkedCallOf(line);
    std::vector<std::string>& lines = rejectionsByCall_[call ? std::string(*call) : std::string("\n")];
    lines.insert(lines.end(), count, std::string(line));
}

bool BadQsoFile::Unindex(const std::vector<std::string_view>& lines) {
    for (const std::string_view line : lines) {
        const auto call = badqso::WorkedCallOf(line);
        const auto it = rejectionsByCall_.find(call ? std::string(*call) : std::string("\n"));
        if (it == rejectionsByCall_.end()) return false;
        std::vector<std::string>& texts = it->second;
        const auto at = std::find(texts.begin(), texts.end(), line);
        if (at == texts.end()) return false;
        texts.erase(at);
        if (texts.empty()) rejectionsByCall_.erase(it);
        rejections_ -= 1;
        rejectionDigest_ -= Digest(line);
    }
    return true;
}

void BadQsoFile::ClearIndex() {
    rejections_ = 0;
    rejectionDigest_ = 0;
    rejectionsByCall_.clear();
}

bool BadQsoFile::HasRejectionOf(const badqso::LineFields& removed, const std::string (&ownLines)[3]) const {
    auto linesOf = [&](const std::string& call) -> const std::vector<std::string>* {
        const auto it = rejectionsByCall_.find(call);
        return it == rejectionsByCall_.end() ? nullptr : &it->second;
    };
    for (const std::string& own : ownLines) {
        const auto call = badqso::WorkedCallOf(own);
        if (const auto* lines = linesOf(call ? std::string(*call) : std::string("\n")))
            if (std::find(lines->begin(), lines->end(), own) != lines->end()) return true;
    }
    if (const auto* lines = linesOf(OnOneLine(removed.call)))
        for (const std::string& line : *lines)
            if (badqso::IsRejectionOf(line, removed.call, removed.mode, removed.dateTime)) return true;
    return false;
}

bool BadQsoFile::FlushWaitingLines() {
    if (stale_) stale_ = !Rewrite(HeaderText());
    if (stale_) return false;
    if (waiting_.empty() || name_.empty()) return true;
    bool written = waitingFrom_ < 0 && AppendToFile(name_, waiting_, &waitingFrom_);
    if (!written && waitingFrom_ >= 0) {
        // The write may have stopped part way: the file is put together again
        // without what it left, so that no line is doubled or cut. One deleted
        // from outside comes back with the lines.
        const auto before = ReadFileUpTo(name_, waitingFrom_);
        written = before && ReplaceFileContent(name_, *before + waiting_);
    }
    if (written) ForgetWaitingLines();
    return true;
}

void BadQsoFile::FlushWaitingLinesUnlessFailing() {
    if (!stale_ && waitingFrom_ < 0) FlushWaitingLines();
}

std::int64_t BadQsoFile::RejectedQsos() {
    if (!FlushWaitingLines()) return 0;
    return rejections_;
}

void BadQsoFile::RewriteAfterRemoval(const badqso::LineFields& removed, badqso::LineCounts dupeLines) {
    if (!FlushWaitingLines()) return;
    // The removed QSO's own rejection lines go by their exact text as well:
    // the field-wise test cannot find the worked call when a report or
    // serial holds a double blank.
    const std::string ownLines[] = {badqso::ReportLine(removed, badqso::kReasonWrongBand),
                                    badqso::ReportLine(removed, badqso::kReasonWrongMode),
                                    badqso::ReportLine(removed, badqso::kReasonNoNumber)};
    // Reading and writing the whole file is the dear part of a removal at a
    // long log, and most removals take no line out.
    std::unordered_map<std::string_view, std::size_t> linesToDrop;
    bool onlyDupeLinesToDrop = true;
    for (const auto& [text, count] : dupeLines) {
        if (count == 0) continue;
        linesToDrop.emplace(text, count);
        onlyDupeLinesToDrop = onlyDupeLinesToDrop && IsDupeLine(text);
    }
    if (linesToDrop.empty() && !HasRejectionOf(removed, ownLines)) return;
    if (!ReadContent()) return;  // a file that is there but unreadable is left alone
    const std::string& content = content_;

    // The new content is put together in one pass over the old, without a
    // copy of each line: the file runs to thousands of lines at a long log.
    std::string& next = next_;
    next.clear();  // not assigned: the buffer is kept
    next += HeaderText();
    const std::size_t headerSize = next.size();
    next.reserve(headerSize + content.size() + 2);
    std::vector<std::string_view> droppedRejections;
    std::int64_t keptRejections = 0;
    std::uint64_t keptDigest = 0;
    bool first = true;
    badqso::ForEachLine(content, [&](std::string_view text) {
        const bool header = first && badqso::IsHeaderLine(text);
        first = false;
        if (header) return;
        const bool dupe = IsDupeLine(text);
        bool drop = false;
        if (!linesToDrop.empty() && (dupe || !onlyDupeLinesToDrop)) {
            const auto it = linesToDrop.find(text);
            if (it != linesToDrop.end()) {
                if (--it->second == 0) linesToDrop.erase(it);
                drop = true;
            }
        }
        if (!drop && !dupe)
            drop = std::find(std::begin(ownLines), std::end(ownLines), text) != std::end(ownLines) ||
                   badqso::IsRejectionOf(text, removed.call, removed.mode, removed.dateTime);
        if (drop) {
            if (!dupe) droppedRejections.push_back(text);
            return;
        }
        if (!dupe) {
            ++keptRejections;
            keptDigest += Digest(text);
        }
        next += text;
        next += badqso::kLineEnd;
    });
    if (!Rewrite(next)) return;
    ForgetWaitingLines();
    // What the file now holds is what is counted from here on. Mostly that is
    // what was counted less the lines that went; only a file changed from
    // outside needs its lines counted again.
    std::uint64_t droppedDigest = 0;
    for (const std::string_view line : droppedRejections) droppedDigest += Digest(line);
    const bool sameAsCounted = keptRejections + static_cast<std::int64_t>(droppedRejections.size()) == rejections_ &&
                               keptDigest + droppedDigest == rejectionDigest_;
    if (sameAsCounted && Unindex(droppedRejections)) return;
    ClearIndex();
    badqso::ForEachLine(std::string_view(next).substr(headerSize), [&](std::string_view line) {
        if (!IsDupeLine(line)) Index(line, 1);
    });
}

void BadQsoFile::ForgetWaitingLines() {
    waiting_.clear();
    waitingFrom_ = -1;
}

bool BadQsoFile::ReadContent() {
    // The first read takes its buffer whole, at the file's size, rather than
    // growing it step by step: each step is fresh memory and a copy.
    // (A file far beyond what a log gives is read as before.)
    if (content_.capacity() < kMostWaiting)
        content_.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(FileSizeOrZero(name_), kMostReserved)) +
                         waiting_.size() + 1);
    // One deleted from outside reads as empty: it comes back with the next lines.
    if (!ReadFileUpToInto(name_, waitingFrom_, content_)) return false;
    content_ += waiting_;
    return true;
}

std::string BadQsoFile::HeaderText() const {
    std::string text = badqso::HeaderLine(cwContest_ != 0);
    text += badqso::kLineEnd;
    return text;
}

bool BadQsoFile::Rewrite(std::string_view content) {
    if (name_.empty()) return false;
    return ReplaceFileContent(name_, content);
}

}  // namespace stats
