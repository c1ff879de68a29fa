// The application icon embedded for the window: one square image per icon theme size, and
// the small sizes drawn on the pixel grid (their outline has no half-transparent pixels, as
// a scaled-down large drawing would).
#include <gtest/gtest.h>

#include <QImage>

#include "imagefiles/AppResources.h"

namespace tessary {
namespace {

QImage Icon(int size)
{
    return QImage::fromData(ResourceData(size, QStringLiteral("APPICON")))
        .convertToFormat(QImage::Format_ARGB32);
}

TEST(AppIcon, EverySizeIsEmbeddedSquare)
{
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage icon = Icon(size);
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.width(), size);
        EXPECT_EQ(icon.height(), size);
        // Clear in the top-left corner, solid in the middle.
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
        int solid = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                solid += qAlpha(icon.pixel(x, y)) == 255;
        EXPECT_GT(solid, size * size / 2) << "the album fills most of the square";
    }
    EXPECT_TRUE(ResourceData(20, QStringLiteral("APPICON")).isEmpty());
}

TEST(AppIcon, SmallSizesHaveSharpOutlines)
{
    for (int size : {16, 22, 24, 32}) {
        const QImage icon = Icon(size);
        int partial = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const int a = qAlpha(icon.pixel(x, y));
                partial += a > 0 && a < 255;
            }
        EXPECT_EQ(partial, 0) << size;
    }
    // The large drawing shrunk to 16 pixels would blur its outline.
    const QImage shrunk = Icon(256).scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int partial = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int a = qAlpha(shrunk.pixel(x, y));
            partial += a > 0 && a < 255;
        }
    EXPECT_GT(partial, 8);
}

} // namespace
} // namespace tessary
