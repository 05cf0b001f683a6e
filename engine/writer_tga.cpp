// TGA: 24-bit true colour, run-length compressed (image type 10), rows top
// to bottom; grey and CMYK pictures are written as RGB.
#include <memory>

#include "engine/encoders.h"
#include "engine/more_writers.h"
#include "engine/one_page_writer.h"
#include "engine/operations.h"

namespace {

// One row of BGR pixels as TGA packets: a run packet repeats one pixel, a
// raw packet copies up to 128; packets never cross rows.
void EncodeTgaRow(const uint8_t* bgr, int width, Bytes* out) {
    auto same = [bgr](int a, int b) {
        return bgr[3 * a] == bgr[3 * b] && bgr[3 * a + 1] == bgr[3 * b + 1] && bgr[3 * a + 2] == bgr[3 * b + 2];
    };
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 128 && same(x, x + run)) ++run;
        if (run > 1) {
            out->push_back(static_cast<uint8_t>(0x80 | (run - 1)));
            out->insert(out->end(), bgr + 3 * x, bgr + 3 * x + 3);
            x += run;
            continue;
        }
        int raw = 1;
        while (x + raw < width && raw < 128 && !(x + raw + 1 < width && same(x + raw, x + raw + 1))) ++raw;
        out->push_back(static_cast<uint8_t>(raw - 1));
        out->insert(out->end(), bgr + 3 * x, bgr + 3 * (x + raw));
        x += raw;
    }
}

class TgaWriter : public OnePageWriter {
public:
    TgaWriter() : OnePageWriter("TGA") {}

    bool WritePicture(const Picture& page, std::string* error) override {
        if (page.width > 65535 || page.height > 65535) {
            *error = "a TGA picture cannot be larger than 65535 pixels a side";
            return false;
        }
        Picture picture = page;
        ConvertColourSpace(&picture, kSpaceRgb);
        Bytes out;
        out.push_back(0);   // no identification field
        out.push_back(0);   // no colour map
        out.push_back(10);  // run-length true colour
        out.insert(out.end(), 5, 0);
        Put16LE(&out, 0);
        Put16LE(&out, 0);
        Put16LE(&out, static_cast<unsigned>(picture.width));
        Put16LE(&out, static_cast<unsigned>(picture.height));
        out.push_back(24);
        out.push_back(0x20);  // first row at the top
        Bytes bgr(static_cast<size_t>(picture.width) * 3);
        for (int y = 0; y < picture.height; ++y) {
            const uint8_t* row = picture.Row(y);
            for (int x = 0; x < picture.width; ++x) {
                bgr[3 * x] = row[3 * x + 2];
                bgr[3 * x + 1] = row[3 * x + 1];
                bgr[3 * x + 2] = row[3 * x];
            }
            EncodeTgaRow(bgr.data(), picture.width, &out);
        }
        // The TGA 2.0 footer: no extension or developer area.
        Put32LE(&out, 0);
        Put32LE(&out, 0);
        const char signature[] = "TRUEVISION-XFILE.";
        out.insert(out.end(), signature, signature + sizeof signature);
        file_.Write(out);  // a failed write is reported by Close
        return true;
    }
};

}  // namespace

std::unique_ptr<Writer> MakeTgaWriter(const OutputOptions&) { return std::make_unique<TgaWriter>(); }
