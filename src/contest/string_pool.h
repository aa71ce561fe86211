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
    std::optional<Id> Find(std::string_view text) const;
    const std::string& Text(Id id) const { return texts_[id]; }
    std::size_t Size() const { return texts_.size(); }
    void Clear();

private:
    // Open addressing: each slot holds a text's hash and its id + 1 (0: free).
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t idPlusOne = 0;
    };
    static std::uint32_t HashOf(std::string_view text);
    std::size_t SlotOf(std::string_view text, std::uint32_t hash) const;
    void Grow();

    std::deque<std::string> texts_;
    std::vector<Slot> slots_;
};

}  // namespace stats
