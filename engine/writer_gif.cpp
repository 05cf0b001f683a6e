// GIF: one file per page through giflib.
//   87a           GIF87a, else GIF89a
//   interlace     rows stored in the four interlace passes
//   transparency  (GIF89a only) pixels of exactly color_gif, a Windows colour
//                 value (red in the low byte), become transparent
// Colours go through the quantiser: a page of at most 256 colours keeps
// them exactly; the transparent colour keeps an entry of its own that no
// other colour shares.
#include "engine/writer_makers.h"

#include <gif_lib.h>

#include <string>
#include <vector>

#include "engine/one_page_writer.h"
#include "engine/quantize.h"

namespace {

int WriteBytes(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<ByteFile*>(gif->UserData)->Write(data, static_cast<size_t>(length));
    return length;
}

std::string GifError(const char* what, int code) {
    const char* text = GifErrorString(code);
    return std::string(what) + ": " + (text ? text : "GIF error");
}

class GifWriter : public OnePageWriter {
public:
    explicit GifWriter(const OutputOptions& options) : OnePageWriter("GIF"), options_(options) {}

    bool WritePicture(const Picture& picture, std::string* error) override {
        if (picture.width > 65535 || picture.height > 65535) {
            *error = "the page is too large for a GIF file (65535 pixels a side)";
            return false;
        }
        const bool transparency = options_.gifTransparency && !options_.gif87a;
        QuantizeRequest request;
        request.reserve = transparency;
        request.reserved.r = static_cast<uint8_t>(options_.gifColour & 255);
        request.reserved.g = static_cast<uint8_t>(options_.gifColour >> 8 & 255);
        request.reserved.b = static_cast<uint8_t>(options_.gifColour >> 16 & 255);
        IndexedPicture indexed = QuantizePicture(picture, request);

        int bits = 1;
        while ((1 << bits) < static_cast<int>(indexed.palette.size())) ++bits;
        std::vector<GifColorType> colours(static_cast<size_t>(1) << bits);
        for (size_t i = 0; i < indexed.palette.size(); ++i) {
            colours[i].Red = indexed.palette[i].r;
            colours[i].Green = indexed.palette[i].g;
            colours[i].Blue = indexed.palette[i].b;
        }
        ColorMapObject* map = GifMakeMapObject(1 << bits, colours.data());
        if (!map) {
            *error = "out of memory for the GIF colour map";
            return false;
        }

        int code = 0;
        GifFileType* gif = EGifOpen(&file_, WriteBytes, &code);
        if (!gif) {
            GifFreeMapObject(map);
            *error = GifError("cannot start the GIF file", code);
            return false;
        }
        EGifSetGifVersion(gif, !options_.gif87a);
        bool ok = EGifPutScreenDesc(gif, picture.width, picture.height, bits, 0, map) == GIF_OK;
        GifFreeMapObject(map);
        if (ok && transparency && indexed.reservedIndex >= 0) {
            const GifByteType control[4] = {1, 0, 0, static_cast<GifByteType>(indexed.reservedIndex)};
            ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control) == GIF_OK;
        }
        const bool interlace = options_.gifInterlace;
        ok = ok && EGifPutImageDesc(gif, 0, 0, picture.width, picture.height, interlace, nullptr) == GIF_OK;
        // giflib writes rows in the order given: interlaced rows go pass by pass.
        static const int kStart[4] = {0, 4, 2, 1};
        static const int kStep[4] = {8, 8, 4, 2};
        for (int pass = 0; ok && pass < (interlace ? 4 : 1); ++pass) {
            const int start = interlace ? kStart[pass] : 0;
            const int step = interlace ? kStep[pass] : 1;
            for (int y = start; ok && y < picture.height; y += step) {
                GifPixelType* row = &indexed.indices[static_cast<size_t>(y) * static_cast<size_t>(picture.width)];
                ok = EGifPutLine(gif, row, picture.width) == GIF_OK;
            }
        }
        if (!ok) code = gif->Error;
        int closeCode = 0;
        if (EGifCloseFile(gif, &closeCode) != GIF_OK && ok) {
            ok = false;
            code = closeCode;
        }
        if (!ok) {
            *error = GifError("cannot write the GIF file", code);
            return false;
        }
        return true;
    }

private:
    OutputOptions options_;
};

}  // namespace

std::unique_ptr<Writer> MakeGifWriter(const OutputOptions& options) { return std::make_unique<GifWriter>(options); }
