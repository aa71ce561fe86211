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
std::size_t StringPool::SlotOf(std::string_view text, std::uint32_t hash, std::uint64_t head) const {
    const std::size_t mask = slots_.size() - 1;
    const bool shortText = text.size() <= sizeof head;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (s.idPlusOne == 0) return i;
        if (s.hash == hash && s.head == head && (shortText || texts_[s.idPlusOne - 1] == text)) return i;
    }
}

void StringPool::Reserve(std::size_t more) {
    while ((texts_.size() + more) * 4 > slots_.size() * 3) Grow();
}

StringPool::Id StringPool::InternHashed(std::string_view text, std::uint32_t hash) {
    const std::uint64_t head = HeadOf(text);
    Slot& slot = slots_[SlotOf(text, hash, head)];
    if (slot.idPlusOne != 0) return slot.idPlusOne - 1;
    const Id id = static_cast<Id>(texts_.size());
    texts_.emplace_back(text);
    slot = Slot{hash, id + 1, head};
    return id;
}

StringPool::Id StringPool::Intern(std::string_view text) {
    if (text.empty()) return kEmpty;
    Reserve(1);
    return InternHashed(text, HashOf(text));
}

void StringPool::InternAll(const std::string_view* texts, Id* ids, std::size_t count) {
    Reserve(count);
    constexpr std::size_t kBatch = 16;
    std::uint32_t hashes[kBatch];
    for (std::size_t from = 0; from < count; from += kBatch) {
        const std::size_t n = std::min(kBatch, count - from);
        for (std::size_t i = 0; i < n; ++i) {
            hashes[i] = HashOf(texts[from + i]);
            __builtin_prefetch(&slots_[hashes[i] & (slots_.size() - 1)]);
        }
        for (std::size_t i = 0; i < n; ++i)
            ids[from + i] = texts[from + i].empty() ? kEmpty : InternHashed(texts[from + i], hashes[i]);
    }
}

std::optional<StringPool::Id> StringPool::Find(std::string_view text) const {
    if (text.empty()) return kEmpty;
    const Slot& slot = slots_[SlotOf(text, HashOf(text), HeadOf(text))];
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
