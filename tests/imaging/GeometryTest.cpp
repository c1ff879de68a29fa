// Rotations, mirrors, transposes, crop, trim and the Exif orientation mapping.
#include <functional>

#include "ImageTestUtil.h"
#include "imaging/ExifOrientation.h"

using namespace tessary;
using namespace tessary::test;

namespace {

// A value per pixel that every depth can hold distinctly enough: palette depths store an
// index, the others a colour.
uint32_t Value(const DibImage& img, int x, int y)
{
    if (img.Bpp() <= 8)
        return uint32_t(img.GetIndex(x, y));
    return ColorAt(img, x, y).Value();
}

DibImage Patterned(int w, int h, int bpp)
{
    DibImage img;
    EXPECT_TRUE(img.Create(w, h, bpp));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (bpp <= 8)
                img.SetIndex(x, y, (x * 5 + y * 3 + x * y) % (1 << bpp));
            else
                img.SetColor(x, y, DibColor::Rgb(uint8_t(x * 8), uint8_t(y * 8), uint8_t(x * y * 8), 255));
        }
    return img;
}

struct Op {
    const char* name;
    std::function<bool(DibImage&)> run;
    bool swaps;
    // Source coordinates of destination pixel (x, y), for a source of w x h.
    std::function<std::pair<int, int>(int, int, int, int)> source;
};

const Op kOps[] = {
    {"Rotate180", [](DibImage& i) { return i.Rotate180(); }, false,
     [](int x, int y, int w, int h) { return std::pair{w - 1 - x, h - 1 - y}; }},
    {"RotateClockwise", [](DibImage& i) { return i.RotateClockwise(); }, true,
     [](int x, int y, int, int h) { return std::pair{y, h - 1 - x}; }},
    {"RotateCounterClockwise", [](DibImage& i) { return i.RotateCounterClockwise(); }, true,
     [](int x, int y, int w, int) { return std::pair{w - 1 - y, x}; }},
    {"MirrorHorizontal", [](DibImage& i) { return i.MirrorHorizontal(); }, false,
     [](int x, int y, int w, int) { return std::pair{w - 1 - x, y}; }},
    {"FlipVertical", [](DibImage& i) { return i.FlipVertical(); }, false,
     [](int x, int y, int, int h) { return std::pair{x, h - 1 - y}; }},
    {"Transpose", [](DibImage& i) { return i.Transpose(); }, true,
     [](int x, int y, int, int) { return std::pair{y, x}; }},
    {"Transverse", [](DibImage& i) { return i.Transverse(); }, true,
     [](int x, int y, int w, int h) { return std::pair{w - 1 - y, h - 1 - x}; }},
};

} // namespace

TEST(Geometry, HandMadeRotationsOf24Bits)
{
    // 3 x 2:  a b c      clockwise:  d a     counter-clockwise:  c f
    //         d e f                  e b                         b e
    //                                f c                         a d
    DibImage24 img;
    ASSERT_TRUE(img.Create(3, 2, 24));
    const char* letters = "abcdef";
    for (int i = 0; i < 6; ++i)
        img.SetColor(i % 3, i / 3, Bgr(uint8_t(letters[i]), 0, 0));
    auto text = [](const DibImage& im) {
        std::string s;
        for (int y = 0; y < im.Height(); ++y) {
            for (int x = 0; x < im.Width(); ++x)
                s += char(ColorAt(im, x, y).blue);
            s += '/';
        }
        return s;
    };
    DibImage24 cw, ccw, r180, tp, tv;
    cw.CopyFrom(img);
    ccw.CopyFrom(img);
    r180.CopyFrom(img);
    tp.CopyFrom(img);
    tv.CopyFrom(img);
    ASSERT_TRUE(cw.RotateClockwise());
    ASSERT_TRUE(ccw.RotateCounterClockwise());
    ASSERT_TRUE(r180.Rotate180());
    ASSERT_TRUE(tp.Transpose());
    ASSERT_TRUE(tv.Transverse());
    EXPECT_EQ(text(cw), "da/eb/fc/");
    EXPECT_EQ(text(ccw), "cf/be/ad/");
    EXPECT_EQ(text(r180), "fed/cba/");
    EXPECT_EQ(text(tp), "ad/be/cf/");
    EXPECT_EQ(text(tv), "fc/eb/da/");
}

TEST(Geometry, EveryOperationAtEveryDepth)
{
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        for (const Op& op : kOps) {
            for (auto [w, h] : {std::pair{1, 1}, std::pair{1, 5}, std::pair{7, 1}, std::pair{9, 4}, std::pair{17, 10}}) {
                const DibImage src = Patterned(w, h, bpp);
                DibImage dst;
                ASSERT_TRUE(dst.CopyFrom(src));
                ASSERT_TRUE(op.run(dst)) << op.name << " " << bpp;
                ASSERT_EQ(dst.Size(), op.swaps ? (DibSize{h, w}) : (DibSize{w, h})) << op.name;
                ASSERT_EQ(dst.Bpp(), src.Bpp());
                ASSERT_EQ(dst.Colors(), src.Colors());
                for (int y = 0; y < dst.Height(); ++y)
                    for (int x = 0; x < dst.Width(); ++x) {
                        const auto [sx, sy] = op.source(x, y, w, h);
                        ASSERT_EQ(Value(dst, x, y), Value(src, sx, sy))
                            << op.name << " bpp " << bpp << " " << w << "x" << h << " at " << x << "," << y;
                    }
            }
        }
    }
}

TEST(Geometry, TypedObjectsTakeTheirOwnPaths)
{
    DibImage24 img;
    ASSERT_TRUE(img.CopyFrom(Numbered24(5, 3)));
    const std::vector<uint32_t> before = Colors(img);
    ASSERT_TRUE(img.RotateClockwise());
    ASSERT_TRUE(img.RotateClockwise());
    ASSERT_TRUE(img.Rotate180());
    EXPECT_EQ(Colors(img), before);
    ASSERT_TRUE(img.Transpose());
    ASSERT_TRUE(img.Transverse());
    ASSERT_TRUE(img.Rotate180());
    EXPECT_EQ(Colors(img), before) << "transverse = transpose turned by 180 degrees";
}

TEST(Geometry, ExifOrientationMapping)
{
    const DibImage24 src = Numbered24(4, 3);
    auto apply = [&](int orientation) {
        DibImage24 img;
        img.CopyFrom(src);
        EXPECT_TRUE(ApplyExifOrientation(img, orientation)) << orientation;
        return img;
    };
    auto same = [](const DibImage& a, const DibImage& b) { return a.Size() == b.Size() && Colors(a) == Colors(b); };
    auto via = [&](bool (DibImage::*op)()) {
        DibImage24 img;
        img.CopyFrom(src);
        (img.*op)();
        return img;
    };
    for (int o : {0, 1, 9, -3})
        EXPECT_TRUE(same(apply(o), src)) << o;
    EXPECT_TRUE(same(apply(2), via(&DibImage::MirrorHorizontal)));
    EXPECT_TRUE(same(apply(3), via(&DibImage::Rotate180)));
    EXPECT_TRUE(same(apply(4), via(&DibImage::FlipVertical)));
    EXPECT_TRUE(same(apply(5), via(&DibImage::Transpose)));
    EXPECT_TRUE(same(apply(6), via(&DibImage::RotateClockwise)));
    EXPECT_TRUE(same(apply(7), via(&DibImage::Transverse)));
    EXPECT_TRUE(same(apply(8), via(&DibImage::RotateCounterClockwise)));
    // A photo stored turned left (6) shows its top-left corner at the top right.
    const DibImage24 upright = apply(6);
    EXPECT_EQ(ColorAt(upright, 2, 0), ColorAt(src, 0, 0));
    DibImage24 empty;
    EXPECT_FALSE(ApplyExifOrientation(empty, 6));
}

TEST(Geometry, CropKeepsOrBlanksContent)
{
    const DibImage24 src = Numbered24(6, 4);
    DibImage24 img;
    img.CopyFrom(src);
    ASSERT_TRUE(img.Crop(DibRect{4, 3, 1, 1}, true)) << "rect normalised";
    EXPECT_EQ(img.Size(), (DibSize{3, 2}));
    EXPECT_EQ(ColorAt(img, 0, 0), ColorAt(src, 1, 1));
    EXPECT_EQ(ColorAt(img, 2, 1), ColorAt(src, 3, 2));

    // Reaching outside: the uncovered part is zero.
    img.CopyFrom(src);
    ASSERT_TRUE(img.Crop(DibRect{-2, -1, 2, 1}, true));
    EXPECT_EQ(ColorAt(img, 0, 0), Bgr(0, 0, 0));
    EXPECT_EQ(ColorAt(img, 2, 1), ColorAt(src, 0, 0));

    // Same size: only shifts.
    img.CopyFrom(src);
    ASSERT_TRUE(img.Crop(DibRect{1, 0, 7, 4}, true));
    EXPECT_EQ(img.Size(), src.Size());
    EXPECT_EQ(ColorAt(img, 0, 0), ColorAt(src, 1, 0));
    EXPECT_EQ(ColorAt(img, 5, 0), Bgr(0, 0, 0));
    img.CopyFrom(src);
    ASSERT_TRUE(img.Crop(DibRect{3, 3, 9, 7}, false));
    EXPECT_EQ(Colors(img), Colors(src)) << "same size without content: no change";

    ASSERT_TRUE(img.Crop(DibRect{0, 0, 2, 2}, false));
    EXPECT_EQ(img.Size(), (DibSize{2, 2}));
    EXPECT_EQ(ColorAt(img, 1, 1), Bgr(0, 0, 0));

    // Degenerate rects fail and change nothing.
    img.CopyFrom(src);
    EXPECT_FALSE(img.Crop(DibRect{2, 2, 2, 5}, true));
    EXPECT_FALSE(img.Crop(DibRect{INT32_MIN, 0, INT32_MAX, 1}, true)) << "too large to allocate";
    EXPECT_EQ(Colors(img), Colors(src));

    // Palette images keep their table; 1-bit content moves bit by bit.
    DibImage mono = Patterned(13, 3, 1);
    DibImage cut;
    cut.CopyFrom(mono);
    ASSERT_TRUE(cut.Crop(DibRect{3, 1, 12, 3}, true));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(cut.GetIndex(x, y), mono.GetIndex(x + 3, y + 1));
}

TEST(Geometry, TrimBorder)
{
    DibImage24 img;
    ASSERT_TRUE(img.Create(8, 6, 24));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            img.SetColor(x, y, Bgr(9, 9, 9));
    const std::vector<uint32_t> flat = Colors(img);
    EXPECT_TRUE(img.TrimBorder()) << "one colour: success, unchanged";
    EXPECT_EQ(Colors(img), flat);

    img.SetColor(2, 1, Bgr(1, 1, 1));
    img.SetColor(5, 3, Bgr(2, 2, 2));
    ASSERT_TRUE(img.TrimBorder());
    EXPECT_EQ(img.Size(), (DibSize{4, 3}));
    EXPECT_EQ(ColorAt(img, 0, 0), Bgr(1, 1, 1));
    EXPECT_EQ(ColorAt(img, 3, 2), Bgr(2, 2, 2));

    DibImage eight = Patterned(5, 5, 8);
    eight.SetIndex(0, 0, 255);
    ASSERT_TRUE(eight.TrimBorder());
    EXPECT_EQ(eight.Size(), (DibSize{5, 5})) << "differs everywhere: nothing to trim";
}

TEST(Geometry, ResizeCanvasIsEightBitOnly)
{
    DibImage img = Patterned(4, 3, 8);
    DibImage copy;
    copy.CopyFrom(img);
    ASSERT_TRUE(img.ResizeCanvas(DibSize{6, 2}, DibPoint{2, -1}));
    EXPECT_EQ(img.Size(), (DibSize{6, 2}));
    EXPECT_EQ(img.GetIndex(0, 0), 0);
    EXPECT_EQ(img.GetIndex(2, 0), copy.GetIndex(0, 1));
    EXPECT_EQ(img.GetIndex(5, 1), copy.GetIndex(3, 2));
    EXPECT_EQ(img.Colors(), copy.Colors());
    EXPECT_FALSE(img.ResizeCanvas(DibSize{0, 2}, DibPoint{}));

    DibImage24 rgb = Numbered24(2, 2);
    EXPECT_FALSE(rgb.ResizeCanvas(DibSize{3, 3}, DibPoint{}));
    DibImage anyRgb;
    anyRgb.CopyFrom(rgb);
    EXPECT_FALSE(anyRgb.ResizeCanvas(DibSize{3, 3}, DibPoint{}));
    EXPECT_EQ(anyRgb.Size(), (DibSize{2, 2}));
}
