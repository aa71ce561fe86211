#include "stats_dll.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

namespace wine_tests {

namespace {

std::string& DllPathStorage() {
    static std::string path;
    return path;
}

const char* Opt(const std::string& s) { return s.c_str(); }

// Decoys for unread text arguments, one per position, so a shifted argument
// list shows in the output.
const char* Decoy(int position) {
    static const std::vector<std::string> decoys = [] {
        std::vector<std::string> d;
        for (int i = 0; i < 40; ++i) d.push_back("decoy" + std::to_string(i));
        return d;
    }();
    return decoys[static_cast<std::size_t>(position)].c_str();
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &data));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

const std::string& DllPath() { return DllPathStorage(); }
void SetDllPath(const std::string& path) { DllPathStorage() = path; }

StatsDll::StatsDll(const std::string& path) {
    module_ = LoadLibraryA(path.c_str());
    if (module_ == nullptr) {
        error_ = "LoadLibraryA(" + path + ") failed, error " + std::to_string(GetLastError());
        return;
    }
    auto resolve = [&](auto& fn, const char* name) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(
            reinterpret_cast<void*>(GetProcAddress(module_, name)));
        if (fn == nullptr) error_ += std::string(error_.empty() ? "missing export: " : ", ") + name;
    };
    resolve(GetNumberOfSets, "GetNumberOfSets");
    resolve(GetSetName, "GetSetName");
    resolve(setVersion, "setVersion");
    resolve(SetupSet0, "SetupSet0");
    resolve(GetExchgCount0, "GetExchgCount0");
    resolve(IsValidExchg0, "IsValidExchg0");
    resolve(ResetStats0, "ResetStats0");
    resolve(AddData0, "AddData0");
    resolve(RemoveData0, "RemoveData0");
    resolve(CheckCall0, "CheckCall0");
    resolve(GetResult0, "GetResult0");
}

StatsDll::~StatsDll() { Free(); }

void StatsDll::Free() {
    if (module_ != nullptr) FreeLibrary(module_);
    module_ = nullptr;
}

int StatsDll::Reset(const std::string& iniSearchPath, const std::string& ownCall, HostDate start, HostDate end,
                    const std::string& ownCountry, const std::string& ownContinent, Unread unread,
                    int reportRequest) {
    const bool d = unread == Unread::kDecoys;
    auto u = [&](int position) { return d ? Decoy(position) : nullptr; };
    const int n = d ? 7 : 0;
    const double x = d ? 1.5 : 0.0;
    return ResetStats0(Opt(iniSearchPath), reportRequest, Opt(ownCall), &start, &end, u(5), u(6), u(7), u(8), u(9),
                       u(10), u(11), u(12), u(13), Opt(ownCountry), n, n, n, x, x, u(20), Opt(ownContinent), u(22));
}

int StatsDll::CallQso(QsoDataFn fn, const Qso& q, Unread unread) {
    const bool d = unread == Unread::kDecoys;
    auto u = [&](int position) { return d ? Decoy(position) : nullptr; };
    HostDate other = d ? HostDate::Valid(12345.5) : HostDate::Null();
    HostDate* otherDate = d ? &other : nullptr;
    HostDate time = q.time;
    const unsigned int n = d ? 77u : 0u;
    const int i = d ? 9 : 0;
    const double x = d ? 2.5 : 0.0;
    return fn(Opt(q.ownCall), Opt(q.call), &time, otherDate, otherDate, otherDate, n, q.frequencyHz, Opt(q.mode),
              Opt(q.rstSent), Opt(q.rstReceived), Opt(q.exchangeSent), Opt(q.exchangeReceived), u(13), u(14),
              u(15), u(16), u(17), u(18), u(19), u(20), Opt(q.wpxPrefix), Opt(q.countryPrefix), i, i, i, x, x,
              u(28), Opt(q.continent), u(30), Opt(q.band), u(32));
}

int StatsDll::Add(const Qso& qso, Unread unread) { return CallQso(AddData0, qso, unread); }
int StatsDll::Remove(const Qso& qso, Unread unread) { return CallQso(RemoveData0, qso, unread); }

int StatsDll::Check(const char* call, const char* mode, const char* wpxPrefix, const char* countryPrefix,
                    const char* band, const char* otherBand, Unread unread) {
    const bool d = unread == Unread::kDecoys;
    auto u = [&](int position) { return d ? Decoy(position) : nullptr; };
    char scratch1[64] = "decoy26";
    char scratch2[64] = "decoy27";
    const unsigned int n = d ? 77u : 0u;
    const int i = d ? 9 : 0;
    const double x = d ? 2.5 : 0.0;
    return CheckCall0(call, n, n, mode, u(4), u(5), u(6), u(7), u(8), u(9), u(10), u(11), wpxPrefix,
                      countryPrefix, i, i, i, x, x, u(19), u(20), u(21), u(22), u(23), band, otherBand,
                      d ? scratch1 : nullptr, d ? scratch2 : nullptr);
}

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    char current[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof current, current);
    previous_ = current;
    std::string base = temp;
    if (!base.empty() && base.back() == '\\') base.pop_back();
    for (;;) {
        path_ = base + "\\stats_wine_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            std::fprintf(stderr, "cannot create %s\n", path_.c_str());
            std::abort();
        }
    }
    SetCurrentDirectoryA(path_.c_str());
}

ScratchDir::~ScratchDir() {
    SetCurrentDirectoryA(previous_.c_str());
    RemoveTree(path_);
}

void ScratchDir::MakePluginsFolder() const { CreateDirectoryA((path_ + "\\Plugins").c_str(), nullptr); }

std::optional<std::string> ReadBytes(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

HostDate At(int year, int month, int day, int hour, int minute) {
    return HostDate::Valid(stats::OleDateFromFields(year, month, day, hour, minute));
}

Qso MakeQso(const char* call, const char* band, unsigned int hz, const char* sent, const char* rcvd, const char* wpx,
            const char* country, const char* continent, int minute) {
    Qso q;
    q.call = call;
    q.band = band;
    q.frequencyHz = hz;
    q.exchangeSent = sent;
    q.exchangeReceived = rcvd;
    q.wpxPrefix = wpx;
    q.countryPrefix = country;
    q.continent = continent;
    q.time = At(2021, 5, 29, 12, minute);
    return q;
}

}  // namespace wine_tests
