// The band-change rules of the multi-operator categories, as log checking
// applies them to a submitted log. Which rule a log is held to comes from its
// header (entry.h).
//
//   - Multi-two: a transmitter changes band at most 8 times in a clock hour
//     (minutes 00 to 59). A change is a QSO on another band than the same
//     transmitter's QSO before it; it belongs to the hour of that QSO. From
//     the ninth change on, the transmitter's QSOs of that hour go: it complies
//     again when the next hour starts.
//   - Multi-single: each transmitter (the run transmitter "0" and the
//     multiplier transmitter, any other number) stays 10 minutes on a band
//     from its first QSO there. A QSO on another band before the 10 minutes
//     are up goes, and the transmitter is still held to the band it left; the
//     first QSO elsewhere after the 10 minutes is a lawful change, and holds
//     the transmitter to its new band for 10 minutes in turn. The multiplier
//     transmitter works only new prefixes: its QSO with a prefix that a
//     counted QSO of the station (either transmitter) had before it goes.
//   - Unlimited (and single-op): no rule.
//
// Every QSO of the log shows where its transmitter was, dupes and rejected
// QSOs included. QSOs come in time order, the log's own order kept within a
// minute; times are minutes as OleDateMinute counts them (from 1970, so an
// hour starts at a multiple of 60).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace stats {

enum class TransmitterRule { kNone, kMultiTwo, kMultiSingle };

inline constexpr int kMultiTwoChangesPerHour = 8;
inline constexpr std::int64_t kMultiSingleMinutesOnBand = 10;

struct BandChangeQso {
    std::int64_t minute = 0;
    std::string band;
    std::string transmitter;  // as the log writes it; empty: none given, the QSO is not judged
    std::string prefix;
    bool counted = false;  // the scoring counts it: only such a QSO makes its prefix worked
};

struct BandChangeBreach {
    enum class Kind {
        kChangesInHour,     // multi-two: more than 8 changes in a clock hour
        kTenMinutes,        // multi-single: another band within the 10 minutes
        kNotNewMultiplier,  // multi-single: the multiplier transmitter, a prefix already worked
    };
    Kind kind = Kind::kChangesInHour;
    std::string transmitter;
    // The QSOs that go (indexes into the input, in time order).
    std::vector<std::size_t> qsos;
    // kChangesInHour: the hour's first minute and the changes in it.
    std::int64_t hourStart = 0;
    int changes = 0;
    // kTenMinutes: the band the transmitter was held to, from which minute.
    std::string heldBand;
    std::int64_t heldSince = 0;
};

// The breaches in time order of their first QSO. Consecutive QSOs of one
// transmitter that break the rule for the same reason (the same hour, the
// same 10 minutes, multiplier QSOs in a row) are one breach.
std::vector<BandChangeBreach> CheckBandChanges(const std::vector<BandChangeQso>& qsos, TransmitterRule rule);

}  // namespace stats
