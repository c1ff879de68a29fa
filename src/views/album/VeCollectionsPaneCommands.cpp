// The naming, deleting, moving and sorting commands of the collections pane.

#include "VeCollectionsPane.h"

#include <algorithm>
#include <vector>

#include "CollectionRow.h"
#include "album/Album.h"
#include "views/common/UserPrompts.h"

namespace tessary {

namespace {

const QString kAllCollectionsName = QStringLiteral("All Collections");

} // namespace

bool VeCollectionsPane::IsEditing() const
{
    return editedRow_ != nullptr;
}

bool VeCollectionsPane::StartEdit(CollectionRow* row)
{
    if (!album_ || !row || IndexOf(row) < 0 || row->GetKind() == CollectionRow::Kind::All)
        return false;
    CancelEdit();
    EnsureVisible(row);
    editedRow_ = row;
    edit_->setText(row->IsReal() ? row->GetCollection().Name() : album_->GetCollections().NewDefaultName());
    PlaceEditBox();
    edit_->ShowWithFocus();
    return true;
}

void VeCollectionsPane::PlaceEditBox()
{
    if (!editedRow_)
        return;
    const QRect rect = RowRect(editedRow_);
    edit_->PlaceInCell(QRect(rect.left() + kEditLeft, rect.top(), std::max(rect.width() - kEditLeft, 1), rect.height()));
}

void VeCollectionsPane::CancelEdit()
{
    if (edit_->IsOpen())
        edit_->CancelEdit();
    editedRow_ = nullptr;
    edit_->hide();
}

void VeCollectionsPane::Refuse(const QString& text)
{
    prompts_.ShowMessage(this, InformationMessage(text));
}

bool VeCollectionsPane::CommitEdit()
{
    if (!editedRow_ || !album_)
        return false;
    return edit_->EndEdit();
}

bool VeCollectionsPane::CellEditMayEnd(VeCellEdit& editor)
{
    if (!editedRow_ || !album_)
        return true;
    const QString name = editor.text().trimmed();
    if (name == kAllCollectionsName) {
        Refuse(QStringLiteral("Invalid collection name. Please try another name."));
        return false;
    }
    const Collection* self = editedRow_->IsReal() ? &editedRow_->GetCollection() : nullptr;
    if (album_->GetCollections().FindByName(name, self)) {
        Refuse(QStringLiteral("Collection \"") + name + QStringLiteral("\" already exists. Please try another name."));
        return false;
    }
    return true;
}

void VeCollectionsPane::CellEditEnded(VeCellEdit& editor, int endCode)
{
    CollectionRow* row = editedRow_;
    editedRow_ = nullptr;
    if (!VeCellEdit::IsCommitCode(endCode) || !row || !album_ || IndexOf(row) < 0)
        return;
    TakeName(row, editor.text().trimmed());
}

void VeCollectionsPane::TakeName(CollectionRow* row, const QString& name)
{
    if (name.isEmpty())
        return;
    Collections& list = album_->GetCollections();
    if (row->IsReal()) {
        Collection& c = row->GetCollection();
        if (c.Name() != name) {
            c.SetName(name);
            UpdateRow(row);
            emit CollectionRenamed(&c);
        }
        return;
    }
    if (Collection* c = list.Add(name)) {
        auto added = std::make_unique<CollectionRow>(*c, CollectionRow::Kind::Real);
        CollectionRow* newRow = added.get();
        InsertRow(RowCount() - 1, std::move(added));
        SelectRow(newRow);
        EnsureVisible(newRow);
    }
}

bool VeCollectionsPane::StartAdd()
{
    if (!album_ || RowCount() == 0)
        return false;
    return StartEdit(CollectionRowAt(RowCount() - 1));
}

bool VeCollectionsPane::StartRenameSelected()
{
    return StartEdit(SelectedRealRow());
}

bool VeCollectionsPane::DeleteSelected()
{
    CollectionRow* row = SelectedRealRow();
    if (!album_ || !row)
        return false;
    Collection& c = row->GetCollection();
    QString text = QStringLiteral("Are you sure you want to delete collection \"") + c.Name() + QStringLiteral("\"?");
    if (c.GetItems().Count() > 0)
        text += QStringLiteral("\n\nNote: all items in this collection will also be deleted.");
    if (prompts_.ShowMessage(this, YesNoQuestion(text, QStringLiteral("Confirm Collection Delete"))) !=
        QMessageBox::Yes)
        return false;
    if (IndexOf(row) < 0 || !album_->GetCollections().Contains(&c))
        return false;
    if (editedRow_ == row)
        CancelEdit();
    EndDrag();
    const int index = IndexOf(row);
    RemoveRow(row, false);
    emit CollectionAboutToBeDeleted(&c);
    album_->GetCollections().Remove(&c);
    // The row below takes the place, unless the deleted one was the last real row.
    SelectRow(RowAtIndex(index <= RealRowCount() ? index : index - 1));
    EnsureVisible(FirstSelected());
    setFocus(Qt::OtherFocusReason);
    return true;
}

bool VeCollectionsPane::MoveSelectedTo(int position)
{
    return MoveRealRow(SelectedRealRow(), position);
}

bool VeCollectionsPane::MoveRealRow(CollectionRow* row, int position)
{
    if (!album_ || !row || !row->IsReal() || IndexOf(row) < 0)
        return false;
    const int target = std::clamp(position, 0, RealRowCount() - 1) + 1;
    const int from = IndexOf(row);
    if (from == target)
        return false;
    MoveRow(from, target);
    SyncAlbumOrder();
    viewport()->update();
    EnsureVisible(row);
    PlaceEditBox();
    return true;
}

bool VeCollectionsPane::SortRows(bool ascending)
{
    if (!album_)
        return false;
    bool moved = false;
    const int first = 1;
    const int last = RealRowCount();
    for (int i = first; i <= last; ++i) {
        for (int j = i + 1; j <= last; ++j) {
            const QString& a = CollectionRowAt(i)->GetCollection().Name();
            const QString& b = CollectionRowAt(j)->GetCollection().Name();
            if (ascending ? b < a : a < b) {
                MoveRow(j, i);
                MoveRow(i + 1, j);
                moved = true;
            }
        }
    }
    if (moved) {
        SyncAlbumOrder();
        viewport()->update();
        PlaceEditBox();
    }
    return moved;
}

void VeCollectionsPane::SyncAlbumOrder()
{
    std::vector<Collection*> order;
    order.reserve(size_t(RealRowCount()));
    for (int i = 1; i <= RealRowCount(); ++i)
        order.push_back(&CollectionRowAt(i)->GetCollection());
    album_->GetCollections().Reorder(order);
}

} // namespace tessary
