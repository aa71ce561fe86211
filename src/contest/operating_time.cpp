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
    OperatingClockRun run;
    for (const auto& [minute, count] : activity) {
        run.StepTo(minute);
        clock.push_back(run.Operating());
    }
    return clock;
}

OperatingTime ComputeOperatingTime(const MinuteCounts& activity, EntryCategory category) {
    OperatingTime t;
    t.limit = OperatingLimit(category);
    if (activity.empty()) return t;
    t.firstMinute = activity.front().first;
    t.lastMinute = activity.back().first;

    OperatingClockRun run;
    for (const auto& [minute, count] : activity) {
        const std::int64_t before = run.Operating();
        const std::optional<std::int64_t> previous = run.LastMinute();
        if (const auto off = run.StepTo(minute)) {
            t.offTimes.push_back(*off);
            t.offMinutes += off->Minutes();
        } else if (t.limit && !t.limitPassed && run.Operating() > *t.limit) {
            // Only a gap that counts can carry the clock past the limit.
            t.limitPassed = true;
            t.limitReachedMinute = *previous + (*t.limit - before);
            t.qsosWithin = t.qsos;
            t.firstPastMinute = minute;
        }
        t.qsos += count;
        if (t.limitPassed) t.qsosPast += count;
    }
    t.operatingMinutes = run.Operating();
    return t;
}

}  // namespace stats
