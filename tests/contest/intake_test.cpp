// QSO intake and removal, seen through the log and the bad-QSO file.
#include <filesystem>
#include <random>

#include "contest/bad_qso_file.h"
#include "contest/file_util.h"
#include "test_support.h"

using namespace stats;
using namespace stats::test;
using badqso::kReasonDupe;

namespace {

// Puts back the file operations that a test swapped for failing ones.
struct RestoreFileOperations {
    FileOperations saved = FileOperationsInUse();
    ~RestoreFileOperations() { FileOperationsInUse() = saved; }
};

// A file can be added to but not created or emptied.
std::FILE* NoWholeWrites(const char* path, const char* mode) {
    return mode[0] == 'w' ? nullptr : std::fopen(path, mode);
}

class Intake : public PluginTest {
protected:
    const QsoLog& Log() { return plugin.State().g_QsoLog; }
};

TEST_F(Intake, ReportLinesHaveTheirExactBytes) {
    Qso q;
    q.band = "30m";
    q.freqHz = 10123999;  // the hertz below a whole kilohertz are dropped
    EXPECT_EQ(Add(q), 0);
    EXPECT_EQ(BadFile(),
              "CQ-WPX-SSB TEST UBN file \r\n"
              "QSO:  10123  CW  2021-05-29 1000  UA3ABC  599  001  DL1AAA  599  015   WRONG BAND !!!\r\n");
}

// A run of additions writes its lines together, before the next call of any
// other kind; a file deleted from outside comes back with the next lines.
TEST_F(Intake, ReportLinesAreInTheFileAtTheNextOtherCall) {
    const std::string name = plugin.State().g_BadQsoFile.Name(), header = "CQ-WPX-SSB TEST UBN file \r\n";
    Qso bad;
    bad.band = "30m";
    const std::string line = LineOf(bad, badqso::kReasonWrongBand) + "\r\n";
    Add(bad);
    Add(bad);
    EXPECT_EQ(ReadFile(name), header);
    plugin.CheckCallFunc(CallCheckInput{});
    EXPECT_EQ(ReadFile(name), header + line + line);
    std::filesystem::remove(name);
    Add(bad);
    plugin.CheckCallFunc(CallCheckInput{});
    EXPECT_EQ(ReadFile(name), line);
}

TEST_F(Intake, RejectsInOrderBandModeSerials) {
    Qso wrongBoth;
    wrongBoth.band = "30m";
    wrongBoth.mode = "RTTY";
    Qso wrongMode;
    wrongMode.band = "40m";
    wrongMode.mode = "RTTY";
    Qso noSent;
    noSent.exchSent = "";
    Qso noRcvd;
    noRcvd.exchRcvd = "";
    for (const Qso* q : {&wrongBoth, &wrongMode, &noSent, &noRcvd}) EXPECT_EQ(Add(*q), 0);

    EXPECT_EQ(BadLines(), (std::vector<std::string>{
                              LineOf(wrongBoth, badqso::kReasonWrongBand), LineOf(wrongMode, badqso::kReasonWrongMode),
                              LineOf(noSent, badqso::kReasonNoNumber), LineOf(noRcvd, badqso::kReasonNoNumber)}));
    EXPECT_EQ(Log().GetCount(), 0u);
    // A band passes into the worked bands even when a later check rejects the QSO.
    EXPECT_EQ(plugin.State().g_WorkedBands, (std::vector<std::string>{"40m", "20m"}));
}

TEST_F(Intake, BandAndModeChecksIgnoreCaseButTheLogDoesNot) {
    Qso upper;
    upper.band = "20M";
    upper.mode = "cw";
    EXPECT_EQ(Add(upper), 1);
    EXPECT_EQ(Add(Qso{}), 1) << "20m/CW differs from 20M/cw";
    EXPECT_EQ(plugin.State().g_WorkedBands, (std::vector<std::string>{"20M", "20m"}));
    EXPECT_TRUE(BadLines().empty());
    EXPECT_EQ(Log().GetAt(0).m_strBand, "20M");
    EXPECT_EQ(Log().GetAt(0).m_strMode, "cw");
}

TEST_F(Intake, DupesAreStoredFlaggedWithOneLinePerEarlierMatch) {
    Qso q;
    Qso other = q;
    other.mode = "SSB";
    Qso lower = q;
    lower.call = "dl1aaa";
    Qso second = q, third = q;
    second.time = At(2021, 5, 29, 11, 0);
    third.time = At(2021, 5, 29, 12, 0);
    for (const Qso* x : {&q, &other, &lower, &second, &third}) EXPECT_EQ(Add(*x), 1);

    EXPECT_EQ(BadLines(), (std::vector<std::string>{LineOf(second, kReasonDupe), LineOf(third, kReasonDupe),
                                                    LineOf(third, kReasonDupe)}));
    const std::vector<int> dupes = {0, 0, 0, 1, 1};
    for (std::size_t i = 0; i < dupes.size(); ++i) {
        EXPECT_EQ(Log().GetAt(i).m_bDupe, dupes[i]) << i;
        EXPECT_EQ(Log().GetAt(i).m_bExcluded, dupes[i]) << i;
    }
}

TEST_F(Intake, RecordsKeepTheHostsTextsAndAreIndependentCopies) {
    Qso q;
    q.call = " dl1aaa/p ";
    q.freqHz = 7000999;
    Add(q);
    CInfo copy = Log().GetAt(0);
    EXPECT_EQ(copy.m_strCall, " dl1aaa/p ");
    EXPECT_EQ(copy.m_nFreqKHz, 7000u);
    EXPECT_TRUE(OleDatesEqual(copy.m_time, q.time));
    copy.m_strCall = "changed";
    EXPECT_EQ(Log().GetAt(0).m_strCall, " dl1aaa/p ");
    EXPECT_THROW(Log().GetAt(1), std::out_of_range);
}

TEST_F(Intake, AnEightByteCallIsNotALongerOneThatBeginsWithIt) {
    // These two calls share the full 32-bit hash of the log's text table; the
    // short one must not be taken for the long one, so it is no dupe.
    Qso longer;
    longer.call = "DL1ABC/PBZ5C7T2";
    Qso shorter;
    shorter.call = "DL1ABC/P";
    shorter.time = At(2021, 5, 29, 11, 0);
    EXPECT_EQ(Add(longer), 1);
    EXPECT_EQ(Add(shorter), 1);
    EXPECT_TRUE(BadLines().empty());
    EXPECT_EQ(Log().GetAt(1).m_strCall, "DL1ABC/P");
    EXPECT_EQ(Log().GetAt(1).m_bDupe, 0);
}

class Removal : public Intake {};

TEST_F(Removal, TakesTheFirstQsoWithSameCallBandModeAndTime) {
    Qso a, b, c;
    b.time = At(2021, 5, 29, 10, 5);
    c.band = "40m";
    Add(a);
    Add(b);
    Add(c);
    Qso notThere = a;
    notThere.time = At(2021, 5, 29, 9, 0);
    EXPECT_EQ(Remove(notThere), 1);
    EXPECT_EQ(Log().GetCount(), 3u);
    EXPECT_EQ(Remove(b), 1);
    ASSERT_EQ(Log().GetCount(), 2u);
    EXPECT_EQ(Log().GetAt(0).m_strBand, "20m");
    EXPECT_EQ(Log().GetAt(1).m_strBand, "40m");
    Remove(a);
    Remove(c);
    EXPECT_TRUE(Log().IsEmpty());
    Add(b);
    EXPECT_EQ(Log().GetCount(), 1u);
}

TEST_F(Removal, DeletesOnlyTheRemovedQsosOwnLines) {
    // Calls that contain each other, and lines of the same minute, stay.
    Qso k1a;
    k1a.call = "K1A";
    k1a.mode = "RTTY";
    Qso k1ab = k1a;
    k1ab.call = "K1AB";
    Qso sameMinuteOtherDay = k1a;
    sameMinuteOtherDay.time = At(2021, 5, 28, 10, 0);
    Qso ownCallHolder = k1a;
    ownCallHolder.call = "UA3";  // part of the own call UA3ABC
    Qso otherMode = k1a;
    otherMode.mode = "FM";
    for (const Qso* q : {&k1a, &k1ab, &sameMinuteOtherDay, &ownCallHolder, &otherMode}) Add(*q);

    Remove(k1a);
    EXPECT_EQ(BadLines(), (std::vector<std::string>{LineOf(k1ab, badqso::kReasonWrongMode),
                                                    LineOf(sameMinuteOtherDay, badqso::kReasonWrongMode),
                                                    LineOf(ownCallHolder, badqso::kReasonWrongMode),
                                                    LineOf(otherMode, badqso::kReasonWrongMode)}));
    Remove(ownCallHolder);
    EXPECT_EQ(BadLines().size(), 3u);
    EXPECT_EQ(BadFile().substr(0, 27), "CQ-WPX-SSB TEST UBN file \r\n");
}

TEST_F(Removal, TextsWithLineBreaksOrDoubleBlanksKeepOneLinePerQsoAndLoseIt) {
    Qso brokenCall;
    brokenCall.call = "DL1\nAAA";
    brokenCall.band = "30m";
    Qso blankSerial;
    blankSerial.call = "K1ZZ";
    blankSerial.mode = "RTTY";
    blankSerial.exchRcvd = "1  2";  // hides the worked call from the field-wise match
    Qso first;
    first.call = "G4XYZ";
    first.exchRcvd = "015\r\n";
    Qso dupe = first;
    dupe.time = At(2021, 5, 29, 10, 5);
    for (const Qso* q : {&brokenCall, &blankSerial, &first, &dupe}) Add(*q);
    EXPECT_EQ(BadLines(), (std::vector<std::string>{
                              "QSO:  14025  CW  2021-05-29 1000  UA3ABC  599  001  DL1 AAA  599  015   WRONG BAND !!!",
                              LineOf(blankSerial, badqso::kReasonWrongMode),
                              "QSO:  14025  CW  2021-05-29 1005  UA3ABC  599  001  G4XYZ  599  015     DUPE !!!"}));

    for (const Qso* q : {&brokenCall, &blankSerial, &first}) Remove(*q);
    EXPECT_TRUE(BadLines().empty());
}

TEST_F(Removal, LaterDupesCountAgainAsIfTheRemovedQsoWasNeverAdded) {
    Qso first, second, third;
    second.time = At(2021, 5, 29, 11, 0);
    second.exchRcvd = "099";
    third.time = At(2021, 5, 29, 12, 0);
    third.exchRcvd = "120";
    Add(first);
    Add(second);
    Add(third);
    ASSERT_EQ(BadLines().size(), 3u);

    Remove(first);
    EXPECT_EQ(Log().GetAt(0).m_bDupe, 0);
    EXPECT_EQ(Log().GetAt(0).m_bExcluded, 0);
    EXPECT_EQ(Log().GetAt(1).m_bDupe, 1);
    EXPECT_EQ(BadLines(), (std::vector<std::string>{LineOf(third, kReasonDupe)}));
    EXPECT_NE(Result().find("Total\t 1\t  1\t    1\r\nDupe\t 1\r\nBad QSO\t 0\r\n"), std::string::npos);

    Remove(third);
    EXPECT_TRUE(BadLines().empty());
    EXPECT_EQ(Log().GetAt(0).m_bDupe, 0);
}

TEST_F(Removal, TheMiddleOfThreeTakesOneLineFromTheLast) {
    Qso a, b, c;
    b.time = At(2021, 5, 29, 11, 0);
    c.time = At(2021, 5, 29, 12, 0);
    Add(a);
    Add(b);
    Add(c);
    Remove(b);
    EXPECT_EQ(BadLines(), (std::vector<std::string>{LineOf(c, kReasonDupe)}));
    EXPECT_EQ(Log().GetAt(0).m_bDupe, 0);
    EXPECT_EQ(Log().GetAt(1).m_bDupe, 1);
}

TEST_F(Removal, EmptyLogClearsWorkedPrefixesButNotBands) {
    Qso q;
    Add(q);
    Result();
    EXPECT_EQ(plugin.State().g_WorkedPrefixes.Texts(plugin.State().g_QsoLog), std::vector<std::string>{"DL1"});
    Remove(q);
    EXPECT_TRUE(plugin.State().g_WorkedPrefixes.empty());
    EXPECT_EQ(plugin.State().g_WorkedBands, std::vector<std::string>{"20m"});
}

TEST_F(Removal, AFileThatCannotBeReadIsLeftAlone) {
    const std::string name = plugin.State().g_BadQsoFile.Name();
    std::filesystem::remove(name);
    std::filesystem::create_directory(name);  // there, but not readable as a file
    Remove(Qso{});
    EXPECT_TRUE(std::filesystem::is_directory(name));
}

TEST_F(Removal, AMissingFileIsWrittenWithItsHeader) {
    Qso bad;
    bad.band = "30m";
    Add(bad);
    plugin.WriteWaitingLines();
    std::filesystem::remove(plugin.State().g_BadQsoFile.Name());
    Remove(bad);  // a removal that takes a line out rewrites the file
    EXPECT_EQ(BadFile(), "CQ-WPX-SSB TEST UBN file \r\n");
}

TEST_F(Removal, AReportLineInPlaceOfTheHeaderIsKept) {
    // The intake recreates a deleted file without a header; its first line is a report.
    std::filesystem::remove(plugin.State().g_BadQsoFile.Name());
    Qso bad;
    bad.band = "30m";
    Add(bad);
    Qso other;
    other.call = "K1ZZ";
    other.band = "30m";
    Add(other);
    Remove(other);
    EXPECT_EQ(BadLines(), std::vector<std::string>{LineOf(bad, badqso::kReasonWrongBand)});
    EXPECT_FALSE(std::filesystem::exists(plugin.State().g_BadQsoFile.Name() + ".tmp"));
}

// Another program holds the file (so it cannot be replaced) or the folder
// takes no new files: the file is written over in place instead, and it keeps
// its old lines only when that fails too.
TEST_F(Removal, AFileThatCannotBeReplacedIsWrittenInPlace) {
    RestoreFileOperations restore;
    const std::string header = "CQ-WPX-SSB TEST UBN file \r\n";
    Qso bad;
    bad.band = "30m";

    FileOperationsInUse().moveReplacing = [](const std::string&, const std::string&) { return false; };
    Add(bad);
    Remove(bad);
    EXPECT_EQ(BadFile(), header);
    FileOperationsInUse().open = [](const char* path, const char* mode) {
        return std::string_view(path).ends_with(".tmp") ? nullptr : std::fopen(path, mode);
    };
    Add(bad);
    Remove(bad);
    EXPECT_EQ(BadFile(), header);
    EXPECT_FALSE(std::filesystem::exists(plugin.State().g_BadQsoFile.Name() + ".tmp"));

    FileOperationsInUse().open = NoWholeWrites;
    Add(bad);
    Remove(bad);
    EXPECT_EQ(BadLines(), std::vector<std::string>{LineOf(bad, badqso::kReasonWrongBand)});
}

// The reset could not empty the file at all: its lines are the last run's,
// neither counted nor added to, until a result request can empty it.
TEST_F(Removal, AFileTheResetCouldNotEmptyIsNeitherCountedNorAddedTo) {
    RestoreFileOperations restore;
    Qso bad;
    bad.band = "30m";
    Add(bad);
    FileOperationsInUse().open = NoWholeWrites;
    Reset();
    Add(bad);
    EXPECT_EQ(BadLines(), std::vector<std::string>{LineOf(bad, badqso::kReasonWrongBand)});
    EXPECT_NE(Result().find("Bad QSO\t 0\r\n"), std::string::npos);
    FileOperationsInUse() = restore.saved;
    EXPECT_NE(Result().find("Bad QSO\t 0\r\n"), std::string::npos);
    EXPECT_EQ(BadLines(), std::vector<std::string>{});
    Add(bad);
    EXPECT_NE(Result().find("Bad QSO\t 1\r\n"), std::string::npos);
}

// Adds and removes at random; the log and the bad-QSO file must always be what
// a fresh run that never saw the removed QSOs gives.
TEST_F(Removal, AnyRemovalsEqualAReplayWithoutThem) {
    std::mt19937 random(20210530);
    const char* calls[] = {"K1A", "K1AB", "DL1AAA", "UA3", "JA1XYZ"};
    const char* bands[] = {"20m", "40m", "20M", "30m"};
    const char* modes[] = {"CW", "SSB", "RTTY"};
    for (int round = 0; round < 20; ++round) {
        Reset();
        std::vector<Qso> added;  // in order; removed ones erased
        for (int step = 0; step < 60; ++step) {
            if (!added.empty() && random() % 4 == 0) {
                const std::size_t victim = random() % added.size();
                Remove(added[victim]);
                added.erase(added.begin() + static_cast<std::ptrdiff_t>(victim));
                continue;
            }
            Qso q;
            q.call = calls[random() % 5];
            q.band = bands[random() % 4];
            q.mode = modes[random() % 3];
            q.time = At(2021, 5, 29, 0, step);  // one QSO per minute keeps every QSO's lines its own
            q.exchRcvd = random() % 10 == 0 ? "" : std::to_string(step);
            Add(q);
            added.push_back(q);
        }
        const std::string file = BadFile();
        std::vector<CInfo> log;
        for (std::size_t i = 0; i < Log().GetCount(); ++i) log.push_back(Log().GetAt(i));

        Reset();
        for (const Qso& q : added) Add(q);
        ASSERT_EQ(BadFile(), file) << "round " << round;
        ASSERT_EQ(Log().GetCount(), log.size());
        for (std::size_t i = 0; i < log.size(); ++i) {
            ASSERT_EQ(Log().GetAt(i).m_strCall, log[i].m_strCall);
            ASSERT_EQ(Log().GetAt(i).m_bDupe, log[i].m_bDupe) << "round " << round << " record " << i;
        }
    }
}

}  // namespace
