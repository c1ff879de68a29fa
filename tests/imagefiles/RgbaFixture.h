#pragma once
// Pictures given as functions and decoded pictures read back as straight red-green-blue-alpha
// samples, shared by the fixtures of the library-backed formats (HEIF, AVIF, WebP, TIFF, GIF).

#include <cstdint>
#include <functional>
#include <vector>

#include "imaging/DibImage.h"

namespace tessary::test {

// Sample `c` (0 red, 1 green, 2 blue, 3 alpha) of pixel (x, y).
using RgbaSampleFn = std::function<uint8_t(int x, int y, int c)>;

// Straight RGBA samples, rows top first.
struct RgbaPixels {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    const uint8_t* At(int x, int y) const { return rgba.data() + (size_t(y) * size_t(width) + size_t(x)) * 4; }
};

inline RgbaPixels MakeRgba(int width, int height, const RgbaSampleFn& sample)
{
    RgbaPixels p{width, height, std::vector<uint8_t>(size_t(width) * size_t(height) * 4)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c)
                p.rgba[(size_t(y) * size_t(width) + size_t(x)) * 4 + size_t(c)] = sample(x, y, c);
    return p;
}

// Four flat quadrants (red, green, blue, white), opaque: colours that survive lossy coding,
// so that a turned or mirrored decode is told apart from a right one.
inline uint8_t QuadrantSample(int x, int y, int c, int width, int height)
{
    static const uint8_t kColors[4][3] = {{230, 20, 20}, {20, 200, 40}, {30, 40, 220}, {240, 240, 240}};
    const int q = (x >= width / 2 ? 1 : 0) + (y >= height / 2 ? 2 : 0);
    return c == 3 ? 255 : kColors[q][c];
}

// A 24-bit or plain 32-bit decoded image as straight RGBA (alpha 255 for 24 bits).
inline RgbaPixels FromDib(const DibImage& image)
{
    RgbaPixels p{image.Width(), image.Height(), std::vector<uint8_t>(size_t(image.Width()) * size_t(image.Height()) * 4)};
    const int bytes = image.Bpp() / 8;
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* row = image.Row(y);
        for (int x = 0; x < image.Width(); ++x) {
            uint8_t* o = p.rgba.data() + (size_t(y) * size_t(image.Width()) + size_t(x)) * 4;
            o[0] = row[x * bytes + 2];
            o[1] = row[x * bytes + 1];
            o[2] = row[x * bytes + 0];
            o[3] = bytes == 4 ? row[x * bytes + 3] : 255;
        }
    }
    return p;
}

// The largest difference of any sample between two pictures of the same size; 256 when the
// sizes differ.
inline int MaxDifference(const RgbaPixels& a, const RgbaPixels& b, bool alpha = true)
{
    if (a.width != b.width || a.height != b.height || a.rgba.size() != b.rgba.size())
        return 256;
    int worst = 0;
    for (size_t i = 0; i < a.rgba.size(); ++i) {
        if (!alpha && i % 4 == 3)
            continue;
        const int d = a.rgba[i] > b.rgba[i] ? a.rgba[i] - b.rgba[i] : b.rgba[i] - a.rgba[i];
        worst = d > worst ? d : worst;
    }
    return worst;
}

// Straight RGBA flattened onto white as the program flattens alpha: d += (a * (s - d)) >> 8.
inline RgbaPixels FlattenOnWhite(const RgbaPixels& in)
{
    RgbaPixels out = in;
    for (size_t i = 0; i < out.rgba.size(); i += 4) {
        const int a = in.rgba[i + 3];
        for (int c = 0; c < 3; ++c) {
            const int s = in.rgba[i + size_t(c)];
            out.rgba[i + size_t(c)] = uint8_t(a == 255 ? s : a == 0 ? 255 : 255 + ((a * (s - 255)) >> 8));
        }
        out.rgba[i + 3] = 255;
    }
    return out;
}

} // namespace tessary::test
