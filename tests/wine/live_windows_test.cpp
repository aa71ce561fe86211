// The plug-in's live windows on Windows: the window thread that a statistics
// reset starts, the Setup window, the working-prefix and previous-QSO views,
// their panels on the screen, the link to the host's automation object, and
// the unload with the windows open.
//
// The host's object is a stand-in (fake_host.h) that the window thread reaches
// through COM as it would reach the host's. Refreshes are triggered as the
// host triggers them, by call checks; what the panels draw is read at the
// library's GDI calls (panel_recorder.h) and their colours on the screen.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "contest/ole_date.h"
#include "fake_host.h"
#include "local_board.h"
#include "panel_recorder.h"
#include "stats_dll.h"
#include "ui_support.h"

namespace wine_tests {
namespace {

// Setup window controls.
constexpr int kViewPrefix = 1014;
constexpr int kViewPrevQso = 1015;
constexpr int kOnTop = 1016;
constexpr int kCw = 1017;
constexpr int kSsb = 1018;
constexpr int kViewLabel = 1025;
constexpr int kModeLabel = 1026;
constexpr int kViewContest = 1027;
// The panel of every view, and the contest view's other controls.
constexpr int kPanel = 1003;
constexpr int kCategory = 1030;
constexpr int kReference = 1031;
constexpr int kScoreboardButton = 1033;
constexpr int kScoreboardStatus = 1034;
// The scoreboard window's.
constexpr int kBoardEnable = 1040;
constexpr int kBoardAddress = 1042;
constexpr int kBoardUser = 1044;
constexpr int kBoardPassword = 1046;

constexpr Rgb kGridBackground{255, 250, 198};
constexpr Rgb kTableBackground{255, 255, 198};
constexpr Rgb kHighlight{198, 255, 255};
constexpr Rgb kContestBackground{255, 255, 224};

// Where the tests put the windows: apart from each other and from the mouse
// pointer, so that the screen shows each whole.
constexpr POINT kSetupPlace{20, 20};
constexpr POINT kPrefixPlace{20, 170};
constexpr POINT kPrevQsoPlace{450, 170};
constexpr POINT kContestPlace{450, 20};
constexpr POINT kPointerPlace{1010, 10};

std::pair<int, int> XY(POINT p) { return {p.x, p.y}; }
std::pair<int, int> TopLeftOf(HWND window) { return XY(TopLeft(window)); }

Qso CwQso(const char* call, const char* band, unsigned int hz, const char* sent, const char* rcvd, const char* wpx,
          const char* country, const char* continent, int hour, int minute, const char* mode = "CW") {
    Qso q;
    q.call = call;
    q.band = band;
    q.frequencyHz = hz;
    q.mode = mode;
    const bool cw = std::string(mode) == "CW";
    q.rstSent = cw ? "599" : "59";
    q.rstReceived = q.rstSent;
    q.exchangeSent = sent;
    q.exchangeReceived = rcvd;
    q.wpxPrefix = wpx;
    q.countryPrefix = country;
    q.continent = continent;
    q.time = At(2021, 5, 29, hour, minute);
    return q;
}

// The texts of the panel row whose cells stand at height y, left to right.
std::vector<std::string> RowAt(const Picture& picture, int y) {
    std::vector<DrawnText> cells;
    for (const DrawnText& t : picture.texts)
        if (t.y == y) cells.push_back(t);
    std::sort(cells.begin(), cells.end(), [](const DrawnText& a, const DrawnText& b) { return a.x < b.x; });
    std::vector<std::string> texts;
    for (const DrawnText& t : cells) texts.push_back(t.text);
    return texts;
}

std::string TextAt(const Picture& picture, int x, int y) {
    for (const DrawnText& t : picture.texts)
        if (t.x == x && t.y == y) return t.text;
    return "<nothing>";
}

bool CloseItemDisabled(HWND window) {
    const UINT state = GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_DISABLED | MF_GRAYED)) != 0;
}

class LiveWindows : public testing::Test {
protected:
    static void SetUpTestSuite() {
        registered_ = RegisterHostProgId();
        SetCursorPos(kPointerPlace.x, kPointerPlace.y);
    }
    static void TearDownTestSuite() { UnregisterHostProgId(); }

    void SetUp() override {
        ASSERT_EQ(DisplayProblem(), "");
        ASSERT_TRUE(registered_) << "cannot register Zelk2.Application under HKEY_CLASSES_ROOT";
        ASSERT_EQ(dll.Error(), "");
        ASSERT_EQ(RecordPanels(dll.Module()), "");
        dir.MakePluginsFolder();
    }

    // The host unloads the library with whatever windows are open: that
    // never takes the stop's time limit, and the window thread is done.
    void TearDown() override {
        const auto setups = OwnWindows([](HWND w) { return ClassOf(w) == "#32770" && GetDlgItem(w, kCw) != nullptr; });
        HANDLE thread = setups.empty() ? nullptr : OpenThreadOf(setups.front());
        const auto start = std::chrono::steady_clock::now();
        dll.Free();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2))
            << "the unload waited for its time limit";
        if (thread != nullptr) {
            ExpectDone(thread);
            CloseHandle(thread);
        }
    }

    // After an unload the window thread has ended, or, when it held a link to
    // the running host, it waits for good without a window: ending, it would
    // give that link back with a call to the host under the loader's lock.
    void ExpectDone(HANDLE thread) {
        const DWORD id = GetThreadId(thread);
        if (!host) {
            EXPECT_EQ(WaitForSingleObject(thread, 5000), static_cast<DWORD>(WAIT_OBJECT_0))
                << "the window thread lives on";
            return;
        }
        EXPECT_EQ(WaitForSingleObject(thread, 100), static_cast<DWORD>(WAIT_TIMEOUT)) << "the linked thread ended";
        EXPECT_TRUE(OwnWindows([&](HWND w) { return GetWindowThreadProcessId(w, nullptr) == id; }).empty())
            << "the waiting window thread still has a window";
    }

    std::string SettingsFile() const { return dir.Path() + "\\Plugins\\CQ-WPX-CW-SSB.ini"; }
    std::string Setting(const char* key) const {
        char buffer[256] = {};
        GetPrivateProfileStringA("Settings", key, "<missing>", buffer, sizeof buffer, SettingsFile().c_str());
        return buffer;
    }
    // A null value removes the key.
    void Store(const char* key, const char* value) {
        ASSERT_TRUE(WritePrivateProfileStringA("Settings", key, value, SettingsFile().c_str()));
    }
    void StoreViewsAndPlaces() {
        for (const auto& [key, value] : {std::pair{"setup_x", "20"}, {"setup_y", "20"}, {"dxcc_x", "20"},
                                         {"dxcc_y", "170"}, {"prev_x", "450"}, {"prev_y", "170"},
                                         {"setup_view_pref", "1"}, {"setup_view_prev_qso", "1"}})
            Store(key, value);
    }

    void StartHost(const std::wstring& entryField, double hertz) {
        host.emplace();
        ASSERT_EQ(host->Error(), "");
        host->SetEntryField(entryField);
        host->SetFrequency(hertz);
    }

    int Reset(const char* ownCountry = "K") {
        return dll.Reset(dir.Path() + "\\", "K1ABC", At(2021, 5, 29), At(2021, 5, 30, 23, 59), ownCountry, "NA");
    }

    // The visible dialog of this process with this exact title, once it is there.
    HWND WaitForWindow(const std::string& title) {
        HWND found = nullptr;
        WaitUntil([&] {
            found = FindOwnDialog(title);
            return found != nullptr && Text(found) == title;
        });
        return found;
    }

    // A log whose prefixes W1, DL1 and K2 count, in that order; DL1AAA is
    // worked twice on 20m (the later at 12:34) and once on 40m.
    void AddLogAndResult(const char* mode) {
        ASSERT_EQ(dll.Add(CwQso("W1AW", "20m", 14020000, "001", "015", "W1", "K", "NA", 12, 0, mode)), 1);
        ASSERT_EQ(dll.Add(CwQso("DL1AAA", "20m", 14030000, "002", "012", "DL1", "DL", "EU", 12, 1, mode)), 1);
        ASSERT_EQ(dll.Add(CwQso("K2XX", "40m", 7020000, "003", "020", "K2", "K", "NA", 12, 10, mode)), 1);
        ASSERT_EQ(dll.Add(CwQso("DL1AAA", "20m", 14031000, "004", "057", "DL1", "DL", "EU", 12, 34, mode)), 1);
        ASSERT_EQ(dll.Add(CwQso("DL1AAA", "40m", 7011000, "005", "101", "DL1", "DL", "EU", 13, 10, mode)), 1);
        dll.GetResult0(nullptr);  // builds the list of worked prefixes
    }

    // The host answers these from now on; call checks then post refreshes until
    // one has read both. Later refreshes read the same and change nothing.
    bool RefreshWith(const std::wstring& entryField, double hertz) {
        host->SetEntryField(entryField);
        host->SetFrequency(hertz);
        const std::size_t entryReads = host->EntryFieldArguments().size();
        const int frequencyReads = host->FrequencyReads();
        return WaitUntil([&] {
            if (host->EntryFieldArguments().size() > entryReads && host->FrequencyReads() > frequencyReads) return true;
            dll.Check("DL1AAA", "CW", "DL1", "DL", "20m", nullptr);
            Sleep(40);
            return false;
        });
    }

    static bool registered_;
    ScratchDir dir;  // before the library: the current directory while it is loaded
    std::optional<FakeHost> host;  // outlives the library's window thread
    StatsDll dll;
};

bool LiveWindows::registered_ = false;

// The "Start" key decides at each reset; the Setup window opens at its first-use
// place, top-most, tells the host the mode, and Escape ends the thread.
TEST_F(LiveWindows, ResetStartsTheWindowThreadAndEscapeEndsIt) {
    StartHost(L"", 0.0);
    ASSERT_EQ(Reset(), 1);
    HWND setup = WaitForWindow("Setup CQ-WPX-SSB 2021");
    ASSERT_NE(setup, nullptr) << "no Setup window";
    EXPECT_EQ(Setting("Start"), "1");
    EXPECT_EQ(TopLeftOf(setup), std::pair(10, 400));
    EXPECT_TRUE(IsTopMost(setup));
    EXPECT_TRUE(CloseItemDisabled(setup));
    // Alt+F4 asks for the system menu's close item, which is disabled.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(setup, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL, 5000, &ignored);
    EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(setup); }, std::chrono::milliseconds(500)))
        << "Alt+F4 closed the Setup window";
    EXPECT_TRUE(IsChecked(setup, kSsb));
    EXPECT_FALSE(IsChecked(setup, kCw));
    EXPECT_EQ(ItemText(setup, kViewLabel), "Display");
    EXPECT_EQ(ItemText(setup, kModeLabel), "Choice of mode");
    EXPECT_EQ(RectInParent(GetDlgItem(setup, kViewLabel)).left, 160);
    EXPECT_EQ(RectInParent(GetDlgItem(setup, kModeLabel)).left, 15);
    ASSERT_TRUE(WaitUntil([&] { return host->FrequencyReads() >= 1; })) << "the Setup window posted no refresh";
    EXPECT_EQ(host->Macros(), std::vector<std::string>{"<MODE:SSB>"});
    EXPECT_EQ(Setting("CW"), "0");

    // The next reset only re-arms the key; while the thread runs, a reset
    // leaves a missing key alone and starts nothing.
    ASSERT_EQ(Reset(), 1);
    EXPECT_EQ(Setting("Start"), "0");
    Store("Start", nullptr);
    ASSERT_EQ(Reset(), 1);
    EXPECT_EQ(Setting("Start"), "<missing>");
    EXPECT_TRUE(IsWindowVisible(setup));

    // The mode check boxes: the host hears each choice, the key follows it.
    Click(setup, kCw);
    EXPECT_EQ(Text(setup), "Setup CQ-WPX-CW 2021");
    EXPECT_TRUE(IsChecked(setup, kCw));
    EXPECT_FALSE(IsChecked(setup, kSsb));
    EXPECT_EQ(Setting("CW"), "1");
    Click(setup, kSsb);
    EXPECT_EQ(Text(setup), "Setup CQ-WPX-SSB 2021");
    EXPECT_FALSE(IsChecked(setup, kCw));
    EXPECT_EQ(Setting("CW"), "0");
    EXPECT_EQ(host->Macros(),
              (std::vector<std::string>{"<MODE:SSB>", "<MODE:CW>", "<BAUDRATE:27>", "<MODE:SSB>"}));

    // Escape closes the Setup window and ends its thread; a reset starts a new one.
    ASSERT_TRUE(RefreshWith(L"DL1AAA", 14025000.0));
    HANDLE thread = OpenThreadOf(setup);
    ASSERT_NE(thread, nullptr);
    PressKey(setup, VK_ESCAPE);
    EXPECT_EQ(WaitForSingleObject(thread, 10000), static_cast<DWORD>(WAIT_OBJECT_0)) << "the window thread did not end";
    CloseHandle(thread);
    EXPECT_FALSE(IsWindow(setup));
    const int frequencyReads = host->FrequencyReads();
    ASSERT_EQ(Reset(), 1);
    EXPECT_NE(WaitForWindow("Setup CQ-WPX-SSB 2021"), nullptr) << "no Setup window after Escape and a reset";
    EXPECT_EQ(Setting("Start"), "1");
    // The new thread goes on from what the last one knew: the radio has not
    // moved since "<SP1>" was sent, so it is not sent again.
    ASSERT_TRUE(WaitUntil([&] { return host->FrequencyReads() > frequencyReads; }));
    EXPECT_EQ(host->Macros(), (std::vector<std::string>{"<MODE:SSB>", "<MODE:CW>", "<BAUDRATE:27>", "<MODE:SSB>",
                                                        "<SP1>", "<MODE:SSB>"}));
    EXPECT_EQ(host->UnexpectedCalls(), std::vector<std::string>{});
}

// The view check boxes follow the windows, which open at their stored places
// and are top-most only with "Window on top". No host is running: the windows
// work without it.
TEST_F(LiveWindows, CheckBoxesOpenAndCloseTheViews) {
    StoreViewsAndPlaces();
    Store("setup_view_pref", nullptr);
    Store("setup_view_prev_qso", nullptr);
    ASSERT_EQ(Reset(), 1);
    HWND setup = WaitForWindow("Setup CQ-WPX-SSB 2021");
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(TopLeftOf(setup), XY(kSetupPlace));

    Click(setup, kViewPrefix);
    HWND prefix = WaitForWindow("CQ-WPX-SSB-2021 Working prefix");
    ASSERT_NE(prefix, nullptr);
    EXPECT_EQ(TopLeftOf(prefix), XY(kPrefixPlace));
    EXPECT_EQ(RectInParent(GetDlgItem(prefix, kPanel)).left, 0) << "the grid leaves its place only on a resize";
    EXPECT_FALSE(IsTopMost(prefix));
    EXPECT_TRUE(IsChecked(setup, kViewPrefix));
    EXPECT_EQ(Setting("setup_view_pref"), "1");

    Click(setup, kViewPrevQso);
    HWND prev = WaitForWindow("CQ-WPX-SSB-2021 Previous QSO");
    ASSERT_NE(prev, nullptr);
    EXPECT_EQ(TopLeftOf(prev), XY(kPrevQsoPlace));
    EXPECT_EQ(Setting("setup_view_prev_qso"), "1");

    // Closed from its own caption, a view only hides: its box and key stay on,
    // the next click turns it off, the one after opens a new window.
    // (A dialog answers a close request by posting itself its Cancel command,
    // so windows disappear a moment after the request.)
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(prev, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL, 5000, &ignored);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(prev); }));
    EXPECT_TRUE(IsChecked(setup, kViewPrevQso));
    EXPECT_EQ(Setting("setup_view_prev_qso"), "1");
    Click(setup, kViewPrevQso);
    EXPECT_FALSE(IsChecked(setup, kViewPrevQso));
    EXPECT_EQ(Setting("setup_view_prev_qso"), "0");
    Click(setup, kViewPrevQso);
    HWND prevAgain = WaitForWindow("CQ-WPX-SSB-2021 Previous QSO");
    EXPECT_NE(prevAgain, nullptr);
    EXPECT_NE(prevAgain, prev);
    EXPECT_EQ(Setting("setup_view_prev_qso"), "1");

    // Escape in a view hides it as its caption's close button does.
    PressKey(GetDlgItem(prefix, kPanel), VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(prefix); })) << "Escape did not reach the view";
    EXPECT_TRUE(IsChecked(setup, kViewPrefix));
    EXPECT_EQ(Setting("setup_view_pref"), "1");
    Click(setup, kViewPrefix);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(prefix); }));
    EXPECT_FALSE(IsChecked(setup, kViewPrefix));
    EXPECT_EQ(Setting("setup_view_pref"), "0");

    // "Window on top" closes the open view and the refresh reopens the wanted
    // one, now top-most, at its place.
    Click(setup, kOnTop);
    EXPECT_EQ(Setting("setup_window_on_top"), "1");
    EXPECT_TRUE(IsChecked(setup, kOnTop));
    HWND topMost = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        topMost = FindOwnDialog("CQ-WPX-SSB-2021 Previous QSO");
        return topMost != nullptr && topMost != prevAgain;
    })) << "the previous-QSO view did not reopen";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(prevAgain); }));
    EXPECT_TRUE(IsTopMost(topMost));
    EXPECT_EQ(TopLeftOf(topMost), XY(kPrevQsoPlace));
    EXPECT_EQ(FindOwnDialog("CQ-WPX-SSB-2021 Working prefix"), nullptr);
}

// A call check's refresh reads the entry field and the radio's frequency from
// the host: the previous-QSO rows show the entry call's QSOs, the band's row
// is highlighted, the grid shows the worked prefixes sorted with their count
// in the title, and "<SP1>" goes to the host when the radio moved more than
// 300 Hz.
TEST_F(LiveWindows, RefreshShowsTheHostsCallAndBand) {
    StoreViewsAndPlaces();
    Store("CW", "1");
    StartHost(L"", 0.0);
    ASSERT_EQ(Reset(), 1);
    HWND setup = WaitForWindow("Setup CQ-WPX-CW 2021");
    HWND prefix = WaitForWindow("CQ-WPX-CW-2021 Working prefix");
    HWND prev = WaitForWindow("CQ-WPX-CW-2021 Previous QSO");
    ASSERT_NE(setup, nullptr);
    ASSERT_NE(prefix, nullptr) << "the first refresh did not open the working-prefix view";
    ASSERT_NE(prev, nullptr) << "the first refresh did not open the previous-QSO view";
    EXPECT_EQ(TopLeftOf(setup), XY(kSetupPlace));
    ASSERT_TRUE(WaitUntil([&] { return host->FrequencyReads() >= 1; }));
    AddLogAndResult("CW");

    ASSERT_TRUE(RefreshWith(L"DL1AAA", 14025000.0)) << "a call check caused no refresh";
    EXPECT_NE(WaitForWindow("CQ-WPX-CW-2021 Working prefix 3"), nullptr) << Text(prefix);
    EXPECT_EQ(Text(prev), "CQ-WPX-CW-2021 Previous QSO");

    // The grid: sorted, 40 pixels a cell.
    std::optional<Picture> grid;
    EXPECT_TRUE(WaitUntil([&] { return (grid = LastPicture(kGridBackground)) && !grid->texts.empty(); }))
        << "the grid was not painted with prefixes";
    if (grid) {
        EXPECT_EQ(grid->texts, (std::vector<DrawnText>{{5, 0, "DL1"}, {45, 0, "K2"}, {85, 0, "W1"}}));
    }

    // The table: the entry call's last QSO per band, the 20m row highlighted.
    std::optional<Picture> table;
    EXPECT_TRUE(WaitUntil([&] {
        table = LastPicture(kTableBackground);
        return table && table->fills.size() == 1 && TextAt(*table, 160, 0) == "DL1AAA";
    })) << "the table was not painted with the entry call and a highlighted row";
    ASSERT_TRUE(table);
    const int h = table->item.bottom / 7;
    EXPECT_EQ(TextAt(*table, 160, 0), "DL1AAA");
    EXPECT_EQ(RowAt(*table, 10 + 1 * h), (std::vector<std::string>{"160m", "   -", "   -", "   -"}));
    EXPECT_EQ(RowAt(*table, 10 + 3 * h), (std::vector<std::string>{"40m", "CW", "13:10", "101"}));
    EXPECT_EQ(RowAt(*table, 10 + 4 * h), (std::vector<std::string>{"20m", "CW", "12:34", "057"}));
    ASSERT_EQ(table->fills.size(), 1u);
    EXPECT_EQ(table->fills[0].colour, kHighlight);
    EXPECT_EQ(table->fills[0].rect.top, 4 * h + 10);
    EXPECT_EQ(table->fills[0].rect.bottom, 5 * h);

    // On the screen: the panels' colours and the highlighted row, sampled
    // right of the texts.
    HWND tablePanel = GetDlgItem(prev, kPanel);
    HWND gridPanel = GetDlgItem(prefix, kPanel);
    RECT tableRect{}, gridRect{}, setupRect{};
    GetClientRect(tablePanel, &tableRect);
    GetClientRect(gridPanel, &gridRect);
    GetClientRect(setup, &setupRect);
    ASSERT_GE(tableRect.right, 300);
    auto shows = [](HWND window, int x, int y, Rgb colour) {
        return WaitUntil([&] { return ClientPixel(window, x, y) == colour; }, std::chrono::seconds(3));
    };
    const int x = tableRect.right - 3;
    EXPECT_TRUE(shows(tablePanel, x, 4 * h + 15, kHighlight)) << Show(ClientPixel(tablePanel, x, 4 * h + 15));
    EXPECT_TRUE(shows(tablePanel, x, 3 * h + 15, kTableBackground)) << Show(ClientPixel(tablePanel, x, 3 * h + 15));
    EXPECT_TRUE(shows(gridPanel, gridRect.right - 3, gridRect.bottom - 3, kGridBackground))
        << Show(ClientPixel(gridPanel, gridRect.right - 3, gridRect.bottom - 3));
    EXPECT_TRUE(shows(setup, setupRect.right - 3, setupRect.bottom - 3, kGridBackground))
        << Show(ClientPixel(setup, setupRect.right - 3, setupRect.bottom - 3));

    EXPECT_NE(SaveArtifact(CaptureWindow(setup), "setup-window"), "");
    EXPECT_NE(SaveArtifact(CaptureWindow(prefix), "working-prefix-window"), "");
    EXPECT_NE(SaveArtifact(CaptureWindow(prev), "previous-qso-window"), "");

    // 300 Hz is not a move; tuning to 40m is: "<SP1>" once, and the highlight follows.
    ASSERT_TRUE(RefreshWith(L"DL1AAA", 14025300.0));
    ASSERT_TRUE(RefreshWith(L"DL1AAA", 7012500.0));
    EXPECT_TRUE(WaitUntil([&] { return host->Macros().size() >= 4; }));
    EXPECT_EQ(host->Macros(), (std::vector<std::string>{"<MODE:CW>", "<BAUDRATE:27>", "<SP1>", "<SP1>"}));
    EXPECT_TRUE(shows(tablePanel, x, 3 * h + 15, kHighlight)) << Show(ClientPixel(tablePanel, x, 3 * h + 15));
    EXPECT_TRUE(shows(tablePanel, x, 4 * h + 15, kTableBackground)) << Show(ClientPixel(tablePanel, x, 4 * h + 15));

    for (const int field : host->EntryFieldArguments()) EXPECT_EQ(field, 5);
    EXPECT_EQ(host->UnexpectedCalls(), std::vector<std::string>{});
}

// An own country of the Russian list: the Setup window's captions, labels and
// the views' titles in Russian, whatever the system's code page.
TEST_F(LiveWindows, RussianCaptions) {
    StoreViewsAndPlaces();
    Store("setup_view_contest", "1");
    Store("contest_x", "20");
    Store("contest_y", "380");
    StartHost(L"DL1AAA", 14025000.0);
    ASSERT_EQ(Reset("UA9"), 1);
    HWND setup = WaitForWindow("Настройки CQ-WPX-SSB 2021");
    ASSERT_NE(setup, nullptr) << "no Setup window with the Russian title";
    EXPECT_EQ(ItemText(setup, kViewLabel), "Отображать");
    EXPECT_EQ(ItemText(setup, kModeLabel), "Вид связи");
    EXPECT_EQ(ItemText(setup, kViewPrefix), "Отработанные префиксы");
    EXPECT_EQ(ItemText(setup, kViewPrevQso), "Предыдущие QSO");
    EXPECT_EQ(ItemText(setup, kOnTop), "Поверх окон");
    EXPECT_EQ(ItemText(setup, kViewContest), "Время и темп");
    const RECT view = RectInParent(GetDlgItem(setup, kViewLabel));
    const RECT mode = RectInParent(GetDlgItem(setup, kModeLabel));
    EXPECT_EQ((std::vector<LONG>{view.left, view.top, view.right, view.bottom}), (std::vector<LONG>{150, 5, 350, 25}));
    EXPECT_EQ((std::vector<LONG>{mode.left, mode.top, mode.right, mode.bottom}), (std::vector<LONG>{20, 5, 110, 25}));

    HWND prev = WaitForWindow("CQ-WPX-SSB-2021 Предыдущие QSO");
    EXPECT_NE(prev, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return host->FrequencyReads() >= 1; }));
    AddLogAndResult("SSB");
    ASSERT_TRUE(RefreshWith(L"DL1AAA", 14025000.0));
    HWND prefix = WaitForWindow("CQ-WPX-SSB-2021 Отработанные префиксы 3");
    EXPECT_NE(prefix, nullptr);
    if (prefix != nullptr && prev != nullptr) {
        HWND panel = GetDlgItem(prev, kPanel);
        RECT r{};
        GetClientRect(panel, &r);
        const int h = r.bottom / 7;
        EXPECT_TRUE(WaitUntil([&] { return ClientPixel(panel, r.right - 3, 4 * h + 15) == kHighlight; }));
        HWND contest = WaitForWindow("CQ-WPX-SSB-2021 Время и темп");
        ASSERT_NE(contest, nullptr);
        EXPECT_EQ(ItemText(contest, kCategory), "Один оператор, 36 ч");
        EXPECT_NE(SaveArtifact(CaptureWindows({setup, prefix, prev, contest}), "windows-russian"), "");
    }
}

// Each line of a panel, its cells left to right joined by " | ".
std::vector<std::string> LinesOf(const Picture& picture) {
    std::vector<int> heights;
    for (const DrawnText& t : picture.texts)
        if (std::find(heights.begin(), heights.end(), t.y) == heights.end()) heights.push_back(t.y);
    std::sort(heights.begin(), heights.end());
    std::vector<std::string> lines;
    for (const int y : heights) {
        std::string line;
        for (const std::string& cell : RowAt(picture, y)) line += (line.empty() ? "" : " | ") + cell;
        lines.push_back(line);
    }
    return lines;
}

// The contest view, opened from its Setup box: the log's operating time by
// the contest's rule and its projection; then the run against a reference
// curve named in the view, a file that is no curve, the entry's category;
// and at last a contest that is on now, with its running pause.
TEST_F(LiveWindows, ContestViewWithAndWithoutAReference) {
    StoreViewsAndPlaces();
    Store("setup_view_pref", nullptr);
    Store("setup_view_prev_qso", nullptr);
    Store("contest_x", "450");
    Store("contest_y", "20");
    Store("CW", "1");
    ASSERT_EQ(Reset(), 1);
    HWND setup = WaitForWindow("Setup CQ-WPX-CW 2021");
    ASSERT_NE(setup, nullptr);
    AddLogAndResult("CW");
    Click(setup, kViewContest);
    HWND view = WaitForWindow("CQ-WPX-CW-2021 Time and pace");
    ASSERT_NE(view, nullptr) << "the box opened no contest view";
    EXPECT_EQ(TopLeftOf(view), XY(kContestPlace));
    EXPECT_TRUE(IsChecked(setup, kViewContest));
    EXPECT_EQ(Setting("setup_view_contest"), "1");
    EXPECT_EQ(ItemText(view, kCategory), "Single-op, 36 h");

    std::vector<std::string> lines;
    auto look = [&] {
        InvalidateRect(GetDlgItem(view, kPanel), nullptr, FALSE);
        if (const auto picture = LastPicture(kContestBackground)) lines = LinesOf(*picture);
    };
    auto shows = [&](const std::string& line) {
        return WaitUntil([&] {
            look();
            return std::find(lines.begin(), lines.end(), line) != lines.end();
        });
    };
    // Five QSOs from 12:00 to 13:10, none 60 minutes apart; the contest's
    // dates lie in 2021, so the figures are the log's own.
    EXPECT_TRUE(shows("Operating 1:10 of 36:00, 34:50 left")) << testing::PrintToString(lines);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[1], "Outside the contest: the log's figures");
    EXPECT_EQ(lines[2], "Off-times: 0, 0:00 in all");
    EXPECT_EQ(lines.back().rfind("Projected final: ", 0), 0u) << lines.back();

    // The reference at the log's minute (13:11 into the contest), read when
    // Enter takes its name; 4 QSOs with 11 points and 3 prefixes count.
    const std::string curve = dir.Path() + "\\reference.csv";
    ASSERT_TRUE(WriteBytes(curve, "elapsed_minutes,qsos,points,prefixes,score,operating_minutes,contest\r\n"
                                  "0,0,0,0,0,0,CQ-WPX-CW\r\n1000,10,20,5,100,500,CQ-WPX-CW\r\n"
                                  "2880,20,40,10,400,1500,CQ-WPX-CW\r\n"));
    HWND reference = GetDlgItem(view, kReference);
    auto name = [&](const std::string& path) {
        SendMessageA(reference, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PressKey(reference, VK_RETURN);
    };
    name(curve);
    EXPECT_TRUE(shows("At 13:11 | run | reference | +/-")) << testing::PrintToString(lines);
    EXPECT_TRUE(shows("Score | 33 | 79 | -46")) << testing::PrintToString(lines);
    EXPECT_TRUE(shows("QSOs | 4 | 8 | -4"));
    EXPECT_TRUE(shows("Prefixes | 3 | 4 | -1"));
    EXPECT_TRUE(shows("Reference final 400"));
    EXPECT_TRUE(shows("Projected final: 74 to 376"));
    EXPECT_EQ(Setting("contest_reference"), curve);

    const std::string broken = dir.Path() + "\\broken.csv";
    ASSERT_TRUE(WriteBytes(broken, "elapsed_minutes,qsos,points,prefixes,score,operating_minutes,contest\r\n"
                                   "0,0,0,0,0,0,CQ-WPX-CW\r\n10,1,2,1\r\n"));
    name(broken);
    EXPECT_TRUE(shows("reference: line 3 is not a curve row")) << testing::PrintToString(lines);

    // Classic counts 24 hours; the choice is kept.
    HWND category = GetDlgItem(view, kCategory);
    SendMessageW(category, CB_SETCURSEL, 1, 0);
    SendMessageW(view, WM_COMMAND, MAKEWPARAM(kCategory, CBN_SELCHANGE), reinterpret_cast<LPARAM>(category));
    EXPECT_TRUE(shows("Operating 1:10 of 24:00, 22:50 left")) << testing::PrintToString(lines);
    EXPECT_EQ(Setting("contest_category"), "1");
    SendMessageW(category, CB_SETCURSEL, 0, 0);
    SendMessageW(view, WM_COMMAND, MAKEWPARAM(kCategory, CBN_SELCHANGE), reinterpret_cast<LPARAM>(category));

    // A contest on now: 20 hours in, QSOs every 3 minutes for 8 hours, an
    // off-time, then every 4 minutes up to 25 minutes ago. The pause runs
    // on; the reference is a curve of 25 QSOs an hour.
    std::string rising = "elapsed_minutes,qsos,points,prefixes,score,operating_minutes,contest\r\n";
    for (int e = 0; e <= 2880; e += 10) {
        const int qsos = e * 25 / 60, prefixes = qsos < 400 ? qsos * 3 / 4 : 300 + qsos / 4;
        rising += std::to_string(e) + "," + std::to_string(qsos) + "," + std::to_string(2 * qsos) + "," +
                  std::to_string(prefixes) + "," + std::to_string(2 * qsos * prefixes) + "," + std::to_string(e * 3 / 4) +
                  ",CQ-WPX-CW\r\n";
    }
    ASSERT_TRUE(WriteBytes(curve, rising));
    SYSTEMTIME now;
    GetSystemTime(&now);
    const int minute = now.wHour * 60 + now.wMinute;
    auto ago = [&](int minutes) { return At(now.wYear, now.wMonth, now.wDay, 0, minute - minutes); };
    ASSERT_EQ(dll.Reset(dir.Path() + "\\", "K1ABC", ago(20 * 60), ago(-28 * 60), "K", "NA"), 1);
    const char* const prefixes[] = {"W1", "DL1", "K2", "JA1", "G4", "UA3", "I2", "EA8", "VK2", "PY2", "ZS6", "F5"};
    const char* const countries[] = {"K", "DL", "K", "JA", "G", "UA", "I", "EA8", "VK", "PY", "ZS", "F"};
    const char* const continents[] = {"NA", "EU", "NA", "AS", "EU", "EU", "EU", "AF", "OC", "SA", "AF", "EU"};
    int serial = 0;
    auto log = [&](int minutesAgo, int n) {
        Qso q = CwQso("", n % 3 ? "20m" : "40m", n % 3 ? 14020000 : 7020000, "001", "001", prefixes[n % 12],
                      countries[n % 12], continents[n % 12], 0, 0);
        const std::string call = std::string(prefixes[(n * 7) % 12]) + std::to_string(n) + "X";
        q.call = call;
        q.wpxPrefix = prefixes[(n * 7) % 12] + std::to_string(n % 40);
        q.exchangeSent = std::to_string(++serial);
        q.time = ago(minutesAgo);
        return dll.Add(q);
    };
    int n = 0;
    for (int m = 20 * 60; m > 12 * 60; m -= 3) log(m, n++);
    for (int m = 10 * 60; m >= 25; m -= 4) log(m, n++);
    name(curve);
    // The host's next call check refreshes the views: the title takes the new contest's year.
    dll.Check("DL1AAA", "CW", "DL1", "DL", "20m", nullptr);
    EXPECT_NE(WaitForWindow("CQ-WPX-CW-" + std::to_string(stats::OleDateToFields(ago(20 * 60).m_dt)->year) + " Time and pace"), nullptr);
    EXPECT_TRUE(WaitUntil([&] {
        look();
        return std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("Pause 0:2", 0) == 0; });
    })) << testing::PrintToString(lines);
    EXPECT_TRUE(std::find(lines.begin(), lines.end(), "Off-times: 1, 2:03 in all") != lines.end())
        << testing::PrintToString(lines);
    EXPECT_NE(SaveArtifact(CaptureWindow(view), "contest-view"), "");
}

// ---- Posting the score ----

// The contest view's scoreboard window, with its settings, posts to boards on
// this machine: the document with the user and password in its Basic header,
// the password kept protected in the settings file; a board that refuses them
// shows its line; one that accepts and never answers holds up neither a reset
// nor the unload.
TEST_F(LiveWindows, PostsTheScoreToALocalBoard) {
    LocalBoard accepting("200 OK", "OK-Full\r\n");
    ASSERT_NE(accepting.Port(), 0);
    Store("contest_x", "450");
    Store("contest_y", "20");
    Store("setup_x", "20");
    Store("setup_y", "20");
    Store("setup_view_contest", "1");
    Store("CW", "1");
    ASSERT_EQ(Reset(), 1);
    HWND view = WaitForWindow("CQ-WPX-CW-2021 Time and pace");
    ASSERT_NE(view, nullptr);
    AddLogAndResult("CW");
    EXPECT_EQ(ItemText(view, kScoreboardStatus), "off");

    // A modal window of the window thread: opened and confirmed by posted
    // messages, which do not wait for it.
    auto openBoard = [&] {
        PostMessageW(view, WM_COMMAND, MAKEWPARAM(kScoreboardButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(view, kScoreboardButton)));
        return WaitForWindow("Scoreboard");
    };
    auto setItem = [](HWND board, int id, const std::string& text) {
        SendMessageA(GetDlgItem(board, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    };
    auto postTo = [&](const std::string& address) {
        HWND board = openBoard();
        if (board == nullptr) return false;
        setItem(board, kBoardAddress, address);
        PostMessageW(board, WM_COMMAND, IDOK, 0);
        return WaitUntil([&] { return FindOwnDialog("Scoreboard") == nullptr; });
    };
    const std::string password = "pw&<\"K1";  // never shown: compared only

    HWND board = openBoard();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(ItemText(board, kBoardAddress), "https://contestonlinescore.com/post/");
    EXPECT_EQ(ItemText(board, kBoardUser), "K1ABC");  // the call by default
    SendMessageW(GetDlgItem(board, kBoardEnable), BM_SETCHECK, BST_CHECKED, 0);
    setItem(board, kBoardAddress, accepting.Address());
    setItem(board, kBoardPassword, password);
    PostMessageW(board, WM_COMMAND, IDOK, 0);

    // Enabled, it posts at once.
    ASSERT_TRUE(WaitUntil([&] { return !accepting.Requests().empty(); }, std::chrono::seconds(20)));
    const std::string request = accepting.Requests().front();
    EXPECT_EQ(request.rfind("POST /post/ HTTP/1.1\r\n", 0), 0u) << request.substr(0, 40);
    EXPECT_EQ(HeaderOf(request, "Content-Type"), "text/xml; charset=utf-8");
    // "K1ABC:" and the password, in base64.
    EXPECT_TRUE(HeaderOf(request, "Authorization") == "Basic SzFBQkM6cHcmPCJLMQ==") << "the Basic header is not the user's";
    const std::string body = BodyOf(request);
    EXPECT_EQ(body.rfind("<?xml", 0), 0u) << body;
    EXPECT_NE(body.find("<dynamicresults>"), std::string::npos) << body;
    for (const char* element : {"<contest>CQ-WPX-CW</contest>", "<call>K1ABC</call>", "<score>33</score>"})
        EXPECT_NE(body.find(element), std::string::npos) << element << " not in " << body;
    EXPECT_TRUE(WaitUntil([&] {
        const std::string line = ItemText(view, kScoreboardStatus);
        return line.rfind("posted ", 0) == 0 && line.find(" UTC: 200 OK-Full") == 12;
    })) << ItemText(view, kScoreboardStatus);

    // Kept protected: the file holds the key, and no byte of the password's text.
    EXPECT_EQ(Setting("scoreboard_address"), accepting.Address());
    EXPECT_NE(Setting("scoreboard_password"), "<missing>");
    const std::optional<std::string> file = ReadBytes(SettingsFile());
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->find(password) == std::string::npos) << "the settings file holds the password";

    board = openBoard();
    ASSERT_NE(board, nullptr);
    EXPECT_NE(SaveArtifact(CaptureWindows({view, board}), "scoreboard-window"), "");
    PostMessageW(board, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return FindOwnDialog("Scoreboard") == nullptr; }));

    // Another board is tried at once; this one refuses the call and password.
    LocalBoard refusing("401 Unauthorized", "");
    ASSERT_TRUE(postTo(refusing.Address()));
    EXPECT_TRUE(WaitUntil([&] { return ItemText(view, kScoreboardStatus) == "the board refused the call or password (401)"; },
                          std::chrono::seconds(20)))
        << ItemText(view, kScoreboardStatus);

    // One that accepts the post and never answers.
    LocalBoard silent("", "");
    ASSERT_TRUE(postTo(silent.Address()));
    ASSERT_TRUE(WaitUntil([&] { return !silent.Requests().empty(); }, std::chrono::seconds(20)));
    EXPECT_EQ(ItemText(view, kScoreboardStatus), "posting to 127.0.0.1...");
    auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Reset(), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "the reset waited for the board";
    start = std::chrono::steady_clock::now();
    dll.Free();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "the unload waited for the board";
}

// ---- Unloading with the windows open ----

// Messages to the window thread's windows, and the library's unload, in the
// order they happened.
struct Event {
    HWND window;  // null for the unload
    UINT message;
};
std::mutex g_eventsGuard;
std::vector<Event> g_events;

void Record(HWND window, UINT message) {
    std::lock_guard<std::mutex> lock(g_eventsGuard);
    g_events.push_back(Event{window, message});
}

LRESULT CALLBACK WatchMessages(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && (sent->message == WM_CLOSE || sent->message == WM_NCDESTROY))
        Record(sent->hwnd, sent->message);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The loader's notification of an unloaded library (ntdll).
struct UnloadedLibrary {
    ULONG flags;
    const void* fullName;
    const void* baseName;
    void* base;
    ULONG size;
};
using DllNotification = void(CALLBACK*)(ULONG reason, const UnloadedLibrary* data, void* context);
using RegisterDllNotification = LONG(NTAPI*)(ULONG flags, DllNotification callback, void* context, void** cookie);
using UnregisterDllNotification = LONG(NTAPI*)(void* cookie);
constexpr ULONG kUnloaded = 2;

void CALLBACK WatchUnload(ULONG reason, const UnloadedLibrary* data, void* library) {
    if (reason == kUnloaded && data->base == library) Record(nullptr, 0);
}

// The host ends with the windows open: the previous-QSO view, the
// working-prefix view and the Setup window are closed in that order, and the
// library goes only after the window thread has destroyed them; quickly.
TEST_F(LiveWindows, UnloadClosesTheWindowsBeforeTheLibraryGoes) {
    StoreViewsAndPlaces();
    StartHost(L"", 0.0);
    ASSERT_EQ(Reset(), 1);
    HWND setup = WaitForWindow("Setup CQ-WPX-SSB 2021");
    HWND prefix = WaitForWindow("CQ-WPX-SSB-2021 Working prefix");
    HWND prev = WaitForWindow("CQ-WPX-SSB-2021 Previous QSO");
    ASSERT_TRUE(setup && prefix && prev);

    const DWORD threadId = GetWindowThreadProcessId(setup, nullptr);
    HANDLE thread = OpenThreadOf(setup);
    ASSERT_NE(thread, nullptr);
    {
        std::lock_guard<std::mutex> lock(g_eventsGuard);
        g_events.clear();
    }
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchMessages, nullptr, threadId);
    ASSERT_NE(hook, nullptr);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto registerNotification = reinterpret_cast<RegisterDllNotification>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrRegisterDllNotification")));
    auto unregisterNotification = reinterpret_cast<UnregisterDllNotification>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrUnregisterDllNotification")));
    ASSERT_TRUE(registerNotification && unregisterNotification);
    void* cookie = nullptr;
    ASSERT_EQ(registerNotification(0, WatchUnload, dll.Module(), &cookie), 0);

    const auto start = std::chrono::steady_clock::now();
    dll.Free();
    const auto took = std::chrono::steady_clock::now() - start;
    unregisterNotification(cookie);
    UnhookWindowsHookEx(hook);

    EXPECT_LT(took, std::chrono::seconds(2)) << "the unload waited for its time limit";
    EXPECT_EQ(GetModuleHandleA(DllPath().c_str()), nullptr);
    EXPECT_FALSE(IsWindow(setup));
    EXPECT_FALSE(IsWindow(prefix));
    EXPECT_FALSE(IsWindow(prev));
    ExpectDone(thread);
    CloseHandle(thread);

    std::vector<Event> events;
    {
        std::lock_guard<std::mutex> lock(g_eventsGuard);
        events = g_events;
    }
    auto name = [&](HWND w) -> std::string {
        return w == setup ? "Setup" : w == prefix ? "working prefix" : w == prev ? "previous QSO" : "other";
    };
    std::vector<std::string> closes, sequence;
    for (const Event& e : events) {
        if (e.message == WM_CLOSE) closes.push_back(name(e.window));
        if (e.window == nullptr)
            sequence.push_back("library unloaded");
        else if (e.message == WM_NCDESTROY && e.window == setup)
            sequence.push_back("Setup destroyed");
    }
    EXPECT_EQ(closes, (std::vector<std::string>{"previous QSO", "working prefix", "Setup"}));
    EXPECT_EQ(sequence, (std::vector<std::string>{"Setup destroyed", "library unloaded"}));
}


// Some cases end in a way the test host itself must not go on from: a child
// process of this program runs them (LiveWindows.Child, told which by
// STATS_CHILD_SCENARIO) and this side judges how it ended.
constexpr char kChildExiting[] = "StatsWineTestsChildExiting";

struct ChildEnd {
    bool ended = false;
    DWORD exitCode = 0;
    std::chrono::milliseconds afterExiting{-1};  // from the child's last word to its end
};

ChildEnd RunChild(const char* scenario) {
    ChildEnd end;
    HANDLE exiting = CreateEventA(nullptr, TRUE, FALSE, kChildExiting);
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string line = std::string("\"") + self + "\" --gtest_filter=LiveWindows.Child \"" + DllPath() + "\"";
    SetEnvironmentVariableA("STATS_CHILD_SCENARIO", scenario);
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &child);
    SetEnvironmentVariableA("STATS_CHILD_SCENARIO", nullptr);
    if (!started) return end;
    HANDLE waits[] = {exiting, child.hProcess};
    if (WaitForMultipleObjects(2, waits, FALSE, 60000) == WAIT_OBJECT_0) {
        const auto signalled = std::chrono::steady_clock::now();
        if (WaitForSingleObject(child.hProcess, 10000) == WAIT_OBJECT_0)
            end.afterExiting = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - signalled);
    }
    end.ended = WaitForSingleObject(child.hProcess, 60000) == WAIT_OBJECT_0;
    GetExitCodeProcess(child.hProcess, &end.exitCode);
    if (!end.ended) TerminateProcess(child.hProcess, 1);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
    CloseHandle(exiting);
    return end;
}

TEST_F(LiveWindows, Child) {
    char scenario[32] = {};
    if (GetEnvironmentVariableA("STATS_CHILD_SCENARIO", scenario, sizeof scenario) == 0)
        GTEST_SKIP() << "runs in a child process only";
    StoreViewsAndPlaces();
    StartHost(L"", 0.0);
    ASSERT_EQ(Reset(), 1);
    ASSERT_NE(WaitForWindow("Setup CQ-WPX-SSB 2021"), nullptr);
    ASSERT_TRUE(RefreshWith(L"DL1AAA", 14025000.0));
    if (std::string(scenario) == "exit") {
        SetEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, kChildExiting));
        ExitProcess(0);
    }
    // "unload": the host's object is served by the thread that unloads the
    // library, so a refresh's call cannot be answered during the unload.
    host->HoldAnswers();
    ASSERT_TRUE(WaitUntil([&] {
        dll.Check("DL1AAA", "CW", "DL1", "DL", "20m", nullptr);
        Sleep(40);
        return host->CallsWaiting() > 0;
    }));
    const auto start = std::chrono::steady_clock::now();
    dll.Free();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    host->AnswerAgain();
    Sleep(1000);  // the call is answered now, after the library has gone
    std::printf("the unload took %ld ms\n", static_cast<long>(took.count()));
    std::fflush(stdout);
    // No teardown: the window thread may be held for good.
    ExitProcess(took < std::chrono::seconds(8) ? 0 : 3);
}

// The process ends with the windows open: the system has ended the window
// thread before the library hears of it, and nothing waits for that thread.
TEST_F(LiveWindows, ProcessExitWithTheWindowsOpenEndsAtOnce) {
    const ChildEnd end = RunChild("exit");
    ASSERT_TRUE(end.ended);
    EXPECT_EQ(end.exitCode, 0u);
    EXPECT_GE(end.afterExiting.count(), 0) << "the child did not reach its exit";
    EXPECT_LT(end.afterExiting, std::chrono::seconds(1));
}

// The host unloads the library while a refresh waits for the host's answer:
// the call is given up (where the system cannot give it up, as under wine,
// the window thread is held for good once the stop's time is out). The
// unload ends within that time, and nothing of the library runs when the
// answer comes after it has gone.
TEST_F(LiveWindows, UnloadWhileARefreshWaitsForTheHost) {
    const ChildEnd end = RunChild("unload");
    ASSERT_TRUE(end.ended);
    EXPECT_EQ(end.exitCode, 0u) << "3: the unload took too long; other: the child failed or crashed";
}

// A reset starts the window thread and the host unloads the library at once,
// again and again, in a host process of its own that has prepared nothing but
// what a host has (see unload_host.cpp): one without a window of its own,
// whose first window the plug-in's thread makes, in five fresh processes, and
// one with a window, twenty times; and one whose scoreboard accepted a post
// and never answers, twice. Every unload ends in under 1 s, also while
// every core is busy: the thread's start-up is over when the reset returns,
// and nothing of its way out waits for the loader's lock the unload holds.
TEST_F(LiveWindows, UnloadRightAfterAReset) {
    dll.Free();
    auto runHost = [](const char* kind, int times) {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string line = std::string("\"") + self + "\" --unload-host " + kind + " " + std::to_string(times) +
                           " \"" + DllPath() + "\"";
        STARTUPINFOA start{};
        start.cb = sizeof start;
        PROCESS_INFORMATION child{};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &child))
            return std::string("cannot start the host");
        DWORD code = 0;
        const bool ended = WaitForSingleObject(child.hProcess, 60000) == WAIT_OBJECT_0;
        if (!ended) TerminateProcess(child.hProcess, 9);
        GetExitCodeProcess(child.hProcess, &code);
        CloseHandle(child.hProcess);
        CloseHandle(child.hThread);
        return !ended ? std::string("hung (killed after 60 s)")
               : code == 0 ? std::string()
               : code == 1 ? std::string("an unload took 1 s or more")
                           : "failed with " + std::to_string(code);
    };
    auto runAll = [&](const char* load) {
        for (int i = 0; i < 5; ++i) EXPECT_EQ(runHost("bare", 1), "") << "a host without a window, " << load << ", run " << i;
        EXPECT_EQ(runHost("window", 20), "") << "a host with a window, " << load;
    };
    runAll("idle");
    // A post in flight to a board that accepted it and never answers.
    EXPECT_EQ(runHost("board", 2), "") << "a host whose scoreboard never answers";
    // Busy: a spinning thread on every core.
    std::atomic<bool> spin{true};
    struct Spinner {
        static DWORD WINAPI Run(LPVOID flag) {
            while (static_cast<std::atomic<bool>*>(flag)->load()) {
            }
            return 0;
        }
    };
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    std::vector<HANDLE> spinners;
    for (DWORD i = 0; i < system.dwNumberOfProcessors; ++i)
        spinners.push_back(CreateThread(nullptr, 0, Spinner::Run, &spin, 0, nullptr));
    runAll("busy");
    spin.store(false);
    for (HANDLE t : spinners)
        if (t != nullptr) {
            WaitForSingleObject(t, INFINITE);
            CloseHandle(t);
        }
}

// A host that fails every call: one message box, however many refreshes
// follow; the unload closes it (the fixture's end: quickly, the thread ends).
TEST_F(LiveWindows, FailingHostShowsOneBox) {
    StartHost(L"", 0.0);
    ASSERT_EQ(Reset(), 1);
    HWND setup = WaitForWindow("Setup CQ-WPX-SSB 2021");
    ASSERT_NE(setup, nullptr);
    ASSERT_TRUE(RefreshWith(L"DL1AAA", 14025000.0));
    host->SetFailing(true);
    auto boxes = [&] {
        return OwnWindows([&](HWND w) { return IsWindowVisible(w) && GetWindow(w, GW_OWNER) == setup; }).size();
    };
    ASSERT_TRUE(WaitUntil([&] {
        dll.Check("DL1AAA", "CW", "DL1", "DL", "20m", nullptr);
        Sleep(40);
        return boxes() > 0;
    }));
    for (int i = 0; i < 10; ++i) {
        dll.Check("DL1AAA", "CW", "DL1", "DL", "20m", nullptr);
        Sleep(40);
    }
    EXPECT_EQ(boxes(), 1u);
}

}  // namespace
}  // namespace wine_tests
