// The job file read once into a plain plan: what a run converts (the files,
// the pages), how (the output options), where the outputs go and under
// which names, and what becomes of each source. Portable and free of any
// drawing, so tests check it without a PDF library.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/options.h"

struct Plan {
    std::string jobPath;
    OutputOptions options;           // format, resolution, operations, per-format options

    // Pages: every page, or first to last (1-based; last 0 means the end).
    bool allPages = true;
    int firstPage = 1;
    int lastPage = 0;
    std::string password;            // user or owner password of encrypted files

    std::string source;              // the folder a run converts
    bool recurse = false;
    std::string target;              // where the outputs go
    bool reproducePath = false;      // the source's folder path again under target
    bool reproduceFromRoot = false;  // only the part below the source folder

    bool moveSource = false;         // a converted source goes to movePath
    std::string movePath;
    bool reproduceInMove = false;
    bool moveFromRoot = false;
    bool deleteSource = false;       // a converted source is deleted

    bool moveFailures = false;       // a source that fails goes to errorPath
    std::string errorPath;

    bool eraseLog = true;            // each run starts the log afresh
    bool scan = false;               // rescan the source folder until terminated
    int scanSeconds = 60;            // between two scans

    bool prefixNames = false;        // outputs named prefix_NNN, numbered across runs
    std::string prefix;
    bool addDate = false;            // _yyyymmdd after the number
};

// Reads every key the engine acts on through the key table.
Plan ReadPlan(const std::string& jobPath);

// Seconds between two scans: scan_delay in minutes or seconds; at least 1,
// at most a day, whatever the job file holds.
int ScanIntervalSeconds(long scanDelay, bool minutes);

// The pages of a document of pageCount pages that a run converts, clamped
// to the document; empty (first > last) when the range lies outside it.
struct PageSpan {
    int first = 1;
    int last = 0;
    bool Empty() const { return first > last; }
    int Count() const { return Empty() ? 0 : last - first + 1; }
};
PageSpan PagesToConvert(const Plan& plan, int pageCount);

// Whether a folder entry's name is that of a PDF file: ".pdf" in any case,
// not hidden (a leading dot).
bool IsPdfName(const std::string& name);

// Every PDF file of the folder (and its subfolders when recurse), sorted
// without regard to case, subfolders' files after the folder's own. The
// folders in skip are not entered: a target, move or error folder inside a
// recursed source folder must not feed the run its own results.
std::vector<std::string> PdfFilesIn(const std::string& folder, bool recurse,
                                    const std::vector<std::string>& skip = {});

// The files o.log's [FILES] section lists, keys 0, 1, 2... up to the first
// missing one. Empty when the text holds no such list.
std::vector<std::string> ParseFileList(const std::string& text);

// Path helpers on the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& name);
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);
std::string StemOf(const std::string& path);  // file name without its extension

// The folder path that "reproduce" recreates for file: with fromRoot the
// part of its folder below root (its whole folder path when it does not lie
// below root), else its whole folder path; without a drive or a leading
// separator, so it can be put under another folder.
std::string ReproducedPart(const std::string& file, const std::string& root, bool fromRoot);

// Where the outputs of file go, and where it goes when it is moved after
// converting.
std::string OutputFolderFor(const Plan& plan, const std::string& file);
std::string MoveFolderFor(const Plan& plan, const std::string& file);

// An output's name: base, "_NNN" (three digits or more), suffix, and
// "_yyyymmdd" when date is not empty, then the extension. number 0 leaves
// "_NNN" out.
std::string OutputName(const std::string& base, int number, const std::string& date, const std::string& extension,
                       const std::string& suffix = "");

// The highest number N of a name "<prefix>_N[_yyyymmdd][...].<extension>"
// among names (prefix and extension compared without regard to case); 0
// when there is none.
int HighestPrefixNumber(const std::vector<std::string>& names, const std::string& prefix, const std::string& extension);

// The names a run hands out. Two sources of one run never get the same base
// name in a folder: the later gets "<stem>-2", "-3"... The same source
// asking again (a re-run in a hot folder) gets its base name again, so its
// new outputs replace the old. Prefix numbers continue after the highest
// number already in a folder.
class NameBook {
public:
    // The base name of source's outputs in folder (its stem, or a distinct one).
    std::string BaseFor(const std::string& folder, const std::string& source);
    // count consecutive prefix numbers in folder; returns the first.
    int TakeNumbers(const std::string& folder, const std::string& prefix, const std::string& extension, int count);

private:
    std::map<std::string, std::string> owners_;  // folder + base, folded -> source
    std::map<std::string, int> lastNumbers_;     // folder, folded -> last number given
};

// A name compared without regard to ASCII case (Windows' file names).
std::string Folded(const std::string& text);
