#pragma once
// VeTagListCtrlBase: the tags pane under the preview of the details pane. One row per tag of
// the bound item's collection, in the collection's order, and a last placeholder row
// ("Double-click to add a tag"); 30 pixels each, the name in a 160-pixel column, the item's
// value beside it. A click on a value edits it in place; a double-click on a name renames the
// tag (on the placeholder: adds one). The context menus (248 on the name column, 249 on the
// value column) add, rename, delete, move, sort tags and edit or clear values; a tag row can be
// dragged by its name to another place. Every change is announced with TagsChanged(code):
//   kChangedValue (1), kChangedAdded (2), kChangedDeleted (4), kChangedRenamed (8),
//   kChangedOrder (0x11).
// Questions and refusals go through the UserPrompts given at construction.
//
// Ownership: the bound item and its collection are not owned. Call BindItem(nullptr, false)
// before either goes away (an edit in progress is then cancelled, nothing of the old item is
// read). The prompts must outlive the pane. UI thread only.

#include <memory>

#include <QEvent>
#include <QImage>

#include "views/common/VeCellEdit.h"
#include "views/rows/RowListBase.h"

class QMenu;

namespace tessary {

class Item;
class Tag;
class TagRow;
class Tags;
class UserPrompts;

class VeTagListCtrlBase : public RowListBase, private CellEditOwner {
    Q_OBJECT

public:
    static constexpr int kChangedValue = 1;
    static constexpr int kChangedAdded = 2;
    static constexpr int kChangedDeleted = 4;
    static constexpr int kChangedRenamed = 8;
    static constexpr int kChangedOrder = 0x11;
    // Posted to the pane after Enter in the value editor: edit the next value.
    static constexpr QEvent::Type kEditNextValueEvent = QEvent::Type(0x83EE);
    static inline const QColor kEditFrameColor{167, 177, 196};
    static constexpr int kDragThreshold = 2; // pixels, vertically

    // `prompts` null: the real message boxes.
    explicit VeTagListCtrlBase(UserPrompts* prompts = nullptr, QWidget* parent = nullptr);
    ~VeTagListCtrlBase() override;

    void SetPrompts(UserPrompts* prompts);

    // Shows the tags of the item's collection and its values (null: an empty pane, not even
    // the placeholder). The rows are rebuilt only when the collection's tags differ from the
    // ones shown; an edit in progress is cancelled when another item is bound.
    void BindItem(Item* item, bool highlight);
    Item* BoundItem() const { return item_; }
    bool Highlighted() const { return highlight_; }

    TagRow* TagRowAt(int index) const;
    // Rows of real tags (every row but the placeholder).
    int TagRowCount() const;
    // The first selected real tag row, scanning from the top; null when none.
    TagRow* FirstSelectedTag() const;
    // The value shown for a tag: the bound item's (empty without one).
    QString ValueOf(const Tag& tag) const;
    // The value as drawn when highlighting: the search engine's markup (empty otherwise).
    QString HighlightedValueOf(const Tag& tag) const;

    // ---- editing ---------------------------------------------------------------------------

    // Opens the name editor over `row` (a real row: its name; the placeholder: a new tag's
    // default name) or the value editor over a real row. An edit already open is ended first;
    // false when it refused to end or the row cannot be edited.
    bool StartNameEdit(TagRow* row);
    bool StartValueEdit(TagRow* row);
    bool IsEditing() const { return editingRow_ != nullptr; }
    TagRow* EditingRow() const { return editingRow_; }
    VeCellEdit* ActiveEditor() const { return activeEditor_; }
    VeCellEdit& NameEditor() const { return *nameEditor_; }
    VeCellEdit& ValueEditor() const { return *valueEditor_; }

    // ---- commands --------------------------------------------------------------------------

    // The tag menu (name column) or the value menu, enabled for the row under the pointer
    // (null: none).
    std::unique_ptr<QMenu> ContextMenuFor(const TagRow* row, bool valueColumn);
    // Runs a command of the menus on the first selected tag; false when it did nothing.
    bool RunCommand(int commandId);

    // ---- dragging --------------------------------------------------------------------------

    bool IsDragging() const { return dragging_; }
    // The row index the dragged row would be put before (TagRowCount() for the end), -1 when
    // no drag is going on or the pointer is outside.
    int DragTarget() const { return dragging_ ? dragTarget_ : -1; }

signals:
    void TagsChanged(int code);

protected:
    bool event(QEvent* event) override;
    void OnLeftButtonPressed(Row* row, const QPoint& point, Qt::KeyboardModifiers mods) override;
    void OnRightButtonPressed(Row* row, const QPoint& point, Qt::KeyboardModifiers mods) override;
    void OnDoubleClicked(Row* row, const QPoint& point, Qt::KeyboardModifiers mods) override;
    void PaintBelowRows(QPainter& painter, const QRect& area) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    bool CellEditMayEnd(VeCellEdit& editor) override;
    void CellEditEnded(VeCellEdit& editor, int endCode) override;

    void Rebuild();
    bool ShowsTagsOf(const Tags& tags) const;
    bool StartEdit(TagRow* row, VeCellEdit& editor, const QString& text);
    QRect CellRect(const TagRow* row, const VeCellEdit& editor) const;
    void PlaceEditor();
    void EditNextValue();
    void SelectOnlyRow(Row* row);
    void Announce(int code) { emit TagsChanged(code); }
    UserPrompts& Prompts() const;

    // Commands.
    bool DeleteTag(TagRow* row);
    bool DeleteAllTags();
    bool MoveTag(TagRow* row, int position);
    bool SortTags(bool ascending);
    bool ClearValue(TagRow* row);
    bool ClearAllValues();
    void SyncTagOrder();

    // Dragging.
    void StartDrag();
    void UpdateDrag(const QPoint& point);
    void FinishDrag(const QPoint& point);
    void EndDrag();
    int DropTargetAt(const QPoint& point) const;

    UserPrompts* prompts_;
    Item* item_ = nullptr;
    Tags* tags_ = nullptr;
    bool highlight_ = false;
    VeCellEdit* nameEditor_;
    VeCellEdit* valueEditor_;
    TagRow* editingRow_ = nullptr;
    VeCellEdit* activeEditor_ = nullptr;
    Item* nextValueFor_ = nullptr; // the item of a pending edit-next request (never read through)

    TagRow* dragRow_ = nullptr; // pressed, maybe about to be dragged
    QPoint dragStart_;
    QPoint dragHotSpot_;
    QPoint dragPointer_;
    QImage dragImage_;
    bool dragging_ = false;
    bool dragInside_ = false;
    int dragTarget_ = -1;
};

} // namespace tessary
