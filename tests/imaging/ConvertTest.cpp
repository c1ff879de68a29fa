// Conversions between depths: the packing formulas, flattening, alpha from bit fields,
// normalisation, grey, palette expansion and the ToDepth dispatch.
#include <cstring>

#include "ImageTestUtil.h"

using namespace tessary;
using namespace tessary::test;

namespace {

// A 32-bit image declared with bit fields `masks`, whose raw pixel values are `values`.
DibImage BitField32(const std::array<uint32_t, 4>& masks, const std::vector<uint32_t>& values)
{
    BitmapInfoBlock block;
    block.header.width = int32_t(values.size());
    block.header.height = 1;
    block.header.bitCount = 32;
    block.header.compression = kBiBitFields;
    block.hasMasks = true;
    block.masks = masks;
    DibImage img;
    EXPECT_TRUE(img.CreateFromInfo(block));
    for (size_t i = 0; i < values.size(); ++i)
        std::memcpy(img.Row(0) + 4 * i, &values[i], 4);
    return img;
}

} // namespace

TEST(Convert, TwentyFourToSixteenBothLayouts)
{
    const DibImage src = MakeImage(2, 1, 24, [](int x, int) { return x ? Bgr(0x0F, 0xF3, 0x8C) : Bgr(255, 255, 255); });
    DibImage16 i555, i565;
    ASSERT_TRUE(src.To16(i555, true));
    ASSERT_TRUE(src.To16(i565, false));
    EXPECT_FALSE(i555.UsesBitFields());
    EXPECT_TRUE(i565.UsesBitFields());
    EXPECT_EQ(i555.Word(0, 0), 0x7FFF);
    EXPECT_EQ(i555.Word(1, 0), (0x8C & 0xF8) << 7 | (0xF3 & 0xF8) << 2 | 0x0F >> 3);
    EXPECT_EQ(i565.Word(0, 0), 0xFFFF);
    EXPECT_EQ(i565.Word(1, 0), (0x8C & 0xF8) << 8 | (0xF3 & 0xFC) << 3 | 0x0F >> 3);

    DibImage24 back;
    ASSERT_TRUE(i555.To24(back));
    EXPECT_EQ(ColorAt(back, 0, 0), Bgr(0xF8, 0xF8, 0xF8)) << "no replication of the low bits";
    EXPECT_EQ(ColorAt(back, 1, 0), Bgr(0x08, 0xF0, 0x88));
}

TEST(Convert, FlatteningBlendsOntoTheBackground)
{
    DibImage32 src;
    ASSERT_TRUE(src.Create(4, 1, 32));
    src.SetColor(0, 0, DibColor::Rgb(10, 20, 30, 255));
    src.SetColor(1, 0, DibColor::Rgb(10, 20, 30, 0));
    src.SetColor(2, 0, DibColor::Rgb(0, 0, 0, 128));
    src.SetColor(3, 0, DibColor::Rgb(200, 100, 0, 1));
    DibImage24 white, grey;
    ASSERT_TRUE(src.To24(white));
    EXPECT_EQ(ColorAt(white, 0, 0), DibColor::Rgb(10, 20, 30));
    EXPECT_EQ(ColorAt(white, 1, 0), DibColor::Rgb(255, 255, 255));
    // 255 + (128 * -255 >> 8): the arithmetic shift rounds down, to 127 rather than 128.
    EXPECT_EQ(ColorAt(white, 2, 0), DibColor::Rgb(127, 127, 127));
    // Weight 1: 255 + (1 * -55 >> 8) = 254; 255 + (1 * -255 >> 8) = 254.
    EXPECT_EQ(ColorAt(white, 3, 0), DibColor::Rgb(254, 254, 254));
    ASSERT_TRUE(src.To24(grey, DibColor::Rgb(100, 100, 100)));
    EXPECT_EQ(ColorAt(grey, 1, 0), DibColor::Rgb(100, 100, 100));
    EXPECT_EQ(ColorAt(grey, 2, 0), DibColor::Rgb(50, 50, 50));
}

TEST(Convert, ThirtyTwoBitsGetOpaqueAlphaExceptFromAlphaSources)
{
    const DibImage pal = MakeImage(2, 1, 4, [](int x, int) { return x ? Bgr(0, 0, 255) : Bgr(0, 0, 0); });
    DibImage32 out;
    ASSERT_TRUE(pal.To32(out));
    EXPECT_EQ(ColorAt(out, 1, 0), DibColor::Rgb(255, 0, 0, 255));

    // 4-4-4-4 with alpha: alpha = (v & mask) >> shift * 255 / 15.
    BitmapInfoBlock block;
    block.header.width = 1;
    block.header.height = 1;
    block.header.bitCount = 16;
    block.header.compression = kBiBitFields;
    block.hasMasks = true;
    block.masks = {0x0F00, 0x00F0, 0x000F, 0xF000};
    DibImage argb;
    ASSERT_TRUE(argb.CreateFromInfo(block));
    argb.Row(0)[0] = 0x3C; // green 3, blue 12
    argb.Row(0)[1] = 0x8F; // alpha 8, red 15
    ASSERT_TRUE(argb.To32(out));
    EXPECT_EQ(ColorAt(out, 0, 0), DibColor::Rgb(0xF0, 0x30, 0xC0, 8 * 255 / 15));
    EXPECT_EQ(ColorAt(argb, 0, 0).alpha, 255) << "reading a 16-bit pixel gives alpha 255";
}

TEST(Convert, NormalizeThirtyTwoBitFields)
{
    // Red in the low byte, blue in the third, no alpha mask: alpha comes out 0 everywhere,
    // so the image is made opaque.
    const std::array<uint32_t, 4> swapped{0x0000FF, 0x00FF00, 0xFF0000, 0};
    DibImage noAlpha = BitField32(swapped, {0x00112233, 0x00445566});
    ASSERT_TRUE(noAlpha.Normalize());
    EXPECT_FALSE(noAlpha.UsesBitFields());
    EXPECT_EQ(ColorAt(noAlpha, 0, 0), DibColor::Rgb(0x33, 0x22, 0x11, 255));
    EXPECT_EQ(ColorAt(noAlpha, 1, 0), DibColor::Rgb(0x66, 0x55, 0x44, 255));

    // With an alpha mask and some nonzero alpha, alpha is kept as it is (zeros included).
    DibImage withAlpha = BitField32({0x0000FF, 0x00FF00, 0xFF0000, 0xFF000000}, {0x80112233, 0x00445566});
    ASSERT_TRUE(withAlpha.Normalize());
    EXPECT_EQ(ColorAt(withAlpha, 0, 0), DibColor::Rgb(0x33, 0x22, 0x11, 0x80));
    EXPECT_EQ(ColorAt(withAlpha, 1, 0), DibColor::Rgb(0x66, 0x55, 0x44, 0));

    // Ten bits per channel: the low bits are dropped.
    DibImage wide = BitField32({0x3FF00000, 0x000FFC00, 0x000003FF, 0}, {0x3FF00000 | (0x200 << 10) | 0x004});
    ASSERT_TRUE(wide.Normalize());
    EXPECT_EQ(ColorAt(wide, 0, 0), DibColor::Rgb(255, 128, 1, 255));

    // Standard masks: untouched, zero alpha included.
    DibImage standard = BitField32({0xFF0000, 0x00FF00, 0x0000FF, 0}, {0x00112233});
    ASSERT_TRUE(standard.Normalize());
    EXPECT_EQ(standard.Row(0)[3], 0);
    EXPECT_EQ(standard.Row(0)[0], 0x33);
}

TEST(Convert, NormalizeSixteenBitFieldsTo555)
{
    DibImage16 img;
    ASSERT_TRUE(img.Create(2, 1, 16, 0, true));
    img.SetColor(0, 0, Bgr(0xF8, 0xFC, 0x08));
    img.SetColor(1, 0, Bgr(0x10, 0x24, 0x80));
    ASSERT_TRUE(img.Normalize());
    EXPECT_FALSE(img.UsesBitFields());
    EXPECT_EQ(img.Header()->masks[0], 0x7C00u);
    EXPECT_EQ(ColorAt(img, 0, 0), Bgr(0xF8, 0xF8, 0x08));
    EXPECT_EQ(ColorAt(img, 1, 0), Bgr(0x10, 0x20, 0x80));

    DibImage24 rgb;
    ASSERT_TRUE(rgb.Create(1, 1, 24));
    EXPECT_FALSE(rgb.Normalize());
}

TEST(Convert, GreyWeightsRoundToNearest)
{
    const DibImage src = MakeImage(4, 1, 24, [](int x, int) {
        const DibColor cs[] = {Bgr(0, 0, 255), Bgr(0, 255, 0), Bgr(255, 0, 0), Bgr(1, 2, 3)};
        return cs[x];
    });
    DibImage8 grey;
    ASSERT_TRUE(src.ToGray8(grey));
    EXPECT_EQ(grey.At(0, 0), (255 * 30 + 50) / 100);
    EXPECT_EQ(grey.At(1, 0), (255 * 59 + 50) / 100);
    EXPECT_EQ(grey.At(2, 0), (255 * 11 + 50) / 100);
    EXPECT_EQ(grey.At(3, 0), (2 * 59 + 3 * 30 + 1 * 11 + 50) / 100);
    EXPECT_EQ(grey.Colors(), ColorTable::Default(8));

    // Palette sources go through their table colours.
    DibImage pal = MakeImage(1, 1, 4, [](int, int) { return Bgr(0, 0, 255); });
    ASSERT_TRUE(pal.ToGray8(grey));
    EXPECT_EQ(grey.At(0, 0), (255 * 30 + 50) / 100);
}

TEST(Convert, ExpandPaletteKeepsColoursAndTable)
{
    DibImage1 mono;
    ASSERT_TRUE(mono.Create(9, 2, 1));
    mono.SetIndex(8, 1, 1);
    DibImage8 eight;
    ASSERT_TRUE(mono.ExpandPalette(eight, 8));
    EXPECT_EQ(eight.ColorCount(), 2);
    EXPECT_EQ(Colors(eight), Colors(mono));
    DibImage4 four;
    EXPECT_FALSE(eight.ExpandPalette(four, 4)) << "only to a deeper depth";
    DibImage24 rgb;
    EXPECT_FALSE(mono.ExpandPalette(rgb, 24));
}

TEST(Convert, ToDepthDispatchesAndChecksTheTarget)
{
    const DibImage24 src = Numbered24(6, 5);
    DibImage out;
    ASSERT_TRUE(src.ToDepth(out, 15));
    EXPECT_EQ(out.Bpp(), 16);
    EXPECT_FALSE(out.UsesBitFields());
    ASSERT_TRUE(src.ToDepth(out, 16));
    EXPECT_TRUE(out.UsesBitFields());
    for (int bpp : {1, 4, 8, 24, 32}) {
        ASSERT_TRUE(src.ToDepth(out, bpp)) << bpp;
        EXPECT_EQ(out.Bpp(), bpp);
        EXPECT_EQ(out.Size(), src.Size());
    }
    EXPECT_FALSE(src.ToDepth(out, 2));
    EXPECT_EQ(out.Bpp(), 32) << "failure leaves the target as it was";

    DibImage8 wrongClass;
    EXPECT_FALSE(src.ToDepth(wrongClass, 24));
    EXPECT_TRUE(wrongClass.IsEmpty());

    // Converting an image into itself replaces it.
    DibImage self;
    ASSERT_TRUE(self.CopyFrom(src));
    ASSERT_TRUE(self.To32(self));
    EXPECT_EQ(self.Bpp(), 32);
    EXPECT_EQ(ColorAt(self, 5, 4), ColorAt(src, 5, 4));
}
