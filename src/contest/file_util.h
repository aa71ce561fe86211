// File helpers with the all-or-nothing writes that logs and settings need.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace stats {

// The whole file as bytes; nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// True unless the file is missing (a file that exists but cannot be read counts).
bool FileExists(const std::string& path);

// Moves `from` to `to`, replacing `to` in one step. Each platform layer has its own.
bool MoveReplacing(const std::string& from, const std::string& to);

// Writes `content` to a temporary file beside `path`, then puts it in the place
// of `path`, trying the move a few times over a moment. Where the file cannot
// be replaced so, but can be written, it is written over in place. False when
// neither works; the temporary file is removed in any case.
bool ReplaceFileContent(const std::string& path, std::string_view content);

// The steps of a replacement, which tests swap for failing ones.
struct FileOperations {
    // Creates or empties the file and writes `content` whole.
    bool (*writeWhole)(const std::string& path, std::string_view content);
    bool (*moveReplacing)(const std::string& from, const std::string& to);
};
FileOperations& FileOperationsInUse();

}  // namespace stats
