#pragma once
// A filtering job that closes its own pause gate the first time the accepted count is
// `pauseAt` at a path boundary (as an open cancel question would), and says so.

#include <QObject>
#include <QStringList>

#include "album/FilterJob.h"
#include "platform/ManualResetEvent.h"

namespace tessary::test {

class PausingJob : public FilterJob {
public:
    PausingJob(QStringList input, int pauseAt, QObject* receiver = nullptr)
        : FilterJob(std::move(input), receiver)
        , m_pauseAt(pauseAt)
    {
    }
    // The worker may be in OnProgress: it ends before this object's members go.
    ~PausingJob() override { StopAndWait(); }
    void OnProgress() override
    {
        if (!paused.IsSet() && AcceptedCount() == m_pauseAt) {
            PauseGate().Reset();
            paused.Set();
        }
    }
    ManualResetEvent paused{false};

private:
    const int m_pauseAt;
};

} // namespace tessary::test
