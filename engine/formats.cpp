// The format table: one entry per catalogue index. A format whose writer is
// not built yet has no maker, and a job for it fails each file with a clear
// log line.
#include "engine/formats.h"

#include "engine/more_writers.h"

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
    {kOutDcx, "dcx", true, DcxAdjoin, MakeDcxWriter},
    {kOutDxf, "dxf", false, Never, nullptr},
    {kOutGif, "gif", true, Never, nullptr},
    {kOutHtml, "html", false, Always, nullptr},
    {kOutJpeg, "jpg", true, Never, nullptr},
    {kOutPdf, "pdf", false, Always, nullptr},
    {kOutPng, "png", true, Never, nullptr},
    {kOutPs, "ps", true, PsAdjoin, MakePsWriter},
    {kOutPsd, "psd", true, Never, MakePsdWriter},
    {kOutRtf, "rtf", false, Always, nullptr},
    {kOutSwf, "swf", true, SwfAdjoin, MakeSwfWriter},
    {kOutTga, "tga", true, Never, MakeTgaWriter},
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

const char* OutputExtension(const OutputOptions& options) {
    if (options.format == kOutPs) return PsExtension(options);
    const FormatEntry* entry = FindFormat(options.format);
    return entry ? entry->extension : "";
}
