// The export table as a Windows host uses it: LoadLibraryA, GetProcAddress by
// plain and decorated name, calls through the host's signatures, and null
// pointers wherever the host may pass them.
#include <windows.h>

#include <atomic>
#include <cstring>
#include <set>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "export_names.h"
#include "stats_dll.h"
#include "stats_version.h"

namespace wine_tests {
namespace {

// The plain export name of a decorated one: the function name between "?" and
// "@@", which the host spells differently for three of them.
std::string PlainNameOf(const std::string& decorated) {
    const std::string name = decorated.substr(1, decorated.find("@@") - 1);
    if (name == "StatsGetExchgCount0") return "GetExchgCount0";
    if (name == "StatsIsValidExchg0") return "IsValidExchg0";
    if (name == "CheckCallFunc0") return "CheckCall0";
    return name;
}

TEST(Exports, EachDecoratedNameIsTheSameFunctionAsItsPlainName) {
    StatsDll dll;
    ASSERT_EQ(dll.Error(), "");
    ASSERT_EQ(std::size(kDecoratedNames), 11u);
    std::set<std::string> plainNames;
    for (const char* decorated : kDecoratedNames) {
        const std::string plain = PlainNameOf(decorated);
        plainNames.insert(plain);
        const FARPROC byDecorated = GetProcAddress(dll.Module(), decorated);
        const FARPROC byPlain = GetProcAddress(dll.Module(), plain.c_str());
        EXPECT_NE(byDecorated, nullptr) << decorated;
        EXPECT_NE(byPlain, nullptr) << plain;
        EXPECT_EQ(reinterpret_cast<void*>(byDecorated), reinterpret_cast<void*>(byPlain)) << decorated;
    }
    EXPECT_EQ(plainNames.size(), 11u);
    // The loader matches names exactly.
    EXPECT_EQ(GetProcAddress(dll.Module(), "getnumberofsets"), nullptr);
    EXPECT_EQ(GetProcAddress(dll.Module(), "SetVersion"), nullptr);
}

// The version resource, as Explorer and an installer read it.
TEST(Exports, TheFileCarriesItsVersion) {
    const std::string path = DllPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << path;
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(STATS_VERSION_MINOR, STATS_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, STATS_VERSION_PATCH)));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
    auto text = [&](const char* name) {
        char* value = nullptr;
        const std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
        return VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ? std::string(value)
                                                                                                  : std::string();
    };
    EXPECT_EQ(text("FileVersion"), STATS_VERSION_TEXT);
    EXPECT_EQ(text("ProductVersion"), STATS_VERSION_TEXT);
    EXPECT_EQ(text("OriginalFilename"), "Stats.dll");
    EXPECT_NE(text("LegalCopyright"), "");
}

TEST(Exports, SetNameExchangeCountAndExchangeCheck) {
    StatsDll dll;
    ASSERT_EQ(dll.Error(), "");
    EXPECT_EQ(dll.GetNumberOfSets(), 1);
    ASSERT_NE(dll.GetSetName(0), nullptr);
    EXPECT_STREQ(dll.GetSetName(0), "CQ-WPX-CW/SSB (C)");
    ASSERT_NE(dll.GetSetName(1), nullptr);
    EXPECT_STREQ(dll.GetSetName(1), "");
    ASSERT_NE(dll.GetSetName(-1), nullptr);
    EXPECT_STREQ(dll.GetSetName(-1), "");
    EXPECT_EQ(dll.GetExchgCount0(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(dll.GetExchgCount0("K1ABC", "SSB", "20m"), 1);
    EXPECT_EQ(dll.setVersion("2.21"), 0ul);

    for (const char* good : {"01", "123", "0599"})
        EXPECT_EQ(dll.IsValidExchg0(good, "SSB", "20m", "K1ABC", 1, 2, 3), 1) << good;
    for (const char* bad : {"599", "1", "12345", "1a", ""})
        EXPECT_EQ(dll.IsValidExchg0(bad, "SSB", "20m", "K1ABC", 1, 2, 3), 0) << bad;
    EXPECT_EQ(dll.IsValidExchg0(nullptr, nullptr, nullptr, nullptr, 0, 0, 0), 0);
}

// Every pointer argument null, before the first statistics run and after one
// that got nothing but nulls itself.
TEST(Exports, NullInEveryPointerArgument) {
    ScratchDir dir;
    StatsDll dll;
    ASSERT_EQ(dll.Error(), "");

    // `file` is the bad-QSO file of the run, if there is one.
    auto everyExport = [&](const char* when, const char* file) {
        SCOPED_TRACE(when);
        EXPECT_NE(dll.GetSetName(0), nullptr);
        EXPECT_EQ(dll.setVersion(nullptr), 0ul);
        EXPECT_EQ(dll.GetExchgCount0(nullptr, nullptr, nullptr), 1);
        EXPECT_EQ(dll.IsValidExchg0(nullptr, nullptr, nullptr, nullptr, 0, 0, 0), 0);
        EXPECT_EQ(dll.AddData0(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, 0, 0, 0, 0.0, 0.0, nullptr, nullptr, nullptr, nullptr,
                               nullptr),
                  0);
        EXPECT_EQ(dll.CheckCall0(nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0.0, 0.0, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
                  4);
        // Rejected for its band, every field empty; in the file since the next call.
        if (file != nullptr) {
            EXPECT_EQ(ReadBytes(file), "CQ-WPX-SSB TEST UBN file \r\nQSO:  0" + std::string(8 * 2, ' ') +
                                           "   WRONG BAND !!!\r\n");
        }
        const char* result = dll.GetResult0(nullptr);
        ASSERT_NE(result, nullptr);
        EXPECT_NE(std::strstr(result, "0 * 0  = 0"), nullptr) << result;  // text or HTML
        // Removing the same null QSO takes its line out again.
        EXPECT_EQ(dll.RemoveData0(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, nullptr, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0.0, 0.0, nullptr, nullptr, nullptr,
                                  nullptr, nullptr),
                  1);
        if (file != nullptr) {
            EXPECT_EQ(ReadBytes(file), "CQ-WPX-SSB TEST UBN file \r\n");
        }
    };

    everyExport("before any statistics run", nullptr);
    // Nothing to write to yet: no bad-QSO file appears.
    EXPECT_EQ(ListFolder(dir.Path()), std::vector<std::string>{});

    // A null search path searches the current folder, where an older host's
    // settings file keeps the plug-in's windows closed.
    ASSERT_TRUE(WriteBytes("Zelk2.ini", "Zelk=2.18\r\n"));

    EXPECT_EQ(dll.ResetStats0(nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0.0, 0.0, nullptr, nullptr,
                              nullptr),
              1);
    // Without an end date the file name has an empty date.
    EXPECT_EQ(ReadBytes("BadQSO_StatsWPXSSB_.txt"), "CQ-WPX-SSB TEST UBN file \r\n");
    everyExport("after a statistics run of nulls", "BadQSO_StatsWPXSSB_.txt");
    EXPECT_EQ(ListFolder(dir.Path()), (std::vector<std::string>{"BadQSO_StatsWPXSSB_.txt", "Zelk2.ini"}));
}

// The texts of the dialog that belongs to this process, if one is showing;
// closes it with its OK button.
struct SeenBox {
    bool shown = false;
    std::string caption;
    std::string text;
};

BOOL CALLBACK CloseOwnDialog(HWND window, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (process != GetCurrentProcessId() || std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    auto* seen = reinterpret_cast<SeenBox*>(param);
    seen->shown = true;
    char buffer[512] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    seen->caption = buffer;
    buffer[0] = '\0';
    GetDlgItemTextA(window, 0xFFFF, buffer, sizeof buffer);  // the message box's text control
    seen->text = buffer;
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

// SetupSet0 shows a modal box owned by the caller's active window. Another
// thread answers it, so the call returns; without a display wine cannot show
// the box at all and the call returns at once.
TEST(Exports, SetupSet0ShowsItsMessageAndReturns) {
    StatsDll dll;
    ASSERT_EQ(dll.Error(), "");
    std::atomic<bool> returned{false};
    SeenBox seen;
    std::thread answer([&] {
        while (!returned.load()) {
            SeenBox found;
            EnumWindows(CloseOwnDialog, reinterpret_cast<LPARAM>(&found));
            if (found.shown) {
                seen = found;
                break;
            }
            Sleep(20);
        }
    });
    dll.SetupSet0();
    returned = true;
    answer.join();
    if (!seen.shown) {
        std::printf("(no message box could be shown: no display)\n");
    } else {
        EXPECT_EQ(seen.text, "No additional setup for this plugin");
        EXPECT_EQ(seen.caption, "Error");  // the system's caption for a null one
    }
}

}  // namespace
}  // namespace wine_tests
