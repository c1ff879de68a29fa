// TIFF files written by libtiff itself, read by the program's codec: the same pixels as
// libtiff's RGBA reader for 8- and 16-bit, grey, alpha, tiled and multi-page files, the
// Orientation tag and the Exif directory, thumbnails shrunk band by band, damage refused.
#include <gtest/gtest.h>

#include "FormatTestSupport.h"
#include "TiffFixture.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/PhotoMetadata.h"
#include "imagefiles/TiffCodec.h"
#include "imaging/DibDepths.h"
#include "imaging/ExifOrientation.h"

using namespace tessary;
using namespace tessary::test;

namespace {
class TiffFiles : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
};
} // namespace

TEST_F(TiffFiles, DecodeAsLibtiffDoesForEveryLayout)
{
    struct Case {
        const char* name;
        int bits;
        bool grey, alpha, tiled;
        int pages;
        uint16_t compression;
    };
    for (const Case c : {Case{"rgb8", 8, false, false, false, 1, COMPRESSION_LZW},
                         Case{"rgb16", 16, false, false, false, 1, COMPRESSION_NONE},
                         Case{"grey8", 8, true, false, false, 1, COMPRESSION_ADOBE_DEFLATE},
                         Case{"grey16", 16, true, false, false, 1, COMPRESSION_LZW},
                         Case{"rgb8tiled", 8, false, false, true, 1, COMPRESSION_LZW},
                         Case{"rgba8", 8, false, true, false, 1, COMPRESSION_LZW},
                         Case{"rgba16tiled", 16, false, true, true, 1, COMPRESSION_ADOBE_DEFLATE},
                         Case{"pages", 8, false, false, false, 3, COMPRESSION_PACKBITS}}) {
        SCOPED_TRACE(c.name);
        TiffRecipe r;
        r.bits = c.bits;
        r.grey = c.grey;
        r.alpha = c.alpha;
        r.tiled = c.tiled;
        r.pages = c.pages;
        r.compression = c.compression;
        const std::vector<uint8_t> bytes = EncodeTiff(r, SmoothSample);
        ASSERT_FALSE(bytes.empty());
        const QString path = WriteTemp(m_dir, QString::fromLatin1(c.name) + QStringLiteral(".tif"), bytes);
        const std::unique_ptr<Picture> picture = LoadPicture(path);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->Format(), PhotoFormat::Tiff);
        EXPECT_EQ(picture->Size(), (DibSize{40, 30}));
        EXPECT_EQ(picture->HasAlpha(), c.alpha);
        const TiffOptions& o = static_cast<const TiffPicture&>(*picture).options;
        EXPECT_EQ(o.bitsPerSample, c.bits);
        EXPECT_EQ(o.samplesPerPixel, (c.grey ? 1 : 3) + (c.alpha ? 1 : 0));
        EXPECT_EQ(picture->record.bpp, c.bits * o.samplesPerPixel);
        const RgbaPixels ours = PicturePixels(*picture);
        const RgbaPixels reference = ReferenceTiff(bytes);
        // libtiff premultiplies alpha; the program keeps it straight, within rounding.
        EXPECT_LE(MaxDifference(c.alpha ? Premultiplied(ours) : ours, reference), c.alpha ? 1 : 0);
        // The first page, 16-bit samples through libtiff's rounding to 8 bits: the values.
        if (!c.alpha) {
            const RgbaPixels samples = MakeRgba(40, 30, [&](int x, int y, int k) {
                return k == 3 ? uint8_t(255) : SmoothSample(x, y, c.grey ? 0 : k);
            });
            EXPECT_LE(MaxDifference(ours, samples), c.bits == 16 ? 1 : 0);
        }
        EXPECT_EQ(LoadHeader(path), (std::optional<DibSize>{DibSize{40, 30}}));
    }
}

TEST_F(TiffFiles, TheOrientationTagTurnsTheThumbnailAndTheExifDirectoryGivesTheDate)
{
    TiffRecipe r;
    r.width = 80;
    r.height = 40;
    r.orientation = 8;
    r.dateTaken = "2021:03:04 05:06:07";
    const std::vector<uint8_t> bytes =
        EncodeTiff(r, [&](int x, int y, int c) { return QuadrantSample(x, y, c, r.width, r.height); });
    ASSERT_FALSE(bytes.empty());
    const QString path = WriteTemp(m_dir, QStringLiteral("turned.TIFF"), bytes);
    EXPECT_EQ(PhotoOrientation(path), 8);
    EXPECT_TRUE(HasExif(path));
    ASSERT_TRUE(DateTaken(path).has_value());
    EXPECT_EQ(DateTaken(path)->Text(), QStringLiteral("2021-03-04 05:06:07.000"));

    const std::unique_ptr<Picture> picture = LoadPicture(path);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Size(), (DibSize{80, 40})) << "as stored";
    EXPECT_EQ(static_cast<const TiffPicture&>(*picture).options.orientation, 8);
    for (const DibSize box : {DibSize{20, 20}, DibSize{100, 100}}) {
        DibImage24 thumb;
        ASSERT_TRUE(LoadImageFitted(thumb, path, box));
        DibImage24 expected;
        ASSERT_TRUE(GetFittedImage(*picture, expected, box));
        ASSERT_TRUE(ApplyExifOrientation(expected, 8));
        EXPECT_EQ(thumb.Size(), expected.Size());
        EXPECT_EQ(MaxDifference(FromDib(thumb), FromDib(expected)), 0);
    }

    r.orientation = 1;
    r.dateTaken.clear();
    const QString plain = WriteTemp(m_dir, QStringLiteral("plain.tif"), EncodeTiff(r, SmoothSample));
    EXPECT_EQ(PhotoOrientation(plain), 1);
    EXPECT_FALSE(HasExif(plain));
    EXPECT_FALSE(DateTaken(plain).has_value());
}

TEST_F(TiffFiles, BandByBandThumbnailsEqualTheWholeDecodesShrink)
{
    for (const bool tiled : {false, true}) {
        for (const bool alpha : {false, true}) {
            SCOPED_TRACE(testing::Message() << "tiled " << tiled << " alpha " << alpha);
            TiffRecipe r;
            r.width = 301;
            r.height = 203;
            r.tiled = tiled;
            r.alpha = alpha;
            r.rowsPerStrip = 7;
            const QString path = WriteTemp(m_dir, QStringLiteral("big.tif"), EncodeTiff(r, SmoothSample));
            DibImage24 streamed;
            ASSERT_TRUE(LoadImageFitted(streamed, path, {94, 94}));
            const std::unique_ptr<Picture> picture = LoadPicture(path);
            ASSERT_NE(picture, nullptr);
            DibImage24 whole;
            ASSERT_TRUE(GetFittedImage(*picture, whole, {94, 94}));
            EXPECT_EQ(streamed.Size(), (DibSize{94, 63}));
            EXPECT_EQ(MaxDifference(FromDib(streamed), FromDib(whole)), 0);
        }
    }
}

TEST_F(TiffFiles, DamagedAndHostileFilesAreRefused)
{
    TiffRecipe r;
    const std::vector<uint8_t> bytes = EncodeTiff(r, SmoothSample);
    TiffCodec codec;
    for (size_t n = 0; n < bytes.size(); n += 13) {
        TiffPicture picture;
        const std::vector<uint8_t> cut = Cut(bytes, n);
        if (!codec.LoadFromMemory(picture, cut.data(), cut.size())) {
            EXPECT_TRUE(picture.IsEmpty());
        }
    }
    // Sides above 2^20, and a picture past the pixel limit with a few bytes of data.
    for (const uint32_t side : {uint32_t(1) << 21, uint32_t(60000)}) {
        TiffRecipe huge;
        huge.width = 1;
        huge.height = 1;
        std::vector<uint8_t> big = EncodeTiff(huge, SmoothSample);
        ASSERT_FALSE(big.empty());
        // Patch ImageWidth and ImageLength (tags 256, 257) in the little-endian IFD.
        const uint32_t ifd = uint32_t(big[4]) | uint32_t(big[5]) << 8 | uint32_t(big[6]) << 16 | uint32_t(big[7]) << 24;
        const int count = big[ifd] | big[ifd + 1] << 8;
        for (int e = 0; e < count; ++e) {
            uint8_t* entry = big.data() + ifd + 2 + e * 12;
            const int tag = entry[0] | entry[1] << 8;
            if (tag == 256 || tag == 257) {
                entry[2] = 4; // LONG
                entry[3] = 0;
                for (int b = 0; b < 4; ++b)
                    entry[8 + b] = uint8_t(side >> (8 * b));
            }
        }
        TiffPicture picture;
        EXPECT_FALSE(codec.LoadFromMemory(picture, big.data(), big.size())) << side;
        EXPECT_TRUE(picture.IsEmpty());
        const QString path = WriteTemp(m_dir, QStringLiteral("huge.tif"), big);
        DibImage24 thumb;
        EXPECT_FALSE(LoadImageFitted(thumb, path, {94, 94})) << side;
    }
    const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 0};
    EXPECT_EQ(LoadPicture(WriteTemp(m_dir, QStringLiteral("fake.tif"), png)), nullptr);
    EXPECT_FALSE(HasExif(WriteTemp(m_dir, QStringLiteral("fake2.tif"), png)));
}
