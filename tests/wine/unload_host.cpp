// A host of its own kind, in a process of its own: it loads the library,
// resets a run whose windows open, and unloads it at once, again and again,
// timing each unload. With "window" it first shows a window of its own, as a
// logging program does; without, the plug-in's window thread is the first of
// the process to make a window, and so the first to need the display driver.
// With "board" posting is on, to a board that takes the post and never
// answers. Nothing else is prepared: no thread pool, no COM, no display driver.
#include "unload_host.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "local_board.h"
#include "stats_dll.h"

namespace wine_tests {

namespace {

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

void PumpFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    MSG msg;
    while (GetTickCount64() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

}  // namespace

int RunUnloadHost(const UnloadHostOptions& options) {
    if (options.ownWindow) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = HostWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"StatsTestHostWindow";
        RegisterClassW(&wc);
        HWND window = CreateWindowExW(0, wc.lpszClassName, L"Host", WS_OVERLAPPEDWINDOW, 600, 400, 200, 100,
                                      nullptr, nullptr, wc.hInstance, nullptr);
        if (window == nullptr) {
            std::fprintf(stderr, "cannot create the host's window\n");
            return 2;
        }
        ShowWindow(window, SW_SHOWNORMAL);
        PumpFor(100);
    }
    ScratchDir dir;
    dir.MakePluginsFolder();
    const std::string settings = dir.Path() + "\\Plugins\\CQ-WPX-CW-SSB.ini";
    // All three windows: the Setup window and both views.
    WritePrivateProfileStringA("Settings", "setup_view_pref", "1", settings.c_str());
    WritePrivateProfileStringA("Settings", "setup_view_prev_qso", "1", settings.c_str());
    std::optional<LocalBoard> board;
    if (options.silentBoard) {
        board.emplace("", "");
        WritePrivateProfileStringA("Settings", "scoreboard_post", "1", settings.c_str());
        WritePrivateProfileStringA("Settings", "scoreboard_address", board->Address().c_str(), settings.c_str());
    }
    int slow = 0;
    ULONGLONG slowest = 0, slowestReset = 0;
    for (int i = 0; i < options.times; ++i) {
        // Without the key the windows open at this reset.
        WritePrivateProfileStringA("Settings", "Start", nullptr, settings.c_str());
        StatsDll dll(options.dllPath);
        if (!dll.Error().empty()) {
            std::fprintf(stderr, "%s\n", dll.Error().c_str());
            return 2;
        }
        const ULONGLONG resetStart = GetTickCount64();
        if (dll.Reset(dir.Path() + "\\", "K1ABC", At(2021, 5, 29), At(2021, 5, 30, 23, 59)) != 1) {
            std::fprintf(stderr, "the reset failed\n");
            return 2;
        }
        slowestReset = std::max(slowestReset, GetTickCount64() - resetStart);
        if (board) {
            const ULONGLONG until = GetTickCount64() + 20000;
            while (board->Requests().size() < static_cast<std::size_t>(i + 1) && GetTickCount64() < until) Sleep(20);
            if (board->Requests().size() < static_cast<std::size_t>(i + 1)) {
                std::fprintf(stderr, "no post reached the board\n");
                return 2;
            }
        }
        const ULONGLONG start = GetTickCount64();
        dll.Free();
        const ULONGLONG took = GetTickCount64() - start;
        if (took > slowest) slowest = took;
        if (took >= 1000) {
            ++slow;
            std::printf("unload %d of %d took %llu ms\n", i + 1, options.times, took);
        }
        if (options.ownWindow) PumpFor(10);
    }
    std::printf("unload host (%s): %d unloads, the slowest %llu ms (the slowest reset before it %llu ms)\n",
                options.silentBoard ? "board" : options.ownWindow ? "window" : "bare", options.times, slowest, slowestReset);
    std::fflush(stdout);
    return slow == 0 ? 0 : 1;
}

}  // namespace wine_tests
