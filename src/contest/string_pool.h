// Interned texts of one statistics run. Records keep 32-bit ids instead of
// strings, so a log of 100,000 QSOs stays small and the look-ups compare
// integers. Ids are exact, case-sensitive byte strings; id 0 is the empty text.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stats {

class StringPool {
public:
    using Id = std::uint32_t;
    static constexpr Id kEmpty = 0;

    StringPool();
    StringPool(const StringPool&) = delete;
    StringPool& operator=(const StringPool&) = delete;

    Id Intern(std::string_view text);
    // Interns several texts at once; their table look-ups overlap in memory.
    void InternAll(const std::string_view* texts, Id* ids, std::size_t count);
    std::optional<Id> Find(std::string_view text) const;
    const std::string& Text(Id id) const { return texts_[id]; }
    std::size_t Size() const { return texts_.size(); }
    void Clear();

private:
    // Open addressing: each slot holds a text's hash, its id + 1 (0: free) and
    // its first eight bytes, so that short texts (most calls, all serials)
    // compare without a second memory access.
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t idPlusOne = 0;
        std::uint64_t head = 0;
    };
    // The table is split by bits of the hash into shards that grow one at a
    // time, so that a new text never makes one call move every slot.
    struct Shard {
        std::vector<Slot> slots;
        std::size_t used = 0;
    };
    static constexpr unsigned kShardBits = 6;
    static std::size_t ShardIndex(std::uint32_t hash) { return (hash >> 24) & ((1u << kShardBits) - 1); }
    // A text's hash and head, each worked out once per look-up.
    struct Key {
        std::uint32_t hash = 0;
        std::uint64_t head = 0;
    };
    static std::uint64_t HeadOf(std::string_view text);
    static std::uint32_t HashOf(std::string_view text, std::uint64_t head);
    static Key KeyOf(std::string_view text);
    std::size_t SlotOf(const Shard& shard, std::string_view text, std::uint32_t hash, std::uint64_t head) const;
    Id InternKeyed(std::string_view text, const Key& key);
    // Room for `more` new texts in the shard.
    static void Reserve(Shard& shard, std::size_t more) {
        if ((shard.used + more) * 4 > shard.slots.size() * 3) Grow(shard, more);
    }
    static void Grow(Shard& shard, std::size_t more);

    std::deque<std::string> texts_;
    Shard shards_[1u << kShardBits];
};

}  // namespace stats
