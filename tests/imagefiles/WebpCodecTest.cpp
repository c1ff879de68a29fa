// WebP files made with libwebp's own encoder, read by the program's codec: the same pixels as
// libwebp's reference decode, an animation's first frame, the Exif chunk's orientation and
// date, the reduced decode of thumbnails, and damaged files refused.
#include <gtest/gtest.h>

#include "ExifBuilder.h"
#include "FormatTestSupport.h"
#include "JpegFixture.h"
#include "WebpFixture.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/PhotoMetadata.h"
#include "imagefiles/WebpCodec.h"
#include "imagefiles/WebpDecoder.h"
#include "imaging/DibDepths.h"
#include "imaging/ExifOrientation.h"

using namespace tessary;
using namespace tessary::test;

namespace {
class WebpFiles : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
};

std::vector<uint8_t> ExifWith(int orientation, const char* date)
{
    TiffBuilder b(true);
    b.AddShort(TiffBuilder::kIfd0, 274, uint16_t(orientation));
    b.AddAscii(TiffBuilder::kExif, 36867, date);
    return b.Build();
}
} // namespace

TEST_F(WebpFiles, DecodeAsLibwebpDoesLossyAndLosslessWithAndWithoutAlpha)
{
    for (const bool lossless : {false, true}) {
        for (const bool alpha : {false, true}) {
            SCOPED_TRACE(testing::Message() << "lossless " << lossless << " alpha " << alpha);
            WebpRecipe r;
            r.lossless = lossless;
            r.alpha = alpha;
            const std::vector<uint8_t> bytes = EncodeWebp(r, SmoothSample);
            ASSERT_FALSE(bytes.empty());
            const QString path = WriteTemp(m_dir, QStringLiteral("p.webp"), bytes);
            const std::unique_ptr<Picture> picture = LoadPicture(path);
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(picture->Format(), PhotoFormat::Webp);
            EXPECT_EQ(picture->Size(), (DibSize{64, 48}));
            EXPECT_EQ(picture->HasAlpha(), alpha);
            EXPECT_EQ(static_cast<const WebpPicture&>(*picture).options.lossless, lossless);
            EXPECT_EQ(MaxDifference(PicturePixels(*picture), ReferenceWebp(bytes)), 0);
            if (lossless && alpha) {
                EXPECT_EQ(MaxDifference(PicturePixels(*picture), MakeRgba(64, 48, SmoothSample)), 0)
                    << "lossless keeps every sample";
            }
            EXPECT_EQ(LoadHeader(path), (std::optional<DibSize>{DibSize{64, 48}}));
        }
    }
}

TEST_F(WebpFiles, AnAnimationShowsItsFirstFrame)
{
    const std::vector<uint8_t> bytes = EncodeAnimatedWebp(30, 20, 3, SmoothSample);
    ASSERT_FALSE(bytes.empty());
    const QString path = WriteTemp(m_dir, QStringLiteral("anim.webp"), bytes);
    const std::unique_ptr<Picture> picture = LoadPicture(path);
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(static_cast<const WebpPicture&>(*picture).options.animated);
    EXPECT_EQ(picture->Size(), (DibSize{30, 20}));
    EXPECT_EQ(MaxDifference(PicturePixels(*picture), MakeRgba(30, 20, SmoothSample)), 0);
    DibImage24 thumb;
    ASSERT_TRUE(LoadImageFitted(thumb, path, {15, 15}));
    EXPECT_EQ(thumb.Size(), (DibSize{15, 10}));
}

TEST_F(WebpFiles, TheExifChunkGivesOrientationAndDateAndTurnsOnlyTheThumbnail)
{
    WebpRecipe r;
    r.width = 80;
    r.height = 40;
    r.lossless = true;
    r.exif = ExifWith(6, "2019:12:31 23:59:58");
    const std::vector<uint8_t> bytes =
        EncodeWebp(r, [&](int x, int y, int c) { return QuadrantSample(x, y, c, r.width, r.height); });
    ASSERT_FALSE(bytes.empty());
    const QString path = WriteTemp(m_dir, QStringLiteral("turned.webp"), bytes);
    EXPECT_TRUE(HasExif(path));
    EXPECT_EQ(PhotoOrientation(path), 6);
    ASSERT_TRUE(DateTaken(path).has_value());
    EXPECT_EQ(DateTaken(path)->Text(), QStringLiteral("2019-12-31 23:59:58.000"));
    const std::optional<std::vector<uint8_t>> block = ReadContainerExif(path);
    ASSERT_TRUE(block.has_value());
    EXPECT_EQ(*block, r.exif);

    const std::unique_ptr<Picture> picture = LoadPicture(path);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Size(), (DibSize{80, 40})) << "the picture stays as stored";
    DibImage24 thumb;
    ASSERT_TRUE(LoadImageFitted(thumb, path, {20, 20}));
    EXPECT_EQ(thumb.Size(), (DibSize{10, 20})) << "turned upright, then fitted";
    DibImage24 expected;
    ASSERT_TRUE(GetFittedImage(*picture, expected, {20, 20}));
    ASSERT_TRUE(ApplyExifOrientation(expected, 6));
    // The thumbnail came from the library's reduced decode; flat quadrants survive it.
    EXPECT_LE(MaxDifference(FromDib(thumb), FromDib(expected)), 8);

    // Without the chunk there is nothing to turn and no badge to earn.
    r.exif.clear();
    const QString plain = WriteTemp(m_dir, QStringLiteral("plain.webp"), EncodeWebp(r, SmoothSample));
    EXPECT_FALSE(HasExif(plain));
    EXPECT_EQ(PhotoOrientation(plain), 1);
    EXPECT_FALSE(DateTaken(plain).has_value());
}

TEST_F(WebpFiles, LargePicturesAreDecodedAtReducedSizeForThumbnails)
{
    WebpRecipe r;
    r.width = 800;
    r.height = 600;
    r.quality = 80;
    const std::vector<uint8_t> bytes =
        EncodeWebp(r, [](int x, int y, int c) { return c == 3 ? uint8_t(255) : PhotoLikeSample(x, y, c, 800, 600); });
    ASSERT_FALSE(bytes.empty());
    const QString path = WriteTemp(m_dir, QStringLiteral("large.webp"), bytes);
    // The library's own reduced decode: twice the fitted size, straight into the rows.
    FileStream stream(path);
    WebpImageInfo info;
    DibImage reduced;
    ASSERT_TRUE(DecodeWebp(stream, false, {188, 141}, kMaxDecodedBytes, info, reduced));
    EXPECT_EQ(reduced.Size(), (DibSize{188, 141}));
    EXPECT_EQ(info.width, 800);

    DibImage24 thumb;
    ASSERT_TRUE(LoadImageFitted(thumb, path, {94, 94}));
    EXPECT_EQ(thumb.Size(), (DibSize{94, 70}));
    const std::unique_ptr<Picture> picture = LoadPicture(path);
    ASSERT_NE(picture, nullptr);
    DibImage24 full;
    ASSERT_TRUE(GetFittedImage(*picture, full, {94, 94}));
    EXPECT_LE(MaxDifference(FromDib(thumb), FromDib(full)), 24) << "close to the full decode's shrink";
}

TEST_F(WebpFiles, DamagedFilesAreRefused)
{
    WebpRecipe r;
    r.exif = ExifWith(3, "2019:12:31 23:59:58");
    const std::vector<uint8_t> bytes = EncodeWebp(r, SmoothSample);
    ASSERT_FALSE(bytes.empty());
    WebpCodec codec;
    for (size_t n = 0; n < bytes.size(); n += 7) {
        WebpPicture picture;
        const std::vector<uint8_t> cut = Cut(bytes, n);
        if (!codec.LoadFromMemory(picture, cut.data(), cut.size())) {
            EXPECT_TRUE(picture.IsEmpty());
        }
    }
    // A chunk claiming more bytes than the file has is not read.
    std::vector<uint8_t> lying = bytes;
    for (size_t i = 12; i + 8 <= lying.size(); ++i)
        if (std::memcmp(lying.data() + i, "EXIF", 4) == 0)
            lying[i + 7] = 0x7F;
    MemoryStream stream(lying.data(), lying.size());
    EXPECT_FALSE(ReadWebpChunk(stream, "EXIF", 1u << 30).has_value());
    MemoryStream good(bytes.data(), bytes.size());
    EXPECT_TRUE(ReadWebpChunk(good, "EXIF", 1u << 20).has_value());
    MemoryStream small(bytes.data(), bytes.size());
    EXPECT_FALSE(ReadWebpChunk(small, "EXIF", 8).has_value()) << "over the caller's limit";
    // A lower pixel limit refuses before decoding; other bytes under the name are refused.
    WebpPicture picture;
    codec.SetMaxPixelBytes(1000);
    EXPECT_FALSE(codec.LoadFromMemory(picture, bytes.data(), bytes.size()));
    const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
    EXPECT_EQ(LoadPicture(WriteTemp(m_dir, QStringLiteral("fake.webp"), gif)), nullptr);
}
