// The scoring pass and the text summary it feeds.
#include <algorithm>
#include <filesystem>
#include <random>

#include "contest/bad_qso_file.h"
#include "contest/scoring.h"
#include "test_support.h"

using namespace stats;
using namespace stats::test;

namespace {

class Scoring : public PluginTest {
protected:
    CScoreSummary Score() {
        std::lock_guard<std::mutex> lock(plugin.State().guard);
        return ComputeStatistics(plugin.State());
    }
    std::vector<std::string> WorkedPrefixes() {
        std::vector<std::string> texts = plugin.State().g_WorkedPrefixes.Texts(plugin.State().g_QsoLog);
        std::sort(texts.begin(), texts.end());
        return texts;
    }
};

TEST_F(Scoring, WorkedExampleGivesItsSummaryAndBadQsoFile) {
    const std::vector<int> accepted = {1, 1, 0, 1, 1};
    const std::vector<Qso> log = WorkedExample();
    for (std::size_t i = 0; i < log.size(); ++i) EXPECT_EQ(Add(log[i]), accepted[i]) << i;

    int out = 0;
    EXPECT_TRUE(SameText(plugin.GetResult(&out), Golden("worked_example/result.txt")));
    EXPECT_EQ(out, -1);
    EXPECT_TRUE(SameText(BadFile(), Golden("worked_example/bad_qso.txt")));
    EXPECT_EQ(plugin.State().g_WorkedBands, (std::vector<std::string>{"40m", "20m"}));
    EXPECT_EQ(WorkedPrefixes(), (std::vector<std::string>{"DL1", "K1", "UA3"}));
    EXPECT_EQ(plugin.ReadSetting("Claimed"), "18");
    EXPECT_EQ(plugin.State().g_nClaimedScore, 18);
}

TEST_F(Scoring, EmptyLogPrintsHeaderAndZeroTotalsOnly) {
    EXPECT_EQ(Result(),
              "  CQ-WPX-SSB Contest 29.05-30.05.2021 \r\n     Contestant: UA3ABC\r\nBand\tQSOs\tPoints\tNew Prefix\r\n"
              "Total\t 0\t  0\t    0\r\nDupe\t 0\r\nBad QSO\t 0\r\nScore = 0 * 0  = 0 \r\n");
}

TEST_F(Scoring, BandsSortIntoDisplayOrderAndStaySorted) {
    for (const char* band : {"10m", "20M", "160m", "15m", "80m", "20m", "40m"}) {
        Qso q = Make("K1ZZ", band, "K", "NA", "K1", 10, 0);
        q.mode = "RTTY";  // rejected, yet the band counts as worked
        Add(q);
    }
    const CScoreSummary s = Score();
    const std::vector<std::string> order = {"160m", "80m", "40m", "20m", "20M", "15m", "10m"};
    EXPECT_EQ(plugin.State().g_WorkedBands, order);
    ASSERT_EQ(s.bands.size(), order.size());
    for (const CBandScore& row : s.bands) EXPECT_EQ(row.qsos, 0);
    EXPECT_EQ(s.badQsos, 7);
}

TEST_F(Scoring, PointsByCountryContinentAndBand) {
    struct Case {
        const char* ownCountry;
        const char* ownContinent;
        const char* band;
        const char* country;
        const char* continent;
        std::int64_t points;
    } cases[] = {
        // Same country: 1 on every band, even with another continent text.
        {"UA", "EU", "20m", "UA", "AS", 1}, {"UA", "EU", "40m", "UA", "EU", 1}, {"K", "NA", "160m", "K", "NA", 1},
        // Same continent: 1, doubled on the low bands; 2 between North American stations.
        {"UA", "EU", "15m", "DL", "EU", 1}, {"UA", "EU", "80m", "DL", "EU", 2}, {"UA", "EU", "160m", "DL", "EU", 2},
        {"K", "NA", "10m", "VE", "NA", 2},  {"K", "NA", "40m", "VE", "NA", 4},  {"JA", "AS", "40m", "UA9", "AS", 2},
        // Another continent: 3, doubled on the low bands.
        {"UA", "EU", "20m", "K", "NA", 3},  {"UA", "EU", "160m", "K", "NA", 6}, {"K", "NA", "80m", "DL", "EU", 6},
        // Exact texts: "160M" and "80M" score as high bands, "ua" is another country.
        {"UA", "EU", "160M", "DL", "EU", 1}, {"K", "NA", "80M", "VE", "NA", 2}, {"UA", "EU", "40m", "ua", "EU", 2},
    };
    for (const Case& c : cases) {
        reset.ownCountryPrefix = c.ownCountry;
        reset.ownContinent = c.ownContinent;
        Reset();
        Add(Make("K1ZZ", c.band, c.country, c.continent, "K1", 10, 0));
        const CScoreSummary s = Score();
        EXPECT_EQ(s.totalPoints, c.points) << c.ownCountry << " " << c.band << " " << c.country << " " << c.continent;
        EXPECT_EQ(s.lastQsoPoints, c.points);
    }
}

TEST_F(Scoring, APrefixCountsOnceOnTheFirstBandInDisplayOrder) {
    Add(Make("K1ZZ", "20m", "K", "NA", "K1", 10, 0));
    Add(Make("K1YY", "40m", "K", "NA", "K1", 11, 0));
    Add(Make("k1xx", "40m", "K", "NA", "k1", 11, 5));  // another multiplier: case counts
    Add(Make("N0AA", "20m", "K", "NA", "", 11, 10));
    Add(Make("N0BB", "40m", "K", "NA", "", 11, 20));  // empty prefixes make one multiplier
    const CScoreSummary s = Score();
    ASSERT_EQ(s.bands.size(), 2u);
    EXPECT_EQ(s.bands[0].band, "40m");
    EXPECT_EQ(s.bands[0].newPrefixes, 3);
    EXPECT_EQ(s.bands[1].newPrefixes, 0);
    EXPECT_EQ(s.multipliers, 3);
    EXPECT_EQ(WorkedPrefixes(), (std::vector<std::string>{"", "K1", "k1"}));
}

TEST_F(Scoring, RateWindowsCountBackFromTheLatestQso) {
    Add(Make("A1", "20m", "K", "NA", "A1", 9, 0, 0.4));   // 59:59.6 before the latest: out of the hour
    Add(Make("A2", "20m", "K", "NA", "A2", 9, 0, 0.6));   // 59:59.4 before: in the hour
    Add(Make("A3", "20m", "K", "NA", "A3", 9, 50, 1.0));  // 9:59 before: in both
    Add(Make("A4", "40m", "K", "NA", "A4", 10, 0));       // the latest: the reference
    Add(Make("A5", "20m", "K", "NA", "A5", 9, 55));       // the last record, earlier: in both
    const CScoreSummary s = Score();
    EXPECT_EQ(s.hourQsos, 4);
    EXPECT_EQ(s.hourPoints, 3 + 3 + 6 + 3);
    EXPECT_EQ(s.tenMinuteQsos, 3);
    EXPECT_EQ(s.tenMinutePoints, 3 + 6 + 3);
    EXPECT_EQ(s.lastQsoPoints, 3) << "the last record's band";
}

// An edit reaches the plug-in as a removal and an addition, which makes the
// oldest QSO the last record; the rates must not change.
TEST_F(Scoring, RatesSurviveAnEditOfTheFirstQso) {
    std::vector<Qso> log;
    for (int i = 0; i < 60; ++i) {
        log.push_back(Make("", "20m", "K", "NA", "K1", 9 + i / 12, i % 12 * 5));
        log.back().call = "K1C" + std::to_string(i);
        ASSERT_EQ(Add(log.back()), 1);
    }
    const std::string rates =
        "Hourly (10min) QSO rate:    12 (12) QSOs/hour\r\nHourly (10min) pts rate:    36 (36) points/hour\r\n";
    ASSERT_NE(Result().find(rates), std::string::npos) << Result();
    Remove(log[0]);
    log[0].rstRcvd = "579";
    ASSERT_EQ(Add(log[0]), 1);
    EXPECT_NE(Result().find(rates), std::string::npos) << Result();
}

TEST_F(Scoring, ASingleQsoFallsInBothWindows) {
    Add(Make("A1", "40m", "K", "NA", "A1", 9, 0));
    const CScoreSummary s = Score();
    EXPECT_EQ(s.hourQsos, 1);
    EXPECT_EQ(s.tenMinuteQsos, 1);
    EXPECT_EQ(s.lastQsoPoints, 6);
}

TEST_F(Scoring, ADupeLastTakesItsPointsFromTheLatestCountedQsoOnItsBand) {
    Add(Make("A1", "40m", "DL", "EU", "A1", 9, 0));
    Add(Make("A2", "20m", "K", "NA", "A2", 9, 10));
    Add(Make("A1", "40m", "DL", "EU", "A1", 9, 20));
    const CScoreSummary s = Score();
    EXPECT_EQ(s.dupes, 1);
    EXPECT_EQ(s.lastQsoPoints, 2);
    EXPECT_EQ(s.hourQsos, 2);
}

TEST_F(Scoring, AReportRunHasNoRatesAndNoRateBlock) {
    Reset(1);
    Add(Make("A1", "40m", "DL", "EU", "A1", 9, 0));
    Add(Make("A2", "40m", "DL", "EU", "A2", 9, 1));
    const CScoreSummary s = Score();
    EXPECT_EQ(s.hourQsos + s.tenMinuteQsos + s.hourPoints + s.tenMinutePoints, 0);
    const std::string text = Result();
    const std::string end = "Score = 4 * 2  = 8 \r\n";
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

TEST_F(Scoring, BadQsosAreTheRejectionLinesOfTheFile) {
    Qso a = Make("A1", "40m", "DL", "EU", "A1", 9, 0);
    Add(a);
    a.time = At(2021, 5, 29, 9, 1);
    Add(a);
    a.time = At(2021, 5, 29, 9, 2);
    Add(a);  // a dupe of two: two dupe lines, still no rejected QSO
    CScoreSummary s = Score();
    EXPECT_EQ(s.dupes, 2);
    EXPECT_EQ(s.badQsos, 0);
    a.mode = "RTTY";
    Add(a);
    EXPECT_EQ(Score().badQsos, 1);
    // Counted as written: a result request reads no file, so one changed from
    // outside does not change the figure.
    std::filesystem::remove(plugin.State().g_BadQsoFile.Name());
    EXPECT_EQ(Score().badQsos, 1);
    WriteFile(plugin.State().g_BadQsoFile.Name(),
              "CQ-WPX-SSB TEST UBN file \r\nQSO:  7000  RTTY   WRONG MODE !!!\r\nQSO:  7000  CW   DUPE !!!\r\nno line end");
    EXPECT_EQ(Score().badQsos, 1);
}

TEST_F(Scoring, AfterRemovingEverythingTheBandsStillPrint) {
    Qso q = Make("A1", "40m", "DL", "EU", "A1", 9, 0);
    Add(q);
    Remove(q);
    const std::string text = Result();
    EXPECT_NE(text.find("\r\n40m\t 0\t  0\r\nTotal\t 0\t  0\t    0\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Rate"), std::string::npos);
}

TEST_F(Scoring, ALargeScorePrintsItsTrueValue) {
    Qso q = Make("", "40m", "K", "NA", "", 10, 0);
    for (int i = 0; i < 40000; ++i) {
        q.call = "C" + std::to_string(i);
        q.prefix = q.call;
        Add(q);
    }
    const std::string text = Result();
    EXPECT_NE(text.find("Score = 240000 * 40000  = 9600000000 \r\n"), std::string::npos) << text.substr(0, 400);
    EXPECT_EQ(plugin.ReadSetting("Claimed"), "9600000000");
}

TEST_F(Scoring, RecordsWithoutACallAreIgnored) {
    Qso q = Make("", "40m", "K", "NA", "X1", 10, 0);
    Add(q);
    q.time = At(2021, 5, 29, 10, 1);
    Add(q);  // a dupe of the first, still without a call
    const CScoreSummary s = Score();
    EXPECT_EQ(s.totalQsos, 0);
    EXPECT_EQ(s.dupes, 0);
    EXPECT_EQ(s.multipliers, 0);
    EXPECT_EQ(s.badQsos, 0) << "its dupe line is no rejection";
}

TEST_F(Scoring, TheHeaderFollowsContestModeAndDates) {
    plugin.WriteSetting("CW", "1");
    reset.startTime = At(2023, 3, 25);
    reset.endTime = At(2023, 3, 26);
    Reset();
    EXPECT_EQ(Result().substr(0, 39), "  CQ-WPX-CW Contest 25.03-26.03.2023 \r\n");
}

// Figures kept through a long run of additions, edits and removals (dupes
// that come to count, prefixes that move between bands, times out of order,
// without a date or a call) equal those of one pass over what is left.
TEST_F(Scoring, RunningFiguresEqualAFreshPassAfterManyChanges) {
    std::mt19937 random(34);
    auto pick = [&](auto& list) { return list[random() % std::size(list)]; };
    const char* calls[] = {"K1A", "DL1AAA", "UA3ZZ", "JA1XYZ", "K1AB", ""};
    const char* bands[] = {"20m", "40m", "160m", "80M", "20M", "10m", "30m"};
    const char* prefixes[] = {"K1", "DL1", "UA3", "JA1", ""};
    const char* countries[] = {"UA", "DL", "K"};
    const char* continents[] = {"EU", "NA", "AS"};
    std::vector<Qso> added;
    for (int step = 0; step < 4000; ++step) {
        if (added.empty() || random() % 3 != 0) {
            Qso q = Make(pick(calls), pick(bands), pick(countries), pick(continents), pick(prefixes), 0, 0);
            const int minute = static_cast<int>(random() % 600);
            q.time = random() % 40 == 0 ? OleDateTime::Null() : At(2021, 5, 29, minute / 60, minute % 60, random() % 60);
            if (random() % 50 == 0) q.mode = "RTTY";
            Add(q);
            added.push_back(q);
        } else {
            const std::size_t i = random() % added.size();
            Remove(added[i]);
            added.erase(added.begin() + static_cast<std::ptrdiff_t>(i));
        }
        if (step % 500 == 0) Result();
    }
    std::lock_guard<std::mutex> lock(plugin.State().guard);
    RunState& state = plugin.State();
    RunningScore fresh(kBandNames, kBandCount);
    for (std::size_t i = 0; i < state.g_QsoLog.GetCount(); ++i)
        fresh.Enter(state.g_QsoLog, state.g_QsoLog.Record(i), OwnStation{state.g_OwnCountry, state.g_OwnContinent});
    EXPECT_TRUE(state.g_Score.Take(state.g_QsoLog) == fresh.Take(state.g_QsoLog));
    ASSERT_GT(state.g_QsoLog.GetCount(), 1000u);
    const auto reference = state.g_QsoLog.LatestValidTime();
    ASSERT_TRUE(reference);
    EXPECT_EQ(state.g_Score.Rates(*reference), fresh.Rates(*reference));
    state.g_BadQsoFile.FlushWaitingLines();
    EXPECT_EQ(state.g_BadQsoFile.RejectedQsos(),
              badqso::CountRejectionLines(ReadFile(state.g_BadQsoFile.Name())));
}

}  // namespace
