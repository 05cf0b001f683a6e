// A stand-in for the uninstall program that comes from the engine's maker,
// so that an installation made by installer.exe can be taken back: after the
// user confirms, it removes the files of the installer's file table from its
// own folder (itself included) and the engine's folders, the program group and the uninstall entry,
// and the folder only when nothing else is left in it. Files it did not
// install stay, and it says which.
//
// A running program cannot delete its own file, so the confirmed work is done
// by a copy in the temporary folder, started with "/finish PID "FOLDER"",
// which waits for the first process to end.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "installer/install_tables.h"
#include "installer/program_group.h"
#include "job/paths.h"

namespace {

const char kFinishSwitch[] = "/finish ";

// The folder this program runs from, without its trailing backslash.
int OwnFolder(char folder[kPathSize]) {
    char drive[kDriveSize];
    char dir[kPathSize];
    if (!GetProgramFolder(drive, dir)) return 0;
    std::string joined = std::string(drive) + dir;
    if (joined.size() > 3 && joined.back() == '\\') joined.pop_back();
    return CopyBounded(folder, kPathSize, joined.c_str());
}

// Starts a copy of this program in the temporary folder to do the removal.
int StartRemover(const char* folder) {
    char self[kPathSize];
    char temp[kPathSize];
    char copy[kPathSize];
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length == 0 || length >= sizeof self) return 0;
    DWORD tempLength = GetTempPathA(sizeof temp, temp);
    if (tempLength == 0 || tempLength >= sizeof temp) return 0;
    if (GetTempFileNameA(temp, "uni", 0, copy) == 0) return 0;
    if (!CopyFileA(self, copy, FALSE)) {
        DeleteFileA(copy);
        return 0;
    }
    std::string line = std::string("\"") + copy + "\" " + kFinishSwitch +
                       std::to_string(GetCurrentProcessId()) + " \"" + folder + "\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    // Its current folder is the temporary one: a process's current folder
    // could not be removed.
    if (!CreateProcessA(copy, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, temp, &startup, &info)) {
        DeleteFileA(copy);
        return 0;
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return 1;
}

// Deletes a file of the table; the first process's own file may take a
// moment to be let go of after it ended.
int RemoveInstalledFile(const char* path) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (DeleteFileA(path) || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return 1;
        Sleep(100);
    }
    return 0;
}

// The names of what is left in the folder.
std::vector<std::string> FolderEntries(const char* folder) {
    std::vector<std::string> names;
    std::string pattern = std::string(folder) + "\\*";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0)
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Removes a folder with everything below it; 0 when anything stayed.
int RemoveFolderTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    int ok = 1;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ok = RemoveFolderTree(path) && ok;
            else
                ok = RemoveInstalledFile(path.c_str()) && ok;
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryA(folder.c_str()) && ok;
}

void AppendNames(std::string* text, const std::vector<std::string>& names) {
    const size_t shown = 15;
    for (size_t i = 0; i < names.size() && i < shown; ++i) *text += "\n    " + names[i];
    if (names.size() > shown) *text += "\n    and " + std::to_string(names.size() - shown) + " more";
}

void Remove(const char* folder) {
    std::vector<std::string> failed;
    for (const InstallFile& file : kInstallFiles) {
        char path[kPathSize];
        if (!InstallPath(folder, file.name, path)) continue;
        if (!RemoveInstalledFile(path)) failed.push_back(file.name);
    }
    for (const char* name : kInstallFolders) {
        char path[kPathSize];
        if (!InstallPath(folder, name, path) || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) continue;
        if (!RemoveFolderTree(path)) failed.push_back(name);
    }
    const char* commands[] = {kDeleteGroupCommand};
    SendProgmanCommands(commands, 1);
    // The group the installer made as shortcuts when Program Manager could not be asked.
    RemoveShortcutGroup();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);

    std::vector<std::string> left = FolderEntries(folder);
    int folderRemoved = left.empty() && RemoveDirectoryA(folder);

    std::string text = std::string(kProductName) + " has been removed from your computer.";
    if (!failed.empty()) {
        text += "\n\nThese files could not be removed:";
        AppendNames(&text, failed);
    }
    std::vector<std::string> kept;
    for (const std::string& name : left) {
        bool installed = false;
        for (const std::string& bad : failed) installed = installed || lstrcmpiA(bad.c_str(), name.c_str()) == 0;
        if (!installed) kept.push_back(name);
    }
    if (!kept.empty()) {
        text += "\n\nThese items were not installed by Setup and were left in ";
        text += folder;
        text += ":";
        AppendNames(&text, kept);
    } else if (!folderRemoved) {
        text += "\n\nThe folder ";
        text += folder;
        text += " could not be removed.";
    }
    MessageBoxA(nullptr, text.c_str(), kProductName,
                MB_OK | (failed.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
}

// "PID "FOLDER"" after the switch.
int ParseFinish(const char* arguments, DWORD* parent, char folder[kPathSize]) {
    char* end = nullptr;
    unsigned long id = std::strtoul(arguments, &end, 10);
    if (end == arguments) return 0;
    while (*end == ' ') ++end;
    if (*end != '"') return 0;
    const char* start = end + 1;
    const char* close = std::strchr(start, '"');
    if (close == nullptr || close == start || static_cast<size_t>(close - start) > kPathMax) return 0;
    std::memcpy(folder, start, static_cast<size_t>(close - start));
    folder[close - start] = '\0';
    *parent = id;
    return 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    char folder[kPathSize];
    if (std::strncmp(arguments, kFinishSwitch, sizeof kFinishSwitch - 1) == 0) {
        DWORD parent = 0;
        if (!ParseFinish(arguments + sizeof kFinishSwitch - 1, &parent, folder)) return 2;
        HANDLE first = OpenProcess(SYNCHRONIZE, FALSE, parent);
        if (first != nullptr) {
            WaitForSingleObject(first, 30000);
            CloseHandle(first);
        }
        Remove(folder);
        // This copy in the temporary folder goes at the next restart.
        char self[kPathSize];
        DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
        if (length > 0 && length < sizeof self) MoveFileExA(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        return 0;
    }

    if (!OwnFolder(folder)) return 2;
    std::string question = std::string("Remove ") + kProductName + " from " + folder +
                           "?\n\nThe program group and the uninstall entry are removed too. Files you "
                           "saved in this folder stay.";
    if (MessageBoxA(nullptr, question.c_str(), kProductName, MB_YESNO | MB_ICONQUESTION) != IDYES) return 1;
    // A busy system may refuse the copy's start for a moment; without a copy
    // at all, the removal runs here and says that uninst.exe stayed.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (StartRemover(folder)) return 0;
        Sleep(200);
    }
    Remove(folder);
    return 0;
}
