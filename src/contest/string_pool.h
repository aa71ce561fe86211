// Interned texts of one statistics run. Records keep 32-bit ids instead of
// strings, so a log of 100,000 QSOs stays small and the look-ups compare
// integers. Ids are exact, case-sensitive byte strings; id 0 is the empty text.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

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
    std::deque<std::string> texts_;  // a deque keeps the keys' storage in place
    std::unordered_map<std::string_view, Id> ids_;
};

}  // namespace stats
