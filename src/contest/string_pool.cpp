#include "contest/string_pool.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace stats {

StringPool::StringPool() { Clear(); }

namespace {

// The bytes at `p`, up to eight of them (`n`), as the low bytes of an integer
// in memory order; the others zero. Short texts, most calls and all serials,
// take two loads at most.
std::uint64_t Bytes(const char* p, std::size_t n) {
    if constexpr (std::endian::native == std::endian::little) {
        if (n >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            return w;
        }
        if (n >= 4) {
            std::uint32_t lo, hi;
            std::memcpy(&lo, p, 4);
            std::memcpy(&hi, p + n - 4, 4);  // overlaps `lo` with the same bytes
            return lo | static_cast<std::uint64_t>(hi) << (8 * (n - 4));
        }
        if (n == 0) return 0;
        const auto byte = [&](std::size_t i) { return static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])); };
        return byte(0) | byte(n / 2) << (8 * (n / 2)) | byte(n - 1) << (8 * (n - 1));
    } else {
        std::uint64_t w = 0;
        std::memcpy(&w, p, std::min<std::size_t>(n, 8));
        return w;
    }
}

}  // namespace

std::uint64_t StringPool::HeadOf(std::string_view text) { return Bytes(text.data(), text.size()); }

std::uint32_t StringPool::HashOf(std::string_view text, std::uint64_t head) {
    // Eight bytes at a time: texts here are short, and a 32-bit build pays
    // for each 64-bit multiplication.
    std::uint64_t h = head ^ (static_cast<std::uint64_t>(text.size()) * 0x9e3779b97f4a7c15ull);
    for (std::size_t at = 8; at < text.size(); at += 8) {
        h = (h ^ Bytes(text.data() + at, text.size() - at)) * 0xff51afd7ed558ccdull;
        h ^= h >> 32;
    }
    h *= 0xc4ceb9fe1a85ec53ull;
    h ^= h >> 29;
    h *= 0xbf58476d1ce4e5b9ull;
    // The top bit tells texts of more than eight bytes from the others: a
    // short text is compared by its slot's head alone, which a longer text
    // beginning with the same eight bytes would match.
    const auto longText = text.size() > sizeof(std::uint64_t) ? 0x80000000u : 0u;
    return (static_cast<std::uint32_t>(h >> 32) & 0x7fffffffu) | longText;
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

StringPool::Key StringPool::KeyOf(std::string_view text) {
    const std::uint64_t head = HeadOf(text);
    return Key{HashOf(text, head), head};
}

StringPool::Id StringPool::InternKeyed(std::string_view text, const Key& key) {
    Shard& shard = shards_[ShardIndex(key.hash)];
    Slot& slot = shard.slots[SlotOf(shard, text, key.hash, key.head)];
    if (slot.idPlusOne != 0) return slot.idPlusOne - 1;
    const Id id = static_cast<Id>(texts_.size());
    texts_.emplace_back(text);
    slot = Slot{key.hash, id + 1, key.head};
    ++shard.used;
    return id;
}

StringPool::Id StringPool::Intern(std::string_view text) {
    if (text.empty()) return kEmpty;
    const Key key = KeyOf(text);
    Reserve(shards_[ShardIndex(key.hash)], 1);
    return InternKeyed(text, key);
}

void StringPool::InternAll(const std::string_view* texts, Id* ids, std::size_t count) {
    constexpr std::size_t kBatch = 16;
    Key keys[kBatch];
    for (std::size_t from = 0; from < count; from += kBatch) {
        const std::size_t n = std::min(kBatch, count - from);
        // Each shard gets room for the whole batch first, so that no slot
        // moves between the prefetch and the look-up.
        for (std::size_t i = 0; i < n; ++i) {
            keys[i] = KeyOf(texts[from + i]);
            Reserve(shards_[ShardIndex(keys[i].hash)], n);
        }
        for (std::size_t i = 0; i < n; ++i) {
            const Shard& shard = shards_[ShardIndex(keys[i].hash)];
            __builtin_prefetch(&shard.slots[keys[i].hash & (shard.slots.size() - 1)]);
        }
        for (std::size_t i = 0; i < n; ++i)
            ids[from + i] = texts[from + i].empty() ? kEmpty : InternKeyed(texts[from + i], keys[i]);
    }
}

std::optional<StringPool::Id> StringPool::Find(std::string_view text) const {
    if (text.empty()) return kEmpty;
    const Key key = KeyOf(text);
    const Shard& shard = shards_[ShardIndex(key.hash)];
    const Slot& slot = shard.slots[SlotOf(shard, text, key.hash, key.head)];
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
