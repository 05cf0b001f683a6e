// The files that the configurator and the engine share in the user's
// temporary folder: the file-list file o.log, which the file selection
// writes and the engine reads, and the engine's log, which Last log opens.
#pragma once

#include <cstddef>

#include "job/paths.h"

extern const char kFileListName[];  // "o.log"
extern const char kEngineLogName[];  // "ombrello_zandrix.log"

// "<temp>\o.log" with backslash runs collapsed (a leading network pair is
// kept). Returns 0, with out empty, when it would not fit a path buffer.
int BuildFileListPath(const char* tempFolder, char out[kPathSize]);

// "<temp>\ombrello_zandrix.log", collapsed the same way; 0 when too long.
int BuildEngineLogPath(const char* tempFolder, char out[kPathSize]);

// The parameters that ask the shell for its "open with" choice on the log:
// "shell32.dll,OpenAs_RunDLL <temp>\ombrello_zandrix.log", the folder as the
// system gave it (not collapsed). Returns 0, with out empty, when it does
// not fit size bytes.
int BuildOpenWithParameters(const char* tempFolder, char* out, size_t size);
