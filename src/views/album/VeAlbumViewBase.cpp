#include "VeAlbumViewBase.h"

#include <algorithm>

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
#include "views/items/VeFadListCtrlBase.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuResources.h"

namespace tessary {

namespace {

const QColor kSplitterMiddle(0xD3, 0xDE, 0xF1);
constexpr int kTallEnoughForInfoStrip = 179;
constexpr int kOnlyMiddleWidth = 202;
constexpr int kFirstRunWideWidth = 921;
constexpr int kFirstRunSideWidths = 546;

// A white stand-in for a pane that is not built yet.
QWidget* MakeBlankPane(QWidget* parent, const char* name)
{
    auto* pane = new QWidget(parent);
    pane->setObjectName(QString::fromLatin1(name));
    pane->setAutoFillBackground(true);
    QPalette palette = pane->palette();
    palette.setColor(QPalette::Window, Qt::white);
    pane->setPalette(palette);
    return pane;
}

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
      m_details(new VeFadDetailsCtrlBase(m_prompts.get()))
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
    connect(m_collections, &VeCollectionsPane::CollectionAboutToBeDeleted, m_itemList,
            &VeFadListCtrlBase::ForgetCollection);
    // The tags pane must let go of an item before its collection takes it away.
    connect(m_collections, &VeCollectionsPane::CollectionAboutToBeDeleted, this, [this](Collection* c) {
        if (m_details->ShownItem() && &m_details->ShownItem()->OwnerCollection() == c)
            m_details->SetItem(nullptr);
    });
    m_middle->AddPage(MakeBlankPane(m_middle, "searchResults"));
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
    update();
}

void VeAlbumViewBase::Clear()
{
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

void VeAlbumViewBase::OnCollectionSelectionChanged()
{
    m_itemList->ShowCollection(m_collections->SelectedCollection());
    m_middle->SelectPage(kItemListPage);
    m_right->SelectPage(kDetailsHintPage);
    m_commandBar->SetSearchState(false);
}

void VeAlbumViewBase::OnSearchTextChanged(bool textEmpty)
{
    m_middle->SelectPage(textEmpty ? kItemListPage : kSearchResultsPage);
    m_commandBar->SetSearchState(!textEmpty);
    if (textEmpty)
        OnItemSelectionChanged(m_lastItemSelection);
    else
        m_right->SelectPage(kDetailsHintPage);
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
