// The platform facilities of the portable build: our own initialisation-file
// code, a directory search, the message box as a line on standard error, the
// header dialog taken as accepted and no windows.
#pragma once

#include "plugin/platform.h"

namespace stats {

// "\" in the host's relative paths becomes the platform's separator.
std::string NativePath(const std::string& hostPath);

// Windows wildcard match ("*" and "?"), ignoring case.
bool WildcardMatch(std::string_view pattern, std::string_view name);

class PortableSettingsFile final : public ISettingsFile {
public:
    std::string Read(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& fallback = std::string()) override;
    bool Write(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) override;
};

class PortableFileSearch final : public IFileSearch {
public:
    std::vector<std::string> FindNames(const std::string& pattern) override;
};

class StderrMessageBox final : public IMessageBox {
public:
    void Show(const std::string& text, const char* caption, bool informationIcon) override;
};

// Everything the portable build needs, in one object.
class PortablePlatform {
public:
    Platform Get() { return Platform{&settings_, &search_, &box_, &header_, &windows_}; }

private:
    PortableSettingsFile settings_;
    PortableFileSearch search_;
    StderrMessageBox box_;
    AcceptedHeaderDialog header_;
    NoWindowThread windows_;
};

}  // namespace stats
