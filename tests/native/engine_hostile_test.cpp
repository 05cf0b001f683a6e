// Hostile files through a whole run: each fails (or converts what can be
// read) cleanly, the run goes on with the next file, within bounded time
// and memory. A program of its own, so its peak memory is its run's alone.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "engine/render.h"
#include "engine/run.h"
#include "tests/native/engine_support.h"

namespace {

using engine_test::BuildPdf;
using engine_test::OnePagePdf;
using engine_test::Scratch;
using engine_test::SortingJob;
using engine_test::StreamObject;
using engine_test::WriteBytes;

// A page tree depth pages deep: each Pages node holds only the next.
std::string DeepTreePdf(int depth) {
    std::vector<std::string> bodies = {"<< /Type /Catalog /Pages 2 0 R >>"};
    for (int level = 0; level < depth; ++level) {
        int self = 2 + level;
        std::string kid = std::to_string(level + 1 < depth ? self + 1 : depth + 2);
        std::string parent = level == 0 ? "" : " /Parent " + std::to_string(self - 1) + " 0 R";
        bodies.push_back("<< /Type /Pages /Kids [" + kid + " 0 R] /Count 1" + parent + " >>");
    }
    bodies.push_back("<< /Type /Page /Parent " + std::to_string(depth + 1) + " 0 R /MediaBox [0 0 200 200] /Contents " +
                     std::to_string(depth + 3) + " 0 R >>");
    bodies.push_back(StreamObject("", "0 0 1 rg 10 10 100 100 re f"));
    return BuildPdf(bodies);
}

// A content stream that inflates to size bytes of blanks.
std::string DeflateBombPdf(size_t size) {
    z_stream zip{};
    deflateInit(&zip, 9);
    std::string blanks(1 << 20, ' ');
    std::string packed;
    char out[1 << 16];
    for (size_t done = 0; done < size; done += blanks.size()) {
        zip.next_in = reinterpret_cast<Bytef*>(&blanks[0]);
        zip.avail_in = static_cast<uInt>(blanks.size());
        int flush = done + blanks.size() >= size ? Z_FINISH : Z_NO_FLUSH;
        do {
            zip.next_out = reinterpret_cast<Bytef*>(out);
            zip.avail_out = sizeof out;
            deflate(&zip, flush);
            packed.append(out, sizeof out - zip.avail_out);
        } while (zip.avail_out == 0);
    }
    deflateEnd(&zip);
    return BuildPdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                     "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 4 0 R >>",
                     StreamObject(" /Filter /FlateDecode", packed)});
}

// Two cross-reference sections whose /Prev name each other.
std::string XrefCyclePdf() {
    std::string pdf = OnePagePdf(100, 100, "0 0 m 50 50 l S");
    size_t start = pdf.rfind("startxref\n") + 10;
    std::string offset = pdf.substr(start, pdf.find('\n', start) - start);
    pdf.replace(pdf.find("/Root 1 0 R"), 11, "/Root 1 0 R /Prev " + offset);
    return pdf;
}

long PeakMegabytes() {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

TEST(EngineHostile, EveryHostileFileFailsCleanlyInBoundedTimeAndMemory) {
    Scratch scratch;
    const std::string src = scratch.Path("src/");
    std::string good = OnePagePdf(200, 200, "1 0 0 rg 20 20 160 160 re f");
    WriteBytes(src + "a_good_before.pdf", good);
    WriteBytes(src + "truncated.pdf", good.substr(0, good.size() / 2));
    WriteBytes(src + "xref_cycle.pdf", XrefCyclePdf());
    WriteBytes(src + "deep_tree.pdf", DeepTreePdf(20000));
    WriteBytes(src + "bomb.pdf", DeflateBombPdf(256u << 20));
    WriteBytes(src + "zero.pdf", "");
    WriteBytes(src + "not_pdf.pdf", "This is a letter, not a document.\n");
    WriteBytes(src + "long_line.pdf", OnePagePdf(200, 200, "%" + std::string(8u << 20, 'x') + "\n0 0 m 9 9 l S"));
    WriteBytes(src + "huge_page.pdf", OnePagePdf(14400, 14400, "0 0 m 100 100 l S"));  // 200 by 200 inches
    WriteBytes(src + "z_good_after.pdf", good);

    const std::string job = SortingJob(scratch, kOutPng, 600);

    EngineSetup setup;
    setup.tempFolder = scratch.Path("tmp");
    setup.workers = 2;
    NoProgress quiet;
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(kRunSomeFailed, RunEngine(job, setup, quiet));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const std::string log = engine_test::ReadBytes(scratch.Path("tmp/ombrello_zandrix.log"));

    EXPECT_LT(seconds, 120.0) << log;
    EXPECT_LT(PeakMegabytes(), 1024) << "one page's pixels are capped";
    EXPECT_NE(std::string::npos, log.find("huge_page.pdf: FAILED: page 1 is too large to draw"))
        << log;
    EXPECT_NE(std::string::npos, log.find("zero.pdf: FAILED: the file is empty")) << log;
    EXPECT_NE(std::string::npos, log.find("not_pdf.pdf: FAILED: not a PDF file")) << log;
    EXPECT_NE(std::string::npos, log.find("Summary: 10 file(s)")) << log;
    // The good files on either side are converted; every other file either
    // converted what poppler could read or went to the error folder.
    std::vector<std::string> out = scratch.Files("out");
    EXPECT_NE(out.end(), std::find(out.begin(), out.end(), "a_good_before_001.png"));
    EXPECT_NE(out.end(), std::find(out.begin(), out.end(), "z_good_after_001.png"));
    std::vector<std::string> failed = scratch.Files("err");
    for (const char* name : {"zero.pdf", "not_pdf.pdf", "huge_page.pdf"})
        EXPECT_NE(failed.end(), std::find(failed.begin(), failed.end(), name)) << name;
    EXPECT_EQ(std::vector<std::string>{}, scratch.Files("src")) << "each file either converted or failed\n" << log;
    for (const std::string& name : out) EXPECT_EQ(std::string::npos, name.find(".part")) << name;
}

}  // namespace
