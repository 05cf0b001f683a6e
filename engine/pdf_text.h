// Text conversions the text and information outputs share: a PDF text
// string (UTF-16 with a byte order mark, or PDFDocEncoding) to UTF-8, and
// UTF-8 to the single-byte Windows-1252 code page.
#pragma once

#include <string>

class GooString;

// A PDF text string as UTF-8; null gives an empty text.
std::string PdfTextToUtf8(const GooString* text);

// Appends one Unicode code point as UTF-8 (a code point outside Unicode or
// a surrogate becomes U+FFFD).
void AppendUtf8(std::string* out, unsigned codePoint);

// UTF-8 text as Windows-1252 bytes; a character the code page lacks, and
// any malformed byte, becomes '?'.
std::string Utf8ToWindows1252(const std::string& utf8);

// Text that may be UTF-8 or, when it is not valid UTF-8, bytes of the
// system's ANSI code page on Windows (a file name as Windows hands it to a
// program) and of Windows-1252 elsewhere, as UTF-8.
std::string BytesToUtf8(const std::string& bytes);
