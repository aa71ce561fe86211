// The sample-log generator: same seed, same log; the slips it promises are there.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "log_generator.h"
#include "log_mapping.h"

using namespace tools;

namespace {

const char kCountries[] =
    "DL,Fed. Rep. of Germany,230,EU,14,28,51.00,-10.00,-1.0,DA DB DC DD DE DF DG DH DJ DK DL DM DO;\n"
    "K,United States,291,NA,5,8,37.60,91.87,5.0,AA AB K N W;\n"
    "JA,Japan,339,AS,25,45,36.40,-138.38,-9.0,JA JE JH JR;\n"
    "G,England,223,EU,14,27,52.77,1.47,0.0,G M 2E;\n";

class Generator : public ::testing::Test {
protected:
    Generator() {
        const char* prefixes[] = {"DL", "DK", "K", "W", "N", "JA", "JH", "G", "M", "2E"};
        for (int i = 0; i < 3000; ++i)
            calls.push_back(std::string(prefixes[i / 7 % 10]) + std::to_string(i % 10) +
                            static_cast<char>('A' + i / 676 % 26) + static_cast<char>('A' + i / 26 % 26) +
                            static_cast<char>('A' + i % 26));
    }
    GeneratedLog Make(GeneratorOptions o) { return GenerateLog(o, calls, countries); }

    std::vector<std::string> calls;
    CountryFile countries = CountryFile::Parse(kCountries);
};

TEST_F(Generator, TheSameSeedGivesTheSameLogAndAnotherSeedAnother) {
    GeneratorOptions o;
    o.qsos = 800;
    const std::string first = ToAdif(Make(o));
    EXPECT_EQ(ToAdif(Make(o)), first);
    o.seed = 2;
    EXPECT_NE(ToAdif(Make(o)), first);
}

TEST_F(Generator, ALogHasTheContestsShapeAndTheOperatorsSlips) {
    GeneratorOptions o;
    o.qsos = 3000;
    o.cw = false;
    const GeneratedLog log = Make(o);
    ASSERT_EQ(log.qsos.size(), 3000u);
    EXPECT_EQ(log.options.ownCall, "K3SB");

    std::map<std::string, int> bands, modes;
    std::set<std::string> seen;
    int dupes = 0, noSerial = 0;
    std::vector<int> perHour(48);
    double previous = 0.0;
    for (const GeneratedQso& q : log.qsos) {
        ++bands[q.band];
        ++modes[q.mode];
        if (!seen.insert(q.call + " " + q.band + " " + q.mode).second) ++dupes;
        noSerial += q.serialReceived == 0;
        ASSERT_GE(q.time, previous) << "log order is time order";
        previous = q.time;
        ASSERT_GE(q.time, log.start);
        ASSERT_LE(q.time, log.end + 1.0 / 1440.0);
        ++perHour[static_cast<int>((q.time - log.start) * 24.0)];
        EXPECT_EQ(q.band, BandOfFrequency(q.frequencyHz)) << q.frequencyHz;
    }
    for (const char* band : {"160m", "80m", "40m", "20m", "15m", "10m"}) EXPECT_GT(bands[band], 20) << band;
    EXPECT_GT(bands["17m"], 0) << "a band outside the contest";
    EXPECT_GT(modes["FM"], 0) << "a wrong mode";
    EXPECT_GT(modes["SSB"], 2900);
    EXPECT_GT(dupes, 3);
    EXPECT_LT(dupes, 60);
    EXPECT_GT(noSerial, 0);
    // The rate rises and falls: off-times with nothing, and busy hours.
    int silent = 0, busiest = 0;
    for (int n : perHour) {
        silent += n == 0;
        busiest = std::max(busiest, n);
    }
    EXPECT_GE(silent, 6);
    EXPECT_GT(busiest, 2 * 3000 / 48);
}

TEST_F(Generator, TheAdifFormReadsBackIntoTheSameQsos) {
    GeneratorOptions o;
    o.qsos = 50;
    o.writePrefix = false;
    const GeneratedLog log = Make(o);
    const std::string text = ToAdif(log);
    EXPECT_EQ(text.find("<PFX:"), std::string::npos);
    EXPECT_NE(text.find("<STATION_CALLSIGN:5>DL5CW"), std::string::npos);
    EXPECT_NE(text.find("<MY_DXCC:3>230"), std::string::npos);
    EXPECT_NE(text.find("<QSO_DATE:8>20230527"), std::string::npos);
}

}  // namespace
