// The band-change rules of the multi-operator entries: a table of small
// transmitter histories, each with the breaches log checking finds in it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checking/band_changes.h"

using namespace stats;

namespace {

constexpr std::int64_t kHour = 60 * 480000;  // a clock hour's first minute

BandChangeQso Q(std::int64_t minute, const char* band, const char* transmitter = "0", const char* prefix = "K1",
                bool counted = true) {
    return BandChangeQso{kHour + minute, band, transmitter, prefix, counted};
}

// A transmitter going back and forth between two bands, a QSO a minute.
std::vector<BandChangeQso> Alternating(int qsos, int from = 0, const char* transmitter = "0") {
    std::vector<BandChangeQso> out;
    for (int i = 0; i < qsos; ++i) out.push_back(Q(from + i, i % 2 ? "40m" : "20m", transmitter));
    return out;
}

struct Breach {
    BandChangeBreach::Kind kind;
    std::string transmitter;
    std::vector<std::size_t> qsos;
};

struct Case {
    const char* what;
    TransmitterRule rule;
    std::vector<BandChangeQso> qsos;
    std::vector<Breach> expected;
};

std::vector<BandChangeQso> Join(std::vector<BandChangeQso> a, const std::vector<BandChangeQso>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(BandChanges, BreachesOfEachRule) {
    using K = BandChangeBreach::Kind;
    const std::vector<Case> cases = {
        {"multi-two: 8 changes in the hour are allowed", TransmitterRule::kMultiTwo, Alternating(9), {}},
        {"multi-two: from the ninth change on, the hour's QSOs go",
         TransmitterRule::kMultiTwo,
         Join(Alternating(11), {Q(30, "40m")}),
         {{K::kChangesInHour, "0", {9, 10, 11}}}},
        {"multi-two: the count starts again with the clock hour",
         TransmitterRule::kMultiTwo,
         Join(Alternating(6, 50), Alternating(6, 60)),
         {}},
        {"multi-two: each transmitter counts its own changes",
         TransmitterRule::kMultiTwo,
         Join(Alternating(9, 0, "0"), Alternating(9, 20, "1")),
         {}},
        {"multi-two: QSOs without a transmitter are not judged",
         TransmitterRule::kMultiTwo,
         {Q(0, "20m", ""), Q(1, "40m", ""), Q(2, "20m", ""), Q(3, "40m", ""), Q(4, "20m", ""), Q(5, "40m", ""),
          Q(6, "20m", ""), Q(7, "40m", ""), Q(8, "20m", ""), Q(9, "40m", ""), Q(10, "20m", "")},
         {}},
        {"multi-single: another band within 10 minutes goes, the band held",
         TransmitterRule::kMultiSingle,
         {Q(0, "20m"), Q(5, "40m"), Q(8, "40m"), Q(10, "40m"), Q(12, "20m")},
         {{K::kTenMinutes, "0", {1, 2}}, {K::kTenMinutes, "0", {4}}}},
        {"multi-single: the multiplier transmitter works new prefixes only",
         TransmitterRule::kMultiSingle,
         {Q(0, "20m", "0", "DL1"), Q(1, "15m", "1", "DL1"), Q(2, "15m", "1", "K3"), Q(3, "15m", "1", "DL1"),
          Q(4, "15m", "1", "K3")},
         {{K::kNotNewMultiplier, "1", {1}}, {K::kNotNewMultiplier, "1", {3, 4}}}},
        {"multi-single: a prefix only a dupe or rejected QSO had is still new",
         TransmitterRule::kMultiSingle,
         {Q(0, "20m", "0", "DL1", false), Q(1, "15m", "1", "DL1")},
         {}},
        {"no rule for other entries", TransmitterRule::kNone, Alternating(20), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<BandChangeBreach> found = CheckBandChanges(c.qsos, c.rule);
        ASSERT_EQ(found.size(), c.expected.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].kind, c.expected[i].kind);
            EXPECT_EQ(found[i].transmitter, c.expected[i].transmitter);
            EXPECT_EQ(found[i].qsos, c.expected[i].qsos);
        }
    }
}
