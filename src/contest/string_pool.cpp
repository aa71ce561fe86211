#include "contest/string_pool.h"

namespace stats {

StringPool::StringPool() { Clear(); }

StringPool::Id StringPool::Intern(std::string_view text) {
    if (text.empty()) return kEmpty;
    const auto found = ids_.find(text);
    if (found != ids_.end()) return found->second;
    const Id id = static_cast<Id>(texts_.size());
    texts_.emplace_back(text);
    ids_.emplace(std::string_view(texts_.back()), id);
    return id;
}

std::optional<StringPool::Id> StringPool::Find(std::string_view text) const {
    if (text.empty()) return kEmpty;
    const auto found = ids_.find(text);
    if (found == ids_.end()) return std::nullopt;
    return found->second;
}

void StringPool::Clear() {
    ids_.clear();
    texts_.clear();
    texts_.emplace_back();
}

}  // namespace stats
