#include "ThumbnailListWorker.h"

#include <QCoreApplication>

#include "imagefiles/AppResources.h"
#include "imagefiles/ImageLoader.h"
#include "imagefiles/PhotoMetadata.h"
#include "thumbcache/ThumbEvents.h"
#include "util/PhotoFormat.h"

namespace tessary {

ThumbnailList::Worker::Worker(ThumbnailList& list, const QString& storeFolder)
    : m_list(list)
{
    if (!LoadBitmapResource(m_badge, kIdbExifBadge, 24))
        m_badge.Reset();
    if (!m_list.m_store.IsOpen())
        m_list.m_store.Open(QString::fromLatin1(ThumbCacheStore::kListViewFileName), storeFolder);
}

ThumbnailList::Worker::~Worker()
{
    StopAndWait();
}

int ThumbnailList::Worker::Run()
{
    if (IsStopRequested())
        return 0;
    for (;;) {
        PauseGate().Wait();
        if (IsStopRequested())
            break;
        ThumbnailRequest request;
        if (m_list.m_queue.Take(request)) {
            if (request.itemId < 0)
                break;
            ++m_list.m_served;
            switch (MakeThumbnail(request)) {
            case Outcome::Made:
                ++m_list.m_made;
                if (m_list.m_window)
                    QCoreApplication::postEvent(m_list.m_window, new ThumbEvent(kThumbReadyEvent, request.itemId));
                break;
            case Outcome::Failed:
                ++m_list.m_failed;
                break;
            case Outcome::Discarded:
                ++m_list.m_discarded;
                break;
            case Outcome::Repeated:
                ++m_list.m_repeated;
                break;
            }
        }
        if (IsStopRequested())
            break;
    }
    return 1;
}

ThumbnailList::Worker::Outcome ThumbnailList::Worker::MakeThumbnail(const ThumbnailRequest& request)
{
    const CellStyle& style = m_list.m_style;
    const DibSize box = style.PhotoBox();
    if (box.width < 1 || box.height < 1 || request.path.isEmpty())
        return Outcome::Failed;
    // Another worker made it already; AddThumbnail checks again for one making it right now.
    if (request.generation == m_list.ImageListGeneration() && m_list.m_queue.IsDone(request.itemId))
        return Outcome::Repeated;
    DibImage24 photo;
    if (m_list.m_store.Lookup(photo, request.path)) {
        ++m_list.m_storeHits;
    } else {
        if (!LoadImageFitted(photo, request.path, box))
            return Outcome::Failed;
        // A failed write only costs a decode next time; another worker may have stored the
        // same photo meanwhile, and its record is kept.
        m_list.m_store.StoreOnce(photo, request.path);
    }
    DibImage24 cell;
    if (!ComposeCell(photo, style, cell))
        return Outcome::Failed;
    // Every photo that carries an Exif block gets the badge, whatever its container.
    if (!m_badge.IsEmpty() && HasExif(request.path))
        DrawBadge(cell, m_badge);
    // Not into a list made after the request: its id may name another album's item there.
    const int index = m_list.AddThumbnail(cell, request.itemId, request.generation);
    if (index >= 0)
        return Outcome::Made;
    return index == -2 ? Outcome::Discarded : index == -3 ? Outcome::Repeated : Outcome::Failed;
}

} // namespace tessary
