// The QImage copy keeps the top row on top and the colours of every depth.
#include "ImageTestUtil.h"
#include "imaging/QImageView.h"

using namespace tessary;
using namespace tessary::test;

TEST(QImageView, EveryDepthKeepsRowsAndColours)
{
    for (int bpp : {1, 4, 8, 15, 16, 24, 32}) {
        DibImage img;
        ASSERT_TRUE(img.Create(5, 3, bpp, 0, bpp == 16));
        img.SetColor(4, 0, Bgr(255, 255, 255));
        img.SetColor(0, 2, bpp <= 4 ? Bgr(255, 255, 255) : Bgr(0, 0, 248));
        const QImage q = ToQImage(img);
        ASSERT_FALSE(q.isNull()) << bpp;
        ASSERT_EQ(q.size(), QSize(5, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const DibColor c = ColorAt(img, x, y);
                const QRgb p = q.pixel(x, y);
                // Qt fills the low bits of 16-bit channels; the top bits must agree.
                const int slack = bpp <= 16 && bpp >= 15 ? 7 : 0;
                ASSERT_NEAR(qRed(p), c.red, slack) << bpp << " at " << x << "," << y;
                ASSERT_NEAR(qGreen(p), c.green, slack);
                ASSERT_NEAR(qBlue(p), c.blue, slack);
            }
    }
    DibImage32 rgba;
    ASSERT_TRUE(rgba.Create(1, 1, 32));
    rgba.SetColor(0, 0, DibColor::Rgb(1, 2, 3, 4));
    EXPECT_EQ(qAlpha(ToQImage(rgba).pixel(0, 0)), 4);
    EXPECT_TRUE(ToQImage(DibImage()).isNull());
}

TEST(QImageView, FromQImageRoundTrips)
{
    QImage q(3, 2, QImage::Format_ARGB32);
    q.fill(qRgba(10, 20, 30, 40));
    q.setPixel(2, 0, qRgba(200, 100, 50, 255));
    DibImage24 rgb;
    ASSERT_TRUE(FromQImage(q, rgb, 24));
    EXPECT_TRUE(ColorAt(rgb, 2, 0).SameRgb(DibColor::Rgb(200, 100, 50)));
    DibImage32 rgba;
    ASSERT_TRUE(FromQImage(q, rgba, 32));
    EXPECT_EQ(ColorAt(rgba, 0, 1), DibColor::Rgb(10, 20, 30, 40));
    EXPECT_EQ(ToQImage(rgba), q);
    EXPECT_FALSE(FromQImage(QImage(), rgb));
    EXPECT_FALSE(FromQImage(q, rgb, 32)) << "a 24-bit object cannot hold 32 bits";
}
