// The folder tree of the file selection dialog on the shell's item
// identifier lists and folder objects. Every tree item owns a block from the
// shell allocator with its enumerating folder (one reference), its one-item
// identifier list and its list from the desktop; the block is released when
// the item is deleted, which DestroyFolderTree does for all of them.
#include "select/folder_tree_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "select/selection.h"

namespace {

struct TreeItemData {
    IShellFolder* folder;
    ITEMIDLIST* relative_id;
    ITEMIDLIST* absolute_id;
};

// Whether CreateFolderTree's CoInitialize must be balanced.
bool g_comStarted = false;

const ITEMIDLIST* NextItem(const ITEMIDLIST* item) {
    return reinterpret_cast<const ITEMIDLIST*>(reinterpret_cast<const BYTE*>(item) + item->mkid.cb);
}

UINT ListSize(const ITEMIDLIST* list) {
    if (list == nullptr) return 0;
    UINT size = 0;
    for (const ITEMIDLIST* item = list; item->mkid.cb != 0; item = NextItem(item)) size += item->mkid.cb;
    return size + 2;
}

ITEMIDLIST* Concatenate(IMalloc* malloc, const ITEMIDLIST* first, const ITEMIDLIST* second) {
    UINT firstSize = first == nullptr ? 0 : ListSize(first) - 2;
    UINT secondSize = ListSize(second);
    BYTE* joined = static_cast<BYTE*>(malloc->Alloc(firstSize + secondSize));
    if (joined == nullptr) return nullptr;
    std::memset(joined, 0, firstSize + secondSize);
    if (firstSize != 0) std::memcpy(joined, first, firstSize);
    std::memcpy(joined + firstSize, second, secondSize);
    return reinterpret_cast<ITEMIDLIST*>(joined);
}

// A one-item list of the first item; the terminator is written rather than
// copied, so an item followed by more items still gives a proper list.
ITEMIDLIST* CopyItem(IMalloc* malloc, const ITEMIDLIST* item) {
    UINT count = item->mkid.cb;
    BYTE* copy = static_cast<BYTE*>(malloc->Alloc(count + 2));
    if (copy == nullptr) return nullptr;
    std::memcpy(copy, item, count);
    copy[count] = 0;
    copy[count + 1] = 0;
    return reinterpret_cast<ITEMIDLIST*>(copy);
}

// The display name of an item of folder as a single-byte text of at most 255 characters.
bool DisplayName(IShellFolder* folder, const ITEMIDLIST* item, char out[kTreeTextSize]) {
    STRRET name;
    if (FAILED(folder->GetDisplayNameOf(item, SHGDN_NORMAL, &name))) return false;
    switch (name.uType) {
    case STRRET_WSTR: {
        int written = WideCharToMultiByte(CP_ACP, 0, name.pOleStr, -1, out, kTreeTextSize, nullptr, nullptr);
        if (written == 0) out[kTreeTextSize - 1] = '\0';  // too long: keep what fitted
        CoTaskMemFree(name.pOleStr);
        return true;
    }
    case STRRET_OFFSET:
        lstrcpynA(out, reinterpret_cast<const char*>(item) + name.uOffset, kTreeTextSize);
        return true;
    case STRRET_CSTR:
        lstrcpynA(out, name.cStr, kTreeTextSize);
        return true;
    default:
        return false;
    }
}

int IconIndex(const ITEMIDLIST* absolute, UINT extra) {
    SHFILEINFOA info;
    std::memset(&info, 0, sizeof info);
    SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolute), 0, &info, sizeof info,
                   SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extra);
    return info.iIcon;
}

// Adds one enumerated item under parent; false ends the filling of the level.
bool AddTreeItem(HWND tree, IMalloc* malloc, IShellFolder* folder, const ITEMIDLIST* parentId,
                 HTREEITEM parent, const ITEMIDLIST* item) {
    ULONG attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
    LPCITEMIDLIST items[1] = {item};
    if (FAILED(folder->GetAttributesOf(1, items, &attributes))) attributes = 0;
    if ((attributes & SFGAO_FOLDER) == 0) return true;

    TreeItemData* data = static_cast<TreeItemData*>(malloc->Alloc(sizeof(TreeItemData)));
    if (data == nullptr) return false;
    char text[kTreeTextSize];
    ITEMIDLIST* absolute = nullptr;
    ITEMIDLIST* relative = nullptr;
    if (!DisplayName(folder, item, text) || (absolute = Concatenate(malloc, parentId, item)) == nullptr ||
        (relative = CopyItem(malloc, item)) == nullptr) {
        if (absolute != nullptr) malloc->Free(absolute);
        malloc->Free(data);
        return false;
    }
    folder->AddRef();
    data->folder = folder;
    data->relative_id = relative;
    data->absolute_id = absolute;

    TVINSERTSTRUCTA insert;
    std::memset(&insert, 0, sizeof insert);
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;  // the level keeps the enumerator's order
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = text;
    insert.item.iImage = IconIndex(absolute, 0);
    insert.item.iSelectedImage = IconIndex(absolute, SHGFI_OPENICON);
    insert.item.lParam = reinterpret_cast<LPARAM>(data);
    if (attributes & SFGAO_HASSUBFOLDER) {
        insert.item.mask |= TVIF_CHILDREN;
        insert.item.cChildren = 1;
    }
    if (SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)) == 0) {
        // No item owns the block: release it here.
        folder->Release();
        malloc->Free(relative);
        malloc->Free(absolute);
        malloc->Free(data);
    }
    return true;
}

void FillLevel(HWND tree, IShellFolder* folder, const ITEMIDLIST* parentId, HTREEITEM parent) {
    IMalloc* malloc = nullptr;
    if (FAILED(SHGetMalloc(&malloc)) || malloc == nullptr) return;
    IEnumIDList* items = nullptr;
    if (FAILED(folder->EnumObjects(GetParent(tree), SHCONTF_FOLDERS, &items)) || items == nullptr) {
        malloc->Release();
        return;
    }
    ITEMIDLIST* item = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &item, &fetched) == S_OK && item != nullptr) {
        bool goOn = AddTreeItem(tree, malloc, folder, parentId, parent, item);
        malloc->Free(item);
        item = nullptr;
        if (!goOn) break;
    }
    items->Release();
    malloc->Release();
}

TreeItemData* ItemData(HWND tree, HTREEITEM item) {
    TVITEMA query;
    std::memset(&query, 0, sizeof query);
    query.mask = TVIF_PARAM;
    query.hItem = item;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return nullptr;
    return reinterpret_cast<TreeItemData*>(query.lParam);
}

int CALLBACK CompareChildren(LPARAM first, LPARAM second, LPARAM) {
    const TreeItemData* a = reinterpret_cast<const TreeItemData*>(first);
    const TreeItemData* b = reinterpret_cast<const TreeItemData*>(second);
    if (a == nullptr || b == nullptr) return 0;
    HRESULT result = a->folder->CompareIDs(0, a->relative_id, b->relative_id);
    if (FAILED(result)) return 0;
    return static_cast<short>(HRESULT_CODE(result));
}

void OnExpanding(HWND tree, HTREEITEM item) {
    UINT state = static_cast<UINT>(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                                                TVIS_EXPANDEDONCE));
    if (state & TVIS_EXPANDEDONCE) return;  // each item is filled once per opening
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    TreeItemData* data = ItemData(tree, item);
    if (data != nullptr) {
        IShellFolder* subfolder = nullptr;
        if (SUCCEEDED(data->folder->BindToObject(data->relative_id, nullptr, IID_IShellFolder,
                                                 reinterpret_cast<void**>(&subfolder))) &&
            subfolder != nullptr) {
            FillLevel(tree, subfolder, data->absolute_id, item);
            subfolder->Release();
        }
        TVSORTCB sort;
        sort.hParent = item;
        sort.lpfnCompare = CompareChildren;
        sort.lParam = 0;
        SendMessageA(tree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    }
    SetCursor(previous);
}

void ReleaseItemData(TreeItemData* data) {
    if (data == nullptr) return;
    IMalloc* malloc = nullptr;
    if (FAILED(SHGetMalloc(&malloc)) || malloc == nullptr) return;
    data->folder->Release();
    malloc->Free(data->relative_id);
    malloc->Free(data->absolute_id);
    malloc->Free(data);
    malloc->Release();
}

// "\" and the texts from the top level down to item; empty for no item.
int ItemDisplayPath(HWND tree, HTREEITEM item, char out[kPathSize]) {
    std::vector<std::string> texts;
    for (; item != nullptr;
         item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)))) {
        char text[kPathSize];
        TVITEMA query;
        std::memset(&query, 0, sizeof query);
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = text;
        query.cchTextMax = kPathSize;
        text[0] = '\0';
        if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) text[0] = '\0';
        texts.insert(texts.begin(), text);
    }
    return BuildDisplayPath(texts, out);
}

// The file-system path of the user's personal documents folder.
bool PersonalFolder(HWND owner, char out[kPathSize]) {
    out[0] = '\0';
    ITEMIDLIST* personal = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_PERSONAL, &personal)) || personal == nullptr) return false;
    char path[MAX_PATH];
    bool found = SHGetPathFromIDListA(personal, path) != FALSE;
    CoTaskMemFree(personal);
    // Some shells end the path with a backslash; its last name must stay the folder's own.
    size_t length = found ? std::strlen(path) : 0;
    while (length > 3 && path[length - 1] == '\\') path[--length] = '\0';
    return found && CopyBounded(out, kPathSize, path);
}

}  // namespace

HWND CreateFolderTree(HWND dialog) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, 0xFF};
    InitCommonControlsEx(&classes);
    g_comStarted = SUCCEEDED(CoInitialize(nullptr));

    SHFILEINFOA info;
    std::memset(&info, 0, sizeof info);
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(
        "C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_ICON | SHGFI_SMALLICON));
    if (info.hIcon != nullptr) DestroyIcon(info.hIcon);

    RECT client, selection, listing;
    GetClientRect(dialog, &client);
    GetWindowRect(GetDlgItem(dialog, 1179), &selection);
    GetWindowRect(GetDlgItem(dialog, 1541), &listing);
    POINT corner = {listing.left, listing.top};
    ScreenToClient(dialog, &corner);

    HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, "SysTreeView32", "",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                    TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                                3, corner.y, corner.x - client.left - 3, selection.bottom - listing.top, dialog,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(10000)), GetModuleHandleA(nullptr),
                                nullptr);
    if (tree != nullptr && images != nullptr)
        SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    // First in the tab order, as it stands left of the listing: Tab goes
    // from the tree to the listing and on to the selection list.
    if (tree != nullptr) SetWindowPos(tree, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return tree;
}

void FillFolderTreeTop(HWND tree) {
    IShellFolder* desktop = nullptr;
    if (SUCCEEDED(SHGetDesktopFolder(&desktop)) && desktop != nullptr) {
        SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        FillLevel(tree, desktop, nullptr, TVI_ROOT);
        desktop->Release();
    }
    LRESULT first = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0);
    if (first != 0) SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, first);
}

int OnFolderTreeNotify(HWND tree, const NMHDR* header, char out[kPathSize]) {
    out[0] = '\0';
    const NMTREEVIEWA* change = reinterpret_cast<const NMTREEVIEWA*>(header);
    switch (header->code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW:
        if (change->action & TVE_EXPAND) OnExpanding(tree, change->itemNew.hItem);
        return 0;
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
        ReleaseItemData(reinterpret_cast<TreeItemData*>(change->itemOld.lParam));
        return 0;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
        char display[kPathSize];
        char personal[kPathSize];
        if (!ItemDisplayPath(tree, change->itemNew.hItem, display)) return 0;
        if (std::strchr(display, ':') == nullptr) PersonalFolder(GetParent(tree), personal);
        else personal[0] = '\0';
        return ResolveSelectedFolder(display, personal, out);
    }
    default:
        return 0;
    }
}

int FolderForCommands(HWND tree, char out[kPathSize]) {
    out[0] = '\0';
    HTREEITEM selected = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    char display[kPathSize];
    if (!ItemDisplayPath(tree, selected, display)) return 0;
    char personal[kPathSize];
    if (std::strchr(display, ':') == nullptr) PersonalFolder(GetParent(tree), personal);
    else personal[0] = '\0';
    return ResolveCommandFolder(display, personal, out);
}

void DestroyFolderTree(HWND tree) {
    if (tree != nullptr) SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    if (g_comStarted) CoUninitialize();
    g_comStarted = false;
}
