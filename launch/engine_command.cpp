// The engine's command line.
#include "launch/engine_command.h"

#include <cstring>
#include <string>

#include "job/paths.h"

const char kEngineFileName[] = "ombrello_zandrix.exe";

namespace {

// Collapses backslash runs of one path, keeping a leading network pair.
std::string CleanPath(const std::string& path) {
    std::string work = path;
    if (work.empty()) return work;
    CollapseFolderPath(&work[0]);
    return std::string(work.c_str());
}

}  // namespace

int BuildEngineCommandLine(const char* drive, const char* dir, const char* jobPath, char* out,
                           size_t size) {
    if (out == nullptr || size == 0) return 0;
    out[0] = '\0';
    if (drive == nullptr || dir == nullptr || jobPath == nullptr) return 0;
    if (std::strlen(jobPath) > kPathMax || std::strlen(dir) > kPathMax) return 0;
    std::string engine = CleanPath(std::string(drive) + dir + "\\" + kEngineFileName);
    std::string line = engine + " G|" + CleanPath(jobPath);
    return CopyBounded(out, size, line.c_str());
}

int IsEngineImagePath(const char* imagePath) {
    if (imagePath == nullptr) return 0;
    const char* name = imagePath;
    for (const char* p = imagePath; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    const char* want = kEngineFileName;
    for (; *name != '\0' && *want != '\0'; ++name, ++want) {
        char c = (*name >= 'A' && *name <= 'Z') ? static_cast<char>(*name - 'A' + 'a') : *name;
        if (c != *want) return 0;
    }
    return *name == '\0' && *want == '\0';
}
