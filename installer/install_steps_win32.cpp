// Folder probe, file copy, program group and uninstall entry.
#include "installer/install_steps.h"

#include <cstring>

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

}  // namespace

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
