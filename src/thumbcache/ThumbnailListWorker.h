#pragma once
// Internal: the worker thread of a ThumbnailList.

#include "imaging/DibDepths.h"
#include "platform/WorkerThread.h"
#include "thumbcache/ThumbnailList.h"

namespace tessary {

class ThumbnailList::Worker final : public WorkerThread {
public:
    // Loads the Exif badge; opens the list's store when it is not open yet.
    Worker(ThumbnailList& list, const QString& storeFolder);
    ~Worker() override;

    int Run() override;

private:
    enum class Outcome { Made, Failed, Discarded };
    // Store lookup or load, store write, cell, badge, AddCell into the image list the request
    // was made for.
    Outcome MakeThumbnail(const ThumbnailRequest& request);

    ThumbnailList& m_list;
    DibImage24 m_badge; // empty when the resource cannot be read: cells then go without
};

} // namespace tessary
