// Shared test helpers: a scratch working directory, a platform whose parts the
// tests can steer and watch, and builders for host arguments.
#pragma once

#include <filesystem>
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
    void Start() override {
        ++starts;
        if (startOpensSetup) running = true;
    }
    void Stop() override { running = false; }
    bool HasSetupWindow() const override { return running; }
    void PostRefresh() override { ++posts; }
    bool startOpensSetup = false;
    bool running = false;
    int starts = 0;
    int posts = 0;
};

class FakeHeaderStep final : public IHeaderStep {
public:
    int PrepareHeader(const std::string& ownCall) override {
        calls.push_back(ownCall);
        return accept;
    }
    int accept = 1;
    std::vector<std::string> calls;
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
    FakeHeaderStep header;
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
    std::string BadFile() { return ReadFile(plugin.State().g_BadQsoFileName); }

    ScratchDir dir;
    TestPlatform platform;
    Plugin plugin{platform.Get()};
    ResetInput reset;
};

// The bad-QSO line the intake writes for a QSO.
std::string LineOf(const Qso& qso, const char* reason);

}  // namespace stats::test
