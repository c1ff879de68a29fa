#pragma once
// The filtering job behind a paste or a drop: a worker walks the given paths, descends into
// folders to any depth and keeps the files of the storable photo formats by extension.
//
// Threads: the owning thread makes the job, may set the receiver, starts it and reads the
// output only after Wait() (or StopAndWait()) has returned. The worker reads only the input
// and writes only the output and the count. Stop flag and pause gate (WorkerThread) may be
// used from any thread; the worker looks at both before every path, so a stop or a pause
// always takes effect between two paths.
// Messages: the worker posts FilterProgressEvent to the receiver (which must outlive the
// thread): a progress message whenever the number of accepted files reaches a new multiple
// of 10 (0 included) and once at the end of the run, and a finished message after a run that
// was not stopped. Without a receiver nothing is posted.

#include <atomic>
#include <optional>
#include <sys/types.h>
#include <utility>
#include <vector>

#include <QEvent>
#include <QStringList>

#include "platform/WorkerThread.h"

class QObject;

namespace tessary {

inline constexpr int kWmApp = 0x8000;
// The filter's message (0x83EC): wParam 1 finished, 0 progress; lParam the accepted count.
inline constexpr QEvent::Type kFilterProgressEvent = QEvent::Type(kWmApp + 1004);

class FilterProgressEvent : public QEvent {
public:
    FilterProgressEvent(bool finished, int count)
        : QEvent(kFilterProgressEvent)
        , m_finished(finished)
        , m_count(count)
    {
    }
    bool Finished() const { return m_finished; }
    int Count() const { return m_count; }

private:
    bool m_finished;
    int m_count;
};

class FilterJob : public WorkerThread {
public:
    explicit FilterJob(QStringList input, QObject* receiver = nullptr);
    ~FilterJob() override;

    // Before Start only.
    void SetReceiver(QObject* receiver) { m_receiver = receiver; }

    const QStringList& Input() const { return m_input; }
    // Accepted files in the order found; files named in the input appear as given, files
    // found in a folder as the normalized folder path followed by the entry name.
    // Only after the thread has ended.
    const QStringList& Output() const { return m_output; }
    // Any thread.
    int AcceptedCount() const { return m_accepted.load(); }
    // The last run ended without being stopped (after the thread has ended).
    bool Completed() const { return ExitCode() == 0; }

    // Non-zero when every path was examined, 0 when stopped.
    int Run() override;
    // Posts the finished message after a completed run.
    void OnEnd(int result) override;

private:
    enum class Walk { Continue, Stop };
    using FolderKey = std::pair<dev_t, ino_t>;

    Walk Examine(const QString& path, std::vector<FolderKey>& ancestors);
    Walk ExamineFolder(const QString& folder, std::vector<FolderKey>& ancestors);
    void PostProgress(bool finished);

    const QStringList m_input;
    QStringList m_output;
    QObject* m_receiver;
    std::atomic<int> m_accepted{0};
    int m_lastPosted = -1;
};

// Runs a job on its own thread without any window and waits for it: the accepted files, or
// nothing when the thread could not be made.
std::optional<QStringList> FilterPathsNow(const QStringList& paths);

} // namespace tessary
