// Our own initialisation-file code for builds without the Windows profile API.
// It behaves as that API does for what the plug-in uses: section and key names
// compared without regard to case, the blanks around a value dropped (and one
// pair of matching quotes), a value read whole (the plug-in's reads through the
// API grow their buffer until it fits), and a write that changes or adds one
// line, keeps every other line byte for byte, and creates the file where its
// folder exists. Writes go through a temporary file and are
// serialised within the process.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace stats::ini {

// The value text of `key` in `section` of an initialisation file's content.
std::optional<std::string> FindValue(std::string_view content, std::string_view section, std::string_view key);

// The content with `key` in `section` set to `value`.
std::string WithValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value);

// File access; `path` is used as given.
std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& fallback = std::string());
bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value);

}  // namespace stats::ini
