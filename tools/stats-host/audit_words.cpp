#include "audit_words.h"

#include <cstdlib>

#include "checking/log_matching.h"
#include "contest/ole_date.h"

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

const char* CertaintyName(stats::Certainty certainty) {
    switch (certainty) {
        case stats::Certainty::kProven:
            return "proven";
        case stats::Certainty::kLikelyBusted:
            return "likely busted";
        case stats::Certainty::kLikelyKept:
            break;
    }
    return "likely kept";
}

namespace {

// One finding of a kind, as a noun phrase.
const char* OneOf(Kind kind) {
    switch (kind) {
        case Kind::kSerialMismatch:
            return "a serial received wrong";
        case Kind::kSerialOutOfSequence:
            return "a serial out of sequence";
        case Kind::kNotInLog:
            return "a QSO not in the other log";
        case Kind::kBustedCall:
            return "a busted call";
        case Kind::kBandChanges:
            return "a band change past the rule";
        case Kind::kPastTheLimit:
            return "a QSO past the limit";
        case Kind::kNotActive:
            break;
    }
    return "a call not in the list";
}

const char* RuleName(stats::TransmitterRule rule) {
    return rule == stats::TransmitterRule::kMultiTwo ? "multi-two" : "multi-single";
}

}  // namespace

std::string PenalizedKinds() {
    // The busted call first: it is the penalty everyone knows.
    std::vector<Kind> kinds{Kind::kBustedCall};
    for (const Kind kind : kKinds)
        if (stats::CarriesPenalty(kind) && kind != Kind::kBustedCall) kinds.push_back(kind);
    std::string out;
    for (std::size_t i = 0; i < kinds.size(); ++i)
        out += (i == 0 ? "" : i + 1 == kinds.size() ? " and " : ", ") + std::string(OneOf(kinds[i]));
    return out;
}

std::string TimeText(std::int64_t minute, const char* format) {
    return stats::FormatOleDate(stats::OleDateOfMinute(minute), format);
}

std::string CategoryText(const ContestLog& log) {
    const std::string rule = log.rule == stats::TransmitterRule::kNone ? "" : std::string(", ") + RuleName(log.rule);
    const char* from = log.categoryAsked         ? "--category"
                       : log.header.Category() ? "CATEGORY- lines"
                                                : "assumed: the log names none, --category names one";
    return stats::CategoryName(log.category) + rule + " (" + from + ")";
}

std::string Reason(const Audit& audit, const LogAudit& audited, const Finding& f) {
    const ContestLog& log = *audited.log;
    const Evidence& e = f.evidence;
    const std::size_t first = f.qsos.front();
    const HostQso& q = log.qsos[first];
    switch (f.kind) {
        case Kind::kSerialMismatch: {
            const ContestLog& other = *audit.logs[e.otherLog].log;
            return "received " + q.exchangeReceived + " where " + other.file + " sent " +
                   other.qsos[e.otherQso].exchangeSent + " (" + other.Where(e.otherQso) + ", " +
                   TimeText(other.minutes[e.otherQso], "%H%M") + ")";
        }
        case Kind::kBustedCall: {
            const ContestLog& other = *audit.logs[e.otherLog].log;
            return other.file + " (" + other.station.call + ") has a QSO with " + log.station.call + " on " +
                   other.qsos[e.otherQso].band + " at " + TimeText(other.minutes[e.otherQso], "%H%M") + " (" +
                   other.Where(e.otherQso) + ") that matches nothing else";
        }
        case Kind::kNotInLog:
            return "no QSO with " + log.station.call + " on " + q.band + " within " +
                   std::to_string(stats::kMatchToleranceMinutes) + " minutes in " + audit.logs[e.otherLog].log->file;
        case Kind::kSerialOutOfSequence: {
            using R = stats::SerialFlag::Reason;
            std::string why = "received " + q.exchangeReceived;
            const std::int64_t minute = log.minutes[first];
            if (e.against) {
                const std::size_t k = *e.against;
                const HostQso& kept = log.qsos[k];
                const std::string other = kept.exchangeReceived + " received at " + TimeText(log.minutes[k], "%H%M") +
                                          (kept.band != q.band ? " on " + kept.band : std::string());
                switch (e.serial) {
                    case R::kNotAboveEarlier:
                        why += ", not above " + other;
                        break;
                    case R::kAboveLater:
                        why += ", not below " + other;
                        break;
                    case R::kTooFastAfter:
                    case R::kTooFastBefore: {
                        const std::int64_t minutes = std::llabs(minute - log.minutes[k]);
                        const std::int64_t apart = std::llabs(stats::SerialNumberOf(q.exchangeReceived).value_or(0) -
                                                              stats::SerialNumberOf(kept.exchangeReceived).value_or(0));
                        why += ", " + std::to_string(apart) + (e.serial == R::kTooFastAfter ? " above " : " below ") +
                               other + ": more than a station works in " + std::to_string(minutes) + " minutes";
                        break;
                    }
                    case R::kTooHighSinceStart:
                        break;
                }
            } else {
                why += ", " + std::to_string(minute - audit.startMinute) +
                       " minutes into the contest: more than a station works in that time";
            }
            if (e.perBand) why += " (this station numbers each band on its own)";
            return why;
        }
        case Kind::kBandChanges: {
            using K = stats::BandChangeBreach::Kind;
            const stats::BandChangeBreach& b = e.breach;
            const std::string tx = "transmitter " + b.transmitter;
            if (b.kind == K::kChangesInHour)
                return tx + ": " + std::to_string(b.changes) + " band changes in the hour " +
                       TimeText(b.hourStart, "%H%M") + "-" + TimeText(b.hourStart + 59, "%H%M") + " (" +
                       std::to_string(stats::kMultiTwoChangesPerHour) +
                       " allowed): its QSOs from the change past the limit to the hour's end go";
            if (b.kind == K::kTenMinutes)
                return tx + ": on another band within 10 minutes of its first QSO on " + b.heldBand + " at " +
                       TimeText(b.heldSince, "%H%M") + ": its QSOs elsewhere before " +
                       TimeText(b.heldSince + stats::kMultiSingleMinutesOnBand, "%H%M") + " go";
            return "multiplier " + tx +
                   ": a prefix the station had already worked (the multiplier transmitter works new prefixes only)";
        }
        case Kind::kPastTheLimit:
            return std::string(stats::CategoryName(log.category)) + " operating time (off-times of " +
                   std::to_string(stats::kOffTimeMinutes) + " minutes or more not counted) reached its " +
                   std::to_string(e.limitMinutes / 60) + " hours at " + TimeText(e.limitReachedMinute) +
                   ": every QSO from then on goes, the last at " + TimeText(e.lastMinute);
        case Kind::kNotActive:
            break;
    }
    std::string why = "not in " + audit.activeCallsSource + " and worked once" +
                      (e.onlyWithPrefix ? ": the only QSO with " + q.wpxPrefix : std::string());
    if (e.nearCall) {
        const ContestLog& other = *audit.logs[e.nearCall->log].log;
        const std::size_t k = e.nearCall->qso;
        why += ", and " + other.qsos[k].call + ", one edit away, was worked on " + other.qsos[k].band + " at " +
               TimeText(other.minutes[k], "%H%M") + (&other == &log ? " (" : " in " + other.file + " (") +
               other.Where(k) + ")";
    }
    return why;
}

std::vector<std::string> Notes(const Audit& audit, const LogAudit& audited) {
    const ContestLog& log = *audited.log;
    const Limits& l = audited.limits;
    std::vector<std::string> notes;
    if (audit.logs.size() > 1)
        notes.push_back("across logs: " + std::to_string(l.judged) + " QSOs with stations whose log is given, " +
                        std::to_string(l.matched) + " matched" +
                        (l.otherBusted ? " (" + std::to_string(l.otherBusted) + " with this call busted there)"
                                       : std::string()) +
                        "; a match is the same band, the calls the other way round, the times within " +
                        std::to_string(stats::kMatchToleranceMinutes) + " minutes");
    if (l.unreadableSerials > 0)
        notes.push_back(std::to_string(l.unreadableSerials) +
                        " counted QSOs received no serial of digits only: their serials not judged");
    if (log.rule != stats::TransmitterRule::kNone) {
        if (l.withoutTransmitter == log.qsos.size())
            notes.push_back(std::string("band changes: a ") + RuleName(log.rule) +
                            " log, but its QSOs carry no transmitter number: not judged");
        else if (l.withoutTransmitter > 0)
            notes.push_back("band changes: " + std::to_string(l.withoutTransmitter) +
                            " QSOs carry no transmitter number: not judged");
    }
    if (!audit.listRead) notes.push_back("not in MASTER.SCP: no list of active calls was read (--calls names one)");
    return notes;
}

}  // namespace tools::audit
