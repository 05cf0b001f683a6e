// The file-system operations the engine needs beyond the job code's: folder
// listings, file stamps, renames and moves that never overwrite what they
// must not, appending to a text file, the clock and the process identifier.
// One implementation on POSIX, one on Win32 (single-byte paths, as the job
// file holds them).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fsys {

struct Stamp {
    bool exists = false;
    bool folder = false;
    uint64_t size = 0;
    int64_t time = 0;  // last write, in the platform's ticks
};

struct FolderEntry {
    std::string name;
    bool folder = false;
};

Stamp StampOf(const std::string& path);

// The entries of a folder, "." and ".." left out; false when it cannot be read.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries);

// Creates every missing level of a folder path; true when the folder exists afterwards.
bool MakeFolders(const std::string& folder);

// Renames from to to, replacing a file already at to.
bool ReplaceFile(const std::string& from, const std::string& to);

// Moves a file to a name that must not exist yet (across volumes by copy
// then removal); false, with both places as they were, when it cannot.
bool MoveFileNoReplace(const std::string& from, const std::string& to);

bool RemoveFile(const std::string& path);

// Whether the file can be opened for reading now while nobody writes it (on
// Windows a file still being copied is held open for writing by its copier).
bool CanReadWhole(const std::string& path);

// Adds text at the end of the file (truncate starts it afresh); false when
// it could not be written.
bool AppendText(const std::string& path, const std::string& text, bool truncate);

unsigned long CurrentProcessId();

// Local date as yyyymmdd and local time as hh:mm:ss.
std::string LocalDate();
std::string LocalTime();

// The number of processors the run may use, at least 1.
int ProcessorCount();

// The line end of the platform's text files.
extern const char kLineEnd[];

}  // namespace fsys
