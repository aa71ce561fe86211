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

// CallEdits(a, b) == 1 without its table: the evidence search asks it of
// every QSO near an uncertain call, and a long log has many of both.
bool OneEditApart(std::string_view a, std::string_view b) {
    if (a.size() < b.size()) std::swap(a, b);
    if (a.size() - b.size() > 1) return false;
    std::size_t i = 0;
    while (i < b.size() && a[i] == b[i]) ++i;
    if (a.size() != b.size()) return a.substr(i + 1) == b.substr(i);  // one added
    if (i == a.size()) return false;  // the same
    if (a.substr(i + 1) == b.substr(i + 1)) return true;  // one changed
    return i + 1 < a.size() && a[i] == b[i + 1] && a[i + 1] == b[i] && a.substr(i + 2) == b.substr(i + 2);
}

}  // namespace

std::size_t CallEdits(std::string_view a, std::string_view b) {
    const std::size_t n = a.size(), m = b.size();
    if ((n > m ? n - m : m - n) > 2) return 3;
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
    return std::min<std::size_t>(d[n][m], 3);
}

bool CallsClose(std::string_view a, std::string_view b) {
    const std::size_t edits = CallEdits(a, b);
    return edits >= 1 && edits <= 2;
}

std::vector<std::vector<QsoMatch>> MatchLogs(const std::vector<MatchLog>& logs, std::int64_t tolerance,
                                             const std::function<bool(const std::string&)>& isKnown) {
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
    // log has a QSO with this station that found no match. Every such pair is
    // weighed at once: a call that is itself a known station's is taken only
    // one edit away, and only where no unknown call explains the other log's
    // QSO (a real QSO with a station whose call resembles a given log's is
    // common, a slip that lands on another active call rare, two such slips
    // rarer still); then one edit before two, then the nearer minute.
    std::vector<std::tuple<bool, std::size_t, std::int64_t, std::size_t, std::size_t, std::size_t, std::size_t>>
        busts;
    std::unordered_map<std::string, std::size_t> workedBy;  // a call, and the one log working it (count if more)
    for (std::size_t l = 0; l < count; ++l)
        for (const auto& [call, qsos] : byCall[l]) {
            const auto [at, added] = workedBy.emplace(call, l);
            if (!added && at->second != l) at->second = count;
        }
    for (std::size_t a = 0; a < count; ++a)
        for (std::size_t qa = 0; qa < logs[a].qsos.size(); ++qa) {
            if (result[a][qa].otherQso) continue;
            const MatchQso& x = logs[a].qsos[qa];
            const std::string call = UpperAscii(x.call);
            bool known = false, knownChecked = false;
            for (std::size_t b = 0; b < count; ++b) {
                if (b == a) continue;
                const std::size_t edits = CallEdits(call, own[b]);
                if (edits == 0 || edits > 2) continue;
                const auto* fromB = find(byCall[b], own[a]);
                if (fromB == nullptr) continue;
                if (!knownChecked) {
                    // Worked in another log given, or listed as active.
                    const auto w = workedBy.find(call);
                    known = (w != workedBy.end() && w->second != a) || (isKnown && isKnown(call));
                    knownChecked = true;
                }
                if (known && edits > 1) continue;
                for (const std::size_t qb : *fromB) {
                    const MatchQso& y = logs[b].qsos[qb];
                    const std::int64_t apart = Distance(x.minute, y.minute);
                    if (result[b][qb].otherQso || y.band != x.band || apart > tolerance) continue;
                    busts.emplace_back(known, edits, apart, a, qa, b, qb);
                }
            }
        }
    std::sort(busts.begin(), busts.end());
    for (const auto& [known, edits, apart, a, qa, b, qb] : busts) {
        if (result[a][qa].otherQso || result[b][qb].otherQso) continue;
        QsoMatch& busted = result[a][qa];
        busted.result = MatchResult::kBustedCall;
        busted.otherLog = b;
        busted.otherQso = qb;
        QsoMatch& good = result[b][qb];
        good.result = MatchResult::kMatched;
        good.otherBustedCall = true;
        good.otherLog = a;
        good.otherQso = qa;
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

std::vector<std::optional<BustEvidence>> FindBustEvidence(const std::vector<MatchLog>& logs,
                                                          const std::vector<BustEvidence>& asked, std::int64_t window) {
    // Every QSO of every log by band, in time order, its call in capitals;
    // each call with the one log working it (logs.size() when more do).
    using Entry = std::tuple<std::int64_t, std::size_t, std::size_t>;
    std::unordered_map<std::string, std::vector<Entry>> byBand;
    std::vector<std::vector<std::string>> calls(logs.size());
    std::unordered_map<std::string, std::size_t> workedBy;
    for (std::size_t l = 0; l < logs.size(); ++l)
        for (std::size_t q = 0; q < logs[l].qsos.size(); ++q) {
            byBand[logs[l].qsos[q].band].emplace_back(logs[l].qsos[q].minute, l, q);
            calls[l].push_back(UpperAscii(logs[l].qsos[q].call));
            const auto [at, added] = workedBy.emplace(calls[l].back(), l);
            if (!added && at->second != l) at->second = logs.size();
        }
    for (auto& [band, qsos] : byBand) std::sort(qsos.begin(), qsos.end());

    std::vector<std::optional<BustEvidence>> out(asked.size());
    for (std::size_t k = 0; k < asked.size(); ++k) {
        const MatchQso& x = logs[asked[k].log].qsos[asked[k].qso];
        const auto band = byBand.find(x.band);
        if (band == byBand.end()) continue;
        const std::string& call = calls[asked[k].log][asked[k].qso];
        // Another log given has it too: no unique, a station two logs copied alike.
        if (workedBy[call] != asked[k].log) continue;
        const auto& qsos = band->second;
        auto it = std::lower_bound(qsos.begin(), qsos.end(), Entry{x.minute - window, 0, 0});
        std::int64_t nearest = window + 1;
        for (; it != qsos.end() && std::get<0>(*it) <= x.minute + window; ++it) {
            const auto& [minute, l, q] = *it;
            const std::int64_t apart = Distance(minute, x.minute);
            if (apart >= nearest || !OneEditApart(call, calls[l][q])) continue;
            nearest = apart;
            out[k] = BustEvidence{l, q};
        }
    }
    return out;
}

}  // namespace stats
