// The image operations of a raster output: plain functions on a page
// picture, and the one sequence a page goes through between drawing and
// writing (rotate, shave, trim, resize, enhance, colour space, signature).
#pragma once

#include <string>

#include "engine/options.h"
#include "engine/picture.h"

struct Stamp;

// Whether a format's files can hold CMYK pixels (TIFF, JPEG, PSD, PS and
// the EPS family); the others are written in RGB when CMYK is asked for.
bool FormatHoldsCmyk(int format);

// Turns the picture clockwise by any angle. Multiples of 90 move pixels
// exactly; other angles sample bilinearly, the canvas grows to hold the
// turned page and the new corners are white.
void RotatePicture(Picture* picture, int degreesClockwise);

// Cuts width pixels off the left and off the right, height off the top and
// off the bottom; false (the picture unchanged) when nothing would be left.
bool ShavePicture(Picture* picture, int width, int height, std::string* error);

// Cuts away the border whose colour is that of the top-left corner (within
// a small tolerance). A page of one colour is left as it is.
void TrimPicture(Picture* picture);

// The size a resize asks for: both sides given and keepProportions, the
// largest size inside them with the picture's proportions; both given
// without, exactly them; one side zero or negative, the other side scales
// the picture. False when no resize is asked (both zero).
bool ResizeTarget(int width, int height, int targetWidth, int targetHeight, bool keepProportions,
                  int* newWidth, int* newHeight);

// Resamples to newWidth x newHeight: averaging the covered area on a side
// that shrinks, bilinear on a side that grows. The dpi follows the pixels:
// a picture halved in width states half its horizontal dpi.
void ScalePicture(Picture* picture, int newWidth, int newHeight);

// A stronger contrast: a sigmoidal curve around the middle grey.
void IncreaseContrast(Picture* picture);
// Histogram equalisation, each channel on its own.
void EqualizePicture(Picture* picture);
// One bit a pixel, Floyd-Steinberg dithered: a bilevel grey picture.
void MakeMonochrome(Picture* picture);
// To grey (1 channel), RGB (3) or CMYK (4, naive ink with black generation).
void ConvertColourSpace(Picture* picture, int colourSpace);

// Runs every operation the options ask for, in the order above; stamp is
// the prepared signature or null. False with a message when the page cannot
// be processed.
bool ApplyOperations(const OutputOptions& options, const Stamp* stamp, Picture* picture, std::string* error);
