#pragma once
// VeFadListCtrlBase: the item list, page 0 of the album view's middle stack. It shows the
// items of one collection (or of every collection for "All Collections") in one of four
// modes: Thumbnails (96 x 96 cells from the list's ThumbnailList, grid width 116), Icons
// (file-type icons), List and Details (name, size, type, modified, "Location"; header clicks
// sort). It renames in place, sorts, selects, deletes, sends to a folder, pastes and accepts
// drops of local files (text/uri-list), and paints a hint while it has no rows.
//
// Filling: ShowCollection hands the photo paths to a PhotoFileScanner; rows appear in the
// collection's order as the worker reports which files exist (missing files and folders get
// no row). Thumbnails: rows are requested from the ThumbnailList, whose workers post
// kThumbReadyEvent / kThumbListResetEvent back here; the list looks the row up by item id.
//
// Listeners connect to the signals. Row insertions and deletions are not reported while the
// list is filling (the bulk-change counter); the end of a fill is CollectionShown.
// Ownership: the shown collection and its items are the album's: whoever deletes items or
// collections behind the list's back calls ForgetItems / ForgetCollection first (or Clear).
// The prompts must outlive the list. UI thread only.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include <QHash>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

#include "FadItem.h"
#include "views/common/CommandEvent.h"

class QAbstractItemDelegate;
class QAbstractItemView;
class QListView;
class QMenu;
class QMimeData;
class QTreeView;

namespace tessary {

class Collection;
class FadListModel;
class Item;
class PhotoCommands;
class PhotoFileScanEvent;
class PhotoFileScanner;
class ThumbnailCellDelegate;
class ThumbnailList;
class UserPrompts;

class VeFadListCtrlBase : public QWidget, public CommandTarget {
    Q_OBJECT
public:
    enum class ViewMode { Thumbnails, Icons, List, Details };
    static constexpr int kInitialThumbnails = 100;
    // Thumbnails kept for a huge album (about 220 MB of cells): beyond them the ones shown
    // longest ago are given up and made again, from the store, when they come into view.
    static constexpr int kMaxThumbnailCells = 8000;
    // Cell pixmaps kept for painting; dropped together when there are more.
    static constexpr int kMaxCellPixmaps = 2000;

    using ThumbnailListFactory = std::function<std::unique_ptr<ThumbnailList>(QObject* window)>;

    // The list's thumbnails come from a ThumbnailList on the process-wide store, unless a
    // factory makes another. The list posts itself "Thumbnails" once made.
    explicit VeFadListCtrlBase(UserPrompts& prompts, QWidget* parent = nullptr,
                               ThumbnailListFactory makeThumbnails = {});
    // Stops the scanner and the thumbnail workers.
    ~VeFadListCtrlBase() override;

    // ---- contents ------------------------------------------------------------------------

    // Shows the collection's items (null: none; "All Collections": every collection's, in
    // the album's order). Nothing when it is shown already.
    void ShowCollection(Collection* collection);
    Collection* ShownCollection() const { return m_shown; }
    // Deletes every row and resets the thumbnail state; the collection stays remembered.
    void Empty();
    // Empty() and forget the collection (album closed).
    void Clear();
    // A row for a new item at the end; -1 for a folder or a missing file. While a fill is
    // running it is finished first, so the row lands after the collection's other rows.
    int AddRow(const QString& photoPath, Item* item);
    // Drops the rows of these items; call before they are deleted.
    void ForgetItems(const std::vector<Item*>& items);
    // The collection is about to be deleted: its rows go, and it is no longer shown.
    void ForgetCollection(Collection* collection);
    // True while the scanner is still reporting rows of the shown collection.
    bool IsFilling() const { return m_scanner != nullptr; }

    int RowCount() const;
    const FadItem& RowAt(int row) const;
    // The row of a FadRowKey, or -1.
    int RowOfKey(int32_t key) const;
    // Selected rows in display order, and their items.
    std::vector<int> SelectedRows() const;
    std::vector<Item*> SelectedItems() const;
    int CurrentRow() const;
    void SelectRows(const std::vector<int>& rows, bool makeCurrent = true);

    // ---- modes ---------------------------------------------------------------------------

    void SetViewMode(ViewMode mode);
    ViewMode GetViewMode() const { return m_mode; }
    // The view showing the rows now (the icon/list view, or the details view).
    QAbstractItemView* ActiveView() const;
    QListView* IconView() const { return m_iconView; }
    QTreeView* DetailsView() const { return m_detailsView; }
    FadListModel& Model() const { return *m_model; }
    ThumbnailList& Thumbnails() const { return *m_thumbnails; }
    // The thumbnail budget (kMaxThumbnailCells unless set; at least one screen's worth is
    // kept whatever the budget).
    void SetThumbnailBudget(int cells) { m_thumbnailBudget = std::max(1, cells); }
    // Ids waiting for the Thumbnails mode, in the order they were added.
    const std::vector<int32_t>& PendingThumbnails() const { return m_pending; }
    // The first and last rows meeting the viewport, or {-1, -1}.
    std::pair<int, int> VisibleRows() const;
    // The Thumbnails-mode cell of a row (thumbnail or placeholder); null in other modes.
    QPixmap CellPixmap(int row);

    // ---- commands ------------------------------------------------------------------------

    bool HandleCommand(int commandId) override;
    void ArrangeByName();
    void ArrangeByDateAdded();
    void Refresh();
    bool StartRename();
    void SelectAll();
    void SelectInverse();
    bool DeleteSelected();
    int SendSelectedToFolder();
    // Adds the local files of `data` to the shown collection; `asDrop` stays silent when
    // nothing could be added, a paste says so.
    void AddFromMime(const QMimeData* data, bool asDrop);
    void AddPhotos();
    // A header click in the Details mode.
    void SortByColumn(int column);
    int SortColumn() const { return m_sortColumn; }
    bool SortAscending() const { return m_sortAscending; }
    // Enter on the current row, or a double-click on `row`.
    void OpenCurrentInViewer();
    void OpenRowInViewer(int row);
    // Menu 244 with the enabling of this moment.
    std::unique_ptr<QMenu> ContextMenu();

signals:
    void SelectionChanged(int selectedCount);
    // Rows were added or removed outside a fill.
    void RowsChanged();
    // The album's items changed through this list (added, deleted, renamed).
    void ItemsChanged();
    void ItemRenamed(tessary::Item* item);
    // A fill has ended (every row of the collection is in).
    void CollectionShown(tessary::Collection* collection);
    void OpenViewer(const QStringList& photoPaths, int startIndex);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ConfigureIconView(ViewMode mode);
    void StartFill();
    void FinishFillNow();
    void TakeScanResults(PhotoFileScanEvent& event);
    void AppendRows(std::vector<FadItem> rows);
    void RemoveRowsWhere(const std::function<bool(const FadItem&)>& drop);
    void RemoveRowsWithKeys(const std::set<int32_t>& keys);
    void AddPending(int32_t key);
    void RequestRows(int first, int last);
    void RequestVisibleRows();
    void ScheduleVisibleRequest();
    void OnThumbReady(int32_t key);
    void TrimThumbnails();
    void OnRenameRequested(int row, const QString& text);
    void OnSelectionChanged();
    void AddNewItems(const std::vector<Item*>& items);
    bool HandleKey(QKeyEvent* event);
    bool HandleDrop(QEvent* event);
    void ShowContextMenu(const QPoint& globalPos);
    // After an arrangement the header's arrow and shading no longer describe the order.
    void ForgetHeaderSort();

    UserPrompts& m_prompts;
    std::unique_ptr<PhotoCommands> m_commands;
    FadListModel* m_model;
    QListView* m_iconView;
    QTreeView* m_detailsView;
    ThumbnailCellDelegate* m_cellDelegate;
    QAbstractItemDelegate* m_plainDelegate;
    std::unique_ptr<ThumbnailList> m_thumbnails;
    int m_thumbnailBudget = kMaxThumbnailCells;
    std::unique_ptr<PhotoFileScanner> m_scanner;

    ViewMode m_mode = ViewMode::Icons;
    Collection* m_shown = nullptr;
    bool m_collectionKnown = false; // ShowCollection has been called since Clear
    uint64_t m_fillGeneration = 0;
    QHash<int32_t, Item*> m_fillItems;      // items of the running fill by row key
    std::vector<std::pair<int32_t, QString>> m_fillRest; // not yet reported by the scanner
    size_t m_fillReported = 0;
    int m_bulkChanges = 0;
    std::vector<int32_t> m_pending;
    std::set<int32_t> m_pendingSet;
    int m_sortColumn = -1;
    bool m_sortAscending = true;
    bool m_visibleRequestQueued = false;
    uint64_t m_cellGeneration = 0;
    QHash<int, QPixmap> m_cellPixmaps;
};

} // namespace tessary
