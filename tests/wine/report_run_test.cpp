// A report run as the operator has it on Windows: the reset shows the Cabrillo
// header dialog over the host's window; the operator reads and edits it and
// presses OK, or CANCEL; the result request then writes the log file and says
// so in a message box. The dialogs block the host's thread, so another thread
// of the test answers them, as the operator would.
#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "stats_dll.h"
#include "ui_support.h"

namespace wine_tests {
namespace {

// The header dialog's controls.
enum Control {
    kSoapbox = 1001,
    kAddress = 1002,
    kClaimed = 1008,
    kContest = 1009,
    kCallsign = 1010,
    kOperators = 1006,
    kCategoryOperator = 1013,
    kCategoryMode = 1018,
    kCategoryPower = 1017,
    kCategoryAssisted = 1020,
    kCategoryOverlay = 1021,
    kLocation = 1022,
};
constexpr int kAllControls[] = {1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011,
                                1012, 1013, 1014, 1015, 1016, 1017, 1018, 1019, 1020, 1021, 1022};

constexpr char kDialogTitle[] = "CQ-WPX-CW/SSB";
constexpr char kCbrFile[] = "K1ABC.cbr";

// The host's main window, active on the test's thread, as the dialog's and
// the message box's owner.
class HostWindow {
public:
    HostWindow() {
        WNDCLASSW c{};
        c.lpfnWndProc = DefWindowProcW;
        c.hInstance = GetModuleHandleW(nullptr);
        c.lpszClassName = L"StatsTestHostWindow";
        c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassW(&c);
        window_ = CreateWindowExW(0, c.lpszClassName, L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 240, 80,
                                  nullptr, nullptr, c.hInstance, nullptr);
        Activate();
    }
    ~HostWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    HWND Handle() const { return window_; }
    void Activate() const {
        SetForegroundWindow(window_);
        SetActiveWindow(window_);
    }

private:
    HWND window_ = nullptr;
};

// What the answering thread saw of the header dialog.
struct HeaderDialogSeen {
    bool shown = false;
    std::map<int, std::string> texts;  // every control's text as the dialog opened
    std::map<int, int> selection;      // drop-downs: the selected entry, or CB_ERR
    int locationEntries = 0;
    std::string firstLocation, lastLocation;
    HWND owner = nullptr;
    bool ownerEnabled = true;
    std::string problem;  // an edit that could not be made
};

// What the answering thread saw of a message box.
struct BoxSeen {
    bool shown = false;
    std::string caption, text;
    HWND owner = nullptr;
    bool informationIcon = false;
    std::vector<std::string> buttons;
};

std::string ListEntry(HWND combo, int index) {
    const auto length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (length < 0) return "<none>";
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

HWND EditOfComboBox(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
}

// Waits for the header dialog and records it; `edit` then works on it, and the
// dialog is closed with `button` in any case, so the host's thread never stays
// blocked.
HeaderDialogSeen AnswerHeaderDialog(HWND host, int button, const std::function<std::string(HWND)>& edit) {
    HeaderDialogSeen seen;
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = FindOwnDialog(kDialogTitle)) != nullptr; })) return seen;
    seen.shown = true;
    seen.owner = GetWindow(dialog, GW_OWNER);
    seen.ownerEnabled = IsWindowEnabled(host) != FALSE;
    for (const int id : kAllControls) {
        seen.texts[id] = ItemText(dialog, id);
        HWND control = GetDlgItem(dialog, id);
        if (ClassOf(control) == "ComboBox")
            seen.selection[id] = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
    }
    HWND location = GetDlgItem(dialog, kLocation);
    seen.locationEntries = static_cast<int>(SendMessageA(location, CB_GETCOUNT, 0, 0));
    seen.firstLocation = ListEntry(location, 0);
    seen.lastLocation = ListEntry(location, seen.locationEntries - 1);
    if (edit) seen.problem = edit(dialog);
    Click(dialog, button);
    return seen;
}

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM p) {
    auto* s = reinterpret_cast<BoxSeen*>(p);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (ClassOf(child) == "Button" && (style & WS_VISIBLE)) s->buttons.push_back(Text(child));
    const HICON information = LoadIconW(nullptr, MAKEINTRESOURCEW(32516));  // IDI_INFORMATION
    if (ClassOf(child) == "Static" && (style & SS_TYPEMASK) == SS_ICON)
        s->informationIcon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) == information;
    return TRUE;
}

BoxSeen AnswerMessageBox(const char* caption, const std::function<bool()>& keepWaiting) {
    BoxSeen seen;
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindOwnDialog(caption)) != nullptr || !keepWaiting(); });
    if (box == nullptr) return seen;
    seen.shown = true;
    seen.caption = Text(box);
    seen.text = ItemText(box, 0xFFFF);  // the box's text control
    seen.owner = GetWindow(box, GW_OWNER);
    EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&seen));
    Click(box, IDOK);
    return seen;
}

class ReportRun : public testing::Test {
protected:
    void SetUp() override {
        const std::string problem = DisplayProblem();
        ASSERT_EQ(problem, "");
        ASSERT_EQ(dll.Error(), "");
        ASSERT_NE(host.Handle(), nullptr);
        dir.MakePluginsFolder();
        ASSERT_TRUE(WriteBytes("Zelk2.ini", "[Zelk]\r\nZelk=2.19\r\n"));
        // The score of a result request of an earlier run of the host.
        ASSERT_TRUE(WriteBytes(SettingsFile(), "[Settings]\r\nClaimed=1234\r\n"));
    }

    std::string SettingsFile() const { return dir.Path() + "\\Plugins\\CQ-WPX-CW-SSB.ini"; }
    std::string Setting(const char* key) const {
        char buffer[256] = {};
        GetPrivateProfileStringA("Settings", key, "<missing>", buffer, sizeof buffer, SettingsFile().c_str());
        return buffer;
    }

    // A report run's reset, the dialog answered by `answer` on another thread.
    HeaderDialogSeen ReportReset(int button, const std::function<std::string(HWND)>& edit = {}) {
        host.Activate();
        HeaderDialogSeen seen;
        std::thread answer([&] { seen = AnswerHeaderDialog(host.Handle(), button, edit); });
        reset = dll.Reset(dir.Path() + "\\", "K1ABC", At(2021, 5, 29), At(2021, 5, 30, 23, 59), "K", "NA",
                          Unread::kNull, 1);
        answer.join();
        return seen;
    }

    void AddLog() {
        ASSERT_EQ(dll.Add(MakeQso("DL1AAA", "20m", 14200500, "001", "005", "DL1", "DL", "EU", 0)), 1);
        ASSERT_EQ(dll.Add(MakeQso("W1XYZ", "40m", 7012500, "002", "010", "W1", "K", "NA", 5)), 1);
    }

    // A result request; a message box it shows is answered and recorded.
    BoxSeen Result(std::string* text) {
        host.Activate();
        std::atomic<bool> returned{false};
        BoxSeen seen;
        std::thread answer([&] { seen = AnswerMessageBox("Output", [&] { return !returned.load(); }); });
        int out = 0;
        const char* result = dll.GetResult0(&out);
        returned = true;
        answer.join();
        *text = result ? result : "<null>";
        return seen;
    }

    ScratchDir dir;
    StatsDll dll;
    HostWindow host;
    int reset = 0;
};

constexpr char kSoapboxTyped[] =
    "Good conditions\nThanks for the QSOs\nBand opened to Asia on Sunday\nSee you next year";
constexpr char kSoapboxStored[] =
    "Good conditions<CR><LF>Thanks for the QSOs<CR><LF>Band opened to Asia on Sunday<CR><LF>See you next year";
constexpr char kSoapboxShown[] =
    "Good conditions\r\nThanks for the QSOs\r\nBand opened to Asia on Sunday\r\nSee you next year";

constexpr char kExpectedCbr[] =
    "START-OF-LOG: 3.0\r\n"
    "CALLSIGN: K1ABC\r\n"
    "CONTEST: CQ-WPX-SSB\r\n"
    "CATEGORY-OPERATOR: SINGLE-OP\r\n"
    "CATEGORY-ASSISTED: NON-ASSISTED\r\n"
    "CATEGORY-BAND: ALL\r\n"
    "CATEGORY-MODE: SSB\r\n"
    "CATEGORY-POWER: LOW\r\n"
    "CATEGORY-STATION: FIXED \r\n"
    "CATEGORY-TRANSMITTER: ONE\r\n"
    "CATEGORY-OVERLAY: YOUTH\r\n"
    "CLAIMED-SCORE: 8\r\n"
    "CLUB: \r\n"
    "LOCATION: DX\r\n"
    "CREATED-BY: Zelk 2.19\r\n"
    "NAME: \r\n"
    "ADDRESS: 12 Main St\r\n"
    "ADDRESS: Apt 4\r\n"
    "ADDRESS-CITY: \r\n"
    "ADDRESS-STATE: \r\n"
    "ADDRESS-POSTALCODE: \r\n"
    "ADDRESS-COUNTRY: \r\n"
    "OPERATORS: K1ABC\r\n"
    "EMAIL: \r\n"
    "SOAPBOX: Good conditions\r\n"
    "SOAPBOX: Thanks for the QSOs\r\n"
    "SOAPBOX: Band opened to Asia on Sunday\r\n"
    "SOAPBOX: See you next year\r\n"
    "QSO: 14200 PH 2021-05-29 1200 K1ABC         59  001    DL1AAA        59  005\r\n"
    "QSO:  7012 PH 2021-05-29 1205 K1ABC         59  002    W1XYZ         59  010\r\n"
    "END-OF-LOG:\r\n";

// An accepted dialog: the fields as the header step fills them, edits as an
// operator types them, the file and the message box; then a cancelled one,
// which shows the saved values again and writes nothing.
TEST_F(ReportRun, AcceptedThenCancelled) {
    const HeaderDialogSeen first = ReportReset(IDOK, [](HWND dialog) -> std::string {
        // Soapbox lines with the Enter key, which the multi-line field keeps
        // instead of pressing OK, more than 99 bytes with their line-break
        // tokens once stored; the address with its line-break token; an
        // overlay that is not in its list; a power picked from its list.
        if (!Type(GetDlgItem(dialog, kSoapbox), kSoapboxTyped)) return "typing the soapbox";
        if (!Type(GetDlgItem(dialog, kAddress), "12 Main St<CR>Apt 4")) return "typing the address";
        if (!Type(EditOfComboBox(GetDlgItem(dialog, kCategoryOverlay)), "YOUTH")) return "typing the overlay";
        SendDlgItemMessageA(dialog, kCategoryPower, CB_SETCURSEL, 1, 0);
        if (SaveArtifact(CaptureWindow(dialog), "cabrillo-header-dialog").empty()) return "saving the screenshot";
        return std::string();
    });
    ASSERT_TRUE(first.shown) << "no dialog titled " << kDialogTitle << " appeared";
    EXPECT_EQ(first.problem, "");
    EXPECT_EQ(reset, 1);
    EXPECT_EQ(first.owner, host.Handle());
    EXPECT_FALSE(first.ownerEnabled) << "the host's window stays usable under the modal dialog";
    EXPECT_TRUE(IsWindowEnabled(host.Handle()));

    const auto& t = first.texts;
    EXPECT_EQ(t.at(kCallsign), "K1ABC");
    EXPECT_EQ(t.at(kContest), "CQ-WPX-SSB ");
    EXPECT_EQ(t.at(kClaimed), "1234");
    EXPECT_EQ(t.at(kOperators), "K1ABC");  // no "Operators" key yet
    EXPECT_EQ(t.at(kCategoryOperator), "SINGLE-OP");
    EXPECT_EQ(t.at(kLocation), "DX");
    EXPECT_EQ(t.at(kSoapbox), "");
    // A value selects the first entry it begins, else stands as typed.
    EXPECT_EQ(first.selection.at(kCategoryAssisted), 1);  // "NON-ASSISTED", not "ASSISTED"
    EXPECT_EQ(t.at(kCategoryMode), "SSB");
    EXPECT_EQ(first.selection.at(kCategoryMode), CB_ERR);
    EXPECT_EQ(first.locationEntries, 64);
    EXPECT_EQ(first.firstLocation, "DX");
    EXPECT_EQ(first.lastLocation, "PEI");
    EXPECT_EQ(first.selection.size(), 9u);  // the drop-down lists, all others are edit fields

    AddLog();
    std::string text;
    const BoxSeen box = Result(&text);
    ASSERT_TRUE(box.shown) << "no \"Output\" box";
    EXPECT_EQ(box.caption, "Output");
    EXPECT_EQ(box.text, "File produced: K1ABC.cbr");
    EXPECT_TRUE(box.informationIcon);
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(box.owner, host.Handle());
    EXPECT_EQ(text.rfind("  CQ-WPX-SSB Contest 29.05-30.05.2021 \r\n", 0), 0u) << text;
    EXPECT_EQ(ReadBytes(kCbrFile), kExpectedCbr);

    EXPECT_EQ(Setting("SoapBox"), kSoapboxStored);
    EXPECT_EQ(Setting("Address"), "12 Main St<CR>Apt 4");
    EXPECT_EQ(Setting("Operators"), "K1ABC");
    EXPECT_EQ(Setting("Location"), "DX");
    EXPECT_EQ(Setting("Name"), "");  // written, empty
    EXPECT_EQ(Setting("Claimed"), "8");
    EXPECT_EQ(Setting("Start"), "0");  // a report run never opens the windows

    // The next run shows what was saved, and the overlay of this process.
    ASSERT_TRUE(DeleteFileA(kCbrFile));
    const HeaderDialogSeen second = ReportReset(IDCANCEL);
    ASSERT_TRUE(second.shown);
    EXPECT_EQ(second.texts.at(kSoapbox), kSoapboxShown) << "read back whole";
    EXPECT_EQ(second.texts.at(kAddress), "12 Main St<CR>Apt 4");
    EXPECT_EQ(second.texts.at(kCategoryOverlay), "YOUTH");
    EXPECT_EQ(second.texts.at(kClaimed), "8");
    EXPECT_EQ(second.texts.at(kOperators), "K1ABC");  // now the stored value

    AddLog();
    const BoxSeen none = Result(&text);
    EXPECT_FALSE(none.shown) << "a box after a cancelled dialog: " << none.text;
    EXPECT_FALSE(FileExists(kCbrFile));
    EXPECT_EQ(text.rfind("  CQ-WPX-SSB Contest", 0), 0u) << text;
}

}  // namespace
}  // namespace wine_tests
