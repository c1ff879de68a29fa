// The preview thumbnailer: newest request first, one request per window and item, results
// drawn fitted and centred, Clear and the store behind it, stopping, closed windows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include <QPainter>
#include <QTemporaryDir>

#include "thumbcache/PreviewThumbnails.h"
#include "thumbcache/ThumbPhotos.h"
#include "thumbcache/ThumbTestFiles.h"

using namespace tessary;
using namespace tessary::test;

namespace {

class PreviewThumbnailsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_storeFolder = m_dir.filePath(QStringLiteral("tmp"));
        ASSERT_TRUE(QDir().mkpath(m_storeFolder));
        for (int i = 1; i <= 4; ++i) {
            m_photos << m_dir.filePath(QStringLiteral("p%1.bmp").arg(i));
            // 320 x 240 fits as 160 x 120; each photo its own colour.
            ASSERT_TRUE(WriteSolidBmp(m_photos.last(), 320, 240, Colour(i)));
        }
    }

    static DibColor Colour(int i) { return DibColor::Rgb(uint8_t(50 * i), uint8_t(200 - 40 * i), 90); }

    PreviewRequest Request(int32_t id, QObject* window = nullptr)
    {
        return {QPointer<QObject>(window ? window : &m_window), id, m_photos[std::abs(id - 1) % 4]};
    }

    QTemporaryDir m_dir;
    QString m_storeFolder;
    QStringList m_photos;
    ThumbCacheStore m_store;
    EventRecorder m_window;
};

} // namespace

TEST_F(PreviewThumbnailsTest, TheNewestRequestIsServedFirst)
{
    PreviewThumbnails service(m_store, m_storeFolder);
    EXPECT_TRUE(m_store.IsOpen());
    service.PauseWorker(true);
    for (int32_t id : {1, 2, 3, 4})
        service.Enqueue(Request(id));
    EXPECT_EQ(service.PendingIds(), (std::vector<int32_t>{4, 3, 2, 1}));
    service.PauseWorker(false);
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 4; }));
    EXPECT_EQ(m_window.ready, (std::vector<int32_t>{4, 3, 2, 1}));
    for (int32_t id : {1, 2, 3, 4}) {
        DibImage24 preview;
        ASSERT_TRUE(service.CopyResult(id, preview));
        EXPECT_EQ(preview.Size(), (DibSize{160, 120}));
        DibColor c;
        preview.GetColor(c, 80, 60);
        EXPECT_TRUE(c.SameRgb(Colour(id)));
    }
    EXPECT_EQ(service.Decoded(), 4);
}

TEST_F(PreviewThumbnailsTest, ARequestWaitsOncePerWindowAndNotAtAllWithAResult)
{
    PreviewThumbnails service(m_store, m_storeFolder);
    service.PauseWorker(true);
    EventRecorder other;
    service.Enqueue(Request(1));
    service.Enqueue(Request(2));
    service.Enqueue(Request(1)); // same window, same id: already waiting
    service.Enqueue(Request(1, &other));
    EXPECT_EQ(service.PendingIds(), (std::vector<int32_t>{1, 2, 1}));

    // Drawing an item without preview queues it, once.
    QImage canvas(200, 200, QImage::Format_RGB32);
    QPainter painter(&canvas);
    EXPECT_TRUE(service.Draw(&painter, QRect(0, 0, 200, 200), Request(3)));
    EXPECT_TRUE(service.Draw(&painter, QRect(0, 0, 200, 200), Request(3)));
    EXPECT_EQ(service.PendingIds(), (std::vector<int32_t>{3, 1, 2, 1}));

    service.PauseWorker(false);
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 3 && other.ready.size() == 1; }));
    EXPECT_EQ(m_window.ready, (std::vector<int32_t>{3, 2, 1}));
    EXPECT_EQ(other.ready, (std::vector<int32_t>{1}));
    // Only the first of the two requests for item 1 was decoded.
    EXPECT_EQ(service.Decoded(), 3);
    // With a result there is nothing to queue.
    service.Enqueue(Request(2));
    EXPECT_TRUE(service.PendingIds().empty());
    painter.end();
}

TEST_F(PreviewThumbnailsTest, DrawFitsAndCentresTheResultInTheRectangle)
{
    PreviewThumbnails service(m_store, m_storeFolder);
    DibImage24 preview;
    ASSERT_TRUE(preview.Create24({160, 120}));
    preview.Clear(DibColor::Rgb(250, 10, 10));
    preview.SetColor(0, 0, DibColor::Rgb(0, 0, 250)); // marks the top-left corner
    ASSERT_TRUE(service.AddResult(preview, 7));
    EXPECT_FALSE(service.AddResult(preview, 7));
    EXPECT_FALSE(service.AddResult(preview, 0));
    EXPECT_FALSE(service.AddResult(preview, -3));

    struct Case {
        QRect rect;
        QRect want;
    };
    const std::vector<Case> cases{
        {QRect(10, 20, 160, 120), QRect(10, 20, 160, 120)}, // same size: a plain copy
        {QRect(0, 0, 80, 80), QRect(0, 10, 80, 60)},        // smaller: shrunk, centred vertically
        {QRect(5, 5, 400, 300), QRect(5, 5, 400, 300)},     // larger: enlarged
        {QRect(0, 0, 300, 120), QRect(70, 0, 160, 120)},    // wide: centred horizontally
    };
    for (const Case& c : cases) {
        QImage canvas(420, 330, QImage::Format_RGB32);
        canvas.fill(qRgb(0, 255, 0));
        QPainter painter(&canvas);
        QRect drawn;
        ASSERT_TRUE(service.Draw(&painter, c.rect, Request(7), &drawn));
        painter.end();
        EXPECT_EQ(drawn, c.want);
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                const QRgb p = canvas.pixel(x, y);
                if (!c.want.contains(x, y)) {
                    ASSERT_EQ(p, qRgb(0, 255, 0)) << x << ", " << y;
                } else if (x == c.want.right() && y == c.want.bottom()) {
                    ASSERT_EQ(p, qRgb(250, 10, 10)) << x << ", " << y;
                }
            }
        }
        if (c.want.size() == QSize(160, 120)) {
            EXPECT_EQ(canvas.pixel(c.want.topLeft()), qRgb(0, 0, 250));
        }
    }
    EXPECT_TRUE(service.PendingIds().empty());
}

TEST_F(PreviewThumbnailsTest, AfterClearPreviewsComeBackFromTheStore)
{
    PreviewThumbnails service(m_store, m_storeFolder);
    QImage canvas(200, 200, QImage::Format_RGB32);
    QPainter painter(&canvas);
    ASSERT_TRUE(service.Draw(&painter, QRect(0, 0, 200, 200), Request(1)));
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 1; }));
    EXPECT_EQ(service.Decoded(), 1);
    EXPECT_TRUE(service.HasResult(1));

    service.Clear();
    EXPECT_FALSE(service.HasResult(1));
    ASSERT_TRUE(service.Draw(&painter, QRect(0, 0, 200, 200), Request(1)));
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 2; }));
    EXPECT_EQ(service.Decoded(), 1);
    EXPECT_EQ(service.StoreHits(), 1);
    QRect drawn;
    ASSERT_TRUE(service.Draw(&painter, QRect(0, 0, 200, 200), Request(1), &drawn));
    EXPECT_EQ(drawn, QRect(0, 25, 200, 150));
    painter.end();
}

TEST_F(PreviewThumbnailsTest, ClearDropsWaitingRequestsAndTheWorkerGoesOn)
{
    PreviewThumbnails service(m_store, m_storeFolder);
    service.PauseWorker(true);
    for (int32_t id : {1, 2, 3})
        service.Enqueue(Request(id));
    service.Clear();
    EXPECT_TRUE(service.PendingIds().empty());
    service.PauseWorker(false);
    service.Enqueue(Request(4));
    ASSERT_TRUE(WaitUntil([&] { return !m_window.ready.empty(); }));
    EXPECT_EQ(m_window.ready, (std::vector<int32_t>{4}));
}

TEST_F(PreviewThumbnailsTest, AClosedWindowIsNotReached)
{
    PreviewThumbnails service(m_store, m_storeFolder);
    service.PauseWorker(true);
    auto closing = std::make_unique<EventRecorder>();
    service.Enqueue(Request(2));                   // served second
    service.Enqueue(Request(1, closing.get()));    // served first
    closing.reset();
    service.PauseWorker(false);
    // The event for the closed window was queued before this one and found it gone.
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 1; }));
    EXPECT_EQ(m_window.ready, (std::vector<int32_t>{2}));
    EXPECT_TRUE(service.HasResult(1));
}

TEST_F(PreviewThumbnailsTest, StopEndsAHeldWorkerBeforeItsBacklog)
{
    PreviewThumbnails service(m_store, m_storeFolder);
    service.PauseWorker(true);
    for (int32_t id : {1, 2, 3})
        service.Enqueue(Request(id));
    service.Stop(); // the stop marker goes to the front
    // The worker ends on the marker, or on the stop flag when it had not reached its loop yet
    // (the marker then stays); the backlog is untouched either way.
    std::vector<int32_t> pending = service.PendingIds();
    std::erase(pending, PreviewRequest::kStopMarker);
    EXPECT_EQ(pending, (std::vector<int32_t>{3, 2, 1}));
    EXPECT_EQ(service.Decoded(), 0);
    service.Stop();
    // Without a worker, requests only wait.
    service.Enqueue(Request(4));
    EXPECT_EQ(service.PendingIds().front(), 4);
    EXPECT_TRUE(m_window.ready.empty());
}

TEST_F(PreviewThumbnailsTest, TheProcessWideServiceUsesThePreviewStore)
{
    ThumbCacheStore::SetStoreFolder(m_storeFolder);
    PreviewThumbnails& service = PreviewThumbnails::Instance();
    EXPECT_EQ(&service, &PreviewThumbnails::Instance());
    EXPECT_TRUE(ThumbCacheStore::Preview().IsOpen());
    EXPECT_EQ(ThumbCacheStore::Preview().FilePath(), m_storeFolder + QStringLiteral("/ThumbCache_PV.tcf"));
    service.Enqueue(Request(3));
    ASSERT_TRUE(WaitUntil([&] { return m_window.ready.size() == 1; }));
    EXPECT_EQ(ThumbCacheStore::Preview().EntryCount(), 1u);
    service.Clear();
}
