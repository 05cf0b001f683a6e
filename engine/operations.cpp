// The image operations on page pictures and the order a raster output runs
// them in. Everything works on 8-bit samples of 1, 3 or 4 channels.
#include "engine/operations.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine/signature.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// The largest page a resize may make: a 32-bit engine holds it and its
// intermediate rows.
constexpr int kMostSide = 30000;
constexpr long long kMostPixels = 60000000;

uint8_t WhiteOf(const Picture& picture) { return picture.channels == 4 ? 0 : 255; }

uint8_t ClampByte(double value) {
    if (value <= 0.0) return 0;
    if (value >= 255.0) return 255;
    return static_cast<uint8_t>(value + 0.5);
}

// A bilevel picture stays bilevel through operations that blend pixels.
void Rethreshold(Picture* picture) {
    if (!picture->bilevel) return;
    for (uint8_t& value : picture->pixels) value = value < 128 ? 0 : 255;
}

void RotateQuarterTurns(Picture* picture, int turns) {
    const int w = picture->width, h = picture->height, c = picture->channels;
    Picture turned = *picture;
    if (turns == 2) {
        turned.Reset(w, h, c, 0);
    } else {
        turned.Reset(h, w, c, 0);
        std::swap(turned.dpiX, turned.dpiY);
    }
    turned.bilevel = picture->bilevel;
    for (int y = 0; y < turned.height; ++y) {
        uint8_t* out = turned.Row(y);
        for (int x = 0; x < turned.width; ++x) {
            int sx, sy;
            if (turns == 1) {
                sx = y;
                sy = h - 1 - x;
            } else if (turns == 2) {
                sx = w - 1 - x;
                sy = h - 1 - y;
            } else {
                sx = w - 1 - y;
                sy = x;
            }
            const uint8_t* in = picture->Row(sy) + static_cast<size_t>(sx) * c;
            for (int k = 0; k < c; ++k) out[static_cast<size_t>(x) * c + k] = in[k];
        }
    }
    *picture = std::move(turned);
}

// Which source pixels, and how much of each, make one destination pixel
// along one axis.
struct Taps {
    std::vector<int> first;       // first source index of each destination index
    std::vector<int> count;
    std::vector<float> weights;   // count weights a destination index, laid end to end
    std::vector<size_t> offset;   // where each destination index's weights start
};

Taps ComputeTaps(int source, int destination) {
    Taps taps;
    taps.first.resize(destination);
    taps.count.resize(destination);
    taps.offset.resize(destination);
    const double scale = static_cast<double>(destination) / source;
    for (int i = 0; i < destination; ++i) {
        taps.offset[i] = taps.weights.size();
        if (scale < 1.0) {
            // The destination pixel covers [a, b) of the source: average it.
            const double a = i / scale, b = (i + 1) / scale;
            int j0 = static_cast<int>(std::floor(a));
            int j1 = std::min(source - 1, static_cast<int>(std::ceil(b)) - 1);
            j0 = std::max(0, std::min(j0, source - 1));
            taps.first[i] = j0;
            double total = 0.0;
            for (int j = j0; j <= j1; ++j) total += std::min<double>(j + 1, b) - std::max<double>(j, a);
            for (int j = j0; j <= j1; ++j) {
                const double overlap = std::min<double>(j + 1, b) - std::max<double>(j, a);
                taps.weights.push_back(static_cast<float>(total > 0 ? overlap / total : 1.0));
            }
            taps.count[i] = j1 - j0 + 1;
        } else {
            const double centre = (i + 0.5) / scale - 0.5;
            int j = static_cast<int>(std::floor(centre));
            double t = centre - j;
            if (j < 0) {
                j = 0;
                t = 0.0;
            }
            if (j >= source - 1) {
                j = source - 1;
                t = 0.0;
            }
            taps.first[i] = j;
            if (t > 0.0) {
                taps.weights.push_back(static_cast<float>(1.0 - t));
                taps.weights.push_back(static_cast<float>(t));
                taps.count[i] = 2;
            } else {
                taps.weights.push_back(1.0f);
                taps.count[i] = 1;
            }
        }
    }
    return taps;
}

uint8_t ContrastCurve(int value) {
    // Sigmoid of gain 5 around the middle grey, scaled so 0 and 255 stay put.
    const double gain = 5.0;
    auto sigmoid = [gain](double u) { return 1.0 / (1.0 + std::exp(-gain * (u - 0.5))); };
    const double low = sigmoid(0.0), high = sigmoid(1.0);
    return ClampByte((sigmoid(value / 255.0) - low) / (high - low) * 255.0);
}

}  // namespace

bool FormatHoldsCmyk(int format) {
    return format == kOutTiff || format == kOutJpeg || format == kOutPsd || format == kOutPs;
}

void RotatePicture(Picture* picture, int degreesClockwise) {
    int degrees = degreesClockwise % 360;
    if (degrees < 0) degrees += 360;
    if (degrees == 0 || picture->width <= 0 || picture->height <= 0) return;
    if (degrees % 90 == 0) {
        RotateQuarterTurns(picture, degrees / 90);
        return;
    }
    const double angle = degrees * kPi / 180.0;
    const double cosine = std::cos(angle), sine = std::sin(angle);
    const int w = picture->width, h = picture->height, c = picture->channels;
    const int newWidth =
        std::max(1, static_cast<int>(std::ceil(w * std::fabs(cosine) + h * std::fabs(sine) - 1e-6)));
    const int newHeight =
        std::max(1, static_cast<int>(std::ceil(w * std::fabs(sine) + h * std::fabs(cosine) - 1e-6)));
    const uint8_t white = WhiteOf(*picture);
    Picture turned = *picture;
    turned.Reset(newWidth, newHeight, c, white);
    turned.bilevel = picture->bilevel;
    const double centreX = w / 2.0, centreY = h / 2.0;
    const double newCentreX = newWidth / 2.0, newCentreY = newHeight / 2.0;
    for (int y = 0; y < newHeight; ++y) {
        uint8_t* out = turned.Row(y);
        const double dy = y + 0.5 - newCentreY;
        for (int x = 0; x < newWidth; ++x) {
            const double dx = x + 0.5 - newCentreX;
            // The source point that turns clockwise onto this pixel.
            const double sx = cosine * dx + sine * dy + centreX - 0.5;
            const double sy = -sine * dx + cosine * dy + centreY - 0.5;
            if (sx <= -1.0 || sy <= -1.0 || sx >= w || sy >= h) continue;
            const int x0 = static_cast<int>(std::floor(sx)), y0 = static_cast<int>(std::floor(sy));
            const double fx = sx - x0, fy = sy - y0;
            const double weight[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
            uint8_t* target = out + static_cast<size_t>(x) * c;
            if (x0 >= 0 && y0 >= 0 && x0 + 1 < w && y0 + 1 < h) {
                // Inside the page: no neighbour needs the white of outside.
                const uint8_t* top = picture->Row(y0) + static_cast<size_t>(x0) * c;
                const uint8_t* bottom = top + picture->Stride();
                for (int k = 0; k < c; ++k)
                    target[k] = ClampByte(weight[0] * top[k] + weight[1] * top[k + c] + weight[2] * bottom[k] +
                                          weight[3] * bottom[k + c]);
                continue;
            }
            const int px[4] = {x0, x0 + 1, x0, x0 + 1};
            const int py[4] = {y0, y0, y0 + 1, y0 + 1};
            for (int k = 0; k < c; ++k) {
                double sum = 0.0;
                for (int n = 0; n < 4; ++n) {
                    const bool inside = px[n] >= 0 && px[n] < w && py[n] >= 0 && py[n] < h;
                    const uint8_t value = inside ? picture->Row(py[n])[static_cast<size_t>(px[n]) * c + k] : white;
                    sum += weight[n] * value;
                }
                target[k] = ClampByte(sum);
            }
        }
    }
    *picture = std::move(turned);
    Rethreshold(picture);
}

bool ShavePicture(Picture* picture, int width, int height, std::string* error) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == 0 && height == 0) return true;
    if (2LL * width >= picture->width || 2LL * height >= picture->height) {
        *error = "shaving " + std::to_string(width) + "x" + std::to_string(height) + " pixels leaves nothing of a " +
                 std::to_string(picture->width) + "x" + std::to_string(picture->height) + " page";
        return false;
    }
    Picture shaved = *picture;
    shaved.Reset(picture->width - 2 * width, picture->height - 2 * height, picture->channels, 0);
    shaved.bilevel = picture->bilevel;
    for (int y = 0; y < shaved.height; ++y)
        std::copy_n(picture->Row(y + height) + static_cast<size_t>(width) * picture->channels, shaved.Stride(),
                    shaved.Row(y));
    *picture = std::move(shaved);
    return true;
}

void TrimPicture(Picture* picture) {
    const int w = picture->width, h = picture->height, c = picture->channels;
    if (w <= 0 || h <= 0) return;
    const int tolerance = 10;  // about 4%: anti-aliasing and paper noise stay border
    std::vector<uint8_t> corner(picture->Row(0), picture->Row(0) + c);
    auto differs = [&](int x, int y) {
        const uint8_t* p = picture->Row(y) + static_cast<size_t>(x) * c;
        for (int k = 0; k < c; ++k)
            if (std::abs(p[k] - corner[k]) > tolerance) return true;
        return false;
    };
    int top = -1;
    for (int y = 0; y < h && top < 0; ++y)
        for (int x = 0; x < w; ++x)
            if (differs(x, y)) {
                top = y;
                break;
            }
    if (top < 0) return;
    int bottom = top;
    for (int y = h - 1; y > top; --y) {
        bool found = false;
        for (int x = 0; x < w && !found; ++x) found = differs(x, y);
        if (found) {
            bottom = y;
            break;
        }
    }
    int left = w - 1, right = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = 0; x < left; ++x)
            if (differs(x, y)) {
                left = x;
                break;
            }
        for (int x = w - 1; x > right; --x)
            if (differs(x, y)) {
                right = x;
                break;
            }
    }
    right = std::max(right, left);
    Picture trimmed = *picture;
    trimmed.Reset(right - left + 1, bottom - top + 1, c, 0);
    trimmed.bilevel = picture->bilevel;
    for (int y = 0; y < trimmed.height; ++y)
        std::copy_n(picture->Row(y + top) + static_cast<size_t>(left) * c, trimmed.Stride(), trimmed.Row(y));
    *picture = std::move(trimmed);
}

bool ResizeTarget(int width, int height, int targetWidth, int targetHeight, bool keepProportions,
                  int* newWidth, int* newHeight) {
    targetWidth = std::max(0, targetWidth);
    targetHeight = std::max(0, targetHeight);
    if ((targetWidth == 0 && targetHeight == 0) || width <= 0 || height <= 0) return false;
    double scaleX, scaleY;
    if (targetHeight == 0) {
        scaleX = scaleY = static_cast<double>(targetWidth) / width;
    } else if (targetWidth == 0) {
        scaleX = scaleY = static_cast<double>(targetHeight) / height;
    } else if (keepProportions) {
        scaleX = scaleY = std::min(static_cast<double>(targetWidth) / width, static_cast<double>(targetHeight) / height);
    } else {
        *newWidth = targetWidth;
        *newHeight = targetHeight;
        return true;
    }
    // Rounded, and the side that was asked for exactly as asked.
    *newWidth = std::max(1, static_cast<int>(std::lround(width * scaleX)));
    *newHeight = std::max(1, static_cast<int>(std::lround(height * scaleY)));
    if (targetWidth > 0 && (targetHeight == 0 || *newWidth > targetWidth)) *newWidth = std::min(*newWidth, targetWidth);
    if (targetHeight > 0 && (targetWidth == 0 || *newHeight > targetHeight))
        *newHeight = std::min(*newHeight, targetHeight);
    return true;
}

void ScalePicture(Picture* picture, int newWidth, int newHeight) {
    const int w = picture->width, h = picture->height, c = picture->channels;
    if (newWidth <= 0 || newHeight <= 0 || w <= 0 || h <= 0) return;
    if (newWidth == w && newHeight == h) return;
    const Taps across = ComputeTaps(w, newWidth);
    const Taps down = ComputeTaps(h, newHeight);
    // Rows resampled across first, kept as floats, then down.
    std::vector<float> rows(static_cast<size_t>(newWidth) * c * h);
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = picture->Row(y);
        float* out = rows.data() + static_cast<size_t>(y) * newWidth * c;
        for (int x = 0; x < newWidth; ++x) {
            const float* weights = across.weights.data() + across.offset[x];
            for (int k = 0; k < c; ++k) {
                float sum = 0.0f;
                for (int n = 0; n < across.count[x]; ++n)
                    sum += weights[n] * in[static_cast<size_t>(across.first[x] + n) * c + k];
                out[static_cast<size_t>(x) * c + k] = sum;
            }
        }
    }
    Picture scaled = *picture;
    scaled.Reset(newWidth, newHeight, c, 0);
    scaled.bilevel = picture->bilevel;
    scaled.dpiX = picture->dpiX * newWidth / w;
    scaled.dpiY = picture->dpiY * newHeight / h;
    const size_t rowLength = static_cast<size_t>(newWidth) * c;
    std::vector<float> sum(rowLength);
    for (int y = 0; y < newHeight; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        const float* weights = down.weights.data() + down.offset[y];
        for (int n = 0; n < down.count[y]; ++n) {
            const float* in = rows.data() + static_cast<size_t>(down.first[y] + n) * rowLength;
            for (size_t i = 0; i < rowLength; ++i) sum[i] += weights[n] * in[i];
        }
        uint8_t* out = scaled.Row(y);
        for (size_t i = 0; i < rowLength; ++i) out[i] = ClampByte(sum[i]);
    }
    *picture = std::move(scaled);
    Rethreshold(picture);
}

void IncreaseContrast(Picture* picture) {
    uint8_t curve[256];
    for (int v = 0; v < 256; ++v) curve[v] = ContrastCurve(v);
    for (uint8_t& value : picture->pixels) value = curve[value];
}

void EqualizePicture(Picture* picture) {
    const int c = picture->channels;
    const size_t count = static_cast<size_t>(picture->width) * picture->height;
    if (count == 0) return;
    for (int k = 0; k < c; ++k) {
        size_t histogram[256] = {};
        for (size_t i = 0; i < count; ++i) ++histogram[picture->pixels[i * c + k]];
        size_t cumulative[256];
        size_t running = 0;
        for (int v = 0; v < 256; ++v) cumulative[v] = running += histogram[v];
        size_t lowest = 0;
        for (int v = 0; v < 256; ++v)
            if (histogram[v] != 0) {
                lowest = cumulative[v];
                break;
            }
        if (count == lowest) continue;  // one value: nothing to spread
        uint8_t map[256];
        for (int v = 0; v < 256; ++v) {
            const size_t below = cumulative[v] > lowest ? cumulative[v] - lowest : 0;
            map[v] = ClampByte(255.0 * static_cast<double>(below) / static_cast<double>(count - lowest));
        }
        for (size_t i = 0; i < count; ++i) picture->pixels[i * c + k] = map[picture->pixels[i * c + k]];
    }
}

void MakeMonochrome(Picture* picture) {
    ConvertColourSpace(picture, kSpaceGray);
    const int w = picture->width, h = picture->height;
    // Errors of this row and the next, one spare cell on each side.
    std::vector<int> current(static_cast<size_t>(w) + 2, 0), next(static_cast<size_t>(w) + 2, 0);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = picture->Row(y);
        std::fill(next.begin(), next.end(), 0);
        for (int x = 0; x < w; ++x) {
            const int wanted = row[x] + current[x + 1] / 16;
            const int chosen = wanted < 128 ? 0 : 255;
            const int error = wanted - chosen;
            row[x] = static_cast<uint8_t>(chosen);
            current[x + 2] += error * 7;
            next[x] += error * 3;
            next[x + 1] += error * 5;
            next[x + 2] += error;
        }
        std::swap(current, next);
    }
    picture->bilevel = true;
}

void ConvertColourSpace(Picture* picture, int colourSpace) {
    const int from = picture->channels;
    const int to = colourSpace == kSpaceGray ? 1 : colourSpace == kSpaceCmyk ? 4 : 3;
    if (from == to) return;
    const size_t count = static_cast<size_t>(picture->width) * picture->height;
    std::vector<uint8_t> pixels(count * to);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* in = picture->pixels.data() + i * from;
        int r, g, b;
        if (from == 1) {
            r = g = b = in[0];
        } else if (from == 3) {
            r = in[0];
            g = in[1];
            b = in[2];
        } else {
            r = (255 - in[0]) * (255 - in[3]) / 255;
            g = (255 - in[1]) * (255 - in[3]) / 255;
            b = (255 - in[2]) * (255 - in[3]) / 255;
        }
        uint8_t* out = pixels.data() + i * to;
        if (to == 1) {
            out[0] = static_cast<uint8_t>((r * 299 + g * 587 + b * 114 + 500) / 1000);
        } else if (to == 3) {
            out[0] = static_cast<uint8_t>(r);
            out[1] = static_cast<uint8_t>(g);
            out[2] = static_cast<uint8_t>(b);
        } else {
            const int k = 255 - std::max(r, std::max(g, b));
            const int left = 255 - k;
            out[0] = static_cast<uint8_t>(left ? (left - r) * 255 / left : 0);
            out[1] = static_cast<uint8_t>(left ? (left - g) * 255 / left : 0);
            out[2] = static_cast<uint8_t>(left ? (left - b) * 255 / left : 0);
            out[3] = static_cast<uint8_t>(k);
        }
    }
    picture->pixels = std::move(pixels);
    picture->channels = to;
    if (to != 1) picture->bilevel = false;
}

bool ApplyOperations(const OutputOptions& options, const Stamp* stamp, Picture* picture, std::string* error) {
    const ImageOperations& operations = options.operations;
    if (picture->width <= 0 || picture->height <= 0) {
        *error = "the page has no pixels";
        return false;
    }
    if (operations.rotate) RotatePicture(picture, operations.rotateDegrees);
    if (operations.shave && !ShavePicture(picture, operations.shaveWidth, operations.shaveHeight, error)) return false;
    if (operations.trim) TrimPicture(picture);
    int newWidth = 0, newHeight = 0;
    if (ResizeTarget(picture->width, picture->height, operations.resizeWidth, operations.resizeHeight,
                     operations.keepProportions, &newWidth, &newHeight)) {
        // A size typed by mistake must not take the memory of the machine.
        if (newWidth > kMostSide || newHeight > kMostSide ||
            static_cast<long long>(newWidth) * newHeight > kMostPixels) {
            *error = "resizing to " + std::to_string(newWidth) + "x" + std::to_string(newHeight) +
                     " pixels is more than a page may hold (" + std::to_string(kMostSide) + " pixels a side, " +
                     std::to_string(kMostPixels / 1000000) + " million in all)";
            return false;
        }
        ScalePicture(picture, newWidth, newHeight);
    }
    if (operations.contrast) IncreaseContrast(picture);
    if (operations.equalize) EqualizePicture(picture);
    if (operations.monochrome) MakeMonochrome(picture);
    int space = operations.colourSpace;
    if (space == kSpaceCmyk && !FormatHoldsCmyk(options.format)) space = kSpaceRgb;
    // A grey picture asked to be RGB stays grey: it is grey because the
    // user asked for monochrome, and every writer takes grey.
    if (space == kSpaceGray || space == kSpaceCmyk || picture->channels == 4) ConvertColourSpace(picture, space);
    if (operations.signature && stamp) StampPicture(*stamp, operations.signatureRegion, operations.signatureDissolve, picture);
    return true;
}
