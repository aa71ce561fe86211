#include "checking/band_changes.h"

#include <algorithm>
#include <map>
#include <unordered_set>

namespace stats {

namespace {

std::int64_t HourOf(std::int64_t minute) { return minute >= 0 ? minute / 60 : -((-minute + 59) / 60); }

std::vector<BandChangeBreach> MultiTwo(const std::vector<BandChangeQso>& qsos) {
    struct State {
        std::string band;
        std::int64_t hour = 0;
        int changes = 0;
        std::size_t open = 0;  // index into the breaches + 1 of this hour's breach; 0: none
    };
    std::map<std::string, State> of;
    std::vector<BandChangeBreach> breaches;
    for (std::size_t i = 0; i < qsos.size(); ++i) {
        const BandChangeQso& q = qsos[i];
        if (q.transmitter.empty()) continue;
        const std::int64_t hour = HourOf(q.minute);
        auto [it, first] = of.try_emplace(q.transmitter);
        State& s = it->second;
        if (first || hour != s.hour) {
            s.hour = hour;
            s.changes = 0;
            s.open = 0;
        }
        if (!first && q.band != s.band) ++s.changes;
        s.band = q.band;
        if (s.changes <= kMultiTwoChangesPerHour) continue;
        if (s.open == 0) {
            BandChangeBreach b;
            b.kind = BandChangeBreach::Kind::kChangesInHour;
            b.transmitter = q.transmitter;
            b.hourStart = hour * 60;
            breaches.push_back(std::move(b));
            s.open = breaches.size();
        }
        breaches[s.open - 1].qsos.push_back(i);
        breaches[s.open - 1].changes = s.changes;
    }
    return breaches;
}

std::vector<BandChangeBreach> MultiSingle(const std::vector<BandChangeQso>& qsos) {
    struct State {
        std::string band;
        std::int64_t since = 0;
        std::size_t open = 0;       // the 10-minute breach under way + 1; 0: none
        std::size_t openMulti = 0;  // the multiplier breach under way + 1; 0: none
    };
    std::map<std::string, State> of;
    std::unordered_set<std::string> worked;
    std::vector<BandChangeBreach> breaches;
    for (std::size_t i = 0; i < qsos.size(); ++i) {
        const BandChangeQso& q = qsos[i];
        if (q.transmitter.empty()) {
            if (q.counted) worked.insert(q.prefix);
            continue;
        }
        auto [it, first] = of.try_emplace(q.transmitter);
        State& s = it->second;
        bool breach = false;
        if (first) {
            s.band = q.band;
            s.since = q.minute;
        } else if (q.band != s.band) {
            if (q.minute - s.since < kMultiSingleMinutesOnBand) {
                breach = true;
            } else {
                s.band = q.band;
                s.since = q.minute;
            }
        }
        if (breach) {
            if (s.open == 0 || breaches[s.open - 1].heldSince != s.since) {
                BandChangeBreach b;
                b.kind = BandChangeBreach::Kind::kTenMinutes;
                b.transmitter = q.transmitter;
                b.heldBand = s.band;
                b.heldSince = s.since;
                breaches.push_back(std::move(b));
                s.open = breaches.size();
            }
            breaches[s.open - 1].qsos.push_back(i);
        }

        // The multiplier transmitter's QSO must bring a new prefix; one that
        // already broke the 10 minutes is counted there once.
        const bool multiplierTransmitter = q.transmitter != "0";
        if (multiplierTransmitter && !breach) {
            if (worked.count(q.prefix) > 0) {
                if (s.openMulti == 0) {
                    BandChangeBreach b;
                    b.kind = BandChangeBreach::Kind::kNotNewMultiplier;
                    b.transmitter = q.transmitter;
                    breaches.push_back(std::move(b));
                    s.openMulti = breaches.size();
                }
                breaches[s.openMulti - 1].qsos.push_back(i);
            } else {
                s.openMulti = 0;
            }
        }
        if (q.counted) worked.insert(q.prefix);
    }
    std::stable_sort(breaches.begin(), breaches.end(),
                     [](const BandChangeBreach& a, const BandChangeBreach& b) { return a.qsos[0] < b.qsos[0]; });
    return breaches;
}

}  // namespace

std::vector<BandChangeBreach> CheckBandChanges(const std::vector<BandChangeQso>& qsos, TransmitterRule rule) {
    switch (rule) {
        case TransmitterRule::kMultiTwo:
            return MultiTwo(qsos);
        case TransmitterRule::kMultiSingle:
            return MultiSingle(qsos);
        case TransmitterRule::kNone:
            break;
    }
    return {};
}

}  // namespace stats
