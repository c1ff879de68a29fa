#include "SearchFormsWarmer.h"

#include "album/Album.h"
#include "album/Collections.h"
#include "search/SearchEngine.h"

namespace tessary {

SearchFormsWarmer::SearchFormsWarmer(SearchEngine& engine, QObject* parent) : QObject(parent), m_engine(engine)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (!RunSlice()) {
            m_timer.stop();
            emit Finished();
        }
    });
}

void SearchFormsWarmer::Start(const Album* album)
{
    m_album = album;
    m_next = 0;
    if (album)
        m_timer.start();
    else
        m_timer.stop();
}

void SearchFormsWarmer::Stop()
{
    m_timer.stop();
    m_album = nullptr;
}

bool SearchFormsWarmer::RunSlice()
{
    if (!m_album)
        return false;
    const Collections& list = m_album->GetCollections();
    QElapsedTimer clock;
    clock.start();
    while (m_next < list.Count()) {
        if (m_engine.PrepareForms(*list.At(m_next), kItemsPerStep))
            ++m_next;
        if (clock.elapsed() >= kSliceMs)
            return m_next < list.Count();
    }
    return false;
}

} // namespace tessary
