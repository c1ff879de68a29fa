#pragma once
// Page 1 of the main page stack: one open album. The command bar runs across the top; below
// it, side by side and parted by 3-pixel splitters, the collections pane, the middle stack
// (item list, search results) and the right stack (details hint, details pane); the info
// strip runs along the bottom. The view refers to the album (the main view owns it) from
// SetAlbum to Clear, and keeps the pane widths in the settings. UI thread only.

#include <memory>

#include <QPointer>
#include <QWidget>

#include "views/frame/VeViewBase.h"
#include "views/search/SearchBoxListener.h"

namespace tessary {

class Album;
class Collection;
class Item;
class ForwardingPrompts;
class UserPrompts;
class VeCmdBarCtrlBase;
class VeCollectionsPane;
class VeFadDetailsCtrlBase;
class VeFadDetailsHintCtrl;
class VeFadInfoCtrlBase;
class VeFadListCtrlBase;
class SearchFormsWarmer;
class SearchResultsPage;
class VeSearchBoxCtrlBase;
class VeSearchResultsCtrlBase;
class WTL_PageStack;

class VeAlbumViewBase : public VeViewBase, private SearchBoxListener {
    Q_OBJECT
public:
    static constexpr int kSplitterWidth = 3;
    static constexpr int kInfoStripHeight = 50;
    static constexpr int kMinPaneAreaHeight = 130;
    static constexpr int kDefaultLeftWidth = 220;
    static constexpr int kDefaultMiddleWidth = 375;
    static constexpr int kMinLeftWidth = 60;
    static constexpr int kMinMiddleWidth = 140;
    static constexpr int kMinRightWidth = 60;
    static constexpr int kFirstRunRightWidth = 320;

    // Middle and right stack pages.
    static constexpr int kItemListPage = 0;
    static constexpr int kSearchResultsPage = 1;
    static constexpr int kDetailsHintPage = 0;
    static constexpr int kDetailsPage = 1;

    // Pane widths come from the settings (used only when at least 60 and 140).
    explicit VeAlbumViewBase(QWidget* parent = nullptr);
    // Writes the pane widths back into the settings.
    ~VeAlbumViewBase() override;

    // Shows the album (clearing the one shown before).
    void SetAlbum(Album* album);
    // Lets go of the album: both stacks back to page 0.
    void Clear();
    Album* GetAlbum() const { return m_album; }
    // The search box of the top strip (not owned; null lets go of it). Its text decides
    // the middle page; its scope follows the collections pane.
    void SetSearchBox(VeSearchBoxCtrlBase* box);
    VeSearchBoxCtrlBase* SearchBox() const;
    // Where the panes' questions go (the main window's prompts); the real boxes until set.
    void SetPrompts(UserPrompts* prompts);

    VeCmdBarCtrlBase& CommandBar() { return *m_commandBar; }
    VeCollectionsPane& CollectionsPane() { return *m_collections; }
    WTL_PageStack& MiddleStack() { return *m_middle; }
    WTL_PageStack& RightStack() { return *m_right; }
    VeFadInfoCtrlBase& InfoStrip() { return *m_infoStrip; }
    VeFadDetailsCtrlBase& DetailsPane() { return *m_details; }
    // The item list of the middle pane (paste and refresh go there).
    VeFadListCtrlBase* ItemList() const { return m_itemList; }
    SearchResultsPage& ResultsPage() { return *m_resultsPage; }
    VeSearchResultsCtrlBase& SearchResults();
    SearchFormsWarmer& FormsWarmer() { return *m_warmer; }

    int LeftWidth() const { return m_leftWidth; }
    int MiddleWidth() const { return m_middleWidth; }

    // Page switching from the panes' events.
    void OnCollectionSelectionChanged();
    void OnSearchTextChanged(bool textEmpty);
    void OnItemSelectionChanged(int selectedCount);
    void OnResultsSelectionChanged(int selectedCount);

    // The splitter under a point: 1 (collections / middle), 2 (middle / right) or 0.
    int SplitterAt(const QPoint& point) const;
    QRect SplitterRect(int splitter) const;

    bool HandleCommand(int commandId) override;

signals:
    // Enter or a double-click in the item list: the viewer is to show these photos.
    void OpenViewer(const QStringList& photoPaths, int startIndex);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnSearchBoxEvent(VeSearchBoxCtrlBase& box, int flags) override;
    void LayOut();
    // The info strip and the details pane follow the item list.
    void ShowItemSelection(int selectedCount);
    void ShowCollectionCount();
    // The info strip and the details pane follow the results list.
    void ShowResultSelection();
    // The results list and the banner take the selected collection as their scope.
    void ShowSearchScope();
    void OnResultAboutToBeDeleted(const Item* item);
    void OnCollectionAboutToBeDeleted(Collection* collection);
    void DragSplitter(int x);

    VeCmdBarCtrlBase* m_commandBar;
    std::unique_ptr<ForwardingPrompts> m_prompts;
    VeCollectionsPane* m_collections;
    VeFadListCtrlBase* m_itemList;
    WTL_PageStack* m_middle;
    WTL_PageStack* m_right;
    VeFadInfoCtrlBase* m_infoStrip;
    VeFadDetailsHintCtrl* m_detailsHint;
    VeFadDetailsCtrlBase* m_details;
    SearchResultsPage* m_resultsPage;
    SearchFormsWarmer* m_warmer;
    QPointer<VeSearchBoxCtrlBase> m_searchBox;
    QPointer<QWidget> m_collectionsViewport; // watched for presses
    Album* m_album = nullptr;
    int m_leftWidth = kDefaultLeftWidth;
    int m_middleWidth = kDefaultMiddleWidth;
    int m_dragging = 0;
    bool m_firstRunLayoutPending = false;
    int m_lastItemSelection = 0;
};

} // namespace tessary
