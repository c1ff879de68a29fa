// The context menus of the tags pane and their commands.

#include "VeTagListCtrlBase.h"

#include <vector>

#include <QMenu>

#include "TagRow.h"
#include "album/Collections.h"
#include "album/Items.h"
#include "album/Tags.h"
#include "views/common/UserPrompts.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"

namespace tessary {

std::unique_ptr<QMenu> VeTagListCtrlBase::ContextMenuFor(const TagRow* row, bool valueColumn)
{
    auto menu = std::make_unique<QMenu>(this);
    FillMenu(*menu, MenuResource(valueColumn ? kMenuTagValueContext : kMenuTagContext).items);
    auto enable = [&menu](int id, bool on) {
        if (QAction* a = FindAction(*menu, id))
            a->setEnabled(on);
    };
    const int n = RowCount();
    const int index = row ? IndexOf(row) : -1;
    const bool real = row && index >= 0 && row->IsReal();
    if (valueColumn) {
        bool anyValue = false;
        for (int i = 0; i < TagRowCount() && !anyValue; ++i)
            anyValue = !ValueOf(TagRowAt(i)->GetTag()).isEmpty();
        enable(cmd::kEditValue, real);
        enable(cmd::kClearValue, real && !ValueOf(row->GetTag()).isEmpty());
        enable(cmd::kClearAllValues, anyValue);
        return menu;
    }
    enable(cmd::kAdd, tags_ != nullptr);
    enable(cmd::kDelete, real);
    enable(cmd::kRename, real);
    enable(cmd::kDeleteAllTags, n >= 2);
    enable(cmd::kMoveToTop, real && index > 0);
    enable(cmd::kMoveUp, real && index > 0);
    enable(cmd::kMoveDown, real && n != index + 2);
    enable(cmd::kMoveToBottom, real && n != index + 2);
    enable(cmd::kTagSortAscending, n >= 3);
    enable(cmd::kTagSortDescending, n >= 3);
    return menu;
}

bool VeTagListCtrlBase::RunCommand(int commandId)
{
    if (!item_ || !tags_)
        return false;
    TagRow* row = FirstSelectedTag();
    const int index = row ? IndexOf(row) : -1;
    switch (commandId) {
    case cmd::kAdd:
        return StartNameEdit(TagRowAt(TagRowCount()));
    case cmd::kDelete:
        return DeleteTag(row);
    case cmd::kRename:
        return StartNameEdit(row);
    case cmd::kDeleteAllTags:
        return DeleteAllTags();
    case cmd::kMoveToTop:
        return MoveTag(row, 0);
    case cmd::kMoveUp:
        return MoveTag(row, index - 1);
    case cmd::kMoveDown:
        return MoveTag(row, index + 1);
    case cmd::kMoveToBottom:
        return MoveTag(row, TagRowCount() - 1);
    case cmd::kTagSortAscending:
        return SortTags(true);
    case cmd::kTagSortDescending:
        return SortTags(false);
    case cmd::kEditValue:
        return StartValueEdit(row);
    case cmd::kClearValue:
        return ClearValue(row);
    case cmd::kClearAllValues:
        return ClearAllValues();
    default:
        return false;
    }
}

bool VeTagListCtrlBase::DeleteTag(TagRow* row)
{
    if (!item_ || !tags_ || !row || !row->IsReal() || IndexOf(row) < 0)
        return false;
    const int32_t id = row->GetTag().Id();
    const QString text = QStringLiteral("Are you sure you want to delete tag \"") + row->GetTag().Name() +
                         QStringLiteral("\"?\n\n") +
                         QStringLiteral("Note: all values for this tag in current album will be lost.");
    if (Prompts().ShowMessage(this, YesNoQuestion(text, QStringLiteral("Confirm Tag Delete"))) != QMessageBox::Yes)
        return false;
    // The question may have let the pane be unbound or rebuilt.
    Tag* tag = tags_ ? tags_->FindById(id) : nullptr;
    if (!tag || IndexOf(row) < 0 || &row->GetTag() != tag)
        return false;
    if (activeEditor_)
        activeEditor_->CancelEdit();
    EndDrag();
    RemoveRow(row, true);
    tags_->Remove(tag);
    Announce(kChangedDeleted);
    return true;
}

bool VeTagListCtrlBase::DeleteAllTags()
{
    if (!item_ || !tags_ || TagRowCount() < 1)
        return false;
    const QString text = QStringLiteral("Are you sure you want to delete all existing tags?\n\n") +
                         QStringLiteral("Note: values for all tags in current album will be lost.");
    if (Prompts().ShowMessage(this, YesNoQuestion(text, QStringLiteral("Confirm Delete All Tags"))) !=
        QMessageBox::Yes)
        return false;
    if (!tags_)
        return false;
    if (activeEditor_)
        activeEditor_->CancelEdit();
    EndDrag();
    for (int i = TagRowCount() - 1; i >= 0; --i)
        RemoveRow(TagRowAt(i), true);
    tags_->Owner().GetItems().ClearAllTagValues();
    tags_->Clear(false);
    viewport()->update();
    Announce(kChangedDeleted);
    return true;
}

bool VeTagListCtrlBase::MoveTag(TagRow* row, int position)
{
    if (!tags_ || !row || !row->IsReal() || IndexOf(row) < 0)
        return false;
    const int target = std::clamp(position, 0, TagRowCount() - 1);
    const int from = IndexOf(row);
    if (from == target)
        return false;
    MoveRow(from, target);
    SyncTagOrder();
    viewport()->update();
    EnsureVisible(row);
    PlaceEditor();
    Announce(kChangedOrder);
    return true;
}

bool VeTagListCtrlBase::SortTags(bool ascending)
{
    if (!tags_ || TagRowCount() < 2)
        return false;
    bool moved = false;
    const int last = TagRowCount() - 1;
    for (int i = 0; i < last; ++i) {
        for (int j = i + 1; j <= last; ++j) {
            // Plain code-unit order: upper case before lower case.
            const int c = QString::compare(TagRowAt(i)->GetTag().Name(), TagRowAt(j)->GetTag().Name(),
                                           Qt::CaseSensitive);
            if (ascending ? c > 0 : c < 0) {
                MoveRow(j, i);
                MoveRow(i + 1, j);
                moved = true;
            }
        }
    }
    SyncTagOrder();
    if (moved) {
        viewport()->update();
        PlaceEditor();
    }
    Announce(kChangedOrder);
    return moved;
}

void VeTagListCtrlBase::SyncTagOrder()
{
    std::vector<Tag*> order;
    order.reserve(size_t(TagRowCount()));
    for (int i = 0; i < TagRowCount(); ++i)
        order.push_back(tags_->FindById(TagRowAt(i)->GetTag().Id()));
    tags_->Reorder(order);
}

bool VeTagListCtrlBase::ClearValue(TagRow* row)
{
    if (!item_ || !row || !row->IsReal() || IndexOf(row) < 0)
        return false;
    if (row == editingRow_ && activeEditor_)
        activeEditor_->CancelEdit();
    item_->SetTagValue(row->GetTag().Id(), QString());
    UpdateRow(row);
    Announce(kChangedValue);
    return true;
}

bool VeTagListCtrlBase::ClearAllValues()
{
    if (!item_ || TagRowCount() < 1)
        return false;
    if (activeEditor_ == valueEditor_)
        activeEditor_->CancelEdit();
    for (int i = TagRowCount() - 1; i >= 0; --i)
        item_->SetTagValue(TagRowAt(i)->GetTag().Id(), QString());
    item_->GetRecords().Clear();
    viewport()->update();
    Announce(kChangedValue);
    return true;
}

} // namespace tessary
