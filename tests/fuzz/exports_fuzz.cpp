// Fuzz target: the exported functions, called as a host would call them, with
// whatever the input makes of the arguments. The input is read as a sequence
// of host calls (resets, additions, removals, call checks, result requests,
// the version text); texts may hold any byte but NUL, be long, empty or null;
// dates may be NaN, infinite, negative, huge or carry any status.
//
// Checked on every input, beside the sanitizers' own checks: a text result
// adds up (band rows to the totals, points times multipliers to the score),
// and once every QSO added since the last reset is removed again, the log
// scores nothing and the bad-QSO file holds nothing but its header.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <limits>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_plugin.h"
#include "fuzz_support.h"
#include "plugin/exports.h"

namespace {

namespace fs = std::filesystem;
using fuzz::Fail;

// A few texts of each kind, so that dupes, removals and checks find each other.
const char* const kCalls[] = {"DL1AAA", "K1ABC", "UA3ABC", "JA1XYZ", "W1AW", "9A/W3WM", ""};
const char* const kBands[] = {"160m", "80m", "40m", "20m", "15m", "10m", "30m", "20M", ""};
const char* const kModes[] = {"CW", "SSB", "RTTY", "cw", ""};
const char* const kPrefixes[] = {"DL1", "K1", "UA3", "JA1", "W1", "9A0", ""};
const char* const kCountries[] = {"DL", "K", "UA", "JA", ""};
const char* const kContinents[] = {"EU", "NA", "AS", "SA", ""};
const char* const kReports[] = {"599", "59", "5NN", ""};
const char* const kSerials[] = {"001", "015", "0", "1234", ""};

class Texts {
public:
    explicit Texts(FuzzedDataProvider& in) : in_(in) {}

    // A text from the list, any text, or null; kept alive until the next input.
    const char* Pick(const char* const* list, std::size_t count) {
        switch (in_.ConsumeIntegralInRange<int>(0, 9)) {
            case 0:
                return nullptr;
            case 1: {
                kept_.push_back(in_.ConsumeRandomLengthString(300));
                return kept_.back().c_str();
            }
            case 2: {
                kept_.push_back(std::string(in_.ConsumeIntegralInRange<std::size_t>(0, 5000), 'A'));
                return kept_.back().c_str();
            }
            default:
                return list[in_.ConsumeIntegralInRange<std::size_t>(0, count - 1)];
        }
    }
    template <std::size_t N>
    const char* Pick(const char* const (&list)[N]) {
        return Pick(list, N);
    }

private:
    FuzzedDataProvider& in_;
    std::deque<std::string> kept_;  // its texts stay where they are
};

HostDateTime Date(FuzzedDataProvider& in) {
    HostDateTime d;
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
        case 0:
            d.m_dt = std::numeric_limits<double>::quiet_NaN();
            break;
        case 1:
            d.m_dt = in.ConsumeBool() ? std::numeric_limits<double>::infinity() : -std::numeric_limits<double>::infinity();
            break;
        case 2:
            d.m_dt = in.ConsumeFloatingPoint<double>();
            break;
        default:  // 29 and 30 May 2021, to the second
            d.m_dt = 44345.0 + in.ConsumeIntegralInRange<int>(0, 2 * 86400) / 86400.0;
            break;
    }
    d.m_status = in.ConsumeIntegralInRange<int>(0, 9) == 0 ? in.ConsumeIntegral<std::int32_t>() : HostDateTime::kValid;
    return d;
}

struct Qso {
    const char *call, *mode, *rstSent, *rstRcvd, *sent, *rcvd, *prefix, *country, *continent, *band;
    HostDateTime time;
    unsigned int hz;
};

int Call(decltype(&AddData0) fn, Qso& q) {
    return fn("UA3ABC", q.call, &q.time, nullptr, nullptr, nullptr, 0, q.hz, q.mode, q.rstSent, q.rstRcvd, q.sent,
              q.rcvd, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, q.prefix, q.country, 0, 0,
              0, 0.0, 0.0, nullptr, q.continent, nullptr, q.band, nullptr);
}

long long Number(const std::string& s) { return std::strtoll(s.c_str(), nullptr, 10); }

// The text form, not the HTML page (which a request of an earlier input may
// have asked for, and which may quote an own call holding "Score = ").
bool IsTextForm(const std::string& result) { return result.rfind("  CQ-WPX-", 0) == 0; }

// A text result's figures add up.
void CheckResult(const char* result) {
    if (result == nullptr) Fail("GetResult0 returned null", "");
    const std::string text = result;
    if (!IsTextForm(text)) return;
    std::istringstream lines(text);
    long long qsos = 0, points = 0;
    bool inBands = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("Band\t", 0) == 0) {
            inBands = true;
            continue;
        }
        if (line.rfind("Total\t", 0) == 0) {
            std::istringstream fields(line.substr(6));
            long long totalQsos = 0, totalPoints = 0;
            fields >> totalQsos >> totalPoints;
            if (totalQsos != qsos || totalPoints != points) Fail("band rows do not add up to the totals", text);
            inBands = false;
            continue;
        }
        if (inBands) {
            const std::size_t tab = line.find('\t');
            if (tab == std::string::npos) Fail("a band row without its figures", text);
            std::istringstream fields(line.substr(tab + 1));
            long long q = 0, p = 0;
            fields >> q >> p;
            qsos += q;
            points += p;
        }
        if (line.rfind("Score = ", 0) == 0) {
            const std::size_t times = line.find(" * "), equals = line.find("  = ");
            if (times == std::string::npos || equals == std::string::npos) Fail("a malformed score line", text);
            const long long a = Number(line.substr(8)), b = Number(line.substr(times + 3)),
                            score = Number(line.substr(equals + 4));
            if (a * b != score) Fail("points times multipliers is not the score", text);
        }
    }
}

// The bad-QSO file, when the input's resets made just one.
std::string OnlyBadQsoFile(const std::string& folder) {
    std::string found;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().rfind("BadQSO_", 0) == 0) {
            found = entry.path().string();
            ++count;
        }
    return count == 1 ? found : std::string();
}

std::string g_folder;

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// Every bad-QSO file holds its header and then whole report lines, each ending
// in its reason: a text of the host's with a line break in it must not split one.
void CheckBadQsoFiles() {
    static const char* const kReasons[] = {"   WRONG BAND !!!", "   WRONG MODE !!!", "   NO RX NUMBER !!!", "   DUPE !!!"};
    for (const auto& entry : fs::directory_iterator(g_folder)) {
        if (entry.path().filename().string().rfind("BadQSO_", 0) != 0) continue;
        const std::string content = fuzz::ReadFile(entry.path().string());
        if (content.empty()) continue;  // removed and not yet written again
        if (!EndsWith(content, "\r\n")) Fail("the bad-QSO file ends inside a line", content);
        std::size_t at = content.find("\r\n") + 2;
        const std::string header = content.substr(0, at);
        if (header != "CQ-WPX-CW TEST UBN file \r\n" && header != "CQ-WPX-SSB TEST UBN file \r\n")
            Fail("the bad-QSO file does not start with its header", content);
        while (at < content.size()) {
            const std::size_t end = content.find("\r\n", at);
            const std::string line = content.substr(at, end - at);
            bool reasoned = false;
            for (const char* reason : kReasons) reasoned = reasoned || EndsWith(line, reason);
            if (line.rfind("QSO:  ", 0) != 0 || !reasoned) Fail("a bad-QSO line is not one whole report", content);
            at = end + 2;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_folder = fuzz::EnterScratchFolder("stats-fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Texts texts(in);
    // Every input starts from the same files and the state after a load.
    fuzz::EmptyScratchFolder(g_folder);
    fuzz::ForgetTheLastInput();
    std::error_code ec;

    bool cw = false;
    std::vector<Qso> added;  // since the last reset, for the closing removals
    bool removable = true;   // every one of them can be found again by its date
    auto reset = [&] {
        cw = in.ConsumeBool();
        if (cw) {
            if (std::FILE* f = std::fopen("Plugins/CQ-WPX-CW-SSB.ini", "wb")) {
                std::fputs("[Settings]\r\nCW=1\r\n", f);
                std::fclose(f);
            }
        } else {
            fs::remove("Plugins/CQ-WPX-CW-SSB.ini", ec);
        }
        HostDateTime start = Date(in), end = Date(in);
        const int report = in.ConsumeIntegralInRange<int>(0, 3) == 0 ? 1 : 0;
        ResetStats0(in.ConsumeBool() ? nullptr : "", report, texts.Pick(kCalls), in.ConsumeBool() ? &start : nullptr,
                    in.ConsumeBool() ? &end : nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                    nullptr, nullptr, texts.Pick(kCountries), 0, 0, 0, 0.0, 0.0, nullptr, texts.Pick(kContinents),
                    nullptr);
        added.clear();
        removable = true;
    };
    reset();
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange<int>(0, 9)) {
            case 0:
                reset();
                break;
            case 1:
            case 2:
            case 3:
            case 4: {
                Qso q;
                q.call = texts.Pick(kCalls);
                q.mode = texts.Pick(kModes);
                q.rstSent = texts.Pick(kReports);
                q.rstRcvd = texts.Pick(kReports);
                q.sent = texts.Pick(kSerials);
                q.rcvd = texts.Pick(kSerials);
                q.prefix = texts.Pick(kPrefixes);
                q.country = texts.Pick(kCountries);
                q.continent = texts.Pick(kContinents);
                q.band = texts.Pick(kBands);
                q.time = Date(in);
                q.hz = in.ConsumeIntegral<unsigned int>();
                Call(AddData0, q);
                added.push_back(q);
                removable = removable && q.time.IsValid() && std::isfinite(q.time.m_dt);
                break;
            }
            case 5:
                if (!added.empty()) {
                    const std::size_t i = in.ConsumeIntegralInRange<std::size_t>(0, added.size() - 1);
                    Call(RemoveData0, added[i]);
                    added.erase(added.begin() + static_cast<std::ptrdiff_t>(i));
                }
                break;
            case 6: {
                char a[64] = {}, b[64] = {};
                CheckCall0(texts.Pick(kCalls), 0, 0, texts.Pick(kModes), nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, texts.Pick(kPrefixes), texts.Pick(kCountries), 0, 0, 0, 0.0, 0.0,
                           nullptr, texts.Pick(kContinents), nullptr, nullptr, nullptr, texts.Pick(kBands),
                           texts.Pick(kBands), in.ConsumeBool() ? a : nullptr, in.ConsumeBool() ? b : nullptr);
                break;
            }
            case 7: {
                int out = 0;
                CheckResult(GetResult0(in.ConsumeBool() ? &out : nullptr));
                CheckBadQsoFiles();
                break;
            }
            case 8:
                setVersion(texts.Pick(kCalls));
                break;
            default:
                GetSetName(in.ConsumeIntegral<int>());
                break;
        }
    }

    // Every QSO added since the last reset goes again, the last first.
    if (removable) {
        for (auto q = added.rbegin(); q != added.rend(); ++q) Call(RemoveData0, *q);
        const char* result = GetResult0(nullptr);
        CheckResult(result);
        const std::string text = result == nullptr ? "" : result;
        if (IsTextForm(text) &&
            (text.find("Total\t 0\t  0\t") == std::string::npos || text.find("Bad QSO\t 0\r\n") == std::string::npos))
            Fail("a log whose QSOs were all removed still scores", text);
        const std::string file = OnlyBadQsoFile(g_folder);
        if (!file.empty()) {
            const std::string content = fuzz::ReadFile(file);
            const std::string header = cw ? "CQ-WPX-CW TEST UBN file \r\n" : "CQ-WPX-SSB TEST UBN file \r\n";
            if (content != header) Fail("the bad-QSO file keeps lines of removed QSOs", content);
        }
    }
    return 0;
}
