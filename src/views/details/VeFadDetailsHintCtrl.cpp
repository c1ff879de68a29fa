#include "VeFadDetailsHintCtrl.h"

#include <QPainter>

#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"
#include "views/items/EmptyListHint.h"

namespace tessary {

VeFadDetailsHintCtrl::VeFadDetailsHintCtrl(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("detailsHint"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VeFadDetailsHintCtrl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    PaintHint(p, rect(), Text(), kIdbDetailsHint);
}

} // namespace tessary
