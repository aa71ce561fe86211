#include "contest/file_util.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

namespace stats {

namespace {

std::FILE* Open(const char* path, const char* mode) { return std::fopen(path, mode); }

std::int64_t Read(std::FILE* f, char* buffer, std::size_t size) {
    const std::size_t n = std::fread(buffer, 1, size, f);
    return n == 0 && std::ferror(f) != 0 ? -1 : static_cast<std::int64_t>(n);
}

bool Write(std::FILE* f, const char* data, std::size_t size) { return std::fwrite(data, 1, size, f) == size; }
bool Flush(std::FILE* f) { return std::fflush(f) == 0; }
bool Close(std::FILE* f) { return std::fclose(f) == 0; }

// Our reads and writes come in large pieces of our own: the stream's buffer
// would only split a write in two and cost a look at the file when first
// filled, which under some systems is a round trip of its own.
void Unbuffered(std::FILE* f) { std::setvbuf(f, nullptr, _IONBF, 0); }

// Opens, writes `content` whole, and closes; every step's failure counts.
bool WriteAndClose(const FileOperations& op, std::FILE* f, std::string_view content) {
    bool ok = op.write(f, content.data(), content.size());
    ok = op.flush(f) && ok;
    return op.close(f) && ok;
}

bool WriteWhole(const std::string& path, std::string_view content) {
    const FileOperations& op = FileOperationsInUse();
    std::FILE* f = op.open(path.c_str(), "wb");
    if (f == nullptr) return false;
    Unbuffered(f);
    return WriteAndClose(op, f, content);
}

constexpr int kMoveAttempts = 5;
constexpr auto kMovePause = std::chrono::milliseconds(20);

}  // namespace

FileOperations& FileOperationsInUse() {
    static FileOperations operations{Open, Read, Write, Flush, Close, MoveReplacing};
    return operations;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t most) {
    std::string content;
    if (!ReadWholeFileInto(path, content, most)) return std::nullopt;
    return content;
}

bool ReadWholeFileInto(const std::string& path, std::string& content, std::size_t most) {
    content.clear();
    const FileOperations& op = FileOperationsInUse();
    std::FILE* f = op.open(path.c_str(), "rb");
    if (f == nullptr) return false;
    Unbuffered(f);
    char buffer[65536];
    std::int64_t n = 0;
    while (content.size() <= most && (n = op.read(f, buffer, sizeof buffer)) > 0)
        content.append(buffer, static_cast<std::size_t>(n));
    op.close(f);  // nothing was written: a failed close loses nothing
    return n >= 0;
}

std::uint64_t FileSizeOrZero(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<std::uint64_t>(size);
}

bool FileExists(const std::string& path) {
    const FileOperations& op = FileOperationsInUse();
    errno = 0;
    if (std::FILE* f = op.open(path.c_str(), "rb")) {
        op.close(f);
        return true;
    }
    return errno != ENOENT;  // there but not readable
}

std::optional<std::string> ReadFileUpTo(const std::string& path, std::int64_t length) {
    std::string content;
    if (!ReadFileUpToInto(path, length, content)) return std::nullopt;
    return content;
}

bool ReadFileUpToInto(const std::string& path, std::int64_t length, std::string& content) {
    if (!ReadWholeFileInto(path, content)) {
        content.clear();
        if (FileExists(path)) return false;
    }
    if (length >= 0 && content.size() > static_cast<std::uint64_t>(length))
        content.resize(static_cast<std::size_t>(length));
    return true;
}

bool ReplaceFileContent(const std::string& path, std::string_view content) {
    const FileOperations& op = FileOperationsInUse();
    const std::string temp = path + ".tmp";
    if (WriteWhole(temp, content)) {
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
    return WriteWhole(path, content);
}

bool AppendToFile(const std::string& path, std::string_view text, std::int64_t* lengthBefore) {
    if (lengthBefore != nullptr) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(path, ec);
        *lengthBefore = ec ? (ec == std::errc::no_such_file_or_directory ? 0 : -1) : static_cast<std::int64_t>(size);
    }
    const FileOperations& op = FileOperationsInUse();
    std::FILE* f = op.open(path.c_str(), "ab");
    if (f == nullptr) return false;
    Unbuffered(f);
    return WriteAndClose(op, f, text);
}

}  // namespace stats
