// Small text helpers shared by the rules. Texts are 8-bit strings in the host's
// code page; only ASCII letters fold when case is ignored.
#pragma once

#include <string>
#include <string_view>

// The formatting follows the C99 conventions on every build (MinGW's own
// printf included), so the checks use them too.
#if defined(__MINGW32__)
#define STATS_PRINTF_FORMAT(f, a) __attribute__((format(gnu_printf, f, a)))
#elif defined(__GNUC__)
#define STATS_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define STATS_PRINTF_FORMAT(f, a)
#endif

namespace stats {

bool EqualsNoCase(std::string_view a, std::string_view b);

// `text` with its ASCII letters in capitals, the way calls and Cabrillo tags
// are compared; in small letters.
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);

// Blanks as a log file may hold them: space, tab, CR, LF, form feed, vertical tab.
inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
// `text` without the blanks at either end.
std::string_view TrimBlanks(std::string_view text);
// `text` without the spaces and tabs at either end, as a settings line is read.
std::string_view TrimSpaces(std::string_view text);

// Decimal conversion as the C library's atoi does it (leading blanks, a sign,
// digits; anything else ends the number, no digits give 0), clamped to the int
// range instead of overflowing.
int ParseDecimal(std::string_view text);

// Appends printf-style formatted text.
void AppendFormat(std::string& out, const char* format, ...)
    STATS_PRINTF_FORMAT(2, 3)
    ;

std::string Format(const char* format, ...)
    STATS_PRINTF_FORMAT(1, 2)
    ;

// Carriage return and line feed: a host text holding one would break the line
// of a file or page it is written into.
inline bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// `text` with a blank in place of each line break, so that it stays on its line.
std::string OnOneLine(std::string_view text);

// Every occurrence of `pattern` (not empty) replaced; the inserted text is never searched again.
std::string ReplaceAll(std::string_view text, std::string_view pattern, std::string_view replacement);

}  // namespace stats
