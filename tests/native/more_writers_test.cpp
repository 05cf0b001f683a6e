// The DCX, TGA, PSD, PostScript/EPS and SWF writers, each file read back by
// an independent tool: ImageMagick for DCX, TGA and PSD, ghostscript for
// the PostScript pages, and a plain reader of SWF headers and tags here.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/formats.h"
#include "engine/more_writers.h"
#include "engine/operations.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string Folder() {
    static const std::string folder = [] {
        std::string path = testing::TempDir() + "more_writers_" + std::to_string(std::rand());
        std::string command = "mkdir -p '" + path + "'";
        EXPECT_EQ(0, std::system(command.c_str()));
        return path;
    }();
    return folder;
}

Bytes Output(const std::string& command) {
    Bytes out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.insert(out.end(), buffer, buffer + got);
    pclose(pipe);
    return out;
}

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs of one colour, stretches of noise and bytes of 0xC0 and more: what
// the run-length schemes must tell apart.
Picture Pattern(int width, int height, int channels) {
    Picture picture;
    picture.Reset(width, height, channels, 255);
    uint32_t seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < channels; ++k) {
                uint8_t& value = picture.Row(y)[x * channels + k];
                if ((x / 16 + y / 4) % 3 == 0) {
                    seed = seed * 1103515245 + 12345;
                    value = static_cast<uint8_t>(seed >> 16);
                } else {
                    value = static_cast<uint8_t>((x / 16 * 70 + y / 4 * 40 + k * 90) % 256);
                }
            }
    return picture;
}

// Coarse blocks, for the lossy and resampled paths.
Picture Blocks(int width, int height, int channels, int block) {
    Picture picture;
    picture.Reset(width, height, channels, 0);
    static const uint8_t kColours[6][4] = {{255, 255, 255, 0}, {0, 0, 0, 255},  {220, 30, 30, 0},
                                           {30, 160, 40, 0},   {40, 60, 200, 0}, {128, 128, 128, 128}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* colour = kColours[(x / block + 2 * (y / block)) % 6];
            for (int k = 0; k < channels; ++k)
                picture.Row(y)[x * channels + k] = channels == 1 ? colour[0] : colour[k];
        }
    return picture;
}

void WritePages(const OutputOptions& options, const std::string& path, const std::vector<const Picture*>& pages) {
    const FormatEntry* entry = FindFormat(options.format);
    ASSERT_TRUE(entry && entry->make);
    std::unique_ptr<Writer> writer = entry->make(options);
    std::string error;
    ASSERT_TRUE(writer->Begin(path, nullptr, &error)) << error;
    int number = 0;
    for (const Picture* picture : pages) {
        PageInput page;
        page.number = ++number;
        page.picture = picture;
        ASSERT_TRUE(writer->AddPage(page, &error)) << error;
    }
    ASSERT_TRUE(writer->End(&error)) << error;
}

// Portable pixmaps as ghostscript's ppmraw device writes them, one a page.
std::vector<Picture> ParsePpms(const Bytes& bytes) {
    std::vector<Picture> pages;
    size_t at = 0;
    auto token = [&]() {
        while (at < bytes.size() && (isspace(bytes[at]) || bytes[at] == '#')) {
            if (bytes[at] == '#')
                while (at < bytes.size() && bytes[at] != '\n') ++at;
            else
                ++at;
        }
        std::string word;
        while (at < bytes.size() && !isspace(bytes[at])) word += static_cast<char>(bytes[at++]);
        return word;
    };
    while (at < bytes.size()) {
        if (token() != "P6") break;
        Picture page;
        const int width = std::atoi(token().c_str()), height = std::atoi(token().c_str());
        token();
        ++at;
        page.Reset(width, height, 3, 0);
        if (at + page.pixels.size() > bytes.size()) break;
        std::memcpy(page.pixels.data(), bytes.data() + at, page.pixels.size());
        at += page.pixels.size();
        pages.push_back(page);
    }
    return pages;
}

std::vector<Picture> Ghostscript(const std::string& path, int dpi, bool epsCrop) {
    return ParsePpms(Output("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=ppmraw -dInterpolateControl=0 -r" +
                         std::to_string(dpi) + (epsCrop ? " -dEPSCrop" : "") + " -sOutputFile=- '" + path + "'"));
}

// The largest difference of one sample, and the mean difference.
void Compare(const Picture& expected, const Picture& actual, int* largest, double* mean) {
    *largest = 255;
    *mean = 255;
    if (expected.width != actual.width || expected.height != actual.height || expected.channels != actual.channels)
        return;
    *largest = 0;
    double total = 0;
    for (size_t i = 0; i < expected.pixels.size(); ++i) {
        const int difference = std::abs(expected.pixels[i] - actual.pixels[i]);
        *largest = std::max(*largest, difference);
        total += difference;
    }
    *mean = total / static_cast<double>(expected.pixels.size());
}

Bytes RawPixels(const std::string& path, const char* kind) {
    return Output(std::string("convert '") + path + "' -depth 8 " + kind + ":- 2>/dev/null");
}

TEST(DcxWriter, AdjoinedColourAndGreyPagesReadBackExactly) {
    OutputOptions options;
    options.format = kOutDcx;
    Picture colour = Pattern(37, 23, 3), grey = Pattern(130, 9, 1);
    const std::string path = Folder() + "/pages.dcx";
    WritePages(options, path, {&colour, &grey});
    EXPECT_EQ("37x23\n130x9\n", Text(Output("identify -format '%wx%h\\n' '" + path + "'")));
    EXPECT_EQ(colour.pixels, RawPixels(path + "[0]", "rgb"));
    EXPECT_EQ(grey.pixels, RawPixels(path + "[1]", "gray"));
}

TEST(TgaWriter, RunLengthTrueColourReadsBackExactly) {
    OutputOptions options;
    options.format = kOutTga;
    Picture picture = Pattern(300, 17, 3);  // rows longer than one 128-pixel packet
    const std::string path = Folder() + "/page.tga";
    WritePages(options, path, {&picture});
    const Bytes file = ReadFile(path);
    ASSERT_GT(file.size(), 18u);
    EXPECT_EQ(10, file[2]);   // run-length true colour
    EXPECT_EQ(24, file[16]);  // bits a pixel
    EXPECT_LT(file.size(), picture.pixels.size());
    EXPECT_EQ(picture.pixels, RawPixels(path, "rgb"));

    Picture grey = Pattern(40, 5, 1);
    WritePages(options, path, {&grey});
    Picture expected = grey;
    ConvertColourSpace(&expected, kSpaceRgb);
    EXPECT_EQ(expected.pixels, RawPixels(path, "rgb"));
}

TEST(PsdWriter, RgbGreyAndCmykPagesWithResolution) {
    OutputOptions options;
    options.format = kOutPsd;
    const std::string path = Folder() + "/page.psd";
    Picture rgb = Pattern(45, 12, 3);
    rgb.dpiX = rgb.dpiY = 150;
    WritePages(options, path, {&rgb});
    EXPECT_EQ("45x12 sRGB 150x150\n", Text(Output("identify -format '%wx%h %[colorspace] %xx%y\\n' '" + path + "[0]'")));
    EXPECT_EQ(rgb.pixels, RawPixels(path + "[0]", "rgb"));

    Picture grey = Pattern(33, 8, 1);
    WritePages(options, path, {&grey});
    EXPECT_EQ(grey.pixels, RawPixels(path + "[0]", "gray"));

    Picture cmyk = Pattern(21, 6, 4);
    WritePages(options, path, {&cmyk});
    EXPECT_EQ("CMYK\n", Text(Output("identify -format '%[colorspace]\\n' '" + path + "[0]'")));
    EXPECT_EQ(cmyk.pixels, RawPixels(path + "[0]", "cmyk"));
}

TEST(PsWriter, EveryLevelAndCompressionDrawsThePageAsGhostscriptSeesIt) {
    // An A4 page drawn at 72 dpi fills A4 paper one pixel a point.
    // Noise fills the LZW table many times over.
    const Picture blocks = Blocks(595, 842, 3, 40), noise = Pattern(595, 842, 3);
    struct Case {
        int type, compression;
        bool compress;
        int tolerance;  // largest difference of one sample (JPEG: any, but close on average)
        bool noisy;
    } cases[] = {{0, 1, true, 0, false}, {1, 0, true, 255, false}, {1, 1, true, 0, false}, {1, 1, true, 0, true},
                 {1, 2, true, 0, true},  {1, 3, true, 0, false},   {2, 3, true, 0, true},   {2, 2, false, 0, false}};
    for (const Case& c : cases) {
        const Picture& page = c.noisy ? noise : blocks;
        SCOPED_TRACE("type " + std::to_string(c.type) + " compression " + std::to_string(c.compression));
        OutputOptions options;
        options.format = kOutPs;
        options.psType = c.type;
        options.psPage = 1;
        options.psCompress = c.compress;
        options.psCompressType = c.compression;
        const std::string path = Folder() + "/page.ps";
        WritePages(options, path, {&page});
        // Level 1 has no page size operator: the paper is given to ghostscript.
        const std::vector<Picture> drawn = ParsePpms(
            Output("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=ppmraw -r72 -sPAPERSIZE=a4 -sOutputFile=- '" + path + "'"));
        ASSERT_EQ(1u, drawn.size());
        int largest;
        double mean;
        Compare(page, drawn[0], &largest, &mean);
        EXPECT_LE(largest, c.tolerance);
        EXPECT_LT(mean, c.tolerance == 0 ? 0.01 : 2.0);  // JPEG: close on average
    }
}

TEST(PsWriter, OneBitPagesArePackedAndDrawnExactly) {
    Picture page = Pattern(595, 842, 1);
    for (uint8_t& value : page.pixels) value = value < 128 ? 0 : 255;
    page.bilevel = true;
    for (int type : {0, 1}) {
        OutputOptions options;
        options.format = kOutPs;
        options.psType = type;
        options.psPage = 1;
        options.psCompressType = 2;
        const std::string path = Folder() + "/bilevel.ps";
        WritePages(options, path, {&page});
        // Hexadecimal one bit a pixel at level 1: under a third of a byte a pixel.
        EXPECT_LT(ReadFile(path).size(), page.pixels.size() / 3) << type;
        const std::vector<Picture> drawn = ParsePpms(
            Output("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=ppmraw -r72 -sPAPERSIZE=a4 -sOutputFile=- '" + path + "'"));
        ASSERT_EQ(1u, drawn.size());
        Picture expected = page;
        ConvertColourSpace(&expected, kSpaceRgb);
        EXPECT_EQ(expected.pixels, drawn[0].pixels) << type;
    }
}

TEST(PsWriter, AdjoinedPagesAreFittedAndCentredOnThePaper) {
    OutputOptions options;
    options.format = kOutPs;
    options.psType = 1;
    options.psPage = 2;  // A5, 420 x 595 points
    options.psAdjoin = true;
    // A wide page: left half red, right half blue; and a grey page.
    Picture wide;
    wide.Reset(100, 50, 3, 0);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            uint8_t* p = wide.Row(y) + 3 * x;
            p[0] = x < 50 ? 255 : 0;
            p[2] = x < 50 ? 0 : 255;
        }
    Picture grey;
    grey.Reset(60, 60, 1, 0);
    const std::string path = Folder() + "/pages.ps";
    WritePages(options, path, {&wide, &grey});
    const std::vector<Picture> drawn = Ghostscript(path, 72, false);
    ASSERT_EQ(2u, drawn.size());
    ASSERT_EQ(420, drawn[0].width);
    ASSERT_EQ(595, drawn[0].height);
    auto at = [&](int page, int x, int y) {
        const uint8_t* p = drawn[page].Row(y) + 3 * x;
        return (p[0] << 16) | (p[1] << 8) | p[2];
    };
    // Fitted to 420 x 210 points, from y 192.5 to 402.5.
    EXPECT_EQ(0xFF0000, at(0, 10, 297));
    EXPECT_EQ(0x0000FF, at(0, 410, 297));
    EXPECT_EQ(0xFFFFFF, at(0, 210, 180));
    EXPECT_EQ(0xFFFFFF, at(0, 210, 415));
    // The square page: 420 x 420 points, black, centred.
    EXPECT_EQ(0x000000, at(1, 210, 297));
    EXPECT_EQ(0x000000, at(1, 5, 90));
    EXPECT_EQ(0xFFFFFF, at(1, 210, 80));
    const std::string text = Text(ReadFile(path));
    EXPECT_NE(std::string::npos, text.find("%%Pages: 2\n"));
    EXPECT_NE(std::string::npos, text.find("%%BoundingBox: 0 87 420 508\n"));
}

TEST(PsWriter, CmykPageKeepsItsInks) {
    OutputOptions options;
    options.format = kOutPs;
    options.psType = 2;
    options.psPage = 1;
    // Left half no ink, right half full black ink.
    Picture page;
    page.Reset(595, 842, 4, 0);
    for (int y = 0; y < 842; ++y)
        for (int x = 300; x < 595; ++x) page.Row(y)[4 * x + 3] = 255;
    for (int compression : {0, 3}) {
        options.psCompressType = compression;
        const std::string path = Folder() + "/cmyk.ps";
        WritePages(options, path, {&page});
        const std::vector<Picture> drawn = Ghostscript(path, 72, false);
        ASSERT_EQ(1u, drawn.size());
        // A block of no ink stays white, a block of full black ink is dark.
        const uint8_t* white = drawn[0].Row(50) + 3 * 50;
        const uint8_t* black = drawn[0].Row(50) + 3 * 450;
        EXPECT_GE(white[0] + white[1] + white[2], 3 * 250) << compression;
        EXPECT_LE(black[0] + black[1] + black[2], 3 * 60) << compression;
    }
}

TEST(PsWriter, LevelsLackingTheAskedCompressionSaySo) {
    OutputOptions options;
    options.psCompress = true;
    options.psType = 0;
    options.psCompressType = 1;
    EXPECT_NE(std::string::npos, PsCompressionNote(options).find("uncompressed"));
    options.psType = 1;
    EXPECT_EQ("", PsCompressionNote(options));
    options.psCompressType = 3;
    EXPECT_NE(std::string::npos, PsCompressionNote(options).find("LZW"));
    options.psType = 2;
    EXPECT_EQ("", PsCompressionNote(options));
    options.psType = 4;  // EPS is level 2
    EXPECT_NE(std::string::npos, PsCompressionNote(options).find("LZW"));
    options.psCompress = false;
    options.psType = 0;
    EXPECT_EQ("", PsCompressionNote(options));
}

TEST(PsWriter, EpsTypesHoldOnePageAtThePictureSize) {
    // 100 x 60 pixels at 144 dpi: 50 x 30 points; left half black.
    Picture picture;
    picture.Reset(100, 60, 3, 255);
    picture.dpiX = picture.dpiY = 144;
    for (int y = 0; y < 60; ++y) std::memset(picture.Row(y), 0, 150);
    const char* const kExtensions[] = {"epi", "eps", "ept", "epsi", "epsf"};
    for (int type = 3; type <= 7; ++type) {
        SCOPED_TRACE(type);
        OutputOptions options;
        options.format = kOutPs;
        options.psType = type;
        options.psCompressType = 2;
        EXPECT_STREQ(kExtensions[type - 3], OutputExtension(options));
        const std::string path = Folder() + "/page." + OutputExtension(options);
        WritePages(options, path, {&picture});
        Bytes file = ReadFile(path);
        std::string postscript = Text(file);
        if (type == 5) {
            ASSERT_GE(file.size(), 30u);
            ASSERT_EQ(0, std::memcmp(file.data(), "\xC5\xD0\xD3\xC6", 4));
            auto word = [&file](size_t at) {
                return static_cast<size_t>(file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) | (file[at + 3] << 24));
            };
            ASSERT_LE(word(4) + word(8), file.size());
            ASSERT_EQ(word(20) + word(24), file.size());
            postscript = postscript.substr(word(4), word(8));
            std::ofstream(Folder() + "/preview.tif", std::ios::binary)
                .write(reinterpret_cast<const char*>(file.data() + word(20)), static_cast<std::streamsize>(word(24)));
            EXPECT_EQ("50x30\n", Text(Output("identify -format '%wx%h\\n' '" + Folder() + "/preview.tif'")));
        }
        EXPECT_EQ(0u, postscript.find("%!PS-Adobe-3.0 EPSF-3.0\n"));
        EXPECT_NE(std::string::npos, postscript.find("%%BoundingBox: 0 0 50 30\n"));
        const size_t preview = postscript.find("%%BeginPreview: 50 30 1 30\n% ");
        EXPECT_EQ(type == 3 || type == 6, preview != std::string::npos);
        if (preview != std::string::npos) {  // first row: 25 black points then white
            EXPECT_EQ("% FFFFFF80000000\n", postscript.substr(postscript.find("% ", preview), 17));
        }
        const std::vector<Picture> drawn = Ghostscript(path, 144, true);
        ASSERT_EQ(1u, drawn.size());
        int largest;
        double mean;
        Compare(picture, drawn[0], &largest, &mean);
        EXPECT_EQ(0, largest);
    }
}

TEST(PsWriter, AnEpsFileRefusesASecondPage) {
    OutputOptions options;
    options.format = kOutPs;
    options.psType = 4;
    Picture picture = Blocks(10, 10, 3, 5);
    std::unique_ptr<Writer> writer = FindFormat(kOutPs)->make(options);
    std::string error;
    ASSERT_TRUE(writer->Begin(Folder() + "/two.eps", nullptr, &error));
    PageInput page;
    page.picture = &picture;
    EXPECT_TRUE(writer->AddPage(page, &error));
    EXPECT_FALSE(writer->AddPage(page, &error));
    EXPECT_NE(std::string::npos, error.find("one page"));
    EXPECT_TRUE(writer->End(&error));
}

uint32_t Little(const Bytes& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
    return value;
}

TEST(SwfWriter, OneFrameAPageWithTheJpegOfEachPage) {
    OutputOptions options;
    options.format = kOutSwf;
    options.swfFramerate = 250;
    options.swfQuality = 90;
    Picture first = Blocks(120, 80, 3, 20), second = Blocks(90, 100, 1, 10);
    const std::string path = Folder() + "/movie.swf";
    WritePages(options, path, {&first, &second});
    const Bytes file = ReadFile(path);
    ASSERT_GT(file.size(), 21u);
    EXPECT_EQ("FWS", std::string(file.begin(), file.begin() + 3));
    EXPECT_EQ(file.size(), Little(file, 4, 4));
    // The frame rectangle: 5 bits of field size, then xmin xmax ymin ymax in twips.
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits = (bits << 8) | file[8 + i];
    const int n = static_cast<int>(bits >> 59);
    auto field = [&](int index) { return static_cast<int>((bits >> (59 - n * (index + 1))) & ((1u << n) - 1)); };
    EXPECT_EQ(0, field(0));
    EXPECT_EQ(120 * 20, field(1));
    EXPECT_EQ(100 * 20, field(3));
    size_t at = 8 + (5 + 4 * n + 7) / 8;
    EXPECT_EQ(0x0280u, Little(file, at, 2));  // 2.5 frames a second in 8.8
    EXPECT_EQ(2u, Little(file, at + 2, 2));
    at += 4;
    int jpegs = 0, shapes = 0, frames = 0, places = 0;
    uint32_t lastBitmap = 0, lastShape = 0;
    bool ended = false;
    Bytes firstJpeg;
    while (at + 2 <= file.size() && !ended) {
        const uint32_t header = Little(file, at, 2);
        uint32_t length = header & 0x3F;
        at += 2;
        if (length == 0x3F) {
            length = Little(file, at, 4);
            at += 4;
        }
        ASSERT_LE(at + length, file.size());
        switch (header >> 6) {
            case 0: ended = true; break;
            case 1: ++frames; break;
            case 2: {
                // The shape fills itself with the bitmap defined just before it.
                ++shapes;
                lastShape = Little(file, at, 2);
                const size_t rect = (5 + 4 * (file[at + 2] >> 3) + 7) / 8;
                EXPECT_EQ(1, file[at + 2 + rect]);
                EXPECT_EQ(0x41, file[at + 3 + rect]);
                EXPECT_EQ(lastBitmap, Little(file, at + 4 + rect, 2));
                break;
            }
            case 21:
                lastBitmap = Little(file, at, 2);
                if (jpegs++ == 0) firstJpeg.assign(file.begin() + at + 2, file.begin() + at + length);
                break;
            case 26:
                ++places;
                EXPECT_EQ(places == 1 ? 0x02 : 0x03, file[at]);  // later frames replace the page before
                EXPECT_EQ(lastShape, Little(file, at + 3, 2));
                break;
        }
        at += length;
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(file.size(), at);
    EXPECT_EQ(2, jpegs);
    EXPECT_EQ(2, shapes);
    EXPECT_EQ(2, places);
    EXPECT_EQ(2, frames);
    std::ofstream(Folder() + "/frame.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(firstJpeg.data()), static_cast<std::streamsize>(firstJpeg.size()));
    Picture decoded;
    decoded.Reset(120, 80, 3, 0);
    decoded.pixels = RawPixels(Folder() + "/frame.jpg", "rgb");
    int largest;
    double mean;
    Compare(first, decoded, &largest, &mean);
    EXPECT_LT(mean, 6.0);
}

TEST(SwfWriter, FramerateMapsHundredthsToFramesPerSecond) {
    EXPECT_DOUBLE_EQ(1.0, SwfFramesPerSecond(100));
    EXPECT_DOUBLE_EQ(0.5, SwfFramesPerSecond(50));
    EXPECT_DOUBLE_EQ(1.0, SwfFramesPerSecond(0));
    EXPECT_LT(SwfFramesPerSecond(1000000), 256.0);
}

}  // namespace
