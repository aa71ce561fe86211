#include "audit.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <unordered_map>

#include "contest/band_changes.h"
#include "contest/log_matching.h"
#include "contest/ole_date.h"
#include "contest/received_serials.h"
#include "contest_page.h"
#include "page_replay.h"
#include "wpx_prefix.h"

namespace tools::audit {

const char kReadOnly[] =
    "read-only: this audit changes no log, suggests no correction and fills in nothing from other sources; the "
    "rules forbid correcting a log from databases after the contest";

const char* KindName(Kind kind) {
    switch (kind) {
        case Kind::kSerialMismatch:
            return "serial mismatch";
        case Kind::kSerialOutOfSequence:
            return "serial out of sequence";
        case Kind::kNotInLog:
            return "not in log";
        case Kind::kBustedCall:
            return "busted call";
        case Kind::kBandChanges:
            return "band changes";
        case Kind::kPastTheLimit:
            return "past the limit";
        case Kind::kNotActive:
            break;
    }
    return "not in MASTER.SCP";
}

const char* CertaintyName(Certainty certainty) {
    switch (certainty) {
        case Certainty::kProven:
            return "proven";
        case Certainty::kLikelyBusted:
            return "likely busted";
        case Certainty::kLikelyKept:
            break;
    }
    return "likely kept";
}

namespace {

// Log checking takes a penalty of the QSO's points beside the QSO for a busted
// call and a QSO not in the other log; a call no list knows, worked once, is
// at risk of being either.
bool Penalized(Kind kind) { return kind == Kind::kNotInLog || kind == Kind::kBustedCall || kind == Kind::kNotActive; }

enum class Status { kCounted, kDupe, kRejected };

struct Qso {
    const HostQso* host = nullptr;  // in the log read whole
    std::size_t number = 0;  // record or line
    std::string transmitter;
    std::int64_t minute = 0;
    Status status = Status::kRejected;
    std::int64_t points = 0;  // a counted QSO's, from the plug-in, for those a finding names
};

// A finding as the rules found it: the QSOs that go.
struct Flagged {
    Kind kind = Kind::kSerialMismatch;
    std::vector<std::size_t> qsos;  // in time order
    std::string reason;
    Certainty certainty = Certainty::kProven;
};

struct Log {
    const LogPlan* plan = nullptr;
    bool cabrillo = false;
    std::vector<Qso> qsos;  // in time order, the log's order within a minute
    LogHeader header;
    stats::EntryCategory category = stats::EntryCategory::kSingleOp;
    std::string categoryFrom;
    stats::TransmitterRule rule = stats::TransmitterRule::kNone;
    Figures full;  // the plug-in's, of the log as it is
    std::int64_t dupes = 0, rejected = 0;
    std::vector<Flagged> findings;
    std::vector<std::string> notes;
    Calls calls;
};

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string HeaderValue(const Log& log, const char* key) {
    for (const auto& [k, v] : log.header.categories)
        if (Upper(k) == key) return Upper(v);
    return "";
}

std::string TimeText(std::int64_t minute, const char* format = "%Y-%m-%d %H%M") {
    return stats::FormatOleDate(stats::OleDateOfMinute(minute), format);
}

std::string Where(const Log& log, const Qso& q) {
    return (log.cabrillo ? "line " : "record ") + std::to_string(q.number);
}

Log Read(const LogPlan& plan) {
    Log log;
    log.plan = &plan;
    const PageLog& read = *plan.log;
    log.cabrillo = read.cabrillo;
    log.qsos.reserve(read.qsos.size());
    for (std::size_t i = 0; i < read.qsos.size(); ++i) {
        Qso q;
        q.host = &read.qsos[i];
        q.number = read.numbers[i];
        q.transmitter = read.transmitters[i];
        // A mapped QSO always has a date; one outside the calendar sorts first.
        q.minute = stats::OleDateMinute(q.host->time).value_or(0);
        log.qsos.push_back(std::move(q));
    }
    // In time order by the minute, as the log's lines show it; within a
    // minute, in the log's own order.
    std::sort(log.qsos.begin(), log.qsos.end(), [](const Qso& a, const Qso& b) {
        return a.minute != b.minute ? a.minute < b.minute : a.number < b.number;
    });
    log.header = ReadLogHeader(plan.path);
    return log;
}

void Categorize(Log& log, const Setup& setup) {
    log.category = CategoryOfRun(setup.category, log.header);
    log.categoryFrom = setup.category        ? "--category"
                       : log.header.category ? "CATEGORY- lines"
                                             : "assumed: the log names none, --category names one";
    log.rule = stats::TransmitterRuleOf(log.category == stats::EntryCategory::kMultiOp ? "MULTI-OP" : "SINGLE-OP",
                                        HeaderValue(log, "CATEGORY-TRANSMITTER"));
}

Figures FiguresOf(const std::string& result) {
    const page::TextResult r = page::ParseTextResult(result);
    return Figures{r.qsos, r.points, r.multipliers, r.score};
}

// The plug-in's run of the log as it is: which QSOs count (a dupe is what
// its call check says it is), and its figures.
void Classify(HostSession& session, Log& log) {
    session.Reset(log.plan->station, false);
    unsigned number = 0;
    for (Qso& q : log.qsos) {
        const bool dupe = session.Check(CheckOf(*q.host)) == 0;
        const bool accepted = session.Add(*q.host, ++number) == 1;
        q.status = !accepted ? Status::kRejected : dupe ? Status::kDupe : Status::kCounted;
        log.dupes += q.status == Status::kDupe;
        log.rejected += q.status == Status::kRejected;
    }
    log.full = FiguresOf(session.Result());
}

// The plug-in's figures of the log without the QSOs marked gone. A dupe of a
// QSO that went counts in its place, as log checking would have it.
Figures ScoreWithout(HostSession& session, const Log& log, const std::vector<char>& gone) {
    session.Reset(log.plan->station, false);
    unsigned number = 0;
    for (std::size_t i = 0; i < log.qsos.size(); ++i)
        if (!gone[i]) session.Add(*log.qsos[i].host, ++number);
    return FiguresOf(session.Result());
}

// The points of the counted QSOs the findings name. A QSO's points depend on
// nothing but its country, continent and band beside the own station's, so
// the plug-in scores one QSO of each such kind, added one at a time to a run
// of their own: what the total gains is that QSO's points. Two of them with
// one call on one band would make a dupe: such a one waits for a run of its own.
void LearnPoints(HostSession& session, Log& log) {
    std::map<std::string, std::vector<std::size_t>> byKind;
    std::set<std::size_t> wanted;
    for (const Flagged& f : log.findings) wanted.insert(f.qsos.begin(), f.qsos.end());
    for (const std::size_t i : wanted) {
        const HostQso& q = *log.qsos[i].host;
        if (log.qsos[i].status == Status::kCounted)
            byKind[q.countryPrefix + '\t' + q.continent + '\t' + q.band].push_back(i);
    }
    std::vector<const std::vector<std::size_t>*> pending;
    for (const auto& [key, qsos] : byKind) pending.push_back(&qsos);
    while (!pending.empty()) {
        session.Reset(log.plan->station, false);
        std::set<std::string> inRun;
        std::vector<const std::vector<std::size_t>*> later;
        Figures before;
        unsigned number = 0;
        for (const auto* qsos : pending) {
            const HostQso& q = *log.qsos[qsos->front()].host;
            if (!inRun.insert(Upper(q.call) + '\t' + q.band).second) {
                later.push_back(qsos);
                continue;
            }
            session.Add(q, ++number);
            const Figures after = FiguresOf(session.Result());
            if (after.qsos == before.qsos + 1)
                for (const std::size_t i : *qsos) log.qsos[i].points = after.points - before.points;
            before = after;
        }
        pending = std::move(later);
    }
}

// Findings from the other logs given.
void FindAcrossLogs(std::vector<Log>& logs, const std::vector<std::vector<stats::QsoMatch>>& matches) {
    for (std::size_t l = 0; l < logs.size(); ++l) {
        Log& log = logs[l];
        std::size_t judged = 0, matched = 0, otherBusted = 0;
        for (std::size_t i = 0; i < log.qsos.size(); ++i) {
            const stats::QsoMatch& m = matches[l][i];
            if (m.result == stats::MatchResult::kNotJudged) continue;
            ++judged;
            if (m.result == stats::MatchResult::kMatched) {
                ++matched;
                otherBusted += m.otherBustedCall;
                continue;
            }
            // A dupe or a rejected QSO costs nothing whatever the other log says.
            const Qso& q = log.qsos[i];
            if (q.status != Status::kCounted) continue;
            const Log& other = logs[*m.otherLog];
            const std::string otherName = other.plan->file;
            Flagged f;
            f.qsos = {i};
            if (m.result == stats::MatchResult::kSerialMismatch) {
                const Qso& r = other.qsos[*m.otherQso];
                f.kind = Kind::kSerialMismatch;
                f.reason = "received " + q.host->exchangeReceived + " where " + otherName + " sent " +
                           r.host->exchangeSent + " (" + Where(other, r) + ", " + TimeText(r.minute, "%H%M") + ")";
            } else if (m.result == stats::MatchResult::kBustedCall) {
                const Qso& r = other.qsos[*m.otherQso];
                f.kind = Kind::kBustedCall;
                f.reason = otherName + " (" + other.plan->station.call + ") has a QSO with " + log.plan->station.call +
                           " on " + r.host->band + " at " + TimeText(r.minute, "%H%M") + " (" + Where(other, r) +
                           ") that matches nothing else";
            } else {
                f.kind = Kind::kNotInLog;
                f.reason = "no QSO with " + log.plan->station.call + " on " + q.host->band + " within " +
                           std::to_string(stats::kMatchToleranceMinutes) + " minutes in " + otherName;
            }
            log.findings.push_back(std::move(f));
        }
        if (logs.size() > 1)
            log.notes.push_back(
                "across logs: " + std::to_string(judged) + " QSOs with stations whose log is given, " +
                std::to_string(matched) + " matched" +
                (otherBusted ? " (" + std::to_string(otherBusted) + " with this call busted there)" : std::string()) +
                "; a match is the same band, the calls the other way round, the times within " +
                std::to_string(stats::kMatchToleranceMinutes) + " minutes");
    }
}

void FindSerialsOutOfSequence(Log& log, const std::vector<stats::QsoMatch>& matches, std::int64_t startMinute) {
    std::vector<stats::ReceivedSerial> serials;
    std::vector<std::size_t> of;
    std::size_t unreadable = 0;
    for (std::size_t i = 0; i < log.qsos.size(); ++i) {
        const Qso& q = log.qsos[i];
        // Only counted QSOs cost anything; a station whose log is given is
        // judged by what it sent.
        if (q.status != Status::kCounted || matches[i].result != stats::MatchResult::kNotJudged) continue;
        const auto serial = stats::SerialNumberOf(q.host->exchangeReceived);
        if (!serial) {
            ++unreadable;
            continue;
        }
        serials.push_back(stats::ReceivedSerial{Upper(q.host->call), q.minute, q.host->band, *serial});
        of.push_back(i);
    }
    if (unreadable > 0)
        log.notes.push_back(std::to_string(unreadable) +
                            " counted QSOs received no serial of digits only: their serials not judged");
    using R = stats::SerialFlag::Reason;
    for (const stats::SerialFlag& flag : stats::CheckReceivedSerials(serials, startMinute)) {
        const Qso& q = log.qsos[of[flag.qso]];
        std::string why = "received " + q.host->exchangeReceived;
        if (flag.against) {
            const Qso& k = log.qsos[of[*flag.against]];
            const std::string other = k.host->exchangeReceived + " received at " + TimeText(k.minute, "%H%M") +
                                      (k.host->band != q.host->band ? " on " + k.host->band : std::string());
            switch (flag.reason) {
                case R::kNotAboveEarlier:
                    why += ", not above " + other;
                    break;
                case R::kAboveLater:
                    why += ", not below " + other;
                    break;
                case R::kTooFastAfter:
                case R::kTooFastBefore: {
                    const std::int64_t minutes = std::llabs(q.minute - k.minute);
                    const std::int64_t apart = std::llabs(serials[flag.qso].serial - serials[*flag.against].serial);
                    why += ", " + std::to_string(apart) + (flag.reason == R::kTooFastAfter ? " above " : " below ") +
                           other + ": more than a station works in " + std::to_string(minutes) + " minutes";
                    break;
                }
                case R::kTooHighSinceStart:
                    break;
            }
        } else {
            why += ", " + std::to_string(q.minute - startMinute) +
                   " minutes into the contest: more than a station works in that time";
        }
        if (flag.perBand) why += " (this station numbers each band on its own)";
        log.findings.push_back(Flagged{Kind::kSerialOutOfSequence, {of[flag.qso]}, why, Certainty::kLikelyBusted});
    }
}

void FindBandChanges(Log& log) {
    if (log.rule == stats::TransmitterRule::kNone) return;
    std::vector<stats::BandChangeQso> qsos;
    std::size_t without = 0;
    for (const Qso& q : log.qsos) {
        qsos.push_back(stats::BandChangeQso{q.minute, q.host->band, q.transmitter, q.host->wpxPrefix,
                                            q.status == Status::kCounted});
        without += q.transmitter.empty();
    }
    const char* const name = log.rule == stats::TransmitterRule::kMultiTwo ? "multi-two" : "multi-single";
    if (without == qsos.size()) {
        log.notes.push_back(std::string("band changes: a ") + name +
                            " log, but its QSOs carry no transmitter number: not judged");
        return;
    }
    if (without > 0)
        log.notes.push_back("band changes: " + std::to_string(without) +
                            " QSOs carry no transmitter number: not judged");
    using K = stats::BandChangeBreach::Kind;
    for (const stats::BandChangeBreach& b : stats::CheckBandChanges(qsos, log.rule)) {
        Flagged f;
        f.kind = Kind::kBandChanges;
        f.qsos = b.qsos;
        const std::string tx = "transmitter " + b.transmitter;
        if (b.kind == K::kChangesInHour) {
            f.reason = tx + ": " + std::to_string(b.changes) + " band changes in the hour " +
                       TimeText(b.hourStart, "%H%M") + "-" + TimeText(b.hourStart + 59, "%H%M") + " (" +
                       std::to_string(stats::kMultiTwoChangesPerHour) +
                       " allowed): its QSOs from the change past the limit to the hour's end go";
        } else if (b.kind == K::kTenMinutes) {
            f.reason = tx + ": on another band within 10 minutes of its first QSO on " + b.heldBand + " at " +
                       TimeText(b.heldSince, "%H%M") + ": its QSOs elsewhere before " +
                       TimeText(b.heldSince + stats::kMultiSingleMinutesOnBand, "%H%M") + " go";
        } else {
            f.reason = "multiplier " + tx +
                       ": a prefix the station had already worked (the multiplier transmitter works new prefixes only)";
        }
        log.findings.push_back(std::move(f));
    }
}

void FindPastTheLimit(Log& log) {
    std::vector<std::int64_t> minutes;
    minutes.reserve(log.qsos.size());
    for (const Qso& q : log.qsos) minutes.push_back(q.minute);
    const stats::OperatingTime t = stats::ComputeOperatingTime(stats::CountMinutes(std::move(minutes)), log.category);
    if (!t.limitPassed) return;
    Flagged f;
    f.kind = Kind::kPastTheLimit;
    for (std::size_t i = 0; i < log.qsos.size(); ++i)
        if (t.PastLimit(log.qsos[i].minute)) f.qsos.push_back(i);
    f.reason = std::string(stats::CategoryName(log.category)) + " operating time (off-times of " +
               std::to_string(stats::kOffTimeMinutes) + " minutes or more not counted) reached its " +
               std::to_string(*t.limit / 60) + " hours at " + TimeText(t.limitReachedMinute) +
               ": every QSO from then on goes, the last at " + TimeText(t.lastMinute);
    log.findings.push_back(std::move(f));
}

void FindCallsToCheck(Log& log, const Setup& setup, const std::vector<stats::QsoMatch>& matches) {
    // The counted calls: how often each was worked, and on which band last.
    std::map<std::string, std::pair<std::size_t, std::string>> worked;
    std::unordered_map<std::string, std::size_t> prefixQsos;
    for (const Qso& q : log.qsos) {
        if (q.status != Status::kCounted) continue;
        auto& [n, band] = worked[Upper(q.host->call)];
        ++n;
        band = q.host->band;
        ++prefixQsos[q.host->wpxPrefix];
    }
    Calls& calls = log.calls;
    calls.listRead = setup.activeCalls.has_value();
    calls.worked = worked.size();
    for (const auto& [call, seen] : worked) {
        if (seen.first == 1) calls.once.emplace_back(call, seen.second);
        if (setup.activeCalls && !IsActiveCall(*setup.activeCalls, call)) calls.notListed.push_back(call);
    }
    if (!setup.activeCalls) {
        log.notes.push_back("not in MASTER.SCP: no list of active calls was read (--calls names one)");
        return;
    }
    for (std::size_t i = 0; i < log.qsos.size(); ++i) {
        const Qso& q = log.qsos[i];
        const std::string call = Upper(q.host->call);
        // A QSO another log confirms, or already found wanting, needs no list.
        if (q.status != Status::kCounted || matches[i].result != stats::MatchResult::kNotJudged ||
            worked[call].first != 1 || !std::binary_search(calls.notListed.begin(), calls.notListed.end(), call))
            continue;
        std::string why = "not in " + setup.activeCallsSource + " and worked once";
        if (prefixQsos[q.host->wpxPrefix] == 1) why += ": the only QSO with " + q.host->wpxPrefix;
        log.findings.push_back(Flagged{Kind::kNotActive, {i}, why, Certainty::kLikelyKept});
    }
}

// A call no list knows is likely busted where a call one edit away was worked
// near the same minute on the same band, in this log or another given.
void WeighUnknownCalls(std::vector<Log>& logs, const std::vector<stats::MatchLog>& forMatching) {
    std::vector<stats::BustEvidence> asked;
    std::vector<Flagged*> of;
    for (std::size_t l = 0; l < logs.size(); ++l)
        for (Flagged& f : logs[l].findings)
            if (f.kind == Kind::kNotActive) {
                asked.push_back(stats::BustEvidence{l, f.qsos.front()});
                of.push_back(&f);
            }
    const auto evidence = stats::FindBustEvidence(forMatching, asked);
    for (std::size_t k = 0; k < asked.size(); ++k) {
        if (!evidence[k]) continue;
        const Log& other = logs[evidence[k]->log];
        const Qso& e = other.qsos[evidence[k]->qso];
        Flagged& f = *of[k];
        f.certainty = Certainty::kLikelyBusted;
        f.reason += ", and " + e.host->call + ", one edit away, was worked on " + e.host->band + " at " +
                    TimeText(e.minute, "%H%M") +
                    (evidence[k]->log == asked[k].log ? " (" : " in " + other.plan->file + " (") + Where(other, e) +
                    ")";
    }
}

Cost CostWithout(HostSession& session, const Log& log, const std::vector<const Flagged*>& findings) {
    std::vector<char> gone(log.qsos.size(), 0), penalized(log.qsos.size(), 0);
    for (const Flagged* f : findings)
        for (const std::size_t i : f->qsos) {
            gone[i] = 1;
            if (Penalized(f->kind)) penalized[i] = 1;
        }
    Cost c;
    for (std::size_t i = 0; i < log.qsos.size(); ++i) {
        c.qsos += gone[i];
        if (penalized[i] && log.qsos[i].status == Status::kCounted) c.penalties += log.qsos[i].points;
    }
    const Figures left = ScoreWithout(session, log, gone);
    c.points = log.full.points - left.points + c.penalties;
    c.prefixes = log.full.multipliers - left.multipliers;
    c.score = std::max<std::int64_t>(0, left.points - c.penalties) * left.multipliers;
    return c;
}

// The log's findings with what each costs alone, and by kind and all at once
// as the plug-in scores the log without them.
LogAudit Summarize(HostSession& session, Log& log) {
    const LogPlan& plan = *log.plan;
    LogAudit out;
    out.file = plan.file;
    out.call = plan.station.call;
    out.cw = plan.cw;
    const std::string rule = log.rule == stats::TransmitterRule::kMultiTwo      ? ", multi-two"
                             : log.rule == stats::TransmitterRule::kMultiSingle ? ", multi-single"
                                                                                : "";
    out.category = stats::CategoryName(log.category) + rule + " (" + log.categoryFrom + ")";
    out.qsos = log.qsos.size();
    out.dupes = log.dupes;
    out.rejected = log.rejected;
    out.notes = std::move(log.notes);
    out.claimed = log.header.claimed;
    out.plugin = log.full;
    out.calls = std::move(log.calls);

    std::unordered_map<std::string, std::size_t> prefixQsos;
    for (const Qso& q : log.qsos)
        if (q.status == Status::kCounted) ++prefixQsos[q.host->wpxPrefix];
    for (const Flagged& f : log.findings) {
        Finding finding;
        std::unordered_map<std::string, std::size_t> prefixes;
        for (const std::size_t i : f.qsos) {
            const Qso& q = log.qsos[i];
            if (q.status != Status::kCounted) continue;
            finding.points += Penalized(f.kind) ? 2 * q.points : q.points;
            ++prefixes[q.host->wpxPrefix];
        }
        for (const auto& [prefix, n] : prefixes) finding.prefixes += n == prefixQsos[prefix];
        const Qso& first = log.qsos[f.qsos.front()];
        finding.kind = f.kind;
        finding.certainty = f.certainty;
        finding.where = Where(log, first);
        finding.minute = first.minute;
        finding.band = first.host->band;
        finding.call = first.host->call;
        finding.qsos = f.qsos.size();
        finding.reason = f.reason;
        out.findings.push_back(std::move(finding));
    }

    std::vector<const Flagged*> all, expected;
    for (const Flagged& f : log.findings)
        if (f.certainty != Certainty::kLikelyKept) expected.push_back(&f);
    for (const Kind kind : kKinds) {
        std::vector<const Flagged*> of;
        for (const Flagged& f : log.findings)
            if (f.kind == kind) of.push_back(&f);
        if (of.empty()) continue;
        all.insert(all.end(), of.begin(), of.end());
        out.atRisk.emplace_back(kind, CostWithout(session, log, of));
    }
    out.floor = CostWithout(session, log, all);
    // Each replay of a long log takes its time: without a finding likely
    // kept, the expected score is the floor.
    out.expected = expected.size() == all.size() ? out.floor : CostWithout(session, log, expected);
    return out;
}

std::string Field(const char* name, std::int64_t value) { return std::string(name) + " " + std::to_string(value); }

std::string Costs(const Cost& c) {
    return Field("QSOs", static_cast<std::int64_t>(c.qsos)) + "\t" + Field("points", -c.points) + "\t" +
           Field("prefixes", -c.prefixes) + "\t" + Field("score", c.score) + "\t" + Field("penalties", c.penalties);
}

std::string DateOf(double hostDate) { return stats::FormatOleDate(stats::OleDateTime::Valid(hostDate), "%Y-%m-%d"); }

}  // namespace

std::optional<std::string> NotOneContest(const std::vector<LogPlan>& logs) {
    const LogPlan& lead = logs.front();
    auto contestOf = [](const LogPlan& p) { return std::string(p.cw ? "CQ-WPX-CW" : "CQ-WPX-SSB"); };
    for (std::size_t i = 1; i < logs.size(); ++i) {
        const LogPlan& other = logs[i];
        if (other.cw != lead.cw)
            return lead.file + " is " + contestOf(lead) + " and " + other.file + " " + contestOf(other) +
                   ": logs are compared within one contest";
        if (!other.contest.empty() && !lead.contest.empty() && other.contest != lead.contest)
            return lead.file + " names the contest " + lead.contest + " and " + other.file + " " + other.contest +
                   ": logs are compared within one contest";
        if (std::fabs(std::floor(other.first) - std::floor(lead.first)) > 2.0)
            return lead.file + " (" + DateOf(lead.first) + ") and " + other.file + " (" + DateOf(other.first) +
                   ") are not logs of one contest";
    }
    return std::nullopt;
}

std::optional<std::string> Refusal(const Setup& setup) {
    if (auto why = NotOneContest(setup.logs)) return why;
    // Matching a station's log against itself would find nothing to check.
    for (std::size_t i = 1; i < setup.logs.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (Upper(setup.logs[j].station.call) == Upper(setup.logs[i].station.call))
                return setup.logs[j].file + " and " + setup.logs[i].file + " are both logs of " +
                       setup.logs[i].station.call;
    return std::nullopt;
}

std::optional<Audit> Run(HostSession& session, const Setup& setup, const std::function<bool(bool cw)>& prepareRun) {
    std::vector<Log> logs;
    for (const LogPlan& plan : setup.logs) {
        logs.push_back(Read(plan));
        Categorize(logs.back(), setup);
    }
    for (Log& log : logs) {
        if (!prepareRun(log.plan->cw)) return std::nullopt;
        Classify(session, log);
    }

    std::vector<stats::MatchLog> forMatching;
    for (const Log& log : logs) {
        stats::MatchLog m;
        m.ownCall = log.plan->station.call;
        for (const Qso& q : log.qsos)
            m.qsos.push_back(
                stats::MatchQso{q.host->call, q.host->band, q.minute, q.host->exchangeSent, q.host->exchangeReceived});
        forMatching.push_back(std::move(m));
    }
    const auto known = [&setup](const std::string& call) {
        return setup.activeCalls && IsActiveCall(*setup.activeCalls, call);
    };
    const auto matches = stats::MatchLogs(forMatching, stats::kMatchToleranceMinutes, known);
    FindAcrossLogs(logs, matches);

    const std::int64_t startMinute = stats::OleDateMinute(stats::OleDateTime::Valid(setup.start)).value_or(0);
    Audit audit;
    if (setup.activeCalls) audit.activeCallsSource = setup.activeCallsSource;
    for (std::size_t l = 0; l < logs.size(); ++l) {
        Log& log = logs[l];
        FindSerialsOutOfSequence(log, matches[l], startMinute);
        FindBandChanges(log);
        FindPastTheLimit(log);
        FindCallsToCheck(log, setup, matches[l]);
        std::stable_sort(log.findings.begin(), log.findings.end(), [](const Flagged& a, const Flagged& b) {
            return a.kind != b.kind ? a.kind < b.kind : a.qsos.front() < b.qsos.front();
        });
    }
    WeighUnknownCalls(logs, forMatching);
    for (Log& log : logs) {
        if (!prepareRun(log.plan->cw)) return std::nullopt;
        LearnPoints(session, log);
        audit.logs.push_back(Summarize(session, log));
    }
    return audit;
}

std::string Report(const Audit& audit) {
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\n"; };
    line(std::string("note\t") + kReadOnly);
    for (const LogAudit& log : audit.logs) {
        const std::string& file = log.file;
        line("log\t" + file + "\t" + log.call + "\t" + (log.cw ? "CQ-WPX-CW" : "CQ-WPX-SSB") + "\t" + log.category +
             "\t" + Field("QSOs", static_cast<std::int64_t>(log.qsos)) + ", " + std::to_string(log.dupes) +
             " dupes, " + std::to_string(log.rejected) + " rejected by the plug-in");
        // What checking will most likely leave leads; the floor beside it.
        line("expected after checking\t" + file + "\t" + Costs(log.expected) +
             "\tthe score once the proven findings and the likely busts went, with their penalties");
        line("floor\t" + file + "\t" + Costs(log.floor) + "\tthe score if every flagged QSO went, with its penalties");
        for (const std::string& note : log.notes) line("note\t" + file + "\t" + note);
        for (const Finding& f : log.findings)
            line(std::string(KindName(f.kind)) + "\t" + file + "\t" + f.where + "\t" + TimeText(f.minute) + "\t" +
                 f.band + "\t" + f.call + "\t" + Field("QSOs", static_cast<std::int64_t>(f.qsos)) + "\t" +
                 Field("points", -f.points) + "\t" + Field("prefixes", -f.prefixes) + "\t" + f.reason + "\t" +
                 CertaintyName(f.certainty));
        line("claimed\t" + file + "\t" + (log.claimed ? Field("score", *log.claimed) : std::string("score none")) +
             "\tthe plug-in's\t" + Field("QSOs", log.plugin.qsos) + "\t" + Field("points", log.plugin.points) + "\t" +
             Field("prefixes", log.plugin.multipliers) + "\t" + Field("score", log.plugin.score));
        for (const auto& [kind, cost] : log.atRisk)
            line("at risk\t" + file + "\t" + KindName(kind) + "\t" + Costs(cost));
    }
    return out;
}

}  // namespace tools::audit
