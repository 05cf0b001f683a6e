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
