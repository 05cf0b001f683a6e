// A first page counter: counts the page dictionaries of a PDF file.
#include "standins/otxtpdf/pdf_pages.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool IsNameChar(unsigned char c) {
    return !(c <= ' ' || std::strchr("()<>[]{}/%", c) != nullptr);
}

int CountPageDictionaries(const std::string& text) {
    if (text.compare(0, 5, "%PDF-") != 0) return -1;
    int pages = 0;
    size_t at = 0;
    while ((at = text.find("/Type", at)) != std::string::npos) {
        at += 5;
        size_t p = at;
        while (p < text.size() && (unsigned char)text[p] <= ' ') p++;
        if (text.compare(p, 5, "/Page") == 0 &&
            (p + 5 >= text.size() || !IsNameChar((unsigned char)text[p + 5]))) pages++;
    }
    return pages > 0 ? pages : -1;
}

}  // namespace

int CountPdfPagesInMemory(const unsigned char* data, size_t size) {
    return CountPageDictionaries(std::string(reinterpret_cast<const char*>(data), size));
}

int CountPdfPages(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return -1;
    std::string text;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && text.size() < (64u << 20))
        text.append(chunk, got);
    std::fclose(file);
    return CountPageDictionaries(text);
}
