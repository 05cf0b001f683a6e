// Folder probe, file copy, program group and uninstall entry.
#include "installer/install_steps.h"

#include <cstring>
#include <string>

#include "installer/install_tables.h"
#include "installer/program_group.h"
#include "job/paths.h"

int CanWriteInFolder(const char* folder) {
    char probe[MAX_PATH];
    if (GetTempFileNameA(folder, "H", 0, probe) == 0) return 0;
    DeleteFileA(probe);
    return 1;
}

namespace {

// Whether two paths name one file, as the file system resolves them.
bool SameFile(const char* one, const char* other) {
    char first[MAX_PATH];
    char second[MAX_PATH];
    DWORD a = GetFullPathNameA(one, MAX_PATH, first, nullptr);
    DWORD b = GetFullPathNameA(other, MAX_PATH, second, nullptr);
    return a > 0 && a < MAX_PATH && b > 0 && b < MAX_PATH && lstrcmpiA(first, second) == 0;
}

// Copies a folder and everything below it; 0 at the first file that fails.
int CopyFolderTree(const std::string& from, const std::string& to) {
    if (!CreateDirectoryA(to.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int ok = 1;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string source = from + "\\" + name;
        std::string target = to + "\\" + name;
        if (source.size() > kPathMax || target.size() > kPathMax) {
            ok = 0;
        } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ok = CopyFolderTree(source, target);
        } else {
            ok = CopyFileA(source.c_str(), target.c_str(), FALSE) != 0;
        }
    } while (ok && FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

}  // namespace

int CopyInstallFolders(const char* sourceDrive, const char* sourceDir, const char* folder) {
    for (const char* name : kInstallFolders) {
        char source[kPathSize];
        char target[kPathSize];
        if (!JoinBesideProgram(sourceDrive, sourceDir, name, '\\', source) || !InstallPath(folder, name, target))
            return 0;
        DWORD attributes = GetFileAttributesA(source);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
        if (SameFile(source, target)) continue;
        if (!CopyFolderTree(source, target)) return 0;
    }
    return 1;
}

int CopyInstallFiles(const char* sourceDrive, const char* sourceDir, const char* folder, HWND page) {
    for (const InstallFile& file : kInstallFiles) {
        UpdateWindow(page);
        char source[kPathSize];
        char target[kPathSize];
        int named = JoinBesideProgram(sourceDrive, sourceDir, file.name, '\\', source) &&
                    InstallPath(folder, file.name, target);
        int copied = 0;
        if (named && SameFile(source, target)) {
            // Installing into the installer's own folder: deleting the
            // target would delete the only copy.
            copied = GetFileAttributesA(source) != INVALID_FILE_ATTRIBUTES;
        } else if (named) {
            DeleteFileA(target);
            copied = CopyFileA(source, target, FALSE) != 0;
        }
        if (!copied && file.required) return 0;
    }
    return 1;
}

void CreateProgramGroup(const char* folder) {
    char commands[kGroupCommandCount][kGroupCommandSize];
    const char* sent[kGroupCommandCount];
    int index[kGroupCommandCount];
    int count = 0;
    for (int i = 0; i < kGroupCommandCount; ++i)
        if (FormatGroupCommand(i, folder, commands[i], sizeof commands[i])) {
            index[count] = i;
            sent[count++] = commands[i];
        }
    bool carriedOut[kGroupCommandCount];
    SendProgmanCommands(sent, count, carriedOut);

    // An elevated installer gets no answer from the shell's Program Manager
    // (the system keeps a lower process's messages from it), so the group
    // would be missing while the finish page names its icons. Every command
    // but the last, which only opens the group's window, must have been
    // carried out; otherwise the group is made as shortcuts.
    int made = 0;
    for (int i = 0; i < count; ++i)
        if (index[i] < kGroupCommandCount - 1 && carriedOut[i]) ++made;
    if (made < kGroupCommandCount - 1) CreateShortcutGroup(folder);
}

void WriteUninstallEntry(const char* folder) {
    UninstallValue values[kUninstallValueCount];
    if (!BuildUninstallEntry(folder, values)) return;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return;
    for (const UninstallValue& value : values) {
        if (value.isNumber) {
            DWORD number = static_cast<DWORD>(value.number);
            RegSetValueExA(key, value.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                           sizeof number);
        } else {
            RegSetValueExA(key, value.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text),
                           static_cast<DWORD>(std::strlen(value.text) + 1));
        }
    }
    RegCloseKey(key);
}
