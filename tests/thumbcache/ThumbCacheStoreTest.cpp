#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "thumbcache/ThumbCacheStore.h"
#include "thumbcache/ThumbTestFiles.h"

using namespace tessary;
using namespace tessary::test;

namespace {
const QString kLv = QString::fromLatin1(ThumbCacheStore::kListViewFileName);
const QString kPv = QString::fromLatin1(ThumbCacheStore::kPreviewFileName);

// A scratch folder with one open store and a photo stand-in.
class ThumbCacheStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.filePath(QStringLiteral("TMP_run"));
        ASSERT_TRUE(QDir().mkpath(m_folder));
        m_photo = Photo(QStringLiteral("p.jpg"), 1000, 5);
        ASSERT_TRUE(m_store.Open(kLv, m_folder));
    }

    QString Photo(const QString& name, int64_t seconds, long nanoseconds)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(WriteFile(path, "photo"));
        EXPECT_TRUE(SetModificationTime(path, seconds, nanoseconds));
        return path;
    }

    QTemporaryDir m_dir;
    QString m_folder;
    QString m_photo;
    ThumbCacheStore m_store;
};
} // namespace

TEST_F(ThumbCacheStoreTest, StoredPayloadComesBackWithItsSerial)
{
    EXPECT_TRUE(m_store.IsOpen());
    EXPECT_EQ(m_store.FilePath(), m_folder + QLatin1Char('/') + kLv);
    const QByteArray thumb = Payload(1, 27702);
    ASSERT_TRUE(m_store.Store(m_photo, thumb));

    QByteArray back;
    uint32_t serial = 0;
    ASSERT_TRUE(m_store.Lookup(m_photo, back, &serial));
    EXPECT_EQ(back, thumb);
    EXPECT_GT(serial, 0u);

    // Keys are exact paths: another spelling of a path is another key.
    const QString upper = Photo(QStringLiteral("P.jpg"), 1000, 5);
    EXPECT_FALSE(m_store.Lookup(upper, back));
    EXPECT_FALSE(m_store.Lookup(m_dir.path() + QStringLiteral("/./p.jpg"), back));
    EXPECT_FALSE(m_store.Lookup(m_dir.filePath(QStringLiteral("never.jpg")), back));
}

TEST_F(ThumbCacheStoreTest, AChangedModificationTimeMisses)
{
    ASSERT_TRUE(m_store.Store(m_photo, Payload(1, 3000)));
    const uint32_t firstUsed = m_store.FileUsed();
    QByteArray back;

    // One nanosecond later is a different photo.
    ASSERT_TRUE(SetModificationTime(m_photo, 1000, 6));
    EXPECT_FALSE(m_store.Lookup(m_photo, back));
    // So is the same nanoseconds a whole number of 2^32 ns away.
    ASSERT_TRUE(SetModificationTime(m_photo, 1000 + 4, 5 + 294967296));
    EXPECT_FALSE(m_store.Lookup(m_photo, back));
    ASSERT_TRUE(SetModificationTime(m_photo, 1000, 5));
    EXPECT_TRUE(m_store.Lookup(m_photo, back));

    // Stored again after the change: a new record; the old one stays as dead bytes.
    ASSERT_TRUE(SetModificationTime(m_photo, 2000, 0));
    ASSERT_TRUE(m_store.Store(m_photo, Payload(2, 3000)));
    EXPECT_EQ(m_store.FileUsed(), 2 * firstUsed);
    ASSERT_TRUE(m_store.Lookup(m_photo, back));
    EXPECT_EQ(back, Payload(2, 3000));
    EXPECT_EQ(m_store.EntryCount(), 1u);
}

TEST_F(ThumbCacheStoreTest, StoringAPathTwiceReturnsTheSecondRecord)
{
    ASSERT_TRUE(m_store.Store(m_photo, Payload(1, 2000)));
    uint32_t first = 0, second = 0;
    QByteArray back;
    ASSERT_TRUE(m_store.Lookup(m_photo, back, &first));
    ASSERT_TRUE(m_store.Store(m_photo, Payload(2, 1500)));
    ASSERT_TRUE(m_store.Lookup(m_photo, back, &second));
    EXPECT_EQ(back, Payload(2, 1500));
    EXPECT_GT(second, first);
    EXPECT_EQ(m_store.FileUsed(), 2000u + 4 + 1500 + 4);
}

TEST_F(ThumbCacheStoreTest, AMissingOrUnreadablePhotoLeavesNoEntry)
{
    ASSERT_TRUE(m_store.Store(m_photo, Payload(1, 100)));
    ASSERT_TRUE(QFile::remove(m_photo));
    EXPECT_FALSE(m_store.Store(m_photo, Payload(2, 100)));
    EXPECT_EQ(m_store.EntryCount(), 0u);
    // Even a photo put back with the old time is not served from the dropped entry.
    Photo(QStringLiteral("p.jpg"), 1000, 5);
    QByteArray back;
    EXPECT_FALSE(m_store.Lookup(m_photo, back));
    EXPECT_FALSE(m_store.Store(m_dir.path(), Payload(3, 100))); // a folder is no photo

    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not lock a file against root";
    ASSERT_TRUE(m_store.Store(m_photo, Payload(4, 100)));
    ASSERT_TRUE(QFile::setPermissions(m_photo, QFile::WriteOwner));
    EXPECT_FALSE(m_store.Lookup(m_photo, back));
    EXPECT_FALSE(m_store.Store(m_photo, Payload(5, 100)));
    EXPECT_EQ(m_store.EntryCount(), 0u);
}

TEST_F(ThumbCacheStoreTest, ARecordLargerThanAChunkIsStoredWhole)
{
    const uint32_t chunk = ThumbCacheFile::ChunkSize();
    const QByteArray big = Payload(7, qsizetype(chunk) * 2 + 1);
    ASSERT_TRUE(m_store.Store(m_photo, big));
    EXPECT_EQ(m_store.FileCapacity(), uint64_t(chunk) * 3);
    EXPECT_EQ(QFileInfo(m_store.FilePath()).size(), qint64(chunk) * 3);
    QByteArray back;
    ASSERT_TRUE(m_store.Lookup(m_photo, back));
    EXPECT_EQ(back, big);
}

TEST_F(ThumbCacheStoreTest, OpeningTwiceLeavesTheOpenFileUntouched)
{
    ASSERT_TRUE(m_store.Store(m_photo, Payload(1, 5000)));
    EXPECT_FALSE(m_store.Open(kLv, m_folder));
    EXPECT_FALSE(m_store.Open(kPv, m_folder));
    // Another store cannot take over (and truncate) a file in use.
    ThumbCacheStore other;
    EXPECT_FALSE(other.Open(kLv, m_folder));
    EXPECT_FALSE(other.IsOpen());
    EXPECT_FALSE(other.Store(m_photo, Payload(2, 10)));

    QByteArray back;
    ASSERT_TRUE(m_store.Lookup(m_photo, back));
    EXPECT_EQ(back, Payload(1, 5000));
    EXPECT_TRUE(other.Open(kPv, m_folder));
}

TEST_F(ThumbCacheStoreTest, AStoreWithoutFileFailsQuietly)
{
    ThumbCacheStore closed;
    QByteArray back;
    EXPECT_FALSE(closed.IsOpen());
    EXPECT_FALSE(closed.Store(m_photo, Payload(1, 10)));
    EXPECT_FALSE(closed.Lookup(m_photo, back));
    EXPECT_FALSE(closed.Open(kLv, m_dir.filePath(QStringLiteral("no/such/folder"))));
    EXPECT_FALSE(closed.IsOpen());
    EXPECT_FALSE(closed.Open(kLv, QString()));
}

TEST_F(ThumbCacheStoreTest, ARecordPastTheLimitFailsAndWritesNothing)
{
    const uint32_t chunk = ThumbCacheFile::ChunkSize();
    ThumbCacheStore small(uint64_t(chunk) + 100); // rounded down to one chunk
    const QString folder = m_dir.filePath(QStringLiteral("TMP_small"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(small.Open(kPv, folder));
    const QString other = Photo(QStringLiteral("q.png"), 3, 0);
    ASSERT_TRUE(small.Store(other, Payload(1, chunk / 2)));
    ASSERT_TRUE(small.Store(m_photo, Payload(2, 100)));
    const uint32_t used = small.FileUsed();

    EXPECT_FALSE(small.Store(m_photo, Payload(3, chunk / 2)));
    EXPECT_EQ(small.FileUsed(), used);
    EXPECT_EQ(small.FileCapacity(), chunk);
    const QByteArray raw = ReadFile(small.FilePath());
    EXPECT_EQ(raw.mid(used), QByteArray(raw.size() - used, '\0'));
    QByteArray back;
    EXPECT_FALSE(small.Lookup(m_photo, back)); // its older entry went with the attempt
    ASSERT_TRUE(small.Lookup(other, back));
    EXPECT_EQ(back, Payload(1, chunk / 2));
    // A smaller record still fits.
    EXPECT_TRUE(small.Store(m_photo, Payload(4, chunk - used - 4)));
    EXPECT_EQ(small.FileUsed(), chunk);
}

TEST_F(ThumbCacheStoreTest, SerialsComeFromOneCounterForAllStores)
{
    ThumbCacheStore preview;
    ASSERT_TRUE(preview.Open(kPv, m_folder));
    uint32_t last = 0;
    for (int i = 0; i < 6; ++i) {
        ThumbCacheStore& store = i % 2 ? preview : m_store;
        ASSERT_TRUE(store.Store(m_photo, Payload(i, 64)));
        uint32_t serial = 0;
        QByteArray back;
        ASSERT_TRUE(store.Lookup(m_photo, back, &serial));
        EXPECT_GT(serial, last);
        last = serial;
    }
    EXPECT_GT(ThumbCacheStore::NextSerial(), last);
}

TEST_F(ThumbCacheStoreTest, ShutdownDeletesTheFilesAndTheEmptyFolder)
{
    ThumbCacheStore preview;
    ASSERT_TRUE(preview.Open(kPv, m_folder));
    ASSERT_TRUE(m_store.Store(m_photo, Payload(1, 64)));
    const QString lvPath = m_store.FilePath();

    m_store.Shutdown();
    EXPECT_FALSE(QFileInfo::exists(lvPath));
    EXPECT_TRUE(QFileInfo::exists(m_folder)); // the preview file is still there
    QByteArray back;
    EXPECT_FALSE(m_store.Lookup(m_photo, back));
    EXPECT_FALSE(m_store.Open(kLv, m_folder));
    EXPECT_EQ(m_store.EntryCount(), 0u);

    preview.Shutdown();
    EXPECT_FALSE(QFileInfo::exists(m_folder));
}
