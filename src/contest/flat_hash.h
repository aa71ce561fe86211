// A compact open-addressing hash map for small trivially copyable keys and
// values: linear probing, deletion by backward shift. The log's indexes use it
// so that a 100,000-QSO log needs no allocation per entry and a look-up costs
// about one cache line: a shard is at most half full, as most additions look
// for a key that is not there yet, and with linear probing such a look-up
// runs on to the next free slot.
//
// The table is split into shards by the top bits of the hash, each an array
// of its own that doubles when it fills. A host call that adds one entry then
// moves at most one shard (a 64th of the entries), never the whole table:
// doubling a table of 100,000 entries takes milliseconds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace stats {

// One shard. Its member functions take the key's hash, which the map works out
// once per call for both the shard and the slot.
template <typename Key, typename Value, typename Hash>
class FlatHashShard {
public:
    // The value of `key`, inserted as Value{} when missing.
    Value& Get(const Key& key, std::size_t hash) {
        if ((size_ + 1) * 2 > slots_.size()) Grow();
        std::size_t i = hash & mask_;
        while (slots_[i].used) {
            if (slots_[i].key == key) return slots_[i].value;
            i = (i + 1) & mask_;
        }
        slots_[i].used = true;
        slots_[i].key = key;
        slots_[i].value = Value{};
        ++size_;
        return slots_[i].value;
    }

    Value* Find(const Key& key, std::size_t hash) {
        if (size_ == 0) return nullptr;
        for (std::size_t i = hash & mask_; slots_[i].used; i = (i + 1) & mask_)
            if (slots_[i].key == key) return &slots_[i].value;
        return nullptr;
    }

    void Erase(const Key& key, std::size_t hash) {
        if (size_ == 0) return;
        std::size_t i = hash & mask_;
        while (slots_[i].used && !(slots_[i].key == key)) i = (i + 1) & mask_;
        if (!slots_[i].used) return;
        // Shift later members of the probe run back, so no tombstones pile up.
        for (std::size_t j = (i + 1) & mask_; slots_[j].used; j = (j + 1) & mask_) {
            const std::size_t home = Hash{}(slots_[j].key) & mask_;
            const bool movable = i <= j ? (home <= i || home > j) : (home <= i && home > j);
            if (movable) {
                slots_[i] = slots_[j];
                i = j;
            }
        }
        slots_[i].used = false;
        --size_;
    }

    std::size_t Size() const { return size_; }

    void Clear() {
        slots_.clear();
        slots_.shrink_to_fit();
        mask_ = 0;
        size_ = 0;
    }

private:
    struct Slot {
        Key key{};
        Value value{};
        bool used = false;
    };

    void Grow() {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.resize(old.empty() ? 16 : old.size() * 2);
        mask_ = slots_.size() - 1;
        size_ = 0;
        for (const Slot& s : old)
            if (s.used) Get(s.key, Hash{}(s.key)) = s.value;
    }

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t size_ = 0;
};

template <typename Key, typename Value, typename Hash>
class FlatHashMap {
public:
    Value& operator[](const Key& key) {
        const std::size_t hash = Hash{}(key);
        return ShardOf(hash).Get(key, hash);
    }
    Value* Find(const Key& key) {
        const std::size_t hash = Hash{}(key);
        return ShardOf(hash).Find(key, hash);
    }
    const Value* Find(const Key& key) const { return const_cast<FlatHashMap*>(this)->Find(key); }
    void Erase(const Key& key) {
        const std::size_t hash = Hash{}(key);
        ShardOf(hash).Erase(key, hash);
    }

    std::size_t Size() const {
        std::size_t size = 0;
        for (const auto& shard : shards_) size += shard.Size();
        return size;
    }
    void Clear() {
        for (auto& shard : shards_) shard.Clear();
    }

private:
    static constexpr unsigned kShardBits = 6;
    // The shard by the hash's top bits; a shard's slot by its low bits, so the
    // two stay independent while a shard holds fewer than 2^(bits - 6) slots.
    FlatHashShard<Key, Value, Hash>& ShardOf(std::size_t hash) {
        return shards_[hash >> (sizeof(std::size_t) * 8 - kShardBits)];
    }

    FlatHashShard<Key, Value, Hash> shards_[std::size_t{1} << kShardBits];
};

// Mixes the bits of a 64-bit key (the final step of a well-known 64-bit hash).
inline std::uint64_t MixBits(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdull;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ull;
    x ^= x >> 33;
    return x;
}

}  // namespace stats
