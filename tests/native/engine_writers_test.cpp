// The BMP, GIF, TIFF, text and bounding box writers and the information
// table, each output read back by an independent reader: ImageMagick and
// tiffinfo for pictures (or a plain parse of the header), pdftotext, pdfinfo
// and ghostscript's bbox device for what comes from a PDF. The PDFs are made
// here from PostScript with ghostscript.
#include <gtest/gtest.h>

#include <GlobalParams.h>
#include <PDFDoc.h>
#include <goo/GooString.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/formats.h"
#include "engine/infos.h"
#include "engine/picture.h"
#include "engine/writer_txt.h"

namespace fs = std::filesystem;

namespace {

class PopplerEnvironment : public testing::Environment {
public:
    void SetUp() override { globalParams = std::make_unique<GlobalParams>(); }
    void TearDown() override { globalParams.reset(); }
};
testing::Environment* const kPoppler = testing::AddGlobalTestEnvironment(new PopplerEnvironment);

std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
    return out;
}

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

fs::path MakeFolder(const std::string& name) {
    fs::path dir = fs::temp_directory_path() / ("zandrix_writers_" + name + "_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Writes the pictures (or, with none, the document's pages) through the
// format's writer, as the engine's run does.
bool WriteOutput(const OutputOptions& options, const fs::path& path, PDFDoc* document,
                 const std::vector<const Picture*>& pictures, std::string* error) {
    const FormatEntry* entry = FindFormat(options.format);
    if (!entry || !entry->make) return false;
    std::unique_ptr<Writer> writer = entry->make(options);
    if (!writer->Begin(path.string(), document, error)) return false;
    if (pictures.empty()) {
        for (int n = 1; n <= document->getNumPages(); ++n) {
            PageInput page;
            page.number = n;
            page.document = document;
            if (!writer->AddPage(page, error)) return false;
        }
    } else {
        int n = 1;
        for (const Picture* picture : pictures) {
            PageInput page;
            page.number = n++;
            page.picture = picture;
            page.document = document;
            if (!writer->AddPage(page, error)) return false;
        }
    }
    return writer->End(error);
}

void SetRgb(Picture* p, int x, int y, int r, int g, int b) {
    uint8_t* px = p->Row(y) + x * 3;
    px[0] = static_cast<uint8_t>(r);
    px[1] = static_cast<uint8_t>(g);
    px[2] = static_cast<uint8_t>(b);
}

// An odd-sized page: four flat colours above a band of many colours (a
// smooth gradient with thousands of values), at 150 by 300 dpi.
Picture ManyColours() {
    Picture p;
    p.Reset(151, 101, 3, 255);
    p.dpiX = 150;
    p.dpiY = 300;
    const int flat[4][3] = {{200, 30, 40}, {20, 120, 220}, {250, 250, 250}, {12, 12, 12}};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            if (y < 50) {
                const int* c = flat[(x * 4) / p.width];
                SetRgb(&p, x, y, c[0], c[1], c[2]);
            } else {
                SetRgb(&p, x, y, x * 255 / 150, (y - 50) * 5, (x + y) % 256);
            }
        }
    return p;
}

// A page of five colours in short runs and single pixels (what RLE8 and
// GIF's exact palette must keep).
Picture FewColours() {
    Picture p;
    p.Reset(37, 23, 3, 255);
    const int colours[5][3] = {{0, 0, 0}, {255, 255, 255}, {10, 20, 30}, {11, 20, 30}, {250, 128, 5}};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            int i = (x / (1 + y % 3) + y) % 5;
            SetRgb(&p, x, y, colours[i][0], colours[i][1], colours[i][2]);
        }
    return p;
}

Picture GreyRamp() {
    Picture p;
    p.Reset(70, 9, 1, 255);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.Row(y)[x] = static_cast<uint8_t>((x * 255 / 69 + y * 7) % 256);
    return p;
}

// The picture as RGB bytes (grey repeated; CMYK plainly converted).
std::vector<uint8_t> AsRgb(const Picture& p) {
    std::vector<uint8_t> out;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const uint8_t* px = p.Row(y) + x * p.channels;
            for (int c = 0; c < 3; ++c) {
                if (p.channels == 1) {
                    out.push_back(px[0]);
                } else if (p.channels == 3) {
                    out.push_back(px[c]);
                } else {
                    out.push_back(static_cast<uint8_t>(255 - std::min(255, px[c] + px[3])));
                }
            }
        }
    return out;
}

// What ImageMagick decodes: RGB or RGBA bytes of one frame.
std::vector<uint8_t> Decode(const fs::path& path, const char* form, int frame = 0) {
    std::string bytes = Shell("/usr/bin/convert " + Quote(path.string() + "[" + std::to_string(frame) + "]") +
                            " -depth 8 " + form + ":- 2>/dev/null");
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

uint32_t Le32(const std::string& b, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
                                 static_cast<unsigned char>(b[at + 2]) << 16 |
                                 static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24);
}
unsigned Le16(const std::string& b, size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

// Largest and mean difference between two RGB buffers of one size.
void Difference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int* largest, double* mean) {
    *largest = 0;
    double sum = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        int d = std::abs(int{a[i]} - int{b[i]});
        *largest = std::max(*largest, d);
        sum += d;
    }
    *mean = a.empty() ? 0 : sum / static_cast<double>(a.size());
}

// Whether every pixel of the flat upper half came back exactly.
bool FlatHalfExact(const Picture& p, const std::vector<uint8_t>& decoded) {
    std::vector<uint8_t> want = AsRgb(p);
    const size_t half = static_cast<size_t>(50) * static_cast<size_t>(p.width) * 3;
    if (decoded.size() != want.size()) return false;
    return std::equal(want.begin(), want.begin() + static_cast<long>(half), decoded.begin());
}

TEST(BmpWriter, EachTypeIsReadBackAsWritten) {
    fs::path dir = MakeFolder("bmp");
    const Picture many = ManyColours();
    const Picture few = FewColours();
    const Picture grey = GreyRamp();
    OutputOptions options;
    options.format = kOutBmp;
    std::string error;

    // 24 bits: exact pixels, rows padded, resolution in pixels per metre.
    options.bmpType = 2;
    ASSERT_TRUE(WriteOutput(options, dir / "a.bmp", nullptr, {&many}, &error)) << error;
    std::string bytes = ReadBytes(dir / "a.bmp");
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(Le32(bytes, 2), bytes.size());
    EXPECT_EQ(Le16(bytes, 28), 24u);
    EXPECT_EQ(Le32(bytes, 30), 0u);
    EXPECT_EQ(Le32(bytes, 38), 5906u);   // 150 dpi
    EXPECT_EQ(Le32(bytes, 42), 11811u);  // 300 dpi
    EXPECT_EQ(bytes.size(), 54u + static_cast<size_t>(101) * 456);
    EXPECT_EQ(Decode(dir / "a.bmp", "rgb"), AsRgb(many));

    // 256 colours, RLE8 and plain: a page of five colours comes back exactly.
    options.bmpType = 1;
    for (bool compress : {true, false}) {
        options.bmpCompress = compress;
        fs::path path = dir / (compress ? "rle.bmp" : "plain.bmp");
        ASSERT_TRUE(WriteOutput(options, path, nullptr, {&few}, &error)) << error;
        bytes = ReadBytes(path);
        EXPECT_EQ(Le16(bytes, 28), 8u);
        EXPECT_EQ(Le32(bytes, 30), compress ? 1u : 0u);
        EXPECT_EQ(Le32(bytes, 46), 5u) << "palette entries";
        EXPECT_EQ(Le32(bytes, 34), bytes.size() - Le32(bytes, 10)) << "image size";
        EXPECT_EQ(Decode(path, "rgb"), AsRgb(few)) << path;
    }

    // 256 colours from thousands: flat colours exact, the gradient close.
    options.bmpCompress = true;
    ASSERT_TRUE(WriteOutput(options, dir / "many.bmp", nullptr, {&many}, &error)) << error;
    std::vector<uint8_t> decoded = Decode(dir / "many.bmp", "rgb");
    EXPECT_TRUE(FlatHalfExact(many, decoded));
    int largest;
    double mean;
    Difference(decoded, AsRgb(many), &largest, &mean);
    EXPECT_LT(mean, 2.0);
    EXPECT_LT(largest, 24);

    // One bit: darker than mid-grey is black, the rest white.
    options.bmpType = 0;
    ASSERT_TRUE(WriteOutput(options, dir / "bw.bmp", nullptr, {&grey}, &error)) << error;
    bytes = ReadBytes(dir / "bw.bmp");
    EXPECT_EQ(Le16(bytes, 28), 1u);
    EXPECT_EQ(Le32(bytes, 30), 0u);
    decoded = Decode(dir / "bw.bmp", "gray");
    ASSERT_EQ(decoded.size(), grey.pixels.size());
    for (size_t i = 0; i < decoded.size(); ++i)
        ASSERT_EQ(decoded[i], grey.pixels[i] < 128 ? 0 : 255) << "pixel " << i;

    // A picture that does not hold what its size says is refused.
    Picture broken = few;
    broken.pixels.resize(10);
    EXPECT_FALSE(WriteOutput(options, dir / "broken.bmp", nullptr, {&broken}, &error));
    fs::remove_all(dir);
}

TEST(GifWriter, ExactColoursTransparencyInterlaceAndVersion) {
    fs::path dir = MakeFolder("gif");
    const Picture few = FewColours();
    OutputOptions options;
    options.format = kOutGif;
    options.gifInterlace = true;
    options.gifTransparency = true;
    options.gifColour = 0x1E140A;  // red 10, green 20, blue 30
    std::string error;

    ASSERT_TRUE(WriteOutput(options, dir / "t.gif", nullptr, {&few}, &error)) << error;
    std::string bytes = ReadBytes(dir / "t.gif");
    EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
    std::string info = Shell("/usr/bin/identify -format '%w %h %[interlace]' " + Quote(dir / "t.gif"));
    EXPECT_EQ(info, "37 23 GIF");
    std::vector<uint8_t> rgba = Decode(dir / "t.gif", "rgba");
    std::vector<uint8_t> rgb = AsRgb(few);
    ASSERT_EQ(rgba.size(), rgb.size() / 3 * 4);
    int transparent = 0;
    for (size_t i = 0; i < rgb.size() / 3; ++i) {
        const bool chosen = rgb[i * 3] == 10 && rgb[i * 3 + 1] == 20 && rgb[i * 3 + 2] == 30;
        // Only the exact colour is transparent, not its neighbour 11,20,30.
        ASSERT_EQ(rgba[i * 4 + 3], chosen ? 0 : 255) << "pixel " << i;
        transparent += chosen;
        if (!chosen) {
            for (int c = 0; c < 3; ++c) ASSERT_EQ(rgba[i * 4 + c], rgb[i * 3 + c]) << "pixel " << i;
        }
    }
    EXPECT_GT(transparent, 0);

    // GIF87a has no transparency and no interlace asked.
    options.gif87a = true;
    options.gifInterlace = false;
    ASSERT_TRUE(WriteOutput(options, dir / "old.gif", nullptr, {&few}, &error)) << error;
    EXPECT_EQ(ReadBytes(dir / "old.gif").substr(0, 6), "GIF87a");
    EXPECT_EQ(Shell("/usr/bin/identify -format '%[interlace]' " + Quote(dir / "old.gif")), "None");
    EXPECT_EQ(Decode(dir / "old.gif", "rgb"), rgb);

    // Thousands of colours and a transparent colour among them: flat colours
    // exact, only the exact transparent colour transparent.
    Picture many = ManyColours();
    SetRgb(&many, 3, 70, 10, 20, 30);
    SetRgb(&many, 4, 70, 11, 20, 30);
    options.gif87a = false;
    ASSERT_TRUE(WriteOutput(options, dir / "many.gif", nullptr, {&many}, &error)) << error;
    rgba = Decode(dir / "many.gif", "rgba");
    rgb.clear();
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgb.insert(rgb.end(), rgba.begin() + static_cast<long>(i), rgba.begin() + static_cast<long>(i) + 3);
        const size_t pixel = i / 4;
        EXPECT_EQ(rgba[i + 3], pixel == static_cast<size_t>(70 * 151 + 3) ? 0 : 255) << "pixel " << pixel;
    }
    EXPECT_TRUE(FlatHalfExact(many, rgb));
    int largest;
    double mean;
    std::vector<uint8_t> want = AsRgb(many);
    for (int c = 0; c < 3; ++c) rgb[(70 * 151 + 3) * 3 + c] = want[(70 * 151 + 3) * 3 + c];
    Difference(rgb, want, &largest, &mean);
    EXPECT_LT(mean, 2.0);
    EXPECT_LT(largest, 24);
    fs::remove_all(dir);
}

std::string TiffInfo(const fs::path& path) { return Shell("tiffinfo " + Quote(path) + " 2>&1"); }

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

TEST(TiffWriter, CompressionsPixelsTagsAndPages) {
    fs::path dir = MakeFolder("tiff");
    const Picture many = ManyColours();
    const Picture grey = GreyRamp();
    OutputOptions options;
    options.format = kOutTiff;
    std::string error;

    const char* schemes[] = {"None", "CCITT Group 3", "CCITT Group 4", "JPEG", "PackBits", "AdobeDeflate"};
    for (int compress = 0; compress <= 5; ++compress) {
        options.tiffCompress = compress;
        fs::path path = dir / ("c" + std::to_string(compress) + ".tif");
        ASSERT_TRUE(WriteOutput(options, path, nullptr, {&many}, &error)) << error;
        std::string info = TiffInfo(path);
        EXPECT_NE(info.find(std::string("Compression Scheme: ") + schemes[compress] + "\n"), std::string::npos) << info;
        EXPECT_NE(info.find("Image Width: 151 Image Length: 101"), std::string::npos) << info;
        EXPECT_NE(info.find("Resolution: 150, 300 pixels/inch"), std::string::npos) << info;
        EXPECT_EQ(Count(info, "TIFF Directory"), 1);
        std::vector<uint8_t> decoded = Decode(path, "rgb");
        if (compress == 1 || compress == 2) {
            EXPECT_NE(info.find("Bits/Sample: 1"), std::string::npos) << info;
            std::vector<uint8_t> want = AsRgb(many);
            ASSERT_EQ(decoded.size(), want.size());
            for (size_t i = 0; i < want.size(); i += 3) {
                const bool black = 299 * want[i] + 587 * want[i + 1] + 114 * want[i + 2] < 128000;
                ASSERT_EQ(decoded[i], black ? 0 : 255) << "pixel " << i / 3;
            }
        } else if (compress == 3) {
            int largest;
            double mean;
            Difference(decoded, AsRgb(many), &largest, &mean);
            EXPECT_LT(mean, 6.0);
        } else {
            EXPECT_NE(info.find("Bits/Sample: 8"), std::string::npos) << info;
            EXPECT_EQ(decoded, AsRgb(many)) << schemes[compress];
        }
    }

    // One file of three pages: RGB, grey and CMYK kept as such, the text tags.
    Picture cmyk;
    cmyk.Reset(20, 10, 4, 0);
    for (size_t i = 0; i < cmyk.pixels.size(); ++i) cmyk.pixels[i] = static_cast<uint8_t>(i * 7);
    options.tiffCompress = 5;
    options.tiffAdjoin = true;
    options.tiffAuthor = "Ann Author";
    options.tiffCopyright = "(c) Someone";
    options.tiffComment = "A comment, with words";
    ASSERT_TRUE(WriteOutput(options, dir / "all.tif", nullptr, {&many, &grey, &cmyk}, &error)) << error;
    std::string info = TiffInfo(dir / "all.tif");
    EXPECT_EQ(Count(info, "TIFF Directory"), 3) << info;
    EXPECT_EQ(Count(info, "Artist: Ann Author\n"), 3) << info;
    EXPECT_EQ(Count(info, "Copyright: (c) Someone\n"), 3) << info;
    EXPECT_EQ(Count(info, "ImageDescription: A comment, with words\n"), 3) << info;
    EXPECT_NE(info.find("Photometric Interpretation: RGB color"), std::string::npos);
    EXPECT_NE(info.find("Photometric Interpretation: min-is-black"), std::string::npos);
    EXPECT_NE(info.find("Photometric Interpretation: separated"), std::string::npos);
    EXPECT_EQ(Shell("/usr/bin/identify -format '%w %h %[colorspace]\\n' " + Quote(dir / "all.tif")),
              "151 101 sRGB\n70 9 Gray\n20 10 CMYK\n");
    EXPECT_EQ(Decode(dir / "all.tif", "gray", 1), grey.pixels);
    std::string cmykBytes = Shell("/usr/bin/convert " + Quote((dir / "all.tif").string() + "[2]") + " -depth 8 cmyk:-");
    EXPECT_EQ(std::vector<uint8_t>(cmykBytes.begin(), cmykBytes.end()), cmyk.pixels);

    // A bilevel picture stays one bit under PackBits.
    Picture bilevel = grey;
    for (uint8_t& v : bilevel.pixels) v = v < 128 ? 0 : 255;
    bilevel.bilevel = true;
    options.tiffCompress = 4;
    options.tiffAdjoin = false;
    ASSERT_TRUE(WriteOutput(options, dir / "bw.tif", nullptr, {&bilevel}, &error)) << error;
    info = TiffInfo(dir / "bw.tif");
    EXPECT_NE(info.find("Bits/Sample: 1"), std::string::npos) << info;
    EXPECT_EQ(Decode(dir / "bw.tif", "gray"), bilevel.pixels);

    // A folder that does not exist: a failure with a reason, not a crash.
    EXPECT_FALSE(WriteOutput(options, dir / "missing" / "x.tif", nullptr, {&bilevel}, &error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
    fs::remove_all(dir);
}

// A one-page PDF with the given media box and page content, its cross
// reference table counted out here.
std::string OnePagePdf(const std::string& mediaBox, const std::string& content) {
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [" + mediaBox +
            "] /Contents 4 0 R /Resources << /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> >> >> >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream",
    };
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

// PDFs made once for the document tests.
class DocumentTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new fs::path(MakeFolder("documents"));
        // Three pages: text with characters inside and outside Windows-1252,
        // a stroked line, two columns; a long line and a grey box; nothing.
        WriteText(*dir_ / "t.ps", R"PS(%!PS
[ /Title (Report, "final") /Author (=1+1) /Subject (Tests) /Keywords (a b) /Creator (maker)
  /CreationDate (D:20230102030405+02'00') /ModDate (D:20240506070809Z) /DOCINFO pdfmark
/NimbusSans-Regular findfont dup length dict begin { 1 index /FID ne { def } { pop pop } ifelse } forall
/Encoding ISOLatin1Encoding 256 array copy dup 128 /Euro put def currentdict end /Latin exch definefont pop
/Latin findfont 12 scalefont setfont
72 720 moveto (Hello world, first line of the page) show
72 700 moveto (Second line: caf\351 costs 5 \200 and a<b&c) show
/Symbol findfont 12 scalefont setfont 72 680 moveto (a b) show
/Latin findfont 12 scalefont setfont
300 500 moveto (Right column text) show
newpath 100 100 moveto 200 150 lineto 10 setlinewidth stroke
showpage
/Latin findfont 12 scalefont setfont
72 720 moveto (Page two has a long line of words that will be wrapped by the columns option of the writer) show
0.5 setgray 50 60 200 100 rectfill
showpage
showpage
)PS");
        // Shapes only, on a letter page: boxes the two readers must agree on.
        WriteText(*dir_ / "shapes.ps", R"PS(%!PS
<< /PageSize [612 792] >> setpagedevice
0 0 1 setrgbcolor 100.5 200.25 300 150 rectfill
showpage
<< /PageSize [612 792] >> setpagedevice
newpath 50 50 moveto 500 700 lineto 4 setlinewidth stroke
newpath 300 300 40 0 360 arc fill
showpage
)PS");
        for (const char* name : {"t", "shapes"}) {
            const std::string base = (*dir_ / name).string();
            Shell("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile=" + Quote(base + ".pdf") + " " +
                  Quote(base + ".ps") + " 2>&1");
        }
        // A media box away from the origin; marks partly and wholly off the
        // page, a large fill cut down by a clip path, invisible text.
        WriteText(*dir_ / "clipped.pdf",
                  OnePagePdf("100 200 500 700", "0 0 1 rg 160 300 100 50 re f 90 100 20 20 re f 480 600 40 40 re f\n"
                                                "q 110 640 20 20 re W n 0 0 1000 1000 re f Q\n"
                                                "BT 3 Tr /F1 12 Tf 420 680 Td (hidden) Tj ET"));
        // The shapes again, the first page turned a quarter by its /Rotate.
        Shell("qpdf --rotate=+90:1 " + Quote(*dir_ / "shapes.pdf") + " " + Quote(*dir_ / "turned.pdf"));
    }
    static void TearDownTestSuite() {
        fs::remove_all(*dir_);
        delete dir_;
    }
    static std::unique_ptr<PDFDoc> Open(const fs::path& path, const char* password = nullptr) {
        std::optional<GooString> pw;
        if (password) pw = GooString(password);
        auto doc = std::make_unique<PDFDoc>(std::make_unique<GooString>(path.string()), pw, pw);
        EXPECT_TRUE(doc->isOk()) << path;
        return doc;
    }
    static fs::path* dir_;
};
fs::path* DocumentTest::dir_ = nullptr;

std::string WithoutCr(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

TEST_F(DocumentTest, TextMatchesPdftotextInEachMode) {
    auto doc = Open(*dir_ / "t.pdf");
    OutputOptions options;
    options.format = kOutTxt;
    options.txtType = 1;  // UTF-8, to compare with pdftotext byte for byte
    options.txtColumns = 0;
    std::string error;
    const fs::path pdf = *dir_ / "t.pdf";

    options.txtRaw = 1;
    ASSERT_TRUE(WriteOutput(options, *dir_ / "raw.txt", doc.get(), {}, &error)) << error;
    std::string raw = ReadBytes(*dir_ / "raw.txt");
    EXPECT_EQ(WithoutCr(raw), Shell("pdftotext -raw " + Quote(pdf) + " -"));
    EXPECT_EQ(Count(raw, "\n"), Count(raw, "\r\n")) << "every line ends with CR LF";
    EXPECT_EQ(Count(raw, "\f"), 3);

    options.txtRaw = 0;
    ASSERT_TRUE(WriteOutput(options, *dir_ / "layout.txt", doc.get(), {}, &error)) << error;
    EXPECT_EQ(WithoutCr(ReadBytes(*dir_ / "layout.txt")), Shell("pdftotext -layout " + Quote(pdf) + " -"));

    // MS-Dos: Windows-1252, '?' for the Greek letters it lacks, no page marks.
    options.txtRaw = 1;
    options.txtType = 0;
    options.txtMarkPageBreaks = false;
    ASSERT_TRUE(WriteOutput(options, *dir_ / "dos.txt", doc.get(), {}, &error)) << error;
    std::string dos = ReadBytes(*dir_ / "dos.txt");
    EXPECT_NE(dos.find("Second line: caf\xE9 costs 5 \x80 and a<b&c\r\n? ?\r\n"), std::string::npos) << dos;
    EXPECT_EQ(dos.find('\f'), std::string::npos);

    // Columns: no line longer than 30, the same words in the same order.
    options.txtType = 1;
    options.txtColumns = 30;
    options.txtMarkPageBreaks = true;
    ASSERT_TRUE(WriteOutput(options, *dir_ / "wrapped.txt", doc.get(), {}, &error)) << error;
    std::string wrapped = WithoutCr(ReadBytes(*dir_ / "wrapped.txt"));
    std::istringstream lines(wrapped);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        size_t chars = 0;
        for (unsigned char c : line) chars += (c & 0xC0) != 0x80 && c != '\f';
        EXPECT_LE(chars, 30u) << line;
    }
    EXPECT_GT(count, Count(raw, "\n"));
    const auto words = [](const std::string& text) {
        std::vector<std::string> out;
        std::istringstream in(text);
        std::string w;
        while (in >> w) out.push_back(w);
        return out;
    };
    EXPECT_EQ(words(wrapped), words(WithoutCr(raw)));
    EXPECT_EQ(WrapLines("abcdefghij klm", 4), "abcd\nefgh\nij\nklm");

    // HTML: a page in UTF-8, a <pre> for each page, the text escaped.
    options.txtRaw = 2;
    options.txtType = 0;
    ASSERT_TRUE(WriteOutput(options, *dir_ / "page.txt", doc.get(), {}, &error)) << error;
    std::string html = ReadBytes(*dir_ / "page.txt");
    EXPECT_EQ(html.rfind("<!DOCTYPE html>\r\n", 0), 0u);
    EXPECT_NE(html.find("<title>Report, &quot;final&quot;</title>"), std::string::npos) << html;
    EXPECT_EQ(Count(html, "<pre>"), 3);
    EXPECT_NE(html.find("caf\xC3\xA9 costs 5 \xE2\x82\xAC and a&lt;b&amp;c"), std::string::npos) << html;
    EXPECT_EQ(html.find('\f'), std::string::npos);
}

// pdfinfo's value of one field.
std::string PdfInfoField(const std::string& info, const std::string& field) {
    size_t at = info.find("\n" + field + ":");
    if (at == std::string::npos) at = info.rfind(field + ":", 0) == 0 ? 0 : std::string::npos;
    if (at == std::string::npos) return "(missing)";
    at = info.find(':', at) + 1;
    while (info[at] == ' ') ++at;
    return info.substr(at, info.find('\n', at) - at);
}

TEST_F(DocumentTest, InformationTableAgreesWithPdfinfo) {
    const fs::path plain = *dir_ / "t.pdf";
    const fs::path linear = *dir_ / "linear.pdf";
    const fs::path locked = *dir_ / "locked.pdf";
    Shell("qpdf --linearize " + Quote(plain) + " " + Quote(linear));
    Shell("qpdf --encrypt secret owner 256 -- " + Quote(plain) + " " + Quote(locked));
    OutputOptions options;

    EXPECT_EQ(InfosTableStart(options),
              "\xEF\xBB\xBF"
              "File name,File size,Title,Subject,Keywords,Author,Creator,Producer,Creation date,"
              "Modification date,Optimization,PDF version,Page size,Encrypted,Tagged\r\n");
    for (const fs::path& path : {plain, linear, locked}) {
        auto doc = Open(path, path == locked ? "secret" : nullptr);
        std::string info = Shell("pdfinfo -isodates " + std::string(path == locked ? "-upw secret " : "") + Quote(path));
        std::vector<std::string> row = InfosRow(options, path.string(), doc.get());
        ASSERT_EQ(row.size(), 15u);
        EXPECT_EQ(row[0], path.string());
        EXPECT_EQ(row[1] + " bytes", PdfInfoField(info, "File size"));
        EXPECT_EQ(row[2], PdfInfoField(info, "Title"));
        EXPECT_EQ(row[3], PdfInfoField(info, "Subject"));
        EXPECT_EQ(row[4], PdfInfoField(info, "Keywords"));
        EXPECT_EQ(row[5], "'" + PdfInfoField(info, "Author")) << "a formula is kept as text";
        EXPECT_EQ(row[6], PdfInfoField(info, "Creator"));
        EXPECT_EQ(row[7], PdfInfoField(info, "Producer"));
        EXPECT_EQ(row[8], PdfInfoField(info, "CreationDate") + ":00");
        EXPECT_EQ(row[9], PdfInfoField(info, "ModDate"));
        EXPECT_EQ(row[10], PdfInfoField(info, "Optimized"));
        EXPECT_EQ(row[11], PdfInfoField(info, "PDF version"));
        EXPECT_EQ(row[12] + " pts (A4)", PdfInfoField(info, "Page size"));
        EXPECT_EQ(row[13], PdfInfoField(info, "Encrypted").substr(0, row[13].size()));
        EXPECT_EQ(row[14], PdfInfoField(info, "Tagged"));
    }
    auto doc = Open(linear);
    EXPECT_EQ(InfosRow(options, linear.string(), doc.get())[10], "yes");

    // The chosen columns only, quoted as RFC 4180 asks.
    OutputOptions some;
    some.infoFileName = some.infoFileSize = some.infoSubject = some.infoKeywords = some.infoAuthor = false;
    some.infoCreator = some.infoProducer = some.infoCreation = some.infoOptimization = some.infoVersion = false;
    some.infoEncrypted = some.infoTagged = false;
    EXPECT_EQ(CsvLine(InfosHeader(some)), "Title,Modification date,Page size\r\n");
    EXPECT_EQ(CsvLine(InfosRow(some, plain.string(), doc.get())),
              "\"Report, \"\"final\"\"\",2024-05-06T07:08:09Z,595 x 842\r\n");
    EXPECT_EQ(CsvLine({"a\r\nb", "", "plain"}), "\"a\r\nb\",,plain\r\n");
    EXPECT_EQ(PdfDateToIso("D:19991231235959-05'30'"), "1999-12-31T23:59:59-05:30");
    EXPECT_EQ(PdfDateToIso("D:2001"), "2001-01-01T00:00:00");
    EXPECT_EQ(PdfDateToIso("not a date"), "not a date");
    EXPECT_EQ(PdfDateToIso("D:20231301"), "D:20231301");
}

struct Box {
    int llx, lly, urx, ury;
    double hi[4];
};

std::vector<Box> ParseBoxes(const std::string& text) {
    std::vector<Box> boxes;
    std::istringstream in(WithoutCr(text));
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("%%BoundingBox:", 0) == 0) {
            Box b{};
            std::sscanf(line.c_str(), "%%%%BoundingBox: %d %d %d %d", &b.llx, &b.lly, &b.urx, &b.ury);
            boxes.push_back(b);
        } else if (line.rfind("%%HiResBoundingBox:", 0) == 0 && !boxes.empty()) {
            Box& b = boxes.back();
            std::sscanf(line.c_str(), "%%%%HiResBoundingBox: %lf %lf %lf %lf", &b.hi[0], &b.hi[1], &b.hi[2], &b.hi[3]);
        }
    }
    return boxes;
}

TEST_F(DocumentTest, BoundingBoxesAgreeWithGhostscript) {
    OutputOptions options;
    options.format = kOutBbox;
    std::string error;
    // Shapes: within a point of ghostscript (which measures on a raster of
    // its own); text: within 3 points (poppler measures the font's box,
    // ghostscript the glyphs' outlines).
    const std::pair<const char*, double> cases[] = {{"shapes", 1.0}, {"turned", 1.0}, {"clipped", 1.0}, {"t", 3.0}};
    for (auto [name, tolerance] : cases) {
        const fs::path pdf = *dir_ / (std::string(name) + ".pdf");
        auto doc = Open(pdf);
        const fs::path out = *dir_ / (std::string(name) + "_bbox.txt");
        ASSERT_TRUE(WriteOutput(options, out, doc.get(), {}, &error)) << error;
        std::string text = ReadBytes(out);
        EXPECT_EQ(Count(text, "\n"), Count(text, "\r\n"));
        std::vector<Box> ours = ParseBoxes(text);
        std::vector<Box> theirs = ParseBoxes(Shell("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=bbox " + Quote(pdf) + " 2>&1"));
        ASSERT_EQ(ours.size(), static_cast<size_t>(doc->getNumPages()));
        ASSERT_EQ(ours.size(), theirs.size()) << text;
        for (size_t i = 0; i < ours.size(); ++i) {
            for (int c = 0; c < 4; ++c)
                EXPECT_NEAR(ours[i].hi[c], theirs[i].hi[c], tolerance) << name << " page " << i + 1 << " side " << c;
            EXPECT_EQ(ours[i].llx, static_cast<int>(std::floor(ours[i].hi[0])));
            EXPECT_EQ(ours[i].ury, static_cast<int>(std::ceil(ours[i].hi[3])));
        }
    }
    // The empty third page of t.pdf.
    EXPECT_NE(ReadBytes(*dir_ / "t_bbox.txt")
                  .find("%%BoundingBox: 0 0 0 0\r\n%%HiResBoundingBox: 0.000000 0.000000 0.000000 0.000000\r\n"),
              std::string::npos);
}

}  // namespace
