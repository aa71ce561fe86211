// Received serials judged without the other station's log: a table of the
// numbers received from a few stations, each with the QSOs flagged and why.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "checking/received_serials.h"

using namespace stats;

namespace {

constexpr std::int64_t kStart = 60 * 480000;

ReceivedSerial R(const char* call, std::int64_t minute, const char* band, std::int64_t serial) {
    return ReceivedSerial{call, kStart + minute, band, serial};
}

struct Flag {
    std::size_t qso;
    SerialFlag::Reason reason;
    std::optional<std::size_t> against;
    bool perBand = false;
};

struct Case {
    const char* what;
    std::vector<ReceivedSerial> qsos;
    std::vector<Flag> expected;
};

}  // namespace

TEST(ReceivedSerials, FlagsWhatCannotBeOneSequence) {
    using Why = SerialFlag::Reason;
    const std::vector<Case> cases = {
        {"rising numbers, across bands", {R("K1A", 10, "20m", 5), R("K1A", 30, "40m", 40)}, {}},
        {"lower than a number received before it",
         {R("K1A", 10, "20m", 50), R("K1A", 20, "20m", 40), R("K1A", 30, "20m", 60)},
         {{1, Why::kNotAboveEarlier, 0}}},
        {"a dupe's number below the first on its band",
         {R("K1A", 10, "20m", 10), R("K1A", 30, "20m", 5)},
         {{1, Why::kNotAboveEarlier, 0}}},
        {"higher than the contest's time so far allows", {R("K2B", 5, "20m", 500)}, {{0, Why::kTooHighSinceStart, {}}}},
        {"further above the one before than a station works in a minute",
         {R("K3C", 100, "20m", 100), R("K3C", 101, "20m", 200)},
         {{1, Why::kTooFastAfter, 0}}},
        {"a station that numbers each band on its own",
         {R("K4D", 10, "20m", 10), R("K4D", 20, "40m", 3), R("K4D", 30, "20m", 20), R("K4D", 40, "40m", 8)},
         {}},
        {"stations are judged apart",
         {R("K1A", 10, "20m", 50), R("K5E", 20, "20m", 3), R("K1A", 30, "20m", 60)},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<SerialFlag> flags = CheckReceivedSerials(c.qsos, kStart);
        ASSERT_EQ(flags.size(), c.expected.size());
        for (std::size_t i = 0; i < flags.size(); ++i) {
            EXPECT_EQ(flags[i].qso, c.expected[i].qso);
            EXPECT_EQ(flags[i].reason, c.expected[i].reason);
            EXPECT_EQ(flags[i].against, c.expected[i].against);
            EXPECT_EQ(flags[i].perBand, c.expected[i].perBand);
        }
    }
    // What reads as a serial: digits only, leading zeros dropped.
    EXPECT_EQ(SerialNumberOf("007"), 7);
    EXPECT_EQ(SerialNumberOf("5NN"), std::nullopt);
    EXPECT_EQ(SerialNumberOf(""), std::nullopt);
}
