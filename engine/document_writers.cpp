// What the document formats take of the job's image operations: PDF and
// DXF turn pages by quarter turns; nothing else applies to them.
#include "engine/document_writers.h"

#include <cmath>
#include <vector>

int QuarterTurnDegrees(const OutputOptions& options) {
    if (!options.operations.rotate) return 0;
    long quarters = std::lround(options.operations.rotateDegrees / 90.0);
    return static_cast<int>(((quarters % 4) + 4) % 4) * 90;
}

std::string DocumentFormatNote(const OutputOptions& options) {
    const char* format = options.format == kOutPdf ? "PDF"
                         : options.format == kOutDxf ? "DXF"
                         : options.format == kOutRtf ? "RTF"
                         : options.format == kOutHtml ? "HTML"
                                                      : nullptr;
    if (!format) return std::string();
    const ImageOperations& operations = options.operations;
    bool turns = options.format == kOutPdf || options.format == kOutDxf;
    std::vector<std::string> unused;
    if (operations.rotate && !turns) unused.push_back("rotate");
    if (operations.shave) unused.push_back("shave");
    if (operations.trim) unused.push_back("trim");
    if (operations.resizeWidth > 0 || operations.resizeHeight > 0) unused.push_back("resize");
    if (operations.colourSpace != kSpaceRgb) unused.push_back("colour space");
    if (operations.contrast) unused.push_back("contrast");
    if (operations.equalize) unused.push_back("equalize");
    if (operations.monochrome) unused.push_back("monochrome");
    if (operations.signature) unused.push_back("signature");
    std::string note;
    if (!unused.empty()) {
        note = std::string(format) + " output keeps the document's own content, so these image operations do not apply:";
        for (size_t i = 0; i < unused.size(); ++i) note += (i ? ", " : " ") + unused[i];
        note += ".";
    }
    if (operations.rotate && turns && QuarterTurnDegrees(options) != ((operations.rotateDegrees % 360) + 360) % 360) {
        if (!note.empty()) note += " ";
        note += std::string(format) + " pages turn by quarter turns only: the rotation of " +
                std::to_string(operations.rotateDegrees) + " degrees is rounded to " +
                std::to_string(QuarterTurnDegrees(options)) + ".";
    }
    return note;
}
