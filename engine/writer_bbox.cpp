// BoundingBox Infos: per page the box of the marks the page makes (text,
// paths with their line width, images), found with poppler's BBoxOutputDev,
// in points from the lower left corner of the media box, written as
// ghostscript's bbox device reports it:
//   %%BoundingBox: llx lly urx ury          (whole points, outward)
//   %%HiResBoundingBox: llx lly urx ury     (six decimals)
// A page that draws nothing has the box 0 0 0 0. Lines end with CR LF.
#include "engine/writer_bbox.h"

#include <BBoxOutputDev.h>
#include <PDFDoc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "engine/byte_file.h"

namespace {

class BboxWriter : public Writer {
public:
    bool Begin(const std::string& path, PDFDoc*, std::string* error) override { return file_.Open(path, error); }

    bool AddPage(const PageInput& page, std::string* error) override {
        PDFDoc* document = page.document;
        if (!document || page.number < 1 || page.number > document->getNumPages()) {
            *error = "no such page " + std::to_string(page.number);
            return false;
        }
        BBoxOutputDev device(true, true, true, true);
        document->displayPage(&device, page.number, 72, 72, 0, true, false, false);
        double box[4] = {0, 0, 0, 0};
        if (device.getHasGraphics()) {
            // Marks outside the page do not show: the box stays on the page.
            double width = document->getPageMediaWidth(page.number);
            double height = document->getPageMediaHeight(page.number);
            if (document->getPageRotate(page.number) % 180 != 0) std::swap(width, height);
            width = std::max(width, 0.0);
            height = std::max(height, 0.0);
            // The device counts y from the top of the page.
            const double top = std::min(device.getY1(), device.getY2());
            const double bottom = std::max(device.getY1(), device.getY2());
            box[0] = std::clamp(std::min(device.getX1(), device.getX2()), 0.0, width);
            box[1] = std::clamp(height - bottom, 0.0, height);
            box[2] = std::clamp(std::max(device.getX1(), device.getX2()), 0.0, width);
            box[3] = std::clamp(height - top, 0.0, height);
        }
        char text[256];
        std::snprintf(text, sizeof text, "%%%%BoundingBox: %d %d %d %d\r\n%%%%HiResBoundingBox: %f %f %f %f\r\n",
                      static_cast<int>(std::floor(box[0])), static_cast<int>(std::floor(box[1])),
                      static_cast<int>(std::ceil(box[2])), static_cast<int>(std::ceil(box[3])), box[0], box[1], box[2],
                      box[3]);
        file_.Write(std::string(text));
        return true;
    }

    bool End(std::string* error) override { return file_.Close(error); }

private:
    ByteFile file_;
};

}  // namespace

std::unique_ptr<Writer> MakeBboxWriter(const OutputOptions&) { return std::make_unique<BboxWriter>(); }
