// The shared byte encoders of the writers (see encoders.h).
#include "engine/encoders.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include <jpeglib.h>

void Put16LE(Bytes* out, unsigned value) {
    out->push_back(static_cast<uint8_t>(value));
    out->push_back(static_cast<uint8_t>(value >> 8));
}
void Put32LE(Bytes* out, uint32_t value) {
    Put16LE(out, value & 0xFFFF);
    Put16LE(out, value >> 16);
}
void Put16BE(Bytes* out, unsigned value) {
    out->push_back(static_cast<uint8_t>(value >> 8));
    out->push_back(static_cast<uint8_t>(value));
}
void Put32BE(Bytes* out, uint32_t value) {
    Put16BE(out, value >> 16);
    Put16BE(out, value & 0xFFFF);
}

void PackBits(const uint8_t* data, size_t length, Bytes* out) {
    size_t i = 0;
    while (i < length) {
        size_t run = 1;
        while (i + run < length && run < 128 && data[i + run] == data[i]) ++run;
        if (run >= 2) {
            out->push_back(static_cast<uint8_t>(257 - run));
            out->push_back(data[i]);
            i += run;
            continue;
        }
        // A literal stretch up to the next run of two or more.
        size_t literal = 1;
        while (i + literal < length && literal < 128 &&
               !(i + literal + 1 < length && data[i + literal] == data[i + literal + 1]))
            ++literal;
        out->push_back(static_cast<uint8_t>(literal - 1));
        out->insert(out->end(), data + i, data + i + literal);
        i += literal;
    }
}

namespace {

class BitWriter {
public:
    explicit BitWriter(Bytes* out) : out_(out) {}
    void Put(unsigned code, int bits) {
        buffer_ = (buffer_ << bits) | code;
        count_ += bits;
        while (count_ >= 8) {
            out_->push_back(static_cast<uint8_t>(buffer_ >> (count_ - 8)));
            count_ -= 8;
        }
        buffer_ &= (1u << count_) - 1;
    }
    void Flush() {
        if (count_ > 0) out_->push_back(static_cast<uint8_t>(buffer_ << (8 - count_)));
        count_ = 0;
        buffer_ = 0;
    }

private:
    Bytes* out_;
    uint32_t buffer_ = 0;
    int count_ = 0;
};

}  // namespace

void LzwEncode(const uint8_t* data, size_t length, Bytes* out) {
    const unsigned kClear = 256, kEnd = 257, kFirst = 258, kFull = 4094;
    // Open-addressed table of (prefix code, byte) -> code.
    const size_t kSlots = 1 << 14;
    std::vector<uint32_t> keys(kSlots), codes(kSlots);
    BitWriter bits(out);
    int width = 9;
    unsigned next = kFirst;
    auto reset = [&] {
        std::fill(keys.begin(), keys.end(), 0);
        width = 9;
        next = kFirst;
    };
    // After table entry 511 is made, codes are 10 bits (one code early), and so on.
    auto grow = [&] {
        if (next == kFull) {
            bits.Put(kClear, width);
            reset();
        } else if (next > (1u << width) - 1) {
            ++width;
        }
    };
    reset();
    bits.Put(kClear, width);
    if (length > 0) {
        unsigned prefix = data[0];
        for (size_t i = 1; i < length; ++i) {
            const uint32_t key = ((prefix << 8) | data[i]) + 1;
            size_t slot = (key * 2654435761u) & (kSlots - 1);
            bool found = false;
            while (keys[slot] != 0) {
                if (keys[slot] == key) {
                    found = true;
                    break;
                }
                slot = (slot + 1) & (kSlots - 1);
            }
            if (found) {
                prefix = codes[slot];
                continue;
            }
            bits.Put(prefix, width);
            keys[slot] = key;
            codes[slot] = next++;
            grow();
            prefix = data[i];
        }
        bits.Put(prefix, width);
        // The reader makes one more entry on this last code.
        ++next;
        grow();
    }
    bits.Put(kEnd, width);
    bits.Flush();
}

void Ascii85Writer::Put(char c, std::string* out) {
    out->push_back(c);
    if (++column_ == 76) {
        out->push_back('\n');
        column_ = 0;
    }
}

void Ascii85Writer::Group(const uint8_t* group, size_t count, std::string* out) {
    uint32_t value = 0;
    for (size_t k = 0; k < 4; ++k) value = (value << 8) | (k < count ? group[k] : 0);
    if (count == 4 && value == 0) {
        Put('z', out);
        return;
    }
    char digits[5];
    for (int k = 4; k >= 0; --k) {
        digits[k] = static_cast<char>('!' + value % 85);
        value /= 85;
    }
    for (size_t k = 0; k < count + 1; ++k) Put(digits[k], out);
}

void Ascii85Writer::Add(const uint8_t* data, size_t length, std::string* out) {
    size_t i = 0;
    while (pendingCount_ > 0 && pendingCount_ < 4 && i < length) pending_[pendingCount_++] = data[i++];
    if (pendingCount_ == 4) {
        Group(pending_, 4, out);
        pendingCount_ = 0;
    }
    for (; i + 4 <= length; i += 4) Group(data + i, 4, out);
    while (i < length) pending_[pendingCount_++] = data[i++];
}

void Ascii85Writer::Finish(std::string* out) {
    if (pendingCount_ > 0) Group(pending_, pendingCount_, out);
    pendingCount_ = 0;
    if (column_ + 2 > 76) out->push_back('\n');
    out->append("~>\n");
    column_ = 0;
}

void HexEncode(const uint8_t* data, size_t length, size_t bytesPerLine, const char* prefix, std::string* out) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (size_t i = 0; i < length; i += bytesPerLine) {
        out->append(prefix);
        for (size_t k = i; k < length && k < i + bytesPerLine; ++k) {
            out->push_back(kDigits[data[k] >> 4]);
            out->push_back(kDigits[data[k] & 15]);
        }
        out->push_back('\n');
    }
}

namespace {

struct JpegSink {
    jpeg_destination_mgr manager;
    Bytes* out;
    JOCTET buffer[16384];
};

void SinkInit(j_compress_ptr info) {
    JpegSink* sink = reinterpret_cast<JpegSink*>(info->dest);
    sink->manager.next_output_byte = sink->buffer;
    sink->manager.free_in_buffer = sizeof sink->buffer;
}
boolean SinkEmpty(j_compress_ptr info) {
    JpegSink* sink = reinterpret_cast<JpegSink*>(info->dest);
    sink->out->insert(sink->out->end(), sink->buffer, sink->buffer + sizeof sink->buffer);
    sink->manager.next_output_byte = sink->buffer;
    sink->manager.free_in_buffer = sizeof sink->buffer;
    return TRUE;
}
void SinkTerm(j_compress_ptr info) {
    JpegSink* sink = reinterpret_cast<JpegSink*>(info->dest);
    sink->out->insert(sink->out->end(), sink->buffer, sink->buffer + (sizeof sink->buffer - sink->manager.free_in_buffer));
}

struct JpegFailure {
    jpeg_error_mgr manager;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void FailJpeg(j_common_ptr info) {
    JpegFailure* failure = reinterpret_cast<JpegFailure*>(info->err);
    (*info->err->format_message)(info, failure->message);
    longjmp(failure->jump, 1);
}

// No C++ object with a destructor lives in this frame: a longjmp leaves it.
bool Compress(const Picture& picture, int quality, bool rgbOnly, JpegSink* sink, JpegFailure* failure) {
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&failure->manager);
    failure->manager.error_exit = FailJpeg;
    if (setjmp(failure->jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    sink->manager.init_destination = SinkInit;
    sink->manager.empty_output_buffer = SinkEmpty;
    sink->manager.term_destination = SinkTerm;
    info.dest = &sink->manager;
    const bool expand = rgbOnly && picture.channels == 1;
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = expand ? 3 : picture.channels;
    info.in_color_space = picture.channels == 4 ? JCS_CMYK : picture.channels == 1 && !expand ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    JSAMPARRAY line = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                info.image_width * static_cast<JDIMENSION>(info.input_components), 1);
    while (info.next_scanline < info.image_height) {
        const uint8_t* row = picture.Row(static_cast<int>(info.next_scanline));
        if (expand) {
            for (int x = 0; x < picture.width; ++x) line[0][3 * x] = line[0][3 * x + 1] = line[0][3 * x + 2] = row[x];
        } else {
            std::memcpy(line[0], row, picture.Stride());
        }
        jpeg_write_scanlines(&info, line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

bool EncodeJpeg(const Picture& picture, int quality, bool rgbOnly, Bytes* out, std::string* error) {
    if (picture.width <= 0 || picture.height <= 0 || picture.width > 65500 || picture.height > 65500) {
        *error = "a JPEG picture cannot be " + std::to_string(picture.width) + "x" + std::to_string(picture.height) +
                 " pixels";
        return false;
    }
    std::unique_ptr<JpegSink> sink(new JpegSink());
    std::unique_ptr<JpegFailure> failure(new JpegFailure());
    sink->out = out;
    if (!Compress(picture, quality, rgbOnly, sink.get(), failure.get())) {
        *error = std::string("JPEG compression failed: ") + failure->message;
        return false;
    }
    return true;
}
