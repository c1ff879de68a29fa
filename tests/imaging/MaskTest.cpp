// 8-bit masks and the masked image: split and join, blending, scaled drawing, transforms.
#include "ImageTestUtil.h"
#include "imaging/MaskedImage.h"

using namespace tessary;
using namespace tessary::test;

namespace {

// A 32-bit picture whose alpha is `alpha(x, y)` over red 200, green y * 10, blue x * 10.
DibImage32 Rgba(int w, int h, const std::function<uint8_t(int, int)>& alpha)
{
    DibImage32 img;
    EXPECT_TRUE(img.Create(w, h, 32));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.SetColor(x, y, DibColor::Rgb(200, uint8_t(y * 10), uint8_t(x * 10), alpha(x, y)));
    return img;
}

DibImage24 Filled(int w, int h, DibColor c)
{
    DibImage24 img;
    EXPECT_TRUE(img.Create(w, h, 24));
    img.Clear(c);
    return img;
}

} // namespace

TEST(Mask, AllTransparentAllOpaqueAndCrop)
{
    DibMask m;
    EXPECT_FALSE(m.IsAllTransparent()) << "empty mask";
    ASSERT_TRUE(m.Create(5, 3, 8));
    EXPECT_TRUE(m.IsAllTransparent());
    m.Clear(Bgr(255, 255, 255));
    EXPECT_TRUE(m.IsAllOpaque());
    m.SetIndex(4, 2, 7);
    EXPECT_FALSE(m.IsAllOpaque());
    EXPECT_FALSE(m.IsAllTransparent());

    ASSERT_TRUE(m.Crop(DibRect{0, 0, 2, 2}, false));
    EXPECT_EQ(m.Size(), (DibSize{5, 3})) << "without content nothing changes";
    ASSERT_TRUE(m.Crop(DibRect{3, 1, 7, 4}, true));
    EXPECT_EQ(m.Size(), (DibSize{4, 3}));
    EXPECT_EQ(m.GetIndex(0, 0), 255);
    EXPECT_EQ(m.GetIndex(1, 1), 7);
    EXPECT_EQ(m.GetIndex(2, 0), 0) << "transparent beyond the old mask";

    NamedDibMask named;
    named.name = QStringLiteral("Star");
    ASSERT_TRUE(named.Create(2, 2, 8));
    const std::unique_ptr<DibImage> copy = named.Clone();
    auto* namedCopy = dynamic_cast<NamedDibMask*>(copy.get());
    ASSERT_NE(namedCopy, nullptr);
    EXPECT_EQ(namedCopy->name, QStringLiteral("Star"));
}

TEST(MaskedImage, SplitAndJoin)
{
    const DibImage32 src = Rgba(3, 2, [](int x, int y) { return uint8_t(x * 100 + y); });
    MaskedImage pic;
    ASSERT_TRUE(pic.Split(src));
    EXPECT_TRUE(pic.IsValid());
    EXPECT_EQ(pic.mask.GetIndex(2, 1), 201);
    EXPECT_EQ(ColorAt(pic.color, 2, 1), DibColor::Rgb(200, 10, 20));
    DibImage32 back;
    ASSERT_TRUE(pic.Join(back));
    EXPECT_EQ(Colors(back), Colors(src));

    pic.mask.Reset();
    ASSERT_TRUE(pic.Join(back));
    EXPECT_EQ(ColorAt(back, 0, 0).alpha, 255) << "no mask: opaque";

    // A file whose alpha bytes are all zero: the mask says so, the reader drops it.
    ASSERT_TRUE(pic.Split(Rgba(2, 2, [](int, int) { return uint8_t(0); })));
    EXPECT_TRUE(pic.mask.IsAllTransparent());

    DibImage24 rgb = Numbered24(2, 2);
    EXPECT_FALSE(pic.Split(rgb));
    EXPECT_EQ(pic.Size(), (DibSize{2, 2}));
}

TEST(MaskedImage, DrawBlendsWithTheMask)
{
    MaskedImage pic;
    ASSERT_TRUE(pic.Split(Rgba(3, 1, [](int x, int) { return uint8_t(x == 0 ? 0 : x == 1 ? 128 : 255); })));
    DibImage24 target = Filled(4, 2, Bgr(100, 100, 100));
    ASSERT_TRUE(pic.Draw(target, DibPoint{1, 1}));
    EXPECT_EQ(ColorAt(target, 1, 1), Bgr(100, 100, 100)) << "mask 0 leaves";
    // Red 100 + (128 * 100 >> 8) = 150, green 100 + (128 * -100 >> 8) = 50, blue
    // 100 + (128 * -90 >> 8) = 55.
    EXPECT_EQ(ColorAt(target, 2, 1), DibColor::Rgb(150, 50, 55));
    EXPECT_EQ(ColorAt(target, 3, 1), DibColor::Rgb(200, 0, 20)) << "mask 255 copies";
    EXPECT_EQ(ColorAt(target, 3, 0), Bgr(100, 100, 100));

    // Clipped, and placed partly outside.
    DibImage24 clipped = Filled(4, 2, Bgr(100, 100, 100));
    ASSERT_TRUE(pic.Draw(clipped, DibPoint{-1, 0}, DibRect{0, 0, 1, 2}));
    EXPECT_EQ(ColorAt(clipped, 0, 0), DibColor::Rgb(150, 50, 55));
    EXPECT_EQ(ColorAt(clipped, 1, 0), Bgr(100, 100, 100)) << "outside the clip";

    // Without a mask the colour is copied.
    pic.mask.Reset();
    DibImage24 plain = Filled(3, 1, Bgr(1, 1, 1));
    ASSERT_TRUE(pic.Draw(plain, DibPoint{0, 0}));
    EXPECT_EQ(ColorAt(plain, 0, 0), DibColor::Rgb(200, 0, 0));
}

TEST(MaskedImage, DrawScaledShrinksColourAndMask)
{
    MaskedImage pic;
    ASSERT_TRUE(pic.Split(Rgba(4, 2, [](int x, int) { return uint8_t(x < 2 ? 255 : 0); })));
    DibImage24 target = Filled(2, 1, Bgr(0, 0, 0));
    ASSERT_TRUE(pic.DrawScaled(target, DibRect{0, 0, 2, 1}, pic.color.Rect()));
    // Left half opaque: colours averaged (green (0 + 10) / 2, blue (0 + 10) / 2).
    EXPECT_EQ(ColorAt(target, 0, 0), DibColor::Rgb(200, 5, 5));
    EXPECT_EQ(ColorAt(target, 1, 0), Bgr(0, 0, 0)) << "transparent half";

    // Same size: a plain draw of the source block.
    DibImage24 same = Filled(2, 2, Bgr(0, 0, 0));
    ASSERT_TRUE(pic.DrawScaled(same, DibRect{0, 0, 2, 2}, DibRect{0, 0, 2, 2}));
    EXPECT_EQ(ColorAt(same, 1, 1), DibColor::Rgb(200, 10, 10));

    // Enlarging stretches the mask too.
    DibImage24 big = Filled(8, 2, Bgr(0, 0, 0));
    ASSERT_TRUE(pic.DrawScaled(big, DibRect{0, 0, 8, 2}, DibRect{0, 0, 4, 1}));
    EXPECT_EQ(ColorAt(big, 3, 1).red, 200);
    EXPECT_EQ(ColorAt(big, 4, 1), Bgr(0, 0, 0));
    EXPECT_FALSE(pic.DrawScaled(big, DibRect{0, 0, 0, 2}, DibRect{0, 0, 4, 1}));
}

TEST(MaskedImage, FillThroughMaskColoursTheTransparentPart)
{
    MaskedImage pic;
    ASSERT_TRUE(pic.Split(Rgba(3, 1, [](int x, int) { return uint8_t(x == 0 ? 0 : x == 1 ? 128 : 255); })));
    DibImage24 target = Filled(3, 1, Bgr(0, 0, 0));
    ASSERT_TRUE(pic.FillThroughMask(target, Bgr(200, 200, 200)));
    EXPECT_EQ(ColorAt(target, 0, 0), Bgr(200, 200, 200));
    EXPECT_EQ(ColorAt(target, 1, 0), Bgr(99, 99, 99)) << "(127 * 200) >> 8";
    EXPECT_EQ(ColorAt(target, 2, 0), Bgr(0, 0, 0));
}

TEST(MaskedImage, TransformsApplyToBothPlanes)
{
    MaskedImage pic;
    ASSERT_TRUE(pic.Split(Rgba(3, 2, [](int x, int y) { return uint8_t(x * 10 + y); })));
    ASSERT_TRUE(pic.RotateClockwise());
    EXPECT_EQ(pic.Size(), (DibSize{2, 3}));
    EXPECT_EQ(pic.mask.Size(), (DibSize{2, 3}));
    // Source (2, 0) lands at (H - 1 - 0, 2) = (1, 2).
    EXPECT_EQ(pic.mask.GetIndex(1, 2), 20);
    EXPECT_EQ(ColorAt(pic.color, 1, 2).blue, 20);
    ASSERT_TRUE(pic.RotateCounterClockwise());
    ASSERT_TRUE(pic.Rotate180());
    ASSERT_TRUE(pic.Rotate180());
    ASSERT_TRUE(pic.MirrorHorizontal());
    ASSERT_TRUE(pic.FlipVertical());
    EXPECT_EQ(pic.mask.GetIndex(0, 0), 21);

    MaskedImage empty;
    EXPECT_FALSE(empty.Rotate180());

    const QImage q = pic.ToQImage();
    ASSERT_EQ(q.format(), QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(q.pixel(0, 0)), 21);
    EXPECT_EQ(qBlue(q.pixel(0, 0)), 20);
}
