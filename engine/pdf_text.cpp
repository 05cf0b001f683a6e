// See pdf_text.h.
#include "engine/pdf_text.h"

#include <PDFDocEncoding.h>
#include <goo/GooString.h>

#include <cstdint>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 where the code page defines none.
const unsigned kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes one UTF-8 sequence at text[*at]; -1 when malformed (one byte is
// then consumed).
long NextCodePoint(const std::string& text, size_t* at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned c = byte(*at);
    if (c < 0x80) {
        ++*at;
        return c;
    }
    int extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || *at + static_cast<size_t>(extra) >= text.size()) {
        ++*at;
        return -1;
    }
    unsigned value = c & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        unsigned next = byte(*at + static_cast<size_t>(i));
        if ((next & 0xC0) != 0x80) {
            ++*at;
            return -1;
        }
        value = value << 6 | (next & 0x3F);
    }
    static const unsigned kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[extra] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++*at;
        return -1;
    }
    *at += static_cast<size_t>(extra) + 1;
    return static_cast<long>(value);
}

}  // namespace

void AppendUtf8(std::string* out, unsigned c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
        out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out->push_back(static_cast<char>(0xC0 | c >> 6));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | c >> 12));
        out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | c >> 18));
        out->push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string PdfTextToUtf8(const GooString* text) {
    std::string out;
    if (!text) return out;
    const std::string& s = text->toStr();
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const bool bigEndian = s.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF;
    const bool littleEndian = s.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE;
    if (bigEndian || littleEndian) {
        std::vector<unsigned> units;
        for (size_t i = 2; i + 1 < s.size(); i += 2)
            units.push_back(bigEndian ? (byte(i) << 8 | byte(i + 1)) : (byte(i + 1) << 8 | byte(i)));
        for (size_t i = 0; i < units.size(); ++i) {
            unsigned u = units[i];
            if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
                u = 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00);
                ++i;
            }
            AppendUtf8(&out, u);
        }
        return out;
    }
    if (s.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) return BytesToUtf8(s.substr(3));
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned u = pdfDocEncoding[byte(i)];
        if (u != 0) AppendUtf8(&out, u);
    }
    return out;
}

std::string Utf8ToWindows1252(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t at = 0;
    while (at < utf8.size()) {
        long c = NextCodePoint(utf8, &at);
        char mapped = '?';
        if (c >= 0 && (c < 0x80 || (c >= 0xA0 && c <= 0xFF))) {
            mapped = static_cast<char>(c);
        } else if (c >= 0x100) {
            for (int i = 0; i < 32; ++i)
                if (kHighControls[i] == static_cast<unsigned>(c)) mapped = static_cast<char>(0x80 + i);
        }
        out.push_back(mapped);
    }
    return out;
}

std::string BytesToUtf8(const std::string& bytes) {
    size_t at = 0;
    bool valid = true;
    while (at < bytes.size() && valid) valid = NextCodePoint(bytes, &at) >= 0;
    if (valid) return bytes;
#ifdef _WIN32
    // Windows hands a program its names in the system's ANSI code page.
    if (bytes.size() < 0x10000000) {
        const int size = static_cast<int>(bytes.size());
        const int wide = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
        if (wide > 0) {
            std::wstring text(static_cast<size_t>(wide), L'\0');
            MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, &text[0], wide);
            const int narrow = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
            if (narrow > 0) {
                std::string out(static_cast<size_t>(narrow), '\0');
                WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, &out[0], narrow, nullptr, nullptr);
                return out;
            }
        }
    }
#endif
    std::string out;
    for (unsigned char c : bytes) {
        unsigned u = c;
        if (c >= 0x80 && c < 0xA0) u = kHighControls[c - 0x80] ? kHighControls[c - 0x80] : 0xFFFD;
        AppendUtf8(&out, u);
    }
    return out;
}
