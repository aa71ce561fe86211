// The view windows: the working-prefix grid (template 116, sizeable), the
// previous-QSO table (template 114) and the contest view (template 118). Each
// has one owner-drawn panel, control 1003, painted from the shared data
// through an off-screen context; the contest view also has its category
// choice and the name of its reference curve's file.
#include <memory>
#include <mutex>

#include "contest/live_figures.h"
#include "plugin/plugin.h"
#include "resource.h"
#include "ui/contest_view.h"
#include "ui/info_panel.h"
#include "ui/mem_dc_win.h"
#include "ui/setup_model.h"
#include "ui/ui_thread_win.h"
#include "ui/window_text_win.h"

namespace stats {

namespace {

constexpr const char kCategoryKey[] = "contest_category";
constexpr const char kReferenceKey[] = "contest_reference";
// The pause and the contest's time left run on while no QSO comes.
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockTimerMs = 10000;

// What the contest view keeps between its repaints. The reference is read
// here, on the window thread, never during a call of the host.
struct ContestState {
    LiveFigures figures;
    EntryCategory category = EntryCategory::kSingleOp;
    ContestReference reference;
    bool referenceCw = true;  // the run's mode when the reference was read
};

struct ViewWindow {
    UiContext* context;
    View view;
    std::unique_ptr<ContestState> contest;
};

const char* KeyX(View v) { return v == View::kPrefixes ? "dxcc_x" : v == View::kPrevQso ? "prev_x" : "contest_x"; }
const char* KeyY(View v) { return v == View::kPrefixes ? "dxcc_y" : v == View::kPrevQso ? "prev_y" : "contest_y"; }

std::int64_t ClockMinute() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    const double date = OleDateFromFields(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    return OleDateMinute(OleDateTime::Valid(date)).value_or(0);
}

void ReadReference(ViewWindow& w) {
    ContestState& c = *w.contest;
    c.referenceCw = CurrentLanguage(w.context->plugin.State()).cw;
    c.reference = ReadContestReference(w.context->plugin.Settings().Read(kReferenceKey), c.referenceCw);
}

// Takes the file named in the edit field; Enter reads it again even when the
// name did not change, as after the operator has written a new curve.
void TakeReference(HWND window, ViewWindow& w, bool always) {
    char buffer[MAX_PATH * 2] = {};
    GetDlgItemTextA(window, IDC_CONTEST_REFERENCE, buffer, sizeof buffer);
    const SettingsKeys settings = w.context->plugin.Settings();
    if (!always && settings.Read(kReferenceKey) == buffer) return;
    settings.Write(kReferenceKey, buffer);
    ReadReference(w);
    InvalidateRect(GetDlgItem(window, IDC_PANEL), nullptr, FALSE);
}

void InitialiseContest(HWND window, ViewWindow& w) {
    w.contest = std::make_unique<ContestState>();
    const SettingsKeys settings = w.context->plugin.Settings();
    const bool cyrillic = CurrentLanguage(w.context->plugin.State()).cyrillic;
    w.contest->category = CategoryFromNumber(settings.ReadInt(kCategoryKey));
    HWND choice = GetDlgItem(window, IDC_CONTEST_CATEGORY);
    for (const std::string& text : CategoryChoices(cyrillic)) {
        const int n = MultiByteToWideChar(cyrillic ? 1251 : CP_ACP, 0, text.c_str(), -1, nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(n), L'\0');
        MultiByteToWideChar(cyrillic ? 1251 : CP_ACP, 0, text.c_str(), -1, wide.data(), n);
        SendMessageW(choice, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(choice, CB_SETCURSEL, static_cast<WPARAM>(w.contest->category), 0);
    SetWindowTextFrom(GetDlgItem(window, IDC_CONTEST_REFERENCE_LABEL), ContestTexts(cyrillic).referenceLabel, cyrillic);
    SetDlgItemTextA(window, IDC_CONTEST_REFERENCE, settings.Read(kReferenceKey).c_str());
    ReadReference(w);
    SetTimer(window, kClockTimer, kClockTimerMs, nullptr);
    SetWindowTextFrom(GetDlgItem(window, IDC_CONTEST_SCOREBOARD), ScoreboardTexts(cyrillic).open, cyrillic);
    if (ScoreboardPosting* posting = w.context->scoreboard) {
        posting->statusWindow = GetDlgItem(window, IDC_CONTEST_SCOREBOARD_STATUS);
        SetWindowTextFrom(posting->statusWindow, posting->StatusLine(), cyrillic);
    }
}

std::vector<DrawOp> Picture(ViewWindow& w, const RECT& item) {
    const PanelRect rect{item.left, item.top, item.right, item.bottom};
    UiContext& c = *w.context;
    RunState& state = c.plugin.State();
    if (w.view == View::kPrefixes) {
        std::vector<std::string> prefixes;
        {
            std::lock_guard<std::mutex> lock(state.guard);
            prefixes = state.g_WorkedPrefixes.Texts(state.g_QsoLog);  // sorted as a copy: the result request may rebuild the list meanwhile
        }
        return PrefixGridPicture(rect, std::move(prefixes), c.ui.g_nCurrentBand);
    }
    if (w.view == View::kContest) {
        ContestState& contest = *w.contest;
        {
            std::lock_guard<std::mutex> lock(state.guard);
            contest.figures.Collect(state);
        }
        contest.figures.Digest();
        if (contest.figures.Cw() != contest.referenceCw) ReadReference(w);
        const ContestFigures figures =
            ComputeContestFigures(contest.figures, contest.category, ClockMinute(), contest.reference);
        return ContestPicture(rect, figures, contest.reference, CurrentLanguage(state));
    }
    std::vector<std::vector<std::string>> rows;
    {
        std::lock_guard<std::mutex> lock(state.guard);
        rows = state.g_PrevQsoRows;
    }
    return PrevQsoPicture(rect, rows, c.ui.g_EntryCall, c.ui.g_nCurrentBand);
}

INT_PTR CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* w = reinterpret_cast<ViewWindow*>(GetWindowLongPtrA(window, DWLP_USER));
    try {
        switch (message) {
            case WM_INITDIALOG: {
                SetWindowLongPtrA(window, DWLP_USER, lParam);
                w = reinterpret_cast<ViewWindow*>(lParam);
                UiContext& c = *w->context;
                if (w->view == View::kContest) InitialiseContest(window, *w);
                const WindowSpot spot = LoadWindowSpot(c.plugin.Settings(), KeyX(w->view), KeyY(w->view), c.ui);
                SetWindowPos(window, nullptr, spot.x, spot.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                if (c.ui.g_bOnTop == 1)
                    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                if (c.icon != nullptr) SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(c.icon));
                // The grid keeps its template place until the window is resized.
                return TRUE;
            }
            case WM_SIZE:
                if (w != nullptr && w->view == View::kPrefixes) {
                    RECT client;
                    GetClientRect(window, &client);
                    MoveWindow(GetDlgItem(window, IDC_PANEL), 1, 1, client.right - 4, client.bottom - 4, TRUE);
                }
                return FALSE;
            case WM_DRAWITEM: {
                const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                if (w == nullptr || item->CtlID != IDC_PANEL) return FALSE;
                if (w->view == View::kContest)
                    PaintPanel(item->hDC, Picture(*w, item->rcItem),
                               reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)),
                               CurrentLanguage(w->context->plugin.State()).cyrillic);
                else
                    PaintPanel(item->hDC, Picture(*w, item->rcItem));
                return TRUE;
            }
            case WM_SETCURSOR:
                if (w != nullptr) {
                    RECT r;
                    GetWindowRect(window, &r);
                    TrackWindowSpot(r.left, r.top, w->context->plugin.Settings(), KeyX(w->view), KeyY(w->view),
                                    w->context->ui);
                }
                return FALSE;
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN:
                if (w != nullptr && w->view != View::kPrefixes && w->context->brush != nullptr) {
                    HDC dc = reinterpret_cast<HDC>(wParam);
                    SetTextColor(dc, RGB(0, 0, 0));
                    SetBkColor(dc, RGB(kWindowBackground.r, kWindowBackground.g, kWindowBackground.b));
                    return reinterpret_cast<INT_PTR>(w->context->brush);
                }
                return FALSE;
            case WM_COMMAND:
                // Escape and the close box hide the window; it stays known until
                // its check box is turned off. Enter does nothing but in the
                // contest view, where it takes the reference's file.
                if (LOWORD(wParam) == IDCANCEL) {
                    ShowWindow(window, SW_HIDE);
                } else if (w != nullptr && w->contest) {
                    if (LOWORD(wParam) == IDOK) {
                        TakeReference(window, *w, true);
                    } else if (LOWORD(wParam) == IDC_CONTEST_SCOREBOARD && HIWORD(wParam) == BN_CLICKED) {
                        RunScoreboardWindow(window, *w->context);
                    } else if (LOWORD(wParam) == IDC_CONTEST_REFERENCE && HIWORD(wParam) == EN_KILLFOCUS) {
                        // Not as the window hides or goes: Escape drops what was typed, and
                        // an unload reads no file.
                        if (IsWindowVisible(window) && !w->context->thread.Stopping().load())
                            TakeReference(window, *w, false);
                    } else if (LOWORD(wParam) == IDC_CONTEST_CATEGORY && HIWORD(wParam) == CBN_SELCHANGE) {
                        const LRESULT chosen = SendDlgItemMessageA(window, IDC_CONTEST_CATEGORY, CB_GETCURSEL, 0, 0);
                        if (chosen >= 0 && chosen <= 2) {
                            w->contest->category = CategoryFromNumber(static_cast<int>(chosen));
                            w->context->plugin.Settings().WriteInt(kCategoryKey, static_cast<int>(chosen));
                            InvalidateRect(GetDlgItem(window, IDC_PANEL), nullptr, FALSE);
                        }
                    }
                }
                return TRUE;
            case WM_TIMER:
                if (wParam == kClockTimer && w != nullptr) {
                    // A reset may have brought another contest, and no refresh since.
                    const UiLanguage lang = CurrentLanguage(w->context->plugin.State());
                    const std::string title = ContestTitle(lang);
                    char shown[256] = {};
                    GetWindowTextA(window, shown, sizeof shown);
                    if (!lang.cyrillic && title != shown) SetWindowTextFrom(window, title, false);
                    InvalidateRect(GetDlgItem(window, IDC_PANEL), nullptr, FALSE);
                }
                return TRUE;
            case WM_DESTROY:
                // The status line goes with the window (its children are still there now).
                if (w != nullptr && w->contest && w->context->scoreboard != nullptr &&
                    w->context->scoreboard->statusWindow == GetDlgItem(window, IDC_CONTEST_SCOREBOARD_STATUS))
                    w->context->scoreboard->statusWindow = nullptr;
                return FALSE;
            case WM_NCDESTROY:
                delete w;
                SetWindowLongPtrA(window, DWLP_USER, 0);
                return FALSE;
            default:
                return FALSE;
        }
    } catch (...) {
    }
    return TRUE;
}

}  // namespace

HWND CreateViewWindow(UiContext& context, View view) {
    auto* w = new ViewWindow{&context, view, nullptr};
    const int id = view == View::kPrefixes ? IDD_PREFIXES : view == View::kPrevQso ? IDD_PREV_QSO : IDD_CONTEST;
    HWND window = CreateDialogParamW(context.module, MAKEINTRESOURCEW(id), nullptr, ViewProc, reinterpret_cast<LPARAM>(w));
    if (window == nullptr) delete w;
    return window;
}

}  // namespace stats
