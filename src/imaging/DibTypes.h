#pragma once
// Small value records shared by every imaging operation: a colour in pixel byte order and the
// size, point and rectangle records (32-bit signed, rectangles exclusive of right and bottom).

#include <algorithm>
#include <cstdint>

namespace tessary {

// A colour as the pixels store it: blue, green, red, alpha bytes in this memory order. As a
// 4-byte little-endian value that is 0xAARRGGBB, so 0xFFFFFF is white with alpha 0.
struct DibColor {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t alpha = 0;

    static constexpr DibColor FromValue(uint32_t v)
    {
        return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    }
    static constexpr DibColor Rgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) { return {b, g, r, a}; }
    constexpr uint32_t Value() const
    {
        return uint32_t(blue) | uint32_t(green) << 8 | uint32_t(red) << 16 | uint32_t(alpha) << 24;
    }
    constexpr bool SameRgb(DibColor o) const { return blue == o.blue && green == o.green && red == o.red; }
    friend constexpr bool operator==(DibColor a, DibColor b) = default;
};

inline constexpr DibColor kDibWhite = DibColor::FromValue(0xFFFFFF);

struct DibSize {
    int32_t width = 0;
    int32_t height = 0;
    constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
    friend constexpr bool operator==(DibSize, DibSize) = default;
};

struct DibPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend constexpr bool operator==(DibPoint, DibPoint) = default;
};

// Left and top are inside, right and bottom outside, as in the platform's rectangles.
struct DibRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    static constexpr DibRect FromSize(DibSize s) { return {0, 0, s.width, s.height}; }
    static constexpr DibRect At(int32_t x, int32_t y, int32_t w, int32_t h) { return {x, y, x + w, y + h}; }
    constexpr int64_t Width() const { return int64_t(right) - left; }
    constexpr int64_t Height() const { return int64_t(bottom) - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    // Left/right and top/bottom put in order.
    constexpr DibRect Normalized() const
    {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }
    constexpr DibRect Intersected(const DibRect& o) const
    {
        DibRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        return r.IsEmpty() ? DibRect{} : r;
    }
    constexpr bool Contains(const DibRect& o) const
    {
        return o.left >= left && o.top >= top && o.right <= right && o.bottom <= bottom;
    }
    constexpr bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    // Saturates at the 32-bit limits instead of wrapping.
    constexpr DibRect Translated(int64_t dx, int64_t dy) const
    {
        return {Sat(left + dx), Sat(top + dy), Sat(right + dx), Sat(bottom + dy)};
    }
    static constexpr int32_t Sat(int64_t v)
    {
        return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    }
    friend constexpr bool operator==(const DibRect&, const DibRect&) = default;
};

} // namespace tessary
