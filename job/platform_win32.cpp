// File-system operations on Win32.
#include "job/platform.h"

#include <windows.h>

namespace platform {

ReadResult ReadFileBytes(const char* path, std::string* bytes) {
    bytes->clear();
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? kReadMissing
                                                                                : kReadFailed;
    }
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            CloseHandle(file);
            return kReadFailed;
        }
        if (got == 0) break;
        bytes->append(buffer, got);
    }
    CloseHandle(file);
    return kReadOk;
}

bool WriteFileReplacing(const char* path, const std::string& bytes) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;

    static unsigned counter = 0;
    std::string temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        char suffix[64];
        wsprintfA(suffix, ".%lu.%u.tmp", GetCurrentProcessId(), ++counter);
        temp = std::string(path) + suffix;
        file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    if (file == INVALID_HANDLE_VALUE) return false;

    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        DWORD put = 0;
        DWORD chunk = static_cast<DWORD>(bytes.size() - done > 1u << 20 ? 1u << 20 : bytes.size() - done);
        ok = WriteFile(file, bytes.data() + done, chunk, &put, nullptr) && put == chunk;
        done += put;
    }
    if (ok) ok = FlushFileBuffers(file) != 0;
    if (!CloseHandle(file)) ok = false;
    if (ok) ok = MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) DeleteFileA(temp.c_str());
    return ok;
}

bool MakeDirectory(const char* path) {
    if (CreateDirectoryA(path, nullptr)) return true;
    // CreateDirectoryA takes at most 248 characters, so a folder that fits a
    // 259-character path could not be made. A plain full drive path (no "/",
    // no level that begins with "." and no doubled backslash) is given again
    // to the wide function with the "\\?\" prefix, which lifts that limit
    // (the ANSI function keeps it) but takes the path literally: trailing
    // backslashes, dots and blanks are dropped first.
    const std::string text = path;
    if (text.size() < 248 || text.size() > 259 || text[1] != ':' || text[2] != '\\' ||
        text.find('/') != std::string::npos || text.find("\\.") != std::string::npos ||
        text.find("\\\\") != std::string::npos)
        return false;
    std::string literal = "\\\\?\\" + text;
    while (literal.back() == '\\' || literal.back() == '.' || literal.back() == ' ') literal.pop_back();
    wchar_t wide[300];
    if (MultiByteToWideChar(CP_ACP, 0, literal.c_str(), -1, wide, 300) == 0) return false;
    return CreateDirectoryW(wide, nullptr) != 0;
}

bool GetExecutablePath(std::string* path) {
    char buffer[32768];
    DWORD got = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (got == 0 || got >= sizeof buffer) return false;
    path->assign(buffer, got);
    return true;
}

bool GetTempFolder(std::string* path) {
    char buffer[MAX_PATH + 1];
    DWORD got = GetTempPathA(sizeof buffer, buffer);
    if (got == 0 || got >= sizeof buffer) return false;
    path->assign(buffer, got);
    return true;
}

bool CreateAndDeleteUniqueFile(const char* folder, const char* prefix) {
    char name[MAX_PATH];
    if (GetTempFileNameA(folder, prefix, 0, name) == 0) return false;
    DeleteFileA(name);
    return true;
}

}  // namespace platform
