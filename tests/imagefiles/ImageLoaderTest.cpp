// The loaders: pictures from files, memory and resources, headers, flattening and fitting,
// the thumbnail loader with its Exif and reduced-scale paths, and the codec objects.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "ExifBuilder.h"
#include "imaging/ImageTestUtil.h"
#include "JpegFixture.h"
#include "imagefiles/AppResources.h"
#include "imagefiles/BmpWriter.h"
#include "imaging/FitInBox.h"
#include "imagefiles/ImageCodec.h"
#include "imagefiles/ImageLoader.h"
#include "imagefiles/JpegDecoder.h"
#include "imagefiles/ImageStreams.h"

using namespace tessary;
using namespace tessary::test;

namespace {

class Folder {
public:
    Folder() { EXPECT_TRUE(m_dir.isValid()); }
    QString Write(const QString& name, const std::vector<uint8_t>& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return path;
    }
    QString Write(const QString& name, const QByteArray& bytes)
    {
        return Write(name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
    QString Bmp(const QString& name, int w, int h) { return Write(name, SaveBmpToMemory(Numbered24Any(w, h))); }

private:
    static DibImage24 Numbered24Any(int w, int h)
    {
        DibImage24 img;
        EXPECT_TRUE(img.Create(w, h, 24));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.SetColor(x, y, Bgr(uint8_t(x), uint8_t(y), uint8_t(x ^ y)));
        return img;
    }
    QTemporaryDir m_dir;
};

std::vector<uint8_t> Flat(int w, int h, uint8_t r, uint8_t g, uint8_t b, int quality = 90)
{
    JpegRecipe recipe;
    recipe.width = w;
    recipe.height = h;
    recipe.quality = quality;
    return EncodeJpeg(recipe, [&](int, int, int c) { return c == 0 ? r : c == 1 ? g : b; });
}

std::vector<uint8_t> PhotoLike(int w, int h)
{
    JpegRecipe recipe;
    recipe.width = w;
    recipe.height = h;
    return EncodeJpeg(recipe, [&](int x, int y, int c) { return PhotoLikeSample(x, y, c, w, h); });
}

// A blue photo whose Exif block holds a red thumbnail (and optionally an orientation).
std::vector<uint8_t> PhotoWithThumbnail(int w, int h, int thumbW, int thumbH, int orientation, bool bigEndian = false)
{
    TiffBuilder tiff(bigEndian);
    if (orientation)
        tiff.AddShort(TiffBuilder::kIfd0, 274, uint16_t(orientation));
    tiff.SetThumbnail(Flat(thumbW, thumbH, 230, 20, 20));
    return InsertAfterSoi(Flat(w, h, 20, 20, 230), ExifSegment(tiff.Build()));
}

bool Reddish(const DibImage& image)
{
    const DibColor c = ColorAt(image, image.Width() / 2, image.Height() / 2);
    return c.red > 180 && c.blue < 80;
}

bool Bluish(const DibImage& image)
{
    const DibColor c = ColorAt(image, image.Width() / 2, image.Height() / 2);
    return c.blue > 180 && c.red < 80;
}

double MeanDifference(const DibImage& a, const DibImage& b)
{
    EXPECT_EQ(a.Size(), b.Size());
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const DibColor p = ColorAt(a, x, y), q = ColorAt(b, x, y);
            sum += std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue);
        }
    return sum / (3.0 * a.Width() * a.Height());
}

// A PNG with alpha written by Qt (not our code): alpha grows to the right over a colour.
QByteArray AlphaPng(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgba(200, 40, 10, x * 255 / (w - 1)));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

// ---- pictures, headers, codec objects --------------------------------------------------------

TEST(Loader, PicturesFromFilesMemoryAndHeaders)
{
    Folder folder;
    const QString bmp = folder.Bmp(QStringLiteral("a.BMP"), 7, 5);
    const QString jpg = folder.Write(QStringLiteral("b.JPEG"), PhotoLike(33, 22));
    const QString png = folder.Write(QStringLiteral("c.png"), AlphaPng(9, 4));
    const QString tif = folder.Write(QStringLiteral("d.tif"), PhotoLike(8, 8));

    for (const auto& [path, format, size] : {std::tuple{bmp, PhotoFormat::Bmp, DibSize{7, 5}},
                                             std::tuple{jpg, PhotoFormat::Jpeg, DibSize{33, 22}},
                                             std::tuple{png, PhotoFormat::Png, DibSize{9, 4}}}) {
        SCOPED_TRACE(path.toStdString());
        const auto picture = LoadPicture(path);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Format(), format);
        EXPECT_EQ(picture->Size(), size);
        EXPECT_EQ(picture->record.sourcePath, path);
        EXPECT_EQ(LoadHeader(path), size);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_EQ(FormatOfBytes(bytes.constData(), size_t(bytes.size())), format);
        const auto fromMemory = LoadPicture(bytes.constData(), size_t(bytes.size()));
        ASSERT_TRUE(fromMemory);
        EXPECT_EQ(Colors(fromMemory->image.color), Colors(picture->image.color));
        EXPECT_TRUE(fromMemory->record.sourcePath.isEmpty());
    }
    EXPECT_TRUE(LoadPicture(png)->HasAlpha());
    EXPECT_FALSE(LoadPicture(tif)) << "a JPEG named .tif";
    EXPECT_FALSE(LoadHeader(tif));
    EXPECT_FALSE(LoadPicture(folder.Write(QStringLiteral("e.png"), PhotoLike(8, 8)))) << "a JPEG named .png";
    EXPECT_FALSE(LoadPicture(QStringLiteral("/nonexistent/x.jpg")));
    EXPECT_FALSE(LoadPicture("GIF89a", 6));
}

TEST(Loader, CodecObjectsAndFactories)
{
    for (PhotoFormat f : {PhotoFormat::Unrecognised, PhotoFormat::Reserved, PhotoFormat::Icon, PhotoFormat(10)}) {
        EXPECT_FALSE(MakeCodec(f));
        EXPECT_FALSE(MakePicture(f));
    }
    for (PhotoFormat f : {PhotoFormat::Bmp, PhotoFormat::Jpeg, PhotoFormat::Png, PhotoFormat::Gif, PhotoFormat::Tiff,
                          PhotoFormat::Webp, PhotoFormat::Heif, PhotoFormat::Avif}) {
        const auto codec = MakeCodec(f);
        const auto picture = MakePicture(f);
        ASSERT_TRUE(codec && picture);
        EXPECT_EQ(codec->FormatCode(), f);
        EXPECT_EQ(picture->Format(), f);
        EXPECT_TRUE(codec->Accepts(picture.get()));
        EXPECT_FALSE(codec->Accepts(nullptr));
    }
    Folder folder;
    const QString jpg = folder.Write(QStringLiteral("p.jpg"), PhotoLike(40, 30));
    // A picture of another format is refused and left empty.
    auto png = MakePicture(PhotoFormat::Png);
    EXPECT_FALSE(MakeCodec(PhotoFormat::Jpeg)->LoadFromFile(*png, jpg));
    EXPECT_TRUE(png->IsEmpty());

    // LoadInfo takes the record, not the pixels.
    auto jpeg = MakePicture(PhotoFormat::Jpeg);
    auto codec = MakeCodec(PhotoFormat::Jpeg);
    ASSERT_TRUE(codec->LoadFromFile(*jpeg, folder.Write(QStringLiteral("q.jpg"), Flat(8, 6, 1, 2, 3))));
    const std::vector<uint32_t> pixels = Colors(jpeg->image.color);
    ASSERT_TRUE(codec->LoadInfo(*jpeg, jpg));
    EXPECT_EQ(jpeg->record.width, 40);
    EXPECT_EQ(jpeg->record.height, 30);
    EXPECT_EQ(Colors(jpeg->image.color), pixels);
    EXPECT_TRUE(jpeg->record.sourcePath.endsWith(QLatin1String("q.jpg")));

    // A failed load empties the picture.
    EXPECT_FALSE(codec->LoadFromFile(*jpeg, folder.Write(QStringLiteral("r.jpg"), std::vector<uint8_t>{0xFF, 0xD8})));
    EXPECT_TRUE(jpeg->IsEmpty());
}

TEST(Loader, FlatteningAndFitting)
{
    const QByteArray png = AlphaPng(256, 40);
    const auto picture = LoadPicture(png.constData(), size_t(png.size()));
    ASSERT_TRUE(picture && picture->HasAlpha());
    DibImage24 flat;
    ASSERT_TRUE(GetImage(*picture, flat));
    for (int x : {0, 1, 100, 254, 255}) {
        const int a = x * 255 / 255;
        const DibColor c = ColorAt(flat, x, 1);
        EXPECT_EQ(c.red, 255 + ((a * (200 - 255)) >> 8)) << x;
        EXPECT_EQ(c.blue, 255 + ((a * (10 - 255)) >> 8)) << x;
    }
    ASSERT_TRUE(GetImage(*picture, flat, Bgr(0, 0, 0)));
    EXPECT_EQ(ColorAt(flat, 0, 0), Bgr(0, 0, 0)) << "a transparent pixel shows the background";

    DibImage24 fitted;
    ASSERT_TRUE(GetFittedImage(*picture, fitted, {64, 64}));
    EXPECT_EQ(fitted.Size(), (DibSize{64, 10}));
    ASSERT_TRUE(GetFittedImage(*picture, fitted, {1000, 1000}));
    EXPECT_EQ(fitted.Size(), (DibSize{256, 40})) << "never enlarged";
    EXPECT_FALSE(GetFittedImage(*picture, fitted, {1, 64})) << "fitted height 0";
    EXPECT_FALSE(GetFittedImage(*picture, fitted, {0, 10}));
}

TEST(Loader, SavePictureKeepsTheStoredDepth)
{
    const QByteArray png = AlphaPng(5, 2);
    const auto picture = LoadPicture(png.constData(), size_t(png.size()));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->record.bpp, 32);
    const QByteArray bmp = SavePicture(*picture);
    const auto back = LoadPicture(bmp.constData(), size_t(bmp.size()));
    ASSERT_TRUE(back && back->HasAlpha());
    EXPECT_EQ(back->record.bpp, 32);
    EXPECT_EQ(Colors(back->image.color), Colors(picture->image.color));

    auto grey = MakePicture(PhotoFormat::Bmp);
    ASSERT_TRUE(grey->image.color.CopyFrom(Numbered24(6, 6)));
    grey->record.bpp = 8;
    const QByteArray eight = SavePicture(*grey);
    ASSERT_FALSE(eight.isEmpty());
    EXPECT_EQ(uint8_t(eight[28]), 8);
    grey->record.bpp = 7;
    EXPECT_TRUE(SavePicture(*grey).isEmpty());
}

// ---- the thumbnail loader --------------------------------------------------------------------

TEST(LoadImageFitted, BoxRulesFitAndNeverEnlarge)
{
    Folder folder;
    const QString wide = folder.Bmp(QStringLiteral("wide.bmp"), 1000, 333);
    const QString tall = folder.Bmp(QStringLiteral("tall.bmp"), 333, 1000);
    const QString small = folder.Bmp(QStringLiteral("small.bmp"), 50, 20);
    DibImage image;
    EXPECT_FALSE(LoadImageFitted(image, wide, {3, 100}));
    EXPECT_FALSE(LoadImageFitted(image, wide, {100, 3}));
    ASSERT_TRUE(LoadImageFitted(image, wide, {4, 4}));
    ASSERT_TRUE(LoadImageFitted(image, wide, {100, 100}));
    EXPECT_EQ(image.Size(), (DibSize{100, 33}));
    EXPECT_EQ(image.Bpp(), 24);
    ASSERT_TRUE(LoadImageFitted(image, tall, {100, 100}));
    EXPECT_EQ(image.Size(), (DibSize{33, 100}));
    ASSERT_TRUE(LoadImageFitted(image, small, {100, 100}));
    EXPECT_EQ(image.Size(), (DibSize{50, 20}));
    EXPECT_FALSE(LoadImageFitted(image, folder.Bmp(QStringLiteral("line.bmp"), 1000, 1), {100, 100}))
        << "fitted height 0";
    DibImage8 wrongDepth;
    EXPECT_FALSE(LoadImageFitted(wrongDepth, wide, {100, 100}));
}

// Without an Exif thumbnail the photo itself is decoded: it must come out turned upright just
// as the thumbnail would, top and bottom as well as the box it is fitted into.
TEST(LoadImageFitted, PhotoWithoutThumbnailIsTurnedUpright)
{
    Folder folder;
    JpegRecipe recipe;
    recipe.width = 640;
    recipe.height = 320;
    // Stored: red on the left half, blue on the right; orientation 6 turns it a quarter
    // clockwise, so the red half ends on top.
    const std::vector<uint8_t> halves =
        EncodeJpeg(recipe, [](int x, int, int c) { return uint8_t(x < 320 ? (c == 0 ? 230 : 20) : (c == 2 ? 230 : 20)); });
    for (int orientation : {6, 8}) {
        TiffBuilder tiff(false);
        tiff.AddShort(TiffBuilder::kIfd0, 274, uint16_t(orientation));
        const QString path = folder.Write(QStringLiteral("o%1.jpg").arg(orientation),
                                          InsertAfterSoi(halves, ExifSegment(tiff.Build())));
        DibImage image;
        ASSERT_TRUE(LoadImageFitted(image, path, {96, 96}));
        EXPECT_EQ(image.Size(), (DibSize{48, 96})) << "orientation " << orientation;
        const DibColor top = ColorAt(image, 24, 10), bottom = ColorAt(image, 24, 85);
        const bool redOnTop = top.red > 180 && bottom.blue > 180;
        EXPECT_EQ(redOnTop, orientation == 6) << "orientation " << orientation;
        EXPECT_EQ(!redOnTop && top.blue > 180 && bottom.red > 180, orientation == 8) << "orientation " << orientation;
    }
}

TEST(LoadImageFitted, ExifThumbnailIsUsedAndTurnedUpright)
{
    Folder folder;
    const QString plain = folder.Write(QStringLiteral("t1.jpg"), PhotoWithThumbnail(640, 480, 160, 120, 1));
    DibImage image;
    ASSERT_TRUE(LoadImageFitted(image, plain, {94, 94}));
    EXPECT_EQ(image.Size(), (DibSize{94, 70}));
    EXPECT_TRUE(Reddish(image)) << "from the thumbnail, not the blue photo";
    ASSERT_TRUE(LoadImageFitted(image, plain, {200, 200}));
    EXPECT_EQ(image.Size(), (DibSize{160, 120})) << "a thumbnail inside the box keeps its size";

    for (bool big : {false, true}) {
        const QString rotated = folder.Write(QStringLiteral("t6.jpg"), PhotoWithThumbnail(640, 480, 160, 120, 6, big));
        ASSERT_TRUE(LoadImageFitted(image, rotated, {94, 94}));
        EXPECT_EQ(image.Size(), (DibSize{70, 94}));
        EXPECT_EQ(LoadExifThumbnail(image, rotated, false), 6);
        EXPECT_EQ(image.Size(), (DibSize{160, 120}));
        EXPECT_EQ(LoadExifThumbnail(image, rotated, true), 6);
        EXPECT_EQ(image.Size(), (DibSize{120, 160}));
    }
    const QString odd = folder.Write(QStringLiteral("t9.jpg"), PhotoWithThumbnail(64, 48, 16, 12, 9));
    EXPECT_EQ(LoadExifThumbnail(image, odd, true), 1) << "an orientation outside 1-8 counts as 1";
    EXPECT_EQ(image.Size(), (DibSize{16, 12}));
    const QString none = folder.Write(QStringLiteral("t0.jpg"), PhotoWithThumbnail(64, 48, 16, 12, 0));
    EXPECT_EQ(LoadExifThumbnail(image, none, true), 1);
    EXPECT_EQ(LoadExifThumbnail(image, folder.Write(QStringLiteral("t1.jpeg.png"), PhotoWithThumbnail(64, 48, 16, 12, 1)), true), 0)
        << "JPEG files only";
    EXPECT_EQ(LoadExifThumbnail(image, folder.Write(QStringLiteral("plain.jpg"), Flat(64, 48, 1, 2, 3)), true), 0);
}

TEST(LoadImageFitted, UnusableThumbnailsFallBackToThePhoto)
{
    Folder folder;
    DibImage image;
    // The thumbnail bytes are not a JPEG.
    TiffBuilder broken(false);
    broken.SetThumbnail(std::vector<uint8_t>(500, 0x42));
    const QString a = folder.Write(QStringLiteral("a.jpg"), InsertAfterSoi(Flat(640, 480, 20, 20, 230), ExifSegment(broken.Build())));
    EXPECT_EQ(LoadExifThumbnail(image, a, true), 0);
    ASSERT_TRUE(LoadImageFitted(image, a, {94, 94}));
    EXPECT_EQ(image.Size(), (DibSize{94, 70}));
    EXPECT_TRUE(Bluish(image));

    // A thumbnail that claims to be huge is refused rather than decoded.
    TiffBuilder huge(false);
    std::vector<uint8_t> thumb = Flat(16, 16, 230, 20, 20);
    for (size_t i = 2; i + 9 < thumb.size(); ++i)
        if (thumb[i] == 0xFF && thumb[i + 1] == 0xC0) {
            thumb[i + 5] = thumb[i + 7] = 0x3F; // 16k x 16k
            break;
        }
    huge.SetThumbnail(thumb);
    const QString b = folder.Write(QStringLiteral("b.jpg"), InsertAfterSoi(Flat(64, 48, 20, 20, 230), ExifSegment(huge.Build())));
    EXPECT_EQ(LoadExifThumbnail(image, b, true), 0);
    ASSERT_TRUE(LoadImageFitted(image, b, {32, 32}));
    EXPECT_TRUE(Bluish(image));
}

// The reduced-scale path gives exactly the fit rule's size for every photo and box, and
// pixels close to shrinking the full decode.
TEST(LoadImageFitted, ReducedScaleJpegMatchesTheFullPath)
{
    Folder folder;
    const DibSize photos[] = {{4000, 300}, {1001, 751}, {640, 480}, {333, 1000}, {190, 189}, {97, 3000}};
    const DibSize boxes[] = {{94, 94}, {160, 160}, {94, 40}, {300, 250}};
    int reduced = 0;
    for (DibSize photo : photos) {
        const QString path = folder.Write(QStringLiteral("%1x%2.jpg").arg(photo.width).arg(photo.height),
                                          PhotoLike(photo.width, photo.height));
        const auto full = LoadPicture(path);
        ASSERT_TRUE(full);
        for (DibSize box : boxes) {
            SCOPED_TRACE(testing::Message() << photo.width << "x" << photo.height << " in " << box.width << "x"
                                            << box.height);
            DibImage fast;
            ASSERT_TRUE(LoadImageFitted(fast, path, box));
            DibImage24 slow;
            ASSERT_TRUE(GetFittedImage(*full, slow, box));
            ASSERT_EQ(fast.Size(), slow.Size());
            EXPECT_LT(MeanDifference(fast, slow), 3.0);
            reduced += 2 * box.width <= photo.width && 2 * box.height <= photo.height;
        }
    }
    EXPECT_GE(reduced, 8);
}

// ---- artwork ---------------------------------------------------------------------------------

TEST(Artwork, ExifBadgeIsARedFieldWithWhiteLetters)
{
    DibImage badge;
    ASSERT_TRUE(LoadBitmapResource(badge, kIdbExifBadge, 24));
    ASSERT_EQ(badge.Size(), (DibSize{14, 7}));
    EXPECT_EQ(badge.Bpp(), 24);
    const DibColor red = ColorAt(badge, 0, 0);
    EXPECT_GT(red.red, 150);
    EXPECT_LT(red.green, 100);
    for (int x = 0; x < 14; ++x) {
        EXPECT_EQ(ColorAt(badge, x, 0), red);
        EXPECT_EQ(ColorAt(badge, x, 6), red);
    }
    int white = 0;
    for (int y = 1; y < 6; ++y)
        for (int x = 0; x < 14; ++x)
            white += ColorAt(badge, x, y) == Bgr(255, 255, 255);
    EXPECT_GE(white, 30);
    EXPECT_EQ(ColorAt(badge, 1, 1), Bgr(255, 255, 255)) << "the E's top left";
    EXPECT_EQ(ColorAt(badge, 4, 1), red) << "between E and X";

    DibImage eight;
    ASSERT_TRUE(LoadBitmapResource(eight, kIdbExifBadge, 8));
    EXPECT_EQ(eight.Bpp(), 8);
    DibImage kept;
    ASSERT_TRUE(LoadBitmapResource(kept, kIdbExifBadge));
    EXPECT_EQ(Colors(kept), Colors(badge));
    EXPECT_FALSE(LoadBitmapResource(kept, kIdbExifBadge, 2));
    EXPECT_FALSE(LoadBitmapResource(kept, 9999, 24));

    const auto picture = LoadPicture(PhotoFormat::Bmp, kIdbExifBadge);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Size(), (DibSize{14, 7}));
    EXPECT_FALSE(LoadPicture(PhotoFormat::Png, kIdbExifBadge));
    EXPECT_TRUE(ResourceData(kIdbExifBadge, QStringLiteral("BITMAP")).startsWith("BM"));
}
