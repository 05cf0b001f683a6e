// Paths of the shared files in the temporary folder.
#include "launch/engine_files.h"

#include <string>

const char kFileListName[] = "o.log";
const char kEngineLogName[] = "ombrello_zandrix.log";

int BuildFileListPath(const char* tempFolder, char out[kPathSize]) {
    return JoinFolderFile(tempFolder, kFileListName, out);
}

int BuildEngineLogPath(const char* tempFolder, char out[kPathSize]) {
    return JoinFolderFile(tempFolder, kEngineLogName, out);
}

int BuildOpenWithParameters(const char* tempFolder, char* out, size_t size) {
    if (out == nullptr || size == 0) return 0;
    out[0] = '\0';
    if (tempFolder == nullptr) return 0;
    std::string line = std::string("shell32.dll,OpenAs_RunDLL ") + tempFolder + "\\" + kEngineLogName;
    return CopyBounded(out, size, line.c_str());
}
