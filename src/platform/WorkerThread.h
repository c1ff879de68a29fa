#pragma once
// Base of every background thread: the thumbnail workers and the file-filtering job.
//
// Threads: Start, Wait, StopAndWait and HasThread belong to the owning thread. The stop flag
// and the pause gate may be used from any thread. Run, OnBegin and OnEnd run on the worker.
// Ownership: the object owns its thread. A subclass must end the thread (StopAndWait) in its
// own destructor, because Run may use the subclass's members; the base destructor only
// stops and joins as a last resort.
// Results: the worker's exit code is 0 when Run returned non-zero and 1 otherwise; a Run
// that throws counts as having returned 0.

#include <atomic>
#include <optional>
#include <thread>

#include "platform/ManualResetEvent.h"

namespace tessary {

class WorkerThread {
public:
    WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    virtual bool ClearStop();
    virtual void RequestStop();
    virtual bool IsStopRequested() const;
    virtual ~WorkerThread();
    // Opens the pause gate and, when there is a thread, sets the stop flag. Returns whether
    // there is a thread (running or ended but not yet waited for).
    virtual bool SignalStop();
    virtual int Run() = 0;
    virtual void OnBegin();
    virtual void OnEnd(int result);
    virtual void OnProgress();

    // Stops and waits for a previous thread, clears the stop flag and starts a new thread.
    // False when the thread could not be made.
    bool Start();
    // Waits without time-out for the thread to end and lets it go; false when there was none.
    bool Wait();
    // SignalStop, then Wait.
    void StopAndWait();
    bool HasThread() const { return m_thread.joinable(); }
    std::thread::id ThreadId() const { return m_threadId; }
    // The exit code of the last thread once it has ended; empty while none has.
    std::optional<int> ExitCode() const;

    // Created open. Work that may be paused waits on it between steps; SignalStop opens it
    // so that a paused worker sees the stop.
    ManualResetEvent& PauseGate() { return m_pauseGate; }

private:
    void ThreadMain();

    static constexpr int kNoExitCode = -1;
    std::thread m_thread;
    std::thread::id m_threadId;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_exitCode{kNoExitCode};
    ManualResetEvent m_pauseGate{true};
};

} // namespace tessary
