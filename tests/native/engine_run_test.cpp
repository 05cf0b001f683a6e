// The engine end to end on real PDF files: a job file written as the
// configurator writes it, a run, and what a user then finds: pages drawn
// pixel for pixel as pdftoppm draws them, outputs named and numbered as the
// job says, sources moved, deleted or sent to the error folder, the log,
// the process record, o.log, a hot folder, a run stopped midway.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "engine/run.h"
#include "launch/engine_files.h"
#include "tests/native/engine_support.h"

namespace {

using engine_test::CopyFile;
using engine_test::ReadBytes;
using engine_test::RunCommand;
using engine_test::SamplesFolder;
using engine_test::Scratch;
using Files = std::vector<std::string>;

class EngineRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (SamplesFolder().empty()) GTEST_SKIP() << "OTXTPDF_SAMPLES names no sample folder";
        job_ = scratch_.Path("job.ini");
        fsys::MakeFolders(scratch_.Path("tmp"));
        Int(kKeyImageType, kOutPng);
        Int(kKeyDensity, 40);
        Int(kKeyEraseLog, 1);
        Text(kKeySource, scratch_.Path("src"));
        Text(kKeyTarget, scratch_.Path("out"));
    }

    void Int(JobKeyId id, int value) { WriteJobInt(id, value, job_.c_str()); }
    void Text(JobKeyId id, const std::string& value) { WriteJobText(id, value.c_str(), job_.c_str()); }

    void AddSample(const std::string& sample, const std::string& as) {
        ASSERT_TRUE(CopyFile(SamplesFolder() + "/" + sample, scratch_.Path(as))) << sample;
    }

    int Run(int workers = 2, std::function<bool()> stop = nullptr, int scanRounds = 0) {
        EngineSetup setup;
        setup.tempFolder = scratch_.Path("tmp");
        setup.processId = 4242;
        setup.workers = workers;
        setup.stopRequested = stop;
        setup.scanRounds = scanRounds;
        NoProgress quiet;
        return RunEngine(job_, setup, quiet);
    }

    std::string Log() { return ReadBytes(scratch_.Path("tmp/ombrello_zandrix.log")); }

    Scratch scratch_;
    std::string job_;
};

size_t Count(const std::string& text, const std::string& needle) {
    size_t count = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
    return count;
}

// pdftoppm's pictures of a file at a resolution, page by page.
std::vector<engine_test::Pixels> Pdftoppm(const Scratch& scratch, const std::string& pdf, int dpi,
                                          const std::string& extra = "") {
    std::string prefix = scratch.Path("ref/" + StemOf(pdf));
    fsys::MakeFolders(scratch.Path("ref"));
    RunCommand("pdftoppm -cropbox -png " + extra + " -r " + std::to_string(dpi) + " '" + pdf + "' '" + prefix + "'");
    std::vector<engine_test::Pixels> pages;
    for (const std::string& name : scratch.Files("ref"))
        if (name.compare(0, StemOf(pdf).size() + 1, StemOf(pdf) + "-") == 0)
            pages.push_back(engine_test::ReadPng(scratch.Path("ref/" + name)));
    return pages;
}

TEST_F(EngineRun, PagesAreDrawnPixelForPixelAsPdftoppmDrawsThem) {
    AddSample("gs.pdf", "src/gs.pdf");
    AddSample("groff.pdf", "src/groff.pdf");
    AddSample("cairo.pdf", "src/cairo.pdf");
    // A page turned by its own /Rotate, and an encrypted file opened with its password.
    RunCommand("qpdf --rotate=+90:2 '" + SamplesFolder() + "/cairo.pdf' '" + scratch_.Path("src/turned.pdf") + "'");
    AddSample("gs_password_disable.pdf", "src/locked.pdf");
    Text(kKeyPassword, "secret");
    Int(kKeyDensity, 50);
    Int(kKeyPngQuality, 91);  // level 9, sub filter
    Int(kKeyPngProgressive, 1);

    ASSERT_EQ(kRunAllConverted, Run(2)) << Log();
    for (const char* name : {"gs", "groff", "cairo", "turned"}) {
        std::vector<engine_test::Pixels> expected = Pdftoppm(scratch_, scratch_.Path(std::string("src/") + name + ".pdf"), 50);
        ASSERT_FALSE(expected.empty()) << name;
        for (size_t i = 0; i < expected.size(); ++i) {
            char file[64];
            std::snprintf(file, sizeof file, "out/%s_%03zu.png", name, i + 1);
            engine_test::Pixels got = engine_test::ReadPng(scratch_.Path(file));
            ASSERT_TRUE(got.ok) << file;
            EXPECT_EQ(expected[i].width, got.width) << file;
            EXPECT_EQ(expected[i].height, got.height) << file;
            EXPECT_TRUE(expected[i].rgb == got.rgb) << file << " differs from pdftoppm's page";
        }
    }
    std::string header = RunCommand("identify -format '%w %h %[fx:round(resolution.x*2.54)] %[interlace]\\n' '" +
                                    scratch_.Path("out/turned_002.png") + "'");
    EXPECT_EQ("585 414 50 PNG\n", header)
        << "turned by its /Rotate, 50 dpi stated, Adam7 interlaced";
    EXPECT_EQ(43u, scratch_.Files("out").size()) << "gs 12, groff 5, cairo 7, turned 7, locked 12";
    EXPECT_NE(std::string::npos, Log().find("locked.pdf: pages 1-12 of 12, 12 output(s)")) << Log();

    // Grey as the job asks, JPEG at its quality, progressive, with its resolution.
    Int(kKeyColorspace, 1);
    Int(kKeyImageType, kOutJpeg);
    Int(kKeyJpegQuality, 60);
    Int(kKeyJpegProgressive, 1);
    Int(kKeyExtractAll, 0);
    Int(kKeyFirstPage, 2);
    Int(kKeyLastPage, 2);
    ASSERT_EQ(kRunAllConverted, Run(1)) << Log();
    EXPECT_EQ("585 414 50 60 JPEG Gray\n",
              RunCommand("identify -format '%w %h %x %Q %[interlace] %[colorspace]\\n' '" +
                         scratch_.Path("out/turned_002.jpg") + "'"));
}

TEST_F(EngineRun, TheImageOperationsAndTheSignatureReachEveryDrawnPage) {
    AddSample("groff.pdf", "src/groff.pdf");
    Int(kKeyShave, 1);
    Text(kKeyShaveGeometry, "5x7");
    Int(kKeyColorspace, 1);
    Int(kKeyUseASignature, 1);
    Text(kKeySignatureText, "PAID");
    Int(kKeySignatureRegion, 7);  // South East
    Int(kKeySignatureDissolve, 100);
    ASSERT_EQ(kRunAllConverted, Run(2)) << Log();

    std::vector<engine_test::Pixels> drawn = Pdftoppm(scratch_, scratch_.Path("src/groff.pdf"), 40);
    ASSERT_EQ(5u, drawn.size());
    for (size_t i = 0; i < drawn.size(); ++i) {
        char file[64];
        std::snprintf(file, sizeof file, "out/groff_%03zu.png", i + 1);
        engine_test::Pixels got = engine_test::ReadPng(scratch_.Path(file));
        ASSERT_TRUE(got.ok) << file;
        ASSERT_EQ(drawn[i].width - 10, got.width) << file << ": 5 pixels off the left and the right";
        ASSERT_EQ(drawn[i].height - 14, got.height) << file << ": 7 off the top and the bottom";
        // The page's own text, shaved: grey pixels where pdftoppm drew them, 5 across and 7 down.
        int darkTop = 0;
        bool grey = true;
        for (int y = 0; y < got.height / 3; ++y)
            for (int x = 0; x < got.width; ++x) {
                const unsigned char* g = &got.rgb[(static_cast<size_t>(y) * got.width + x) * 3];
                const unsigned char* d = &drawn[i].rgb[(static_cast<size_t>(y + 7) * drawn[i].width + x + 5) * 3];
                grey = grey && g[0] == g[1] && g[1] == g[2];
                if (g[0] < 128) ++darkTop;
                if ((g[0] < 128) != (d[0] < 128 && d[1] < 128 && d[2] < 128)) ADD_FAILURE() << file << " at " << x << "," << y;
            }
        EXPECT_TRUE(grey) << file;
        EXPECT_GT(darkTop, 0) << file;
        // The stamp in the bottom right quarter, nothing in the bottom left one.
        int stampRight = 0;
        int stampLeft = 0;
        for (int y = got.height * 3 / 4; y < got.height; ++y)
            for (int x = 0; x < got.width; ++x)
                if (got.rgb[(static_cast<size_t>(y) * got.width + x) * 3] < 128) ++(x > got.width / 2 ? stampRight : stampLeft);
        EXPECT_GT(stampRight, 50) << file;
        EXPECT_EQ(0, stampLeft) << file;
    }

    // A signature file that cannot be read fails every file rather than convert it unsigned.
    Text(kKeySignatureFile, scratch_.Path("missing.png"));
    Int(kKeyErrorsMove, 1);
    Text(kKeyMoveErrorPath, scratch_.Path("err"));
    EXPECT_EQ(kRunSomeFailed, Run(2));
    EXPECT_EQ(Files{"groff.pdf"}, scratch_.Files("err"));
    EXPECT_NE(std::string::npos, Log().find(scratch_.Path("missing.png"))) << Log();
}

TEST_F(EngineRun, SourcesMoveAfterTheirOutputsAndFailuresGoToTheErrorFolder) {
    AddSample("cairo.pdf", "src/a.pdf");
    AddSample("groff.pdf", "src/sub/a.pdf");         // the same name in a subfolder
    AddSample("gs_password_disable.pdf", "src/sub/locked.pdf");  // the job gives no password
    AddSample("not_a_pdf.pdf", "src/bad.pdf");
    AddSample("empty.pdf", "src/sub/deeper/empty.pdf");
    AddSample("not_a_pdf.pdf", "err/bad.pdf");       // an earlier failure of the same name
    Int(kKeyRecurse, 1);
    Int(kKeyMove, 1);
    Text(kKeyMovePath, scratch_.Path("done"));
    Int(kKeyReproducePathInMove, 1);
    Int(kKeyOnlyFromRoot, 1);
    Int(kKeyErrorsMove, 1);
    Text(kKeyMoveErrorPath, scratch_.Path("err"));

    EXPECT_EQ(kRunSomeFailed, Run(2)) << Log();
    EXPECT_EQ((Files{"a-2_001.png", "a-2_002.png", "a-2_003.png", "a-2_004.png", "a-2_005.png", "a_001.png",
                     "a_002.png", "a_003.png", "a_004.png", "a_005.png", "a_006.png", "a_007.png"}),
              scratch_.Files("out"));
    EXPECT_EQ((Files{"a.pdf", "sub/a.pdf"}), scratch_.Files("done"));
    EXPECT_EQ((Files{"bad-2.pdf", "bad.pdf", "empty.pdf", "locked.pdf"}), scratch_.Files("err"))
        << "an earlier failure is never overwritten";
    EXPECT_EQ(Files{}, scratch_.Files("src"));
    const std::string log = Log();
    EXPECT_NE(std::string::npos, log.find("bad.pdf: FAILED: not a PDF file; moved to the error folder as " +
                                          scratch_.Path("err/bad-2.pdf")))
        << log;
    EXPECT_NE(std::string::npos, log.find("locked.pdf: FAILED: the document is encrypted and the job gives no password"));
    EXPECT_NE(std::string::npos, log.find("empty.pdf: FAILED: the file is empty (0 bytes)"));
    EXPECT_NE(std::string::npos, log.find("outputs are named a-2 instead of a"));
    EXPECT_NE(std::string::npos, log.find("Summary: 5 file(s): 2 converted, 3 failed; 12 page(s), 12 output file(s)"));
    EXPECT_EQ(0u, ReadJobInt(kKeyProcessId, job_.c_str())) << "the process record is cleared at the end";
}

TEST_F(EngineRun, PrefixNumbersContinueAcrossRunsAndDeleteRemovesOnlyConvertedSources) {
    AddSample("cairo.pdf", "src/x/first.pdf");
    AddSample("not_a_pdf.pdf", "src/x/broken.pdf");
    Int(kKeyRecurse, 1);
    Int(kKeyDelete, 1);
    Int(kKeyReproducePath, 1);
    Int(kKeyReproducePathFromRoot, 1);
    Int(kKeyTargetFileNameType, 1);
    Text(kKeyPrefixFileName, "scan");
    Int(kKeyAddDateToName, 1);
    Int(kKeyExtractAll, 0);
    Int(kKeyFirstPage, 2);
    Int(kKeyLastPage, 3);
    const std::string date = fsys::LocalDate();

    EXPECT_EQ(kRunSomeFailed, Run(2)) << Log();
    EXPECT_EQ((Files{"x/scan_001_" + date + ".png", "x/scan_002_" + date + ".png"}), scratch_.Files("out"));
    EXPECT_EQ(Files{"x/broken.pdf"}, scratch_.Files("src")) << "deleted once converted; a failure stays";

    AddSample("groff.pdf", "src/x/second.pdf");
    Int(kKeyEraseLog, 0);
    EXPECT_EQ(kRunSomeFailed, Run(2)) << Log();
    EXPECT_EQ((Files{"x/scan_001_" + date + ".png", "x/scan_002_" + date + ".png", "x/scan_003_" + date + ".png",
                     "x/scan_004_" + date + ".png"}),
              scratch_.Files("out"))
        << "a second run never overwrites the first";
    EXPECT_EQ(2u, Count(Log(), "Job file:")) << "erase_log 0 appends the second run's log";

    // A range beyond the document converts nothing, and the file stays.
    AddSample("groff.pdf", "src/x/short.pdf");  // 5 pages
    Int(kKeyFirstPage, 7);
    Int(kKeyLastPage, 9);
    Int(kKeyEraseLog, 1);
    Run(1);
    EXPECT_EQ((Files{"x/broken.pdf", "x/short.pdf"}), scratch_.Files("src"));
    EXPECT_NE(std::string::npos, Log().find("short.pdf: pages 7 to 9 lie outside the document's 5 page(s)")) << Log();
}

TEST_F(EngineRun, TheFileListIsConvertedOnceThenTheSourceFolderAgain) {
    AddSample("cairo.pdf", "src/folder.pdf");
    AddSample("groff.pdf", "elsewhere/picked one.pdf");
    const std::string list = scratch_.Path("tmp/o.log");
    engine_test::WriteBytes(list, "[FILES]\r\n0=" + scratch_.Path("elsewhere/picked one.pdf") + "\r\n");
    Int(kKeyExtractAll, 0);
    Int(kKeyFirstPage, 1);
    Int(kKeyLastPage, 1);

    EXPECT_EQ(kRunAllConverted, Run(2)) << Log();
    EXPECT_EQ(Files{"picked one_001.png"}, scratch_.Files("out"));
    EXPECT_FALSE(fsys::StampOf(list).exists) << "the selection was for that run";
    EXPECT_EQ(kRunAllConverted, Run(2)) << Log();
    EXPECT_EQ((Files{"folder_001.png", "picked one_001.png"}), scratch_.Files("out"));
}

TEST_F(EngineRun, AnUnwritableTargetLosesNothingAndAnUnknownFormatFailsEachFile) {
    AddSample("cairo.pdf", "src/a.pdf");
    engine_test::WriteBytes(scratch_.Path("blocker"), "a file where a folder should be");
    Text(kKeyTarget, scratch_.Path("blocker/out"));
    Int(kKeyMove, 1);
    Text(kKeyMovePath, scratch_.Path("done"));
    EXPECT_EQ(kRunSomeFailed, Run(2));
    EXPECT_EQ(Files{"a.pdf"}, scratch_.Files("src")) << "a source whose outputs could not be written stays";
    EXPECT_NE(std::string::npos, Log().find("FAILED: the target folder " + scratch_.Path("blocker/out") +
                                            " cannot be created"))
        << Log();

    Text(kKeyTarget, scratch_.Path("out"));
    Int(kKeyImageType, 99);
    Int(kKeyErrorsMove, 1);
    Text(kKeyMoveErrorPath, scratch_.Path("blocker/err"));
    EXPECT_EQ(kRunSomeFailed, Run(2));
    EXPECT_EQ(Files{"a.pdf"}, scratch_.Files("src")) << "an error folder that cannot be made loses nothing";
    EXPECT_NE(std::string::npos, Log().find("FAILED: the output format unknown (image_type 99) cannot be written by "
                                            "this engine yet; the error folder " +
                                            scratch_.Path("blocker/err") + " cannot be created; it stays where it is"))
        << Log();

    Text(kKeyTarget, "");
    EXPECT_EQ(kRunCannotStart, Run(2));
    EXPECT_EQ(Files{"a.pdf"}, scratch_.Files("src"));
}

TEST_F(EngineRun, AStoppedRunLeavesNoPartialOutputAndTouchesNoSourceNotDone) {
    AddSample("long.pdf", "src/long.pdf");  // 720 pages
    AddSample("gs.pdf", "src/z.pdf");
    Int(kKeyDensity, 20);
    Int(kKeyMove, 1);
    Text(kKeyMovePath, scratch_.Path("done"));
    // Stopped once some pages of long.pdf are written: its other pages are
    // still to draw, and z.pdf waits until every page of it is taken.
    std::atomic<unsigned> recorded{0};
    const std::string job = job_;
    const std::string out = scratch_.Path("out");
    EXPECT_EQ(kRunStopped, Run(2, [&] {
                  if (recorded == 0) recorded = ReadJobInt(kKeyProcessId, job.c_str());
                  std::vector<fsys::FolderEntry> written;
                  fsys::ListFolder(out, &written);
                  return written.size() >= 5;
              }));
    EXPECT_EQ(4242u, recorded.load()) << "[PROCESS] ID holds the engine's identifier while it runs";
    EXPECT_EQ((Files{"long.pdf", "z.pdf"}), scratch_.Files("src"));
    EXPECT_EQ(Files{}, scratch_.Files("out")) << "the outputs of an unfinished file are removed";
    EXPECT_NE(std::string::npos, Log().find("long.pdf: stopped before it was converted")) << Log();
}

TEST_F(EngineRun, AHotFolderTakesSteadyFilesOnceAndNeverAFileStillBeingCopied) {
    AddSample("cairo.pdf", "src/ready.pdf");
    engine_test::WriteBytes(scratch_.Path("src/empty.pdf"), "");
    // gs.pdf arrives over one and a half seconds, as a slow copy writes it;
    // taken before it is whole, it would fail as a damaged file.
    const std::string whole = ReadBytes(SamplesFolder() + "/gs.pdf");
    const std::string arriving = scratch_.Path("src/arriving.pdf");
    engine_test::WriteBytes(arriving, whole.substr(0, 100));
    const auto start = std::chrono::steady_clock::now();
    std::mutex copying;
    auto copy = [&] {
        std::lock_guard<std::mutex> hold(copying);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        size_t size = seconds >= 1.5 ? whole.size() : static_cast<size_t>(whole.size() * seconds / 1.5);
        if (size > fsys::StampOf(arriving).size) engine_test::WriteBytes(arriving, whole.substr(0, size));
        return false;
    };
    Int(kKeyScan, 1);
    Int(kKeyScanDelay, 1);
    Int(kKeyScanMinutes, 0);
    Int(kKeyExtractAll, 0);
    Int(kKeyFirstPage, 1);
    Int(kKeyLastPage, 1);
    Int(kKeyErrorsMove, 1);
    Text(kKeyMoveErrorPath, scratch_.Path("err"));
    EXPECT_EQ(kRunAllConverted, Run(2, copy, 7));
    EXPECT_EQ((Files{"arriving_001.png", "ready_001.png"}), scratch_.Files("out"));
    EXPECT_EQ((Files{"arriving.pdf", "empty.pdf", "ready.pdf"}), scratch_.Files("src"))
        << "a file still empty is left for a later scan";
    EXPECT_EQ(Files{}, scratch_.Files("err")) << "no file was taken while it was being copied";
    const std::string log = Log();
    EXPECT_EQ(1u, Count(log, "ready.pdf: pages")) << "converted once, not at every scan\n" << log;
    EXPECT_EQ(1u, Count(log, "arriving.pdf: pages")) << log;
}

}  // namespace
