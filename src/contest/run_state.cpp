#include "contest/run_state.h"

namespace stats {

RunState::RunState()
    : g_ValidBands(kBandNames, kBandCount),
      g_ValidModes(kModeNames, sizeof kModeNames / sizeof kModeNames[0]),
      g_PrevQsoRows(kBandCount, std::vector<std::string>(kPrevQsoCells)),
      g_Score(kBandNames, kBandCount),
      g_SettingsSection("Settings"),
      g_SettingsFile("Plugins\\CQ-WPX-CW-SSB.ini") {
    for (std::size_t b = 0; b < kBandCount; ++b) g_PrevQsoRows[b][0] = kBandNames[b];
}

}  // namespace stats
