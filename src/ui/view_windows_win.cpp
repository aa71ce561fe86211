// The two view windows: the working-prefix grid (template 116, sizeable) and
// the previous-QSO table (template 114). Each is one owner-drawn panel,
// control 1003, painted from the shared data through an off-screen context.
#include <mutex>

#include "plugin/plugin.h"
#include "resource.h"
#include "ui/info_panel.h"
#include "ui/mem_dc_win.h"
#include "ui/setup_model.h"
#include "ui/ui_thread_win.h"

namespace stats {

namespace {

struct ViewWindow {
    UiContext* context;
    View view;
};

const char* KeyX(View v) { return v == View::kPrefixes ? "dxcc_x" : "prev_x"; }
const char* KeyY(View v) { return v == View::kPrefixes ? "dxcc_y" : "prev_y"; }

std::vector<DrawOp> Picture(const ViewWindow& w, const RECT& item) {
    const PanelRect rect{item.left, item.top, item.right, item.bottom};
    UiContext& c = *w.context;
    const RunState& state = c.plugin.State();
    if (w.view == View::kPrefixes) {
        std::vector<std::string> prefixes;
        {
            std::lock_guard<std::mutex> lock(state.guard);
            prefixes = state.g_WorkedPrefixes;  // sorted as a copy: the result request may rebuild the list meanwhile
        }
        return PrefixGridPicture(rect, std::move(prefixes), c.ui.g_nCurrentBand);
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
                if (w != nullptr && w->view == View::kPrevQso && w->context->brush != nullptr) {
                    HDC dc = reinterpret_cast<HDC>(wParam);
                    SetTextColor(dc, RGB(0, 0, 0));
                    SetBkColor(dc, RGB(kWindowBackground.r, kWindowBackground.g, kWindowBackground.b));
                    return reinterpret_cast<INT_PTR>(w->context->brush);
                }
                return FALSE;
            case WM_COMMAND:
                // Escape and the close box hide the window; it stays known until
                // its check box is turned off. Enter does nothing.
                if (LOWORD(wParam) == IDCANCEL) ShowWindow(window, SW_HIDE);
                return TRUE;
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
    auto* w = new ViewWindow{&context, view};
    HWND window = CreateDialogParamW(context.module, MAKEINTRESOURCEW(view == View::kPrefixes ? IDD_PREFIXES : IDD_PREV_QSO),
                                     nullptr, ViewProc, reinterpret_cast<LPARAM>(w));
    if (window == nullptr) delete w;
    return window;
}

}  // namespace stats
