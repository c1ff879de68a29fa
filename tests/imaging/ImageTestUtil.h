#pragma once
// Helpers for the imaging tests: images made from functions, pixels read back as colours.

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/DibDepths.h"

namespace tessary::test {

// An image of any depth whose pixel (x, y) is set with SetColor(f(x, y)).
inline DibImage MakeImage(int w, int h, int bpp, const std::function<DibColor(int, int)>& f)
{
    DibImage img;
    EXPECT_TRUE(img.Create(w, h, bpp));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.SetColor(x, y, f(x, y));
    return img;
}

// A 24-bit image whose pixels all differ (up to 255 x 255): blue = x + 1, green = y + 1.
inline DibImage24 Numbered24(int w, int h)
{
    DibImage24 img;
    EXPECT_TRUE(img.Create(w, h, 24));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.SetColor(x, y, DibColor{uint8_t(x + 1), uint8_t(y + 1), uint8_t(x * 7 + y * 13 + 1), 255});
    return img;
}

inline DibColor ColorAt(const DibImage& img, int x, int y)
{
    DibColor c;
    EXPECT_TRUE(img.GetColor(c, x, y)) << "at " << x << "," << y;
    return c;
}

// All colours, row by row from the top.
inline std::vector<uint32_t> Colors(const DibImage& img)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x)
            out.push_back(ColorAt(img, x, y).Value());
    return out;
}

inline DibColor Bgr(uint8_t b, uint8_t g, uint8_t r, uint8_t a = 255) { return DibColor{b, g, r, a}; }

} // namespace tessary::test

namespace tessary {
inline void PrintTo(const DibColor& c, std::ostream* os)
{
    *os << "bgra(" << int(c.blue) << "," << int(c.green) << "," << int(c.red) << "," << int(c.alpha) << ")";
}
inline void PrintTo(const DibSize& s, std::ostream* os) { *os << s.width << "x" << s.height; }
inline void PrintTo(const DibRect& r, std::ostream* os)
{
    *os << "[" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}
} // namespace tessary
