// HEIF and AVIF files made with libheif's own encoders, read by the program's codecs: the
// same pixels as libheif's reference decode, the container's rotation applied once, the
// embedded thumbnail, formats told apart by their brands, and damaged or hostile files refused.
#include <gtest/gtest.h>

#include <cstring>

#include "ExifBuilder.h"
#include "FormatTestSupport.h"
#include "HeifFixture.h"
#include "imagefiles/HeifCodec.h"
#include "imagefiles/HeifDecoder.h"
#include "imagefiles/ImageStreams.h"
#include "imagefiles/PhotoMetadata.h"
#include "imaging/DibDepths.h"

using namespace tessary;
using namespace tessary::test;

namespace {

std::vector<uint8_t> Quadrants(HeifRecipe r)
{
    return EncodeHeif(r, [&](int x, int y, int c) { return QuadrantSample(x, y, c, r.width, r.height); });
}

// Where each of the four quadrant colours of a w x h source lands after the orientation:
// the colour index at the decoded picture's top-left, top-right, bottom-left, bottom-right.
int QuadrantAt(const RgbaPixels& p, int qx, int qy)
{
    const uint8_t* s = p.At(qx == 0 ? p.width / 4 : 3 * p.width / 4, qy == 0 ? p.height / 4 : 3 * p.height / 4);
    static const uint8_t kColors[4][3] = {{230, 20, 20}, {20, 200, 40}, {30, 40, 220}, {240, 240, 240}};
    for (int i = 0; i < 4; ++i)
        if (std::abs(s[0] - kColors[i][0]) < 40 && std::abs(s[1] - kColors[i][1]) < 40 && std::abs(s[2] - kColors[i][2]) < 40)
            return i;
    return -1;
}

class HeifFiles : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(HeifFiles, DecodeAsLibheifDoesForColourAlphaAndGrey)
{
    struct Case {
        const char* name;
        bool avif, alpha, grey;
    };
    for (const Case c : {Case{"rgb.heic", false, false, false}, Case{"rgba.heic", false, true, false},
                         Case{"grey.heif", false, false, true}, Case{"rgb.avif", true, false, false},
                         Case{"rgba.avif", true, true, false}, Case{"grey.avif", true, false, true}}) {
        SCOPED_TRACE(c.name);
        HeifRecipe r;
        r.avif = c.avif;
        r.alpha = c.alpha;
        r.grey = c.grey;
        const std::vector<uint8_t> bytes = EncodeHeif(r, SmoothSample);
        ASSERT_FALSE(bytes.empty());
        const QString path = WriteTemp(m_dir, QString::fromLatin1(c.name), bytes);
        const std::unique_ptr<Picture> picture = LoadPicture(path);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->Format(), c.avif ? PhotoFormat::Avif : PhotoFormat::Heif);
        EXPECT_EQ(picture->Size(), (DibSize{64, 48}));
        EXPECT_EQ(picture->HasAlpha(), c.alpha);
        EXPECT_EQ(picture->record.sourcePath, path);
        const RgbaPixels reference = ReferenceHeif(bytes);
        EXPECT_EQ(MaxDifference(PicturePixels(*picture), reference), 0);
        if (c.grey) {
            const RgbaPixels ours = PicturePixels(*picture);
            EXPECT_EQ(ours.At(10, 10)[0], ours.At(10, 10)[2]) << "grey stays grey";
        }
        EXPECT_EQ(LoadHeader(path), (std::optional<DibSize>{DibSize{64, 48}}));
        // The same bytes from memory are recognised by their brands.
        const std::unique_ptr<Picture> fromMemory = LoadPicture(bytes.data(), bytes.size());
        ASSERT_NE(fromMemory, nullptr);
        EXPECT_EQ(fromMemory->Format(), picture->Format());
    }
}

TEST_F(HeifFiles, TheContainersRotationIsAppliedOnceAndTheExifTagIsIgnored)
{
    // Exif orientation values: the source's quadrants 0 1 / 2 3 seen at the corners.
    struct Case {
        int orientation;
        int corners[4];
        bool transposed;
    };
    TiffBuilder exif(false);
    exif.AddShort(TiffBuilder::kIfd0, 274, 8); // a tag that contradicts the container
    exif.AddAscii(TiffBuilder::kExif, 36867, "2022:08:09 10:11:12");
    for (const Case c : {Case{1, {0, 1, 2, 3}, false}, Case{3, {3, 2, 1, 0}, false}, Case{2, {1, 0, 3, 2}, false},
                         Case{6, {2, 0, 3, 1}, true}, Case{8, {1, 3, 0, 2}, true}}) {
        SCOPED_TRACE(c.orientation);
        HeifRecipe r;
        r.width = 96;
        r.height = 64;
        r.orientation = c.orientation;
        r.exif = exif.Build();
        const std::vector<uint8_t> bytes = Quadrants(r);
        ASSERT_FALSE(bytes.empty());
        const QString path = WriteTemp(m_dir, QStringLiteral("turned.heic"), bytes);
        const std::unique_ptr<Picture> picture = LoadPicture(path);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->Size(), c.transposed ? (DibSize{64, 96}) : (DibSize{96, 64}));
        const RgbaPixels ours = PicturePixels(*picture);
        EXPECT_EQ(MaxDifference(ours, ReferenceHeif(bytes)), 0);
        EXPECT_EQ(QuadrantAt(ours, 0, 0), c.corners[0]);
        EXPECT_EQ(QuadrantAt(ours, 1, 0), c.corners[1]);
        EXPECT_EQ(QuadrantAt(ours, 0, 1), c.corners[2]);
        EXPECT_EQ(QuadrantAt(ours, 1, 1), c.corners[3]);
        EXPECT_EQ(PhotoOrientation(path), 1) << "nothing is left to turn";
        // The thumbnail is upright the same way, and the Exif block still gives the date.
        DibImage24 thumb;
        ASSERT_TRUE(LoadImageFitted(thumb, path, {48, 48}));
        EXPECT_EQ(thumb.Size(), c.transposed ? (DibSize{32, 48}) : (DibSize{48, 32}));
        EXPECT_EQ(QuadrantAt(FromDib(thumb), 0, 0), c.corners[0]);
        const std::optional<DateTime> taken = DateTaken(path);
        ASSERT_TRUE(taken.has_value());
        EXPECT_EQ(taken->Text(), QStringLiteral("2022-08-09 10:11:12.000"));
        EXPECT_TRUE(HasExif(path));
    }
}

TEST_F(HeifFiles, TheEmbeddedThumbnailServesTheThumbnailLoader)
{
    HeifRecipe r;
    r.width = 320;
    r.height = 240;
    r.thumbnailSide = 64;
    const std::vector<uint8_t> with = EncodeHeif(r, SmoothSample);
    r.thumbnailSide = 0;
    const std::vector<uint8_t> without = EncodeHeif(r, SmoothSample);
    ASSERT_FALSE(with.empty());
    ASSERT_FALSE(without.empty());
    const QString withPath = WriteTemp(m_dir, QStringLiteral("with.heic"), with);
    const QString withoutPath = WriteTemp(m_dir, QStringLiteral("without.HEIC"), without);

    DibImage24 embedded;
    ASSERT_TRUE(LoadHeifThumbnail(embedded, withPath));
    EXPECT_EQ(embedded.Size(), (DibSize{64, 48}));
    EXPECT_EQ(MaxDifference(FromDib(embedded), ReferenceHeif(with, true)), 0);
    DibImage24 none;
    EXPECT_FALSE(LoadHeifThumbnail(none, withoutPath));
    EXPECT_TRUE(none.IsEmpty());

    // The loader uses the small image as it is (never enlarged) ...
    DibImage24 fromThumbnail;
    ASSERT_TRUE(LoadImageFitted(fromThumbnail, withPath, {94, 94}));
    EXPECT_EQ(fromThumbnail.Size(), (DibSize{64, 48}));
    EXPECT_EQ(MaxDifference(FromDib(fromThumbnail), FromDib(embedded)), 0);
    // ... and without one shrinks the full decode, as GetFittedImage does.
    DibImage24 fromImage;
    ASSERT_TRUE(LoadImageFitted(fromImage, withoutPath, {94, 94}));
    EXPECT_EQ(fromImage.Size(), (DibSize{94, 70}));
    const std::unique_ptr<Picture> picture = LoadPicture(withoutPath);
    ASSERT_NE(picture, nullptr);
    DibImage24 expected;
    ASSERT_TRUE(GetFittedImage(*picture, expected, {94, 94}));
    EXPECT_EQ(MaxDifference(FromDib(fromImage), FromDib(expected)), 0);

    const std::unique_ptr<Picture> header = MakePictureFromFile(withPath, true);
    ASSERT_NE(header, nullptr);
    EXPECT_TRUE(static_cast<const HeifPicture&>(*header).options.hasThumbnail);
    EXPECT_TRUE(header->IsEmpty()) << "a header read makes no pixels";
    EXPECT_FALSE(HasExif(withPath)) << "no Exif item";
}

TEST_F(HeifFiles, ContentMustMatchTheExtension)
{
    HeifRecipe r;
    const std::vector<uint8_t> heic = EncodeHeif(r, SmoothSample);
    r.avif = true;
    const std::vector<uint8_t> avif = EncodeHeif(r, SmoothSample);
    EXPECT_EQ(HeifFamilyFormat(heic.data(), heic.size()), PhotoFormat::Heif);
    EXPECT_EQ(HeifFamilyFormat(avif.data(), avif.size()), PhotoFormat::Avif);
    EXPECT_EQ(LoadPicture(WriteTemp(m_dir, QStringLiteral("a.avif"), heic)), nullptr);
    EXPECT_EQ(LoadPicture(WriteTemp(m_dir, QStringLiteral("b.heic"), avif)), nullptr);
    EXPECT_EQ(LoadHeader(WriteTemp(m_dir, QStringLiteral("c.hif"), avif)), std::nullopt);
    ASSERT_NE(LoadPicture(WriteTemp(m_dir, QStringLiteral("d.hif"), heic)), nullptr);
    // A brand list naming AV1 among generic brands is AVIF; one naming no image brand is neither.
    std::vector<uint8_t> ftyp = {0, 0, 0, 24, 'f', 't', 'y', 'p', 'm', 'i', 'f', '1', 0, 0, 0, 0,
                                 'm', 'i', 'a', 'f', 'a', 'v', 'i', 'f'};
    EXPECT_EQ(HeifFamilyFormat(ftyp.data(), ftyp.size()), PhotoFormat::Avif);
    std::memcpy(ftyp.data() + 8, "isom", 4);
    std::memcpy(ftyp.data() + 20, "mp41", 4);
    EXPECT_EQ(HeifFamilyFormat(ftyp.data(), ftyp.size()), PhotoFormat::Unrecognised);
    EXPECT_EQ(HeifFamilyFormat(ftyp.data(), 15), PhotoFormat::Unrecognised);
}

TEST_F(HeifFiles, DamagedAndHostileFilesAreRefused)
{
    HeifRecipe r;
    r.thumbnailSide = 16;
    const std::vector<uint8_t> bytes = EncodeHeif(r, SmoothSample);
    ASSERT_FALSE(bytes.empty());
    HeifCodec codec(PhotoFormat::Heif);
    for (size_t n = 0; n < bytes.size(); n += std::max<size_t>(1, bytes.size() / 40)) {
        HeifPicture picture;
        const std::vector<uint8_t> cut = Cut(bytes, n);
        if (!codec.LoadFromMemory(picture, cut.data(), cut.size())) {
            EXPECT_TRUE(picture.IsEmpty()) << n;
        }
    }
    // An image size box declaring a side above 2^20, and one whose pixels pass the limit.
    for (const uint32_t side : {uint32_t(1) << 21, uint32_t(40000)}) {
        std::vector<uint8_t> big = bytes;
        size_t patched = 0;
        for (size_t i = 0; i + 16 <= big.size(); ++i) {
            if (std::memcmp(big.data() + i, "ispe", 4) != 0)
                continue;
            for (int k = 0; k < 2; ++k)
                for (int b = 0; b < 4; ++b)
                    big[i + 8 + size_t(k) * 4 + size_t(b)] = uint8_t(side >> (24 - 8 * b));
            ++patched;
        }
        ASSERT_GE(patched, 1u);
        HeifPicture picture;
        EXPECT_FALSE(codec.LoadFromMemory(picture, big.data(), big.size())) << side;
        EXPECT_TRUE(picture.IsEmpty());
    }
    // A lower pixel limit refuses a picture that fits the default one.
    HeifPicture picture;
    codec.SetMaxPixelBytes(1000);
    EXPECT_FALSE(codec.LoadFromMemory(picture, bytes.data(), bytes.size()));
    EXPECT_TRUE(codec.LoadFromMemory(picture, bytes.data(), bytes.size(), true)) << "the header still reads";
    EXPECT_EQ(picture.Size(), (DibSize{0, 0}));
    EXPECT_EQ(picture.record.width, 64);
    // Other formats' bytes under a HEIF name.
    const std::vector<uint8_t> jpegLike = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(LoadPicture(WriteTemp(m_dir, QStringLiteral("fake.heic"), jpegLike)), nullptr);
}
