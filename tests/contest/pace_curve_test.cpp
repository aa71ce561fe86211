// The projection's range around its point: the growth still to come spread
// either way, narrower as less is to come, and closed when nothing is.
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "contest/pace_curve.h"

using namespace stats;

namespace {

TEST(ProjectionRange, SpreadsTheGrowthStillToCome) {
    constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max() / 2;
    struct Case {
        const char* what;
        std::int64_t score, projected;
        double width;
        std::int64_t low, high;
    } cases[] = {
        {"four times the score, half either way", 10'000, 40'000, 0.5, 20'000, 80'000},
        {"early: most of the score still ahead", 8'000'000, 36'000'000, kOwnRangeWidth, 21'265'624, 60'943'428},
        {"late: the same point, a narrower range", 30'000'000, 36'000'000, kOwnRangeWidth, 33'774'511, 38'372'133},
        {"the contest over", 36'000'000, 36'000'000, kOwnRangeWidth, 36'000'000, 36'000'000},
        {"a reference whose score fell: still in order", 1'000, 250, 0.5, 125, 500},
        {"nothing made yet", 0, 0, 0.5, 0, 0},
        {"no score to grow from", 0, 5'000, 0.5, 5'000, 5'000},
        {"beyond any score: held, not wrapped", 1'000'000'000'000'000, kMost, 0.5, 0, kMost},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ScoreProjection r = ProjectionRange(c.score, c.projected, c.width);
        EXPECT_EQ(r.projected, c.projected);
        if (c.low > 0) {
            EXPECT_NEAR(static_cast<double>(r.low), static_cast<double>(c.low), 1.0);
        }
        EXPECT_NEAR(static_cast<double>(r.high), static_cast<double>(c.high), 1.0);
        EXPECT_LE(r.low, r.projected);
        EXPECT_LE(r.projected, r.high);
    }
}

}  // namespace
