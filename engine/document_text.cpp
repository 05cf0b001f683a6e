// Page text in reading order from poppler's text device, and the Unicode
// helpers of the document formats.
#include "engine/document_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include <PDFDoc.h>
#include <PDFDocEncoding.h>
#include <TextOutputDev.h>
#include <goo/GooString.h>

namespace {

std::string Lowered(const std::string& text) {
    std::string lowered = text;
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}

// "ABCDEF+Helvetica-Bold" names the family Helvetica: the subset tag and
// the style after the dash or comma are not the family.
std::string WithoutSubsetTag(const std::string& name) {
    if (name.size() > 7 && name[6] == '+' &&
        std::all_of(name.begin(), name.begin() + 6, [](char c) { return c >= 'A' && c <= 'Z'; })) {
        return name.substr(7);
    }
    return name;
}

std::string FamilyOf(const std::string& name) {
    std::string family = WithoutSubsetTag(name);
    size_t cut = family.find_first_of("-,");
    if (cut != std::string::npos && cut > 0) family.resize(cut);
    return family;
}

TextRun StyleOf(const TextWord* word) {
    TextRun style;
    style.size = word->getFontSize();
    const TextFontInfo* info = word->getLength() > 0 ? word->getFontInfo(0) : nullptr;
    if (info) {
        std::string name = info->getFontName() ? info->getFontName()->toStr() : std::string();
        style.font = FamilyOf(name);
        style.bold = info->isBold() || FontNameSaysBold(name);
        style.italic = info->isItalic() || FontNameSaysItalic(name);
    }
    return style;
}

bool SameStyle(const TextRun& a, const TextRun& b) {
    return a.font == b.font && a.bold == b.bold && a.italic == b.italic && std::fabs(a.size - b.size) < 0.05;
}

void AddWord(TextParagraph& paragraph, const TextWord* word) {
    TextRun style = StyleOf(word);
    if (paragraph.runs.empty() || !SameStyle(paragraph.runs.back(), style)) paragraph.runs.push_back(style);
    std::u32string& text = paragraph.runs.back().text;
    for (int i = 0; i < word->getLength(); ++i) text.push_back(static_cast<char32_t>(*word->getChar(i)));
}

void AddSeparator(TextParagraph& paragraph) {
    if (!paragraph.runs.empty() && !paragraph.runs.back().text.empty() && paragraph.runs.back().text.back() != U' ') {
        paragraph.runs.back().text.push_back(U' ');
    }
}

}  // namespace

std::vector<TextParagraph> ReadPageParagraphs(PDFDoc* document, int page) {
    std::vector<TextParagraph> paragraphs;
    if (!document || page < 1 || page > document->getNumPages()) return paragraphs;
    TextOutputDev device(static_cast<const char*>(nullptr), false, 0.0, false, false);
    if (!device.isOk()) return paragraphs;
    document->displayPage(&device, page, 72.0, 72.0, 0, true, false, false);
    for (const TextFlow* flow = device.getFlows(); flow; flow = flow->getNext()) {
        for (const TextBlock* block = flow->getBlocks(); block; block = block->getNext()) {
            TextParagraph paragraph;
            for (const TextLine* line = block->getLines(); line; line = line->getNext()) {
                for (const TextWord* word = line->getWords(); word; word = word->getNext()) {
                    AddWord(paragraph, word);
                    if (word->getNext() && word->getSpaceAfter()) AddSeparator(paragraph);
                }
                if (line->getNext() && !line->isHyphenated()) AddSeparator(paragraph);
            }
            while (!paragraph.runs.empty() && !paragraph.runs.back().text.empty() && paragraph.runs.back().text.back() == U' ') {
                paragraph.runs.back().text.pop_back();
            }
            if (!paragraph.runs.empty()) paragraphs.push_back(std::move(paragraph));
        }
    }
    return paragraphs;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string Utf8(const std::u32string& text) {
    std::string out;
    for (char32_t c : text) AppendUtf8(out, c);
    return out;
}

namespace {

std::u32string DecodeUtf16(const std::string& bytes, bool bigEndian) {
    std::u32string text;
    char32_t high = 0;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        unsigned char a = static_cast<unsigned char>(bytes[i]);
        unsigned char b = static_cast<unsigned char>(bytes[i + 1]);
        char32_t unit = bigEndian ? (a << 8 | b) : (b << 8 | a);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (high) text.push_back(0xFFFD);
            high = unit;
            continue;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            text.push_back(high ? 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00) : 0xFFFD);
            high = 0;
            continue;
        }
        if (high) text.push_back(0xFFFD);
        high = 0;
        text.push_back(unit);
    }
    if (high) text.push_back(0xFFFD);
    return text;
}

std::u32string DecodeUtf8(const std::string& bytes, size_t start) {
    std::u32string text;
    size_t i = start;
    while (i < bytes.size()) {
        unsigned char lead = static_cast<unsigned char>(bytes[i]);
        int follow = -1;
        if (lead < 0x80) follow = 0;
        else if (lead >= 0xC2 && lead < 0xE0) follow = 1;
        else if (lead >= 0xE0 && lead < 0xF0) follow = 2;
        else if (lead >= 0xF0 && lead < 0xF5) follow = 3;
        if (follow < 0 || i + follow >= bytes.size()) {
            text.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t c = follow == 0 ? lead : follow == 1 ? (lead & 0x1F) : follow == 2 ? (lead & 0x0F) : (lead & 0x07);
        bool good = true;
        for (int k = 1; k <= follow; ++k) {
            unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) { good = false; break; }
            c = (c << 6) | (next & 0x3F);
        }
        if (!good) {
            text.push_back(0xFFFD);
            ++i;
            continue;
        }
        text.push_back(c);
        i += follow + 1;
    }
    return text;
}

}  // namespace

std::u32string DecodeTextString(const GooString& text) {
    const std::string& bytes = text.toStr();
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE && static_cast<unsigned char>(bytes[1]) == 0xFF) {
        return DecodeUtf16(bytes, true);
    }
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        return DecodeUtf16(bytes, false);
    }
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return DecodeUtf8(bytes, 3);
    std::u32string decoded;
    for (char code : bytes) {
        Unicode c = pdfDocEncoding[static_cast<unsigned char>(code)];
        decoded.push_back(c || code == 0 ? static_cast<char32_t>(c) : U'\uFFFD');
    }
    return decoded;
}

bool FontNameSaysBold(const std::string& name) {
    std::string lowered = Lowered(WithoutSubsetTag(name));
    return lowered.find("bold") != std::string::npos || lowered.find("black") != std::string::npos ||
           lowered.find("heavy") != std::string::npos;
}

bool FontNameSaysItalic(const std::string& name) {
    std::string lowered = Lowered(WithoutSubsetTag(name));
    return lowered.find("italic") != std::string::npos || lowered.find("oblique") != std::string::npos;
}

std::string PlainNumber(double value, int decimals) {
    if (!std::isfinite(value)) value = 0.0;
    value = std::clamp(value, -1e15, 1e15);
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, std::clamp(decimals, 0, 10));
    std::string out(text, result.ptr);
    if (out.find('.') != std::string::npos) {
        while (out.back() == '0') out.pop_back();
        if (out.back() == '.') out.pop_back();
    }
    if (out == "-0") out = "0";
    return out;
}
