// The command line that starts the conversion engine: the engine's path in
// the program folder, one blank, "G|" and the job file path, unquoted.
#pragma once

#include <cstddef>

enum { kEngineCommandSize = 1024 };

// Builds "<drive><dir>\ombrello_zandrix.exe G|<job path>" with every run of
// backslashes collapsed to one, except a leading network pair of either
// path. Returns 0, with out empty, when the job path is longer than a path
// buffer allows or the line does not fit size bytes.
int BuildEngineCommandLine(const char* drive, const char* dir, const char* jobPath, char* out,
                           size_t size);

// The engine's executable file name, which a process must carry before a
// recorded identifier is trusted to be the engine's.
extern const char kEngineFileName[];

// Whether an executable path (Windows or POSIX separators) names the
// engine: its file name is kEngineFileName, compared without regard to case.
int IsEngineImagePath(const char* imagePath);
