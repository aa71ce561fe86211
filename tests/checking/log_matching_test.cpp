// Logs of stations that worked each other, matched QSO by QSO: a table of
// small pairs of logs, each with what every QSO comes to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checking/log_matching.h"

using namespace stats;

namespace {

constexpr std::int64_t kAt = 60 * 480000;

MatchQso Q(const char* call, std::int64_t minute, const char* sent, const char* received, const char* band = "20m") {
    return MatchQso{call, band, kAt + minute, sent, received};
}

// One letter a QSO: M matched, m matched though the other log busted this
// call, S serial mismatch, B busted call, N not in log, - not judged.
std::string Results(const std::vector<QsoMatch>& matches) {
    std::string out;
    for (const QsoMatch& m : matches) switch (m.result) {
            case MatchResult::kMatched:
                out += m.otherBustedCall ? 'm' : 'M';
                break;
            case MatchResult::kSerialMismatch:
                out += 'S';
                break;
            case MatchResult::kBustedCall:
                out += 'B';
                break;
            case MatchResult::kNotInLog:
                out += 'N';
                break;
            case MatchResult::kNotJudged:
                out += '-';
                break;
        }
    return out;
}

struct Case {
    const char* what;
    std::vector<MatchLog> logs;
    std::vector<std::string> expected;  // Results() of each log
};

}  // namespace

TEST(LogMatching, EachQsoOfLogsGivenTogether) {
    const std::vector<Case> cases = {
        {"the same QSO in both logs, calls in any case, clocks 3 minutes apart",
         {{"DL1AAA", {Q("K1ZZ", 100, "1", "5")}}, {"K1ZZ", {Q("dl1aaa", 103, "5", "1")}}},
         {"M", "M"}},
        {"serials compare as numbers; one received wrong",
         {{"DL1AAA", {Q("K1ZZ", 100, "1", "6")}}, {"K1ZZ", {Q("DL1AAA", 100, "5", "001")}}},
         {"S", "M"}},
        {"more than 5 minutes apart, or on another band: in neither log",
         {{"DL1AAA", {Q("K1ZZ", 100, "1", "5"), Q("K1ZZ", 200, "2", "6", "40m")}},
          {"K1ZZ", {Q("DL1AAA", 106, "5", "1"), Q("DL1AAA", 200, "6", "2", "15m")}}},
         {"NN", "NN"}},
        {"a call one letter off, where the other log has the QSO",
         {{"DL1AAA", {Q("K1ZX", 100, "1", "5")}}, {"K1ZZ", {Q("DL1AAA", 101, "5", "1")}}},
         {"B", "m"}},
        {"closest in time first, each QSO in one pair",
         {{"DL1AAA", {Q("K1ZZ", 100, "1", "5"), Q("K1ZZ", 110, "2", "5")}}, {"K1ZZ", {Q("DL1AAA", 108, "5", "2")}}},
         {"NM", "M"}},
        {"a station whose log is not given is not judged",
         {{"DL1AAA", {Q("W1AW", 100, "1", "5"), Q("K1ZZ", 101, "2", "7")}}, {"K1ZZ", {Q("DL1AAA", 101, "7", "2")}}},
         {"-M", "M"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto matches = MatchLogs(c.logs);
        ASSERT_EQ(matches.size(), c.expected.size());
        for (std::size_t l = 0; l < matches.size(); ++l) EXPECT_EQ(Results(matches[l]), c.expected[l]) << "log " << l;
    }
}
