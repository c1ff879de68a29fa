#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>

#include "platform/WorkerThread.h"

using namespace tessary;
using namespace std::chrono_literals;

namespace {

// Records the order of its steps; Run returns `result`, or loops until stopped.
class StepWorker : public WorkerThread {
public:
    explicit StepWorker(int result, bool untilStopped = false)
        : m_result(result)
        , m_untilStopped(untilStopped)
    {
    }
    ~StepWorker() override { StopAndWait(); }

    void OnBegin() override
    {
        Add("begin");
        m_beginThread = std::this_thread::get_id();
    }
    int Run() override
    {
        Add("run");
        m_running.Set();
        while (m_untilStopped && !IsStopRequested())
            std::this_thread::sleep_for(1ms);
        return m_result;
    }
    void OnEnd(int result) override { Add("end:" + std::to_string(result)); }

    std::string Steps()
    {
        std::lock_guard lock(m_mutex);
        return m_steps;
    }

    ManualResetEvent m_running{false};
    std::thread::id m_beginThread;

private:
    void Add(const std::string& step)
    {
        std::lock_guard lock(m_mutex);
        m_steps += step + ";";
    }

    std::mutex m_mutex;
    std::string m_steps;
    const int m_result;
    const bool m_untilStopped;
};

class ThrowingWorker : public WorkerThread {
public:
    ~ThrowingWorker() override { StopAndWait(); }
    int Run() override { throw std::runtime_error("decoder failure"); }
};

// Works through steps, waiting at the pause gate before each one.
class PausingWorker : public WorkerThread {
public:
    ~PausingWorker() override { StopAndWait(); }
    int Run() override
    {
        m_go.Wait();
        for (;;) {
            if (IsStopRequested())
                return 0;
            m_atGate.Set();
            PauseGate().Wait();
            ++steps;
            std::this_thread::sleep_for(1ms);
        }
    }
    ManualResetEvent m_go{false};
    ManualResetEvent m_atGate{false};
    std::atomic<int> steps{0};
};

} // namespace

TEST(WorkerThread, RunsBeginRunEndOnItsOwnThreadAndMapsTheExitCode)
{
    StepWorker succeeding(7);
    EXPECT_FALSE(succeeding.ExitCode().has_value());
    ASSERT_TRUE(succeeding.Start());
    EXPECT_TRUE(succeeding.HasThread());
    const std::thread::id id = succeeding.ThreadId();
    ASSERT_TRUE(succeeding.Wait());
    EXPECT_FALSE(succeeding.HasThread());
    EXPECT_EQ(succeeding.Steps(), "begin;run;end:7;");
    EXPECT_EQ(succeeding.m_beginThread, id);
    EXPECT_NE(id, std::this_thread::get_id());
    EXPECT_EQ(succeeding.ExitCode(), 0); // Run returned non-zero
    EXPECT_FALSE(succeeding.Wait());

    StepWorker failing(0);
    ASSERT_TRUE(failing.Start());
    failing.Wait();
    EXPECT_EQ(failing.ExitCode(), 1);
}

TEST(WorkerThread, SignalStopReportsWhetherAThreadExists)
{
    StepWorker worker(1, true);
    worker.PauseGate().Reset();
    EXPECT_FALSE(worker.SignalStop());
    EXPECT_TRUE(worker.PauseGate().IsSet()); // the gate opens even without a thread
    EXPECT_FALSE(worker.IsStopRequested());

    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.m_running.WaitFor(5s));
    EXPECT_TRUE(worker.SignalStop());
    EXPECT_TRUE(worker.IsStopRequested());
    worker.Wait();
    EXPECT_EQ(worker.Steps(), "begin;run;end:1;");
}

TEST(WorkerThread, StartEndsTheRunningThreadFirstAndClearsTheStop)
{
    StepWorker worker(3, true);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.m_running.WaitFor(5s));
    worker.m_running.Reset();
    // The first run only ends on the stop that Start signals.
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.m_running.WaitFor(5s));
    EXPECT_FALSE(worker.IsStopRequested());
    worker.StopAndWait();
    EXPECT_EQ(worker.Steps(), "begin;run;end:3;begin;run;end:3;");
    EXPECT_EQ(worker.ExitCode(), 0);
}

TEST(WorkerThread, AThrowingRunCountsAsFailed)
{
    ThrowingWorker worker;
    ASSERT_TRUE(worker.Start());
    worker.Wait();
    EXPECT_EQ(worker.ExitCode(), 1);
}

TEST(WorkerThread, StopReachesAWorkerHeldAtThePauseGate)
{
    PausingWorker worker;
    ASSERT_TRUE(worker.Start());
    EXPECT_TRUE(worker.PauseGate().IsSet()); // created open
    worker.PauseGate().Reset();
    worker.m_go.Set();
    ASSERT_TRUE(worker.m_atGate.WaitFor(5s));
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(worker.steps.load(), 0); // held at the gate
    worker.StopAndWait();
    EXPECT_LE(worker.steps.load(), 1);
    EXPECT_EQ(worker.ExitCode(), 1);
}
