// Benchmark: how fast the page counter goes through a listing, on the sample
// files of make_samples.py, printed beside the floor it must stay above (the
// file selection dialog counts every file of a folder each time it lists it).
//   pdf_pages_bench SAMPLES_DIR [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "standins/otxtpdf/pdf_pages.h"
#include "standins/otxtpdf/sample_list.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: pdf_pages_bench SAMPLES_DIR [ROUNDS]\n");
        return 2;
    }
    std::vector<SampleFile> files = ReadSampleList(std::string(argv[1]) + "/expected.tsv");
    int rounds = argc > 2 ? std::atoi(argv[2]) : 50;
    if (files.empty() || rounds < 1) {
        std::fprintf(stderr, "no sample files in %s\n", argv[1]);
        return 2;
    }
    typedef std::chrono::steady_clock Clock;
    // Each file's best time over the rounds, so a busy machine counts less.
    std::vector<double> best(files.size(), 1e9);
    for (int round = 0; round < rounds; round++) {
        for (size_t i = 0; i < files.size(); i++) {
            Clock::time_point before = Clock::now();
            CountPdfPages(files[i].path.c_str());
            double ms = std::chrono::duration<double, std::milli>(Clock::now() - before).count();
            if (ms < best[i]) best[i] = ms;
        }
    }
    std::vector<double> sorted = best;
    std::sort(sorted.begin(), sorted.end());
    double median = sorted[sorted.size() / 2];
    size_t slowest = static_cast<size_t>(std::max_element(best.begin(), best.end()) - best.begin());
    double perSecond = 1000 / median;
    const double floorPerSecond = 500;   // a folder of 5000 PDF files listed in 10 s
    const double floorSlowestMs = 1000;  // no single file holds the listing up for a second
    std::printf("%zu files, %d rounds\n", files.size(), rounds);
    std::printf("typical files counted per second: %.0f (median %.2f ms; floor %.0f per second)\n",
                perSecond, median, floorPerSecond);
    std::printf("slowest file: %.1f ms, %s (floor %.0f ms)\n", best[slowest],
                files[slowest].path.substr(files[slowest].path.rfind('/') + 1).c_str(), floorSlowestMs);
    return perSecond >= floorPerSecond && best[slowest] <= floorSlowestMs ? 0 : 1;
}
