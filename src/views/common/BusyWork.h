#pragma once
// Long work of the UI thread (loading an album) done on a worker thread while the window
// keeps painting under the wait cursor. User input waits until the work is done and is then
// delivered; timers and posted events still run, so callers guard against re-entry
// (IsBusy). Call from the UI thread only; `work` must not touch widgets.

#include <functional>
#include <future>
#include <type_traits>

#include <QEventLoop>
#include <QCursor>
#include <QGuiApplication>
#include <QMetaObject>

namespace tessary {

// The wait cursor for the lifetime of the object.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// True while RunWhileBusy runs on the UI thread.
bool IsBusy();

namespace detail {
void EnterBusy();
void LeaveBusy();
} // namespace detail

template <class Work>
auto RunWhileBusy(Work&& work) -> std::invoke_result_t<Work&>
{
    using Result = std::invoke_result_t<Work&>;
    const WaitCursor wait;
    detail::EnterBusy();
    QEventLoop loop;
    std::future<Result> result = std::async(std::launch::async, [&work, &loop]() -> Result {
        struct Wake {
            QEventLoop* loop;
            ~Wake() { QMetaObject::invokeMethod(loop, "quit", Qt::QueuedConnection); }
        } wake{&loop};
        return work();
    });
    // The worker may finish before the loop runs: the queued quit still reaches it.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    detail::LeaveBusy();
    return result.get();
}

} // namespace tessary
