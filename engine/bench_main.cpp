// engine_bench: the engine's speed and memory beside the same machine's
// poppler tools, file by file as a user would run them. Run by hand:
//   engine_bench <folder of PDF files> [<large PDF of about 2,000 pages>]
// It prints, for PNG at 100 and 150 dpi, pdftoppm's time over the files,
// the engine's with every worker and with one, and their ratios; raw text
// beside pdftotext -raw once the engine writes TXT; and the engine's peak
// memory on the large PDF and on its first half, to show it flat in the
// page count.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/file_system.h"
#include "engine/formats.h"
#include "engine/plan.h"
#include "engine/run.h"
#include "job/job_access.h"

namespace {

double CpuSeconds(int who) {
    struct rusage usage;
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The processor time the work took, in this process and its children:
// what a busy shared machine does not inflate.
double lastCpu = 0;

double Seconds(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    double cpu = CpuSeconds(RUSAGE_SELF) + CpuSeconds(RUSAGE_CHILDREN);
    work();
    lastCpu = CpuSeconds(RUSAGE_SELF) + CpuSeconds(RUSAGE_CHILDREN) - cpu;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

struct Bench {
    std::string scratch;
    std::string job;
    std::vector<std::string> files;

    void WriteJob(int format, int dpi, const std::string& source) {
        Shell("rm -rf " + Quoted(scratch + "/out") + " " + Quoted(job));
        WriteJobInt(kKeyImageType, format, job.c_str());
        WriteJobInt(kKeyDensity, dpi, job.c_str());
        // Level 6 and adaptive filters: the compression pdftoppm's PNG files have.
        WriteJobInt(kKeyPngQuality, 65, job.c_str());
        WriteJobInt(kKeyTxtRaw, 1, job.c_str());
        WriteJobText(kKeySource, source.c_str(), job.c_str());
        WriteJobText(kKeyTarget, (scratch + "/out").c_str(), job.c_str());
    }

    double Engine(int workers) {
        EngineSetup setup;
        setup.tempFolder = scratch;
        setup.workers = workers;
        NoProgress quiet;
        return Seconds([&] { RunEngine(job, setup, quiet); });
    }

    double Tool(const std::string& command) {
        Shell("rm -rf " + Quoted(scratch + "/tool") + " && mkdir -p " + Quoted(scratch + "/tool"));
        return Seconds([&] {
            for (const std::string& file : files)
                Shell(command + " " + Quoted(file) + " " + Quoted(scratch + "/tool/" + StemOf(file)));
        });
    }
};

// The engine's peak resident memory converting one file in a child process.
long PeakMegabytes(Bench& bench, const std::string& file, int dpi) {
    Shell("rm -rf " + Quoted(bench.scratch + "/one") + " && mkdir -p " + Quoted(bench.scratch + "/one"));
    Shell("ln -s " + Quoted(file) + " " + Quoted(bench.scratch + "/one/big.pdf"));
    bench.WriteJob(kOutPng, dpi, bench.scratch + "/one");
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        bench.Engine(0);
        _exit(0);
    }
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    return usage.ru_maxrss / 1024;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: engine_bench <folder of PDF files> [<large PDF>]\n");
        return 2;
    }
    Bench bench;
    char pattern[] = "/tmp/engine_bench_XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 2;
    bench.scratch = pattern;
    bench.job = bench.scratch + "/job.ini";
    char resolvedFolder[4096];
    const std::string folder = realpath(argv[1], resolvedFolder) != nullptr ? resolvedFolder : argv[1];
    bench.files = PdfFilesIn(folder, false);
    const int cores = fsys::ProcessorCount();
    std::printf("%zu PDF files of %s; %d processor(s)\n\n", bench.files.size(), folder.c_str(), cores);

    std::printf("wall-clock seconds (processor seconds)\n");
    std::printf("%-22s %14s %14s %6s %14s %6s\n", "output", "tool", "all workers", "ratio", "one worker", "ratio");
    for (int dpi : {100, 150}) {
        double tool = bench.Tool("pdftoppm -cropbox -png -r " + std::to_string(dpi));
        double toolCpu = lastCpu;
        bench.WriteJob(kOutPng, dpi, folder);
        double all = bench.Engine(0);
        double allCpu = lastCpu;
        double one = bench.Engine(1);
        double oneCpu = lastCpu;
        std::printf("PNG %3d dpi/pdftoppm   %6.2f (%5.2f) %6.2f (%5.2f) %6.2f %6.2f (%5.2f) %6.2f\n", dpi, tool, toolCpu,
                    all, allCpu, all / tool, one, oneCpu, one / tool);
    }
    const FormatEntry* text = FindFormat(kOutTxt);
    if (text != nullptr && text->make != nullptr) {
        double tool = bench.Tool("pdftotext -raw");
        double toolCpu = lastCpu;
        bench.WriteJob(kOutTxt, 0, folder);
        double all = bench.Engine(0);
        double allCpu = lastCpu;
        double one = bench.Engine(1);
        double oneCpu = lastCpu;
        std::printf("TXT raw/pdftotext -raw %6.2f (%5.2f) %6.2f (%5.2f) %6.2f %6.2f (%5.2f) %6.2f\n", tool, toolCpu, all,
                    allCpu, all / tool, one, oneCpu, one / tool);
    } else {
        std::printf("TXT raw/pdftotext -raw: this build writes no TXT yet\n");
    }

    if (argc >= 3) {
        char resolved[4096];
        if (realpath(argv[2], resolved) == nullptr) {
            std::fprintf(stderr, "engine_bench: cannot find %s\n", argv[2]);
            return 2;
        }
        const std::string big = resolved;
        const std::string half = bench.scratch + "/half.pdf";
        Shell("qpdf --empty --pages " + Quoted(big) + " 1-z:odd -- " + Quoted(half));
        long halfPeak = PeakMegabytes(bench, half, 100);
        long fullPeak = PeakMegabytes(bench, big, 100);
        std::printf("\npeak memory, PNG at 100 dpi: %ld MB for %s, %ld MB for its odd pages\n", fullPeak, big.c_str(),
                    halfPeak);
    }
    Shell("rm -rf " + Quoted(bench.scratch));
    return 0;
}
