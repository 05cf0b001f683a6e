// The format table: one entry per catalogue index, with the maker of its
// writer.
#include "engine/formats.h"

#include "engine/document_writers.h"
#include "engine/more_writers.h"
#include "engine/writer_makers.h"
#include "engine/writer_txt.h"

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
    {kOutBmp, "bmp", true, Never, MakeBmpWriter},
    {kOutDcx, "dcx", true, DcxAdjoin, MakeDcxWriter},
    {kOutDxf, "dxf", false, Never, MakeDxfWriter},
    {kOutGif, "gif", true, Never, MakeGifWriter},
    {kOutHtml, "html", false, Always, MakeHtmlWriter},
    {kOutJpeg, "jpg", true, Never, MakeJpegWriter},
    {kOutPdf, "pdf", false, Always, MakePdfWriter},
    {kOutPng, "png", true, Never, MakePngWriter},
    {kOutPs, "ps", true, PsAdjoin, MakePsWriter},
    {kOutPsd, "psd", true, Never, MakePsdWriter},
    {kOutRtf, "rtf", false, Always, MakeRtfWriter},
    {kOutSwf, "swf", true, SwfAdjoin, MakeSwfWriter},
    {kOutTga, "tga", true, Never, MakeTgaWriter},
    {kOutTiff, "tif", true, TiffAdjoin, MakeTiffWriter},
    {kOutTxt, "txt", false, Always, MakeTxtWriter},
    {kOutInfos, "csv", false, Always, MakeInfosWriter},
    {kOutBbox, "txt", false, Always, MakeBboxWriter},
};

const FormatEntry* (*replacement)(int format) = nullptr;

}  // namespace

void ReplaceFormatTable(const FormatEntry* (*find)(int format)) { replacement = find; }

const FormatEntry* FindFormat(int format) {
    if (replacement != nullptr) return replacement(format);
    if (format < 0 || format >= static_cast<int>(sizeof kFormats / sizeof kFormats[0])) return nullptr;
    return &kFormats[format];
}

const char* OutputExtension(const OutputOptions& options) {
    if (options.format == kOutPs) return PsExtension(options);
    const FormatEntry* entry = FindFormat(options.format);
    return entry ? entry->extension : "";
}
