#include "cabrillo.h"

#include <vector>

#include "text.h"

namespace tools::cabrillo {

namespace {

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    for (std::size_t i = 0; i < text.size();) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        const std::size_t from = i;
        while (i < text.size() && !IsBlank(text[i])) ++i;
        if (i > from) words.emplace_back(text.substr(from, i - from));
    }
    return words;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kStart = "START-OF-LOG:";

}  // namespace

std::optional<QsoLine> SplitQsoLine(std::string_view fields, std::string* problem) {
    const std::vector<std::string> w = Words(fields);
    if (w.size() < 10 || w.size() > 11) {
        if (problem != nullptr)
            *problem = std::to_string(w.size()) + (w.size() < 10 ? " fields, too few" : " fields, too many") +
                       ": a CQ WPX QSO has 10 (frequency, mode, date, time, own call, RST and serial sent, "
                       "call, RST and serial received), 11 with a transmitter number";
        return std::nullopt;
    }
    QsoLine q{w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], w[8], w[9], w.size() == 11 ? w[10] : ""};
    return q;
}

FormatError::FormatError(const std::string& file, std::size_t l, const std::string& problem)
    : std::runtime_error(file + ": line " + std::to_string(l) + ": " + problem), line(l) {}

Reader::Reader(std::string path) : path_(std::move(path)), in_(path_, std::ios::binary) {
    if (!in_) throw std::runtime_error(path_ + ": cannot open the file");
    std::string first;
    while (std::getline(in_, first)) {
        ++line_;
        consumed_ += first.size() + 1;
        std::string_view t = first;
        if (line_ == 1 && t.substr(0, kByteOrderMark.size()) == kByteOrderMark) t.remove_prefix(kByteOrderMark.size());
        t = TrimBlanks(t);
        if (t.empty()) continue;
        if (UpperAscii(t.substr(0, kStart.size())) == kStart) return;
        break;
    }
    throw FormatError(path_, line_ == 0 ? 1 : line_, "not a Cabrillo log: it does not start with START-OF-LOG:");
}

bool Reader::Next(std::string& fields, std::size_t& lineNumber) {
    if (ended_) return false;
    for (std::string text; std::getline(in_, text);) {
        ++line_;
        consumed_ += text.size() + 1;
        const std::string_view t = TrimBlanks(text);
        const std::size_t colon = t.find(':');
        if (colon == std::string_view::npos) continue;  // blank, or nothing a scorer reads
        const std::string tag = UpperAscii(TrimBlanks(t.substr(0, colon)));
        const std::string_view value = TrimBlanks(t.substr(colon + 1));
        if (tag == "QSO") {
            inHeader_ = false;
            fields.assign(value);
            lineNumber = line_;
            return true;
        }
        if (tag == "END-OF-LOG") {
            ended_ = true;
            return false;
        }
        if (inHeader_) header_.emplace_back(TrimBlanks(t.substr(0, colon)), value);
        if (tag == "CALLSIGN") callsign_ = UpperAscii(value);
        if (tag == "CONTEST") contest_ = UpperAscii(value);
        // X-QSO lines are QSOs the operator took out of the score; other
        // header lines mean nothing to the plug-in.
    }
    throw FormatError(path_, line_, "the log ends without END-OF-LOG: (the file is cut short?)");
}

bool LooksLikeCabrillo(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    std::string_view t = head;
    if (t.substr(0, kByteOrderMark.size()) == kByteOrderMark) t.remove_prefix(kByteOrderMark.size());
    t = TrimBlanks(t);
    if (UpperAscii(t.substr(0, kStart.size())) == kStart) return true;
    const std::string upper = UpperAscii(head);
    if (upper.find("<EOH>") != std::string::npos || upper.find("<EOR>") != std::string::npos ||
        upper.find("<CALL:") != std::string::npos)
        return false;
    const std::size_t dot = path.find_last_of('.');
    const std::string extension = dot == std::string::npos ? "" : UpperAscii(path.substr(dot));
    return extension == ".CBR" || extension == ".LOG";
}

}  // namespace tools::cabrillo
