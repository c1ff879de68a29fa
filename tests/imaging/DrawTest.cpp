// Drawing in software: fills with exclusions, frames, lines, ellipses, inversion, scrolling,
// tiling and drawing images into images.
#include "ImageTestUtil.h"

using namespace tessary;
using namespace tessary::test;

namespace {

const DibColor kWhite = Bgr(255, 255, 255);
const DibColor kBlack = Bgr(0, 0, 0);

// White as far as the depth can store it (16 bits keep the top five bits).
bool IsWhite(const DibImage& img, int x, int y)
{
    const DibColor c = ColorAt(img, x, y);
    return c.red >= 248 && c.green >= 248 && c.blue >= 248;
}

// The image as text rows: '#' white, '.' anything else.
std::string Picture(const DibImage& img)
{
    std::string s;
    for (int y = 0; y < img.Height(); ++y) {
        for (int x = 0; x < img.Width(); ++x)
            s += IsWhite(img, x, y) ? '#' : '.';
        s += '\n';
    }
    return s;
}

DibImage Blank(int w, int h, int bpp = 24)
{
    DibImage img;
    EXPECT_TRUE(img.Create(w, h, bpp));
    EXPECT_TRUE(img.Clear(kBlack));
    return img;
}

} // namespace

TEST(Draw, FillRectLeavesTheExcludedPartAtEveryDepth)
{
    const DibRect rect{1, 1, 9, 6};
    const DibRect exclude{3, 2, 6, 4};
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        DibImage img = Blank(11, 7, bpp);
        ASSERT_TRUE(img.FillRect(DibRect{9, 6, 1, 1}, kWhite, exclude)) << bpp;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 11; ++x)
                ASSERT_EQ(IsWhite(img, x, y), rect.Contains(x, y) && !exclude.Contains(x, y))
                    << "bpp " << bpp << " at " << x << "," << y;
    }
}

TEST(Draw, FillRectClipsAndRefusesEmptyRects)
{
    DibImage img = Blank(4, 3);
    EXPECT_TRUE(img.FillRect(DibRect{INT32_MIN, -5, INT32_MAX, 1}, kWhite));
    EXPECT_EQ(Picture(img), "####\n....\n....\n");
    EXPECT_TRUE(img.FillRect(DibRect{10, 10, 20, 20}, kWhite)) << "outside: nothing to do";
    EXPECT_FALSE(img.FillRect(DibRect{1, 1, 1, 3}, kWhite));
    DibImage empty;
    EXPECT_FALSE(empty.Clear(kWhite));
}

TEST(Draw, FrameOutlineAndFill)
{
    DibImage img = Blank(6, 5);
    ASSERT_TRUE(img.Frame(DibRect{1, 1, 5, 5}, kWhite, false));
    EXPECT_EQ(Picture(img), "......\n.####.\n.#..#.\n.#..#.\n.####.\n");
    ASSERT_TRUE(img.Frame(DibRect{0, 0, 6, 5}, kWhite, true, DibRect{2, 2, 4, 4}));
    EXPECT_EQ(Picture(img), "######\n######\n##..##\n##..##\n######\n");

    DibImage none = Blank(6, 5);
    EXPECT_TRUE(none.Frame(DibRect{1, 1, 5, 5}, kWhite, true, DibRect{0, 0, 6, 6})) << "covered: nothing";
    EXPECT_EQ(Picture(none), Picture(Blank(6, 5)));
    EXPECT_TRUE(none.Frame(DibRect{1, 1, 5, 5}, kWhite, false, DibRect{0, 0, 6, 2}));
    EXPECT_EQ(Picture(none), "......\n......\n.#..#.\n.#..#.\n.####.\n");
}

TEST(Draw, LinesDrawBothEnds)
{
    DibImage img = Blank(5, 4);
    ASSERT_TRUE(img.Line({0, 0}, {4, 0}, kWhite));
    ASSERT_TRUE(img.Line({0, 3}, {0, 1}, kWhite));
    EXPECT_EQ(Picture(img), "#####\n#....\n#....\n#....\n");

    DibImage diag = Blank(4, 4);
    ASSERT_TRUE(diag.Line({3, 3}, {0, 0}, kWhite));
    EXPECT_EQ(Picture(diag), "#...\n.#..\n..#.\n...#\n");

    DibImage shallow = Blank(5, 2);
    ASSERT_TRUE(shallow.Line({0, 0}, {4, 1}, kWhite));
    EXPECT_EQ(Picture(shallow), "##...\n..###\n");
    // Drawn back the other way it covers the same pixels except where halves round away.
    DibImage steep = Blank(2, 5);
    ASSERT_TRUE(steep.Line({0, 0}, {1, 4}, kWhite));
    EXPECT_EQ(Picture(steep), "#.\n#.\n.#\n.#\n.#\n");

    DibImage point = Blank(3, 3);
    ASSERT_TRUE(point.Line({1, 1}, {1, 1}, kWhite));
    EXPECT_EQ(Picture(point), "...\n.#.\n...\n");
}

TEST(Draw, FarOffLinesAreClippedCheaply)
{
    DibImage img = Blank(6, 6);
    ASSERT_TRUE(img.Line({INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, kWhite));
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(IsWhite(img, i, i)) << i;
    DibImage other = Blank(6, 6);
    ASSERT_TRUE(other.Line({-100, 2}, {100, 2}, kWhite));
    EXPECT_EQ(Picture(other), "......\n......\n######\n......\n......\n......\n");
    ASSERT_TRUE(other.Line({-100, -100}, {-1, 50}, kWhite));
    EXPECT_EQ(Picture(other), "......\n......\n######\n......\n......\n......\n");
}

TEST(Draw, EllipseFillsPixelCentresInside)
{
    DibImage img = Blank(7, 5);
    ASSERT_TRUE(img.FillEllipse(DibRect{0, 0, 7, 5}, kWhite));
    EXPECT_EQ(Picture(img), ".#####.\n#######\n#######\n#######\n.#####.\n");

    DibImage dot = Blank(3, 3);
    ASSERT_TRUE(dot.FillEllipse(DibRect{1, 1, 2, 2}, kWhite));
    EXPECT_EQ(Picture(dot), "...\n.#.\n...\n");

    // The area of a larger disc is close to pi r^2.
    DibImage disc = Blank(64, 64, 8);
    ASSERT_TRUE(disc.FillEllipse(DibRect{0, 0, 64, 64}, kWhite));
    int count = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            count += IsWhite(disc, x, y);
    EXPECT_NEAR(count, 3.14159 * 32 * 32, 40);
    EXPECT_FALSE(disc.FillEllipse(DibRect{3, 3, 3, 9}, kWhite));
}

TEST(Draw, InvertFlipsStoredValues)
{
    DibImage pal;
    ASSERT_TRUE(pal.Create(3, 1, 4));
    pal.SetIndex(0, 0, 0x3);
    ASSERT_TRUE(pal.Invert());
    EXPECT_EQ(pal.GetIndex(0, 0), 0xC);
    EXPECT_EQ(pal.GetIndex(1, 0), 0xF);

    DibImage32 rgba;
    ASSERT_TRUE(rgba.Create(2, 1, 32));
    rgba.SetColor(0, 0, DibColor::Rgb(1, 2, 3, 77));
    ASSERT_TRUE(rgba.Invert());
    EXPECT_EQ(ColorAt(rgba, 0, 0), DibColor::Rgb(254, 253, 252, 77)) << "alpha kept";

    for (int bpp : {1, 8, 16, 24}) {
        DibImage img = Blank(9, 4, bpp);
        ASSERT_TRUE(img.InvertRect(DibRect{0, 0, 9, 4}, DibRect{2, 1, 9, 3}));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 9; ++x)
                ASSERT_EQ(IsWhite(img, x, y), !(x >= 2 && y >= 1 && y < 3)) << bpp << " " << x << "," << y;
        ASSERT_TRUE(img.Invert());
        ASSERT_TRUE(img.Invert());
    }
}

TEST(Draw, ScrollMovesWithinTheRect)
{
    for (int bpp : {1, 4, 24}) {
        DibImage img = Blank(6, 4, bpp);
        img.SetColor(1, 1, kWhite);
        img.SetColor(2, 1, kWhite);
        img.SetColor(5, 0, kWhite);
        ASSERT_TRUE(img.Scroll(DibRect{0, 0, 5, 4}, 2, 1)) << bpp;
        EXPECT_EQ(Picture(img), ".....#\n.#....\n...##.\n......\n") << bpp << ": uncovered pixels stay";
        ASSERT_TRUE(img.Scroll(DibRect{0, 0, 6, 4}, -3, -2));
        EXPECT_EQ(Picture(img), "##...#\n......\n...##.\n......\n") << bpp;
    }
    DibImage img = Blank(3, 3);
    EXPECT_TRUE(img.Scroll(DibRect{0, 0, 3, 3}, 0, 0));
    EXPECT_TRUE(img.Scroll(DibRect{0, 0, 3, 3}, 50, 0)) << "everything scrolled out of the rect";
    EXPECT_FALSE(img.Scroll(DibRect{0, 0, 0, 3}, 1, 0));
}

TEST(Draw, TileRepeatsThePattern)
{
    const DibImage pattern = MakeImage(3, 2, 8, [](int x, int y) { return Bgr(uint8_t(x * 40 + y * 100), uint8_t(x * 40 + y * 100), uint8_t(x * 40 + y * 100)); });
    for (int bpp : {8, 24}) {
        DibImage img = Blank(8, 5, bpp);
        ASSERT_TRUE(img.Tile(pattern));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_TRUE(ColorAt(img, x, y).SameRgb(ColorAt(pattern, x % 3, y % 2))) << bpp << " " << x << "," << y;
    }
    DibImage img = Blank(2, 2);
    DibImage empty;
    EXPECT_FALSE(img.Tile(empty));
}

TEST(Draw, DrawImageConvertsAndClips)
{
    const DibImage24 src = Numbered24(3, 3);
    DibImage dst = Blank(4, 4);
    ASSERT_TRUE(dst.DrawImage(src, -1, 2));
    EXPECT_EQ(ColorAt(dst, 0, 2), ColorAt(src, 1, 0));
    EXPECT_EQ(ColorAt(dst, 1, 3), ColorAt(src, 2, 1));
    EXPECT_EQ(ColorAt(dst, 0, 1), kBlack);

    // A source block, and a source rect reaching outside the source.
    DibImage part = Blank(4, 4);
    ASSERT_TRUE(part.DrawImage(src, 1, 1, DibRect{-1, 1, 2, 3}));
    EXPECT_EQ(ColorAt(part, 2, 1), ColorAt(src, 0, 1));
    EXPECT_EQ(ColorAt(part, 3, 2), ColorAt(src, 1, 2));
    EXPECT_EQ(ColorAt(part, 1, 1), kBlack);

    // Into a palette image: the nearest entries of its table.
    DibImage grey = Blank(2, 1, 8);
    const DibImage colour = MakeImage(2, 1, 24, [](int x, int) { return x ? Bgr(200, 200, 200) : Bgr(10, 20, 30); });
    ASSERT_TRUE(grey.DrawImage(colour, 0, 0));
    EXPECT_EQ(grey.GetIndex(1, 0), 200);
    EXPECT_EQ(grey.GetIndex(0, 0), 20);

    // 32 bits onto 24 copies colour without blending.
    DibImage rgba = MakeImage(1, 1, 32, [](int, int) { return DibColor::Rgb(9, 8, 7, 0); });
    DibImage plain = Blank(1, 1);
    ASSERT_TRUE(plain.DrawImage(rgba, 0, 0));
    EXPECT_EQ(ColorAt(plain, 0, 0), DibColor::Rgb(9, 8, 7));
}

TEST(Draw, StretchImageFollowsTheSourceFlag)
{
    DibImage24 src;
    ASSERT_TRUE(src.Create(2, 1, 24));
    src.SetColor(1, 0, kWhite);
    DibImage dst = Blank(3, 2);
    ASSERT_TRUE(dst.StretchImage(src, DibRect{1, 1, 2, 2}, DibRect{0, 0, 2, 1}));
    EXPECT_EQ(ColorAt(dst, 1, 1), kWhite) << "nearest: the pixel under the centre";
    src.SetSmoothStretch(true);
    ASSERT_TRUE(dst.StretchImage(src, DibRect{1, 1, 2, 2}, DibRect{0, 0, 2, 1}));
    EXPECT_EQ(ColorAt(dst, 1, 1), Bgr(128, 128, 128));
    EXPECT_EQ(ColorAt(dst, 0, 0), kBlack);
    EXPECT_FALSE(dst.StretchImage(src, DibRect{0, 0, 0, 2}, DibRect{0, 0, 2, 1}));
    EXPECT_FALSE(dst.StretchImage(src, DibRect{0, 0, 1, 1}, DibRect{5, 5, 9, 9}));
}
