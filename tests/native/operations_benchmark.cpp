// How long the image operations take on a letter page drawn at 150 dpi
// (1275 x 1650 RGB), every operation on except rotation, beside the time
// libpng takes to encode the same page: not a test, a figure to watch.
#include <chrono>
#include <cstdio>
#include <string>

#include <png.h>

#include "engine/operations.h"
#include "engine/signature.h"

namespace {

Picture LetterPage() {
    Picture page;
    page.Reset(1275, 1650, 3, 255);
    page.dpiX = page.dpiY = 150;
    // Text-like lines of dark strokes inside margins.
    for (int y = 150; y < 1500; ++y) {
        if ((y / 12) % 2 == 0) continue;
        for (int x = 150; x < 1125; ++x)
            if ((x * 7 + y * 3) % 11 < 4) {
                uint8_t* p = page.Row(y) + 3 * x;
                p[0] = 20;
                p[1] = 20;
                p[2] = static_cast<uint8_t>(x % 200);
            }
    }
    return page;
}

double Milliseconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string fonts = argc > 1 ? argv[1] : "/usr/share/fonts/opentype/urw-base35";
    OutputOptions options;
    options.format = kOutPng;
    ImageOperations& operations = options.operations;
    operations.shave = true;
    operations.shaveWidth = 10;
    operations.shaveHeight = 10;
    operations.trim = true;
    operations.resizeWidth = 1000;
    operations.contrast = true;
    operations.equalize = true;
    operations.monochrome = true;
    operations.colourSpace = kSpaceGray;
    operations.signature = true;
    operations.signatureText = "Approved";
    operations.signatureRegion = 7;
    Stamp stamp;
    std::string error;
    if (!PrepareStamp(operations, fonts, &stamp, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const int rounds = 5;
    double operationsTime = 0, encodeTime = 0;
    for (int i = 0; i < rounds; ++i) {
        Picture page = LetterPage();
        auto start = std::chrono::steady_clock::now();
        png_image image = {};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(page.width);
        image.height = static_cast<png_uint_32>(page.height);
        image.format = PNG_FORMAT_RGB;
        png_alloc_size_t size = 0;
        png_image_write_to_memory(&image, nullptr, &size, 0, page.pixels.data(), 0, nullptr);
        std::vector<uint8_t> memory(size);
        png_image_write_to_memory(&image, memory.data(), &size, 0, page.pixels.data(), 0, nullptr);
        encodeTime += Milliseconds(start);
        start = std::chrono::steady_clock::now();
        if (!ApplyOperations(options, &stamp, &page, &error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        operationsTime += Milliseconds(start);
    }
    // Each operation on its own, in the order they run.
    Picture page = LetterPage();
    auto step = [](const char* name, auto operation) {
        const auto start = std::chrono::steady_clock::now();
        operation();
        std::printf("  %-12s %6.1f ms\n", name, Milliseconds(start));
    };
    step("shave", [&] { ShavePicture(&page, 10, 10, &error); });
    step("trim", [&] { TrimPicture(&page); });
    step("resize", [&] { ScalePicture(&page, 1000, page.height * 1000 / page.width); });
    step("contrast", [&] { IncreaseContrast(&page); });
    step("equalize", [&] { EqualizePicture(&page); });
    step("monochrome", [&] { MakeMonochrome(&page); });
    step("signature", [&] { StampPicture(stamp, 7, 50, &page); });
    Picture turned = LetterPage();
    step("rotate 30", [&] { RotatePicture(&turned, 30); });
    std::printf("letter page at 150 dpi: operations (all but rotation) %.1f ms, PNG encoding %.1f ms\n",
                operationsTime / rounds, encodeTime / rounds);
    return 0;
}
