// Whether the serial numbers received from one station can all be true.
// Without the other station's log, nothing says which number it sent; but a
// station numbers its QSOs 1, 2, 3, ... so the numbers one log received from
// it, taken in time order, must rise, and cannot rise faster than a station
// works. A number that cannot belong to one rising sequence with the others
// is flagged.
//
// The method, for each worked station on its own:
//   - its QSOs in time order (the log's order within a minute);
//   - the largest set of them whose serials can be one sequence is kept: each
//     kept serial higher than the kept one before it by no more than a
//     station works in the minutes between them (MaxSerialsIn), and the
//     first no higher than a station works from the contest's start; among
//     sets of the same size, the one that keeps the earlier QSOs;
//   - every QSO left out is flagged: lower than (or equal to) a number
//     received before it, higher than one received after it, too far above
//     the one before or below the one after for the time between, or too
//     high for the time since the contest began;
//   - stations of the multi-two and multi-unlimited categories number each
//     band on its own. A station whose numbers leave fewer QSOs out when
//     each band is taken alone is judged band by band.
//
// Its limits. A log works most stations once a band, so a number out of line
// with another band's can always be a per-band station's: such numbers are
// not flagged, and a wrong number is only seen when no reading takes it: too
// high for the time since the start (a digit added), or out of line with
// another on its own band (a dupe's). A number that fits, or a digit dropped,
// is not seen. Among QSOs that disagree, the later is flagged when nothing
// else tells which is wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stats {

// The most QSOs a station can number in a span of whole minutes (QSOs timed
// `minutes` apart may be up to minutes + 1 apart): 10 a minute for the first
// hour, twice the fastest runs, and 4 a minute beyond it, above what any
// station has kept up for a whole contest on one sequence.
std::int64_t MaxSerialsIn(std::int64_t minutes);

struct ReceivedSerial {
    std::string call;
    std::int64_t minute = 0;  // as OleDateMinute counts them
    std::string band;
    std::int64_t serial = 0;  // as received, >= 0
};

// The text of a received exchange as a serial number: digits only (leading
// zeros allowed, at most 9 of them that count); nothing otherwise.
std::optional<std::int64_t> SerialNumberOf(std::string_view exchange);

struct SerialFlag {
    enum class Reason {
        kNotAboveEarlier,    // lower than or equal to a number received before it
        kAboveLater,         // higher than or equal to a number received after it
        kTooFastAfter,       // too far above the number before it for the time between
        kTooFastBefore,      // too far below the number after it for the time between
        kTooHighSinceStart,  // higher than the contest's time so far allows
    };
    std::size_t qso = 0;  // index into the input
    Reason reason = Reason::kNotAboveEarlier;
    // The kept QSO it disagrees with (an index into the input); none for
    // kTooHighSinceStart.
    std::optional<std::size_t> against;
    bool perBand = false;  // judged with the station's QSOs on its band only
};

// The flags in input order; `startMinute` is the contest's start.
std::vector<SerialFlag> CheckReceivedSerials(const std::vector<ReceivedSerial>& qsos, std::int64_t startMinute);

}  // namespace stats
