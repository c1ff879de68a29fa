#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>
#include <utility>

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

TEST(ThumbnailQueue, SeveralTakersGetTheRequestsInQueueOrder)
{
    ThumbnailQueue queue;
    Ids older, newer, urgent;
    for (int32_t id = 1; id <= 60; ++id)
        older.push_back(id);
    for (int32_t id = 61; id <= 80; ++id)
        newer.push_back(id);
    for (int32_t id = 101; id <= 108; ++id)
        urgent.push_back(id);
    queue.RequestMany(Batch(older));
    queue.RequestMany(Batch(newer));
    for (int32_t id : urgent)
        queue.Request(Req(id));

    // Four takers at once; the tickets tell the order in which the queue handed requests out.
    constexpr int kTakers = 4;
    std::vector<std::vector<std::pair<uint64_t, int32_t>>> taken(kTakers);
    std::atomic<bool> go{false};
    std::vector<std::thread> takers;
    for (int t = 0; t < kTakers; ++t) {
        takers.emplace_back([&, t] {
            while (!go.load())
                std::this_thread::yield();
            ThumbnailRequest r;
            while (queue.TakeFor(r, 0ms) == ThumbnailQueue::TakeResult::Taken)
                taken[size_t(t)].push_back({r.ticket, r.itemId});
        });
    }
    go.store(true);
    for (std::thread& t : takers)
        t.join();

    std::vector<std::pair<uint64_t, int32_t>> all;
    for (const auto& mine : taken) {
        // Each taker's own tickets rise: a request is never handed out ahead of its turn.
        EXPECT_TRUE(std::is_sorted(mine.begin(), mine.end()));
        all.insert(all.end(), mine.begin(), mine.end());
    }
    std::sort(all.begin(), all.end());
    Ids order;
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].first, i + 1); // every ticket once
        order.push_back(all[i].second);
    }
    Ids expected = urgent;
    expected.insert(expected.end(), newer.begin(), newer.end());
    expected.insert(expected.end(), older.begin(), older.end());
    EXPECT_EQ(order, expected);
}

TEST(ThumbnailQueue, UrgentRequestsArrivingDuringTakingGoAheadOfNormalOnes)
{
    ThumbnailQueue queue;
    Ids normal;
    for (int32_t id = 1; id <= 200; ++id)
        normal.push_back(id);
    queue.RequestMany(Batch(normal));
    std::atomic<bool> stop{false};
    std::vector<std::vector<std::pair<uint64_t, int32_t>>> taken(3);
    std::vector<std::thread> takers;
    for (size_t t = 0; t < taken.size(); ++t) {
        takers.emplace_back([&, t] {
            ThumbnailRequest r;
            while (!stop.load()) {
                if (queue.TakeFor(r, 1ms) == ThumbnailQueue::TakeResult::Taken) {
                    taken[t].push_back({r.ticket, r.itemId});
                    std::this_thread::sleep_for(200us); // stands in for making the cell
                }
            }
        });
    }
    // Urgent ids are queued one at a time while the takers drain the batch. Whatever normal
    // requests are still queued just after an urgent one went in must be handed out after it.
    std::vector<std::pair<int32_t, Ids>> stillQueued;
    for (int32_t id = 1001; id <= 1005; ++id) {
        queue.Request(Req(id));
        stillQueued.push_back({id, queue.NormalIds()});
        std::this_thread::sleep_for(1ms);
    }
    while (queue.AvailableCount() > 0)
        std::this_thread::sleep_for(1ms);
    stop.store(true);
    for (std::thread& t : takers)
        t.join();

    std::vector<std::pair<uint64_t, int32_t>> all;
    for (const auto& mine : taken)
        all.insert(all.end(), mine.begin(), mine.end());
    std::sort(all.begin(), all.end());
    ASSERT_EQ(all.size(), 205u);
    std::map<int32_t, uint64_t> ticketOf;
    Ids normalOrder, urgentOrder;
    for (const auto& [ticket, id] : all) {
        ticketOf[id] = ticket;
        (id > 1000 ? urgentOrder : normalOrder).push_back(id);
    }
    EXPECT_EQ(normalOrder, normal);
    EXPECT_EQ(urgentOrder, (Ids{1001, 1002, 1003, 1004, 1005}));
    size_t checked = 0;
    for (const auto& [urgentId, queued] : stillQueued) {
        for (int32_t id : queued) {
            EXPECT_GT(ticketOf[id], ticketOf[urgentId]) << "normal " << id << " before urgent " << urgentId;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0u); // the takers had not drained the batch before the first urgent id
}
