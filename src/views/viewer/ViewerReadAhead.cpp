#include "ViewerReadAhead.h"

namespace tessary {

ViewerReadAhead::ViewerReadAhead(QObject* parent, int workers, ViewerDecoder::LoadFunction load)
    : QObject(parent)
    , m_decoder(std::make_unique<ViewerDecoder>(this, workers, std::move(load)))
{
}

ViewerReadAhead::~ViewerReadAhead()
{
    m_decoder->Stop();
}

void ViewerReadAhead::SetList(const QStringList& paths)
{
    m_decoder->CancelAll();
    m_slots.clear();
    m_paths = paths;
    m_current = -1;
}

bool ViewerReadAhead::Wanted(int index) const
{
    return index >= 0 && index < m_paths.size() && m_current >= 0 && index >= m_current - 1 && index <= m_current + 1;
}

void ViewerReadAhead::Show(int index, DibSize box)
{
    m_current = index >= 0 && index < m_paths.size() ? index : -1;
    m_box = box;
    for (auto it = m_slots.begin(); it != m_slots.end();) {
        if (Wanted(it->first)) {
            ++it;
            continue;
        }
        if (it->second.requestId)
            m_decoder->Cancel(it->second.requestId);
        it = m_slots.erase(it);
    }
    if (m_current < 0 || box.IsEmpty())
        return;
    Want(m_current, true);
    Want(m_current + 1, false);
    Want(m_current - 1, false);
}

void ViewerReadAhead::Want(int index, bool urgent)
{
    if (!Wanted(index))
        return;
    Slot& slot = m_slots[index];
    if (slot.failed)
        return;
    if (slot.requestId) {
        if (slot.requestBox == m_box) {
            if (urgent)
                m_decoder->Promote(slot.requestId);
            return;
        }
        // Asked for another client size: ask again unless a worker is already at it (its
        // answer is checked against the box when it comes).
        if (!m_decoder->Cancel(slot.requestId))
            return;
        slot.requestId = 0;
    }
    if (slot.photo && slot.photo->Covers(m_box))
        return;
    slot.requestId = m_decoder->Request(m_paths[index], m_box, urgent);
    slot.requestBox = m_box;
    if (slot.requestId)
        ++m_counters.requests;
}

void ViewerReadAhead::OnResult(ScreenPhotoEvent& event)
{
    const int id = event.RequestId();
    auto it = m_slots.begin();
    while (it != m_slots.end() && it->second.requestId != id)
        ++it;
    if (it == m_slots.end()) {
        ++m_counters.dropped;
        return;
    }
    const int index = it->first;
    Slot& slot = it->second;
    slot.requestId = 0;
    if (std::unique_ptr<ScreenPhoto> photo = event.TakePhoto()) {
        slot.photo = std::move(photo);
    } else {
        slot.photo.reset();
        slot.failed = true;
    }
    ++m_counters.kept;
    // The client may have grown while the photo was being decoded.
    if (slot.photo && !slot.photo->Covers(m_box))
        Want(index, index == m_current);
    emit Ready(index);
}

bool ViewerReadAhead::event(QEvent* event)
{
    if (event->type() == ScreenPhotoEvent::EventType()) {
        OnResult(static_cast<ScreenPhotoEvent&>(*event));
        return true;
    }
    return QObject::event(event);
}

const ScreenPhoto* ViewerReadAhead::Photo(int index) const
{
    const auto it = m_slots.find(index);
    return it == m_slots.end() ? nullptr : it->second.photo.get();
}

bool ViewerReadAhead::Failed(int index) const
{
    const auto it = m_slots.find(index);
    return it != m_slots.end() && it->second.failed;
}

bool ViewerReadAhead::Pending(int index) const
{
    const auto it = m_slots.find(index);
    return it != m_slots.end() && it->second.requestId != 0;
}

std::vector<int> ViewerReadAhead::Cached() const
{
    std::vector<int> out;
    for (const auto& [index, slot] : m_slots) {
        if (slot.photo || slot.failed)
            out.push_back(index);
    }
    return out;
}

} // namespace tessary
