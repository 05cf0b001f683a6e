// Runs the file selection dialog in a thread of the test or picture
// program and drives it; see select_host.h.
#include "tests/windows/select_host.h"

#include <shlobj.h>

#include <cstdio>

#include "lang/language.h"
#include "select/select_dialog.h"
#include "tests/windows/ui_driver.h"

namespace select_host {
namespace {

DWORD WINAPI RunDialog(LPVOID result) {
    *static_cast<INT_PTR*>(result) = OpenSelectDialog(nullptr);
    return 0;
}

INT_PTR g_result = -2;

}  // namespace

Session::Session() {
    SetLanguageFile((ui::OwnFolder() + "001.lng").c_str());
    g_result = -2;
    thread_ = CreateThread(nullptr, 0, RunDialog, &g_result, 0, nullptr);
    dialog_ = ui::WaitForWindow(GetCurrentProcessId(), "#32770", kTitle, 20000);
}

Session::~Session() {
    if (dialog_ != nullptr && IsWindow(dialog_)) PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, 20000);
        CloseHandle(thread_);
    }
}

HWND Session::tree() const { return GetDlgItem(dialog_, 10000); }
HWND Session::listing() const { return GetDlgItem(dialog_, 1541); }
HWND Session::selection() const { return GetDlgItem(dialog_, 1179); }

INT_PTR Session::WaitForEnd(DWORD timeoutMs) {
    if (WaitForSingleObject(thread_, timeoutMs) != WAIT_OBJECT_0) return -2;
    CloseHandle(thread_);
    thread_ = nullptr;
    dialog_ = nullptr;
    return g_result;
}

void Settle(HWND window) {
    // A sent message can overtake what was posted before it; the second one
    // comes after the thread has gone back to its queue.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
    Sleep(50);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
}

std::string ItemText(HWND tree, HTREEITEM item) {
    char text[260] = "";
    TVITEMA query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return text;
}

std::vector<HTREEITEM> ChildItems(HWND tree, HTREEITEM parent) {
    std::vector<HTREEITEM> items;
    HTREEITEM child = reinterpret_cast<HTREEITEM>(
        parent == TVI_ROOT ? SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)
                           : SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    for (; child != nullptr;
         child = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
        items.push_back(child);
    return items;
}

HTREEITEM ExpandToChild(HWND tree, HTREEITEM parent, const std::string& part) {
    if (parent != TVI_ROOT) SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    for (HTREEITEM child : ChildItems(tree, parent))
        if (ItemText(tree, child).find(part) != std::string::npos) return child;
    return nullptr;
}

void SelectItem(HWND tree, HTREEITEM item) {
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

namespace {

// Walks down from item through the children named exactly as given and selects the last.
HTREEITEM SelectNamedPath(HWND tree, HTREEITEM item, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (item == nullptr) return nullptr;
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        HTREEITEM next = nullptr;
        for (HTREEITEM child : ChildItems(tree, item))
            if (ItemText(tree, child) == name) next = child;
        item = next;
    }
    if (item != nullptr) SelectItem(tree, item);
    return item;
}

HTREEITEM TopItem(HWND tree, const std::string& text) {
    for (HTREEITEM top : ChildItems(tree, TVI_ROOT))
        if (ItemText(tree, top) == text) return top;
    return nullptr;
}

}  // namespace

HTREEITEM SelectBelowDocuments(HWND tree, const std::vector<std::string>& names) {
    std::string documents = DocumentsFolder();
    return SelectNamedPath(tree, TopItem(tree, documents.substr(documents.rfind('\\') + 1)), names);
}

HTREEITEM SelectBelowDriveC(HWND tree, const std::vector<std::string>& names) {
    HTREEITEM computer = TopItem(tree, "My Computer");
    if (computer == nullptr) return nullptr;
    return SelectNamedPath(tree, ExpandToChild(tree, computer, "(C:)"), names);
}

std::vector<std::vector<std::string>> ListingRows(HWND listing) {
    std::vector<std::vector<std::string>> rows;
    int count = static_cast<int>(SendMessageA(listing, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < 4; ++column) {
            char text[260] = "";
            LVITEMA cell = {};
            cell.iSubItem = column;
            cell.pszText = text;
            cell.cchTextMax = sizeof text;
            SendMessageA(listing, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
            cells.push_back(text);
        }
        rows.push_back(cells);
    }
    return rows;
}

std::vector<std::string> SelectionEntries(HWND list) {
    std::vector<std::string> entries;
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[520] = "";
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

void PostCommand(HWND dialog, int command) { PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(command), 0); }

std::vector<ui::MessageBoxView> AnswerBoxes(HWND dialog, const char* button, size_t expected) {
    std::vector<ui::MessageBoxView> boxes;
    // One more wait than expected, shorter, to see that no further box comes.
    for (size_t i = 0; i <= expected; ++i) {
        HWND box = ui::WaitForWindow(GetCurrentProcessId(), "#32770", "Ombrello_zandrix", i < expected ? 20000 : 300);
        if (box == nullptr) break;
        boxes.push_back(ui::ReadMessageBox(box));
        if (!ui::PressButton(box, button)) ui::PressButton(box, (std::string("&") + button).c_str());
        for (int wait = 0; wait < 500 && IsWindow(box); ++wait) Sleep(10);
    }
    Settle(dialog);
    return boxes;
}

std::string DocumentsFolder() {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, path);
    return path;
}

void MakeFile(const std::string& path, size_t bytes) { ui::WriteFileBytes(path, std::string(bytes, 'x')); }

void MakePdf(const std::string& path, int pages) {
    std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>", ""};
    std::string kids;
    for (int i = 0; i < pages; ++i) {
        kids += std::to_string(3 + i) + " 0 R ";
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>");
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>";
    std::string text = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(text.size());
        text += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    size_t xref = text.size();
    text += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[32];
        snprintf(line, sizeof line, "%010u 00000 n \n", static_cast<unsigned>(offset));
        text += line;
    }
    text += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
            std::to_string(xref) + "\n%%EOF\n";
    ui::WriteFileBytes(path, text);
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace select_host
