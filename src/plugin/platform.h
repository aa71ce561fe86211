// The facilities the portable core needs from the platform. The Windows layer
// implements them with the Win32 API; the portable build and the tests have
// their own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "reports/cabrillo_fields.h"

namespace stats {

class Plugin;

// Initialisation-file access with the Windows private-profile semantics:
// section and key names ignore case, a value comes back whole without the
// blanks around it (`fallback` when missing), a write creates the file
// where its folder exists and keeps every other line. Paths use "\" as the
// host does; each implementation maps them to its platform.
class ISettingsFile {
public:
    virtual ~ISettingsFile() = default;
    virtual std::string Read(const std::string& file, const std::string& section, const std::string& key,
                             const std::string& fallback = std::string()) = 0;
    virtual bool Write(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value) = 0;
};

// Reads and writes keys of the plug-in's settings section.
struct SettingsKeys {
    std::function<std::string(const std::string& key, const std::string& fallback)> read;
    std::function<void(const std::string& key, const std::string& value)> write;

    std::string Read(const std::string& key) const { return read(key, std::string()); }
    int ReadInt(const std::string& key) const;  // decimal, 0 when missing or not a number
    void Write(const std::string& key, const std::string& value) const { write(key, value); }
    void WriteInt(const std::string& key, int value) const { write(key, std::to_string(value)); }
};

// Names (without folder) of the files matching a pattern such as "C:\Zelk\*.ini".
class IFileSearch {
public:
    virtual ~IFileSearch() = default;
    virtual std::vector<std::string> FindNames(const std::string& pattern) = 0;
};

// A modal message box owned by the caller's active window. A null caption
// gives the system's default caption.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual void Show(const std::string& text, const char* caption, bool informationIcon) = 0;
};

// The modal Cabrillo header dialog of a report run, owned by the caller's
// active window. Shows `fields`; on OK copies the operator's texts back into
// them and returns true; on cancel leaves them and returns false. Runs on the
// host's thread without the run guard.
class IHeaderDialog {
public:
    virtual ~IHeaderDialog() = default;
    virtual bool Run(CabrilloHeaderFields& fields) = 0;
};

// The plug-in's window thread, seen from the host's thread.
class IWindowThread {
public:
    virtual ~IWindowThread() = default;
    virtual void Start(Plugin& plugin) = 0;  // does not wait for the windows
    // Closes the windows and waits, within bounds, for the thread; false when
    // it did not end in time.
    virtual bool Stop() = 0;
    // The library is about to go although a stop ran out of time: the thread
    // must never again run code of the library, whose image is unmapped next.
    virtual void Freeze() {}
    virtual bool HasSetupWindow() const = 0;
    virtual void PostRefresh() = 0;         // never waits for the window thread
};

// Work the plug-in does on a thread of its own besides the windows (posting
// the score), seen from the unload: it must end, or never run again, before
// the library goes.
class IBackgroundWork {
public:
    virtual ~IBackgroundWork() = default;
    // Gives up what is in progress; never waits.
    virtual void Cancel() = 0;
    // Waits, within bounds counted from the cancel, for the thread to end;
    // false when it did not end in time.
    virtual bool Stop() = 0;
    virtual void Freeze() {}
};

// Defaults for what has no implementation in a build: the header dialog taken
// as accepted with nothing edited, and no windows.
class AcceptedHeaderDialog final : public IHeaderDialog {
public:
    bool Run(CabrilloHeaderFields&) override { return true; }
};

class NoWindowThread final : public IWindowThread {
public:
    void Start(Plugin&) override {}
    bool Stop() override { return true; }
    bool HasSetupWindow() const override { return false; }
    void PostRefresh() override {}
};

struct Platform {
    ISettingsFile* settings = nullptr;
    IFileSearch* fileSearch = nullptr;
    IMessageBox* messageBox = nullptr;
    IHeaderDialog* headerDialog = nullptr;
    IWindowThread* windows = nullptr;
    IBackgroundWork* background = nullptr;  // none in the portable build
};

}  // namespace stats
