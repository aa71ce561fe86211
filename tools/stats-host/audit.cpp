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
#include "log_source.h"
#include "page_replay.h"
#include "wpx_prefix.h"

namespace tools::audit {

namespace {

// The kinds of finding, in the order the report gives them.
enum class Kind {
    kSerialMismatch,
    kSerialOutOfSequence,
    kNotInLog,
    kBustedCall,
    kBandChanges,
    kPastTheLimit,
    kNotActive,
};
constexpr Kind kKinds[] = {Kind::kSerialMismatch, Kind::kSerialOutOfSequence, Kind::kNotInLog, Kind::kBustedCall,
                           Kind::kBandChanges,    Kind::kPastTheLimit,        Kind::kNotActive};

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

// Log checking takes a penalty of the QSO's points beside the QSO for a busted
// call and a QSO not in the other log; a call no list knows, worked once, is
// at risk of being either.
bool Penalized(Kind kind) { return kind == Kind::kNotInLog || kind == Kind::kBustedCall || kind == Kind::kNotActive; }

enum class Status { kCounted, kDupe, kRejected };

struct Qso {
    HostQso host;
    std::size_t number = 0;  // record or line
    std::string transmitter;
    std::int64_t minute = 0;
    Status status = Status::kRejected;
    std::int64_t points = 0;  // a counted QSO's, from the plug-in, for those a finding names
};

struct Figures {
    std::int64_t qsos = 0, points = 0, multipliers = 0, score = 0;
};

struct Finding {
    Kind kind = Kind::kSerialMismatch;
    std::vector<std::size_t> qsos;  // the QSOs that go, in time order
    std::string reason;
};

struct Log {
    const LogPlan* plan = nullptr;
    bool cabrillo = false;
    std::vector<Qso> qsos;  // in time order, the log's order within a minute
    LogHeader header;
    stats::EntryCategory category = stats::EntryCategory::kSingleOp;
    std::string categoryFrom;
    stats::TransmitterRule rule = stats::TransmitterRule::kNone;
    Figures full;
    std::int64_t dupes = 0, rejected = 0;
    std::vector<Finding> findings;
    std::vector<std::string> notes;
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

Log Read(const LogPlan& plan, const CountryFile* countries) {
    Log log;
    log.plan = &plan;
    LogSource source(plan.path, countries);
    log.cabrillo = source.IsCabrillo();
    for (LogSource::Entry entry; source.Next(entry);) {
        if (!entry.qso) continue;
        Qso q;
        q.host = std::move(*entry.qso);
        q.number = entry.number;
        q.transmitter = entry.transmitter;
        // A mapped QSO always has a date; one outside the calendar sorts first.
        q.minute = stats::OleDateMinute(q.host.time).value_or(0);
        log.qsos.push_back(std::move(q));
    }
    std::stable_sort(log.qsos.begin(), log.qsos.end(), [](const Qso& a, const Qso& b) { return a.minute < b.minute; });
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

HostCheck CheckOf(const HostQso& q) {
    HostCheck check;
    check.call = q.call;
    check.band = check.otherBand = q.band;
    check.mode = q.mode;
    check.wpxPrefix = q.wpxPrefix;
    check.countryPrefix = q.countryPrefix;
    check.continent = q.continent;
    return check;
}

// The plug-in's run of the log as it is: which QSOs count (a dupe is what
// its call check says it is), and its figures.
void Classify(HostSession& session, Log& log) {
    session.Reset(log.plan->station, false);
    unsigned number = 0;
    for (Qso& q : log.qsos) {
        const bool dupe = session.Check(CheckOf(q.host)) == 0;
        const bool accepted = session.Add(q.host, ++number) == 1;
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
        if (!gone[i]) session.Add(log.qsos[i].host, ++number);
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
    for (const Finding& f : log.findings) wanted.insert(f.qsos.begin(), f.qsos.end());
    for (const std::size_t i : wanted) {
        const HostQso& q = log.qsos[i].host;
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
            const HostQso& q = log.qsos[qsos->front()].host;
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
            Finding f;
            f.qsos = {i};
            if (m.result == stats::MatchResult::kSerialMismatch) {
                const Qso& r = other.qsos[*m.otherQso];
                f.kind = Kind::kSerialMismatch;
                f.reason = "received " + q.host.exchangeReceived + " where " + otherName + " sent " +
                           r.host.exchangeSent + " (" + Where(other, r) + ", " + TimeText(r.minute, "%H%M") + ")";
            } else if (m.result == stats::MatchResult::kBustedCall) {
                const Qso& r = other.qsos[*m.otherQso];
                f.kind = Kind::kBustedCall;
                f.reason = otherName + " (" + other.plan->station.call + ") has a QSO with " + log.plan->station.call +
                           " on " + r.host.band + " at " + TimeText(r.minute, "%H%M") + " (" + Where(other, r) +
                           ") that matches nothing else";
            } else {
                f.kind = Kind::kNotInLog;
                f.reason = "no QSO with " + log.plan->station.call + " on " + q.host.band + " within " +
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
        const auto serial = stats::SerialNumberOf(q.host.exchangeReceived);
        if (!serial) {
            ++unreadable;
            continue;
        }
        serials.push_back(stats::ReceivedSerial{Upper(q.host.call), q.minute, q.host.band, *serial});
        of.push_back(i);
    }
    if (unreadable > 0)
        log.notes.push_back(std::to_string(unreadable) +
                            " counted QSOs received no serial of digits only: their serials not judged");
    using R = stats::SerialFlag::Reason;
    for (const stats::SerialFlag& flag : stats::CheckReceivedSerials(serials, startMinute)) {
        const Qso& q = log.qsos[of[flag.qso]];
        std::string why = "received " + q.host.exchangeReceived;
        if (flag.against) {
            const Qso& k = log.qsos[of[*flag.against]];
            const std::string other = k.host.exchangeReceived + " received at " + TimeText(k.minute, "%H%M") +
                                      (k.host.band != q.host.band ? " on " + k.host.band : std::string());
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
        log.findings.push_back(Finding{Kind::kSerialOutOfSequence, {of[flag.qso]}, why});
    }
}

void FindBandChanges(Log& log) {
    if (log.rule == stats::TransmitterRule::kNone) return;
    std::vector<stats::BandChangeQso> qsos;
    std::size_t without = 0;
    for (const Qso& q : log.qsos) {
        qsos.push_back(
            stats::BandChangeQso{q.minute, q.host.band, q.transmitter, q.host.wpxPrefix, q.status == Status::kCounted});
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
        Finding f;
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
    Finding f;
    f.kind = Kind::kPastTheLimit;
    for (std::size_t i = 0; i < log.qsos.size(); ++i)
        if (t.PastLimit(log.qsos[i].minute)) f.qsos.push_back(i);
    f.reason = std::string(stats::CategoryName(log.category)) + " operating time (off-times of " +
               std::to_string(stats::kOffTimeMinutes) + " minutes or more not counted) reached its " +
               std::to_string(*t.limit / 60) + " hours at " + TimeText(t.limitReachedMinute) +
               ": every QSO from then on goes, the last at " + TimeText(t.lastMinute);
    log.findings.push_back(std::move(f));
}

bool IsActive(const std::unordered_set<std::string>& active, const std::string& call) {
    // A call with a designator or an operating suffix is known by its home call.
    return active.count(call) > 0 || active.count(ReadPortableCall(call).home) > 0;
}

void FindCallsToCheck(Log& log, const Setup& setup, const std::vector<stats::QsoMatch>& matches) {
    if (!setup.activeCalls) {
        log.notes.push_back("not in MASTER.SCP: no list of active calls was read (--calls names one)");
        return;
    }
    std::unordered_map<std::string, std::size_t> worked;
    for (const Qso& q : log.qsos)
        if (q.status == Status::kCounted) ++worked[Upper(q.host.call)];
    std::unordered_map<std::string, std::size_t> prefixQsos;
    for (const Qso& q : log.qsos)
        if (q.status == Status::kCounted) ++prefixQsos[q.host.wpxPrefix];
    for (std::size_t i = 0; i < log.qsos.size(); ++i) {
        const Qso& q = log.qsos[i];
        const std::string call = Upper(q.host.call);
        // A QSO another log confirms, or already found wanting, needs no list.
        if (q.status != Status::kCounted || matches[i].result != stats::MatchResult::kNotJudged || worked[call] != 1 ||
            IsActive(*setup.activeCalls, call))
            continue;
        std::string why = "not in " + setup.activeCallsSource + " and worked once";
        if (prefixQsos[q.host.wpxPrefix] == 1) why += ": the only QSO with " + q.host.wpxPrefix;
        log.findings.push_back(Finding{Kind::kNotActive, {i}, why});
    }
}

// The contest starts at 00:00 UTC on a Saturday; a log that begins on the
// Sunday still had the Saturday.
double ContestStart(const Setup& setup) {
    if (setup.start) return *setup.start;
    double first = setup.logs.front().first;
    for (const LogPlan& p : setup.logs) first = std::min(first, p.first);
    const double day = std::floor(first);
    return static_cast<long long>(day) % 7 == 1 ? day - 1 : day;  // host day 0 was a Saturday
}

// What the findings of one kind, or all of them, would cost.
struct Cost {
    std::size_t qsos = 0;
    std::int64_t points = 0, penalties = 0, prefixes = 0, score = 0;
};

std::string Field(const char* name, std::int64_t value) { return std::string(name) + " " + std::to_string(value); }

std::string Costs(const Cost& c) {
    return Field("QSOs", static_cast<std::int64_t>(c.qsos)) + "\t" + Field("points", -c.points) + "\t" +
           Field("prefixes", -c.prefixes) + "\t" + Field("score", c.score) + "\t" + Field("penalties", c.penalties);
}

Cost CostWithout(HostSession& session, const Log& log, const std::vector<const Finding*>& findings) {
    std::vector<char> gone(log.qsos.size(), 0), penalized(log.qsos.size(), 0);
    for (const Finding* f : findings)
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

std::string WriteLog(HostSession& session, const Log& log) {
    const LogPlan& plan = *log.plan;
    const std::string file = plan.file;
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\n"; };
    const std::string rule = log.rule == stats::TransmitterRule::kMultiTwo      ? ", multi-two"
                             : log.rule == stats::TransmitterRule::kMultiSingle ? ", multi-single"
                                                                                : "";
    line("log\t" + file + "\t" + plan.station.call + "\t" + (plan.cw ? "CQ-WPX-CW" : "CQ-WPX-SSB") + "\t" +
         stats::CategoryName(log.category) + rule + " (" + log.categoryFrom + ")\t" +
         Field("QSOs", static_cast<std::int64_t>(log.qsos.size())) + ", " + std::to_string(log.dupes) + " dupes, " +
         std::to_string(log.rejected) + " rejected by the plug-in");
    for (const std::string& note : log.notes) line("note\t" + file + "\t" + note);

    std::unordered_map<std::string, std::size_t> prefixQsos;
    for (const Qso& q : log.qsos)
        if (q.status == Status::kCounted) ++prefixQsos[q.host.wpxPrefix];
    for (const Finding& f : log.findings) {
        // This finding alone: its counted QSOs' points (twice with a
        // penalty), and the prefixes no other counted QSO has.
        std::int64_t points = 0;
        std::unordered_map<std::string, std::size_t> prefixes;
        for (const std::size_t i : f.qsos) {
            const Qso& q = log.qsos[i];
            if (q.status != Status::kCounted) continue;
            points += Penalized(f.kind) ? 2 * q.points : q.points;
            ++prefixes[q.host.wpxPrefix];
        }
        std::int64_t lost = 0;
        for (const auto& [prefix, n] : prefixes) lost += n == prefixQsos[prefix];
        const Qso& first = log.qsos[f.qsos.front()];
        line(std::string(KindName(f.kind)) + "\t" + file + "\t" + Where(log, first) + "\t" + TimeText(first.minute) +
             "\t" + first.host.band + "\t" + first.host.call + "\t" +
             Field("QSOs", static_cast<std::int64_t>(f.qsos.size())) + "\t" + Field("points", -points) + "\t" +
             Field("prefixes", -lost) + "\t" + f.reason);
    }

    line("claimed\t" + file + "\t" +
         (log.header.claimed ? Field("score", *log.header.claimed) : std::string("score none")) + "\tthe plug-in's\t" +
         Field("QSOs", log.full.qsos) + "\t" + Field("points", log.full.points) + "\t" +
         Field("prefixes", log.full.multipliers) + "\t" + Field("score", log.full.score));
    std::vector<const Finding*> all;
    for (const Kind kind : kKinds) {
        std::vector<const Finding*> of;
        for (const Finding& f : log.findings)
            if (f.kind == kind) of.push_back(&f);
        if (of.empty()) continue;
        all.insert(all.end(), of.begin(), of.end());
        line("at risk\t" + file + "\t" + KindName(kind) + "\t" + Costs(CostWithout(session, log, of)));
    }
    line("floor\t" + file + "\t" + Costs(CostWithout(session, log, all)) +
         "\tthe score if every flagged QSO went, with its penalties");
    return out;
}

}  // namespace

std::optional<std::string> Refusal(const Setup& setup) {
    const LogPlan& lead = setup.logs.front();
    auto contestOf = [](const LogPlan& p) { return std::string(p.cw ? "CQ-WPX-CW" : "CQ-WPX-SSB"); };
    for (std::size_t i = 1; i < setup.logs.size(); ++i) {
        const LogPlan& other = setup.logs[i];
        if (other.cw != lead.cw)
            return lead.file + " is " + contestOf(lead) + " and " + other.file + " " + contestOf(other) +
                   ": logs are compared within one contest";
        if (!other.contest.empty() && !lead.contest.empty() && other.contest != lead.contest)
            return lead.file + " names the contest " + lead.contest + " and " + other.file + " " + other.contest +
                   ": logs are compared within one contest";
        if (std::fabs(std::floor(other.first) - std::floor(lead.first)) > 2.0)
            return lead.file + " and " + other.file + " are not logs of one contest: their first QSOs are " +
                   std::to_string(static_cast<long long>(std::fabs(std::floor(other.first) - std::floor(lead.first)))) +
                   " days apart";
        for (std::size_t j = 0; j < i; ++j)
            if (Upper(setup.logs[j].station.call) == Upper(other.station.call))
                return setup.logs[j].file + " and " + other.file + " are both logs of " + other.station.call;
    }
    return std::nullopt;
}

std::optional<std::string> Report(HostSession& session, const Setup& setup,
                                  const std::function<bool(bool cw)>& prepareRun) {
    std::vector<Log> logs;
    for (const LogPlan& plan : setup.logs) {
        logs.push_back(Read(plan, setup.countries));
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
                stats::MatchQso{q.host.call, q.host.band, q.minute, q.host.exchangeSent, q.host.exchangeReceived});
        forMatching.push_back(std::move(m));
    }
    const auto matches = stats::MatchLogs(forMatching);
    FindAcrossLogs(logs, matches);

    const std::int64_t startMinute = stats::OleDateMinute(stats::OleDateTime::Valid(ContestStart(setup))).value_or(0);
    std::string report =
        "note\tread-only: this audit changes no log, suggests no correction and fills in nothing from other "
        "sources; the rules forbid correcting a log from databases after the contest\n";
    for (std::size_t l = 0; l < logs.size(); ++l) {
        Log& log = logs[l];
        FindSerialsOutOfSequence(log, matches[l], startMinute);
        FindBandChanges(log);
        FindPastTheLimit(log);
        FindCallsToCheck(log, setup, matches[l]);
        std::stable_sort(log.findings.begin(), log.findings.end(), [](const Finding& a, const Finding& b) {
            return a.kind != b.kind ? a.kind < b.kind : a.qsos.front() < b.qsos.front();
        });
        if (!prepareRun(log.plan->cw)) return std::nullopt;
        LearnPoints(session, log);
        report += WriteLog(session, log);
    }
    return report;
}

}  // namespace tools::audit
