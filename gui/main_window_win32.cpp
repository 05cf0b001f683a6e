// The configurator's main window: start-up, initialisation and every
// command of dialog 101. The work behind most commands lives elsewhere
// (loading and saving the form, language texts, option pages, launching);
// this dialog procedure is the hub that calls them in their order.
#include "gui/main_window.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "gui/dialog_form.h"
#include "gui/help.h"
#include "gui/lists.h"
#include "gui/pages.h"
#include "gui/tabs_win32.h"
#include "gui/window_helpers.h"
#include "job/form_binding.h"
#include "job/job_keys.h"
#include "job/paths.h"
#include "job/profile.h"
#include "lang/language.h"
#include "lang/language_tables.h"
#include "lang/language_win32.h"
#include "launch/launch_win32.h"
#include "launch/monitor_protocol.h"
#include "resources/main_ids.h"
#include "resources/version.h"
#include "select/select_dialog.h"

namespace {

// Program-wide state of the main window; one instance for the process.
struct MainWindow {
    char drive[kDriveSize];
    char dir[kPathSize];
    ProgramValues program;
    HBRUSH faceBrush;
    HBRUSH swatchBrush;
    HFONT noteFont;
    HFONT boldFont;
    HWND tooltips;
};

MainWindow g_main;

const char kCaption[] = "Ombrello_zandrix";

// Re-derives the program folder; every program file is found beside it.
void DeriveProgramFolder() {
    if (!GetProgramFolder(g_main.drive, g_main.dir)) {
        g_main.drive[0] = '\0';
        g_main.dir[0] = '\0';
    }
}

void FillLists(HWND dialog) {
    for (int i = 0; i < kDropDownListCount; ++i) {
        const DropDownList& list = kDropDownLists[i];
        SendDlgItemMessageA(dialog, list.control, CB_RESETCONTENT, 0, 0);
        for (int e = 0; e < list.entryCount; ++e)
            SendDlgItemMessageA(dialog, list.control, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(list.entries[e]));
        if (i == 0) {
            // The output format list comes second, filled from the catalogue.
            SendDlgItemMessageA(dialog, IDC_CB_OUTPUT_FORMAT, CB_RESETCONTENT, 0, 0);
            for (int f = 0; f < kFormatCount; ++f)
                SendDlgItemMessageA(dialog, IDC_CB_OUTPUT_FORMAT, CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(FormatLabel(f)));
        }
    }
}

// Fonts of the red scan note and the bold "Input setup" frame, both made
// from the default GUI font.
void MakeStaticFonts(HWND dialog) {
    LOGFONTA font;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    g_main.noteFont = CreateFontIndirectA(&font);
    font.lfWeight = FW_BOLD;
    g_main.boldFont = CreateFontIndirectA(&font);
    SendDlgItemMessageA(dialog, IDC_ST_SCAN_STOP_NOTE, WM_SETFONT, reinterpret_cast<WPARAM>(g_main.noteFont), TRUE);
    SendDlgItemMessageA(dialog, IDC_GB_INPUT, WM_SETFONT, reinterpret_cast<WPARAM>(g_main.boldFont), TRUE);
}

void ReleaseResources() {
    if (g_main.swatchBrush != nullptr) DeleteObject(g_main.swatchBrush);
    if (g_main.noteFont != nullptr) DeleteObject(g_main.noteFont);
    if (g_main.boldFont != nullptr) DeleteObject(g_main.boldFont);
    g_main.swatchBrush = nullptr;
    g_main.noteFont = nullptr;
    g_main.boldFont = nullptr;
}

bool FileReadable(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

void CheckMenu(HWND dialog, int command, int checked) {
    CheckMenuItem(GetMenu(dialog), command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void InitMainDialog(HWND dialog) {
    DeriveProgramFolder();
    char jobPath[kPathSize];
    FileBesideProgram(kDefaultJobFileName, jobPath);

    const JobKey& langue = JobKeyAt(kKeyLangue);
    int code = static_cast<int>(ProfileReadInt(langue.section, langue.key, langue.defaultNumber, jobPath));
    // Any other code keeps the file chosen at start-up and checks neither item.
    char languagePath[kPathSize];
    LanguagePathForCode(code, g_main.drive, g_main.dir, LanguageFile(), languagePath);
    SetLanguageFile(languagePath);
    ShowLanguageCheckMarks(dialog, code);
    g_main.program.languageCode = code;

    g_main.faceBrush = GetSysColorBrush(COLOR_BTNFACE);
    HICON small = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SMALL),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    // The move folder's browse button shows a folder picture rather than "...".
    HICON folder = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BROWSE_FOLDER),
                                                  IMAGE_ICON, ScaleToSystemDpi(16), ScaleToSystemDpi(16),
                                                  LR_SHARED));
    SendDlgItemMessageA(dialog, IDC_BT_MOVE_PATH, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(folder));
    FillLists(dialog);
    MakeStaticFonts(dialog);
    SetDlgItemTextA(dialog, IDC_ED_JOB_FILE, jobPath);

    // Without a default job file the window shows its resource texts and an empty form.
    if (!FileReadable(jobPath)) return;

    const JobKey& tooltips = JobKeyAt(kKeyTooltips);
    g_main.program.tooltips =
        ProfileReadInt(tooltips.section, tooltips.key, tooltips.defaultNumber, jobPath) != 0 ? 1 : 0;
    g_main.tooltips = CreateMainTooltips(dialog, g_main.program.tooltips);
    if (g_main.program.tooltips) CheckMenu(dialog, IDM_TOOLTIPS, 1);

    DialogForm form(dialog);
    LoadJob(form, jobPath, 0, g_main.program);
    ApplyLanguageTexts(dialog, InputTabWindow(), OutputTabWindow(), LanguageFile());
    g_main.swatchBrush = RefreshColorSwatch(dialog, g_main.program.transparencyColour, g_main.swatchBrush);
    if (g_main.program.displayDetails) CheckMenu(dialog, IDM_DISPLAY_DETAILS, 1);
    EnableDialogTheme(dialog, 1);
    CenterWindowOnScreen(dialog);
}

// Reads the job file path field into path, ready for a save or a launch. A
// bare file name is taken as a file beside the program, and the field then
// shows the full path, so the user sees where the job goes. An empty field
// shows the language's emptyMessage (ini_file for a save or a launch, no_ini
// for Stop scan), a path over kPathMax characters the path_too_long error
// (never a shortened path); both put the focus on the field and return false.
bool JobPathOrComplain(HWND dialog, char path[kPathSize], LanguageMessageId emptyMessage = kMsgIniFile) {
    path[0] = '\0';
    HWND field = GetDlgItem(dialog, IDC_ED_JOB_FILE);
    // Read the whole text, whatever its length, so that nothing is cut.
    const int length = GetWindowTextLengthA(field);
    std::string typed(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    GetWindowTextA(field, &typed[0], length + 1);
    typed.resize(std::strlen(typed.c_str()));
    switch (ResolveJobPath(typed.c_str(), g_main.drive, g_main.dir, path)) {
    case kJobPathOk:
        if (typed != path) SetWindowTextA(field, path);
        return true;
    case kJobPathEmpty:
        ShowLanguageMessageAt(dialog, emptyMessage, nullptr);
        break;
    case kJobPathTooLong: {
        // Show the path the job would have had.
        std::string shown = typed;
        if (IsBareFileName(typed.c_str())) shown = std::string(g_main.drive) + g_main.dir + typed;
        ShowLanguageMessageAt(dialog, kMsgPathTooLong, shown.c_str());
        break;
    }
    }
    SetFocus(field);
    return false;
}

bool SaveFromPathField(HWND dialog) {
    char path[kPathSize];
    if (!JobPathOrComplain(dialog, path)) return false;
    DialogForm form(dialog);
    return SaveJob(form, path, g_main.program) == 1;
}

void OpenBesideProgram(HWND dialog, const char* name) {
    char path[kPathSize];
    if (FileBesideProgram(name, path)) ShellExecuteA(dialog, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

// The open-file dialog shared by the job file and the signature file.
bool PickFile(HWND dialog, const char* filter, const char* title, const char* extension,
              char path[kPathSize]) {
    path[0] = '\0';
    OPENFILENAMEA open;
    ZeroMemory(&open, sizeof open);
    open.lStructSize = sizeof open;
    open.hwndOwner = dialog;
    open.lpstrFilter = filter;
    open.lpstrFile = path;
    open.nMaxFile = kPathSize;
    open.lpstrTitle = title;
    open.lpstrDefExt = extension;
    open.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    return GetOpenFileNameA(&open) != 0;
}

void OpenAnotherJob(HWND dialog) {
    char path[kPathSize];
    if (!PickFile(dialog, "Ombrello_zandrix Ini File (*.ini)\0*.ini\0", "Ombrello_zandrix Ini File",
                  "*.ini", path))
        return;
    SetDlgItemTextA(dialog, IDC_ED_JOB_FILE, path);
    DialogForm form(dialog);
    LoadJob(form, path, 1, g_main.program);
    g_main.swatchBrush = RefreshColorSwatch(dialog, g_main.program.transparencyColour, g_main.swatchBrush);
}

void PickSignatureFile(HWND dialog) {
    char path[kPathSize];
    if (PickFile(dialog, "GIF (*.gif)\0*.gif\0JPEG (*.jpg)\0*.jpg\0PNG (*.png)\0*.png\0",
                 "Ombrello_zandrix Signature File", "*.jpg", path))
        SetDlgItemTextA(dialog, IDC_ED_SIGNATURE_FILE, path);
}

// The edit field that a folder browse button fills.
int BrowseTarget(int command) {
    switch (command) {
    case IDC_BT_SOURCE_PATH: return IDC_ED_SOURCE_PATH;
    case IDC_BT_TARGET_PATH: return IDC_ED_TARGET_PATH;
    case IDC_BT_MOVE_PATH: return IDC_ED_MOVE_PATH;
    case IDC_BT_TEMP_PATH: return IDC_ED_TEMP_PATH;
    case IDC_BT_ERRORS_PATH: return IDC_ED_ERRORS_PATH;
    default: return 0;
    }
}

void BrowseFolder(HWND dialog, int command) {
    const char* key = BrowseTitleKey(command);
    int target = BrowseTarget(command);
    if (key == nullptr || target == 0) return;
    char titleCopy[kLanguageTextSize];
    lstrcpynA(titleCopy, ReadLanguageText(kSectionMisc, key), sizeof titleCopy);

    BROWSEINFOA browse;
    ZeroMemory(&browse, sizeof browse);
    browse.hwndOwner = dialog;
    browse.lpszTitle = titleCopy;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (chosen == nullptr) return;
    char path[MAX_PATH];
    if (SHGetPathFromIDListA(chosen, path)) SetDlgItemTextA(dialog, target, path);
    CoTaskMemFree(chosen);
}

bool PickColour(HWND dialog) {
    COLORREF colour = g_main.program.transparencyColour;
    if (!PickTransparencyColor(dialog, &colour)) return false;
    g_main.program.transparencyColour = colour;
    return true;
}

void ShowAbout(HWND dialog) {
    MessageBoxA(dialog, ZANDRIX_PRODUCT "\nConfigurator of the batch PDF converter\nVersion " ZANDRIX_VERSION_TEXT,
                kCaption, MB_OK | MB_ICONINFORMATION);
}

void Enable(HWND dialog, int control, bool on) { EnableWindow(GetDlgItem(dialog, control), on ? TRUE : FALSE); }

void Focus(HWND dialog, int control) { SetFocus(GetDlgItem(dialog, control)); }

// What a click on a check box or radio button does to the controls that
// depend on it; the load sets the same groups from the job file.
void ApplyClickRule(HWND dialog, int control) {
    const bool on = IsDlgButtonChecked(dialog, control) == BST_CHECKED;
    switch (control) {
    case IDC_CK_TIFF_COMPRESS:
        Enable(dialog, IDC_CB_TIFF_COMPRESS, on);
        break;
    case IDC_RB_EXTRACT_ALL:
        Enable(dialog, IDC_ED_FIRST_PAGE, !on);
        Enable(dialog, IDC_ED_LAST_PAGE, !on);
        if (!on) Focus(dialog, IDC_ED_FIRST_PAGE);
        break;
    case IDC_RB_EXTRACT_RANGE:
        Enable(dialog, IDC_ED_FIRST_PAGE, on);
        Enable(dialog, IDC_ED_LAST_PAGE, on);
        if (on) Focus(dialog, IDC_ED_FIRST_PAGE);
        break;
    case IDC_CK_TARGET_REPRODUCE:
        Enable(dialog, IDC_CK_TARGET_FROM_ROOT, on);
        if (on) Focus(dialog, IDC_CK_TARGET_FROM_ROOT);
        break;
    case IDC_RB_TXT_RAW:
        if (on) {
            Enable(dialog, IDC_ST_TXT_COLUMNS, true);
            Enable(dialog, IDC_ED_TXT_COLUMNS, true);
            Enable(dialog, IDC_CK_TXT_MARK_CRLF, true);
            Enable(dialog, IDC_CK_TXT_HTML, false);
        }
        break;
    case IDC_RB_TXT_FORMATTED:
        if (on) {
            Enable(dialog, IDC_ST_TXT_COLUMNS, false);
            Enable(dialog, IDC_ED_TXT_COLUMNS, false);
            Enable(dialog, IDC_CK_TXT_MARK_CRLF, false);
            Enable(dialog, IDC_CK_TXT_HTML, true);
        }
        break;
    case IDC_RB_MOVE_SOURCE:
        Enable(dialog, IDC_CK_MOVE_REPRODUCE, on);
        Enable(dialog, IDC_CK_MOVE_FROM_ROOT, on && g_main.program.reproduceInMoveRemembered);
        Enable(dialog, IDC_ED_MOVE_PATH, on);
        if (on) Focus(dialog, IDC_ED_MOVE_PATH);
        break;
    case IDC_RB_DELETE_SOURCE:
    case IDC_RB_KEEP_SOURCE:
        if (on) {
            Enable(dialog, IDC_CK_MOVE_REPRODUCE, false);
            Enable(dialog, IDC_CK_MOVE_FROM_ROOT, false);
            Enable(dialog, IDC_ED_MOVE_PATH, false);
        }
        break;
    case IDC_CK_MOVE_REPRODUCE:
        g_main.program.reproduceInMoveRemembered = on ? 1 : 0;
        Enable(dialog, IDC_CK_MOVE_FROM_ROOT, on);
        if (on) Focus(dialog, IDC_CK_MOVE_FROM_ROOT);
        break;
    case IDC_CK_SCAN:
        Enable(dialog, IDC_RB_SCAN_MINUTES, on);
        Enable(dialog, IDC_RB_SCAN_SECONDS, on);
        Enable(dialog, IDC_ED_SCAN_DELAY, on);
        if (on) Focus(dialog, IDC_ED_SCAN_DELAY);
        break;
    case IDC_CK_SHAVE:
        Enable(dialog, IDC_ED_SHAVE_HEIGHT, on);
        Enable(dialog, IDC_ED_SHAVE_WIDTH, on);
        if (on) Focus(dialog, IDC_ED_SHAVE_HEIGHT);
        break;
    case IDC_RB_NAME_FROM_PDF:
        Enable(dialog, IDC_ED_NAME_PREFIX, !on);
        Enable(dialog, IDC_ST_NAME_SUFFIX, !on);
        break;
    case IDC_RB_NAME_PREFIX:
        Enable(dialog, IDC_ED_NAME_PREFIX, on);
        Enable(dialog, IDC_ST_NAME_SUFFIX, on);
        if (on) Focus(dialog, IDC_ED_NAME_PREFIX);
        break;
    case IDC_CK_ROTATE:
        Enable(dialog, IDC_ED_ROTATE_RADIUS, on);
        break;
    case IDC_CK_SIGNATURE:
        Enable(dialog, IDC_RB_SIGNATURE_FILE, on);
        Enable(dialog, IDC_RB_SIGNATURE_TEXT, on);
        Enable(dialog, IDC_ED_SIGNATURE_FILE, on);
        Enable(dialog, IDC_ED_SIGNATURE_TEXT, on);
        Enable(dialog, IDC_BT_SIGNATURE_FILE, on);
        break;
    case IDC_RB_SIGNATURE_FILE:
        if (on) {
            Enable(dialog, IDC_ED_SIGNATURE_FILE, true);
            Enable(dialog, IDC_BT_SIGNATURE_FILE, true);
            Enable(dialog, IDC_ED_SIGNATURE_TEXT, false);
        }
        break;
    case IDC_RB_SIGNATURE_TEXT:
        if (on) {
            Enable(dialog, IDC_ED_SIGNATURE_TEXT, true);
            Enable(dialog, IDC_ED_SIGNATURE_FILE, false);
            Enable(dialog, IDC_BT_SIGNATURE_FILE, false);
        }
        break;
    case IDC_RB_ERRORS_MOVE:
        Enable(dialog, IDC_ED_ERRORS_PATH, on);
        Enable(dialog, IDC_BT_ERRORS_PATH, on);
        break;
    case IDC_RB_ERRORS_NOTHING:
        Enable(dialog, IDC_ED_ERRORS_PATH, !on);
        Enable(dialog, IDC_BT_ERRORS_PATH, !on);
        break;
    }
}

INT_PTR OnCommand(HWND dialog, int command, int notification) {
    switch (command) {
    case IDOK:
        if (SaveFromPathField(dialog)) EndDialog(dialog, 1);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_BT_SAVE:
        if (SaveFromPathField(dialog)) MessageBoxA(dialog, "Done.", kCaption, MB_OK | MB_ICONINFORMATION);
        return TRUE;
    case IDC_BT_JOB_FILE:
        OpenAnotherJob(dialog);
        return TRUE;
    case IDC_BT_LAUNCH: {
        char path[kPathSize];
        if (!JobPathOrComplain(dialog, path)) return TRUE;
        DialogForm form(dialog);
        LaunchJob(dialog, form, path, g_main.program);
        return TRUE;
    }
    case IDC_BT_STOP_SCAN: {
        char path[kPathSize];
        if (JobPathOrComplain(dialog, path, kMsgNoIni)) StopScan(dialog, path);
        return TRUE;
    }
    case IDM_LAST_LOG:
        OpenLastLog(dialog);
        return TRUE;
    case IDC_BT_SOURCE_PATH:
    case IDC_BT_TARGET_PATH:
    case IDC_BT_MOVE_PATH:
    case IDC_BT_TEMP_PATH:
    case IDC_BT_ERRORS_PATH:
        BrowseFolder(dialog, command);
        return TRUE;
    case IDC_BT_SELECT_FILES:
        OpenSelectDialog(dialog);
        return TRUE;
    case IDC_BT_SIGNATURE_FILE:
        PickSignatureFile(dialog);
        return TRUE;
    case IDC_BT_GIF_COLOUR:
        if (PickColour(dialog))
            g_main.swatchBrush = RefreshColorSwatch(dialog, g_main.program.transparencyColour, g_main.swatchBrush);
        return TRUE;
    case IDC_CB_OUTPUT_FORMAT:
        if (notification == CBN_SELCHANGE)
            OnFormatChanged(dialog, static_cast<int>(SendDlgItemMessageA(dialog, IDC_CB_OUTPUT_FORMAT, CB_GETCURSEL, 0, 0)));
        return TRUE;
    case IDM_HELP:
        OpenProgramHelp(dialog, 0);
        return TRUE;
    case IDM_WHATS_NEW:
        OpenBesideProgram(dialog, "whatsnew.txt");
        return TRUE;
    case IDM_ABOUT:
        ShowAbout(dialog);
        return TRUE;
    case IDM_TOOLTIPS:
        g_main.program.tooltips = !g_main.program.tooltips;
        CheckMenu(dialog, IDM_TOOLTIPS, g_main.program.tooltips);
        return TRUE;
    case IDM_DISPLAY_DETAILS:
        g_main.program.displayDetails = !g_main.program.displayDetails;
        CheckMenu(dialog, IDM_DISPLAY_DETAILS, g_main.program.displayDetails);
        return TRUE;
    case IDM_FRENCH:
    case IDM_ENGLISH:
        DeriveProgramFolder();
        g_main.program.languageCode =
            SwitchLanguage(dialog, InputTabWindow(), OutputTabWindow(), command, g_main.drive, g_main.dir);
        return TRUE;
    default:
        if (notification == BN_CLICKED) ApplyClickRule(dialog, command);
        return FALSE;
    }
}

HBRUSH OnControlColour(HDC dc, HWND control) {
    switch (GetDlgCtrlID(control)) {
    case IDC_ST_SCAN_STOP_NOTE:
        SelectObject(dc, g_main.noteFont);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 0, 0));
        return g_main.faceBrush;
    case IDC_GB_INPUT:
        SelectObject(dc, g_main.boldFont);
        SetBkMode(dc, TRANSPARENT);
        return g_main.faceBrush;
    case IDC_ST_GIF_SWATCH:
        return g_main.swatchBrush;
    default:
        return nullptr;
    }
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        InitMainDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == static_cast<UINT>(TCN_SELCHANGE)) OnTabSelectionChanged(dialog, header->hwndFrom);
        return FALSE;
    }
    case kRelayLine1:
    case kRelayLine2:
    case kRelayLine3:
    case kRelayClose:
        RelayToMonitor(dialog, message, lParam);
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        HBRUSH brush = OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        return reinterpret_cast<INT_PTR>(brush);
    }
    case WM_DESTROY:
        ReleaseResources();
        ForgetTabControls();
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

int RunConfigurator(HINSTANCE instance) {
    DeriveProgramFolder();
    char languagePath[kPathSize];
    StartupLanguagePath(g_main.drive, g_main.dir, languagePath);
    SetLanguageFile(languagePath);
    // COM once for the thread, for as long as the window lives: the folder
    // browsers are shell dialogs that want it, and the file selection
    // dialog's own initialisation then nests inside this one.
    HRESULT com = CoInitialize(nullptr);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
    if (SUCCEEDED(com)) CoUninitialize();
    return 1;
}
