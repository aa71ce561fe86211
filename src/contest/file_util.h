// File helpers with the all-or-nothing writes that logs and settings need.
// Every file operation of the run goes through one table of primitive steps,
// so that tests can make any single step fail.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace stats {

// The whole file as bytes; nothing when it cannot be opened or read. Reading
// stops once more than `most` bytes are in: a file that large is not what the
// caller looks for, and the caller can tell by the size.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t most = SIZE_MAX);
// The same into `content`, whose storage is used again: a caller that reads a
// long file on every call keeps its buffer instead of taking fresh memory,
// which the system must first hand over page by page. False as above.
bool ReadWholeFileInto(const std::string& path, std::string& content, std::size_t most = SIZE_MAX);

// The file's size in bytes; 0 when it cannot be told.
std::uint64_t FileSizeOrZero(const std::string& path);

// True unless the file is missing (a file that exists but cannot be read counts).
bool FileExists(const std::string& path);

// The file's first `length` bytes (all of it when `length` is negative or the
// file is shorter), read whole; empty when the file is missing, nothing when
// it is there but cannot be read.
std::optional<std::string> ReadFileUpTo(const std::string& path, std::int64_t length);
// The same into `content`, its storage used again; false when the file is
// there but cannot be read.
bool ReadFileUpToInto(const std::string& path, std::int64_t length, std::string& content);

// Moves `from` to `to`, replacing `to` in one step. Each platform layer has its own.
bool MoveReplacing(const std::string& from, const std::string& to);

// Writes `content` to a temporary file beside `path`, then puts it in the place
// of `path`, trying the move a few times over a moment. Where the file cannot
// be replaced so, but can be written, it is written over in place. False when
// neither works; the temporary file is removed in any case.
bool ReplaceFileContent(const std::string& path, std::string_view content);

// Adds `text` at the end of the file, creating it when missing. `lengthBefore`
// gets the file's length before, or -1 when it could not be told.
bool AppendToFile(const std::string& path, std::string_view text, std::int64_t* lengthBefore = nullptr);

// The primitive steps, as the C library has them: open gives null, read gives
// -1, the others false when they fail. A failed open sets errno.
struct FileOperations {
    std::FILE* (*open)(const char* path, const char* mode);
    std::int64_t (*read)(std::FILE* file, char* buffer, std::size_t size);  // 0 at the end
    bool (*write)(std::FILE* file, const char* data, std::size_t size);
    bool (*flush)(std::FILE* file);
    bool (*close)(std::FILE* file);  // the file is closed even when it fails
    bool (*moveReplacing)(const std::string& from, const std::string& to);
};
FileOperations& FileOperationsInUse();

}  // namespace stats
