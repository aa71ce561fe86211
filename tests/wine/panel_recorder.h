// What the plug-in's two panels draw, word for word: the library's imports of
// FillRect, TextOutA and BitBlt are redirected (in its import table) through
// recorders that then call the real functions. A picture starts with the fill
// of the whole item rectangle and ends with the copy of the off-screen image
// to the screen. Screenshots give the colours; this gives the texts and their
// places.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "ui_support.h"

namespace wine_tests {

struct DrawnText {
    int x, y;
    std::string text;
    bool operator==(const DrawnText&) const = default;
};

struct DrawnFill {
    RECT rect;
    Rgb colour;
};

struct Picture {
    Rgb background{};
    RECT item{};
    std::vector<DrawnFill> fills;  // after the background
    std::vector<DrawnText> texts;
};

// Redirects the library's imports; they stay redirected while it is loaded
// (the recording outlives the object, as the window thread may paint until the
// library is unloaded). Empty when every import was found.
std::string RecordPanels(HMODULE library);

// The last picture put on the screen with this background colour.
std::optional<Picture> LastPicture(Rgb background);

}  // namespace wine_tests
