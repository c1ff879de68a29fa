#pragma once
// Aborts the process when the UI thread stops answering: the UI thread beats (a repeating
// timer, which also fires inside modal loops and busy work, and every answered event), a
// thread of its own checks the last beat. The abort leaves a core dump; the message names
// the last input sent. Beat, Arm and Describe from the UI thread; the checking thread only
// reads.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include <QTimer>

namespace tessary::test {

class Watchdog {
public:
    explicit Watchdog(int limitMs) : m_limitMs(limitMs), m_thread([this] { Run(); })
    {
        m_beatTimer.setInterval(20);
        QObject::connect(&m_beatTimer, &QTimer::timeout, [this] { Beat(); });
        m_beatTimer.start();
    }
    ~Watchdog()
    {
        m_stop = true;
        m_thread.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void Beat() { m_lastBeat = NowMs(); }
    // Only armed while random input runs: building albums and saving are not watched.
    void Arm(bool on)
    {
        Beat();
        m_armed = on;
    }
    void Describe(std::string what)
    {
        const std::lock_guard lock(m_mutex);
        m_last = std::move(what);
    }

private:
    static long long NowMs()
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void Run()
    {
        while (!m_stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            const long long silent = NowMs() - m_lastBeat;
            if (!m_armed || silent <= m_limitMs)
                continue;
            const std::lock_guard lock(m_mutex);
            std::fprintf(stderr,
                         "monkey: the UI thread has not answered for %lld ms; last input: %s\n"
                         "monkey: for the UI thread's stack run the same seed under "
                         "gdb -ex run -ex 'thread apply all bt' (or open the core dump)\n",
                         silent, m_last.c_str());
            std::fflush(stderr);
            std::abort();
        }
    }

    const int m_limitMs;
    std::atomic<long long> m_lastBeat{NowMs()};
    std::atomic<bool> m_armed{false};
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::string m_last = "none";
    QTimer m_beatTimer;
    std::thread m_thread;
};

} // namespace tessary::test
