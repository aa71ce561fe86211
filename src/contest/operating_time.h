// The contest's operating-time rule, used by the plug-in's contest view and by
// the command-line tools alike.
//
// Every QSO of the submitted log is activity, dupes and QSOs the rules reject
// included, taken at the minute its Cabrillo line shows and in time order. A
// gap of 60 minutes or more between two consecutive QSOs is an off-time; any
// shorter gap is operating time. So after a last QSO at 09:27 the break is an
// off-time only if the next QSO comes at 10:27 or later. A QSO is past the
// limit when the operating time up to it exceeds the limit of the entry's
// category (36 hours single-op, 24 hours for the Classic overlay, none for
// multi-op); log checking removes every such QSO.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stats {

inline constexpr std::int64_t kOffTimeMinutes = 60;

enum class EntryCategory { kSingleOp = 0, kClassic = 1, kMultiOp = 2 };

// The operating-time limit in minutes; nothing for multi-op.
std::optional<std::int64_t> OperatingLimit(EntryCategory category);
// "single-op", "classic" or "multi-op".
const char* CategoryName(EntryCategory category);
// "47:59": minutes as hours and minutes, the way operating time is written
// (a negative count as 0:00).
std::string HoursMinutes(std::int64_t minutes);
// The settings file's number of a category (0, 1, 2); anything else is the
// default, single-op.
EntryCategory CategoryFromNumber(int number);

// How many QSOs fall on each minute (minutes as OleDateMinute counts them),
// in time order, each minute once.
using MinuteCounts = std::vector<std::pair<std::int64_t, std::uint32_t>>;
// The same from a list of minutes in any order.
MinuteCounts CountMinutes(std::vector<std::int64_t> minutes);

// An off-time: the minutes of the QSOs on either side of it.
struct OffTime {
    std::int64_t lastBefore = 0;
    std::int64_t nextAfter = 0;
    std::int64_t Minutes() const { return nextAfter - lastBefore; }
};

struct OperatingTime {
    std::size_t qsos = 0;
    std::int64_t firstMinute = 0;  // with qsos > 0
    std::int64_t lastMinute = 0;
    std::int64_t operatingMinutes = 0;
    std::vector<OffTime> offTimes;
    std::int64_t offMinutes = 0;
    std::optional<std::int64_t> limit;  // minutes

    // Once the operating time has passed the limit: the minute the clock
    // reached it (between the last QSO within and the first past it), the
    // QSOs within, in time order, and those past it from `firstPastMinute` on.
    bool limitPassed = false;
    std::int64_t limitReachedMinute = 0;
    std::size_t qsosWithin = 0;
    std::int64_t firstPastMinute = 0;
    std::size_t qsosPast = 0;

    // True for a QSO at `minute` that log checking removes.
    bool PastLimit(std::int64_t minute) const { return limitPassed && minute >= firstPastMinute; }
};

// The operating clock, run over the active minutes in time order: each step
// to the next active minute adds the gap, unless the gap is an off-time.
// Every figure of operating time is this clock's, so that the text result,
// the contest view, the page and the pace curve agree to the minute.
class OperatingClockRun {
public:
    // Steps to the next active minute (not before the last one); the
    // off-time it ends, if it ends one.
    std::optional<OffTime> StepTo(std::int64_t minute) {
        std::optional<OffTime> off;
        if (last_) {
            const std::int64_t gap = minute - *last_;
            if (gap >= kOffTimeMinutes) off = OffTime{*last_, minute};
            else operating_ += gap;
        }
        last_ = minute;
        return off;
    }
    std::int64_t Operating() const { return operating_; }
    const std::optional<std::int64_t>& LastMinute() const { return last_; }

private:
    std::int64_t operating_ = 0;
    std::optional<std::int64_t> last_;
};

OperatingTime ComputeOperatingTime(const MinuteCounts& activity, EntryCategory category);

// The operating minutes up to each minute of the activity, in the same order:
// what the clock shows at that minute's QSOs.
std::vector<std::int64_t> OperatingClock(const MinuteCounts& activity);

}  // namespace stats
