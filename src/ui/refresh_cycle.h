// The refresh cycle: what the Setup window does when a refresh is posted. It
// follows the call in the host's entry field and the radio's band, fills the
// previous-QSO rows and retitles and repaints the view windows. The contest
// view needs nothing of the host: it is repainted first, host or not.
#pragma once

#include "contest/run_state.h"
#include "plugin/platform.h"
#include "ui/ui_state.h"
#include "ui/ui_texts.h"

namespace stats {

// The language of the windows as the run state has it now. Takes the guard.
UiLanguage CurrentLanguage(const RunState& state);

// Opens a view window: create, place, show, remember that it is wanted, title.
// `between` runs after the window is shown and before its key is written.
void OpenView(View view, IViewWindows& windows, const SettingsKeys& settings, const RunState& state,
              const std::function<void()>& between = nullptr);

// The settings key that remembers whether a view is wanted.
const char* ViewKey(View view);

// Band index of a radio frequency in hertz (1, 3, 7, 14, 21, 28 MHz), or -1.
int BandOfFrequency(double hertz);

struct RefreshInput {
    bool wantPrefixes;  // the Setup window's "Worked prefix" flag
    bool wantPrevQso;   // its " Previous QSO" flag
    bool wantContest = false;  // its "Time and pace" flag
};

// One refresh. Sets g_bRefreshIdle back to 1 on every way out, a failing host
// call included (which is then rethrown).
void RefreshViews(const RefreshInput& in, RunState& state, UiState& ui, IHostLink& host, IViewWindows& windows,
                  const SettingsKeys& settings);

}  // namespace stats
