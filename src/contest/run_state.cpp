#include "contest/run_state.h"

#include "contest/bad_qso_file.h"
#include "contest/file_util.h"

namespace stats {

RunState::RunState()
    : g_ValidBands(kBandNames, kBandCount),
      g_ValidModes(kModeNames, sizeof kModeNames / sizeof kModeNames[0]),
      g_PrevQsoRows(kBandCount, std::vector<std::string>(kPrevQsoCells)),
      g_SettingsSection("Settings"),
      g_SettingsFile("Plugins\\CQ-WPX-CW-SSB.ini") {
    for (std::size_t b = 0; b < kBandCount; ++b) g_PrevQsoRows[b][0] = kBandNames[b];
}

namespace {

// Beyond this the waiting lines are written at once: a bound on the memory
// they take and on what a crash of the host could lose.
constexpr std::size_t kMostWaiting = 64 * 1024;

}  // namespace

bool BadQsoFileIsCurrent(RunState& state) {
    if (state.g_BadQsoFileStale)
        state.g_BadQsoFileStale =
            !badqso::Rewrite(state.g_BadQsoFileName, badqso::HeaderLine(state.g_bCwContest != 0), {});
    if (!state.g_BadQsoFileStale) WriteWaitingLines(state);
    return !state.g_BadQsoFileStale;
}

void QueueReportLine(RunState& state, const std::string& line, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        state.g_WaitingLines += line;
        state.g_WaitingLines += "\r\n";
    }
    if (state.g_WaitingLines.size() >= kMostWaiting) WriteWaitingLinesUnlessFailing(state);
}

void WriteWaitingLinesUnlessFailing(RunState& state) {
    if (!state.g_BadQsoFileStale && state.g_WaitingFrom < 0) WriteWaitingLines(state);
}

bool WriteWaitingLines(RunState& state) {
    if (state.g_WaitingLines.empty()) return true;
    if (state.g_BadQsoFileName.empty()) return false;
    bool written = state.g_WaitingFrom < 0 &&
                   AppendToFile(state.g_BadQsoFileName, state.g_WaitingLines, &state.g_WaitingFrom);
    if (!written && state.g_WaitingFrom >= 0) {
        // The write may have stopped part way: the file is put together again
        // without what it left, so that no line is doubled or cut.
        const auto content = BadQsoFileContent(state);
        written = content && ReplaceFileContent(state.g_BadQsoFileName, *content);
    }
    if (written) ForgetWaitingLines(state);
    return written;
}

std::optional<std::string> BadQsoFileContent(RunState& state) {
    // One deleted from outside reads as empty: it comes back with the next lines.
    auto content = ReadFileUpTo(state.g_BadQsoFileName, state.g_WaitingFrom);
    if (content) *content += state.g_WaitingLines;
    return content;
}

void ForgetWaitingLines(RunState& state) {
    state.g_WaitingLines.clear();
    state.g_WaitingFrom = -1;
}

}  // namespace stats
