// Colour reduction to a palette: exact when the page has few colours,
// otherwise exact flat colours plus a median cut of the rest.
#include "engine/quantize.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

uint32_t Pack(PaletteColour c) { return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b; }
PaletteColour Unpack(uint32_t v) {
    PaletteColour c;
    c.r = static_cast<uint8_t>(v >> 16);
    c.g = static_cast<uint8_t>(v >> 8);
    c.b = static_cast<uint8_t>(v);
    return c;
}

// One row as packed RGB values.
void RowColours(const Picture& picture, int y, std::vector<uint32_t>* out) {
    out->resize(static_cast<size_t>(picture.width));
    for (int x = 0; x < picture.width; ++x) (*out)[static_cast<size_t>(x)] = Pack(PixelColour(picture, x, y));
}

// A small open-addressed set of exact colours with their palette index.
class ExactColours {
public:
    explicit ExactColours(int limit) : limit_(limit), keys_(4096, 0), values_(4096, 0) {}
    // False once more than the limit of distinct colours has been seen.
    bool Add(uint32_t colour) {
        size_t slot = Find(colour);
        if (keys_[slot] != 0) return true;
        if (static_cast<int>(order_.size()) >= limit_) return false;
        keys_[slot] = colour + 1;
        values_[slot] = static_cast<uint8_t>(order_.size());
        order_.push_back(colour);
        return true;
    }
    uint8_t IndexOf(uint32_t colour) const { return values_[Find(colour)]; }
    const std::vector<uint32_t>& Order() const { return order_; }

private:
    size_t Find(uint32_t colour) const {
        size_t slot = (colour * 2654435761u) >> 20 & (keys_.size() - 1);
        while (keys_[slot] != 0 && keys_[slot] != colour + 1) slot = (slot + 1) & (keys_.size() - 1);
        return slot;
    }
    int limit_;
    std::vector<uint32_t> keys_;  // colour + 1; 0 is empty
    std::vector<uint8_t> values_;
    std::vector<uint32_t> order_;
};

constexpr int kSide = 32;  // histogram bins per channel (5 bits)
constexpr int kBins = kSide * kSide * kSide;

int BinOf(uint32_t colour) {
    return static_cast<int>(((colour >> 19) & 31) << 10 | ((colour >> 11) & 31) << 5 | ((colour >> 3) & 31));
}

struct Bin {
    uint64_t count = 0;
    uint64_t r = 0, g = 0, b = 0;
    // The bin's most frequent exact colour, found by a majority vote, and
    // how often it occurs exactly.
    uint32_t candidate = 0;
    int64_t vote = 0;
    uint64_t candidateCount = 0;
    int flatIndex = -1;
    int mapped = -1;
};

struct Box {
    int lo[3], hi[3];  // inclusive bin ranges: r, g, b
    uint64_t count;
};

uint64_t& BinCount(std::vector<Bin>& bins, int r, int g, int b) {
    return bins[static_cast<size_t>(r << 10 | g << 5 | b)].count;
}

// Shrinks a box to the bins that hold pixels and counts them.
void Tighten(std::vector<Bin>& bins, Box* box) {
    int lo[3] = {kSide, kSide, kSide}, hi[3] = {-1, -1, -1};
    uint64_t count = 0;
    for (int r = box->lo[0]; r <= box->hi[0]; ++r)
        for (int g = box->lo[1]; g <= box->hi[1]; ++g)
            for (int b = box->lo[2]; b <= box->hi[2]; ++b) {
                uint64_t n = BinCount(bins, r, g, b);
                if (n == 0) continue;
                count += n;
                const int at[3] = {r, g, b};
                for (int c = 0; c < 3; ++c) {
                    lo[c] = std::min(lo[c], at[c]);
                    hi[c] = std::max(hi[c], at[c]);
                }
            }
    box->count = count;
    if (count == 0) return;
    for (int c = 0; c < 3; ++c) {
        box->lo[c] = lo[c];
        box->hi[c] = hi[c];
    }
}

// Splits box along its longest side at the median pixel; false when it holds
// a single bin.
bool Split(std::vector<Bin>& bins, Box* box, Box* other) {
    int axis = 0;
    for (int c = 1; c < 3; ++c)
        if (box->hi[c] - box->lo[c] > box->hi[axis] - box->lo[axis]) axis = c;
    if (box->hi[axis] == box->lo[axis]) return false;
    std::vector<uint64_t> slice(kSide, 0);
    for (int r = box->lo[0]; r <= box->hi[0]; ++r)
        for (int g = box->lo[1]; g <= box->hi[1]; ++g)
            for (int b = box->lo[2]; b <= box->hi[2]; ++b) {
                const int at[3] = {r, g, b};
                slice[static_cast<size_t>(at[axis])] += BinCount(bins, r, g, b);
            }
    uint64_t seen = 0;
    int cut = box->lo[axis];
    for (int v = box->lo[axis]; v < box->hi[axis]; ++v) {
        seen += slice[static_cast<size_t>(v)];
        cut = v;
        if (seen * 2 >= box->count) break;
    }
    *other = *box;
    box->hi[axis] = cut;
    other->lo[axis] = cut + 1;
    Tighten(bins, box);
    Tighten(bins, other);
    return true;
}

int Nearest(const std::vector<PaletteColour>& palette, int skip, int r, int g, int b) {
    int best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < palette.size(); ++i) {
        if (static_cast<int>(i) == skip) continue;
        long dr = palette[i].r - r, dg = palette[i].g - g, db = palette[i].b - b;
        // Weighted as the eye weighs the channels.
        long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

}  // namespace

PaletteColour PixelColour(const Picture& picture, int x, int y) {
    const uint8_t* p = picture.Row(y) + static_cast<size_t>(x) * static_cast<size_t>(picture.channels);
    PaletteColour c;
    if (picture.channels == 1) {
        c.r = c.g = c.b = p[0];
    } else if (picture.channels == 4) {
        c.r = static_cast<uint8_t>(255 - std::min(255, p[0] + p[3]));
        c.g = static_cast<uint8_t>(255 - std::min(255, p[1] + p[3]));
        c.b = static_cast<uint8_t>(255 - std::min(255, p[2] + p[3]));
    } else {
        c.r = p[0];
        c.g = p[1];
        c.b = p[2];
    }
    return c;
}

bool PictureIsWritable(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return false;
    if (picture.channels != 1 && picture.channels != 3 && picture.channels != 4) return false;
    return picture.pixels.size() / picture.Stride() == static_cast<size_t>(picture.height) &&
           picture.pixels.size() % picture.Stride() == 0;
}

bool PixelIsBlack(const Picture& picture, int x, int y) {
    PaletteColour c = PixelColour(picture, x, y);
    return 299 * c.r + 587 * c.g + 114 * c.b < 128 * 1000;
}

IndexedPicture QuantizePicture(const Picture& picture, const QuantizeRequest& request) {
    IndexedPicture out;
    out.width = picture.width;
    out.height = picture.height;
    out.indices.assign(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height), 0);
    const int maxColours = std::clamp(request.maxColours, 2, 256);
    const uint32_t reserved = Pack(request.reserved);
    std::vector<uint32_t> row;

    // Few colours: every one kept exactly.
    ExactColours exact(maxColours);
    bool fits = true;
    for (int y = 0; y < picture.height && fits; ++y) {
        RowColours(picture, y, &row);
        for (uint32_t colour : row)
            if (!exact.Add(colour)) {
                fits = false;
                break;
            }
    }
    if (fits) {
        for (uint32_t colour : exact.Order()) out.palette.push_back(Unpack(colour));
        if (out.palette.empty()) out.palette.push_back(PaletteColour{});
        for (int y = 0; y < picture.height; ++y) {
            RowColours(picture, y, &row);
            uint8_t* target = &out.indices[static_cast<size_t>(y) * static_cast<size_t>(picture.width)];
            for (size_t x = 0; x < row.size(); ++x) target[x] = exact.IndexOf(row[x]);
        }
        if (request.reserve)
            for (size_t i = 0; i < exact.Order().size(); ++i)
                if (exact.Order()[i] == reserved) out.reservedIndex = static_cast<int>(i);
        return out;
    }

    // The histogram, with each bin's most frequent exact colour.
    std::vector<Bin> bins(kBins);
    bool reservedSeen = false;
    for (int y = 0; y < picture.height; ++y) {
        RowColours(picture, y, &row);
        for (uint32_t colour : row) {
            if (request.reserve && colour == reserved) {
                reservedSeen = true;
                continue;
            }
            Bin& bin = bins[static_cast<size_t>(BinOf(colour))];
            bin.count++;
            bin.r += colour >> 16 & 255;
            bin.g += colour >> 8 & 255;
            bin.b += colour & 255;
            if (bin.vote == 0) bin.candidate = colour;
            bin.vote += bin.candidate == colour ? 1 : -1;
        }
    }
    for (int y = 0; y < picture.height; ++y) {
        RowColours(picture, y, &row);
        for (uint32_t colour : row) {
            Bin& bin = bins[static_cast<size_t>(BinOf(colour))];
            if (bin.count > 0 && bin.candidate == colour && !(request.reserve && colour == reserved))
                bin.candidateCount++;
        }
    }

    // Flat colours: exact colours that cover a noticeable part of the page,
    // at most half of the palette, the largest first.
    const uint64_t pixelCount = static_cast<uint64_t>(picture.width) * static_cast<uint64_t>(picture.height);
    const uint64_t flatThreshold = std::max<uint64_t>(16, pixelCount / 4096);
    std::vector<int> flats;
    for (int i = 0; i < kBins; ++i)
        if (bins[static_cast<size_t>(i)].candidateCount >= flatThreshold) flats.push_back(i);
    std::sort(flats.begin(), flats.end(), [&](int a, int b) {
        return bins[static_cast<size_t>(a)].candidateCount > bins[static_cast<size_t>(b)].candidateCount;
    });
    const int available = maxColours - (reservedSeen ? 1 : 0);
    if (static_cast<int>(flats.size()) > available / 2) flats.resize(static_cast<size_t>(available / 2));
    for (int i : flats) {
        Bin& bin = bins[static_cast<size_t>(i)];
        const uint64_t n = bin.candidateCount;
        bin.flatIndex = static_cast<int>(out.palette.size());
        out.palette.push_back(Unpack(bin.candidate));
        bin.count -= n;
        bin.r -= n * (bin.candidate >> 16 & 255);
        bin.g -= n * (bin.candidate >> 8 & 255);
        bin.b -= n * (bin.candidate & 255);
    }

    // Median cut of what the flat colours leave.
    std::vector<Box> boxes;
    Box all{{0, 0, 0}, {kSide - 1, kSide - 1, kSide - 1}, 0};
    Tighten(bins, &all);
    if (all.count > 0) boxes.push_back(all);
    const size_t boxLimit = static_cast<size_t>(available) - flats.size();
    while (boxes.size() < boxLimit) {
        // The box with the most pixels times the widest spread goes next.
        int pick = -1;
        uint64_t best = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            int side = 0;
            for (int c = 0; c < 3; ++c) side = std::max(side, boxes[i].hi[c] - boxes[i].lo[c]);
            uint64_t priority = boxes[i].count * static_cast<uint64_t>(side);
            if (priority > best) {
                best = priority;
                pick = static_cast<int>(i);
            }
        }
        if (pick < 0) break;
        Box other{};
        if (!Split(bins, &boxes[static_cast<size_t>(pick)], &other)) break;
        boxes.push_back(other);
    }
    for (const Box& box : boxes) {
        uint64_t n = 0, r = 0, g = 0, b = 0;
        for (int br = box.lo[0]; br <= box.hi[0]; ++br)
            for (int bg = box.lo[1]; bg <= box.hi[1]; ++bg)
                for (int bb = box.lo[2]; bb <= box.hi[2]; ++bb) {
                    const Bin& bin = bins[static_cast<size_t>(br << 10 | bg << 5 | bb)];
                    n += bin.count;
                    r += bin.r;
                    g += bin.g;
                    b += bin.b;
                }
        if (n == 0) continue;
        PaletteColour c;
        c.r = static_cast<uint8_t>((r + n / 2) / n);
        c.g = static_cast<uint8_t>((g + n / 2) / n);
        c.b = static_cast<uint8_t>((b + n / 2) / n);
        out.palette.push_back(c);
    }
    if (reservedSeen) {
        out.reservedIndex = static_cast<int>(out.palette.size());
        out.palette.push_back(request.reserved);
    }
    if (out.palette.empty()) out.palette.push_back(PaletteColour{});

    // Each pixel: its exact flat or reserved colour, else the entry nearest
    // to its bin's mean.
    for (int y = 0; y < picture.height; ++y) {
        RowColours(picture, y, &row);
        uint8_t* target = &out.indices[static_cast<size_t>(y) * static_cast<size_t>(picture.width)];
        for (size_t x = 0; x < row.size(); ++x) {
            const uint32_t colour = row[x];
            if (request.reserve && colour == reserved) {
                target[x] = static_cast<uint8_t>(out.reservedIndex);
                continue;
            }
            Bin& bin = bins[static_cast<size_t>(BinOf(colour))];
            if (bin.flatIndex >= 0 && bin.candidate == colour) {
                target[x] = static_cast<uint8_t>(bin.flatIndex);
                continue;
            }
            if (bin.mapped < 0) {
                int r, g, b;
                if (bin.count > 0) {
                    r = static_cast<int>(bin.r / bin.count);
                    g = static_cast<int>(bin.g / bin.count);
                    b = static_cast<int>(bin.b / bin.count);
                } else {
                    r = static_cast<int>(colour >> 16 & 255);
                    g = static_cast<int>(colour >> 8 & 255);
                    b = static_cast<int>(colour & 255);
                }
                bin.mapped = Nearest(out.palette, out.reservedIndex, r, g, b);
            }
            target[x] = static_cast<uint8_t>(bin.mapped);
        }
    }
    return out;
}
