// Paths of the shared files in the temporary folder.
#include "launch/engine_files.h"

#include <string>

const char kFileListName[] = "o.log";
const char kEngineLogName[] = "ombrello_zandrix.log";

namespace {

int BuildTempPath(const char* tempFolder, const char* name, char out[kPathSize]) {
    out[0] = '\0';
    if (tempFolder == nullptr) return 0;
    std::string path = std::string(tempFolder) + "\\" + name;
    // Collapsing only shortens, so a path that fits afterwards is the whole path.
    std::string work = path;
    CollapseFolderPath(&work[0]);
    return CopyBounded(out, kPathSize, work.c_str());
}

}  // namespace

int BuildFileListPath(const char* tempFolder, char out[kPathSize]) {
    return BuildTempPath(tempFolder, kFileListName, out);
}

int BuildEngineLogPath(const char* tempFolder, char out[kPathSize]) {
    return BuildTempPath(tempFolder, kEngineLogName, out);
}

int BuildOpenWithParameters(const char* tempFolder, char* out, size_t size) {
    if (out == nullptr || size == 0) return 0;
    out[0] = '\0';
    if (tempFolder == nullptr) return 0;
    std::string line = std::string("shell32.dll,OpenAs_RunDLL ") + tempFolder + "\\" + kEngineLogName;
    return CopyBounded(out, size, line.c_str());
}
