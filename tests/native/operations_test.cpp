// The image operations and the signature stamp on pictures with known
// pixels: the sizes after each operation, where the pixels went, grey and
// one-bit pictures, the stamp's corner and its opposite, unreadable stamps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/operations.h"
#include "engine/signature.h"

namespace {

Picture Filled(int width, int height, int channels, uint8_t value) {
    Picture picture;
    picture.Reset(width, height, channels, value);
    return picture;
}

// Each pixel's red holds its x, green its y: where a pixel went is readable.
Picture Coordinates(int width, int height) {
    Picture picture = Filled(width, height, 3, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            picture.Row(y)[3 * x] = static_cast<uint8_t>(x);
            picture.Row(y)[3 * x + 1] = static_cast<uint8_t>(y);
            picture.Row(y)[3 * x + 2] = 7;
        }
    return picture;
}

const uint8_t* At(const Picture& picture, int x, int y) { return picture.Row(y) + x * picture.channels; }

bool OnlyBlackAndWhite(const Picture& picture) {
    for (uint8_t value : picture.pixels)
        if (value != 0 && value != 255) return false;
    return true;
}

TEST(Operations, QuarterTurnsMovePixelsExactlyAndSwapTheResolution) {
    Picture picture = Coordinates(3, 2);
    picture.dpiX = 100;
    picture.dpiY = 50;
    RotatePicture(&picture, 90);
    ASSERT_EQ(2, picture.width);
    ASSERT_EQ(3, picture.height);
    EXPECT_EQ(50, picture.dpiX);
    // Clockwise: the bottom-left pixel comes to the top-left, the top-left to the top-right.
    EXPECT_EQ(0, At(picture, 0, 0)[0]);
    EXPECT_EQ(1, At(picture, 0, 0)[1]);
    EXPECT_EQ(0, At(picture, 1, 0)[0]);
    EXPECT_EQ(0, At(picture, 1, 0)[1]);
    EXPECT_EQ(2, At(picture, 1, 2)[0]);
    EXPECT_EQ(0, At(picture, 1, 2)[1]);

    Picture twice = Coordinates(5, 4), once = twice;
    RotatePicture(&twice, 90);
    RotatePicture(&twice, 90);
    RotatePicture(&once, -180);
    EXPECT_EQ(once.pixels, twice.pixels);
    RotatePicture(&once, 270);
    RotatePicture(&once, 450);
    EXPECT_EQ(twice.pixels, once.pixels);
}

TEST(Operations, AnyAngleGrowsTheCanvasWithWhiteCorners) {
    Picture picture = Filled(100, 50, 3, 0);
    RotatePicture(&picture, 30);
    // 100 cos 30 + 50 sin 30 = 111.6; 100 sin 30 + 50 cos 30 = 93.3
    EXPECT_EQ(112, picture.width);
    EXPECT_EQ(94, picture.height);
    EXPECT_EQ(255, At(picture, 0, 0)[0]);
    EXPECT_EQ(255, At(picture, 111, 93)[2]);
    EXPECT_EQ(0, At(picture, 56, 47)[1]);
    // Turned clockwise, the bottom-left corner is the leftmost point, just
    // above the middle height.
    EXPECT_LT(At(picture, 4, 44)[0], 128);
    EXPECT_EQ(255, At(picture, 4, 10)[0]);
    EXPECT_EQ(255, At(picture, 4, 80)[0]);

    Picture bilevel = Filled(40, 40, 1, 255);
    bilevel.bilevel = true;
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 30; ++x) bilevel.Row(y)[x] = 0;
    RotatePicture(&bilevel, 45);
    EXPECT_EQ(57, bilevel.width);
    EXPECT_TRUE(bilevel.bilevel);
    EXPECT_TRUE(OnlyBlackAndWhite(bilevel));
    EXPECT_EQ(0, At(bilevel, 28, 28)[0]);
}

TEST(Operations, ShaveCutsEachSideAndRefusesToLeaveNothing) {
    Picture picture = Coordinates(100, 80);
    std::string error;
    ASSERT_TRUE(ShavePicture(&picture, 10, 5, &error));
    EXPECT_EQ(80, picture.width);
    EXPECT_EQ(70, picture.height);
    EXPECT_EQ(10, At(picture, 0, 0)[0]);
    EXPECT_EQ(5, At(picture, 0, 0)[1]);
    EXPECT_EQ(89, At(picture, 79, 69)[0]);
    EXPECT_EQ(74, At(picture, 79, 69)[1]);
    EXPECT_FALSE(ShavePicture(&picture, 40, 0, &error));
    EXPECT_NE(std::string::npos, error.find("40x0"));
    EXPECT_EQ(80, picture.width);
}

TEST(Operations, TrimCutsTheCornerColourWithinATolerance) {
    Picture picture = Filled(100, 80, 3, 250);
    picture.Row(0)[0] = 255;  // paper noise within the tolerance
    picture.Row(70)[90 * 3 + 1] = 245;
    for (int y = 30; y < 45; ++y)
        for (int x = 20; x < 40; ++x) picture.Row(y)[3 * x] = 0;
    TrimPicture(&picture);
    EXPECT_EQ(20, picture.width);
    EXPECT_EQ(15, picture.height);
    EXPECT_EQ(0, At(picture, 0, 0)[0]);
    EXPECT_EQ(0, At(picture, 19, 14)[0]);

    Picture blank = Filled(30, 20, 1, 255);
    TrimPicture(&blank);
    EXPECT_EQ(30, blank.width);
    EXPECT_EQ(20, blank.height);
}

TEST(Operations, ResizeSizesAndResolution) {
    int w = 0, h = 0;
    ASSERT_TRUE(ResizeTarget(200, 100, 50, 50, true, &w, &h));
    EXPECT_EQ(50, w);
    EXPECT_EQ(25, h);
    ASSERT_TRUE(ResizeTarget(200, 100, 50, 50, false, &w, &h));
    EXPECT_EQ(50, h);
    ASSERT_TRUE(ResizeTarget(200, 100, 0, 40, false, &w, &h));
    EXPECT_EQ(80, w);
    EXPECT_EQ(40, h);
    ASSERT_TRUE(ResizeTarget(200, 100, 30, -1, true, &w, &h));
    EXPECT_EQ(30, w);
    EXPECT_EQ(15, h);
    EXPECT_FALSE(ResizeTarget(200, 100, 0, 0, true, &w, &h));

    OutputOptions options;
    options.format = kOutPng;
    options.operations.resizeWidth = 100;
    Picture stripes = Filled(200, 60, 1, 0);
    stripes.dpiX = stripes.dpiY = 144;
    for (int y = 0; y < 60; ++y)
        for (int x = 1; x < 200; x += 2) stripes.Row(y)[x] = 255;
    std::string error;
    ASSERT_TRUE(ApplyOperations(options, nullptr, &stripes, &error));
    ASSERT_EQ(100, stripes.width);
    ASSERT_EQ(30, stripes.height);
    EXPECT_DOUBLE_EQ(72.0, stripes.dpiX);
    EXPECT_DOUBLE_EQ(72.0, stripes.dpiY);
    // Averaged, not sampled: one-pixel stripes become an even grey.
    for (uint8_t value : stripes.pixels) ASSERT_NEAR(128, value, 1);

    // A mistyped size fails the page rather than exhaust the memory.
    Picture page = Filled(100, 100, 3, 255);
    options.operations.resizeWidth = 99999;
    options.operations.resizeHeight = 99999;
    EXPECT_FALSE(ApplyOperations(options, nullptr, &page, &error));
    EXPECT_NE(std::string::npos, error.find("99999x99999"));
    EXPECT_EQ(100, page.width);

    Picture small = Coordinates(2, 2);
    ScalePicture(&small, 4, 4);
    EXPECT_EQ(0, At(small, 0, 0)[0]);
    EXPECT_EQ(1, At(small, 3, 3)[0]);
    EXPECT_EQ(1, At(small, 3, 3)[1]);
}

TEST(Operations, ContrastEqualizeAndMonochrome) {
    Picture ramp = Filled(256, 1, 1, 0);
    for (int x = 0; x < 256; ++x) ramp.pixels[x] = static_cast<uint8_t>(x);
    Picture contrasted = ramp;
    IncreaseContrast(&contrasted);
    EXPECT_EQ(0, contrasted.pixels[0]);
    EXPECT_EQ(255, contrasted.pixels[255]);
    EXPECT_LT(contrasted.pixels[64], 50);
    EXPECT_GT(contrasted.pixels[192], 205);
    EXPECT_NEAR(128, contrasted.pixels[128], 1);

    Picture narrow = Filled(4, 1, 3, 0);
    const uint8_t values[4] = {100, 110, 120, 140};
    for (int x = 0; x < 4; ++x) narrow.pixels[3 * x] = narrow.pixels[3 * x + 1] = narrow.pixels[3 * x + 2] = values[x];
    EqualizePicture(&narrow);
    EXPECT_EQ(0, narrow.pixels[0]);
    EXPECT_EQ(255, narrow.pixels[9]);
    EXPECT_EQ(narrow.pixels[3], narrow.pixels[4]);

    // A horizontal ramp dithered: only black and white, as dark on average.
    Picture page = Filled(256, 64, 3, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 256; ++x) page.Row(y)[3 * x] = page.Row(y)[3 * x + 1] = page.Row(y)[3 * x + 2] = static_cast<uint8_t>(x);
    MakeMonochrome(&page);
    EXPECT_EQ(1, page.channels);
    EXPECT_TRUE(page.bilevel);
    EXPECT_TRUE(OnlyBlackAndWhite(page));
    for (int band = 0; band < 256; band += 64) {
        double sum = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = band; x < band + 64; ++x) sum += page.Row(y)[x];
        EXPECT_NEAR(band + 31.5, sum / (64 * 64), 8) << band;
    }
}

TEST(Operations, ColourSpaceFollowsWhatTheFormatHolds) {
    OutputOptions options;
    options.operations.colourSpace = kSpaceCmyk;
    std::string error;
    Picture picture = Filled(4, 4, 3, 255);
    picture.Row(1)[3] = 0;  // one pixel cyan-free red: (0, 255, 255) is cyan
    options.format = kOutPsd;
    ASSERT_TRUE(ApplyOperations(options, nullptr, &picture, &error));
    ASSERT_EQ(4, picture.channels);
    EXPECT_EQ(0, At(picture, 0, 0)[0] + At(picture, 0, 0)[3]);  // white: no ink
    EXPECT_EQ(255, At(picture, 1, 1)[0]);                        // cyan ink
    EXPECT_EQ(0, At(picture, 1, 1)[3]);

    for (int format : {kOutPng, kOutBmp, kOutGif, kOutDcx, kOutTga, kOutSwf}) {
        Picture rgb = Filled(4, 4, 3, 255);
        options.format = format;
        ASSERT_TRUE(ApplyOperations(options, nullptr, &rgb, &error));
        EXPECT_EQ(3, rgb.channels) << format;
        EXPECT_FALSE(FormatHoldsCmyk(format));
    }
    for (int format : {kOutTiff, kOutJpeg, kOutPsd, kOutPs}) EXPECT_TRUE(FormatHoldsCmyk(format));

    options.operations.colourSpace = kSpaceGray;
    options.format = kOutPng;
    Picture grey = Filled(2, 2, 3, 0);
    grey.pixels[0] = 255;
    ASSERT_TRUE(ApplyOperations(options, nullptr, &grey, &error));
    ASSERT_EQ(1, grey.channels);
    EXPECT_EQ(76, grey.pixels[0]);  // red's luminance
}

TEST(Operations, AllTogetherInTheirOrder) {
    // Rotate first, then shave the rotated page, then trim, then resize.
    OutputOptions options;
    options.format = kOutPng;
    ImageOperations& operations = options.operations;
    operations.rotate = true;
    operations.rotateDegrees = 90;
    operations.shave = true;
    operations.shaveWidth = 10;
    operations.shaveHeight = 30;
    operations.trim = true;
    operations.resizeWidth = 30;
    operations.monochrome = true;
    Picture page = Filled(200, 100, 3, 255);
    for (int y = 40; y < 60; ++y)
        for (int x = 20; x < 180; ++x) page.Row(y)[3 * x] = page.Row(y)[3 * x + 1] = page.Row(y)[3 * x + 2] = 0;
    std::string error;
    ASSERT_TRUE(ApplyOperations(options, nullptr, &page, &error)) << error;
    // Turned: 100 x 200 with a 20 x 160 bar; shaved: 80 x 140; trimmed to the
    // bar, 20 x 140; resized to 30 wide.
    EXPECT_EQ(30, page.width);
    EXPECT_EQ(210, page.height);
    EXPECT_TRUE(page.bilevel);
    EXPECT_EQ(0, At(page, 15, 100)[0]);
}

std::string Folder() {
    static const std::string folder = [] {
        std::string path = testing::TempDir() + "operations_" + std::to_string(std::rand());
        EXPECT_EQ(0, std::system(("mkdir -p '" + path + "'").c_str()));
        return path;
    }();
    return folder;
}

int CountChanged(const Picture& before, const Picture& after, int x0, int y0, int x1, int y1) {
    int changed = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            for (int k = 0; k < before.channels; ++k)
                changed += At(before, x, y)[k] != At(after, x, y)[k];
    return changed;
}

TEST(Signature, TextStampsTheChosenCornerOnly) {
    Stamp stamp;
    std::string error;
    ASSERT_TRUE(DrawStampText("Approved \xE9t\xE9 \x80", ZANDRIX_TEST_FONTS, &stamp, &error)) << error;
    EXPECT_TRUE(stamp.text);
    const Picture blank = Filled(600, 400, 3, 255);
    struct Case {
        int region;
        int x0, y0;  // the quarter of the page the stamp lands in
    } cases[] = {{5, 300, 0}, {6, 0, 0}, {7, 300, 200}, {8, 0, 200}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.region);
        Picture page = blank;
        StampPicture(stamp, c.region, 100, &page);
        EXPECT_GT(CountChanged(blank, page, c.x0, c.y0, c.x0 + 300, c.y0 + 200), 1000);
        const int ox = 300 - c.x0, oy = 200 - c.y0;  // the opposite quarter
        EXPECT_EQ(0, CountChanged(blank, page, ox, oy, ox + 300, oy + 200));
    }
    // Centred: the middle changed, the corners not; about a third of the width.
    Picture page = blank;
    StampPicture(stamp, 0, 100, &page);
    int left = 600, right = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x)
            if (At(page, x, y)[0] != 255) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_NEAR(200, right - left, 20);
    EXPECT_NEAR(300, (left + right) / 2, 10);
    EXPECT_EQ(0, CountChanged(blank, page, 0, 0, 100, 100));
}

void WriteBmp(const std::string& path) {
    // 3 x 2, 24 bits, bottom-up: bottom row red, top row blue.
    std::string file = "BM";
    auto put32 = [&file](uint32_t v) {
        for (int i = 0; i < 4; ++i) file += static_cast<char>(v >> (8 * i));
    };
    auto put16 = [&file](unsigned v) {
        file += static_cast<char>(v);
        file += static_cast<char>(v >> 8);
    };
    put32(54 + 24);
    put32(0);
    put32(54);
    put32(40);
    put32(3);
    put32(2);
    put16(1);
    put16(24);
    for (int i = 0; i < 6; ++i) put32(0);
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < 3; ++x) file += row == 0 ? std::string("\0\0\xFF", 3) : std::string("\xFF\0\0", 3);
        file += std::string(3, '\0');
    }
    std::ofstream(path, std::ios::binary) << file;
}

TEST(Signature, PictureFilesOfEveryKindAndTheDissolve) {
    const std::string bmp = Folder() + "/sign.bmp";
    WriteBmp(bmp);
    Stamp stamp;
    std::string error;
    ASSERT_TRUE(ReadStampPicture(bmp, &stamp, &error)) << error;
    ASSERT_EQ(3, stamp.width);
    ASSERT_EQ(2, stamp.height);
    EXPECT_EQ(0, stamp.rgba[0]);
    EXPECT_EQ(255, stamp.rgba[2]);
    EXPECT_EQ(255, stamp.rgba[12]);  // bottom row red
    EXPECT_EQ(0, stamp.rgba[14]);

    for (const char* kind : {"png", "jpg", "gif", "tif"}) {
        SCOPED_TRACE(kind);
        const std::string path = Folder() + "/sign." + kind;
        ASSERT_EQ(0, std::system(("convert -size 8x6 xc:'#FF0000' '" + path + "'").c_str()));
        ImageOperations operations;
        operations.signatureFile = path;
        Stamp read;
        ASSERT_TRUE(PrepareStamp(operations, ZANDRIX_TEST_FONTS, &read, &error)) << error;
        ASSERT_EQ(8, read.width);
        ASSERT_EQ(6, read.height);
        EXPECT_NEAR(255, read.rgba[4 * 20], 2);
        EXPECT_NEAR(0, read.rgba[4 * 20 + 1], 2);
        EXPECT_EQ(255, read.rgba[4 * 20 + 3]);
    }

    // An interlaced GIF comes back in row order; a transparent colour is transparent.
    const std::string interlaced = Folder() + "/interlaced.gif";
    ASSERT_EQ(0, std::system(("convert -size 7x9 xc:white -fill black -draw 'point 3,5' -interlace GIF "
                              "-transparent white '" + interlaced + "'").c_str()));
    Stamp gif;
    ASSERT_TRUE(ReadStampPicture(interlaced, &gif, &error)) << error;
    ASSERT_EQ(9, gif.height);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 7; ++x) {
            const uint8_t* pixel = gif.rgba.data() + 4 * (y * 7 + x);
            const bool dot = x == 3 && y == 5;
            ASSERT_EQ(dot ? 255 : 0, pixel[3]) << x << "," << y;
            if (dot) {
                EXPECT_EQ(0, pixel[0]);
            }
        }
    }

    // Half opacity on a grey page: half way between the page and the stamp.
    Picture page = Filled(100, 100, 1, 255);
    StampPicture(stamp, 0, 50, &page);
    EXPECT_NEAR(255 - (255 - 76) / 2, At(page, 50, 50)[0], 2);  // over the red row
    EXPECT_EQ(255, At(page, 5, 5)[0]);
}

TEST(Signature, AnUnreadableFileFailsWithItsName) {
    const std::string fake = Folder() + "/fake.png";
    std::ofstream(fake) << "\x89PNG but not really";
    const std::string text = Folder() + "/notes.txt";
    std::ofstream(text) << "hello";
    const std::string truncated = Folder() + "/cut.bmp";
    WriteBmp(truncated);
    std::ofstream(truncated, std::ios::in | std::ios::out | std::ios::binary).seekp(2) << "\xFF\xFF";
    {
        std::string whole;
        std::ifstream in(truncated, std::ios::binary);
        whole.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        std::ofstream(truncated, std::ios::binary) << whole.substr(0, 60);
    }
    for (const std::string& path : {fake, text, truncated, Folder() + "/missing.gif"}) {
        ImageOperations operations;
        operations.signatureFile = path;
        Stamp stamp;
        std::string error;
        EXPECT_FALSE(PrepareStamp(operations, ZANDRIX_TEST_FONTS, &stamp, &error)) << path;
        EXPECT_NE(std::string::npos, error.find(path)) << error;
    }
    ImageOperations operations;
    operations.signatureText = "x";
    Stamp stamp;
    std::string error;
    EXPECT_FALSE(PrepareStamp(operations, Folder(), &stamp, &error));
    EXPECT_NE(std::string::npos, error.find("font"));
}

}  // namespace
