// The page counter on PDF files made when the test runs (by cairo,
// ghostscript, qpdf's rewrites, incremental updates, damaged and hostile
// variants) and on the PDF files Debian packages ship, against the counts
// poppler's pdfinfo gives; on hand-made files of shapes those producers do
// not write; and the decryption primitives on their published test vectors.
#include "standins/otxtpdf/pdf_crypt.h"
#include "standins/otxtpdf/pdf_pages.h"
#include "standins/otxtpdf/sample_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The whole file, when it is small enough to hold (false otherwise).
bool ReadWhole(const std::string& path, std::string& bytes) {
    bytes.clear();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && bytes.size() < (64u << 20)) bytes.append(chunk, got);
    bool whole = std::feof(file) != 0;
    std::fclose(file);
    return whole;
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
        bool repaired = false;
        int count = CountPdfPages(file.path.c_str(), &repaired);
        EXPECT_TRUE(CountIsExpected(file.expected, count))
            << file.path << " (" << file.how << "): " << count << ", expected " << file.expected;
        // The repair scan must not hide a fault of the cross-reference
        // reading: intact files count without it.
        if (file.repair != "-") {
            EXPECT_EQ(file.repair == "damaged", repaired) << file.path << " (" << file.how << ")";
        }
        // The fuzz target reads from memory: both ways must agree.
        std::string bytes;
        if (ReadWhole(file.path, bytes)) {
            EXPECT_EQ(count, CountInMemory(bytes)) << file.path;
        }
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
    // An update appended a newer catalog whose tree drops a page; with no
    // table and no trailer left, the newest catalog is the root.
    std::string updated = noTable + "5 0 obj\n<< /Type /Catalog /Pages 6 0 R >>\nendobj\n"
                                    "6 0 obj\n<< /Type /Pages /Kids [3 0 R] /Count 1 >>\nendobj\n";
    EXPECT_EQ(1, CountInMemory(updated));
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

    // A stream of more entries than the object table takes, all pointing at
    // object 1: the table stops growing, and the mismatches send the count
    // to the scan.
    std::string many = pdf.substr(0, pdf.find("xref"));
    at = many.size();
    std::string entries;
    for (int i = 0; i < 2100000; i++) entries += std::string("\x01\x00\x00\x00\x09", 5);
    many += "9 0 obj << /Type /XRef /W [1 4 0] /Index [0 2100000] /Root 1 0 R /Length " +
            std::to_string(entries.size()) + " >>\nstream\n" + entries + "\nendstream endobj\nstartxref\n" +
            std::to_string(at) + "\n%%EOF\n";
    bool repaired = false;
    EXPECT_EQ(1, CountPdfPagesInMemory(reinterpret_cast<const unsigned char*>(many.data()), many.size(), &repaired));
    EXPECT_TRUE(repaired);
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

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

std::string Bytes(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

TEST(PdfCrypt, PrimitivesGiveThePublishedAnswers) {
    EXPECT_EQ("d41d8cd98f00b204e9800998ecf8427e", Hex(Md5("")));
    EXPECT_EQ("9e107d9d372bb6826bd81d3542a419d6", Hex(Md5("The quick brown fox jumps over the lazy dog")));
    EXPECT_EQ("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", Hex(Sha2("abc", 256)));
    EXPECT_EQ("cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed"
              "8086072ba1e7cc2358baeca134c825a7", Hex(Sha2("abc", 384)));
    EXPECT_EQ("ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
              "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f", Hex(Sha2("abc", 512)));
    // Two blocks: the padding crosses into the second.
    EXPECT_EQ("248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1",
              Hex(Sha2("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 256)));
    std::string text = "Plaintext";
    Rc4("Key", text);
    EXPECT_EQ("bbf316e8d940af0ad3", Hex(text));

    // AES, FIPS-197 appendix C, as one CBC block under a zero IV.
    std::string plain = Bytes("00112233445566778899aabbccddeeff");
    std::string zero(16, '\0');
    std::string key128 = Bytes("000102030405060708090a0b0c0d0e0f");
    std::string key256 = Bytes("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
    EXPECT_EQ("69c4e0d86a7b0430d8cdb78070b4c55a", Hex(AesCbcEncrypt(key128, zero, plain)));
    std::string cipher = zero + Bytes("8ea2b7ca516745bfeafc49904b496089");
    ASSERT_TRUE(AesCbcDecrypt(key256, cipher, false));
    EXPECT_EQ(Hex(plain), Hex(cipher));
    // Padding removed; data that is not whole blocks refused.
    std::string padded = zero + AesCbcEncrypt(key128, zero, "fifteen bytes!!" + std::string(1, '\1'));
    ASSERT_TRUE(AesCbcDecrypt(key128, padded, true));
    EXPECT_EQ("fifteen bytes!!", padded);
    std::string ragged(20, 'x');
    EXPECT_FALSE(AesCbcDecrypt(key128, ragged, true));
}

}  // namespace
