// The engine library's page counter: export ordinal 3 of Otxtpdf.dll, which
// the engine's maker supplies. The programs link it by ordinal through the
// import library made from otxtpdf.def (CMake target zandrix_otxtpdf), so a
// program that calls it does not start without the library.
#pragma once

#ifdef _WIN32
// The number of pages of the PDF file at pdfPath (a single-byte path), or -1
// when the file is not a PDF the library can read.
extern "C" int __cdecl OtxtpdfPageCount(const char* pdfPath);
#endif
