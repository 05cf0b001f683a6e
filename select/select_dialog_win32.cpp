// The file selection dialog 305: the folder listing of the folder chosen in
// the tree, the sorted selection list with its count, the toolbar, the
// Delete-key hook and the writing of o.log on OK.
#include "select/select_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gui/help.h"
#include "gui/window_helpers.h"
#include "job/paths.h"
#include "lang/language.h"
#include "launch/engine_files.h"
#include "launch/otxtpdf.h"
#include "resources/main_ids.h"
#include "resources/select_ids.h"
#include "select/folder_tree_win32.h"
#include "select/selection.h"


namespace {

const char kCaption[] = "Ombrello_zandrix";

// One dialog at a time: it is modal and the hook needs to find it.
struct SelectState {
    HWND dialog;
    HWND tree;
    HWND toolbar;
    HBITMAP toolbarPictures;  // the picture strip scaled to the system's DPI, when it is not 96
    HHOOK hook;
    HICON smallIcon;
    int ascending[4];
    SelectedPaths selected;
    std::vector<std::string> sortKeys;  // of the selection list's entries, in its order
};
SelectState g_select;

struct ToolEntry {
    int image;
    int command;
    BYTE style;
    const char* tip;
};

const ToolEntry kTools[] = {
    {0, 0, TBSTYLE_SEP, nullptr},
    {0, IDC_CM_ADD_FOLDER, TBSTYLE_BUTTON, "Select all the folder"},
    {1, IDC_CM_ADD_TREE, TBSTYLE_BUTTON, "Select all the folder and its children folders"},
    {0, 0, TBSTYLE_SEP, nullptr},
    {2, IDC_CM_REMOVE, TBSTYLE_BUTTON, "Remove the selected files"},
    {6, IDC_CM_REMOVE_ALL, TBSTYLE_BUTTON, "Remove all the files"},
    {0, 0, TBSTYLE_SEP, nullptr},
    {3, IDC_CM_GRID, TBSTYLE_CHECK, "Show / Hide the grid"},
    {0, 0, TBSTYLE_SEP, nullptr},
    {7, IDC_CM_HELP, TBSTYLE_BUTTON, "Display Help"},
    {5, IDCANCEL, TBSTYLE_BUTTON, "Close the window without any selection"},
    {4, IDOK, TBSTYLE_BUTTON, "Close the window"},
};
const int kToolCount = sizeof kTools / sizeof kTools[0];

const char* ToolTip(UINT_PTR command) {
    for (const ToolEntry& tool : kTools)
        if (tool.tip != nullptr && static_cast<UINT_PTR>(tool.command) == command) return tool.tip;
    return "";
}

HWND Listing(HWND dialog) { return GetDlgItem(dialog, IDC_LV_FILES); }
HWND SelectionList(HWND dialog) { return GetDlgItem(dialog, IDC_LB_SELECTION); }

void ShowCount(HWND dialog) {
    LRESULT count = SendMessageA(SelectionList(dialog), LB_GETCOUNT, 0, 0);
    SetDlgItemInt(dialog, IDC_ST_SELECTED_COUNT, count < 0 ? 0u : static_cast<UINT>(count), FALSE);
}

void SetCell(HWND list, int row, int column, const char* text) {
    LVITEMA cell;
    std::memset(&cell, 0, sizeof cell);
    cell.iSubItem = column;
    cell.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

// Makes the record of one listed file and inserts its row at the top; a
// file whose status cannot be read is left out.
void AddListingRow(HWND list, const char* folder, const char* name) {
    FileRecord* record = new FileRecord;
    WIN32_FILE_ATTRIBUTE_DATA status;
    SYSTEMTIME utc, local;
    if (!JoinFolderFile(folder, name, record->path) ||
        !GetFileAttributesExA(record->path, GetFileExInfoStandard, &status) ||
        !FileTimeToSystemTime(&status.ftLastWriteTime, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        delete record;
        return;
    }
    record->size = status.nFileSizeLow;
    record->engine_value = OtxtpdfPageCount(record->path);
    FormatModified(local.wMonth, local.wDay, local.wYear, local.wHour, local.wMinute, record->modified);

    const char* shown = std::strrchr(record->path, '\\');
    shown = shown == nullptr ? record->path : shown + 1;
    LVITEMA row;
    std::memset(&row, 0, sizeof row);
    row.mask = LVIF_TEXT | LVIF_PARAM;
    row.iItem = 0;
    row.pszText = const_cast<char*>(shown);
    row.lParam = reinterpret_cast<LPARAM>(record);
    LRESULT at = SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
    if (at < 0) {
        delete record;
        return;
    }
    char number[16];
    std::snprintf(number, sizeof number, "%d", static_cast<int>(record->engine_value));
    SetCell(list, static_cast<int>(at), 1, number);
    std::snprintf(number, sizeof number, "%u", static_cast<unsigned>(record->size));
    SetCell(list, static_cast<int>(at), 2, number);
    SetCell(list, static_cast<int>(at), 3, record->modified);
}

void BuildFolderListing(HWND dialog, const char* folder) {
    HWND list = Listing(dialog);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    char pattern[kPathSize];
    if (!JoinFolderFile(folder, "*.*", pattern)) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    do {
        if (IsListedEntry(found.dwFileAttributes, found.cFileName, found.nFileSizeLow))
            AddListingRow(list, folder, found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// The duplicate check: true for a path not yet selected, which from then on
// counts as selected; an already selected one gets its message.
bool IsNewCandidate(HWND dialog, const char* path) {
    if (g_select.selected.Contains(path)) {
        std::string text = std::string("The file ") + path + " is already selected.\n\nIt will not be included.";
        MessageBoxA(dialog, text.c_str(), kCaption, MB_OKCANCEL | MB_ICONINFORMATION);
        return false;
    }
    g_select.selected.Add(path);
    return true;
}

// The list box's own order as bytes: the sort key of its locale, ignoring
// case, which orders texts exactly as the list box compares them.
std::string SortKey(LCID locale, const char* text) {
    int size = LCMapStringA(locale, LCMAP_SORTKEY | NORM_IGNORECASE, text, -1, nullptr, 0);
    if (size <= 0) return std::string();
    std::string key(static_cast<size_t>(size), '\0');
    LCMapStringA(locale, LCMAP_SORTKEY | NORM_IGNORECASE, text, -1, &key[0], size);
    return key;
}

// Puts new paths where the sorted list would put them. The list's sort
// keys are kept beside it, so each position is found by comparing bytes
// rather than by asking the list box to compare texts (slow for thousands
// of files), and a batch in ascending order goes in without moving entries.
void AddToSelectionList(HWND dialog, const std::vector<std::string>& paths) {
    HWND list = SelectionList(dialog);
    LCID locale = static_cast<LCID>(SendMessageA(list, LB_GETLOCALE, 0, 0));
    std::vector<std::pair<std::string, const std::string*>> batch;
    size_t bytes = 0;
    for (const std::string& path : paths) {
        batch.emplace_back(SortKey(locale, path.c_str()), &path);
        bytes += path.size() + 1;
    }
    std::sort(batch.begin(), batch.end(),
              [](const std::pair<std::string, const std::string*>& a,
                 const std::pair<std::string, const std::string*>& b) { return a.first < b.first; });
    SendMessageA(list, LB_INITSTORAGE, paths.size(), static_cast<LPARAM>(bytes));
    std::vector<std::string>& keys = g_select.sortKeys;
    for (const auto& item : batch) {
        size_t at = static_cast<size_t>(std::upper_bound(keys.begin(), keys.end(), item.first) - keys.begin());
        LRESULT placed = SendMessageA(list, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(item.second->c_str()));
        if (placed < 0) {
            g_select.selected.Remove(item.second->c_str());
            continue;
        }
        keys.insert(keys.begin() + static_cast<std::ptrdiff_t>(placed), item.first);
    }
}

// Collects the new listed files of folder (which ends in a backslash) in
// enumeration order and, when descending, first those of each subfolder
// met on the way.
void ScanFolder(HWND dialog, const char* folder, bool descend, std::vector<std::string>& found) {
    char pattern[kPathSize];
    if (!JoinFolderFile(folder, "*.*", pattern)) return;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        char path[kPathSize];
        if (!JoinFolderFile(folder, entry.cFileName, path)) continue;
        if (descend && IsScannedFolder(entry.dwFileAttributes, entry.cFileName)) ScanFolder(dialog, path, true, found);
        if (IsListedEntry(entry.dwFileAttributes, entry.cFileName, entry.nFileSizeLow) && IsNewCandidate(dialog, path))
            found.push_back(path);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

void AddFolder(HWND dialog, bool descend) {
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    char folder[kPathSize];
    if (FolderForCommands(g_select.tree, folder)) {
        size_t length = std::strlen(folder);
        if ((length == 0 || folder[length - 1] != '\\') && length < kPathMax) std::strcat(folder, "\\");
        std::vector<std::string> found;
        ScanFolder(dialog, folder, descend, found);
        // One repaint for the whole scan rather than one per file.
        HWND list = SelectionList(dialog);
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        AddToSelectionList(dialog, found);
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
    ShowCount(dialog);
    SetCursor(previous);
}

void AddFirstSelectedRow(HWND dialog) {
    HWND list = Listing(dialog);
    LRESULT row = SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    if (row < 0) return;
    char name[kPathSize];
    LVITEMA cell;
    std::memset(&cell, 0, sizeof cell);
    cell.pszText = name;
    cell.cchTextMax = kPathSize;
    name[0] = '\0';
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    char folder[kPathSize];
    char path[kPathSize];
    if (FolderForCommands(g_select.tree, folder) && JoinFolderFile(folder, name, path) && IsNewCandidate(dialog, path)) {
        std::vector<std::string> one(1, path);
        AddToSelectionList(dialog, one);
    }
    ShowCount(dialog);
}

std::string EntryText(HWND list, int index) {
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return std::string(text.data());
}

void RemoveSelected(HWND dialog) {
    HWND list = SelectionList(dialog);
    LRESULT count = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return;  // nothing selected: nothing changes, the count field included
    std::vector<int> positions(static_cast<size_t>(count));
    LRESULT got = SendMessageA(list, LB_GETSELITEMS, static_cast<WPARAM>(count),
                               reinterpret_cast<LPARAM>(positions.data()));
    positions.resize(got < 0 ? 0 : static_cast<size_t>(got));
    // Highest first, so that the positions not yet deleted stay valid.
    std::sort(positions.rbegin(), positions.rend());
    for (int position : positions) {
        g_select.selected.Remove(EntryText(list, position).c_str());
        if (SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(position), 0) >= 0 &&
            static_cast<size_t>(position) < g_select.sortKeys.size())
            g_select.sortKeys.erase(g_select.sortKeys.begin() + position);
    }
    ShowCount(dialog);
}

void RemoveAll(HWND dialog) {
    SendMessageA(SelectionList(dialog), LB_RESETCONTENT, 0, 0);
    g_select.selected.Clear();
    g_select.sortKeys.clear();
    ShowCount(dialog);
}

void SwitchGrid(HWND dialog) {
    HWND list = Listing(dialog);
    LRESULT styles = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    styles ^= LVS_EX_GRIDLINES;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, styles);
}

// The whole text goes to a new file beside o.log, which then replaces it.
int WriteSelectionFile(HWND list, char target[kPathSize]) {
    target[0] = '\0';
    char folder[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder || !BuildFileListPath(folder, target)) return 0;

    std::vector<std::string> entries;
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) entries.push_back(EntryText(list, i));
    std::string text = FileListText(entries);

    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder, "olg", 0, temporary)) return 0;
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool written = false;
    if (file != INVALID_HANDLE_VALUE) {
        DWORD done = 0;
        written = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &done, nullptr) &&
                  done == text.size() && FlushFileBuffers(file);
        written = CloseHandle(file) && written;
    }
    if (written && MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 1;
    DeleteFileA(temporary);
    return 0;
}

void Confirm(HWND dialog) {
    HWND list = SelectionList(dialog);
    if (SendMessageA(list, LB_GETCOUNT, 0, 0) <= 0) {
        if (MessageBoxA(dialog, "No file selected.\n\nContinue anyway ?", kCaption, MB_YESNO | MB_ICONQUESTION) == IDYES)
            EndDialog(dialog, 0);
        return;
    }
    char target[kPathSize];
    if (WriteSelectionFile(list, target)) {
        EndDialog(dialog, 1);
        return;
    }
    std::string text = std::string("The list of selected files ") + (target[0] ? target : "o.log") +
                       " could not be written.\n\nThe selection is kept.";
    MessageBoxA(dialog, text.c_str(), kCaption, MB_OK | MB_ICONERROR);
}

void OpenHelp(HWND dialog) { OpenProgramHelp(dialog, 101); }

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM sort) {
    const FileRecord* a = reinterpret_cast<const FileRecord*>(first);
    const FileRecord* b = reinterpret_cast<const FileRecord*>(second);
    if (a == nullptr || b == nullptr) return 0;
    return CompareRecords(*a, *b, static_cast<int>(sort / 2), (sort & 1) != 0);
}

void SortByColumn(HWND dialog, int column) {
    if (column < 0 || column > 3) return;
    g_select.ascending[column] = !g_select.ascending[column];
    SendMessageA(Listing(dialog), LVM_SORTITEMS, static_cast<WPARAM>(column * 2 + g_select.ascending[column]),
                 reinterpret_cast<LPARAM>(CompareRows));
}

LRESULT CALLBACK DeleteKeyHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        if (message->message == WM_KEYDOWN && message->wParam == VK_DELETE) {
            HWND focus = GetFocus();
            if (focus != nullptr && GetDlgCtrlID(focus) == IDC_LB_SELECTION && GetParent(focus) == g_select.dialog)
                SendMessageA(GetParent(focus), WM_COMMAND, IDC_CM_REMOVE, 0);
        }
    }
    return CallNextHookEx(g_select.hook, code, wParam, lParam);
}

void InsertColumns(HWND list) {
    static const struct {
        const char* key;
        int width;
        int format;
    } columns[] = {{"IDC_HEAD1", 200, LVCFMT_LEFT},
                   {"IDC_HEAD2", 55, LVCFMT_RIGHT},
                   {"IDC_HEAD3", 75, LVCFMT_RIGHT},
                   {"IDC_HEAD4", 115, LVCFMT_LEFT}};
    for (int i = 0; i < 4; ++i) {
        char header[kLanguageTextSize];
        lstrcpynA(header, ReadLanguageText("SELECT", columns[i].key), sizeof header);
        LVCOLUMNA column;
        std::memset(&column, 0, sizeof column);
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = columns[i].format;
        column.cx = ScaleToSystemDpi(columns[i].width);
        column.pszText = header;
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
}

HWND CreateSelectToolbar(HWND dialog) {
    TBBUTTON buttons[kToolCount];
    std::memset(buttons, 0, sizeof buttons);
    for (int i = 0; i < kToolCount; ++i) {
        buttons[i].iBitmap = kTools[i].image;
        buttons[i].idCommand = kTools[i].command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = kTools[i].style;
    }
    const DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS;
    int side = ScaleToSystemDpi(16);
    if (side != 16) {
        // The strip stretched to the screen's scale, its greys mapped to the
        // system's 3D colours as the toolbar maps those of a resource.
        g_select.toolbarPictures = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
            MAKEINTRESOURCEA(IDB_SELECT_TOOLBAR), IMAGE_BITMAP, 8 * side, side, LR_LOADMAP3DCOLORS));
        if (g_select.toolbarPictures != nullptr)
            return CreateToolbarEx(dialog, style, IDC_TB_SELECT, 8, nullptr,
                                   reinterpret_cast<UINT_PTR>(g_select.toolbarPictures), buttons, kToolCount, side,
                                   side, side, side, sizeof(TBBUTTON));
    }
    return CreateToolbarEx(dialog, style, IDC_TB_SELECT, 8, GetModuleHandleA(nullptr), IDB_SELECT_TOOLBAR, buttons,
                           kToolCount, 16, 16, 16, 16, sizeof(TBBUTTON));
}

void OnInitDialog(HWND dialog) {
    g_select.dialog = dialog;
    for (int& flag : g_select.ascending) flag = 0;
    g_select.selected.Clear();
    g_select.sortKeys.clear();
    SetWindowTextA(dialog, "Ombrello_zandrix - Select PDF files");

    HWND list = Listing(dialog);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    InsertColumns(list);

    g_select.tree = CreateFolderTree(dialog);
    if (g_select.tree != nullptr) FillFolderTreeTop(g_select.tree);

    INITCOMMONCONTROLSEX bars = {sizeof bars, ICC_BAR_CLASSES};
    InitCommonControlsEx(&bars);
    g_select.toolbar = CreateSelectToolbar(dialog);
    g_select.smallIcon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SELECT), IMAGE_ICON, ScaleToSystemDpi(16),
                   ScaleToSystemDpi(16), LR_DEFAULTCOLOR));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_select.smallIcon));
    SendMessageA(g_select.toolbar, TB_CHECKBUTTON, IDC_CM_GRID, TRUE);

    SetDlgItemTextA(dialog, IDC_ST_SELECTED, ReadLanguageText("SELECT", "IDC_SF"));
    g_select.hook = SetWindowsHookExA(WH_MSGFILTER, DeleteKeyHook, nullptr, GetCurrentThreadId());
    CenterWindowOnScreen(dialog);
}

void OnDestroy(HWND dialog) {
    if (g_select.hook != nullptr) UnhookWindowsHookEx(g_select.hook);
    g_select.hook = nullptr;
    // The rows and the tree items give back what they own while the dialog still hears them.
    SendMessageA(Listing(dialog), LVM_DELETEALLITEMS, 0, 0);
    DestroyFolderTree(g_select.tree);
    g_select.tree = nullptr;
    g_select.toolbar = nullptr;
    // The toolbar copied the strip into its image list and never owned it.
    if (g_select.toolbarPictures != nullptr) DeleteObject(g_select.toolbarPictures);
    g_select.toolbarPictures = nullptr;
    if (g_select.smallIcon != nullptr) DestroyIcon(g_select.smallIcon);
    g_select.smallIcon = nullptr;
    g_select.selected.Clear();
    g_select.sortKeys.clear();
    g_select.dialog = nullptr;
}

LRESULT OnNotify(HWND dialog, const NMHDR* header) {
    if (header->hwndFrom == g_select.tree && g_select.tree != nullptr) {
        char folder[kPathSize];
        if (OnFolderTreeNotify(g_select.tree, header, folder)) BuildFolderListing(dialog, folder);
        return 0;
    }
    if (header->idFrom == IDC_LV_FILES) {
        switch (header->code) {
        case LVN_COLUMNCLICK:
            SortByColumn(dialog, reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
            return 0;
        case NM_DBLCLK:
            AddFirstSelectedRow(dialog);
            return 0;
        case LVN_DELETEITEM:
            delete reinterpret_cast<FileRecord*>(reinterpret_cast<const NMLISTVIEW*>(header)->lParam);
            return 0;
        default:
            return 0;
        }
    }
    if (header->code == TTN_GETDISPINFOA) {
        NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(const_cast<NMHDR*>(header));
        lstrcpynA(info->szText, ToolTip(header->idFrom), sizeof info->szText);
        info->lpszText = info->szText;
    } else if (header->code == TTN_GETDISPINFOW) {
        NMTTDISPINFOW* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
        MultiByteToWideChar(CP_ACP, 0, ToolTip(header->idFrom), -1, info->szText,
                            sizeof info->szText / sizeof info->szText[0]);
        info->lpszText = info->szText;
    }
    return 0;
}

void OnCommand(HWND dialog, WPARAM command) {
    // The whole parameter: notifications of the controls never act.
    switch (command) {
    case IDOK:
        Confirm(dialog);
        break;
    case IDCANCEL:
        EndDialog(dialog, 0);
        break;
    case IDC_CM_HELP:
        OpenHelp(dialog);
        break;
    case IDC_CM_ADD_FOLDER:
        AddFolder(dialog, false);
        break;
    case IDC_CM_ADD_TREE:
        AddFolder(dialog, true);
        break;
    case IDC_CM_REMOVE:
        RemoveSelected(dialog);
        break;
    case IDC_CM_REMOVE_ALL:
        RemoveAll(dialog);
        break;
    case IDC_CM_GRID:
        SwitchGrid(dialog);
        break;
    default:
        break;
    }
}

}  // namespace

INT_PTR CALLBACK SelectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, wParam);
        return TRUE;
    case WM_NOTIFY:
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, OnNotify(dialog, reinterpret_cast<const NMHDR*>(lParam)));
        return TRUE;
    case WM_SIZE:
        if (g_select.toolbar != nullptr) SendMessageA(g_select.toolbar, TB_AUTOSIZE, 0, 0);
        return FALSE;
    case WM_DESTROY:
        OnDestroy(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR OpenSelectDialog(HWND owner) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SELECT), owner, SelectDialogProc, 0);
}
