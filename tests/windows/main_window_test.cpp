// The configurator's main window run for real: the program's own start-up
// and dialog procedure in a thread of this process, with this executable's
// folder as the program folder (the language files lie beside it). The test
// drives it as a user would: tab keys, clicks, menu commands, message boxes.
#include "tests/windows/main_window_fixture.h"

namespace {

using namespace main_window_test;

const char kEmptyJob[] = "[PROCESS]\r\nID=0\r\n";

TEST_F(MainWindow, WithoutDefaultJobEverythingShowsWithResourceTexts) {
    ASSERT_NE(nullptr, Start(nullptr));
    EXPECT_TRUE(TabControls().empty()) << "no tab control without a default job file";
    for (HWND child : Children(dialog_)) {
        int id = GetDlgCtrlID(child);
        if (id == IDC_ST_RELAY_1 || id == IDC_ST_RELAY_2) {
            EXPECT_FALSE(IsWindowVisible(child)) << id;
        } else {
            EXPECT_TRUE(IsWindowVisible(child)) << id;
        }
    }
    EXPECT_EQ(job_, Text(IDC_ED_JOB_FILE));
    EXPECT_EQ("&Save && Quit", Text(IDC_BT_SAVE_QUIT));
    const struct { int id; LRESULT count; const char* first; } lists[] = {
        {IDC_CB_TIFF_COMPRESS, 5, "FAX 3"}, {IDC_CB_OUTPUT_FORMAT, 17, "BMP"},
        {IDC_CB_PS_COMPRESS, 4, "JPEG"},    {IDC_CB_COLORSPACE, 3, "RGB"},
        {IDC_CB_PS_PAGE, 4, "A3"},          {IDC_CB_TXT_FORMAT, 1, "MS-Dos"},
        {IDC_CB_PS_TYPE, 8, "PS"},          {IDC_CB_SIGNATURE_POSITION, 9, "Centered"},
    };
    for (const auto& list : lists) {
        EXPECT_EQ(list.count, SendMessageA(Item(list.id), CB_GETCOUNT, 0, 0)) << list.id;
        char first[64] = "";
        SendMessageA(Item(list.id), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
        EXPECT_STREQ(list.first, first) << list.id;
    }
    char last[64] = "";
    SendMessageA(Item(IDC_CB_OUTPUT_FORMAT), CB_GETLBTEXT, 16, reinterpret_cast<LPARAM>(last));
    EXPECT_STREQ("BoundingBox Infos", last);
}

TEST_F(MainWindow, EachTabShowsExactlyItsPage) {
    ASSERT_NE(nullptr, Start(kEmptyJob));
    ASSERT_EQ(2u, TabControls().size());
    HWND input = TabOver(IDC_GB_INPUT);
    HWND output = TabOver(IDC_GB_OUTPUT);
    ASSERT_NE(nullptr, input);
    ASSERT_NE(nullptr, output);
    ExpectPageShown(kInputStack, 0);
    ExpectPageShown(kOutputStack, 0);
    for (int tab = 0; tab < kInputTabCount; ++tab) {
        ASSERT_TRUE(ui::SelectTab(input, tab));
        Settle(dialog_);
        ExpectPageShown(kInputStack, tab);
    }
    for (int tab = 0; tab < kOutputTabCount; ++tab) {
        ASSERT_TRUE(ui::SelectTab(output, tab));
        Settle(dialog_);
        ExpectPageShown(kOutputStack, tab);
        EXPECT_FALSE(IsWindowVisible(Item(IDC_CK_ONE_PDF)));
        EXPECT_FALSE(IsWindowVisible(Item(IDC_CK_EPDF)));
    }
    // The output tabs left the input stack alone.
    ExpectPageShown(kInputStack, kInputTabCount - 1);
}

TEST_F(MainWindow, ChoosingAFormatShowsItsPageOrLeavesThePage) {
    ASSERT_NE(nullptr, Start(kEmptyJob));
    HWND output = TabOver(IDC_GB_OUTPUT);
    ASSERT_NE(nullptr, output);
    ASSERT_TRUE(ui::SelectTab(output, 4));  // BMP
    Settle(dialog_);
    for (int format = 0; format < kFormatCount; ++format) {
        int before = static_cast<int>(SendMessageA(output, TCM_GETCURSEL, 0, 0));
        SendMessageA(Item(IDC_CB_OUTPUT_FORMAT), CB_SETCURSEL, static_cast<WPARAM>(format), 0);
        Command(IDC_CB_OUTPUT_FORMAT, CBN_SELCHANGE);
        int expected = OutputTabOfFormat(format) == kNoTab ? before : OutputTabOfFormat(format);
        EXPECT_EQ(expected, SendMessageA(output, TCM_GETCURSEL, 0, 0)) << "format " << format;
        ExpectPageShown(kOutputStack, expected);
    }
    // Any other notification of the list changes nothing.
    ASSERT_TRUE(ui::SelectTab(output, 0));
    SendMessageA(Item(IDC_CB_OUTPUT_FORMAT), CB_SETCURSEL, 13, 0);
    Command(IDC_CB_OUTPUT_FORMAT, CBN_EDITCHANGE);
    EXPECT_EQ(0, SendMessageA(output, TCM_GETCURSEL, 0, 0));
}

// One click and the enabled states it must leave.
struct ClickRule {
    int click;
    bool checkedAfter;
    std::vector<int> enabled;
    std::vector<int> disabled;
};

TEST_F(MainWindow, ClicksEnableAndDisableTheirDependents) {
    ASSERT_NE(nullptr, Start(kEmptyJob));
    const ClickRule rules[] = {
        {IDC_CK_TIFF_COMPRESS, true, {IDC_CB_TIFF_COMPRESS}, {}},
        {IDC_CK_TIFF_COMPRESS, false, {}, {IDC_CB_TIFF_COMPRESS}},
        {IDC_RB_EXTRACT_RANGE, true, {IDC_ED_FIRST_PAGE, IDC_ED_LAST_PAGE}, {}},
        {IDC_RB_EXTRACT_ALL, true, {}, {IDC_ED_FIRST_PAGE, IDC_ED_LAST_PAGE}},
        {IDC_CK_TARGET_REPRODUCE, true, {IDC_CK_TARGET_FROM_ROOT}, {}},
        {IDC_CK_TARGET_REPRODUCE, false, {}, {IDC_CK_TARGET_FROM_ROOT}},
        {IDC_RB_TXT_FORMATTED, true, {IDC_CK_TXT_HTML}, {IDC_ST_TXT_COLUMNS, IDC_ED_TXT_COLUMNS, IDC_CK_TXT_MARK_CRLF}},
        {IDC_RB_TXT_RAW, true, {IDC_ST_TXT_COLUMNS, IDC_ED_TXT_COLUMNS, IDC_CK_TXT_MARK_CRLF}, {IDC_CK_TXT_HTML}},
        {IDC_RB_MOVE_SOURCE, true, {IDC_CK_MOVE_REPRODUCE, IDC_ED_MOVE_PATH}, {IDC_CK_MOVE_FROM_ROOT}},
        {IDC_CK_MOVE_REPRODUCE, true, {IDC_CK_MOVE_FROM_ROOT}, {}},
        {IDC_RB_DELETE_SOURCE, true, {}, {IDC_CK_MOVE_REPRODUCE, IDC_CK_MOVE_FROM_ROOT, IDC_ED_MOVE_PATH}},
        // Move chosen again: 1097 follows the remembered state of 1096.
        {IDC_RB_MOVE_SOURCE, true, {IDC_CK_MOVE_REPRODUCE, IDC_CK_MOVE_FROM_ROOT, IDC_ED_MOVE_PATH}, {}},
        {IDC_CK_MOVE_REPRODUCE, false, {}, {IDC_CK_MOVE_FROM_ROOT}},
        {IDC_RB_KEEP_SOURCE, true, {}, {IDC_CK_MOVE_REPRODUCE, IDC_CK_MOVE_FROM_ROOT, IDC_ED_MOVE_PATH}},
        {IDC_RB_MOVE_SOURCE, true, {IDC_CK_MOVE_REPRODUCE, IDC_ED_MOVE_PATH}, {IDC_CK_MOVE_FROM_ROOT}},
        {IDC_CK_SCAN, true, {IDC_RB_SCAN_MINUTES, IDC_RB_SCAN_SECONDS, IDC_ED_SCAN_DELAY}, {}},
        {IDC_CK_SCAN, false, {}, {IDC_RB_SCAN_MINUTES, IDC_RB_SCAN_SECONDS, IDC_ED_SCAN_DELAY}},
        {IDC_CK_SHAVE, true, {IDC_ED_SHAVE_HEIGHT, IDC_ED_SHAVE_WIDTH}, {}},
        {IDC_CK_SHAVE, false, {}, {IDC_ED_SHAVE_HEIGHT, IDC_ED_SHAVE_WIDTH}},
        {IDC_RB_NAME_PREFIX, true, {IDC_ED_NAME_PREFIX, IDC_ST_NAME_SUFFIX}, {}},
        {IDC_RB_NAME_FROM_PDF, true, {}, {IDC_ED_NAME_PREFIX, IDC_ST_NAME_SUFFIX}},
        {IDC_CK_ROTATE, true, {IDC_ED_ROTATE_RADIUS}, {}},
        {IDC_CK_ROTATE, false, {}, {IDC_ED_ROTATE_RADIUS}},
        {IDC_CK_SIGNATURE, true,
         {IDC_RB_SIGNATURE_FILE, IDC_RB_SIGNATURE_TEXT, IDC_ED_SIGNATURE_FILE, IDC_ED_SIGNATURE_TEXT, IDC_BT_SIGNATURE_FILE}, {}},
        {IDC_RB_SIGNATURE_FILE, true, {IDC_ED_SIGNATURE_FILE, IDC_BT_SIGNATURE_FILE}, {IDC_ED_SIGNATURE_TEXT}},
        {IDC_RB_SIGNATURE_TEXT, true, {IDC_ED_SIGNATURE_TEXT}, {IDC_ED_SIGNATURE_FILE, IDC_BT_SIGNATURE_FILE}},
        {IDC_CK_SIGNATURE, false, {},
         {IDC_RB_SIGNATURE_FILE, IDC_RB_SIGNATURE_TEXT, IDC_ED_SIGNATURE_FILE, IDC_ED_SIGNATURE_TEXT, IDC_BT_SIGNATURE_FILE}},
        {IDC_RB_ERRORS_MOVE, true, {IDC_ED_ERRORS_PATH, IDC_BT_ERRORS_PATH}, {}},
        {IDC_RB_ERRORS_NOTHING, true, {}, {IDC_ED_ERRORS_PATH, IDC_BT_ERRORS_PATH}},
    };
    int step = 0;
    for (const ClickRule& rule : rules) {
        ui::ClickButton(dialog_, rule.click);
        EXPECT_EQ(rule.checkedAfter, IsDlgButtonChecked(dialog_, rule.click) == BST_CHECKED)
            << "step " << step << ", control " << rule.click;
        for (int id : rule.enabled) EXPECT_TRUE(IsWindowEnabled(Item(id))) << "step " << step << ", " << id;
        for (int id : rule.disabled) EXPECT_FALSE(IsWindowEnabled(Item(id))) << "step " << step << ", " << id;
        ++step;
    }
}

TEST_F(MainWindow, TooltipsFlagFollowsTheDefaultJobAndTheMenu) {
    ASSERT_NE(nullptr, Start("[MISC]\r\ntooltips=1\r\n"));
    EXPECT_TRUE(MenuChecked(IDM_TOOLTIPS)) << "the check mark survives the language texts";
    Command(IDM_TOOLTIPS);
    EXPECT_FALSE(MenuChecked(IDM_TOOLTIPS));
    Command(IDM_TOOLTIPS);
    EXPECT_TRUE(MenuChecked(IDM_TOOLTIPS));
    // No menu item carries the display-details command: it has no check mark to show.
    Command(IDM_DISPLAY_DETAILS);
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuState(GetMenu(dialog_), IDM_DISPLAY_DETAILS, MF_BYCOMMAND));
}

TEST_F(MainWindow, TooltipsStayOffWithoutTheFlag) {
    ASSERT_NE(nullptr, Start(kEmptyJob));
    EXPECT_FALSE(MenuChecked(IDM_TOOLTIPS));
}

// The colour the swatch shows, read off the screen at its middle.
COLORREF SwatchColour(HWND swatch) {
    RECT rect;
    GetWindowRect(swatch, &rect);
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return colour & 0xFFFFFF;
}

TEST_F(MainWindow, SwatchShowsTheTransparencyColour) {
    ASSERT_NE(nullptr, Start("[GIF]\r\ntransparency=1\r\ncolor_gif=255\r\n"));
    ASSERT_TRUE(ui::SelectTab(TabOver(IDC_GB_OUTPUT), 6));
    Settle(dialog_);
    UpdateWindow(dialog_);
    EXPECT_EQ(RGB(255, 0, 0), SwatchColour(Item(IDC_ST_GIF_SWATCH)));
}

TEST_F(MainWindow, SwatchIsBlackWithoutTransparency) {
    ASSERT_NE(nullptr, Start("[GIF]\r\ntransparency=0\r\ncolor_gif=255\r\n"));
    ASSERT_TRUE(ui::SelectTab(TabOver(IDC_GB_OUTPUT), 6));
    Settle(dialog_);
    UpdateWindow(dialog_);
    EXPECT_EQ(RGB(0, 0, 0), SwatchColour(Item(IDC_ST_GIF_SWATCH)));
}

TEST_F(MainWindow, EmptyJobPathIsRefusedForSave) {
    ASSERT_NE(nullptr, Start(kEmptyJob));
    SetWindowTextA(Item(IDC_ED_JOB_FILE), "");
    PostMessageA(dialog_, WM_COMMAND, IDC_BT_SAVE, 0);
    HWND box = ui::WaitForWindow(GetCurrentProcessId(), "#32770", "Ombrello_zandrix", 10000);
    ASSERT_NE(nullptr, box);
    ui::MessageBoxView view = ui::ReadMessageBox(box);
    EXPECT_EQ(ui::kIconError, view.icon);
    EXPECT_FALSE(view.text.empty());
    Answer(box, "OK");
    EXPECT_EQ(Item(IDC_ED_JOB_FILE), Focused());
    EXPECT_TRUE(IsWindow(dialog_));
}

}  // namespace
