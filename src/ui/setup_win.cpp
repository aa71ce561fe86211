// The Setup window (template 104): contest mode, the views to show, top-most
// views. Its message handlers forward to the portable decisions.
#include <exception>
#include <mutex>

#include "plugin/plugin.h"
#include "resource.h"
#include "ui/refresh_cycle.h"
#include "ui/setup_model.h"
#include "ui/ui_thread_win.h"
#include "ui/window_text_win.h"

namespace stats {

namespace {

void ShowFlags(HWND window, const SetupFlags& f) {
    CheckDlgButton(window, IDC_SETUP_ON_TOP, f.m_bOnTop ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window, IDC_SETUP_VIEW_PREFIX, f.m_bViewPrefix ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window, IDC_SETUP_VIEW_PREV_QSO, f.m_bViewPrevQso ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window, IDC_SETUP_VIEW_CONTEST, f.m_bViewContest ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window, IDC_SETUP_CW, f.m_bCw ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window, IDC_SETUP_SSB, f.m_bSsb ? BST_CHECKED : BST_UNCHECKED);
}

void Initialise(HWND window, UiContext& c) {
    c.setupWindow = window;
    c.thread.setupWindow.store(window);
    const SetupModel::Start start = c.setup->Initialise([&](const WindowSpot& spot) {
        SetWindowPos(window, nullptr, spot.x, spot.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        c.brush = CreateSolidBrush(RGB(kWindowBackground.r, kWindowBackground.g, kWindowBackground.b));
        if (c.icon != nullptr) SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(c.icon));
    });
    ShowFlags(window, c.setup->Flags());
    const bool cyrillic = CurrentLanguage(c.plugin.State()).cyrillic;
    for (const SetupCaption& caption : start.captions) {
        HWND control = GetDlgItem(window, caption.control);
        if (caption.width > 0) MoveWindow(control, caption.x, caption.y, caption.width, caption.height, TRUE);
        SetWindowTextFrom(control, caption.text, cyrillic);
    }
    SetWindowTextFrom(window, start.title, cyrillic);
    PostMessageA(window, kRefreshViewsMessage, 0, 0);  // the first refresh opens the wanted views
    SetTimer(window, kScoreboardTimer, kScoreboardTimerMs, nullptr);
    // Escape and the stop routine close the window; the caption's close button does not.
    EnableMenuItem(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_DISABLED);
}

void OnCommand(HWND window, UiContext& c, int id) {
    SetupModel& setup = *c.setup;
    switch (id) {
        case IDC_SETUP_ON_TOP:
            setup.OnTopClicked();
            ShowFlags(window, setup.Flags());
            break;
        case IDC_SETUP_VIEW_PREFIX:
            setup.ViewClicked(View::kPrefixes);
            break;
        case IDC_SETUP_VIEW_PREV_QSO:
            setup.ViewClicked(View::kPrevQso);
            break;
        case IDC_SETUP_VIEW_CONTEST:
            setup.ViewClicked(View::kContest);
            break;
        case IDC_SETUP_CW:
        case IDC_SETUP_SSB:
            if (id == IDC_SETUP_CW)
                setup.CwClicked();
            else
                setup.SsbClicked();
            SetWindowTextFrom(window, setup.Title(), CurrentLanguage(c.plugin.State()).cyrillic);
            ShowFlags(window, setup.Flags());
            break;
        case IDCANCEL:
            EndDialog(window, IDCANCEL);
            break;
        default:  // IDOK (Enter) does nothing
            break;
    }
}

// The Setup window's initialisation has made the host link and posted the
// first refresh, which opens the views; with it handled in the modal loop the
// thread's start-up is over once the windows have been shown and painted once
// (a first paint looks up the system's text and theme functions). The modal
// loop would show the Setup window only when it first finds no message; it
// is shown here, as that loop would, so that its first paint is part of the
// start-up too.
struct StartUpEnd {
    HWND window;
    UiContext& c;
    ~StartUpEnd() {
        if (c.started) return;
        c.started = true;
        if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
        for (HWND view : {c.thread.prefixWindow.load(), c.thread.prevQsoWindow.load(), c.thread.contestWindow.load()})
            if (view != nullptr) UpdateWindow(view);
        c.thread.SignalStarted();
    }
};

INT_PTR CALLBACK SetupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* c = reinterpret_cast<UiContext*>(GetWindowLongPtrA(window, DWLP_USER));
    try {
        switch (message) {
            case WM_INITDIALOG:
                SetWindowLongPtrA(window, DWLP_USER, lParam);
                Initialise(window, *reinterpret_cast<UiContext*>(lParam));
                return TRUE;
            case WM_COMMAND:
                if (c != nullptr && (HIWORD(wParam) == BN_CLICKED || LOWORD(wParam) == IDCANCEL))
                    OnCommand(window, *c, LOWORD(wParam));
                return TRUE;
            case WM_TIMER:
                if (c != nullptr && c->scoreboard != nullptr && wParam == kScoreboardTimer) c->scoreboard->Tick();
                return TRUE;
            case WM_SYSCOMMAND:
                // Alt+F4 asks for the system menu's close item, which is disabled;
                // not every system checks that before closing the window.
                return (wParam & 0xFFF0) == SC_CLOSE;
            case WM_SETCURSOR:
                if (c != nullptr) {
                    RECT r;
                    GetWindowRect(window, &r);
                    TrackWindowSpot(r.left, r.top, c->plugin.Settings(), "setup_x", "setup_y", c->ui);
                }
                return FALSE;
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN:
                if (c != nullptr && c->brush != nullptr) {
                    HDC dc = reinterpret_cast<HDC>(wParam);
                    SetTextColor(dc, RGB(0, 0, 0));
                    SetBkColor(dc, RGB(kWindowBackground.r, kWindowBackground.g, kWindowBackground.b));
                    return reinterpret_cast<INT_PTR>(c->brush);
                }
                return FALSE;
            default:
                if (message == kScoreboardDoneMessage && c != nullptr && c->scoreboard != nullptr) {
                    c->scoreboard->Tick();
                    return TRUE;
                }
                if (message == kRefreshViewsMessage && c != nullptr) {
                    // The first refresh ends the start-up, even when it fails.
                    StartUpEnd end{window, *c};
                    RefreshViews(c->setup->Refresh(), c->plugin.State(), c->ui, c->host, c->views, c->plugin.Settings());
                    return TRUE;
                }
                return FALSE;
        }
    } catch (const HostLinkError& e) {
        // The host went away: say so; the rest of this handler is skipped, the
        // windows stay. Refreshes go on while the box is open (its loop serves
        // them): one box is enough. A call given up for a stop is no news.
        if (c != nullptr && !c->hostErrorShown && !c->thread.Stopping().load()) {
            c->hostErrorShown = true;
            MessageBoxA(window, e.what(), nullptr, MB_OK | MB_ICONEXCLAMATION);
            c->hostErrorShown = false;
        }
    } catch (...) {
    }
    return TRUE;
}

// The modal run's loop gives the dialog keys (Escape, Enter, Tab) only to the
// Setup window. The views live on this thread too and are dialogs as well:
// this hook, which that loop calls for every message, gives them theirs, so
// that Escape hides a view, Tab moves between the contest view's controls and
// Enter takes its reference file. Only the one thread
// that runs the Setup window sets and reads these.
UiContext* g_keysContext = nullptr;
bool g_inViewKeys = false;  // the view's own dialog handling calls the hook again

LRESULT CALLBACK ViewKeys(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && !g_inViewKeys && g_keysContext != nullptr && msg->hwnd != nullptr) {
        const Win32WindowThread& thread = g_keysContext->thread;
        HWND root = GetAncestor(msg->hwnd, GA_ROOT);
        if (root != nullptr && (root == thread.prefixWindow.load() || root == thread.prevQsoWindow.load() ||
                                root == thread.contestWindow.load())) {
            g_inViewKeys = true;
            const BOOL handled = IsDialogMessageW(root, msg);
            g_inViewKeys = false;
            if (handled) return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void RunSetupWindow(UiContext& c) {
    c.icon = LoadIconA(c.module, MAKEINTRESOURCEA(IDI_STATS));
    SetupModel setup(c.plugin.State(), c.ui, c.host, c.views, c.plugin.Settings());
    c.setup = &setup;
    ScoreboardPosting scoreboard(c);
    c.scoreboard = &scoreboard;
    g_keysContext = &c;
    HHOOK viewKeys = SetWindowsHookExW(WH_MSGFILTER, ViewKeys, nullptr, GetCurrentThreadId());
    DialogBoxParamW(c.module, MAKEINTRESOURCEW(IDD_SETUP), nullptr, SetupProc, reinterpret_cast<LPARAM>(&c));
    if (viewKeys != nullptr) UnhookWindowsHookEx(viewKeys);
    g_keysContext = nullptr;
    c.setup = nullptr;
    c.scoreboard = nullptr;
    c.setupWindow = nullptr;
}

}  // namespace stats
