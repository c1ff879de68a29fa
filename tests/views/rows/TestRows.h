#pragma once
// Fixtures of the row-list suites: a row kind that counts its Draw calls and paints one flat
// colour per state, a list that opens the protected hooks and records their calls, and
// synthetic pointer events.

#include <memory>
#include <vector>

#include <QApplication>
#include <QColor>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include "views/rows/RowListBase.h"

namespace tessary::test {

inline const QColor kPlainColor{230, 230, 230};
inline const QColor kSelectedColor{0, 0, 200};
inline const QColor kHotColor{200, 0, 0};
inline const QColor kSelectedHotColor{100, 0, 100};

class ProbeRow : public Row {
public:
    explicit ProbeRow(int id, bool selectable = true) : Row(selectable), id(id) {}

    void Draw(QPainter& painter, const QRect& rect, const RowState& state) override
    {
        ++draws;
        lastState = state;
        lastRect = rect;
        if (log)
            log->push_back(id);
        const QColor c = state.selected ? (state.hot ? kSelectedHotColor : kSelectedColor)
                                        : (state.hot ? kHotColor : kPlainColor);
        painter.fillRect(rect, c);
    }

    int id;
    int draws = 0;
    RowState lastState;
    QRect lastRect;
    std::vector<int>* log = nullptr;
};

struct PressRecord {
    Row* row = nullptr;
    bool rowSelected = false; // the row's flag when the hook ran
    Qt::KeyboardModifiers mods;
};

class ProbeList : public RowListBase {
public:
    explicit ProbeList(QWidget* parent = nullptr) : RowListBase(parent) {}

    using RowListBase::EnsureVisible;
    using RowListBase::InsertRow;
    using RowListBase::IsPointerPolling;
    using RowListBase::MoveRow;
    using RowListBase::PointerPollingInterval;
    using RowListBase::SetHotRow;
    using RowListBase::SetHotTrackingSuspended;
    using RowListBase::SetRowHeight;
    using RowListBase::SetSelectionBehaviour;
    using RowListBase::StartPointerPolling;
    using RowListBase::StopPointerPolling;
    using RowListBase::UpdateRow;

    // Appends `count` probe rows numbered from the current count; the rows stay owned by
    // the list.
    std::vector<ProbeRow*> AddProbes(int count, std::vector<int>* log = nullptr)
    {
        std::vector<ProbeRow*> added;
        for (int i = 0; i < count; ++i) {
            auto row = std::make_unique<ProbeRow>(RowCount());
            row->log = log;
            added.push_back(row.get());
            AddRow(std::move(row));
        }
        return added;
    }

    // The centre of row `index` in viewport coordinates.
    QPoint CentreOf(int index) const { return RowRectAt(index).center(); }

    std::vector<PressRecord> leftPresses, rightPresses, doubleClicks;
    int outsideCalls = 0;
    int belowPaints = 0;

protected:
    void OnLeftButtonPressed(Row* row, const QPoint&, Qt::KeyboardModifiers mods) override
    {
        leftPresses.push_back({row, row && row->IsSelected(), mods});
    }
    void OnRightButtonPressed(Row* row, const QPoint&, Qt::KeyboardModifiers mods) override
    {
        rightPresses.push_back({row, row && row->IsSelected(), mods});
    }
    void OnDoubleClicked(Row* row, const QPoint&, Qt::KeyboardModifiers mods) override
    {
        doubleClicks.push_back({row, row && row->IsSelected(), mods});
    }
    void OnPointerOutside() override
    {
        ++outsideCalls;
        RowListBase::OnPointerOutside();
    }
    void PaintBelowRows(QPainter& painter, const QRect& area) override
    {
        ++belowPaints;
        RowListBase::PaintBelowRows(painter, area);
    }
};

// A pointer move with no button held, delivered straight to the viewport.
inline void MovePointer(QWidget* viewport, const QPoint& point)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(point), QPointF(viewport->mapToGlobal(point)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
}

inline void LeaveViewport(QWidget* viewport)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(viewport, &leave);
}

inline void CtrlA(QWidget* list, bool autoRepeat)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("a"),
                    autoRepeat);
    QApplication::sendEvent(list, &press);
}

// The ids of the selected probe rows, top to bottom.
inline std::vector<int> SelectedIds(const RowListBase& list)
{
    std::vector<int> ids;
    for (int i = 0; i < list.RowCount(); ++i)
        if (list.RowAtIndex(i)->IsSelected())
            ids.push_back(static_cast<ProbeRow*>(list.RowAtIndex(i))->id);
    return ids;
}

} // namespace tessary::test
