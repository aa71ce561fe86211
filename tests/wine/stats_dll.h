// Stats.dll as the host sees it: loaded by path, each export found by name and
// called through a pointer with the host's exact signature. Plus the scratch
// folder and file helpers the suites share.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "contest/ole_date.h"

namespace wine_tests {

// Full path of the Stats.dll under test (from the command line or STATS_DLL).
const std::string& DllPath();
void SetDllPath(const std::string& path);

using HostDate = stats::OleDateTime;
typedef const char* T;

// The host's declarations, argument for argument.
typedef int(__cdecl* GetNumberOfSetsFn)(void);
typedef const char*(__cdecl* GetSetNameFn)(int index);
typedef unsigned long(__cdecl* SetVersionFn)(const char* version);
typedef void(__cdecl* SetupSet0Fn)(void);
typedef int(__cdecl* GetExchgCount0Fn)(T, T, T);
typedef int(__cdecl* IsValidExchg0Fn)(T exchange, T, T, T, int, int, int);
typedef int(__cdecl* ResetStats0Fn)(T iniSearchPath, int reportRequest, T ownCall, HostDate* startTime,
                                    HostDate* endTime, T, T, T, T, T, T, T, T, T, T ownCountryPrefix, int, int,
                                    int, double, double, T, T ownContinent, T);
typedef int(__cdecl* QsoDataFn)(T ownCall, T call, HostDate* qsoTime, HostDate*, HostDate*, HostDate*,
                                unsigned int, unsigned int frequencyHz, T mode, T rstSent, T rstReceived,
                                T exchangeSent, T exchangeReceived, T, T, T, T, T, T, T, T, T wpxPrefix,
                                T countryPrefix, int, int, int, double, double, T, T continent, T, T band, T);
typedef int(__cdecl* CheckCall0Fn)(T call, unsigned int, unsigned int, T mode, T, T, T, T, T, T, T, T,
                                   T wpxPrefix, T countryPrefix, int, int, int, double, double, T, T continent,
                                   T, T, T, T band, T otherBand, char*, char*);
typedef const char*(__cdecl* GetResult0Fn)(int* out);

// A QSO as the host hands it over; the fields the plug-in reads.
struct Qso {
    std::string ownCall = "K1ABC";
    std::string call;
    HostDate time = HostDate::Null();
    unsigned int frequencyHz = 0;
    std::string mode = "SSB";
    std::string rstSent = "59";
    std::string rstReceived = "59";
    std::string exchangeSent;
    std::string exchangeReceived;
    std::string wpxPrefix;
    std::string countryPrefix;
    std::string continent;
    std::string band;
};

// The arguments the plug-in does not read: null and 0 as a sparse host would
// pass them, or distinct non-null values as the real host does. An export
// whose argument list were off by one would read a decoy instead of a field.
enum class Unread { kNull, kDecoys };

// One load of Stats.dll; FreeLibrary on destruction, so each instance starts
// from the state the library has after loading.
class StatsDll {
public:
    explicit StatsDll(const std::string& path = DllPath());
    ~StatsDll();
    StatsDll(const StatsDll&) = delete;
    StatsDll& operator=(const StatsDll&) = delete;

    HMODULE Module() const { return module_; }
    // Unloads the library now (FreeLibrary), as the host does when it ends.
    void Free();
    // Empty when the library and every plain export were found; else what is missing.
    const std::string& Error() const { return error_; }

    GetNumberOfSetsFn GetNumberOfSets = nullptr;
    GetSetNameFn GetSetName = nullptr;
    SetVersionFn setVersion = nullptr;
    SetupSet0Fn SetupSet0 = nullptr;
    GetExchgCount0Fn GetExchgCount0 = nullptr;
    IsValidExchg0Fn IsValidExchg0 = nullptr;
    ResetStats0Fn ResetStats0 = nullptr;
    QsoDataFn AddData0 = nullptr;
    QsoDataFn RemoveData0 = nullptr;
    CheckCall0Fn CheckCall0 = nullptr;
    GetResult0Fn GetResult0 = nullptr;

    // ResetStats0 with the fields the plug-in reads; start and end are host dates.
    int Reset(const std::string& iniSearchPath, const std::string& ownCall, HostDate start, HostDate end,
              const std::string& ownCountry = "K", const std::string& ownContinent = "NA",
              Unread unread = Unread::kNull, int reportRequest = 0);
    int Add(const Qso& qso, Unread unread = Unread::kNull);
    int Remove(const Qso& qso, Unread unread = Unread::kNull);
    int Check(const char* call, const char* mode, const char* wpxPrefix, const char* countryPrefix,
              const char* band, const char* otherBand, Unread unread = Unread::kNull);

private:
    int CallQso(QsoDataFn fn, const Qso& qso, Unread unread);

    HMODULE module_ = nullptr;
    std::string error_;
};

// A new, empty working folder under the prefix's temporary folder; the current
// directory while the object lives. Removed with its content afterwards.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return path_; }  // full path, no trailing "\"
    // Creates the Plugins folder, where the plug-in keeps its settings file.
    void MakePluginsFolder() const;

private:
    std::string path_;
    std::string previous_;
};

// Exact bytes of a file; nothing when it cannot be opened.
std::optional<std::string> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// Names of the files and folders in a folder, sorted.
std::vector<std::string> ListFolder(const std::string& folder);

// A host date from calendar fields.
HostDate At(int year, int month, int day, int hour = 0, int minute = 0);

// An SSB QSO on 29 May 2021 at 12:`minute`.
Qso MakeQso(const char* call, const char* band, unsigned int hz, const char* sent, const char* rcvd, const char* wpx,
            const char* country, const char* continent, int minute);

}  // namespace wine_tests
