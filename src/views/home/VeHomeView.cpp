#include "VeHomeView.h"

#include <QPaintEvent>
#include <QPainter>

namespace tessary {

VeHomeView::VeHomeView(QWidget* parent) : VeViewBase(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VeHomeView::paintEvent(QPaintEvent* event)
{
    QPainter(this).fillRect(event->rect(), Qt::white);
}

} // namespace tessary
