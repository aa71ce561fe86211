#include "plugin/platform_portable.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "contest/text_util.h"
#include "plugin/ini_file.h"

namespace stats {

std::string NativePath(const std::string& hostPath) {
    std::string path = hostPath;
#if !defined(_WIN32)
    for (char& c : path)
        if (c == '\\') c = '/';
#endif
    return path;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || EqualsNoCase(pattern.substr(p, 1), name.substr(n, 1)))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string PortableSettingsFile::Read(const std::string& file, const std::string& section, const std::string& key,
                                       const std::string& fallback) {
    return ini::ReadString(NativePath(file), section, key, fallback);
}

bool PortableSettingsFile::Write(const std::string& file, const std::string& section, const std::string& key,
                                 const std::string& value) {
    return ini::WriteString(NativePath(file), section, key, value);
}

std::vector<std::string> PortableFileSearch::FindNames(const std::string& pattern) {
    const std::string path = NativePath(pattern);
    const std::size_t slash = path.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string namePattern = slash == std::string::npos ? path : path.substr(slash + 1);

    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (WildcardMatch(namePattern, name)) names.push_back(name);
    }
    return names;
}

void StderrMessageBox::Show(const std::string& text, const char* caption, bool) {
    std::fprintf(stderr, "%s: %s\n", caption != nullptr ? caption : "Stats", text.c_str());
    std::fflush(stderr);
}

}  // namespace stats
