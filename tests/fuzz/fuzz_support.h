// What the fuzz targets share: a private scratch folder to run in, reading a
// file back, and failing an input with the text that shows why.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzz {

// Standard output: the runs close standard error for the plug-in's own messages.
[[noreturn]] inline void Fail(const std::string& what, const std::string& text) {
    std::printf("invariant broken: %s\n--- text ---\n%s\n---\n", what.c_str(), text.c_str());
    std::fflush(stdout);
    std::abort();
}

// Makes a folder of its own under /tmp, with the host's Plugins folder, and
// works in it; empty when none could be made. It goes when the program ends.
inline std::string EnterScratchFolder(const char* name) {
    std::string pattern = std::string("/tmp/") + name + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) return {};
    static struct Remover {
        std::string folder;
        ~Remover() {
            std::error_code ec;
            if (!folder.empty()) std::filesystem::remove_all(folder, ec);
        }
    } remover;
    remover.folder = pattern;
    std::error_code ec;
    std::filesystem::create_directories(pattern + "/Plugins", ec);
    std::filesystem::current_path(pattern, ec);
    return ec ? std::string() : pattern;
}

// Removes the files an earlier input left, so that every input starts alike.
inline void EmptyScratchFolder(const std::string& folder) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file()) std::filesystem::remove(entry.path(), ec);
    for (const auto& entry : std::filesystem::directory_iterator(folder + "/Plugins", ec))
        std::filesystem::remove(entry.path(), ec);
}

// The file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return {};
    std::string s;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) s.append(buffer, n);
    std::fclose(f);
    return s;
}

inline void WriteFile(const std::string& path, const std::string& content) {
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
    }
}

}  // namespace fuzz
