// The page counter on PDF files made when the test runs (by cairo,
// ghostscript, qpdf's rewrites, incremental updates, damaged and hostile
// variants) and on the PDF files Debian packages ship, against the counts
// poppler's pdfinfo gives; and on hand-made files of shapes those producers
// do not write.
#include "standins/otxtpdf/pdf_pages.h"
#include "standins/otxtpdf/sample_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string ReadWhole(const std::string& path) {
    std::string bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return bytes;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

int CountInMemory(const std::string& pdf) {
    return CountPdfPagesInMemory(reinterpret_cast<const unsigned char*>(pdf.data()), pdf.size());
}

TEST(PdfPages, AgreesWithPdfinfoOnFilesOfOtherProducers) {
    const char* dir = std::getenv("OTXTPDF_SAMPLES");
    ASSERT_NE(nullptr, dir) << "the samples fixture sets OTXTPDF_SAMPLES";
    std::vector<SampleFile> files = ReadSampleList(std::string(dir) + "/expected.tsv");
    ASSERT_GE(files.size(), 30u) << "make_samples.py wrote too few files";
    for (const SampleFile& file : files) {
        int count = CountPdfPages(file.path.c_str());
        EXPECT_TRUE(CountIsExpected(file.expected, count))
            << file.path << " (" << file.how << "): " << count << ", expected " << file.expected;
        // The fuzz target reads from memory: both ways must agree.
        EXPECT_EQ(count, CountInMemory(ReadWhole(file.path))) << file.path;
    }
}

// A classic file from object bodies numbered from 1, its table and trailer.
std::string ClassicFile(const std::vector<std::string>& objects, const std::string& trailerExtra = "") {
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); i++) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R " + trailerExtra +
           ">>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

TEST(PdfPages, CountsTheLeavesOfNestedTreesWhateverTheirCountSays) {
    const std::string page = "<< /Type /Page /Parent 2 0 R >>";
    // Three levels, a leaf without /Type, an inline kid, a /Kids array held
    // in an object of its own, and a wrong /Count at the root.
    std::string pdf = ClassicFile({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 9 >>",
        "<< /Type /Pages /Kids 6 0 R /Count 3 >>",
        "<< /Type /Pages /Kids [5 0 R << /Type /Page >>] /Count 2 >>",
        "<< /Parent 4 0 R /MediaBox [0 0 10 10] >>",
        "[7 0 R 8 0 R 9 0 R]",
        page, page, page});
    EXPECT_EQ(5, CountInMemory(pdf));
    // A single page standing as the whole tree.
    EXPECT_EQ(1, CountInMemory(ClassicFile({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Page >>"})));
}

TEST(PdfPages, RepairsWhatItCanAndRefusesTheRest) {
    std::string pdf = ClassicFile({"<< /Type /Catalog /Pages 2 0 R >>",
                                   "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
                                   "<< /Type /Page /Parent 2 0 R >>", "<< /Type /Page /Parent 2 0 R >>"});
    EXPECT_EQ(2, CountInMemory(pdf));
    // Junk before the header shifts every offset: the scan finds the objects.
    EXPECT_EQ(2, CountInMemory("garbage from a mail gateway\r\n" + pdf));
    // No table at all, not even a trailer: the last catalog is the root.
    std::string noTable = pdf.substr(0, pdf.find("xref"));
    EXPECT_EQ(2, CountInMemory(noTable));
    // No catalog either: the page objects are counted.
    std::string noCatalog = noTable;
    noCatalog.replace(noCatalog.find("/Catalog"), 8, "/Katalog");
    EXPECT_EQ(2, CountInMemory(noCatalog));

    EXPECT_EQ(-1, CountInMemory(""));
    EXPECT_EQ(-1, CountInMemory("%PDF-1.4\n"));
    EXPECT_EQ(-1, CountInMemory(pdf.substr(9)));  // no header
    EXPECT_EQ(-1, CountPdfPages("/no/such/file.pdf"));
    EXPECT_EQ(-1, CountPdfPages(""));
    EXPECT_EQ(-1, CountPdfPages(nullptr));
    EXPECT_EQ(-1, CountPdfPagesInMemory(nullptr, 10));
}

TEST(PdfPages, AbsurdTablesFallBackToTheScan) {
    std::string pdf = ClassicFile({"<< /Type /Catalog /Pages 2 0 R >>",
                                   "<< /Type /Pages /Kids [3 0 R] /Count 1 >>", "<< /Type /Page >>"});
    // A table that claims two thousand million entries.
    std::string claim = pdf;
    claim.replace(claim.find("xref\n0 4"), 9, "xref\n0 2000000000");
    EXPECT_EQ(1, CountInMemory(claim));
    // A cross-reference stream with eight-byte fields and an absurd /Size
    // and /Index, whose data is the page tree in plain text.
    std::string stream = pdf.substr(0, pdf.find("xref"));
    size_t at = stream.size();
    stream += "9 0 obj << /Type /XRef /W [8 8 8] /Size 2147483647 /Index [0 2147483647] /Root 1 0 R /Length 8 >>\n"
              "stream\n\xff\xff\xff\xff\xff\xff\xff\xff\nendstream endobj\nstartxref\n" +
              std::to_string(at) + "\n%%EOF\n";
    EXPECT_EQ(1, CountInMemory(stream));
}

TEST(PdfPages, DeepNestingEndsWithoutExhaustingTheStack) {
    // Arrays nested a hundred thousand deep in the catalog, and a page tree
    // a thousand levels deep.
    std::string deepArray = "<< /Type /Catalog /Pages 2 0 R /Junk " + std::string(100000, '[') + " >>";
    std::vector<std::string> objects = {deepArray, "<< /Type /Pages /Kids [3 0 R] >>"};
    for (int level = 0; level < 1000; level++)
        objects.push_back("<< /Type /Pages /Kids [" + std::to_string(level + 4) + " 0 R] >>");
    objects.push_back("<< /Type /Page >>");
    int count = CountInMemory(ClassicFile(objects));
    EXPECT_TRUE(count == -1 || count == 1) << count;

    // Two hundred nodes that all share one long kids array listing them all:
    // each level would otherwise hold its own copy of the array.
    std::string shared = "[";
    for (int node = 0; node < 200; node++) shared += std::to_string(node + 4) + " 0 R ";
    for (int junk = 0; junk < 300000; junk++) shared += "0 ";
    objects = {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids 3 0 R >>", shared + "]"};
    for (int node = 0; node < 200; node++) objects.push_back("<< /Type /Pages /Kids 3 0 R >>");
    EXPECT_EQ(-1, CountInMemory(ClassicFile(objects)));
}

}  // namespace
