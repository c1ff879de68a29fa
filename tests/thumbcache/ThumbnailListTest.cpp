// The list-view thumbnailer end to end with real photo files: cells, badge, placeholders, the
// store, posted events, resets and stopping.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <set>
#include <thread>

#include <QTemporaryDir>

#include "imagefiles/AppResources.h"
#include "imagefiles/ImageLoader.h"
#include "platform/ManualResetEvent.h"
#include "thumbcache/IconCells.h"
#include "thumbcache/ThumbCacheStore.h"
#include "imagefiles/HeifFixture.h"
#include "imagefiles/TiffFixture.h"
#include "imagefiles/WebpFixture.h"
#include "thumbcache/ThumbPhotos.h"
#include "thumbcache/ThumbTestFiles.h"
#include "thumbcache/ThumbnailList.h"

using namespace tessary;
using namespace tessary::test;
using namespace std::chrono_literals;

namespace {

const DibColor kFrame = DibColor::Rgb(0xDA, 0xDE, 0xE5);
const DibColor kRed = DibColor::Rgb(200, 30, 30);

DibColor At(const DibImage& image, int x, int y)
{
    DibColor c;
    EXPECT_TRUE(image.GetColor(c, x, y));
    return c;
}

bool Near(DibColor a, DibColor b, int tolerance)
{
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance
        && std::abs(a.blue - b.blue) <= tolerance;
}

class ThumbnailListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_storeFolder = m_dir.filePath(QStringLiteral("tmp"));
        ASSERT_TRUE(QDir().mkpath(m_storeFolder));
        m_bmp = Photo(QStringLiteral("wide.bmp"));
        ASSERT_TRUE(WriteSolidBmp(m_bmp, 188, 94, kRed)); // fits as 94 x 47
        m_exifJpeg = Photo(QStringLiteral("exif.jpg"));
        ASSERT_TRUE(WriteSolidJpeg(m_exifJpeg, 160, 120, true)); // 94 x 70
        m_plainJpeg = Photo(QStringLiteral("plain.jpg"));
        ASSERT_TRUE(WriteSolidJpeg(m_plainJpeg, 160, 120, false));
        m_png = Photo(QStringLiteral("tall.png"));
        ASSERT_TRUE(WriteSolidPng(m_png, 40, 80, qRgb(10, 200, 60))); // smaller than the box: kept
    }

    QString Photo(const QString& name) const { return m_dir.filePath(name); }

    std::vector<ThumbnailRequest> AllFour() const
    {
        return {{1, m_bmp}, {2, m_exifJpeg}, {3, m_plainJpeg}, {4, m_png}};
    }

    DibImage24 Cell(ThumbnailList& list, int32_t id)
    {
        DibImage24 cell;
        EXPECT_TRUE(list.CopyImage(list.ThumbIndex(id), cell)) << "item " << id;
        return cell;
    }

    QTemporaryDir m_dir;
    QString m_storeFolder;
    ThumbCacheStore m_store;
    EventRecorder m_window;
    QString m_bmp, m_exifJpeg, m_plainJpeg, m_png;
};

} // namespace

TEST_F(ThumbnailListTest, TheWorkerOpensTheStoreInTheFolderGiven)
{
    ThumbnailList list(&m_window, m_store, m_storeFolder);
    EXPECT_TRUE(m_store.IsOpen());
    EXPECT_EQ(m_store.FilePath(), m_storeFolder + QStringLiteral("/ThumbCache_LV.tcf"));
    // A second list finds it open and leaves it.
    ThumbnailList second(&m_window, m_store, m_storeFolder);
    EXPECT_TRUE(m_store.IsOpen());
}

TEST_F(ThumbnailListTest, ResetMakesTheImageListAndTellsTheWindow)
{
    ThumbnailList list(&m_window, m_store, m_storeFolder);
    EXPECT_FALSE(list.HasImageList());
    EXPECT_EQ(list.ImageIndexFor(1, m_bmp), -1);
    ASSERT_TRUE(list.Reset(0));
    EXPECT_TRUE(list.HasImageList());
    EXPECT_EQ(list.ImageListGeneration(), 1u);
    ASSERT_TRUE(WaitUntil([&] { return m_window.resets == 1; }));
    ASSERT_TRUE(list.Reset(100));
    EXPECT_EQ(list.ImageListGeneration(), 2u);
    ASSERT_TRUE(WaitUntil([&] { return m_window.resets == 2; }));
}

TEST_F(ThumbnailListTest, EveryPhotoBecomesAFramedCellAndItsIdIsPosted)
{
    // One worker, so that the cells are also finished in the order they were taken.
    ThumbnailList list(&m_window, m_store, m_storeFolder, 1);
    ASSERT_TRUE(list.Reset(100));
    list.RequestMany(AllFour());
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 4; }));
    EXPECT_EQ(m_window.ready, (std::vector<int32_t>{1, 2, 3, 4})); // one batch, display order
    EXPECT_EQ(list.ImageCount(), 4);
    for (int32_t id = 1; id <= 4; ++id) {
        EXPECT_TRUE(list.Queue().IsDone(id));
        EXPECT_EQ(list.ImageIndexFor(id, QString()), list.ThumbIndex(id));
    }

    // The 188 x 94 BMP fits as 94 x 47, centred at (1, 25); the rest is the frame colour.
    const DibImage24 wide = Cell(list, 1);
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 96; ++x) {
            const bool inPhoto = x >= 1 && x < 95 && y >= 25 && y < 72;
            ASSERT_TRUE(At(wide, x, y).SameRgb(inPhoto ? kRed : kFrame)) << x << ", " << y;
        }
    }
    // The 40 x 80 PNG is smaller than the box and kept as it is, centred at (28, 8).
    const DibImage24 tall = Cell(list, 4);
    EXPECT_TRUE(At(tall, 28, 8).SameRgb(DibColor::Rgb(10, 200, 60)));
    EXPECT_TRUE(At(tall, 67, 87).SameRgb(DibColor::Rgb(10, 200, 60)));
    EXPECT_TRUE(At(tall, 27, 8).SameRgb(kFrame));
    EXPECT_TRUE(At(tall, 68, 87).SameRgb(kFrame));
    EXPECT_TRUE(At(tall, 28, 88).SameRgb(kFrame));
    // The JPEG's 160 x 120 fits as 94 x 70 at (1, 13).
    const DibImage24 plain = Cell(list, 3);
    EXPECT_TRUE(Near(At(plain, 48, 48), DibColor::Rgb(40, 120, 200), 6));
    EXPECT_TRUE(At(plain, 48, 12).SameRgb(kFrame));
    EXPECT_TRUE(Near(At(plain, 48, 13), DibColor::Rgb(40, 120, 200), 6));
    EXPECT_TRUE(Near(At(plain, 48, 82), DibColor::Rgb(40, 120, 200), 6));
    EXPECT_TRUE(At(plain, 48, 83).SameRgb(kFrame));
    EXPECT_TRUE(At(plain, 0, 48).SameRgb(kFrame));
    EXPECT_TRUE(At(plain, 95, 48).SameRgb(kFrame));

    const ThumbnailList::Counters c = list.GetCounters();
    EXPECT_EQ(c.made, 4);
    EXPECT_EQ(c.storeHits, 0);
    EXPECT_EQ(m_store.EntryCount(), 4u);
}

TEST_F(ThumbnailListTest, OnlyJpegFilesWithAnExifBlockGetTheBadge)
{
    DibImage24 badge;
    ASSERT_TRUE(LoadBitmapResource(badge, kIdbExifBadge, 24));
    // A PNG and a BMP that cover the corner, so that a badge there would be seen.
    const QString square = Photo(QStringLiteral("square.png"));
    ASSERT_TRUE(WriteSolidPng(square, 94, 94, qRgb(200, 30, 30)));
    const QString squareBmp = Photo(QStringLiteral("square.bmp"));
    ASSERT_TRUE(WriteSolidBmp(squareBmp, 96, 96, kRed));

    ThumbnailList list(&m_window, m_store, m_storeFolder);
    ASSERT_TRUE(list.Reset(100));
    list.RequestMany({{2, m_exifJpeg}, {3, m_plainJpeg}, {5, square}, {6, squareBmp}});
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 4; }));

    auto hasBadge = [&](const DibImage& cell) {
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 14; ++x)
                if (!At(cell, 82 + x, y).SameRgb(At(badge, x, y)))
                    return false;
        return true;
    };
    EXPECT_TRUE(hasBadge(Cell(list, 2)));
    EXPECT_FALSE(hasBadge(Cell(list, 3)));
    EXPECT_TRUE(At(Cell(list, 3), 90, 3).SameRgb(kFrame));
    EXPECT_FALSE(hasBadge(Cell(list, 5)));
    EXPECT_TRUE(At(Cell(list, 5), 90, 3).SameRgb(kRed));
    EXPECT_FALSE(hasBadge(Cell(list, 6)));
}

TEST_F(ThumbnailListTest, PhotosOfOtherContainersWithAnExifBlockGetTheBadgeToo)
{
    DibImage24 badge;
    ASSERT_TRUE(LoadBitmapResource(badge, kIdbExifBadge, 24));
    TiffBuilder exif(false);
    exif.AddShort(TiffBuilder::kIfd0, 274, 1);
    const auto red = [](int, int, int c) { return uint8_t(c == 0 || c == 3 ? 220 : 20); };
    HeifRecipe heif;
    heif.width = heif.height = 94;
    const QString heicPlain = Photo(QStringLiteral("plain.heic"));
    ASSERT_TRUE(WriteBytes(heicPlain, EncodeHeif(heif, red)));
    heif.exif = exif.Build();
    const QString heicExif = Photo(QStringLiteral("exif.heic"));
    ASSERT_TRUE(WriteBytes(heicExif, EncodeHeif(heif, red)));
    WebpRecipe webp;
    webp.width = webp.height = 94;
    webp.exif = exif.Build();
    const QString webpExif = Photo(QStringLiteral("exif.webp"));
    ASSERT_TRUE(WriteBytes(webpExif, EncodeWebp(webp, red)));
    TiffRecipe tiff;
    tiff.width = tiff.height = 94;
    const QString tiffPlain = Photo(QStringLiteral("plain.tif"));
    ASSERT_TRUE(WriteBytes(tiffPlain, EncodeTiff(tiff, red)));
    tiff.dateTaken = "2020:01:01 00:00:00";
    const QString tiffExif = Photo(QStringLiteral("exif.tif"));
    ASSERT_TRUE(WriteBytes(tiffExif, EncodeTiff(tiff, red)));

    ThumbnailList list(&m_window, m_store, m_storeFolder);
    ASSERT_TRUE(list.Reset(100));
    list.RequestMany({{1, heicPlain}, {2, heicExif}, {3, webpExif}, {4, tiffPlain}, {5, tiffExif}});
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 5; }));
    auto hasBadge = [&](const DibImage& cell) {
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 14; ++x)
                if (!At(cell, 82 + x, y).SameRgb(At(badge, x, y)))
                    return false;
        return true;
    };
    EXPECT_FALSE(hasBadge(Cell(list, 1)));
    EXPECT_TRUE(Near(At(Cell(list, 1), 90, 3), DibColor::Rgb(220, 20, 20), 24)) << "the photo shows there";
    EXPECT_TRUE(hasBadge(Cell(list, 2)));
    EXPECT_TRUE(hasBadge(Cell(list, 3)));
    EXPECT_FALSE(hasBadge(Cell(list, 4)));
    EXPECT_TRUE(hasBadge(Cell(list, 5)));
}

TEST_F(ThumbnailListTest, ARefreshIsServedFromTheStoreUntilAPhotoChanges)
{
    ThumbnailList list(&m_window, m_store, m_storeFolder);
    ASSERT_TRUE(list.Reset(100));
    list.RequestMany(AllFour());
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 4; }));
    const DibImage24 before = Cell(list, 1);

    // ForgetThumbnails keeps the done set: asking again is dropped.
    list.ForgetThumbnails();
    EXPECT_EQ(list.ThumbIndex(1), -1);
    EXPECT_EQ(list.ImageCount(), 4);
    list.RequestMany(AllFour());
    EXPECT_TRUE(list.Queue().NormalIds().empty());
    list.Request({1, m_bmp});
    EXPECT_TRUE(list.Queue().UrgentIds().empty());

    // The item list's Refresh: forget, empty (Reset), ask again - all from the store.
    ASSERT_TRUE(list.Reset(100));
    m_window.ready.clear();
    list.RequestMany(AllFour());
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 4; }));
    ThumbnailList::Counters c = list.GetCounters();
    EXPECT_EQ(c.storeHits, 4);
    EXPECT_EQ(c.made, 8);
    EXPECT_EQ(m_store.EntryCount(), 4u);
    const DibImage24 after = Cell(list, 1);
    EXPECT_TRUE(At(after, 48, 48).SameRgb(At(before, 48, 48)));

    // A changed photo misses and is decoded again.
    ASSERT_TRUE(WriteSolidBmp(m_bmp, 94, 188, DibColor::Rgb(0, 0, 250)));
    ASSERT_TRUE(SetModificationTime(m_bmp, 1800000000, 5));
    ASSERT_TRUE(list.Reset(100));
    m_window.ready.clear();
    list.RequestMany(AllFour());
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 4; }));
    c = list.GetCounters();
    EXPECT_EQ(c.storeHits, 7);
    const DibImage24 changed = Cell(list, 1);
    EXPECT_TRUE(At(changed, 48, 48).SameRgb(DibColor::Rgb(0, 0, 250)));
    EXPECT_TRUE(At(changed, 24, 48).SameRgb(kFrame)); // now 47 x 94
}

TEST_F(ThumbnailListTest, ForgettingOneItemShowsItsPlaceholderAgain)
{
    ThumbnailList list(&m_window, m_store, m_storeFolder);
    ASSERT_TRUE(list.Reset(100));
    list.Request({7, m_png});
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 1; }));
    const int thumb = list.ImageIndexFor(7, m_png);
    ASSERT_GE(thumb, 0);
    list.Forget(7);
    const int placeholder = list.ImageIndexFor(7, m_png);
    EXPECT_NE(placeholder, thumb);
    EXPECT_GE(placeholder, 0);
}

TEST_F(ThumbnailListTest, TrimmingGivesUpTheLeastRecentlyShownCellsAndReusesTheirSlots)
{
    ThumbnailList list(&m_window, m_store, m_storeFolder);
    ASSERT_TRUE(list.Reset(10));
    // Items 1..4 are made in this order; then 1 is shown again, 3 is to be kept.
    const std::vector<ThumbnailRequest> four = AllFour();
    for (const ThumbnailRequest& request : four) {
        const size_t before = m_window.ready.size();
        list.Request(request);
        ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == before + 1; }));
    }
    ASSERT_EQ(list.ThumbnailCount(), 4);
    ASSERT_GE(list.ImageIndexFor(1, m_bmp), 0);
    const int cellOf2 = list.ThumbIndex(2);
    const int cellOf4 = list.ThumbIndex(4);
    EXPECT_TRUE(list.TrimThumbnails(4, {}).empty()) << "within the budget";

    std::vector<int> released = list.TrimThumbnails(2, {3});
    std::sort(released.begin(), released.end());
    std::vector<int> expected = {cellOf2, cellOf4};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(released, expected) << "2 and 4 were shown or made longest ago, 3 is kept";
    EXPECT_EQ(list.ThumbnailCount(), 2);
    EXPECT_EQ(list.ThumbIndex(2), -1);
    EXPECT_GE(list.ThumbIndex(1), 0) << "shown after 2 and 4 were made";
    EXPECT_GE(list.ThumbIndex(3), 0);
    EXPECT_FALSE(list.Queue().IsDone(2));
    EXPECT_TRUE(list.Queue().IsDone(1));

    // Asked for again, 2 is made once more into a released slot: the list does not grow.
    const int count = list.ImageCount();
    const size_t before = m_window.ready.size();
    list.Request({2, m_exifJpeg});
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == before + 1; }));
    const int again = list.ThumbIndex(2);
    EXPECT_TRUE(again == cellOf2 || again == cellOf4) << again;
    EXPECT_EQ(list.ImageCount(), count);
    // The slot shows item 2's picture, not what it held before.
    DibImage24 fresh;
    DibImage24 reference;
    ASSERT_TRUE(list.CopyImage(again, fresh));
    ThumbnailList other(nullptr, m_store, m_storeFolder);
    ASSERT_TRUE(other.Reset(10));
    other.Request({2, m_exifJpeg});
    ASSERT_TRUE(WaitUntil([&] { return other.ThumbIndex(2) >= 0; }));
    ASSERT_TRUE(other.CopyImage(other.ThumbIndex(2), reference));
    EXPECT_EQ(std::memcmp(fresh.Row(48), reference.Row(48), 96 * 3), 0);
    EXPECT_EQ(std::memcmp(fresh.Row(20), reference.Row(20), 96 * 3), 0);
}

TEST_F(ThumbnailListTest, PlaceholdersArePerFileTypeAndMadeOncePerProcess)
{
    IconCells::Instance().SetProvider(nullptr);
    ThumbnailList list(&m_window, m_store, m_storeFolder);
    ThumbnailList other(&m_window, m_store, m_storeFolder);
    ASSERT_TRUE(list.Reset(100));
    ASSERT_TRUE(other.Reset(100));

    const int jpegA = list.ImageIndexFor(10, Photo(QStringLiteral("a.jpg")));
    const int jpegB = list.ImageIndexFor(11, Photo(QStringLiteral("b.JPEG")));
    const int png = list.ImageIndexFor(12, Photo(QStringLiteral("c.png")));
    ASSERT_GE(jpegA, 0);
    EXPECT_EQ(jpegB, jpegA);
    EXPECT_NE(png, jpegA);
    EXPECT_EQ(list.ImageCount(), 2);
    EXPECT_EQ(IconCells::Instance().CellCount(), 2);
    // The other list gets its own copies; the process-wide cells are not made again.
    EXPECT_GE(other.ImageIndexFor(10, Photo(QStringLiteral("a.jpg"))), 0);
    EXPECT_EQ(other.ImageCount(), 1);
    EXPECT_EQ(IconCells::Instance().CellCount(), 2);

    // The placeholder is the frame colour with the icon centred on white.
    DibImage24 cell;
    ASSERT_TRUE(list.CopyImage(png, cell));
    const QImage icon = PlainIconProvider().LargeIcon(int(PhotoFormat::Png));
    ASSERT_EQ(icon.size(), QSize(32, 32));
    EXPECT_TRUE(At(cell, 0, 0).SameRgb(kFrame));
    EXPECT_TRUE(At(cell, 31, 48).SameRgb(kFrame));
    EXPECT_TRUE(At(cell, 64, 48).SameRgb(kFrame));
    EXPECT_TRUE(At(cell, 32, 32).SameRgb(DibColor::Rgb(255, 255, 255))); // transparent corner
    const QRgb band = icon.pixel(16, 20);
    EXPECT_TRUE(At(cell, 48, 52).SameRgb(DibColor::Rgb(uint8_t(qRed(band)), uint8_t(qGreen(band)), uint8_t(qBlue(band)))));
    // Items without thumbnail keep their placeholder after a Reset (made again in the new list).
    ASSERT_TRUE(list.Reset(100));
    EXPECT_EQ(list.ImageIndexFor(12, Photo(QStringLiteral("c.png"))), 0);
}

TEST_F(ThumbnailListTest, AnUnreadablePhotoKeepsItsPlaceholderAndPostsNothing)
{
    const QString broken = Photo(QStringLiteral("broken.jpg"));
    ASSERT_TRUE(WriteFile(broken, "not a jpeg"));
    ThumbnailList list(&m_window, m_store, m_storeFolder);
    ASSERT_TRUE(list.Reset(100));
    list.RequestMany({{1, broken}, {2, Photo(QStringLiteral("missing.png"))}, {3, m_png}});
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 1; }));
    ASSERT_TRUE(WaitUntil([&] { return list.GetCounters().failed == 2; }));
    EXPECT_EQ(m_window.ready, (std::vector<int32_t>{3}));
    EXPECT_EQ(list.ThumbIndex(1), -1);
    EXPECT_FALSE(list.Queue().IsDone(1));
    EXPECT_GE(list.ImageIndexFor(1, broken), 0);
    EXPECT_EQ(m_store.EntryCount(), 1u);
}

namespace {
// Holds the list's lock from inside ImageIndexFor until released, so that the worker blocks
// half-way through a request (at AddCell).
class HoldingProvider : public ThumbIconProvider {
public:
    HoldingProvider(ManualResetEvent& entered, ManualResetEvent& release)
        : m_entered(entered)
        , m_release(release)
    {
    }
    int IconIndexFor(const QString&) override
    {
        m_entered.Set();
        m_release.Wait();
        return 0;
    }
    QImage LargeIcon(int) override { return {}; }

private:
    ManualResetEvent& m_entered;
    ManualResetEvent& m_release;
};
} // namespace

TEST_F(ThumbnailListTest, AWorkerStoppedWhileBusyFinishesThatPhotoAndNoOther)
{
    // On the heap: ThreadSanitizer would take a stack address reused by another test's mutex
    // for the same lock and report a lock order that never exists.
    auto enteredEvent = std::make_unique<ManualResetEvent>();
    auto releaseEvent = std::make_unique<ManualResetEvent>();
    ManualResetEvent& entered = *enteredEvent;
    ManualResetEvent& release = *releaseEvent;
    IconCells::Instance().SetProvider(std::make_unique<HoldingProvider>(entered, release));
    {
        ThumbnailList list(&m_window, m_store, m_storeFolder, 1);
        ASSERT_TRUE(list.Reset(100));
        std::thread holder([&] { list.ImageIndexFor(99, m_png); });
        ASSERT_TRUE(entered.WaitFor(10s));
        list.RequestMany(AllFour());
        ASSERT_TRUE(WaitUntil([&] { return list.GetCounters().served == 1; }));

        std::thread stopper([&] { list.Stop(); });
        // The stop marker waits at the front; then the held photo may complete.
        ASSERT_TRUE(WaitUntil(
            [&] { return list.Queue().UrgentIds() == std::vector<int32_t>{ThumbnailQueue::kStopMarker}; }));
        release.Set();
        stopper.join();
        holder.join();

        const ThumbnailList::Counters c = list.GetCounters();
        EXPECT_EQ(c.served, 1);
        EXPECT_EQ(c.made, 1);
        EXPECT_EQ(list.Queue().NormalIds(), (std::vector<int32_t>{2, 3, 4}));
        ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 1; }));
        EXPECT_EQ(m_window.ready, (std::vector<int32_t>{1}));
        list.Stop(); // a second stop does nothing
    }
    IconCells::Instance().SetProvider(nullptr);
}

TEST_F(ThumbnailListTest, PausedWorkersLeaveTheQueueAloneUntilLetGoOrStopped)
{
    ThumbnailList list(&m_window, m_store, m_storeFolder, 2);
    ASSERT_TRUE(list.Reset(100));
    list.PauseWorkers(true);
    // A worker may be past the gate, waiting for a request; that one request is all it takes.
    list.RequestMany(AllFour());
    std::this_thread::sleep_for(50ms);
    EXPECT_LE(list.GetCounters().served, 2);
    const size_t waiting = list.Queue().NormalIds().size();
    EXPECT_GE(waiting, 2u);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(list.Queue().NormalIds().size(), waiting);

    list.PauseWorkers(false);
    ASSERT_TRUE(WaitUntil([&] { return list.GetCounters().made == 4; }));

    // Stopping lets held workers go.
    list.PauseWorkers(true);
    list.Stop();
    EXPECT_EQ(list.Workers(), 0);
}

TEST_F(ThumbnailListTest, ACellMadeAcrossAResetIsNotAddedToTheNewList)
{
    const QString other = Photo(QStringLiteral("other.bmp"));
    ASSERT_TRUE(WriteSolidBmp(other, 10, 10, kRed));
    auto inWriterEvent = std::make_unique<ManualResetEvent>(); // on the heap, as above
    auto releaseEvent = std::make_unique<ManualResetEvent>();
    ManualResetEvent& inWriter = *inWriterEvent;
    ManualResetEvent& release = *releaseEvent;
    ThumbnailList list(&m_window, m_store, m_storeFolder);
    ASSERT_TRUE(list.Reset(100));
    // Holds the store, so that the worker's lookup for its request waits.
    std::thread holder([&] {
        m_store.Store(other, 8, [&](uint8_t* dest, uint32_t size) {
            inWriter.Set();
            release.Wait();
            std::memset(dest, 0, size);
            return true;
        });
    });
    ASSERT_TRUE(inWriter.WaitFor(10s));
    list.Request({5, m_bmp});
    ASSERT_TRUE(WaitUntil([&] { return list.GetCounters().served == 1; }));
    // Another album is shown, where id 5 is another item.
    ASSERT_TRUE(list.Reset(100));
    release.Set();
    holder.join();

    ASSERT_TRUE(WaitUntil([&] { return list.GetCounters().discarded == 1; }));
    EXPECT_EQ(list.ThumbIndex(5), -1);
    EXPECT_EQ(list.ImageCount(), 0);
    EXPECT_EQ(m_store.EntryCount(), 2u); // the photo still went into the store
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_window.ready.empty());
    // Asked for in the new list, id 5 gets its own photo.
    list.Request({5, m_png});
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 1; }));
    EXPECT_TRUE(At(Cell(list, 5), 48, 48).SameRgb(DibColor::Rgb(10, 200, 60)));
}

TEST_F(ThumbnailListTest, SeveralWorkersMakeEveryRequestedCellExactlyOnce)
{
    constexpr int kPhotos = 24;
    QStringList photos;
    for (int i = 0; i < kPhotos; ++i) {
        photos << Photo(QStringLiteral("p%1.bmp").arg(i));
        ASSERT_TRUE(WriteSolidBmp(photos.last(), 60, 60, DibColor::Rgb(uint8_t(10 * i), 40, 200)));
    }
    ThumbnailList list(&m_window, m_store, m_storeFolder, 4);
    EXPECT_EQ(list.Workers(), 4);
    ASSERT_TRUE(list.Reset(100));
    // Ids 0..23 show photos 0..23 and ids 24..47 the same photos again (a second album row
    // of each); every id is asked for as urgent, in a batch and again in a later batch, so
    // that the same id is queued several times before its cell is made.
    std::vector<ThumbnailRequest> all;
    for (int32_t id = 0; id < 2 * kPhotos; ++id)
        all.push_back({id, photos[id % kPhotos]});
    for (int32_t id = 0; id < 2 * kPhotos; id += 5)
        list.Request(all[size_t(id)]);
    list.RequestMany(all);
    list.RequestMany(all);
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() >= size_t(2 * kPhotos); }));
    list.Stop();
    QCoreApplication::processEvents();

    std::vector<int32_t> ready = m_window.ready;
    std::sort(ready.begin(), ready.end());
    std::vector<int32_t> expected;
    for (int32_t id = 0; id < 2 * kPhotos; ++id)
        expected.push_back(id);
    EXPECT_EQ(ready, expected); // one ready event per id
    const ThumbnailList::Counters c = list.GetCounters();
    EXPECT_EQ(c.made, 2 * kPhotos);
    EXPECT_EQ(c.failed, 0);
    EXPECT_EQ(c.served, c.made + c.repeated);
    EXPECT_EQ(list.ImageCount(), 2 * kPhotos); // no second cell for any id
    std::set<int> indices;
    for (int32_t id = 0; id < 2 * kPhotos; ++id) {
        indices.insert(list.ThumbIndex(id));
        EXPECT_TRUE(Near(At(Cell(list, id), 48, 48), DibColor::Rgb(uint8_t(10 * (id % kPhotos)), 40, 200), 2)) << id;
    }
    EXPECT_EQ(indices.size(), size_t(2 * kPhotos));
    // One record per photo although two ids of each were made, possibly at the same time.
    EXPECT_EQ(m_store.EntryCount(), size_t(kPhotos));
    DibImage24 photo;
    ASSERT_TRUE(m_store.Lookup(photo, photos[0]));
    ThumbCacheStore single;
    QTemporaryDir other;
    ASSERT_TRUE(single.Open(QString::fromLatin1(ThumbCacheStore::kListViewFileName), other.path()));
    ASSERT_TRUE(single.Store(photo, photos[0]));
    EXPECT_EQ(m_store.FileUsed(), kPhotos * single.FileUsed());
}

TEST_F(ThumbnailListTest, StopEndsEveryWorkerOfThePoolAndAResetKeepsOldCellsOut)
{
    const QString other = Photo(QStringLiteral("other.bmp"));
    ASSERT_TRUE(WriteSolidBmp(other, 10, 10, kRed));
    auto inWriterEvent = std::make_unique<ManualResetEvent>(); // on the heap, as above
    auto releaseEvent = std::make_unique<ManualResetEvent>();
    ManualResetEvent& inWriter = *inWriterEvent;
    ManualResetEvent& release = *releaseEvent;
    ThumbnailList list(&m_window, m_store, m_storeFolder, 3);
    ASSERT_EQ(list.Workers(), 3);
    ASSERT_TRUE(list.Reset(100));
    // Holds the store: each of the three workers takes one request and waits in its lookup.
    std::thread holder([&] {
        m_store.Store(other, 8, [&](uint8_t* dest, uint32_t size) {
            inWriter.Set();
            release.Wait();
            std::memset(dest, 0, size);
            return true;
        });
    });
    ASSERT_TRUE(inWriter.WaitFor(10s));
    list.RequestMany(AllFour());
    ASSERT_TRUE(WaitUntil([&] { return list.GetCounters().served == 3; }));
    EXPECT_EQ(list.Queue().NormalIds(), std::vector<int32_t>{4});
    // Another album: none of the three cells may go into the new list.
    ASSERT_TRUE(list.Reset(100));
    std::thread stopper([&] { list.Stop(); });
    // One marker per worker waits at the front.
    ASSERT_TRUE(WaitUntil([&] { return list.Queue().UrgentIds().size() == 3; }));
    release.Set();
    stopper.join();
    holder.join();

    EXPECT_EQ(list.Workers(), 0);
    const ThumbnailList::Counters c = list.GetCounters();
    EXPECT_EQ(c.served, 3);
    EXPECT_EQ(c.discarded, 3);
    EXPECT_EQ(c.made, 0);
    EXPECT_EQ(list.ImageCount(), 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_window.ready.empty());
}

TEST(ThumbnailListWorkers, TheCountFollowsTheEnvironmentWithinOneToEight)
{
    const QByteArray saved = qgetenv("TESSARY_THUMB_WORKERS");
    const int cores = std::clamp(int(std::thread::hardware_concurrency()), 1, ThumbnailList::kMaxWorkers);
    const std::vector<std::pair<const char*, int>> cases = {
        {"1", 1}, {"3", 3}, {"8", 8}, {"0", cores}, {"9", cores}, {"-2", cores}, {"2x", cores}, {"", cores}};
    for (const auto& [text, count] : cases) {
        qputenv("TESSARY_THUMB_WORKERS", text);
        EXPECT_EQ(ThumbnailList::WorkerCount(), count) << text;
    }
    qputenv("TESSARY_THUMB_WORKERS", "3");
    {
        QTemporaryDir dir;
        ThumbCacheStore store;
        ThumbnailList list(nullptr, store, dir.path());
        EXPECT_EQ(list.Workers(), 3);
        ThumbnailList capped(nullptr, store, dir.path(), 20);
        EXPECT_EQ(capped.Workers(), ThumbnailList::kMaxWorkers);
    }
    if (saved.isNull())
        qunsetenv("TESSARY_THUMB_WORKERS");
    else
        qputenv("TESSARY_THUMB_WORKERS", saved);
}
