#include "VeCollectionsPane.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMenu>

#include "CollectionRow.h"
#include "album/Album.h"
#include "views/common/NotifyCodes.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"

namespace tessary {

VeCollectionsPane::VeCollectionsPane(UserPrompts& prompts, QWidget* parent) : VeListBox(parent), prompts_(prompts)
{
    SetRowHeight(CollectionRow::kHeight);
    edit_ = new VeCellEdit(*this, Qt::AlignLeft, kEditFrameColor, viewport(), kEditMaxLength);
    edit_->SetFocusTarget(this);
    connect(this, &RowListBase::Notify, this, [this](int code) {
        if (code == kNotifySelectionChanged)
            StoreHotId();
    });
}

VeCollectionsPane::~VeCollectionsPane()
{
    // The editor must not report to a pane that is half gone.
    editedRow_ = nullptr;
    album_ = nullptr;
    delete edit_;
}

void VeCollectionsPane::SetAlbum(Album* album)
{
    CancelEdit();
    EndDrag();
    RowListBase::Clear();
    album_ = album;
    if (!album_)
        return;
    Collections& list = album_->GetCollections();
    AddRow(std::make_unique<CollectionRow>(list.AllCollections(), CollectionRow::Kind::All));
    for (Collection& c : list)
        AddRow(std::make_unique<CollectionRow>(c, CollectionRow::Kind::Real));
    AddRow(std::make_unique<CollectionRow>(list.AddPlaceholder(), CollectionRow::Kind::Add));
    CollectionRow* hot = list.HotId() > 0 ? RowOf(list.FindById(list.HotId())) : nullptr;
    SelectRow(hot ? hot : RowAtIndex(0));
    EnsureVisible(FirstSelected());
}

void VeCollectionsPane::Clear()
{
    SetAlbum(nullptr);
}

CollectionRow* VeCollectionsPane::CollectionRowAt(int index) const
{
    return static_cast<CollectionRow*>(RowAtIndex(index));
}

CollectionRow* VeCollectionsPane::RowOf(const Collection* collection) const
{
    if (!collection)
        return nullptr;
    for (int i = 0; i < RowCount(); ++i) {
        if (&CollectionRowAt(i)->GetCollection() == collection)
            return CollectionRowAt(i);
    }
    return nullptr;
}

int VeCollectionsPane::RealRowCount() const
{
    return RowCount() >= 2 ? RowCount() - 2 : 0;
}

Collection* VeCollectionsPane::SelectedCollection() const
{
    const auto* row = static_cast<const CollectionRow*>(FirstSelected());
    return album_ && row ? &row->GetCollection() : nullptr;
}

CollectionRow* VeCollectionsPane::SelectedRealRow() const
{
    for (int i = RealRowCount(); i >= 1; --i) {
        if (CollectionRowAt(i)->IsSelected())
            return CollectionRowAt(i);
    }
    return nullptr;
}

void VeCollectionsPane::SelectRow(Row* row)
{
    // One announcement for the whole change, so that listeners never see the empty
    // selection in between.
    const bool wasSelected = row && row->IsSelected();
    const bool othersChanged = SelectOnly(row, false);
    const bool selected = row && Select(row, true, false);
    if (othersChanged || (selected && !wasSelected))
        emit Notify(kNotifySelectionChanged);
}

void VeCollectionsPane::StoreHotId()
{
    if (!album_)
        return;
    const Collection* c = SelectedCollection();
    album_->GetCollections().SetHotId(c && c->Id() > 0 ? c->Id() : 0);
}

std::unique_ptr<QMenu> VeCollectionsPane::ContextMenuFor(const CollectionRow* row)
{
    auto menu = std::make_unique<QMenu>(this);
    FillMenu(*menu, MenuResource(kMenuCollectionsContext).items);
    const int index = row ? IndexOf(row) : -1;
    const bool real = row && row->IsReal();
    const bool first = real && index == 1;
    const bool last = real && index == RealRowCount();
    auto enable = [&menu](int id, bool on) {
        if (QAction* a = FindAction(*menu, id))
            a->setEnabled(on);
    };
    enable(cmd::kAdd, album_ != nullptr);
    enable(cmd::kRename, real);
    enable(cmd::kDelete, real);
    enable(cmd::kMoveToTop, real && !first);
    enable(cmd::kMoveUp, real && !first);
    enable(cmd::kMoveDown, real && !last);
    enable(cmd::kMoveToBottom, real && !last);
    enable(cmd::kCollectionSortAscending, RowCount() >= 4);
    enable(cmd::kCollectionSortDescending, RowCount() >= 4);
    return menu;
}

bool VeCollectionsPane::RunCommand(int commandId)
{
    const CollectionRow* row = SelectedRealRow();
    const int position = row ? IndexOf(row) - 1 : -1;
    switch (commandId) {
    case cmd::kAdd:
        return StartAdd();
    case cmd::kRename:
        return StartRenameSelected();
    case cmd::kDelete:
        return DeleteSelected();
    case cmd::kMoveToTop:
        return row && MoveSelectedTo(0);
    case cmd::kMoveUp:
        return row && MoveSelectedTo(position - 1);
    case cmd::kMoveDown:
        return row && MoveSelectedTo(position + 1);
    case cmd::kMoveToBottom:
        return row && MoveSelectedTo(RealRowCount() - 1);
    case cmd::kCollectionSortAscending:
        return SortRows(true);
    case cmd::kCollectionSortDescending:
        return SortRows(false);
    default:
        return false;
    }
}

void VeCollectionsPane::OnRightButtonPressed(Row* row, const QPoint&, Qt::KeyboardModifiers)
{
    if (!album_)
        return;
    std::unique_ptr<QMenu> menu = ContextMenuFor(static_cast<CollectionRow*>(row));
    if (QAction* chosen = menu->exec(QCursor::pos()))
        RunCommand(CommandIdOf(chosen));
}

void VeCollectionsPane::OnDoubleClicked(Row* row, const QPoint&, Qt::KeyboardModifiers)
{
    auto* r = static_cast<CollectionRow*>(row);
    if (r && r->GetKind() != CollectionRow::Kind::All)
        StartEdit(r);
}

void VeCollectionsPane::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        DeleteSelected();
        event->accept();
        return;
    }
    VeListBox::keyPressEvent(event);
}

void VeCollectionsPane::resizeEvent(QResizeEvent* event)
{
    VeListBox::resizeEvent(event);
    PlaceEditBox();
}

void VeCollectionsPane::scrollContentsBy(int dx, int dy)
{
    VeListBox::scrollContentsBy(dx, dy);
    PlaceEditBox();
}

} // namespace tessary
