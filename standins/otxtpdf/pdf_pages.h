// The page counter behind the engine library stand-in (Otxtpdf.dll ordinal
// 3): the number of pages of a PDF file, read with bounded effort so that a
// listing of thousands of files, hostile ones among them, stays fast.
#pragma once
#include <cstddef>

// The page count of the PDF file at path, or -1 when it is not a PDF this
// counter can read. repaired, when given, tells whether the count needed the
// repair scan because the cross-reference data was damaged.
int CountPdfPages(const char* path, bool* repaired = nullptr);

// The same for a PDF held in memory.
int CountPdfPagesInMemory(const unsigned char* data, size_t size, bool* repaired = nullptr);
