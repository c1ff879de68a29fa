// Conformance over the Exif sample photos: orientation, date taken and the embedded thumbnail
// must agree with the values an independent reader gave (ExifSampleReference.inc, made by
// make_exif_reference.sh), and damaged or cut files must be refused or read partially.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "imagefiles/ImageStreams.h"
#include "imagefiles/PhotoMetadata.h"

using namespace tessary;

namespace {
struct Reference {
    const char* path;
    bool hasExif;
    int orientation; // -1: no IFD0 tag
    const char* dateTaken; // "" none
    int64_t thumbnailOffset; // in the file, -1 none
    int64_t thumbnailLength;
    int thumbnailWidth;
    int thumbnailHeight;
};

const Reference kReference[] = {
#include "ExifSampleReference.inc"
};

QString SamplesDir()
{
    return QStringLiteral(TESSARY_TESTDATA_DIR "/exif-samples/jpg");
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Findings {
    int orientation = 0;
    QString date;
    bool hasThumbnail = false;
    int64_t thumbnailOffset = -1;
    QByteArray thumbnail;
};

Findings Examine(const MarkerList& markers)
{
    Findings f;
    f.orientation = ExifOrientation(markers);
    if (const auto taken = ExifDateTaken(markers))
        f.date = taken->Text();
    if (const auto t = ExifThumbnail(markers)) {
        f.hasThumbnail = true;
        f.thumbnailOffset = t->streamOffset;
        f.thumbnail = QByteArray(reinterpret_cast<const char*>(t->bytes.data()), qsizetype(t->bytes.size()));
    }
    return f;
}

#define SKIP_WITHOUT_SAMPLES()                                                                     \
    if (!QFileInfo(SamplesDir()).isDir())                                                          \
    GTEST_SKIP() << "no Exif samples at " << SamplesDir().toStdString()
} // namespace

TEST(ExifSamples, AgreeWithTheIndependentReader)
{
    SKIP_WITHOUT_SAMPLES();
    int withThumbnail = 0, withDate = 0, rotated = 0;
    for (const Reference& ref : kReference) {
        SCOPED_TRACE(ref.path);
        const QString path = SamplesDir() + QLatin1Char('/') + QString::fromUtf8(ref.path);
        MarkerList markers;
        ASSERT_TRUE(ReadHeaderMarkers(path, markers));
        EXPECT_EQ(markers.Find(kMarkerExif) != nullptr, ref.hasExif);
        EXPECT_EQ(HasExif(path), ref.hasExif);

        // Without an IFD0 tag, a file with an Exif block reads 0 and one without reads 1.
        const int expectedOrientation = ref.orientation >= 1 && ref.orientation <= 8 ? ref.orientation
                                        : ref.hasExif                               ? 0
                                                                                    : 1;
        EXPECT_EQ(ExifOrientation(markers), expectedOrientation);
        rotated += expectedOrientation > 1;

        const auto taken = DateTaken(path);
        EXPECT_EQ(taken ? taken->Text().toStdString() : std::string(), std::string(ref.dateTaken));
        withDate += taken.has_value();

        const auto thumbnail = ExifThumbnail(markers);
        const bool expectThumbnail = ref.thumbnailLength > 0;
        ASSERT_EQ(thumbnail.has_value(), expectThumbnail);
        if (!thumbnail)
            continue;
        ++withThumbnail;
        EXPECT_EQ(thumbnail->streamOffset, ref.thumbnailOffset);
        EXPECT_EQ(int64_t(thumbnail->bytes.size()), ref.thumbnailLength);
        const QByteArray file = ReadAll(path);
        ASSERT_GE(file.size(), ref.thumbnailOffset + ref.thumbnailLength);
        EXPECT_EQ(0, std::memcmp(thumbnail->bytes.data(), file.constData() + ref.thumbnailOffset,
                                 size_t(ref.thumbnailLength)));
        MemoryStream s(thumbnail->bytes.data(), thumbnail->bytes.size());
        const auto frame = ReadFrameInfo(s);
        ASSERT_TRUE(frame.has_value());
        EXPECT_EQ(frame->width, ref.thumbnailWidth);
        EXPECT_EQ(frame->height, ref.thumbnailHeight);
    }
    // The table covers what it claims to.
    EXPECT_GE(withThumbnail, 50);
    EXPECT_GE(withDate, 50);
    EXPECT_GE(rotated, 14);
}

TEST(ExifSamples, FullReadsEndWithTheScanData)
{
    SKIP_WITHOUT_SAMPLES();
    for (const Reference& ref : kReference) {
        SCOPED_TRACE(ref.path);
        const QString path = SamplesDir() + QLatin1Char('/') + QString::fromUtf8(ref.path);
        FileStream stream(path);
        MarkerList full;
        if (!ReadMarkers(stream, false, full))
            continue; // refused; the headers-only read above is what the program uses
        ASSERT_FALSE(full.IsEmpty());
        const MarkerRecord& tail = full.At(full.Count() - 1);
        EXPECT_EQ(tail.id, kMarkerScanData);
        EXPECT_EQ(tail.streamOffset + int64_t(tail.length), QFileInfo(path).size());
        MarkerList headers;
        ASSERT_TRUE(ReadHeaderMarkers(path, headers));
        EXPECT_EQ(Examine(full).date, Examine(headers).date);
        EXPECT_EQ(Examine(full).thumbnail, Examine(headers).thumbnail);
    }
}

// Every cut of a sample's leading bytes, and bytes overwritten across its Exif block, are
// refused or read partially, never past the buffer (the sanitizer build checks that). A list
// keeps only whole records, so whatever is still found equals the whole file's value.
TEST(ExifSamples, DamagedCopiesAreRefusedOrReadPartially)
{
    SKIP_WITHOUT_SAMPLES();
    const char* const samples[] = {"Canon_40D.jpg", "exif-org/fujifilm-finepix40i.jpg", "hdr/canon_hdr_YES.jpg",
                                   "corrupted.jpg", "tests/30-type_error.jpg", "invalid/image01137.jpg"};
    for (const char* name : samples) {
        SCOPED_TRACE(name);
        const QByteArray file = ReadAll(SamplesDir() + QLatin1Char('/') + QLatin1String(name));
        ASSERT_FALSE(file.isEmpty());
        MarkerList whole;
        {
            MemoryStream s(file.constData(), size_t(file.size()));
            ASSERT_TRUE(ReadMarkers(s, true, whole));
        }
        const Findings expected = Examine(whole);
        const qsizetype headerEnd = std::min<qsizetype>(file.size(), 70000);

        for (qsizetype n = 0; n < headerEnd; n += 37) {
            MemoryStream s(file.constData(), size_t(n));
            MarkerList cut;
            ReadMarkers(s, true, cut);
            const Findings got = Examine(cut);
            if (cut.Find(kMarkerExif)) {
                ASSERT_EQ(got.date, expected.date) << n;
                ASSERT_EQ(got.thumbnail, expected.thumbnail) << n;
                ASSERT_EQ(got.orientation, expected.orientation) << n;
            } else {
                ASSERT_FALSE(got.hasThumbnail) << n;
            }
        }

        const MarkerRecord* exif = whole.Find(kMarkerExif);
        if (!exif)
            continue;
        const qsizetype from = qsizetype(exif->streamOffset);
        const qsizetype to = from + qsizetype(exif->length);
        QByteArray damaged = file;
        uint32_t seed = 12345;
        for (qsizetype at = from; at < to; at += 3) {
            seed = seed * 1103515245u + 12345u;
            const char original = damaged[at];
            damaged[at] = char(seed >> 16);
            MemoryStream s(damaged.constData(), size_t(damaged.size()));
            MarkerList list;
            ReadMarkers(s, true, list);
            const Findings got = Examine(list);
            damaged[at] = original;
            if (got.hasThumbnail) {
                ASSERT_GE(got.thumbnailOffset, from) << at;
                ASSERT_LE(got.thumbnailOffset + got.thumbnail.size(), to) << "thumbnail stays inside the block";
            }
        }
    }
}
