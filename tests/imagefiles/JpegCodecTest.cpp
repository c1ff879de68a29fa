// The JPEG reader: colour order, grey and CMYK files, progressive files, cut and damaged files,
// header-only reads, hostile sizes, reduced-scale decoding, and the Exif sample photos.

#include <gtest/gtest.h>

#include <utility>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include "imaging/ImageTestUtil.h"
#include "JpegFixture.h"
#include "imagefiles/ImageLoader.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/JpegCodec.h"
#include "imagefiles/JpegDecoder.h"

using namespace tessary;
using namespace tessary::test;

namespace {

std::unique_ptr<Picture> Load(const std::vector<uint8_t>& file, bool headerOnly = false,
                              int64_t limit = kMaxDecodedBytes)
{
    JpegCodec codec;
    codec.SetMaxPixelBytes(limit);
    auto picture = MakePicture(PhotoFormat::Jpeg);
    if (!codec.LoadFromMemory(*picture, file.data(), file.size(), headerOnly)) {
        EXPECT_TRUE(picture->IsEmpty());
        return nullptr;
    }
    return picture;
}

// Largest channel difference between an image and a QImage of the same size.
int WorstDifference(const DibImage& image, const QImage& reference)
{
    EXPECT_EQ(image.Width(), reference.width());
    EXPECT_EQ(image.Height(), reference.height());
    const QImage ref = reference.convertToFormat(QImage::Format_RGB32);
    int worst = 0;
    for (int y = 0; y < std::min(image.Height(), ref.height()); ++y)
        for (int x = 0; x < std::min(image.Width(), ref.width()); ++x) {
            const DibColor c = ColorAt(image, x, y);
            const QRgb q = ref.pixel(x, y);
            worst = std::max({worst, std::abs(c.red - qRed(q)), std::abs(c.green - qGreen(q)),
                              std::abs(c.blue - qBlue(q))});
        }
    return worst;
}

QImage Independent(const std::vector<uint8_t>& file)
{
    QImage image;
    image.loadFromData(file.data(), int(file.size()), "JPG");
    return image;
}

std::vector<uint8_t> PhotoLike(int w, int h, bool progressive = false, int components = 3)
{
    JpegRecipe recipe;
    recipe.width = w;
    recipe.height = h;
    recipe.progressive = progressive;
    recipe.components = components;
    return EncodeJpeg(recipe, [&](int x, int y, int c) { return PhotoLikeSample(x, y, c, w, h); });
}

// Offset of the SOF0/SOF2 frame header's height field in a file from EncodeJpeg.
size_t FrameSizeOffset(const std::vector<uint8_t>& file)
{
    for (size_t i = 2; i + 9 < file.size(); ++i)
        if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2))
            return i + 5;
    return 0;
}

std::vector<uint8_t> WithFrameSize(std::vector<uint8_t> file, uint16_t width, uint16_t height)
{
    const size_t at = FrameSizeOffset(file);
    file[at] = uint8_t(height >> 8);
    file[at + 1] = uint8_t(height);
    file[at + 2] = uint8_t(width >> 8);
    file[at + 3] = uint8_t(width);
    return file;
}

QString SamplesDir()
{
    return QStringLiteral(TESSARY_TESTDATA_DIR "/exif-samples/jpg");
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(JpegRead, ColourComesOutInPixelOrderAsAnIndependentDecoderSees)
{
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        const auto file = PhotoLike(45, 31, progressive);
        const auto picture = Load(file);
        ASSERT_TRUE(picture);
        EXPECT_FALSE(picture->HasAlpha());
        EXPECT_EQ(picture->record.bpp, 24);
        EXPECT_EQ(static_cast<const JpegPicture&>(*picture).options.components, 3);
        EXPECT_LE(WorstDifference(picture->image.color, Independent(file)), 1);
        // And near the source: red grows to the right, green downwards.
        const DibColor left = ColorAt(picture->image.color, 2, 15), right = ColorAt(picture->image.color, 42, 15);
        EXPECT_GT(right.red, left.red + 150);
        EXPECT_LT(std::abs(right.green - left.green), 30);
    }
}

TEST(JpegRead, GreyFilesBecomeGreyColour)
{
    JpegRecipe recipe;
    recipe.width = 20;
    recipe.height = 9;
    recipe.components = 1;
    const auto file = EncodeJpeg(recipe, [](int x, int, int) { return uint8_t(x * 12); });
    const auto picture = Load(file);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->record.bpp, 8);
    for (int x = 0; x < 20; ++x) {
        const DibColor c = ColorAt(picture->image.color, x, 4);
        EXPECT_EQ(c.red, c.green);
        EXPECT_EQ(c.green, c.blue);
    }
    EXPECT_LE(WorstDifference(picture->image.color, Independent(file)), 1);
}

TEST(JpegRead, FourComponentFilesAreInvertedCmyk)
{
    // Flat quadrants at the best quality come back nearly as stored.
    const uint8_t quads[4][4] = {{200, 100, 50, 255}, {200, 100, 50, 128}, {0, 255, 255, 255}, {255, 255, 255, 0}};
    JpegRecipe recipe;
    recipe.width = 32;
    recipe.height = 32;
    recipe.components = 4;
    recipe.quality = 100;
    const auto file = EncodeJpeg(recipe, [&](int x, int y, int c) { return quads[(y / 16) * 2 + x / 16][c]; });
    const auto picture = Load(file);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->record.bpp, 32);
    EXPECT_EQ(static_cast<const JpegPicture&>(*picture).options.components, 4);
    for (int q = 0; q < 4; ++q) {
        SCOPED_TRACE(q);
        const uint8_t* b = quads[q];
        const DibColor c = ColorAt(picture->image.color, (q % 2) * 16 + 8, (q / 2) * 16 + 8);
        EXPECT_NEAR(c.red, b[0] * b[3] / 255, 2);
        EXPECT_NEAR(c.green, b[1] * b[3] / 255, 2);
        EXPECT_NEAR(c.blue, b[2] * b[3] / 255, 2);
    }
}

TEST(JpegRead, HeaderOnlyFillsTheRecordWithoutPixels)
{
    const auto picture = Load(PhotoLike(123, 45), true);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(picture->IsEmpty());
    EXPECT_EQ(picture->record.width, 123);
    EXPECT_EQ(picture->record.height, 45);
    EXPECT_EQ(picture->record.bpp, 24);
}

TEST(JpegRead, CutFilesDecodeWhatIsThere)
{
    const auto file = PhotoLike(64, 64);
    const auto whole = Load(file);
    ASSERT_TRUE(whole);
    const auto half = Load(std::vector<uint8_t>(file.begin(), file.begin() + long(file.size() * 6 / 10)));
    ASSERT_TRUE(half) << "a cut file decodes the part present";
    ASSERT_EQ(half->Size(), (DibSize{64, 64}));
    EXPECT_EQ(Colors(half->image.color).front(), Colors(whole->image.color).front());
    EXPECT_NE(Colors(half->image.color).back(), Colors(whole->image.color).back());

    // Every cut point: refused or decoded, never a read past the buffer (the sanitizer build
    // checks that).
    for (size_t n = 0; n < file.size(); n += 53) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + long(n));
        cut.shrink_to_fit();
        const auto p = Load(cut);
        EXPECT_TRUE(!p || p->Size() == (DibSize{64, 64}));
    }
    EXPECT_FALSE(Load({})) << "an empty file";
    EXPECT_FALSE(Load({0xFF, 0xD8})) << "just the start marker";
    EXPECT_FALSE(Load({'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'}));
}

TEST(JpegRead, HugeDeclaredSizesAreRefusedBeforeDecoding)
{
    const auto small = PhotoLike(16, 16);
    ASSERT_NE(FrameSizeOffset(small), 0u);
    EXPECT_FALSE(Load(WithFrameSize(small, 65000, 65000)));
    EXPECT_FALSE(Load(WithFrameSize(small, 20000, 20000))) << "1.2 GB of rows";
    EXPECT_FALSE(Load(WithFrameSize(small, 4000, 3000), false, 16 << 20)) << "under a lowered limit";
    // The header alone still tells the size.
    const auto header = Load(WithFrameSize(small, 65000, 65000), true);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->record.width, 65000);
}

// The library's own working memory is held to the limit too: a progressive file keeps every
// coefficient in memory (about as much as its pixels), a baseline file only a few rows.
TEST(JpegRead, LibraryMemoryIsCapped)
{
    const int64_t limit = 3010000; // the rows of 1000 x 1000 at 24 bits and their table fit
    EXPECT_TRUE(Load(PhotoLike(1000, 1000, false), false, limit));
    EXPECT_FALSE(Load(PhotoLike(1000, 1000, true), false, limit));
    EXPECT_TRUE(Load(PhotoLike(1000, 1000, true), false, 2 * limit));
}

TEST(JpegRead, ReducedScalesRoundUp)
{
    const auto file = PhotoLike(101, 75);
    // 101 / d and 75 / d, each rounded up.
    const std::pair<int, DibSize> expected[] = {{1, {101, 75}}, {2, {51, 38}}, {4, {26, 19}}, {8, {13, 10}}};
    for (const auto& [d, size] : expected) {
        SCOPED_TRACE(d);
        MemoryStream stream(file.data(), file.size());
        JpegDecodeRequest request;
        request.scaleDenominator = d;
        JpegImageInfo info;
        DibImage24 image;
        ASSERT_TRUE(DecodeJpeg(stream, request, info, image));
        EXPECT_EQ(image.Size(), size);
        EXPECT_EQ(JpegScaledSize({101, 75}, d), size);
        EXPECT_EQ(info.width, 101);
        EXPECT_EQ(info.height, 75);
    }
    // Sides that divide evenly, and sides below the denominator.
    EXPECT_EQ(JpegScaledSize({64, 48}, 8), (DibSize{8, 6}));
    EXPECT_EQ(JpegScaledSize({3, 1}, 8), (DibSize{1, 1}));
    EXPECT_EQ(JpegScaledSize({65, 49}, 4), (DibSize{17, 13}));
    MemoryStream stream(file.data(), file.size());
    JpegDecodeRequest bad;
    bad.scaleDenominator = 3;
    JpegImageInfo info;
    DibImage24 image;
    EXPECT_FALSE(DecodeJpeg(stream, bad, info, image));
}

TEST(JpegRead, ScaleChoiceKeepsAFactorOfTwoAboveTheFittedSize)
{
    EXPECT_EQ(ChooseJpegScale({4000, 3000}, {94, 70}), 8);
    EXPECT_EQ(ChooseJpegScale({1000, 750}, {160, 120}), 2) << "1/4 gives 250 x 188, under twice 160 x 120";
    EXPECT_EQ(ChooseJpegScale({1280, 960}, {160, 120}), 4);
    EXPECT_EQ(ChooseJpegScale({8000, 1000}, {94, 11}), 8);
    EXPECT_EQ(ChooseJpegScale({300, 300}, {150, 150}), 2) << "half the size still holds the fitted size";
    EXPECT_EQ(ChooseJpegScale({301, 301}, {151, 151}), 2);
    EXPECT_EQ(ChooseJpegScale({300, 300}, {151, 151}), 1);
    EXPECT_EQ(ChooseJpegScale({0, 0}, {1, 1}), 1);
}

// Every sample photo decodes (at 1/8, which runs the same reader over all the data) to the
// size an independent reader sees, or is refused without a fault; a few decode at full size
// to the independent reader's pixels.
TEST(JpegSamples, DecodeAsAnIndependentReaderDoes)
{
    if (!QFileInfo(SamplesDir()).isDir())
        GTEST_SKIP() << "no Exif samples at " << SamplesDir().toStdString();
    int decoded = 0;
    QDirIterator it(SamplesDir(), {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        SCOPED_TRACE(path.toStdString());
        const QByteArray bytes = ReadAll(path);
        QImage reference;
        const bool referenceOk = reference.loadFromData(bytes, "JPG");
        MemoryStream stream(bytes.constData(), size_t(bytes.size()));
        JpegDecodeRequest request;
        request.scaleDenominator = 8;
        JpegImageInfo info;
        DibImage24 image;
        if (!DecodeJpeg(stream, request, info, image)) {
            EXPECT_TRUE(image.IsEmpty());
            continue;
        }
        ++decoded;
        if (referenceOk) {
            EXPECT_EQ(info.width, reference.width());
            EXPECT_EQ(info.height, reference.height());
        }
        EXPECT_EQ(image.Size(), (DibSize{(info.width + 7) / 8, (info.height + 7) / 8}));
    }
    EXPECT_GE(decoded, 80);

    for (const char* name : {"Canon_40D.jpg", "invalid/image01137.jpg", "tests/32-lens_data.jpeg",
                             "exif-org/kodak-dc210.jpg"}) {
        SCOPED_TRACE(name);
        const QByteArray bytes = ReadAll(SamplesDir() + QLatin1Char('/') + QLatin1String(name));
        QImage reference;
        ASSERT_TRUE(reference.loadFromData(bytes, "JPG"));
        const auto picture = Load(std::vector<uint8_t>(bytes.begin(), bytes.end()));
        ASSERT_TRUE(picture);
        EXPECT_LE(WorstDifference(picture->image.color, reference), 1);
    }
}

namespace {
struct ThumbnailReference {
    const char* path;
    bool hasExif;
    int orientation;
    const char* dateTaken;
    int64_t thumbnailOffset;
    int64_t thumbnailLength;
    int thumbnailWidth;
    int thumbnailHeight;
};

const ThumbnailReference kThumbnails[] = {
#include "ExifSampleReference.inc"
};
} // namespace

// The embedded thumbnails decode to the size the independent reader gives them.
TEST(JpegSamples, ExifThumbnailsDecodeToTheirSize)
{
    if (!QFileInfo(SamplesDir()).isDir())
        GTEST_SKIP() << "no Exif samples at " << SamplesDir().toStdString();
    int checked = 0;
    for (const ThumbnailReference& ref : kThumbnails) {
        SCOPED_TRACE(ref.path);
        const QString path = SamplesDir() + QLatin1Char('/') + QString::fromUtf8(ref.path);
        DibImage image;
        const int orientation = LoadExifThumbnail(image, path, false);
        if (ref.thumbnailWidth <= 0) {
            EXPECT_EQ(orientation, 0);
            continue;
        }
        if (orientation == 0)
            continue; // present but not decodable (damaged files)
        ++checked;
        EXPECT_EQ(image.Size(), (DibSize{ref.thumbnailWidth, ref.thumbnailHeight}));
        EXPECT_EQ(orientation, ref.orientation >= 1 && ref.orientation <= 8 ? ref.orientation : 1);
    }
    EXPECT_GE(checked, 50);
}
