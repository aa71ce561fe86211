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
//     kept serial higher than the kept one before it, by at most
//     kMaxSerialsPerMinute for every minute between them plus one (the times
//     are whole minutes), and the first no higher than that rate allows since
//     the contest began; among sets of the same size the one that keeps the
//     earlier QSOs;
//   - every QSO left out is flagged: lower than (or equal to) a number
//     received before it, higher than one received after it, too far above
//     the one before for the time between, or too high for the time since the
//     contest began;
//   - stations of the multi-two and multi-unlimited categories number each
//     band on its own, and a log works most stations once a band, so that a
//     number out of line with another band's can always be read as such a
//     station's. A station is taken to keep one sequence when its numbers
//     all rise, or when all but one do and at least three agree; otherwise,
//     when its numbers leave fewer QSOs out band by band, it is judged band
//     by band.
//
// Its limits: a station worked once can only be judged against the contest's
// start, and one worked on two or three bands only when its numbers fail band
// by band too; a wrong number that still fits between its neighbours (124 for
// 142) is not seen; a per-band station whose numbers on three bands happen to
// rise while a fourth's does not is flagged; among QSOs that disagree, the
// later is flagged when nothing else tells which is wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stats {

// No station numbers more QSOs than this in a minute: a fast run makes 4 or 5.
inline constexpr std::int64_t kMaxSerialsPerMinute = 10;

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
