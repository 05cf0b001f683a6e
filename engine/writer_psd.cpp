// PSD: one flattened picture in grey, RGB or CMYK as the page is, 8 bits a
// channel, each row of each channel PackBits compressed, with the page's
// resolution as a resource.
#include <memory>

#include "engine/encoders.h"
#include "engine/more_writers.h"
#include "engine/one_page_writer.h"

namespace {

class PsdWriter : public OnePageWriter {
public:
    PsdWriter() : OnePageWriter("PSD") {}

    bool WritePicture(const Picture& picture, std::string* error) override {
        if (picture.width > 30000 || picture.height > 30000) {
            *error = "a PSD picture cannot be larger than 30000 pixels a side";
            return false;
        }
        const int c = picture.channels;
        Bytes out;
        out.insert(out.end(), {'8', 'B', 'P', 'S'});
        Put16BE(&out, 1);
        out.insert(out.end(), 6, 0);
        Put16BE(&out, static_cast<unsigned>(c));
        Put32BE(&out, static_cast<uint32_t>(picture.height));
        Put32BE(&out, static_cast<uint32_t>(picture.width));
        Put16BE(&out, 8);
        Put16BE(&out, c == 1 ? 1 : c == 4 ? 4 : 3);  // grey, CMYK or RGB
        Put32BE(&out, 0);                           // no colour mode data
        // Image resources: the resolution (1005), pixels per inch in 16.16.
        Bytes resolution;
        Put32BE(&resolution, static_cast<uint32_t>(picture.dpiX * 65536.0 + 0.5));
        Put16BE(&resolution, 1);
        Put16BE(&resolution, 1);
        Put32BE(&resolution, static_cast<uint32_t>(picture.dpiY * 65536.0 + 0.5));
        Put16BE(&resolution, 1);
        Put16BE(&resolution, 1);
        Put32BE(&out, 12 + static_cast<uint32_t>(resolution.size()));
        out.insert(out.end(), {'8', 'B', 'I', 'M'});
        Put16BE(&out, 1005);
        Put16BE(&out, 0);  // empty name, padded to even
        Put32BE(&out, static_cast<uint32_t>(resolution.size()));
        out.insert(out.end(), resolution.begin(), resolution.end());
        Put32BE(&out, 0);  // no layers
        Put16BE(&out, 1);  // PackBits
        // Row byte counts of every channel first, then the rows.
        Bytes rows, counts, plane(static_cast<size_t>(picture.width));
        for (int k = 0; k < c; ++k) {
            for (int y = 0; y < picture.height; ++y) {
                const uint8_t* row = picture.Row(y);
                for (int x = 0; x < picture.width; ++x) {
                    const uint8_t value = row[static_cast<size_t>(x) * c + k];
                    plane[x] = c == 4 ? static_cast<uint8_t>(255 - value) : value;  // PSD's CMYK: 255 is no ink
                }
                const size_t before = rows.size();
                PackBits(plane.data(), plane.size(), &rows);
                Put16BE(&counts, static_cast<unsigned>(rows.size() - before));
            }
        }
        file_.Write(out);  // a failed write is reported by Close
        file_.Write(counts);
        file_.Write(rows);
        return true;
    }
};

}  // namespace

std::unique_ptr<Writer> MakePsdWriter(const OutputOptions&) { return std::make_unique<PsdWriter>(); }
