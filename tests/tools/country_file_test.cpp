// The country file: entities by number and name, calls by whole call and prefix.
#include <gtest/gtest.h>

#include "country_file.h"

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

TEST(CountryFileLoad, AMissingOrEmptyFileSaysWhy) {
    std::string error;
    EXPECT_FALSE(CountryFile::Load("/nonexistent/cty.csv", &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

}  // namespace
