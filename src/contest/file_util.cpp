#include "contest/file_util.h"

#include <cstdio>
#include <cerrno>

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

bool ReplaceFileContent(const std::string& path, std::string_view content) {
    const std::string temp = path + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (f == nullptr) return false;
    bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (ok) ok = MoveReplacing(temp, path);
    if (!ok) std::remove(temp.c_str());
    return ok;
}

}  // namespace stats
