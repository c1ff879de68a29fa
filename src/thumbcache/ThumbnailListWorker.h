#pragma once
// Internal: one worker thread of a ThumbnailList's pool.

#include "imaging/DibDepths.h"
#include "platform/WorkerThread.h"
#include "thumbcache/ThumbnailList.h"

namespace tessary {

class ThumbnailList::Worker final : public WorkerThread {
public:
    // Loads the Exif badge; opens the list's store when it is not open yet (the workers are
    // made one after the other on the owning thread).
    Worker(ThumbnailList& list, const QString& storeFolder);
    ~Worker() override;

    int Run() override;

private:
    enum class Outcome { Made, Failed, Discarded, Repeated };
    // Store lookup or load, store write, cell, badge, AddCell into the image list the request
    // was made for.
    Outcome MakeThumbnail(const ThumbnailRequest& request);

    ThumbnailList& m_list;
    DibImage24 m_badge; // empty when the resource cannot be read: cells then go without
};

} // namespace tessary
