// The contest a log belongs to: its weekend, and whether several logs are of
// one contest. Times are host dates (days since 30 December 1899, UTC; day 0
// was a Saturday).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace stats {

// A contest lasts a weekend: QSOs spread over more than this are not one
// contest's.
inline constexpr double kLongestContestSpanDays = 21.0;
// Logs whose first QSOs are further apart (in whole days) are of other weekends.
inline constexpr double kSameWeekendDays = 2.0;

// The contest starts on a Saturday at 00:00 UTC: the day of the first QSO,
// or the Saturday before it when that is a Sunday.
double ContestStartDay(double firstQso);

// What one log says of its contest.
struct ContestOfLog {
    bool cw = true;       // scored as the CW contest, else SSB
    std::string named;    // the contest the log names; empty when it names none
    double first = 0.0;   // host date of its first QSO
};

// Why a log is not of the first log's contest.
struct OtherContest {
    enum class Reason { kMode, kNamed, kWeekend };
    Reason reason = Reason::kMode;
    std::size_t log = 0;  // the first log that differs from logs[0]
};
// Nothing when every log is of the first one's contest.
std::optional<OtherContest> FindOtherContest(const std::vector<ContestOfLog>& logs);

}  // namespace stats
