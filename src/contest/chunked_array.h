// An array indexed by a dense id (a pooled text's, say) that grows by fixed
// chunks: growing never moves what it holds, so no single call pays for
// copying an array as large as the log. A chunk is small, as its memory is
// new and every page of it is touched at once: the call that adds a chunk
// pays for those pages (a few kilobytes, not a few hundred).
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace stats {

template <typename T, std::size_t kChunk = 1024>
class ChunkedArray {
public:
    T& operator[](std::size_t i) { return chunks_[i / kChunk][i % kChunk]; }
    const T& operator[](std::size_t i) const { return chunks_[i / kChunk][i % kChunk]; }
    std::size_t Size() const { return chunks_.size() * kChunk; }
    // Makes index `i` valid; new elements are value-initialised.
    void Cover(std::size_t i) {
        while (Size() <= i) chunks_.push_back(std::make_unique<T[]>(kChunk));
    }
    void Clear() { std::vector<std::unique_ptr<T[]>>().swap(chunks_); }

private:
    std::vector<std::unique_ptr<T[]>> chunks_;
};

}  // namespace stats
