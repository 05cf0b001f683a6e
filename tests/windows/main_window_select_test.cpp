// "Select files" on the configurator's main window opens the file selection
// dialog modally over it, and closing the dialog gives the window back.
#include "tests/windows/main_window_fixture.h"

#include <objbase.h>

namespace main_window_test {
namespace {

using SelectFiles = MainWindow;

const UINT kProbeCom = WM_APP + 77;
WNDPROC g_dialogProc = nullptr;

// Answers, on the window's own thread, whether COM was already initialised
// there: the probe's own CoInitialize then reports S_FALSE.
LRESULT CALLBACK ComProbe(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kProbeCom) return CallWindowProcA(g_dialogProc, window, message, wParam, lParam);
    HRESULT result = CoInitialize(nullptr);
    if (SUCCEEDED(result)) CoUninitialize();
    return result == S_FALSE ? 1 : 0;
}

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

// The window's thread keeps COM initialised for its folder browsers, before
// and after a file selection dialog has opened and closed.
TEST_F(SelectFiles, ComStaysInitialisedForTheWindowsThread) {
    HWND main = Start(nullptr);
    ASSERT_NE(nullptr, main);
    g_dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComProbe)));
    EXPECT_EQ(1, SendMessageA(main, kProbeCom, 0, 0)) << "not initialised at start";

    PostMessageA(main, WM_COMMAND, 1061, reinterpret_cast<LPARAM>(Item(1061)));
    HWND select = ui::WaitForWindow(GetCurrentProcessId(), "#32770", "Ombrello_zandrix - Select PDF files", 10000);
    ASSERT_NE(nullptr, select);
    PostMessageA(select, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 500 && IsWindow(select); ++i) Sleep(10);
    Settle(main);
    EXPECT_EQ(1, SendMessageA(main, kProbeCom, 0, 0)) << "no longer initialised after the selection dialog";
    SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_dialogProc));
}

}  // namespace
}  // namespace main_window_test
