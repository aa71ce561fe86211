// The country file: entities by number and name, calls by whole call and prefix.
#include <gtest/gtest.h>

#include <fstream>

#include "country_file.h"

using tools::CountryEntity;
using tools::CountryFile;

namespace {

// A few lines in the file's own form, overrides and an award-only part included.
const char kSample[] =
    "DL,Fed. Rep. of Germany,230,EU,14,28,51.00,-10.00,-1.0,DA DB DL Y2 =DL0XX/MM;\n"
    "K,United States,291,NA,5,8,37.60,91.87,5.0,AA K N W =KH2XX(27)[64]{OC};\n"
    "KH6,Hawaii,110,OC,31,61,21.12,157.48,10.0,AH6 KH6 NH6(31)[61];\n"
    "EA8,Canary Islands,29,AF,33,36,28.32,15.85,0.0,EA8 EB8;\n"
    "*IT9,Sicily,248,EU,15,28,37.50,-14.00,-1.0,IT9 IW9;\n"
    "I,Italy,248,EU,15,28,42.82,-12.58,-1.0,I;\n"
    "not a line\n";

class CountryFileTest : public ::testing::Test {
protected:
    CountryFile file = CountryFile::Parse(kSample);
    std::string CountryOf(const char* call) {
        const auto m = file.ByCall(call);
        return m ? m->entity->prefix + " " + m->continent : "none";
    }
};

TEST_F(CountryFileTest, EntitiesByNumberAndName) {
    ASSERT_EQ(file.Entities().size(), 5u);
    ASSERT_NE(file.ByDxcc(230), nullptr);
    EXPECT_EQ(file.ByDxcc(230)->prefix, "DL");
    EXPECT_DOUBLE_EQ(file.ByDxcc(230)->utcOffset, 1.0);
    EXPECT_EQ(file.ByDxcc(248)->prefix, "I") << "an award-only part does not name the entity";
    EXPECT_EQ(file.ByDxcc(1), nullptr);
    ASSERT_NE(file.ByName("united STATES"), nullptr);
    EXPECT_EQ(file.ByName("united STATES")->dxcc, 291);
}

TEST_F(CountryFileTest, CallsByWholeCallThenLongestPrefix) {
    EXPECT_EQ(CountryOf("DL1ABC"), "DL EU");
    EXPECT_EQ(CountryOf("kh6xx"), "KH6 OC");
    EXPECT_EQ(CountryOf("K1ZZ"), "K NA");
    EXPECT_EQ(CountryOf("KH2XX"), "K OC") << "a listed call with its continent";
    EXPECT_EQ(CountryOf("DL0XX/MM"), "DL EU");
    EXPECT_EQ(CountryOf("IT9ABC"), "I EU") << "a part's calls belong to its entity";
    EXPECT_EQ(CountryOf("ZZ9ZZ"), "none");
}

TEST_F(CountryFileTest, PortableCallsAreWhereTheirDesignatorSays) {
    EXPECT_EQ(CountryOf("EA8/DL1ABC"), "EA8 AF");
    EXPECT_EQ(CountryOf("DL1ABC/EA8"), "EA8 AF");
    EXPECT_EQ(CountryOf("DL1ABC/P"), "DL EU");
    EXPECT_EQ(CountryOf("W1AW/6"), "K NA");
    EXPECT_EQ(tools::LocationPart("kh6/k1ab/qrp"), "KH6");
}

// The same kind of lines in cty.dat's form: an entity line, then its
// prefixes and calls over as many lines as it takes, up to the ";".
const char kDatSample[] =
    "Fed. Rep. of Germany:     14:  28:  EU:   51.00:   -10.00:    -1.0:  DL:\n"
    "    DA,DB,\n"
    "    DL,=DL0XX/MM;\n"
    "United States of America: 05:  08:  NA:   37.60:    91.87:     5.0:  K:\n"
    "    AA,K,N,W6(3)[6],=KH2XX(27)[64]<13.4/-144.7>{OC}~-10.0~,=K2XX/4;\n"
    "Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:\n"
    "    IT9,IW9,=I1XX;\n"
    "Italy:                    15:  28:  EU:   42.82:   -12.58:    -1.0:  I:\n"
    "    I,=I1XX;\n";

TEST(CountryFileDat, EntityLinesPrefixListsAndTheirOverrides) {
    const CountryFile file = CountryFile::Parse(kDatSample);
    ASSERT_EQ(file.Entities().size(), 4u);
    EXPECT_FALSE(file.HasEntityNumbers());
    const CountryEntity& dl = file.Entities()[0];
    EXPECT_EQ(dl.name, "Fed. Rep. of Germany");
    EXPECT_EQ(dl.continent, "EU");
    EXPECT_EQ(dl.cqZone, 14);
    EXPECT_DOUBLE_EQ(dl.utcOffset, 1.0);
    auto where = [&](const char* call) {
        const auto m = file.ByCall(call);
        return m ? m->entity->prefix + " " + m->continent + " " + std::to_string(m->cqZone) : "none";
    };
    EXPECT_EQ(where("DB1ABC"), "DL EU 14") << "a prefix on the entry's second line";
    EXPECT_EQ(where("W6XYZ"), "K NA 3") << "a zone given for one prefix";
    EXPECT_EQ(where("KH2XX"), "K OC 27") << "every override of a whole call read, the continent used";
    EXPECT_EQ(where("K2XX/4"), "K NA 5");
    EXPECT_EQ(where("DL0XX/MM"), "DL EU 14") << "a listed maritime call keeps its country";
    // A "*" entry is a country of its own, and a call it shares with its DXCC
    // entity is its own.
    EXPECT_EQ(where("IW9ABC"), "IT9 EU 15");
    EXPECT_EQ(where("I1XX"), "IT9 EU 15");
    EXPECT_EQ(file.ByPrefix("*it9"), &file.Entities()[2]);
}

// The file of the hamradio-files package, as stats-host reads it by default.
class InstalledCountryFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        dat = new std::optional<CountryFile>(CountryFile::Load("/usr/share/hamradio-files/cty.dat", &error));
        ASSERT_TRUE(*dat) << error << " (scripts/setup-deps.sh installs it)";
    }
    static void TearDownTestSuite() { delete dat; }
    static std::string Place(const char* call) {
        const auto m = (*dat)->ByCall(call);
        return m ? m->entity->prefix + " " + m->continent : "none";
    }
    static std::optional<CountryFile>* dat;
};
std::optional<CountryFile>* InstalledCountryFile::dat = nullptr;

TEST_F(InstalledCountryFile, RealEntries) {
    EXPECT_EQ(Place("DL1ABC"), "DL EU");
    EXPECT_EQ(Place("W6XYZ"), "K NA");
    EXPECT_EQ(Place("KH6XX"), "KH6 OC");
    EXPECT_EQ(Place("UA1ABC"), "UA EU");
    EXPECT_EQ(Place("UA9ABC"), "UA9 AS");
    EXPECT_EQ(Place("TA2ABC"), "TA AS");
    EXPECT_EQ(Place("TA1ABC"), "TA1 EU") << "European Turkey, a country of the WAE list";
    EXPECT_EQ(Place("IG9ABC"), "IG9 AF") << "a list entry keeps its own continent";
    EXPECT_EQ(Place("4U1VIC"), "4U1V EU") << "listed under *4U1V and under OE";
    EXPECT_EQ((*dat)->ByCall("7O2A")->cqZone, 37) << "a whole call with its own zone";
    EXPECT_EQ((*dat)->ByCall("7O1AB")->cqZone, 21);
    EXPECT_EQ(Place("Q1ABC"), "none");
}

TEST_F(InstalledCountryFile, PortableCallsAsContestLoggersPlaceThem) {
    EXPECT_EQ(Place("DL/K1ABC"), "DL EU");
    EXPECT_EQ(Place("K1ABC/DL"), "DL EU");
    EXPECT_EQ(Place("KH6/K1ABC"), "KH6 OC");
    EXPECT_EQ(Place("VP2E/K1AB"), "VP2E NA") << "the longest prefix of the designator";
    EXPECT_EQ(Place("EA8/DL1ABC/P"), "EA8 AF");
    EXPECT_EQ(Place("K1ABC/4"), "K NA") << "a call-area digit does not move a station";
    EXPECT_EQ(Place("K1ABC/P"), "K NA");
    EXPECT_EQ(Place("K1ABC/QRP"), "K NA");
    EXPECT_EQ(Place("K1ABC/LH"), "K NA") << "not Norway's LH";
    EXPECT_EQ(Place("K1ABC/MM"), "none") << "maritime mobile: no country";
    EXPECT_EQ(Place("DL1ABC/AM"), "none");
    EXPECT_EQ(Place("3D2AG/P"), "3D2/r OC") << "a whole call listed with its suffix";
}

TEST_F(InstalledCountryFile, DesignatorsThatLookLikeSuffixesOrNumbers) {
    EXPECT_EQ(Place("M/DL1ABC"), "G EU");
    EXPECT_EQ(Place("MM/DL1ABC"), "GM EU") << "Scotland, not maritime mobile";
    EXPECT_EQ(Place("MM/DL1ABC/P"), "GM EU");
    EXPECT_EQ(Place("F6GPT/33"), "F EU") << "a number of two digits is a call area too";
}

// Both forms of the package's file place the contest calls of MASTER.SCP
// alike, but for the WAE countries, which cty.csv ties to their DXCC entity,
// and the few whole calls one form lists and the other does not.
TEST_F(InstalledCountryFile, ItsTwoFormsPlaceTheContestCallsAlike) {
    const auto csv = CountryFile::Load("/usr/share/hamradio-files/cty.csv");
    ASSERT_TRUE(csv);
    std::ifstream calls("/usr/share/hamradio-files/MASTER.SCP");
    std::size_t count = 0, differ = 0;
    for (std::string call; std::getline(calls, call);) {
        if (call.empty() || call[0] == '#') continue;
        ++count;
        const auto a = (*dat)->ByCall(call), b = csv->ByCall(call);
        if (a && b && csv->ByPrefix(a->entity->prefix) == nullptr) continue;  // a WAE country
        if (!a || !b || a->entity->prefix != b->entity->prefix || a->continent != b->continent) ++differ;
    }
    EXPECT_GT(count, 50000u);
    EXPECT_LT(differ, count / 1000) << differ << " of " << count;
}

TEST(CountryFileLoad, AMissingOrEmptyFileSaysWhy) {
    std::string error;
    EXPECT_FALSE(CountryFile::Load("/nonexistent/cty.csv", &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

}  // namespace
