// The DXF output: a drawing a page, ASCII DXF that R12 readers take. The
// page's stroked and filled paths become LINE and POLYLINE entities (curves
// flattened into short segments), its words TEXT entities; images are left
// out. Coordinates are points from the lower left corner of the page as it
// is shown (its /Rotate and the job's quarter-turn rotation applied), y up.
#include <algorithm>
#include <cmath>
#include <vector>

#include <GfxState.h>
#include <PDFDoc.h>
#include <TextOutputDev.h>

#include "engine/document_text.h"
#include "engine/document_writers.h"
#include "engine/written_file.h"

namespace {

struct Point {
    double x, y;
};

// One group: its code and its value, each on a line of its own.
void Group(std::string& out, int code, const std::string& value) {
    std::string number = std::to_string(code);
    out.append(number.size() < 3 ? 3 - number.size() : 0, ' ');
    out += number;
    out += "\r\n";
    out += value;
    out += "\r\n";
}

std::string Coordinate(double value) { return PlainNumber(value, 4); }

// The Windows-1252 byte of a code point, or 0 when the code page lacks it.
unsigned char Windows1252(char32_t c) {
    static const char32_t kHigh[32] = {
        0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
        0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    if (c >= 0x20 && c < 0x7F) return static_cast<unsigned char>(c);
    if (c >= 0xA0 && c <= 0xFF) return static_cast<unsigned char>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == c && c != 0) return static_cast<unsigned char>(0x80 + i);
    }
    return 0;
}

// A TEXT value: one line in the drawing's code page (Windows-1252, as its
// header says), other characters as \U+XXXX (which DXF readers decode),
// control characters dropped, the backslash written as its code so it
// cannot start an escape, and a percent sign next to another one written
// %%% so that no %% control code appears.
std::string DxfText(const std::u32string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        unsigned char code = Windows1252(c);
        if (c == U'%') {
            bool paired = (i > 0 && text[i - 1] == U'%') || (i + 1 < text.size() && text[i + 1] == U'%');
            out += paired ? "%%%" : "%";
        } else if (code && c != U'\\') {
            out.push_back(static_cast<char>(code));
        } else if (c == U'\\' || c >= 0xA0) {
            if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
            out += "\\U+";
            for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(c >> shift) & 15]);
        }
    }
    return out;
}

// poppler's text device, which also keeps the paths painted on the page.
class DxfDevice : public TextOutputDev {
public:
    DxfDevice() : TextOutputDev(static_cast<const char*>(nullptr), false, 0.0, false, false) {}

    void startPage(int pageNum, GfxState* state, XRef* xref) override {
        TextOutputDev::startPage(pageNum, state, xref);
        pageHeight = state ? state->getPageHeight() : 0.0;
        pageWidth = state ? state->getPageWidth() : 0.0;
    }
    void stroke(GfxState* state) override {
        TextOutputDev::stroke(state);
        AddPath(state, false);
    }
    void fill(GfxState* state) override {
        TextOutputDev::fill(state);
        AddPath(state, true);
    }
    void eoFill(GfxState* state) override {
        TextOutputDev::eoFill(state);
        AddPath(state, true);
    }

    struct Polyline {
        std::vector<Point> points;
        bool closed = false;
    };
    std::vector<Polyline> paths;
    double pageWidth = 0.0;
    double pageHeight = 0.0;

    // Device space (y down) to the drawing's (y up).
    Point ToDrawing(double x, double y) const { return {x, pageHeight - y}; }

private:
    void AddPath(const GfxState* state, bool filled) {
        const GfxPath* path = state->getPath();
        if (!path) return;
        for (int i = 0; i < path->getNumSubpaths(); ++i) {
            const GfxSubpath* subpath = path->getSubpath(i);
            Polyline line;
            line.closed = filled || subpath->isClosed();
            int count = subpath->getNumPoints();
            for (int j = 0; j < count; ++j) {
                if (j + 2 < count && subpath->getCurve(j) && !line.points.empty()) {
                    Point control1 = Device(state, subpath->getX(j), subpath->getY(j));
                    Point control2 = Device(state, subpath->getX(j + 1), subpath->getY(j + 1));
                    Point end = Device(state, subpath->getX(j + 2), subpath->getY(j + 2));
                    AddCurve(line.points, control1, control2, end);
                    j += 2;
                } else {
                    line.points.push_back(Device(state, subpath->getX(j), subpath->getY(j)));
                }
            }
            // A closed subpath repeats its start at its end; the closed
            // flag says as much.
            if (line.closed && line.points.size() > 2 && line.points.front().x == line.points.back().x &&
                line.points.front().y == line.points.back().y) {
                line.points.pop_back();
            }
            if (line.points.size() >= 2) paths.push_back(std::move(line));
        }
    }

    Point Device(const GfxState* state, double x, double y) const {
        double dx = 0.0, dy = 0.0;
        state->transform(x, y, &dx, &dy);
        return ToDrawing(dx, dy);
    }

    // Flattens the cubic curve from the last point: about a segment for
    // every three points of its control polygon's length.
    static void AddCurve(std::vector<Point>& points, Point c1, Point c2, Point end) {
        Point start = points.back();
        double length = std::hypot(c1.x - start.x, c1.y - start.y) + std::hypot(c2.x - c1.x, c2.y - c1.y) +
                        std::hypot(end.x - c2.x, end.y - c2.y);
        int segments = std::isfinite(length) ? std::clamp(static_cast<int>(std::ceil(length / 3.0)), 4, 64) : 4;
        for (int k = 1; k <= segments; ++k) {
            double t = static_cast<double>(k) / segments, u = 1.0 - t;
            double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            points.push_back({a * start.x + b * c1.x + c * c2.x + d * end.x, a * start.y + b * c1.y + c * c2.y + d * end.y});
        }
    }
};

class DxfWriter : public Writer {
public:
    explicit DxfWriter(int rotation) : rotation_(rotation) {}

    bool Begin(const std::string& path, PDFDoc* document, std::string* error) override {
        document_ = document;
        entities_.clear();
        width_ = height_ = 0.0;
        if (!document_ || !document_->isOk()) {
            *error = "the PDF could not be read";
            return false;
        }
        if (!file_.Open(path)) {
            *error = "cannot create the DXF file";
            return false;
        }
        return true;
    }

    bool AddPage(const PageInput& input, std::string* error) override {
        if (input.number < 1 || input.number > document_->getNumPages()) {
            *error = "page " + std::to_string(input.number) + " cannot be read";
            return false;
        }
        DxfDevice device;
        if (!device.isOk()) {
            *error = "the page's text cannot be read";
            return false;
        }
        document_->displayPage(&device, input.number, 72.0, 72.0, rotation_, true, false, false);
        width_ = std::max(width_, device.pageWidth);
        height_ = std::max(height_, device.pageHeight);
        for (const DxfDevice::Polyline& line : device.paths) AddPolyline(line.points, line.closed);
        for (const TextFlow* flow = device.getFlows(); flow; flow = flow->getNext()) {
            for (const TextBlock* block = flow->getBlocks(); block; block = block->getNext()) {
                for (const TextLine* line = block->getLines(); line; line = line->getNext()) {
                    for (const TextWord* word = line->getWords(); word; word = word->getNext()) AddWord(device, word);
                }
            }
        }
        return true;
    }

    bool End(std::string* error) override {
        if (!file_.IsOpen()) {
            *error = "the DXF file was not started";
            return false;
        }
        std::string head;
        Group(head, 0, "SECTION");
        Group(head, 2, "HEADER");
        Group(head, 9, "$ACADVER");
        Group(head, 1, "AC1009");
        Group(head, 9, "$DWGCODEPAGE");
        Group(head, 3, "ANSI_1252");
        Group(head, 9, "$EXTMIN");
        Group(head, 10, "0");
        Group(head, 20, "0");
        Group(head, 30, "0");
        Group(head, 9, "$EXTMAX");
        Group(head, 10, Coordinate(width_));
        Group(head, 20, Coordinate(height_));
        Group(head, 30, "0");
        Group(head, 0, "ENDSEC");
        Group(head, 0, "SECTION");
        Group(head, 2, "ENTITIES");
        file_.Write(head);
        file_.Write(entities_);
        std::string tail;
        Group(tail, 0, "ENDSEC");
        Group(tail, 0, "EOF");
        file_.Write(tail);
        if (!file_.Close()) {
            *error = "the DXF file could not be written";
            return false;
        }
        return true;
    }

private:
    void AddPolyline(const std::vector<Point>& points, bool closed) {
        if (points.size() == 2 && !closed) {
            Group(entities_, 0, "LINE");
            Group(entities_, 8, "0");
            Group(entities_, 10, Coordinate(points[0].x));
            Group(entities_, 20, Coordinate(points[0].y));
            Group(entities_, 30, "0");
            Group(entities_, 11, Coordinate(points[1].x));
            Group(entities_, 21, Coordinate(points[1].y));
            Group(entities_, 31, "0");
            return;
        }
        Group(entities_, 0, "POLYLINE");
        Group(entities_, 8, "0");
        Group(entities_, 66, "1");
        Group(entities_, 10, "0");
        Group(entities_, 20, "0");
        Group(entities_, 30, "0");
        Group(entities_, 70, closed ? "1" : "0");
        for (const Point& point : points) {
            Group(entities_, 0, "VERTEX");
            Group(entities_, 8, "0");
            Group(entities_, 10, Coordinate(point.x));
            Group(entities_, 20, Coordinate(point.y));
            Group(entities_, 30, "0");
        }
        Group(entities_, 0, "SEQEND");
        Group(entities_, 8, "0");
    }

    // A word starts at its baseline's first end; its direction is one of
    // poppler's four (0 left to right, 1 top to bottom, 2 right to left,
    // 3 bottom to top).
    void AddWord(const DxfDevice& device, const TextWord* word) {
        std::u32string text;
        for (int i = 0; i < word->getLength(); ++i) text.push_back(static_cast<char32_t>(*word->getChar(i)));
        std::string value = DxfText(text);
        if (value.empty()) return;
        double xMin, yMin, xMax, yMax;
        word->getBBox(&xMin, &yMin, &xMax, &yMax);
        double base = word->getBaseline();
        Point start;
        int angle = 0;
        switch (word->getRotation()) {
        case 1: start = device.ToDrawing(base, yMin); angle = 270; break;
        case 2: start = device.ToDrawing(xMax, base); angle = 180; break;
        case 3: start = device.ToDrawing(base, yMax); angle = 90; break;
        default: start = device.ToDrawing(xMin, base); break;
        }
        Group(entities_, 0, "TEXT");
        Group(entities_, 8, "0");
        Group(entities_, 10, Coordinate(start.x));
        Group(entities_, 20, Coordinate(start.y));
        Group(entities_, 30, "0");
        Group(entities_, 40, Coordinate(std::max(word->getFontSize(), 0.01)));
        Group(entities_, 1, value);
        if (angle) Group(entities_, 50, std::to_string(angle));
    }

    int rotation_;
    PDFDoc* document_ = nullptr;
    WrittenFile file_;
    std::string entities_;
    double width_ = 0.0;
    double height_ = 0.0;
};

}  // namespace

std::unique_ptr<Writer> MakeDxfWriter(const OutputOptions& options) {
    return std::make_unique<DxfWriter>(QuarterTurnDegrees(options));
}
