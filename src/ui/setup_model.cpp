#include "ui/setup_model.h"

#include <mutex>

#include "ui/refresh_cycle.h"

namespace stats {

WindowSpot LoadWindowSpot(const SettingsKeys& settings, const char* keyX, const char* keyY, UiState& ui) {
    ui.g_nLastWindowX = settings.ReadInt(keyX);
    ui.g_nLastWindowY = settings.ReadInt(keyY);
    if (ui.g_nLastWindowX == 0) ui.g_nLastWindowX = 10;
    if (ui.g_nLastWindowY == 0) ui.g_nLastWindowY = 400;
    return WindowSpot{ui.g_nLastWindowX, ui.g_nLastWindowY};
}

void TrackWindowSpot(int left, int top, const SettingsKeys& settings, const char* keyX, const char* keyY,
                     UiState& ui) {
    if (left != ui.g_nLastWindowX) {
        ui.g_nLastWindowX = left;
        settings.WriteInt(keyX, left);
    }
    if (top != ui.g_nLastWindowY) {
        ui.g_nLastWindowY = top;
        settings.WriteInt(keyY, top);
    }
}

SetupModel::SetupModel(RunState& state, UiState& ui, IHostLink& host, IViewWindows& windows, SettingsKeys settings)
    : state_(state), ui_(ui), host_(host), windows_(windows), settings_(std::move(settings)) {}

UiLanguage SetupModel::CurrentLanguage() const { return stats::CurrentLanguage(state_); }

RefreshInput SetupModel::Refresh() const {
    return RefreshInput{flags_.m_bViewPrefix != 0, flags_.m_bViewPrevQso != 0, flags_.m_bViewContest != 0};
}

SetupModel::Start SetupModel::Initialise(const std::function<void(const WindowSpot&)>& place) {
    Start start;
    start.spot = LoadWindowSpot(settings_, "setup_x", "setup_y", ui_);
    flags_.m_bOnTop = settings_.ReadInt("setup_window_on_top");
    ui_.g_bOnTop = flags_.m_bOnTop;
    flags_.m_bViewPrefix = settings_.ReadInt("setup_view_pref");
    flags_.m_bViewPrevQso = settings_.ReadInt("setup_view_prev_qso");
    flags_.m_bViewContest = settings_.ReadInt(ViewKey(View::kContest));
    flags_.m_bCw = settings_.ReadInt("CW");
    if (place) place(start.spot);

    host_.Connect();  // without a running host the window works on alone
    SetMode(flags_.m_bCw != 0, true);

    const UiLanguage lang = CurrentLanguage();
    start.title = SetupTitle(lang);
    start.captions = SetupCaptions(lang.cyrillic);
    ui_.g_ViewBands.assign(std::begin(kBandNames), std::end(kBandNames));
    return start;
}

void SetupModel::SetMode(bool cw, bool hostFirst) {
    auto take = [&] {
        {
            std::lock_guard<std::mutex> lock(state_.guard);
            state_.g_bCwContest = cw ? 1 : 0;
        }
        flags_.m_bCw = cw ? 1 : 0;
        flags_.m_bSsb = cw ? 0 : 1;
    };
    if (!hostFirst) take();
    if (cw) {
        host_.SendMacro("<MODE:CW>");
        host_.SendMacro("<BAUDRATE:27>");
    } else {
        host_.SendMacro("<MODE:SSB>");
    }
    if (hostFirst) take();
    settings_.Write("CW", cw ? "1" : "0");
}

void SetupModel::OnTopClicked() {
    flags_.m_bOnTop = flags_.m_bOnTop ? 0 : 1;
    ui_.g_bOnTop = flags_.m_bOnTop;
    settings_.Write("setup_window_on_top", flags_.m_bOnTop ? "1" : "0");
    // The views reopen at the next refresh with the new top-most setting.
    for (const View view : {View::kPrefixes, View::kPrevQso, View::kContest})
        if (windows_.IsOpen(view)) windows_.Close(view);
    windows_.PostRefresh();
}

void SetupModel::ViewClicked(View view) {
    int& wanted = view == View::kPrefixes  ? flags_.m_bViewPrefix
                  : view == View::kPrevQso ? flags_.m_bViewPrevQso
                                           : flags_.m_bViewContest;
    // The window decides, not the box: one closed from its caption is still open here.
    if (!windows_.IsOpen(view)) {
        wanted = 1;
        OpenView(view, windows_, settings_, state_, [this] { windows_.PostRefresh(); });
    } else {
        windows_.Close(view);
        wanted = 0;
        settings_.Write(ViewKey(view), "0");
    }
}

void SetupModel::CwClicked() { SetMode(true, false); }

void SetupModel::SsbClicked() { SetMode(false, false); }

}  // namespace stats
