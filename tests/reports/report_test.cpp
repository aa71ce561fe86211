// Report runs: the HTML page, the Cabrillo header step with its settings, and
// the Cabrillo file.
#include <filesystem>

#include "reports/cabrillo_report.h"
#include "test_support.h"

using namespace stats;
using namespace stats::test;

namespace {

TEST(HtmlSummary, WorkedExamplePage) {
    ScratchDir dir;
    std::filesystem::create_directory("Plugins");
    TestPlatform platform;
    Plugin plugin(platform.Get());
    ResetInput reset;
    reset.ownCall = "UA3ABC";
    reset.startTime = At(2021, 5, 29);
    reset.endTime = At(2021, 5, 30);
    reset.ownCountryPrefix = "UA";
    reset.ownContinent = "EU";
    plugin.SetVersion();
    plugin.ResetStats(reset);
    for (const Qso& q : WorkedExample()) plugin.AddData(q.Input());
    int out = 0;
    EXPECT_TRUE(SameText(plugin.GetResult(&out), Golden("worked_example/result.html")));
    EXPECT_EQ(out, -1);
    EXPECT_EQ(plugin.ReadSetting("Claimed"), "18") << "same side effects as the text form";
}

class ReportRun : public PluginTest {
protected:
    ReportRun() {
        plugin.WriteSetting("CW", "1");
        Reset(1);
    }
    std::string Cabrillo(const std::string& name = "UA3ABC.cbr") { return ReadFile(name); }
    std::string HeaderLine(const std::string& label) {
        for (const std::string& line : SplitCrLf(Cabrillo()))
            if (line.rfind(label, 0) == 0) return line;
        return "(missing " + label + ")";
    }
};

TEST_F(ReportRun, WritesTheCabrilloLogAndSaysSo) {
    for (const Qso& q : WorkedExample()) Add(q);
    Qso ssb = Make("JA1XX", "10m", "JA", "AS", "JA1", 11, 0);
    ssb.mode = "SSB";
    ssb.freqHz = 28500999;
    ssb.rstSent = ssb.rstRcvd = "59";
    Qso lower = Make("W1AW", "80m", "K", "NA", "W1", 11, 5);
    lower.mode = "cw";
    lower.freqHz = 3512500;
    Add(ssb);
    Add(lower);

    const std::string text = Result();
    const std::string end = "Score = 15 * 5  = 75 \r\n";
    EXPECT_EQ(text.substr(text.size() - end.size()), end) << "no rate block in a report run";
    EXPECT_TRUE(SameText(Cabrillo(), Golden("report_run/UA3ABC.cbr")));
    ASSERT_EQ(platform.box.shown.size(), 1u);
    EXPECT_EQ(platform.box.shown[0].text, "File produced: UA3ABC.cbr");
    EXPECT_EQ(platform.box.shown[0].caption, "Output");
    EXPECT_TRUE(platform.box.shown[0].information);

    Result();  // every request writes the file again, each QSO once
    EXPECT_TRUE(SameText(Cabrillo(), Golden("report_run/UA3ABC.cbr")));
    EXPECT_EQ(platform.box.shown.size(), 2u);
}

TEST_F(ReportRun, LineBreaksInAQsosTextsKeepItOnOneLine) {
    Qso q = WorkedExample()[0];
    q.call = "DL1\r\nAAA";
    q.exchRcvd = "030\n";
    Add(q);
    Result();
    std::vector<std::string> qsoLines;
    for (const std::string& line : SplitCrLf(Cabrillo()))
        if (line.find("QSO:") != std::string::npos || line.find("AAA") != std::string::npos) qsoLines.push_back(line);
    ASSERT_EQ(qsoLines.size(), 1u);
    EXPECT_EQ(qsoLines[0].find_first_of("\r\n"), std::string::npos);
    EXPECT_NE(qsoLines[0].find(" DL1  AAA "), std::string::npos);
    EXPECT_EQ(qsoLines[0].substr(qsoLines[0].size() - 4), "030 ");
}

TEST_F(ReportRun, AnOwnCallWithALineBreakSetsNoOtherKey) {
    std::filesystem::remove("Plugins/CQ-WPX-CW-SSB.ini");  // no operators stored: the own call is the default
    reset.ownCall = "UA3ABC\r\nsetup_x=5";
    Reset(1);
    EXPECT_EQ(plugin.ReadSetting("Operators"), "UA3ABC  setup_x=5");
    EXPECT_EQ(plugin.ReadSetting("setup_x"), "");
}

TEST_F(ReportRun, AnOwnCallWithLineBreaksOrMarkupStaysOnItsLines) {
    std::filesystem::remove("Plugins/CQ-WPX-CW-SSB.ini");  // no operators stored: the own call is the default
    reset.ownCall = "UA3ABC\r\n<b>&";
    Reset(1);
    EXPECT_NE(Result().find("     Contestant: UA3ABC  <b>&\r\nBand"), std::string::npos);
    const std::string cabrillo = Cabrillo(FileCallOf(reset.ownCall) + ".cbr");
    EXPECT_NE(cabrillo.find("\r\nCALLSIGN: UA3ABC  <b>&\r\nCONTEST:"), std::string::npos);
    EXPECT_NE(cabrillo.find("\r\nOPERATORS: UA3ABC  <b>&\r\nEMAIL:"), std::string::npos);
    plugin.SetVersion();  // the HTML page
    Reset();
    EXPECT_NE(Result().find("Contestant:  <b>UA3ABC  &lt;b&gt;&amp;</center>"), std::string::npos);
}

TEST_F(ReportRun, AnEmptyLogStillGivesAFile) {
    Result();
    const auto lines = SplitCrLf(Cabrillo());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "SOAPBOX: ");
    EXPECT_EQ(lines.back(), "END-OF-LOG:");
    EXPECT_EQ(HeaderLine("CLAIMED-SCORE:"), "CLAIMED-SCORE: 0");
}

TEST_F(ReportRun, TheContestLineFollowsTheModeAtWritingTime) {
    plugin.State().g_bCwContest = 0;  // switched in the Setup window after the reset
    Result();
    EXPECT_EQ(HeaderLine("CONTEST:"), "CONTEST: CQ-WPX-SSB");
    EXPECT_EQ(HeaderLine("CATEGORY-MODE:"), "CATEGORY-MODE: CW");
}

TEST_F(ReportRun, CancelWithdrawsTheReport) {
    platform.header.accept = false;
    Reset(1);
    Add(WorkedExample()[0]);
    std::filesystem::remove("UA3ABC.cbr");
    Result();
    EXPECT_FALSE(std::filesystem::exists("UA3ABC.cbr"));
    EXPECT_TRUE(platform.box.shown.empty());
}

TEST_F(ReportRun, AFileThatCannotBeWrittenIsReportedAsSuch) {
    std::filesystem::create_directory("UA3ABC.cbr");  // the name is taken by a folder
    Result();
    ASSERT_EQ(platform.box.shown.size(), 1u);
    EXPECT_EQ(platform.box.shown[0].text, "File not produced: UA3ABC.cbr");
    EXPECT_FALSE(std::filesystem::exists("UA3ABC.cbr.tmp"));
}

TEST_F(ReportRun, EditedHeaderIsSavedAndPrinted) {
    platform.header.edit = [](CabrilloHeaderFields& f) {
        f.m_strCallsign = "UA3ABC/P";
        f.m_strSoapbox = "First line\r\nSecond line";
        f.m_strAddress = "Street 1<CR>Town<LF>";
        f.m_strCategoryOverlay = "ROOKIE";
        f.m_strContest = "ignored";
        f.m_strCategoryStation = "MOBILE";
        f.m_strOperators = "";
    };
    Reset(1);
    Add(WorkedExample()[0]);
    Result();
    EXPECT_EQ(HeaderLine("CALLSIGN:"), "CALLSIGN: UA3ABC/P");
    EXPECT_NE(Cabrillo().find("SOAPBOX: First line\r\nSOAPBOX: Second line\r\n"), std::string::npos);
    EXPECT_NE(Cabrillo().find("ADDRESS: Street 1\r\nADDRESS: Town\r\nADDRESS-CITY: "), std::string::npos);
    EXPECT_EQ(HeaderLine("CATEGORY-OVERLAY:"), "CATEGORY-OVERLAY: ROOKIE");
    EXPECT_EQ(HeaderLine("CATEGORY-STATION:"), "CATEGORY-STATION: FIXED ");
    EXPECT_EQ(HeaderLine("CONTEST:"), "CONTEST: CQ-WPX-CW");
    EXPECT_EQ(HeaderLine("OPERATORS:"), "OPERATORS: ");
    EXPECT_NE(Cabrillo().find("QSO:  7015 CW 2021-05-29 1000 UA3ABC/P      599"), std::string::npos)
        << "the edited call is the sent call; the file keeps the host's";

    EXPECT_EQ(plugin.ReadSetting("SoapBox"), "First line<CR><LF>Second line");
    EXPECT_EQ(plugin.ReadSetting("Address"), "Street 1<CR>Town<LF>");
    EXPECT_EQ(plugin.ReadSetting("Contest"), "ignored");
    EXPECT_EQ(plugin.ReadSetting("Operators", "absent"), "");

    // The next dialog shows the soapbox as two lines, an empty stored operator
    // list stays empty, and the overlay of this process comes back.
    platform.header.edit = nullptr;
    Reset(1);
    const CabrilloHeaderFields& shown = platform.header.shown.back();
    EXPECT_EQ(shown.m_strSoapbox, "First line\r\nSecond line");
    EXPECT_EQ(shown.m_strOperators, "");
    EXPECT_EQ(shown.m_strCategoryOverlay, "ROOKIE");
    EXPECT_EQ(shown.m_strClaimed, "2");
    EXPECT_EQ(shown.m_strContest, "CQ-WPX-CW ");
    EXPECT_EQ(shown.m_strLocation, "DX");
}

TEST_F(ReportRun, ASoapboxOfManyLinesSurvivesWhole) {
    std::string stored, shown, printed;
    for (int i = 1; i <= 60; ++i) {
        const std::string line = "Line " + std::to_string(i) + " of a long story";
        stored += (i > 1 ? "<CR><LF>" : "") + line;
        shown += (i > 1 ? "\r\n" : "") + line;
        printed += "SOAPBOX: " + line + "\r\n";
    }
    plugin.WriteSetting("SoapBox", stored);
    Reset(1);
    EXPECT_EQ(platform.header.shown.back().m_strSoapbox, shown);
    EXPECT_EQ(platform.header.shown.back().m_strOperators, "UA3ABC") << "no key: the own call";
    EXPECT_EQ(plugin.ReadSetting("SoapBox"), stored) << "saved back whole";
    Result();
    EXPECT_NE(Cabrillo().find("\r\n" + printed + "END-OF-LOG:"), std::string::npos);
}

TEST(CabrilloFileName, OwnCallsThatNameNoOtherFile) {
    EXPECT_EQ(FileCallOf("VP2E/K1ABC/P"), "VP2E_K1ABC_P");
    EXPECT_EQ(FileCallOf("K1ABC\\M"), "K1ABC_M");
    EXPECT_EQ(FileCallOf("  "), "TKVR");
    EXPECT_EQ(FileCallOf(""), "TKVR");
    EXPECT_EQ(FileCallOf(" K1ABC \t"), "K1ABC");
    EXPECT_EQ(FileCallOf("C:K1?<>|\"*"), "C_K1______");
    EXPECT_EQ(FileCallOf("K1\x01" "A"), "K1_A");
    EXPECT_EQ(FileCallOf("con"), "con_");
    EXPECT_EQ(FileCallOf("CONTEST"), "CONTEST");
    EXPECT_EQ(FileCallOf("CON.K1"), "CON_.K1");  // the part before the first dot names the device
    EXPECT_EQ(FileCallOf("nul.txt"), "nul_.txt");
    EXPECT_EQ(FileCallOf("COM1 .x"), "COM1 _.x");
    EXPECT_EQ(FileCallOf("CONTEST.K1"), "CONTEST.K1");
}

}  // namespace
