#include "VeFadDetailsCtrlBase.h"

#include <algorithm>

#include <QPainter>

#include "VeFadPreviewCtrlBase.h"
#include "album/Items.h"
#include "views/items/FadItem.h"
#include "views/tags/VeTagListCtrlBase.h"

namespace tessary {

VeFadDetailsCtrlBase::VeFadDetailsCtrlBase(UserPrompts* prompts, QWidget* parent)
    : QWidget(parent), m_preview(new VeFadPreviewCtrlBase(this)), m_tags(new VeTagListCtrlBase(prompts, this))
{
    setObjectName(QStringLiteral("details"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VeFadDetailsCtrlBase::SetItem(Item* item, bool highlight)
{
    m_item = item;
    m_tags->BindItem(item, highlight);
    m_preview->SetPhoto(item ? FadRowKey(*item) : 0, item ? item->FirstPhotoPath() : QString());
    update();
}

QRect VeFadDetailsCtrlBase::TagsArea() const
{
    const int w = std::max(width(), kMinWidth);
    const int h = std::max(height(), kMinHeight);
    return QRect(0, kPreviewHeight, w, h - kPreviewHeight);
}

void VeFadDetailsCtrlBase::resizeEvent(QResizeEvent*)
{
    m_preview->setGeometry(0, 0, std::max(width(), kMinWidth), kPreviewHeight);
    m_tags->setGeometry(TagsArea());
}

void VeFadDetailsCtrlBase::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
}

} // namespace tessary
