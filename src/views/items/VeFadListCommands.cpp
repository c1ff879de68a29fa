// The item list's commands: arranging, sorting, selecting, renaming, deleting, sending,
// adding, the viewer entry and the context menu.

#include "VeFadListCtrlBase.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCollator>
#include <QCursor>
#include <QGuiApplication>
#include <QHeaderView>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QTreeView>

#include "FadListModel.h"
#include "FileDetails.h"
#include "album/Collections.h"
#include "album/PhotoOperations.h"
#include "thumbcache/PreviewThumbnails.h"
#include "thumbcache/ThumbnailList.h"
#include "views/adding/PhotoCommands.h"
#include "views/common/BusyWork.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"
#include "views/menus/MenuResources.h"

namespace tessary {

namespace {

QString NameOf(const FadItem& row)
{
    return row.item ? row.item->Name() : QString();
}

} // namespace

bool VeFadListCtrlBase::HandleCommand(int commandId)
{
    switch (commandId) {
    case cmd::kViewThumbnails: SetViewMode(ViewMode::Thumbnails); return true;
    case cmd::kViewIcons: SetViewMode(ViewMode::Icons); return true;
    case cmd::kViewList: SetViewMode(ViewMode::List); return true;
    case cmd::kViewDetails: SetViewMode(ViewMode::Details); return true;
    case cmd::kArrangeByName: ArrangeByName(); return true;
    case cmd::kArrangeByDateAdded: ArrangeByDateAdded(); return true;
    case cmd::kItemRefresh: Refresh(); return true;
    case cmd::kSendToFolder: SendSelectedToFolder(); return true;
    case cmd::kItemPaste: AddFromMime(QGuiApplication::clipboard()->mimeData(), false); return true;
    case cmd::kDelete: DeleteSelected(); return true;
    case cmd::kItemRename: StartRename(); return true;
    case cmd::kSelectAll: SelectAll(); return true;
    case cmd::kSelectInverse: SelectInverse(); return true;
    case cmd::kAddPhotos: AddPhotos(); return true;
    default: return false;
    }
}

void VeFadListCtrlBase::ArrangeByName()
{
    if (RowCount() < 2)
        return;
    const WaitCursor wait;
    // Plain code-unit order: "B" before "b".
    m_model->Sort([](const FadItem& a, const FadItem& b) { return NameOf(a) < NameOf(b); });
    ForgetHeaderSort();
}

void VeFadListCtrlBase::ArrangeByDateAdded()
{
    if (RowCount() < 2)
        return;
    const WaitCursor wait;
    m_model->Sort([](const FadItem& a, const FadItem& b) {
        if (!a.item || !b.item)
            return a.item != nullptr && b.item == nullptr;
        return a.item->DateAdded() < b.item->DateAdded();
    });
    ForgetHeaderSort();
}

void VeFadListCtrlBase::ForgetHeaderSort()
{
    m_sortColumn = -1;
    m_detailsView->header()->setSortIndicatorShown(false);
    m_model->SetSortedColumn(-1);
}

void VeFadListCtrlBase::SortByColumn(int column)
{
    if (column < 0 || column >= FadListModel::kColumnCount)
        return;
    m_sortAscending = column != m_sortColumn || !m_sortAscending;
    m_sortColumn = column;
    QHeaderView* header = m_detailsView->header();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, m_sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    m_model->SetSortedColumn(column);
    if (RowCount() < 2)
        return;
    const WaitCursor wait;
    // File views sort "photo 9" before "photo 10"; the C locale's collation cannot.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    auto byName = [&collator](const FadItem& a, const FadItem& b) { return collator.compare(NameOf(a), NameOf(b)); };
    auto compare = [&](const FadItem& a, const FadItem& b) -> int {
        switch (column) {
        case FadListModel::kName: return byName(a, b);
        case FadListModel::kSize:
            if (a.size != b.size)
                return a.size < b.size ? -1 : 1;
            return byName(a, b);
        case FadListModel::kType:
            if (const int c = collator.compare(FileTypeText(a.path), FileTypeText(b.path)))
                return c;
            return byName(a, b);
        case FadListModel::kModified:
            if (a.modifiedMs != b.modifiedMs)
                return a.modifiedMs < b.modifiedMs ? -1 : 1;
            return byName(a, b);
        default: {
            QCollator plain(locale);
            return plain.compare(a.location, b.location);
        }
        }
    };
    const bool ascending = m_sortAscending;
    m_model->Sort([&](const FadItem& a, const FadItem& b) {
        const int c = compare(a, b);
        return ascending ? c < 0 : c > 0;
    });
}

void VeFadListCtrlBase::Refresh()
{
    if (RowCount() == 0)
        return;
    PreviewThumbnails::Instance().Clear();
    m_thumbnails->ForgetThumbnails();
    m_cellPixmaps.clear();
    if (!m_shown) {
        ActiveView()->viewport()->update();
        return;
    }
    Collection* shown = m_shown;
    Empty();
    m_shown = shown;
    StartFill();
}

bool VeFadListCtrlBase::StartRename()
{
    const std::vector<int> rows = SelectedRows();
    if (rows.size() != 1)
        return false;
    QAbstractItemView* view = ActiveView();
    const QModelIndex index = m_model->index(rows.front(), FadListModel::kName);
    if (!index.isValid())
        return false;
    view->scrollTo(index);
    view->setCurrentIndex(index);
    view->edit(index);
    const QWidget* focus = QApplication::focusWidget();
    return focus && view->viewport()->isAncestorOf(focus);
}

void VeFadListCtrlBase::OnRenameRequested(int row, const QString& text)
{
    if (row < 0 || row >= RowCount())
        return;
    Item* item = m_model->At(row).item;
    const QString name = text.trimmed();
    if (!item || name.isEmpty() || name == item->Name())
        return;
    item->SetName(name);
    m_model->RowChanged(row);
    emit ItemRenamed(item);
    emit ItemsChanged();
}

void VeFadListCtrlBase::SelectAll()
{
    if (RowCount() == 0)
        return;
    QItemSelectionModel* selection = m_iconView->selectionModel();
    selection->select(QItemSelection(m_model->index(0, 0),
                                     m_model->index(RowCount() - 1, FadListModel::kColumnCount - 1)),
                      QItemSelectionModel::ClearAndSelect);
}

void VeFadListCtrlBase::SelectInverse()
{
    if (RowCount() == 0)
        return;
    QItemSelectionModel* selection = m_iconView->selectionModel();
    selection->select(QItemSelection(m_model->index(0, 0),
                                     m_model->index(RowCount() - 1, FadListModel::kColumnCount - 1)),
                      QItemSelectionModel::Toggle);
}

bool VeFadListCtrlBase::DeleteSelected()
{
    const std::vector<Item*> items = SelectedItems();
    if (items.empty())
        return false;
    std::set<int32_t> keys;
    for (const Item* item : items)
        keys.insert(FadRowKey(*item));
    const int focusRow = SelectedRows().front();
    if (!m_commands->ConfirmDelete(this, items))
        return false;
    // The rows go first: the views read their items while the rows are taken out.
    RemoveRowsWithKeys(keys);
    RemoveItems(items);
    if (RowCount() > 0) {
        const int row = std::min(focusRow, RowCount() - 1);
        m_iconView->selectionModel()->setCurrentIndex(m_model->index(row, 0), QItemSelectionModel::NoUpdate);
    }
    emit ItemsChanged();
    return true;
}

int VeFadListCtrlBase::SendSelectedToFolder()
{
    const std::vector<Item*> items = SelectedItems();
    if (items.empty())
        return 0;
    const std::vector<const Item*> constItems(items.begin(), items.end());
    const int copied = m_commands->SendToFolder(this, constItems);
    ActiveView()->setFocus(Qt::OtherFocusReason);
    return copied;
}

void VeFadListCtrlBase::AddNewItems(const std::vector<Item*>& items)
{
    if (items.empty())
        return;
    std::vector<int> rows;
    for (Item* item : items) {
        const int row = AddRow(item->FirstPhotoPath(), item);
        if (row >= 0)
            rows.push_back(row);
    }
    SelectRows(rows);
    ActiveView()->setFocus(Qt::OtherFocusReason);
    emit ItemsChanged();
}

void VeFadListCtrlBase::AddFromMime(const QMimeData* data, bool asDrop)
{
    if (!m_shown)
        return;
    // The list's own collection may be "All Collections": the commands say it is refused.
    const std::vector<Item*> added =
        asDrop ? m_commands->Drop(this, m_shown, data) : m_commands->Paste(this, m_shown, data);
    AddNewItems(added);
    if (asDrop)
        ActiveView()->setFocus(Qt::OtherFocusReason);
}

void VeFadListCtrlBase::AddPhotos()
{
    if (!m_shown)
        return;
    AddNewItems(m_commands->AddPhotos(this, m_shown));
}

void VeFadListCtrlBase::OpenCurrentInViewer()
{
    const int current = CurrentRow();
    if (current < 0)
        return;
    const std::vector<int> selected = SelectedRows();
    QStringList paths;
    int start = 0;
    if (selected.size() > 1) {
        for (int row : selected) {
            if (row == current)
                start = int(paths.size());
            paths << m_model->At(row).path;
        }
    } else {
        for (int row = 0; row < RowCount(); ++row)
            paths << m_model->At(row).path;
        start = current;
    }
    emit OpenViewer(paths, start);
}

void VeFadListCtrlBase::OpenRowInViewer(int row)
{
    if (row < 0 || row >= RowCount())
        return;
    QStringList paths;
    for (int r = 0; r < RowCount(); ++r)
        paths << m_model->At(r).path;
    emit OpenViewer(paths, row);
}

std::unique_ptr<QMenu> VeFadListCtrlBase::ContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    FillMenu(*menu, MenuResource(kMenuItemListContext).items);
    const int rows = RowCount();
    const size_t selected = SelectedRows().size();
    auto enable = [&menu](int id, bool on) {
        if (QAction* a = FindAction(*menu, id))
            a->setEnabled(on);
    };
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    enable(cmd::kArrangeByName, rows >= 2);
    enable(cmd::kArrangeByDateAdded, rows >= 2);
    enable(cmd::kItemRefresh, rows > 0);
    enable(cmd::kItemPaste, m_shown && m_shown->Id() > 0 && !PhotoCommands::LocalFiles(clipboard).isEmpty());
    enable(cmd::kSendToFolder, selected > 0);
    enable(cmd::kDelete, selected > 0);
    enable(cmd::kItemRename, selected == 1);
    enable(cmd::kSelectAll, rows > 0);
    enable(cmd::kSelectInverse, rows > 0);
    const int modes[] = {cmd::kViewThumbnails, cmd::kViewIcons, cmd::kViewList, cmd::kViewDetails};
    auto* group = new QActionGroup(menu.get());
    for (int i = 0; i < 4; ++i) {
        if (QAction* a = FindAction(*menu, modes[i])) {
            a->setCheckable(true);
            a->setChecked(int(m_mode) == i);
            group->addAction(a);
        }
    }
    return menu;
}

void VeFadListCtrlBase::ShowContextMenu(const QPoint& globalPos)
{
    std::unique_ptr<QMenu> menu = ContextMenu();
    if (QAction* chosen = menu->exec(globalPos))
        HandleCommand(CommandIdOf(chosen));
}

} // namespace tessary
