// Window texts of the plug-in's own windows. The Russian captions are code
// page 1251 bytes; they are converted from that code page whatever the
// system's own, so they read right on any Windows.
#pragma once

#include <windows.h>

#include <string>

namespace stats {

inline void SetWindowTextFrom(HWND window, const std::string& text, bool cyrillic) {
    const UINT codePage = cyrillic ? 1251 : CP_ACP;
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    SetWindowTextW(window, wide.c_str());
}

}  // namespace stats
