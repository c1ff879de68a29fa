// `tessary-cli image` and `exif` over photos of the formats read through their own libraries,
// run as a process; the BMP output is read back by Qt's own reader.
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "AllFormatsFixture.h"
#include "ExifBuilder.h"
#include "cli/CliRunner.h"

using namespace tessary;
using namespace tessary::test;

namespace {
QJsonObject Json(const CliResult& r)
{
    return QJsonDocument::fromJson(r.out).object();
}
} // namespace

TEST(CliPhotoFormats, ImageInfoDecodeAndThumbHandleEveryFormat)
{
    QTemporaryDir dir;
    const QStringList photos = WriteOnePhotoOfEachFormat(dir.path(), QStringLiteral("p"), 200, 100);
    ASSERT_EQ(photos.size(), 8);
    const int codes[8] = {1, 2, 4, 5, 6, 7, 8, 9};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(photos[i].toStdString());
        const CliResult info = RunCli({QStringLiteral("image"), QStringLiteral("info"), photos[i], QStringLiteral("--json")});
        ASSERT_EQ(info.exitCode, 0) << info.err.constData();
        EXPECT_EQ(Json(info).value(QStringLiteral("format")).toInt(), codes[i]);
        EXPECT_EQ(Json(info).value(QStringLiteral("width")).toInt(), 200);
        EXPECT_EQ(Json(info).value(QStringLiteral("height")).toInt(), 100);

        const QString decoded = dir.filePath(QStringLiteral("decoded.bmp"));
        ASSERT_EQ(RunCli({QStringLiteral("image"), QStringLiteral("decode"), photos[i], decoded}).exitCode, 0);
        EXPECT_EQ(QImage(decoded).size(), QSize(200, 100));
        const QString thumb = dir.filePath(QStringLiteral("thumb.bmp"));
        ASSERT_EQ(RunCli({QStringLiteral("image"), QStringLiteral("thumb"), photos[i], thumb}).exitCode, 0);
        // The HEIC file's 40 x 20 embedded thumbnail is used as it is; the others are fitted.
        EXPECT_EQ(QImage(thumb).size(), codes[i] == 8 ? QSize(40, 20) : QSize(94, 47));
    }
    // Content that does not match the name is refused with one line.
    QFile::copy(photos[7], dir.filePath(QStringLiteral("named.webp")));
    const CliResult wrong = RunCli({QStringLiteral("image"), QStringLiteral("info"), dir.filePath(QStringLiteral("named.webp"))});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_TRUE(wrong.err.contains("not a readable image file"));
}

TEST(CliPhotoFormats, ExifReportsWhatEachContainerCarries)
{
    QTemporaryDir dir;
    TiffBuilder exif(false);
    exif.AddShort(TiffBuilder::kIfd0, 274, 6);
    exif.AddAscii(TiffBuilder::kExif, 36867, "2018:05:06 07:08:09");
    HeifRecipe heif;
    heif.thumbnailSide = 32;
    heif.exif = exif.Build();
    const QString heic = dir.filePath(QStringLiteral("x.heic"));
    QFile f(heic);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const std::vector<uint8_t> bytes = EncodeHeif(heif, AllFormatsSample);
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    f.close();
    const CliResult h = RunCli({QStringLiteral("exif"), heic, QStringLiteral("--json")});
    ASSERT_EQ(h.exitCode, 0) << h.err.constData();
    EXPECT_EQ(Json(h).value(QStringLiteral("orientation")).toInt(), 1) << "the container's rotation is already applied";
    EXPECT_EQ(Json(h).value(QStringLiteral("date_taken")).toString(), QStringLiteral("2018-05-06 07:08:09.000"));
    EXPECT_EQ(Json(h).value(QStringLiteral("thumbnail")).toObject().value(QStringLiteral("width")).toInt(), 32);
    EXPECT_EQ(Json(h).value(QStringLiteral("thumbnail")).toObject().value(QStringLiteral("height")).toInt(), 24);

    TiffRecipe tiff;
    tiff.orientation = 3;
    tiff.dateTaken = "2017:01:02 03:04:05";
    const QString tif = dir.filePath(QStringLiteral("x.tiff"));
    QFile t(tif);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    const std::vector<uint8_t> tiffBytes = EncodeTiff(tiff, AllFormatsSample);
    t.write(reinterpret_cast<const char*>(tiffBytes.data()), qint64(tiffBytes.size()));
    t.close();
    const CliResult r = RunCli({QStringLiteral("exif"), tif});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.contains("orientation: 3"));
    EXPECT_TRUE(r.out.contains("date taken: 2017-01-02 03:04:05.000"));
    EXPECT_TRUE(r.out.contains("thumbnail: none"));

    // A HEIF name over other bytes: one line, failure.
    const QString fake = dir.filePath(QStringLiteral("fake.avif"));
    QFile::copy(tif, fake);
    const CliResult bad = RunCli({QStringLiteral("exif"), fake});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains("not a readable AVIF file"));
}
