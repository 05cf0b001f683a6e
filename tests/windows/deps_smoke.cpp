// Smoke program for the engine's libraries as built for Windows: links the
// whole static stack, registers the standard fonts, writes a PDF whose text
// uses Helvetica without embedding it, draws page 1 at 72 dpi with Splash
// and writes the picture as PNG, JPEG, GIF and TIFF (Group 4 and Deflate).
// tests/windows/deps_smoke.sh checks the files with the host's decoders.
//
//   deps_smoke OUT_FOLDER FONTS_FOLDER POPPLER_DATA_FOLDER
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <lcms2.h>
#include <openjpeg-2.5/openjpeg.h>
#include <png.h>
#include <tiffio.h>
#include <zlib.h>

#include "GlobalParams.h"
#include "PDFDoc.h"
#include "SplashOutputDev.h"
#include "goo/GooString.h"
#include "splash/SplashBitmap.h"

#include "engine/fonts.h"

namespace {

int g_messages = 0;

void PrintPopplerMessage(const char* message, long long where) {
    ++g_messages;
    std::fprintf(stderr, "poppler: %s (at %lld)\n", message, where);
}

struct Rgb {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;  // 3 bytes a pixel, rows top down
};

// A one-page PDF, 200 x 100 points, with "HELLO" in Helvetica 36 at (20, 40):
// the font is named, not embedded, as the standard fonts often are.
std::string SmokePdf() {
    const std::string content = "BT /F1 36 Tf 20 40 Td (HELLO) Tj ET\n";
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] /Resources << /Font << /F1 4 0 R >> >> "
        "/Contents 5 0 R >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
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

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

bool DrawFirstPage(const std::string& pdf_path, Rgb* picture) {
    auto document = std::make_unique<PDFDoc>(std::make_unique<GooString>(pdf_path));
    if (!document->isOk() || document->getNumPages() < 1) return false;
    SplashColor paper = {255, 255, 255};
    SplashOutputDev output(splashModeRGB8, 1, false, paper);
    output.startDoc(document.get());
    document->displayPage(&output, 1, 72, 72, 0, false, true, false);
    SplashBitmap* bitmap = output.getBitmap();
    picture->width = bitmap->getWidth();
    picture->height = bitmap->getHeight();
    picture->pixels.resize(static_cast<size_t>(picture->width) * picture->height * 3);
    for (int y = 0; y < picture->height; ++y) {
        std::memcpy(&picture->pixels[static_cast<size_t>(y) * picture->width * 3],
                    bitmap->getDataPtr() + static_cast<ptrdiff_t>(y) * bitmap->getRowSize(),
                    static_cast<size_t>(picture->width) * 3);
    }
    return true;
}

bool WritePng(const std::string& path, const Rgb& picture) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
        png_write_row(png, &picture.pixels[static_cast<size_t>(y) * picture.width * 3]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

bool WriteJpeg(const std::string& path, const Rgb& picture) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    jpeg_compress_struct jpeg;
    jpeg_error_mgr errors;
    jpeg.err = jpeg_std_error(&errors);  // a failure ends the program: enough for a smoke test
    jpeg_create_compress(&jpeg);
    jpeg_stdio_dest(&jpeg, file);
    jpeg.image_width = static_cast<JDIMENSION>(picture.width);
    jpeg.image_height = static_cast<JDIMENSION>(picture.height);
    jpeg.input_components = 3;
    jpeg.in_color_space = JCS_RGB;
    jpeg_set_defaults(&jpeg);
    jpeg_set_quality(&jpeg, 90, TRUE);
    jpeg_start_compress(&jpeg, TRUE);
    while (jpeg.next_scanline < jpeg.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&picture.pixels[static_cast<size_t>(jpeg.next_scanline) * picture.width * 3]);
        jpeg_write_scanlines(&jpeg, &row, 1);
    }
    jpeg_finish_compress(&jpeg);
    jpeg_destroy_compress(&jpeg);
    return std::fclose(file) == 0;
}

bool WriteGif(const std::string& path, const Rgb& picture) {
    const size_t count = static_cast<size_t>(picture.width) * picture.height;
    std::vector<GifByteType> red(count), green(count), blue(count), indexes(count);
    for (size_t i = 0; i < count; ++i) {
        red[i] = picture.pixels[i * 3];
        green[i] = picture.pixels[i * 3 + 1];
        blue[i] = picture.pixels[i * 3 + 2];
    }
    int colours = 256;
    ColorMapObject* map = GifMakeMapObject(colours, nullptr);
    if (map == nullptr) return false;
    bool ok = GifQuantizeBuffer(static_cast<unsigned>(picture.width), static_cast<unsigned>(picture.height), &colours,
                                red.data(), green.data(), blue.data(), indexes.data(), map->Colors) == GIF_OK;
    int error = 0;
    GifFileType* gif = ok ? EGifOpenFileName(path.c_str(), false, &error) : nullptr;
    ok = gif != nullptr && EGifPutScreenDesc(gif, picture.width, picture.height, 8, 0, map) == GIF_OK &&
         EGifPutImageDesc(gif, 0, 0, picture.width, picture.height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < picture.height; ++y) {
        ok = EGifPutLine(gif, &indexes[static_cast<size_t>(y) * picture.width], picture.width) == GIF_OK;
    }
    if (gif != nullptr && EGifCloseFile(gif, &error) != GIF_OK) ok = false;
    GifFreeMapObject(map);
    return ok;
}

// compression COMPRESSION_CCITTFAX4 writes the picture as black and white
// (dark below half grey), anything else as RGB.
bool WriteTiff(const std::string& path, const Rgb& picture, uint16_t compression) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (tiff == nullptr) return false;
    const bool bilevel = compression == COMPRESSION_CCITTFAX4;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(picture.width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(picture.height));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bilevel ? 1 : 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, bilevel ? 1 : 3);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, bilevel ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(picture.height));
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 72.0);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 72.0);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    bool ok = true;
    std::vector<unsigned char> row(static_cast<size_t>(picture.width) * 3);
    for (int y = 0; ok && y < picture.height; ++y) {
        const unsigned char* source = &picture.pixels[static_cast<size_t>(y) * picture.width * 3];
        if (bilevel) {
            std::fill(row.begin(), row.end(), 0);
            for (int x = 0; x < picture.width; ++x) {
                int grey = (source[x * 3] + source[x * 3 + 1] + source[x * 3 + 2]) / 3;
                if (grey < 128) row[static_cast<size_t>(x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
            }
        } else {
            std::memcpy(row.data(), source, row.size());
        }
        ok = TIFFWriteScanline(tiff, row.data(), static_cast<uint32_t>(y), 0) == 1;
    }
    TIFFClose(tiff);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: deps_smoke OUT_FOLDER FONTS_FOLDER POPPLER_DATA_FOLDER\n");
        return 2;
    }
    const std::string out = argv[1];
    std::printf("zlib %s, libpng %s, %s, openjpeg %s, lcms2 %d, giflib %d.%d.%d\n", zlibVersion(),
                png_get_libpng_ver(nullptr), TIFFGetVersion(), opj_version(), cmsGetEncodedCMMversion(), GIFLIB_MAJOR,
                GIFLIB_MINOR, GIFLIB_RELEASE);

    StartPoppler(argv[3], PrintPopplerMessage);
    std::vector<std::string> missing = RegisterStandardFonts(argv[2]);
    for (const std::string& name : missing) std::fprintf(stderr, "missing font file %s\n", name.c_str());

    const std::string pdf_path = out + "/smoke.pdf";
    Rgb picture;
    if (!WriteFile(pdf_path, SmokePdf()) || !DrawFirstPage(pdf_path, &picture)) {
        std::fprintf(stderr, "cannot draw %s\n", pdf_path.c_str());
        return 1;
    }
    struct {
        const char* name;
        bool ok;
    } written[] = {
        {"smoke.png", WritePng(out + "/smoke.png", picture)},
        {"smoke.jpg", WriteJpeg(out + "/smoke.jpg", picture)},
        {"smoke.gif", WriteGif(out + "/smoke.gif", picture)},
        {"smoke-g4.tif", WriteTiff(out + "/smoke-g4.tif", picture, COMPRESSION_CCITTFAX4)},
        {"smoke-deflate.tif", WriteTiff(out + "/smoke-deflate.tif", picture, COMPRESSION_ADOBE_DEFLATE)},
    };
    int status = missing.empty() ? 0 : 1;
    for (const auto& file : written) {
        std::printf("%s: %s\n", file.name, file.ok ? "written" : "FAILED");
        if (!file.ok) status = 1;
    }
    std::printf("page 1: %d x %d pixels, %d poppler messages\n", picture.width, picture.height, g_messages);
    return status;
}
