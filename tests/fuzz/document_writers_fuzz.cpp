// Fuzz target: a PDF of any bytes through the PDF, DXF, RTF and HTML
// writers. None may crash; a PDF copy that reports success opens again with
// as many pages as were copied; an RTF file's braces balance; a DXF file is
// pairs of lines whose first is a group code; no text output carries a
// control character other than its line ends.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <Error.h>
#include <GlobalParams.h>
#include <PDFDoc.h>
#include <Stream.h>
#include <goo/GooString.h>

#include "engine/document_writers.h"
#include "engine/formats.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

constexpr int kMaxPages = 4;

void Quiet(ErrorCategory, Goffset, const char*) {}

bool Convert(int format, PDFDoc* document, int first, int last, const std::string& path) {
    OutputOptions options;
    options.format = format;
    options.rtfRaw = false;
    options.operations.rotate = true;
    options.operations.rotateDegrees = 90;
    std::unique_ptr<Writer> writer = FindFormat(format)->make(options);
    std::string error;
    bool ok = writer->Begin(path, document, &error);
    for (int page = first; page <= last; ++page) {
        PageInput input;
        input.number = page;
        input.document = document;
        ok = ok && writer->AddPage(input, &error);
    }
    ok = ok && writer->End(&error);
    if (!ok && error.empty()) std::abort();  // a failure must say why
    return ok;
}

void CheckNoControlBytes(const std::string& text) {
    for (char c : text) {
        unsigned char code = static_cast<unsigned char>(c);
        if ((code < 0x20 && c != '\r' && c != '\n') || code == 0x7F) std::abort();
    }
}

void CheckRtf(const std::string& rtf) {
    CheckNoControlBytes(rtf);
    int depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') ++i;
        else if (rtf[i] == '{') ++depth;
        else if (rtf[i] == '}' && --depth < 0) std::abort();
    }
    if (depth != 0) std::abort();
}

void CheckDxf(const std::string& dxf) {
    CheckNoControlBytes(dxf);
    size_t line = 0, start = 0;
    while (start < dxf.size()) {
        size_t end = dxf.find("\r\n", start);
        if (end == std::string::npos) std::abort();  // every line ends with CR LF
        if (line % 2 == 0) {
            std::string code = dxf.substr(start, end - start);
            if (code.find_first_not_of(" 0123456789") != std::string::npos || code.find_first_of("0123456789") == std::string::npos) {
                std::abort();
            }
        }
        start = end + 2;
        ++line;
    }
    if (line % 2 != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        globalParams = std::make_unique<GlobalParams>();
        setErrorCallback(Quiet);
        return true;
    }();
    (void)ready;
    if (size > (1u << 20)) return 0;
    std::vector<char> bytes(data, data + size);
    PDFDoc document(new MemStream(bytes.data(), 0, static_cast<Goffset>(bytes.size()), Object(objNull)));
    if (!document.isOk()) return 0;
    int pages = std::min(document.getNumPages(), kMaxPages);
    const std::string folder = fuzz::ScratchFolder();

    std::string pdf = folder + "/out.pdf";
    if (Convert(kOutPdf, &document, 1, pages, pdf) && pages > 0) {
        PDFDoc copy(std::make_unique<GooString>(pdf));
        if (!copy.isOk() || copy.getNumPages() != pages) std::abort();
    }
    std::string rtf = folder + "/out.rtf";
    if (Convert(kOutRtf, &document, 1, pages, rtf)) CheckRtf(fuzz::ReadFile(rtf));
    std::string html = folder + "/out.html";
    if (Convert(kOutHtml, &document, 1, pages, html)) {
        std::string text = fuzz::ReadFile(html);
        for (char c : text) {
            unsigned char code = static_cast<unsigned char>(c);
            if ((code < 0x20 && c != '\n' && c != '\t') || code == 0x7F) std::abort();
        }
    }
    for (int page = 1; page <= pages; ++page) {
        std::string dxf = folder + "/out.dxf";
        if (Convert(kOutDxf, &document, page, page, dxf)) CheckDxf(fuzz::ReadFile(dxf));
    }
    return 0;
}
