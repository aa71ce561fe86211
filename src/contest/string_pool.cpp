#include "contest/string_pool.h"

namespace stats {

StringPool::StringPool() { Clear(); }

std::uint32_t StringPool::HashOf(std::string_view text) {
    std::uint64_t h = 0xcbf29ce484222325ull;  // FNV-1a, then mixed: texts here are short
    for (const char c : text) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    h ^= h >> 29;
    h *= 0xbf58476d1ce4e5b9ull;
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

// The slot holding `text`, or the free slot where it would go.
std::size_t StringPool::SlotOf(std::string_view text, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (s.idPlusOne == 0 || (s.hash == hash && texts_[s.idPlusOne - 1] == text)) return i;
    }
}

StringPool::Id StringPool::Intern(std::string_view text) {
    if (text.empty()) return kEmpty;
    if ((texts_.size() + 1) * 4 > slots_.size() * 3) Grow();
    const std::uint32_t hash = HashOf(text);
    Slot& slot = slots_[SlotOf(text, hash)];
    if (slot.idPlusOne != 0) return slot.idPlusOne - 1;
    const Id id = static_cast<Id>(texts_.size());
    texts_.emplace_back(text);
    slot = Slot{hash, id + 1};
    return id;
}

std::optional<StringPool::Id> StringPool::Find(std::string_view text) const {
    if (text.empty()) return kEmpty;
    const Slot& slot = slots_[SlotOf(text, HashOf(text))];
    if (slot.idPlusOne == 0) return std::nullopt;
    return slot.idPlusOne - 1;
}

void StringPool::Grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.resize(old.size() * 2);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
        if (s.idPlusOne == 0) continue;
        std::size_t i = s.hash & mask;
        while (slots_[i].idPlusOne != 0) i = (i + 1) & mask;
        slots_[i] = s;
    }
}

void StringPool::Clear() {
    texts_.clear();
    texts_.emplace_back();  // id 0: the empty text, never in the table
    std::vector<Slot>(64).swap(slots_);  // give back a large run's table
}

}  // namespace stats
