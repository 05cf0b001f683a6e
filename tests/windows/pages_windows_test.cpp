// Dialog 101 from the configurator's own resources, driven in this process:
// its frame, menu and controls as the template makes them, the two tab
// controls, which controls each tab shows, the reaction to format changes
// and tab clicks, and a layout in which no page's controls overlap, every
// page stays inside its tab control and every caption fits its control.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "gui/pages.h"
#include "gui/tabs_win32.h"
#include "resources/main_ids.h"
#include "tests/windows/main_dialog_host.h"

namespace {

enum Kind {
    kEdit, kPasswordEdit, kDropDown, kSortedDropDown, kDropDownList, kCheck, kRadio,
    kPush, kDefaultPush, kIconPush, kGroupBox, kText, kSwatch
};

struct ControlRow {
    int id;
    Kind kind;
    const char* caption;  // null: not compared here
};

// Every control of the template but the separator line, with the caption
// the user sees before any language file is applied.
const ControlRow kControls[] = {
    {1115, kEdit, ""}, {1116, kPush, "..."}, {1081, kGroupBox, "Input setup"},
    {1014, kGroupBox, "Output setup"}, {1, kDefaultPush, "&Save && Quit"},
    {1117, kPush, "Sa&ve"}, {2, kPush, "&Quit"}, {1061, kPush, "Select &files"},
    {1017, kPush, "&Launch"}, {1121, kPush, "Stop scan"}, {1119, kText, ""},
    {1120, kText, ""},
    // input pages
    {1082, kText, "Source path:"}, {1000, kEdit, ""}, {1003, kPush, "..."},
    {1005, kCheck, "Recursive search"}, {1093, kText, "Temp path:"}, {1094, kEdit, ""},
    {1095, kPush, "..."},
    {1087, kCheck, "Scan the folder regularly"}, {1088, kText, "Wait"}, {1071, kEdit, ""},
    {1113, kRadio, "minutes(s)"}, {1114, kRadio, "second(s)"},
    {1089, kText, "between each scan"}, {1090, kText, nullptr},
    {1112, kCheck, "Shave the PDF pages"}, {1106, kText, "Width:"}, {1109, kEdit, ""},
    {1107, kText, "Height:"}, {1108, kEdit, ""}, {1131, kCheck, "Trim the image"},
    {1083, kRadio, "Move the PDF source to:"}, {1070, kEdit, ""},
    {1085, kIconPush, "Button6"},
    {1096, kCheck, "Reproduce the source path into the move one"},
    {1097, kCheck, "Reproduce only from source root"},
    {1084, kRadio, "Delete the PDF source"}, {1092, kRadio, "Nothing particular"},
    {1024, kText, "Output format:"}, {1025, kDropDown, ""},
    {1186, kCheck, "Erase the previous log"},
    {1012, kRadio, "Extract all PDF pages"}, {1076, kRadio, "Extract from page:"},
    {1077, kEdit, ""}, {1078, kText, "To page:"}, {1079, kEdit, ""},
    {1080, kText, "Pixels / inch:"}, {1008, kEdit, ""}, {1136, kText, "Password:"},
    {1137, kPasswordEdit, ""}, {1133, kCheck, "Rotate the PDF"}, {1134, kEdit, ""},
    {1132, kText, nullptr},
    {1248, kText, "If a file cannot be converted:"},
    {1245, kRadio, "Move the file to this folder:"}, {1247, kEdit, ""},
    {1249, kPush, "..."}, {1246, kRadio, "Do nothing"},
    // output pages
    {1001, kText, "Target path:"}, {1023, kEdit, ""}, {1004, kPush, "..."},
    {1031, kCheck, "Reproduce the source path into the target path"},
    {1098, kCheck, "Reproduce only from source root"},
    {1125, kText, "Target file name:"},
    {1126, kRadio, "Create it from the PDF name (ie: t_001.bmp, t_002.bmp...)"},
    {1127, kRadio, "Use this prefix:"}, {1128, kEdit, ""}, {1130, kText, "_001.xxx"},
    {1185, kCheck, "Add the date (yyyymmdd)\n(e.g.: test_001_20031810.bmp)"},
    {1158, kCheck, "Use a Signature"}, {1159, kRadio, "With a graphic file"},
    {1161, kEdit, ""}, {1163, kPush, "..."}, {1160, kRadio, "With the following text"},
    {1162, kEdit, ""}, {1164, kText, "Position:"}, {1165, kDropDownList, ""},
    {1166, kText, "Dissolve:"}, {1167, kEdit, ""}, {1168, kText, "%"},
    {1015, kText, "Resize:"}, {1009, kEdit, ""}, {1016, kText, "x"}, {1010, kEdit, ""},
    {1086, kCheck, "Keep proportions"}, {1051, kText, "Colorspace:"},
    {1052, kDropDown, ""}, {1169, kCheck, "Increase contrast"}, {1173, kCheck, "Equalize"},
    {1174, kCheck, "Monochrome"},
    {1042, kRadio, "Black && white"}, {1043, kRadio, "256 colors"},
    {1044, kRadio, "16 million colors"}, {1045, kCheck, "Compress (RLE)"},
    {1559, kCheck, "Adjoin all PDF pages in a single multi-file DCX"},
    {1175, kCheck, "GIF 87a"}, {1176, kCheck, "Interlaced"},
    {1177, kCheck, "This color will be transparent:"}, {1178, kSwatch, ""},
    {1563, kPush, "..."},
    {1046, kText, "Quality: (best quality = lowest compression)"}, {1047, kEdit, ""},
    {1053, kCheck, "Progressive display"},
    {1056, kText, "Quality: (best quality = lowest compression)"}, {1057, kEdit, ""},
    {1055, kCheck, "Progressive display"},
    {1100, kText, "PS type:"}, {1101, kDropDownList, ""}, {1123, kText, "Page format:"},
    {1124, kDropDownList, ""}, {1040, kCheck, "Compress with:"}, {1041, kDropDown, ""},
    {1099, kCheck, "Adjoin all PDF pages in a single PS"},
    {1170, kRadio, "Raw text"}, {1171, kRadio, "Formatted text"},
    {1181, kText, "Compression quality:"}, {1182, kEdit, ""},
    {1183, kText, "Movie framerate:"}, {1184, kEdit, ""},
    {1180, kCheck, "Produce a multi-frames SWF"},
    {1006, kCheck, "Adjoin all PDF pages in a single multi-file TIFF"},
    {1007, kCheck, "Compress tiff files"}, {1011, kSortedDropDown, ""},
    {1072, kText, "Vertical resolution:"}, {1073, kEdit, ""},
    {1074, kText, "Horizontal resolution:"}, {1075, kEdit, ""},
    {1154, kRadio, "Pixels / inch"}, {1155, kRadio, "Pixels / cm"},
    {1018, kText, "Author:"}, {1002, kEdit, ""}, {1019, kText, "Copyright:"},
    {1020, kEdit, ""}, {1021, kText, "Comment:"}, {1022, kEdit, ""},
    {1069, kText, "Text format:"}, {1252, kSortedDropDown, ""}, {1033, kRadio, "Raw text"},
    {1034, kRadio, "Formated text"}, {1102, kText, "Columns:"}, {1103, kEdit, ""},
    {1135, kCheck, "Mark Page Breaks"}, {1035, kCheck, "HTML page"},
    {1138, kGroupBox, "Items to get"}, {1139, kCheck, "File name"},
    {1140, kCheck, "File size"}, {1141, kCheck, "Title"}, {1142, kCheck, "Subject"},
    {1143, kCheck, "Keywords"}, {1144, kCheck, "Author"}, {1067, kCheck, "Creator"},
    {1145, kCheck, "Producer"}, {1146, kCheck, "Creation date"},
    {1147, kCheck, "Modification date"}, {1148, kCheck, "Optimization"},
    {1149, kCheck, "PDF version"}, {1150, kCheck, "Page size"},
    {1151, kCheck, "Encrypted"}, {1152, kCheck, "Tagged"},
    {1048, kCheck, "Produce one PDF file"}, {1050, kCheck, "use EPDF format"},
};

// The controls outside the pages that are always on show.
const int kFrameControls[] = {IDC_ED_JOB_FILE, IDC_BT_JOB_FILE, IDC_BT_SAVE_QUIT,
                              IDC_BT_SAVE, IDC_BT_QUIT, IDC_BT_SELECT_FILES,
                              IDC_BT_LAUNCH, IDC_BT_STOP_SCAN};

const char kTiffAdjoin[] = "Adjoin all PDF pages in a single multi-file TIFF";

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::set<int> ToSet(PageSet page) { return std::set<int>(page.ids, page.ids + page.count); }

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT both;
    return IntersectRect(&both, &a, &b) != 0;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

class MainDialog : public ::testing::Test {
protected:
    void SetUp() override {
        dialog_ = OpenMainDialog();
        ASSERT_NE(nullptr, dialog_);
    }
    void TearDown() override { CloseMainDialog(dialog_); }

    HWND Item(int id) const { return GetDlgItem(dialog_, id); }

    RECT ScreenRect(int id) const {
        RECT r = {0, 0, 0, 0};
        GetWindowRect(Item(id), &r);
        return r;
    }

    RECT Dialog(int x, int y, int width, int height) const {
        RECT r = {x, y, x + width, y + height};
        MapDialogRect(dialog_, &r);
        return r;
    }

    HWND TabWindow(PageStack stack) const {
        return stack == kOutputStack ? OutputTabWindow() : InputTabWindow();
    }

    int CurrentTab(PageStack stack) const {
        return static_cast<int>(SendMessageA(TabWindow(stack), TCM_GETCURSEL, 0, 0));
    }

    std::set<int> VisibleManaged(PageStack stack) const {
        std::set<int> shown;
        for (int i = 0; i < ManagedControlCount(stack); ++i) {
            int id = ManagedControlAt(stack, i);
            if (IsWindowVisible(Item(id))) shown.insert(id);
        }
        return shown;
    }

    // What a user's click on a tab makes the tab control do.
    void ClickTab(PageStack stack, int tab) {
        HWND tabs = TabWindow(stack);
        SendMessageA(tabs, TCM_SETCURSEL, tab, 0);
        NMHDR header = {tabs, 0, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(dialog_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    }

    void ChooseFormat(int index) {
        SendDlgItemMessageA(dialog_, IDC_CB_OUTPUT_FORMAT, CB_SETCURSEL, index, 0);
        SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDC_CB_OUTPUT_FORMAT, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Item(IDC_CB_OUTPUT_FORMAT)));
    }

    // The area of a tab control that its pages may use, on the screen.
    RECT DisplayArea(PageStack stack) const {
        HWND tabs = TabWindow(stack);
        RECT area;
        GetClientRect(tabs, &area);
        SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&area), 2);
        return area;
    }

    HWND dialog_ = nullptr;
};

// ---- What the template makes

TEST_F(MainDialog, FrameAsTheTemplateDescribesIt) {
    EXPECT_EQ("Ombrello_zandrix Monitor", TextOf(dialog_));
    LONG style = GetWindowLongA(dialog_, GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
              style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    RECT client;
    GetClientRect(dialog_, &client);
    RECT expected = Dialog(0, 0, 302, 262);
    EXPECT_EQ(expected.right, client.right);
    EXPECT_EQ(expected.bottom, client.bottom);

    LOGFONTA font = {};
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog_, WM_GETFONT, 0, 0));
    ASSERT_NE(0, GetObjectA(dialogFont, sizeof font, &font));
    EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72), font.lfHeight);
    ReleaseDC(nullptr, screen);

    // Enter in an edit field presses "Save & Quit".
    EXPECT_EQ(MAKELONG(IDC_BT_SAVE_QUIT, DC_HASDEFID),
              static_cast<LONG>(SendMessageA(dialog_, DM_GETDEFID, 0, 0)));
}

TEST_F(MainDialog, MenuWithItsCommands) {
    HMENU bar = GetMenu(dialog_);
    ASSERT_NE(nullptr, bar);
    struct Item { int top; int position; const wchar_t* text; UINT id; };  // id 0: separator
    const Item items[] = {
        {0, 0, L"&What's new ?", 1054}, {0, 1, nullptr, 0}, {0, 2, L"&Quit", 2},
        {1, 0, L"&Tooltips", 40003}, {1, 1, nullptr, 0}, {1, 2, L"Last log", 1029},
        {1, 3, nullptr, 0}, {2, 0, L"&Help", 1013}, {2, 1, nullptr, 0},
        {2, 2, L"&About...", 1030}};
    const wchar_t* tops[] = {L"&Ombrello", L"&Misc", L"&Help"};
    ASSERT_EQ(3, GetMenuItemCount(bar));
    const int counts[] = {3, 5, 3};
    for (int top = 0; top < 3; ++top) {
        wchar_t text[64] = L"";
        GetMenuStringW(bar, top, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(tops[top], text);
        EXPECT_EQ(counts[top], GetMenuItemCount(GetSubMenu(bar, top))) << top;
    }
    for (const Item& item : items) {
        HMENU menu = GetSubMenu(bar, item.top);
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID;
        ASSERT_TRUE(GetMenuItemInfoW(menu, item.position, TRUE, &info));
        if (!item.text) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << item.top << "/" << item.position;
            continue;
        }
        wchar_t text[64] = L"";
        GetMenuStringW(menu, item.position, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(item.text, text);
        EXPECT_EQ(item.id, info.wID) << item.top << "/" << item.position;
    }
    HMENU language = GetSubMenu(GetSubMenu(bar, 1), 4);
    ASSERT_NE(nullptr, language);
    wchar_t text[64] = L"";
    GetMenuStringW(GetSubMenu(bar, 1), 4, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(L"Language", text);
    ASSERT_EQ(2, GetMenuItemCount(language));
    GetMenuStringW(language, 40007, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(L"English", text);
    GetMenuStringW(language, 40006, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(L"Fran\u00e7ais", text);
    EXPECT_EQ(40007u, GetMenuItemID(language, 0));
}

TEST_F(MainDialog, EveryControlWithItsKindAndCaption) {
    std::set<int> listed;
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE("control " + std::to_string(row.id));
        EXPECT_TRUE(listed.insert(row.id).second) << "listed twice";
        HWND control = Item(row.id);
        ASSERT_NE(nullptr, control);
        LONG style = GetWindowLongA(control, GWL_STYLE);
        std::string cls = ClassOf(control);
        switch (row.kind) {
        case kEdit:
        case kPasswordEdit:
            EXPECT_EQ("Edit", cls);
            EXPECT_EQ(row.kind == kPasswordEdit, (style & ES_PASSWORD) != 0);
            break;
        case kDropDown:
        case kSortedDropDown:
        case kDropDownList:
            EXPECT_EQ("ComboBox", cls);
            EXPECT_EQ(row.kind == kDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN, style & 3);
            EXPECT_EQ(row.kind == kSortedDropDown, (style & CBS_SORT) != 0);
            break;
        case kCheck:
        case kRadio:
        case kPush:
        case kDefaultPush:
        case kIconPush:
        case kGroupBox: {
            EXPECT_EQ("Button", cls);
            const LONG types[] = {0, 0, 0, 0, 0, BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON,
                                  BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_PUSHBUTTON, BS_GROUPBOX};
            EXPECT_EQ(types[row.kind], style & BS_TYPEMASK);
            EXPECT_EQ(row.kind == kIconPush, (style & BS_ICON) != 0);
            break;
        }
        case kText:
        case kSwatch:
            EXPECT_EQ("Static", cls);
            EXPECT_EQ(SS_LEFT, style & SS_TYPEMASK);
            EXPECT_EQ(row.kind == kSwatch, (style & SS_SUNKEN) != 0);
            break;
        }
        bool combo = row.kind == kDropDown || row.kind == kSortedDropDown;
        if (row.caption && !combo) {
            EXPECT_EQ(row.caption, TextOf(control));
        }
    }
    EXPECT_EQ(12u + 47u + 103u, listed.size());

    wchar_t degrees[8] = L"";
    GetWindowTextW(Item(IDC_ST_DEGREES), degrees, 8);
    EXPECT_STREQ(L"\u00b0", degrees);
    std::string note = TextOf(Item(IDC_ST_SCAN_STOP_NOTE));
    EXPECT_NE(std::string::npos, note.find("\"Stop scan\"")) << note;
    EXPECT_NE(std::string::npos, note.find("stopjob")) << note;

    // The relay fields are never seen; the etched line runs under the job file row.
    EXPECT_FALSE(IsWindowVisible(Item(IDC_ST_RELAY_1)));
    EXPECT_FALSE(IsWindowVisible(Item(IDC_ST_RELAY_2)));
    HWND line = nullptr;
    for (HWND w = GetWindow(dialog_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(w) == -1 && ClassOf(w) == "Static") line = w;
    }
    ASSERT_NE(nullptr, line);
    EXPECT_EQ(SS_ETCHEDHORZ, GetWindowLongA(line, GWL_STYLE) & SS_TYPEMASK);
    RECT lineRect, jobRect = ScreenRect(IDC_ED_JOB_FILE);
    GetWindowRect(line, &lineRect);
    EXPECT_GE(lineRect.top, jobRect.bottom);
    EXPECT_LT(lineRect.bottom, ScreenRect(IDC_GB_INPUT).top);
}

TEST_F(MainDialog, FixedSizesAndArrangement) {
    // (The height of its list, 115 units, the list control rounds to whole
    // items; the test of the template text checks it.)
    RECT combo = ScreenRect(IDC_CB_OUTPUT_FORMAT);
    RECT expected = Dialog(0, 0, 80, 115);
    EXPECT_EQ(expected.right, combo.right - combo.left);

    RECT swatch = ScreenRect(IDC_ST_GIF_SWATCH);
    expected = Dialog(0, 0, 20, 14);
    EXPECT_EQ(expected.right, swatch.right - swatch.left);
    EXPECT_EQ(expected.bottom, swatch.bottom - swatch.top);

    // "Input setup" above "Output setup", the buttons in a column at the right.
    RECT input = ScreenRect(IDC_GB_INPUT), output = ScreenRect(IDC_GB_OUTPUT);
    EXPECT_LE(input.bottom, output.top);
    EXPECT_EQ(input.left, output.left);
    for (int id : {IDC_BT_SAVE_QUIT, IDC_BT_SAVE, IDC_BT_QUIT, IDC_BT_SELECT_FILES,
                   IDC_BT_LAUNCH, IDC_BT_STOP_SCAN}) {
        RECT button = ScreenRect(id);
        EXPECT_GE(button.left, input.right) << id;
        EXPECT_EQ(ScreenRect(IDC_BT_SAVE_QUIT).left, button.left) << id;
    }
}

// ---- The tab controls

TEST_F(MainDialog, TabControlsOverTheirGroupBoxes) {
    struct Row { PageStack stack; int groupBox; int height; };
    const Row rows[] = {{kInputStack, IDC_GB_INPUT, 145}, {kOutputStack, IDC_GB_OUTPUT, 173}};
    for (const Row& row : rows) {
        HWND tabs = TabWindow(row.stack);
        ASSERT_NE(nullptr, tabs);
        EXPECT_EQ("SysTabControl32", ClassOf(tabs));
        EXPECT_EQ(dialog_, GetParent(tabs));
        LONG style = GetWindowLongA(tabs, GWL_STYLE);
        EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS),
                  style & (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_POPUP));
        EXPECT_EQ(GetStockObject(ANSI_VAR_FONT),
                  reinterpret_cast<HGDIOBJ>(SendMessageA(tabs, WM_GETFONT, 0, 0)));
        RECT frame = ScreenRect(row.groupBox), tab;
        GetWindowRect(tabs, &tab);
        EXPECT_EQ(frame.left + 9, tab.left);
        EXPECT_EQ(frame.top + 20, tab.top);
        EXPECT_EQ(335, tab.right - tab.left);
        EXPECT_EQ(row.height, tab.bottom - tab.top);
        EXPECT_TRUE(Inside(tab, frame)) << "the group box holds the tab control: "
                                        << Describe(tab) << " in " << Describe(frame);
        EXPECT_EQ(0, CurrentTab(row.stack));

        ASSERT_EQ(TabCount(row.stack), static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0)));
        for (int i = 0; i < TabCount(row.stack); ++i) {
            char label[64] = "?";
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = label;
            item.cchTextMax = sizeof label;
            SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            EXPECT_STREQ(TabLabel(row.stack, i), item.pszText) << i;
        }
    }
    char label[64] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = label;
    item.cchTextMax = sizeof label;
    SendMessageA(OutputTabWindow(), TCM_GETITEMA, 13, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ("TIFF chunks", item.pszText);
}

// ---- Which controls each tab shows

TEST_F(MainDialog, StartsOnPageZeroOfEachStack) {
    EXPECT_EQ(ToSet(PageControls(kInputStack, 0)), VisibleManaged(kInputStack));
    EXPECT_EQ(ToSet(PageControls(kOutputStack, 0)), VisibleManaged(kOutputStack));
    for (int id : kFrameControls) EXPECT_TRUE(IsWindowVisible(Item(id))) << id;
    EXPECT_TRUE(IsWindowVisible(Item(IDC_GB_INPUT)));
    EXPECT_TRUE(IsWindowVisible(Item(IDC_GB_OUTPUT)));
}

TEST_F(MainDialog, EachTabShowsExactlyItsPage) {
    for (PageStack stack : {kInputStack, kOutputStack}) {
        PageStack other = stack == kInputStack ? kOutputStack : kInputStack;
        std::set<int> otherShown = VisibleManaged(other);
        for (int tab = 0; tab < TabCount(stack); ++tab) {
            SCOPED_TRACE((stack == kInputStack ? "input tab " : "output tab ") + std::to_string(tab));
            ClickTab(stack, tab);
            EXPECT_EQ(ToSet(PageControls(stack, tab)), VisibleManaged(stack));
            EXPECT_EQ(otherShown, VisibleManaged(other));
            for (int id : kFrameControls) EXPECT_TRUE(IsWindowVisible(Item(id))) << id;
        }
        // Going back by the page functions themselves, as validation does.
        for (int tab = TabCount(stack) - 1; tab >= 0; --tab) {
            EXPECT_EQ(1, stack == kInputStack ? ShowInputPage(dialog_, tab)
                                              : ShowOutputPage(dialog_, tab));
            EXPECT_EQ(tab, CurrentTab(stack));
            EXPECT_EQ(ToSet(PageControls(stack, tab)), VisibleManaged(stack)) << tab;
        }
    }
}

TEST_F(MainDialog, TheUnpagedOutputControlsStayHidden) {
    for (int tab = 0; tab < kOutputTabCount; ++tab) {
        ShowOutputPage(dialog_, tab);
        EXPECT_FALSE(IsWindowVisible(Item(IDC_CK_ONE_PDF))) << tab;
        EXPECT_FALSE(IsWindowVisible(Item(IDC_CK_EPDF))) << tab;
    }
}

TEST_F(MainDialog, TabsOutsideTheStackChangeNothing) {
    ShowOutputPage(dialog_, 6);
    ShowInputPage(dialog_, 2);
    EXPECT_EQ(0, ShowOutputPage(dialog_, 16));
    EXPECT_EQ(0, ShowOutputPage(dialog_, -1));
    EXPECT_EQ(0, ShowInputPage(dialog_, 7));
    EXPECT_EQ(6, CurrentTab(kOutputStack));
    EXPECT_EQ(2, CurrentTab(kInputStack));
    EXPECT_EQ(ToSet(PageControls(kOutputStack, 6)), VisibleManaged(kOutputStack));
    EXPECT_EQ(ToSet(PageControls(kInputStack, 2)), VisibleManaged(kInputStack));
}

TEST_F(MainDialog, ChoosingAFormatShowsItsPageOrLeavesThePage) {
    struct Row { const char* label; int tab; };  // kNoTab: the BMP page stays
    const Row rows[kFormatCount] = {
        {"BMP", 4},   {"DCX", 5},  {"DXF", kNoTab}, {"GIF", 6},   {"HTML", kNoTab},
        {"JPEG", 7},  {"PDF", kNoTab}, {"PNG", 8},  {"PS", 9},    {"PSD", kNoTab},
        {"RTF", 10},  {"SWF", 11}, {"TGA", kNoTab}, {"TIFF", 12}, {"TXT", 14},
        {"Database Infos", 15}, {"BoundingBox Infos", kNoTab}};
    ASSERT_EQ(kFormatCount, static_cast<int>(SendDlgItemMessageA(
                                dialog_, IDC_CB_OUTPUT_FORMAT, CB_GETCOUNT, 0, 0)));
    for (int index = 0; index < kFormatCount; ++index) {
        char label[64] = "";
        SendDlgItemMessageA(dialog_, IDC_CB_OUTPUT_FORMAT, CB_GETLBTEXT, index,
                            reinterpret_cast<LPARAM>(label));
        SCOPED_TRACE(label);
        EXPECT_STREQ(rows[index].label, label);
        ShowOutputPage(dialog_, 4);
        ShowInputPage(dialog_, 4);
        ChooseFormat(index);
        int expected = rows[index].tab == kNoTab ? 4 : rows[index].tab;
        EXPECT_EQ(expected, CurrentTab(kOutputStack));
        EXPECT_EQ(ToSet(PageControls(kOutputStack, expected)), VisibleManaged(kOutputStack));
        // The combo box stays where it is, on input page 4.
        EXPECT_EQ(4, CurrentTab(kInputStack));
        EXPECT_TRUE(IsWindowVisible(Item(IDC_CB_OUTPUT_FORMAT)));
    }
    ChooseFormat(13);
    EXPECT_EQ(9u, VisibleManaged(kOutputStack).size()) << "the TIFF page shows nine controls";
    ChooseFormat(-1);  // no selection
    EXPECT_EQ(12, CurrentTab(kOutputStack));
}

TEST_F(MainDialog, ClickingATabShowsItsPageWhateverTheFormat) {
    // A real click on the second output tab and on the third input tab.
    for (PageStack stack : {kOutputStack, kInputStack}) {
        int tab = stack == kOutputStack ? 1 : 2;
        HWND tabs = TabWindow(stack);
        RECT item;
        ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(&item)));
        LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(tabs, WM_LBUTTONUP, 0, at);
        PumpMessages();
        EXPECT_EQ(tab, CurrentTab(stack));
        EXPECT_EQ(ToSet(PageControls(stack, tab)), VisibleManaged(stack));
    }

    // The JPEG tab while the combo box says PNG: the JPEG options show and
    // the format stays PNG.
    SendDlgItemMessageA(dialog_, IDC_CB_OUTPUT_FORMAT, CB_SETCURSEL, 7, 0);
    ClickTab(kOutputStack, 7);
    EXPECT_EQ(ToSet(PageControls(kOutputStack, 7)), VisibleManaged(kOutputStack));
    EXPECT_EQ(7, SendDlgItemMessageA(dialog_, IDC_CB_OUTPUT_FORMAT, CB_GETCURSEL, 0, 0));
    // Only a click reaches the TIFF metadata.
    ClickTab(kOutputStack, 13);
    for (int id : {IDC_ED_TIFF_AUTHOR, IDC_ED_TIFF_COPYRIGHT, IDC_ED_TIFF_COMMENT}) {
        EXPECT_TRUE(IsWindowVisible(Item(id))) << id;
    }
}

TEST_F(MainDialog, SelectionNoticesFromOtherWindowsAreIgnored) {
    ShowOutputPage(dialog_, 3);
    ShowInputPage(dialog_, 1);
    SendMessageA(OutputTabWindow(), TCM_SETCURSEL, 9, 0);
    SendMessageA(InputTabWindow(), TCM_SETCURSEL, 5, 0);
    EXPECT_EQ(0, OnTabSelectionChanged(dialog_, Item(IDC_CB_OUTPUT_FORMAT)));
    EXPECT_EQ(0, OnTabSelectionChanged(dialog_, nullptr));
    EXPECT_EQ(ToSet(PageControls(kOutputStack, 3)), VisibleManaged(kOutputStack));
    EXPECT_EQ(ToSet(PageControls(kInputStack, 1)), VisibleManaged(kInputStack));
    // A notice from the input tab moves only the input stack.
    EXPECT_EQ(0, OnTabSelectionChanged(dialog_, InputTabWindow()));
    EXPECT_EQ(ToSet(PageControls(kInputStack, 5)), VisibleManaged(kInputStack));
    EXPECT_EQ(ToSet(PageControls(kOutputStack, 3)), VisibleManaged(kOutputStack));
}

TEST_F(MainDialog, TheTiffPagePutsBackItsEnglishCaption) {
    const char translated[] = "Joindre toutes les pages dans un seul TIFF";
    SetDlgItemTextA(dialog_, IDC_CK_TIFF_ADJOIN, translated);
    ShowOutputPage(dialog_, 11);
    ChooseFormat(0);
    EXPECT_EQ(translated, TextOf(Item(IDC_CK_TIFF_ADJOIN)));
    ChooseFormat(13);
    EXPECT_EQ(kTiffAdjoin, TextOf(Item(IDC_CK_TIFF_ADJOIN)));
    // Every time the page is applied, even when its tab is current already.
    SetDlgItemTextA(dialog_, IDC_CK_TIFF_ADJOIN, translated);
    ShowOutputPage(dialog_, 12);
    EXPECT_EQ(kTiffAdjoin, TextOf(Item(IDC_CK_TIFF_ADJOIN)));
}

TEST_F(MainDialog, PagesStillSwitchWithoutATabControl) {
    HWND output = OutputTabWindow();
    // A window without the group box: no tab control, no handle kept.
    HWND stranger = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, stranger);
    EXPECT_EQ(nullptr, CreateOutputTab(stranger, 0));
    EXPECT_EQ(nullptr, OutputTabWindow());
    DestroyWindow(stranger);

    EXPECT_EQ(1, ShowOutputPage(dialog_, 5));
    EXPECT_EQ(ToSet(PageControls(kOutputStack, 5)), VisibleManaged(kOutputStack));
    ChooseFormat(3);
    EXPECT_EQ(ToSet(PageControls(kOutputStack, 6)), VisibleManaged(kOutputStack));
    // The old tab control is no longer the output tab: its notices are ignored.
    SendMessageA(output, TCM_SETCURSEL, 2, 0);
    OnTabSelectionChanged(dialog_, output);
    EXPECT_EQ(ToSet(PageControls(kOutputStack, 6)), VisibleManaged(kOutputStack));
}

// ---- Layout

// Controls of one page, with the frame controls always on show: none may
// cover another, except a group box around controls wholly inside it.
TEST_F(MainDialog, NoTwoControlsOfAPageOverlap) {
    for (PageStack stack : {kInputStack, kOutputStack}) {
        for (int tab = 0; tab < TabCount(stack); ++tab) {
            SCOPED_TRACE((stack == kInputStack ? "input tab " : "output tab ") + std::to_string(tab));
            std::vector<int> shown(std::begin(kFrameControls), std::end(kFrameControls));
            PageSet page = PageControls(stack, tab);
            shown.insert(shown.end(), page.ids, page.ids + page.count);
            for (size_t i = 0; i < shown.size(); ++i) {
                for (size_t j = i + 1; j < shown.size(); ++j) {
                    RECT a = ScreenRect(shown[i]), b = ScreenRect(shown[j]);
                    bool framed = (shown[i] == IDC_GB_INFOS && Inside(b, a)) ||
                                  (shown[j] == IDC_GB_INFOS && Inside(a, b));
                    EXPECT_TRUE(framed || !Overlap(a, b))
                        << shown[i] << " " << Describe(a) << " and " << shown[j] << " "
                        << Describe(b);
                }
            }
        }
    }
}

TEST_F(MainDialog, EveryPageStaysInsideItsTabControl) {
    RECT client;
    GetClientRect(dialog_, &client);
    MapWindowPoints(dialog_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    for (PageStack stack : {kInputStack, kOutputStack}) {
        RECT area = DisplayArea(stack);
        RECT tab;
        GetWindowRect(TabWindow(stack), &tab);
        EXPECT_TRUE(Inside(tab, client)) << Describe(tab);
        for (int id : kFrameControls) EXPECT_FALSE(Overlap(ScreenRect(id), tab)) << id;
        for (int i = 0; i < ManagedControlCount(stack); ++i) {
            int id = ManagedControlAt(stack, i);
            RECT control = ScreenRect(id);
            EXPECT_TRUE(Inside(control, area))
                << id << " " << Describe(control) << " outside " << Describe(area);
        }
    }
}

// A caption fits when it is drawn whole in the room its control leaves for
// text, in the control's own font.
TEST_F(MainDialog, EveryCaptionFitsItsControl) {
    const int checkRoom = 18;  // the box of a check box or radio button and its gap
    for (const ControlRow& row : kControls) {
        std::string caption = TextOf(Item(row.id));
        if (caption.empty() || row.kind == kIconPush) continue;
        HWND control = Item(row.id);
        LONG style = GetWindowLongA(control, GWL_STYLE);
        RECT client;
        GetClientRect(control, &client);
        int room = client.right;
        UINT format = DT_CALCRECT | DT_EXPANDTABS;
        if (row.kind == kCheck || row.kind == kRadio) room -= checkRoom;
        if (row.kind == kPush || row.kind == kDefaultPush) room -= 6;
        if (row.kind == kGroupBox) room -= 16;
        bool wraps = row.kind == kText || (style & BS_MULTILINE);
        format |= wraps ? DT_WORDBREAK : DT_SINGLELINE;

        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
        RECT needed = {0, 0, room, 0};
        DrawTextA(dc, caption.c_str(), -1, &needed, format);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        EXPECT_LE(needed.right, room) << row.id << " \"" << caption << "\"";
        if (row.kind != kGroupBox) {
            EXPECT_LE(needed.bottom, client.bottom) << row.id << " \"" << caption << "\"";
        }
    }
}

}  // namespace
