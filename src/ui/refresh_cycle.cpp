#include "ui/refresh_cycle.h"

#include <cmath>
#include <mutex>

namespace stats {

namespace {

constexpr const char kBlankCell[] = "   -";

// Sets the idle flag whatever way the refresh ends, so that a failed host call
// cannot stop all later refreshes.
class IdleOnExit {
public:
    explicit IdleOnExit(RunState& state) : state_(state) {}
    ~IdleOnExit() {
        std::lock_guard<std::mutex> lock(state_.guard);
        state_.g_bRefreshIdle = 1;
    }

private:
    RunState& state_;
};

}  // namespace

UiLanguage CurrentLanguage(const RunState& state) {
    std::lock_guard<std::mutex> lock(state.guard);
    return UiLanguage{state.g_bCwContest != 0, state.g_bCyrillicUi != 0, state.g_StartYear};
}

const char* ViewKey(View view) {
    switch (view) {
        case View::kPrefixes:
            return "setup_view_pref";
        case View::kPrevQso:
            return "setup_view_prev_qso";
        case View::kContest:
            break;
    }
    return "setup_view_contest";
}

void OpenView(View view, IViewWindows& windows, const SettingsKeys& settings, const RunState& state,
              const std::function<void()>& between) {
    windows.Open(view);
    if (between) between();
    settings.Write(ViewKey(view), "1");
    windows.SetTitle(view, ViewTitle(view, CurrentLanguage(state)));
}

int BandOfFrequency(double hertz) {
    const double megahertz = std::trunc(hertz / 1000000.0);
    const int bands[][2] = {{1, 0}, {3, 1}, {7, 2}, {14, 3}, {21, 4}, {28, 5}};
    for (const auto& b : bands)
        if (megahertz == b[0]) return b[1];
    return -1;
}

void RefreshViews(const RefreshInput& in, RunState& state, UiState& ui, IHostLink& host, IViewWindows& windows,
                  const SettingsKeys& settings) {
    IdleOnExit idle(state);

    if (in.wantPrefixes && !windows.IsOpen(View::kPrefixes)) OpenView(View::kPrefixes, windows, settings, state);
    if (in.wantPrevQso && !windows.IsOpen(View::kPrevQso)) OpenView(View::kPrevQso, windows, settings, state);
    if (in.wantContest && !windows.IsOpen(View::kContest)) OpenView(View::kContest, windows, settings, state);
    if (windows.IsOpen(View::kContest)) {
        windows.SetTitle(View::kContest, ContestTitle(CurrentLanguage(state)));  // a reset may bring another year
        windows.RepaintPanel(View::kContest);
    }
    if (!host.Connected()) return;

    ui.g_EntryCall = host.GetEntryField(5);
    if (ui.g_EntryCall.size() == 1 || ui.g_EntryCall.size() == 2) return;  // still being typed

    {
        std::lock_guard<std::mutex> lock(state.guard);
        for (auto& row : state.g_PrevQsoRows)
            for (std::size_t cell = 1; cell < row.size(); ++cell) row[cell] = kBlankCell;
    }
    if (windows.IsOpen(View::kPrevQso)) windows.SetTitle(View::kPrevQso, PrevQsoTitle(CurrentLanguage(state)));

    if (!ui.g_EntryCall.empty()) {
        {
            std::lock_guard<std::mutex> lock(state.guard);
            const QsoLog& log = state.g_QsoLog;
            const auto call = log.FindId(ui.g_EntryCall);
            std::vector<std::optional<StringPool::Id>> bands;
            for (const std::string& band : ui.g_ViewBands) bands.push_back(log.FindId(band));
            // Later QSOs overwrite earlier ones: each row ends with the last in log order.
            for (std::size_t i = 0; call && i < log.GetCount(); ++i) {
                const QsoRecord& r = log.Record(i);
                if (r.call != *call) continue;
                for (std::size_t b = 0; b < bands.size() && b < state.g_PrevQsoRows.size(); ++b) {
                    if (!bands[b] || r.band != *bands[b]) continue;
                    auto& row = state.g_PrevQsoRows[b];
                    row[1] = log.Text(r.mode);
                    row[2] = FormatOleDate(r.time, "%H:%M");
                    row[3] = log.Text(r.exchRcvd);
                }
            }
        }
        if (windows.IsOpen(View::kPrevQso)) windows.SetTitle(View::kPrevQso, PrevQsoTitle(CurrentLanguage(state)));
    }

    const double frequency = host.GetFrequency();
    if (std::fabs(frequency - ui.g_dLastSp1Frequency) > 300.0) {
        host.SendMacro("<SP1>");
        ui.g_dLastSp1Frequency = frequency;
    }
    const int band = BandOfFrequency(frequency);
    if (band < 0) return;
    ui.g_nCurrentBand = band;

    if (windows.IsOpen(View::kPrefixes)) {
        std::size_t count = 0;
        {
            std::lock_guard<std::mutex> lock(state.guard);
            count = state.g_WorkedPrefixes.size();
        }
        windows.SetTitle(View::kPrefixes, PrefixTitle(CurrentLanguage(state), count));
        windows.RepaintPanel(View::kPrefixes);
    }
    if (windows.IsOpen(View::kPrevQso)) windows.RepaintPanel(View::kPrevQso);
}

}  // namespace stats
