// TXT: the text of a whole PDF in one file, taken with poppler's text
// extraction as pdftotext takes it.
//   raw 1      reading order (pdftotext -raw), lines word-wrapped at columns
//   raw 0      the physical layout (pdftotext -layout)
//   raw 2      an HTML page, UTF-8, the physical layout of each page in a <pre>
//   mark_crlf  a form feed ends each page of the plain text (as pdftotext)
//   txt_type 0 "MS-Dos": Windows-1252, '?' for characters it lacks; any other
//              value gives UTF-8. Lines end with CR LF in every case.
#include "engine/writer_txt.h"

#include <PDFDoc.h>
#include <TextOutputDev.h>

#include <memory>
#include <string>

#include "engine/byte_file.h"
#include "engine/pdf_text.h"

namespace {

void Collect(void* stream, const char* text, int length) {
    if (length > 0) static_cast<std::string*>(stream)->append(text, static_cast<size_t>(length));
}

size_t CodePoints(const std::string& text, size_t from, size_t to) {
    size_t n = 0;
    for (size_t i = from; i < to; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) != 0x80 && c != '\f') ++n;
    }
    return n;
}

// The byte offset just past the first count code points from 'from'.
size_t AdvanceCodePoints(const std::string& text, size_t from, size_t to, size_t count) {
    size_t i = from;
    while (i < to) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) != 0x80 && c != '\f') {
            if (count == 0) break;
            --count;
        }
        ++i;
    }
    return i;
}

void WrapLine(const std::string& text, size_t from, size_t to, size_t columns, std::string* out) {
    while (CodePoints(text, from, to) > columns) {
        size_t limit = AdvanceCodePoints(text, from, to, columns);
        size_t blank = std::string::npos;
        for (size_t i = limit; i > from; --i)
            if (text[i] == ' ') {
                blank = i;
                break;
            }
        if (blank == std::string::npos || blank == from) {
            out->append(text, from, limit - from);
            from = limit;
        } else {
            out->append(text, from, blank - from);
            from = blank + 1;
        }
        out->push_back('\n');
    }
    out->append(text, from, to - from);
}

std::string EscapeHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\f': break;
        default: out.push_back(c);
        }
    }
    return out;
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

class TxtWriter : public Writer {
public:
    explicit TxtWriter(const OutputOptions& options) : options_(options) {}

    bool Begin(const std::string& path, PDFDoc* document, std::string* error) override {
        const bool html = options_.txtRaw == 2;
        const bool layout = options_.txtRaw != 1;
        text_.clear();
        device_ = std::make_unique<TextOutputDev>(Collect, &text_, layout, 0.0, !layout, false);
        if (!device_->isOk()) {
            *error = "cannot start text extraction";
            return false;
        }
        // The line ends and page marks are this writer's own, not the
        // platform's default.
        device_->setTextEOL(eolUnix);
        device_->setTextPageBreaks(!html && options_.txtMarkPageBreaks);
        if (!file_.Open(path, error)) return false;
        if (html) {
            std::string title;
            if (document && document->isOk()) title = PdfTextToUtf8(document->getDocInfoTitle().get());
            if (title.empty() && document && document->getFileName()) {
                title = document->getFileName()->toStr();
                size_t slash = title.find_last_of("/\\");
                if (slash != std::string::npos) title.erase(0, slash + 1);
                title = BytesToUtf8(title);
            }
            file_.Write(WithCrLf("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                                 EscapeHtml(title) + "</title>\n</head>\n<body>\n"));
        }
        return true;
    }

    bool AddPage(const PageInput& page, std::string* error) override {
        PDFDoc* document = page.document;
        if (!device_ || !document || !document->isOk() || page.number < 1 || page.number > document->getNumPages()) {
            *error = "no such page " + std::to_string(page.number);
            return false;
        }
        text_.clear();
        document->displayPage(device_.get(), page.number, 72, 72, 0, true, false, false);
        std::string out;
        if (options_.txtRaw == 2) {
            out = "<pre>\n" + EscapeHtml(text_) + "</pre>\n";
        } else if (options_.txtRaw == 1 && options_.txtColumns > 0) {
            out = WrapLines(text_, options_.txtColumns);
        } else {
            out.swap(text_);
        }
        if (options_.txtRaw != 2 && options_.txtType == 0) out = Utf8ToWindows1252(out);
        file_.Write(WithCrLf(out));
        return true;
    }

    bool End(std::string* error) override {
        if (options_.txtRaw == 2) file_.Write(WithCrLf("</body>\n</html>\n"));
        device_.reset();
        return file_.Close(error);
    }

private:
    OutputOptions options_;
    std::unique_ptr<TextOutputDev> device_;
    std::string text_;
    ByteFile file_;
};

}  // namespace

std::string WrapLines(const std::string& utf8, int columns) {
    if (columns <= 0) return utf8;
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 16);
    size_t from = 0;
    while (from < utf8.size()) {
        size_t end = utf8.find('\n', from);
        if (end == std::string::npos) end = utf8.size();
        WrapLine(utf8, from, end, static_cast<size_t>(columns), &out);
        if (end < utf8.size()) out.push_back('\n');
        from = end + 1;
    }
    return out;
}

std::unique_ptr<Writer> MakeTxtWriter(const OutputOptions& options) { return std::make_unique<TxtWriter>(options); }
