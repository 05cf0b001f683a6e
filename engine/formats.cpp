// The format table: one entry per catalogue index. A format whose writer is
// not built yet has no maker, and a job for it fails each file with a clear
// log line.
#include "engine/formats.h"

#include "engine/document_writers.h"

namespace {

bool Never(const OutputOptions&) { return false; }
bool Always(const OutputOptions&) { return true; }
bool DcxAdjoin(const OutputOptions& options) { return options.dcxAdjoin; }
bool PsAdjoin(const OutputOptions& options) {
    return options.psType <= 2 && options.psAdjoin;  // the EPS types hold one page
}
bool SwfAdjoin(const OutputOptions& options) { return options.swfAdjoin; }
bool TiffAdjoin(const OutputOptions& options) { return options.tiffAdjoin; }

const FormatEntry kFormats[] = {
    {kOutBmp, "bmp", true, Never, nullptr},
    {kOutDcx, "dcx", true, DcxAdjoin, nullptr},
    {kOutDxf, "dxf", false, Never, MakeDxfWriter},
    {kOutGif, "gif", true, Never, nullptr},
    {kOutHtml, "html", false, Always, MakeHtmlWriter},
    {kOutJpeg, "jpg", true, Never, nullptr},
    {kOutPdf, "pdf", false, Always, MakePdfWriter},
    {kOutPng, "png", true, Never, nullptr},
    {kOutPs, "ps", true, PsAdjoin, nullptr},
    {kOutPsd, "psd", true, Never, nullptr},
    {kOutRtf, "rtf", false, Always, MakeRtfWriter},
    {kOutSwf, "swf", true, SwfAdjoin, nullptr},
    {kOutTga, "tga", true, Never, nullptr},
    {kOutTiff, "tif", true, TiffAdjoin, nullptr},
    {kOutTxt, "txt", false, Always, nullptr},
    {kOutInfos, "csv", false, Always, nullptr},
    {kOutBbox, "txt", false, Always, nullptr},
};

}  // namespace

const FormatEntry* FindFormat(int format) {
    if (format < 0 || format >= static_cast<int>(sizeof kFormats / sizeof kFormats[0])) return nullptr;
    return &kFormats[format];
}
