// What a run tells whoever follows it: on Windows the configurator's monitor
// window, on a terminal a progress bar, otherwise nobody. The run makes these
// calls one at a time and in order, from whichever thread, so a follower
// sees one story even when files and pages are converted in parallel.
#pragma once

#include <string>

class Progress {
public:
    virtual ~Progress() = default;
    // A run (or one scan of a hot folder) begins with this many files.
    virtual void RunStarted(int fileCount) = 0;
    // File index (0-based) of count is being converted.
    virtual void FileStarted(int index, int count, const std::string& path) = 0;
    // done of total pages of the file last started are written.
    virtual void PagesDone(int done, int total) = 0;
    // filesDone of count files are finished, converted or failed.
    virtual void FilesDone(int filesDone, int count) = 0;
    // A line worth showing beside the progress (a failure, a summary).
    virtual void Note(const std::string& text) = 0;
    // The run is over; ok is false when any file failed.
    virtual void RunEnded(bool ok) = 0;
};

// A follower that shows nothing.
class NoProgress : public Progress {
public:
    void RunStarted(int) override {}
    void FileStarted(int, int, const std::string&) override {}
    void PagesDone(int, int) override {}
    void FilesDone(int, int) override {}
    void Note(const std::string&) override {}
    void RunEnded(bool) override {}
};
