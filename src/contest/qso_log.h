// The QSO record, the rule lists and the log of one statistics run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

// A stored QSO: the record's texts as pool ids, plus the own call it was logged
// with (needed to rebuild its bad-QSO lines) and a sequence number that orders
// the log and survives removals.
struct QsoRecord {
    using Id = StringPool::Id;
    Id call = 0, country = 0, continent = 0, band = 0, mode = 0;
    Id rstRcvd = 0, rstSent = 0, exchRcvd = 0, exchSent = 0, prefix = 0, ownCall = 0;
    std::uint32_t freqKHz = 0;
    std::uint32_t seq = 0;
    std::uint8_t excluded = 0;
    std::uint8_t dupe = 0;
    OleDateTime time;
};

// The ordered log with the indexes the rules need, so that no entry point scans
// the whole log per QSO: same call, band and mode (dupes and removal), same call
// and band (call check), and how many records carry each prefix.
class QsoLog {
public:
    using Id = StringPool::Id;

    std::size_t GetCount() const { return records_.size(); }
    bool IsEmpty() const { return records_.empty(); }

    // Copy of record i; throws std::out_of_range outside 0 <= i < count.
    CInfo GetAt(std::size_t i) const;
    const QsoRecord& Record(std::size_t i) const { return records_[i]; }
    QsoRecord& MutableRecord(std::size_t i) { return records_[i]; }
    const std::string& Text(Id id) const { return pool_.Text(id); }
    std::optional<Id> FindId(std::string_view text) const { return pool_.Find(text); }

    // Appends a copy of `info`, logged with `ownCall`; returns its index.
    std::size_t Append(const CInfo& info, std::string_view ownCall);
    void RemoveAt(std::size_t i);
    void RemoveAll();

    // Number of stored records with exactly this call, band and mode.
    std::size_t CountSame(std::string_view call, std::string_view band, std::string_view mode) const;
    // Indexes, in log order, of the records with exactly this call, band and mode.
    std::vector<std::size_t> IndexesOfSame(std::string_view call, std::string_view band,
                                           std::string_view mode) const;
    bool HasCallOnBand(std::string_view call, std::string_view band) const;
    bool HasPrefix(std::string_view prefix) const;

private:
    struct GroupKey {
        Id call, band, mode;
        bool operator==(const GroupKey& o) const { return call == o.call && band == o.band && mode == o.mode; }
    };
    struct GroupKeyHash {
        std::size_t operator()(const GroupKey& k) const noexcept {
            std::uint64_t h = k.call * 0x9E3779B97F4A7C15ull;
            h ^= (static_cast<std::uint64_t>(k.band) << 32 | k.mode) + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
            return static_cast<std::size_t>(h ^ (h >> 29));
        }
    };
    static std::uint64_t CallBandKey(Id call, Id band) { return static_cast<std::uint64_t>(call) << 32 | band; }
    std::size_t IndexOfSeq(std::uint32_t seq) const;
    const std::vector<std::uint32_t>* Group(std::string_view call, std::string_view band,
                                            std::string_view mode) const;

    StringPool pool_;
    std::vector<QsoRecord> records_;  // ascending seq
    std::unordered_map<GroupKey, std::vector<std::uint32_t>, GroupKeyHash> groups_;  // seqs in log order
    std::unordered_map<std::uint64_t, std::uint32_t> callBandCount_;
    std::vector<std::uint32_t> prefixCount_;  // by pool id
    std::uint32_t nextSeq_ = 0;
};

}  // namespace stats
