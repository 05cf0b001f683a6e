// The native engine command: ombrello_zandrix G|<job file> (or the job
// file's path alone) converts the job as the Windows engine does, with a
// progress bar when its output is a terminal.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/file_system.h"
#include "engine/plan.h"
#include "engine/run.h"
#include "job/platform.h"

namespace {

// A bar on the terminal's line, redrawn in place.
class TerminalProgress : public Progress {
public:
    void RunStarted(int fileCount) override {
        files_ = fileCount;
        filesDone_ = 0;
        Draw();
    }
    void FileStarted(int, int, const std::string& path) override {
        name_ = FileNameOf(path);
        pagesDone_ = pagesTotal_ = 0;
        Draw();
    }
    void PagesDone(int done, int total) override {
        pagesDone_ = done;
        pagesTotal_ = total;
        Draw();
    }
    void FilesDone(int filesDone, int) override {
        filesDone_ = filesDone;
        Draw();
    }
    void Note(const std::string& text) override {
        std::fprintf(stderr, "\r\033[K%s\n", text.c_str());
        Draw();
    }
    void RunEnded(bool) override { std::fprintf(stderr, "\n"); }

private:
    void Draw() {
        const int width = 30;
        int filled = files_ > 0 ? filesDone_ * width / files_ : width;
        std::string bar(static_cast<size_t>(filled), '#');
        bar.resize(width, '-');
        std::string shown = name_.size() > 40 ? "..." + name_.substr(name_.size() - 37) : name_;
        std::fprintf(stderr, "\r\033[K[%s] %d/%d files  %s %d/%d pages", bar.c_str(), filesDone_, files_,
                     shown.c_str(), pagesDone_, pagesTotal_);
        std::fflush(stderr);
    }

    int files_ = 0;
    int filesDone_ = 0;
    int pagesDone_ = 0;
    int pagesTotal_ = 0;
    std::string name_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ombrello_zandrix G|<job file>\n       ombrello_zandrix <job file>\n");
        return kRunCannotStart;
    }
    std::string job = argv[1];
    if (job.compare(0, 2, "G|") == 0) job = job.substr(2);
    if (job.empty()) {
        std::fprintf(stderr, "ombrello_zandrix: no job file given\n");
        return kRunCannotStart;
    }
    EngineSetup setup;
    std::string executable;
    if (platform::GetExecutablePath(&executable)) setup.programFolder = FolderOf(executable);
    platform::GetTempFolder(&setup.tempFolder);
    setup.processId = fsys::CurrentProcessId();
    TerminalProgress bar;
    NoProgress quiet;
    Progress& progress = isatty(STDERR_FILENO) ? static_cast<Progress&>(bar) : static_cast<Progress&>(quiet);
    return RunEngine(job, setup, progress);
}
