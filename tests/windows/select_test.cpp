// The file selection dialog as a user meets it, on the real dialog under
// Wine: the folder listing of a folder chosen in the tree, sorting by the
// column headers, adding a folder (twice), a folder tree with a hidden
// folder and a double-clicked row, removing with the toolbar and the Delete
// key, and the three ways OK can end: o.log written, an empty list
// confirmed or refused, and an o.log that cannot be written.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/windows/select_host.h"
#include "tests/windows/ui_driver.h"

using select_host::Session;

namespace {

const char kDuplicateEnd[] = " is already selected.\n\nIt will not be included.";

void SetModified(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    SYSTEMTIME local = {year, month, 0, day, hour, minute, 0, 0};
    SYSTEMTIME utc;
    FILETIME time;
    ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &time));
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

// An icon drawn at 16 x 16 over a fixed background, pixel by pixel.
std::vector<uint32_t> IconPixels(HICON icon) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<uint32_t> pixels;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        std::fill_n(static_cast<uint32_t*>(bits), 256, 0x00FF00FFu);
        DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
        GdiFlush();
        pixels.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + 256);
        SelectObject(dc, old);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
    return pixels;
}

// Clicks a column header of the listing with the mouse.
void ClickHeader(HWND listing, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(listing, LVM_GETHEADER, 0, 0));
    RECT cell;
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&cell));
    LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(header, WM_LBUTTONUP, 0, at);
    select_host::Settle(listing);
}

// Clicks a toolbar button with the mouse (for commands that open no box).
void ClickTool(HWND dialog, int command) {
    HWND toolbar = GetDlgItem(dialog, 326);
    RECT button;
    ASSERT_TRUE(SendMessageA(toolbar, TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&button)));
    LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    PostMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(toolbar, WM_LBUTTONUP, 0, at);
    select_host::Settle(dialog);
}

void PressKey(HWND window, UINT key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
    select_host::Settle(window);
}

void Focus(HWND dialog, HWND control) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

std::vector<std::string> Column(const std::vector<std::vector<std::string>>& rows, size_t column) {
    std::vector<std::string> cells;
    for (const auto& row : rows) cells.push_back(row[column]);
    return cells;
}

// The listed names of a folder in the order the file system enumerates them.
std::vector<std::string> EnumerationOrder(const std::string& folder, const std::vector<std::string>& names) {
    std::vector<std::string> order;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return order;
    do {
        if (std::find(names.begin(), names.end(), found.cFileName) != names.end()) order.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return order;
}

class SelectDialog : public ::testing::Test {
protected:
    void SetUp() override {
        name_ = "select_test_" + std::to_string(GetCurrentProcessId());
        root_ = "C:\\" + name_;
        select_host::RemoveTree(root_);
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
        for (const char* folder : {"\\list", "\\list\\e.pdf", "\\deep", "\\deep\\sub", "\\deep\\.hidden", "\\temp"})
            CreateDirectoryA((root_ + folder).c_str(), nullptr);
        select_host::MakeFile(root_ + "\\list\\a.pdf", 10);
        select_host::MakeFile(root_ + "\\list\\b.PDF", 5);
        select_host::MakeFile(root_ + "\\list\\c.pdf", 0);
        select_host::MakeFile(root_ + "\\list\\d.pdfx", 7);
        select_host::MakeFile(root_ + "\\deep\\x.pdf", 3);
        select_host::MakeFile(root_ + "\\deep\\sub\\y.pdf", 4);
        select_host::MakeFile(root_ + "\\deep\\.hidden\\z.pdf", 6);
        SetModified(root_ + "\\list\\a.pdf", 2005, 12, 1, 9, 5);
        SetModified(root_ + "\\list\\b.PDF", 2006, 1, 15, 23, 59);
        temp_ = root_ + "\\temp";
        SetEnvironmentVariableA("TMP", temp_.c_str());
        SetEnvironmentVariableA("TEMP", temp_.c_str());
    }

    void TearDown() override {
        select_host::RemoveTree(root_);
    }

    std::string Count(HWND dialog) { return ui::WindowText(GetDlgItem(dialog, 1551)); }

    // Adds folder `sub` of the test folder with command 1552 or 1553.
    std::vector<ui::MessageBoxView> AddFolder(Session& session, const char* sub, int command, const char* button,
                                              size_t boxes) {
        EXPECT_NE(nullptr, select_host::SelectBelowDriveC(session.tree(), {name_, sub}));
        select_host::Settle(session.dialog());
        select_host::PostCommand(session.dialog(), command);
        return select_host::AnswerBoxes(session.dialog(), button, boxes);
    }

    std::vector<std::string> FilesOfTemp() {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((temp_ + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (found.cFileName[0] != '.') names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

    std::string name_, root_, temp_;
};

TEST_F(SelectDialog, OpensEmptyWithItsLayoutAndToolbar) {
    Session session;
    HWND dialog = session.dialog();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("", Count(dialog));
    EXPECT_EQ("Selected files:", ui::WindowText(GetDlgItem(dialog, 1549)));

    // The caption shows the program's icon resource 1 at 16 x 16.
    HICON own = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(nullptr, own) << "no icon resource 1";
    HICON caption = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(nullptr, caption);
    std::vector<uint32_t> pixels = IconPixels(caption);
    EXPECT_EQ(IconPixels(own), pixels);
    EXPECT_NE(std::count(pixels.begin(), pixels.end(), 0x00FF00FFu), 256) << "an empty picture";
    DestroyIcon(own);

    // Tab reaches the folder tree, then the listing, then the selection list.
    HWND tree = session.tree();
    EXPECT_TRUE(GetWindowLongA(tree, GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(session.listing(), GetNextDlgTabItem(dialog, tree, FALSE));
    EXPECT_EQ(session.selection(), GetNextDlgTabItem(dialog, session.listing(), FALSE));
    EXPECT_EQ(tree, GetNextDlgTabItem(dialog, session.selection(), FALSE));
    HWND header = reinterpret_cast<HWND>(SendMessageA(session.listing(), LVM_GETHEADER, 0, 0));
    std::vector<std::string> headers;
    for (int i = 0; i < 4; ++i) {
        char text[64] = "";
        HDITEMA item = {};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        headers.push_back(text);
    }
    EXPECT_EQ((std::vector<std::string>{"File name", "Pages", "Size", "Modified"}), headers);
    EXPECT_EQ(static_cast<LRESULT>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE),
              SendMessageA(session.listing(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));

    // The toolbar: twelve entries, the grid button checked, every button enabled.
    HWND toolbar = GetDlgItem(dialog, 326);
    ASSERT_NE(nullptr, toolbar);
    ASSERT_EQ(12, SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    std::vector<int> commands;
    for (int i = 0; i < 12; ++i) {
        TBBUTTON button = {};
        SendMessageA(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        commands.push_back(button.fsStyle & TBSTYLE_SEP ? -1 : button.idCommand);
        if (!(button.fsStyle & TBSTYLE_SEP)) {
            EXPECT_TRUE(button.fsState & TBSTATE_ENABLED) << i;
        }
    }
    EXPECT_EQ((std::vector<int>{-1, 1552, 1553, -1, 1554, 1555, -1, 1556, -1, 1064, 2, 1}), commands);
    EXPECT_TRUE(SendMessageA(toolbar, TB_ISBUTTONCHECKED, 1556, 0));

    // The pointer resting on a button shows its fixed English tip.
    HWND tips = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(nullptr, tips);
    const std::pair<int, const char*> expectedTips[] = {
        {1553, "Select all the folder and its children folders"}, {1, "Close the window"}};
    for (const auto& tip : expectedTips) {
        RECT button;
        SendMessageA(toolbar, TB_GETRECT, static_cast<WPARAM>(tip.first), reinterpret_cast<LPARAM>(&button));
        POINT at = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
        ClientToScreen(toolbar, &at);
        SetCursorPos(at.x, at.y);
        PostMessageA(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2));
        std::string shown;
        for (int i = 0; i < 100 && shown != tip.second; ++i) {
            Sleep(30);
            if (IsWindowVisible(tips)) shown = ui::WindowText(tips);
        }
        EXPECT_EQ(tip.second, shown);
    }

    // The grid button switches the grid lines and leaves the other styles alone.
    ClickTool(dialog, 1556);
    EXPECT_FALSE(SendMessageA(toolbar, TB_ISBUTTONCHECKED, 1556, 0));
    EXPECT_EQ(static_cast<LRESULT>(LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE),
              SendMessageA(session.listing(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) &
                  (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE));
    ClickTool(dialog, 1556);
    EXPECT_TRUE(SendMessageA(session.listing(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES);
}

TEST_F(SelectDialog, ListsTheChosenFolderAndSortsByEachColumn) {
    Session session;
    ASSERT_NE(nullptr, session.dialog());
    ASSERT_NE(nullptr, select_host::SelectBelowDriveC(session.tree(), {name_, "list"}));
    select_host::Settle(session.dialog());
    auto rows = select_host::ListingRows(session.listing());
    ASSERT_EQ(2u, rows.size());
    // Rows go in at the top: the reverse of the enumeration order.
    std::vector<std::string> order = EnumerationOrder(root_ + "\\list", {"a.pdf", "b.PDF"});
    std::reverse(order.begin(), order.end());
    EXPECT_EQ(order, Column(rows, 0));
    for (const auto& row : rows) {
        EXPECT_EQ("-1", row[1]);  // no PDF the engine library can read: shown as it answers
        if (row[0] == "a.pdf") {
            EXPECT_EQ("10", row[2]);
            EXPECT_EQ("12/01/2005  09:05", row[3]);
        } else {
            EXPECT_EQ("5", row[2]);
            EXPECT_EQ("01/15/2006  23:59", row[3]);
        }
    }

    HWND listing = session.listing();
    using Names = std::vector<std::string>;
    ClickHeader(listing, 0);
    EXPECT_EQ((Names{"a.pdf", "b.PDF"}), Column(select_host::ListingRows(listing), 0));
    ClickHeader(listing, 0);
    EXPECT_EQ((Names{"b.PDF", "a.pdf"}), Column(select_host::ListingRows(listing), 0));
    ClickHeader(listing, 2);  // smallest first, then largest first
    EXPECT_EQ((Names{"b.PDF", "a.pdf"}), Column(select_host::ListingRows(listing), 0));
    ClickHeader(listing, 2);
    EXPECT_EQ((Names{"a.pdf", "b.PDF"}), Column(select_host::ListingRows(listing), 0));
    // The date text begins with the month: January 2006 before December 2005.
    ClickHeader(listing, 3);
    EXPECT_EQ((Names{"b.PDF", "a.pdf"}), Column(select_host::ListingRows(listing), 0));
    ClickHeader(listing, 3);
    EXPECT_EQ((Names{"a.pdf", "b.PDF"}), Column(select_host::ListingRows(listing), 0));
    // Column 0 kept its flag across the other columns' clicks: its third click sorts ascending.
    ClickHeader(listing, 0);
    EXPECT_EQ((Names{"a.pdf", "b.PDF"}), Column(select_host::ListingRows(listing), 0));

    // Choosing a tree item that is no folder leaves the listing as it was.
    HTREEITEM top = select_host::ChildItems(session.tree(), TVI_ROOT).front();
    for (HTREEITEM item : select_host::ChildItems(session.tree(), TVI_ROOT))
        if (select_host::ItemText(session.tree(), item) == "My Computer") top = item;
    select_host::SelectItem(session.tree(), top);
    select_host::Settle(session.dialog());
    EXPECT_EQ(2u, select_host::ListingRows(listing).size());
}

TEST_F(SelectDialog, AddsFoldersOnceAndReportsEachDuplicate) {
    Session session;
    HWND dialog = session.dialog();
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(AddFolder(session, "list", 1552, "OK", 0).empty());
    std::string list = root_ + "\\list\\";
    EXPECT_EQ((std::vector<std::string>{list + "a.pdf", list + "b.PDF"}), select_host::SelectionEntries(session.selection()));
    EXPECT_EQ("2", Count(dialog));

    // Again: one message per file already selected, whichever button answers it.
    for (const char* button : {"OK", "Cancel"}) {
        auto boxes = AddFolder(session, "list", 1552, button, 2);
        ASSERT_EQ(2u, boxes.size()) << button;
        std::vector<std::string> texts = {boxes[0].text, boxes[1].text};
        std::sort(texts.begin(), texts.end());
        EXPECT_EQ("The file " + list + "a.pdf" + kDuplicateEnd, texts[0]);
        EXPECT_EQ("The file " + list + "b.PDF" + kDuplicateEnd, texts[1]);
        EXPECT_EQ("Ombrello_zandrix", boxes[0].caption);
        EXPECT_EQ(ui::kIconInformation, boxes[0].icon);
        EXPECT_EQ("OK|Cancel", boxes[0].buttons);
        EXPECT_EQ("2", Count(dialog));
    }

    // A folder and all below it, past the folder whose name begins with a dot.
    EXPECT_TRUE(AddFolder(session, "deep", 1553, "OK", 0).empty());
    std::string deep = root_ + "\\deep\\";
    EXPECT_EQ((std::vector<std::string>{deep + "sub\\y.pdf", deep + "x.pdf", list + "a.pdf", list + "b.PDF"}),
              select_host::SelectionEntries(session.selection()));
    EXPECT_EQ("4", Count(dialog));

    // A double click on a listed row that is already selected: one message.
    ASSERT_NE(nullptr, select_host::SelectBelowDriveC(session.tree(), {name_, "list"}));
    select_host::Settle(dialog);
    LVITEMA state = {};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(session.listing(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    RECT row = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(session.listing(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    char name[64] = "";
    LVITEMA cell = {};
    cell.pszText = name;
    cell.cchTextMax = sizeof name;
    SendMessageA(session.listing(), LVM_GETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&cell));
    PostMessageA(session.listing(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2));
    auto boxes = select_host::AnswerBoxes(dialog, "OK", 1);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("The file " + list + name + kDuplicateEnd, boxes[0].text);
    EXPECT_EQ("4", Count(dialog));
}

TEST_F(SelectDialog, RemovesWithTheToolbarAndTheDeleteKeyOfTheSelectionListOnly) {
    Session session;
    HWND dialog = session.dialog();
    ASSERT_NE(nullptr, dialog);
    // Nothing selected: nothing changes, not even the empty count field.
    ClickTool(dialog, 1554);
    EXPECT_EQ("", Count(dialog));
    AddFolder(session, "deep", 1553, "OK", 0);
    AddFolder(session, "list", 1552, "OK", 0);
    HWND selection = session.selection();
    ASSERT_EQ(4u, select_host::SelectionEntries(selection).size());
    std::vector<std::string> before = select_host::SelectionEntries(selection);

    SendMessageA(selection, LB_SETSEL, TRUE, 0);
    SendMessageA(selection, LB_SETSEL, TRUE, 2);
    Focus(dialog, session.listing());
    PressKey(session.listing(), VK_DELETE);
    EXPECT_EQ(before, select_host::SelectionEntries(selection));

    Focus(dialog, selection);
    SendMessageA(selection, LB_SETSEL, TRUE, 0);
    SendMessageA(selection, LB_SETSEL, TRUE, 2);
    PressKey(selection, VK_DELETE);
    EXPECT_EQ((std::vector<std::string>{before[1], before[3]}), select_host::SelectionEntries(selection));
    EXPECT_EQ("2", Count(dialog));

    SendMessageA(selection, LB_SETSEL, TRUE, 1);
    ClickTool(dialog, 1554);
    EXPECT_EQ((std::vector<std::string>{before[1]}), select_host::SelectionEntries(selection));
    EXPECT_EQ("1", Count(dialog));

    // What was removed can be added again without a message.
    EXPECT_TRUE(AddFolder(session, "list", 1552, "OK", 0).empty());
    EXPECT_EQ("3", Count(dialog));
    ClickTool(dialog, 1555);
    EXPECT_TRUE(select_host::SelectionEntries(selection).empty());
    EXPECT_EQ("0", Count(dialog));
}

TEST_F(SelectDialog, OkWritesTheSelectionAsFourLines) {
    std::string log = temp_ + "\\o.log";
    ASSERT_TRUE(ui::WriteFileBytes(log, "an earlier list that is longer than the new one will be, by far\r\n"));
    Session session;
    ASSERT_NE(nullptr, session.dialog());
    AddFolder(session, "deep", 1553, "OK", 0);
    AddFolder(session, "list", 1552, "OK", 0);
    SendMessageA(session.selection(), LB_SETSEL, TRUE, 0);
    ClickTool(session.dialog(), 1554);
    ASSERT_EQ("3", Count(session.dialog()));

    select_host::PostCommand(session.dialog(), IDOK);
    EXPECT_EQ(1, session.WaitForEnd(20000));
    std::string list = root_ + "\\list\\";
    EXPECT_EQ("[FILES]\r\n0=" + root_ + "\\deep\\x.pdf\r\n1=" + list + "a.pdf\r\n2=" + list + "b.PDF\r\n",
              ui::ReadFileBytes(log));
    EXPECT_EQ((std::vector<std::string>{"o.log"}), FilesOfTemp());
}

TEST_F(SelectDialog, EmptyOkAsksAndCancelWritesNothing) {
    std::string log = temp_ + "\\o.log";
    ASSERT_TRUE(ui::WriteFileBytes(log, "[FILES]\r\n0=C:\\kept.pdf\r\n"));
    {
        Session session;
        ASSERT_NE(nullptr, session.dialog());
        select_host::PostCommand(session.dialog(), IDOK);
        auto boxes = select_host::AnswerBoxes(session.dialog(), "No", 1);
        ASSERT_EQ(1u, boxes.size()) << (boxes.size() > 1 ? boxes[1].text : std::string("no box"));
        EXPECT_EQ("No file selected.\n\nContinue anyway ?", boxes[0].text);
        EXPECT_EQ("Ombrello_zandrix", boxes[0].caption);
        EXPECT_EQ(ui::kIconQuestion, boxes[0].icon);
        EXPECT_EQ("&Yes|&No", boxes[0].buttons);
        EXPECT_TRUE(IsWindowVisible(session.dialog()));
        select_host::PostCommand(session.dialog(), IDOK);
        EXPECT_EQ(1u, select_host::AnswerBoxes(session.dialog(), "Yes", 1).size());
        EXPECT_EQ(0, session.WaitForEnd(20000));
    }
    {
        Session session;
        ASSERT_NE(nullptr, session.dialog());
        AddFolder(session, "list", 1552, "OK", 0);
        PostMessageA(session.dialog(), WM_KEYDOWN, VK_ESCAPE, 1);  // through the dialog's own loop
        select_host::PostCommand(session.dialog(), IDCANCEL);
        EXPECT_EQ(0, session.WaitForEnd(20000));
    }
    EXPECT_EQ("[FILES]\r\n0=C:\\kept.pdf\r\n", ui::ReadFileBytes(log));
}

TEST_F(SelectDialog, AnUnwritableListKeepsTheDialogAndTheEarlierFile) {
    // Something o.log cannot replace: a folder of that name with a file in it.
    std::string log = temp_ + "\\o.log";
    ASSERT_TRUE(CreateDirectoryA(log.c_str(), nullptr));
    ASSERT_TRUE(ui::WriteFileBytes(log + "\\inside.txt", "kept"));
    Session session;
    HWND dialog = session.dialog();
    ASSERT_NE(nullptr, dialog);
    AddFolder(session, "list", 1552, "OK", 0);
    std::vector<std::string> selected = select_host::SelectionEntries(session.selection());

    select_host::PostCommand(dialog, IDOK);
    auto boxes = select_host::AnswerBoxes(dialog, "OK", 1);
    ASSERT_EQ(1u, boxes.size()) << (boxes.size() > 1 ? boxes[1].text : std::string("no box"));
    EXPECT_EQ("The list of selected files " + log + " could not be written.\n\nThe selection is kept.", boxes[0].text);
    EXPECT_EQ(ui::kIconError, boxes[0].icon);
    EXPECT_EQ("OK", boxes[0].buttons);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(selected, select_host::SelectionEntries(session.selection()));
    EXPECT_EQ("2", Count(dialog));
    EXPECT_EQ("kept", ui::ReadFileBytes(log + "\\inside.txt"));
    EXPECT_EQ((std::vector<std::string>{"o.log"}), FilesOfTemp());  // no temporary file left behind

    // A temporary folder that does not exist at all.
    std::string missing = temp_ + "\\missing";
    SetEnvironmentVariableA("TMP", missing.c_str());
    SetEnvironmentVariableA("TEMP", missing.c_str());
    select_host::PostCommand(dialog, IDOK);
    boxes = select_host::AnswerBoxes(dialog, "OK", 1);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("The list of selected files " + missing + "\\o.log could not be written.\n\nThe selection is kept.",
              boxes[0].text);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ("2", Count(dialog));
}

TEST_F(SelectDialog, KeepsTheOrderOfASortedListBox) {
    // Names whose order differs between plain byte order and the list box's own.
    const char* names[] = {"a-b.pdf", "a_b.pdf", "ab.pdf", "A c.pdf", "Zeta.pdf", "zeta2.pdf", "b'c.pdf",
                           "\xe9t\xe9.pdf", "e.pdf", "10.pdf", "9.pdf", "~x.pdf"};
    std::string mixed = root_ + "\\mixed";
    CreateDirectoryA(mixed.c_str(), nullptr);
    CreateDirectoryA((mixed + "\\inner").c_str(), nullptr);
    for (const char* name : names) {
        select_host::MakeFile(mixed + "\\" + name, 1);
        select_host::MakeFile(mixed + "\\inner\\" + name, 1);
    }
    Session session;
    HWND dialog = session.dialog();
    ASSERT_NE(nullptr, dialog);
    // Added in two batches and a removal in between, so new entries go among old ones.
    ASSERT_NE(nullptr, select_host::SelectBelowDriveC(session.tree(), {name_, "mixed", "inner"}));
    select_host::Settle(dialog);
    select_host::PostCommand(dialog, 1552);
    select_host::AnswerBoxes(dialog, "OK", 0);
    SendMessageA(session.selection(), LB_SETSEL, TRUE, 3);
    ClickTool(dialog, 1554);
    // Each inner file still selected gets its message; the removed one comes back.
    EXPECT_EQ(11u, AddFolder(session, "mixed", 1553, "OK", 11).size());

    // The same texts added one by one to a sorted list box of this thread.
    HWND reference = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_SORT, 0, 0, 100, 100, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    std::vector<std::string> shown = select_host::SelectionEntries(session.selection());
    for (const std::string& entry : shown)
        SendMessageA(reference, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    EXPECT_EQ(2 * sizeof names / sizeof names[0], shown.size());
    EXPECT_EQ(select_host::SelectionEntries(reference), shown);
    DestroyWindow(reference);
}

}  // namespace
