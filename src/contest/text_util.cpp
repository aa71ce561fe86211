#include "contest/text_util.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>

namespace stats {

namespace {
char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

void AppendFormatV(std::string& out, const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    char small[256];
    const int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0) return;
    if (static_cast<std::size_t>(n) < sizeof small) {
        out.append(small, static_cast<std::size_t>(n));
        return;
    }
    const std::size_t old = out.size();
    out.resize(old + static_cast<std::size_t>(n) + 1);
    std::vsnprintf(&out[old], static_cast<std::size_t>(n) + 1, format, args);
    out.resize(old + static_cast<std::size_t>(n));
}
}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = FoldAscii(c);
    return out;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view TrimSpaces(std::string_view s) {
    const auto from = s.find_first_not_of(" \t");
    if (from == std::string_view::npos) return {};
    return s.substr(from, s.find_last_not_of(" \t") - from + 1);
}

int ParseDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

void AppendFormat(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendFormatV(out, format, args);
    va_end(args);
}

std::string Format(const char* format, ...) {
    std::string out;
    va_list args;
    va_start(args, format);
    AppendFormatV(out, format, args);
    va_end(args);
    return out;
}

std::string OnOneLine(std::string_view text) {
    std::string line(text);
    std::replace_if(line.begin(), line.end(), IsLineBreak, ' ');
    return line;
}

std::string ReplaceAll(std::string_view text, std::string_view pattern, std::string_view replacement) {
    if (pattern.empty()) return std::string(text);
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(pattern, from)) != std::string_view::npos; from = at + pattern.size()) {
        out.append(text.substr(from, at - from));
        out.append(replacement);
    }
    out.append(text.substr(from));
    return out;
}

}  // namespace stats
