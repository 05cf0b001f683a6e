// The fixture of the main-window tests: the program's own start-up and
// dialog procedure run in a thread of the test process, with the test
// executable's folder as the program folder (the language files lie beside
// it); helpers drive it as a user would.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <string>
#include <vector>

#include "gui/main_window.h"
#include "gui/pages.h"
#include "resources/main_ids.h"
#include "tests/windows/ui_driver.h"

namespace main_window_test {

const char kTitle[] = "Ombrello_zandrix Monitor";

inline DWORD WINAPI RunWindow(LPVOID) { return static_cast<DWORD>(RunConfigurator(GetModuleHandleA(nullptr))); }

inline std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> all;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        all.push_back(child);
    return all;
}

inline std::string ClassOf(HWND window) {
    char name[64];
    return GetClassNameA(window, name, sizeof name) ? name : "";
}

// Waits until the window's thread has handled everything posted to it.
inline void Settle(HWND window) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = ui::OwnFolder();
        job_ = folder_ + "ombrello_zandrix.ini";
        SetFileAttributesA(job_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(job_.c_str());
    }

    void TearDown() override {
        if (dialog_ != nullptr && IsWindow(dialog_)) PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
        if (thread_ != nullptr) {
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread_, 10000));
            CloseHandle(thread_);
        }
        SetFileAttributesA(job_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(job_.c_str());
        for (const auto& replaced : replaced_) {
            if (replaced.second.empty()) {
                DeleteFileA(replaced.first.c_str());
            } else {
                MoveFileExA(replaced.second.c_str(), replaced.first.c_str(), MOVEFILE_REPLACE_EXISTING);
            }
        }
        if (previous_[0] != '\0') SetCurrentDirectoryA(previous_);
    }

    // Makes a scratch folder holding src, out and tmp the current folder, for
    // jobs that name their folders relative to it; the old one comes back
    // after the test.
    void EnterWorkFolder(const char* name) {
        GetCurrentDirectoryA(MAX_PATH, previous_);
        work_ = ui::MakeTempFolder(name);
        SetCurrentDirectoryA(work_.c_str());
        for (const char* sub : {"src", "out", "tmp"}) CreateDirectoryA(sub, nullptr);
    }

    // Presses a button that ends in a message box, and reads the box.
    ui::MessageBoxView PressForBox(int command, HWND* box, const char* caption = "Ombrello_zandrix") {
        PostMessageA(dialog_, WM_COMMAND, static_cast<WPARAM>(command), 0);
        return NextBox(box, caption);
    }

    // The next message box of the configurator with that caption, read.
    ui::MessageBoxView NextBox(HWND* box, const char* caption = "Ombrello_zandrix") {
        *box = ui::WaitForWindow(GetCurrentProcessId(), "#32770", caption, 20000);
        if (*box == nullptr) return ui::MessageBoxView{"", "<no box>", ui::kIconNone, ""};
        return ui::ReadMessageBox(*box);
    }

    // Puts a file of the test's own beside the program (a language file, say);
    // the file that stood there comes back after the test.
    void PutBesideProgram(const char* name, const std::string& bytes) {
        std::string path = folder_ + name;
        std::string kept = path + ".kept";
        bool existed = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (existed) {
            ASSERT_TRUE(CopyFileA(path.c_str(), kept.c_str(), FALSE));
        }
        replaced_.push_back({path, existed ? kept : std::string()});
        ASSERT_TRUE(ui::WriteFileBytes(path, bytes));
    }

    // Starts the configurator with that default job file (none for null).
    HWND Start(const char* job) {
        if (job != nullptr) {
            EXPECT_TRUE(ui::WriteFileBytes(job_, job));
        }
        thread_ = CreateThread(nullptr, 0, RunWindow, nullptr, 0, nullptr);
        dialog_ = ui::WaitForWindow(GetCurrentProcessId(), "#32770", kTitle, 10000);
        EXPECT_NE(nullptr, dialog_);
        Settle(dialog_);
        return dialog_;
    }

    HWND Item(int id) const { return GetDlgItem(dialog_, id); }

    std::string Text(int id) const { return ui::WindowText(Item(id)); }

    std::vector<HWND> TabControls() const {
        std::vector<HWND> tabs;
        for (HWND child : Children(dialog_))
            if (ClassOf(child) == WC_TABCONTROLA) tabs.push_back(child);
        return tabs;
    }

    // The tab control lying over a group box (1081 input, 1014 output).
    HWND TabOver(int groupBox) const {
        RECT box;
        GetWindowRect(Item(groupBox), &box);
        for (HWND tab : TabControls()) {
            RECT rect;
            GetWindowRect(tab, &rect);
            POINT inside = {rect.left + 2, rect.top + 2};
            if (PtInRect(&box, inside)) return tab;
        }
        return nullptr;
    }

    // Every managed control of the stack is visible exactly when it is on that tab's page.
    void ExpectPageShown(PageStack stack, int tab) {
        PageSet page = PageControls(stack, tab);
        std::set<int> shown(page.ids, page.ids + page.count);
        for (int i = 0; i < ManagedControlCount(stack); ++i) {
            int id = ManagedControlAt(stack, i);
            EXPECT_EQ(shown.count(id) == 1, IsWindowVisible(Item(id)) != FALSE)
                << (stack == kInputStack ? "input" : "output") << " tab " << tab << ", control " << id;
        }
    }

    // A command that opens no modal box, handled when the call returns.
    void Command(int id, int notification = 0) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(dialog_, WM_COMMAND, MAKEWPARAM(id, notification),
                            reinterpret_cast<LPARAM>(Item(id)), SMTO_NORMAL, 5000, &ignored);
    }

    // Presses a button of a message box and waits until the window has gone
    // on past it.
    void Answer(HWND box, const char* button) {
        ASSERT_TRUE(ui::PressButton(box, button));
        for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
        ASSERT_FALSE(IsWindow(box));
        Settle(dialog_);
    }

    // The control that has the keyboard focus in the window's thread.
    HWND Focused() const {
        GUITHREADINFO info;
        ZeroMemory(&info, sizeof info);
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info);
        return info.hwndFocus;
    }

    bool MenuChecked(int command) const {
        return (GetMenuState(GetMenu(dialog_), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }

    std::string folder_;
    std::string job_;
    std::string work_;                // the work folder, when the test entered one
    char previous_[MAX_PATH] = "";   // the current folder before it
    std::vector<std::pair<std::string, std::string>> replaced_;  // path, kept copy ("" when new)
    HANDLE thread_ = nullptr;
    HWND dialog_ = nullptr;
};

}  // namespace main_window_test
