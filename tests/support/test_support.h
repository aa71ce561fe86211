// Shared test helpers: a scratch working directory, a platform whose parts the
// tests can steer and watch, and builders for host arguments.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "contest/intake.h"
#include "plugin/platform.h"
#include "plugin/platform_portable.h"
#include "plugin/plugin.h"

namespace stats::test {

// Runs each test in a fresh empty current directory, as the host's folder.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path old_;
    std::filesystem::path path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
std::vector<std::string> SplitCrLf(const std::string& content);

class RecordingMessageBox final : public IMessageBox {
public:
    void Show(const std::string& text, const char* caption, bool informationIcon) override {
        shown.push_back({text, caption ? caption : "", informationIcon});
    }
    struct Box {
        std::string text, caption;
        bool information;
    };
    std::vector<Box> shown;
};

class FakeWindowThread final : public IWindowThread {
public:
    void Start(Plugin&) override {
        ++starts;
        if (startOpensSetup) running = true;
    }
    bool Stop() override {
        running = false;
        return true;
    }
    bool HasSetupWindow() const override { return running; }
    void PostRefresh() override { ++posts; }
    bool startOpensSetup = false;
    bool running = false;
    int starts = 0;
    int posts = 0;
};

// Shows nothing; records what it was shown, applies `edit` and answers `accept`.
class FakeHeaderDialog final : public IHeaderDialog {
public:
    bool Run(CabrilloHeaderFields& fields) override {
        shown.push_back(fields);
        if (accept && edit) edit(fields);
        return accept;
    }
    bool accept = true;
    std::function<void(CabrilloHeaderFields&)> edit;
    std::vector<CabrilloHeaderFields> shown;
};

class FixedFileSearch final : public IFileSearch {
public:
    std::vector<std::string> FindNames(const std::string& pattern) override {
        patterns.push_back(pattern);
        return names;
    }
    std::vector<std::string> names;
    std::vector<std::string> patterns;
};

// The portable settings file and real files, with the windows, header dialog,
// message box and file search replaced by fakes.
struct TestPlatform {
    PortableSettingsFile settings;
    FixedFileSearch search;
    RecordingMessageBox box;
    FakeHeaderDialog header;
    FakeWindowThread windows;
    Platform Get() { return Platform{&settings, &search, &box, &header, &windows}; }
};

// Calendar date and time as the host's date-time.
OleDateTime At(int year, int month, int day, int hour = 0, int minute = 0, double second = 0.0);

// A valid QSO on 20m CW with serials; tests change what they need.
struct Qso {
    std::string ownCall = "UA3ABC";
    std::string call = "DL1AAA";
    OleDateTime time = At(2021, 5, 29, 10, 0);
    std::uint32_t freqHz = 14025000;
    std::string mode = "CW";
    std::string rstSent = "599";
    std::string rstRcvd = "599";
    std::string exchSent = "001";
    std::string exchRcvd = "015";
    std::string prefix = "DL1";
    std::string country = "DL";
    std::string continent = "EU";
    std::string band = "20m";

    QsoInput Input() const;
};

}  // namespace stats::test

namespace stats::test {

// A plug-in in a scratch directory after a reset for an SSB contest ending
// 30 May 2021, own station UA3ABC in UA, EU.
class PluginTest : public ::testing::Test {
protected:
    PluginTest();

    void Reset(int reportRequest = 0);
    int Add(const Qso& qso) { return plugin.AddData(qso.Input()); }
    int Remove(const Qso& qso) { return plugin.RemoveData(qso.Input()); }
    std::string Result() { return plugin.GetResult(nullptr); }
    // Lines of the bad-QSO file without the header.
    std::vector<std::string> BadLines();
    // As any export but an addition finds it: with the last additions' lines.
    std::string BadFile() {
        plugin.WriteWaitingLines();
        return ReadFile(plugin.State().g_BadQsoFile.Name());
    }

    ScratchDir dir;
    TestPlatform platform;
    Plugin plugin{platform.Get()};
    ResetInput reset;
};

// A QSO on `band` with the given station data at 29 May 2021 hour:minute:second.
Qso Make(const char* call, const char* band, const char* country, const char* continent, const char* prefix,
         int hour, int minute, double second = 0.0);

// The scoring example: five QSOs in host order, the third rejected for its
// mode and the fifth a dupe of the first. Own station UA, EU.
std::vector<Qso> WorkedExample();

std::string Golden(const std::string& name);

// Byte-for-byte equality; on a difference, names the first differing line.
::testing::AssertionResult SameText(const std::string& actual, const std::string& expected);

// The bad-QSO line the intake writes for a QSO.
std::string LineOf(const Qso& qso, const char* reason);

}  // namespace stats::test
