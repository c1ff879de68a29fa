// Dragging a collection row to another place among the collection rows.

#include "VeCollectionsPane.h"

#include <algorithm>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "CollectionRow.h"

namespace tessary {

namespace {

const QColor kDropMarkColor(0x3D, 0x4B, 0x66);
constexpr int kDropMarkThickness = 2;

} // namespace

int VeCollectionsPane::DropBoundaryAt(const QPoint& point) const
{
    if (RealRowCount() == 0)
        return -1;
    const int y = point.y() + ScrollPosition();
    const int nearest = (y + RowHeight() / 2) / RowHeight();
    return std::clamp(nearest, 1, RealRowCount() + 1);
}

void VeCollectionsPane::OnLeftButtonPressed(Row* row, const QPoint& point, Qt::KeyboardModifiers mods)
{
    EndDrag();
    auto* r = static_cast<CollectionRow*>(row);
    if (r && r->IsReal() && r->IsSelected() && !(mods & (Qt::ShiftModifier | Qt::ControlModifier))) {
        dragRow_ = r;
        dragStart_ = point;
    }
}

void VeCollectionsPane::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragRow_ || !(event->buttons() & Qt::LeftButton)) {
        if (dragRow_)
            EndDrag();
        VeListBox::mouseMoveEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    if (!dragging_ && (point - dragStart_).manhattanLength() < QApplication::startDragDistance())
        return;
    if (!dragging_) {
        dragging_ = true;
        SetHotTrackingSuspended(true);
    }
    const int boundary = DropBoundaryAt(point);
    if (boundary != dropBoundary_) {
        dropBoundary_ = boundary;
        viewport()->update();
    }
}

void VeCollectionsPane::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && dragging_ && dragRow_ && IndexOf(dragRow_) >= 0) {
        const int from = IndexOf(dragRow_);
        // A boundary below the row lands one index lower once the row is taken out.
        const int target = dropBoundary_ > from ? dropBoundary_ - 1 : dropBoundary_;
        CollectionRow* row = dragRow_;
        EndDrag();
        MoveRealRow(row, target - 1);
    } else if (event->button() == Qt::LeftButton) {
        EndDrag();
    }
    VeListBox::mouseReleaseEvent(event);
}

void VeCollectionsPane::EndDrag()
{
    const bool wasDragging = dragging_;
    dragRow_ = nullptr;
    dragging_ = false;
    dropBoundary_ = -1;
    if (wasDragging) {
        SetHotTrackingSuspended(false);
        viewport()->update();
    }
}

void VeCollectionsPane::paintEvent(QPaintEvent* event)
{
    VeListBox::paintEvent(event);
    if (!dragging_ || dropBoundary_ < 0)
        return;
    QPainter painter(viewport());
    const int y = dropBoundary_ * RowHeight() - ScrollPosition();
    painter.fillRect(QRect(CollectionRow::kInsetLeft, y - kDropMarkThickness / 2,
                           viewport()->width() - CollectionRow::kInsetLeft - CollectionRow::kInsetRight,
                           kDropMarkThickness),
                     kDropMarkColor);
}

} // namespace tessary
