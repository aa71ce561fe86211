#include "host_platform.h"

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <psapi.h>
#else
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tools {

#if defined(_WIN32)

SharedLibrary::~SharedLibrary() {
    if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

bool SharedLibrary::Open(const std::string& path, std::string* error) {
    handle_ = LoadLibraryA(path.c_str());
    if (handle_ == nullptr && error != nullptr) *error = "LoadLibrary failed with error " + std::to_string(GetLastError());
    return handle_ != nullptr;
}

void* SharedLibrary::Symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

const char* PluginFileName() { return "Stats.dll"; }

std::optional<std::string> PluginFileVersion(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<char> block(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()) ||
        !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr)
        return std::nullopt;
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(fixed->dwFileVersionLS));
}

std::string ProgramPath() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return {};
    return std::string(path, n);
}

int ProcessId() { return static_cast<int>(GetCurrentProcessId()); }

MemoryUse ProcessMemory() {
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof c;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c)) return {};
    return {static_cast<long>(c.PeakWorkingSetSize / 1024), static_cast<long>(c.WorkingSetSize / 1024)};
}

bool RunCapturingOutput(const std::vector<std::string>& args, std::string* output) {
    // The command line as the C runtime splits it: every argument quoted, a
    // quote inside one escaped, and backslashes doubled before a quote.
    std::string line;
    for (const std::string& a : args) {
        if (!line.empty()) line += ' ';
        line += '"';
        std::size_t backslashes = 0;
        for (const char c : a) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
            backslashes = 0;
            line += c;
        }
        line.append(backslashes * 2, '\\');
        line += '"';
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0)) return false;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = write;
    start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process);
    CloseHandle(write);
    if (started) {
        char buffer[4096];
        for (DWORD n = 0; ReadFile(read, buffer, sizeof buffer, &n, nullptr) && n > 0;) output->append(buffer, n);
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(read);
    return started != FALSE;
}

bool StderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

void SetBinaryStdout() { _setmode(_fileno(stdout), _O_BINARY); }

std::string PerUserFolder() {
    const char* local = std::getenv("LOCALAPPDATA");
    return local && *local ? local : "";
}

#else

SharedLibrary::~SharedLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
}

bool SharedLibrary::Open(const std::string& path, std::string* error) {
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr && error != nullptr) *error = dlerror();
    return handle_ != nullptr;
}

void* SharedLibrary::Symbol(const char* name) const { return dlsym(handle_, name); }

const char* PluginFileName() { return "libStats.so"; }

std::optional<std::string> PluginFileVersion(const std::string&) { return std::nullopt; }

std::string ProgramPath() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.string();
}

int ProcessId() { return static_cast<int>(getpid()); }

MemoryUse ProcessMemory() {
    MemoryUse m;
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("VmHWM:", 0) == 0) m.peakKiB = std::stol(line.substr(6));
        if (line.rfind("VmRSS:", 0) == 0) m.currentKiB = std::stol(line.substr(6));
    }
    return m;
}

bool RunCapturingOutput(const std::vector<std::string>& args, std::string* output) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int fds[2];
    if (args.empty() || pipe(fds) != 0) return false;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        close(fds[0]);
        close(fds[1]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid > 0) {
        char buffer[4096];
        for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) output->append(buffer, static_cast<std::size_t>(n));
        int status = 0;
        waitpid(pid, &status, 0);
    }
    close(fds[0]);
    return pid > 0;
}

bool StderrIsTerminal() { return isatty(fileno(stderr)) != 0; }

void SetBinaryStdout() {}

std::string PerUserFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') return state;
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.local/state" : "";
}

#endif

std::string ProgramFolder() {
    const std::string self = ProgramPath();
    return self.empty() ? self : std::filesystem::path(self).parent_path().string();
}

}  // namespace tools
