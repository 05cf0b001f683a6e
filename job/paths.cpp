// Program folder, beside-the-program paths and folder helpers.
#include "job/paths.h"

#include <cstring>
#include <string>

#include "job/platform.h"

void CollapseSeparatorRuns(char* path, char separator) {
    if (path == nullptr) return;
    char* out = path;
    for (const char* in = path; *in != '\0'; ++in) {
        if (*in == separator && out > path && out[-1] == separator) continue;
        *out++ = *in;
    }
    *out = '\0';
}

void CollapseBackslashes(char* path) { CollapseSeparatorRuns(path, '\\'); }

void CollapseFolderPath(char* path) {
    if (path == nullptr) return;
    CollapseBackslashes(path[0] == '\\' ? path + 1 : path);
}

namespace {

bool IsSeparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

}  // namespace

void CreateFolderChain(const char* path) {
    if (path == nullptr) return;
    std::string level;
    for (const char* p = path; *p != '\0'; ++p) {
        if (IsSeparator(*p) && !level.empty()) platform::MakeDirectory(level.c_str());
        level += *p;
    }
    if (!level.empty()) platform::MakeDirectory(level.c_str());
}

int JoinFolderFile(const char* folder, const char* name, char out[kPathSize]) {
    out[0] = '\0';
    if (folder == nullptr || name == nullptr) return 0;
    // Collapsing only shortens, so a path that fits afterwards is the whole path.
    std::string path = std::string(folder) + "\\" + name;
    CollapseFolderPath(&path[0]);
    return CopyBounded(out, kPathSize, path.c_str());
}

int CopyBounded(char* out, size_t size, const char* text) {
    if (out == nullptr || size == 0) return 0;
    size_t length = text != nullptr ? std::strlen(text) : 0;
    if (length >= size) {
        out[0] = '\0';
        return 0;
    }
    std::memcpy(out, text, length + 1);
    return 1;
}

int SplitProgramPath(const char* fullPath, char drive[kDriveSize], char dir[kPathSize]) {
    drive[0] = '\0';
    dir[0] = '\0';
    if (fullPath == nullptr) return 0;
    const char* rest = fullPath;
    if (rest[0] != '\0' && rest[1] == ':') {
        drive[0] = rest[0];
        drive[1] = ':';
        drive[2] = '\0';
        rest += 2;
    }
    const char* last = nullptr;
    for (const char* p = rest; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/') last = p;
    if (last == nullptr) return 1;
    size_t length = static_cast<size_t>(last - rest) + 1;
    if (length > kPathMax) {
        drive[0] = '\0';
        return 0;
    }
    std::memcpy(dir, rest, length);
    dir[length] = '\0';
    return 1;
}

int JoinBesideProgram(const char* drive, const char* dir, const char* name, char separator,
                      char out[kPathSize]) {
    out[0] = '\0';
    // No program folder, no file beside it: an empty directory would name the
    // root of the current drive.
    if (dir == nullptr || dir[0] == '\0') return 0;
    std::string joined = std::string(drive) + dir + separator + name;
    // Collapse in a copy: the doubled separator it removes may be what makes
    // the result fit.
    std::string work = joined;
    char* start = &work[0];
    if (separator == '\\' && start[0] == '\\') ++start;
    CollapseSeparatorRuns(start, separator);
    return CopyBounded(out, kPathSize, work.c_str());
}

int GetProgramFolder(char drive[kDriveSize], char dir[kPathSize]) {
    drive[0] = '\0';
    dir[0] = '\0';
    std::string exe;
    if (!platform::GetExecutablePath(&exe) || exe.size() > kPathMax) return 0;
    return SplitProgramPath(exe.c_str(), drive, dir);
}

int FileBesideProgram(const char* name, char out[kPathSize]) {
    char drive[kDriveSize];
    char dir[kPathSize];
    out[0] = '\0';
    if (!GetProgramFolder(drive, dir)) return 0;
    return JoinBesideProgram(drive, dir, name, kDirSeparator, out);
}

int IsBareFileName(const char* path) {
    return path != nullptr && path[0] != '\0' && std::strpbrk(path, "\\/") == nullptr && path[1] != ':';
}

JobPathResult ResolveJobPath(const char* typed, const char* drive, const char* dir,
                             char out[kPathSize]) {
    out[0] = '\0';
    if (typed == nullptr || typed[0] == '\0') return kJobPathEmpty;
    if (!IsBareFileName(typed)) return CopyBounded(out, kPathSize, typed) ? kJobPathOk : kJobPathTooLong;
    if (dir == nullptr || dir[0] == '\0') return kJobPathTooLong;
    return JoinBesideProgram(drive != nullptr ? drive : "", dir, typed, '\\', out) ? kJobPathOk
                                                                               : kJobPathTooLong;
}
