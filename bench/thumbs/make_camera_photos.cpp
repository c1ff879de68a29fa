// Writes camera-size test photos for the thumbnail pass measurement:
//   bench_make_camera_photos FOLDER [COUNT]
// COUNT (default 200) JPEG files of 4000 x 3000 at quality 90, about the bytes per pixel of a
// camera's fine setting; every second one carries an Exif block with a 160 x 120 thumbnail,
// the others have none. Ten different pictures are made and written in turn.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../../tests/imagefiles/CameraPhotoFixture.h"

using namespace tessary::test;

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kPictures = 10;

// Smooth gradients, waves, a disc, blocks and noise; the sines are tabled per row and column.
class Scene {
public:
    explicit Scene(int variant)
        : m_variant(variant)
    {
        const double phase = variant * 0.7;
        for (int c = 0; c < 3; ++c) {
            m_waveX[c].resize(kWidth);
            m_rippleX[c].resize(kWidth);
            for (int x = 0; x < kWidth; ++x) {
                const double fx = double(x) / kWidth;
                m_waveX[c][size_t(x)] = std::sin(fx * 23 + c + phase);
                m_rippleX[c][size_t(x)] = std::sin(x * 0.31 + c);
            }
        }
        m_waveY.resize(kHeight);
        m_rippleY.resize(kHeight);
        for (int y = 0; y < kHeight; ++y) {
            m_waveY[size_t(y)] = std::cos(double(y) / kHeight * 17 + phase);
            m_rippleY[size_t(y)] = std::sin(y * 0.23);
        }
        m_discX = 1200.0 + 180.0 * variant;
        m_discY = 900.0 + 110.0 * variant;
    }

    uint8_t Sample(int x, int y, int c) const
    {
        const double fx = double(x) / kWidth, fy = double(y) / kHeight;
        double v = 60 + 120 * fx * (c == 0) + 110 * fy * (c == 1) + 90 * (1 - fx) * fy * (c == 2);
        v += 40 * m_waveX[c][size_t(x)] * m_waveY[size_t(y)] + 12 * m_rippleX[c][size_t(x)] * m_rippleY[size_t(y)];
        const double dx = x - m_discX, dy = y - m_discY;
        if (dx * dx + dy * dy < 700.0 * 700.0)
            v = 0.6 * v + 70 + 30 * c;
        if ((x / 250 + y / 250 + m_variant) % 7 == 0)
            v += 35;
        const uint32_t h = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ uint32_t(c) * 83492791u;
        v += double(h >> 26) - 31.5;
        return uint8_t(std::clamp(v, 0.0, 255.0));
    }

private:
    int m_variant;
    std::vector<double> m_waveX[3], m_rippleX[3];
    std::vector<double> m_waveY, m_rippleY;
    double m_discX, m_discY;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: bench_make_camera_photos FOLDER [COUNT]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int count = argc == 3 ? std::atoi(argv[2]) : 200;
    if (count < 1) {
        std::fprintf(stderr, "bench_make_camera_photos: COUNT must be positive\n");
        return 2;
    }

    std::vector<std::vector<uint8_t>> plain(kPictures), withExif(kPictures);
    for (int i = 0; i < std::min(count, kPictures); ++i) {
        const Scene scene(i);
        JpegRecipe recipe;
        recipe.width = kWidth;
        recipe.height = kHeight;
        recipe.quality = 90;
        plain[size_t(i)] = EncodeJpeg(recipe, [&scene](int x, int y, int c) { return scene.Sample(x, y, c); });

        JpegRecipe thumbSpec;
        thumbSpec.width = 160;
        thumbSpec.height = 120;
        const std::vector<uint8_t> thumb = EncodeJpeg(thumbSpec, [&scene](int x, int y, int c) {
            return scene.Sample(x * kWidth / 160, y * kHeight / 120, c);
        });
        withExif[size_t(i)] =
            WithCameraExif(plain[size_t(i)], 1, "2024:05:17 10:42:" + std::to_string(10 + i), thumb);
    }

    for (int n = 0; n < count; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "/IMG_%04d.jpg", n + 1);
        const size_t picture = size_t((n / 2) % kPictures);
        if (!WriteBytesToFile(folder + name, n % 2 == 0 ? withExif[picture] : plain[picture])) {
            std::fprintf(stderr, "bench_make_camera_photos: cannot write %s%s\n", folder.c_str(), name);
            return 1;
        }
    }
    return 0;
}
