// The statistics reset: dates, host version, the "Start" toggle, the contest
// mode and a fresh bad-QSO file.
#include <filesystem>

#include "contest/bad_qso_file.h"
#include "test_support.h"

using namespace stats;
using namespace stats::test;

namespace {

class Reset : public PluginTest {
protected:
    std::string Setting(const char* key) { return plugin.ReadSetting(key); }
    void HostFile(const std::string& content) {
        platform.search.names = {"other.ini", "Zelk2.ini"};
        WriteFile("Zelk2.ini", content);
    }
};

TEST_F(Reset, StartToggleOpensTheWindowsEveryOtherTime) {
    // The fixture's reset found no "Start" key: it started the windows.
    EXPECT_EQ(platform.windows.starts, 1);
    EXPECT_EQ(Setting("Start"), "1");
    PluginTest::Reset();
    EXPECT_EQ(platform.windows.starts, 1);
    EXPECT_EQ(Setting("Start"), "0");
    EXPECT_EQ(plugin.State().g_nStartKey, 1);
    PluginTest::Reset();
    EXPECT_EQ(platform.windows.starts, 2);
    EXPECT_EQ(Setting("Start"), "1");
}

TEST_F(Reset, OpenWindowsLeaveTheKeyAlone) {
    plugin.WriteSetting("Start", "0");
    platform.windows.running = true;
    PluginTest::Reset();
    EXPECT_EQ(platform.windows.starts, 1);
    EXPECT_EQ(Setting("Start"), "0");
}

TEST_F(Reset, AReportRunShowsTheHeaderStepAndNeverOpensWindows) {
    plugin.WriteSetting("Start", "0");
    PluginTest::Reset(1);
    ASSERT_EQ(platform.header.shown.size(), 1u);
    EXPECT_EQ(platform.header.shown[0].m_strCallsign, "UA3ABC");
    EXPECT_EQ(platform.windows.starts, 1);
    EXPECT_EQ(Setting("Start"), "0");
    EXPECT_EQ(plugin.State().g_bReportRequest, 1);

    platform.header.accept = false;  // the operator cancels: the report is withdrawn
    PluginTest::Reset(1);
    EXPECT_EQ(plugin.State().g_bReportRequest, 0);
}

TEST_F(Reset, OldHostVersionsNeverGetTheWindows) {
    struct Case {
        const char* file;
        const char* version;
        int starts;
    } cases[] = {
        {"[Main]\r\nZelk=2.14R\r\n", "2.14R", 0},
        {"[Main]\r\nZelk=2.14r\r\n", "2.14r", 1},
        {"Zelk=2.18\nZelk=2.30\n", "2.18", 0},
        {"Zelk=2.19\r\n", "2.19", 1},
    };
    for (const Case& c : cases) {
        HostFile(c.file);
        plugin.WriteSetting("Start", "0");
        platform.windows.starts = 0;
        PluginTest::Reset();
        EXPECT_EQ(plugin.State().g_HostVersion, c.version);
        EXPECT_EQ(platform.windows.starts, c.starts) << c.file;
        EXPECT_EQ(Setting("Start"), "1");
    }
    EXPECT_EQ(platform.search.patterns.back(), "*.ini");
}

TEST_F(Reset, HostVersionWithoutHostFile) {
    EXPECT_EQ(plugin.State().g_HostVersion, "Zelk");
    platform.search.names = {"Zelk2.ini"};  // found by the search, but not in the current directory
    plugin.State().g_HostVersion = "2.20";
    PluginTest::Reset();
    EXPECT_EQ(plugin.State().g_HostVersion, "2.20") << "an unreadable host file keeps the old version";
    reset.iniSearchPath = "C:\\Zelk\\";
    PluginTest::Reset();
    EXPECT_EQ(platform.search.patterns.back(), "C:\\Zelk\\*.ini");
}

TEST_F(Reset, TakesOverTheOwnStationAndFormatsTheDates) {
    reset.ownCall = "K1ABC";
    reset.ownCountryPrefix = "K";
    reset.ownContinent = "NA";
    reset.startTime = At(2023, 3, 25, 0, 0);
    reset.endTime = At(2023, 3, 26, 23, 59, 59);
    PluginTest::Reset();
    const RunState& s = plugin.State();
    EXPECT_EQ(s.g_OwnCall, "K1ABC");
    EXPECT_EQ(s.g_OwnCountry, "K");
    EXPECT_EQ(s.g_OwnContinent, "NA");
    EXPECT_EQ(s.g_StartDayMonth, "25.03");
    EXPECT_EQ(s.g_StartYear, "2023");
    EXPECT_EQ(s.g_EndDate, "26.03.2023");
    EXPECT_EQ(s.g_PrevQsoRows[1], (std::vector<std::string>{"80m", "-", "-", "-", "-"}));
}

TEST_F(Reset, RussianTextsOnceSetStaySet) {
    EXPECT_EQ(plugin.State().g_bCyrillicUi, 1) << "the fixture's own country is UA";
    reset.ownCountryPrefix = "DL";
    PluginTest::Reset();
    EXPECT_EQ(plugin.State().g_bCyrillicUi, 1);

    TestPlatform other;
    Plugin fresh(other.Get());
    reset.ownCountryPrefix = "ua9";
    fresh.ResetStats(reset);
    EXPECT_EQ(fresh.State().g_bCyrillicUi, 0) << "exact, case-sensitive";
    reset.ownCountryPrefix = "CE9/KC4";
    fresh.ResetStats(reset);
    EXPECT_EQ(fresh.State().g_bCyrillicUi, 1);
}

TEST_F(Reset, NamesAndRecreatesTheBadQsoFileForTheContestMode) {
    Qso bad;
    bad.band = "30m";
    Add(bad);
    plugin.WriteSetting("CW", "1");
    PluginTest::Reset();
    EXPECT_EQ(plugin.State().g_bCwContest, 1);
    EXPECT_EQ(plugin.State().g_BadQsoFile.Name(), "BadQSO_StatsWPXCW_30_05_2021.txt");
    EXPECT_EQ(ReadFile("BadQSO_StatsWPXCW_30_05_2021.txt"), "CQ-WPX-CW TEST UBN file \r\n");
    EXPECT_EQ(ReadFile("BadQSO_StatsWPXSSB_30_05_2021.txt"),
              "CQ-WPX-SSB TEST UBN file \r\n" + LineOf(bad, badqso::kReasonWrongBand) + "\r\n")
        << "the other mode's file is not touched";

    Add(bad);
    PluginTest::Reset();
    EXPECT_EQ(ReadFile("BadQSO_StatsWPXCW_30_05_2021.txt"), "CQ-WPX-CW TEST UBN file \r\n");
}

TEST_F(Reset, ClearsTheLogButKeepsWhatOutlivesARun) {
    Add(Qso{});
    Result();
    plugin.SetVersion();
    PluginTest::Reset();
    EXPECT_TRUE(plugin.State().g_QsoLog.IsEmpty());
    EXPECT_TRUE(plugin.State().g_WorkedBands.empty());
    EXPECT_EQ(plugin.State().g_WorkedPrefixes.Texts(plugin.State().g_QsoLog), std::vector<std::string>{"DL1"});
    EXPECT_EQ(plugin.State().g_bHtmlResult, 1);
}

TEST_F(Reset, WorksWithoutASettingsFolderOrDates) {
    std::filesystem::remove_all("Plugins");
    reset.startTime = OleDateTime::Null();
    reset.endTime = OleDateTime{1.0, OleDateTime::kInvalid};
    PluginTest::Reset();
    EXPECT_FALSE(std::filesystem::exists("Plugins"));
    EXPECT_EQ(plugin.State().g_StartDayMonth, "");
    EXPECT_EQ(plugin.State().g_BadQsoFile.Name(), "BadQSO_StatsWPXSSB_Invalid DateTime.txt");
    EXPECT_EQ(Add(Qso{}), 1);
}

}  // namespace
