#pragma once
// Builds the search engine's normalised forms of an album's collections in short slices on
// the UI thread's idle moments after the album opens, so that the first keystroke of a
// search does not pay for them. Each slice works for about kSliceMs and then yields to the
// event loop. UI thread only; the album is not owned: Stop (or Start with another album)
// before it goes away.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace tessary {

class Album;
class SearchEngine;

class SearchFormsWarmer : public QObject {
    Q_OBJECT

public:
    static constexpr int kSliceMs = 4;
    static constexpr size_t kItemsPerStep = 256;

    explicit SearchFormsWarmer(SearchEngine& engine, QObject* parent = nullptr);

    void Start(const Album* album);
    void Stop();
    bool IsRunning() const { return m_timer.isActive(); }
    // One slice now (what the timer runs); false when every collection is done.
    bool RunSlice();

signals:
    void Finished();

private:
    SearchEngine& m_engine;
    const Album* m_album = nullptr;
    int m_next = 0; // the collection being prepared
    QTimer m_timer;
};

} // namespace tessary
