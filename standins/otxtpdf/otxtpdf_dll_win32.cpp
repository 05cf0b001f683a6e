// The engine library stand-in, Otxtpdf.dll: exports the page counter as
// ordinal 3 only (see launch/otxtpdf.def). Used by tests and the staged
// program folder in place of the library the engine's maker supplies.
#include "launch/otxtpdf.h"
#include "standins/otxtpdf/pdf_pages.h"

extern "C" int __cdecl OtxtpdfPageCount(const char* pdfPath) {
    if (!pdfPath) return -1;
    return CountPdfPages(pdfPath);
}
