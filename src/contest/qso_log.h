// The QSO record, the rule lists and the log of one statistics run.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/chunked_array.h"
#include "contest/flat_hash.h"
#include "contest/ole_date.h"
#include "contest/string_pool.h"

namespace stats {

// One QSO as the host passed it. Texts are kept exactly (no trimming, no case
// folding); the frequency is in kilohertz.
struct CInfo {
    std::string m_strCall;
    std::string m_strCountry;
    std::string m_strContinent;
    std::string m_strBand;
    std::string m_strMode;
    std::string m_strRstRcvd;
    std::string m_strRstSent;
    std::string m_strExchRcvd;
    std::string m_strExchSent;
    std::string m_strPrefix;
    std::uint32_t m_nFreqKHz = 0;
    int m_bExcluded = 0;
    int m_bDupe = 0;
    OleDateTime m_time;
};

// A list of allowed names; membership ignores letter case.
class CContestRules {
public:
    CContestRules(const char* const* names, std::size_t count);
    bool Contains(std::string_view text) const;
    std::size_t GetSize() const { return names_.size(); }
    const std::string& GetAt(std::size_t i) const { return names_.at(i); }

private:
    std::vector<std::string> names_;
};

// The texts of a QSO to store, as views of the caller's strings.
struct QsoFields {
    std::string_view call, country, continent, band, mode;
    std::string_view rstRcvd, rstSent, exchRcvd, exchSent, prefix, ownCall;
    std::uint32_t freqKHz = 0;
    OleDateTime time;
    bool dupe = false;  // also excluded
};

// A stored QSO: the record's texts as pool ids, plus the own call it was logged
// with (needed to rebuild its bad-QSO lines), a sequence number that orders
// the log and survives removals, the next record with the same call, band
// and mode, and its prefix's number among the log's prefixes.
struct QsoRecord {
    using Id = StringPool::Id;
    Id call = 0, country = 0, continent = 0, band = 0, mode = 0;
    Id rstRcvd = 0, rstSent = 0, exchRcvd = 0, exchSent = 0, prefix = 0, ownCall = 0;
    std::uint32_t freqKHz = 0;
    std::uint32_t seq = 0;
    std::uint32_t nextSame = 0;  // seq, or kNoSeq
    // The prefixes are numbered 1, 2, ... as they first come (0: the empty
    // text), so that what is kept by prefix lies close together, where
    // their pool ids are spread among every other text's.
    std::uint32_t prefixNumber = 0;
    std::uint8_t excluded = 0;
    std::uint8_t dupe = 0;
    OleDateTime time;
};

// The ordered log with the indexes the rules need, so that no entry point scans
// the whole log per QSO: same call, band and mode (dupes and removal; the call
// check asks it for each mode the log holds), and how many records carry each
// prefix.
class QsoLog {
public:
    using Id = StringPool::Id;

    std::size_t GetCount() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }

    // Copy of record i; throws std::out_of_range outside 0 <= i < count.
    CInfo GetAt(std::size_t i) const;
    const QsoRecord& Record(std::size_t i) const { return const_cast<QsoLog*>(this)->MutableRecord(i); }
    QsoRecord& MutableRecord(std::size_t i) {
        const std::size_t b = BlockOf(i);
        return blocks_[b][i - starts_[b]];
    }
    // The record with this sequence number, which must be stored.
    const QsoRecord& RecordBySeq(std::uint32_t seq) const { return Record(IndexOfSeq(seq)); }
    const std::string& Text(Id id) const { return pool_.Text(id); }
    std::optional<Id> FindId(std::string_view text) const { return pool_.Find(text); }

    // Appends a record made of `fields`; returns its index. `earlierSame`
    // receives the number of records already stored with the same call, band
    // and mode.
    std::size_t Append(const QsoFields& fields, std::size_t* earlierSame = nullptr);
    void RemoveAt(std::size_t i);
    void RemoveAll();

    // Number of stored records with exactly this call, band and mode.
    std::size_t CountSame(std::string_view call, std::string_view band, std::string_view mode) const;
    // Indexes, in log order, of the records with exactly this call, band and mode.
    std::vector<std::size_t> IndexesOfSame(std::string_view call, std::string_view band,
                                           std::string_view mode) const;
    bool HasCallOnBand(std::string_view call, std::string_view band) const;
    bool HasPrefix(std::string_view prefix) const;
    // The latest valid QSO time among the records, on the time line; nothing
    // when no record has one. Kept as records come, and looked for again only
    // after the record holding it was removed.
    std::optional<OleDateTime> LatestValidTime() const;

    static constexpr std::uint32_t kNoSeq = 0xFFFFFFFFu;

private:
    struct GroupKey {
        Id call = 0, band = 0, mode = 0;
        bool operator==(const GroupKey& o) const { return call == o.call && band == o.band && mode == o.mode; }
    };
    struct GroupKeyHash {
        std::size_t operator()(const GroupKey& k) const noexcept {
            return static_cast<std::size_t>(MixBits((static_cast<std::uint64_t>(k.call) << 32 | k.band) ^
                                                    (static_cast<std::uint64_t>(k.mode) << 48)));
        }
    };
    struct Group {  // records with the same call, band and mode, chained by seq
        std::uint32_t count = 0, first = 0, last = 0;
    };
    std::size_t IndexOfSeq(std::uint32_t seq) const;
    std::size_t BlockOf(std::size_t i) const {
        return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), i) - starts_.begin()) - 1;
    }
    const Group* FindGroup(std::string_view call, std::string_view band, std::string_view mode) const;

    // Blocks of at most kBlock records, fixed in size once allocated, so that
    // neither an addition (no copy of the log when it grows) nor a removal
    // (a shift within one block) moves more than one block.
    static constexpr std::size_t kBlock = 512;

    StringPool pool_;
    std::vector<std::vector<QsoRecord>> blocks_;  // ascending seq, none empty
    std::vector<std::size_t> starts_;             // by block: the index of its first record
    std::size_t count_ = 0;
    FlatHashMap<GroupKey, Group, GroupKeyHash> groups_;
    // Every mode text a record was stored with, each once: the spellings of
    // the valid modes, a handful at most.
    std::vector<Id> modes_;
    // The prefixes' numbers, and by number: the pool id, and how many
    // records carry it. The few prefixes stay in the cache where the pool
    // of every text cannot.
    StringPool prefixNumbers_;
    ChunkedArray<Id> prefixIds_;
    ChunkedArray<std::uint32_t> prefixCount_;
    std::uint32_t nextSeq_ = 0;
    // The record before's texts, field by field, with their ids: most repeat
    // from one QSO to the next (own call, band, mode, reports), and comparing
    // with a copy at hand costs less than a look-up in the pool.
    static constexpr std::size_t kFields = 10;  // all but the prefix
    std::array<std::string, kFields> recentTexts_;
    std::array<Id, kFields> recentIds_{};
    bool recentValid_ = false;
    // Record times never change once stored, so only a removal can take the
    // latest one away.
    mutable std::optional<OleDateTime> latest_;
    mutable bool latestStale_ = false;
};

// The QSOs the rules rejected, kept for their times: they are in the host's
// log, and so in the log the operator submits, where log checking counts
// them as activity.
class RejectedQsos {
public:
    void Add(std::string_view call, std::string_view band, std::string_view mode, const OleDateTime& time);
    // Takes away the first one with exactly this call, band, mode and time;
    // false when there is none.
    bool Remove(std::string_view call, std::string_view band, std::string_view mode, const OleDateTime& time);
    void Clear();
    std::size_t GetCount() const { return times_.size(); }
    const OleDateTime& TimeAt(std::size_t i) const { return times_[i]; }

private:
    static std::string Key(std::string_view call, std::string_view band, std::string_view mode);
    std::vector<std::string> keys_;
    std::vector<OleDateTime> times_;
};

}  // namespace stats
