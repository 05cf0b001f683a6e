// PostScript and the EPS family. PS, PS II and PS III (language levels 1, 2
// and 3) draw each page picture fitted to the chosen paper and centred, one
// file a page or, with adjoin, one for all pages. EPI, EPS, EPT, EPSI and
// EPSF hold one page at the picture's own size: EPS and EPSF plain, EPI and
// EPSI with a one-bit interchange preview in comments, EPT behind the binary
// DOS EPS header with a TIFF preview. The EPS types use level 2.
//
// Compression: JPEG (DCTDecode), LZW and RLE (RunLengthDecode) need level 2,
// ZIP (FlateDecode) level 3. Level 1 has no decoding filters, so its pages
// are written uncompressed in hexadecimal; ZIP at level 2 becomes LZW.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include <zlib.h>

#include "engine/encoders.h"
#include "engine/more_writers.h"
#include "engine/operations.h"
#include "engine/output_file.h"

namespace {

// PostScript has no quality setting of its own; JPEG pages are kept close
// to the drawing.
constexpr int kPsJpegQuality = 90;

enum PsFilter { kNoFilter, kDct, kLzw, kRunLength, kFlate };

struct PsPlan {
    int level = 2;
    bool eps = false;
    PsFilter filter = kNoFilter;
    std::string note;
};

PsPlan PlanFor(const OutputOptions& options) {
    PsPlan plan;
    plan.eps = options.psType >= 3;
    plan.level = plan.eps ? 2 : std::max(0, std::min(2, options.psType)) + 1;
    if (!options.psCompress) return plan;
    static const char* const kNames[] = {"JPEG", "LZW", "RLE", "ZIP"};
    const int asked = std::max(0, std::min(3, options.psCompressType));
    if (plan.level == 1) {
        plan.note = std::string("PostScript level 1 has no ") + kNames[asked] +
                    " decoding: the pages are written uncompressed, in hexadecimal";
        return plan;
    }
    static const PsFilter kFilters[] = {kDct, kLzw, kRunLength, kFlate};
    plan.filter = kFilters[asked];
    if (plan.filter == kFlate && plan.level < 3) {
        plan.filter = kLzw;
        plan.note = "ZIP compression needs PostScript level 3: level 2 pages are compressed with LZW instead";
    }
    return plan;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string result = text;
    while (!result.empty() && result.back() == '0') result.pop_back();
    if (!result.empty() && result.back() == '.') result.pop_back();
    return result;
}

void PaperSize(int page, double* width, double* height) {
    static const double kSizes[4][2] = {{842, 1191}, {595, 842}, {420, 595}, {612, 792}};
    const int index = page >= 0 && page <= 3 ? page : 0;
    *width = kSizes[index][0];
    *height = kSizes[index][1];
}

bool Deflate(const Bytes& data, Bytes* out, std::string* error) {
    uLongf length = compressBound(static_cast<uLong>(data.size()));
    out->resize(length);
    if (compress2(out->data(), &length, data.data(), static_cast<uLong>(data.size()), 6) != Z_OK) {
        *error = "ZIP compression failed";
        return false;
    }
    out->resize(length);
    return true;
}

// The samples as the image operator reads them: one bit a pixel for a
// bilevel page (rows padded to a byte, 1 white), else the pixels as they are.
const Bytes* Samples(const Picture& picture, bool packed, Bytes* storage) {
    if (!packed) return &picture.pixels;
    const size_t rowBytes = (static_cast<size_t>(picture.width) + 7) / 8;
    storage->assign(rowBytes * static_cast<size_t>(picture.height), 0);
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* in = picture.Row(y);
        uint8_t* out = storage->data() + rowBytes * static_cast<size_t>(y);
        for (int x = 0; x < picture.width; ++x)
            if (in[x] >= 128) out[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    return storage;
}

// Writes text as it grows, so a large page is never held twice as text.
class TextOut {
public:
    TextOut(OutputFile* file, std::string* error) : file_(file), error_(error) {}
    std::string text;
    bool FlushIfLarge() { return text.size() < (1u << 20) || Flush(); }
    bool Flush() {
        const bool ok = file_->Write(text, error_);
        text.clear();
        return ok;
    }

private:
    OutputFile* file_;
    std::string* error_;
};

// Draws one picture into the unit square at the current origin (scaled
// beforehand by the caller).
bool DrawPicture(const Picture& picture, const PsPlan& plan, TextOut* out, std::string* error) {
    const int w = picture.width, h = picture.height, c = picture.channels;
    const bool packed = picture.bilevel && c == 1 && plan.filter != kDct;
    Bytes packedStorage;
    const Bytes& samples = *Samples(picture, packed, &packedStorage);
    const int bitsPerSample = packed ? 1 : 8;
    const size_t rowBytes = packed ? (static_cast<size_t>(w) + 7) / 8 : picture.Stride();
    const std::string size = std::to_string(w) + " " + std::to_string(h);
    const std::string matrix = "[" + std::to_string(w) + " 0 0 -" + std::to_string(h) + " 0 " + std::to_string(h) + "]";
    if (plan.level == 1) {
        if (rowBytes > 65535) {
            *error = "a PostScript level 1 page cannot be wider than 65535 bytes a row";
            return false;
        }
        out->text += "/pictureRow " + std::to_string(rowBytes) + " string def\n";
        out->text += size + " " + std::to_string(bitsPerSample) + " " + matrix +
                     " {currentfile pictureRow readhexstring pop} ";
        out->text += c == 1 ? "image\n" : "false " + std::to_string(c) + " colorimage\n";
        const size_t chunk = 36 * 4096;
        for (size_t at = 0; at < samples.size(); at += chunk) {
            HexEncode(samples.data() + at, std::min(chunk, samples.size() - at), 36, "", &out->text);
            if (!out->FlushIfLarge()) return false;
        }
        return true;
    }
    Bytes encoded;
    const Bytes* data = &encoded;
    const char* filter = "";
    switch (plan.filter) {
        case kNoFilter:
            data = &samples;
            break;
        case kDct:
            if (!EncodeJpeg(picture, kPsJpegQuality, false, &encoded, error)) return false;
            filter = " /DCTDecode filter";
            break;
        case kLzw:
            LzwEncode(samples.data(), samples.size(), &encoded);
            filter = " /LZWDecode filter";
            break;
        case kRunLength:
            PackBits(samples.data(), samples.size(), &encoded);
            encoded.push_back(128);
            filter = " /RunLengthDecode filter";
            break;
        case kFlate:
            if (!Deflate(samples, &encoded, error)) return false;
            filter = " /FlateDecode filter";
            break;
    }
    const char* space = c == 1 ? "/DeviceGray" : c == 4 ? "/DeviceCMYK" : "/DeviceRGB";
    std::string decode = "[";
    for (int k = 0; k < c; ++k) decode += k ? " 0 1" : "0 1";
    decode += "]";
    // The procedure reads the data after it from the file, then reads past
    // the data's end mark so that drawing goes on after it.
    out->text += "{ /pictureData currentfile /ASCII85Decode filter def " + std::string(space) + " setcolorspace\n";
    out->text += "<< /ImageType 1 /Width " + std::to_string(w) + " /Height " + std::to_string(h) +
                 " /BitsPerComponent " + std::to_string(bitsPerSample) + " /Decode " + decode +
                 " /ImageMatrix " + matrix + " /DataSource pictureData" + filter +
                 " >> image\npictureData flushfile } exec\n";
    Ascii85Writer ascii85;
    const size_t chunk = 1 << 18;
    for (size_t at = 0; at < data->size(); at += chunk) {
        ascii85.Add(data->data() + at, std::min(chunk, data->size() - at), &out->text);
        if (!out->FlushIfLarge()) return false;
    }
    ascii85.Finish(&out->text);
    return true;
}

// The picture's size in points at its resolution.
void SizeInPoints(const Picture& picture, double* width, double* height) {
    *width = picture.width * 72.0 / (picture.dpiX > 0 ? picture.dpiX : 72.0);
    *height = picture.height * 72.0 / (picture.dpiY > 0 ? picture.dpiY : 72.0);
}

// A grey copy of the picture at its size in points (at most 1024 pixels a
// side): what the previews show.
Picture PreviewOf(const Picture& picture) {
    double width, height;
    SizeInPoints(picture, &width, &height);
    const double shrink = std::min(1.0, 1024.0 / std::max(width, height));
    Picture preview = picture;
    ConvertColourSpace(&preview, kSpaceGray);
    ScalePicture(&preview, std::max(1, static_cast<int>(std::lround(width * shrink))),
                 std::max(1, static_cast<int>(std::lround(height * shrink))));
    return preview;
}

std::string InterchangePreview(const Picture& picture) {
    Picture preview = PreviewOf(picture);
    MakeMonochrome(&preview);
    const size_t rowBytes = (static_cast<size_t>(preview.width) + 7) / 8;
    const size_t linesPerRow = (rowBytes + 31) / 32;
    std::string text = "%%BeginPreview: " + std::to_string(preview.width) + " " + std::to_string(preview.height) +
                       " 1 " + std::to_string(linesPerRow * static_cast<size_t>(preview.height)) + "\n";
    Bytes row(rowBytes);
    for (int y = 0; y < preview.height; ++y) {
        std::fill(row.begin(), row.end(), 0);
        const uint8_t* in = preview.Row(y);
        for (int x = 0; x < preview.width; ++x)
            if (in[x] < 128) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));  // 1 is black
        HexEncode(row.data(), row.size(), 32, "% ", &text);
    }
    text += "%%EndPreview\n";
    return text;
}

// A small uncompressed grey TIFF of the preview, for the DOS EPS header.
Bytes TiffPreview(const Picture& picture) {
    const Picture preview = PreviewOf(picture);
    Bytes tiff = {'I', 'I', 42, 0};
    Put32LE(&tiff, 8);
    const uint32_t dataAt = 8 + 2 + 9 * 12 + 4;
    const uint32_t length = static_cast<uint32_t>(preview.pixels.size());
    Put16LE(&tiff, 9);
    auto entry = [&tiff](unsigned tag, unsigned type, uint32_t value) {
        Put16LE(&tiff, tag);
        Put16LE(&tiff, type);
        Put32LE(&tiff, 1);
        if (type == 3) {
            Put16LE(&tiff, value);
            Put16LE(&tiff, 0);
        } else {
            Put32LE(&tiff, value);
        }
    };
    entry(256, 4, static_cast<uint32_t>(preview.width));
    entry(257, 4, static_cast<uint32_t>(preview.height));
    entry(258, 3, 8);
    entry(259, 3, 1);
    entry(262, 3, 1);  // 0 is black
    entry(273, 4, dataAt);
    entry(277, 3, 1);
    entry(278, 4, static_cast<uint32_t>(preview.height));
    entry(279, 4, length);
    Put32LE(&tiff, 0);
    tiff.insert(tiff.end(), preview.pixels.begin(), preview.pixels.end());
    return tiff;
}

const char* const kExtensions[] = {"ps", "ps", "ps", "epi", "eps", "ept", "epsi", "epsf"};

class PsWriter : public Writer {
public:
    explicit PsWriter(const OutputOptions& options) : options_(options), plan_(PlanFor(options)) {}

    bool Begin(const std::string& path, PDFDoc*, std::string* error) override {
        pages_ = 0;
        box_[0] = box_[1] = 1e9;
        box_[2] = box_[3] = -1e9;
        if (!file_.Open(path, error)) return false;
        if (plan_.eps) return true;  // written whole with its page
        double paperWidth, paperHeight;
        PaperSize(options_.psPage, &paperWidth, &paperHeight);
        std::string header = "%!PS-Adobe-3.0\n";
        if (plan_.level > 1) header += "%%LanguageLevel: " + std::to_string(plan_.level) + "\n";
        header += "%%BoundingBox: (atend)\n%%Pages: (atend)\n";
        header += "%%DocumentMedia: Paper " + Number(paperWidth) + " " + Number(paperHeight) + " 0 () ()\n";
        header += "%%EndComments\n%%BeginProlog\n%%EndProlog\n";
        if (plan_.level > 1)
            header += "%%BeginSetup\n<< /PageSize [" + Number(paperWidth) + " " + Number(paperHeight) +
                      "] >> setpagedevice\n%%EndSetup\n";
        return file_.Write(header, error);
    }

    bool AddPage(const PageInput& page, std::string* error) override {
        if (!page.picture || page.picture->width <= 0 || page.picture->height <= 0) {
            *error = "no page picture";
            return false;
        }
        if (plan_.eps) {
            if (pages_ > 0) {
                *error = "an EPS file holds one page";
                return false;
            }
            ++pages_;
            return WriteEps(*page.picture, error);
        }
        const Picture& picture = *page.picture;
        double paperWidth, paperHeight, width, height;
        PaperSize(options_.psPage, &paperWidth, &paperHeight);
        SizeInPoints(picture, &width, &height);
        const double scale = std::min(paperWidth / width, paperHeight / height);
        width *= scale;
        height *= scale;
        const double x = (paperWidth - width) / 2, y = (paperHeight - height) / 2;
        box_[0] = std::min(box_[0], std::floor(x));
        box_[1] = std::min(box_[1], std::floor(y));
        box_[2] = std::max(box_[2], std::ceil(x + width));
        box_[3] = std::max(box_[3], std::ceil(y + height));
        ++pages_;
        TextOut out(&file_, error);
        out.text = "%%Page: " + std::to_string(pages_) + " " + std::to_string(pages_) + "\n";
        out.text += "gsave\n" + Number(x) + " " + Number(y) + " translate " + Number(width) + " " + Number(height) +
                    " scale\n";
        if (!DrawPicture(picture, plan_, &out, error)) return false;
        out.text += "grestore\nshowpage\n";
        return out.Flush();
    }

    bool End(std::string* error) override {
        if (!plan_.eps) {
            std::string trailer = "%%Trailer\n";
            if (pages_ > 0)
                trailer += "%%BoundingBox: " + Number(box_[0]) + " " + Number(box_[1]) + " " + Number(box_[2]) + " " +
                           Number(box_[3]) + "\n";
            trailer += "%%Pages: " + std::to_string(pages_) + "\n%%EOF\n";
            if (!file_.Write(trailer, error)) return false;
        } else if (pages_ == 0) {
            *error = "an EPS file needs a page";
            std::string ignored;
            file_.Close(&ignored);
            return false;
        }
        return file_.Close(error);
    }

private:
    bool WriteEps(const Picture& picture, std::string* error) {
        const int type = options_.psType;
        // The DOS EPS header comes first but is known last: its place is kept.
        if (type == 5 && !file_.Write(Bytes(30, 0), error)) return false;
        const uint64_t postscriptStart = file_.Written();
        double width, height;
        SizeInPoints(picture, &width, &height);
        TextOut out(&file_, error);
        out.text = "%!PS-Adobe-3.0 EPSF-3.0\n";
        out.text += "%%BoundingBox: 0 0 " + std::to_string(static_cast<long>(std::ceil(width))) + " " +
                    std::to_string(static_cast<long>(std::ceil(height))) + "\n";
        out.text += "%%HiResBoundingBox: 0 0 " + Number(width) + " " + Number(height) + "\n";
        out.text += "%%LanguageLevel: 2\n%%Pages: 1\n%%EndComments\n";
        if (type == 3 || type == 6) out.text += InterchangePreview(picture);
        out.text += "%%BeginProlog\n%%EndProlog\n%%Page: 1 1\ngsave\n" + Number(width) + " " + Number(height) +
                    " scale\n";
        if (!DrawPicture(picture, plan_, &out, error)) return false;
        out.text += "grestore\nshowpage\n%%Trailer\n%%EOF\n";
        if (!out.Flush()) return false;
        if (type != 5) return true;
        const uint64_t postscriptLength = file_.Written() - postscriptStart;
        const Bytes tiff = TiffPreview(picture);
        if (30 + postscriptLength + tiff.size() > 0xFFFFFFFFull) {
            *error = "the EPT file would pass 4 GB";
            return false;
        }
        if (!file_.Write(tiff, error)) return false;
        Bytes header = {0xC5, 0xD0, 0xD3, 0xC6};
        Put32LE(&header, 30);
        Put32LE(&header, static_cast<uint32_t>(postscriptLength));
        Put32LE(&header, 0);
        Put32LE(&header, 0);
        Put32LE(&header, static_cast<uint32_t>(30 + postscriptLength));
        Put32LE(&header, static_cast<uint32_t>(tiff.size()));
        Put16LE(&header, 0xFFFF);  // no checksum
        return file_.WriteAt(0, header, error);
    }

    OutputOptions options_;
    PsPlan plan_;
    OutputFile file_;
    int pages_ = 0;
    double box_[4] = {0, 0, 0, 0};
};

}  // namespace

std::unique_ptr<Writer> MakePsWriter(const OutputOptions& options) { return std::make_unique<PsWriter>(options); }

const char* PsExtension(const OutputOptions& options) {
    return kExtensions[options.psType >= 0 && options.psType <= 7 ? options.psType : 0];
}

std::string PsCompressionNote(const OutputOptions& options) { return PlanFor(options).note; }
