#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/CountingSemaphore.h"
#include "platform/ManualResetEvent.h"

using namespace tessary;
using namespace std::chrono_literals;

TEST(ManualResetEvent, StaysSetAndReleasesEveryWaiter)
{
    ManualResetEvent event(false);
    EXPECT_FALSE(event.IsSet());
    EXPECT_FALSE(event.WaitFor(10ms));

    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] {
            event.Wait();
            ++released;
        });
    event.Set();
    for (std::thread& t : waiters)
        t.join();
    EXPECT_EQ(released.load(), 3);
    // Manual reset: still set for a later waiter.
    EXPECT_TRUE(event.WaitFor(0ms));
    event.Reset();
    EXPECT_FALSE(event.WaitFor(5ms));
    EXPECT_TRUE(ManualResetEvent(true).IsSet());
}

TEST(CountingSemaphore, RefusesReleasesPastTheMaximum)
{
    CountingSemaphore s(0, 5);
    EXPECT_TRUE(s.Release(3));
    EXPECT_FALSE(s.Release(3)); // 6 > 5: refused whole
    EXPECT_EQ(s.Count(), 3);
    EXPECT_FALSE(s.Release(0));
    EXPECT_FALSE(s.Release(-1));
    EXPECT_TRUE(s.Release(2));
    EXPECT_EQ(s.Count(), 5);
    EXPECT_FALSE(s.Release(1));

    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(s.TryAcquireFor(0ms));
    EXPECT_FALSE(s.TryAcquireFor(10ms));
    EXPECT_EQ(CountingSemaphore(9, 4).Count(), 4);
}

TEST(CountingSemaphore, WakesAWaitingTaker)
{
    CountingSemaphore s(0, 100);
    std::atomic<int> taken{0};
    std::thread taker([&] {
        for (int i = 0; i < 4; ++i) {
            s.Acquire();
            ++taken;
        }
    });
    s.Release(1);
    s.Release(3);
    taker.join();
    EXPECT_EQ(taken.load(), 4);
    EXPECT_EQ(s.Count(), 0);
}
