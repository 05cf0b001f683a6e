// Drawing pages as poppler's pdftoppm draws them by default.
#include "engine/render.h"

#include "engine/file_system.h"
#include "engine/fonts.h"
#include "engine/plan.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

#include <Error.h>
#include <GlobalParams.h>
#include <PDFDoc.h>
#include <SplashOutputDev.h>
#include <goo/GooString.h>
#include <splash/SplashBitmap.h>
#include <splash/SplashTypes.h>

// A 32-bit process has far less room: its cap is lower.
const long long kMaxPagePixels = sizeof(void*) >= 8 ? 120LL * 1000 * 1000 : 50LL * 1000 * 1000;
const long long kLargePagePixels = 30LL * 1000 * 1000;

namespace {

std::once_flag libraryOnce;
std::mutex sinkLock;
std::function<void(const std::string&)> messageSink;

void SendPdfMessage(const char* message, long long) {
    std::lock_guard<std::mutex> hold(sinkLock);
    if (messageSink && message != nullptr) messageSink(message);
}

bool IsFolder(const std::string& path) {
    fsys::Stamp stamp = fsys::StampOf(path);
    return stamp.exists && stamp.folder;
}

bool NeedsSwap(int rotation) { return rotation % 180 == 90; }

}  // namespace

std::vector<std::string> SetUpPdfLibrary(const std::string& programFolder) {
    std::vector<std::string> notes;
    std::call_once(libraryOnce, [&programFolder, &notes]() {
        std::string data = JoinPath(programFolder, kPopplerDataFolderName);
        StartPoppler(IsFolder(data) ? data : std::string(), SendPdfMessage);
        // A PDF may use the standard fonts without embedding them; without
        // faces registered for them a Windows machine that lacks the
        // expected system fonts would draw no text at all.
        std::string fonts = JoinPath(programFolder, kFontsFolderName);
        if (!IsFolder(fonts)) return;
        for (const std::string& missing : RegisterStandardFonts(fonts))
            notes.push_back("The font file " + JoinPath(fonts, missing) + " is missing: text in its font may not show");
    });
    return notes;
}

void SetPdfMessageSink(std::function<void(const std::string&)> sink) {
    std::lock_guard<std::mutex> hold(sinkLock);
    messageSink = std::move(sink);
}

namespace {

// Whether the file's first kilobyte holds the PDF header, as readers ask.
bool HasPdfHeader(const std::string& path) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) return true;  // opening reports it
    char head[1024];
    size_t got = std::fread(head, 1, sizeof head, in);
    std::fclose(in);
    for (size_t i = 0; i + 5 <= got; ++i)
        if (std::memcmp(head + i, "%PDF-", 5) == 0) return true;
    return false;
}

}  // namespace

PdfFile OpenPdf(const std::string& path, const std::string& password) {
    PdfFile file;
    if (!HasPdfHeader(path)) {
        file.error = "not a PDF file";
        return file;
    }
    std::optional<GooString> secret;
    if (!password.empty()) secret = GooString(password);
#ifdef _WIN32
    // poppler widens a narrow path byte by byte, which is right for Latin-1
    // only; the job's paths are in the system's code page.
    std::wstring wide(path.size() + 1, L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), &wide[0],
                                     static_cast<int>(wide.size()));
    file.document = std::make_unique<PDFDoc>(&wide[0], length, secret, secret);
#else
    file.document = std::make_unique<PDFDoc>(std::make_unique<GooString>(path), secret, secret);
#endif
    if (file.document->isOk()) {
        if (file.document->getNumPages() < 1) {
            file.error = "the document has no page";
            file.document.reset();
        }
        return file;
    }
    switch (file.document->getErrorCode()) {
    case errOpenFile:
        file.error = "the file cannot be opened for reading";
        break;
    case errEncrypted:
        file.passwordProblem = true;
        file.error = password.empty() ? "the document is encrypted and the job gives no password"
                                      : "the job's password does not open the document";
        break;
    case errBadCatalog:
    case errDamaged:
        file.error = "the document is damaged";
        break;
    default:
        file.error = "not a readable PDF document";
        break;
    }
    file.document.reset();
    return file;
}

bool PagePixelSize(PDFDoc* document, int page, const DrawRequest& request, int* width, int* height,
                   double* exactWidth, double* exactHeight) {
    double w = document->getPageCropWidth(page);
    double h = document->getPageCropHeight(page);
    if (!(w > 0) || !(h > 0) || !std::isfinite(w) || !std::isfinite(h)) return false;
    // poppler applies the horizontal resolution to the drawn picture's
    // width, whichever side of the page that is after rotation.
    if (NeedsSwap(document->getPageRotate(page) + request.extraRotation)) std::swap(w, h);
    w *= request.dpiX / 72.0;
    h *= request.dpiY / 72.0;
    if (w > 1e9 || h > 1e9) return false;
    *exactWidth = w;
    *exactHeight = h;
    *width = static_cast<int>(std::ceil(w));
    *height = static_cast<int>(std::ceil(h));
    return *width > 0 && *height > 0;
}

PageDrawer::PageDrawer(PDFDoc* document, bool grey) : document_(document), grey_(grey) {}

PageDrawer::~PageDrawer() = default;

void PageDrawer::MakeDevice() {
    SplashColor paper;
    std::memset(paper, 0, sizeof paper);
    paper[0] = paper[1] = paper[2] = 0xff;
    device_ = std::make_unique<SplashOutputDev>(grey_ ? splashModeMono8 : splashModeRGB8, 4, false, paper, true,
                                                splashThinLineDefault, false);
    device_->setFontAntialias(true);
    device_->setVectorAntialias(true);
    device_->setFreeTypeHinting(false, false);
    device_->setEnableFreeType(true);
    device_->startDoc(document_);
}

bool PageDrawer::Draw(int page, const DrawRequest& request, Picture* picture, std::string* error) {
    if (page < 1 || page > document_->getNumPages() || document_->getPage(page) == nullptr) {
        *error = "page " + std::to_string(page) + " cannot be read";
        return false;
    }
    int width = 0, height = 0;
    double exactWidth = 0, exactHeight = 0;
    if (!PagePixelSize(document_, page, request, &width, &height, &exactWidth, &exactHeight)) {
        *error = "page " + std::to_string(page) + " has no usable size";
        return false;
    }
    if (static_cast<long long>(width) * height > kMaxPagePixels) {
        *error = "page " + std::to_string(page) + " is too large to draw: " + std::to_string(width) + " x " +
                 std::to_string(height) + " pixels at this resolution, more than the " +
                 std::to_string(kMaxPagePixels / 1000000) + " million pixels a page may have";
        return false;
    }
    if (!device_) MakeDevice();
    document_->displayPageSlice(device_.get(), page, request.dpiX, request.dpiY, request.extraRotation, false, false,
                                false, 0, 0, width, height, request.stop, request.stopData);
    if (request.stop != nullptr && request.stop(request.stopData)) {
        *error = "stopped";
        return false;
    }
    SplashBitmap* bitmap = device_->getBitmap();
    if (bitmap == nullptr || bitmap->getWidth() < 1 || bitmap->getHeight() < 1) {
        *error = "page " + std::to_string(page) + " could not be drawn";
        return false;
    }
    const int channels = grey_ ? 1 : 3;
    picture->width = bitmap->getWidth();
    picture->height = bitmap->getHeight();
    picture->channels = channels;
    picture->bilevel = false;
    picture->dpiX = request.dpiX;
    picture->dpiY = request.dpiY;
    const size_t stride = picture->Stride();
    picture->pixels.resize(stride * static_cast<size_t>(picture->height));
    const SplashColorPtr data = bitmap->getDataPtr();
    const size_t rowSize = static_cast<size_t>(bitmap->getRowSize());
    for (int y = 0; y < picture->height; ++y)
        std::memcpy(picture->Row(y), data + rowSize * static_cast<size_t>(y), stride);
    if (static_cast<long long>(picture->width) * picture->height > kLargePagePixels) {
        // The renderer would keep a large page's bitmap until the next page.
        device_.reset();
    }
    return true;
}
