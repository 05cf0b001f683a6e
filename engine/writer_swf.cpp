// SWF: an uncompressed movie (FWS, version 6) whose frames each show one page
// as a JPEG (DefineBitsJPEG2) filling a rectangle shape. With adjoin one
// movie holds a PDF's pages, else each page is a movie of one frame. The
// job's framerate is in hundredths of a frame per second: 100, the default,
// shows a page a second.
#include <algorithm>
#include <cmath>
#include <memory>

#include "engine/encoders.h"
#include "engine/more_writers.h"
#include "engine/operations.h"
#include "engine/output_file.h"

namespace {

constexpr int kTwipsPerPixel = 20;

class SwfBits {
public:
    void Put(uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            current_ = static_cast<uint8_t>((current_ << 1) | ((value >> i) & 1));
            if (++filled_ == 8) {
                bytes.push_back(current_);
                current_ = 0;
                filled_ = 0;
            }
        }
    }
    void PutSigned(int32_t value, int count) { Put(static_cast<uint32_t>(value) & ((count >= 32) ? 0xFFFFFFFFu : ((1u << count) - 1)), count); }
    void Align() {
        if (filled_ > 0) Put(0, 8 - filled_);
    }
    Bytes bytes;

private:
    uint8_t current_ = 0;
    int filled_ = 0;
};

// Bits a signed value needs.
int SignedBits(int32_t value) {
    int bits = 1;
    while (value < -(1 << (bits - 1)) || value >= (1 << (bits - 1))) ++bits;
    return bits;
}

void PutRect(SwfBits* bits, int32_t width, int32_t height) {
    const int count = std::max(SignedBits(width), SignedBits(height));
    bits->Put(static_cast<uint32_t>(count), 5);
    bits->PutSigned(0, count);
    bits->PutSigned(width, count);
    bits->PutSigned(0, count);
    bits->PutSigned(height, count);
    bits->Align();
}

void PutTag(Bytes* out, unsigned code, const Bytes& body) {
    if (body.size() < 63 && code != 21) {
        Put16LE(out, (code << 6) | static_cast<unsigned>(body.size()));
    } else {
        Put16LE(out, (code << 6) | 0x3F);
        Put32LE(out, static_cast<uint32_t>(body.size()));
    }
    out->insert(out->end(), body.begin(), body.end());
}

// A rectangle of width x height twips filled with bitmap, one pixel 20 twips.
Bytes RectangleShape(unsigned shapeId, unsigned bitmapId, int32_t width, int32_t height) {
    SwfBits bits;
    Put16LE(&bits.bytes, shapeId);
    PutRect(&bits, width, height);
    bits.bytes.push_back(1);     // one fill style
    bits.bytes.push_back(0x41);  // clipped bitmap
    Put16LE(&bits.bytes, bitmapId);
    const int32_t scale = kTwipsPerPixel << 16;
    const int scaleBits = SignedBits(scale);
    bits.Put(1, 1);  // has scale
    bits.Put(static_cast<uint32_t>(scaleBits), 5);
    bits.PutSigned(scale, scaleBits);
    bits.PutSigned(scale, scaleBits);
    bits.Put(0, 1);  // no rotation
    bits.Put(0, 5);  // no translation
    bits.Align();
    bits.bytes.push_back(0);  // no line styles
    bits.Put(1, 4);           // fill style index bits
    bits.Put(0, 4);           // line style index bits
    // Move to the origin with fill style 1 on the right of the edges.
    bits.Put(0, 1);
    bits.Put(0, 1);  // new styles
    bits.Put(0, 1);  // line style
    bits.Put(1, 1);  // fill style 1
    bits.Put(0, 1);  // fill style 0
    bits.Put(1, 1);  // move to
    bits.Put(1, 5);
    bits.PutSigned(0, 1);
    bits.PutSigned(0, 1);
    bits.Put(1, 1);
    // Clockwise (y grows downward): right, down, left, up.
    const int32_t steps[4][2] = {{width, 0}, {0, height}, {-width, 0}, {0, -height}};
    for (const auto& step : steps) {
        const bool vertical = step[0] == 0;
        const int32_t delta = vertical ? step[1] : step[0];
        const int count = std::max(2, SignedBits(delta));
        bits.Put(1, 1);  // edge
        bits.Put(1, 1);  // straight
        bits.Put(static_cast<uint32_t>(count - 2), 4);
        bits.Put(0, 1);  // not a general line
        bits.Put(vertical ? 1 : 0, 1);
        bits.PutSigned(delta, count);
    }
    bits.Put(0, 6);  // end of shape
    bits.Align();
    return bits.bytes;
}

class SwfWriter : public Writer {
public:
    explicit SwfWriter(const OutputOptions& options) : options_(options) {}

    bool Begin(const std::string& path, PDFDoc*, std::string* error) override {
        tags_.clear();
        frames_ = 0;
        width_ = height_ = 0;
        Bytes white = {255, 255, 255};
        PutTag(&tags_, 9, white);
        return file_.Open(path, error);
    }

    bool AddPage(const PageInput& page, std::string* error) override {
        if (!page.picture || page.picture->width <= 0 || page.picture->height <= 0) {
            *error = "no page picture";
            return false;
        }
        if (frames_ >= 16000) {
            *error = "an SWF movie holds at most 16000 pages";
            return false;
        }
        // Coordinates are in twips and must stay within 2^31.
        if (page.picture->width > 100000 || page.picture->height > 100000) {
            *error = "an SWF frame cannot be larger than 100000 pixels a side";
            return false;
        }
        Picture picture = *page.picture;
        ConvertColourSpace(&picture, kSpaceRgb);
        Bytes bitmap;
        const unsigned bitmapId = 2 * static_cast<unsigned>(frames_) + 1, shapeId = bitmapId + 1;
        Put16LE(&bitmap, bitmapId);
        if (!EncodeJpeg(picture, options_.swfQuality, true, &bitmap, error)) return false;
        PutTag(&tags_, 21, bitmap);
        const int32_t width = picture.width * kTwipsPerPixel, height = picture.height * kTwipsPerPixel;
        PutTag(&tags_, 2, RectangleShape(shapeId, bitmapId, width, height));
        Bytes place;
        place.push_back(frames_ == 0 ? 0x02 : 0x03);  // has character; later frames replace
        Put16LE(&place, 1);
        Put16LE(&place, shapeId);
        PutTag(&tags_, 26, place);
        PutTag(&tags_, 1, Bytes());
        width_ = std::max(width_, width);
        height_ = std::max(height_, height);
        ++frames_;
        return true;
    }

    bool End(std::string* error) override {
        PutTag(&tags_, 0, Bytes());
        SwfBits header;
        header.bytes = {'F', 'W', 'S', 6, 0, 0, 0, 0};
        PutRect(&header, width_, height_);
        const double rate = std::min(255.99, SwfFramesPerSecond(options_.swfFramerate));
        Put16LE(&header.bytes, static_cast<unsigned>(std::lround(rate * 256.0)));
        Put16LE(&header.bytes, static_cast<unsigned>(frames_));
        const uint64_t total = header.bytes.size() + tags_.size();
        if (total > 0xFFFFFFFFull) {
            *error = "the SWF movie would pass 4 GB";
            std::string ignored;
            file_.Close(&ignored);
            return false;
        }
        for (int i = 0; i < 4; ++i) header.bytes[4 + i] = static_cast<uint8_t>(total >> (8 * i));
        return file_.Write(header.bytes, error) && file_.Write(tags_, error) && file_.Close(error);
    }

private:
    OutputOptions options_;
    OutputFile file_;
    Bytes tags_;
    int frames_ = 0;
    int32_t width_ = 0, height_ = 0;
};

}  // namespace

std::unique_ptr<Writer> MakeSwfWriter(const OutputOptions& options) { return std::make_unique<SwfWriter>(options); }

double SwfFramesPerSecond(int framerate) {
    if (framerate <= 0) return 1.0;
    return std::max(1.0 / 256.0, std::min(255.99, framerate / 100.0));
}
