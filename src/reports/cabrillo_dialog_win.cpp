#include "reports/cabrillo_dialog_win.h"

#include <map>
#include <string>
#include <vector>

#include "reports/cabrillo_dialog_model.h"
#include "resource.h"

namespace stats {

namespace {

struct DialogState {
    CabrilloHeaderFields* fields;
    std::map<int, std::vector<std::string>> lists;
};

std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void Fill(HWND dialog, const DialogState& state) {
    for (const HeaderControl& c : HeaderControls()) {
        const std::string& value = state.fields->*c.field;
        if (!c.dropDown) {
            SetDlgItemTextA(dialog, c.id, value.c_str());
            continue;
        }
        const auto list = state.lists.find(c.id);
        const std::vector<std::string> none;
        const std::vector<std::string>& entries = list != state.lists.end() ? list->second : none;
        for (const std::string& entry : entries) SendDlgItemMessageA(dialog, c.id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        const int selected = DropDownSelection(entries, value);
        if (selected >= 0)
            SendDlgItemMessageA(dialog, c.id, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        else
            SetDlgItemTextA(dialog, c.id, value.c_str());
    }
}

void Collect(HWND dialog, const DialogState& state) {
    for (const HeaderControl& c : HeaderControls()) state.fields->*c.field = ControlText(dialog, c.id);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    // No exception may reach the system's frames, which no unwinder crosses.
    try {
        switch (message) {
            case WM_INITDIALOG:
                SetWindowLongPtrA(dialog, DWLP_USER, lParam);
                Fill(dialog, *reinterpret_cast<DialogState*>(lParam));
                return TRUE;
            case WM_COMMAND:
                if (LOWORD(wParam) == IDOK && state != nullptr) {
                    Collect(dialog, *state);
                    EndDialog(dialog, IDOK);
                    return TRUE;
                }
                if (LOWORD(wParam) == IDCANCEL) {  // also Esc and the close box
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                }
                break;
            default:
                break;
        }
    } catch (...) {
        // A dialog that could not be filled would save empty values on OK,
        // and one whose values were not all taken would save a mix: either
        // ends as cancelled, which keeps the stored header as it was.
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

std::string ListsText(HINSTANCE module) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDR_CABRILLO_LISTS), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (found == nullptr) return std::string();
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data == nullptr) return std::string();
    const std::string text(static_cast<const char*>(data), SizeofResource(module, found));
    return text.substr(0, text.find('\0'));
}

}  // namespace

bool Win32HeaderDialog::Run(CabrilloHeaderFields& fields) {
    DialogState state{&fields, ParseDropDownLists(ListsText(module_))};
    // Owned by the host's active window, which stays disabled while the dialog runs.
    const INT_PTR result = DialogBoxParamA(module_, MAKEINTRESOURCEA(IDD_CABRILLO), GetActiveWindow(), DialogProc,
                                           reinterpret_cast<LPARAM>(&state));
    return result == IDOK;
}

}  // namespace stats
