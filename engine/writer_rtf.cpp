// The RTF output: one document a PDF, its pages' paragraphs in reading
// order with a page break between pages. Raw text is plain paragraphs in
// one font; formatted text keeps each run's font, size, bold and italic as
// poppler reports them. Characters beyond ASCII are \uN escapes, and RTF's
// own characters (backslash, braces) are escaped, so no text of the PDF can
// change the document's structure.
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include <PDFDoc.h>
#include <goo/GooString.h>

#include "engine/document_text.h"
#include "engine/document_writers.h"
#include "engine/written_file.h"

namespace {

void AppendEscaped(std::string& out, const std::u32string& text) {
    for (char32_t c : text) {
        if (c == U'\\' || c == U'{' || c == U'}') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c == U'\t') {
            out += "\\tab ";
        } else if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else if (c >= 0xA0) {
            if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
            // \uN takes a signed 16-bit N; code points beyond the BMP go as
            // their UTF-16 surrogates. The ? is the fallback for readers
            // without Unicode.
            std::vector<unsigned> units;
            if (c > 0xFFFF) {
                units.push_back(0xD800 + ((c - 0x10000) >> 10));
                units.push_back(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                units.push_back(c);
            }
            for (unsigned unit : units) {
                int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
                out += "\\u" + std::to_string(value) + "?";
            }
        }
        // Other control characters have no place in the text.
    }
}

class RtfWriter : public Writer {
public:
    explicit RtfWriter(bool raw) : raw_(raw) {}

    bool Begin(const std::string& path, PDFDoc* document, std::string* error) override {
        document_ = document;
        body_.clear();
        pages_ = 0;
        fonts_.clear();
        if (!document_ || !document_->isOk()) {
            *error = "the PDF could not be read";
            return false;
        }
        if (!file_.Open(path)) {
            *error = "cannot create the RTF file";
            return false;
        }
        return true;
    }

    bool AddPage(const PageInput& input, std::string* error) override {
        if (input.number < 1 || input.number > document_->getNumPages()) {
            *error = "page " + std::to_string(input.number) + " cannot be read";
            return false;
        }
        if (pages_++ > 0) body_ += "\\page\r\n";
        for (const TextParagraph& paragraph : ReadPageParagraphs(document_, input.number)) {
            body_ += "\\pard\\plain ";
            if (raw_) {
                body_ += "\\f0\\fs24 ";
                for (const TextRun& run : paragraph.runs) AppendEscaped(body_, run.text);
            } else {
                for (const TextRun& run : paragraph.runs) {
                    int halfPoints = static_cast<int>(std::lround(std::clamp(run.size, 1.0, 1600.0) * 2));
                    body_ += "{\\f" + std::to_string(FontNumber(run.font)) + "\\fs" + std::to_string(halfPoints);
                    if (run.bold) body_ += "\\b";
                    if (run.italic) body_ += "\\i";
                    body_ += " ";
                    AppendEscaped(body_, run.text);
                    body_ += "}";
                }
            }
            body_ += "\\par\r\n";
        }
        return true;
    }

    bool End(std::string* error) override {
        if (!file_.IsOpen()) {
            *error = "the RTF file was not started";
            return false;
        }
        std::string head = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
        if (fonts_.empty()) head += "{\\f0\\fswiss Helvetica;}";
        std::vector<const std::string*> byNumber(fonts_.size());
        for (const auto& font : fonts_) byNumber[font.second] = &font.first;
        for (size_t i = 0; i < byNumber.size(); ++i) {
            head += "{\\f" + std::to_string(i) + "\\fnil ";
            AppendEscaped(head, DecodeName(*byNumber[i]));
            head += ";}";
        }
        head += "}\r\n";
        std::unique_ptr<GooString> title = document_->getDocInfoTitle();
        if (title && !title->toStr().empty()) {
            head += "{\\info{\\title ";
            AppendEscaped(head, DecodeTextString(*title));
            head += "}}\r\n";
        }
        file_.Write(head);
        file_.Write(body_);
        file_.Write("}\r\n");
        if (!file_.Close()) {
            *error = "the RTF file could not be written";
            return false;
        }
        return true;
    }

private:
    // Font numbers in order of first use; a font without a name is the
    // table's Helvetica.
    int FontNumber(const std::string& font) {
        std::string name = font.empty() ? "Helvetica" : font;
        auto found = fonts_.find(name);
        if (found != fonts_.end()) return found->second;
        int number = static_cast<int>(fonts_.size());
        fonts_[name] = number;
        return number;
    }

    // A font table entry ends at its semicolon, so a name keeps none.
    static std::u32string DecodeName(const std::string& name) {
        std::u32string text;
        for (char c : name) {
            if (c != ';') text.push_back(static_cast<unsigned char>(c));
        }
        return text;
    }

    bool raw_;
    PDFDoc* document_ = nullptr;
    WrittenFile file_;
    std::string body_;
    int pages_ = 0;
    std::map<std::string, int> fonts_;
};

}  // namespace

std::unique_ptr<Writer> MakeRtfWriter(const OutputOptions& options) {
    return std::make_unique<RtfWriter>(options.rtfRaw);
}
