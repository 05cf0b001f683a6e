// The folder tree of the file selection dialog on Wine's real shell
// namespace: the top level in the desktop's order with the shell's expand
// buttons, children in the order of their folder's CompareIDs, each level
// filled only once, and both ways a chosen item becomes a folder (a drive
// item, a folder below the personal folder).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/windows/select_host.h"
#include "tests/windows/ui_driver.h"

using select_host::Session;

namespace {

struct ShellItem {
    std::string name;
    bool hasSubfolders;
};

std::string NameOf(IShellFolder* folder, LPCITEMIDLIST item) {
    STRRET name;
    char text[MAX_PATH] = "";
    if (SUCCEEDED(folder->GetDisplayNameOf(item, SHGDN_NORMAL, &name))) StrRetToBufA(&name, item, text, sizeof text);
    return text;
}

// The folders the shell enumerates in `folder` (the desktop when empty), in
// its enumeration order or, when sorted, in the folder's CompareIDs order.
std::vector<ShellItem> ShellFolders(const std::string& path, bool sorted) {
    std::vector<ShellItem> items;
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop))) return items;
    IShellFolder* folder = desktop;
    if (!path.empty()) {
        LPITEMIDLIST id = nullptr;
        std::wstring wide(path.begin(), path.end());
        if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, &wide[0], nullptr, &id, nullptr)) ||
            FAILED(desktop->BindToObject(id, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder)))) {
            desktop->Release();
            return items;
        }
        CoTaskMemFree(id);
    }
    IEnumIDList* list = nullptr;
    std::vector<LPITEMIDLIST> ids;
    if (SUCCEEDED(folder->EnumObjects(nullptr, SHCONTF_FOLDERS, &list)) && list != nullptr) {
        LPITEMIDLIST id = nullptr;
        while (list->Next(1, &id, nullptr) == S_OK) ids.push_back(id);
        list->Release();
    }
    if (sorted)
        std::stable_sort(ids.begin(), ids.end(), [folder](LPITEMIDLIST a, LPITEMIDLIST b) {
            return static_cast<short>(HRESULT_CODE(folder->CompareIDs(0, a, b))) < 0;
        });
    for (LPITEMIDLIST id : ids) {
        ULONG attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
        LPCITEMIDLIST one[1] = {id};
        folder->GetAttributesOf(1, one, &attributes);
        if (attributes & SFGAO_FOLDER) items.push_back({NameOf(folder, id), (attributes & SFGAO_HASSUBFOLDER) != 0});
        CoTaskMemFree(id);
    }
    if (folder != desktop) folder->Release();
    desktop->Release();
    return items;
}

std::vector<ShellItem> TreeItems(HWND tree, HTREEITEM parent) {
    std::vector<ShellItem> items;
    for (HTREEITEM item : select_host::ChildItems(tree, parent)) {
        TVITEMA query = {};
        query.mask = TVIF_CHILDREN;
        query.hItem = item;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
        items.push_back({select_host::ItemText(tree, item), query.cChildren != 0});
    }
    return items;
}

std::vector<std::string> Names(const std::vector<ShellItem>& items) {
    std::vector<std::string> names;
    for (const ShellItem& item : items) names.push_back(item.name);
    return names;
}

class FolderTree : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        name_ = "tree_test_" + std::to_string(GetCurrentProcessId());
        root_ = select_host::DocumentsFolder() + "\\" + name_;
        select_host::RemoveTree(root_);
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
        for (const char* folder : {"\\b", "\\c", "\\A", "\\A\\inner"})
            CreateDirectoryA((root_ + folder).c_str(), nullptr);
        select_host::MakePdf(root_ + "\\A\\in_a.pdf", 3);
        drivePdf_ = "C:\\" + name_ + ".pdf";
        select_host::MakeFile(drivePdf_, 12);
    }
    void TearDown() override {
        select_host::RemoveTree(root_);
        DeleteFileA(drivePdf_.c_str());
        CoUninitialize();
    }
    std::string name_, root_, drivePdf_;
};

TEST_F(FolderTree, TopLevelFollowsTheDesktopWithItsExpandButtons) {
    Session session;
    ASSERT_NE(nullptr, session.dialog());
    HWND tree = session.tree();
    std::vector<ShellItem> expected = ShellFolders("", false);
    std::vector<ShellItem> shown = TreeItems(tree, TVI_ROOT);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Names(expected), Names(shown));
    for (size_t i = 0; i < expected.size() && i < shown.size(); ++i)
        EXPECT_EQ(expected[i].hasSubfolders, shown[i].hasSubfolders) << expected[i].name;
    // The first visible item was expanded at opening.
    HTREEITEM first = select_host::ChildItems(tree, TVI_ROOT).front();
    EXPECT_TRUE(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(first), TVIS_EXPANDED) & TVIS_EXPANDED);
}

TEST_F(FolderTree, ChildrenComeInTheShellsOrderAndAreFilledOnce) {
    Session session;
    ASSERT_NE(nullptr, session.dialog());
    HWND tree = session.tree();
    HTREEITEM folder = select_host::SelectBelowDocuments(tree, {name_});
    ASSERT_NE(nullptr, folder);
    // Not yet expanded: the button shows, no child is there yet.
    TVITEMA query = {};
    query.mask = TVIF_CHILDREN;
    query.hItem = folder;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    EXPECT_EQ(1, query.cChildren);
    EXPECT_TRUE(select_host::ChildItems(tree, folder).empty());

    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folder));
    std::vector<std::string> expected = Names(ShellFolders(root_, true));
    EXPECT_EQ((std::vector<std::string>{"A", "b", "c"}), expected);
    EXPECT_EQ(expected, Names(TreeItems(tree, folder)));

    // A folder made afterwards never appears, however the item is reopened.
    CreateDirectoryA((root_ + "\\d").c_str(), nullptr);
    SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(folder));
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folder));
    SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(folder));
    select_host::SelectItem(tree, folder);
    PostMessageA(tree, WM_KEYDOWN, VK_RIGHT, 1);
    select_host::Settle(tree);
    EXPECT_EQ(expected, Names(TreeItems(tree, folder)));

    // Windows sends the expanding notice on every expansion (Wine may not):
    // the notice once more must not fill the item again.
    NMTREEVIEWA notice = {};
    notice.hdr.hwndFrom = tree;
    notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(tree));
    notice.hdr.code = TVN_ITEMEXPANDINGA;
    notice.action = TVE_EXPAND;
    notice.itemNew.mask = TVIF_HANDLE;
    notice.itemNew.hItem = folder;
    SendMessageA(GetParent(tree), WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
    EXPECT_EQ(expected, Names(TreeItems(tree, folder)));
}

TEST_F(FolderTree, DriveAndPersonalFolderItemsListTheirFolders) {
    Session session;
    ASSERT_NE(nullptr, session.dialog());
    HWND tree = session.tree();
    HWND listing = session.listing();

    // Below the personal folder.
    ASSERT_NE(nullptr, select_host::SelectBelowDocuments(tree, {name_, "A"}));
    select_host::Settle(session.dialog());
    auto rows = select_host::ListingRows(listing);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("in_a.pdf", rows[0][0]);
    EXPECT_EQ("3", rows[0][1]);  // the engine library's page count

    // A drive item lists the drive's root.
    HTREEITEM computer = nullptr;
    for (HTREEITEM item : select_host::ChildItems(tree, TVI_ROOT))
        if (select_host::ItemText(tree, item) == "My Computer") computer = item;
    ASSERT_NE(nullptr, computer);
    HTREEITEM drive = select_host::ExpandToChild(tree, computer, "(C:)");
    ASSERT_NE(nullptr, drive);
    select_host::SelectItem(tree, drive);
    select_host::Settle(session.dialog());
    rows = select_host::ListingRows(listing);
    bool listed = false;
    for (const auto& row : rows) listed = listed || (row[0] == name_ + ".pdf" && row[2] == "12");
    EXPECT_TRUE(listed);

    // Command 1552 on the drive item adds from the same root.
    select_host::PostCommand(session.dialog(), 1552);
    select_host::AnswerBoxes(session.dialog(), "OK", 0);
    std::vector<std::string> entries = select_host::SelectionEntries(session.selection());
    EXPECT_NE(entries.end(), std::find(entries.begin(), entries.end(), drivePdf_));

    // And a folder below the drive, by the same rule.
    HTREEITEM users = select_host::ExpandToChild(tree, drive, "users");
    ASSERT_NE(nullptr, users);
    select_host::SelectItem(tree, users);
    select_host::Settle(session.dialog());
    EXPECT_TRUE(select_host::ListingRows(listing).empty());
}

}  // namespace
