#include "contest/running_score.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "contest/scoring.h"

namespace stats {

namespace {

std::string Padded(const std::string& band) {
    return band.size() >= 20 ? band : std::string(20 - band.size(), '0') + band;
}

// Every spelling of `name` in upper and lower case letters.
void AddSpellings(const std::string& name, std::vector<std::string>& out) {
    std::vector<std::string> spellings{std::string()};
    for (const char c : name) {
        std::vector<std::string> next;
        for (const std::string& s : spellings) {
            next.push_back(s + c);
            const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
            if (letter) next.push_back(s + static_cast<char>(c ^ 0x20));
        }
        spellings.swap(next);
    }
    out.insert(out.end(), spellings.begin(), spellings.end());
}

// Minutes on the time line; dates beyond some two million years from 1899
// share the two end minutes, whose records the rates look at one by one.
constexpr std::int64_t kFarMinute = std::int64_t{1} << 40;

double TimeLine(double dt) {
    if (dt >= 0.0) return dt;
    const double day = std::ceil(dt);
    return day - (dt - day);
}

std::int64_t MinuteOf(double dt) {
    const double minutes = TimeLine(dt) * 1440.0;
    if (!(minutes < static_cast<double>(kFarMinute))) return kFarMinute;
    if (!(minutes > -static_cast<double>(kFarMinute))) return -kFarMinute;
    return static_cast<std::int64_t>(std::floor(minutes));
}

bool IsFar(std::int64_t minute) { return minute == kFarMinute || minute == -kFarMinute; }

// A time the log's walk for the latest one can hold: valid and not NaN. Minus
// infinity is one, but lies nowhere on the time line.
bool IsTimed(const OleDateTime& t) { return t.IsValid() && !std::isnan(t.m_dt); }

int LowestBit(std::uint32_t bits) { return __builtin_ctz(bits); }

}  // namespace

bool BandShownBefore(const std::string& a, const std::string& b) {
    // Byte-wise, as strcmp compares.
    return std::string_view(Padded(b)).compare(Padded(a)) < 0;
}

RunningScore::RunningScore(const char* const* bands, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) AddSpellings(bands[i], rankTexts_);
    std::stable_sort(rankTexts_.begin(), rankTexts_.end(), BandShownBefore);
    rankTexts_.erase(std::unique(rankTexts_.begin(), rankTexts_.end()), rankTexts_.end());
    for (const std::string& text : rankTexts_) lowBand_.push_back(IsLowBand(text) ? 1 : 0);
    Clear();
}

void RunningScore::Clear() {
    rankOfId_.clear();
    ownCountry_.reset();
    ownContinent_.reset();
    bands_.assign(rankTexts_.size(), BandFigures{});
    prefixes_.Clear();
    groups_.Clear();
    links_.Clear();
    credited_.clear();
    creditedNumbers_.clear();
    ++prefixesVersion_;
    minutes_.clear();
    lastMinute_ = minutes_.end();
    negativeInfinities_ = 0;
}

int RunningScore::RankOfText(const std::string& band) const {
    const auto it = std::find(rankTexts_.begin(), rankTexts_.end(), band);
    return it == rankTexts_.end() ? -1 : static_cast<int>(it - rankTexts_.begin());
}

int RunningScore::RankOf(const QsoLog& log, QsoLog::Id band) {
    for (const auto& [id, rank] : rankOfId_)
        if (id == band) return rank;
    const int rank = RankOfText(log.Text(band));
    rankOfId_.emplace_back(band, rank);
    return rank;
}

QsoLog::Id RunningScore::OwnId(const QsoLog& log, const std::string& text, std::optional<QsoLog::Id>& id) const {
    if (!id) id = log.FindId(text);
    // Not in the log yet: no record has it, and none matches an id beyond the pool.
    return id.value_or(std::numeric_limits<QsoLog::Id>::max());
}

int RunningScore::PointsOf(const QsoLog& log, const QsoRecord& r, const OwnStation& own) const {
    return Points(log, r, own, IsLowBand(log.Text(r.band)));
}

int RunningScore::Points(const QsoLog& log, const QsoRecord& r, const OwnStation& own, bool low) const {
    return QsoPoints(r.country == OwnId(log, own.country, ownCountry_),
                     r.continent == OwnId(log, own.continent, ownContinent_), own.continent == "NA", low);
}

void RunningScore::Link(Group& group, std::uint32_t seq) {
    links_.Cover(seq);
    Neighbours& link = links_[seq];
    if (group.count++ == 0) {
        link = {kNone, kNone};
        group.first = group.last = seq;
        return;
    }
    // Mostly the newest record; a dupe that becomes the counted QSO is older.
    std::uint32_t after = group.last;
    while (after != kNone && after > seq) after = links_[after].prev;
    const std::uint32_t before = after == kNone ? group.first : links_[after].next;
    link = {after, before};
    if (after == kNone) group.first = seq; else links_[after].next = seq;
    if (before == kNone) group.last = seq; else links_[before].prev = seq;
}

void RunningScore::Unlink(Group& group, std::uint32_t seq) {
    const Neighbours link = links_[seq];
    if (link.prev == kNone) group.first = link.next; else links_[link.prev].next = link.next;
    if (link.next == kNone) group.last = link.prev; else links_[link.next].prev = link.prev;
    --group.count;
}

void RunningScore::Credit(const QsoRecord& r, PrefixFigure& f, std::uint32_t bandsBefore) {
    const bool before = bandsBefore != 0, after = f.bands != 0;
    const int from = before ? LowestBit(bandsBefore) : -1, to = after ? LowestBit(f.bands) : -1;
    if (from == to) return;
    if (before) --bands_[static_cast<std::size_t>(from)].newPrefixes;
    if (after) ++bands_[static_cast<std::size_t>(to)].newPrefixes;
    if (before == after) return;  // credited elsewhere: the same prefixes
    if (after) {
        f.slot = static_cast<std::uint32_t>(credited_.size());
        credited_.push_back(r.prefix);
        creditedNumbers_.push_back(r.prefixNumber);
    } else {
        const std::uint32_t moved = creditedNumbers_.back();
        credited_[f.slot] = credited_.back();
        creditedNumbers_[f.slot] = moved;
        prefixes_[moved].slot = f.slot;
        credited_.pop_back();
        creditedNumbers_.pop_back();
    }
    ++prefixesVersion_;
}

void RunningScore::TimeIn(const QsoRecord& r, int points) {
    if (!IsTimed(r.time)) return;
    if (std::isinf(r.time.m_dt) && r.time.m_dt < 0) {
        ++negativeInfinities_;
        return;
    }
    const std::int64_t minute = MinuteOf(r.time.m_dt);
    // A replay adds minute after minute.
    if (lastMinute_ == minutes_.end() || lastMinute_->first != minute) lastMinute_ = minutes_.try_emplace(minute).first;
    Minute& m = lastMinute_->second;
    m.records.push_back(Timed{r.time.m_dt, r.seq, points});
    if (points > 0) {
        ++m.qsos;
        m.points += points;
    }
}

void RunningScore::TimeOut(const QsoRecord& r) {
    if (!IsTimed(r.time)) return;
    if (std::isinf(r.time.m_dt) && r.time.m_dt < 0) {
        --negativeInfinities_;
        return;
    }
    const auto it = minutes_.find(MinuteOf(r.time.m_dt));
    if (it == minutes_.end()) return;
    Minute& m = it->second;
    const auto at = std::find_if(m.records.begin(), m.records.end(), [&](const Timed& t) { return t.seq == r.seq; });
    if (at == m.records.end()) return;
    if (at->points > 0) {
        --m.qsos;
        m.points -= at->points;
    }
    m.records.erase(at);
    if (m.records.empty()) {
        if (lastMinute_ == it) lastMinute_ = minutes_.end();
        minutes_.erase(it);
    }
}

void RunningScore::Enter(const QsoLog& log, const QsoRecord& r, const OwnStation& own) {
    const int rank = RankOf(log, r.band);
    if (rank < 0) return;  // not a band's spelling: never stored
    BandFigures& band = bands_[static_cast<std::size_t>(rank)];
    if (!CountsForScore(r)) {
        if (CountsAsDupe(r)) ++band.dupes;
        TimeIn(r, 0);
        return;
    }
    const int points = Points(log, r, own, lowBand_[static_cast<std::size_t>(rank)] != 0);
    ++band.qsos;
    band.points += points;
    TimeIn(r, points);

    prefixes_.Cover(r.prefixNumber);
    groups_.Cover((r.prefixNumber + 1) * rankTexts_.size() - 1);
    PrefixFigure& f = prefixes_[r.prefixNumber];
    Group& group = GroupOf(r.prefixNumber, rank);
    Link(group, r.seq);
    const std::uint32_t before = f.bands;
    f.bands |= 1u << rank;
    Credit(r, f, before);
}

void RunningScore::Leave(const QsoLog& log, const QsoRecord& r, const OwnStation& own) {
    const int rank = RankOf(log, r.band);
    if (rank < 0) return;
    BandFigures& band = bands_[static_cast<std::size_t>(rank)];
    TimeOut(r);
    if (!CountsForScore(r)) {
        if (CountsAsDupe(r)) --band.dupes;
        return;
    }
    const int points = Points(log, r, own, lowBand_[static_cast<std::size_t>(rank)] != 0);
    --band.qsos;
    band.points -= points;

    PrefixFigure& f = prefixes_[r.prefixNumber];
    Group& group = GroupOf(r.prefixNumber, rank);
    Unlink(group, r.seq);
    const std::uint32_t before = f.bands;
    if (group.count == 0) f.bands &= ~(1u << rank);
    Credit(r, f, before);
}

BandFigures RunningScore::Band(const std::string& band) const {
    const int rank = RankOfText(band);
    return rank < 0 ? BandFigures{} : bands_[static_cast<std::size_t>(rank)];
}

RateFigures RunningScore::Rates(const OleDateTime& reference) const {
    RateFigures rates;
    if (!IsTimed(reference) || minutes_.empty()) return rates;
    auto exact = [&](const Minute& m, bool hour, bool ten) {
        for (const Timed& t : m.records) {
            if (t.points == 0) continue;
            const auto span = SpanWholeMinutes(OleDateTime::Valid(t.dt), reference);
            if (hour && span && *span < 60) {
                ++rates.hourQsos;
                rates.hourPoints += t.points;
            }
            if (ten && span && *span < 10) {
                ++rates.tenMinuteQsos;
                rates.tenMinutePoints += t.points;
            }
        }
    };
    // Minutes well inside a window count whole; the few at its edge (and the
    // far ones) record by record, as the span rounds to the half second.
    const std::int64_t last = MinuteOf(reference.m_dt);
    for (auto it = minutes_.upper_bound(last); it != minutes_.begin();) {
        --it;
        const std::int64_t minute = it->first;
        if (minute < last - 61) break;
        const bool far = IsFar(minute) || IsFar(last);
        const Minute& m = it->second;
        const bool wholeHour = !far && minute >= last - 57, wholeTen = !far && minute >= last - 7;
        if (wholeHour) {
            rates.hourQsos += m.qsos;
            rates.hourPoints += m.points;
        }
        if (wholeTen) {
            rates.tenMinuteQsos += m.qsos;
            rates.tenMinutePoints += m.points;
        }
        const bool edgeTen = !wholeTen && (far || minute >= last - 11);
        if (!wholeHour || edgeTen) exact(m, !wholeHour, edgeTen);
    }
    return rates;
}

std::optional<OleDateTime> RunningScore::LatestValidTime(const QsoLog& log) const {
    // Minus infinity is later than nothing and nothing is later than it: the
    // answer then hangs on the order of the log, which only the walk knows.
    if (negativeInfinities_ > 0) return log.LatestValidTime();
    if (minutes_.empty()) return std::nullopt;
    const Minute& m = minutes_.rbegin()->second;
    std::optional<OleDateTime> latest;
    for (const Timed& t : m.records)
        if (OleDateIsLater(OleDateTime::Valid(t.dt), latest.value_or(OleDateTime::Null()))) latest = OleDateTime::Valid(t.dt);
    return latest;
}

std::vector<std::string> RunningScore::Prefixes(const QsoLog& log) const {
    std::vector<std::string> list;
    list.reserve(credited_.size());
    for (const QsoLog::Id prefix : credited_) list.push_back(log.Text(prefix));
    std::sort(list.begin(), list.end());
    return list;
}

RunningScore::Snapshot RunningScore::Take(const QsoLog& log) const {
    Snapshot s;
    s.bands = bands_;
    s.prefixes = Prefixes(log);
    if (const auto latest = LatestValidTime(log)) s.latest = TimeLine(latest->m_dt);
    for (const auto& [minute, m] : minutes_) s.minutes.emplace_back(m.qsos, m.points);
    return s;
}

}  // namespace stats
