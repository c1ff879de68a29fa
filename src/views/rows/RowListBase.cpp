#include "RowListBase.h"

#include <algorithm>

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "imaging/DibImage.h"
#include "imaging/QImageView.h"
#include "views/common/NotifyCodes.h"

namespace tessary {

RowListBase::RowListBase(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Qt would focus the list on any click; the press rules decide that themselves.
    setFocusPolicy(Qt::TabFocus);
    viewport()->setMouseTracking(true);
    // Rows and the space below them cover every pixel, so no background fill first.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&pollTimer_, &QTimer::timeout, this, &RowListBase::PollPointer);
    UpdateScrollRange();
}

RowListBase::~RowListBase() = default;

// ---- rows ----------------------------------------------------------------------------------

void RowListBase::AddRow(std::unique_ptr<Row> row)
{
    InsertRow(RowCount(), std::move(row));
}

void RowListBase::InsertRow(int index, std::unique_ptr<Row> row)
{
    if (!row)
        return;
    index = std::clamp(index, 0, RowCount());
    rows_.insert(rows_.begin() + index, std::move(row));
    UpdateScrollRange();
    viewport()->update();
}

void RowListBase::AppendRows(std::vector<std::unique_ptr<Row>> rows)
{
    for (std::unique_ptr<Row>& row : rows)
        if (row)
            rows_.push_back(std::move(row));
    UpdateScrollRange();
    viewport()->update();
}

bool RowListBase::RemoveRow(Row* row, bool notify)
{
    const int index = IndexOf(row);
    if (index < 0)
        return false;
    const bool wasSelected = row->selected_;
    Forget(row);
    rows_.erase(rows_.begin() + index);
    UpdateScrollRange();
    viewport()->update();
    if (wasSelected && notify)
        emit Notify(kNotifySelectionChanged);
    return true;
}

void RowListBase::Clear()
{
    anchor_ = nullptr;
    lastPressed_ = nullptr;
    hot_ = nullptr;
    hotIndexHint_ = -1;
    rows_.clear();
    UpdateScrollRange();
    viewport()->update();
}

bool RowListBase::MoveRow(int from, int to)
{
    const int n = RowCount();
    if (from < 0 || from >= n || to < 0 || to >= n)
        return false;
    if (from == to)
        return true;
    std::unique_ptr<Row> moving = std::move(rows_[size_t(from)]);
    rows_.erase(rows_.begin() + from);
    rows_.insert(rows_.begin() + to, std::move(moving));
    viewport()->update();
    return true;
}

Row* RowListBase::RowAtIndex(int index) const
{
    if (index < 0 || index >= RowCount())
        return nullptr;
    return rows_[size_t(index)].get();
}

int RowListBase::IndexOf(const Row* row) const
{
    if (!row)
        return -1;
    const auto it = std::find_if(rows_.begin(), rows_.end(),
                                 [row](const std::unique_ptr<Row>& r) { return r.get() == row; });
    return it == rows_.end() ? -1 : int(it - rows_.begin());
}

int RowListBase::IndexOfNear(const Row* row, int hint) const
{
    if (!row)
        return -1;
    if (hint >= 0 && hint < RowCount() && rows_[size_t(hint)].get() == row)
        return hint;
    return IndexOf(row);
}

void RowListBase::Forget(const Row* row)
{
    if (anchor_ == row)
        anchor_ = nullptr;
    if (lastPressed_ == row)
        lastPressed_ = nullptr;
    if (hot_ == row) {
        hot_ = nullptr;
        hotIndexHint_ = -1;
    }
}

// ---- geometry ------------------------------------------------------------------------------

void RowListBase::SetRowHeight(int pixels)
{
    rowHeight_ = std::max(1, pixels);
    UpdateScrollRange();
    viewport()->update();
}

int RowListBase::ScrollRange() const
{
    return std::max(1, RowCount() * rowHeight_);
}

int RowListBase::ScrollPosition() const
{
    return verticalScrollBar()->value();
}

void RowListBase::UpdateScrollRange()
{
    // Qt's range ends where the last page starts; the content height is ScrollRange().
    const int page = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    bar->setSingleStep(rowHeight_);
    bar->setPageStep(std::max(1, page));
    bar->setRange(0, std::max(0, ScrollRange() - page));
}

int RowListBase::IndexAt(const QPoint& point) const
{
    if (!viewport()->rect().contains(point))
        return -1;
    const int index = (point.y() + ScrollPosition()) / rowHeight_;
    return index < RowCount() ? index : -1;
}

Row* RowListBase::RowAt(const QPoint& point) const
{
    return RowAtIndex(IndexAt(point));
}

QRect RowListBase::RowRectAt(int index) const
{
    if (index < 0 || index >= RowCount())
        return {};
    return QRect(0, index * rowHeight_ - ScrollPosition(), viewport()->width(), rowHeight_);
}

QRect RowListBase::RowRect(const Row* row) const
{
    return RowRectAt(IndexOf(row));
}

void RowListBase::UpdateIndex(int index)
{
    const QRect rect = RowRectAt(index);
    if (rect.intersects(viewport()->rect()))
        viewport()->update(rect);
}

void RowListBase::UpdateRow(const Row* row)
{
    UpdateIndex(IndexOf(row));
}

void RowListBase::EnsureVisible(const Row* row)
{
    const int index = IndexOf(row);
    if (index < 0)
        return;
    const int top = index * rowHeight_;
    const int bottom = top + rowHeight_;
    const int position = ScrollPosition();
    const int view = viewport()->height();
    if (top < position)
        verticalScrollBar()->setValue(top);
    else if (bottom > position + view)
        verticalScrollBar()->setValue(std::min(top, bottom - view));
}

void RowListBase::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void RowListBase::scrollContentsBy(int dx, int dy)
{
    // Moving the pixels already there leaves only the uncovered band to paint.
    viewport()->scroll(dx, dy);
}

// ---- selection -----------------------------------------------------------------------------

Row* RowListBase::FirstSelected() const
{
    for (const auto& row : rows_)
        if (row->selected_)
            return row.get();
    return nullptr;
}

bool RowListBase::IsSelected(const Row* row) const
{
    return row && row->selected_ && IndexOf(row) >= 0;
}

bool RowListBase::Select(Row* row, bool on, bool notify)
{
    if (behaviour_ == SelectionBehaviour::None || !row)
        return false;
    const int index = IndexOf(row);
    if (index < 0 || (on && !row->selectable_))
        return false;
    if (row->selected_ == on)
        return true;
    if (on && behaviour_ == SelectionBehaviour::Single) {
        for (int i = 0; i < RowCount(); ++i) {
            if (i != index && rows_[size_t(i)]->selected_) {
                rows_[size_t(i)]->selected_ = false;
                UpdateIndex(i);
            }
        }
    }
    row->selected_ = on;
    UpdateIndex(index);
    if (notify)
        emit Notify(kNotifySelectionChanged);
    return true;
}

bool RowListBase::SelectOnly(Row* row, bool notify)
{
    bool changed = false;
    for (int i = 0; i < RowCount(); ++i) {
        Row* r = rows_[size_t(i)].get();
        if (r != row && r->selected_) {
            r->selected_ = false;
            UpdateIndex(i);
            changed = true;
        }
    }
    if (changed && notify)
        emit Notify(kNotifySelectionChanged);
    return changed;
}

bool RowListBase::DeselectAll(bool notify)
{
    return SelectOnly(nullptr, notify);
}

bool RowListBase::SelectRange(int from, int to, bool notify)
{
    const int n = RowCount();
    if (behaviour_ == SelectionBehaviour::None || from < 0 || to < 0 || from >= n || to >= n)
        return false;
    if (from != to && behaviour_ != SelectionBehaviour::Multiple)
        return false;
    const int lo = std::min(from, to);
    const int hi = std::max(from, to);
    bool changed = false;
    // Flags first, then one repaint of the whole view rather than one per row.
    for (int i = 0; i < n; ++i) {
        Row* r = rows_[size_t(i)].get();
        const bool want = i >= lo && i <= hi && r->selectable_;
        if (r->selected_ != want) {
            r->selected_ = want;
            changed = true;
        }
    }
    if (changed) {
        viewport()->update();
        if (notify)
            emit Notify(kNotifySelectionChanged);
    }
    return true;
}

bool RowListBase::SelectAll(bool notify)
{
    if (behaviour_ == SelectionBehaviour::None)
        return false;
    bool changed = false;
    for (const auto& r : rows_) {
        if (r->selectable_ && !r->selected_) {
            r->selected_ = true;
            changed = true;
        }
    }
    if (changed) {
        viewport()->update();
        if (notify)
            emit Notify(kNotifySelectionChanged);
    }
    return changed;
}

bool RowListBase::InvertSelection(bool notify)
{
    if (behaviour_ == SelectionBehaviour::None || rows_.empty())
        return false;
    for (const auto& r : rows_)
        if (r->selectable_)
            r->selected_ = !r->selected_;
    viewport()->update();
    if (notify)
        emit Notify(kNotifySelectionChanged);
    return true;
}

// ---- hot row -------------------------------------------------------------------------------

Row* RowListBase::HotRow() const
{
    return hot_ && hot_->selectable_ ? hot_ : nullptr;
}

void RowListBase::SetHotRow(Row* row)
{
    SetHot(row, IndexOf(row));
}

void RowListBase::SetHot(Row* row, int index)
{
    if (!row || index < 0 || !row->selectable_) {
        row = nullptr;
        index = -1;
    }
    if (row == hot_) {
        hotIndexHint_ = index;
        return;
    }
    const int old = IndexOfNear(hot_, hotIndexHint_);
    hot_ = row;
    hotIndexHint_ = index;
    UpdateIndex(old);
    UpdateIndex(index);
    if (row)
        emit Notify(kNotifyHotRowChanged);
}

// ---- painting ------------------------------------------------------------------------------

RowState RowListBase::StateOf(const Row* row) const
{
    RowState state;
    state.selected = row->selected_;
    state.hot = row == hot_ && row->selectable_;
    state.focused = hasFocus();
    return state;
}

void RowListBase::PaintBelowRows(QPainter& painter, const QRect& area)
{
    painter.fillRect(area, Qt::white);
}

void RowListBase::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect area = event->rect();
    const QRegion& region = event->region();
    const int position = ScrollPosition();
    const int width = viewport()->width();
    // Only the band of rows the update rectangle spans is looked at.
    const int first = std::max(0, (area.top() + position) / rowHeight_);
    const int last = std::min(RowCount() - 1, (area.bottom() + position) / rowHeight_);
    for (int i = first; i <= last; ++i) {
        const QRect rect(0, i * rowHeight_ - position, width, rowHeight_);
        if (!region.intersects(rect))
            continue;
        Row* row = rows_[size_t(i)].get();
        painter.save();
        painter.setClipRect(rect);
        row->Draw(painter, rect, StateOf(row));
        painter.restore();
    }
    const int rowsBottom = RowCount() * rowHeight_ - position;
    if (rowsBottom <= area.bottom()) {
        const QRect below(area.left(), std::max(rowsBottom, area.top()), area.width(),
                          area.bottom() + 1 - std::max(rowsBottom, area.top()));
        painter.save();
        painter.setClipRect(below);
        PaintBelowRows(painter, below);
        painter.restore();
    }
}

bool RowListBase::MakeDragImage(Row* row, DibImage& target)
{
    if (IndexOf(row) < 0 || viewport()->width() <= 0)
        return false;
    QImage image(viewport()->width(), rowHeight_, QImage::Format_RGB888);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setClipRect(image.rect());
        row->Draw(painter, image.rect(), StateOf(row));
    }
    return FromQImage(image, target, 24);
}

} // namespace tessary
