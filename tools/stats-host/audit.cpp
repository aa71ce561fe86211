#include "audit.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "active_calls.h"
#include "checking/log_matching.h"
#include "contest/operating_time.h"
#include "contest/text_util.h"

namespace tools::audit {

namespace {

// One log under audit: the findings as the rules found them, and the points
// of the counted QSOs they name.
struct Work {
    const ContestLog* log = nullptr;
    std::vector<std::int64_t> points;  // a counted QSO's, from the plug-in, for those a finding names
    std::vector<Finding> findings;
    LogAudit out;
};

bool Counted(const ContestLog& log, std::size_t i) { return log.status[i] == QsoStatus::kCounted; }

Figures FiguresOf(const TextResult& r) { return Figures{r.qsos, r.points, r.multipliers, r.score}; }

// The plug-in's figures of the log without the QSOs marked gone. A dupe of a
// QSO that went counts in its place, as log checking would have it.
Figures ScoreWithout(HostSession& session, const ContestLog& log, const std::vector<char>& gone) {
    session.Reset(log.station, false);
    unsigned number = 0;
    for (std::size_t i = 0; i < log.qsos.size(); ++i)
        if (!gone[i]) session.Add(log.qsos[i], ++number);
    return FiguresOf(ParseTextResult(session.Result()));
}

// The points of the counted QSOs the findings name. A QSO's points depend on
// nothing but its country, continent and band beside the own station's, so
// the plug-in scores one QSO of each such kind, added one at a time to a run
// of their own: what the total gains is that QSO's points. Two of them with
// one call on one band would make a dupe: such a one waits for a run of its own.
void LearnPoints(HostSession& session, Work& w) {
    const ContestLog& log = *w.log;
    w.points.assign(log.qsos.size(), 0);
    std::map<std::string, std::vector<std::size_t>> byKind;
    std::set<std::size_t> wanted;
    for (const Finding& f : w.findings) wanted.insert(f.qsos.begin(), f.qsos.end());
    for (const std::size_t i : wanted) {
        const HostQso& q = log.qsos[i];
        if (Counted(log, i)) byKind[q.countryPrefix + '\t' + q.continent + '\t' + q.band].push_back(i);
    }
    std::vector<const std::vector<std::size_t>*> pending;
    for (const auto& [key, qsos] : byKind) pending.push_back(&qsos);
    while (!pending.empty()) {
        session.Reset(log.station, false);
        std::set<std::string> inRun;
        std::vector<const std::vector<std::size_t>*> later;
        Figures before;
        unsigned number = 0;
        for (const auto* qsos : pending) {
            const HostQso& q = log.qsos[qsos->front()];
            if (!inRun.insert(stats::UpperAscii(q.call) + '\t' + q.band).second) {
                later.push_back(qsos);
                continue;
            }
            session.Add(q, ++number);
            const Figures after = FiguresOf(ParseTextResult(session.Result()));
            if (after.qsos == before.qsos + 1)
                for (const std::size_t i : *qsos) w.points[i] = after.points - before.points;
            before = after;
        }
        pending = std::move(later);
    }
}

Finding Found(Kind kind, std::vector<std::size_t> qsos, Evidence evidence = {}) {
    Finding f;
    f.kind = kind;
    f.qsos = std::move(qsos);
    f.evidence = std::move(evidence);
    return f;
}

// Findings from the other logs given.
void FindAcrossLogs(std::vector<Work>& logs, const std::vector<std::vector<stats::QsoMatch>>& matches) {
    for (std::size_t l = 0; l < logs.size(); ++l) {
        Work& w = logs[l];
        Limits& limits = w.out.limits;
        for (std::size_t i = 0; i < w.log->qsos.size(); ++i) {
            const stats::QsoMatch& m = matches[l][i];
            if (m.result == stats::MatchResult::kNotJudged) continue;
            ++limits.judged;
            if (m.result == stats::MatchResult::kMatched) {
                ++limits.matched;
                limits.otherBusted += m.otherBustedCall;
                continue;
            }
            // A dupe or a rejected QSO costs nothing whatever the other log says.
            if (!Counted(*w.log, i)) continue;
            Evidence e;
            e.otherLog = *m.otherLog;
            e.otherQso = m.otherQso.value_or(0);
            const Kind kind = m.result == stats::MatchResult::kSerialMismatch ? Kind::kSerialMismatch
                              : m.result == stats::MatchResult::kBustedCall   ? Kind::kBustedCall
                                                                              : Kind::kNotInLog;
            w.findings.push_back(Found(kind, {i}, e));
        }
    }
}

void FindSerialsOutOfSequence(Work& w, const std::vector<stats::QsoMatch>& matches, std::int64_t startMinute) {
    const ContestLog& log = *w.log;
    std::vector<stats::ReceivedSerial> serials;
    std::vector<std::size_t> of;
    for (std::size_t i = 0; i < log.qsos.size(); ++i) {
        // Only counted QSOs cost anything; a station whose log is given is
        // judged by what it sent.
        if (!Counted(log, i) || matches[i].result != stats::MatchResult::kNotJudged) continue;
        const HostQso& q = log.qsos[i];
        const auto serial = stats::SerialNumberOf(q.exchangeReceived);
        if (!serial) {
            ++w.out.limits.unreadableSerials;
            continue;
        }
        serials.push_back(stats::ReceivedSerial{stats::UpperAscii(q.call), log.minutes[i], q.band, *serial});
        of.push_back(i);
    }
    for (const stats::SerialFlag& flag : stats::CheckReceivedSerials(serials, startMinute)) {
        Evidence e;
        e.serial = flag.reason;
        if (flag.against) e.against = of[*flag.against];
        e.perBand = flag.perBand;
        w.findings.push_back(Found(Kind::kSerialOutOfSequence, {of[flag.qso]}, e));
    }
}

void FindBandChanges(Work& w) {
    const ContestLog& log = *w.log;
    if (log.rule == stats::TransmitterRule::kNone) return;
    std::vector<stats::BandChangeQso> qsos;
    std::size_t without = 0;
    for (std::size_t i = 0; i < log.qsos.size(); ++i) {
        const HostQso& q = log.qsos[i];
        qsos.push_back(
            stats::BandChangeQso{log.minutes[i], q.band, log.transmitters[i], q.wpxPrefix, Counted(log, i)});
        without += log.transmitters[i].empty();
    }
    w.out.limits.withoutTransmitter = without;
    if (without == qsos.size()) return;
    for (stats::BandChangeBreach& b : stats::CheckBandChanges(qsos, log.rule)) {
        Evidence e;
        std::vector<std::size_t> gone = std::move(b.qsos);
        b.qsos.clear();
        e.breach = std::move(b);
        w.findings.push_back(Found(Kind::kBandChanges, std::move(gone), std::move(e)));
    }
}

void FindPastTheLimit(Work& w) {
    const ContestLog& log = *w.log;
    const stats::OperatingTime t =
        stats::ComputeOperatingTime(stats::CountMinutes(std::vector<std::int64_t>(log.minutes)), log.category);
    if (!t.limitPassed) return;
    Evidence e;
    e.limitReachedMinute = t.limitReachedMinute;
    e.lastMinute = t.lastMinute;
    e.limitMinutes = *t.limit;
    std::vector<std::size_t> gone;
    for (std::size_t i = 0; i < log.qsos.size(); ++i)
        if (t.PastLimit(log.minutes[i])) gone.push_back(i);
    w.findings.push_back(Found(Kind::kPastTheLimit, std::move(gone), e));
}

void FindCallsToCheck(Work& w, const Setup& setup, const std::vector<stats::QsoMatch>& matches) {
    const ContestLog& log = *w.log;
    // The counted calls: how often each was worked, and on which band last.
    std::map<std::string, std::pair<std::size_t, std::string>> worked;
    std::unordered_map<std::string, std::size_t> prefixQsos;
    for (std::size_t i = 0; i < log.qsos.size(); ++i) {
        if (!Counted(log, i)) continue;
        const HostQso& q = log.qsos[i];
        auto& [n, band] = worked[stats::UpperAscii(q.call)];
        ++n;
        band = q.band;
        ++prefixQsos[q.wpxPrefix];
    }
    Calls& calls = w.out.calls;
    calls.listRead = setup.activeCalls.has_value();
    calls.worked = worked.size();
    for (const auto& [call, seen] : worked) {
        if (seen.first == 1) calls.once.emplace_back(call, seen.second);
        if (setup.activeCalls && !IsActiveCall(*setup.activeCalls, call)) calls.notListed.push_back(call);
    }
    if (!setup.activeCalls) return;
    for (std::size_t i = 0; i < log.qsos.size(); ++i) {
        const HostQso& q = log.qsos[i];
        const std::string call = stats::UpperAscii(q.call);
        // A QSO another log confirms, or already found wanting, needs no list.
        if (!Counted(log, i) || matches[i].result != stats::MatchResult::kNotJudged || worked[call].first != 1 ||
            !std::binary_search(calls.notListed.begin(), calls.notListed.end(), call))
            continue;
        Evidence e;
        e.onlyWithPrefix = prefixQsos[q.wpxPrefix] == 1;
        w.findings.push_back(Found(Kind::kNotActive, {i}, e));
    }
}

// Each finding's certainty; a call no list knows is likely busted where a call
// one edit away was worked near the same minute on the same band, in this log
// or another given.
void Weigh(std::vector<Work>& logs, const std::vector<stats::MatchLog>& forMatching) {
    std::vector<stats::BustEvidence> asked;
    std::vector<Finding*> of;
    for (std::size_t l = 0; l < logs.size(); ++l)
        for (Finding& f : logs[l].findings)
            if (f.kind == Kind::kNotActive) {
                asked.push_back(stats::BustEvidence{l, f.qsos.front()});
                of.push_back(&f);
            }
    const auto evidence = stats::FindBustEvidence(forMatching, asked);
    for (std::size_t k = 0; k < asked.size(); ++k) of[k]->evidence.nearCall = evidence[k];
    for (Work& w : logs)
        for (Finding& f : w.findings) f.certainty = stats::CertaintyOf(f.kind, f.evidence.nearCall.has_value());
}

Cost CostWithout(HostSession& session, const Work& w, const std::vector<const Finding*>& findings) {
    const ContestLog& log = *w.log;
    std::vector<char> gone(log.qsos.size(), 0), penalized(log.qsos.size(), 0);
    for (const Finding* f : findings)
        for (const std::size_t i : f->qsos) {
            gone[i] = 1;
            if (stats::CarriesPenalty(f->kind)) penalized[i] = 1;
        }
    Cost c;
    for (std::size_t i = 0; i < log.qsos.size(); ++i) {
        c.qsos += gone[i];
        if (penalized[i] && Counted(log, i)) c.penalties += w.points[i];
    }
    const Figures left = ScoreWithout(session, log, gone);
    c.points = w.out.plugin.points - left.points + c.penalties;
    c.prefixes = w.out.plugin.multipliers - left.multipliers;
    c.score = stats::CheckedScore(left.points, c.penalties, left.multipliers);
    return c;
}

// The log's findings with what each costs alone, and by kind and all at once
// as the plug-in scores the log without them.
void Summarize(HostSession& session, Work& w) {
    const ContestLog& log = *w.log;
    std::unordered_map<std::string, std::size_t> prefixQsos;
    for (std::size_t i = 0; i < log.qsos.size(); ++i)
        if (Counted(log, i)) ++prefixQsos[log.qsos[i].wpxPrefix];
    for (Finding& f : w.findings) {
        std::unordered_map<std::string, std::size_t> prefixes;
        for (const std::size_t i : f.qsos) {
            if (!Counted(log, i)) continue;
            f.points += stats::PointsLost(f.kind, w.points[i]);
            ++prefixes[log.qsos[i].wpxPrefix];
        }
        for (const auto& [prefix, n] : prefixes) f.prefixes += n == prefixQsos[prefix];
    }
    std::vector<const Finding*> all, expected;
    for (const Finding& f : w.findings)
        if (f.certainty != stats::Certainty::kLikelyKept) expected.push_back(&f);
    for (const Kind kind : kKinds) {
        std::vector<const Finding*> of;
        for (const Finding& f : w.findings)
            if (f.kind == kind) of.push_back(&f);
        if (of.empty()) continue;
        all.insert(all.end(), of.begin(), of.end());
        w.out.atRisk.emplace_back(kind, CostWithout(session, w, of));
    }
    w.out.floor = CostWithout(session, w, all);
    // Each replay of a long log takes its time: without a finding likely
    // kept, the expected score is the floor.
    w.out.expected = expected.size() == all.size() ? w.out.floor : CostWithout(session, w, expected);
    w.out.findings = std::move(w.findings);
}

}  // namespace

std::optional<std::string> SameStationTwice(const std::vector<const ContestLog*>& logs) {
    // Matching a station's log against itself would find nothing to check.
    for (std::size_t i = 1; i < logs.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (stats::EqualsNoCase(logs[j]->station.call, logs[i]->station.call))
                return logs[j]->file + " and " + logs[i]->file + " are both logs of " + logs[i]->station.call;
    return std::nullopt;
}

std::optional<Audit> Run(HostSession& session, const Setup& setup, const std::function<bool(bool cw)>& prepareRun) {
    std::vector<Work> logs;
    for (const ContestLog* log : setup.logs) {
        Work w;
        w.log = log;
        w.out.log = log;
        w.out.dupes = static_cast<std::int64_t>(log->Count(QsoStatus::kDupe));
        w.out.rejected = static_cast<std::int64_t>(log->Count(QsoStatus::kRejected));
        w.out.plugin = FiguresOf(log->result);
        logs.push_back(std::move(w));
    }

    std::vector<stats::MatchLog> forMatching;
    for (const Work& w : logs) {
        stats::MatchLog m;
        m.ownCall = w.log->station.call;
        for (std::size_t i = 0; i < w.log->qsos.size(); ++i) {
            const HostQso& q = w.log->qsos[i];
            m.qsos.push_back(stats::MatchQso{q.call, q.band, w.log->minutes[i], q.exchangeSent, q.exchangeReceived});
        }
        forMatching.push_back(std::move(m));
    }
    const auto known = [&setup](const std::string& call) {
        return setup.activeCalls && IsActiveCall(*setup.activeCalls, call);
    };
    const auto matches = stats::MatchLogs(forMatching, stats::kMatchToleranceMinutes, known);
    FindAcrossLogs(logs, matches);

    const std::int64_t startMinute = stats::OleDateMinute(stats::OleDateTime::Valid(setup.start)).value_or(0);
    Audit audit;
    audit.listRead = setup.activeCalls.has_value();
    if (setup.activeCalls) audit.activeCallsSource = setup.activeCallsSource;
    audit.startMinute = startMinute;
    for (std::size_t l = 0; l < logs.size(); ++l) {
        Work& w = logs[l];
        FindSerialsOutOfSequence(w, matches[l], startMinute);
        FindBandChanges(w);
        FindPastTheLimit(w);
        FindCallsToCheck(w, setup, matches[l]);
        std::stable_sort(w.findings.begin(), w.findings.end(), [](const Finding& a, const Finding& b) {
            return a.kind != b.kind ? a.kind < b.kind : a.qsos.front() < b.qsos.front();
        });
    }
    Weigh(logs, forMatching);
    for (Work& w : logs) {
        if (!prepareRun(w.log->cw)) return std::nullopt;
        LearnPoints(session, w);
        Summarize(session, w);
        audit.logs.push_back(std::move(w.out));
    }
    return audit;
}

}  // namespace tools::audit
