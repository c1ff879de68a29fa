// Pixel layout per depth and palette lookups.
#include "ImageTestUtil.h"

using namespace tessary;
using namespace tessary::test;

TEST(PixelAccess, OneBitIsMostSignificantFirst)
{
    DibImage1 img;
    ASSERT_TRUE(img.Create(10, 2, 1));
    EXPECT_TRUE(img.SetIndex(0, 0, 1));
    EXPECT_TRUE(img.SetIndex(9, 0, 1));
    EXPECT_EQ(img.Row(0)[0], 0x80);
    EXPECT_EQ(img.Row(0)[1], 0x40);
    EXPECT_EQ(img.Bits()[img.Stride()], 0x80) << "the top row is stored last";
    EXPECT_EQ(ColorAt(img, 9, 0), (DibColor{255, 255, 255, 0}));
    EXPECT_EQ(ColorAt(img, 1, 0), (DibColor{0, 0, 0, 0}));
    EXPECT_TRUE(img.SetIndex(0, 0, 0));
    EXPECT_EQ(img.Row(0)[0], 0x00);
}

TEST(PixelAccess, FourBitsEvenPixelInHighNibble)
{
    DibImage4 img;
    ASSERT_TRUE(img.Create(3, 1, 4));
    img.SetIndex(0, 0, 0xA);
    img.SetIndex(1, 0, 0x5);
    img.SetIndex(2, 0, 0xF);
    EXPECT_EQ(img.Row(0)[0], 0xA5);
    EXPECT_EQ(img.Row(0)[1], 0xF0);
    EXPECT_EQ(img.GetIndex(1, 0), 5);
    EXPECT_EQ(ColorAt(img, 2, 0), (DibColor{255, 255, 255, 0}));
}

TEST(PixelAccess, IndexBeyondTableReadsZero)
{
    DibImage img;
    ASSERT_TRUE(img.Create(2, 1, 8, 4));
    ColorTable t(std::vector<DibColor>{{1, 1, 1, 0}, {2, 2, 2, 0}, {3, 3, 3, 0}, {4, 4, 4, 9}});
    ASSERT_TRUE(img.SetColors(t));
    img.SetIndex(0, 0, 3);
    img.SetIndex(1, 0, 200);
    EXPECT_EQ(ColorAt(img, 0, 0), (DibColor{4, 4, 4, 9})) << "the table entry as stored";
    EXPECT_EQ(ColorAt(img, 1, 0), (DibColor{0, 0, 0, 0}));
}

TEST(PixelAccess, SetColorOnPaletteTakesNearestFirstEntry)
{
    DibImage img;
    ASSERT_TRUE(img.Create(1, 1, 8, 4));
    ASSERT_TRUE(img.SetColors(
        ColorTable(std::vector<DibColor>{{10, 0, 0, 0}, {0, 10, 0, 0}, {0, 0, 10, 0}, {200, 200, 200, 0}})));
    img.SetColor(0, 0, Bgr(200, 200, 200));
    EXPECT_EQ(img.GetIndex(0, 0), 3) << "exact match";
    img.SetColor(0, 0, Bgr(0, 9, 0));
    EXPECT_EQ(img.GetIndex(0, 0), 1);
    img.SetColor(0, 0, Bgr(150, 150, 150));
    EXPECT_EQ(img.GetIndex(0, 0), 3);
    img.SetColor(0, 0, Bgr(0, 0, 0));
    EXPECT_EQ(img.GetIndex(0, 0), 0) << "a three-way tie goes to the first entry";
}

TEST(PixelAccess, SixteenBitsUnpackWithoutReplication)
{
    DibImage16 img;
    ASSERT_TRUE(img.Create(3, 1, 16));
    // 5-5-5 word: red 0x1F, green 0x01, blue 0x10.
    const uint16_t v = 0x1F << 10 | 0x01 << 5 | 0x10;
    img.Row(0)[0] = uint8_t(v);
    img.Row(0)[1] = uint8_t(v >> 8);
    EXPECT_EQ(ColorAt(img, 0, 0), Bgr(0x80, 0x08, 0xF8));
    img.SetColor(1, 0, Bgr(0xFF, 0x17, 0x88));
    EXPECT_EQ(img.Word(1, 0), (0x88 & 0xF8) << 7 | (0x17 & 0xF8) << 2 | 0xFF >> 3);

    DibImage16 i565;
    ASSERT_TRUE(i565.Create(1, 1, 16, 0, true));
    i565.SetColor(0, 0, Bgr(0xFF, 0x17, 0x88));
    EXPECT_EQ(i565.Word(0, 0), (0x88 & 0xF8) << 8 | (0x17 & 0xFC) << 3 | 0xFF >> 3);
    EXPECT_EQ(ColorAt(i565, 0, 0), Bgr(0xF8, 0x14, 0x88));
}

TEST(PixelAccess, TwentyFourAndThirtyTwoBitByteOrder)
{
    DibImage24 i24;
    ASSERT_TRUE(i24.Create(2, 1, 24));
    i24.SetColor(1, 0, DibColor::Rgb(1, 2, 3, 4));
    EXPECT_EQ(i24.Pixel(1, 0)[0], 3);
    EXPECT_EQ(i24.Pixel(1, 0)[2], 1);
    EXPECT_EQ(ColorAt(i24, 1, 0), DibColor::Rgb(1, 2, 3, 255)) << "24 bits read opaque";

    DibImage32 i32;
    ASSERT_TRUE(i32.Create(2, 1, 32));
    i32.SetColor(0, 0, DibColor::Rgb(1, 2, 3, 4));
    EXPECT_EQ(i32.Pixel(0, 0)[3], 4);
    EXPECT_EQ(ColorAt(i32, 0, 0), DibColor::Rgb(1, 2, 3, 4));
    EXPECT_EQ(DibColor::FromValue(0xFF0000).red, 255);
}

TEST(PixelAccess, OutsideTheImageFails)
{
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        DibImage img;
        ASSERT_TRUE(img.Create(2, 2, bpp));
        DibColor c;
        EXPECT_FALSE(img.GetColor(c, 2, 0)) << bpp;
        EXPECT_FALSE(img.GetColor(c, 0, -1)) << bpp;
        EXPECT_FALSE(img.SetColor(-1, 0, c)) << bpp;
        EXPECT_EQ(img.GetIndex(0, 2), -1) << bpp;
    }
    DibImage24 rgb;
    ASSERT_TRUE(rgb.Create(1, 1, 24));
    EXPECT_EQ(rgb.GetIndex(0, 0), -1) << "no palette";
    EXPECT_FALSE(rgb.SetIndex(0, 0, 1));
}
