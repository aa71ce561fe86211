#include "contest/string_pool.h"

#include <algorithm>
#include <cstring>

namespace stats {

StringPool::StringPool() { Clear(); }

std::uint32_t StringPool::HashOf(std::string_view text) {
    std::uint64_t h = 0xcbf29ce484222325ull;  // FNV-1a, then mixed: texts here are short
    for (const char c : text) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    h ^= h >> 29;
    h *= 0xbf58476d1ce4e5b9ull;
    // The top bit tells texts of more than eight bytes from the others: a
    // short text is compared by its slot's head alone, which a longer text
    // beginning with the same eight bytes would match.
    const auto longText = text.size() > sizeof(std::uint64_t) ? 0x80000000u : 0u;
    return (static_cast<std::uint32_t>(h ^ (h >> 32)) & 0x7fffffffu) | longText;
}

std::uint64_t StringPool::HeadOf(std::string_view text) {
    std::uint64_t head = 0;
    std::memcpy(&head, text.data(), std::min<std::size_t>(text.size(), sizeof head));
    return head;
}

// The slot holding `text`, or the free slot where it would go. Host texts hold
// no NUL byte, so a text of up to eight bytes is equal when its head is.
std::size_t StringPool::SlotOf(const Shard& shard, std::string_view text, std::uint32_t hash,
                               std::uint64_t head) const {
    const std::size_t mask = shard.slots.size() - 1;
    const bool shortText = text.size() <= sizeof head;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& s = shard.slots[i];
        if (s.idPlusOne == 0) return i;
        if (s.hash == hash && s.head == head && (shortText || texts_[s.idPlusOne - 1] == text)) return i;
    }
}

void StringPool::Grow(Shard& shard, std::size_t more) {
    std::size_t size = shard.slots.size() * 2;
    while ((shard.used + more) * 4 > size * 3) size *= 2;
    std::vector<Slot> old(size);
    old.swap(shard.slots);
    const std::size_t mask = size - 1;
    for (const Slot& s : old) {
        if (s.idPlusOne == 0) continue;
        std::size_t i = s.hash & mask;
        while (shard.slots[i].idPlusOne != 0) i = (i + 1) & mask;
        shard.slots[i] = s;
    }
}

StringPool::Id StringPool::InternHashed(std::string_view text, std::uint32_t hash) {
    const std::uint64_t head = HeadOf(text);
    Shard& shard = shards_[ShardIndex(hash)];
    Slot& slot = shard.slots[SlotOf(shard, text, hash, head)];
    if (slot.idPlusOne != 0) return slot.idPlusOne - 1;
    const Id id = static_cast<Id>(texts_.size());
    texts_.emplace_back(text);
    slot = Slot{hash, id + 1, head};
    ++shard.used;
    return id;
}

StringPool::Id StringPool::Intern(std::string_view text) {
    if (text.empty()) return kEmpty;
    const std::uint32_t hash = HashOf(text);
    Reserve(shards_[ShardIndex(hash)], 1);
    return InternHashed(text, hash);
}

void StringPool::InternAll(const std::string_view* texts, Id* ids, std::size_t count) {
    constexpr std::size_t kBatch = 16;
    std::uint32_t hashes[kBatch];
    for (std::size_t from = 0; from < count; from += kBatch) {
        const std::size_t n = std::min(kBatch, count - from);
        // Each shard gets room for the whole batch first, so that no slot
        // moves between the prefetch and the look-up.
        for (std::size_t i = 0; i < n; ++i) {
            hashes[i] = HashOf(texts[from + i]);
            Reserve(shards_[ShardIndex(hashes[i])], n);
        }
        for (std::size_t i = 0; i < n; ++i) {
            const Shard& shard = shards_[ShardIndex(hashes[i])];
            __builtin_prefetch(&shard.slots[hashes[i] & (shard.slots.size() - 1)]);
        }
        for (std::size_t i = 0; i < n; ++i)
            ids[from + i] = texts[from + i].empty() ? kEmpty : InternHashed(texts[from + i], hashes[i]);
    }
}

std::optional<StringPool::Id> StringPool::Find(std::string_view text) const {
    if (text.empty()) return kEmpty;
    const std::uint32_t hash = HashOf(text);
    const Shard& shard = shards_[ShardIndex(hash)];
    const Slot& slot = shard.slots[SlotOf(shard, text, hash, HeadOf(text))];
    if (slot.idPlusOne == 0) return std::nullopt;
    return slot.idPlusOne - 1;
}

void StringPool::Clear() {
    texts_.clear();
    texts_.emplace_back();  // id 0: the empty text, never in the table
    for (Shard& shard : shards_) {  // give back a large run's table
        std::vector<Slot>(8).swap(shard.slots);
        shard.used = 0;
    }
}

}  // namespace stats
