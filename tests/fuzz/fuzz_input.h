// Splitting a fuzz input into the fields a target needs, the scratch files
// the targets that go through files write into, and what a read gives back
// of a written value.
#pragma once

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

#include "job/ini_text.h"

namespace fuzz {

// The input cut at every "\n--\n": the fields a target reads in order; a
// missing field is empty.
inline std::vector<std::string> Fields(const uint8_t* data, size_t size, size_t count) {
    std::string all(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> fields;
    size_t start = 0;
    while (fields.size() + 1 < count) {
        size_t cut = all.find("\n--\n", start);
        if (cut == std::string::npos) break;
        fields.push_back(all.substr(start, cut - start));
        start = cut + 4;
    }
    fields.push_back(all.substr(start));
    fields.resize(count);
    return fields;
}

// A text as a C string takes it: up to its first NUL byte.
inline std::string UpToNul(const std::string& text) { return std::string(text.c_str()); }

// Removes a folder with everything in it.
inline void RemoveFolder(const std::string& folder) {
    std::string command = "rm -rf '" + folder + "'";
    if (std::system(command.c_str()) != 0) return;
}

// A folder of the process's own, named by its process number, made once: in
// memory (/dev/shm) where the system has it, since every write of a job file
// is flushed to its disk. libFuzzer may end a run without the exit handlers,
// so the folders of processes that have ended are removed here too.
inline const std::string& ScratchFolder() {
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string base = tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp";
        if (access("/dev/shm", W_OK) == 0) base = "/dev/shm";
        const std::string prefix = "zandrix_fuzz_";
        if (DIR* dir = opendir(base.c_str())) {
            while (dirent* entry = readdir(dir)) {
                std::string name = entry->d_name;
                if (name.compare(0, prefix.size(), prefix) != 0) continue;
                long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
                if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) RemoveFolder(base + "/" + name);
            }
            closedir(dir);
        }
        std::string path = base + "/" + prefix + std::to_string(getpid());
        RemoveFolder(path);
        if (mkdir(path.c_str(), 0700) != 0) std::abort();
        return path;
    }();
    static const bool removedAtExit = std::atexit([] { RemoveFolder(ScratchFolder()); }) == 0;
    (void)removedAtExit;
    return folder;
}

inline bool WriteFile(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

inline std::string ReadFile(const std::string& path) {
    std::string bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

inline std::string Trimmed(const std::string& text) {
    size_t begin = text.find_first_not_of(ini::kBlanks);
    if (begin == std::string::npos) return "";
    size_t end = text.find_last_not_of(ini::kBlanks);
    return text.substr(begin, end - begin + 1);
}

// What a read gives back of a written value: trimmed, one pair of matching
// outer quotes removed.
inline std::string AsRead(const std::string& value) {
    std::string text = Trimmed(value);
    if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0])
        return text.substr(1, text.size() - 2);
    return text;
}

}  // namespace fuzz
