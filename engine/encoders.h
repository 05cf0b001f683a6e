// Byte-level encoders that several writers share: PackBits runs, LZW codes
// as PostScript and TIFF read them, ASCII85 and hexadecimal text, JPEG into
// memory, and little- and big-endian numbers appended to a buffer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/picture.h"

using Bytes = std::vector<uint8_t>;

void Put16LE(Bytes* out, unsigned value);
void Put32LE(Bytes* out, uint32_t value);
void Put16BE(Bytes* out, unsigned value);
void Put32BE(Bytes* out, uint32_t value);

// PackBits (also PostScript's RunLengthDecode data, without its end byte).
void PackBits(const uint8_t* data, size_t length, Bytes* out);

// LZW with a clear code first, codes widening one code early, an end code last.
void LzwEncode(const uint8_t* data, size_t length, Bytes* out);

// ASCII85 in lines of at most 76 characters, ending with "~>", given in
// pieces of any length.
class Ascii85Writer {
public:
    void Add(const uint8_t* data, size_t length, std::string* out);
    void Finish(std::string* out);

private:
    void Group(const uint8_t* group, size_t count, std::string* out);
    void Put(char c, std::string* out);
    uint8_t pending_[4] = {0, 0, 0, 0};
    size_t pendingCount_ = 0;
    size_t column_ = 0;
};

// Hexadecimal in lines of 2 * bytesPerLine characters, each line started by prefix.
void HexEncode(const uint8_t* data, size_t length, size_t bytesPerLine, const char* prefix, std::string* out);

// Baseline JPEG of a grey, RGB or CMYK picture; rgbOnly turns grey into RGB
// first (for readers that take colour JPEG only).
bool EncodeJpeg(const Picture& picture, int quality, bool rgbOnly, Bytes* out, std::string* error);
