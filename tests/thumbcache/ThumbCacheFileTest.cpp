#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include "thumbcache/ThumbCacheFile.h"
#include "thumbcache/ThumbTestFiles.h"

using namespace tessary;
using namespace tessary::test;

namespace {
const QString kName = QStringLiteral("ThumbCache_LV.tcf");

ThumbCacheEntry EntryWithSerial(uint32_t serial)
{
    ThumbCacheEntry e;
    e.serial = serial;
    return e;
}
} // namespace

TEST(ThumbCacheFile, ChunksAreTenGranules)
{
    EXPECT_EQ(ThumbCacheFile::Granularity() % 65536u, 0u);
    EXPECT_EQ(ThumbCacheFile::ChunkSize(), 10 * ThumbCacheFile::Granularity());
    EXPECT_LE(ThumbCacheFile::MaxCapacity(), 0xFFFFFFFFull);
    EXPECT_GT(ThumbCacheFile::MaxCapacity() + ThumbCacheFile::ChunkSize(), 0xFFFFFFFFull);
    EXPECT_EQ(ThumbCacheFile::MaxCapacity() % ThumbCacheFile::ChunkSize(), 0u);
}

TEST(ThumbCacheFile, OpenCreatesTheFileAnewAtOneChunk)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kName);
    ASSERT_TRUE(WriteFile(path, QByteArray(3 * 1024 * 1024, 'x')));

    ThumbCacheFile file;
    ASSERT_TRUE(file.Open(kName, dir.path()));
    EXPECT_TRUE(file.IsMapped());
    EXPECT_EQ(file.Path(), path);
    EXPECT_EQ(file.ChunkCount(), 1u);
    EXPECT_EQ(file.Used(), 0u);
    EXPECT_EQ(QFileInfo(path).size(), qint64(ThumbCacheFile::ChunkSize()));
    EXPECT_EQ(ReadFile(path), QByteArray(int(ThumbCacheFile::ChunkSize()), '\0'));
    EXPECT_EQ(QFileInfo(path).permissions() & (QFile::ReadOther | QFile::ReadGroup), 0);

    // Open again: only the same path counts as success.
    EXPECT_TRUE(file.Open(kName, dir.path()));
    EXPECT_FALSE(file.Open(QStringLiteral("ThumbCache_PV.tcf"), dir.path()));
}

TEST(ThumbCacheFile, OpenRefusesUnusablePlaces)
{
    QTemporaryDir dir;
    ThumbCacheFile file;
    EXPECT_FALSE(file.Open(kName, QString()));
    EXPECT_FALSE(file.Open(kName, dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(file.Open(QStringLiteral("../escape.tcf"), dir.path()));
    EXPECT_FALSE(file.Open(QString(), dir.path()));

    // A link planted at the file's place is not followed, and its target stays untouched.
    const QString target = dir.filePath(QStringLiteral("target.txt"));
    ASSERT_TRUE(WriteFile(target, "keep"));
    ASSERT_TRUE(QFile::link(target, dir.filePath(kName)));
    EXPECT_FALSE(file.Open(kName, dir.path()));
    EXPECT_EQ(ReadFile(target), QByteArray("keep"));
    EXPECT_FALSE(file.IsMapped());
}

TEST(ThumbCacheFile, RecordsAreSerialThenPayloadBackToBack)
{
    QTemporaryDir dir;
    ThumbCacheFile file;
    ASSERT_TRUE(file.Open(kName, dir.path()));

    const QByteArray payloads[] = {Payload(1, 27702), Payload(2, 1), Payload(3, 70001)};
    ThumbCacheEntry entries[3];
    uint32_t expectedOffset = 0;
    for (int i = 0; i < 3; ++i) {
        entries[i] = EntryWithSerial(100 + i);
        ASSERT_TRUE(file.Append(entries[i], payloads[i]));
        EXPECT_EQ(entries[i].offset, expectedOffset);
        EXPECT_EQ(entries[i].length, uint32_t(payloads[i].size() + 4));
        expectedOffset += entries[i].length;
    }
    EXPECT_EQ(file.Used(), expectedOffset);

    const QByteArray raw = ReadFile(file.Path());
    for (int i = 0; i < 3; ++i) {
        const auto* record = reinterpret_cast<const uchar*>(raw.constData()) + entries[i].offset;
        EXPECT_EQ(qFromLittleEndian<uint32_t>(record), uint32_t(100 + i));
        EXPECT_EQ(raw.mid(entries[i].offset + 4, payloads[i].size()), payloads[i]);
    }
    EXPECT_EQ(raw.mid(expectedOffset), QByteArray(raw.size() - expectedOffset, '\0'));

    for (int i = 2; i >= 0; --i) {
        QByteArray back;
        ASSERT_TRUE(file.Read(entries[i], back));
        EXPECT_EQ(back, payloads[i]);
    }
}

TEST(ThumbCacheFile, ReadRefusesEntriesThatDoNotMatchARecord)
{
    QTemporaryDir dir;
    ThumbCacheFile file;
    ASSERT_TRUE(file.Open(kName, dir.path()));
    ThumbCacheEntry entry = EntryWithSerial(9);
    ASSERT_TRUE(file.Append(entry, Payload(9, 500)));
    QByteArray out("untouched");

    ThumbCacheEntry wrongSerial = entry;
    wrongSerial.serial = 10;
    EXPECT_FALSE(file.Read(wrongSerial, out));
    EXPECT_FALSE(file.Read(EntryWithSerial(9), out)); // never written
    ThumbCacheEntry pastUsed = entry;
    pastUsed.offset = file.Used();
    EXPECT_FALSE(file.Read(pastUsed, out));
    ThumbCacheEntry tooLong = entry;
    tooLong.length = file.Used() + 1;
    EXPECT_FALSE(file.Read(tooLong, out));
    EXPECT_EQ(out, QByteArray("untouched"));
}

TEST(ThumbCacheFile, ARecordLargerThanAChunkGrowsByWholeChunks)
{
    QTemporaryDir dir;
    ThumbCacheFile file;
    ASSERT_TRUE(file.Open(kName, dir.path()));
    const uint32_t chunk = ThumbCacheFile::ChunkSize();

    ThumbCacheEntry small = EntryWithSerial(1);
    ASSERT_TRUE(file.Append(small, Payload(1, 1000)));
    // Ends 1.5 chunks and 1008 bytes past the first chunk: two more chunks.
    const QByteArray big = Payload(2, chunk * 5 / 2);
    ThumbCacheEntry large = EntryWithSerial(2);
    ASSERT_TRUE(file.Append(large, big));
    EXPECT_EQ(file.ChunkCount(), 3u);
    EXPECT_EQ(QFileInfo(file.Path()).size(), qint64(3) * chunk);

    QByteArray back;
    ASSERT_TRUE(file.Read(large, back));
    EXPECT_EQ(back, big);
    ASSERT_TRUE(file.Read(small, back));
    EXPECT_EQ(back, Payload(1, 1000));

    // Filling exactly to the capacity needs no further chunk.
    ThumbCacheEntry filler = EntryWithSerial(3);
    ASSERT_TRUE(file.Append(filler, Payload(3, 3 * chunk - file.Used() - 4)));
    EXPECT_EQ(file.Used(), 3 * chunk);
    EXPECT_EQ(file.ChunkCount(), 3u);
}

TEST(ThumbCacheFile, MapRangeReusesACoveringView)
{
    QTemporaryDir dir;
    ThumbCacheFile file;
    ASSERT_TRUE(file.Open(kName, dir.path()));
    uint32_t delta = 0;
    EXPECT_EQ(file.MapRange(0, 0, delta), nullptr);
    EXPECT_EQ(file.MapRange(ThumbCacheFile::ChunkSize() - 4, 5, delta), nullptr);

    // Thumbnail-sized records appended one after another share one view.
    ThumbCacheEntry entries[10];
    for (int i = 0; i < 10; ++i) {
        entries[i] = EntryWithSerial(i + 1);
        ASSERT_TRUE(file.Append(entries[i], Payload(i, 27702)));
    }
    EXPECT_EQ(file.ViewsMapped(), 1u);
    QByteArray back;
    ASSERT_TRUE(file.Read(entries[3], back));
    EXPECT_EQ(file.ViewsMapped(), 1u);

    // A range outside the view: a new view at the granule below the offset.
    const uint32_t offset = ThumbCacheFile::Granularity() * 3 + 17;
    ASSERT_TRUE(file.Grow(1));
    uint8_t* base = file.MapRange(ThumbCacheFile::ChunkSize() + offset, 8, delta);
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(delta, 17u);
    EXPECT_EQ(file.ViewsMapped(), 2u);
    base[delta] = 0x5A;
    EXPECT_EQ(ReadFile(file.Path()).at(ThumbCacheFile::ChunkSize() + offset), 0x5A);
}

TEST(ThumbCacheFile, ASecondOpenerIsRefusedAndTheFirstKeepsItsRecords)
{
    QTemporaryDir dir;
    ThumbCacheFile first;
    ASSERT_TRUE(first.Open(kName, dir.path()));
    ThumbCacheEntry entry = EntryWithSerial(5);
    ASSERT_TRUE(first.Append(entry, Payload(5, 4000)));

    ThumbCacheFile second;
    EXPECT_FALSE(second.Open(kName, dir.path()));
    EXPECT_EQ(QFileInfo(first.Path()).size(), qint64(ThumbCacheFile::ChunkSize()));
    QByteArray back;
    ASSERT_TRUE(first.Read(entry, back));
    EXPECT_EQ(back, Payload(5, 4000));

    // Once the first lets go, the file can be made anew.
    first.Close();
    EXPECT_TRUE(second.Open(kName, dir.path()));
    EXPECT_EQ(second.Used(), 0u);
}

TEST(ThumbCacheFile, DeleteRemovesTheFileAndTheFolderWhenEmpty)
{
    QTemporaryDir dir;
    const QString alone = dir.filePath(QStringLiteral("TMP_alone"));
    const QString shared = dir.filePath(QStringLiteral("TMP_shared"));
    ASSERT_TRUE(QDir().mkpath(alone));
    ASSERT_TRUE(QDir().mkpath(shared));
    ASSERT_TRUE(WriteFile(shared + QStringLiteral("/other.txt"), "x"));

    ThumbCacheFile a, b;
    ASSERT_TRUE(a.Open(kName, alone));
    ASSERT_TRUE(b.Open(kName, shared));
    a.Delete();
    b.Delete();
    EXPECT_FALSE(a.IsMapped());
    EXPECT_FALSE(QFileInfo::exists(alone));
    EXPECT_FALSE(QFileInfo::exists(shared + QLatin1Char('/') + kName));
    EXPECT_TRUE(QFileInfo::exists(shared + QStringLiteral("/other.txt")));
    a.Delete(); // nothing left to do
}
