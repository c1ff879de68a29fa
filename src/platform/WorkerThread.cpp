#include "WorkerThread.h"

#include <system_error>

namespace tessary {

WorkerThread::WorkerThread() = default;

WorkerThread::~WorkerThread()
{
    if (m_thread.joinable()) {
        WorkerThread::SignalStop();
        m_thread.join();
    }
}

bool WorkerThread::ClearStop()
{
    m_stop.store(false);
    return true;
}

void WorkerThread::RequestStop()
{
    m_stop.store(true);
}

bool WorkerThread::IsStopRequested() const
{
    return m_stop.load();
}

bool WorkerThread::SignalStop()
{
    // The flag goes up before the gate opens, so that work released from the gate sees it.
    const bool running = m_thread.joinable();
    if (running)
        m_stop.store(true);
    if (!m_pauseGate.IsSet())
        m_pauseGate.Set();
    return running;
}

void WorkerThread::OnBegin()
{
}

void WorkerThread::OnEnd(int)
{
}

void WorkerThread::OnProgress()
{
}

bool WorkerThread::Start()
{
    if (SignalStop())
        m_thread.join();
    ClearStop();
    m_exitCode.store(kNoExitCode);
    try {
        m_thread = std::thread(&WorkerThread::ThreadMain, this);
    } catch (const std::system_error&) {
        m_threadId = {};
        return false;
    }
    m_threadId = m_thread.get_id();
    return true;
}

bool WorkerThread::Wait()
{
    if (!m_thread.joinable())
        return false;
    m_thread.join();
    return true;
}

void WorkerThread::StopAndWait()
{
    if (SignalStop())
        m_thread.join();
}

std::optional<int> WorkerThread::ExitCode() const
{
    const int code = m_exitCode.load();
    if (code == kNoExitCode)
        return std::nullopt;
    return code;
}

void WorkerThread::ThreadMain()
{
    int result = 0;
    try {
        OnBegin();
        result = Run();
        OnEnd(result);
    } catch (...) {
        // A worker must never take the process down; a throwing run counts as failed.
        result = 0;
    }
    m_exitCode.store(result != 0 ? 0 : 1);
}

} // namespace tessary
