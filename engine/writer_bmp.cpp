// BMP: a Windows bitmap (BITMAPINFOHEADER) per page.
//   bmp_type 0  one bit per pixel, black and white (pixels darker than
//               mid-grey are black; a bilevel picture stays as it is)
//   bmp_type 1  256 colours with a palette; compress gives RLE8
//   bmp_type 2  24 bits
// compress applies to 256 colours only: BMP has no run-length coding for one
// or 24 bits per pixel.
#include "engine/writer_makers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/one_page_writer.h"
#include "engine/quantize.h"

namespace {

void Put16(std::string* out, unsigned v) {
    out->push_back(static_cast<char>(v & 255));
    out->push_back(static_cast<char>(v >> 8 & 255));
}
void Put32(std::string* out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>(v >> (8 * i) & 255));
}

// One row of palette indices in RLE8: runs as (count, value), stretches of
// differing bytes as absolute runs (0, count, bytes, padded to a word).
void EncodeRle8Row(const uint8_t* row, int width, std::string* out) {
    int i = 0;
    while (i < width) {
        int run = 1;
        while (i + run < width && run < 255 && row[i + run] == row[i]) ++run;
        if (run >= 2) {
            out->push_back(static_cast<char>(run));
            out->push_back(static_cast<char>(row[i]));
            i += run;
            continue;
        }
        int j = i;
        while (j < width && j - i < 255) {
            if (j + 1 < width && row[j] == row[j + 1]) break;
            ++j;
        }
        int n = j - i;
        if (n < 3) {
            for (int k = i; k < j; ++k) {
                out->push_back(1);
                out->push_back(static_cast<char>(row[k]));
            }
        } else {
            out->push_back(0);
            out->push_back(static_cast<char>(n));
            out->append(reinterpret_cast<const char*>(row + i), static_cast<size_t>(n));
            if (n & 1) out->push_back(0);
        }
        i = j;
    }
}

class BmpWriter : public OnePageWriter {
public:
    explicit BmpWriter(const OutputOptions& options) : OnePageWriter("BMP"), options_(options) {}

    bool WritePicture(const Picture& picture, std::string* error) override {
        const int type = options_.bmpType == 0 || options_.bmpType == 1 ? options_.bmpType : 2;
        const int bits = type == 0 ? 1 : type == 1 ? 8 : 24;
        const uint64_t stride = (static_cast<uint64_t>(picture.width) * static_cast<uint64_t>(bits) + 31) / 32 * 4;
        if (stride * static_cast<uint64_t>(picture.height) > 0x7fff0000u) {
            *error = "the page is too large for a BMP file";
            return false;
        }

        std::vector<PaletteColour> palette;
        IndexedPicture indexed;
        if (type == 0) {
            palette = {PaletteColour{0, 0, 0}, PaletteColour{255, 255, 255}};
        } else if (type == 1) {
            indexed = QuantizePicture(picture, QuantizeRequest{});
            palette = indexed.palette;
        }
        const bool rle = type == 1 && options_.bmpCompress;

        const auto fillRow = [&](int y, std::vector<uint8_t>* line) {
            std::fill(line->begin(), line->end(), 0);
            uint8_t* out = line->data();
            for (int x = 0; x < picture.width; ++x) {
                if (type == 0) {
                    if (!PixelIsBlack(picture, x, y)) out[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
                } else if (type == 1) {
                    out[x] = indexed.indices[static_cast<size_t>(y) * static_cast<size_t>(picture.width) +
                                             static_cast<size_t>(x)];
                } else {
                    PaletteColour c = PixelColour(picture, x, y);
                    out[x * 3] = c.b;
                    out[x * 3 + 1] = c.g;
                    out[x * 3 + 2] = c.r;
                }
            }
        };

        // RLE8 data is coded before the header that states its size; plain
        // rows go straight to the file. Bottom row first, as BMP stores them.
        std::string coded;
        if (rle) {
            for (int y = picture.height - 1; y >= 0; --y) {
                EncodeRle8Row(&indexed.indices[static_cast<size_t>(y) * static_cast<size_t>(picture.width)],
                              picture.width, &coded);
                coded.append(y > 0 ? std::string("\0\0", 2) : std::string("\0\1", 2));
            }
        }
        const uint64_t dataSize = rle ? coded.size() : stride * static_cast<uint64_t>(picture.height);
        const uint32_t headerSize = 14 + 40 + static_cast<uint32_t>(palette.size()) * 4;
        if (dataSize > 0x7fff0000u - headerSize) {
            *error = "the page is too large for a BMP file";
            return false;
        }
        std::string head;
        head += "BM";
        Put32(&head, headerSize + static_cast<uint32_t>(dataSize));
        Put32(&head, 0);
        Put32(&head, headerSize);
        Put32(&head, 40);
        Put32(&head, static_cast<uint32_t>(picture.width));
        Put32(&head, static_cast<uint32_t>(picture.height));
        Put16(&head, 1);
        Put16(&head, static_cast<unsigned>(bits));
        Put32(&head, rle ? 1 : 0);  // BI_RLE8 or BI_RGB
        Put32(&head, static_cast<uint32_t>(dataSize));
        Put32(&head, PixelsPerMetre(picture.dpiX));
        Put32(&head, PixelsPerMetre(picture.dpiY));
        Put32(&head, static_cast<uint32_t>(palette.size()));
        Put32(&head, 0);
        for (const PaletteColour& c : palette) {
            head.push_back(static_cast<char>(c.b));
            head.push_back(static_cast<char>(c.g));
            head.push_back(static_cast<char>(c.r));
            head.push_back(0);
        }
        file_.Write(head);
        if (rle) {
            file_.Write(coded);
        } else {
            std::vector<uint8_t> line(static_cast<size_t>(stride));
            for (int y = picture.height - 1; y >= 0; --y) {
                fillRow(y, &line);
                file_.Write(line.data(), line.size());
            }
        }
        return true;
    }

private:
    OutputOptions options_;
};

}  // namespace

std::unique_ptr<Writer> MakeBmpWriter(const OutputOptions& options) { return std::make_unique<BmpWriter>(options); }
