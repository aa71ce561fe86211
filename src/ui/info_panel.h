// The pictures of the two owner-drawn panels, as drawing operations computed
// from the shared data; the Windows layer paints them off-screen and copies
// the result to the screen in one step.
#pragma once

#include <string>
#include <vector>

#include "ui/ui_state.h"

namespace stats {

struct PanelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PanelRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// Fill a rectangle, or draw text top-aligned at a point in a colour, with the
// background showing between the letters: left-aligned, or ending at the point.
struct DrawOp {
    enum Kind { kFill, kText } kind;
    PanelRect rect;  // kFill
    Rgb color{0, 0, 0};
    int x = 0, y = 0;  // kText
    std::string text;
    bool alignRight = false;
};

// The grid of worked prefixes, sorted byte-wise (9A before A1 before a1), in
// cells 40 by 15 pixels filled row by row; empty until a band is known.
std::vector<DrawOp> PrefixGridPicture(const PanelRect& item, std::vector<std::string> prefixes, int currentBand);

// The previous-QSO table: a header row and six band rows, each a seventh of
// the panel's height, the radio's band highlighted.
std::vector<DrawOp> PrevQsoPicture(const PanelRect& item, const std::vector<std::vector<std::string>>& rows,
                                   const std::string& entryCall, int currentBand);

}  // namespace stats
