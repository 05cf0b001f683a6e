// What a job asks of its outputs, read once from the job file (plan.cpp) and
// handed to the image operations and the writers. Plain values with the
// meanings the configurator's form shows; no code here reads the job file.
#pragma once

#include <string>

enum OutputFormat {
    kOutBmp = 0, kOutDcx = 1, kOutDxf = 2, kOutGif = 3, kOutHtml = 4, kOutJpeg = 5,
    kOutPdf = 6, kOutPng = 7, kOutPs = 8, kOutPsd = 9, kOutRtf = 10, kOutSwf = 11,
    kOutTga = 12, kOutTiff = 13, kOutTxt = 14, kOutInfos = 15, kOutBbox = 16
};

enum ColourSpace { kSpaceRgb = 0, kSpaceGray = 1, kSpaceCmyk = 2 };

struct ImageOperations {
    bool rotate = false;
    int rotateDegrees = 90;          // clockwise
    bool shave = false;
    int shaveWidth = 0;              // pixels off the left and off the right
    int shaveHeight = 0;             // pixels off the top and off the bottom
    bool trim = false;
    int resizeWidth = 0;             // 0: scale by the other side
    int resizeHeight = 0;            // both 0: no resize
    bool keepProportions = true;
    int colourSpace = kSpaceRgb;
    bool contrast = false;
    bool equalize = false;
    bool monochrome = false;
    bool signature = false;
    std::string signatureFile;       // a picture file; when empty, signatureText
    std::string signatureText;
    int signatureRegion = 0;         // 0 Centered ... 8 South West
    int signatureDissolve = 50;      // percent of opacity
};

struct OutputOptions {
    int format = kOutDcx;
    double dpiX = 72.0;              // the resolution pages are drawn at
    double dpiY = 72.0;
    ImageOperations operations;

    // BMP
    int bmpType = 0;                 // 0 one bit, 1 256 colours, 2 24 bits
    bool bmpCompress = true;         // RLE8 for 256 colours
    // DCX
    bool dcxAdjoin = false;
    // GIF
    bool gif87a = false;
    bool gifInterlace = false;
    bool gifTransparency = false;
    unsigned gifColour = 0;          // Windows colour value: red in the low byte
    // JPEG
    int jpegQuality = 75;
    bool jpegProgressive = false;
    // PNG
    int pngQuality = 75;             // zlib level quality/10, filter quality%10
    bool pngProgressive = false;     // Adam7
    // PS and the EPS family
    int psType = 0;                  // 0 PS, 1 PS II, 2 PS III, 3 EPI, 4 EPS, 5 EPT, 6 EPSI, 7 EPSF
    int psPage = 0;                  // 0 A3, 1 A4, 2 A5, 3 Letter
    bool psCompress = true;
    int psCompressType = 1;          // 0 JPEG, 1 LZW, 2 RLE, 3 ZIP
    bool psAdjoin = false;
    // RTF
    bool rtfRaw = true;
    // SWF
    bool swfAdjoin = true;
    int swfQuality = 75;
    int swfFramerate = 100;
    // TIFF
    int tiffCompress = 0;            // 0 none, 1 G3, 2 G4, 3 JPEG, 4 PackBits, 5 Deflate
    bool tiffAdjoin = false;
    std::string tiffAuthor;
    std::string tiffCopyright;
    std::string tiffComment;
    // TXT
    int txtType = 0;                 // 0 "MS-Dos"
    int txtRaw = 1;                  // 1 reading order, 0 physical layout, 2 HTML page
    int txtColumns = 80;
    bool txtMarkPageBreaks = true;
    // Database Infos: the columns chosen, in the Infos section's order
    bool infoFileName = true, infoFileSize = true, infoTitle = true, infoSubject = true,
         infoKeywords = true, infoAuthor = true, infoCreator = true, infoProducer = true,
         infoCreation = true, infoModification = true, infoOptimization = true,
         infoVersion = true, infoPageSize = true, infoEncrypted = true, infoTagged = true;
};
