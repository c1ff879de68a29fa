#include "VeTagListCtrlBase.h"

#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include "TagRow.h"
#include "album/Collections.h"
#include "album/Items.h"
#include "album/Tags.h"
#include "search/SearchEngine.h"
#include "views/common/NotifyCodes.h"
#include "views/common/UserPrompts.h"
#include "views/menus/MenuBuilder.h"

namespace tessary {

VeTagListCtrlBase::VeTagListCtrlBase(UserPrompts* prompts, QWidget* parent)
    : RowListBase(parent),
      prompts_(prompts),
      nameEditor_(new VeCellEdit(*this, Qt::AlignRight, kEditFrameColor, viewport())),
      valueEditor_(new VeCellEdit(*this, Qt::AlignLeft, kEditFrameColor, viewport()))
{
    setObjectName(QStringLiteral("tags"));
    nameEditor_->SetFocusTarget(this);
    valueEditor_->SetFocusTarget(this);
}

VeTagListCtrlBase::~VeTagListCtrlBase()
{
    // The editors must not report to a pane that is half gone.
    editingRow_ = nullptr;
    activeEditor_ = nullptr;
    item_ = nullptr;
    tags_ = nullptr;
    delete nameEditor_;
    delete valueEditor_;
}

void VeTagListCtrlBase::SetPrompts(UserPrompts* prompts)
{
    prompts_ = prompts;
}

UserPrompts& VeTagListCtrlBase::Prompts() const
{
    static UserPrompts realBoxes;
    return prompts_ ? *prompts_ : realBoxes;
}

void VeTagListCtrlBase::BindItem(Item* item, bool highlight)
{
    if (item != item_) {
        nextValueFor_ = nullptr;
        if (activeEditor_)
            activeEditor_->CancelEdit();
    }
    EndDrag();
    item_ = item;
    highlight_ = item && highlight;
    Tags* tags = item ? &item->OwnerCollection().GetTags() : nullptr;
    if (tags != tags_ || !tags || !ShowsTagsOf(*tags)) {
        if (activeEditor_)
            activeEditor_->CancelEdit();
        tags_ = tags;
        Rebuild();
    }
    viewport()->update();
}

bool VeTagListCtrlBase::ShowsTagsOf(const Tags& tags) const
{
    if (RowCount() != tags.Count() + 1)
        return false;
    for (int i = 0; i < tags.Count(); ++i) {
        if (&TagRowAt(i)->GetTag() != tags.At(i))
            return false;
    }
    return &TagRowAt(tags.Count())->GetTag() == &tags.AddPlaceholder();
}

void VeTagListCtrlBase::Rebuild()
{
    Clear();
    if (!tags_)
        return;
    for (const Tag& tag : *tags_)
        AddRow(std::make_unique<TagRow>(tag, *this));
    AddRow(std::make_unique<TagRow>(tags_->AddPlaceholder(), *this));
}

TagRow* VeTagListCtrlBase::TagRowAt(int index) const
{
    return static_cast<TagRow*>(RowAtIndex(index));
}

int VeTagListCtrlBase::TagRowCount() const
{
    return RowCount() > 0 ? RowCount() - 1 : 0;
}

TagRow* VeTagListCtrlBase::FirstSelectedTag() const
{
    for (int i = 0; i < TagRowCount(); ++i) {
        if (TagRowAt(i)->IsSelected())
            return TagRowAt(i);
    }
    return nullptr;
}

QString VeTagListCtrlBase::ValueOf(const Tag& tag) const
{
    return item_ && tag.Id() != 0 ? item_->TagValue(tag.Id()) : QString();
}

QString VeTagListCtrlBase::HighlightedValueOf(const Tag& tag) const
{
    if (!highlight_)
        return {};
    return SearchEngine::Instance().HighlightTagValue(tag.Key(), ValueOf(tag));
}

void VeTagListCtrlBase::SelectOnlyRow(Row* row)
{
    const bool was = row && row->IsSelected();
    const bool othersChanged = SelectOnly(row, false);
    const bool selected = row && Select(row, true, false);
    if (othersChanged || (selected && !was))
        emit Notify(kNotifySelectionChanged);
}

// ---- editing -------------------------------------------------------------------------------

bool VeTagListCtrlBase::StartNameEdit(TagRow* row)
{
    if (!tags_ || !row || IndexOf(row) < 0)
        return false;
    return StartEdit(row, *nameEditor_, row->IsReal() ? row->GetTag().Name() : tags_->NewDefaultName());
}

bool VeTagListCtrlBase::StartValueEdit(TagRow* row)
{
    if (!item_ || !row || !row->IsReal() || IndexOf(row) < 0)
        return false;
    return StartEdit(row, *valueEditor_, ValueOf(row->GetTag()));
}

bool VeTagListCtrlBase::StartEdit(TagRow* row, VeCellEdit& editor, const QString& text)
{
    if (activeEditor_ && !activeEditor_->EndEdit())
        return false;
    // Ending the last edit may have changed the rows (a tag added).
    if (IndexOf(row) < 0)
        return false;
    EnsureVisible(row);
    editingRow_ = row;
    activeEditor_ = &editor;
    editor.setText(text);
    editor.PlaceInCell(CellRect(row, editor));
    editor.ShowWithFocus();
    return true;
}

QRect VeTagListCtrlBase::CellRect(const TagRow* row, const VeCellEdit& editor) const
{
    const QRect r = RowRect(row);
    if (&editor == nameEditor_)
        return QRect(r.left() + TagRow::kNameEditLeft, r.top(), TagRow::kNameEditRight - TagRow::kNameEditLeft,
                     r.height());
    return QRect(r.left() + TagRow::kValueEditLeft, r.top(),
                 std::max(r.width() - TagRow::kValueEditLeft - TagRow::kValueEditRightGap, 1), r.height());
}

void VeTagListCtrlBase::PlaceEditor()
{
    if (activeEditor_ && editingRow_)
        activeEditor_->PlaceInCell(CellRect(editingRow_, *activeEditor_));
}

bool VeTagListCtrlBase::CellEditMayEnd(VeCellEdit& editor)
{
    if (&editor != nameEditor_ || !tags_ || !editingRow_)
        return true;
    const QString name = editor.text().trimmed();
    const Tag* self = editingRow_->IsReal() ? &editingRow_->GetTag() : nullptr;
    if (name.isEmpty() || !tags_->FindByName(name, self))
        return true;
    Prompts().ShowMessage(this, InformationMessage(QStringLiteral("Tag \"") + name +
                                                   QStringLiteral("\" already exists. Please try another name.")));
    return false;
}

void VeTagListCtrlBase::CellEditEnded(VeCellEdit& editor, int endCode)
{
    TagRow* row = editingRow_;
    editingRow_ = nullptr;
    activeEditor_ = nullptr;
    if (!VeCellEdit::IsCommitCode(endCode) || !row || IndexOf(row) < 0 || !tags_)
        return;
    const QString text = editor.text().trimmed();
    if (&editor == valueEditor_) {
        if (!item_)
            return;
        const int32_t id = row->GetTag().Id();
        if (text != item_->TagValue(id)) {
            item_->SetTagValue(id, text);
            UpdateRow(row);
            Announce(kChangedValue);
        }
        if (endCode == VeCellEdit::kEndEnter) {
            nextValueFor_ = item_;
            QCoreApplication::postEvent(this, new QEvent(kEditNextValueEvent));
        }
        return;
    }
    if (text.isEmpty())
        return;
    if (row->IsReal()) {
        Tag* tag = tags_->FindById(row->GetTag().Id());
        if (tag && tag->Name() != text) {
            tag->SetName(text);
            UpdateRow(row);
            Announce(kChangedRenamed);
        }
        return;
    }
    if (Tag* tag = tags_->Add(text)) {
        auto added = std::make_unique<TagRow>(*tag, *this);
        TagRow* newRow = added.get();
        InsertRow(TagRowCount(), std::move(added));
        SelectOnlyRow(newRow);
        EnsureVisible(newRow);
        Announce(kChangedAdded);
    }
}

void VeTagListCtrlBase::EditNextValue()
{
    if (!item_ || TagRowCount() < 2 || IsEditing())
        return;
    const TagRow* first = FirstSelectedTag();
    const int index = first ? IndexOf(first) : -1;
    const int next = index + 1 < TagRowCount() ? index + 1 : 0;
    TagRow* row = TagRowAt(next);
    SelectOnlyRow(row);
    StartValueEdit(row);
}

bool VeTagListCtrlBase::event(QEvent* event)
{
    if (event->type() == kEditNextValueEvent) {
        // Only for the item whose value was just entered.
        if (nextValueFor_ && nextValueFor_ == item_)
            EditNextValue();
        nextValueFor_ = nullptr;
        return true;
    }
    return RowListBase::event(event);
}

// ---- mouse and keys ------------------------------------------------------------------------

void VeTagListCtrlBase::OnLeftButtonPressed(Row* row, const QPoint& point, Qt::KeyboardModifiers)
{
    EndDrag();
    auto* r = static_cast<TagRow*>(row);
    if (!r || !r->IsReal() || r == editingRow_)
        return;
    if (point.x() >= TagRow::kNameWidth) {
        SelectOnlyRow(r);
        StartValueEdit(r);
        return;
    }
    if (!IsEditing()) {
        dragRow_ = r;
        dragStart_ = point;
    }
}

void VeTagListCtrlBase::OnDoubleClicked(Row* row, const QPoint& point, Qt::KeyboardModifiers)
{
    auto* r = static_cast<TagRow*>(row);
    if (!r || r == editingRow_ || point.x() >= TagRow::kNameWidth)
        return;
    EndDrag();
    StartNameEdit(r);
}

void VeTagListCtrlBase::OnRightButtonPressed(Row* row, const QPoint& point, Qt::KeyboardModifiers)
{
    if (!item_)
        return;
    std::unique_ptr<QMenu> menu = ContextMenuFor(static_cast<TagRow*>(row), point.x() >= TagRow::kNameWidth);
    if (QAction* chosen = menu->exec(QCursor::pos()))
        RunCommand(CommandIdOf(chosen));
}

void VeTagListCtrlBase::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        DeleteTag(FirstSelectedTag());
        event->accept();
        return;
    }
    RowListBase::keyPressEvent(event);
}

void VeTagListCtrlBase::resizeEvent(QResizeEvent* event)
{
    RowListBase::resizeEvent(event);
    PlaceEditor();
}

void VeTagListCtrlBase::scrollContentsBy(int dx, int dy)
{
    RowListBase::scrollContentsBy(dx, dy);
    PlaceEditor();
}

void VeTagListCtrlBase::PaintBelowRows(QPainter& painter, const QRect& area)
{
    painter.fillRect(area, Qt::white);
}

} // namespace tessary
