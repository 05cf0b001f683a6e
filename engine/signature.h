// The signature a run stamps on its pages: a picture file or a line of text,
// prepared once per run, then blended onto each page at one of nine places.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/options.h"
#include "engine/picture.h"

struct Stamp {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // rows top to bottom, straight (not premultiplied) alpha
    // A text stamp is scaled to a third of each page's width; a picture
    // stamp keeps its pixel size unless the page is too small for it.
    bool text = false;
};

// Reads a PNG, JPEG, BMP, GIF or TIFF file (recognised by its first bytes)
// into a stamp.
bool ReadStampPicture(const std::string& path, Stamp* stamp, std::string* error);

// Draws text (the job's single-byte Windows-1252 characters) in black with
// the sans-serif font found in fontFolder.
bool DrawStampText(const std::string& text, const std::string& fontFolder, Stamp* stamp, std::string* error);

// The stamp of a run's options: the signature file when one is named, else
// the text. False with a message naming the file when it cannot be read.
bool PrepareStamp(const ImageOperations& operations, const std::string& fontFolder, Stamp* stamp,
                  std::string* error);

// Blends the stamp onto the picture at region (0 Centered, 1 Centered East,
// 2 Centered North, 3 Centered South, 4 Centered West, 5 North East, 6 North
// West, 7 South East, 8 South West) with dissolve percent of opacity.
void StampPicture(const Stamp& stamp, int region, int dissolve, Picture* picture);
