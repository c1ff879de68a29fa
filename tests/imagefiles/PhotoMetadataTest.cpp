#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ExifBuilder.h"
#include "imagefiles/ExifReader.h"
#include "imagefiles/ImageStreams.h"
#include "util/PhotoFormat.h"
#include "imagefiles/PhotoMetadata.h"

using namespace tessary;
using namespace tessary::test;

namespace {
MarkerList MarkersOf(const Bytes& file)
{
    MarkerList list;
    MemoryStream s(file.data(), file.size());
    EXPECT_TRUE(ReadMarkers(s, true, list));
    return list;
}

Bytes ThumbnailJpeg(uint16_t width, uint16_t height)
{
    return JpegFile({}, width, height, 40);
}

// A photo as a camera writes it: JFIF, Exif with orientation, dates and a thumbnail.
Bytes CameraPhoto(bool big, uint16_t orientation, const std::string& taken, const Bytes& thumbnail)
{
    TiffBuilder b(big);
    b.AddAscii(TiffBuilder::kIfd0, 271, "Orvanne");
    b.AddShort(TiffBuilder::kIfd0, 274, orientation);
    b.AddAscii(TiffBuilder::kIfd0, 306, "2001:01:01 01:01:01"); // modification date, not taken
    b.AddAscii(TiffBuilder::kExif, 36867, taken);
    b.AddShort(TiffBuilder::kIfd1, 259, 6);
    if (!thumbnail.empty())
        b.SetThumbnail(thumbnail);
    return JpegFile({JfifSegment(), ExifSegment(b.Build())});
}

void WriteFile(const QString& path, const Bytes& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}
} // namespace

TEST(PhotoFormat, ByExtension)
{
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("/a/b/photo.JPG")), PhotoFormat::Jpeg);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.jfif")), PhotoFormat::Jpeg);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.jpe")), PhotoFormat::Jpeg);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.Rle")), PhotoFormat::Bmp);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.png")), PhotoFormat::Png);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.tif")), PhotoFormat::Tiff);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.tiff")), PhotoFormat::Tiff);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("x.ved")), PhotoFormat::Reserved);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("jpg")), PhotoFormat::Unrecognised);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("/a.jpg/photo")), PhotoFormat::Unrecognised);
    EXPECT_EQ(PhotoFormatFromPath(QStringLiteral("photo.")), PhotoFormat::Unrecognised);
    EXPECT_TRUE(IsStorablePhotoFormat(PhotoFormat::Tiff));
    EXPECT_FALSE(IsStorablePhotoFormat(PhotoFormat::Icon));
    EXPECT_TRUE(IsStorablePhotoFormat(PhotoFormat::Png));
    EXPECT_STREQ(CanonicalExtension(PhotoFormatFromPath(QStringLiteral("a.JPEG"))), "jpg");
}

TEST(ExifOrientation, TakesIfd0ValuesOneToEight)
{
    for (bool big : {false, true}) {
        for (uint16_t o = 1; o <= 8; ++o)
            EXPECT_EQ(ExifOrientation(MarkersOf(CameraPhoto(big, o, "", {}))), o) << big;
        EXPECT_EQ(ExifOrientation(MarkersOf(CameraPhoto(big, 0, "", {}))), 0);
        EXPECT_EQ(ExifOrientation(MarkersOf(CameraPhoto(big, 9, "", {}))), 0);
    }
    // Stored as another integer type, or as a rational, it is still a number.
    TiffBuilder b(false);
    b.AddLong(TiffBuilder::kIfd0, 274, 6);
    EXPECT_EQ(ExifOrientation(MarkersOf(JpegFile({ExifSegment(b.Build())}))), 6);
    TiffBuilder r(true);
    r.AddRaw(TiffBuilder::kIfd0, 274, kExifRational, 1, [&] { Bytes v = r.U32(13); Append(v, r.U32(2)); return v; }());
    EXPECT_EQ(ExifOrientation(MarkersOf(JpegFile({ExifSegment(r.Build())}))), 0) << "6.5 is no orientation";
}

TEST(ExifOrientation, MissingTagOrBlock)
{
    TiffBuilder noTag(false);
    noTag.AddAscii(TiffBuilder::kIfd0, 271, "Orvanne");
    noTag.AddShort(TiffBuilder::kIfd1, 274, 6); // in IFD1, not IFD0
    EXPECT_EQ(ExifOrientation(MarkersOf(JpegFile({ExifSegment(noTag.Build())}))), 0);
    EXPECT_EQ(ExifOrientation(MarkersOf(JpegFile({JfifSegment()}))), 1) << "no Exif block";
    EXPECT_EQ(ExifOrientation(MarkerList()), 1);

    Bytes badOrder = ExifSegment(noTag.Build());
    badOrder[10] = 'X';
    EXPECT_EQ(ExifOrientation(MarkersOf(JpegFile({badOrder}))), 1) << "no valid Exif block";

    // Only the first Exif block counts.
    TiffBuilder second(false);
    second.AddShort(TiffBuilder::kIfd0, 274, 3);
    EXPECT_EQ(ExifOrientation(MarkersOf(JpegFile({badOrder, ExifSegment(second.Build())}))), 1);
}

TEST(ExifDateTime, ScanRules)
{
    const auto full = ParseExifDateTime("2009:07:14 18:30:05");
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(full->date.Text(), QStringLiteral("2009-07-14"));
    EXPECT_EQ(full->time.Text(), QStringLiteral("18:30:05.000"));
    EXPECT_EQ(full->Text(), QStringLiteral("2009-07-14 18:30:05.000"));

    EXPECT_FALSE(ParseExifDateTime("2009:07:14").has_value());
    EXPECT_FALSE(ParseExifDateTime("2009:07:14 18:30").has_value());
    EXPECT_FALSE(ParseExifDateTime("2009-07-14 18:30:05").has_value());
    EXPECT_FALSE(ParseExifDateTime("").has_value());
    EXPECT_FALSE(ParseExifDateTime("    :  :     :  :  ").has_value()) << "blank fields";

    const auto zero = ParseExifDateTime("0000:00:00 00:00:00");
    ASSERT_TRUE(zero.has_value());
    EXPECT_TRUE(zero->date.IsNull());
    EXPECT_EQ(zero->time.Milliseconds(), 0u);

    const auto impossible = ParseExifDateTime("2009:02:30 25:00:00");
    ASSERT_TRUE(impossible.has_value()) << "returned even when both parts are invalid";
    EXPECT_TRUE(impossible->date.IsNull());
    EXPECT_FALSE(impossible->time.IsValid());

    const auto twoDigit = ParseExifDateTime("0099:12:31 23:59:59");
    ASSERT_TRUE(twoDigit.has_value());
    EXPECT_EQ(twoDigit->date.Text(), QStringLiteral("1999-12-31"));
    EXPECT_EQ(twoDigit->time.Milliseconds(), 86399000u);

    // The scan reads at most four digits for the year.
    EXPECT_FALSE(ParseExifDateTime("20091:07:14 18:30:05").has_value());
}

TEST(ExifDateTime, ComesFromTheExifSubIfd)
{
    for (bool big : {false, true}) {
        const auto taken = ExifDateTaken(MarkersOf(CameraPhoto(big, 1, "2009:07:14 18:30:05", {})));
        ASSERT_TRUE(taken.has_value());
        EXPECT_EQ(taken->Text(), QStringLiteral("2009-07-14 18:30:05.000"));
    }
    TiffBuilder noSubIfd(false);
    noSubIfd.AddAscii(TiffBuilder::kIfd0, 36867, "2009:07:14 18:30:05");
    EXPECT_FALSE(ExifDateTaken(MarkersOf(JpegFile({ExifSegment(noSubIfd.Build())}))).has_value());
    TiffBuilder numeric(false);
    numeric.AddLong(TiffBuilder::kExif, 36867, 20090714);
    EXPECT_FALSE(ExifDateTaken(MarkersOf(JpegFile({ExifSegment(numeric.Build())}))).has_value());
    EXPECT_FALSE(ExifDateTaken(MarkersOf(JpegFile({JfifSegment()}))).has_value());
}

TEST(ExifThumbnail, LocatesTheEmbeddedJpeg)
{
    const Bytes thumbnail = ThumbnailJpeg(160, 120);
    for (bool big : {false, true}) {
        const Bytes file = CameraPhoto(big, 6, "2009:07:14 18:30:05", thumbnail);
        const MarkerList markers = MarkersOf(file);
        const auto found = ExifThumbnail(markers);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(Bytes(found->bytes.begin(), found->bytes.end()), thumbnail);
        ASSERT_LE(found->streamOffset + int64_t(thumbnail.size()), int64_t(file.size()));
        EXPECT_EQ(Bytes(file.begin() + found->streamOffset, file.begin() + found->streamOffset + int64_t(thumbnail.size())),
                  thumbnail)
            << "the offset names the bytes' place in the file";
        MemoryStream s(found->bytes.data(), found->bytes.size());
        const auto frame = ReadFrameInfo(s);
        ASSERT_TRUE(frame.has_value());
        EXPECT_EQ(frame->width, 160);
        EXPECT_EQ(frame->height, 120);
    }
}

TEST(ExifThumbnail, AbsentUnlessBothTagsPointInside)
{
    EXPECT_FALSE(ExifThumbnail(MarkersOf(CameraPhoto(false, 1, "", {}))).has_value());

    for (bool big : {false, true}) {
        TiffBuilder b(big);
        b.SetThumbnail(Bytes(100, 0x55));
        const Bytes tiff = b.Build();
        const uint32_t lengthValue = b.EntryOffset(TiffBuilder::kIfd1, 1) + 8;
        const uint32_t offsetValue = b.EntryOffset(TiffBuilder::kIfd1, 0) + 8;
        auto with = [&](uint32_t at, uint32_t value) {
            Bytes t = tiff;
            const Bytes v = b.U32(value);
            std::copy(v.begin(), v.end(), t.begin() + at);
            return ExifThumbnail(MarkersOf(JpegFile({ExifSegment(t)})));
        };
        EXPECT_TRUE(with(lengthValue, 100).has_value());
        EXPECT_EQ(with(lengthValue, 60)->bytes.size(), 60u);
        EXPECT_FALSE(with(lengthValue, 101).has_value()) << "one byte past the block";
        EXPECT_FALSE(with(lengthValue, 0).has_value());
        EXPECT_FALSE(with(offsetValue, uint32_t(tiff.size())).has_value());
        EXPECT_FALSE(with(offsetValue, 0xFFFFFFFFu).has_value());
    }
    // The length tag missing.
    TiffBuilder noLength(false);
    noLength.AddLong(TiffBuilder::kIfd1, 513, 8);
    EXPECT_FALSE(ExifThumbnail(MarkersOf(JpegFile({ExifSegment(noLength.Build())}))).has_value());
}

TEST(PhotoMetadataFiles, HasExifAndDateTakenFromFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Bytes photo = CameraPhoto(true, 3, "2012:02:29 07:08:09", ThumbnailJpeg(64, 48));
    WriteFile(dir.filePath(QStringLiteral("a.jpg")), photo);
    WriteFile(dir.filePath(QStringLiteral("b.JPEG")), photo);
    WriteFile(dir.filePath(QStringLiteral("c.png")), photo);
    WriteFile(dir.filePath(QStringLiteral("plain.jpg")), JpegFile({JfifSegment()}));

    EXPECT_TRUE(HasExif(dir.filePath(QStringLiteral("a.jpg"))));
    EXPECT_TRUE(HasExif(dir.filePath(QStringLiteral("b.JPEG"))));
    EXPECT_FALSE(HasExif(dir.filePath(QStringLiteral("c.png")))) << "JPEG by extension only";
    EXPECT_FALSE(HasExif(dir.filePath(QStringLiteral("plain.jpg"))));
    EXPECT_FALSE(HasExif(dir.filePath(QStringLiteral("missing.jpg"))));

    const auto taken = DateTaken(dir.filePath(QStringLiteral("a.jpg")));
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->Text(), QStringLiteral("2012-02-29 07:08:09.000"));
    EXPECT_FALSE(DateTaken(dir.filePath(QStringLiteral("plain.jpg"))).has_value());
    EXPECT_FALSE(DateTaken(dir.filePath(QStringLiteral("missing.jpg"))).has_value());

    // Cut in the scan data: the headers are all there.
    const size_t sos = photo.size() - 64 - 2 - 14;
    WriteFile(dir.filePath(QStringLiteral("cut.jpg")), Bytes(photo.begin(), photo.begin() + int64_t(sos) + 20));
    EXPECT_TRUE(HasExif(dir.filePath(QStringLiteral("cut.jpg"))));
    EXPECT_TRUE(DateTaken(dir.filePath(QStringLiteral("cut.jpg"))).has_value());
    // Cut inside the Exif block: refused.
    WriteFile(dir.filePath(QStringLiteral("cut2.jpg")), Bytes(photo.begin(), photo.begin() + 60));
    EXPECT_FALSE(HasExif(dir.filePath(QStringLiteral("cut2.jpg"))));
    EXPECT_FALSE(DateTaken(dir.filePath(QStringLiteral("cut2.jpg"))).has_value());

    MarkerList markers;
    ASSERT_TRUE(ReadHeaderMarkers(dir.filePath(QStringLiteral("a.jpg")), markers));
    EXPECT_EQ(ExifOrientation(markers), 3);
    const auto thumbnail = ExifThumbnail(markers);
    ASSERT_TRUE(thumbnail.has_value());
    EXPECT_EQ(thumbnail->bytes.size(), ThumbnailJpeg(64, 48).size());
}
