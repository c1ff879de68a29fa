// RowListBase: mouse, keyboard, focus and pointer polling.

#include "RowListBase.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "views/common/NotifyCodes.h"

namespace tessary {

void RowListBase::DecideBehaviour(Qt::KeyboardModifiers mods)
{
    if (behaviour_ == SelectionBehaviour::None)
        return;
    const bool extend = mods & (Qt::ControlModifier | Qt::ShiftModifier);
    behaviour_ = extend ? SelectionBehaviour::Multiple : SelectionBehaviour::Single;
}

void RowListBase::HandleLeftPress(const QPoint& point, Qt::KeyboardModifiers mods)
{
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    Row* hit = RowAt(point);
    Row* row = hit && hit->selectable_ ? hit : nullptr;
    if (row) {
        DecideBehaviour(mods);
        if (!shift)
            anchor_ = row;
        if (ctrl && row->selected_) {
            Select(row, false, true);
            OnLeftButtonPressed(hit, point, mods);
            return;
        }
        if (shift && !ctrl) {
            const Row* from = anchor_ ? anchor_ : lastPressed_;
            if (from)
                SelectRange(IndexOf(from), IndexOf(row), true);
        } else if (!ctrl) {
            // Announced here only when the row keeps its flag; otherwise Select below does.
            SelectOnly(row, row->selected_);
        }
    } else if (!hit && !ctrl && !shift) {
        DeselectAll(true);
        OnLeftButtonPressed(nullptr, point, mods);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (row) {
        lastPressed_ = row;
        Select(row, true, true);
    }
    OnLeftButtonPressed(hit, point, mods);
}

void RowListBase::HandleRightPress(const QPoint& point, Qt::KeyboardModifiers mods)
{
    const bool extend = mods & (Qt::ControlModifier | Qt::ShiftModifier);
    Row* hit = RowAt(point);
    Row* row = hit && hit->selectable_ ? hit : nullptr;
    if (row)
        DecideBehaviour(mods);
    else if (!hit && !extend)
        DeselectAll(true);
    setFocus(Qt::MouseFocusReason);
    if (row && !extend) {
        lastPressed_ = row;
        Select(row, true, true);
    }
    OnRightButtonPressed(hit, point, mods);
}

void RowListBase::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        HandleLeftPress(point, event->modifiers());
    else if (event->button() == Qt::RightButton)
        HandleRightPress(point, event->modifiers());
    else
        QAbstractScrollArea::mousePressEvent(event);
}

void RowListBase::mouseReleaseEvent(QMouseEvent* event)
{
    // Selection happened on the press; the release is the list's too, not its parent's.
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        event->accept();
    else
        QAbstractScrollArea::mouseReleaseEvent(event);
}

void RowListBase::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double-click arrives only as this event.
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    HandleLeftPress(point, event->modifiers());
    OnDoubleClicked(RowAt(point), point, event->modifiers());
}

void RowListBase::mouseMoveEvent(QMouseEvent* event)
{
    if (hotTrackingSuspended_)
        return;
    const int index = IndexAt(event->position().toPoint());
    SetHot(RowAtIndex(index), index);
}

void RowListBase::HandleLeave()
{
    SetHot(nullptr, -1);
}

bool RowListBase::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        HandleLeave();
    return QAbstractScrollArea::viewportEvent(event);
}

void RowListBase::contextMenuEvent(QContextMenuEvent* event)
{
    // A mouse-made menu is the right-button hook's; keep it from reaching the parent.
    if (event->reason() == QContextMenuEvent::Mouse)
        event->accept();
    else
        QAbstractScrollArea::contextMenuEvent(event);
}

void RowListBase::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_A && (event->modifiers() & Qt::ControlModifier)) {
        if (!event->isAutoRepeat())
            SelectAll(true);
        event->accept();
        return;
    }
    // Not QAbstractScrollArea's: its arrow and page keys would scroll the view.
    event->ignore();
}

void RowListBase::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void RowListBase::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// ---- pointer polling -----------------------------------------------------------------------

void RowListBase::StartPointerPolling(int intervalMs)
{
    pollTimer_.start(std::max(intervalMs, kMinPollIntervalMs));
}

void RowListBase::StopPointerPolling()
{
    pollTimer_.stop();
}

void RowListBase::PollPointer()
{
    const QPoint local = viewport()->mapFromGlobal(QCursor::pos());
    if (!viewport()->rect().contains(local) && QGuiApplication::mouseButtons() == Qt::NoButton)
        OnPointerOutside();
}

void RowListBase::OnPointerOutside()
{
    SetHot(nullptr, -1);
}

void RowListBase::OnLeftButtonPressed(Row*, const QPoint&, Qt::KeyboardModifiers) {}

void RowListBase::OnRightButtonPressed(Row*, const QPoint&, Qt::KeyboardModifiers) {}

void RowListBase::OnDoubleClicked(Row*, const QPoint&, Qt::KeyboardModifiers) {}

} // namespace tessary
