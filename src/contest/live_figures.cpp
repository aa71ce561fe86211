#include "contest/live_figures.h"

#include <limits>

#include "contest/scoring.h"
#include "contest/text_util.h"

namespace stats {

namespace {

constexpr std::int64_t kUntimed = std::numeric_limits<std::int64_t>::max();

std::optional<std::int64_t> PeriodEnd(const OleDateTime& end) {
    const auto minute = OleDateMinute(end);
    if (!minute) return std::nullopt;
    return *minute % 1440 == 0 ? *minute + 1440 : *minute;
}

}  // namespace

void LiveFigures::Collect(const RunState& state) {
    const QsoLog& log = state.g_QsoLog;
    if (!followed_ || state.g_LogGeneration != generation_) {
        followed_ = true;
        generation_ = state.g_LogGeneration;
        recordsSeen_ = 0;
        rejectedSeen_ = 0;
        taken_.clear();
        rebuild_ = true;
        lowBand_.clear();  // the texts' ids start again at a reset
        bandSlot_.clear();
    }
    cw_ = state.g_bCwContest != 0;
    start_ = OleDateMinute(state.g_ContestStart);
    end_ = PeriodEnd(state.g_ContestEnd);

    // As the scoring pass counts and scores a record.
    const auto ownCountry = log.FindId(state.g_OwnCountry);
    const auto ownContinent = log.FindId(state.g_OwnContinent);
    const bool ownInNorthAmerica = state.g_OwnContinent == "NA";
    taken_.reserve(taken_.size() + (log.GetCount() - recordsSeen_) +
                   (state.g_RejectedQsos.GetCount() - rejectedSeen_));
    for (; recordsSeen_ < log.GetCount(); ++recordsSeen_) {
        const QsoRecord& r = log.Record(recordsSeen_);
        Taken t;
        t.time = r.time;
        t.prefix = r.prefix;
        t.counts = r.excluded == 0 && r.call != StringPool::kEmpty;
        if (t.counts) {
            if (lowBand_.size() <= r.band) lowBand_.resize(r.band + 1, -1);
            if (lowBand_[r.band] < 0) lowBand_[r.band] = IsLowBand(log.Text(r.band)) ? 1 : 0;
            if (bandSlot_.size() <= r.band) bandSlot_.resize(r.band + 1, -2);
            if (bandSlot_[r.band] == -2) {
                bandSlot_[r.band] = -1;
                for (std::size_t b = 0; b < kBandCount; ++b)
                    if (EqualsNoCase(log.Text(r.band), kBandNames[b])) bandSlot_[r.band] = static_cast<std::int8_t>(b);
            }
            t.band = bandSlot_[r.band];
            t.points = QsoPoints(ownCountry && r.country == *ownCountry, ownContinent && r.continent == *ownContinent,
                                 ownInNorthAmerica, lowBand_[r.band] == 1);
        }
        taken_.push_back(t);
    }
    for (; rejectedSeen_ < state.g_RejectedQsos.GetCount(); ++rejectedSeen_) {
        Taken t;
        t.time = state.g_RejectedQsos.TimeAt(rejectedSeen_);
        taken_.push_back(t);
    }
}

void LiveFigures::Digest() {
    const bool changed = rebuild_ || !taken_.empty();
    if (rebuild_) {
        minutes_.clear();
        prefixFirst_.clear();
        prefixQsos_.clear();
        totals_ = RunTotals{};
        bands_ = {};
        rebuild_ = false;
    }
    for (const Taken& t : taken_) {
        const auto minute = OleDateMinute(t.time);
        Minute* at = minute ? &minutes_[*minute] : nullptr;
        if (at != nullptr) ++at->activity;
        if (!t.counts) continue;
        ++totals_.qsos;
        totals_.points += t.points;
        if (t.band >= 0) {
            ++bands_[static_cast<std::size_t>(t.band)].qsos;
            bands_[static_cast<std::size_t>(t.band)].points += t.points;
        }
        if (at != nullptr) {
            ++at->qsos;
            at->points += t.points;
        }
        if (prefixQsos_.size() <= t.prefix) {
            prefixQsos_.resize(t.prefix + 1, 0);
            prefixFirst_.resize(t.prefix + 1, kUntimed);
        }
        if (prefixQsos_[t.prefix]++ == 0) ++totals_.prefixes;
        std::int64_t& first = prefixFirst_[t.prefix];
        if (minute && *minute < first) {
            if (first != kUntimed) --minutes_[first].newPrefixes;
            first = *minute;
            ++at->newPrefixes;
        }
    }
    if (changed) {
        activity_.clear();
        activity_.reserve(minutes_.size());
        for (const auto& [minute, m] : minutes_) activity_.emplace_back(minute, m.activity);
    }
    taken_.clear();
}

PaceCurve LiveFigures::OwnCurve(std::int64_t elapsed) const {
    PaceCurve curve;
    curve.cw = cw_;
    if (!start_ || elapsed < 0) return curve;
    // A clock far from the contest's dates asks for no curve of years.
    constexpr std::int64_t kMostElapsed = 14 * 1440;
    if (elapsed > kMostElapsed) elapsed = kMostElapsed;
    PaceRow running;
    OperatingClockRun clock;
    auto it = minutes_.begin();
    for (std::int64_t row = 0;; row += kPaceStepMinutes) {
        if (row > elapsed) row = elapsed;
        for (; it != minutes_.end() && it->first < *start_ + row; ++it) {
            clock.StepTo(it->first);
            running.operating = clock.Operating();
            running.qsos += it->second.qsos;
            running.points += it->second.points;
            running.prefixes += it->second.newPrefixes;
        }
        running.elapsed = row;
        running.score = running.points * running.prefixes;
        curve.rows.push_back(running);
        if (row == elapsed) break;
    }
    return curve;
}

}  // namespace stats
