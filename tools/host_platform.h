// The little that differs between the POSIX and the Windows build of the
// command-line tools: loading the plug-in, where the program lies, terminals.
#pragma once

#include <string>

namespace tools {

// An opened shared library (libStats.so, Stats.dll); closed on destruction.
class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // False, with the system's reason in `error`, when it cannot be loaded.
    bool Open(const std::string& path, std::string* error);
    void* Symbol(const char* name) const;

private:
    void* handle_ = nullptr;
};

// The plug-in's file name on this platform: "libStats.so" or "Stats.dll".
const char* PluginFileName();
// The folder of the running program, or empty when unknown.
std::string ProgramFolder();
bool StderrIsTerminal();
// Standard output passes bytes unchanged (no CR LF translation on Windows).
void SetBinaryStdout();

}  // namespace tools
