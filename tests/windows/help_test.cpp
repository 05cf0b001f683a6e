// Help in the main window and in the file selection dialog: a placeholder
// help file sends the user to the guide page of the language on screen, a
// real WinHelp file keeps opening. The shell's open verb for .html and .hlp
// files runs help_recorder.exe, which notes the file it was given.
#include "tests/windows/main_window_fixture.h"

#include <cstring>

#include "resources/select_ids.h"

namespace main_window_test {
namespace {

const char kSelectTitle[] = "Ombrello_zandrix - Select PDF files";
const char* const kExtensions[2] = {".html", ".hlp"};
const char kWinHelpBytes[] = "\x3F\x5F\x03\x00 help file body";

class Help : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        // Wine looks file types up in the machine's classes only; the
        // test's own prefix holds them, and the old types come back after.
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Classes", 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &classes_, nullptr));
        const char type[] = "zandrix_test_help";
        for (int i = 0; i < 2; ++i) {
            HKEY key = nullptr;
            ASSERT_EQ(ERROR_SUCCESS,
                      RegCreateKeyExA(classes_, kExtensions[i], 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
            DWORD size = sizeof previous_[i];
            if (RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(previous_[i]), &size) !=
                ERROR_SUCCESS)
                previous_[i][0] = '\0';
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(type), sizeof type);
            RegCloseKey(key);
        }
        std::string command = "\"" + folder_ + "help_recorder.exe\" \"%1\"";
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(classes_, "zandrix_test_help\\shell\\open\\command", 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
        RegCloseKey(key);
        DeleteFileA(Record().c_str());
    }

    void TearDown() override {
        MainWindow::TearDown();
        DeleteFileA(Record().c_str());
        RegDeleteTreeA(classes_, "zandrix_test_help");
        for (int i = 0; i < 2; ++i) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(classes_, kExtensions[i], 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_[i]),
                           static_cast<DWORD>(std::strlen(previous_[i]) + 1));
            RegCloseKey(key);
        }
        RegCloseKey(classes_);
    }

    std::string Record() const { return folder_ + "help_opened.txt"; }

    // The file the shell handed to the recorder after the command, or "".
    std::string Opened(HWND window, int command) {
        DeleteFileA(Record().c_str());
        PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(command), 0);
        for (int i = 0; i < 200; ++i) {
            if (GetFileAttributesA(Record().c_str()) != INVALID_FILE_ATTRIBUTES) return ui::ReadFileBytes(Record());
            Sleep(50);
        }
        return "";
    }

    HWND OpenSelection() {
        PostMessageA(dialog_, WM_COMMAND, IDC_BT_SELECT_FILES, 0);
        return ui::WaitForWindow(GetCurrentProcessId(), "#32770", kSelectTitle, 10000);
    }

    void CloseSelection(HWND select) {
        PostMessageA(select, WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 500 && IsWindow(select); ++i) Sleep(10);
        Settle(dialog_);
    }

    HKEY classes_ = nullptr;
    char previous_[2][128] = {"", ""};
};

TEST_F(Help, APlaceholderHelpFileOpensTheGuideOfTheLanguageOnScreen) {
    PutBesideProgram("ombrelloe_zandrix.hlp", "Placeholder for Ombrelloe_zandrix.hlp.\r\n");
    ASSERT_NE(nullptr, Start("[MAIN]\r\nlangue=1\r\n"));
    EXPECT_EQ(folder_ + "guide\\guide_en.html", Opened(dialog_, IDM_HELP));

    HWND select = OpenSelection();
    ASSERT_NE(nullptr, select);
    EXPECT_EQ(folder_ + "guide\\guide_en.html", Opened(select, IDC_CM_HELP));
    CloseSelection(select);

    Command(IDM_FRENCH);
    EXPECT_EQ(folder_ + "guide\\guide_fr.html", Opened(dialog_, IDM_HELP));
    select = OpenSelection();
    ASSERT_NE(nullptr, select);
    EXPECT_EQ(folder_ + "guide\\guide_fr.html", Opened(select, IDC_CM_HELP));
    CloseSelection(select);
}

TEST_F(Help, AMissingHelpFileOpensTheGuide) {
    PutBesideProgram("ombrelloe_zandrix.hlp", "");
    DeleteFileA((folder_ + "ombrelloe_zandrix.hlp").c_str());
    ASSERT_NE(nullptr, Start(nullptr));
    EXPECT_EQ(folder_ + "guide\\guide_en.html", Opened(dialog_, IDM_HELP));
}

TEST_F(Help, ARealWinHelpFileKeepsOpeningFromTheMainWindow) {
    PutBesideProgram("ombrelloe_zandrix.hlp", std::string(kWinHelpBytes, sizeof kWinHelpBytes - 1));
    ASSERT_NE(nullptr, Start("[MAIN]\r\nlangue=33\r\n"));
    EXPECT_EQ(folder_ + "ombrelloe_zandrix.hlp", Opened(dialog_, IDM_HELP));
}

TEST_F(Help, ARealWinHelpFileKeepsOpeningWithWinHelpFromTheSelection) {
    PutBesideProgram("ombrelloe_zandrix.hlp", std::string(kWinHelpBytes, sizeof kWinHelpBytes - 1));
    ASSERT_NE(nullptr, Start(nullptr));
    HWND select = OpenSelection();
    ASSERT_NE(nullptr, select);
    EXPECT_EQ("", Opened(select, IDC_CM_HELP)) << "the guide was opened instead of the help file";
    // The viewer WinHelp started; it cannot read this file and would hold the
    // dialog until its complaint is answered.
    HWND viewer = FindWindowA("MS_WINHELP", nullptr);
    EXPECT_NE(nullptr, viewer);
    if (viewer != nullptr) {
        DWORD id = 0;
        GetWindowThreadProcessId(viewer, &id);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process != nullptr) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
    CloseSelection(select);
}

}  // namespace
}  // namespace main_window_test
