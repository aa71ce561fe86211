#include "contest/text_util.h"

#include <gtest/gtest.h>

#include "contest/qso_log.h"
#include "contest/run_state.h"

using namespace stats;

TEST(DecimalConversion, BehavesLikeAtoiWithoutOverflow) {
    EXPECT_EQ(ParseDecimal("1"), 1);
    EXPECT_EQ(ParseDecimal("  42abc"), 42);
    EXPECT_EQ(ParseDecimal("-7"), -7);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("abc"), 0);
    EXPECT_EQ(ParseDecimal("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseDecimal("-99999999999999999999"), INT_MIN);
}

TEST(ContestRules, MembershipIgnoresCaseOnly) {
    const RunState state;
    for (const char* band : {"160m", "80M", "40m", "20M", "15m", "10m"}) EXPECT_TRUE(state.g_ValidBands.Contains(band)) << band;
    for (const char* band : {"30m", "20", "", "20m ", "2m"}) EXPECT_FALSE(state.g_ValidBands.Contains(band)) << band;
    EXPECT_TRUE(state.g_ValidModes.Contains("ssb"));
    EXPECT_FALSE(state.g_ValidModes.Contains("RTTY"));
}

TEST(ReplaceAllText, InsertedTextIsNotSearchedAgain) {
    EXPECT_EQ(ReplaceAll("a<CR>b<CR>", "<CR>", "\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAll("", "x", "y"), "");
}
