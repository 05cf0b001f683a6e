// Path conventions shared by the three programs: the program folder, files
// beside the program, backslash clean-up and folder creation. Every path is
// a single-byte string of at most kPathMax characters; a path that would not
// fit is refused (the function returns 0 and leaves an empty string), never
// cut short into another path.
#pragma once

#include <cstddef>

enum {
    kPathSize = 260,            // a path buffer, terminator included
    kPathMax = kPathSize - 1,   // the longest path
    kDriveSize = 3              // "C:" and the terminator
};

// The separator of the platform's file system: a backslash on Windows.
#ifdef _WIN32
const char kDirSeparator = '\\';
#else
const char kDirSeparator = '/';
#endif

// Rewrites path in place so that every run of backslashes becomes one.
void CollapseBackslashes(char* path);

// The same for any separator character (the POSIX build collapses '/').
void CollapseSeparatorRuns(char* path, char separator);

// Collapses a folder path but keeps a leading pair of backslashes, so that a
// network path (\\server\share) stays one.
void CollapseFolderPath(char* path);

// Creates every level of a folder path, left to right, then the whole path;
// failures (existing folders, a bare drive) are ignored.
void CreateFolderChain(const char* path);

// Splits an executable's full path into its drive ("C:", or empty) and its
// directory, which keeps its leading and trailing separator. Returns 0 when
// the directory would not fit a path buffer.
int SplitProgramPath(const char* fullPath, char drive[kDriveSize], char dir[kPathSize]);

// Names a file beside the program: drive, directory, a separator and the
// name, then the separator runs collapsed (a leading network pair is kept).
// Returns 0, with out empty, when the result would be longer than kPathMax
// or when there is no directory (the program folder is unknown).
int JoinBesideProgram(const char* drive, const char* dir, const char* name, char separator,
                      char out[kPathSize]);

// The drive and directory of the running executable; 0 when its path
// cannot be had or is longer than kPathMax.
int GetProgramFolder(char drive[kDriveSize], char dir[kPathSize]);

// The path of a file beside the running executable; 0 when it cannot be
// formed within kPathMax characters.
int FileBesideProgram(const char* name, char out[kPathSize]);

// A file in a folder: folder, a backslash and name, with backslash runs
// collapsed (a leading network pair kept); 0, with out empty, when the
// result is longer than kPathMax characters.
int JoinFolderFile(const char* folder, const char* name, char out[kPathSize]);

// Copies text into a buffer of size bytes; 0, with out empty, when it does not fit.
int CopyBounded(char* out, size_t size, const char* text);

// What becomes of the job file path the user typed.
enum JobPathResult {
    kJobPathEmpty,    // nothing typed
    kJobPathOk,       // out holds the path to use
    kJobPathTooLong   // the path (resolved) is longer than kPathMax; out holds nothing
};

// Whether path is a bare file name: no backslash, no slash, no drive.
int IsBareFileName(const char* path);

// A bare file name ("job.ini") would send the private-profile functions to
// the Windows folder; it is taken as a file beside the program instead,
// where the default job file lives. Any other path is used as typed.
// Without a program folder (dir empty) a bare name cannot be placed and is
// refused as too long would be.
JobPathResult ResolveJobPath(const char* typed, const char* drive, const char* dir,
                             char out[kPathSize]);
