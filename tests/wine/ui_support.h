// What the window suites share: waiting with a deadline, finding this
// process's windows, driving controls as a user would, and reading the screen.
//
// GoogleTest is built without thread support here, so only the main thread
// may assert; helper threads collect what they see and the main thread checks
// it afterwards.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wine_tests {

using namespace std::chrono_literals;

// How long any single thing the tests wait for may take.
inline constexpr auto kPatience = 10s;

// Polls `done` every 10 ms until it holds or `timeout` has passed; true when it held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = kPatience);

// Empty when windows can be created and the screen read; otherwise why not.
std::string DisplayProblem();

// Top-level windows of this process, visible or not, for which `match` holds.
std::vector<HWND> OwnWindows(const std::function<bool(HWND)>& match);
// The first visible dialog of this process whose title starts with `title`;
// null when there is none.
HWND FindOwnDialog(const std::string& titleStart);

// Window texts in UTF-8, whatever the system's code page.
std::string Text(HWND window);
std::string ItemText(HWND dialog, int id);
std::string ClassOf(HWND window);

// The window's top-left corner on the screen, and a control's rectangle in
// its dialog's client coordinates.
POINT TopLeft(HWND window);
RECT RectInParent(HWND control);
bool IsTopMost(HWND window);
bool IsChecked(HWND dialog, int id);

// A click on a button of another thread's window, as the mouse gives it.
void Click(HWND dialog, int id);
// Types text into an edit control character by character; a "\n" is the
// Enter key, which goes through the dialog's keyboard handling as a real one
// does.
bool Type(HWND edit, const std::string& text);
// A key press posted to the window's thread, seen by its dialog loop.
void PressKey(HWND window, UINT virtualKey);

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};
std::string Show(Rgb c);

// Pixels of a screen rectangle, top row first.
struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
Image CaptureScreen(const RECT& area);
// Makes the window paint whatever is pending and puts it on the screen; the
// captures below do this first.
void ShowNow(HWND window);
Image CaptureWindow(HWND window);
// The screen's pixel at a point of a window's client area.
Rgb ClientPixel(HWND window, int x, int y);

// The smallest rectangle around the windows, with a margin; what lies outside
// the windows is painted white.
Image CaptureWindows(const std::vector<HWND>& windows, int margin = 8);

// Writes the image as a PNG file into the artefacts folder (STATS_ARTIFACTS);
// returns the file's path, empty when it could not be written.
std::string SaveArtifact(const Image& image, const std::string& name);
void SetArtifactsFolder(const std::string& folder);

// The thread that owns a window, opened to wait for its end.
HANDLE OpenThreadOf(HWND window);

}  // namespace wine_tests
