// Whole statistics runs through the exports, in a fresh working folder: the
// bad-QSO file as Windows writes and replaces it (CR LF, temporary file moved
// into place), and the settings file through the Win32 profile API.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "stats_dll.h"

namespace wine_tests {
namespace {

constexpr char kSsbFile[] = "BadQSO_StatsWPXSSB_30_05_2021.txt";
constexpr char kCwFile[] = "BadQSO_StatsWPXCW_30_05_2021.txt";
constexpr char kSsbHeader[] = "CQ-WPX-SSB TEST UBN file \r\n";

// A short log: two good QSOs, a dupe of the first and one on a band outside the contest.
const Qso kDl = MakeQso("DL1AAA", "20m", 14200000, "001", "005", "DL1", "DL", "EU", 0);
const Qso kW1 = MakeQso("W1XYZ", "40m", 7100000, "002", "010", "W1", "K", "NA", 5);
const Qso kDlAgain = MakeQso("DL1AAA", "20m", 14250000, "003", "006", "DL1", "DL", "EU", 7);
const Qso kJa30m = MakeQso("JA1ZZZ", "30m", 10120000, "004", "007", "JA1", "JA", "AS", 10);

constexpr char kDupeLine[] = "QSO:  14250  SSB  2021-05-29 1207  K1ABC  59  003  DL1AAA  59  006   DUPE !!!\r\n";
constexpr char kWrongBandLine[] =
    "QSO:  10120  SSB  2021-05-29 1210  K1ABC  59  004  JA1ZZZ  59  007   WRONG BAND !!!\r\n";

class StatisticsRun : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(dll.Error(), "");
        // The host's own settings file names an older host version, for which
        // the plug-in opens no windows.
        ASSERT_TRUE(WriteBytes("Zelk2.ini", "Zelk=2.18\r\n"));
    }

    int Reset(const std::string& iniSearchPath = "") {
        return dll.Reset(iniSearchPath, "K1ABC", At(2021, 5, 29), At(2021, 5, 30, 23, 59));
    }

    std::string SettingsFile() const { return dir.Path() + "\\Plugins\\CQ-WPX-CW-SSB.ini"; }

    // A key of the plug-in's settings as the profile API reads it.
    std::string Setting(const char* key, const char* section = "Settings") const {
        char buffer[256] = {};
        GetPrivateProfileStringA(section, key, "<missing>", buffer, sizeof buffer, SettingsFile().c_str());
        return buffer;
    }

    void AddLog() {
        ASSERT_EQ(dll.Add(kDl), 1);
        ASSERT_EQ(dll.Add(kW1), 1);
        ASSERT_EQ(dll.Add(kDlAgain), 1);  // kept, flagged as a dupe
        ASSERT_EQ(dll.Add(kJa30m), 0);
    }

    ScratchDir dir;  // before the library: the current directory while it is loaded
    StatsDll dll;
};

TEST_F(StatisticsRun, ResetReplacesTheBadQsoFileWithItsHeader) {
    ASSERT_TRUE(WriteBytes(kSsbFile, std::string(5000, 'x') + "\r\nold line\r\n"));
    EXPECT_EQ(Reset(), 1);
    EXPECT_EQ(ReadBytes(kSsbFile), kSsbHeader);
    // No settings folder: nothing else appears, here or in the Windows folder.
    EXPECT_EQ(ListFolder(dir.Path()), (std::vector<std::string>{kSsbFile, "Zelk2.ini"}));
    char windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_FALSE(FileExists(std::string(windows) + "\\CQ-WPX-CW-SSB.ini"));
    EXPECT_FALSE(FileExists(std::string(windows) + "\\Plugins\\CQ-WPX-CW-SSB.ini"));
}

TEST_F(StatisticsRun, CwKeyOfTheSettingsFileMakesItACwRun) {
    dir.MakePluginsFolder();
    // Section and key in other letter case, blanks around the value.
    ASSERT_TRUE(WriteBytes(SettingsFile(), "[settings]\r\n  cw =  1 \r\n"));
    EXPECT_EQ(Reset(), 1);
    EXPECT_EQ(ReadBytes(kCwFile), "CQ-WPX-CW TEST UBN file \r\n");
    EXPECT_FALSE(FileExists(kSsbFile));
    const std::string result = dll.GetResult0(nullptr);
    EXPECT_EQ(result.rfind("  CQ-WPX-CW Contest 29.05-30.05.2021 \r\n", 0), 0u) << result;
}

TEST_F(StatisticsRun, StartAndClaimedKeysAreWrittenThroughTheProfileApi) {
    dir.MakePluginsFolder();
    ASSERT_TRUE(WriteBytes(SettingsFile(), "; kept comment\r\n[Other]\r\nx=1\r\n"));
    EXPECT_EQ(Setting("Start"), "<missing>");
    Reset();
    EXPECT_EQ(Setting("Start"), "1");
    Reset();
    EXPECT_EQ(Setting("Start"), "0");
    Reset();
    EXPECT_EQ(Setting("Start"), "1");

    AddLog();
    int out = 12345;
    dll.GetResult0(&out);
    EXPECT_EQ(out, -1);
    EXPECT_EQ(Setting("Claimed"), "8");
    EXPECT_EQ(Setting("x", "Other"), "1");
    const auto bytes = ReadBytes(SettingsFile());
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->rfind("; kept comment\r\n", 0), 0u) << *bytes;
}

TEST_F(StatisticsRun, AddAndRemoveKeepTheBadQsoFileInStep) {
    Reset();
    AddLog();
    dll.GetResult0(nullptr);  // a run of additions leaves its lines at the next call
    EXPECT_EQ(ReadBytes(kSsbFile), std::string(kSsbHeader) + kDupeLine + kWrongBandLine);
    EXPECT_EQ(dll.Remove(kDlAgain), 1);
    EXPECT_EQ(ReadBytes(kSsbFile), std::string(kSsbHeader) + kWrongBandLine);
    EXPECT_EQ(dll.Remove(kJa30m), 1);
    EXPECT_EQ(ReadBytes(kSsbFile), kSsbHeader);
    // Each rewrite's temporary file went into place: nothing is left beside it.
    EXPECT_EQ(ListFolder(dir.Path()), (std::vector<std::string>{kSsbFile, "Zelk2.ini"}));
}

// Another program holds the bad-QSO file open without letting it be replaced
// (a viewer, a virus scanner, the search indexer): it is written over in
// place, so a removed QSO's line goes and a reset leaves no stale lines. Held
// without write sharing too (as an editor may), it stays as it was, and no
// temporary file is left.
TEST_F(StatisticsRun, BadQsoFileHeldOpenByAnotherProgram) {
    Reset();
    AddLog();
    HANDLE held = CreateFileA(kSsbFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(dll.Remove(kDlAgain), 1);
    EXPECT_EQ(ReadBytes(kSsbFile), std::string(kSsbHeader) + kWrongBandLine);
    EXPECT_EQ(Reset(), 1);
    EXPECT_EQ(ReadBytes(kSsbFile), kSsbHeader);
    EXPECT_EQ(ListFolder(dir.Path()), (std::vector<std::string>{kSsbFile, "Zelk2.ini"}));
    CloseHandle(held);

    AddLog();
    dll.GetResult0(nullptr);
    const std::string before = ReadBytes(kSsbFile).value_or("");
    held = CreateFileA(kSsbFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(dll.Remove(kDlAgain), 1);
    EXPECT_EQ(ReadBytes(kSsbFile), before);
    EXPECT_EQ(ListFolder(dir.Path()), (std::vector<std::string>{kSsbFile, "Zelk2.ini"}));
    CloseHandle(held);
}

TEST_F(StatisticsRun, CheckCallAnswers) {
    Reset();
    ASSERT_EQ(dll.Add(kDl), 1);
    ASSERT_EQ(dll.Add(kW1), 1);
    EXPECT_EQ(dll.Check("DL1AAA", "SSB", "DL1", "DL", "20m", "20m"), 0);  // same call, same band
    EXPECT_EQ(dll.Check("DL1AAA", "SSB", "DL1", "DL", "40m", "40m"), 1);  // other band, known prefix
    EXPECT_EQ(dll.Check("DL2BBB", "SSB", "DL2", "DL", "20m", nullptr), 2);
    EXPECT_EQ(dll.Check("W1ABC", "SSB", "W1", "K", "20m", nullptr), 1);
    EXPECT_EQ(dll.Check("OH2XX", "SSB", "OH2", "OH", "30m", "30m"), 4);
    EXPECT_EQ(dll.Check("OH2XX", "SSB", "OH2", "OH", "20m", "40m"), 4);
}

TEST_F(StatisticsRun, ResultTextAndClaimedScore) {
    dir.MakePluginsFolder();
    Reset();
    AddLog();
    int out = 0;
    const char* text = dll.GetResult0(&out);
    EXPECT_EQ(out, -1);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text),
              "  CQ-WPX-SSB Contest 29.05-30.05.2021 \r\n"
              "     Contestant: K1ABC\r\n"
              "Band\tQSOs\tPoints\tNew Prefix\r\n"
              "40m\t 1\t  1\r\n"
              "20m\t 1\t  3\r\n"
              "Total\t 2\t  4\t    2\r\n"
              "Dupe\t 1\r\n"
              "Bad QSO\t 1\r\n"
              "Score = 4 * 2  = 8 \r\n"
              "\t\t\tRate\r\n"
              "Hourly (10min) QSO rate:     2 (12) QSOs/hour\r\n"
              "Hourly (10min) pts rate:     4 (24) points/hour\r\n"
              "\r\n"
              "Last QSO: 3 points\r\n");
    EXPECT_EQ(Setting("Claimed"), "8");
    EXPECT_EQ(std::string(dll.GetResult0(nullptr)), std::string(text));
}

// The host version comes from the host's settings file, found with a Windows
// file search in the folder the host names; two versions take an invalid band
// as a known prefix.
TEST_F(StatisticsRun, HostVersionIsFoundByFileSearch) {
    dir.MakePluginsFolder();
    // A set "Start" key keeps the windows closed for a newer host too.
    auto noWindows = [&] { ASSERT_TRUE(WritePrivateProfileStringA("Settings", "Start", "1", SettingsFile().c_str())); };
    ASSERT_TRUE(WriteBytes("Zelk2.ini", "[Zelk]\r\nZelk=2.19\r\n"));

    noWindows();
    Reset(dir.Path() + "\\");
    EXPECT_EQ(dll.Check("OH2XX", "SSB", "OH2", "OH", "30m", nullptr), 1);

    noWindows();
    Reset(dir.Path() + "\\Plugins\\");  // no host settings file there
    EXPECT_EQ(dll.Check("OH2XX", "SSB", "OH2", "OH", "30m", nullptr), 4);
}

// The 16-byte date-time crosses as {date, status}: a valid date is printed,
// an invalid status gives the invalid text, a null one nothing. Distinct
// values in every unread argument change nothing.
TEST_F(StatisticsRun, DateTimeStructAndUnreadArguments) {
    EXPECT_EQ(dll.Reset("", "K1ABC", At(2021, 5, 29), At(2021, 5, 30, 23, 59), "K", "NA", Unread::kDecoys), 1);
    EXPECT_EQ(ReadBytes(kSsbFile), kSsbHeader);

    Qso q = kJa30m;
    EXPECT_EQ(dll.Add(q, Unread::kDecoys), 0);
    q.time.m_status = HostDate::kInvalid;  // same date value: the status decides
    EXPECT_EQ(dll.Add(q), 0);
    q.time = HostDate::Null();
    EXPECT_EQ(dll.Add(q), 0);
    dll.GetResult0(nullptr);
    EXPECT_EQ(ReadBytes(kSsbFile),
              std::string(kSsbHeader) + kWrongBandLine +
                  "QSO:  10120  SSB  Invalid DateTime  K1ABC  59  004  JA1ZZZ  59  007   WRONG BAND !!!\r\n"
                  "QSO:  10120  SSB    K1ABC  59  004  JA1ZZZ  59  007   WRONG BAND !!!\r\n");

    ASSERT_EQ(dll.Add(kDl, Unread::kDecoys), 1);
    EXPECT_EQ(dll.Check("DL1AAA", "SSB", "DL1", "DL", "20m", nullptr, Unread::kDecoys), 0);
    EXPECT_EQ(dll.Check("OH2XX", "SSB", "OH2", "OH", "20m", nullptr, Unread::kDecoys), 2);
    EXPECT_EQ(dll.Remove(kJa30m, Unread::kDecoys), 1);
    EXPECT_EQ(ReadBytes(kSsbFile),
              std::string(kSsbHeader) +
                  "QSO:  10120  SSB  Invalid DateTime  K1ABC  59  004  JA1ZZZ  59  007   WRONG BAND !!!\r\n"
                  "QSO:  10120  SSB    K1ABC  59  004  JA1ZZZ  59  007   WRONG BAND !!!\r\n");
}

}  // namespace
}  // namespace wine_tests
