#pragma once
// VeCollectionsPane: the left pane of the album page. Its rows are "All Collections", the
// album's collections in the album's order, and the add row ("Double-click to add a
// collection"), 31 pixels each. Selection is the row list's (Notify(kNotifySelectionChanged)
// on every change); the selected collection's id is stored as the album's hot id (0 for "All
// Collections" or none) so that reopening the pane selects it again.
//
// The pane names collections in place (double-click, Rename..., Add a Collection...), deletes
// after a question, moves and sorts the collections; the album's collection order always
// follows the rows. A selected collection row can also be dragged to another place among
// the collection rows (the drop goes to the row boundary nearest the pointer). Questions and
// refusals go through the UserPrompts given at construction.
//
// Ownership: the album is not owned and must outlive SetAlbum's use of it (call Clear or
// SetAlbum(nullptr) before destroying it); the prompts must outlive the pane. UI thread only.

#include <memory>

#include "views/common/VeCellEdit.h"
#include "views/rows/VeListBox.h"

class QMenu;

namespace tessary {

class Album;
class Collection;
class CollectionRow;
class UserPrompts;

class VeCollectionsPane : public VeListBox, private CellEditOwner {
    Q_OBJECT

public:
    static constexpr int kEditLeft = 42; // the edit box's left edge from the row's
    static constexpr int kEditMaxLength = 100;
    static inline const QColor kEditFrameColor{0xA7, 0xB2, 0xC4};

    explicit VeCollectionsPane(UserPrompts& prompts, QWidget* parent = nullptr);
    ~VeCollectionsPane() override;

    // Rebuilds the rows for `album` (null: empties the pane) and selects the collection of the
    // album's hot id, else "All Collections". Any edit in progress is cancelled.
    void SetAlbum(Album* album);
    Album* GetAlbum() const { return album_; }
    // Forgets the album and destroys every row.
    void Clear();

    // The first selected row's collection ("All Collections" is the album's pseudo-collection);
    // null when nothing is selected or no album is shown.
    Collection* SelectedCollection() const;
    CollectionRow* CollectionRowAt(int index) const;
    // The row of `collection`, or null.
    CollectionRow* RowOf(const Collection* collection) const;
    int RealRowCount() const;

    // ---- naming --------------------------------------------------------------------------

    // Opens the edit box over `row` (a real row or the add row) with the collection's name,
    // or the album's next default name for the add row. False for other rows.
    bool StartEdit(CollectionRow* row);
    // Ends the edit as a loss of focus would: takes the edit box's trimmed text. Refuses
    // (message, edit stays open with its text selected, false) "All Collections" and a name
    // another collection bears; otherwise renames or adds, closes the edit box and returns
    // true. Enter and leaving the box end the same way; Escape cancels.
    bool CommitEdit();
    void CancelEdit();
    bool IsEditing() const;
    CollectionRow* EditedRow() const { return editedRow_; }
    VeCellEdit* EditBox() const { return edit_; }

    // ---- commands (on the selected real collection; nothing without one) -----------------

    // The context menu for the row under the mouse (null: none), enabled by its rules.
    std::unique_ptr<QMenu> ContextMenuFor(const CollectionRow* row);
    // Runs a command of the context menu; false when it did nothing.
    bool RunCommand(int commandId);
    // Scrolls to the end and opens the edit box over the add row.
    bool StartAdd();
    bool StartRenameSelected();
    // Asks, then deletes the selected collection with its items; true when deleted.
    bool DeleteSelected();
    // Moves the selected collection to `position` among the real rows (0 = first), clamped.
    bool MoveSelectedTo(int position);
    // Exchange sort of the real rows by name (code-unit order); true when any row moved.
    bool SortRows(bool ascending);

    // ---- dragging ------------------------------------------------------------------------

    // The row boundary nearest `point` (viewport coordinates) as the index of the row that
    // follows it, limited to 1 .. RealRowCount() + 1; -1 without collections.
    int DropBoundaryAt(const QPoint& point) const;
    // The boundary a drag in progress would drop at, or -1 when no drag is going on.
    int DragBoundary() const { return dragging_ ? dropBoundary_ : -1; }

signals:
    void CollectionRenamed(Collection* collection);
    // The collection and its items are about to be deleted.
    void CollectionAboutToBeDeleted(Collection* collection);

protected:
    void OnRightButtonPressed(Row* row, const QPoint& point, Qt::KeyboardModifiers mods) override;
    void OnDoubleClicked(Row* row, const QPoint& point, Qt::KeyboardModifiers mods) override;
    void OnLeftButtonPressed(Row* row, const QPoint& point, Qt::KeyboardModifiers mods) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    bool CellEditMayEnd(VeCellEdit& editor) override;
    void CellEditEnded(VeCellEdit& editor, int endCode) override;

    // The last selected real row (the delete and move commands act on it), or null.
    CollectionRow* SelectedRealRow() const;
    void SelectRow(Row* row);
    void StoreHotId();
    void PlaceEditBox();
    void Refuse(const QString& text);
    void TakeName(CollectionRow* row, const QString& name);
    // Makes the album's collection order that of the real rows.
    void SyncAlbumOrder();
    // Moves a real row to `position` among the real rows (clamped); false when it stays.
    bool MoveRealRow(CollectionRow* row, int position);
    void EndDrag();

    UserPrompts& prompts_;
    Album* album_ = nullptr;
    VeCellEdit* edit_ = nullptr;
    CollectionRow* editedRow_ = nullptr;
    CollectionRow* dragRow_ = nullptr; // pressed, maybe about to be dragged
    QPoint dragStart_;
    bool dragging_ = false;
    int dropBoundary_ = -1;
};

} // namespace tessary
