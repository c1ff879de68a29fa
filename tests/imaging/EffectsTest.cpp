// Desaturate with masks and opacity, the disabled look, colour blends and checkerboards.
#include "ImageTestUtil.h"
#include "imaging/Effects.h"

using namespace tessary;
using namespace tessary::test;

namespace {
DibImage24 Solid(int w, int h, DibColor c)
{
    DibImage24 img;
    EXPECT_TRUE(img.Create(w, h, 24));
    img.Clear(c);
    return img;
}
} // namespace

TEST(Effects, DesaturateTakesLightness)
{
    DibImage24 img = Solid(2, 1, DibColor::Rgb(255, 0, 0));
    img.SetColor(1, 0, Bgr(255, 255, 255));
    DesaturateEffect effect;
    EXPECT_EQ(effect.Name(), QStringLiteral("Desaturate"));
    ASSERT_TRUE(effect.Apply(img));
    EXPECT_EQ(ColorAt(img, 0, 0), Bgr(127, 127, 127));
    EXPECT_EQ(ColorAt(img, 1, 0), Bgr(255, 255, 255));

    DibImage24 half = Solid(1, 1, DibColor::Rgb(255, 0, 0));
    effect.SetOpacity(128);
    ASSERT_TRUE(effect.Apply(half));
    // Red: 255 + (128 * (127 - 255) >> 8) = 191; green and blue: 0 + (128 * 127 >> 8) = 63.
    EXPECT_EQ(ColorAt(half, 0, 0), DibColor::Rgb(191, 63, 63));
}

TEST(Effects, DesaturateThroughAPositionedMask)
{
    DibImage24 img = Solid(4, 2, DibColor::Rgb(255, 0, 0));
    DibImage8 mask;
    ASSERT_TRUE(mask.Create(3, 2, 8));
    mask.SetIndex(0, 0, 0);
    mask.SetIndex(1, 0, 255);
    mask.SetIndex(2, 0, 128);
    mask.SetIndex(0, 1, 255);
    DesaturateEffect effect;
    effect.SetOpacity(10); // ignored when the mask decides
    const PositionedMask placed{&mask, DibPoint{2, 0}};
    ASSERT_TRUE(effect.Apply(img, &placed));
    EXPECT_EQ(ColorAt(img, 1, 0), DibColor::Rgb(255, 0, 0)) << "outside the mask";
    EXPECT_EQ(ColorAt(img, 2, 0), DibColor::Rgb(255, 0, 0)) << "mask 0";
    EXPECT_EQ(ColorAt(img, 3, 0), Bgr(127, 127, 127)) << "mask 255";
    EXPECT_EQ(ColorAt(img, 2, 1), Bgr(127, 127, 127));

    // A mask that is all 255 falls back to the opacity.
    DibImage24 other = Solid(2, 1, DibColor::Rgb(255, 0, 0));
    DibImage8 opaque;
    ASSERT_TRUE(opaque.Create(1, 1, 8));
    opaque.SetIndex(0, 0, 255);
    effect.SetOpacity(255);
    const PositionedMask one{&opaque, DibPoint{1, 0}};
    ASSERT_TRUE(effect.Apply(other, &one));
    EXPECT_EQ(ColorAt(other, 0, 0), DibColor::Rgb(255, 0, 0));
    EXPECT_EQ(ColorAt(other, 1, 0), Bgr(127, 127, 127));

    const PositionedMask away{&mask, DibPoint{10, 10}};
    EXPECT_FALSE(effect.Apply(other, &away)) << "no overlap";
}

TEST(Effects, DepthsOtherThan24)
{
    DesaturateEffect effect;
    DibImage8 grey;
    ASSERT_TRUE(grey.Create(2, 2, 8));
    grey.SetIndex(1, 1, 99);
    EXPECT_TRUE(effect.Apply(grey));
    EXPECT_EQ(grey.GetIndex(1, 1), 99) << "8-bit pixels are left as they are";
    DibImage16 hi;
    ASSERT_TRUE(hi.Create(2, 2, 16));
    EXPECT_FALSE(effect.Apply(hi));
    DibImage24 empty;
    EXPECT_FALSE(effect.Apply(empty));
}

TEST(Effects, FillBlendAndDisabledLook)
{
    DibImage24 img = Solid(1, 1, Bgr(0, 100, 255));
    ASSERT_TRUE(FillBlend(img, Bgr(255, 255, 255), 0));
    EXPECT_EQ(ColorAt(img, 0, 0), Bgr(0, 100, 255));
    ASSERT_TRUE(FillBlend(img, Bgr(255, 255, 255), 128));
    EXPECT_EQ(ColorAt(img, 0, 0), Bgr(127, 177, 255));
    ASSERT_TRUE(FillBlend(img, Bgr(1, 2, 3), 255));
    EXPECT_EQ(ColorAt(img, 0, 0), Bgr(1, 2, 3));
    DibImage8 eight;
    ASSERT_TRUE(eight.Create(1, 1, 8));
    EXPECT_FALSE(FillBlend(eight, Bgr(1, 2, 3), 255));

    MaskedImage pic;
    ASSERT_TRUE(pic.color.Create(2, 1, 24));
    pic.color.SetColor(1, 0, DibColor::Rgb(255, 0, 0));
    ASSERT_TRUE(pic.mask.Create(2, 1, 8));
    pic.mask.SetIndex(1, 0, 200);
    MaskedImage disabled;
    ASSERT_TRUE(DisabledLook(pic, disabled));
    // Black: 0 + ((128 * 255) >> 8) = 127. Red: lightness 127, then 127 + (128 * 128 >> 8) = 191.
    EXPECT_EQ(ColorAt(disabled.color, 0, 0), Bgr(127, 127, 127));
    EXPECT_EQ(ColorAt(disabled.color, 1, 0), Bgr(191, 191, 191));
    EXPECT_EQ(disabled.mask.GetIndex(1, 0), 200);
    EXPECT_EQ(ColorAt(pic.color, 1, 0), DibColor::Rgb(255, 0, 0)) << "the source is untouched";
}

TEST(Effects, Checkerboard)
{
    const DibColor a = Bgr(10, 10, 10), b = Bgr(200, 200, 200);
    DibImage24 img = Solid(7, 5, Bgr(0, 0, 0));
    ASSERT_TRUE(Checkerboard(img, 2, a, b));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(ColorAt(img, x, y), ((x / 2 + y / 2) % 2 == 0) ? a : b) << x << "," << y;

    ASSERT_TRUE(Checkerboard(img, 0, b, a));
    EXPECT_EQ(ColorAt(img, 6, 4), b);
    ASSERT_TRUE(Checkerboard(img, 1'000'000'000, a, b)) << "a square larger than the image";
    EXPECT_EQ(ColorAt(img, 6, 4), a);
    EXPECT_FALSE(Checkerboard(img, -1, a, b));

    DibImage grey;
    ASSERT_TRUE(grey.Create(4, 4, 8));
    ASSERT_TRUE(Checkerboard(grey, 1, a, b));
    EXPECT_EQ(grey.GetIndex(1, 0), 200);
    EXPECT_EQ(grey.GetIndex(1, 1), 10);
}
