#include "contest/operating_time.h"

#include <algorithm>

namespace stats {

std::optional<std::int64_t> OperatingLimit(EntryCategory category) {
    switch (category) {
        case EntryCategory::kSingleOp:
            return 36 * 60;
        case EntryCategory::kClassic:
            return 24 * 60;
        case EntryCategory::kMultiOp:
            break;
    }
    return std::nullopt;
}

const char* CategoryName(EntryCategory category) {
    switch (category) {
        case EntryCategory::kSingleOp:
            return "single-op";
        case EntryCategory::kClassic:
            return "classic";
        case EntryCategory::kMultiOp:
            break;
    }
    return "multi-op";
}

std::string HoursMinutes(std::int64_t minutes) {
    if (minutes < 0) minutes = 0;
    const std::int64_t m = minutes % 60;
    return std::to_string(minutes / 60) + (m < 10 ? ":0" : ":") + std::to_string(m);
}

EntryCategory CategoryFromNumber(int number) {
    if (number == 1) return EntryCategory::kClassic;
    if (number == 2) return EntryCategory::kMultiOp;
    return EntryCategory::kSingleOp;
}

MinuteCounts CountMinutes(std::vector<std::int64_t> minutes) {
    std::sort(minutes.begin(), minutes.end());
    MinuteCounts counts;
    for (const std::int64_t m : minutes) {
        if (!counts.empty() && counts.back().first == m)
            ++counts.back().second;
        else
            counts.emplace_back(m, 1);
    }
    return counts;
}

std::vector<std::int64_t> OperatingClock(const MinuteCounts& activity) {
    std::vector<std::int64_t> clock;
    clock.reserve(activity.size());
    std::int64_t operating = 0;
    for (std::size_t i = 0; i < activity.size(); ++i) {
        if (i > 0) {
            const std::int64_t gap = activity[i].first - activity[i - 1].first;
            if (gap < kOffTimeMinutes) operating += gap;
        }
        clock.push_back(operating);
    }
    return clock;
}

OperatingTime ComputeOperatingTime(const MinuteCounts& activity, EntryCategory category) {
    OperatingTime t;
    t.limit = OperatingLimit(category);
    if (activity.empty()) return t;
    t.firstMinute = activity.front().first;
    t.lastMinute = activity.back().first;

    std::int64_t operating = 0;
    for (std::size_t i = 0; i < activity.size(); ++i) {
        const auto [minute, count] = activity[i];
        if (i > 0) {
            const std::int64_t before = activity[i - 1].first;
            const std::int64_t gap = minute - before;
            if (gap >= kOffTimeMinutes) {
                t.offTimes.push_back(OffTime{before, minute});
                t.offMinutes += gap;
            } else {
                // Only a gap that counts can carry the clock past the limit.
                if (t.limit && !t.limitPassed && operating + gap > *t.limit) {
                    t.limitPassed = true;
                    t.limitReachedMinute = before + (*t.limit - operating);
                    t.qsosWithin = t.qsos;
                    t.firstPastMinute = minute;
                }
                operating += gap;
            }
        }
        t.qsos += count;
        if (t.limitPassed) t.qsosPast += count;
    }
    t.operatingMinutes = operating;
    return t;
}

}  // namespace stats
