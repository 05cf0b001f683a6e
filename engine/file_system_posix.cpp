// The engine's file-system operations on POSIX systems.
#include "engine/file_system.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fsys {

const char kLineEnd[] = "\n";

Stamp StampOf(const std::string& path) {
    Stamp stamp;
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return stamp;
    stamp.exists = true;
    stamp.folder = S_ISDIR(info.st_mode);
    stamp.size = static_cast<uint64_t>(info.st_size);
    stamp.time = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    return stamp;
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) {
    entries->clear();
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return false;
    while (struct dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        FolderEntry item;
        item.name = name;
        struct stat info;
        std::string full = folder + "/" + name;
        item.folder = stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        entries->push_back(item);
    }
    closedir(dir);
    return true;
}

bool MakeFolders(const std::string& folder) {
    if (folder.empty()) return false;
    for (size_t i = 1; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '/') {
            std::string level = folder.substr(0, i);
            if (mkdir(level.c_str(), 0777) != 0 && errno != EEXIST) {
                // A level may stand already as a folder we cannot create again.
            }
        }
    }
    return StampOf(folder).folder;
}

bool ReplaceFile(const std::string& from, const std::string& to) { return rename(from.c_str(), to.c_str()) == 0; }

namespace {

bool CopyBytes(const std::string& from, const std::string& to) {
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        close(in);
        return false;
    }
    bool ok = true;
    char buffer[65536];
    for (;;) {
        ssize_t got = read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) ok = false;
        if (got <= 0) break;
        for (ssize_t done = 0; done < got && ok;) {
            ssize_t put = write(out, buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) ok = false;
            else done += put;
        }
        if (!ok) break;
    }
    if (fsync(out) != 0) ok = false;
    if (close(out) != 0) ok = false;
    close(in);
    if (!ok) unlink(to.c_str());
    return ok;
}

}  // namespace

bool MoveFileNoReplace(const std::string& from, const std::string& to) {
    // link then unlink never replaces an existing name; across file systems
    // the bytes are copied first and the source removed only afterwards.
    if (link(from.c_str(), to.c_str()) == 0) {
        if (unlink(from.c_str()) == 0) return true;
        unlink(to.c_str());
        return false;
    }
    if (errno == EEXIST) return false;
    if (!CopyBytes(from, to)) return false;
    if (unlink(from.c_str()) == 0) return true;
    unlink(to.c_str());
    return false;
}

bool RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool CanReadWhole(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    close(fd);
    return true;
}

bool AppendText(const std::string& path, const std::string& text, bool truncate) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : O_APPEND), 0666);
    if (fd < 0) return false;
    bool ok = true;
    for (size_t done = 0; done < text.size();) {
        ssize_t put = write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(put);
    }
    return close(fd) == 0 && ok;
}

unsigned long CurrentProcessId() { return static_cast<unsigned long>(getpid()); }

namespace {

std::tm Now() {
    std::time_t now = std::time(nullptr);
    std::tm parts;
    localtime_r(&now, &parts);
    return parts;
}

}  // namespace

std::string LocalDate() {
    std::tm now = Now();
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d", now.tm_year + 1900, now.tm_mon + 1, now.tm_mday);
    return text;
}

std::string LocalTime() {
    std::tm now = Now();
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", now.tm_hour, now.tm_min, now.tm_sec);
    return text;
}

int ProcessorCount() {
    unsigned count = std::thread::hardware_concurrency();
    return count == 0 ? 1 : static_cast<int>(count);
}

}  // namespace fsys
