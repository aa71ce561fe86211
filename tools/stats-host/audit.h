// What log checking will take away from one or more logs of one contest
// before they go in, and what it costs, as data: each finding's kind, its
// QSOs, its cost and its evidence. `stats-host --audit` words it as a report
// (audit_report.cpp), the contest page in its "Before you submit" section;
// both take their sentences from audit_words.h. Read-only: it changes no log,
// suggests no correction and fills in nothing from other sources.
//
// The rules are log checking's (checking/: band changes, received serials,
// cross-log matching, penalties) and the core's operating time; every point
// and multiplier comes from the plug-in, the logs replayed through its
// exports: the log as it is (its replay, which gave each QSO's status), the
// log without the QSOs of each kind of finding, without the proven findings
// and the likely busts for the score expected after checking, and without all
// of them for the floor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "checking/band_changes.h"
#include "checking/findings.h"
#include "checking/log_matching.h"
#include "checking/received_serials.h"
#include "contest_log.h"
#include "host_session.h"

namespace tools::audit {

using Kind = stats::FindingKind;
inline constexpr const auto& kKinds = stats::kFindingKinds;

struct Setup {
    // The logs, each read and replayed (Replay): the audit takes their QSOs' status.
    std::vector<const ContestLog*> logs;
    // Active contest calls (MASTER.SCP); nothing when no list was read.
    std::optional<std::unordered_set<std::string>> activeCalls;
    std::string activeCallsSource;  // the file's name, for the report
    double start = 0.0;             // host date of the contest's start
};

// What the QSOs of some findings cost: the QSOs that go, the points they and
// their penalties take, the prefixes no QSO left has, and the score left.
struct Cost {
    std::size_t qsos = 0;
    std::int64_t points = 0, penalties = 0, prefixes = 0, score = 0;
};

// What a finding rests on, beside its QSOs; each kind fills its own part.
struct Evidence {
    // Serial mismatch and busted call: the other log's QSO; not in log: the
    // other log.
    std::size_t otherLog = 0;
    std::size_t otherQso = 0;
    // Serial out of sequence: why, and the QSO of this log it disagrees with.
    stats::SerialFlag::Reason serial = stats::SerialFlag::Reason::kNotAboveEarlier;
    std::optional<std::size_t> against;
    bool perBand = false;
    // Band changes: the breach (its QSOs are the finding's).
    stats::BandChangeBreach breach;
    // Past the limit: when the clock reached it, and the last QSO's minute.
    std::int64_t limitReachedMinute = 0, lastMinute = 0, limitMinutes = 0;
    // Not in the list of active calls: the only counted QSO with its prefix,
    // and the evidence of a bust when there is some: the QSO, in this log or
    // another given, with a call one edit away near it.
    bool onlyWithPrefix = false;
    std::optional<stats::BustEvidence> nearCall;
};

struct Finding {
    Kind kind = Kind::kSerialMismatch;
    stats::Certainty certainty = stats::Certainty::kProven;
    std::vector<std::size_t> qsos;  // that go, indexes into the log's QSOs, in time order
    // What this finding alone takes: its counted QSOs' points with their
    // penalties, and the prefixes no other counted QSO has.
    std::int64_t points = 0, prefixes = 0;
    Evidence evidence;
};

// The plug-in's totals.
struct Figures {
    std::int64_t qsos = 0, points = 0, multipliers = 0, score = 0;
};

// The counted calls by the list of active calls and by how often they were
// worked, for a log checker's first look; the "not in MASTER.SCP" findings
// are the calls of both lists not already judged by another log given.
struct Calls {
    bool listRead = false;
    std::size_t worked = 0;              // distinct counted calls
    std::vector<std::string> notListed;  // not in the list, in capitals, sorted
    // Worked once, with the band, sorted by call.
    std::vector<std::pair<std::string, std::string>> once;
};

// What could not be judged, and how much was.
struct Limits {
    // Across logs (with two or more logs): QSOs with stations whose log is
    // given, how many matched, and in how many of those the other log busted
    // this station's call.
    std::size_t judged = 0, matched = 0, otherBusted = 0;
    std::size_t unreadableSerials = 0;  // counted QSOs whose serial is not digits only
    // Band changes of a multi-transmitter log: QSOs without a transmitter
    // number (all of them: not judged at all).
    std::size_t withoutTransmitter = 0;
};

struct LogAudit {
    const ContestLog* log = nullptr;
    std::int64_t dupes = 0, rejected = 0;  // as the replay recorded them
    Limits limits;
    std::vector<Finding> findings;  // by kind in report order, each kind in time order
    Figures plugin;                 // the log as it is
    std::vector<std::pair<Kind, Cost>> atRisk;  // each kind found, in report order
    // What checking is expected to leave: the proven findings and the likely
    // busts go, with their penalties.
    Cost expected;
    Cost floor;  // every finding at once
    Calls calls;
};

struct Audit {
    std::string activeCallsSource;  // the list's file name; empty when none was read
    bool listRead = false;
    std::int64_t startMinute = 0;  // the contest's start, as OleDateMinute counts it
    std::vector<LogAudit> logs;
};

// Why these logs cannot be audited together: one station's log twice;
// nothing when they can. (Logs of other contests are refused before.)
std::optional<std::string> SameStationTwice(const std::vector<const ContestLog*>& logs);

// The audit, through `session`; `prepareRun` readies the plug-in's settings
// for a run of the given contest (CW or SSB) and says whether it could.
// Nothing when the plug-in could not be run. The results come back as HTML
// after HostSession::AskForHtml: audit before asking for it.
std::optional<Audit> Run(HostSession& session, const Setup& setup, const std::function<bool(bool cw)>& prepareRun);

}  // namespace tools::audit
