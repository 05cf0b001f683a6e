// What the document formats (PDF, DXF, RTF, HTML) share: the text of a page
// as poppler reads it, paragraphs in reading order, each a list of runs that
// share one font, size and style; Unicode helpers; numbers as file formats
// want them.
#pragma once

#include <string>
#include <vector>

class PDFDoc;
class GooString;

struct TextRun {
    std::u32string text;
    std::string font;        // the family as the PDF names it, without subset tag or style
    double size = 0.0;       // points
    bool bold = false;
    bool italic = false;
};

struct TextParagraph {
    std::vector<TextRun> runs;
};

// The page's paragraphs (poppler's text blocks) in reading order; lines of a
// paragraph are joined by a blank, or by nothing after a hyphen.
std::vector<TextParagraph> ReadPageParagraphs(PDFDoc* document, int page);

// The UTF-8 bytes of a code point; surrogates and values beyond Unicode
// become U+FFFD.
void AppendUtf8(std::string& out, char32_t c);
std::string Utf8(const std::u32string& text);

// A PDF text string (UTF-16 with its byte order mark, UTF-8 with its mark,
// or PDFDocEncoding) as code points.
std::u32string DecodeTextString(const GooString& text);

// Whether a font name says bold or italic (as "Helvetica-BoldOblique" does).
bool FontNameSaysBold(const std::string& name);
bool FontNameSaysItalic(const std::string& name);

// A number with at most the given decimals, trailing zeros dropped, no
// exponent and no locale (a point, never a comma); beyond +-1e15 clamped,
// not-a-number written 0.
std::string PlainNumber(double value, int decimals);
