// The contest view: the operating time by the contest's rule and the run's
// pace against a reference curve, as figures and as the panel's picture.
// The window thread computes them from its LiveFigures, the entry's category,
// the clock and the reference it has read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "contest/live_figures.h"
#include "contest/operating_time.h"
#include "contest/pace_curve.h"
#include "ui/info_panel.h"
#include "ui/ui_texts.h"

namespace stats {

// The reference as the view holds it: none named, read, or why it cannot be used.
struct ContestReference {
    enum State { kNone, kRead, kUnreadable, kMalformed, kOtherMode } state = kNone;
    PaceCurve curve;          // kRead
    PaceReadError error{};    // kMalformed
};

// Reads the file named in the settings. Never throws; any file is safe.
ContestReference ReadContestReference(const std::string& path, bool runIsCw);

// Why the reference cannot be used, in the window's words; empty when it can
// or none is named.
std::string ReferenceProblem(const ContestReference& reference, const ContestWords& words);

struct ContestFigures {
    OperatingTime time;
    bool live = false;  // the clock is inside the contest period
    std::int64_t now = 0;  // minute, when live
    // The pause since the last QSO, when live: its minutes and whether it is
    // an off-time already.
    std::optional<std::int64_t> pause;
    std::optional<std::int64_t> contestLeft;  // minutes to the contest's end
    std::int64_t operatingLeft = 0;           // what the run can still operate
    // The run at its elapsed contest minute (now, or after its last QSO when
    // not live), and the reference at the same minute.
    std::optional<PaceRow> run;
    std::optional<PaceRow> reference;
    std::optional<std::int64_t> referenceFinal;
    std::optional<ScoreProjection> projected;
};

// `now`: the clock's minute (OleDateMinute's count), UTC.
ContestFigures ComputeContestFigures(const LiveFigures& live, EntryCategory category, std::int64_t now,
                                     const ContestReference& reference);

// The panel's lines and columns, left- or right-aligned, in the window's language.
std::vector<DrawOp> ContestPicture(const PanelRect& item, const ContestFigures& figures,
                                   const ContestReference& reference, const UiLanguage& lang);

// The texts of the category choice, in the order of EntryCategory.
std::vector<std::string> CategoryChoices(bool cyrillic);

}  // namespace stats
