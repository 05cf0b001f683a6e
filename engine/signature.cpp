// The signature stamp: reading its picture file (PNG, JPEG, GIF and TIFF
// through their libraries, BMP by a small reader here), drawing its text
// with FreeType, and blending it onto pages.
#include "engine/signature.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <memory>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

#include "engine/operations.h"

namespace {

// Larger pictures are refused rather than risk the memory of a run.
constexpr long long kMostStampPixels = 16LL * 1024 * 1024;

bool SizeAcceptable(long long width, long long height) {
    return width > 0 && height > 0 && width <= 65535 && height <= 65535 && width * height <= kMostStampPixels;
}

void SizeStamp(Stamp* stamp, int width, int height) {
    stamp->width = width;
    stamp->height = height;
    stamp->rgba.assign(static_cast<size_t>(width) * height * 4, 255);
}

bool ReadPng(const std::string& path, Stamp* stamp, std::string* error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        *error = std::string("not a readable PNG file (") + image.message + ")";
        return false;
    }
    if (!SizeAcceptable(image.width, image.height)) {
        png_image_free(&image);
        *error = "the PNG picture is too large";
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    SizeStamp(stamp, static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, stamp->rgba.data(), 0, nullptr)) {
        *error = std::string("not a readable PNG file (") + image.message + ")";
        png_image_free(&image);
        return false;
    }
    return true;
}

struct JpegFailure {
    jpeg_error_mgr manager;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    JpegFailure* failure = reinterpret_cast<JpegFailure*>(info->err);
    (*info->err->format_message)(info, failure->message);
    longjmp(failure->jump, 1);
}

void JpegQuiet(j_common_ptr, int) {}

// Kept apart from C++ objects with destructors: a longjmp must not skip them.
bool DecodeJpeg(FILE* file, Stamp* stamp, JpegFailure* failure) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&failure->manager);
    failure->manager.error_exit = JpegErrorExit;
    failure->manager.emit_message = JpegQuiet;
    if (setjmp(failure->jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    const int components = info.num_components;
    if (components == 4) {
        info.out_color_space = JCS_CMYK;
    } else if (components == 1) {
        info.out_color_space = JCS_GRAYSCALE;
    } else {
        info.out_color_space = JCS_RGB;
    }
    jpeg_start_decompress(&info);
    if (!SizeAcceptable(info.output_width, info.output_height)) {
        std::snprintf(failure->message, sizeof failure->message, "%s", "the JPEG picture is too large");
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool adobeInverted = info.saw_Adobe_marker;
    SizeStamp(stamp, static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    // The library's own pool: a longjmp out of it leaks nothing.
    JSAMPARRAY line = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                info.output_width * info.output_components, 1);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, line, 1);
        uint8_t* out = stamp->rgba.data() + static_cast<size_t>(y) * stamp->width * 4;
        for (int x = 0; x < stamp->width; ++x) {
            const uint8_t* in = line[0] + static_cast<size_t>(x) * info.output_components;
            if (info.output_components == 1) {
                out[4 * x] = out[4 * x + 1] = out[4 * x + 2] = in[0];
            } else if (info.output_components == 3) {
                std::memcpy(out + 4 * x, in, 3);
            } else {
                // Adobe's CMYK JPEGs hold the inks inverted.
                int ink[4];
                for (int k = 0; k < 4; ++k) ink[k] = adobeInverted ? 255 - in[k] : in[k];
                for (int k = 0; k < 3; ++k) out[4 * x + k] = static_cast<uint8_t>((255 - ink[k]) * (255 - ink[3]) / 255);
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool ReadJpeg(const std::string& path, Stamp* stamp, std::string* error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        *error = "cannot open the file";
        return false;
    }
    std::unique_ptr<JpegFailure> failure(new JpegFailure());
    const bool ok = DecodeJpeg(file, stamp, failure.get());
    std::fclose(file);
    if (!ok) *error = std::string("not a readable JPEG file (") + failure->message + ")";
    return ok;
}

// giflib has no text for some of its codes.
std::string GifMessage(int code) {
    const char* text = GifErrorString(code);
    return text ? text : "error " + std::to_string(code);
}

// The first picture of the file, read record by record so that its size is
// checked before anything is allocated for it.
bool DecodeGif(GifFileType* gif, Stamp* stamp, std::string* error) {
    GraphicsControlBlock control;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifRecordType type;
    while (DGifGetRecordType(gif, &type) == GIF_OK) {
        if (type == TERMINATE_RECORD_TYPE) break;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) != GIF_OK) break;
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
                DGifExtensionToGCB(block[0], block + 1, &control);
            while (block)
                if (DGifGetExtensionNext(gif, &block) != GIF_OK) {
                    *error = "not a readable GIF file (" + GifMessage(gif->Error) + ")";
                    return false;
                }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) != GIF_OK) break;
        const int width = gif->Image.Width, height = gif->Image.Height;
        const ColorMapObject* map = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
        if (!map || !SizeAcceptable(width, height)) {
            *error = "not a readable GIF file (no colour table, or a picture too large)";
            return false;
        }
        std::vector<GifPixelType> indices(static_cast<size_t>(width) * height);
        // Interlaced pictures come in four passes over the rows.
        static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
        const int passes = gif->Image.Interlace ? 4 : 1;
        for (int pass = 0; pass < passes; ++pass)
            for (int y = passes == 1 ? 0 : kStart[pass]; y < height; y += passes == 1 ? 1 : kStep[pass])
                if (DGifGetLine(gif, indices.data() + static_cast<size_t>(y) * width, width) != GIF_OK) {
                    *error = "not a readable GIF file (" + GifMessage(gif->Error) + ")";
                    return false;
                }
        SizeStamp(stamp, width, height);
        for (size_t i = 0; i < indices.size(); ++i) {
            const int index = indices[i];
            uint8_t* out = stamp->rgba.data() + 4 * i;
            if (index < map->ColorCount) {
                out[0] = map->Colors[index].Red;
                out[1] = map->Colors[index].Green;
                out[2] = map->Colors[index].Blue;
            }
            out[3] = index == control.TransparentColor ? 0 : 255;
        }
        return true;
    }
    *error = "not a readable GIF file (" + (gif->Error ? GifMessage(gif->Error) : std::string("no picture")) + ")";
    return false;
}

bool ReadGif(const std::string& path, Stamp* stamp, std::string* error) {
    int code = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &code);
    if (!gif) {
        *error = "not a readable GIF file (" + GifMessage(code) + ")";
        return false;
    }
    const bool ok = DecodeGif(gif, stamp, error);
    DGifCloseFile(gif, &code);
    return ok;
}

void TiffQuiet(const char*, const char*, va_list) {}

bool ReadTiff(const std::string& path, Stamp* stamp, std::string* error) {
    // libtiff's messages would go to the console; the log gets ours.
    TIFFSetErrorHandler(TiffQuiet);
    TIFFSetWarningHandler(TiffQuiet);
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (!tiff) {
        *error = "not a readable TIFF file";
        return false;
    }
    uint32_t width = 0, height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    bool ok = SizeAcceptable(width, height);
    if (ok) {
        std::vector<uint32_t> raster(static_cast<size_t>(width) * height);
        ok = TIFFReadRGBAImageOriented(tiff, width, height, raster.data(), ORIENTATION_TOPLEFT, 0) != 0;
        if (ok) {
            SizeStamp(stamp, static_cast<int>(width), static_cast<int>(height));
            for (size_t i = 0; i < raster.size(); ++i) {
                stamp->rgba[4 * i] = static_cast<uint8_t>(TIFFGetR(raster[i]));
                stamp->rgba[4 * i + 1] = static_cast<uint8_t>(TIFFGetG(raster[i]));
                stamp->rgba[4 * i + 2] = static_cast<uint8_t>(TIFFGetB(raster[i]));
                stamp->rgba[4 * i + 3] = static_cast<uint8_t>(TIFFGetA(raster[i]));
            }
        }
    }
    TIFFClose(tiff);
    if (!ok) *error = "not a readable TIFF file";
    return ok;
}

uint32_t Little32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
}
uint16_t Little16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

// Uncompressed BMP files of 1, 4, 8, 24 or 32 bits a pixel, bottom-up or
// top-down; the compressed kinds are refused.
bool ReadBmp(const std::vector<uint8_t>& bytes, Stamp* stamp, std::string* error) {
    *error = "not a readable BMP file";
    if (bytes.size() < 26) return false;
    const uint32_t dataOffset = Little32(bytes, 10);
    const uint32_t headerSize = Little32(bytes, 14);
    long long width, height;
    int bits;
    uint32_t compression = 0, colours = 0;
    if (headerSize == 12) {
        width = Little16(bytes, 18);
        height = Little16(bytes, 20);
        bits = Little16(bytes, 24);
    } else if (headerSize >= 40 && headerSize <= bytes.size() && bytes.size() >= 14 + 40) {
        width = static_cast<int32_t>(Little32(bytes, 18));
        height = static_cast<int32_t>(Little32(bytes, 22));
        bits = Little16(bytes, 28);
        compression = Little32(bytes, 30);
        colours = Little32(bytes, 46);
    } else {
        return false;
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (!SizeAcceptable(width, height)) return false;
    if (!(compression == 0 || (compression == 3 && bits == 32))) {
        *error = "a compressed BMP file, which the signature cannot read";
        return false;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
    const size_t entrySize = headerSize == 12 ? 3 : 4;
    const size_t paletteAt = 14 + static_cast<size_t>(headerSize);
    if (bits <= 8 && (colours == 0 || colours > (1u << bits))) colours = 1u << bits;
    if (bits <= 8 && paletteAt + colours * entrySize > bytes.size()) return false;
    const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    if (dataOffset > bytes.size() || stride * static_cast<size_t>(height) > bytes.size() - dataOffset) return false;
    SizeStamp(stamp, static_cast<int>(width), static_cast<int>(height));
    for (long long y = 0; y < height; ++y) {
        const size_t rowAt = dataOffset + stride * static_cast<size_t>(topDown ? y : height - 1 - y);
        uint8_t* out = stamp->rgba.data() + static_cast<size_t>(y) * width * 4;
        for (long long x = 0; x < width; ++x) {
            uint8_t* pixel = out + 4 * x;
            if (bits >= 24) {
                const size_t at = rowAt + static_cast<size_t>(x) * (bits / 8);
                pixel[0] = bytes[at + 2];
                pixel[1] = bytes[at + 1];
                pixel[2] = bytes[at];
            } else {
                const size_t bit = static_cast<size_t>(x) * bits;
                const int shift = 8 - bits - static_cast<int>(bit % 8);
                const uint32_t index = (bytes[rowAt + bit / 8] >> shift) & ((1u << bits) - 1);
                if (index < colours) {
                    const size_t at = paletteAt + index * entrySize;
                    pixel[0] = bytes[at + 2];
                    pixel[1] = bytes[at + 1];
                    pixel[2] = bytes[at];
                }
            }
        }
    }
    return true;
}

// The first limit bytes of the file (all of it when shorter); whole says
// whether that was all. False when it cannot be opened or read.
bool ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>* bytes, bool* whole) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    uint8_t buffer[65536];
    size_t got;
    *whole = true;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (bytes->size() + got > limit) {
            bytes->insert(bytes->end(), buffer, buffer + (limit - bytes->size()));
            *whole = false;
            break;
        }
        bytes->insert(bytes->end(), buffer, buffer + got);
    }
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

// Code points of Windows-1252's 0x80..0x9F; the rest of the page is Latin-1.
const uint16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

unsigned long CodePoint(unsigned char c) { return c >= 0x80 && c < 0xA0 ? kWindows1252High[c - 0x80] : c; }

// The text is drawn this tall once; each page gets it resampled.
constexpr int kTextPixelSize = 160;

}  // namespace

bool ReadStampPicture(const std::string& path, Stamp* stamp, std::string* error) {
    std::vector<uint8_t> bytes;
    bool whole = false;
    if (!ReadFileStart(path, 8, &bytes, &whole)) {
        *error = "the signature file " + path + " cannot be read";
        return false;
    }
    std::string why;
    bool ok;
    auto starts = [&bytes](const char* magic, size_t length) {
        return bytes.size() >= length && std::memcmp(bytes.data(), magic, length) == 0;
    };
    if (starts("\x89PNG", 4)) {
        ok = ReadPng(path, stamp, &why);
    } else if (starts("\xFF\xD8", 2)) {
        ok = ReadJpeg(path, stamp, &why);
    } else if (starts("GIF8", 4)) {
        ok = ReadGif(path, stamp, &why);
    } else if (starts("II*\0", 4) || starts("MM\0*", 4)) {
        ok = ReadTiff(path, stamp, &why);
    } else if (starts("BM", 2)) {
        // The largest BMP a stamp may be: 32 bits a pixel, and a header.
        std::vector<uint8_t> file;
        ok = ReadFileStart(path, static_cast<size_t>(kMostStampPixels) * 4 + 65536, &file, &whole) && whole &&
             ReadBmp(file, stamp, &why);
        if (!ok && why.empty()) why = "too large or unreadable";
    } else {
        ok = false;
        why = "not a PNG, JPEG, BMP, GIF or TIFF picture";
    }
    stamp->text = false;
    if (!ok) *error = "the signature file " + path + " cannot be read: " + why;
    return ok;
}

bool DrawStampText(const std::string& text, const std::string& fontFolder, Stamp* stamp, std::string* error) {
    if (text.empty()) {
        *error = "the signature text is empty";
        return false;
    }
    FT_Library library;
    if (FT_Init_FreeType(&library)) {
        *error = "the font library cannot start";
        return false;
    }
    static const char* const kFontFiles[] = {"NimbusSans-Regular.otf", "NimbusSans-Regular.t1", "n019003l.pfb"};
    FT_Face face = nullptr;
    for (const char* name : kFontFiles) {
        const std::string path = fontFolder + "/" + name;
        if (FT_New_Face(library, path.c_str(), 0, &face) == 0) break;
        face = nullptr;
    }
    if (!face || FT_Set_Pixel_Sizes(face, 0, kTextPixelSize)) {
        if (face) FT_Done_Face(face);
        FT_Done_FreeType(library);
        *error = "no font for the signature text in " + fontFolder;
        return false;
    }
    const std::string shown = text.substr(0, 256);
    const int ascender = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    const int descender = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
    long long advance = 0;
    for (unsigned char c : shown)
        if (FT_Load_Char(face, CodePoint(c), FT_LOAD_DEFAULT) == 0) advance += face->glyph->advance.x >> 6;
    SizeStamp(stamp, static_cast<int>(std::max<long long>(1, advance)), std::max(1, ascender + descender));
    for (size_t i = 0; i < stamp->rgba.size(); i += 4) {
        stamp->rgba[i] = stamp->rgba[i + 1] = stamp->rgba[i + 2] = 0;
        stamp->rgba[i + 3] = 0;
    }
    long long pen = 0;
    for (unsigned char c : shown) {
        if (FT_Load_Char(face, CodePoint(c), FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const long long y = ascender - glyph->bitmap_top + static_cast<long long>(row);
            if (y < 0 || y >= stamp->height || bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) continue;
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const long long x = pen + glyph->bitmap_left + static_cast<long long>(column);
                if (x < 0 || x >= stamp->width) continue;
                uint8_t& alpha = stamp->rgba[(static_cast<size_t>(y) * stamp->width + static_cast<size_t>(x)) * 4 + 3];
                alpha = std::max(alpha, bitmap.buffer[static_cast<long long>(row) * bitmap.pitch + column]);
            }
        }
        pen += glyph->advance.x >> 6;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    stamp->text = true;
    return true;
}

bool PrepareStamp(const ImageOperations& operations, const std::string& fontFolder, Stamp* stamp,
                  std::string* error) {
    if (!operations.signatureFile.empty()) return ReadStampPicture(operations.signatureFile, stamp, error);
    return DrawStampText(operations.signatureText, fontFolder, stamp, error);
}

void StampPicture(const Stamp& stamp, int region, int dissolve, Picture* picture) {
    const int pageWidth = picture->width, pageHeight = picture->height;
    if (stamp.width <= 0 || stamp.height <= 0 || pageWidth <= 0 || pageHeight <= 0) return;
    const int margin = std::max(1, std::min(pageWidth, pageHeight) / 40);
    const int roomWidth = std::max(1, pageWidth - 2 * margin), roomHeight = std::max(1, pageHeight - 2 * margin);
    // The stamp as large as it is drawn on this page, held as a 4-channel
    // picture so the resampler serves it.
    double scale = stamp.text ? pageWidth / 3.0 / stamp.width : 1.0;
    scale = std::min(scale, std::min(static_cast<double>(roomWidth) / stamp.width,
                                     static_cast<double>(roomHeight) / stamp.height));
    Picture sized;
    sized.width = stamp.width;
    sized.height = stamp.height;
    sized.channels = 4;
    sized.pixels = stamp.rgba;
    ScalePicture(&sized, std::max(1, static_cast<int>(stamp.width * scale)),
                 std::max(1, static_cast<int>(stamp.height * scale)));
    const int w = sized.width, h = sized.height;
    const int centredX = (pageWidth - w) / 2, centredY = (pageHeight - h) / 2;
    const int east = pageWidth - w - margin, south = pageHeight - h - margin;
    static const int kPlace[9][2] = {{1, 1}, {2, 1}, {1, 0}, {1, 2}, {0, 1}, {2, 0}, {0, 0}, {2, 2}, {0, 2}};
    const int* place = kPlace[region >= 0 && region <= 8 ? region : 0];
    const int left = place[0] == 0 ? margin : place[0] == 1 ? centredX : east;
    const int top = place[1] == 0 ? margin : place[1] == 1 ? centredY : south;
    const int opacity = std::max(0, std::min(100, dissolve));
    const int c = picture->channels;
    for (int y = 0; y < h; ++y) {
        const int py = top + y;
        if (py < 0 || py >= pageHeight) continue;
        const uint8_t* in = sized.Row(y);
        uint8_t* out = picture->Row(py);
        for (int x = 0; x < w; ++x) {
            const int px = left + x;
            if (px < 0 || px >= pageWidth) continue;
            const uint8_t* s = in + 4 * x;
            const int alpha = s[3] * opacity;  // 0 .. 25500
            if (alpha == 0) continue;
            uint8_t colour[4];
            if (c == 1) {
                colour[0] = static_cast<uint8_t>((s[0] * 299 + s[1] * 587 + s[2] * 114 + 500) / 1000);
            } else if (c == 3) {
                std::memcpy(colour, s, 3);
            } else {
                const int k = 255 - std::max(s[0], std::max(s[1], s[2]));
                for (int n = 0; n < 3; ++n) colour[n] = static_cast<uint8_t>(k < 255 ? (255 - k - s[n]) * 255 / (255 - k) : 0);
                colour[3] = static_cast<uint8_t>(k);
            }
            uint8_t* target = out + static_cast<size_t>(px) * c;
            for (int k = 0; k < c; ++k)
                target[k] = static_cast<uint8_t>((colour[k] * alpha + target[k] * (25500 - alpha) + 12750) / 25500);
            if (picture->bilevel) target[0] = target[0] < 128 ? 0 : 255;
        }
    }
}
