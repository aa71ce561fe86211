#include "plugin/platform_win.h"

#include <windows.h>

#include <vector>

namespace stats {

namespace {
// Far beyond any value the plug-in writes; only a damaged file gets there.
constexpr std::size_t kLongestRead = std::size_t{1} << 24;
}  // namespace

std::string Win32SettingsFile::Read(const std::string& file, const std::string& section, const std::string& key,
                                    const std::string& fallback) {
    // A value is read whole: one cut here would be saved back cut (a soapbox
    // of many lines, with its line-break tokens, is long). The profile reader
    // cuts what does not fit and then fills the buffer to the last byte; the
    // buffer grows until the value fits, from the longest text an edit field
    // takes by default.
    std::vector<char> buffer(32768);
    for (;;) {
        const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                                      static_cast<DWORD>(buffer.size()), file.c_str());
        if (length + 1 < buffer.size() || buffer.size() >= kLongestRead) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
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
