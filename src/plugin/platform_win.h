// The platform facilities of the Windows build, on the Win32 API.
#pragma once

#include <windows.h>

#include "plugin/platform.h"
#include "reports/cabrillo_dialog_win.h"
#include "ui/ui_thread_win.h"

namespace stats {

class Win32SettingsFile final : public ISettingsFile {
public:
    std::string Read(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& fallback = std::string()) override;
    bool Write(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) override;
};

class Win32FileSearch final : public IFileSearch {
public:
    std::vector<std::string> FindNames(const std::string& pattern) override;
};

class Win32MessageBox final : public IMessageBox {
public:
    void Show(const std::string& text, const char* caption, bool informationIcon) override;
};

class Win32Platform {
public:
    explicit Win32Platform(HINSTANCE module) : header_(module), windows_(module) {}
    Platform Get() { return Platform{&settings_, &search_, &box_, &header_, &windows_, &windows_.poster}; }

private:
    Win32SettingsFile settings_;
    Win32FileSearch search_;
    Win32MessageBox box_;
    Win32HeaderDialog header_;
    Win32WindowThread windows_;
};

}  // namespace stats
