#include "checking/log_matching.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>

#include "checking/received_serials.h"
#include "contest/text_util.h"

namespace stats {

namespace {

bool SameSerial(const std::string& sent, const std::string& received) {
    const auto a = SerialNumberOf(sent), b = SerialNumberOf(received);
    if (a && b) return *a == *b;
    return UpperAscii(sent) == UpperAscii(received);
}

std::int64_t Distance(std::int64_t a, std::int64_t b) { return a > b ? a - b : b - a; }

using CallIndex = std::unordered_map<std::string, std::vector<std::size_t>>;

}  // namespace

bool CallsClose(std::string_view a, std::string_view b) {
    if (a == b) return false;
    const std::size_t n = a.size(), m = b.size();
    if ((n > m ? n - m : m - n) > 2) return false;
    // Edit distance with swaps of neighbours (optimal string alignment).
    std::vector<std::vector<std::size_t>> d(n + 1, std::vector<std::size_t>(m + 1));
    for (std::size_t i = 0; i <= n; ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= m; ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= n; ++i)
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[n][m] <= 2;
}

std::vector<std::vector<QsoMatch>> MatchLogs(const std::vector<MatchLog>& logs, std::int64_t tolerance) {
    const std::size_t count = logs.size();
    std::vector<std::vector<QsoMatch>> result(count);
    std::vector<std::string> own(count);
    std::vector<CallIndex> byCall(count);
    for (std::size_t l = 0; l < count; ++l) {
        result[l].resize(logs[l].qsos.size());
        own[l] = UpperAscii(logs[l].ownCall);
        for (std::size_t q = 0; q < logs[l].qsos.size(); ++q) byCall[l][UpperAscii(logs[l].qsos[q].call)].push_back(q);
    }
    auto pair = [&](std::size_t a, std::size_t qa, std::size_t b, std::size_t qb) {
        QsoMatch& x = result[a][qa];
        QsoMatch& y = result[b][qb];
        x.otherLog = b;
        x.otherQso = qb;
        y.otherLog = a;
        y.otherQso = qa;
        x.result = SameSerial(logs[b].qsos[qb].serialSent, logs[a].qsos[qa].serialReceived)
                       ? MatchResult::kMatched
                       : MatchResult::kSerialMismatch;
        y.result = SameSerial(logs[a].qsos[qa].serialSent, logs[b].qsos[qb].serialReceived)
                       ? MatchResult::kMatched
                       : MatchResult::kSerialMismatch;
    };
    auto find = [](const CallIndex& index, const std::string& call) -> const std::vector<std::size_t>* {
        const auto it = index.find(call);
        return it == index.end() ? nullptr : &it->second;
    };

    // The calls the other way round, same band, closest in time first.
    for (std::size_t a = 0; a < count; ++a)
        for (std::size_t b = a + 1; b < count; ++b) {
            const auto* fromA = find(byCall[a], own[b]);
            const auto* fromB = find(byCall[b], own[a]);
            if (fromA == nullptr || fromB == nullptr) continue;
            std::vector<std::tuple<std::int64_t, std::int64_t, std::size_t, std::size_t>> candidates;
            for (const std::size_t qa : *fromA)
                for (const std::size_t qb : *fromB) {
                    const MatchQso& x = logs[a].qsos[qa];
                    const MatchQso& y = logs[b].qsos[qb];
                    const std::int64_t apart = Distance(x.minute, y.minute);
                    if (x.band == y.band && apart <= tolerance) candidates.emplace_back(apart, x.minute, qa, qb);
                }
            std::sort(candidates.begin(), candidates.end());
            for (const auto& [apart, minute, qa, qb] : candidates)
                if (!result[a][qa].otherQso && !result[b][qb].otherQso) pair(a, qa, b, qb);
        }

    // A call left over, close to a station whose log is given, where that
    // log has a QSO with this station that found no match.
    for (std::size_t a = 0; a < count; ++a)
        for (std::size_t qa = 0; qa < logs[a].qsos.size(); ++qa) {
            if (result[a][qa].otherQso) continue;
            const MatchQso& x = logs[a].qsos[qa];
            const std::string call = UpperAscii(x.call);
            for (std::size_t b = 0; b < count && !result[a][qa].otherQso; ++b) {
                if (b == a || !CallsClose(call, own[b])) continue;
                const auto* fromB = find(byCall[b], own[a]);
                if (fromB == nullptr) continue;
                std::optional<std::size_t> closest;
                for (const std::size_t qb : *fromB) {
                    const MatchQso& y = logs[b].qsos[qb];
                    if (result[b][qb].otherQso || y.band != x.band || Distance(x.minute, y.minute) > tolerance)
                        continue;
                    if (!closest || Distance(x.minute, y.minute) < Distance(x.minute, logs[b].qsos[*closest].minute))
                        closest = qb;
                }
                if (!closest) continue;
                QsoMatch& busted = result[a][qa];
                busted.result = MatchResult::kBustedCall;
                busted.otherLog = b;
                busted.otherQso = closest;
                QsoMatch& good = result[b][*closest];
                good.result = MatchResult::kMatched;
                good.otherBustedCall = true;
                good.otherLog = a;
                good.otherQso = qa;
            }
        }

    // What is left of the QSOs with a station whose log is given.
    std::unordered_map<std::string, std::size_t> logOf;
    for (std::size_t l = 0; l < count; ++l) logOf.emplace(own[l], l);
    for (std::size_t a = 0; a < count; ++a)
        for (std::size_t qa = 0; qa < logs[a].qsos.size(); ++qa) {
            QsoMatch& m = result[a][qa];
            if (m.otherQso) continue;
            const auto it = logOf.find(UpperAscii(logs[a].qsos[qa].call));
            if (it == logOf.end() || it->second == a) continue;
            m.result = MatchResult::kNotInLog;
            m.otherLog = it->second;
        }
    return result;
}

}  // namespace stats
