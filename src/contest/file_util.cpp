#include "contest/file_util.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

namespace stats {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return std::nullopt;
    std::string content;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return content;
}

bool FileExists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f != nullptr) {
        std::fclose(f);
        return true;
    }
    return errno != ENOENT;  // there but not readable
}

namespace {

bool WriteWhole(const std::string& path, std::string_view content) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

constexpr int kMoveAttempts = 5;
constexpr auto kMovePause = std::chrono::milliseconds(20);

}  // namespace

FileOperations& FileOperationsInUse() {
    static FileOperations operations{WriteWhole, MoveReplacing};
    return operations;
}

bool ReplaceFileContent(const std::string& path, std::string_view content) {
    const FileOperations& op = FileOperationsInUse();
    const std::string temp = path + ".tmp";
    if (op.writeWhole(temp, content)) {
        // A viewer, a virus scanner or the search indexer often holds the old
        // file for a moment, and it cannot be replaced meanwhile.
        for (int attempt = 1;; ++attempt) {
            if (op.moveReplacing(temp, path)) return true;
            if (attempt == kMoveAttempts) break;
            std::this_thread::sleep_for(kMovePause);
        }
    }
    std::remove(temp.c_str());
    // A file held open without delete sharing, or one in a folder that takes
    // no new files, can often still be written: not all-or-nothing, but it
    // never keeps content that is no longer true (a bad-QSO file with the
    // last run's lines would count them as this run's bad QSOs).
    return op.writeWhole(path, content);
}

}  // namespace stats
