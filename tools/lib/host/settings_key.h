// Writing one key of an initialisation file, as the operator's choices in the
// plug-in's Setup window would: every other line stays as it was.
#pragma once

#include <string>

namespace tools {

// Sets `key` = `value` in `section`, adding the section or the key when
// missing. Names ignore case. Lines end in CR LF. False when the file cannot
// be written.
bool WriteSettingsKey(const std::string& path, const std::string& section, const std::string& key,
                      const std::string& value);

}  // namespace tools
