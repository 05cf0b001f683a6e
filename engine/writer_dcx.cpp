// DCX: a table of up to 1023 page offsets followed by PCX pages, each run-
// length encoded; grey pages as 8 bits with a grey palette, colour pages as
// 24 bits in three planes. With adjoin one file holds a PDF's pages.
#include <memory>

#include "engine/encoders.h"
#include "engine/more_writers.h"
#include "engine/operations.h"
#include "engine/output_file.h"

namespace {

constexpr uint32_t kDcxMagic = 987654321;
constexpr int kMostPages = 1023;

// PCX's run-length scheme: a count byte 0xC0|n before a repeated byte, and
// a byte of 0xC0 or more never stands alone.
void EncodePcxLine(const uint8_t* data, size_t length, Bytes* out) {
    size_t i = 0;
    while (i < length) {
        size_t run = 1;
        while (i + run < length && run < 63 && data[i + run] == data[i]) ++run;
        if (run > 1 || data[i] >= 0xC0) out->push_back(static_cast<uint8_t>(0xC0 | run));
        out->push_back(data[i]);
        i += run;
    }
}

bool EncodePcx(const Picture& source, Bytes* out, std::string* error) {
    if (source.width > 65535 || source.height > 65535) {
        *error = "a PCX page cannot be larger than 65535 pixels a side";
        return false;
    }
    Picture picture = source;
    if (picture.channels == 4) ConvertColourSpace(&picture, kSpaceRgb);
    const bool grey = picture.channels == 1;
    const int planes = grey ? 1 : 3;
    const size_t bytesPerLine = (static_cast<size_t>(picture.width) + 1) & ~static_cast<size_t>(1);
    out->push_back(10);  // maker
    out->push_back(5);   // version 3.0 with palette
    out->push_back(1);   // run-length encoded
    out->push_back(8);   // bits a pixel a plane
    Put16LE(out, 0);
    Put16LE(out, 0);
    Put16LE(out, static_cast<unsigned>(picture.width - 1));
    Put16LE(out, static_cast<unsigned>(picture.height - 1));
    Put16LE(out, static_cast<unsigned>(picture.dpiX + 0.5));
    Put16LE(out, static_cast<unsigned>(picture.dpiY + 0.5));
    out->insert(out->end(), 48, 0);
    out->push_back(0);
    out->push_back(static_cast<uint8_t>(planes));
    Put16LE(out, static_cast<unsigned>(bytesPerLine));
    Put16LE(out, grey ? 2 : 1);
    Put16LE(out, 0);
    Put16LE(out, 0);
    out->insert(out->end(), 54, 0);
    Bytes line(bytesPerLine * planes, 0);
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* row = picture.Row(y);
        for (int p = 0; p < planes; ++p)
            for (int x = 0; x < picture.width; ++x)
                line[p * bytesPerLine + static_cast<size_t>(x)] = row[static_cast<size_t>(x) * planes + p];
        for (int p = 0; p < planes; ++p) EncodePcxLine(line.data() + p * bytesPerLine, bytesPerLine, out);
    }
    if (grey) {
        out->push_back(12);
        for (int v = 0; v < 256; ++v) out->insert(out->end(), 3, static_cast<uint8_t>(v));
    }
    return true;
}

class DcxWriter : public Writer {
public:
    bool Begin(const std::string& path, PDFDoc*, std::string* error) override {
        pages_ = 0;
        if (!file_.Open(path, error)) return false;
        // The table: magic, 1023 offsets and the zero after them, filled in at the end.
        Bytes table;
        Put32LE(&table, kDcxMagic);
        table.insert(table.end(), 4 * (kMostPages + 1), 0);
        offset_ = static_cast<uint32_t>(table.size());
        offsets_.clear();
        return file_.Write(table, error);
    }

    bool AddPage(const PageInput& page, std::string* error) override {
        if (!page.picture) {
            *error = "no page picture";
            return false;
        }
        if (pages_ == kMostPages) {
            *error = "a DCX file holds at most 1023 pages";
            return false;
        }
        Bytes pcx;
        if (!EncodePcx(*page.picture, &pcx, error)) return false;
        if (static_cast<uint64_t>(offset_) + pcx.size() > 0xFFFFFFFFull) {
            *error = "the DCX file would pass 4 GB";
            return false;
        }
        offsets_.push_back(offset_);
        offset_ += static_cast<uint32_t>(pcx.size());
        ++pages_;
        return file_.Write(pcx, error);
    }

    bool End(std::string* error) override {
        Bytes table;
        for (uint32_t offset : offsets_) Put32LE(&table, offset);
        if (!table.empty() && !file_.WriteAt(4, table, error)) return false;
        return file_.Close(error);
    }

private:
    OutputFile file_;
    int pages_ = 0;
    uint32_t offset_ = 0;
    std::vector<uint32_t> offsets_;
};

}  // namespace

std::unique_ptr<Writer> MakeDcxWriter(const OutputOptions&) { return std::make_unique<DcxWriter>(); }
