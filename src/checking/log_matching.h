// Cross-checking the logs of stations that worked each other, as log
// checking does with every log it receives. A QSO between two of the logs
// given is looked for in the other log: the same band, the other log's time
// within kMatchToleranceMinutes either way (the two stations' clocks differ a
// little), and the calls the other way round. Its result:
//   - matched: found, and the serial it received is the one the other log
//     sent; also a QSO whose call the other station busted (the cost is the
//     other log's);
//   - serial mismatch: found, but the serial received is not the one sent;
//   - busted call: this log's call is close to a station's whose log is given
//     (one letter or digit changed, added, dropped or two swapped; or two of
//     those), and that log has, at this time and band, a QSO with this
//     station that matches nothing else. One edit is taken before two, then
//     the nearer minute; a call that is itself a known station's (worked in
//     another log given, or known to the caller) is its own station unless
//     it is one edit away and no other call explains the other log's QSO;
//   - not in log: the other station's log is given and holds no such QSO.
// QSOs with stations whose log is not given are not judged.
//
// Pairs are made closest in time first, each QSO in at most one pair. Calls
// are compared as written, in capitals. Serials compare as numbers when both
// are digits (007 is 7), else as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stats {

inline constexpr std::int64_t kMatchToleranceMinutes = 5;

struct MatchQso {
    std::string call;  // the station worked, as logged
    std::string band;
    std::int64_t minute = 0;  // as OleDateMinute counts them
    std::string serialSent, serialReceived;
};

struct MatchLog {
    std::string ownCall;
    std::vector<MatchQso> qsos;
};

enum class MatchResult { kNotJudged, kMatched, kSerialMismatch, kBustedCall, kNotInLog };

struct QsoMatch {
    MatchResult result = MatchResult::kNotJudged;
    // The other log's QSO (for a busted call, the one this QSO was meant to
    // be), when one was found.
    std::optional<std::size_t> otherLog, otherQso;
    bool otherBustedCall = false;  // matched, though the other log busted this station's call
};

// How many single-character edits (changed, added, dropped, or two
// neighbours swapped) make one call of the other; 3 for three or more.
std::size_t CallEdits(std::string_view a, std::string_view b);
// Whether two calls are close: at most two edits apart, and not the same.
bool CallsClose(std::string_view a, std::string_view b);

// result[l][q] for QSO q of log l. `isKnown` says whether a call (in
// capitals) is an active station's, from a list the caller has.
std::vector<std::vector<QsoMatch>> MatchLogs(const std::vector<MatchLog>& logs,
                                             std::int64_t toleranceMinutes = kMatchToleranceMinutes,
                                             const std::function<bool(const std::string&)>& isKnown = {});

// A call no list knows and worked once may be a bust or a real station that
// few work. It counts as a bust only on evidence: a call one edit away worked
// on the same band within kBustEvidenceMinutes either way, in this log or in
// another given (the station was there, and heard); and only when no other
// log given has the call itself (then it is no unique: two logs copied it).
// An hour is about as long as a station holds a band: on real logs it found
// half of the busts put in and took one real call in twenty for a bust;
// shorter finds fewer busts, longer takes more real calls.
inline constexpr std::int64_t kBustEvidenceMinutes = 60;

struct BustEvidence {
    std::size_t log = 0, qso = 0;  // the QSO with the call one edit away
};

// For each QSO asked about, as {log, qso}: the evidence nearest in time, or
// nothing.
std::vector<std::optional<BustEvidence>> FindBustEvidence(const std::vector<MatchLog>& logs,
                                                          const std::vector<BustEvidence>& asked,
                                                          std::int64_t windowMinutes = kBustEvidenceMinutes);

}  // namespace stats
