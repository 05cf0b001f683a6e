// A host for dialog 101 in tests and in the screenshot program.
#include "tests/windows/main_dialog_host.h"

#include <commctrl.h>

#include "gui/pages.h"
#include "gui/tabs_win32.h"
#include "resources/main_ids.h"

namespace {

void PrepareDialog(HWND dialog) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HICON small = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_SMALL), IMAGE_ICON,
                                                16, 16, LR_DEFAULTCOLOR));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    HICON folder = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_BROWSE_FOLDER),
                                                 IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    SendDlgItemMessageA(dialog, IDC_BT_MOVE_PATH, BM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(folder));
    for (int i = 0; i < kFormatCount; ++i) {
        SendDlgItemMessageA(dialog, IDC_CB_OUTPUT_FORMAT, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(FormatLabel(i)));
    }
    SendDlgItemMessageA(dialog, IDC_CB_OUTPUT_FORMAT, CB_SETCURSEL, 1, 0);
    CreateOutputTab(dialog, 0);
    ShowOutputPage(dialog, 0);
    CreateInputTab(dialog, 0);
    ShowInputPage(dialog, 0);
}

INT_PTR CALLBACK HostProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        PrepareDialog(dialog);
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code != static_cast<UINT>(TCN_SELCHANGE)) return FALSE;
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, OnTabSelectionChanged(dialog, header->hwndFrom));
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_CB_OUTPUT_FORMAT && HIWORD(wParam) == CBN_SELCHANGE) {
            int index = static_cast<int>(
                SendDlgItemMessageA(dialog, IDC_CB_OUTPUT_FORMAT, CB_GETCURSEL, 0, 0));
            OnFormatChanged(dialog, index);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(dialog);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

HWND OpenMainDialog() {
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN),
                                     nullptr, HostProc, 0);
    if (!dialog) return nullptr;
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    PumpMessages();
    return dialog;
}

void CloseMainDialog(HWND dialog) {
    if (IsWindow(dialog)) DestroyWindow(dialog);
    PumpMessages();
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
