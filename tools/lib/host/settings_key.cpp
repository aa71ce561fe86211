#include "settings_key.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace tools {

namespace {

std::string Trim(const std::string& s) {
    const auto from = s.find_first_not_of(" \t");
    if (from == std::string::npos) return {};
    return s.substr(from, s.find_last_not_of(" \t") - from + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

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
            inSection = t.back() == ']' && SameName(Trim(t.substr(1, t.size() - 2)), section);
            continue;
        }
        const auto eq = t.find('=');
        if (inSection && eq != std::string::npos && SameName(Trim(t.substr(0, eq)), key)) {
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
