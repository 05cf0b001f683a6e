// File-system operations on POSIX systems.
#include "job/platform.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

ReadResult ReadFileBytes(const char* path, std::string* bytes) {
    bytes->clear();
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return (errno == ENOENT || errno == ENOTDIR) ? kReadMissing : kReadFailed;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return kReadFailed;
    }
    char buffer[65536];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            close(fd);
            return kReadFailed;
        }
        if (got == 0) break;
        bytes->append(buffer, static_cast<size_t>(got));
    }
    close(fd);
    return kReadOk;
}

namespace {

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

}  // namespace

bool WriteFileReplacing(const char* path, const std::string& bytes) {
    // Write through a symbolic link to the file it names, so the link stays.
    std::string target = path;
    char resolved[PATH_MAX];
    if (realpath(path, resolved) != nullptr) target = resolved;

    struct stat info;
    bool exists = stat(target.c_str(), &info) == 0;
    if (exists) {
        // A file without any write permission is read-only, even for root.
        if (!S_ISREG(info.st_mode) || (info.st_mode & 0222) == 0) return false;
    }

    static unsigned counter = 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        char suffix[64];
        std::snprintf(suffix, sizeof suffix, ".%ld.%u.tmp", static_cast<long>(getpid()), ++counter);
        temp = target + suffix;
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;

    bool ok = WriteAll(fd, bytes);
    if (ok && exists) ok = fchmod(fd, info.st_mode & 07777) == 0;
    if (ok) ok = fsync(fd) == 0;
    if (close(fd) != 0) ok = false;
    if (ok) ok = rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) unlink(temp.c_str());
    return ok;
}

bool MakeDirectory(const char* path) { return mkdir(path, 0777) == 0; }

bool GetExecutablePath(std::string* path) {
    char buffer[PATH_MAX];
    ssize_t got = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (got <= 0) return false;
    path->assign(buffer, static_cast<size_t>(got));
    return true;
}

bool GetTempFolder(std::string* path) {
    const char* dir = std::getenv("TMPDIR");
    *path = (dir != nullptr && dir[0] != '\0') ? dir : "/tmp/";
    if (path->back() != '/') *path += '/';
    return true;
}

bool CreateAndDeleteUniqueFile(const char* folder, const char* prefix) {
    std::string pattern = folder != nullptr ? folder : "";
    if (!pattern.empty() && pattern.back() != '/') pattern += '/';
    pattern += prefix != nullptr ? prefix : "";
    pattern += "XXXXXX";
    int fd = mkstemp(&pattern[0]);
    if (fd < 0) return false;
    close(fd);
    unlink(pattern.c_str());
    return true;
}

}  // namespace platform
