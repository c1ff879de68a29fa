#include "VeFadListCtrlBase.h"

#include <algorithm>

#include <QFileInfo>
#include <QHeaderView>
#include <QListView>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeView>

#include "FadListModel.h"
#include "FileTypeIcons.h"
#include "PhotoFileScanner.h"
#include "ThumbnailCellDelegate.h"
#include "album/Album.h"
#include "album/Collections.h"
#include "album/Photos.h"
#include "thumbcache/ThumbEvents.h"
#include "thumbcache/ThumbnailList.h"
#include "views/adding/PhotoCommands.h"
#include "views/common/SharedFonts.h"
#include "views/menus/CommandIds.h"

namespace tessary {

int32_t FadRowKey(const Item& item)
{
    const Photo* photo = item.GetPhotos().Count() > 0 ? item.GetPhotos().At(0) : nullptr;
    return photo ? int32_t(photo->Serial() & 0x7FFFFFFFu) : 0;
}

namespace {

constexpr int kSmallIcon = FileTypeIcons::kSmallSize;
constexpr int kLargeIcon = FileTypeIcons::kLargeSize;
constexpr int kListColumnWidth = 220;

FadItem MakeRow(Item* item, const PhotoFileFact& fact)
{
    FadItem row;
    row.item = item;
    row.key = fact.key;
    row.path = fact.path;
    row.location = QFileInfo(fact.path).path();
    row.size = fact.size;
    row.modifiedMs = fact.modifiedMs;
    return row;
}

void SetUpView(QAbstractItemView* view)
{
    view->setFrameShape(QFrame::NoFrame);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    view->setDragEnabled(false);
    view->setDragDropMode(QAbstractItemView::NoDragDrop);
    view->viewport()->setAcceptDrops(true);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->setMouseTracking(true);
    view->setAutoScroll(false);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0xCC, 0xE8, 0xFF));
    palette.setColor(QPalette::HighlightedText, QColor(0x1E, 0x1E, 0x1E));
    view->setPalette(palette);
}

} // namespace

VeFadListCtrlBase::VeFadListCtrlBase(UserPrompts& prompts, QWidget* parent, ThumbnailListFactory makeThumbnails)
    : QWidget(parent),
      m_prompts(prompts),
      m_commands(std::make_unique<PhotoCommands>(prompts)),
      m_model(new FadListModel(this)),
      m_iconView(new QListView(this)),
      m_detailsView(new QTreeView(this))
{
    setObjectName(QStringLiteral("FadList"));
    FileTypeIcons::InstallForThumbnails();
    m_thumbnails = makeThumbnails ? makeThumbnails(this) : std::make_unique<ThumbnailList>(this);

    m_cellDelegate = new ThumbnailCellDelegate([this](int row) { return CellPixmap(row); }, this);
    m_plainDelegate = new QStyledItemDelegate(this);

    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_iconView),
                                    static_cast<QAbstractItemView*>(m_detailsView)}) {
        SetUpView(view);
        view->setFont(SharedFonts::Normal());
        view->setModel(m_model);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint& pos) { ShowContextMenu(view->viewport()->mapToGlobal(pos)); });
        connect(view, &QAbstractItemView::doubleClicked, this,
                [this](const QModelIndex& index) { OpenRowInViewer(index.row()); });
    }
    // One selection for both views, so that switching modes keeps it.
    QItemSelectionModel* unused = m_detailsView->selectionModel();
    m_detailsView->setSelectionModel(m_iconView->selectionModel());
    delete unused;
    connect(m_iconView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &VeFadListCtrlBase::OnSelectionChanged);
    connect(m_model, &FadListModel::RenameRequested, this, &VeFadListCtrlBase::OnRenameRequested);

    m_iconView->setUniformItemSizes(true);
    m_iconView->setResizeMode(QListView::Adjust);
    m_iconView->setWordWrap(true);
    m_iconView->setTextElideMode(Qt::ElideRight);
    QScrollBar* bar = m_iconView->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, [this, bar] {
        if (!bar->isSliderDown())
            ScheduleVisibleRequest();
    });
    connect(bar, &QScrollBar::sliderReleased, this, &VeFadListCtrlBase::ScheduleVisibleRequest);

    m_detailsView->setRootIsDecorated(false);
    m_detailsView->setUniformRowHeights(true);
    m_detailsView->setItemsExpandable(false);
    m_detailsView->setAllColumnsShowFocus(true);
    m_detailsView->setIconSize(QSize(kSmallIcon, kSmallIcon));
    QHeaderView* header = m_detailsView->header();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setStretchLastSection(false);
    header->setFont(SharedFonts::Normal());
    for (int column = 0; column < FadListModel::kColumnCount; ++column)
        header->resizeSection(column, FadListModel::kColumnWidths[column]);
    connect(header, &QHeaderView::sectionClicked, this, &VeFadListCtrlBase::SortByColumn);
    m_detailsView->hide();

    ConfigureIconView(ViewMode::Icons);
    setFocusProxy(m_iconView);
    PostCommand(this, cmd::kViewThumbnails);
}

VeFadListCtrlBase::~VeFadListCtrlBase()
{
    m_scanner.reset();
    m_thumbnails.reset();
}

// ---- contents ----------------------------------------------------------------------------

void VeFadListCtrlBase::ShowCollection(Collection* collection)
{
    if (m_collectionKnown && collection == m_shown)
        return;
    Empty();
    m_shown = collection;
    m_collectionKnown = true;
    StartFill();
}

void VeFadListCtrlBase::StartFill()
{
    std::vector<PhotoFileScanner::Entry> entries;
    m_fillItems.clear();
    m_fillRest.clear();
    m_fillReported = 0;
    if (m_shown && m_shown->Id() >= 0) {
        auto take = [&](Collection& c) {
            for (Item& item : c.GetItems()) {
                const QString path = item.FirstPhotoPath();
                if (path.isEmpty())
                    continue;
                const int32_t key = FadRowKey(item);
                m_fillItems.insert(key, &item);
                m_fillRest.emplace_back(key, path);
                entries.push_back({key, path});
            }
        };
        if (m_shown->Id() == 0) {
            for (Collection& c : m_shown->OwnerAlbum().GetCollections())
                take(c);
        } else {
            take(*m_shown);
        }
    }
    if (entries.empty()) {
        ActiveView()->viewport()->update();
        emit CollectionShown(m_shown);
        return;
    }
    ++m_bulkChanges;
    m_scanner = std::make_unique<PhotoFileScanner>(this, ++m_fillGeneration, std::move(entries));
    if (!m_scanner->Start())
        FinishFillNow();
}

void VeFadListCtrlBase::TakeScanResults(PhotoFileScanEvent& event)
{
    if (!m_scanner || event.generation != m_fillGeneration)
        return;
    std::vector<FadItem> rows;
    rows.reserve(event.facts.size());
    for (const PhotoFileFact& fact : event.facts) {
        ++m_fillReported;
        Item* item = m_fillItems.value(fact.key);
        if (item && fact.isFile)
            rows.push_back(MakeRow(item, fact));
    }
    AppendRows(std::move(rows));
    if (event.last) {
        m_scanner.reset();
        m_fillItems.clear();
        m_fillRest.clear();
        --m_bulkChanges;
        if (RowCount() == 0)
            ActiveView()->viewport()->update();
        emit CollectionShown(m_shown);
    }
}

void VeFadListCtrlBase::FinishFillNow()
{
    if (!m_scanner && m_fillRest.empty())
        return;
    if (m_scanner)
        m_scanner->StopAndWait();
    m_scanner.reset();
    ++m_fillGeneration; // whatever the worker posted is stale now
    std::vector<FadItem> rows;
    for (size_t i = m_fillReported; i < m_fillRest.size(); ++i) {
        Item* item = m_fillItems.value(m_fillRest[i].first);
        const PhotoFileFact fact = ExaminePhotoFile(m_fillRest[i].first, m_fillRest[i].second);
        if (item && fact.isFile)
            rows.push_back(MakeRow(item, fact));
    }
    AppendRows(std::move(rows));
    m_fillItems.clear();
    m_fillRest.clear();
    m_fillReported = 0;
    m_bulkChanges = std::max(0, m_bulkChanges - 1);
    emit CollectionShown(m_shown);
}

void VeFadListCtrlBase::AppendRows(std::vector<FadItem> rows)
{
    if (rows.empty())
        return;
    const int first = RowCount();
    m_model->Append(std::move(rows));
    const int last = RowCount() - 1;
    if (m_mode == ViewMode::Thumbnails) {
        // The new rows as one batch, then those on screen ahead of them.
        RequestRows(first, last);
        RequestVisibleRows();
    } else {
        for (int row = first; row <= last; ++row)
            AddPending(m_model->At(row).key);
    }
    if (m_bulkChanges == 0)
        emit RowsChanged();
}

void VeFadListCtrlBase::AddPending(int32_t key)
{
    if (m_pendingSet.insert(key).second)
        m_pending.push_back(key);
}

void VeFadListCtrlBase::Empty()
{
    if (m_scanner) {
        m_scanner->StopAndWait();
        m_scanner.reset();
        m_bulkChanges = std::max(0, m_bulkChanges - 1);
    }
    ++m_fillGeneration;
    m_fillItems.clear();
    m_fillRest.clear();
    m_fillReported = 0;
    ++m_bulkChanges;
    const bool hadSelection = m_iconView->selectionModel()->hasSelection();
    m_model->Clear();
    --m_bulkChanges;
    // A model reset drops the selection without a word; the listeners must not keep its item.
    if (hadSelection)
        OnSelectionChanged();
    m_pending.clear();
    m_pendingSet.clear();
    m_cellPixmaps.clear();
    m_thumbnails->Reset(kInitialThumbnails);
    ActiveView()->viewport()->update();
}

void VeFadListCtrlBase::Clear()
{
    Empty();
    m_shown = nullptr;
    m_collectionKnown = false;
}

int VeFadListCtrlBase::AddRow(const QString& photoPath, Item* item)
{
    const int32_t key = item ? FadRowKey(*item) : 0;
    const PhotoFileFact fact = ExaminePhotoFile(key, photoPath);
    if (!item || key <= 0 || !fact.isFile)
        return -1;
    FinishFillNow();
    const int row = RowCount();
    std::vector<FadItem> one;
    one.push_back(MakeRow(item, fact));
    m_model->Append(std::move(one));
    if (m_mode == ViewMode::Thumbnails) {
        m_thumbnails->Request(ThumbnailRequest{key, photoPath});
    } else {
        AddPending(key);
    }
    if (m_bulkChanges == 0)
        emit RowsChanged();
    return row;
}

void VeFadListCtrlBase::RemoveRowsWhere(const std::function<bool(const FadItem&)>& drop)
{
    bool removed = false;
    for (int row = RowCount() - 1; row >= 0; --row) {
        const FadItem& r = m_model->At(row);
        if (!drop(r))
            continue;
        m_thumbnails->Forget(r.key);
        if (m_pendingSet.erase(r.key))
            m_pending.erase(std::find(m_pending.begin(), m_pending.end(), r.key));
        m_model->RemoveRow(row);
        removed = true;
    }
    if (removed) {
        OnSelectionChanged();
        if (RowCount() == 0)
            ActiveView()->viewport()->update();
        if (m_bulkChanges == 0)
            emit RowsChanged();
    }
}

void VeFadListCtrlBase::ForgetItems(const std::vector<Item*>& items)
{
    std::set<int32_t> keys;
    for (const Item* item : items)
        keys.insert(FadRowKey(*item));
    RemoveRowsWithKeys(keys);
}

void VeFadListCtrlBase::RemoveRowsWithKeys(const std::set<int32_t>& keys)
{
    for (int32_t key : keys)
        m_fillItems.remove(key);
    RemoveRowsWhere([&keys](const FadItem& row) { return keys.count(row.key) > 0; });
}

void VeFadListCtrlBase::ForgetCollection(Collection* collection)
{
    if (!collection)
        return;
    if (collection == m_shown) {
        Clear();
        return;
    }
    std::set<int32_t> keys;
    for (const Item& item : collection->GetItems())
        keys.insert(FadRowKey(item));
    RemoveRowsWithKeys(keys);
}

int VeFadListCtrlBase::RowCount() const
{
    return m_model->Count();
}

const FadItem& VeFadListCtrlBase::RowAt(int row) const
{
    return m_model->At(row);
}

int VeFadListCtrlBase::RowOfKey(int32_t key) const
{
    return m_model->RowOfKey(key);
}

std::vector<int> VeFadListCtrlBase::SelectedRows() const
{
    std::set<int> rows;
    // A range whose rows went away meanwhile holds invalid indexes: it selects nothing.
    const int count = RowCount();
    for (const QItemSelectionRange& range : m_iconView->selectionModel()->selection()) {
        if (!range.isValid())
            continue;
        for (int row = std::max(0, range.top()); row <= std::min(count - 1, range.bottom()); ++row)
            rows.insert(row);
    }
    return std::vector<int>(rows.begin(), rows.end());
}

std::vector<Item*> VeFadListCtrlBase::SelectedItems() const
{
    std::vector<Item*> items;
    for (int row : SelectedRows())
        if (Item* item = m_model->At(row).item)
            items.push_back(item);
    return items;
}

int VeFadListCtrlBase::CurrentRow() const
{
    const QModelIndex current = m_iconView->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void VeFadListCtrlBase::SelectRows(const std::vector<int>& rows, bool makeCurrent)
{
    QItemSelection selection;
    for (int row : rows)
        if (row >= 0 && row < RowCount())
            selection.select(m_model->index(row, 0), m_model->index(row, FadListModel::kColumnCount - 1));
    QItemSelectionModel* model = m_iconView->selectionModel();
    model->select(selection, QItemSelectionModel::ClearAndSelect);
    if (makeCurrent && !rows.empty() && rows.back() >= 0 && rows.back() < RowCount()) {
        model->setCurrentIndex(m_model->index(rows.back(), 0), QItemSelectionModel::NoUpdate);
        ActiveView()->scrollTo(m_model->index(rows.back(), 0));
    }
}

void VeFadListCtrlBase::OnSelectionChanged()
{
    emit SelectionChanged(int(SelectedRows().size()));
}

// ---- modes -------------------------------------------------------------------------------

QAbstractItemView* VeFadListCtrlBase::ActiveView() const
{
    if (m_mode == ViewMode::Details)
        return m_detailsView;
    return m_iconView;
}

void VeFadListCtrlBase::ConfigureIconView(ViewMode mode)
{
    QListView* view = m_iconView;
    if (mode == ViewMode::List) {
        view->setViewMode(QListView::ListMode);
        view->setFlow(QListView::TopToBottom);
        view->setWrapping(true);
        view->setIconSize(QSize(kSmallIcon, kSmallIcon));
        view->setGridSize(QSize(kListColumnWidth, std::max(kSmallIcon, view->fontMetrics().height()) + 4));
        view->setItemDelegate(m_plainDelegate);
        m_model->SetDecoration(FadListModel::Decoration::Small);
    } else {
        view->setViewMode(QListView::IconMode);
        view->setFlow(QListView::LeftToRight);
        view->setWrapping(true);
        if (mode == ViewMode::Thumbnails) {
            view->setIconSize(QSize(ThumbnailCellDelegate::kCellSide, ThumbnailCellDelegate::kCellSide));
            view->setGridSize(ThumbnailCellDelegate::GridSize(view->font()));
            view->setItemDelegate(m_cellDelegate);
            m_model->SetDecoration(FadListModel::Decoration::None);
        } else {
            view->setIconSize(QSize(kLargeIcon, kLargeIcon));
            view->setGridSize(QSize(96, kLargeIcon + 10 + 2 * view->fontMetrics().lineSpacing()));
            view->setItemDelegate(m_plainDelegate);
            m_model->SetDecoration(FadListModel::Decoration::Large);
        }
    }
    view->setMovement(QListView::Static);
    view->setResizeMode(QListView::Adjust);
    view->setSpacing(0);
    // Changing the mode turns the view's own dragging back on; files come in, none go out.
    view->setDragEnabled(false);
    view->setDragDropMode(QAbstractItemView::NoDragDrop);
    view->viewport()->setAcceptDrops(true);
}

void VeFadListCtrlBase::SetViewMode(ViewMode mode)
{
    if (mode == ViewMode::Thumbnails) {
        if (!m_thumbnails->HasImageList())
            m_thumbnails->Reset(kInitialThumbnails);
        if (!m_pending.empty()) {
            std::vector<ThumbnailRequest> batch;
            for (int32_t id : m_pending) {
                const int row = m_model->RowOfKey(id);
                if (row >= 0)
                    batch.push_back(ThumbnailRequest{id, m_model->At(row).path});
            }
            m_pending.clear();
            m_pendingSet.clear();
            m_thumbnails->RequestMany(std::move(batch));
        }
    }
    if (mode == m_mode)
        return;
    const bool hadFocus = ActiveView()->hasFocus();
    QAbstractItemView* before = ActiveView();
    m_mode = mode;
    m_thumbnails->SetThumbnailsOn(mode == ViewMode::Thumbnails);
    if (mode == ViewMode::Details) {
        m_model->SetDecoration(FadListModel::Decoration::Small);
    } else {
        ConfigureIconView(mode);
    }
    QAbstractItemView* after = ActiveView();
    if (after != before) {
        after->setGeometry(rect());
        after->show();
        before->hide();
        setFocusProxy(after);
        if (hadFocus)
            after->setFocus(Qt::OtherFocusReason);
    }
    const QModelIndex current = after->selectionModel()->currentIndex();
    if (current.isValid())
        after->scrollTo(current);
    if (mode == ViewMode::Thumbnails && RowCount() > 0)
        RequestRows(0, RowCount() - 1);
    after->viewport()->update();
}

void VeFadListCtrlBase::resizeEvent(QResizeEvent*)
{
    m_iconView->setGeometry(rect());
    m_detailsView->setGeometry(rect());
}

// ---- thumbnails --------------------------------------------------------------------------

void VeFadListCtrlBase::RequestRows(int first, int last)
{
    std::vector<ThumbnailRequest> batch;
    batch.reserve(size_t(std::max(0, last - first + 1)));
    for (int row = std::max(0, first); row <= last && row < RowCount(); ++row) {
        const FadItem& r = m_model->At(row);
        batch.push_back(ThumbnailRequest{r.key, r.path});
    }
    if (!batch.empty())
        m_thumbnails->RequestMany(std::move(batch));
}

std::pair<int, int> VeFadListCtrlBase::VisibleRows() const
{
    const int count = RowCount();
    QAbstractItemView* view = ActiveView();
    const QRect area = view->viewport()->rect();
    if (count == 0 || area.isEmpty())
        return {-1, -1};
    // Rows are laid out in display order, so the visible ones form one run.
    auto rectOf = [&](int row) { return view->visualRect(m_model->index(row, 0)); };
    int lo = 0;
    int hi = count;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (rectOf(mid).bottom() < area.top())
            lo = mid + 1;
        else
            hi = mid;
    }
    const int first = lo;
    lo = first;
    hi = count;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (rectOf(mid).top() <= area.bottom())
            lo = mid + 1;
        else
            hi = mid;
    }
    const int last = lo - 1;
    if (first >= count || last < first)
        return {-1, -1};
    return {first, last};
}

void VeFadListCtrlBase::RequestVisibleRows()
{
    if (m_mode != ViewMode::Thumbnails)
        return;
    const auto [first, last] = VisibleRows();
    if (first >= 0)
        RequestRows(first, last);
}

void VeFadListCtrlBase::ScheduleVisibleRequest()
{
    if (m_visibleRequestQueued || m_mode != ViewMode::Thumbnails)
        return;
    m_visibleRequestQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_visibleRequestQueued = false;
        RequestVisibleRows();
    });
}

QPixmap VeFadListCtrlBase::CellPixmap(int row)
{
    if (m_mode != ViewMode::Thumbnails || row < 0 || row >= RowCount())
        return QPixmap();
    const uint64_t generation = m_thumbnails->ImageListGeneration();
    if (generation != m_cellGeneration) {
        m_cellPixmaps.clear();
        m_cellGeneration = generation;
    }
    const FadItem& r = m_model->At(row);
    const int index = m_thumbnails->ImageIndexFor(r.key, r.path);
    if (index < 0)
        return QPixmap();
    auto found = m_cellPixmaps.constFind(index);
    if (found != m_cellPixmaps.cend())
        return *found;
    const QPixmap pixmap = QPixmap::fromImage(m_thumbnails->Image(index));
    if (m_cellPixmaps.size() >= kMaxCellPixmaps)
        m_cellPixmaps.clear();
    m_cellPixmaps.insert(index, pixmap);
    return pixmap;
}

void VeFadListCtrlBase::OnThumbReady(int32_t key)
{
    if (m_mode != ViewMode::Thumbnails)
        return;
    const int row = m_model->RowOfKey(key);
    if (row >= 0)
        m_iconView->update(m_model->index(row, 0));
    // Trimmed in steps of an eighth, so that a pass over the rows is not paid per thumbnail.
    if (m_thumbnails->ThumbnailCount() > m_thumbnailBudget + m_thumbnailBudget / 8)
        TrimThumbnails();
}

void VeFadListCtrlBase::TrimThumbnails()
{
    // The rows on the screen and a screen either side stay.
    std::vector<int32_t> keep;
    const auto [first, last] = VisibleRows();
    if (first >= 0) {
        const int screen = last - first + 1;
        for (int row = std::max(0, first - screen); row <= std::min(RowCount() - 1, last + screen); ++row)
            keep.push_back(m_model->At(row).key);
    }
    for (const int index : m_thumbnails->TrimThumbnails(size_t(m_thumbnailBudget), keep))
        m_cellPixmaps.remove(index);
}

bool VeFadListCtrlBase::event(QEvent* event)
{
    if (event->type() == kThumbReadyEvent) {
        OnThumbReady(static_cast<ThumbEvent*>(event)->ItemId());
        return true;
    }
    if (event->type() == kThumbListResetEvent) {
        m_cellPixmaps.clear();
        if (m_mode == ViewMode::Thumbnails)
            m_iconView->viewport()->update();
        return true;
    }
    if (event->type() == PhotoFileScanEvent::Type()) {
        TakeScanResults(static_cast<PhotoFileScanEvent&>(*event));
        return true;
    }
    return DispatchCommandEvent(*this, event) || QWidget::event(event);
}

} // namespace tessary
