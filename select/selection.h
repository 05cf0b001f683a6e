// The portable side of the file selection dialog: which folder entries are
// PDF files worth listing, the file record of a listing row and the orders
// of its columns, the text of the file-list file o.log, the case-blind set
// that finds already selected paths at once, and how a folder tree display
// path becomes a file-system folder. Nothing here touches a window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "job/paths.h"

enum { kModifiedSize = 20, kTreeTextSize = 256 };

// One row of the folder listing.
struct FileRecord {
    char path[kPathSize];
    int32_t engine_value;
    uint32_t size;
    char modified[kModifiedSize];
};

// The attribute word of a folder as the enumeration reports it.
const unsigned kDirectoryAttribute = 16;

// Whether a folder entry is listed: not exactly a folder, no leading ".",
// an extension of exactly ".pdf" in any case, a nonzero size (low 32 bits).
bool IsListedEntry(unsigned attributes, const char* name, uint32_t sizeLow);

// Whether a scan descends into the entry: a folder whose name has no leading ".".
bool IsScannedFolder(unsigned attributes, const char* name);


// "%02d/%02d/%04d  %02d:%02d" from month, day, year, hour and minute.
void FormatModified(int month, int day, int year, int hour, int minute, char out[kModifiedSize]);

// The lower case of a Windows-1252 byte: A to Z and the accented capitals
// (not the multiplication sign), and the four capitals of 0x8A to 0x9F.
unsigned char FoldCase1252(unsigned char c);

// Case-blind order of two single-byte texts (negative, 0, positive) as
// Windows orders them: lstrcmpiA on Windows, elsewhere the byte order of
// the texts folded by FoldCase1252, so accented letters match their capitals.
int CompareIgnoringCase(const char* a, const char* b);

// The order of two listing rows by column 0 to 3; ascending compares a with
// b, descending b with a. Column 3 compares the modification text, which
// begins with the month.
int CompareRecords(const FileRecord& a, const FileRecord& b, int column, bool ascending);

// The whole o.log: "[FILES]" and "i=path" for every entry, each line ended by CR LF.
std::string FileListText(const std::vector<std::string>& entries);

// The selection list's paths as a case-blind set, kept beside the list box
// so that the duplicate check does not read every entry. Letters fold as the
// code page folds them (CharLowerBuffA on Windows, FoldCase1252 elsewhere).
class SelectedPaths {
public:
    bool Contains(const char* path) const;
    void Add(const char* path);
    void Remove(const char* path);
    void Clear();
    size_t Count() const { return keys_.size(); }

private:
    std::unordered_set<std::string> keys_;
};

// The display path of a tree item: "\" and the item texts from the top
// level down, joined by "\". 0, with out empty, when it would be longer
// than kPathMax; no texts give "".
int BuildDisplayPath(const std::vector<std::string>& texts, char out[kPathSize]);

// The drive rule for a display path holding a colon: the letter before the
// first ":", the colon, and everything after the character that follows
// it. 0 when the path has no colon or no letter before it.
int ResolveDrivePath(const char* display, char out[kPathSize]);

// The folder of a newly selected tree item: the drive rule, or else the
// personal folder followed by what comes after the first occurrence of the
// personal folder's last name in the display path. 0 when neither applies.
int ResolveSelectedFolder(const char* display, const char* personal, char out[kPathSize]);

// The folder of the selected item for the add commands: the drive rule, or
// else the personal folder's parent followed by the display path.
int ResolveCommandFolder(const char* display, const char* personal, char out[kPathSize]);
