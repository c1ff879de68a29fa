#include "VeAlbumViewBase.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "VeCollectionsPane.h"
#include "album/Album.h"
#include "album/Collections.h"
#include "app/Settings.h"
#include "views/common/ForwardingPrompts.h"
#include "views/common/NotifyCodes.h"
#include "views/frame/VeCmdBarCtrlBase.h"
#include "views/frame/WTL_PageStack.h"
#include "views/details/VeFadDetailsCtrlBase.h"
#include "views/details/VeFadDetailsHintCtrl.h"
#include "views/details/VeFadInfoCtrlBase.h"
#include "views/tags/VeTagListCtrlBase.h"
#include "views/items/VeFadListCtrlBase.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuResources.h"
#include "views/results/SearchFormsWarmer.h"
#include "views/results/SearchResultsPage.h"
#include "views/results/VeSRBannerCtrlBase.h"
#include "views/results/VeSearchResultsCtrlBase.h"
#include "views/search/VeSearchBoxCtrlBase.h"
#include "search/SearchEngine.h"

namespace tessary {

namespace {

const QColor kSplitterMiddle(0xD3, 0xDE, 0xF1);
constexpr int kTallEnoughForInfoStrip = 179;
constexpr int kOnlyMiddleWidth = 202;
constexpr int kFirstRunWideWidth = 921;
constexpr int kFirstRunSideWidths = 546;

} // namespace

VeAlbumViewBase::VeAlbumViewBase(QWidget* parent)
    : VeViewBase(parent),
      m_commandBar(new VeCmdBarCtrlBase(kMenuCmdBar, this)),
      m_prompts(std::make_unique<ForwardingPrompts>()),
      m_collections(new VeCollectionsPane(*m_prompts, this)),
      m_itemList(nullptr),
      m_middle(new WTL_PageStack(this)),
      m_right(new WTL_PageStack(this)),
      m_infoStrip(new VeFadInfoCtrlBase(this)),
      m_detailsHint(new VeFadDetailsHintCtrl),
      m_details(new VeFadDetailsCtrlBase(m_prompts.get())),
      m_resultsPage(nullptr),
      m_warmer(new SearchFormsWarmer(SearchEngine::Instance(), this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_commandBar->SetAlbumViewTarget(this);
    connect(m_collections, &VeCollectionsPane::Notify, this, [this](int code) {
        if (code == kNotifySelectionChanged)
            OnCollectionSelectionChanged();
    });
    m_itemList = new VeFadListCtrlBase(*m_prompts, m_middle);
    m_middle->AddPage(m_itemList);
    m_commandBar->SetItemListTarget(m_itemList);
    connect(m_itemList, &VeFadListCtrlBase::SelectionChanged, this, &VeAlbumViewBase::OnItemSelectionChanged);
    connect(m_itemList, &VeFadListCtrlBase::ItemsChanged, this, [this] { m_collections->viewport()->update(); });
    connect(m_itemList, &VeFadListCtrlBase::OpenViewer, this, &VeAlbumViewBase::OpenViewer);
    connect(m_collections, &VeCollectionsPane::CollectionAboutToBeDeleted, this,
            &VeAlbumViewBase::OnCollectionAboutToBeDeleted);
    m_resultsPage = new SearchResultsPage(*m_prompts, SearchEngine::Instance(), m_middle);
    m_middle->AddPage(m_resultsPage);
    VeSearchResultsCtrlBase& results = m_resultsPage->Results();
    connect(&results, &VeSearchResultsCtrlBase::Notify, this, [this](int code) {
        if (code == kNotifySelectionChanged)
            ShowResultSelection();
    });
    connect(&results, &VeSearchResultsCtrlBase::ItemAboutToBeDeleted, this, &VeAlbumViewBase::OnResultAboutToBeDeleted);
    connect(&results, &VeSearchResultsCtrlBase::ItemsDeleted, this, [this] {
        m_collections->viewport()->update();
        ShowCollectionCount();
        ShowResultSelection();
    });
    connect(&results, &VeSearchResultsCtrlBase::ItemRenamed, this, [this] {
        m_itemList->ActiveView()->viewport()->update();
        m_infoStrip->update();
        m_details->update();
    });
    connect(m_collections, &VeCollectionsPane::CollectionRenamed, this, [this] {
        m_resultsPage->Banner().update();
        if (m_searchBox)
            m_searchBox->ScopeRenamed();
    });
    // The command bar works on the item list even while the results are shown: rows of
    // deleted items must not stay in the results, so the search runs again.
    connect(m_itemList, &VeFadListCtrlBase::ItemsChanged, this, [this] {
        if (m_middle->ActiveIndex() == kSearchResultsPage && m_searchBox) {
            m_resultsPage->Results().SearchFor(m_searchBox->GetText());
            ShowResultSelection(); // the details let go of what the results no longer hold
        }
    });
    connect(m_itemList, &VeFadListCtrlBase::ItemRenamed, this, [this](Item* item) {
        if (m_middle->ActiveIndex() == kSearchResultsPage)
            m_resultsPage->Results().RefreshItem(item);
    });
    // Values changed in the tags pane: the results' highlighted texts are built again.
    connect(&m_details->TagsPane(), &VeTagListCtrlBase::TagsChanged, this, [this](int code) {
        VeSearchResultsCtrlBase& shown = m_resultsPage->Results();
        if (!shown.isVisible())
            return;
        shown.RefreshItem(code == VeTagListCtrlBase::kChangedValue ? m_details->TagsPane().BoundItem() : nullptr);
    });
    // A click on a collection, even the selected one, ends the search.
    m_collectionsViewport = m_collections->viewport();
    m_collectionsViewport->installEventFilter(this);
    m_middle->SelectPage(kItemListPage);
    m_right->AddPage(m_detailsHint);
    m_right->AddPage(m_details);
    connect(m_itemList, &VeFadListCtrlBase::SelectionChanged, this, &VeAlbumViewBase::ShowItemSelection);
    connect(m_itemList, &VeFadListCtrlBase::CollectionShown, this, &VeAlbumViewBase::ShowCollectionCount);
    connect(m_itemList, &VeFadListCtrlBase::ItemsChanged, this, &VeAlbumViewBase::ShowCollectionCount);
    connect(m_itemList, &VeFadListCtrlBase::ItemRenamed, m_infoStrip, qOverload<>(&QWidget::update));
    m_right->SelectPage(kDetailsHintPage);

    const Settings& settings = Settings::Instance();
    if (settings.leftPaneWidth >= kMinLeftWidth)
        m_leftWidth = settings.leftPaneWidth;
    if (settings.midPaneWidth >= kMinMiddleWidth)
        m_middleWidth = settings.midPaneWidth;
    m_firstRunLayoutPending = settings.debut;
}

VeAlbumViewBase::~VeAlbumViewBase()
{
    SetSearchBox(nullptr);
    Settings& settings = Settings::Instance();
    settings.leftPaneWidth = m_leftWidth;
    settings.midPaneWidth = m_middleWidth;
    // The panes refer to the prompts, which go before the widget's children do.
    delete m_collections;
    delete m_itemList;
}

void VeAlbumViewBase::SetPrompts(UserPrompts* prompts)
{
    m_prompts->SetTarget(prompts);
}

void VeAlbumViewBase::SetAlbum(Album* album)
{
    if (m_album && m_album != album)
        Clear();
    m_album = album;
    m_collections->SetAlbum(album);
    m_itemList->ShowCollection(m_collections->SelectedCollection());
    ShowSearchScope();
    // The first search should not pay for normalising the whole album.
    m_warmer->Start(album);
    update();
}

void VeAlbumViewBase::SetSearchBox(VeSearchBoxCtrlBase* box)
{
    if (m_searchBox == box)
        return;
    if (m_searchBox)
        m_searchBox->RemoveListener(this);
    m_searchBox = box;
    if (box) {
        box->AddListener(this);
        box->SetScope(m_collections->SelectedCollection());
    }
}

VeSearchBoxCtrlBase* VeAlbumViewBase::SearchBox() const
{
    return m_searchBox.data();
}

void VeAlbumViewBase::OnSearchBoxEvent(VeSearchBoxCtrlBase& box, int flags)
{
    if (!(flags & (kSearchTyped | kSearchSetByProgram)))
        return;
    const QString text = box.GetText();
    m_resultsPage->Results().SearchFor(text);
    OnSearchTextChanged(text.isEmpty());
}

bool VeAlbumViewBase::eventFilter(QObject* watched, QEvent* event)
{
    // The pane is not asked for its viewport here: its events also come while it is being
    // destroyed.
    if (event->type() == QEvent::MouseButtonPress && watched == m_collectionsViewport
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && m_searchBox
        && !m_searchBox->GetText().isEmpty()) {
        // After the pane has handled the press (and maybe announced a new selection).
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_searchBox && !m_searchBox->GetText().isEmpty())
                    OnCollectionSelectionChanged();
            },
            Qt::QueuedConnection);
    }
    return VeViewBase::eventFilter(watched, event);
}

VeSearchResultsCtrlBase& VeAlbumViewBase::SearchResults()
{
    return m_resultsPage->Results();
}

void VeAlbumViewBase::Clear()
{
    m_warmer->Stop();
    m_resultsPage->Results().SetScope(nullptr);
    m_resultsPage->Banner().SetScope(nullptr);
    if (m_searchBox)
        m_searchBox->SetScope(nullptr);
    SearchEngine::Instance().Reset();
    SearchEngine::Instance().ForgetNormalizedTexts();
    m_album = nullptr;
    m_itemList->Clear();
    m_infoStrip->SetSelection(nullptr, 0);
    m_infoStrip->SetCollection(false, false, 0);
    m_details->SetItem(nullptr);
    m_collections->Clear();
    m_middle->SelectPage(kItemListPage);
    m_right->SelectPage(kDetailsHintPage);
    m_commandBar->SetSearchState(false);
    m_lastItemSelection = 0;
    update();
}

void VeAlbumViewBase::ShowItemSelection(int selectedCount)
{
    if (m_middle->ActiveIndex() != kItemListPage)
        return;
    const std::vector<Item*> items = selectedCount == 1 ? m_itemList->SelectedItems() : std::vector<Item*>();
    Item* single = items.size() == 1 ? items.front() : nullptr;
    m_infoStrip->SetSelection(single, selectedCount);
    // Without a single item the details page is hidden; unbinding keeps the tags pane from
    // holding an item that a deletion is about to take away.
    m_details->SetItem(single);
}

void VeAlbumViewBase::ShowCollectionCount()
{
    Collection* shown = m_itemList->ShownCollection();
    const int count = shown && m_album ? m_album->GetCollections().ItemCount(*shown) : 0;
    m_infoStrip->SetCollection(shown != nullptr, shown && shown->Id() == 0, count);
}

void VeAlbumViewBase::ShowResultSelection()
{
    VeSearchResultsCtrlBase& results = m_resultsPage->Results();
    const int count = results.SelectedCount();
    // The model is the UI thread's to change; the results only keep const pointers to it.
    Item* single = count == 1 ? const_cast<Item*>(results.SelectedItems().front()) : nullptr;
    if (m_middle->ActiveIndex() == kSearchResultsPage) {
        m_infoStrip->SetSelection(single, count);
        // Chosen in the results: the tag values show the search's matches.
        m_details->SetItem(single, true);
    }
    OnResultsSelectionChanged(count);
}

void VeAlbumViewBase::OnResultAboutToBeDeleted(const Item* item)
{
    Item* gone = const_cast<Item*>(item);
    m_itemList->ForgetItems({gone});
    if (m_details->ShownItem() == gone)
        m_details->SetItem(nullptr);
    if (m_infoStrip->ShownItem() == gone)
        m_infoStrip->SetSelection(nullptr, 0);
}

void VeAlbumViewBase::OnCollectionAboutToBeDeleted(Collection* collection)
{
    // Rows and forms of the collection's items go before the items do.
    VeSearchResultsCtrlBase& results = m_resultsPage->Results();
    if (results.Scope() == collection) {
        results.SetScope(nullptr);
        m_resultsPage->Banner().SetScope(nullptr);
    } else {
        results.ClearResults();
    }
    SearchEngine::Instance().Reset();
    m_itemList->ForgetCollection(collection);
    m_details->SetItem(nullptr);
    m_infoStrip->SetSelection(nullptr, 0);
}

void VeAlbumViewBase::ShowSearchScope()
{
    Collection* scope = m_collections->SelectedCollection();
    m_resultsPage->Results().SetScope(scope);
    m_resultsPage->Banner().SetScope(scope);
    // Empties the search text, which empties the results and shows the item list.
    if (m_searchBox)
        m_searchBox->SetScope(scope);
}

void VeAlbumViewBase::OnCollectionSelectionChanged()
{
    m_itemList->ShowCollection(m_collections->SelectedCollection());
    m_middle->SelectPage(kItemListPage);
    m_right->SelectPage(kDetailsHintPage);
    m_commandBar->SetSearchState(false);
    // Last: emptying the search text lets the right stack follow the item list again.
    ShowSearchScope();
}

void VeAlbumViewBase::OnSearchTextChanged(bool textEmpty)
{
    m_middle->SelectPage(textEmpty ? kItemListPage : kSearchResultsPage);
    m_commandBar->SetSearchState(!textEmpty);
    if (textEmpty) {
        OnItemSelectionChanged(m_lastItemSelection);
        ShowItemSelection(m_lastItemSelection);
    } else {
        m_right->SelectPage(kDetailsHintPage);
    }
}

void VeAlbumViewBase::OnItemSelectionChanged(int selectedCount)
{
    m_lastItemSelection = selectedCount;
    if (m_middle->ActiveIndex() == kItemListPage)
        m_right->SelectPage(selectedCount == 1 ? kDetailsPage : kDetailsHintPage);
}

void VeAlbumViewBase::OnResultsSelectionChanged(int selectedCount)
{
    if (m_middle->ActiveIndex() == kSearchResultsPage)
        m_right->SelectPage(selectedCount == 1 ? kDetailsPage : kDetailsHintPage);
}

bool VeAlbumViewBase::HandleCommand(int commandId)
{
    if (commandId == cmd::kHideSearchResults) {
        // As if the selected collection were chosen again: the search empties, and the right
        // stack follows the item list's selection.
        OnCollectionSelectionChanged();
        OnSearchTextChanged(true);
        return true;
    }
    return false;
}

void VeAlbumViewBase::resizeEvent(QResizeEvent*)
{
    if (m_firstRunLayoutPending && width() > 0) {
        // First run: fixed side widths; the general rules below fix what does not fit.
        m_firstRunLayoutPending = false;
        m_leftWidth = kDefaultLeftWidth;
        if (width() > kFirstRunWideWidth)
            m_middleWidth = width() - kFirstRunSideWidths;
        m_middleWidth = std::max(m_middleWidth, kMinMiddleWidth);
    }
    LayOut();
}

void VeAlbumViewBase::LayOut()
{
    const int w = width();
    const int h = height();
    const int barHeight = VeCmdBarCtrlBase::kBarHeight;
    m_commandBar->setGeometry(0, 0, w, barHeight);

    const int top = barHeight;
    int bottom = h;
    const bool strip = h - barHeight > kTallEnoughForInfoStrip;
    m_infoStrip->setVisible(strip);
    if (strip) {
        bottom = h - kInfoStripHeight;
        m_infoStrip->setGeometry(0, bottom, w, kInfoStripHeight);
    }
    bottom = std::max(bottom, top + kMinPaneAreaHeight);
    const int paneHeight = bottom - top;

    const int a = m_leftWidth;
    const int m = m_middleWidth;
    const int gap = kSplitterWidth;
    bool left = true;
    bool right = true;
    if (w <= kOnlyMiddleWidth) {
        left = right = false;
        m_middle->setGeometry(0, top, w, paneHeight);
    } else if (a + kMinMiddleWidth + gap >= w) {
        right = false;
        m_collections->setGeometry(0, top, w - kMinMiddleWidth - gap, paneHeight);
        m_middle->setGeometry(w - kMinMiddleWidth, top, kMinMiddleWidth, paneHeight);
    } else if (w < a + 2 * gap + kMinMiddleWidth + kMinRightWidth) {
        right = false;
        m_collections->setGeometry(0, top, a, paneHeight);
        m_middle->setGeometry(a + gap, top, w - a - gap, paneHeight);
    } else if (a + m + 2 * gap + kMinRightWidth < w) {
        m_collections->setGeometry(0, top, a, paneHeight);
        m_middle->setGeometry(a + gap, top, m, paneHeight);
        m_right->setGeometry(a + m + 2 * gap, top, w - (a + m + 2 * gap), paneHeight);
    } else {
        m_collections->setGeometry(0, top, a, paneHeight);
        m_middle->setGeometry(a + gap, top, w - kMinRightWidth - gap - (a + gap), paneHeight);
        m_right->setGeometry(w - kMinRightWidth, top, kMinRightWidth, paneHeight);
    }
    m_collections->setVisible(left);
    m_right->setVisible(right);
    update();
}

QRect VeAlbumViewBase::SplitterRect(int splitter) const
{
    const int top = VeCmdBarCtrlBase::kBarHeight;
    const int height = m_middle->height();
    if (splitter == 1 && m_collections->isVisibleTo(this))
        return QRect(m_middle->x() - kSplitterWidth, top, kSplitterWidth, height);
    if (splitter == 2 && m_right->isVisibleTo(this))
        return QRect(m_right->x() - kSplitterWidth, top, kSplitterWidth, height);
    return QRect();
}

int VeAlbumViewBase::SplitterAt(const QPoint& point) const
{
    for (int s : {1, 2})
        if (SplitterRect(s).contains(point))
            return s;
    return 0;
}

void VeAlbumViewBase::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), Qt::white);
    for (int s : {1, 2}) {
        const QRect r = SplitterRect(s);
        if (r.isEmpty())
            continue;
        // White, light blue, white.
        p.fillRect(QRect(r.left() + 1, r.top(), 1, r.height()), kSplitterMiddle);
    }
}

void VeAlbumViewBase::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = SplitterAt(event->position().toPoint());
}

void VeAlbumViewBase::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (m_dragging != 0) {
        DragSplitter(point.x());
        return;
    }
    setCursor(SplitterAt(point) ? Qt::SizeHorCursor : Qt::ArrowCursor);
}

void VeAlbumViewBase::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = 0;
}

void VeAlbumViewBase::DragSplitter(int x)
{
    const int gap = kSplitterWidth;
    if (m_dragging == 1) {
        const int middleRight = m_middle->x() + m_middle->width();
        const int width = std::clamp(x - m_collections->x() - 1, kMinLeftWidth,
                                     std::max(kMinLeftWidth, middleRight - gap - kMinMiddleWidth));
        m_leftWidth = width;
        if (m_right->isVisibleTo(this))
            m_middleWidth = std::max(kMinMiddleWidth, middleRight - (width + gap));
    } else if (m_dragging == 2) {
        const int rightEnd = m_right->x() + m_right->width();
        const int width = std::clamp(x - m_middle->x() - 1, kMinMiddleWidth,
                                     std::max(kMinMiddleWidth, rightEnd - gap - kMinRightWidth - m_middle->x()));
        m_middleWidth = width;
    }
    LayOut();
}

} // namespace tessary
