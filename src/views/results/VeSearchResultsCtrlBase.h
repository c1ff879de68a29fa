#pragma once
// VeSearchResultsCtrlBase: the list of found items, 49 pixels a row, in the engine's order.
// The album view hands it every change of the search box's text (SearchFor), on which it
// searches again and fills itself; a failed or empty search shows "No items match your
// search.".
// A row draws the item's preview thumbnail, its name with the matches highlighted (and, over
// "All Collections", its collection's name in grey) and one tag value line. The highlighted
// texts are built by the engine only when a row is first painted and kept until the item
// changes (RefreshItem).
//
// Events (Qt signals, synchronous): Filled (2) after a fill, ItemAboutToBeDeleted (4) before
// each selected item is deleted, ItemsDeleted (8) after, ItemRenamed (16) after a rename; the
// row list's Notify(-50) on selection changes.
//
// Ownership: the rows refer to items of the album and the scope (neither owned); Clear or
// SetScope(nullptr) before they go away. The engine and the prompts must outlive the list.
// UI thread only.

#include <vector>

#include "search/SearchEngine.h"
#include "views/common/VeCellEdit.h"
#include "views/rows/RowListBase.h"

class QMenu;

namespace tessary {

class Item;
class ResultRow;
class UserPrompts;

class VeSearchResultsCtrlBase : public RowListBase, private CellEditOwner {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 49;
    static constexpr int kThumbLeft = 13;
    static constexpr int kThumbRight = 68;
    static constexpr int kBandHeight = 40;
    static constexpr int kTextLeft = 74;
    static constexpr int kTextRightInset = 13;
    static constexpr int kCollectionGap = 10;
    static constexpr int kEmptyInset = 8;
    static constexpr int kRenameMaxLength = 100;

    VeSearchResultsCtrlBase(UserPrompts& prompts, SearchEngine& engine, QWidget* parent = nullptr);
    explicit VeSearchResultsCtrlBase(UserPrompts& prompts, QWidget* parent = nullptr);
    ~VeSearchResultsCtrlBase() override;

    // A different scope ends a rename, empties the list and resets the engine.
    void SetScope(const Collection* scope);
    const Collection* Scope() const { return m_scope; }
    // Appends one row per result, then emits Filled.
    void Fill(const std::vector<SearchResult>& results);
    // Empties the list (no event).
    void ClearResults();
    // Drops the cached texts of the item's row (every row when null) and repaints.
    void RefreshItem(const Item* item);

    // Empties the list, then (with a scope and a text) parses, runs and fills; when a step
    // fails only repaints, so that the empty state shows.
    void SearchFor(const QString& text);

    ResultRow* ResultRowAt(int index) const;
    const Item* ItemAt(int index) const;
    // The items of the selected rows, top to bottom.
    std::vector<const Item*> SelectedItems() const;
    int SelectedCount() const;

    // ---- commands ---------------------------------------------------------------------------
    std::unique_ptr<QMenu> ContextMenu();
    bool RunCommand(int commandId);
    // Asks, then deletes the selected items with their files; true when deleted.
    bool DeleteSelected();
    // Opens the rename editor over the one selected row; false otherwise.
    bool StartRename();
    VeCellEdit& RenameEditor() { return *m_editor; }

    // The rectangle of a row's name line (viewport coordinates).
    QRect NameRect(const QRect& rowRect) const;
    // Paints one row; the rows call it.
    void DrawResult(ResultRow& row, QPainter& painter, const QRect& rect, const RowState& state);

signals:
    void Filled();
    void ItemAboutToBeDeleted(const tessary::Item* item);
    void ItemsDeleted();
    void ItemRenamed(const tessary::Item* item);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void PaintBelowRows(QPainter& painter, const QRect& area) override;
    void OnRightButtonPressed(Row* row, const QPoint& point, Qt::KeyboardModifiers mods) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    bool CellEditMayEnd(VeCellEdit& editor) override;
    void CellEditEnded(VeCellEdit& editor, int endCode) override;
    void OnThumbReady(int32_t key);
    void PlaceEditor();

    UserPrompts& m_prompts;
    SearchEngine& m_engine;
    const Collection* m_scope = nullptr;
    VeCellEdit* m_editor;
    ResultRow* m_renamed = nullptr;
};

} // namespace tessary
