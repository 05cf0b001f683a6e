// The release as a user meets it, in a clean Wine prefix of its own
// (tests/release_e2e.sh unpacks the release zip there and starts this
// program): installer.exe driven through its pages into the default folder
// under Program Files, the installed configurator started from its new
// folder, a job saved and launched with the engine that the release holds,
// the stop tool, then the uninstaller. Everything is read back from the
// disk, the registry and the windows the user sees; the script then checks
// the converted page's pixels with tools of its own.
//
// Environment: ZANDRIX_RELEASE_FOLDER, the unpacked release folder;
// ZANDRIX_SAMPLE_PDF, a one-page A4 PDF file the job converts to PNG.
#include <windows.h>

#include <prsht.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "installer/install_tables.h"
#include "resources/main_ids.h"
#include "tests/windows/ui_driver.h"

namespace {

enum { kWelcome, kFolder, kOptions, kReady, kFinish };

const char kProduct[] = "Ombrello_zandrix";
const char kInstallFolder[] = "c:\\Program Files\\Ombrello_zandrix";
const char kMainTitle[] = "Ombrello_zandrix Monitor";
const char kMonitorTitle[] = " Processing...";
const DWORD kWait = 30000;  // the first start of a program in a new prefix is slow
const int kPngFormat = 7;  // its place in the output format list, and its image_type

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The plain files of a folder, by name.
std::vector<std::string> Files(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Every file below a folder as "relative path: size", in the order found.
void ListTree(const std::string& folder, const std::string& relative, std::vector<std::string>* entries) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListTree(folder + "\\" + name, relative + name + "\\", entries);
        else
            entries->push_back(relative + name + ": " + std::to_string(found.nFileSizeLow));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::vector<std::string> Tree(const std::string& folder) {
    std::vector<std::string> entries;
    ListTree(folder, "", &entries);
    return entries;
}

std::string UninstallValue(const char* name) { return ui::MachineValue(kUninstallKey, name); }

std::string GroupFolder() {
    char programs[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, programs))) return "";
    return std::string(programs) + "\\" + kProduct;
}

std::string JobValue(const std::string& job, const char* section, const char* key) {
    char value[MAX_PATH];
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, job.c_str());
    return value;
}

// A dialog with that title other than `except` (the wizard itself).
HWND WaitForDialog(DWORD processId, HWND except, const char* title) {
    return ui::WaitForDialog(processId, except, title, kWait);
}

// Presses a box's button and waits for the box to go.
void Answer(HWND box, const char* button) {
    ASSERT_NE(nullptr, box);
    ASSERT_TRUE(ui::PressButton(box, button)) << button;
    for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(20);
}

void SetField(HWND window, int control, const std::string& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(window, control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
}

// The installer's property sheet, driven by its wizard buttons.
struct Wizard {
    HWND sheet;
    HWND Page() const {
        DWORD_PTR page = 0;
        SendMessageTimeoutA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, 5000, &page);
        return reinterpret_cast<HWND>(page);
    }
    bool WaitForPage(int index) const {
        for (int i = 0; i < 1000; ++i) {
            DWORD_PTR shown = 0;
            if (SendMessageTimeoutA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(Page()), 0, SMTO_ABORTIFHUNG,
                                    5000, &shown) &&
                static_cast<int>(shown) == index)
                return true;
            Sleep(20);
        }
        return false;
    }
    void Press(int button) const { PostMessageA(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0); }
};

// Program Manager shows a new group in a folder window; the user closes it.
void CloseGroupWindow() {
    for (int i = 0; i < 250; ++i) {
        HWND window = FindWindowA(nullptr, kProduct);
        char kind[64];
        if (window != nullptr && GetClassNameA(window, kind, sizeof kind) && lstrcmpA(kind, "#32770") != 0) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            return;
        }
        Sleep(20);
    }
}

class Release : public ::testing::Test {
protected:
    void SetUp() override {
        release_ = Environment("ZANDRIX_RELEASE_FOLDER");
        samplePdf_ = Environment("ZANDRIX_SAMPLE_PDF");
        ASSERT_TRUE(Exists(release_ + "\\installer.exe")) << "ZANDRIX_RELEASE_FOLDER: " << release_;
        ASSERT_TRUE(Exists(samplePdf_)) << "ZANDRIX_SAMPLE_PDF: " << samplePdf_;
        char documents[MAX_PATH];
        ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents)));
        source_ = std::string(documents) + "\\PDF in";
        target_ = std::string(documents) + "\\PDF out";
        ASSERT_TRUE(CreateDirectoryA(source_.c_str(), nullptr)) << "the prefix is not new: " << source_;
        ASSERT_TRUE(CreateDirectoryA(target_.c_str(), nullptr));
        ASSERT_TRUE(CopyFileA(samplePdf_.c_str(), (source_ + "\\report 2024.pdf").c_str(), TRUE));
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        temp_ = temp;
        if (!temp_.empty() && temp_.back() == '\\') temp_.pop_back();
    }
    void TearDown() override {
        for (HANDLE process : started_) {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 99);
            CloseHandle(process);
        }
    }

    // Starts a program of the install folder; its process id.
    DWORD Start(const char* name) {
        PROCESS_INFORMATION info;
        std::string program = std::string(kInstallFolder) + "\\" + name;
        if (!ui::StartProgram(program, "", &info)) {
            ADD_FAILURE() << "cannot start " << program;
            return 0;
        }
        started_.push_back(info.hProcess);
        return info.dwProcessId;
    }
    long ExitCode() { return ui::WaitForExit(started_.back(), kWait); }

    void Install();
    void SaveAndLaunchJob();
    void StopToolFindsNoEngine();
    void Uninstall();

    std::string release_;
    std::string samplePdf_;
    std::string source_;
    std::string target_;
    std::string temp_;
    std::vector<HANDLE> started_;
};

void Release::Install() {
    PROCESS_INFORMATION info;
    ASSERT_TRUE(ui::StartProgram(release_ + "\\installer.exe", "", &info));
    started_.push_back(info.hProcess);
    Wizard wizard{ui::WaitForWindow(info.dwProcessId, "#32770", nullptr, kWait)};
    ASSERT_NE(nullptr, wizard.sheet);
    ASSERT_TRUE(wizard.WaitForPage(kWelcome));
    wizard.Press(PSBTN_NEXT);
    ASSERT_TRUE(wizard.WaitForPage(kFolder));
    EXPECT_EQ(kInstallFolder, ui::WindowText(GetDlgItem(wizard.Page(), 1006))) << "the proposed folder";
    wizard.Press(PSBTN_NEXT);
    HWND question = WaitForDialog(info.dwProcessId, wizard.sheet, kProduct);
    ASSERT_NE(nullptr, question);
    EXPECT_EQ(std::string(kInstallFolder) + " does not exists.\nDo you want to create it?",
              ui::ReadMessageBox(question).text);
    Answer(question, "&Yes");
    ASSERT_TRUE(wizard.WaitForPage(kOptions));
    EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(wizard.Page(), 1025), BM_GETCHECK, 0, 0)) << "Create a group";
    wizard.Press(PSBTN_NEXT);
    ASSERT_TRUE(wizard.WaitForPage(kReady));
    wizard.Press(PSBTN_NEXT);
    ASSERT_TRUE(wizard.WaitForPage(kFinish));
    CloseGroupWindow();
    wizard.Press(PSBTN_FINISH);
    EXPECT_EQ(1, ExitCode()) << "Finish";

    // Every file of the release but the installer and the stand-in list, byte for byte.
    int compared = 0;
    for (const std::string& name : Files(release_)) {
        if (name == "installer.exe" || name == "STANDINS.txt") continue;
        EXPECT_EQ(ui::ReadFileBytes(release_ + "\\" + name),
                  ui::ReadFileBytes(std::string(kInstallFolder) + "\\" + name))
            << name;
        ++compared;
    }
    EXPECT_EQ(kInstallFileCount, compared) << "files of the release installed";
    // The engine's folders (fonts, character maps, licences), file for file.
    for (const char* folder : kInstallFolders) {
        std::vector<std::string> shipped = Tree(release_ + "\\" + folder);
        EXPECT_FALSE(shipped.empty()) << folder;
        EXPECT_EQ(shipped, Tree(std::string(kInstallFolder) + "\\" + folder)) << folder;
    }
    EXPECT_EQ(kProduct, UninstallValue("DisplayName"));
    EXPECT_EQ("\"" + std::string(kInstallFolder) + "\\uninst.exe\"", UninstallValue("UninstallString"));
    for (const char* link : {"Setup.lnk", "Uninstall.lnk", "stopjob.lnk", "Help.lnk"})
        EXPECT_TRUE(Exists(GroupFolder() + "\\" + link)) << link;
}

void Release::SaveAndLaunchJob() {
    DWORD configurator = Start("zandrix_gui.exe");
    HWND main = ui::WaitForWindow(configurator, "#32770", kMainTitle, kWait);
    ASSERT_NE(nullptr, main);
    const std::string job = std::string(kInstallFolder) + "\\ombrello_zandrix.ini";
    EXPECT_EQ(job, ui::WindowText(GetDlgItem(main, IDC_ED_JOB_FILE))) << "the default job beside the program";
    SetField(main, IDC_ED_SOURCE_PATH, source_);
    SetField(main, IDC_ED_TARGET_PATH, target_);
    SetField(main, IDC_ED_TEMP_PATH, temp_);
    HWND format = GetDlgItem(main, IDC_CB_OUTPUT_FORMAT);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(format, CB_SETCURSEL, kPngFormat, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    SendMessageTimeoutA(main, WM_COMMAND, MAKEWPARAM(IDC_CB_OUTPUT_FORMAT, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(format), SMTO_ABORTIFHUNG, 5000, &ignored);
    EXPECT_EQ("PNG", ui::WindowText(format));

    PostMessageA(main, WM_COMMAND, IDC_BT_SAVE, 0);
    HWND done = ui::WaitForWindow(configurator, "#32770", kProduct, kWait);
    ASSERT_NE(nullptr, done);
    EXPECT_EQ("Done.", ui::ReadMessageBox(done).text);
    Answer(done, "OK");
    EXPECT_EQ(source_, JobValue(job, "FOLDERS", "source"));
    EXPECT_EQ(target_, JobValue(job, "FOLDERS", "target"));
    EXPECT_EQ(std::to_string(kPngFormat), JobValue(job, "PARAMS", "image_type"));

    // Launch: the monitor window follows the engine until it has gone
    // through the files, and the engine's record is cleared at its end.
    PostMessageA(main, WM_COMMAND, IDC_BT_LAUNCH, 0);
    HWND monitor = ui::WaitForWindow(configurator, nullptr, kMonitorTitle, kWait);
    ASSERT_NE(nullptr, monitor) << "the monitor window";
    std::string recorded;
    for (DWORD i = 0; i < kWait / 20 && IsWindow(monitor) && IsWindowVisible(monitor); ++i) {
        std::string id = JobValue(job, "PROCESS", "ID");
        if (id != "0" && id != "<none>") recorded = id;
        Sleep(20);
    }
    EXPECT_FALSE(IsWindow(monitor) && IsWindowVisible(monitor)) << "the monitor window closes after the run";
    EXPECT_FALSE(recorded.empty()) << "the engine records its process while it runs";
    std::string id;
    for (int i = 0; i < 500 && (id = JobValue(job, "PROCESS", "ID")) != "0"; ++i) Sleep(20);
    EXPECT_EQ("0", id) << "the record after a run that ended normally";

    // What the engine made of the job: its log, and the page as a PNG file
    // of an A4 page's proportions (its pixels are the script's to check).
    std::string log = ui::ReadFileBytes(temp_ + "\\ombrello_zandrix.log");
    EXPECT_NE(std::string::npos, log.find("Job file: " + job + "\r\n")) << log;
    EXPECT_NE(std::string::npos, log.find("Summary: 1 file(s): 1 converted, 0 failed")) << log;
    std::string png = ui::ReadFileBytes(target_ + "\\report 2024_001.png");
    ASSERT_GE(png.size(), 24u) << log;
    EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), png.substr(0, 8));
    auto bigEndian = [&png](size_t at) {
        return (static_cast<unsigned long>(static_cast<unsigned char>(png[at])) << 24) |
               (static_cast<unsigned long>(static_cast<unsigned char>(png[at + 1])) << 16) |
               (static_cast<unsigned long>(static_cast<unsigned char>(png[at + 2])) << 8) |
               static_cast<unsigned long>(static_cast<unsigned char>(png[at + 3]));
    };
    unsigned long width = bigEndian(16), height = bigEndian(20);
    EXPECT_GT(width, 100ul);
    EXPECT_NEAR(842.0 / 595.0, static_cast<double>(height) / static_cast<double>(width), 0.01)
        << width << " x " << height;

    PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(1, ExitCode()) << "Quit";
}

void Release::StopToolFindsNoEngine() {
    DWORD stopTool = Start("stopjob.exe");
    HWND box = ui::WaitForWindow(stopTool, "#32770", nullptr, kWait);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("No process found...", ui::ReadMessageBox(box).text);
    Answer(box, "OK");
    EXPECT_NE(-1, ExitCode());
}

void Release::Uninstall() {
    DWORD uninstaller = Start("uninst.exe");
    HWND confirm = ui::WaitForWindow(uninstaller, "#32770", kProduct, kWait);
    ASSERT_NE(nullptr, confirm);
    Answer(confirm, "&Yes");
    EXPECT_EQ(0, ExitCode());
    // The removal finishes in a copy of the uninstaller, which reports.
    HWND report = WaitForDialog(0, nullptr, kProduct);
    ASSERT_NE(nullptr, report);
    EXPECT_EQ("Ombrello_zandrix has been removed from your computer.", ui::ReadMessageBox(report).text);
    Answer(report, "OK");
    EXPECT_FALSE(Exists(kInstallFolder)) << "the install folder is gone";
    EXPECT_EQ("<no key>", UninstallValue("DisplayName"));
    EXPECT_FALSE(Exists(GroupFolder())) << "the program group is gone";
    EXPECT_TRUE(Exists(source_ + "\\report 2024.pdf")) << "the user's files stay";
}

TEST_F(Release, InstallsRunsAJobAndUninstalls) {
    ASSERT_FALSE(Exists(kInstallFolder)) << "the prefix is not new";
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_NO_FATAL_FAILURE(SaveAndLaunchJob());
    ASSERT_NO_FATAL_FAILURE(StopToolFindsNoEngine());
    Uninstall();
}

}  // namespace
