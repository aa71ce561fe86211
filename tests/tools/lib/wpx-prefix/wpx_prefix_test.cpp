// The WPX prefix a record without PFX gets from its call.
#include <gtest/gtest.h>

#include "wpx_prefix.h"

using tools::WpxPrefix;

namespace {

struct Case {
    const char* call;
    const char* prefix;
};

void ExpectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(WpxPrefix(c.call), c.prefix) << c.call;
}

TEST(WpxPrefix, PlainCallsCountToTheEndOfTheirFirstNumber) {
    ExpectAll({{"N8BJQ", "N8"}, {"WD8ABC", "WD8"}, {"LY1000A", "LY1000"}, {"2E0ABC", "2E0"}, {"4U1ITU", "4U1"},
               {"3DA0BP", "3DA0"}, {"9A1A", "9A1"}, {"HG19X", "HG19"}, {"K1", "K1"}, {"dl1abc", "DL1"}});
}

TEST(WpxPrefix, CallsWithoutANumberGetAZero) {
    ExpectAll({{"XEFTJW", "XE0"}, {"RAEM", "RA0"}, {"4UNAB", "4U0"}});
}

TEST(WpxPrefix, OperatingSuffixesNeverMakeAPrefix) {
    ExpectAll({{"DL1ABC/P", "DL1"}, {"K1AB/QRP", "K1"}, {"G4XYZ/M", "G4"}, {"W1AW/MM", "W1"}, {"N8BJQ/AM", "N8"},
               {"JA1XYZ/A", "JA1"}, {"EA8/DL1ABC/P", "EA8"}});
}

TEST(WpxPrefix, APortableDesignatorBecomesThePrefix) {
    ExpectAll({{"KH9/N8BJQ", "KH9"}, {"N8BJQ/KH9", "KH9"}, {"PA/N8BJQ", "PA0"}, {"N8BJQ/PA", "PA0"},
               {"W1AW/7", "W7"}, {"LY1000A/2", "LY2"}, {"VP2E/K1AB", "VP2"}, {"F/DL1ABC", "F0"}});
}

// M and MM are suffixes after a call but prefixes in front of one; the US
// interim licence-class identifiers and the lighthouse and QRP suffixes are
// never designators.
TEST(WpxPrefix, SuffixWordsCountOnlyAfterTheCall) {
    ExpectAll({{"MM/W7YAQ", "MM0"}, {"M/DL1ABC", "M0"}, {"MM/DL1ABC/P", "MM0"}, {"KD9NZB/AG", "KD9"},
               {"K1ABC/AE", "K1"}, {"N2XX/KT", "N2"}, {"DL1ABC/LH", "DL1"}, {"G4XYZ/QRPP", "G4"}});
}

TEST(WpxPrefix, ACallAreaOfSeveralDigitsReplacesTheCallsNumber) {
    ExpectAll({{"F6GPT/33", "F33"}, {"K4C/75", "K75"}});
}

TEST(WpxPrefix, NothingUsableGivesNothing) { ExpectAll({{"", ""}, {"/", ""}, {"/P", ""}}); }

}  // namespace
