#include <gtest/gtest.h>

#include "thumbcache/ThumbnailQueue.h"

using namespace tessary;
using namespace std::chrono_literals;
using Ids = std::vector<int32_t>;

namespace {
ThumbnailRequest Req(int32_t id)
{
    return {id, QStringLiteral("/photos/%1.jpg").arg(id)};
}

std::vector<ThumbnailRequest> Batch(const Ids& ids)
{
    std::vector<ThumbnailRequest> batch;
    for (int32_t id : ids)
        batch.push_back(Req(id));
    return batch;
}

// Takes everything queued, in serving order.
Ids Drain(ThumbnailQueue& queue)
{
    Ids served;
    ThumbnailRequest r;
    while (queue.TakeFor(r, 0ms) == ThumbnailQueue::TakeResult::Taken) {
        EXPECT_EQ(r.path, QStringLiteral("/photos/%1.jpg").arg(r.itemId));
        served.push_back(r.itemId);
    }
    return served;
}
} // namespace

TEST(ThumbnailQueue, UrgentFirstInFirstOutAheadOfNormal)
{
    ThumbnailQueue queue;
    queue.RequestMany(Batch({1, 2}));
    queue.Request(Req(10));
    queue.Request(Req(11));
    EXPECT_EQ(queue.AvailableCount(), 4);
    EXPECT_EQ(Drain(queue), (Ids{10, 11, 1, 2}));
    EXPECT_EQ(queue.AvailableCount(), 0);
}

TEST(ThumbnailQueue, ANewerBatchIsServedAheadOfAnOlderOne)
{
    ThumbnailQueue queue;
    queue.RequestMany(Batch({24, 25}));          // x, y
    queue.RequestMany(Batch({1, 2, 3}));         // a, b, c
    queue.Request(Req(9));
    EXPECT_EQ(queue.NormalIds(), (Ids{1, 2, 3, 24, 25}));
    EXPECT_EQ(Drain(queue), (Ids{9, 1, 2, 3, 24, 25}));
}

TEST(ThumbnailQueue, TheEleventhUrgentRequestDemotesTheTenBeforeIt)
{
    ThumbnailQueue queue;
    queue.RequestMany(Batch({100, 101}));
    for (int32_t id = 1; id <= 9; ++id)
        queue.Request(Req(id));
    EXPECT_EQ(queue.UrgentIds().size(), 9u);
    queue.Request(Req(10)); // ten urgent: no demotion yet
    EXPECT_EQ(queue.UrgentIds().size(), 10u);
    queue.Request(Req(11));
    EXPECT_EQ(queue.UrgentIds(), (Ids{11}));
    EXPECT_EQ(queue.NormalIds(), (Ids{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 100, 101}));
    EXPECT_EQ(queue.AvailableCount(), 13); // moving requests leaves the count alone
    EXPECT_EQ(Drain(queue), (Ids{11, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 100, 101}));
}

TEST(ThumbnailQueue, DoneIdsAreNotQueuedAgainUntilCleared)
{
    ThumbnailQueue queue;
    queue.MarkDone(5); // never requested: not marked
    EXPECT_FALSE(queue.IsDone(5));
    queue.Request(Req(5));
    queue.RequestMany(Batch({6, 7}));
    EXPECT_TRUE(queue.IsRequested(6));
    EXPECT_EQ(Drain(queue), (Ids{5, 6, 7}));
    queue.MarkDone(5);
    queue.MarkDone(7);
    EXPECT_TRUE(queue.IsDone(5));

    queue.Request(Req(5));
    queue.RequestMany(Batch({5, 6, 7, 8}));
    EXPECT_EQ(queue.AvailableCount(), 2);
    EXPECT_EQ(Drain(queue), (Ids{6, 8}));

    queue.Clear();
    EXPECT_FALSE(queue.IsDone(5));
    EXPECT_FALSE(queue.IsRequested(6));
    queue.Request(Req(5));
    EXPECT_EQ(Drain(queue), (Ids{5}));
}

TEST(ThumbnailQueue, CountsLeftByAClearTakeNothing)
{
    ThumbnailQueue queue;
    queue.RequestMany(Batch({1, 2}));
    queue.Request(Req(3));
    queue.Clear();
    EXPECT_EQ(queue.AvailableCount(), 3);
    ThumbnailRequest r{77, QStringLiteral("kept")};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(queue.TakeFor(r, 0ms), ThumbnailQueue::TakeResult::Empty);
    EXPECT_EQ(r.itemId, 77);
    EXPECT_EQ(queue.TakeFor(r, 10ms), ThumbnailQueue::TakeResult::TimedOut);

    queue.Request(Req(4));
    ASSERT_TRUE(queue.Take(r));
    EXPECT_EQ(r.itemId, 4);
}

TEST(ThumbnailQueue, TheStopMarkerOvertakesQueuedWork)
{
    ThumbnailQueue queue;
    queue.RequestMany(Batch({1, 2, 3}));
    queue.Request({ThumbnailQueue::kStopMarker, QString()});
    ThumbnailRequest r;
    ASSERT_TRUE(queue.Take(r));
    EXPECT_LT(r.itemId, 0);
}
