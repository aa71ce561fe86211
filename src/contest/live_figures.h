// The figures of a run as the contest view shows them: the activity by minute
// for the operating-time rule, and the score with its course over the
// contest. They are kept by the window thread, which takes in only what
// changed since it last looked, so that no host call waits for a pass over a
// long log: the records added since then, as long as no reset or removal came
// between (after one, all of them).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "contest/ole_date.h"
#include "contest/operating_time.h"
#include "contest/pace_curve.h"
#include "contest/run_state.h"

namespace stats {

struct RunTotals {
    std::int64_t qsos = 0;  // counted: neither dupes nor rejected
    std::int64_t points = 0;
    std::int64_t prefixes = 0;
    std::int64_t Score() const { return points * prefixes; }
};

class LiveFigures {
public:
    // Takes over what changed in the run. The caller holds the run guard;
    // this only copies.
    void Collect(const RunState& state);
    // Works what Collect took into the figures; without the guard.
    void Digest();

    const MinuteCounts& Activity() const { return activity_; }
    const RunTotals& Totals() const { return totals_; }
    // Counted QSOs and their points by band, in the order of kBandNames.
    struct BandTotals {
        std::int64_t qsos = 0;
        std::int64_t points = 0;
    };
    const std::array<BandTotals, kBandCount>& Bands() const { return bands_; }
    bool Cw() const { return cw_; }
    // The contest period the host passed at the reset, in minutes (as
    // OleDateMinute counts them). An end at midnight is the end of that day:
    // the host may pass the contest's dates without their times.
    std::optional<std::int64_t> StartMinute() const { return start_; }
    std::optional<std::int64_t> EndMinute() const { return end_; }

    // The run's own curve from the contest start: a row every 10 minutes up
    // to `elapsed`, each of the QSOs before that minute.
    PaceCurve OwnCurve(std::int64_t elapsed) const;

private:
    struct Taken {
        OleDateTime time;
        std::uint32_t prefix = 0;
        std::int32_t points = 0;  // 0 for a QSO that does not count
        std::int8_t band = -1;    // index in kBandNames of a counted QSO
        bool counts = false;
    };
    struct Minute {
        std::uint32_t activity = 0;
        std::int64_t qsos = 0;
        std::int64_t points = 0;
        std::int64_t newPrefixes = 0;  // prefixes first counted at this minute
    };
    static constexpr std::int64_t kNoMinute = INT64_MIN;

    // What Collect took and Digest has yet to work in.
    std::vector<Taken> taken_;
    bool rebuild_ = true;
    // How far Collect has followed the run.
    std::uint64_t generation_ = 0;
    bool followed_ = false;
    std::size_t recordsSeen_ = 0;
    std::size_t rejectedSeen_ = 0;
    // Points of a record by its band's text, low or not, and its stations'.
    std::vector<std::int8_t> lowBand_;  // by band id: -1 not known yet
    // By band id: index in kBandNames (the host's band texts are taken in any
    // case), -1 none, -2 not known yet.
    std::vector<std::int8_t> bandSlot_;

    std::map<std::int64_t, Minute> minutes_;
    std::vector<std::int64_t> prefixFirst_;  // by prefix id: the earliest minute, kNoMinute, or unseen
    std::vector<std::uint32_t> prefixQsos_;  // by prefix id: counted QSOs
    RunTotals totals_;
    std::array<BandTotals, kBandCount> bands_{};
    MinuteCounts activity_;
    bool cw_ = true;
    std::optional<std::int64_t> start_, end_;
};

}  // namespace stats
