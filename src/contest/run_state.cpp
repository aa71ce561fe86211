#include "contest/run_state.h"

#include "contest/bad_qso_file.h"

namespace stats {

RunState::RunState()
    : g_ValidBands(kBandNames, kBandCount),
      g_ValidModes(kModeNames, sizeof kModeNames / sizeof kModeNames[0]),
      g_PrevQsoRows(kBandCount, std::vector<std::string>(kPrevQsoCells)),
      g_SettingsSection("Settings"),
      g_SettingsFile("Plugins\\CQ-WPX-CW-SSB.ini") {
    for (std::size_t b = 0; b < kBandCount; ++b) g_PrevQsoRows[b][0] = kBandNames[b];
}

bool BadQsoFileIsCurrent(RunState& state) {
    if (state.g_BadQsoFileStale)
        state.g_BadQsoFileStale =
            !badqso::Rewrite(state.g_BadQsoFileName, badqso::HeaderLine(state.g_bCwContest != 0), {});
    return !state.g_BadQsoFileStale;
}

}  // namespace stats
