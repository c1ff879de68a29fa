// Cells as the list view shows them: the photo centred in a 96 x 96 cell framed in the frame
// colour, the Exif badge in the top-right corner, the placeholder cells, and the image list
// that holds them.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>
#include <QImage>

#include "imaging/DibDepths.h"
#include "imagefiles/ImageLoader.h"
#include "imagefiles/AppResources.h"
#include "thumbcache/CellImageList.h"
#include "thumbcache/ThumbnailCell.h"

using namespace tessary;

namespace {

const DibColor kFrame = DibColor::Rgb(0xDA, 0xDE, 0xE5);
const DibColor kWhite = DibColor::Rgb(255, 255, 255);

DibColor At(const DibImage& image, int x, int y)
{
    DibColor c;
    EXPECT_TRUE(image.GetColor(c, x, y));
    return c;
}

// The photo's pixel colour encodes its own position, so a misplaced copy is noticed.
DibImage24 Photo(DibSize size)
{
    DibImage24 image;
    EXPECT_TRUE(image.Create24(size));
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            image.SetColor(x, y, DibColor::Rgb(uint8_t(x), uint8_t(y), 7));
    return image;
}

// Every pixel: inside `place` the photo's pixel, outside it `outside`.
::testing::AssertionResult CellShows(const DibImage& cell, const DibRect& place, DibColor outside)
{
    if (cell.Size() != DibSize{96, 96} || cell.Bpp() != 24)
        return ::testing::AssertionFailure() << "not a 96 x 96 24-bit cell";
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 96; ++x) {
            const DibColor want = place.Contains(x, y)
                ? DibColor::Rgb(uint8_t(x - place.left), uint8_t(y - place.top), 7)
                : outside;
            DibColor got;
            cell.GetColor(got, x, y);
            if (!got.SameRgb(want))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(ThumbnailCell, ThePhotoIsCentredByItsCentreAndFramedEverywhereElse)
{
    const CellStyle style;
    // Centre of the photo onto the centre of the cell, each by integer halving: odd sizes
    // sit one pixel right of / below (96 - size) / 2.
    EXPECT_EQ(CentredRect(style.cell, {94, 70}), (DibRect{1, 13, 95, 83}));
    EXPECT_EQ(CentredRect(style.cell, {93, 61}), (DibRect{2, 18, 95, 79}));
    EXPECT_EQ(CentredRect(style.cell, {1, 1}), (DibRect{48, 48, 49, 49}));
    for (int w : {1, 2, 3, 47, 70, 93, 94}) {
        for (int h : {1, 2, 31, 70, 93, 94}) {
            DibImage24 cell;
            ASSERT_TRUE(ComposeCell(Photo({w, h}), style, cell));
            const DibRect place = CentredRect(style.cell, {w, h});
            EXPECT_TRUE(CellShows(cell, place, kFrame)) << w << " x " << h;
        }
    }
}

TEST(ThumbnailCell, WithoutFramingTheRestIsTheBackground)
{
    CellStyle style;
    style.framed = false;
    DibImage24 cell;
    ASSERT_TRUE(ComposeCell(Photo({96, 40}), style, cell));
    EXPECT_TRUE(CellShows(cell, DibRect{0, 28, 96, 68}, kWhite));
}

TEST(ThumbnailCell, APhotoLargerThanTheCellIsClippedAroundItsCentre)
{
    DibImage24 cell;
    ASSERT_TRUE(ComposeCell(Photo({100, 96}), CellStyle(), cell));
    // Placed at x = 48 - 50 = -2: cell column 0 shows photo column 2.
    EXPECT_TRUE(At(cell, 0, 0).SameRgb(DibColor::Rgb(2, 0, 7)));
    EXPECT_TRUE(At(cell, 95, 95).SameRgb(DibColor::Rgb(97, 95, 7)));
}

TEST(ThumbnailCell, TheExifBadgeSitsInTheTopRightCorner)
{
    DibImage24 badge;
    ASSERT_TRUE(LoadBitmapResource(badge, kIdbExifBadge, 24));
    ASSERT_EQ(badge.Size(), (DibSize{14, 7}));
    // The badge's pixels as Qt's own reader sees the artwork, not through our loader.
    const QImage reference(QStringLiteral(":/tessary/BITMAP/261"));
    ASSERT_EQ(reference.size(), QSize(14, 7));
    DibImage24 cell;
    ASSERT_TRUE(ComposeCell(Photo({94, 94}), CellStyle(), cell));
    ASSERT_TRUE(DrawBadge(cell, badge));
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 96; ++x) {
            DibColor want = kFrame;
            if (x >= 82 && y < 7) {
                const QRgb rgb = reference.pixel(x - 82, y);
                want = DibColor::Rgb(uint8_t(qRed(rgb)), uint8_t(qGreen(rgb)), uint8_t(qBlue(rgb)));
            } else if (x >= 1 && x < 95 && y >= 1 && y < 95) {
                want = DibColor::Rgb(uint8_t(x - 1), uint8_t(y - 1), 7);
            }
            ASSERT_TRUE(At(cell, x, y).SameRgb(want)) << x << ", " << y;
        }
    }
    // The badge's own right column differs from the frame, so a badge one column short of
    // the corner would be seen.
    bool rightColumnShows = false;
    for (int y = 0; y < 7; ++y)
        rightColumnShows = rightColumnShows || !At(cell, 95, y).SameRgb(kFrame);
    EXPECT_TRUE(rightColumnShows);
}

TEST(ThumbnailCell, APlaceholderShowsTheIconOnTheBackgroundInTheFrame)
{
    // Left half opaque red, right half half-transparent blue, bottom row transparent.
    QImage icon(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            icon.setPixel(x, y, y == 31 ? qRgba(0, 0, 0, 0) : x < 16 ? qRgba(255, 0, 0, 255) : qRgba(0, 0, 255, 128));
    DibImage24 cell;
    ASSERT_TRUE(ComposePlaceholder(icon, CellStyle(), cell));
    ASSERT_EQ(cell.Size(), (DibSize{96, 96}));
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 96; ++x) {
            const bool inIcon = x >= 32 && x < 64 && y >= 32 && y < 64;
            DibColor want = kFrame;
            if (inIcon)
                want = y == 63 ? kWhite : x < 48 ? DibColor::Rgb(255, 0, 0) : DibColor::Rgb(127, 127, 255);
            ASSERT_TRUE(At(cell, x, y).SameRgb(want)) << x << ", " << y;
        }
    }
}

TEST(ThumbnailCell, APlaceholderWithoutIconIsTheFrameColour)
{
    DibImage24 cell;
    ASSERT_TRUE(ComposePlaceholder(QImage(), CellStyle(), cell));
    EXPECT_TRUE(At(cell, 48, 48).SameRgb(kFrame));
    // An icon larger than the cell is clipped, not refused.
    QImage big(120, 120, QImage::Format_ARGB32);
    big.fill(qRgba(0, 255, 0, 255));
    ASSERT_TRUE(ComposePlaceholder(big, CellStyle(), cell));
    EXPECT_TRUE(At(cell, 0, 0).SameRgb(DibColor::Rgb(0, 255, 0)));
    EXPECT_TRUE(At(cell, 95, 95).SameRgb(DibColor::Rgb(0, 255, 0)));
}

TEST(CellImageList, GrowsInStepsAndKeepsEveryCell)
{
    auto list = CellImageList::Create({96, 96}, 3, 100);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Capacity(), 3);
    for (int i = 0; i < 250; ++i) {
        DibImage24 cell;
        ASSERT_TRUE(cell.Create24({96, 96}));
        cell.Clear(DibColor::Rgb(uint8_t(i), uint8_t(i * 3), uint8_t(255 - i)));
        cell.SetColor(95, 95, DibColor::Rgb(1, 2, 3));
        ASSERT_EQ(list->Add(cell), i);
    }
    EXPECT_EQ(list->Count(), 250);
    EXPECT_EQ(list->Capacity(), 303);
    for (int i : {0, 2, 3, 102, 103, 249}) {
        DibImage24 back;
        ASSERT_TRUE(list->Copy(i, back));
        EXPECT_TRUE(At(back, 0, 0).SameRgb(DibColor::Rgb(uint8_t(i), uint8_t(i * 3), uint8_t(255 - i)))) << i;
        EXPECT_TRUE(At(back, 95, 95).SameRgb(DibColor::Rgb(1, 2, 3))) << i;
        const QImage q = list->ToQImage(i);
        ASSERT_EQ(q.size(), QSize(96, 96));
        EXPECT_EQ(q.pixel(0, 0), qRgb(i, (i * 3) & 255, 255 - i)) << i;
        EXPECT_EQ(q.pixel(95, 95), qRgb(1, 2, 3)) << i;
    }

    // Released slots are written by later adds; the list does not grow for them.
    list->Release(102);
    list->Release(3);
    list->Release(3);
    list->Release(250);
    EXPECT_EQ(list->ReleasedCount(), 2);
    std::vector<int> reused;
    for (const uint8_t shade : {7, 9}) {
        DibImage24 cell;
        ASSERT_TRUE(cell.Create24({96, 96}));
        cell.Clear(DibColor::Rgb(shade, shade, shade));
        reused.push_back(list->Add(cell));
        DibImage24 back;
        ASSERT_TRUE(list->Copy(reused.back(), back));
        EXPECT_TRUE(At(back, 0, 0).SameRgb(DibColor::Rgb(shade, shade, shade)));
        EXPECT_TRUE(At(back, 95, 95).SameRgb(DibColor::Rgb(shade, shade, shade)));
    }
    std::sort(reused.begin(), reused.end());
    EXPECT_EQ(reused, (std::vector<int>{3, 102}));
    EXPECT_EQ(list->Count(), 250);
    EXPECT_EQ(list->ReleasedCount(), 0);
}

TEST(CellImageList, RefusesOtherSizesAndBadIndexes)
{
    auto list = CellImageList::Create({96, 96}, 1, 100);
    ASSERT_TRUE(list);
    DibImage24 wrong;
    ASSERT_TRUE(wrong.Create24({94, 96}));
    EXPECT_EQ(list->Add(wrong), -1);
    EXPECT_EQ(list->Add(DibImage24()), -1);
    DibImage8 grey;
    ASSERT_TRUE(grey.Create8({96, 96}));
    EXPECT_EQ(list->Add(grey), 0); // any depth of the cell size, stored as 24 bits
    DibImage24 out;
    EXPECT_FALSE(list->Copy(1, out));
    EXPECT_FALSE(list->Copy(-1, out));
    EXPECT_TRUE(list->ToQImage(5).isNull());
    EXPECT_FALSE(CellImageList::Create({0, 96}, 1, 100));
    EXPECT_FALSE(CellImageList::Create({96, 96}, 0, 100));
}
