#include "plugin/platform_win.h"

#include <windows.h>

namespace stats {

std::string Win32SettingsFile::Read(const std::string& file, const std::string& section, const std::string& key,
                                    const std::string& fallback) {
    char buffer[100] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer, sizeof buffer, file.c_str());
    return buffer;
}

bool Win32SettingsFile::Write(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

std::vector<std::string> Win32FileSearch::FindNames(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.emplace_back(data.cFileName);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return names;
}

void Win32MessageBox::Show(const std::string& text, const char* caption, bool informationIcon) {
    // A library has no main window of its own: the box belongs to the calling
    // thread's active window (the host's), or to none.
    MessageBoxA(GetActiveWindow(), text.c_str(), caption, informationIcon ? MB_OK | MB_ICONINFORMATION : MB_OK);
}

}  // namespace stats
