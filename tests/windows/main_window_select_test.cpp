// "Select files" on the configurator's main window opens the file selection
// dialog modally over it, and closing the dialog gives the window back.
#include "tests/windows/main_window_fixture.h"

namespace main_window_test {
namespace {

using SelectFiles = MainWindow;

TEST_F(SelectFiles, OpensTheSelectionDialogOverTheMainWindow) {
    HWND main = Start(nullptr);
    ASSERT_NE(nullptr, main);
    PostMessageA(main, WM_COMMAND, 1061, reinterpret_cast<LPARAM>(Item(1061)));
    HWND select = ui::WaitForWindow(GetCurrentProcessId(), "#32770", "Ombrello_zandrix - Select PDF files", 10000);
    ASSERT_NE(nullptr, select);
    EXPECT_EQ(main, GetWindow(select, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_EQ("", ui::WindowText(GetDlgItem(select, 1551)));

    PostMessageA(select, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 500 && IsWindow(select); ++i) Sleep(10);
    EXPECT_FALSE(IsWindow(select));
    Settle(main);
    EXPECT_TRUE(IsWindowEnabled(main));
}

}  // namespace
}  // namespace main_window_test
