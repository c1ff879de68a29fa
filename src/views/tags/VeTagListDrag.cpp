// Dragging a tag row by its name to another place among the tag rows.

#include "VeTagListCtrlBase.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

#include "TagRow.h"
#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SkinPainting.h"

namespace tessary {

namespace {

constexpr int kMarkerCap = 8;
const QColor kMarkerFallback(0x3D, 0x6C, 0xC0);

} // namespace

int VeTagListCtrlBase::DropTargetAt(const QPoint& point) const
{
    if (!viewport()->rect().contains(point) || dragImage_.isNull())
        return -1;
    // The row under the centre of the dragged image; below every row: the end.
    const int centre = point.y() - dragHotSpot_.y() + dragImage_.height() / 2 + ScrollPosition();
    const int index = centre < 0 ? 0 : centre / RowHeight();
    return std::clamp(index, 0, TagRowCount());
}

void VeTagListCtrlBase::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragRow_) {
        RowListBase::mouseMoveEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton)) {
        // The release went elsewhere: the capture is lost.
        FinishDrag(point);
        RowListBase::mouseMoveEvent(event);
        return;
    }
    if (!dragging_) {
        if (std::abs(point.y() - dragStart_.y()) <= kDragThreshold)
            return;
        StartDrag();
    }
    UpdateDrag(point);
}

void VeTagListCtrlBase::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && dragRow_)
        FinishDrag(event->position().toPoint());
    RowListBase::mouseReleaseEvent(event);
}

bool VeTagListCtrlBase::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::UngrabMouse && dragging_)
        EndDrag();
    return RowListBase::viewportEvent(event);
}

void VeTagListCtrlBase::StartDrag()
{
    const QRect rect = RowRect(dragRow_);
    if (rect.isEmpty()) {
        EndDrag();
        return;
    }
    dragImage_ = QImage(rect.size(), QImage::Format_RGB32);
    {
        QPainter p(&dragImage_);
        dragRow_->Draw(p, QRect(QPoint(0, 0), rect.size()), StateOf(dragRow_));
    }
    const QPoint inRow = dragStart_ - rect.topLeft();
    dragHotSpot_ = QPoint(std::clamp(inRow.x(), 0, rect.width() - 1), std::clamp(inRow.y(), 0, rect.height() - 1));
    dragging_ = true;
    SetHotTrackingSuspended(true);
}

void VeTagListCtrlBase::UpdateDrag(const QPoint& point)
{
    dragPointer_ = point;
    dragInside_ = viewport()->rect().contains(point);
    dragTarget_ = DropTargetAt(point);
    viewport()->setCursor(dragInside_ ? Qt::ArrowCursor : Qt::ForbiddenCursor);
    viewport()->update();
}

void VeTagListCtrlBase::FinishDrag(const QPoint& point)
{
    if (!dragging_ || !dragRow_ || IndexOf(dragRow_) < 0) {
        EndDrag();
        return;
    }
    const int target = DropTargetAt(point);
    TagRow* row = dragRow_;
    const int from = IndexOf(row);
    EndDrag();
    if (target < 0 || target == from || target == from + 1)
        return;
    MoveTag(row, target > from ? target - 1 : target);
}

void VeTagListCtrlBase::EndDrag()
{
    const bool wasDragging = dragging_;
    dragRow_ = nullptr;
    dragging_ = false;
    dragInside_ = false;
    dragTarget_ = -1;
    dragImage_ = QImage();
    if (wasDragging) {
        SetHotTrackingSuspended(false);
        viewport()->unsetCursor();
        viewport()->update();
    }
}

void VeTagListCtrlBase::paintEvent(QPaintEvent* event)
{
    RowListBase::paintEvent(event);
    if (!dragging_)
        return;
    QPainter painter(viewport());
    if (dragInside_ && dragTarget_ >= 0) {
        const QImage& marker = ResourceImage(kIdbInsertMarker);
        const int h = marker.isNull() ? 3 : marker.height();
        const int y = dragTarget_ * RowHeight() - ScrollPosition();
        DrawThreeSlice(painter, QRect(0, y - h / 2, viewport()->width(), h), marker, kMarkerCap, kMarkerFallback);
    }
    painter.setOpacity(0.6);
    painter.drawImage(dragPointer_ - dragHotSpot_, dragImage_);
}

} // namespace tessary
