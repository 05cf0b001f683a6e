// installer.exe and the uninstaller stand-in run for real under Wine: a
// source folder laid out like the release, the wizard driven through its
// buttons, edit field, check box and message boxes as a user would, and the
// result read back from the disk, the registry and the Start Menu folder in
// which Program Manager keeps its groups.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shlobj.h>
#include <ddeml.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "installer/install_tables.h"
#include "tests/windows/ui_driver.h"

namespace {

enum { kWelcome, kFolder, kOptions, kReady, kFinish };

const char kFailureText[] = "The installation of Ombrello_zandrix has failed.\n\nPlease run install again.";
const char* const kGroupLinks[] = {"Setup.lnk", "Uninstall.lnk", "stopjob.lnk", "Help.lnk"};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string GroupFolder() {
    char programs[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, programs))) return "";
    return std::string(programs) + "\\Ombrello_zandrix";
}

// Where the installer puts the group as shortcuts when Program Manager cannot be asked.
std::string ShortcutGroupFolder() {
    char programs[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, programs))) return "";
    return std::string(programs) + "\\Ombrello_zandrix";
}

void RemoveGroupFolder() {
    for (const std::string& group : {GroupFolder(), ShortcutGroupFolder()}) {
        for (const std::string& name : Entries(group)) DeleteFileA((group + "\\" + name).c_str());
        RemoveDirectoryA(group.c_str());
    }
}

// What a shortcut opens, from where, and its icon: "target|folder|icon,index".
std::string ShortcutText(const std::string& path) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return "<no shell link>";
    std::string text = "<unreadable>";
    IPersistFile* file = nullptr;
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            char target[MAX_PATH] = "";
            char folder[MAX_PATH] = "";
            char icon[MAX_PATH] = "";
            int index = 0;
            link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
            link->GetWorkingDirectory(folder, MAX_PATH);
            link->GetIconLocation(icon, MAX_PATH, &index);
            text = std::string(target) + "|" + folder + "|" + icon + "," + std::to_string(index);
        }
        file->Release();
    }
    link->Release();
    return text;
}

// A Program Manager that answers first and refuses every command, as the
// shell's does for an elevated installer that cannot hear its answers.
class RefusingProgramManager {
public:
    RefusingProgramManager() {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Serve, this, 0, &threadId_);
        WaitForSingleObject(ready_, 5000);
    }
    ~RefusingProgramManager() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
        CloseHandle(ready_);
    }
    bool Serving() const { return serving_; }
    LONG Refused() const { return refused_; }

private:
    static HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
        if (type == XTYP_CONNECT) return reinterpret_cast<HDDEDATA>(TRUE);
        if (type == XTYP_EXECUTE) {
            InterlockedIncrement(&current_->refused_);
            return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
        }
        return nullptr;
    }
    static DWORD WINAPI Serve(LPVOID param) {
        RefusingProgramManager* self = static_cast<RefusingProgramManager*>(param);
        current_ = self;
        DWORD instance = 0;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, for WM_QUIT
        if (DdeInitializeA(&instance, Callback, APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS |
                                                    CBF_SKIP_UNREGISTRATIONS, 0) == DMLERR_NO_ERROR) {
            HSZ name = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
            self->serving_ = name != nullptr && DdeNameService(instance, name, nullptr, DNS_REGISTER) != nullptr;
            SetEvent(self->ready_);
            while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
            DdeNameService(instance, nullptr, nullptr, DNS_UNREGISTER);
            DdeFreeStringHandle(instance, name);
            DdeUninitialize(instance);
        }
        SetEvent(self->ready_);
        return 0;
    }
    static RefusingProgramManager* current_;
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    bool serving_ = false;
    LONG refused_ = 0;
};
RefusingProgramManager* RefusingProgramManager::current_ = nullptr;

// A value of the uninstall entry, or "<none>".
std::string EntryText(const char* name) { return ui::MachineValue(kUninstallKey, name); }

// Program Manager shows the new group in a folder window of its own; it is
// closed so that no window outlives the test.
void CloseGroupWindow(int waitMs) {
    HWND window = nullptr;
    for (int i = 0; i <= waitMs / 20 && window == nullptr; ++i) {
        window = FindWindowA(nullptr, "Ombrello_zandrix");
        char kind[64];
        if (window != nullptr && GetClassNameA(window, kind, sizeof kind) && lstrcmpA(kind, "#32770") == 0)
            window = nullptr;
        if (window == nullptr) Sleep(20);
    }
    if (window == nullptr) return;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, owner);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (process != nullptr) {
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        source_ = ui::MakeTempFolder("install_source");
        target_ = ui::MakeTempFolder("install_target");
        bin_ = ui::OwnFolder();
        // The programs of this build where they exist, placeholders for the
        // maker's files; their bytes say which is which.
        for (const InstallFile& file : kInstallFiles) {
            std::string name = file.name;
            std::string built = bin_ + name;
            if (!Exists(built) || name == "Ombrello_zandrix.ini")
                ASSERT_TRUE(ui::WriteFileBytes(source_ + "\\" + name, "stand-in file " + name + "\r\n"));
            else
                ASSERT_TRUE(CopyFileA(built.c_str(), (source_ + "\\" + name).c_str(), FALSE)) << built;
        }
        ASSERT_TRUE(CopyFileA((bin_ + "installer.exe").c_str(), (source_ + "\\installer.exe").c_str(), FALSE));
        RemoveGroupFolder();
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    }
    void TearDown() override {
        CloseGroupWindow(0);
        if (process_ != nullptr) {
            TerminateProcess(process_, 99);
            CloseHandle(process_);
        }
    }

    void Start() {
        PROCESS_INFORMATION info;
        ASSERT_TRUE(ui::StartProgram(source_ + "\\installer.exe", "", &info));
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
        sheet_ = ui::WaitForWindow(processId_, "#32770", nullptr, 20000);
        ASSERT_NE(nullptr, sheet_);
        ASSERT_TRUE(WaitForPage(kWelcome));
    }

    HWND Page() {
        DWORD_PTR page = 0;
        SendMessageTimeoutA(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, 5000, &page);
        return reinterpret_cast<HWND>(page);
    }
    int PageIndex() {
        DWORD_PTR index = 0;
        if (!SendMessageTimeoutA(sheet_, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(Page()), 0, SMTO_ABORTIFHUNG,
                                 5000, &index))
            return -1;
        return static_cast<int>(index);
    }
    bool WaitForPage(int index) {
        for (int i = 0; i < 500; ++i) {
            if (PageIndex() == index) return true;
            Sleep(20);
        }
        return false;
    }
    void Press(int button) { PostMessageA(sheet_, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0); }

    // Presses a wizard button and waits for the dialog it opens.
    HWND PressForDialog(int button) {
        Press(button);
        return ui::WaitForDialog(processId_, sheet_, nullptr, 10000);
    }

    // Presses a button of a dialog and waits for the dialog to go.
    void Answer(HWND dialog, const char* button) {
        ASSERT_TRUE(ui::PressButton(dialog, button)) << button;
        for (int i = 0; i < 250 && IsWindow(dialog); ++i) Sleep(20);
    }

    void TypeFolder(const std::string& folder) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(GetDlgItem(Page(), 1006), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()),
                            SMTO_ABORTIFHUNG, 5000, &ignored);
    }

    // The wizard buttons a user can press, such as "Back Next".
    std::string Buttons() {
        const struct { int id; const char* name; } buttons[] = {{0x3023, "Back"}, {0x3024, "Next"}, {0x3025, "Finish"}};
        std::string shown;
        for (const auto& button : buttons) {
            HWND window = GetDlgItem(sheet_, button.id);
            if (!IsWindowVisible(window) || !IsWindowEnabled(window)) continue;
            shown += shown.empty() ? button.name : std::string(" ") + button.name;
        }
        return shown;
    }
    // The buttons are set by a posted message: they may come a moment after the page.
    std::string ButtonsSettled(const std::string& expected) {
        std::string shown;
        for (int i = 0; i < 100 && (shown = Buttons()) != expected; ++i) Sleep(20);
        return shown;
    }

    std::string ControlText(int control) { return ui::WindowText(GetDlgItem(Page(), control)); }
    bool ControlVisible(int control) { return IsWindowVisible(GetDlgItem(Page(), control)) != 0; }

    // From the welcome page to the options page with an existing folder.
    void ToOptions(const std::string& folder) {
        Press(PSBTN_NEXT);
        ASSERT_TRUE(WaitForPage(kFolder));
        TypeFolder(folder);
        Press(PSBTN_NEXT);
        ASSERT_TRUE(WaitForPage(kOptions));
    }

    long ExitCode() {
        long code = ui::WaitForExit(process_, 20000);
        CloseHandle(process_);
        process_ = nullptr;
        return code;
    }

    void ExpectFailureDialog(HWND dialog, const char* when) {
        ASSERT_NE(nullptr, dialog) << when;
        ui::MessageBoxView view = ui::ReadMessageBox(dialog);
        EXPECT_EQ("Ombrello_zandrix", view.caption) << when;
        EXPECT_EQ(kFailureText, view.text) << when;
        EXPECT_EQ("OK", view.buttons) << when << ": its Cancel button is hidden";
    }

    void ExpectInstalledFromSource(const std::string& folder, int count) {
        for (int i = 0; i < kInstallFileCount; ++i) {
            std::string name = kInstallFiles[i].name;
            if (i < count)
                EXPECT_EQ(ui::ReadFileBytes(source_ + "\\" + name), ui::ReadFileBytes(folder + "\\" + name)) << name;
            else
                EXPECT_FALSE(Exists(folder + "\\" + name)) << name;
        }
    }

    std::string source_;
    std::string target_;
    std::string bin_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND sheet_ = nullptr;
};

TEST_F(Installer, InstallFolderPageChecksTheFolder) {
    Start();
    EXPECT_EQ("Ombrello_zandrix\n\nVersion 2.13", ControlText(1007));
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kFolder));
    EXPECT_EQ("c:\\Program Files\\Ombrello_zandrix", ControlText(1006)) << "the default install folder";

    // An empty field: the error box, and the page stays.
    TypeFolder("");
    HWND box = PressForDialog(PSBTN_NEXT);
    ASSERT_NE(nullptr, box);
    ui::MessageBoxView view = ui::ReadMessageBox(box);
    EXPECT_EQ("Ombrello_zandrix", view.caption);
    EXPECT_EQ("Please select the install folder", view.text);
    EXPECT_EQ(ui::kIconError, view.icon);
    EXPECT_EQ("OK", view.buttons);
    Answer(box, "OK");
    EXPECT_EQ(kFolder, PageIndex());

    // A new nested folder: No stays and creates nothing; Yes creates every level.
    std::string nested = target_ + "\\a\\b\\c";
    TypeFolder(nested);
    box = PressForDialog(PSBTN_NEXT);
    ASSERT_NE(nullptr, box);
    view = ui::ReadMessageBox(box);
    EXPECT_EQ("Ombrello_zandrix", view.caption);
    EXPECT_EQ(nested + " does not exists.\nDo you want to create it?", view.text);
    EXPECT_EQ(ui::kIconQuestion, view.icon);
    EXPECT_EQ("&Yes|&No", view.buttons);
    Answer(box, "&No");
    EXPECT_EQ(kFolder, PageIndex());
    EXPECT_FALSE(Exists(target_ + "\\a"));
    Answer(PressForDialog(PSBTN_NEXT), "&Yes");
    ASSERT_TRUE(WaitForPage(kOptions));
    EXPECT_TRUE(Exists(nested));
    EXPECT_TRUE(Entries(nested).empty());

    // An existing writable folder goes through without a question and keeps no probe file.
    Press(PSBTN_BACK);
    ASSERT_TRUE(WaitForPage(kFolder));
    TypeFolder(target_);
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kOptions));
    EXPECT_EQ(std::vector<std::string>{"a"}, Entries(target_));

    // A folder that cannot be made (its parent is a file) is refused at once,
    // instead of failing the copy later.
    Press(PSBTN_BACK);
    ASSERT_TRUE(WaitForPage(kFolder));
    ASSERT_TRUE(ui::WriteFileBytes(target_ + "\\file", "x"));
    TypeFolder(target_ + "\\file\\sub");
    Answer(PressForDialog(PSBTN_NEXT), "&Yes");
    box = ui::WaitForDialog(processId_, sheet_, nullptr, 10000);
    ASSERT_NE(nullptr, box);
    view = ui::ReadMessageBox(box);
    EXPECT_EQ(target_ + "\\file\\sub cannot be created or written to.\nPlease choose another folder.", view.text);
    EXPECT_EQ(ui::kIconError, view.icon);
    Answer(box, "OK");
    EXPECT_EQ(kFolder, PageIndex());

    // A doubled backslash is stored single: the ready page shows the folder.
    TypeFolder(target_ + "\\x\\\\y");
    Answer(PressForDialog(PSBTN_NEXT), "&Yes");
    ASSERT_TRUE(WaitForPage(kOptions));
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kReady));
    EXPECT_EQ(target_ + "\\x\\y", ControlText(1037));
    EXPECT_TRUE(Exists(target_ + "\\x\\y"));

    // Cancel on the ready page: the failure dialog, then exit code 0, nothing copied.
    HWND failure = PressForDialog(PSBTN_CANCEL);
    ExpectFailureDialog(failure, "cancel on the ready page");
    Answer(failure, "OK");
    EXPECT_EQ(0, ExitCode());
    EXPECT_TRUE(Entries(target_ + "\\x\\y").empty());
}

TEST_F(Installer, CancelOnTheFirstPagesClosesWithExitCodeOne) {
    for (int page : {kWelcome, kFolder, kOptions}) {
        Start();
        if (page >= kFolder) {
            Press(PSBTN_NEXT);
            ASSERT_TRUE(WaitForPage(kFolder));
        }
        if (page == kOptions) {
            TypeFolder(target_);
            Press(PSBTN_NEXT);
            ASSERT_TRUE(WaitForPage(kOptions));
        }
        HWND failure = PressForDialog(PSBTN_CANCEL);
        ExpectFailureDialog(failure, "cancel");
        Answer(failure, "OK");
        EXPECT_EQ(page == kOptions ? 0 : 1, ExitCode()) << "cancel on page " << page;
    }
    EXPECT_TRUE(Entries(target_).empty());
    EXPECT_EQ("<no key>", EntryText("DisplayName"));
}

TEST_F(Installer, InstallsFilesGroupAndEntryThenUninstallerTakesThemBack) {
    Start();
    EXPECT_EQ("Next", ButtonsSettled("Next"));
    std::string folder = target_ + "\\Ombrello zandrix";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ToOptions(target_ + "\\\\Ombrello zandrix");
    EXPECT_EQ("Back Next", ButtonsSettled("Back Next"));
    EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(Page(), 1025), BM_GETCHECK, 0, 0));
    // Left with the box checked, then cleared after Back: the group is still made.
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kReady));
    Press(PSBTN_BACK);
    ASSERT_TRUE(WaitForPage(kOptions));
    ui::ClickButton(Page(), 1025);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(GetDlgItem(Page(), 1025), BM_GETCHECK, 0, 0));
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kReady));
    EXPECT_EQ("Next", ButtonsSettled("Next")) << "no way back from the ready page";
    EXPECT_EQ("You are now ready to install Ombrello.", ControlText(1007));
    EXPECT_EQ(folder, ControlText(1037));
    EXPECT_EQ("Create a group Ombrello_zandrix", ControlText(1042));
    EXPECT_TRUE(ControlVisible(1042));

    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kFinish));
    EXPECT_EQ("Back Finish", ButtonsSettled("Back Finish"));
    ExpectInstalledFromSource(folder, kInstallFileCount);
    EXPECT_EQ("Ombrello_zandrix", EntryText("DisplayName"));
    EXPECT_EQ("\"" + folder + "\\uninst.exe\"", EntryText("UninstallString"));
    EXPECT_EQ("2.13", EntryText("DisplayVersion"));
    EXPECT_EQ("Ombrello", EntryText("Publisher"));
    EXPECT_EQ(folder, EntryText("InstallLocation"));
    EXPECT_EQ(folder + "\\zandrix_gui.exe", EntryText("DisplayIcon"));
    EXPECT_EQ("dword:1", EntryText("NoModify"));
    EXPECT_EQ("dword:1", EntryText("NoRepair"));
    std::string group = GroupFolder();
    for (const char* link : kGroupLinks) EXPECT_TRUE(Exists(group + "\\" + link)) << link;
    EXPECT_FALSE(Exists(ShortcutGroupFolder())) << "Program Manager made the group: no second one";
    CloseGroupWindow(5000);

    Press(PSBTN_FINISH);
    EXPECT_EQ(1, ExitCode()) << "Finish";

    // The installed programs start from their new folder: the configurator
    // opens its main window, the engine (a stand-in here) runs, the stop tool answers.
    PROCESS_INFORMATION info;
    ASSERT_TRUE(ui::StartProgram(folder + "\\zandrix_gui.exe", "", &info));
    HWND configurator = ui::WaitForWindow(info.dwProcessId, "#32770", nullptr, 15000);
    ASSERT_NE(nullptr, configurator);
    EXPECT_EQ(folder + "\\ombrello_zandrix.ini", ui::WindowText(GetDlgItem(configurator, 1115)));
    PostMessageA(configurator, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(1, ui::WaitForExit(info.hProcess, 15000)) << "Quit";
    CloseHandle(info.hProcess);
    ASSERT_TRUE(ui::StartProgram(folder + "\\Ombrello_zandrix.exe", "", &info));
    TerminateProcess(info.hProcess, 0);
    CloseHandle(info.hProcess);
    ASSERT_TRUE(ui::StartProgram(folder + "\\stopjob.exe", "", &info));
    HWND stopBox = ui::WaitForWindow(info.dwProcessId, "#32770", nullptr, 15000);
    ASSERT_NE(nullptr, stopBox);
    EXPECT_EQ("No process found...", ui::ReadMessageBox(stopBox).text);
    ui::PressButton(stopBox, "OK");
    ui::WaitForExit(info.hProcess, 15000);
    CloseHandle(info.hProcess);

    // The uninstaller: No keeps everything.
    ASSERT_TRUE(ui::WriteFileBytes(folder + "\\my job.ini", "[MAIN]\r\nlangue=1\r\n"));
    std::string uninstaller = folder + "\\uninst.exe";
    ASSERT_TRUE(ui::StartProgram(uninstaller, "", &info));
    HWND confirm = ui::WaitForWindow(info.dwProcessId, "#32770", "Ombrello_zandrix", 15000);
    ASSERT_NE(nullptr, confirm);
    ui::MessageBoxView view = ui::ReadMessageBox(confirm);
    EXPECT_EQ("Remove Ombrello_zandrix from " + folder +
                  "?\n\nThe program group and the uninstall entry are removed too. Files you saved in "
                  "this folder stay.",
              view.text);
    EXPECT_EQ(ui::kIconQuestion, view.icon);
    EXPECT_EQ("&Yes|&No", view.buttons);
    ui::PressButton(confirm, "&No");
    EXPECT_EQ(1, ui::WaitForExit(info.hProcess, 15000));
    CloseHandle(info.hProcess);
    EXPECT_TRUE(Exists(uninstaller));
    EXPECT_EQ("Ombrello_zandrix", EntryText("DisplayName"));

    // Yes: every installed file, the group and the entry go; the user's file stays.
    ASSERT_TRUE(ui::StartProgram(uninstaller, "", &info));
    confirm = ui::WaitForWindow(info.dwProcessId, "#32770", "Ombrello_zandrix", 15000);
    ASSERT_NE(nullptr, confirm);
    ui::PressButton(confirm, "&Yes");
    EXPECT_EQ(0, ui::WaitForExit(info.hProcess, 15000));
    CloseHandle(info.hProcess);
    HWND report = ui::WaitForDialog(0, nullptr, "Ombrello_zandrix", 30000);
    ASSERT_NE(nullptr, report);
    view = ui::ReadMessageBox(report);
    EXPECT_EQ("Ombrello_zandrix has been removed from your computer.\n\nThese items were not installed by "
              "Setup and were left in " + folder + ":\n    my job.ini",
              view.text);
    EXPECT_EQ(ui::kIconInformation, view.icon);
    Answer(report, "OK");
    EXPECT_EQ(std::vector<std::string>{"my job.ini"}, Entries(folder));
    EXPECT_EQ("[MAIN]\r\nlangue=1\r\n", ui::ReadFileBytes(folder + "\\my job.ini"));
    EXPECT_FALSE(Exists(group)) << "the program group is gone";
    EXPECT_EQ("<no key>", EntryText("DisplayName"));
}

TEST_F(Installer, WhenProgramManagerRefusesTheGroupIsMadeAsShortcuts) {
    CoInitialize(nullptr);
    PROCESS_INFORMATION info;
    {
        RefusingProgramManager refusing;
        ASSERT_TRUE(refusing.Serving());
        Start();
        ToOptions(target_);
        Press(PSBTN_NEXT);
        ASSERT_TRUE(WaitForPage(kReady));
        Press(PSBTN_NEXT);
        ASSERT_TRUE(WaitForPage(kFinish));
        EXPECT_EQ(kGroupCommandCount, refusing.Refused()) << "every command went to the refusing Program Manager";
        Press(PSBTN_FINISH);
        EXPECT_EQ(1, ExitCode());
    }
    EXPECT_FALSE(Exists(GroupFolder())) << "Program Manager made nothing";
    std::string group = ShortcutGroupFolder();
    std::vector<std::string> links = Entries(group);
    std::sort(links.begin(), links.end());
    EXPECT_EQ((std::vector<std::string>{"Help.lnk", "Setup.lnk", "Uninstall.lnk", "stopjob.lnk"}), links);
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(target_ + "\\zandrix_gui.exe|" + target_ + "|,0", ShortcutText(group + "\\Setup.lnk"));
    EXPECT_EQ(target_ + "\\uninst.exe|" + target_ + "|,0", ShortcutText(group + "\\Uninstall.lnk"));
    EXPECT_EQ(target_ + "\\stopjob.exe|" + target_ + "|,0", ShortcutText(group + "\\stopjob.lnk"));
    EXPECT_EQ(target_ + "\\Ombrelloe_zandrix.hlp|" + target_ + "|" + windows + "\\winhlp32.exe,1",
              ShortcutText(group + "\\Help.lnk"));

    // The uninstaller takes the shortcuts and their folder away as well.
    ASSERT_TRUE(ui::StartProgram(target_ + "\\uninst.exe", "", &info));
    HWND confirm = ui::WaitForWindow(info.dwProcessId, "#32770", "Ombrello_zandrix", 15000);
    ASSERT_NE(nullptr, confirm);
    ui::PressButton(confirm, "&Yes");
    ui::WaitForExit(info.hProcess, 15000);
    CloseHandle(info.hProcess);
    HWND report = ui::WaitForDialog(0, nullptr, "Ombrello_zandrix", 30000);
    ASSERT_NE(nullptr, report);
    Answer(report, "OK");
    EXPECT_FALSE(Exists(group)) << "the shortcut group is gone";
    CoUninitialize();
}

TEST_F(Installer, WithoutTheGroupNoGroupIsMadeAndAnEmptiedFolderIsRemoved) {
    // The engine's folders and the guide go with it, nested folders included, and leave with it.
    ASSERT_TRUE(CreateDirectoryA((source_ + "\\guide").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((source_ + "\\guide\\pictures").c_str(), nullptr));
    ASSERT_TRUE(ui::WriteFileBytes(source_ + "\\guide\\guide_fr.html", "<p>guide</p>"));
    ASSERT_TRUE(ui::WriteFileBytes(source_ + "\\guide\\pictures\\main_window.png", "png bytes"));
    ASSERT_TRUE(CreateDirectoryA((source_ + "\\fonts").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((source_ + "\\poppler").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((source_ + "\\poppler\\cMap").c_str(), nullptr));
    ASSERT_TRUE(ui::WriteFileBytes(source_ + "\\fonts\\NimbusSans-Regular.t1", "font bytes"));
    ASSERT_TRUE(ui::WriteFileBytes(source_ + "\\poppler\\cMap\\UniJIS-UCS2-H", "cmap bytes"));
    Start();
    ToOptions(target_);
    ui::ClickButton(Page(), 1025);
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kReady));
    EXPECT_FALSE(ControlVisible(1042)) << "the group line is hidden";
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kFinish));
    EXPECT_EQ(target_ + "\\uninst.exe", EntryText("UninstallString"));
    EXPECT_FALSE(Exists(GroupFolder()));
    Press(PSBTN_FINISH);
    EXPECT_EQ(1, ExitCode());
    EXPECT_EQ("font bytes", ui::ReadFileBytes(target_ + "\\fonts\\NimbusSans-Regular.t1"));
    EXPECT_EQ("cmap bytes", ui::ReadFileBytes(target_ + "\\poppler\\cMap\\UniJIS-UCS2-H"));
    EXPECT_EQ("<p>guide</p>", ui::ReadFileBytes(target_ + "\\guide\\guide_fr.html"));
    EXPECT_EQ("png bytes", ui::ReadFileBytes(target_ + "\\guide\\pictures\\main_window.png"));
    EXPECT_FALSE(Exists(target_ + "\\licenses")) << "a folder the release lacks is not made";

    PROCESS_INFORMATION info;
    ASSERT_TRUE(ui::StartProgram(target_ + "\\uninst.exe", "", &info));
    HWND confirm = ui::WaitForWindow(info.dwProcessId, "#32770", "Ombrello_zandrix", 15000);
    ASSERT_NE(nullptr, confirm);
    ui::PressButton(confirm, "&Yes");
    ui::WaitForExit(info.hProcess, 15000);
    CloseHandle(info.hProcess);
    HWND report = ui::WaitForDialog(0, nullptr, "Ombrello_zandrix", 30000);
    ASSERT_NE(nullptr, report);
    EXPECT_EQ("Ombrello_zandrix has been removed from your computer.", ui::ReadMessageBox(report).text);
    Answer(report, "OK");
    EXPECT_FALSE(Exists(target_)) << "the emptied install folder is removed";
}

TEST_F(Installer, InstallingIntoItsOwnFolderKeepsEveryFile) {
    std::vector<std::string> before;
    for (const InstallFile& file : kInstallFiles) before.push_back(ui::ReadFileBytes(source_ + "\\" + file.name));
    Start();
    ToOptions(source_);
    ui::ClickButton(Page(), 1025);
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kReady));
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kFinish)) << "no failure: every file is already in place";
    for (int i = 0; i < kInstallFileCount; ++i)
        EXPECT_EQ(before[static_cast<size_t>(i)], ui::ReadFileBytes(source_ + "\\" + kInstallFiles[i].name))
            << kInstallFiles[i].name;
    Press(PSBTN_FINISH);
    EXPECT_EQ(1, ExitCode());
}

TEST_F(Installer, MissingRequiredFileFailsAfterTheFilesBeforeIt) {
    ASSERT_TRUE(DeleteFileA((source_ + "\\Ograph.dll").c_str()));
    Start();
    ToOptions(target_);
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kReady));
    HWND failure = PressForDialog(PSBTN_NEXT);
    ExpectFailureDialog(failure, "Ograph.dll missing");
    Answer(failure, "OK");
    EXPECT_EQ(0, ExitCode());
    ExpectInstalledFromSource(target_, 9);
    EXPECT_EQ("<no key>", EntryText("DisplayName"));
    EXPECT_FALSE(Exists(GroupFolder()));
}

TEST_F(Installer, MissingLanguageFileStillCompletesAndCancelOnFinishFails) {
    ASSERT_TRUE(DeleteFileA((source_ + "\\033.lng").c_str()));
    Start();
    ToOptions(target_);
    ui::ClickButton(Page(), 1025);
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kReady));
    Press(PSBTN_NEXT);
    ASSERT_TRUE(WaitForPage(kFinish));
    ExpectInstalledFromSource(target_, kInstallFileCount - 1);
    HWND failure = PressForDialog(PSBTN_CANCEL);
    ExpectFailureDialog(failure, "cancel on the finish page");
    Answer(failure, "OK");
    EXPECT_EQ(0, ExitCode());
    ExpectInstalledFromSource(target_, kInstallFileCount - 1);
}

}  // namespace
