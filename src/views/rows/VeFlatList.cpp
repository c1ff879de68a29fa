#include "VeFlatList.h"

#include <algorithm>

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "views/common/NotifyCodes.h"
#include "views/common/SharedFonts.h"

namespace tessary {

namespace {

class FlatListRow : public Row {
public:
    explicit FlatListRow(QString text) : text_(std::move(text)) {}

    const QString& Text() const { return text_; }

    void Draw(QPainter& painter, const QRect& rect, const RowState& state) override
    {
        painter.fillRect(rect, state.selected ? VeFlatList::kSelectedFill : VeFlatList::kFill);
        painter.setFont(SharedFonts::Large());
        painter.setPen(VeFlatList::kTextColor);
        const QRect textRect =
            rect.adjusted(VeFlatList::kTextInset, 0, -VeFlatList::kTextInset, 0);
        const QString shown =
            painter.fontMetrics().elidedText(text_, Qt::ElideRight, textRect.width());
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    }

private:
    QString text_;
};

} // namespace

VeFlatList::VeFlatList(QWidget* parent) : RowListBase(parent)
{
    SetRowHeight(kRowHeight);
}

VeFlatList::~VeFlatList() = default;

void VeFlatList::SetItems(const QStringList& items)
{
    Clear();
    for (const QString& text : items)
        AddRow(std::make_unique<FlatListRow>(text));
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

QString VeFlatList::ItemText(int index) const
{
    // Rows of another kind may have been added through the base.
    const auto* row = dynamic_cast<const FlatListRow*>(RowAtIndex(index));
    return row ? row->Text() : QString();
}

QStringList VeFlatList::Items() const
{
    QStringList items;
    items.reserve(RowCount());
    for (int i = 0; i < RowCount(); ++i)
        items << ItemText(i);
    return items;
}

int VeFlatList::SelectedIndex() const
{
    for (int i = 0; i < RowCount(); ++i)
        if (RowAtIndex(i)->IsSelected())
            return i;
    return -1;
}

bool VeFlatList::SetSelectedIndex(int index)
{
    if (index == -1) {
        ClearSelection();
        return true;
    }
    Row* row = RowAtIndex(index);
    if (!row || !row->IsSelectable())
        return false;
    SelectOnly(row, false);
    Select(row, true, false);
    EnsureVisible(row);
    return true;
}

bool VeFlatList::Step(int delta)
{
    const int n = RowCount();
    if (n == 0)
        return false;
    const int current = SelectedIndex();
    int next;
    if (current < 0)
        next = delta > 0 ? 0 : n - 1;
    else
        next = ((current + delta) % n + n) % n;
    if (!SetSelectedIndex(next))
        return false;
    if (next != current)
        emit Notify(kNotifyCurrentRowChanged);
    return true;
}

bool VeFlatList::SelectNext()
{
    return Step(1);
}

bool VeFlatList::SelectPrevious()
{
    return Step(-1);
}

void VeFlatList::ClearSelection()
{
    SelectOnly(nullptr, false);
}

void VeFlatList::AddListener(FlatListListener* listener)
{
    if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void VeFlatList::RemoveListener(FlatListListener* listener)
{
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener),
                     listeners_.end());
}

void VeFlatList::TellListeners(int flags, int row)
{
    // A copy, so that a listener may unregister (or register another) while being told.
    const std::vector<FlatListListener*> listeners = listeners_;
    for (FlatListListener* listener : listeners)
        if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
            listener->OnFlatListEvent(*this, flags, row);
}

void VeFlatList::mousePressEvent(QMouseEvent* event)
{
    RunPress(event, false);
}

void VeFlatList::mouseDoubleClickEvent(QMouseEvent* event)
{
    RunPress(event, true);
}

void VeFlatList::RunPress(QMouseEvent* event, bool doubleClick)
{
    const int before = SelectedIndex();
    chosen_ = -1;
    if (doubleClick)
        RowListBase::mouseDoubleClickEvent(event);
    else
        RowListBase::mousePressEvent(event);
    if (SelectedIndex() != before)
        emit Notify(kNotifyCurrentRowChanged);
    const int chosen = chosen_;
    chosen_ = -1;
    if (chosen >= 0)
        TellListeners(kFlagRowChosen, chosen);
}

void VeFlatList::OnLeftButtonPressed(Row* row, const QPoint&, Qt::KeyboardModifiers)
{
    if (row && row->IsSelected())
        chosen_ = IndexOf(row);
}

} // namespace tessary
