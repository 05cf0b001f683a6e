// The engine's file-system operations on Windows, through the single-byte
// (ANSI) functions, as the job file's paths are single-byte.
#include "engine/file_system.h"

#include <windows.h>

#include <cstdio>

namespace fsys {

const char kLineEnd[] = "\r\n";

Stamp StampOf(const std::string& path) {
    Stamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return stamp;
    stamp.exists = true;
    stamp.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    stamp.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.time = static_cast<int64_t>((static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                      data.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) {
    entries->clear();
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        FolderEntry item;
        item.name = name;
        item.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries->push_back(item);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return true;
}

bool MakeFolders(const std::string& folder) {
    if (folder.empty()) return false;
    // A network path's server and share cannot be created: start past them.
    size_t start = 1;
    if (folder.size() > 2 && (folder[0] == '\\' || folder[0] == '/') && (folder[1] == '\\' || folder[1] == '/')) {
        size_t server = folder.find_first_of("\\/", 2);
        size_t share = server == std::string::npos ? std::string::npos : folder.find_first_of("\\/", server + 1);
        start = share == std::string::npos ? folder.size() : share + 1;
    }
    for (size_t i = start; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '\\' || folder[i] == '/') {
            std::string level = folder.substr(0, i);
            if (!level.empty() && level.back() != ':') CreateDirectoryA(level.c_str(), nullptr);
        }
    }
    return StampOf(folder).folder;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool MoveFileNoReplace(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING an existing name is refused; across
    // volumes Windows copies, then removes the source.
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool CanReadWhole(const std::string& path) {
    // Sharing only reading fails while a copier holds the file open for writing.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool AppendText(const std::string& path, const std::string& text, bool truncate) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              truncate ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
    return CloseHandle(file) && ok;
}

unsigned long CurrentProcessId() { return GetCurrentProcessId(); }

namespace {

SYSTEMTIME Now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

}  // namespace

std::string LocalDate() {
    SYSTEMTIME now = Now();
    char text[32];
    std::snprintf(text, sizeof text, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

std::string LocalTime() {
    SYSTEMTIME now = Now();
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
    return text;
}

int ProcessorCount() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors == 0 ? 1 : static_cast<int>(info.dwNumberOfProcessors);
}

}  // namespace fsys
