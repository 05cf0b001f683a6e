// The pages of one large PDF shared between workers while a multi-page
// output still receives them in page order, and a multi-page output that
// fails at its end. The run gets a format table of this test's own: a
// recording writer that notes each page it is given and the thread that drew
// it.
#include <gtest/gtest.h>

#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "engine/formats.h"
#include "engine/run.h"
#include "tests/native/engine_support.h"

namespace {

std::mutex recordLock;
std::set<std::thread::id> drawingThreads;
bool failAtEnd = false;

// Writes one line a page: its number and its picture's size.
class RecordingWriter : public Writer {
public:
    bool Begin(const std::string& path, PDFDoc*, std::string* error) override {
        out_.open(path, std::ios::binary);
        if (!out_) *error = "cannot create";
        return static_cast<bool>(out_);
    }
    bool AddPage(const PageInput& page, std::string* error) override {
        if (page.picture == nullptr) {
            *error = "no picture";
            return false;
        }
        out_ << page.number << " " << page.picture->width << "x" << page.picture->height << "\n";
        std::lock_guard<std::mutex> hold(recordLock);
        drawingThreads.insert(std::this_thread::get_id());  // the worker that drew it adds it
        return true;
    }
    bool End(std::string* error) override {
        out_.close();
        if (failAtEnd) *error = "the disk is full";
        return !failAtEnd;
    }

private:
    std::ofstream out_;
};

std::unique_ptr<Writer> MakeRecording(const OutputOptions&) { return std::make_unique<RecordingWriter>(); }

bool Always(const OutputOptions&) { return true; }

const FormatEntry kRecording = {kOutTiff, "pages", true, Always, MakeRecording};

const FormatEntry* FindRecording(int format) { return format == kOutTiff ? &kRecording : nullptr; }

class EngineParallel : public ::testing::Test {
protected:
    void SetUp() override { ReplaceFormatTable(FindRecording); }
    void TearDown() override { ReplaceFormatTable(nullptr); }
};

TEST_F(EngineParallel, ALargePdfIsSharedByTheWorkersAndItsPagesArriveInOrder) {
    if (engine_test::SamplesFolder().empty()) GTEST_SKIP() << "OTXTPDF_SAMPLES names no sample folder";
    engine_test::Scratch scratch;
    ASSERT_TRUE(engine_test::CopyFile(engine_test::SamplesFolder() + "/long.pdf", scratch.Path("src/long.pdf")));
    ASSERT_TRUE(engine_test::CopyFile(engine_test::SamplesFolder() + "/gs.pdf", scratch.Path("src/short.pdf")));
    const std::string job = engine_test::SortingJob(scratch, kOutTiff, 10);
    EngineSetup setup;
    setup.tempFolder = scratch.Path("tmp");
    setup.workers = 3;
    NoProgress quiet;

    // Every page is drawn by whichever worker is free, yet the one output
    // receives pages 1 to 720 in order.
    ASSERT_EQ(kRunAllConverted, RunEngine(job, setup, quiet))
        << engine_test::ReadBytes(scratch.Path("tmp/ombrello_zandrix.log"));
    std::istringstream lines(engine_test::ReadBytes(scratch.Path("out/long.pages")));
    int expected = 1;
    std::string line;
    while (std::getline(lines, line)) {
        ASSERT_EQ(std::to_string(expected), line.substr(0, line.find(' '))) << "page out of order";
        ++expected;
    }
    EXPECT_EQ(721, expected) << "every page once";
    EXPECT_GE(drawingThreads.size(), 2u) << "the pages of one file were drawn by several workers";
    EXPECT_EQ((std::vector<std::string>{"long.pdf", "short.pdf"}), scratch.Files("done"));

    // A multi-page output that cannot be completed leaves nothing, and its
    // source goes to the error folder.
    failAtEnd = true;
    ASSERT_TRUE(engine_test::CopyFile(engine_test::SamplesFolder() + "/gs.pdf", scratch.Path("src/again.pdf")));
    EXPECT_EQ(kRunSomeFailed, RunEngine(job, setup, quiet));
    EXPECT_EQ((std::vector<std::string>{"long.pages", "short.pages"}), scratch.Files("out"));
    EXPECT_EQ(std::vector<std::string>{"again.pdf"}, scratch.Files("err"));
    EXPECT_NE(std::string::npos, engine_test::ReadBytes(scratch.Path("tmp/ombrello_zandrix.log"))
                                     .find("again.pdf: FAILED: the output " + scratch.Path("out/again.pages") +
                                           " cannot be written: the disk is full"));
}

}  // namespace
