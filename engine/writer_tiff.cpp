// TIFF through libtiff: a page per directory, several when adjoined.
//   compress 0 none, 1 CCITT Group 3, 2 CCITT Group 4, 3 JPEG, 4 PackBits,
//            5 Deflate (with the horizontal predictor on 8-bit samples)
//   author, copyright, comment  the Artist, Copyright and ImageDescription tags
// Group 3 and 4 code one bit per pixel: the page is made black and white
// (darker than mid-grey is black). A bilevel picture is written with one bit
// per pixel under every compression but JPEG. Grey, RGB and CMYK pictures are
// written as such; JPEG stores RGB as YCbCr at quality 75. The resolution
// tags state the resolution the pixels were drawn at, in pixels per inch.
#include "engine/writer_makers.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/quantize.h"

namespace {

constexpr int kJpegQuality = 75;

class TiffWriter : public Writer {
public:
    explicit TiffWriter(const OutputOptions& options) : options_(options) {}
    ~TiffWriter() override {
        if (tiff_) TIFFClose(tiff_);
    }

    bool Begin(const std::string& path, PDFDoc*, std::string* error) override {
        if (tiff_) TIFFClose(tiff_);
        tiff_ = nullptr;
        path_ = path;
        pages_ = 0;
        message_.clear();
        TIFFOpenOptions* open = TIFFOpenOptionsAlloc();
        if (!open) {
            *error = "out of memory";
            return false;
        }
        TIFFOpenOptionsSetErrorHandlerExtR(open, Report, this);
        TIFFOpenOptionsSetWarningHandlerExtR(open, Ignore, nullptr);
        tiff_ = TIFFOpenExt(path.c_str(), "w", open);
        TIFFOpenOptionsFree(open);
        if (!tiff_) {
            *error = "cannot create " + path + Detail();
            return false;
        }
        return true;
    }

    bool AddPage(const PageInput& page, std::string* error) override {
        if (!tiff_) {
            *error = "no file open";
            return false;
        }
        if (!page.picture || !PictureIsWritable(*page.picture)) {
            *error = "no picture to write";
            return false;
        }
        if (!WritePage(*page.picture)) {
            *error = "cannot write page " + std::to_string(page.number) + " to " + path_ + Detail();
            return false;
        }
        ++pages_;
        return true;
    }

    bool End(std::string* error) override {
        if (!tiff_) {
            *error = "no file open";
            return false;
        }
        TIFFClose(tiff_);
        tiff_ = nullptr;
        if (!message_.empty()) {
            *error = "cannot write " + path_ + Detail();
            return false;
        }
        if (pages_ == 0) {
            *error = "no page was written";
            return false;
        }
        return true;
    }

private:
    static int Report(TIFF*, void* self, const char* module, const char* format, va_list args) {
        char text[512];
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
        std::vsnprintf(text, sizeof text, format, args);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
        auto* writer = static_cast<TiffWriter*>(self);
        if (writer->message_.empty()) writer->message_ = std::string(module ? module : "libtiff") + ": " + text;
        return 1;
    }
    static int Ignore(TIFF*, void*, const char*, const char*, va_list) { return 1; }

    std::string Detail() const { return message_.empty() ? std::string() : " (" + message_ + ")"; }

    bool WritePage(const Picture& picture) {
        const int compress = options_.tiffCompress;
        const bool oneBit = compress == 1 || compress == 2 || (picture.bilevel && compress != 3);
        TIFF* t = tiff_;
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(picture.width));
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(picture.height));
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
        if (options_.tiffAdjoin) TIFFSetField(t, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        int samples = 1;
        if (oneBit) {
            TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
            TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        } else {
            samples = picture.channels == 1 ? 1 : picture.channels == 4 ? 4 : 3;
            TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
            TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
            if (samples == 4) {
                TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED);
                TIFFSetField(t, TIFFTAG_INKSET, INKSET_CMYK);
            } else if (samples == 3 && compress == 3) {
                TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
            } else {
                TIFFSetField(t, TIFFTAG_PHOTOMETRIC, samples == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
            }
        }
        switch (compress) {
        case 1: TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3); break;
        case 2: TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4); break;
        case 3:
            TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_JPEG);
            TIFFSetField(t, TIFFTAG_JPEGQUALITY, kJpegQuality);
            if (samples == 3) TIFFSetField(t, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
            break;
        case 4: TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS); break;
        case 5:
            TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
            if (!oneBit) TIFFSetField(t, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
            break;
        default: TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_NONE); break;
        }
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
        TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<float>(picture.dpiX));
        TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<float>(picture.dpiY));
        TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        if (!options_.tiffAuthor.empty()) TIFFSetField(t, TIFFTAG_ARTIST, options_.tiffAuthor.c_str());
        if (!options_.tiffCopyright.empty()) TIFFSetField(t, TIFFTAG_COPYRIGHT, options_.tiffCopyright.c_str());
        if (!options_.tiffComment.empty()) TIFFSetField(t, TIFFTAG_IMAGEDESCRIPTION, options_.tiffComment.c_str());

        std::vector<uint8_t> row(oneBit ? (static_cast<size_t>(picture.width) + 7) / 8
                                        : static_cast<size_t>(picture.width) * static_cast<size_t>(samples));
        for (int y = 0; y < picture.height; ++y) {
            if (oneBit) {
                std::fill(row.begin(), row.end(), 0);
                for (int x = 0; x < picture.width; ++x)
                    if (PixelIsBlack(picture, x, y))
                        row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
            } else if (samples == picture.channels) {
                std::copy(picture.Row(y), picture.Row(y) + picture.Stride(), row.begin());
            } else {
                for (int x = 0; x < picture.width; ++x) {
                    PaletteColour c = PixelColour(picture, x, y);
                    row[static_cast<size_t>(x) * 3] = c.r;
                    row[static_cast<size_t>(x) * 3 + 1] = c.g;
                    row[static_cast<size_t>(x) * 3 + 2] = c.b;
                }
            }
            if (TIFFWriteScanline(t, row.data(), static_cast<uint32_t>(y), 0) < 0) return false;
        }
        return TIFFWriteDirectory(t) == 1 && message_.empty();
    }

    OutputOptions options_;
    TIFF* tiff_ = nullptr;
    std::string path_;
    std::string message_;  // the first error libtiff reported
    int pages_ = 0;
};

}  // namespace

std::unique_ptr<Writer> MakeTiffWriter(const OutputOptions& options) { return std::make_unique<TiffWriter>(options); }
