// installer.exe: the install wizard. One property sheet in wizard mode with
// five pages (welcome, install folder, options, ready, finish) that copies
// the product from the installer's own folder into the folder the user
// picks, creates the program group and records the uninstall entry.
// Exit code 1 after Finish or a cancel on the first two pages; 0 after a
// failure or a cancel on a later page.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>

#include "gui/window_helpers.h"
#include "installer/install_steps.h"
#include "installer/install_tables.h"
#include "job/paths.h"
#include "resources/installer_ids.h"

namespace {

// The run state.
HINSTANCE g_instance = nullptr;
char g_installFolder[kPathSize];  // empty until the install folder page's Next succeeds
int g_createGroup = 0;

HFONT g_welcomeTitleFont = nullptr;
HFONT g_optionsTitleFont = nullptr;
HFONT g_optionsHintFont = nullptr;

const char kFailureText[] = "The installation of Ombrello_zandrix has failed.\n\nPlease run install again.";

HWND Wizard(HWND page) { return GetParent(page); }

void SetWizardButtons(HWND page, LPARAM buttons) {
    PostMessageA(Wizard(page), PSM_SETWIZBUTTONS, 0, buttons);
}

// A page answers a notification through its message result.
INT_PTR Answer(HWND page, LONG_PTR result) {
    SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
    return TRUE;
}

// Page fonts are sized with 110 as divisor, not the usual 72.
HFONT MakePageFont(HWND page, const char* face, int size, int weight, int italic) {
    HDC dc = GetDC(page);
    int height = -MulDiv(GetDeviceCaps(dc, LOGPIXELSY), size, 110);
    ReleaseDC(page, dc);
    return CreateFontA(height, 0, 0, 0, weight, static_cast<DWORD>(italic), 0, 0, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       face);
}

void SetControlFont(HWND page, int control, HFONT font) {
    SendDlgItemMessageA(page, control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

INT_PTR CALLBACK FailureProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_PAGE_TITLE, kFailureText);
        EnableDialogTheme(dialog, 1);
        CenterWindowOnScreen(dialog);
        return TRUE;
    case WM_COMMAND:
        EndDialog(dialog, LOWORD(wParam) == IDOK ? 1 : 0);
        return TRUE;
    default:
        return FALSE;
    }
}

void ShowFailure(HWND page) {
    DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_INSTALL_FAILED), Wizard(page), FailureProc, 0);
}

// From the options page on, giving up ends the process.
void FailAndExit(HWND page) {
    ShowFailure(page);
    ExitProcess(0);
}

void ShowErrorBox(HWND page, const char* text) {
    MessageBeep(MB_OK);
    MessageBoxA(page, text, kProductName, MB_OK | MB_ICONERROR);
}

// Next on the install folder page: 0 to go on, -1 to stay.
LONG_PTR AcceptInstallFolder(HWND page) {
    HWND field = GetDlgItem(page, IDC_INSTALL_FOLDER);
    char folder[kPathSize];
    GetDlgItemTextA(page, IDC_INSTALL_FOLDER, folder, kPathSize);
    if (folder[0] == '\0') {
        ShowErrorBox(page, "Please select the install folder");
        SetFocus(field);
        return -1;
    }
    if (!CanWriteInFolder(folder)) {
        char question[kPathSize + 64];
        std::snprintf(question, sizeof question, "%s does not exists.\nDo you want to create it?", folder);
        if (MessageBoxA(page, question, kProductName, MB_YESNO | MB_ICONQUESTION) != IDYES) {
            SetFocus(field);
            return -1;
        }
    }
    CleanInstallFolder(folder);
    CreateFolderChain(folder);
    // A folder that could not be made (a drive that is not there, a name
    // taken by a file, no right to write) would only fail the copy later
    // and end the installation; the user can still pick another one here.
    if (!CanWriteInFolder(folder)) {
        char text[kPathSize + 96];
        std::snprintf(text, sizeof text, "%s cannot be created or written to.\nPlease choose another folder.",
                      folder);
        ShowErrorBox(page, text);
        SetFocus(field);
        return -1;
    }
    CopyBounded(g_installFolder, sizeof g_installFolder, folder);
    return 0;
}

void BrowseForInstallFolder(HWND page) {
    BROWSEINFOA browse;
    ZeroMemory(&browse, sizeof browse);
    char name[MAX_PATH];
    browse.hwndOwner = page;
    browse.pszDisplayName = name;
    browse.lpszTitle = "Select the install folder:";
    LPITEMIDLIST picked = SHBrowseForFolderA(&browse);
    if (picked == nullptr) return;
    char path[MAX_PATH];
    if (SHGetPathFromIDListA(picked, path) && CopyBounded(g_installFolder, sizeof g_installFolder, path))
        SetDlgItemTextA(page, IDC_INSTALL_FOLDER, g_installFolder);
    CoTaskMemFree(picked);
}

// Next on the ready page: the copy, the group and the uninstall entry.
void Install(HWND page) {
    const int hidden[] = {IDC_PAGE_TITLE, IDC_PAGE_HINT, IDC_READY_BOX, IDC_READY_FOLDER, IDC_READY_GROUP};
    for (int control : hidden) ShowWindow(GetDlgItem(page, control), SW_HIDE);
    UpdateWindow(page);
    SetWizardButtons(page, PSWIZB_BACK | PSWIZB_DISABLEDFINISH);

    char drive[kDriveSize];
    char dir[kPathSize];
    if (!GetProgramFolder(drive, dir) || !CopyInstallFiles(drive, dir, g_installFolder, page) ||
        !CopyInstallFolders(drive, dir, g_installFolder))
        FailAndExit(page);
    if (g_createGroup) CreateProgramGroup(g_installFolder);
    WriteUninstallEntry(g_installFolder);
}

// What a page does with a notification it has nothing of its own for: shows
// its wizard buttons when it becomes active, and on Cancel shows the failure
// dialog, after which the wizard closes or, from the options page on, the
// process ends with exit code 0.
INT_PTR CommonNotify(HWND page, UINT code, LPARAM buttons, int cancelEndsProcess) {
    switch (code) {
    case PSN_SETACTIVE:
        SetWizardButtons(page, buttons);
        return Answer(page, 0);
    case PSN_QUERYCANCEL:
        if (cancelEndsProcess) FailAndExit(page);
        ShowFailure(page);
        return Answer(page, FALSE);
    default:
        return Answer(page, 0);
    }
}

UINT NotifyCode(LPARAM lParam) { return reinterpret_cast<NMHDR*>(lParam)->code; }

// The page's side picture at the system's DPI. A picture control takes the
// size of its bitmap, which is drawn for 96 dpi; on a larger scale the page
// grows and the picture would fill only part of its column, so the bitmap
// is loaded again stretched to the place the template gives it.
void ScaleSidePicture(HWND page, int bitmap, int widthUnits, int heightUnits) {
    if (ScaleToSystemDpi(96) == 96) return;
    RECT place = {0, 0, widthUnits, heightUnits};
    MapDialogRect(page, &place);
    for (HWND child = GetWindow(page, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char kind[16];
        if (!GetClassNameA(child, kind, sizeof kind) || lstrcmpiA(kind, "Static") != 0 ||
            (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
            continue;
        HANDLE scaled = LoadImageA(g_instance, MAKEINTRESOURCEA(bitmap), IMAGE_BITMAP, place.right, place.bottom, 0);
        // The picture lives as long as the page, that is until the installer ends.
        if (scaled != nullptr) SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled));
        return;
    }
}

INT_PTR CALLBACK WelcomeProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        ScaleSidePicture(page, IDB_WELCOME_PICTURE, 80, 159);
        g_welcomeTitleFont = MakePageFont(page, "MS Sans Serif", 12, FW_BOLD, 0);
        SetControlFont(page, IDC_PAGE_TITLE, g_welcomeTitleFont);
        EnableDialogTheme(page, 1);
        return TRUE;
    case WM_NOTIFY:
        if (NotifyCode(lParam) == PSN_SETACTIVE) {
            g_createGroup = 0;
            HICON icon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_SETUP_WINDOW));
            SetClassLongPtrA(Wizard(page), GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
            CenterWindowOnScreen(Wizard(page));
        }
        return CommonNotify(page, NotifyCode(lParam), PSWIZB_NEXT, 0);
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK FolderProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        g_installFolder[0] = '\0';
        ScaleSidePicture(page, IDB_PAGE_PICTURE, 85, 154);
        SendDlgItemMessageA(page, IDC_INSTALL_FOLDER, EM_LIMITTEXT, kPathMax, 0);
        SetDlgItemTextA(page, IDC_INSTALL_FOLDER, kDefaultInstallFolder);
        EnableDialogTheme(page, 1);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_BROWSE_FOLDER) BrowseForInstallFolder(page);
        return TRUE;
    case WM_NOTIFY:
        if (NotifyCode(lParam) == PSN_WIZNEXT) return Answer(page, AcceptInstallFolder(page));
        return CommonNotify(page, NotifyCode(lParam), PSWIZB_BACK | PSWIZB_NEXT, 0);
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK OptionsProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        ScaleSidePicture(page, IDB_PAGE_PICTURE, 85, 154);
        g_optionsTitleFont = MakePageFont(page, "Times New Roman", 32, FW_BOLD, 1);
        g_optionsHintFont = MakePageFont(page, "MS Sans Serif", 9, 0, 0);
        SetControlFont(page, IDC_PAGE_TITLE, g_optionsTitleFont);
        SetControlFont(page, IDC_PAGE_HINT, g_optionsHintFont);
        SendDlgItemMessageA(page, IDC_CREATE_GROUP, BM_SETCHECK, BST_CHECKED, 0);
        return TRUE;
    case WM_NOTIFY:
        // Only set here: clearing the box later does not take it back.
        if (NotifyCode(lParam) == PSN_WIZNEXT && IsDlgButtonChecked(page, IDC_CREATE_GROUP) == BST_CHECKED)
            g_createGroup = 1;
        return CommonNotify(page, NotifyCode(lParam), PSWIZB_BACK | PSWIZB_NEXT, 1);
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK ReadyProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        ScaleSidePicture(page, IDB_PAGE_PICTURE, 85, 154);
        SetDlgItemTextA(page, IDC_READY_FOLDER, g_installFolder);
        if (g_createGroup)
            SetDlgItemTextA(page, IDC_READY_GROUP, "Create a group Ombrello_zandrix");
        else
            ShowWindow(GetDlgItem(page, IDC_READY_GROUP), SW_HIDE);
        EnableDialogTheme(page, 1);
        return TRUE;
    case WM_NOTIFY:
        if (NotifyCode(lParam) == PSN_WIZNEXT) Install(page);
        return CommonNotify(page, NotifyCode(lParam), PSWIZB_NEXT, 1);
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK FinishProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        ScaleSidePicture(page, IDB_PAGE_PICTURE, 85, 154);
        return TRUE;
    case WM_NOTIFY:
        return CommonNotify(page, NotifyCode(lParam), PSWIZB_BACK | PSWIZB_FINISH, 1);
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    g_instance = instance;
    InitCommonControls();
    // The folder browser is a shell dialog and wants COM on its thread.
    CoInitialize(nullptr);

    const struct { int page; DLGPROC proc; } pages[] = {
        {IDD_INSTALL_WELCOME, WelcomeProc}, {IDD_INSTALL_FOLDER, FolderProc},
        {IDD_INSTALL_OPTIONS, OptionsProc}, {IDD_INSTALL_READY, ReadyProc},
        {IDD_INSTALL_FINISH, FinishProc},
    };
    PROPSHEETPAGEA sheets[5];
    for (int i = 0; i < 5; ++i) {
        ZeroMemory(&sheets[i], sizeof sheets[i]);
        sheets[i].dwSize = sizeof sheets[i];
        sheets[i].dwFlags = PSP_DEFAULT;
        sheets[i].hInstance = instance;
        sheets[i].pszTemplate = MAKEINTRESOURCEA(pages[i].page);
        sheets[i].pfnDlgProc = pages[i].proc;
    }
    PROPSHEETHEADERA header;
    ZeroMemory(&header, sizeof header);
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE | PSH_USEHICON | PSH_NOAPPLYNOW;
    header.hwndParent = nullptr;
    header.hInstance = instance;
    header.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_GUI_SETUP));
    header.pszCaption = "Ombrello_zandrix - Install wizzard";
    header.nPages = 5;
    header.nStartPage = 0;
    header.ppsp = sheets;
    PropertySheetA(&header);

    const HFONT fonts[] = {g_welcomeTitleFont, g_optionsTitleFont, g_optionsHintFont};
    for (HFONT font : fonts)
        if (font != nullptr) DeleteObject(font);
    CoUninitialize();
    return 1;
}
