// Colour reduction: octree palettes, Burkes monochrome, threshold, palette mapping with and
// without error diffusion.
#include <set>

#include "ImageTestUtil.h"
#include "imaging/OctreeQuantiser.h"

using namespace tessary;
using namespace tessary::test;

namespace {

DibImage Grey24(const std::vector<uint8_t>& greys)
{
    return MakeImage(int(greys.size()), 1, 24, [&](int x, int) {
        const uint8_t g = greys[size_t(x)];
        return Bgr(g, g, g);
    });
}

} // namespace

TEST(Quantise, FewerColoursThanAskedGiveOneEntryEach)
{
    const DibColor cs[] = {Bgr(10, 20, 30), Bgr(200, 0, 0), Bgr(0, 200, 0), Bgr(0, 0, 200), Bgr(7, 7, 7)};
    const DibImage img = MakeImage(10, 10, 24, [&](int x, int y) { return cs[(x + y) % 5]; });
    for (int wanted : {5, 16, 256}) {
        const ColorTable t = Quantise(img, wanted);
        ASSERT_EQ(t.Count(), 5) << wanted;
        std::set<uint32_t> got;
        for (const DibColor& c : t.Entries())
            got.insert(c.Value() & 0xFFFFFF);
        for (const DibColor& c : cs)
            EXPECT_TRUE(got.count(c.Value() & 0xFFFFFF)) << wanted;
    }
}

TEST(Quantise, ReducesToTheLeafLimit)
{
    // 4096 distinct colours.
    const DibImage img = MakeImage(64, 64, 24, [](int x, int y) {
        return Bgr(uint8_t(x * 4), uint8_t(y * 4), uint8_t((x ^ y) * 4));
    });
    OctreeQuantiser q(256);
    ASSERT_TRUE(q.Feed(img));
    EXPECT_LE(q.LeafCount(), 256);
    EXPECT_GT(q.LeafCount(), 64);
    EXPECT_EQ(q.Palette(256).Count(), q.LeafCount());
    EXPECT_FALSE(q.Feed(img)) << "a second feed needs a reset";
    q.Reset();
    EXPECT_TRUE(q.Feed(img));

    DibImage i32;
    ASSERT_TRUE(i32.Create(2, 2, 32));
    EXPECT_FALSE(OctreeQuantiser(16).Feed(i32));
    EXPECT_TRUE(Quantise(i32, 16).IsEmpty());
}

TEST(Quantise, BelowSixteenMergesGroupsWeightedByCount)
{
    // Four greys; the 16-leaf tree keeps all four, merged into two groups of two. The first
    // group has 3 pixels of 0 and 1 of 40: (0 * 3 + 40) / 4 = 10.
    const DibImage img = Grey24({0, 0, 0, 40, 200, 200, 255, 255});
    const ColorTable t = Quantise(img, 2);
    ASSERT_EQ(t.Count(), 2);
    EXPECT_EQ(t.At(0), (DibColor{10, 10, 10, 255}));
    EXPECT_EQ(t.At(1), (DibColor{227, 227, 227, 255}));
}

TEST(Quantise, PaletteSourcesUseTheirTableColours)
{
    DibImage pal;
    ASSERT_TRUE(pal.Create(4, 1, 8, 3));
    ASSERT_TRUE(pal.SetColors(ColorTable(std::vector<DibColor>{{1, 2, 3, 4}, {50, 60, 70, 80}, {9, 9, 9, 9}})));
    pal.SetIndex(0, 0, 1);
    pal.SetIndex(1, 0, 1);
    pal.SetIndex(2, 0, 0);
    pal.SetIndex(3, 0, 1);
    const ColorTable t = Quantise(pal, 16);
    ASSERT_EQ(t.Count(), 2);
    EXPECT_EQ(t.At(0), (DibColor{1, 2, 3, 4})) << "alpha included";
    EXPECT_EQ(t.At(1), (DibColor{50, 60, 70, 80}));
}

TEST(Dither, BurkesAroundTheMiddleGrey)
{
    DibImage1 mono;
    // 128 is black with error +128: the next pixel gets 128 * 8 / 32 = 32 and turns white.
    ASSERT_TRUE(Grey24({128, 128}).ToMonochrome(mono));
    EXPECT_EQ(mono.GetIndex(0, 0), 0);
    EXPECT_EQ(mono.GetIndex(1, 0), 1);
    // 129 is white with error -126: the next gets -126 * 8 / 32 = -31 (toward zero) -> 98.
    ASSERT_TRUE(Grey24({129, 129, 129}).ToMonochrome(mono));
    EXPECT_EQ(mono.GetIndex(0, 0), 1);
    EXPECT_EQ(mono.GetIndex(1, 0), 0);
    // Third pixel: 129 - 126 * 4 / 32 (= -15) -> 114, then + 98 * 8 / 32 (= 24) -> 138: white.
    EXPECT_EQ(mono.GetIndex(2, 0), 1);
    EXPECT_EQ(mono.Colors(), ColorTable::Default(1));
}

TEST(Dither, BurkesSpreadsIntoTheNextRow)
{
    // A 3 x 2 field of 100: (0,0) black with error 100; (0,1) gets 100 * 8 / 32 = 25 and
    // (1,1) 100 * 4 / 32 = 12 from it, and more from (1,0) and (2,0).
    DibImage src = MakeImage(3, 2, 24, [](int, int) { return Bgr(100, 100, 100); });
    DibImage1 mono;
    ASSERT_TRUE(src.ToMonochrome(mono));
    // Row 0: 100 -> 0 (e 100); 125 -> 0 (e 125); 100+12+31 = 143 -> 1 (e -112).
    EXPECT_EQ(mono.GetIndex(0, 0), 0);
    EXPECT_EQ(mono.GetIndex(1, 0), 0);
    EXPECT_EQ(mono.GetIndex(2, 0), 1);
    // Row 1, x = 0: 100 + 25 (from 0,0) + 125 * 4 / 32 (= 15, from 1,0) + (-112) * 2 / 32
    // (= -7, from 2,0) = 133 -> white.
    EXPECT_EQ(mono.GetIndex(0, 1), 1);
}

TEST(Dither, ThresholdLevels)
{
    const DibImage src = Grey24({0, 99, 100, 255});
    DibImage1 t;
    ASSERT_TRUE(src.ToThreshold(t, 100));
    EXPECT_EQ(t.GetIndex(0, 0), 0);
    EXPECT_EQ(t.GetIndex(1, 0), 0);
    EXPECT_EQ(t.GetIndex(2, 0), 1);
    EXPECT_EQ(t.GetIndex(3, 0), 1);
    ASSERT_TRUE(src.ToThreshold(t, 0));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(t.GetIndex(x, 0), 1);
    ASSERT_TRUE(src.ToThreshold(t, 255));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(t.GetIndex(x, 0), 0) << "even white stays below 255";
}

TEST(Dither, MapToPaletteWithAndWithoutDiffusion)
{
    const ColorTable bw = ColorTable::Default(1);
    const DibImage src = Grey24({100, 100, 100});
    DibImage1 plain, dithered;
    ASSERT_TRUE(src.MapToPalette(plain, 1, bw, false));
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(plain.GetIndex(x, 0), 0);
    // 100 -> black, error 100 * 7 / 16 = 43 -> 143 -> white, error -112 * 7 / 16 = -49 -> 51.
    ASSERT_TRUE(src.MapToPalette(dithered, 1, bw, true));
    EXPECT_EQ(dithered.GetIndex(0, 0), 0);
    EXPECT_EQ(dithered.GetIndex(1, 0), 1);
    EXPECT_EQ(dithered.GetIndex(2, 0), 0);

    // The same through the generic path of a 16-bit working copy (100 is stored as 96).
    DibImage16 s16;
    ASSERT_TRUE(src.To16(s16, true));
    ASSERT_TRUE(s16.MapToPalette(dithered, 1, bw, true));
    EXPECT_EQ(dithered.GetIndex(0, 0), 0);
    EXPECT_EQ(dithered.GetIndex(1, 0), 1);

    DibImage8 eight;
    EXPECT_FALSE(src.MapToPalette(eight, 8, ColorTable(std::vector<DibColor>(257)), false)) << "table too long";
    EXPECT_FALSE(src.MapToPalette(eight, 8, ColorTable(), false));
    DibImage4 four;
    EXPECT_FALSE(plain.MapToPalette(four, 4, bw, false)) << "target must be shallower";
}

TEST(Dither, PaletteConversions)
{
    const DibColor cs[] = {Bgr(255, 0, 0), Bgr(0, 255, 0), Bgr(0, 0, 255)};
    const DibImage src = MakeImage(6, 4, 24, [&](int x, int y) { return cs[(x + 2 * y) % 3]; });
    DibImage8 eight;
    ASSERT_TRUE(src.ToPalette8(eight, 256));
    EXPECT_EQ(eight.ColorCount(), 3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_TRUE(ColorAt(eight, x, y).SameRgb(cs[(x + 2 * y) % 3]));

    DibImage4 four;
    ASSERT_TRUE(src.ToPalette4(four, 99));
    EXPECT_EQ(four.ColorCount(), 3);
    ASSERT_TRUE(eight.ToPalette4(four, 2)) << "8-bit sources are quantised from their table";
    EXPECT_EQ(four.ColorCount(), 2);

    // A 32-bit source always gets the full count it can.
    DibImage i32 = MakeImage(32, 32, 32, [](int x, int y) { return Bgr(uint8_t(x * 8), uint8_t(y * 8), 0); });
    ASSERT_TRUE(i32.ToPalette4(four, 2));
    EXPECT_GT(four.ColorCount(), 2);
    EXPECT_LE(four.ColorCount(), 16);

    // Sources of the target depth are copied, shallower ones expanded.
    DibImage8 copy;
    ASSERT_TRUE(eight.ToPalette8(copy, 2));
    EXPECT_EQ(copy.Colors(), eight.Colors());
    DibImage1 mono;
    ASSERT_TRUE(src.ToMonochrome(mono));
    ASSERT_TRUE(mono.ToPalette8(copy, 256));
    EXPECT_EQ(copy.ColorCount(), 2);
    EXPECT_EQ(Colors(copy), Colors(mono));
}
