// The decisions of the live windows: refresh cycle, Setup check boxes, window
// places, titles and the two panel pictures.
#include <map>

#include "test_support.h"
#include "ui/info_panel.h"
#include "ui/refresh_cycle.h"
#include "ui/setup_model.h"

using namespace stats;
using namespace stats::test;

namespace {

class FakeHost final : public IHostLink {
public:
    void Connect() override { connected = running; }
    bool Connected() const override { return connected; }
    void SendMacro(const std::string& macro) override {
        if (failing) throw HostLinkError("host gone");
        if (connected) macros.push_back(macro);
    }
    double GetFrequency() override {
        if (failing) throw HostLinkError("host gone");
        return connected ? frequency : 0.0;
    }
    std::string GetEntryField(int field) override {
        lastField = field;
        return connected ? entry : std::string();
    }
    bool running = true, connected = false, failing = false;
    double frequency = 14025000.0;
    std::string entry;
    int lastField = 0;
    std::vector<std::string> macros;
};

class FakeWindows final : public IViewWindows {
public:
    bool IsOpen(View v) const override { return open.count(v) != 0 && open.at(v); }
    void Open(View v) override {
        open[v] = true;
        log.push_back(std::string("open ") + Name(v));
    }
    void Close(View v) override {
        open[v] = false;
        log.push_back(std::string("close ") + Name(v));
    }
    void SetTitle(View v, const std::string& t) override { titles[v] = t; }
    void RepaintPanel(View v) override { log.push_back(std::string("repaint ") + Name(v)); }
    void PostRefresh() override { log.push_back("post"); }
    static const char* Name(View v) { return v == View::kPrefixes ? "prefixes" : "prev"; }
    std::map<View, bool> open;
    std::map<View, std::string> titles;
    std::vector<std::string> log;
};

class LiveWindows : public PluginTest {
protected:
    LiveWindows() {
        plugin.State().g_bCyrillicUi = 0;  // the fixture's own country reads Russian
        ui.g_ViewBands.assign(std::begin(kBandNames), std::end(kBandNames));
    }
    void Refresh(bool prefixes = false, bool prev = false) {
        host.Connect();
        plugin.State().g_bRefreshIdle = 0;
        RefreshViews(RefreshInput{prefixes, prev, false}, plugin.State(), ui, host, windows, plugin.Settings());
    }
    const std::vector<std::string>& Row(int band) { return plugin.State().g_PrevQsoRows[static_cast<std::size_t>(band)]; }

    UiState ui;
    FakeHost host;
    FakeWindows windows;
};

TEST_F(LiveWindows, RefreshFillsThePreviousQsoRowsWithTheLastQsoPerBand) {
    Qso a = Make("K1ZZ", "20m", "K", "NA", "K1", 12, 34);
    a.exchRcvd = "057";
    Qso later = a;
    later.time = At(2021, 5, 29, 13, 0);
    later.exchRcvd = "099";
    Qso forty = Make("K1ZZ", "40m", "K", "NA", "K1", 14, 0);
    forty.mode = "SSB";
    Add(a);
    Add(later);
    Add(forty);
    Add(Make("K1ZY", "10m", "K", "NA", "K1", 14, 5));
    host.entry = "K1ZZ";
    Refresh(false, true);
    EXPECT_EQ(host.lastField, 5);
    EXPECT_EQ(Row(3), (std::vector<std::string>{"20m", "CW", "13:00", "099", "   -"}));
    EXPECT_EQ(Row(2), (std::vector<std::string>{"40m", "SSB", "14:00", "015", "   -"}));
    EXPECT_EQ(Row(5), (std::vector<std::string>{"10m", "   -", "   -", "   -", "   -"}));
    EXPECT_EQ(plugin.State().g_bRefreshIdle, 1);
    EXPECT_EQ(windows.titles[View::kPrevQso], "CQ-WPX-SSB-2021 Previous QSO");

    host.entry = "";  // an empty entry blanks the rows and still follows the band
    host.frequency = 7012000;
    Refresh();
    EXPECT_EQ(Row(3)[1], "   -");
    EXPECT_EQ(ui.g_nCurrentBand, 2);
}

TEST_F(LiveWindows, OneOrTwoTypedCharactersChangeNothing) {
    host.entry = "K1";
    Refresh();
    EXPECT_EQ(Row(0), (std::vector<std::string>{"160m", "-", "-", "-", "-"}));
    EXPECT_TRUE(host.macros.empty());
    EXPECT_EQ(ui.g_nCurrentBand, -1);
    EXPECT_EQ(plugin.State().g_bRefreshIdle, 1);
}

TEST_F(LiveWindows, SendsSp1OnlyPast300HertzAndMapsTheBand) {
    Refresh();
    EXPECT_EQ(host.macros, std::vector<std::string>{"<SP1>"}) << "the first refresh differs from 0 Hz";
    EXPECT_EQ(ui.g_nCurrentBand, 3);
    host.frequency = 14025300;
    Refresh();
    EXPECT_EQ(host.macros.size(), 1u);
    host.frequency = 14025301;
    Refresh();
    EXPECT_EQ(host.macros.size(), 2u);
    EXPECT_EQ(ui.g_dLastSp1Frequency, 14025301);
    host.frequency = 10120000;  // 30 m is no contest band: the band stays
    Refresh();
    EXPECT_EQ(ui.g_nCurrentBand, 3);
    host.frequency = 1830000;
    Refresh();
    EXPECT_EQ(ui.g_nCurrentBand, 0);
    EXPECT_EQ(BandOfFrequency(28999999), 5);
    EXPECT_EQ(BandOfFrequency(29000000), -1);
}

TEST_F(LiveWindows, WantedViewsOpenAndThePrefixTitleCountsOnceABandIsKnown) {
    for (const char* p : {"K1", "DL1", "UA3"}) Add(Make(p, "20m", "K", "NA", p, 10, 0));
    Result();
    host.running = false;
    Refresh(true, true);
    EXPECT_EQ(windows.log, (std::vector<std::string>{"open prefixes", "open prev"}));
    EXPECT_EQ(windows.titles[View::kPrefixes], "CQ-WPX-SSB-2021 Working prefix");
    EXPECT_EQ(plugin.ReadSetting("setup_view_pref"), "1");
    EXPECT_EQ(plugin.ReadSetting("setup_view_prev_qso"), "1");
    EXPECT_EQ(plugin.State().g_bRefreshIdle, 1) << "without a host only the views open";

    host.running = true;
    Refresh(true, true);
    EXPECT_EQ(windows.titles[View::kPrefixes], "CQ-WPX-SSB-2021 Working prefix 3");
    EXPECT_EQ(windows.log.back(), "repaint prev");
}

TEST_F(LiveWindows, AFailingHostCallStillEndsTheRefresh) {
    host.failing = true;
    EXPECT_THROW(Refresh(), HostLinkError);
    EXPECT_EQ(plugin.State().g_bRefreshIdle, 1) << "or call checks would never post again";
}

// The Setup window is placed before the host is reached, and takes the stored
// mode only once the host has heard it.
TEST_F(LiveWindows, AHostFailingTheFirstMacroLeavesTheSetupPlacedAndTheModeUntaken) {
    plugin.WriteSetting("CW", "1");
    host.failing = true;
    SetupModel setup(plugin.State(), ui, host, windows, plugin.Settings());
    std::vector<int> placedAt;
    EXPECT_THROW(setup.Initialise([&](const WindowSpot& spot) { placedAt = {spot.x, spot.y}; }), HostLinkError);
    EXPECT_EQ(placedAt, (std::vector<int>{10, 400}));
    EXPECT_EQ(plugin.State().g_bCwContest, 0);
    EXPECT_EQ(setup.Flags().m_bSsb, 0);
}

TEST_F(LiveWindows, SetupStartsFromTheStoredChoices) {
    SetupModel first(plugin.State(), ui, host, windows, plugin.Settings());
    const auto start = first.Initialise();
    EXPECT_EQ(start.spot.x, 10);
    EXPECT_EQ(start.spot.y, 400);
    EXPECT_EQ(host.macros, std::vector<std::string>{"<MODE:SSB>"});
    EXPECT_EQ(first.Flags().m_bSsb, 1);
    EXPECT_EQ(first.Flags().m_bCw, 0);
    EXPECT_EQ(plugin.ReadSetting("CW"), "0");
    EXPECT_EQ(start.title, "Setup CQ-WPX-SSB 2021");
    EXPECT_EQ(ui.g_ViewBands.size(), 6u);

    plugin.WriteSetting("CW", "1");
    plugin.WriteSetting("setup_x", "120");
    plugin.WriteSetting("setup_view_pref", "1");
    host.macros.clear();
    SetupModel second(plugin.State(), ui, host, windows, plugin.Settings());
    const auto again = second.Initialise();
    EXPECT_EQ(host.macros, (std::vector<std::string>{"<MODE:CW>", "<BAUDRATE:27>"}));
    EXPECT_EQ(again.title, "Setup CQ-WPX-CW 2021");
    EXPECT_EQ(again.spot.x, 120);
    EXPECT_EQ(plugin.State().g_bCwContest, 1);
    EXPECT_TRUE(second.Refresh().wantPrefixes);
}

TEST_F(LiveWindows, CheckBoxesFollowTheWindowsAndStoreTheirKeys) {
    SetupModel setup(plugin.State(), ui, host, windows, plugin.Settings());
    setup.Initialise();
    setup.ViewClicked(View::kPrefixes);
    EXPECT_EQ(windows.log, (std::vector<std::string>{"open prefixes", "post"}));
    EXPECT_EQ(setup.Flags().m_bViewPrefix, 1);
    EXPECT_EQ(plugin.ReadSetting("setup_view_pref"), "1");
    // Closed from its own caption, the window stays known: the next click closes it.
    setup.ViewClicked(View::kPrefixes);
    EXPECT_EQ(setup.Flags().m_bViewPrefix, 0);
    EXPECT_EQ(plugin.ReadSetting("setup_view_pref"), "0");
    EXPECT_FALSE(windows.IsOpen(View::kPrefixes));

    setup.ViewClicked(View::kPrevQso);
    windows.log.clear();
    setup.OnTopClicked();
    EXPECT_EQ(windows.log, (std::vector<std::string>{"close prev", "post"}));
    EXPECT_EQ(ui.g_bOnTop, 1);
    EXPECT_EQ(plugin.ReadSetting("setup_window_on_top"), "1");
    EXPECT_EQ(plugin.ReadSetting("setup_view_prev_qso"), "1") << "the refresh reopens it on top";

    host.macros.clear();
    setup.CwClicked();
    setup.CwClicked();
    EXPECT_EQ(host.macros, (std::vector<std::string>{"<MODE:CW>", "<BAUDRATE:27>", "<MODE:CW>", "<BAUDRATE:27>"}));
    EXPECT_EQ(setup.Title(), "Setup CQ-WPX-CW 2021");
    setup.SsbClicked();
    EXPECT_EQ(setup.Flags().m_bCw, 0);
    EXPECT_EQ(setup.Flags().m_bSsb, 1);
    EXPECT_EQ(plugin.State().g_bCwContest, 0);
    EXPECT_EQ(plugin.ReadSetting("CW"), "0");
}

TEST_F(LiveWindows, WindowPlacesAreStoredWhenTheMouseFindsThemMoved) {
    plugin.WriteSetting("dxcc_y", "250");
    const SettingsKeys settings = plugin.Settings();
    EXPECT_EQ(LoadWindowSpot(settings, "dxcc_x", "dxcc_y", ui).y, 250);
    TrackWindowSpot(10, 300, settings, "dxcc_x", "dxcc_y", ui);
    EXPECT_EQ(plugin.ReadSetting("dxcc_x"), "") << "x did not change";
    EXPECT_EQ(plugin.ReadSetting("dxcc_y"), "300");
    TrackWindowSpot(0, 300, settings, "prev_x", "prev_y", ui);
    EXPECT_EQ(plugin.ReadSetting("prev_x"), "0");
    EXPECT_EQ(LoadWindowSpot(settings, "prev_x", "prev_y", ui).x, 10) << "0 reads as unset";
}

TEST(WindowTexts, RussianTitlesAndCaptions) {
    const UiLanguage ru{true, true, "2024"};
    EXPECT_EQ(SetupTitle(ru), "\xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8 CQ-WPX-CW 2024");
    EXPECT_EQ(PrefixTitle(ru, 7), "CQ-WPX-CW-2024 \xCE\xF2\xF0\xE0\xE1\xEE\xF2\xE0\xED\xED\xFB\xE5 \xEF\xF0\xE5\xF4\xE8\xEA\xF1\xFB 7");
    EXPECT_EQ(PrevQsoTitle(UiLanguage{false, true, "2024"}), "CQ-WPX-SSB-2024 \xCF\xF0\xE5\xE4\xFB\xE4\xF3\xF9\xE8\xE5 QSO");
    EXPECT_EQ(SetupCaptions(true).size(), 6u);
    EXPECT_EQ(SetupCaptions(false)[0].text, "Display");
    EXPECT_EQ(SetupCaptions(true)[0].x, 150);
}

TEST(PanelPictures, PrefixGridSortsAndWraps) {
    const PanelRect item{0, 0, 200, 100};
    EXPECT_EQ(PrefixGridPicture(item, {"W1"}, -1).size(), 1u) << "only the background before a band is known";
    const auto ops = PrefixGridPicture(item, {"W1", "a1", "K2", "DL1", "A1", "9A"}, 3);
    ASSERT_EQ(ops.size(), 7u);
    EXPECT_EQ(ops[0].kind, DrawOp::kFill);
    EXPECT_TRUE(ops[0].color == kWindowBackground);
    std::vector<std::string> order;
    for (std::size_t i = 1; i < ops.size(); ++i) order.push_back(ops[i].text);
    EXPECT_EQ(order, (std::vector<std::string>{"9A", "A1", "DL1", "K2", "W1", "a1"}));
    const std::vector<std::pair<int, int>> at = {{5, 0}, {45, 0}, {85, 0}, {125, 0}, {5, 15}, {45, 15}};
    for (std::size_t i = 0; i < at.size(); ++i) {
        EXPECT_EQ(ops[i + 1].x, at[i].first) << i;
        EXPECT_EQ(ops[i + 1].y, at[i].second) << i;
    }
}

TEST(PanelPictures, PrevQsoTableHighlightsTheRadiosBand) {
    const std::vector<std::vector<std::string>> rows(6, {"20m", "CW", "12:34", "057", "x"});
    const auto ops = PrevQsoPicture(PanelRect{0, 0, 300, 140}, rows, "", 3);
    EXPECT_TRUE(ops[0].color == kTableBackground);
    EXPECT_TRUE(ops[1].rect == (PanelRect{0, 90, 300, 100}));
    EXPECT_TRUE(ops[1].color == kCurrentBandRow);
    EXPECT_EQ(ops[4].text, "CALL");
    EXPECT_EQ(ops[4].x, 160);
    const DrawOp& lastNumber = ops.back();
    EXPECT_EQ(lastNumber.text, "057");
    EXPECT_EQ(lastNumber.x, 260);
    EXPECT_EQ(lastNumber.y, 10 + 6 * 20);
    EXPECT_EQ(PrevQsoPicture(PanelRect{0, 0, 300, 140}, rows, "K1ZZ", -1).size(), 1u + 5u + 24u);
}

}  // namespace
