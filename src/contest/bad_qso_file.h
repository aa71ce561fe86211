// The bad-QSO ("UBN") file: one header line, then one report line per rejected
// QSO and per earlier match of a duplicate. 8-bit text, CR LF line ends, in the
// host's current directory. Opened, used and closed within one call; the lines
// of a run of additions are written together (see RunState).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stats::badqso {

inline constexpr const char kReasonWrongBand[] = "   WRONG BAND !!!";
inline constexpr const char kReasonWrongMode[] = "   WRONG MODE !!!";
inline constexpr const char kReasonNoNumber[] = "   NO RX NUMBER !!!";
inline constexpr const char kReasonDupe[] = "   DUPE !!!";

inline constexpr const char kDateTimeFormat[] = "%Y-%m-%d %H%M";

const char* HeaderLine(bool cwContest);
bool IsHeaderLine(std::string_view line);

// The fields of a report line, in the order a Cabrillo QSO line has them.
struct LineFields {
    std::uint32_t freqKHz = 0;
    std::string_view mode;
    std::string_view dateTime;  // formatted with kDateTimeFormat
    std::string_view ownCall;
    std::string_view rstSent;
    std::string_view exchSent;
    std::string_view call;
    std::string_view rstRcvd;
    std::string_view exchRcvd;
};

// One report line without its line end; line breaks in the fields become blanks.
std::string ReportLine(const LineFields& fields, const char* reason);

// True when `line` is a rejection line (wrong band, wrong mode, no number)
// whose worked call, date-time and mode fields are exactly the given ones, as
// ReportLine writes them. The fields are told apart by their separators, so a
// report or serial holding a double blank hides the worked call.
bool IsRejectionOf(std::string_view line, std::string_view call, std::string_view mode,
                   std::string_view dateTime);

// Replaces the file with a header and the given lines. The text goes to a
// temporary file first, which then takes the place of the old one, so a crash
// never leaves half a file.
bool Rewrite(const std::string& file, const char* header, const std::vector<std::string>& lines);

// The lines of a file's content without their line ends; a last line without
// one included.
std::vector<std::string> SplitLines(std::string_view content);

// Rejection lines: every line but a leading header line and the dupe lines, a
// last line without a line end included. This is the number of rejected QSOs,
// while a dupe line stands for one earlier match of a stored QSO, not for a
// QSO of its own.
std::int64_t CountRejectionLines(std::string_view content);

}  // namespace stats::badqso
