// The format table: one entry per catalogue index. A format whose writer is
// not built yet has no maker, and a job for it fails each file with a clear
// log line.
#include "engine/formats.h"

#include "engine/writer_bbox.h"
#include "engine/writer_bmp.h"
#include "engine/writer_gif.h"
#include "engine/writer_tiff.h"
#include "engine/writer_txt.h"
#include "engine/writer_makers.h"

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
    {kOutDcx, "dcx", true, DcxAdjoin, nullptr},
    {kOutDxf, "dxf", false, Never, nullptr},
    {kOutGif, "gif", true, Never, MakeGifWriter},
    {kOutHtml, "html", false, Always, nullptr},
    {kOutJpeg, "jpg", true, Never, MakeJpegWriter},
    {kOutPdf, "pdf", false, Always, nullptr},
    {kOutPng, "png", true, Never, MakePngWriter},
    {kOutPs, "ps", true, PsAdjoin, nullptr},
    {kOutPsd, "psd", true, Never, nullptr},
    {kOutRtf, "rtf", false, Always, nullptr},
    {kOutSwf, "swf", true, SwfAdjoin, nullptr},
    {kOutTga, "tga", true, Never, nullptr},
    {kOutTiff, "tif", true, TiffAdjoin, MakeTiffWriter},
    {kOutTxt, "txt", false, Always, MakeTxtWriter},
    {kOutInfos, "csv", false, Always, nullptr},
    {kOutBbox, "txt", false, Always, MakeBboxWriter},
};

}  // namespace

const FormatEntry* FindFormat(int format) {
    if (format < 0 || format >= static_cast<int>(sizeof kFormats / sizeof kFormats[0])) return nullptr;
    return &kFormats[format];
}
