#include "VeFadPreviewCtrlBase.h"

#include <QPainter>

#include "thumbcache/PreviewThumbnails.h"
#include "thumbcache/ThumbEvents.h"

namespace tessary {

VeFadPreviewCtrlBase::VeFadPreviewCtrlBase(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("preview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VeFadPreviewCtrlBase::SetPhoto(int32_t key, const QString& path)
{
    if (key == m_key && path == m_path)
        return;
    m_key = key;
    m_path = path;
    update();
}

bool VeFadPreviewCtrlBase::event(QEvent* event)
{
    if (event->type() == kThumbReadyEvent) {
        if (static_cast<ThumbEvent*>(event)->ItemId() == m_key)
            update();
        return true;
    }
    return QWidget::event(event);
}

void VeFadPreviewCtrlBase::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (m_key > 0 && !m_path.isEmpty())
        PreviewThumbnails::Instance().Draw(&p, rect().adjusted(8, 8, -8, -8), PreviewRequest{this, m_key, m_path});
}

} // namespace tessary
