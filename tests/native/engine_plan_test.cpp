// The plan a job file gives the engine, without drawing anything: what each
// key becomes, which pages of a document a run converts, how outputs are
// named and numbered, where they and the sources go, and o.log's list.
#include "engine/plan.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "engine/file_system.h"
#include "job/job_access.h"

namespace {

class Folder {
public:
    Folder() {
        char pattern[] = "/tmp/engine_plan_XXXXXX";
        if (mkdtemp(pattern) != nullptr) path_ = pattern;
    }
    ~Folder() {
        if (!path_.empty()) std::system(("rm -rf '" + path_ + "'").c_str());
    }
    std::string Path(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void Touch(const std::string& path) { std::ofstream(path) << "x"; }

TEST(EnginePlan, AJobFileBecomesThePlanItsFormShows) {
    Folder folder;
    const std::string job = folder.Path("job.ini");
    const char* path = job.c_str();
    WriteJobInt(kKeyImageType, kOutTiff, path);
    WriteJobInt(kKeyDensity, 0, path);
    WriteJobInt(kKeyTiffDpiH, 100, path);
    WriteJobInt(kKeyTiffDpiV, 50, path);
    WriteJobInt(kKeyTiffPixelsInch, 0, path);  // per centimetre
    WriteJobInt(kKeyExtractAll, 0, path);
    WriteJobInt(kKeyFirstPage, 3, path);
    WriteJobInt(kKeyLastPage, 9, path);
    WriteJobText(kKeySource, "/data/in//", path);
    WriteJobText(kKeyTarget, "/data/out", path);
    WriteJobInt(kKeyMove, 1, path);
    WriteJobInt(kKeyDelete, 1, path);
    WriteJobText(kKeyMovePath, "/data/done", path);
    WriteJobInt(kKeyErrorsMove, 1, path);
    WriteJobText(kKeyMoveErrorPath, "", path);
    WriteJobInt(kKeyTargetFileNameType, 1, path);
    WriteJobText(kKeyPrefixFileName, "../evil", path);
    WriteJobInt(kKeyScanDelay, 0, path);
    WriteJobInt(kKeyScanMinutes, 0, path);
    WriteJobGeometry(kKeySize, 640, 480, path);
    WriteJobInt(kKeyShave, 1, path);
    WriteJobGeometry(kKeyShaveGeometry, 5, 7, path);
    WriteJobInt(kKeyColorspace, 1, path);
    WriteJobInt(kKeyPngQuality, 500, path);
    WriteJobInt(kKeyGifTransparency, 1, path);
    WriteJobColour(kKeyGifColor, 0x0000ff, path);
    WriteJobInt(kKeyTxtColumns, 0, path);

    Plan plan = ReadPlan(job);
    EXPECT_EQ(kOutTiff, plan.options.format);
    EXPECT_DOUBLE_EQ(254.0, plan.options.dpiX) << "TIFF resolution per centimetre, drawn per inch";
    EXPECT_DOUBLE_EQ(127.0, plan.options.dpiY);
    EXPECT_FALSE(plan.allPages);
    EXPECT_EQ(3, plan.firstPage);
    EXPECT_EQ(9, plan.lastPage);
    EXPECT_EQ("/data/in", plan.source) << "trailing separators go";
    EXPECT_EQ("/data/out", plan.target);
    EXPECT_TRUE(plan.moveSource);
    EXPECT_FALSE(plan.deleteSource) << "moving keeps the file, so it wins over deleting";
    EXPECT_FALSE(plan.moveFailures) << "no error folder: failures stay";
    EXPECT_FALSE(plan.prefixNames) << "a prefix naming another folder is refused";
    EXPECT_EQ(1, plan.scanSeconds) << "at least a second between scans";
    EXPECT_EQ(640, plan.options.operations.resizeWidth);
    EXPECT_EQ(480, plan.options.operations.resizeHeight);
    EXPECT_EQ(5, plan.options.operations.shaveWidth);
    EXPECT_EQ(7, plan.options.operations.shaveHeight);
    EXPECT_EQ(kSpaceGray, plan.options.operations.colourSpace);
    EXPECT_EQ(99, plan.options.pngQuality);
    EXPECT_EQ(0x0000ffu, plan.options.gifColour);
    EXPECT_EQ(80, plan.options.txtColumns);

    // A job of nothing but defaults: DCX, all pages, 72 dpi, log replaced.
    const std::string empty = folder.Path("empty.ini");
    Plan defaults = ReadPlan(empty);
    EXPECT_EQ(kOutDcx, defaults.options.format);
    EXPECT_TRUE(defaults.allPages);
    EXPECT_DOUBLE_EQ(72.0, defaults.options.dpiX);
    EXPECT_TRUE(defaults.eraseLog);
    EXPECT_FALSE(defaults.scan);
    EXPECT_EQ(60, defaults.scanSeconds) << "scan_delay 0 in minutes: one minute";

    WriteJobInt(kKeyDensity, 300, path);
    WriteJobInt(kKeyTiffPixelsInch, 1, path);
    EXPECT_DOUBLE_EQ(300.0, ReadPlan(job).options.dpiX) << "density above 0 wins over the TIFF resolution";
}

TEST(EnginePlan, PageRangesAreClampedToTheDocument) {
    Plan plan;
    plan.allPages = false;
    struct Case {
        int first, last, count, wantFirst, wantLast;
    } cases[] = {
        {3, 9, 12, 3, 9}, {3, 9, 5, 3, 5},  {0, 0, 4, 1, 4},   {-1, -1, 4, 1, 4}, {2, 0, 4, 2, 4},
        {6, 9, 5, 6, 5},  {5, 2, 9, 5, 2},  {1, 1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        plan.firstPage = c.first;
        plan.lastPage = c.last;
        PageSpan span = PagesToConvert(plan, c.count);
        EXPECT_EQ(c.wantFirst, span.first) << c.first << ".." << c.last << " of " << c.count;
        EXPECT_EQ(c.wantLast, span.last) << c.first << ".." << c.last << " of " << c.count;
    }
    plan.firstPage = 6;
    plan.lastPage = 9;
    EXPECT_TRUE(PagesToConvert(plan, 5).Empty()) << "a range beyond the document converts nothing";
    plan.allPages = true;
    EXPECT_EQ(5, PagesToConvert(plan, 5).Count());
}

TEST(EnginePlan, NamesNumbersAndFolders) {
    EXPECT_EQ("report_001.png", OutputName("report", 1, "", "png"));
    EXPECT_EQ("report_1234_20261208.jpg", OutputName("report", 1234, "20261208", "jpg"));
    EXPECT_EQ("report.txt", OutputName("report", 0, "", "txt"));
    EXPECT_EQ("scan_007_bbox_20261208.txt", OutputName("scan", 7, "20261208", "txt", "_bbox"));

    EXPECT_EQ(12, HighestPrefixNumber({"Scan_012.PNG", "scan_003_20261208.png", "scan_999.jpg", "scanx_500.png",
                                       "scan_abc.png", "scan_044.png.part", "other.png"},
                                      "scan", "png"));
    EXPECT_EQ(0, HighestPrefixNumber({}, "scan", "png"));

    EXPECT_EQ("a/b", ReproducedPart("/src/a/b/x.pdf", "/src", true));
    EXPECT_EQ("", ReproducedPart("/src/x.pdf", "/src/", true));
    EXPECT_EQ("src/a/b", ReproducedPart("/src/a/b/x.pdf", "/src", false));
    EXPECT_EQ("elsewhere", ReproducedPart("/elsewhere/x.pdf", "/src", true)) << "a listed file outside the source";
    EXPECT_EQ("srcdir", ReproducedPart("/srcdir/x.pdf", "/src", true)) << "a sibling is not below the source";

    Plan plan;
    plan.source = "/src";
    plan.target = "/out";
    plan.movePath = "/done";
    EXPECT_EQ("/out", OutputFolderFor(plan, "/src/a/x.pdf"));
    plan.reproducePath = true;
    EXPECT_EQ("/out/src/a", OutputFolderFor(plan, "/src/a/x.pdf"));
    plan.reproduceFromRoot = true;
    EXPECT_EQ("/out/a", OutputFolderFor(plan, "/src/a/x.pdf"));
    plan.reproduceInMove = true;
    plan.moveFromRoot = true;
    EXPECT_EQ("/done/a", MoveFolderFor(plan, "/src/a/x.pdf"));

    // Two sources with one name: the later gets a distinct base; the same
    // source again keeps its own, so a re-run replaces its outputs.
    NameBook book;
    EXPECT_EQ("a", book.BaseFor("/out", "/src/one/a.pdf"));
    EXPECT_EQ("A-2", book.BaseFor("/out", "/src/two/A.PDF")) << "names are compared without regard to case";
    EXPECT_EQ("a", book.BaseFor("/out", "/src/one/a.pdf"));
    EXPECT_EQ("A", book.BaseFor("/out/two", "/src/two/A.PDF"));

    // Prefix numbers follow the highest already in the folder, across calls.
    Folder out;
    Touch(out.Path("scan_004.png"));
    Touch(out.Path("scan_002_20200101.png"));
    EXPECT_EQ(5, book.TakeNumbers(out.path(), "scan", "png", 3));
    EXPECT_EQ(8, book.TakeNumbers(out.path(), "scan", "png", 1));
}

TEST(EnginePlan, FileListAndFolderListing) {
    EXPECT_EQ((std::vector<std::string>{"C:\\a b\\x.pdf", "/y.pdf"}),
              ParseFileList("[FILES]\r\n0=C:\\a b\\x.pdf\r\n1=/y.pdf\r\n3=/after-a-gap.pdf\r\n"));
    EXPECT_EQ((std::vector<std::string>{"/first.pdf"}),
              ParseFileList("[OTHER]\n0=/no.pdf\n[files]\n0=/first.pdf\n0=/again.pdf\nx=1\n"));
    EXPECT_TRUE(ParseFileList("0=/no-section.pdf\n").empty());
    EXPECT_TRUE(ParseFileList(std::string("\0\0[FILES", 8)).empty());

    Folder tree;
    fsys::MakeFolders(tree.Path("sub/deeper"));
    fsys::MakeFolders(tree.Path("out"));
    fsys::MakeFolders(tree.Path(".hidden"));
    for (const char* name : {"b.PDF", "a.pdf", "notes.txt", "pdf", ".dot.pdf", "sub/c.pdf", "sub/deeper/d.Pdf",
                             "out/result.pdf", ".hidden/e.pdf"})
        Touch(tree.Path(name));
    EXPECT_EQ((std::vector<std::string>{tree.Path("a.pdf"), tree.Path("b.PDF")}), PdfFilesIn(tree.path(), false));
    EXPECT_EQ((std::vector<std::string>{tree.Path("a.pdf"), tree.Path("b.PDF"), tree.Path("sub/c.pdf"),
                                        tree.Path("sub/deeper/d.Pdf")}),
              PdfFilesIn(tree.path(), true, {tree.Path("out")}));
    // A folder link that loops ends at a depth limit, not in a crash.
    ASSERT_EQ(0, symlink(tree.path().c_str(), tree.Path("sub/loop").c_str()));
    EXPECT_GT(PdfFilesIn(tree.path(), true, {tree.Path("out")}).size(), 4u);
}

}  // namespace
