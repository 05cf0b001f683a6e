// A page picture: what the renderer draws, what the image operations change
// and what the raster writers encode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A resolution in pixels per metre, as BMP and PNG state it; 0 for a
// resolution that makes no sense.
inline uint32_t PixelsPerMetre(double dpi) {
    if (!(dpi > 0) || dpi > 1e6) return 0;
    return static_cast<uint32_t>(dpi / 0.0254 + 0.5);
}

struct Picture {
    int width = 0;
    int height = 0;
    // 1 grey, 3 RGB, 4 CMYK (CMYK holds ink: 0 none, 255 full).
    int channels = 3;
    // A grey picture whose pixels are only 0 and 255 (a one-bit picture kept
    // one byte a pixel; writers that hold one bit pack it).
    bool bilevel = false;
    // The resolution the pixels were drawn at, pixels per inch.
    double dpiX = 72.0;
    double dpiY = 72.0;
    // Rows top to bottom, width * channels bytes each, no padding.
    std::vector<uint8_t> pixels;

    size_t Stride() const { return static_cast<size_t>(width) * static_cast<size_t>(channels); }
    uint8_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * Stride(); }
    const uint8_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * Stride(); }

    // Sizes the picture and fills every byte with value (255 is white for
    // grey and RGB, 0 is white for CMYK).
    void Reset(int w, int h, int c, uint8_t value) {
        width = w;
        height = h;
        channels = c;
        bilevel = false;
        pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * static_cast<size_t>(c), value);
    }
};
