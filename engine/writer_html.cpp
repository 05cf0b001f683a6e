// The HTML output: one UTF-8 page a PDF, titled with the PDF's title (else
// its file name), each page's paragraphs in a <section> of their own, every
// character of the PDF's text escaped so that none of it is markup.
#include <PDFDoc.h>
#include <goo/GooString.h>

#include "engine/document_text.h"
#include "engine/document_writers.h"
#include "engine/written_file.h"

namespace {

void AppendEscaped(std::string& out, const std::u32string& text) {
    for (char32_t c : text) {
        switch (c) {
        case U'&': out += "&amp;"; break;
        case U'<': out += "&lt;"; break;
        case U'>': out += "&gt;"; break;
        case U'"': out += "&quot;"; break;
        case U'\'': out += "&#39;"; break;
        default:
            // Control characters and noncharacters are not allowed in an
            // HTML document's text.
            if ((c < 0x20 && c != U'\t' && c != U'\n') || (c >= 0x7F && c < 0xA0) || (c & 0xFFFE) == 0xFFFE ||
                (c >= 0xFDD0 && c <= 0xFDEF)) {
                break;
            }
            AppendUtf8(out, c);
        }
    }
}

bool IsBlank(const std::u32string& text) {
    for (char32_t c : text) {
        if (c > 0x20) return false;
    }
    return true;
}

// The last part of the path the PDF was opened with.
std::u32string FileNameOf(PDFDoc* document) {
    const GooString* path = document->getFileName();
    std::string name = path ? path->toStr() : std::string();
    size_t slash = name.find_last_of("/\\:");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    std::u32string text;
    for (char c : name) text.push_back(static_cast<unsigned char>(c));
    return text;
}

class HtmlWriter : public Writer {
public:
    bool Begin(const std::string& path, PDFDoc* document, std::string* error) override {
        document_ = document;
        if (!document_ || !document_->isOk()) {
            *error = "the PDF could not be read";
            return false;
        }
        if (!file_.Open(path)) {
            *error = "cannot create the HTML file";
            return false;
        }
        std::u32string title;
        if (std::unique_ptr<GooString> info = document_->getDocInfoTitle()) title = DecodeTextString(*info);
        if (IsBlank(title)) title = FileNameOf(document_);
        std::string head = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
        AppendEscaped(head, title);
        head += "</title>\n</head>\n<body>\n";
        file_.Write(head);
        return true;
    }

    bool AddPage(const PageInput& input, std::string* error) override {
        if (input.number < 1 || input.number > document_->getNumPages()) {
            *error = "page " + std::to_string(input.number) + " cannot be read";
            return false;
        }
        std::string section = "<section id=\"page-" + std::to_string(input.number) + "\">\n";
        for (const TextParagraph& paragraph : ReadPageParagraphs(document_, input.number)) {
            section += "<p>";
            for (const TextRun& run : paragraph.runs) AppendEscaped(section, run.text);
            section += "</p>\n";
        }
        section += "</section>\n";
        file_.Write(section);
        return true;
    }

    bool End(std::string* error) override {
        if (!file_.IsOpen()) {
            *error = "the HTML file was not started";
            return false;
        }
        file_.Write("</body>\n</html>\n");
        if (!file_.Close()) {
            *error = "the HTML file could not be written";
            return false;
        }
        return true;
    }

private:
    PDFDoc* document_ = nullptr;
    WrittenFile file_;
};

}  // namespace

std::unique_ptr<Writer> MakeHtmlWriter(const OutputOptions&) {
    return std::make_unique<HtmlWriter>();
}
