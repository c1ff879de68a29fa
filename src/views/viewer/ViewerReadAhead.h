#pragma once
// The viewer's small cache: the photo shown and its two neighbours in the list (previous and
// next), decoded for the screen on the ViewerDecoder's workers, so that stepping shows the
// next photo without a wait. At most three images are kept, each of about the client size;
// a photo leaves the cache as soon as it is no longer one of the three.
//
// This object is the decoder's one receiver: a ScreenPhotoEvent is looked up by its request
// id, and a result whose photo has left the three meanwhile (the user stepped past it) is
// dropped. A photo that cannot be decoded is remembered as failed, so that stepping on and
// back does not decode it again.
//
// Threads: UI thread only (the decoder's workers post to it). Ownership: owns the decoder
// and the decoded images; the decoder is stopped before the object goes.

#include <map>
#include <memory>

#include <QObject>
#include <QStringList>

#include "views/viewer/ScreenPhoto.h"
#include "views/viewer/ViewerDecoder.h"

namespace tessary {

class ViewerReadAhead : public QObject {
    Q_OBJECT
public:
    // What has happened since the object was made; for tests and measurements.
    struct Counters {
        int requests = 0; // decodes asked for
        int kept = 0;     // results stored (photos and failures)
        int dropped = 0;  // results nobody wanted any more
    };

    explicit ViewerReadAhead(QObject* parent = nullptr, int workers = ViewerDecoder::kDefaultWorkers,
                             ViewerDecoder::LoadFunction load = {});
    ~ViewerReadAhead() override;

    // A new list: everything cached or queued is forgotten.
    void SetList(const QStringList& paths);
    // Forgets the list and frees the images.
    void Clear() { SetList({}); }
    const QStringList& Paths() const { return m_paths; }

    // Makes `index` the current photo for a client of `box`: keeps it and its neighbours,
    // frees the others, and asks for what is missing or too small for the box: the current
    // photo first, then the next, then the previous. An index outside the list only frees.
    void Show(int index, DibSize box);
    int Current() const { return m_current; }

    // The decoded photo at `index` while it is one of the three, else null. It may be
    // smaller than the box asks (made for a smaller client, a larger decode on its way).
    const ScreenPhoto* Photo(int index) const;
    // The photo at `index` could not be decoded.
    bool Failed(int index) const;
    // A decode of `index` has been asked for and has not answered yet.
    bool Pending(int index) const;
    // Indexes with a decoded photo or a failure, in list order.
    std::vector<int> Cached() const;

    const Counters& Count() const { return m_counters; }
    ViewerDecoder& Decoder() { return *m_decoder; }

signals:
    // A result for `index` was stored (a photo, or the failure).
    void Ready(int index);

protected:
    bool event(QEvent* event) override;

private:
    struct Slot {
        int requestId = 0; // 0: nothing asked for
        DibSize requestBox;
        std::unique_ptr<ScreenPhoto> photo;
        bool failed = false;
    };

    void Want(int index, bool urgent);
    void OnResult(ScreenPhotoEvent& event);
    bool Wanted(int index) const;

    QStringList m_paths;
    int m_current = -1;
    DibSize m_box;
    std::map<int, Slot> m_slots;
    Counters m_counters;
    std::unique_ptr<ViewerDecoder> m_decoder;
};

} // namespace tessary
