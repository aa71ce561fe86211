// The check of a call being entered, and the refresh it asks of the windows.
#include "test_support.h"

using namespace stats;
using namespace stats::test;

namespace {

class CallCheck : public PluginTest {
protected:
    int Check(const char* call, const char* band, const char* mode = "CW", const char* prefix = "K1",
              const char* country = "K", const char* otherBand = nullptr) {
        CallCheckInput in;
        in.call = call;
        in.band = band;
        in.mode = mode;
        in.wpxPrefix = prefix;
        in.countryPrefix = country;
        in.otherBand = otherBand;
        return plugin.CheckCallFunc(in);
    }
    void HostVersion(const char* version) { plugin.State().g_HostVersion = version; }
};

TEST_F(CallCheck, AnswersFromTheLog) {
    EXPECT_EQ(Check("K1ZZ", "20m"), kCheckNewPrefix) << "empty log";
    Qso q;
    q.call = "K1ZZ";
    q.prefix = "K1";
    Add(q);
    EXPECT_EQ(Check("K1ZZ", "20m", "SSB"), kCheckDupe) << "the mode plays no part";
    EXPECT_EQ(Check("K1ZZ", "40m"), kCheckKnownPrefix);
    EXPECT_EQ(Check("K1YY", "20m"), kCheckKnownPrefix);
    EXPECT_EQ(Check("K2YY", "20m", "CW", "K2"), kCheckNewPrefix);
    EXPECT_EQ(Check("k1zz", "20m", "CW", "k1"), kCheckNewPrefix) << "calls and prefixes compare exactly";
    EXPECT_EQ(Check("K1ZZ", "20M"), kCheckKnownPrefix) << "20M is valid but not the logged 20m";
    EXPECT_EQ(Check("K1ZZ", "20m", "CW", "K1", ""), kCheckKnownPrefix) << "no country ends the check";
    EXPECT_EQ(Check(nullptr, "20m", "CW", "K9"), kCheckNewPrefix) << "a null call matches nothing";
    EXPECT_EQ(Check("K2AA", "20m", "CW", nullptr), kCheckNewPrefix);
}

TEST_F(CallCheck, InvalidInputDependsOnTheHostVersion) {
    for (const char* version : {"2.19", "2.20"}) {
        HostVersion(version);
        EXPECT_EQ(Check("K1ZZ", "20m", "CW", "K1", "K", "40m"), kCheckKnownPrefix) << version;
        EXPECT_EQ(Check("K1ZZ", "30m"), kCheckKnownPrefix) << version;
    }
    for (const char* version : {"Zelk", "2.2", "2.18", ""}) {
        HostVersion(version);
        EXPECT_EQ(Check("K1ZZ", "20m", "CW", "K1", "K", "40m"), kCheckInvalid) << version;
        EXPECT_EQ(Check("K1ZZ", "30m"), kCheckInvalid);
        EXPECT_EQ(Check("K1ZZ", nullptr), kCheckInvalid);
        EXPECT_EQ(Check("K1ZZ", "20m", "RTTY"), kCheckInvalid);
        EXPECT_EQ(Check("K1ZZ", "20m", nullptr), kCheckInvalid);
        EXPECT_EQ(Check("K1ZZ", "30m", "CW", "K1", ""), kCheckInvalid) << "validity comes before the country";
    }
    EXPECT_EQ(Check("K1ZZ", "20m", "CW", "K1", "K", "20M"), kCheckNewPrefix) << "bands agree ignoring case";
    EXPECT_EQ(Check("K1ZZ", "20m", "CW", "K1", "K", nullptr), kCheckNewPrefix);
}

TEST_F(CallCheck, PostsOneRefreshUntilTheWindowsHaveRefreshed) {
    Check("K1ZZ", "20m");
    EXPECT_EQ(platform.windows.posts, 0) << "no Setup window";
    platform.windows.running = true;
    Check("K1ZZ", "20m");
    Check("K1ZZ", "30m");
    EXPECT_EQ(platform.windows.posts, 1);
    plugin.State().g_bRefreshIdle = 1;  // what the refresh cycle does
    Check("K1ZZ", "20m");
    EXPECT_EQ(platform.windows.posts, 2);
    Remove(Qso{});  // removals post whenever the window is there
    Remove(Qso{});
    EXPECT_EQ(platform.windows.posts, 4);
}

}  // namespace
