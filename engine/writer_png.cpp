// PNG output: one page a file. The job's quality q chooses the zlib level
// (q / 10) and the row filter (q % 10: 0 none, 1 sub, 2 up, 3 average,
// 4 Paeth, 5 and above adaptive), as common converters read a PNG quality;
// "progressive" interlaces with Adam7. pHYs states the drawn resolution.
#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include "engine/formats.h"
#include "engine/one_page_writer.h"
#include "engine/writer_makers.h"

namespace {

int FilterFor(int quality) {
    switch (quality % 10) {
    case 0: return PNG_FILTER_NONE;
    case 1: return PNG_FILTER_SUB;
    case 2: return PNG_FILTER_UP;
    case 3: return PNG_FILTER_AVG;
    case 4: return PNG_FILTER_PAETH;
    default: return PNG_ALL_FILTERS;
    }
}

// A CMYK picture's row as RGB (ink taken away from white).
void CmykRowToRgb(const uint8_t* in, int width, uint8_t* out) {
    for (int x = 0; x < width; ++x, in += 4, out += 3)
        for (int c = 0; c < 3; ++c) {
            int value = 255 - in[c] - in[3];
            out[c] = static_cast<uint8_t>(value < 0 ? 0 : value);
        }
}

struct PngFailure {
    std::jmp_buf jump;
    char message[200] = "";
};

void OnPngError(png_structp png, png_const_charp message) {
    PngFailure* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
    std::snprintf(failure->message, sizeof failure->message, "%s", message != nullptr ? message : "");
    std::longjmp(failure->jump, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

class PngWriter : public OnePageWriter {
public:
    explicit PngWriter(const OutputOptions& options) : OnePageWriter("PNG"), options_(options) {}

    bool WritePicture(const Picture& picture, std::string* error) override {
        if (!Encode(picture)) {
            *error = std::string("PNG encoding failed: ") + failure_.message;
            return false;
        }
        return true;
    }

private:
    bool Encode(const Picture& picture) {
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure_, OnPngError, OnPngWarning);
        if (png == nullptr) return false;
        png_infop info = png_create_info_struct(png);
        if (info == nullptr || setjmp(failure_.jump) != 0) {
            png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
            return false;
        }
        png_init_io(png, file_.Stream());
        const int quality = options_.pngQuality;
        png_set_compression_level(png, quality / 10 > 9 ? 9 : quality / 10);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, FilterFor(quality));
        const bool grey = picture.channels == 1;
        png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height), 8,
                     grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB,
                     options_.pngProgressive ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
                     PNG_FILTER_TYPE_BASE);
        png_set_pHYs(png, info, PixelsPerMetre(picture.dpiX), PixelsPerMetre(picture.dpiY), PNG_RESOLUTION_METER);
        png_write_info(png, info);
        const int passes = png_set_interlace_handling(png);
        if (picture.channels == 4) converted_.resize(static_cast<size_t>(picture.width) * 3);
        for (int pass = 0; pass < passes; ++pass) {
            for (int y = 0; y < picture.height; ++y) {
                const uint8_t* row = picture.Row(y);
                if (picture.channels == 4) {
                    CmykRowToRgb(row, picture.width, converted_.data());
                    row = converted_.data();
                }
                png_write_row(png, row);
            }
        }
        png_write_end(png, info);
        png_destroy_write_struct(&png, &info);
        return true;
    }

    OutputOptions options_;
    PngFailure failure_;
    std::vector<uint8_t> converted_;  // a member: it must survive a longjmp
};

}  // namespace

std::unique_ptr<Writer> MakePngWriter(const OutputOptions& options) { return std::make_unique<PngWriter>(options); }
