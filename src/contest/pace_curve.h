// A pace curve: a log's figures every 10 minutes of contest time, as
// `stats-host --pace` writes them from any log and the contest view reads
// them back as the reference a run races against; and the projection of a
// run's final score.
//
// The file is CSV with a header row, one row per line (CR LF or LF):
//   elapsed_minutes,qsos,points,prefixes,score,operating_minutes,contest
//   0,0,0,0,0,0,CQ-WPX-CW
//   10,14,38,13,494,9,CQ-WPX-CW
// A row holds the figures of the QSOs logged before that minute of the
// contest: the QSOs counted, their points, the prefixes, the score and the
// operating minutes by the operating-time rule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stats {

inline constexpr std::int64_t kPaceStepMinutes = 10;
inline constexpr const char kPaceHeader[] = "elapsed_minutes,qsos,points,prefixes,score,operating_minutes,contest";

struct PaceRow {
    std::int64_t elapsed = 0;  // minutes from the contest's start
    std::int64_t qsos = 0;
    std::int64_t points = 0;
    std::int64_t prefixes = 0;
    std::int64_t score = 0;
    std::int64_t operating = 0;  // minutes
};

struct PaceCurve {
    bool cw = true;
    std::vector<PaceRow> rows;  // rising elapsed minutes
};

// The file's text, CR LF line ends.
std::string WritePaceCurve(const PaceCurve& curve);

// Why a file is not a curve, without wording: the windows word it in their
// language.
struct PaceReadError {
    enum Kind {
        kTooLarge,   // more than a curve can hold
        kNoHeader,   // line 1 is not the header row
        kBadRow,     // `line` is not a curve row
        kBackwards,  // `line` does not come after the row before it
        kMixed,      // `line` names another contest than the rows before it
        kNoRows,
    } kind;
    std::size_t line = 0;
};

struct PaceReadResult {
    std::optional<PaceCurve> curve;
    PaceReadError error{PaceReadError::kNoRows, 0};
};

// Reads a curve from a file's whole content. Any bytes are safe to pass.
PaceReadResult ReadPaceCurve(std::string_view content);

inline constexpr std::size_t kMaxPaceFileBytes = 1 << 20;

// The figures at an elapsed minute, between two rows in proportion; before
// the first row the first, after the last the last. The curve has rows.
PaceRow PaceAt(const PaceCurve& curve, std::int64_t elapsed);

// The final score a run is heading for, from its figures now (`now.elapsed`
// is the contest minute they belong to) and the `operatingLeft` minutes it can
// still operate:
// - with a reference whose score at that minute is above 0, the run's score
//   grown as the reference's grew from that minute to its end;
// - otherwise by the run's own rates (`ownCurve` is its curve up to now): QSOs
//   at the mean of two rates per operating minute, the whole run's and the
//   last three hours' (when those hold 30 operating minutes or more), each
//   worth the points a QSO has brought so far, and prefixes growing with the
//   QSOs as they did over the last three hours (as a power of the QSO count,
//   the whole run's power when those hours added no QSO).
// Nothing when neither way has anything to go on.
std::optional<std::int64_t> ProjectFinalScore(const PaceRow& now, const PaceCurve* reference,
                                              const PaceCurve& ownCurve, std::int64_t operatingLeft);

}  // namespace stats
