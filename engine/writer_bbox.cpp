// BoundingBox Infos: per page the box of the marks the page makes (text,
// paths with their line width, images) as far as they show on the page, in
// points from the lower left corner of the media box, written as
// ghostscript's bbox device reports it:
//   %%BoundingBox: llx lly urx ury          (whole points, outward)
//   %%HiResBoundingBox: llx lly urx ury     (six decimals)
// A page that draws nothing has the box 0 0 0 0. Lines end with CR LF.
#include "engine/writer_makers.h"

#include <BBoxOutputDev.h>
#include <PDFDoc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "engine/byte_file.h"

namespace {

// Measures each mark with poppler's BBoxOutputDev and keeps only what the
// mark's clip lets show, as a printer would: a shape drawn off the page or
// outside its clip path does not widen the box. Fills are measured without
// the line width, strokes with it; invisible text (render modes 3 and 7,
// such as a scan's recognised text) marks nothing.
class ClippedBoxDevice : public OutputDev {
public:
    bool upsideDown() override { return false; }
    bool useDrawChar() override { return true; }
    bool interpretType3Chars() override { return false; }

    void stroke(GfxState* state) override {
        BBoxOutputDev mark(false, true, false, true);
        mark.stroke(state);
        Add(state, mark);
    }
    void fill(GfxState* state) override {
        BBoxOutputDev mark(false, true, false, false);
        mark.fill(state);
        Add(state, mark);
    }
    void eoFill(GfxState* state) override {
        BBoxOutputDev mark(false, true, false, false);
        mark.eoFill(state);
        Add(state, mark);
    }
    void drawChar(GfxState* state, double x, double y, double dx, double dy, double originX, double originY,
                  CharCode code, int nBytes, const Unicode* u, int uLen) override {
        if (state->getRender() == 3 || state->getRender() == 7) return;
        BBoxOutputDev mark(true, false, false, false);
        mark.drawChar(state, x, y, dx, dy, originX, originY, code, nBytes, u, uLen);
        Add(state, mark);
    }
    void drawImageMask(GfxState* state, Object* ref, Stream* str, int width, int height, bool invert,
                       bool interpolate, bool inlineImg) override {
        BBoxOutputDev mark(false, false, true, false);
        mark.drawImageMask(state, ref, str, width, height, invert, interpolate, inlineImg);
        Add(state, mark);
    }
    void drawImage(GfxState* state, Object* ref, Stream* str, int width, int height, GfxImageColorMap* colorMap,
                   bool interpolate, const int* maskColors, bool inlineImg) override {
        BBoxOutputDev mark(false, false, true, false);
        mark.drawImage(state, ref, str, width, height, colorMap, interpolate, maskColors, inlineImg);
        Add(state, mark);
    }
    void drawMaskedImage(GfxState* state, Object* ref, Stream* str, int width, int height, GfxImageColorMap* colorMap,
                         bool interpolate, Stream* maskStr, int maskWidth, int maskHeight, bool maskInvert,
                         bool maskInterpolate) override {
        BBoxOutputDev mark(false, false, true, false);
        mark.drawMaskedImage(state, ref, str, width, height, colorMap, interpolate, maskStr, maskWidth, maskHeight,
                             maskInvert, maskInterpolate);
        Add(state, mark);
    }
    void drawSoftMaskedImage(GfxState* state, Object* ref, Stream* str, int width, int height,
                             GfxImageColorMap* colorMap, bool interpolate, Stream* maskStr, int maskWidth,
                             int maskHeight, GfxImageColorMap* maskColorMap, bool maskInterpolate) override {
        BBoxOutputDev mark(false, false, true, false);
        mark.drawSoftMaskedImage(state, ref, str, width, height, colorMap, interpolate, maskStr, maskWidth, maskHeight,
                                 maskColorMap, maskInterpolate);
        Add(state, mark);
    }

    bool HasMarks() const { return marked_; }
    // The box in points from the page's lower left corner.
    double left = 0, foot = 0, right = 0, top = 0;

private:
    void Add(GfxState* state, const BBoxOutputDev& mark) {
        if (!mark.getHasGraphics()) return;
        // BBoxOutputDev counts y from the top of the page; the clip, as the
        // device space, from the foot.
        const double pageWidth = state->getPageWidth(), pageHeight = state->getPageHeight();
        double clipLeft, clipFoot, clipRight, clipTop;
        state->getClipBBox(&clipLeft, &clipFoot, &clipRight, &clipTop);
        clipLeft = std::max(clipLeft, 0.0);
        clipFoot = std::max(clipFoot, 0.0);
        clipRight = std::min(clipRight, pageWidth);
        clipTop = std::min(clipTop, pageHeight);
        const double x1 = std::max(std::min(mark.getX1(), mark.getX2()), clipLeft);
        const double y1 = std::max(pageHeight - std::max(mark.getY1(), mark.getY2()), clipFoot);
        const double x2 = std::min(std::max(mark.getX1(), mark.getX2()), clipRight);
        const double y2 = std::min(pageHeight - std::min(mark.getY1(), mark.getY2()), clipTop);
        if (x1 > x2 || y1 > y2) return;
        // BBoxOutputDev pins a mark off the page to the page's edge, where
        // it collapses to a line: nothing of it shows.
        if ((x1 == x2 && (x1 <= clipLeft || x1 >= clipRight)) || (y1 == y2 && (y1 <= clipFoot || y1 >= clipTop)))
            return;
        if (!marked_) {
            left = x1;
            foot = y1;
            right = x2;
            top = y2;
            marked_ = true;
            return;
        }
        left = std::min(left, x1);
        foot = std::min(foot, y1);
        right = std::max(right, x2);
        top = std::max(top, y2);
    }
    bool marked_ = false;
};

// A hostile page can be absurdly large: figures are kept printable.
double Printable(double value) { return std::isfinite(value) ? std::clamp(value, -1e9, 1e9) : 0.0; }

class BboxWriter : public Writer {
public:
    bool Begin(const std::string& path, PDFDoc*, std::string* error) override { return file_.Open(path, error); }

    bool AddPage(const PageInput& page, std::string* error) override {
        PDFDoc* document = page.document;
        if (!document || !document->isOk() || page.number < 1 || page.number > document->getNumPages()) {
            *error = "no such page " + std::to_string(page.number);
            return false;
        }
        ClippedBoxDevice device;
        document->displayPage(&device, page.number, 72, 72, 0, true, false, false);
        double box[4] = {0, 0, 0, 0};
        if (device.HasMarks()) {
            box[0] = Printable(device.left);
            box[1] = Printable(device.foot);
            box[2] = Printable(device.right);
            box[3] = Printable(device.top);
        }
        char text[256];
        std::snprintf(text, sizeof text, "%%%%BoundingBox: %lld %lld %lld %lld\r\n%%%%HiResBoundingBox: %f %f %f %f\r\n",
                      static_cast<long long>(std::floor(box[0])), static_cast<long long>(std::floor(box[1])),
                      static_cast<long long>(std::ceil(box[2])), static_cast<long long>(std::ceil(box[3])), box[0],
                      box[1], box[2], box[3]);
        file_.Write(std::string(text));
        return true;
    }

    bool End(std::string* error) override { return file_.Close(error); }

private:
    ByteFile file_;
};

}  // namespace

std::unique_ptr<Writer> MakeBboxWriter(const OutputOptions&) { return std::make_unique<BboxWriter>(); }
