#pragma once
// Files and comparisons shared by the tests of the library-backed readers.

#include <cstdint>
#include <memory>
#include <vector>

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "RgbaFixture.h"
#include "imagefiles/ImageLoader.h"
#include "imagefiles/Picture.h"

namespace tessary::test {

inline QString WriteTemp(const QTemporaryDir& dir, const QString& name, const std::vector<uint8_t>& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    return path;
}

// A picture's planes as straight RGBA (the mask as alpha, 255 without one).
inline RgbaPixels PicturePixels(const Picture& picture)
{
    DibImage joined;
    if (!picture.image.Join(joined))
        return {};
    return FromDib(joined);
}

// Straight RGBA as libtiff premultiplies it, for comparison with its reference.
inline RgbaPixels Premultiplied(const RgbaPixels& in)
{
    RgbaPixels out = in;
    for (size_t i = 0; i < out.rgba.size(); i += 4)
        for (size_t c = 0; c < 3; ++c)
            out.rgba[i + c] = uint8_t((in.rgba[i + c] * in.rgba[i + 3] + 127) / 255);
    return out;
}

// The first `n` bytes.
inline std::vector<uint8_t> Cut(const std::vector<uint8_t>& bytes, size_t n)
{
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(std::min(n, bytes.size())));
}

// A smooth picture with an alpha ramp: every sample varies, nothing is flat.
inline uint8_t SmoothSample(int x, int y, int c)
{
    switch (c) {
    case 0: return uint8_t(40 + (x * 3) % 180);
    case 1: return uint8_t(60 + (y * 5) % 160);
    case 2: return uint8_t(90 + ((x + y) * 2) % 140);
    default: return uint8_t(255 - (x * 4) % 256);
    }
}

} // namespace tessary::test
