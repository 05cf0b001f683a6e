// Opening PDF files and drawing their pages with poppler's Splash renderer,
// set up as poppler's pdftoppm draws by default (white paper, anti-aliased
// vectors and glyphs, FreeType without hinting), on the crop box and with
// the page's own /Rotate. One PdfFile and one PageDrawer per thread: a
// poppler document is never shared between threads.
#pragma once

#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "engine/picture.h"

class PDFDoc;
class SplashOutputDev;

// Sets up poppler's global state once for the whole process: its data
// folder and the standard fonts from the program folder when it holds them
// (else poppler's own data and the system's fonts), and its messages sent
// to the message sink. Safe to call from any thread. Returns, on the first
// call only, what a log should say of the set-up (missing font files).
std::vector<std::string> SetUpPdfLibrary(const std::string& programFolder);

// Where poppler's messages go from now on (a damaged object, a font that is
// missing); null drops them. Messages come from any worker thread.
void SetPdfMessageSink(std::function<void(const std::string&)> sink);

// The most pixels one page may have; a page that would have more fails
// with a clear reason instead of exhausting memory.
extern const long long kMaxPagePixels;

// Pages above this many pixels are large: the run draws one at a time.
extern const long long kLargePagePixels;

// An open PDF file, or why it could not be opened.
struct PdfFile {
    std::unique_ptr<PDFDoc> document;
    std::string error;       // empty when document is usable
    bool passwordProblem = false;
};
PdfFile OpenPdf(const std::string& path, const std::string& password);

struct DrawRequest {
    double dpiX = 72.0;
    double dpiY = 72.0;
    bool grey = false;       // one grey channel instead of RGB
    int extraRotation = 0;   // clockwise, a multiple of 90, added to the page's own
    // Asked between drawing steps; true stops the drawing.
    bool (*stop)(void* data) = nullptr;
    void* stopData = nullptr;
};

// Draws pages of one document; keeps its renderer between pages.
class PageDrawer {
public:
    PageDrawer(PDFDoc* document, bool grey);
    ~PageDrawer();
    PageDrawer(const PageDrawer&) = delete;
    PageDrawer& operator=(const PageDrawer&) = delete;

    // Draws page (1-based) into picture; false with error set when the page
    // cannot be drawn (missing, too large, stopped).
    bool Draw(int page, const DrawRequest& request, Picture* picture, std::string* error);

private:
    void MakeDevice();

    PDFDoc* document_;
    bool grey_;
    std::unique_ptr<SplashOutputDev> device_;
};

// The size in pixels page would be drawn at, as pdftoppm sizes it; false
// when the page has no usable box.
bool PagePixelSize(PDFDoc* document, int page, const DrawRequest& request, int* width, int* height,
                   double* exactWidth, double* exactHeight);
