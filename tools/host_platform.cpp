#include "host_platform.h"

#include <cstdio>
#include <filesystem>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <dlfcn.h>
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

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return {};
    return std::filesystem::path(std::string(path, n)).parent_path().string();
}

bool StderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

void SetBinaryStdout() { _setmode(_fileno(stdout), _O_BINARY); }

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

std::string ProgramFolder() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.parent_path().string();
}

bool StderrIsTerminal() { return isatty(fileno(stderr)) != 0; }

void SetBinaryStdout() {}

#endif

}  // namespace tools
