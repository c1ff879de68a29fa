// Fitting into a box and resizing: exact area averages, nearest pixels, masks.
#include <cmath>

#include "ImageTestUtil.h"
#include "imaging/DibMask.h"
#include "imaging/FitInBox.h"
#include "imaging/RowResampler.h"

using namespace tessary;
using namespace tessary::test;

namespace {

// Pseudo-random but repeatable bytes.
uint8_t Noise(int x, int y, int c) { return uint8_t((x * 73 + y * 151 + c * 37 + x * y * 11) % 251); }

DibImage24 Noisy(int w, int h)
{
    DibImage24 img;
    EXPECT_TRUE(img.Create(w, h, 24));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                img.Pixel(x, y)[c] = Noise(x, y, c);
    return img;
}

// The exact area average of destination pixel (dx, dy), computed independently in doubles:
// the pixel covers [dx * sw / dw, (dx + 1) * sw / dw) and likewise down.
double AreaAverage(const DibImage24& src, int dw, int dh, int dx, int dy, int c)
{
    const double x0 = double(dx) * src.Width() / dw, x1 = double(dx + 1) * src.Width() / dw;
    const double y0 = double(dy) * src.Height() / dh, y1 = double(dy + 1) * src.Height() / dh;
    double sum = 0, area = 0;
    for (int y = int(y0); y < std::ceil(y1) && y < src.Height(); ++y)
        for (int x = int(x0); x < std::ceil(x1) && x < src.Width(); ++x) {
            const double w = (std::min(x1, x + 1.0) - std::max(x0, double(x))) * (std::min(y1, y + 1.0) - std::max(y0, double(y)));
            sum += w * src.Pixel(x, y)[c];
            area += w;
        }
    return sum / area;
}

} // namespace

TEST(FitInBox, TruncatesTheShorterSide)
{
    EXPECT_EQ(FitInBox({100, 100}, {1000, 333}), (DibSize{100, 33}));
    EXPECT_EQ(FitInBox({100, 100}, {333, 1000}), (DibSize{33, 100}));
    EXPECT_EQ(FitInBox({100, 100}, {700, 700}), (DibSize{100, 100}));
    EXPECT_EQ(FitInBox({94, 94}, {4000, 3000}), (DibSize{94, 70})) << "70.5 truncated";
    EXPECT_EQ(FitInBox({160, 160}, {4000, 3000}), (DibSize{160, 120}));
    EXPECT_EQ(FitInBox({100, 100}, {50, 25}), (DibSize{100, 50})) << "the rule itself enlarges";
    EXPECT_EQ(FitInBox({100, 100}, {10000, 1}), (DibSize{100, 0}));
    EXPECT_EQ(FitInBox({100, 100}, {0, 10}), (DibSize{0, 0}));
    EXPECT_EQ(FitInBox({100, 100}, {-5, 10}), (DibSize{0, 0}));
    // 32-bit float arithmetic: 96 / 7 * 3 is 41.142857 in float, truncated to 41.
    EXPECT_EQ(FitInBox({96, 96}, {7, 3}), (DibSize{96, 41}));
}

TEST(Resize, SmoothShrinkAveragesBlocks)
{
    DibImage24 img;
    ASSERT_TRUE(img.Create(4, 4, 24));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            img.SetColor(x, y, (x % 2) ? Bgr(255, 255, 255) : Bgr(0, 0, 0));
    ASSERT_TRUE(img.Resize({2, 2}, true));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(ColorAt(img, x, y), Bgr(128, 128, 128)) << "127.5 rounds up";
}

TEST(Resize, FractionalEdgesWeighByCoveredArea)
{
    // 3 -> 2: the first pixel covers source 0 and half of 1, the second half of 1 and 2.
    const DibImage src = MakeImage(3, 1, 24, [](int x, int) {
        const uint8_t v[] = {0, 90, 255};
        return Bgr(v[x], v[x], v[x]);
    });
    DibImage24 out;
    ASSERT_TRUE(src.ResizeInto(out, {2, 1}, true));
    EXPECT_EQ(ColorAt(out, 0, 0).blue, (2 * 0 + 90 + 1) / 3);
    EXPECT_EQ(ColorAt(out, 1, 0).blue, (90 + 2 * 255 + 1) / 3);
}

TEST(Resize, MatchesTheExactAreaAverageForManySizes)
{
    const DibImage24 src = Noisy(37, 23);
    for (auto [w, h] : {std::pair{1, 1}, std::pair{5, 3}, std::pair{12, 23}, std::pair{36, 22}, std::pair{37, 5},
                        std::pair{50, 31}, std::pair{74, 46}, std::pair{100, 9}}) {
        DibImage24 out;
        ASSERT_TRUE(src.ResizeInto(out, {w, h}, true)) << w << "x" << h;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 3; ++c)
                    ASSERT_NEAR(out.Pixel(x, y)[c], AreaAverage(src, w, h, x, y, c), 0.5001)
                        << w << "x" << h << " at " << x << "," << y << " channel " << c;
    }
}

TEST(Resize, UniformStaysUniformAtEveryDepthThatAverages)
{
    for (int bpp : {8, 16, 24, 32}) {
        DibImage img;
        ASSERT_TRUE(img.Create(31, 17, bpp));
        const DibColor c = bpp == 8 ? Bgr(77, 77, 77) : bpp == 16 ? Bgr(80, 160, 240) : Bgr(3, 130, 250, 99);
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 31; ++x)
                img.SetColor(x, y, c);
        const DibColor stored = ColorAt(img, 0, 0);
        for (DibSize s : {DibSize{7, 5}, DibSize{31, 1}, DibSize{62, 40}, DibSize{1, 100}}) {
            DibImage out;
            ASSERT_TRUE(img.ResizeInto(out, s, true)) << bpp;
            ASSERT_EQ(out.Size(), s);
            for (int y = 0; y < s.height; ++y)
                for (int x = 0; x < s.width; ++x)
                    ASSERT_EQ(ColorAt(out, x, y), stored) << bpp << " at " << x << "," << y;
        }
    }
}

TEST(Resize, TallColumnsAverageExactly)
{
    // More than 257 whole rows per destination row (the 16-bit partial sums are folded), and
    // a column tall enough to need 64-bit accumulators.
    for (int h : {600, 17'000'000}) {
        DibImage8 tall;
        ASSERT_TRUE(tall.Create(1, h, 8));
        uint64_t sum = 0;
        for (int y = 0; y < h; ++y) {
            tall.At(0, y) = uint8_t(y % 7 == 0 ? 255 : y % 3 * 40);
            sum += tall.At(0, y);
        }
        DibImage8 out;
        ASSERT_TRUE(tall.ResizeInto(out, {1, 1}, true));
        EXPECT_EQ(out.At(0, 0), (sum + uint64_t(h) / 2) / uint64_t(h)) << h;
        ASSERT_TRUE(tall.ResizeInto(out, {1, 3}, true));
        EXPECT_EQ(out.Height(), 3);
    }
}

TEST(Resize, ThirtyTwoBitsAverageAlphaAndGreyRampsAverage)
{
    DibImage32 rgba;
    ASSERT_TRUE(rgba.Create(2, 1, 32));
    rgba.SetColor(0, 0, DibColor::Rgb(0, 0, 0, 0));
    rgba.SetColor(1, 0, DibColor::Rgb(200, 100, 50, 255));
    ASSERT_TRUE(rgba.Resize({1, 1}, true));
    EXPECT_EQ(ColorAt(rgba, 0, 0), DibColor::Rgb(100, 50, 25, 128));

    DibImage8 grey;
    ASSERT_TRUE(grey.Create(2, 1, 8));
    grey.SetIndex(0, 0, 10);
    grey.SetIndex(1, 0, 20);
    ASSERT_TRUE(grey.Resize({1, 1}, true));
    EXPECT_EQ(grey.GetIndex(0, 0), 15);

    // Other palettes keep exact entries: the nearest pixel.
    DibImage8 pal;
    ASSERT_TRUE(pal.Create(2, 1, 8, 16));
    pal.SetIndex(0, 0, 3);
    pal.SetIndex(1, 0, 9);
    ASSERT_TRUE(pal.Resize({1, 1}, true));
    EXPECT_EQ(pal.GetIndex(0, 0), 9);
}

TEST(Resize, NearestTakesThePixelUnderTheCentre)
{
    const DibImage24 src = Numbered24(4, 1);
    DibImage24 out;
    ASSERT_TRUE(src.ResizeInto(out, {2, 1}, false));
    EXPECT_EQ(ColorAt(out, 0, 0), ColorAt(src, 1, 0));
    EXPECT_EQ(ColorAt(out, 1, 0), ColorAt(src, 3, 0));
    ASSERT_TRUE(src.ResizeInto(out, {8, 2}, false));
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(ColorAt(out, x, 1), ColorAt(src, x / 2, 0));

    // 1-bit images resize bit by bit.
    DibImage1 mono;
    ASSERT_TRUE(mono.Create(3, 1, 1));
    mono.SetIndex(1, 0, 1);
    ASSERT_TRUE(mono.Resize({9, 1}, true));
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(mono.GetIndex(x, 0), x / 3 == 1 ? 1 : 0) << x;
}

TEST(Resize, FailuresAndShorthands)
{
    DibImage24 img = Numbered24(5, 4);
    const std::vector<uint32_t> before = Colors(img);
    EXPECT_FALSE(img.Resize({0, 3}, true));
    EXPECT_FALSE(img.Resize({3, -1}, false));
    EXPECT_FALSE(img.Resize({100000, 100000}, true)) << "too much memory";
    EXPECT_EQ(Colors(img), before);
    EXPECT_TRUE(img.Resize({5, 4}, true));
    EXPECT_EQ(Colors(img), before);
    DibImage8 wrong;
    EXPECT_FALSE(img.ResizeInto(wrong, {2, 2}, true));

    // Resize(size) follows the image's own flag.
    DibImage24 smooth, fast;
    smooth.CopyFrom(img);
    fast.CopyFrom(img);
    smooth.SetSmoothStretch(true);
    ASSERT_TRUE(smooth.Resize(DibSize{2, 2}));
    ASSERT_TRUE(fast.Resize(DibSize{2, 2}));
    DibImage24 a, b;
    ASSERT_TRUE(img.ResizeIntoSmooth(a, {2, 2}));
    ASSERT_TRUE(img.ResizeIntoFast(b, {2, 2}));
    EXPECT_EQ(Colors(smooth), Colors(a));
    EXPECT_EQ(Colors(fast), Colors(b));
    EXPECT_NE(Colors(a), Colors(b));
    EXPECT_TRUE(smooth.SmoothStretch()) << "the flag survives";
}

TEST(Resize, MaskResizeAverages)
{
    DibMask mask;
    ASSERT_TRUE(mask.Create(4, 2, 8));
    for (int x = 0; x < 4; ++x) {
        mask.SetIndex(x, 0, x < 2 ? 255 : 0);
        mask.SetIndex(x, 1, 255);
    }
    DibMask small;
    ASSERT_TRUE(ResizeMask(mask, {2, 1}, small));
    EXPECT_EQ(small.GetIndex(0, 0), 255);
    EXPECT_EQ(small.GetIndex(1, 0), 128);
    DibMask same;
    ASSERT_TRUE(ResizeMask(mask, mask.Size(), same));
    EXPECT_EQ(Colors(same), Colors(mask));
    EXPECT_FALSE(ResizeMask(mask, {0, 1}, same));
    EXPECT_EQ(same.Size(), mask.Size());
    DibImage24 rgb = Numbered24(2, 2);
    EXPECT_FALSE(ResizeMask(rgb, {1, 1}, same));
}

// Row by row, in either order, the shrink gives exactly the bytes of the whole-picture resize.
TEST(RowResampler, MatchesTheWholePictureResizeForEverySize)
{
    const int sides[] = {1, 2, 3, 5, 7, 16, 31, 94, 95, 97, 160, 257, 300, 1001};
    int compared = 0;
    for (int sw : {1, 3, 17, 95, 300}) {
        for (int sh : sides) {
            const DibImage24 src = Noisy(sw, sh);
            for (int dw : {1, 2, 13, 94}) {
                for (int dh : {1, 3, 47, 94, 160}) {
                    if (dw > sw && dh > sh && (dw + dh) % 3 != 0)
                        continue; // a third of the enlargements is enough
                    DibImage24 whole;
                    ASSERT_TRUE(src.ResizeInto(whole, {dw, dh}, true));
                    for (bool bottomUp : {false, true}) {
                        SCOPED_TRACE(testing::Message() << sw << "x" << sh << " -> " << dw << "x" << dh
                                                        << (bottomUp ? " bottom-up" : " top-down"));
                        DibImage24 rows;
                        ASSERT_TRUE(rows.Create24({dw, dh}));
                        AreaRowResampler r(sw, sh, rows, bottomUp);
                        for (int i = 0; i < sh; ++i) {
                            EXPECT_FALSE(r.Done());
                            r.Push(src.Row(bottomUp ? sh - 1 - i : i));
                        }
                        ASSERT_TRUE(r.Done());
                        ASSERT_EQ(Colors(rows), Colors(whole));
                        ++compared;
                    }
                }
            }
        }
    }
    EXPECT_GT(compared, 800);
}

TEST(RowResampler, HoldsOnlyTheOpenRows)
{
    // A tall picture shrunk to a few rows: at most two destination rows are ever open.
    const int sw = 500, sh = 20000;
    DibImage24 row;
    ASSERT_TRUE(row.Create(sw, 1, 24));
    for (int x = 0; x < sw; ++x)
        for (int c = 0; c < 3; ++c)
            row.Pixel(x, 0)[c] = Noise(x, 0, c);
    DibImage24 out;
    ASSERT_TRUE(out.Create24({94, 93}));
    AreaRowResampler r(sw, sh, out, true);
    for (int i = 0; i < sh; ++i)
        r.Push(row.Row(0));
    ASSERT_TRUE(r.Done());
    EXPECT_LE(r.PeakBytes(), int64_t(2 * sw * 3 * 8 + 64 * 1024));
    // Every output row averages copies of the same row.
    for (int y = 0; y < 93; ++y)
        ASSERT_EQ(std::vector<uint8_t>(out.Row(y), out.Row(y) + 94 * 3), std::vector<uint8_t>(out.Row(0), out.Row(0) + 94 * 3));

    // A target of the wrong depth or an empty source makes nothing.
    DibImage wrong;
    ASSERT_TRUE(wrong.Create(4, 4, 8));
    AreaRowResampler none(10, 10, wrong, false);
    none.Push(row.Row(0));
    EXPECT_FALSE(none.Done());
}
