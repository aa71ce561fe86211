// The Setup window's decisions: its six check boxes, the contest mode it tells
// the host, the view windows it opens and closes, and what it stores.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "contest/run_state.h"
#include "plugin/platform.h"
#include "ui/ui_state.h"
#include "ui/refresh_cycle.h"
#include "ui/ui_texts.h"

namespace stats {

struct SetupFlags {
    int m_bOnTop = 0;
    int m_bViewPrefix = 0;
    int m_bViewPrevQso = 0;
    int m_bViewContest = 0;
    int m_bCw = 0;
    int m_bSsb = 0;
};

// A window's top-left corner from its two keys; a missing or 0 coordinate
// gives 10 (x) or 400 (y). Stores the pair as the last known position.
struct WindowSpot {
    int x, y;
};
WindowSpot LoadWindowSpot(const SettingsKeys& settings, const char* keyX, const char* keyY, UiState& ui);

// The mouse is over a window whose top-left corner is (left, top): a coordinate
// that differs from the last known one is taken over and stored.
void TrackWindowSpot(int left, int top, const SettingsKeys& settings, const char* keyX, const char* keyY,
                     UiState& ui);

class SetupModel {
public:
    SetupModel(RunState& state, UiState& ui, IHostLink& host, IViewWindows& windows, SettingsKeys settings);

    // Everything the window needs to show after initialisation. The caller
    // has connected nothing yet: this connects the host link. `place` gets the
    // window's place before the host is reached, so that a host that fails the
    // first macro still leaves the window where it belongs.
    struct Start {
        WindowSpot spot;
        std::string title;
        std::vector<SetupCaption> captions;
    };
    Start Initialise(const std::function<void(const WindowSpot&)>& place = nullptr);

    void OnTopClicked();
    void ViewClicked(View view);
    void CwClicked();
    void SsbClicked();

    const SetupFlags& Flags() const { return flags_; }
    std::string Title() const { return SetupTitle(CurrentLanguage()); }
    RefreshInput Refresh() const;  // what the refresh cycle needs of the window

private:
    UiLanguage CurrentLanguage() const;
    // A click takes the mode before telling the host; the start tells the
    // host first and takes the mode only once the host has heard it.
    void SetMode(bool cw, bool hostFirst);

    RunState& state_;
    UiState& ui_;
    IHostLink& host_;
    IViewWindows& windows_;
    SettingsKeys settings_;
    SetupFlags flags_;
};

}  // namespace stats
