// The few file-system operations the portable job code needs, with one
// implementation on Win32 and one on POSIX.
#pragma once

#include <string>

namespace platform {

enum ReadResult { kReadOk, kReadMissing, kReadFailed };

// Reads the whole file into bytes. A path that names no file gives kReadMissing.
ReadResult ReadFileBytes(const char* path, std::string* bytes);

// Replaces (or creates) the file with bytes so that a reader sees either the
// old content or the new one, never a part: the bytes go to a new file in the
// same folder, which then takes the old one's place. Fails, leaving the old
// file untouched, when the folder is missing, the file is read-only or any
// write fails.
bool WriteFileReplacing(const char* path, const std::string& bytes);

// Creates one folder; false when it could not be created (also when it exists).
bool MakeDirectory(const char* path);

// Full path of the running executable; false when it cannot be had.
bool GetExecutablePath(std::string* path);

// The system temporary folder with its trailing separator: GetTempPathA on
// Windows, $TMPDIR (or /tmp/ when it is unset or empty) elsewhere.
bool GetTempFolder(std::string* path);

// Creates an empty file with a new unique name that begins with prefix in the
// folder, then deletes it: true proves that the folder exists and takes new
// files.
bool CreateAndDeleteUniqueFile(const char* folder, const char* prefix);

}  // namespace platform
