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
//     station that matches nothing else;
//   - not in log: the other station's log is given and holds no such QSO.
// QSOs with stations whose log is not given are not judged.
//
// Pairs are made closest in time first, each QSO in at most one pair. Calls
// are compared as written, in capitals. Serials compare as numbers when both
// are digits (007 is 7), else as text.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Whether two calls are close: at most two single-character edits apart
// (changed, added, dropped, or two neighbours swapped), and not the same.
bool CallsClose(std::string_view a, std::string_view b);

// result[l][q] for QSO q of log l.
std::vector<std::vector<QsoMatch>> MatchLogs(const std::vector<MatchLog>& logs,
                                             std::int64_t toleranceMinutes = kMatchToleranceMinutes);

}  // namespace stats
