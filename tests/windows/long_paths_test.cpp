// Paths at their limits on the real programs: a program folder, a job file
// path, a temporary folder and a signature file of 258, 259, 260 and 300
// characters, in folders nested under the build folder (Wine shows them on
// its Z: drive). A path that fits works; one that does not is refused with a
// message, and nothing is written to the path cut short. Also: a bare job
// file name typed into the path field lands beside the program.
#include "tests/windows/main_window_fixture.h"

#include <cstring>

#include "job/paths.h"

namespace {

using namespace main_window_test;

const size_t kLengths[] = {258, 259, 260, 300};

// The wide "\\?\" form of a path, which the file functions take past MAX_PATH.
std::wstring Long(const std::string& path) {
    return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}

bool Exists(const std::string& path) { return GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool PutFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
    return CloseHandle(file) && ok;
}

// Removes a folder with everything in it.
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Long(folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring wide = found.cFileName;
            if (wide == L"." || wide == L"..") continue;
            std::string name(wide.begin(), wide.end());
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(folder + name + "\\");
            } else {
                SetFileAttributesW(Long(folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(Long(folder + name).c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(Long(folder).c_str());
}

// Makes a folder of exactly `length` characters, trailing backslash
// included, below base (which ends in a backslash), level by level; the
// levels are named with fill so that different tests do not meet.
std::string LongFolder(const std::string& base, size_t length, char fill) {
    std::string path = base;
    while (path.size() < length) {
        size_t room = length - path.size();  // the next levels' names and backslashes
        size_t name = room - 1 > 120 ? 120 : room - 1;
        if (room - 1 > 120 && room - 1 - name == 1) --name;  // never leave room for "\" alone
        path += std::string(name, fill) + "\\";
        CreateDirectoryW(Long(path).c_str(), nullptr);
    }
    EXPECT_EQ(length, path.size());
    return path;
}

std::string EnglishText(const char* section, const char* key) {
    char text[1024];
    GetPrivateProfileStringA(section, key, "", text, sizeof text, (ui::OwnFolder() + "001.lng").c_str());
    return text;
}

// The path_too_long message as the English file words it, with the path.
std::string TooLongMessage(const std::string& path) {
    std::string text = EnglishText("ERRORS", "path_too_long");
    for (char& c : text) c = c == '|' ? '\n' : c == '{' ? '\t' : c;
    size_t slot = text.find("%s");
    return text.substr(0, slot) + path + text.substr(slot + 2);
}

class LongPaths : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        EnterWorkFolder("long_paths");
        base_ = folder_ + "long\\";
        RemoveTree(base_);
        CreateDirectoryA(base_.c_str(), nullptr);
    }
    void TearDown() override {
        MainWindow::TearDown();
        RemoveTree(base_);
    }

    HWND StartWithJob(const std::string& extra = "") {
        return Start((ui::ReadFileBytes(std::string(ZANDRIX_TEST_DATA) + "/job_before_save.ini") + extra).c_str());
    }

    // Presses Save and reads the box it brings up.
    ui::MessageBoxView Save(HWND* box) { return PressForBox(IDC_BT_SAVE, box); }

    std::string base_;
};

TEST_F(LongPaths, ABareJobNameIsSavedBesideTheProgramAndShownInFull) {
    ASSERT_NE(nullptr, StartWithJob());
    const std::string beside = folder_ + "typed job.ini";
    DeleteFileA(beside.c_str());
    SetWindowTextA(Item(IDC_ED_JOB_FILE), "typed job.ini");
    HWND box = nullptr;
    ui::MessageBoxView view = Save(&box);
    EXPECT_EQ("Done.", view.text);
    if (box != nullptr) Answer(box, "OK");
    EXPECT_EQ(beside, Text(IDC_ED_JOB_FILE));
    EXPECT_NE(std::string::npos, ui::ReadFileBytes(beside).find("source=src\r\n"));
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_FALSE(Exists(std::string(windows) + "\\typed job.ini")) << "nothing goes to the Windows folder";
    DeleteFileA(beside.c_str());
}

TEST_F(LongPaths, JobFilePathsFitUpTo259Characters) {
    ASSERT_NE(nullptr, StartWithJob());
    for (size_t length : kLengths) {
        const std::string folder = LongFolder(base_, length - 7, static_cast<char>('a' + length % 26));
        const std::string job = folder + "job.ini";
        ASSERT_EQ(length, job.size());
        SetWindowTextA(Item(IDC_ED_JOB_FILE), job.c_str());
        HWND box = nullptr;
        ui::MessageBoxView view = Save(&box);
        if (length <= kPathMax) {
            EXPECT_EQ("Done.", view.text) << length;
            EXPECT_NE(std::string::npos, ui::ReadFileBytes(job).find("source=src\r\n")) << length;
        } else {
            EXPECT_EQ(TooLongMessage(job), view.text) << length;
            EXPECT_FALSE(Exists(job)) << length;
            EXPECT_FALSE(Exists(job.substr(0, kPathMax))) << "nothing is written to the path cut short";
            EXPECT_EQ(job, Text(IDC_ED_JOB_FILE)) << "the field keeps what was typed";
        }
        if (box != nullptr) Answer(box, "OK");
        if (length > kPathMax) {
            EXPECT_EQ(Item(IDC_ED_JOB_FILE), Focused());
        }
    }
}

TEST_F(LongPaths, TemporaryFoldersFitUpTo259Characters) {
    ASSERT_NE(nullptr, StartWithJob());
    for (size_t length : kLengths) {
        // The folder itself does not exist yet: the save asks to create it.
        const std::string parent = LongFolder(base_, length - 4, static_cast<char>('a' + length % 26));
        const std::string temp = parent + "tmp";
        ASSERT_EQ(length - 1, temp.size());
        const std::string typed = temp + "\\";
        SetWindowTextA(Item(IDC_ED_TEMP_PATH), typed.c_str());
        HWND box = nullptr;
        ui::MessageBoxView view = Save(&box);
        if (length <= kPathMax) {
            EXPECT_NE(std::string::npos, view.text.find(typed)) << length << view.text;
            if (box != nullptr) Answer(box, "&Yes");
            box = ui::WaitForWindow(GetCurrentProcessId(), "#32770", "Ombrello_zandrix", 10000);
            ASSERT_NE(nullptr, box);
            EXPECT_EQ("Done.", ui::ReadMessageBox(box).text) << length;
            EXPECT_TRUE(Exists(temp)) << length;
            char stored[600];
            GetPrivateProfileStringA("FOLDERS", "temp_path", "", stored, sizeof stored, job_.c_str());
            EXPECT_EQ(typed, stored) << length;
        } else {
            EXPECT_EQ(TooLongMessage(typed), view.text) << length;
            EXPECT_FALSE(Exists(typed.substr(0, kPathMax))) << "no folder is made from the path cut short";
        }
        if (box != nullptr) Answer(box, "OK");
        if (length > kPathMax) {
            EXPECT_EQ(Item(IDC_ED_TEMP_PATH), Focused());
        }
    }
}

// The user's temporary folder (TMP and TEMP) names the engine's log: Last log
// opens it while its path fits, and names the whole path otherwise, rather
// than opening a file of the path cut short.
TEST_F(LongPaths, LastLogNamesALogPathTooLongInsteadOfOpeningAnother) {
    ASSERT_NE(nullptr, StartWithJob());
    char saved[2][MAX_PATH] = {"", ""};
    const char* names[] = {"TMP", "TEMP"};
    for (int i = 0; i < 2; ++i) GetEnvironmentVariableA(names[i], saved[i], MAX_PATH);
    const size_t log = std::strlen("ombrello_zandrix.log");
    for (size_t length : {kPathMax - log, kPathMax - log + 1, size_t{300}}) {
        const std::string temp = LongFolder(base_, length, static_cast<char>('a' + length % 26));
        for (const char* name : names) SetEnvironmentVariableA(name, temp.c_str());
        PostMessageA(dialog_, WM_COMMAND, IDM_LAST_LOG, 0);
        const bool fits = temp.size() + log <= kPathMax;
        HWND box = ui::WaitForWindow(GetCurrentProcessId(), "#32770", fits ? "Ombrello" : "Ombrello_zandrix", 10000);
        ASSERT_NE(nullptr, box) << length;
        ui::MessageBoxView view = ui::ReadMessageBox(box);
        if (fits)
            EXPECT_EQ(EnglishText("ERRORS", "no_log"), view.text) << length;
        else
            EXPECT_EQ(TooLongMessage(temp + "ombrello_zandrix.log"), view.text) << length;
        Answer(box, "OK");
    }
    for (int i = 0; i < 2; ++i) SetEnvironmentVariableA(names[i], saved[i]);
}

TEST_F(LongPaths, SignatureFilesFitUpTo259Characters) {
    for (size_t length : kLengths) {
        const std::string signature = "C:\\" + std::string(length - 7, static_cast<char>('a' + length % 26)) + ".gif";
        ASSERT_EQ(length, signature.size());
        ASSERT_NE(nullptr, StartWithJob("[SIGNATURE]\r\nuse_a_signature=1\r\nsignature_file=" + signature + "\r\n"));
        EXPECT_EQ(signature, Text(IDC_ED_SIGNATURE_FILE)) << "a stored path is shown whole, not cut";
        HWND box = nullptr;
        ui::MessageBoxView view = Save(&box);
        char stored[600];
        GetPrivateProfileStringA("SIGNATURE", "signature_file", "", stored, sizeof stored, job_.c_str());
        if (length <= kPathMax) {
            EXPECT_EQ("Done.", view.text) << length;
        } else {
            EXPECT_EQ(TooLongMessage(signature), view.text) << length;
        }
        EXPECT_EQ(signature, stored) << "saved whole or left as it was, never cut: " << length;
        if (box != nullptr) Answer(box, "OK");
        PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread_, 10000));
        CloseHandle(thread_);
        thread_ = nullptr;
        dialog_ = nullptr;
    }
}

// The real programs, copied into program folders of each length.
class LongProgramFolders : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = ui::OwnFolder() + "long_programs\\";
        RemoveTree(base_);
        CreateDirectoryA(base_.c_str(), nullptr);
    }
    void TearDown() override {
        for (HANDLE process : started_) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
        RemoveTree(base_);
    }

    std::string ProgramFolder(size_t length, char fill, const char* program) {
        std::string folder = LongFolder(base_, length, fill);
        const std::string source = ui::OwnFolder() + program;
        EXPECT_TRUE(CopyFileW(std::wstring(source.begin(), source.end()).c_str(), Long(folder + program).c_str(), FALSE))
            << folder.size() << ": error " << GetLastError();
        // The configurator does not start without the engine library beside it.
        const std::string library = ui::OwnFolder() + "Otxtpdf.dll";
        EXPECT_TRUE(CopyFileW(std::wstring(library.begin(), library.end()).c_str(), Long(folder + "Otxtpdf.dll").c_str(),
                              FALSE));
        return folder;
    }

    bool Start(const std::string& exe, PROCESS_INFORMATION* info) {
        if (!ui::StartProgram(exe, "", info)) return false;
        started_.push_back(info->hProcess);
        return true;
    }

    std::string base_;
    std::vector<HANDLE> started_;
};

// A language file of the test's own, so that its texts show where they come from.
const char kMarkedLanguage[] =
    "[MAIN]\r\nmain=001\r\n[BUTTONS]\r\n1=MARKED SAVE QUIT\r\n[ERRORS]\r\nini_file=MARKED NO JOB\r\n";

// A program cannot be started from a path past 259 characters (neither
// Windows nor Wine starts it), so the longest program folders that matter
// are those whose program path is 259 characters: the program starts, and a
// file beside it that would pass 259 characters is not named at all.
TEST_F(LongProgramFolders, TheConfiguratorNamesNoJobFileThatWouldNotFit) {
    for (size_t length : {size_t{239}, size_t{244}}) {
        const std::string folder = ProgramFolder(length, static_cast<char>('a' + length % 26), "zandrix_gui.exe");
        ASSERT_TRUE(PutFile(folder + "001.lng", kMarkedLanguage));
        ASSERT_TRUE(PutFile(folder + "Ombrello_zandrix.ini", "[MAIN]\r\nlangue=1\r\n"));
        PROCESS_INFORMATION info;
        ASSERT_TRUE(Start(folder + "zandrix_gui.exe", &info)) << length;
        HWND dialog = ui::WaitForWindow(info.dwProcessId, "#32770", kTitle, 15000);
        ASSERT_NE(nullptr, dialog) << length << ": the configurator starts";
        const std::string job = ui::WindowText(GetDlgItem(dialog, IDC_ED_JOB_FILE));
        if (length == 239) {
            EXPECT_EQ(folder + "ombrello_zandrix.ini", job);
            EXPECT_EQ("MARKED SAVE QUIT", ui::WindowText(GetDlgItem(dialog, IDC_BT_SAVE_QUIT)));
        } else {
            // The program's path is 259 characters: the language file (7)
            // still fits, the default job file (20) does not.
            EXPECT_EQ("", job);
            PostMessageA(dialog, WM_COMMAND, IDC_BT_SAVE, 0);
            HWND box = ui::WaitForWindow(info.dwProcessId, "#32770", "Ombrello_zandrix", 10000);
            ASSERT_NE(nullptr, box);
            EXPECT_EQ("MARKED NO JOB", ui::ReadMessageBox(box).text);
            ui::PressButton(box, "OK");
            EXPECT_FALSE(Exists(folder + std::string("ombrello_zandrix.ini").substr(0, 259 - folder.size())));
        }
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(1, ui::WaitForExit(info.hProcess, 10000)) << length;
    }
}

TEST_F(LongProgramFolders, TheStopToolReadsNoJobFileThatWouldNotFit) {
    // stopjob.exe's path is 259 characters; its job file's would be 268.
    const std::string folder = ProgramFolder(248, 's', "stopjob.exe");
    // Were the job file read, cut or not, the tool would stop this very test.
    const std::string job = "[PROCESS]\r\nID=" + std::to_string(GetCurrentProcessId()) + "\r\n";
    ASSERT_TRUE(PutFile(folder + "Ombrello_zandrix.ini", job));
    ASSERT_TRUE(PutFile(folder + std::string("Ombrello_zandrix.ini").substr(0, 259 - folder.size()), job));
    PROCESS_INFORMATION info;
    ASSERT_TRUE(Start(folder + "stopjob.exe", &info));
    HWND box = ui::WaitForWindow(info.dwProcessId, "#32770", "Ombrello_zandrix", 15000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("No process found...", ui::ReadMessageBox(box).text);
    ui::PressButton(box, "OK");
    EXPECT_EQ(0, ui::WaitForExit(info.hProcess, 10000));
}

TEST_F(LongProgramFolders, JobtoolTakesJobPathsUpTo259Characters) {
    for (size_t length : kLengths) {
        const std::string folder = LongFolder(base_, length - 7, static_cast<char>('A' + length % 26));
        const std::string job = folder + "job.ini";
        PROCESS_INFORMATION info;
        const std::string line = "set \"" + job + "\" PARAMS image_type 13";
        ASSERT_TRUE(ui::StartProgram(ui::OwnFolder() + "jobtool.exe", line, &info));
        started_.push_back(info.hProcess);
        const long status = ui::WaitForExit(info.hProcess, 15000);
        if (length <= kPathMax) {
            EXPECT_EQ(0, status) << length;
            EXPECT_EQ("[PARAMS]\r\nimage_type=13\r\n", ui::ReadFileBytes(job)) << length;
        } else {
            EXPECT_EQ(2, status) << length;
            EXPECT_FALSE(Exists(job)) << length;
            EXPECT_FALSE(Exists(job.substr(0, kPathMax))) << length;
        }
    }
}

}  // namespace
