// Reduces a page picture to at most 256 colours with a palette, for the
// formats that hold indexed colour (GIF, BMP with 256 colours).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/picture.h"

struct PaletteColour {
    uint8_t r = 0, g = 0, b = 0;
};

struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<PaletteColour> palette;  // 1 to 256 entries
    std::vector<uint8_t> indices;        // width * height, rows top to bottom
    // The entry that only pixels of exactly the reserved colour use; -1 when
    // no colour was reserved or no pixel has it.
    int reservedIndex = -1;
};

struct QuantizeRequest {
    int maxColours = 256;  // 2..256
    // When set, pixels of exactly this colour get an entry of their own that
    // no other pixel maps to (a GIF's transparent colour).
    bool reserve = false;
    PaletteColour reserved;
};

// A picture with at most maxColours distinct colours keeps every colour
// exactly. Otherwise the colours that cover a noticeable part of the page
// (flat fills, text, backgrounds) keep their exact values and the rest of the
// palette comes from a median cut of the remaining pixels' histogram. Grey
// and CMYK pictures are read as RGB.
IndexedPicture QuantizePicture(const Picture& picture, const QuantizeRequest& request);

// Whether a picture can be read safely: a size above zero, 1, 3 or 4
// channels, and exactly the pixels its size says.
bool PictureIsWritable(const Picture& picture);

// The RGB value of one pixel of any picture (CMYK converted plainly).
PaletteColour PixelColour(const Picture& picture, int x, int y);

// Whether a pixel is black in a one-bit rendering: darker than mid-grey. A
// bilevel picture keeps its pixels as they are.
bool PixelIsBlack(const Picture& picture, int x, int y);
