// The one interface every output format is written through: open a file,
// add pages in order, close it. Each format has a file of its own behind
// this interface (writer_<format>.cpp) and one entry in the format table
// (formats.h) that makes its writer.
#pragma once

#include <string>

#include "engine/picture.h"

class PDFDoc;

// One page handed to a writer. Raster formats read the picture, already
// drawn and processed; formats that work from the document itself (text,
// vectors, information) read the document and the page number, and get no
// picture.
struct PageInput {
    int number = 0;                  // 1-based page number in the PDF
    const Picture* picture = nullptr;
    PDFDoc* document = nullptr;      // owned by the caller, used by one thread at a time
    std::string source;              // the PDF's path as the user knows it
};

class Writer {
public:
    virtual ~Writer() = default;
    // Starts an output file at path (a temporary name that the caller renames
    // once End succeeded). document is the PDF the pages come from.
    virtual bool Begin(const std::string& path, PDFDoc* document, std::string* error) = 0;
    virtual bool AddPage(const PageInput& page, std::string* error) = 0;
    // Finishes the file; false when any byte could not be written.
    virtual bool End(std::string* error) = 0;
};
