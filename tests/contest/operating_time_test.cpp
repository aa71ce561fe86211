// The operating-time rule on the run as the host builds it: QSOs added in any
// order, dupes and rejected QSOs among them, and removed again. The contest
// view follows the run a step at a time; a view opened at the end must see
// the same.
#include <mutex>
#include <optional>

#include "contest/live_figures.h"
#include "contest/operating_time.h"
#include "test_support.h"

using namespace stats;
using namespace stats::test;

namespace {

struct Step {
    bool add = true;
    int minute = 0;  // from 29 May 2021 00:00
    double second = 0.0;
    std::string call = "DL1AAA";
    std::string band = "20m";
};

Step Logged(int minute, const char* call = "DL1AAA", const char* band = "20m", double second = 0.0) {
    return Step{true, minute, second, call, band};
}
Step Deleted(int minute, const char* call = "DL1AAA", const char* band = "20m") {
    return Step{false, minute, 0.0, call, band};
}
// A QSO every `step` minutes from `from` to `to`, each with a call of its own.
std::vector<Step> Every(int step, int from, int to) {
    std::vector<Step> steps;
    for (int m = from; m <= to; m += step) steps.push_back(Step{true, m, 0.0, "K" + std::to_string(m) + "X", "20m"});
    return steps;
}

struct Expected {
    std::int64_t operating;
    std::size_t offTimes;
    std::int64_t offMinutes;
    std::size_t past = 0;
    std::optional<std::int64_t> firstPast = std::nullopt;  // minute from 29 May 00:00
    std::int64_t reached = 0;
};

struct Case {
    const char* name;
    EntryCategory category;
    std::vector<Step> steps;
    Expected expected;
};

class OperatingTimeRule : public PluginTest {};

TEST_F(OperatingTimeRule, FollowsTheRunAsTheHostBuildsIt) {
    auto with = [](std::vector<Step> a, const std::vector<Step>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::vector<Case> cases = {
        {"the last QSO at 09:27 and the next at 10:27 make an off-time", EntryCategory::kSingleOp,
         {Logged(540), Logged(567, "K1ABC"), Logged(627, "K2ABC")}, {27, 1, 60}},
        {"59 minutes are operating time, 61 an off-time", EntryCategory::kSingleOp,
         {Logged(567), Logged(626, "K1ABC"), Logged(687, "K2ABC")}, {59, 1, 61}},
        {"a QSO is at the minute its Cabrillo line shows: 10:26:59.6 is 10:27", EntryCategory::kSingleOp,
         {Logged(567), Logged(626, "K1ABC", "20m", 59.6)}, {0, 1, 60}},
        {"QSOs passed out of order are taken in time order", EntryCategory::kSingleOp,
         {Logged(600), Logged(480, "K1ABC"), Logged(540, "K2ABC")}, {0, 2, 120}},
        {"a removal joins two gaps into an off-time", EntryCategory::kSingleOp,
         {Logged(540), Logged(580, "K1ABC"), Logged(620, "K2ABC"), Deleted(580, "K1ABC")}, {0, 1, 80}},
        {"a dupe and a rejected QSO bridge gaps", EntryCategory::kSingleOp,
         {Logged(540), Logged(590), Logged(640, "K1ABC", "30m")}, {100, 0, 0}},
        {"a rejected QSO removed again no longer bridges", EntryCategory::kSingleOp,
         {Logged(540), Logged(590), Logged(640, "K1ABC", "30m"), Logged(700, "K2ABC"), Deleted(640, "K1ABC", "30m")},
         {50, 1, 110}},
        {"the limit reached exactly: every QSO counts", EntryCategory::kSingleOp, Every(30, 0, 2160),
         {2160, 0, 0}},
        {"one minute past the limit: the last QSO goes", EntryCategory::kSingleOp,
         with(Every(30, 0, 2160), {Logged(2161, "K9ZZZ")}), {2161, 0, 0, 1, 2161, 2160}},
        {"an off-time stops the clock short of the limit", EntryCategory::kSingleOp,
         with(Every(30, 0, 2130), {Logged(2220, "K9ZZZ"), Logged(2250, "K9ZZY")}), {2160, 1, 90}},
        {"Classic counts 24 hours", EntryCategory::kClassic, Every(30, 0, 2160), {2160, 0, 0, 24, 1470, 1440}},
        {"multi-op has no limit", EntryCategory::kMultiOp, Every(30, 0, 2850), {2850, 0, 0}},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        LiveFigures following;
        for (const Step& s : c.steps) {
            Qso q;
            q.call = s.call;
            q.band = s.band;
            q.time = At(2021, 5, 29, 0, s.minute, s.second);
            s.add ? Add(q) : Remove(q);
            std::lock_guard<std::mutex> lock(plugin.State().guard);
            following.Collect(plugin.State());
        }
        following.Digest();
        LiveFigures opened;
        {
            std::lock_guard<std::mutex> lock(plugin.State().guard);
            opened.Collect(plugin.State());
        }
        opened.Digest();
        EXPECT_EQ(following.Activity(), opened.Activity());

        const OperatingTime t = ComputeOperatingTime(following.Activity(), c.category);
        const std::int64_t day = *OleDateMinute(At(2021, 5, 29));
        EXPECT_EQ(t.operatingMinutes, c.expected.operating);
        EXPECT_EQ(t.offTimes.size(), c.expected.offTimes);
        EXPECT_EQ(t.offMinutes, c.expected.offMinutes);
        EXPECT_EQ(t.qsosPast, c.expected.past);
        EXPECT_EQ(t.limitPassed, c.expected.firstPast.has_value());
        if (c.expected.firstPast) {
            EXPECT_EQ(t.firstPastMinute - day, *c.expected.firstPast);
            EXPECT_EQ(t.limitReachedMinute - day, c.expected.reached);
            EXPECT_EQ(t.qsosWithin + t.qsosPast, t.qsos);
        }
    }
}

}  // namespace
