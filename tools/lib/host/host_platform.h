// The little that differs between the POSIX and the Windows build of the
// command-line tools: loading the plug-in, where the program lies, terminals.
#pragma once

#include <optional>
#include <string>
#include <vector>

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
// The file version a plug-in carries in its version resource ("1.0.0"), or
// nothing where the platform has no such thing or the file has none.
std::optional<std::string> PluginFileVersion(const std::string& path);
// The running program's file, and its folder; empty when unknown.
std::string ProgramPath();
std::string ProgramFolder();
int ProcessId();
// This process's peak and current resident memory in KiB, -1 when unknown.
struct MemoryUse {
    long peakKiB = -1, currentKiB = -1;
};
MemoryUse ProcessMemory();
// Runs a program (args[0]) with the other arguments and waits for it; false
// when it cannot be started. Its standard output lands in `output`.
bool RunCapturingOutput(const std::vector<std::string>& args, std::string* output);
bool StderrIsTerminal();
// The folder where this user's programs keep their own files
// (%LOCALAPPDATA% on Windows, $XDG_STATE_HOME or ~/.local/state elsewhere);
// empty when the environment does not say.
std::string PerUserFolder();
// Standard output passes bytes unchanged (no CR LF translation on Windows).
void SetBinaryStdout();

}  // namespace tools
