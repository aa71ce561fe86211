// The score's figures kept current as records come and go: per band, per
// prefix and in total, and the counted QSOs by time for the rate windows. A
// result request then only reads them: its cost grows with the bands and the
// length of the windows, not with the log. Caller holds the run guard.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "contest/chunked_array.h"
#include "contest/qso_log.h"

namespace stats {

// Which stored record counts for the score, and which as a dupe: the one rule
// the result and the contest view both take.
inline bool CountsForScore(const QsoRecord& r) { return r.excluded == 0 && r.call != StringPool::kEmpty; }
inline bool CountsAsDupe(const QsoRecord& r) { return r.dupe != 0 && r.call != StringPool::kEmpty; }

// True when band text `a` is shown above `b`: descending by the text padded
// with leading zeros to 20 characters, so "160m" comes before "80m".
bool BandShownBefore(const std::string& a, const std::string& b);

// The own station as the points of a QSO depend on it.
struct OwnStation {
    const std::string& country;
    const std::string& continent;
};

struct BandFigures {
    std::int64_t qsos = 0;
    std::int64_t points = 0;
    std::int64_t dupes = 0;
    std::int64_t newPrefixes = 0;  // prefixes credited to this band
    bool operator==(const BandFigures&) const = default;
};

struct RateFigures {
    std::int64_t hourQsos = 0, hourPoints = 0, tenMinuteQsos = 0, tenMinutePoints = 0;
    bool operator==(const RateFigures&) const = default;
};

class RunningScore {
public:
    // `bands` are the valid bands' names; a stored record's band is one of
    // them in any letter case.
    RunningScore(const char* const* bands, std::size_t count);

    void Clear();
    // A stored record starts or stops counting in its current state (counted
    // or a dupe). A dupe that becomes the counted QSO leaves as a dupe and
    // enters again.
    void Enter(const QsoLog& log, const QsoRecord& r, const OwnStation& own);
    void Leave(const QsoLog& log, const QsoRecord& r, const OwnStation& own);

    // The figures of a band text; zeros for a band no stored record has.
    BandFigures Band(const std::string& band) const;
    // The rates counted back from `reference`, by the whole minutes between
    // each counted QSO and it (less than 60, less than 10).
    RateFigures Rates(const OleDateTime& reference) const;
    // The latest valid QSO time among the stored records, as the log itself
    // would find it by a walk in log order.
    std::optional<OleDateTime> LatestValidTime(const QsoLog& log) const;
    // The prefixes with a counted QSO, as pool ids in no particular order:
    // kept as they come and go, so taking them is one copy of a few bytes a
    // prefix.
    const std::vector<QsoLog::Id>& PrefixIds() const { return credited_; }
    // Their texts, sorted byte-wise.
    std::vector<std::string> Prefixes(const QsoLog& log) const;
    // Changes each time a prefix comes or goes.
    std::uint64_t PrefixesVersion() const { return prefixesVersion_; }

    // Points of a counted QSO of this record.
    int PointsOf(const QsoLog& log, const QsoRecord& r, const OwnStation& own) const;

    // Every figure, comparable: a run kept current must equal a fresh pass.
    struct Snapshot {
        std::vector<BandFigures> bands;  // by rank
        std::vector<std::string> prefixes;
        std::optional<double> latest;
        std::vector<std::pair<std::int64_t, std::int64_t>> minutes;  // by minute: counted QSOs, points
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot Take(const QsoLog& log) const;

private:
    struct PrefixFigure {
        std::uint32_t bands = 0;    // bit by rank: a counted QSO on that band
        std::uint32_t slot = 0;  // its place in credited_, while credited
    };
    // A record in the time index.
    struct Timed {
        double dt = 0.0;
        std::uint32_t seq = 0;
        std::int32_t points = 0;  // 0: stored but not counted
    };
    struct Minute {
        std::int64_t qsos = 0, points = 0;
        std::vector<Timed> records;
    };
    int RankOf(const QsoLog& log, QsoLog::Id band);
    int RankOfText(const std::string& band) const;
    // The counted QSOs of a prefix on a band, in log order: a list linked
    // through links_, so that an addition touches no more than its neighbour.
    struct Group {
        std::uint32_t count = 0, first = 0, last = 0;
    };
    struct Neighbours {
        std::uint32_t prev = 0, next = 0;
    };
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    Group& GroupOf(std::uint32_t prefixNumber, int rank) {
        return groups_[prefixNumber * rankTexts_.size() + static_cast<std::size_t>(rank)];
    }
    void Link(Group& group, std::uint32_t seq);
    void Unlink(Group& group, std::uint32_t seq);
    // A prefix is credited to the first of its bands in display order: moves
    // the credit from where `bandsBefore` put it to where its bands put it now
    // (none when they are 0).
    void Credit(const QsoRecord& r, PrefixFigure& f, std::uint32_t bandsBefore);
    void TimeIn(const QsoRecord& r, int points);
    void TimeOut(const QsoRecord& r);

    // The own station's texts as pool ids, once a record holds them: points
    // then compare ids, not texts.
    int Points(const QsoLog& log, const QsoRecord& r, const OwnStation& own, bool lowBand) const;
    QsoLog::Id OwnId(const QsoLog& log, const std::string& text, std::optional<QsoLog::Id>& id) const;

    std::vector<std::string> rankTexts_;  // every spelling of every band, in display order
    mutable std::optional<QsoLog::Id> ownCountry_, ownContinent_;
    std::vector<char> lowBand_;           // by rank
    std::vector<std::pair<QsoLog::Id, int>> rankOfId_;
    std::vector<BandFigures> bands_;  // by rank

    ChunkedArray<PrefixFigure> prefixes_;  // by the record's prefix number
    ChunkedArray<Group> groups_;  // by prefix number, then rank: no hash look-up
    ChunkedArray<Neighbours> links_;                     // by seq
    std::vector<QsoLog::Id> credited_;  // the prefixes with a counted QSO
    std::vector<std::uint32_t> creditedNumbers_;  // their prefix numbers, in the same order
    std::uint64_t prefixesVersion_ = 0;

    // Stored records with a valid time, by the minute of its place on the
    // time line (far dates share the two end minutes); a time of minus
    // infinity only counted, as the log's own walk treats it apart.
    std::map<std::int64_t, Minute> minutes_;
    std::map<std::int64_t, Minute>::iterator lastMinute_;
    std::size_t negativeInfinities_ = 0;
};

}  // namespace stats
