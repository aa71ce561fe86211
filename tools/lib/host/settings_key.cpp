#include "settings_key.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "contest/text_util.h"

namespace tools {

namespace {

std::string Trim(const std::string& s) { return std::string(stats::TrimSpaces(s)); }

}  // namespace

bool WriteSettingsKey(const std::string& path, const std::string& section, const std::string& key,
                      const std::string& value) {
    std::vector<std::string> lines;
    {
        std::ifstream in(path, std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
    }
    const std::string entry = key + "=" + value;
    bool inSection = false, done = false;
    std::size_t sectionEnd = lines.size();
    for (std::size_t i = 0; i < lines.size() && !done; ++i) {
        const std::string t = Trim(lines[i]);
        if (!t.empty() && t.front() == '[') {
            if (inSection) {
                sectionEnd = i;
                break;
            }
            inSection = t.back() == ']' && stats::EqualsNoCase(Trim(t.substr(1, t.size() - 2)), section);
            continue;
        }
        const auto eq = t.find('=');
        if (inSection && eq != std::string::npos && stats::EqualsNoCase(Trim(t.substr(0, eq)), key)) {
            lines[i] = entry;
            done = true;
        }
    }
    if (!done) {
        if (!inSection && sectionEnd == lines.size()) {
            lines.push_back("[" + section + "]");
            sectionEnd = lines.size();
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), entry);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << "\r\n";
    return static_cast<bool>(out.flush());
}

}  // namespace tools
