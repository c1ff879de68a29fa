// The image-level Store and Lookup of the thumbnail stores: records are BMP file images
// written by our BMP writer and read back by our BMP reader.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include "imagefiles/BmpWriter.h"
#include "imaging/DibDepths.h"
#include "thumbcache/ThumbCacheStore.h"
#include "thumbcache/ThumbTestFiles.h"

using namespace tessary;
using namespace tessary::test;

namespace {

// A picture whose every pixel differs from its neighbours, so that a row or column shifted by
// a stride error is noticed.
DibImage24 Pattern(int width, int height, int seed)
{
    DibImage24 image;
    EXPECT_TRUE(image.Create(width, height, 24));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetColor(x, y, DibColor::Rgb(uint8_t(x * 7 + seed), uint8_t(y * 13 + seed), uint8_t(x ^ y)));
    return image;
}

bool SamePixels(const DibImage& a, const DibImage& b)
{
    if (a.Size() != b.Size() || a.Bpp() != b.Bpp())
        return false;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            DibColor ca, cb;
            if (!a.GetColor(ca, x, y) || !b.GetColor(cb, x, y) || !ca.SameRgb(cb))
                return false;
        }
    }
    return true;
}

class ThumbCacheImagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_store.Open(QString::fromLatin1(ThumbCacheStore::kListViewFileName), m_dir.path()));
        m_photo = m_dir.filePath(QStringLiteral("photo.jpg"));
        ASSERT_TRUE(WriteFile(m_photo, "photo"));
    }

    QTemporaryDir m_dir;
    ThumbCacheStore m_store;
    QString m_photo;
};

} // namespace

TEST_F(ThumbCacheImagesTest, ImagesComeBackPixelForPixelWhateverTheirRowPadding)
{
    // 94 x 70 and 93 x 61 have rows padded to 4 bytes; 96 x 96 has none.
    const std::vector<DibSize> sizes{{96, 96}, {94, 70}, {93, 61}, {1, 94}, {94, 1}};
    for (size_t i = 0; i < sizes.size(); ++i) {
        const QString photo = m_dir.filePath(QStringLiteral("p%1.png").arg(i));
        ASSERT_TRUE(WriteFile(photo, "photo"));
        const DibImage24 thumb = Pattern(sizes[i].width, sizes[i].height, int(i));
        ASSERT_TRUE(m_store.Store(thumb, photo));
        DibImage24 back;
        ASSERT_TRUE(m_store.Lookup(back, photo)) << sizes[i].width << "x" << sizes[i].height;
        EXPECT_TRUE(SamePixels(back, thumb)) << sizes[i].width << "x" << sizes[i].height;
    }
}

TEST_F(ThumbCacheImagesTest, TheRecordIsTheBmpWritersFileImage)
{
    const DibImage24 thumb = Pattern(94, 70, 3);
    ASSERT_TRUE(m_store.Store(thumb, m_photo));
    QByteArray record;
    ASSERT_TRUE(m_store.Lookup(m_photo, record));
    EXPECT_EQ(record, SaveBmpToMemory(thumb));
    EXPECT_TRUE(record.startsWith("BM"));
    EXPECT_EQ(m_store.FileUsed(), uint32_t(thumb.FileSize() + 4));
}

TEST_F(ThumbCacheImagesTest, MissesForUnknownPathsAndChangedPhotos)
{
    DibImage24 back;
    EXPECT_FALSE(m_store.Lookup(back, m_photo));
    ASSERT_TRUE(SetModificationTime(m_photo, 1700000000, 100));
    ASSERT_TRUE(m_store.Store(Pattern(20, 10, 1), m_photo));
    EXPECT_TRUE(m_store.Lookup(back, m_photo));
    // The exact path: another spelling of the same file is another key.
    EXPECT_FALSE(m_store.Lookup(back, m_dir.path() + QStringLiteral("/./photo.jpg")));
    // One nanosecond later is a changed photo.
    ASSERT_TRUE(SetModificationTime(m_photo, 1700000000, 101));
    DibImage24 untouched = Pattern(5, 5, 9);
    EXPECT_FALSE(m_store.Lookup(untouched, m_photo));
    EXPECT_TRUE(SamePixels(untouched, Pattern(5, 5, 9)));
}

TEST_F(ThumbCacheImagesTest, StoringAPathAgainReturnsTheNewImage)
{
    ASSERT_TRUE(m_store.Store(Pattern(30, 20, 1), m_photo));
    ASSERT_TRUE(m_store.Store(Pattern(20, 30, 2), m_photo));
    DibImage24 back;
    ASSERT_TRUE(m_store.Lookup(back, m_photo));
    EXPECT_TRUE(SamePixels(back, Pattern(20, 30, 2)));
    EXPECT_EQ(m_store.EntryCount(), 1u);
}

TEST_F(ThumbCacheImagesTest, AFailedStoreLeavesThePathWithoutEntry)
{
    ASSERT_TRUE(m_store.Store(Pattern(30, 20, 1), m_photo));
    const uint32_t used = m_store.FileUsed();
    EXPECT_FALSE(m_store.Store(DibImage24(), m_photo));
    DibImage24 back;
    EXPECT_FALSE(m_store.Lookup(back, m_photo));
    EXPECT_EQ(m_store.FileUsed(), used);
    // The store goes on working.
    ASSERT_TRUE(m_store.Store(Pattern(8, 8, 4), m_photo));
    EXPECT_TRUE(m_store.Lookup(back, m_photo));
}

TEST_F(ThumbCacheImagesTest, ARecordThatIsNoBmpImageOrCannotBeHeldMisses)
{
    ASSERT_TRUE(m_store.Store(m_photo, QByteArray("not a bitmap at all")));
    DibImage24 back;
    EXPECT_FALSE(m_store.Lookup(back, m_photo));
    EXPECT_TRUE(back.IsEmpty());

    ASSERT_TRUE(m_store.Store(Pattern(10, 10, 5), m_photo));
    DibImage8 wrongDepth;
    EXPECT_FALSE(m_store.Lookup(wrongDepth, m_photo));
    DibImage any;
    EXPECT_TRUE(m_store.Lookup(any, m_photo));
    EXPECT_EQ(any.Bpp(), 24);
}


TEST_F(ThumbCacheImagesTest, StoreOnceKeepsACurrentRecordAndReplacesAStaleOne)
{
    ASSERT_TRUE(SetModificationTime(m_photo, 2000, 1));
    ASSERT_TRUE(m_store.StoreOnce(Pattern(30, 20, 1), m_photo));
    const uint32_t used = m_store.FileUsed();
    // Another writer made the same photo meanwhile: its record stays, nothing is appended.
    ASSERT_TRUE(m_store.StoreOnce(Pattern(30, 20, 2), m_photo));
    EXPECT_EQ(m_store.FileUsed(), used);
    DibImage24 back;
    ASSERT_TRUE(m_store.Lookup(back, m_photo));
    EXPECT_TRUE(SamePixels(back, Pattern(30, 20, 1)));

    // The photo changed: the old record is stale and is replaced.
    ASSERT_TRUE(SetModificationTime(m_photo, 2000, 2));
    ASSERT_TRUE(m_store.StoreOnce(Pattern(30, 20, 3), m_photo));
    EXPECT_EQ(m_store.FileUsed(), 2 * used);
    ASSERT_TRUE(m_store.Lookup(back, m_photo));
    EXPECT_TRUE(SamePixels(back, Pattern(30, 20, 3)));
    EXPECT_EQ(m_store.EntryCount(), 1u);

    // A photo that cannot be read still loses its entry.
    ASSERT_TRUE(QFile::remove(m_photo));
    EXPECT_FALSE(m_store.StoreOnce(Pattern(30, 20, 4), m_photo));
    EXPECT_EQ(m_store.EntryCount(), 0u);
}

TEST_F(ThumbCacheImagesTest, ConcurrentWritersKeepOneRecordPerPhotoAndReadersSeeWholeImages)
{
    constexpr int kPhotos = 8;
    constexpr int kWriters = 4;
    std::vector<QString> photos;
    for (int i = 0; i < kPhotos; ++i) {
        photos.push_back(m_dir.filePath(QStringLiteral("p%1.jpg").arg(i)));
        ASSERT_TRUE(WriteFile(photos.back(), "photo"));
    }
    // The size of one record, from a store of its own.
    QTemporaryDir other;
    ThumbCacheStore single;
    ASSERT_TRUE(single.Open(QString::fromLatin1(ThumbCacheStore::kListViewFileName), other.path()));
    ASSERT_TRUE(single.Store(Pattern(40, 30, 0), m_photo));
    const uint32_t recordSize = single.FileUsed();

    std::atomic<int> wrong{0}, hits{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&, w] {
            while (!go.load())
                std::this_thread::yield();
            for (int round = 0; round < 40; ++round) {
                const int i = (round + w) % kPhotos;
                DibImage24 back;
                if (m_store.Lookup(back, photos[size_t(i)])) {
                    ++hits;
                    if (!SamePixels(back, Pattern(40, 30, i)))
                        ++wrong;
                } else if (!m_store.StoreOnce(Pattern(40, 30, i), photos[size_t(i)])) {
                    ++wrong;
                }
            }
        });
    }
    go.store(true);
    for (std::thread& t : writers)
        t.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_GT(hits.load(), 0);
    EXPECT_EQ(m_store.EntryCount(), size_t(kPhotos));
    EXPECT_EQ(m_store.FileUsed(), kPhotos * recordSize);
}
