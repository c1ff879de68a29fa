// The viewer's decode queue and its three-photo cache: order of work, results for photos the
// user has stepped past, failures, client size changes, cancelling and stopping.
#include <atomic>
#include <thread>

#include <QSignalSpy>
#include <QTest>

#include "ViewerTestSupport.h"
#include "views/viewer/ViewerDecoder.h"
#include "views/viewer/ViewerReadAhead.h"

using namespace tessary;
using namespace tessary::test;

namespace {

QStringList Paths(int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << QStringLiteral("/photos/p%1").arg(i);
    return out;
}

ViewerDecoder::LoadFunction Through(GatedLoader& loader)
{
    return [&loader](const QString& path, DibSize box, ScreenPhoto& out) { return loader.Load(path, box, out); };
}

constexpr DibSize kBox{640, 480};

} // namespace

class ViewerReadAheadTest : public QObject {
    Q_OBJECT
private slots:
    // One worker: the shown photo first, then the next, then the previous; nothing else.
    void currentThenNextThenPrevious()
    {
        GatedLoader loader;
        ViewerReadAhead cache(nullptr, 1, Through(loader));
        OpenOnExit open{loader};
        QSignalSpy ready(&cache, &ViewerReadAhead::Ready);
        cache.SetList(Paths(10));
        cache.Show(4, kBox);
        QVERIFY(cache.Pending(4) && cache.Pending(5) && cache.Pending(3));
        QVERIFY(!cache.Pending(6) && !cache.Pending(2));
        loader.Open();
        QTRY_COMPARE(ready.count(), 3);
        QCOMPARE(loader.Taken(), (QStringList{"/photos/p4", "/photos/p5", "/photos/p3"}));
        QCOMPARE(cache.Cached(), (std::vector<int>{3, 4, 5}));
        QVERIFY(cache.Photo(4) && cache.Photo(4)->box == kBox);
        QCOMPARE(cache.Count().requests, 3);
    }

    // Stepping on keeps the two that stay among the three and asks only for the new one; the
    // one left behind is freed.
    void steppingReusesTheNeighbours()
    {
        GatedLoader loader;
        loader.Open();
        ViewerReadAhead cache(nullptr, 2, Through(loader));
        cache.SetList(Paths(10));
        cache.Show(4, kBox);
        QTRY_COMPARE(cache.Cached().size(), size_t(3));
        const ScreenPhoto* five = cache.Photo(5);
        cache.Show(5, kBox);
        QCOMPARE(cache.Photo(5), five);
        QVERIFY(!cache.Photo(3));
        QVERIFY(cache.Pending(6));
        QTRY_COMPARE(cache.Cached(), (std::vector<int>{4, 5, 6}));
        QCOMPARE(cache.Count().requests, 4);
        // The ends of the list have one neighbour.
        cache.Show(9, kBox);
        QTRY_COMPARE(cache.Cached(), (std::vector<int>{8, 9}));
        cache.Show(0, kBox);
        QTRY_COMPARE(cache.Cached(), (std::vector<int>{0, 1}));
    }

    // The user steps far while decodes are under way: what comes back for photos left
    // behind is dropped, never stored, and the queue never holds them.
    void resultsOfPhotosSteppedPastAreDropped()
    {
        GatedLoader loader;
        ViewerReadAhead cache(nullptr, 2, Through(loader));
        OpenOnExit open{loader};
        cache.SetList(Paths(20));
        cache.Show(0, kBox);
        QVERIFY(loader.WaitTaken(2)); // p0 and p1 are being decoded
        for (int i = 1; i <= 10; ++i)
            cache.Show(i, kBox);
        // Only the decodes for 9, 10 and 11 wait; the ones for 2..8 were cancelled unstarted.
        QCOMPARE(cache.Decoder().Queued(), 3);
        loader.Open();
        QTRY_COMPARE(cache.Cached(), (std::vector<int>{9, 10, 11}));
        QTRY_COMPARE(cache.Count().dropped, 2);
        QCOMPARE(cache.Count().kept, 3);
        QVERIFY(!cache.Photo(0) && !cache.Photo(1));
        QCOMPARE(loader.Taken().size(), 5);
    }

    // A new list drops whatever the old one had under way.
    void newListForgetsTheOldOne()
    {
        GatedLoader loader;
        ViewerReadAhead cache(nullptr, 1, Through(loader));
        OpenOnExit open{loader};
        QSignalSpy ready(&cache, &ViewerReadAhead::Ready);
        cache.SetList(Paths(5));
        cache.Show(2, kBox);
        QVERIFY(loader.WaitTaken(1));
        cache.SetList({QStringLiteral("/other/a"), QStringLiteral("/other/b")});
        cache.Show(0, kBox);
        loader.Open();
        QTRY_COMPARE(cache.Cached(), (std::vector<int>{0, 1}));
        QTRY_COMPARE(cache.Count().dropped, 1);
        QCOMPARE(loader.Taken(), (QStringList{"/photos/p2", "/other/a", "/other/b"}));
        QCOMPARE(ready.count(), 2);
    }

    void failureIsRememberedWhileNear()
    {
        GatedLoader loader;
        loader.Fail(QStringLiteral("/photos/p1"));
        loader.Open();
        ViewerReadAhead cache(nullptr, 1, Through(loader));
        cache.SetList(Paths(3));
        cache.Show(1, kBox);
        QTRY_COMPARE(cache.Cached().size(), size_t(3));
        QVERIFY(cache.Failed(1));
        QVERIFY(!cache.Photo(1));
        cache.Show(0, kBox);
        cache.Show(1, kBox);
        QVERIFY(!cache.Pending(1));
        QVERIFY(cache.Failed(1));
        // Only p2, freed on the way, is decoded again.
        QTRY_COMPARE(cache.Cached().size(), size_t(3));
        QCOMPARE(cache.Count().requests, 4);
        QCOMPARE(loader.Taken().count(QStringLiteral("/photos/p1")), 1);
        QCOMPARE(loader.Taken().count(QStringLiteral("/photos/p2")), 2);
    }

    // A larger client asks again for photos that were shrunk for the old one; a smaller
    // client, or a photo that was not shrunk, asks for nothing.
    void clientSizeChanges()
    {
        std::atomic<int> calls = 0;
        ViewerReadAhead cache(nullptr, 1, [&calls](const QString& path, DibSize box, ScreenPhoto& out) {
            ++calls;
            // p0 is a large photo, the others small ones.
            const DibSize photo = path.endsWith('0') ? DibSize{4000, 3000} : DibSize{100, 80};
            out.photoSize = photo;
            out.box = box;
            const DibSize size = ViewSize(photo, box, false);
            return out.image.color.Create24(size);
        });
        cache.SetList(Paths(2));
        cache.Show(0, {400, 300});
        QTRY_COMPARE(cache.Cached().size(), size_t(2));
        QCOMPARE(cache.Photo(0)->image.Size(), (DibSize{400, 300}));
        cache.Show(0, {200, 150});
        QCOMPARE(cache.Count().requests, 2);
        cache.Show(0, {800, 600});
        QCOMPARE(cache.Count().requests, 3);
        // Until the new one comes the old, smaller one stays available.
        QVERIFY(cache.Photo(0));
        QTRY_COMPARE(cache.Photo(0)->image.Size(), (DibSize{800, 600}));
        QCOMPARE(calls.load(), 3);
    }

    void decoderQueue()
    {
        GatedLoader loader;
        QObject receiver;
        auto decoder = std::make_unique<ViewerDecoder>(&receiver, 1, Through(loader));
        const int first = decoder->Request(QStringLiteral("a"), kBox, false);
        QVERIFY(loader.WaitTaken(1));
        const int b = decoder->Request(QStringLiteral("b"), kBox, false);
        const int c = decoder->Request(QStringLiteral("c"), kBox, false);
        const int d = decoder->Request(QStringLiteral("d"), kBox, true);
        QVERIFY(first > 0 && b > first && c > b && d > c);
        QCOMPARE(decoder->Queued(), 3);
        QVERIFY(!decoder->Cancel(first)); // a worker has it
        QVERIFY(decoder->Cancel(b));
        QVERIFY(!decoder->Cancel(b));
        QVERIFY(decoder->Promote(c));
        QVERIFY(!decoder->Promote(12345));
        loader.Open();
        QTRY_COMPARE(loader.Taken(), (QStringList{"a", "c", "d"}));
        QCOMPARE(decoder->Started(), 3);
        decoder->Stop();
        QCOMPARE(decoder->Request(QStringLiteral("e"), kBox, true), 0);
    }

    // Stopping with work queued and one decode under way: the queue is dropped, the worker
    // finishes and is joined, and no event reaches the receiver afterwards.
    void stopJoinsAndPostsNothingLater()
    {
        GatedLoader loader;
        auto receiver = std::make_unique<ViewerReadAhead>(nullptr, 1, Through(loader));
        receiver->SetList(Paths(5));
        receiver->Show(2, kBox);
        QVERIFY(loader.WaitTaken(1));
        // The decode under way ends only once the destruction has begun to stop the workers.
        std::thread opener([&loader] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            loader.Open();
        });
        receiver.reset();
        opener.join();
        QCoreApplication::processEvents();
        QCOMPARE(loader.Taken().size(), 1);
    }
};

QTEST_MAIN(ViewerReadAheadTest)
#include "ViewerReadAheadTest.moc"
