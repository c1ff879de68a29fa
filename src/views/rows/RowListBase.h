#pragma once
// RowListBase: the owner-drawn, vertically scrolling list of equal-height rows under every row
// list of the interface. It owns its rows, lays them out arithmetically (row i spans
// i * RowHeight() to (i + 1) * RowHeight() in content coordinates), paints only the rows that
// meet the update region, tracks the hot row under the pointer, selects with the mouse
// (click, Ctrl toggle, Shift range from the anchor) and Ctrl+A, and announces changes through
// Notify(code) with the codes of views/common/NotifyCodes.h:
//   kNotifySelectionChanged (-50)  a selection operation called with notify, or a click,
//                                  changed the selection;
//   kNotifyHotRowChanged (-60)     the pointer moved onto another row, which became hot
//                                  (losing the hot row is not announced);
//   kNotifyCurrentRowChanged (-61) sent by derived lists that keep one current row.
// Signals are emitted synchronously, from inside the call that caused them.
//
// Points and rectangles are in viewport coordinates (what the mouse events carry).
// Painting and scrolling cost only the rows in view; queries that look a row up by pointer
// (IndexOf, RowRect, Select ...) and whole-selection operations walk the rows.
//
// Ownership: the list owns its rows (destroyed by RemoveRow, Clear and the list's
// destructor); Row pointers handed out stay valid until then. Keyboard navigation between
// rows belongs to the derived panes; the base handles only Ctrl+A and passes other keys on.
// UI thread only.

#include <deque>
#include <memory>
#include <vector>

#include <QAbstractScrollArea>
#include <QTimer>

#include "views/rows/Row.h"

namespace tessary {

class DibImage;

enum class SelectionBehaviour {
    None = 0,     // no row can be selected
    Single = 1,   // selecting a row clears every other
    Multiple = 2, // rows are selected independently
};

class RowListBase : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kDefaultRowHeight = 30;
    // The shortest interval of the pointer-polling timer.
    static constexpr int kMinPollIntervalMs = 10;

    explicit RowListBase(QWidget* parent = nullptr);
    ~RowListBase() override;

    // ---- rows ------------------------------------------------------------------------------

    // Appends `row` (ignored when null); the list takes ownership.
    void AddRow(std::unique_ptr<Row> row);
    // Destroys `row`; false when it is not in this list. Anchor, hot row and last pressed row
    // forget it. With notify, removing a selected row announces a selection change.
    bool RemoveRow(Row* row, bool notify);
    // Destroys every row; nothing is announced.
    void Clear();

    int RowCount() const { return int(rows_.size()); }
    // Null outside 0 .. RowCount() - 1.
    Row* RowAtIndex(int index) const;
    // -1 when `row` is not in the list.
    int IndexOf(const Row* row) const;

    // ---- geometry --------------------------------------------------------------------------

    int RowHeight() const { return rowHeight_; }
    // The row under `point`; null outside the viewport or below the last row.
    Row* RowAt(const QPoint& point) const;
    // The row's rectangle, viewport wide, shifted by the scroll position; empty when the row is
    // not in the list.
    QRect RowRect(const Row* row) const;
    QRect RowRectAt(int index) const;
    // RowCount() * RowHeight(), at least 1: the height of the scrolled content.
    int ScrollRange() const;
    // The content offset at the top of the viewport.
    int ScrollPosition() const;

    // ---- selection -------------------------------------------------------------------------

    SelectionBehaviour Behaviour() const { return behaviour_; }
    Row* FirstSelected() const;
    // False for null or a row of another list.
    bool IsSelected(const Row* row) const;
    // Sets the row's flag. False when the behaviour is None, `row` is null or not in the list,
    // or `on` is asked of a row that is not selectable; true (doing nothing) when the row
    // already has that state. With Single behaviour, selecting first deselects every other row.
    bool Select(Row* row, bool on, bool notify);
    // Deselects every row except `row` (null: every row) and leaves `row` as it was. True when
    // anything changed.
    bool SelectOnly(Row* row, bool notify);
    // Selects the rows from..to (inclusive, either order) and deselects all others. Fails for
    // an invalid index, for two different indexes unless the behaviour is Multiple, and when
    // the behaviour is None. True when it did not fail.
    bool SelectRange(int from, int to, bool notify);
    // Selects every selectable row; true (and repainted, announced) when any changed.
    bool SelectAll(bool notify);
    // Flips every selectable row; with a non-empty list repaints and announces. False when
    // the list is empty or the behaviour is None.
    bool InvertSelection(bool notify);

    Row* HotRow() const;
    // The last row pressed without Shift: the start of a Shift range.
    Row* AnchorRow() const { return anchor_; }

    // ---- drag image ------------------------------------------------------------------------

    // The row drawn in its current state into `target` (24 bits, RowRect's size). False when
    // the row is not in the list or the viewport has no width; `target` is then unchanged.
    bool MakeDragImage(Row* row, DibImage& target);

signals:
    void Notify(int code);

protected:
    // ---- for derived lists ----------------------------------------------------------------

    // Pixels per row (at least 1); set before rows are added.
    void SetRowHeight(int pixels);
    // A click re-decides Single or Multiple, except in a list set to None, which stays so.
    void SetSelectionBehaviour(SelectionBehaviour behaviour) { behaviour_ = behaviour; }

    // Appends every row (nulls skipped), updating the scroll range once: a fill of many rows.
    void AppendRows(std::vector<std::unique_ptr<Row>> rows);
    // Inserts at `index`, clamped to 0 .. RowCount(); the list takes ownership.
    void InsertRow(int index, std::unique_ptr<Row> row);
    // Moves the row at `from` so that it ends at index `to`; false for invalid indexes.
    // Selection flags travel with the row; nothing is announced.
    bool MoveRow(int from, int to);
    // Scrolls the least distance that shows the whole row (its top when taller than the view).
    void EnsureVisible(const Row* row);
    // Repaints one row (nothing for a row not in the list).
    void UpdateRow(const Row* row);

    // While suspended, pointer moves leave the hot row as it is (drag-to-reorder).
    void SetHotTrackingSuspended(bool on) { hotTrackingSuspended_ = on; }
    bool IsHotTrackingSuspended() const { return hotTrackingSuspended_; }
    // Makes `row` hot (null, or a row that is not selectable: none), repainting the old and
    // the new one; announces -60 when a row became hot.
    void SetHotRow(Row* row);

    // A timer that looks at the pointer every `intervalMs` (at least kMinPollIntervalMs) and
    // calls OnPointerOutside while the pointer is outside the viewport and no mouse button is
    // held. It runs until StopPointerPolling or the list's destruction.
    void StartPointerPolling(int intervalMs = kMinPollIntervalMs);
    void StopPointerPolling();
    bool IsPointerPolling() const { return pollTimer_.isActive(); }
    int PointerPollingInterval() const { return pollTimer_.interval(); }
    // Default: clears the hot row.
    virtual void OnPointerOutside();

    // The state a row is drawn with.
    virtual RowState StateOf(const Row* row) const;
    // Fills the part of the update area below the last row. Default: white.
    virtual void PaintBelowRows(QPainter& painter, const QRect& area);
    // Called after the selection rules of a press, with the row under the point (null when
    // none) and the press's modifiers. The right-button hook is where a pane opens its
    // context menu.
    virtual void OnLeftButtonPressed(Row* row, const QPoint& point, Qt::KeyboardModifiers mods);
    virtual void OnRightButtonPressed(Row* row, const QPoint& point, Qt::KeyboardModifiers mods);
    // Called after the press rules of a left double-click have run again.
    virtual void OnDoubleClicked(Row* row, const QPoint& point, Qt::KeyboardModifiers mods);

    // ---- Qt handlers (derived panes call these when they override them) -------------------

    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void UpdateScrollRange();
    // Index of the row under a viewport point, or -1.
    int IndexAt(const QPoint& point) const;
    void UpdateIndex(int index);
    void SetHot(Row* row, int index);
    // IndexOf that first tries `hint`.
    int IndexOfNear(const Row* row, int hint) const;
    // Every selected row deselected; true when any was.
    bool DeselectAll(bool notify);
    void Forget(const Row* row);
    void DecideBehaviour(Qt::KeyboardModifiers mods);
    void HandleLeftPress(const QPoint& point, Qt::KeyboardModifiers mods);
    void HandleRightPress(const QPoint& point, Qt::KeyboardModifiers mods);
    void HandleLeave();
    void PollPointer();

    std::deque<std::unique_ptr<Row>> rows_;
    int rowHeight_ = kDefaultRowHeight;
    SelectionBehaviour behaviour_ = SelectionBehaviour::Single;
    Row* anchor_ = nullptr;
    Row* lastPressed_ = nullptr;
    Row* hot_ = nullptr;
    int hotIndexHint_ = -1;
    bool hotTrackingSuspended_ = false;
    QTimer pollTimer_;
};

} // namespace tessary
