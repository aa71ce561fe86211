#include "test_support.h"

#include <fstream>
#include <random>
#include <sstream>

namespace stats::test {

ScratchDir::ScratchDir() : old_(std::filesystem::current_path()) {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("stats-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::current_path(old_, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::vector<std::string> SplitCrLf(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t from = 0, at;
    while ((at = content.find("\r\n", from)) != std::string::npos) {
        lines.push_back(content.substr(from, at - from));
        from = at + 2;
    }
    if (from < content.size()) lines.push_back(content.substr(from));
    return lines;
}

OleDateTime At(int year, int month, int day, int hour, int minute, double second) {
    return OleDateTime::Valid(OleDateFromFields(year, month, day, hour, minute, second));
}

QsoInput Qso::Input() const {
    QsoInput in;
    in.ownCall = ownCall;
    in.call = call;
    in.qsoTime = time;
    in.frequencyHz = freqHz;
    in.mode = mode;
    in.rstSent = rstSent;
    in.rstReceived = rstRcvd;
    in.exchangeSent = exchSent;
    in.exchangeReceived = exchRcvd;
    in.wpxPrefix = prefix;
    in.countryPrefix = country;
    in.continent = continent;
    in.band = band;
    return in;
}

}  // namespace stats::test

#include "contest/bad_qso_file.h"

namespace stats::test {

PluginTest::PluginTest() {
    reset.iniSearchPath = "";
    reset.ownCall = "UA3ABC";
    reset.startTime = At(2021, 5, 29);
    reset.endTime = At(2021, 5, 30);
    reset.ownCountryPrefix = "UA";
    reset.ownContinent = "EU";
    std::filesystem::create_directory("Plugins");
    Reset();
}

void PluginTest::Reset(int reportRequest) {
    reset.reportRequest = reportRequest;
    plugin.ResetStats(reset);
}

std::vector<std::string> PluginTest::BadLines() {
    auto lines = SplitCrLf(BadFile());
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
}

Qso Make(const char* call, const char* band, const char* country, const char* continent, const char* prefix,
         int hour, int minute, double second) {
    Qso q;
    q.call = call;
    q.band = band;
    q.country = country;
    q.continent = continent;
    q.prefix = prefix;
    q.time = At(2021, 5, 29, hour, minute, second);
    return q;
}

std::vector<Qso> WorkedExample() {
    Qso first = Make("DL1AAA", "40m", "DL", "EU", "DL1", 10, 0);
    first.freqHz = 7015000;
    first.exchSent = "001";
    first.exchRcvd = "030";
    Qso rejected = Make("G4XYZ", "40m", "G", "EU", "G4", 10, 20);
    rejected.mode = "RTTY";
    rejected.freqHz = 7012000;
    rejected.exchSent = "002";
    rejected.exchRcvd = "007";
    Qso dupe = first;
    dupe.time = At(2021, 5, 29, 10, 58);
    dupe.exchSent = "005";
    dupe.exchRcvd = "031";
    return {first, Make("K1ZZ", "20m", "K", "NA", "K1", 10, 30), rejected, Make("UA3QQ", "20m", "UA", "EU", "UA3", 10, 55),
            dupe};
}

std::string Golden(const std::string& name) { return ReadFile(std::string(STATS_TEST_DATA) + "/" + name); }

::testing::AssertionResult SameText(const std::string& actual, const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    const auto a = SplitCrLf(actual), e = SplitCrLf(expected);
    std::size_t i = 0;
    while (i < a.size() && i < e.size() && a[i] == e[i]) ++i;
    return ::testing::AssertionFailure() << "first difference at line " << i + 1 << ":\n  actual:   "
                                         << (i < a.size() ? a[i] : "(end)") << "\n  expected: "
                                         << (i < e.size() ? e[i] : "(end)") << "\n(" << actual.size() << " vs "
                                         << expected.size() << " bytes; line ends matter too)";
}

std::string LineOf(const Qso& q, const char* reason) { return ReportLineFor(q.Input(), reason); }

}  // namespace stats::test
