#include "VeSearchResultsCtrlBase.h"

#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include "ResultRow.h"
#include "album/Collections.h"
#include "album/Items.h"
#include "album/PhotoOperations.h"
#include "search/MarkupRenderer.h"
#include "thumbcache/PreviewThumbnails.h"
#include "thumbcache/ThumbEvents.h"
#include "util/Text.h"
#include "views/adding/PhotoCommands.h"
#include "views/common/NotifyCodes.h"
#include "views/common/SharedFonts.h"
#include "views/items/FadItem.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"

namespace tessary {

namespace {

const QRgb kTextColour = qRgb(61, 75, 102);
const QRgb kCollectionColour = qRgb(130, 138, 153);
const QColor kEmptyColour(160, 160, 160);
const QColor kEditorFrame(167, 177, 196);
const QColor kSelectedFill(212, 220, 238);
const QColor kSelectedFocusFill(196, 211, 240);
const QColor kHotFill(240, 244, 252);
const QColor kThumbBackground(235, 238, 244);
constexpr unsigned kTextFlags = DtEndEllipsis | DtNoPrefix | DtSingleLine | DtVCenter;

QRect Band(const QRect& row)
{
    const int top = row.top() + (row.height() - VeSearchResultsCtrlBase::kBandHeight) / 2;
    return QRect(row.left(), top, row.width(), VeSearchResultsCtrlBase::kBandHeight);
}

} // namespace

VeSearchResultsCtrlBase::VeSearchResultsCtrlBase(UserPrompts& prompts, SearchEngine& engine, QWidget* parent)
    : RowListBase(parent)
    , m_prompts(prompts)
    , m_engine(engine)
    , m_editor(new VeCellEdit(*this, Qt::AlignLeft, kEditorFrame, viewport(), kRenameMaxLength))
{
    setObjectName(QStringLiteral("searchResults"));
    SetRowHeight(kRowHeight);
    m_editor->SetFocusTarget(this);
    m_editor->hide();
}

VeSearchResultsCtrlBase::VeSearchResultsCtrlBase(UserPrompts& prompts, QWidget* parent)
    : VeSearchResultsCtrlBase(prompts, SearchEngine::Instance(), parent)
{
}

VeSearchResultsCtrlBase::~VeSearchResultsCtrlBase()
{
    // The editor must not report to a list that is half gone.
    m_renamed = nullptr;
    delete m_editor;
}

void VeSearchResultsCtrlBase::SetScope(const Collection* scope)
{
    if (scope == m_scope)
        return;
    m_editor->CancelEdit();
    ClearResults();
    m_scope = nullptr;
    m_engine.Reset();
    m_scope = scope;
}

void VeSearchResultsCtrlBase::ClearResults()
{
    if (m_editor->isVisible())
        m_editor->CancelEdit();
    m_renamed = nullptr;
    Clear();
}

void VeSearchResultsCtrlBase::Fill(const std::vector<SearchResult>& results)
{
    std::vector<std::unique_ptr<Row>> rows;
    rows.reserve(results.size());
    for (const SearchResult& result : results)
        rows.push_back(std::make_unique<ResultRow>(*this, result));
    AppendRows(std::move(rows));
    emit Filled();
}

void VeSearchResultsCtrlBase::SearchFor(const QString& text)
{
    ClearResults();
    if (m_scope && !text.isEmpty()) {
        m_engine.SetScope(m_scope);
        if (m_engine.Parse(text) && m_engine.Run()) {
            Fill(m_engine.Results());
            return;
        }
    }
    viewport()->update();
}

void VeSearchResultsCtrlBase::RefreshItem(const Item* item)
{
    for (int i = 0; i < RowCount(); ++i) {
        ResultRow* row = ResultRowAt(i);
        if (!item || row->GetItem() == item)
            row->DropTexts();
    }
    viewport()->update();
}

ResultRow* VeSearchResultsCtrlBase::ResultRowAt(int index) const
{
    return static_cast<ResultRow*>(RowAtIndex(index));
}

const Item* VeSearchResultsCtrlBase::ItemAt(int index) const
{
    const ResultRow* row = ResultRowAt(index);
    return row ? row->GetItem() : nullptr;
}

std::vector<const Item*> VeSearchResultsCtrlBase::SelectedItems() const
{
    std::vector<const Item*> items;
    for (int i = 0; i < RowCount(); ++i)
        if (RowAtIndex(i)->IsSelected())
            items.push_back(ItemAt(i));
    return items;
}

int VeSearchResultsCtrlBase::SelectedCount() const
{
    int n = 0;
    for (int i = 0; i < RowCount(); ++i)
        n += RowAtIndex(i)->IsSelected() ? 1 : 0;
    return n;
}

// ---- painting --------------------------------------------------------------------------------

QRect VeSearchResultsCtrlBase::NameRect(const QRect& rowRect) const
{
    const QRect band = Band(rowRect);
    return QRect(QPoint(rowRect.left() + kTextLeft, band.top() + 1),
                 QPoint(rowRect.right() - kTextRightInset, band.top() + band.height() / 2));
}

void VeSearchResultsCtrlBase::DrawResult(ResultRow& row, QPainter& painter, const QRect& rect, const RowState& state)
{
    QColor fill = Qt::white;
    if (state.selected)
        fill = state.focused ? kSelectedFocusFill : kSelectedFill;
    else if (state.hot)
        fill = kHotFill;
    painter.fillRect(rect, fill);

    const Item* item = row.GetItem();
    if (!item)
        return;
    const QRect band = Band(rect);

    // The preview, fitted into the thumbnail band; a quiet placeholder until it is made.
    const QRect thumb(rect.left() + kThumbLeft, band.top(), kThumbRight - kThumbLeft, band.height());
    const int32_t key = FadRowKey(*item);
    if (key <= 0 || !PreviewThumbnails::Instance().Draw(&painter, thumb, PreviewRequest{this, key, item->FirstPhotoPath()}))
        painter.fillRect(thumb.adjusted(8, 2, -8, -2), kThumbBackground);

    SearchResult& result = row.Result();
    if (result.nameMarkup.isEmpty())
        m_engine.BuildResultTexts(result);

    QRect name = NameRect(rect);
    MarkupExtent drawn;
    {
        MarkupRenderer renderer(&painter, SharedFonts::Large(), kTextColour, fill.rgb());
        drawn = renderer.DrawMarkup(result.nameMarkup, name, kTextFlags);
    }
    if (m_scope && m_scope->Id() == 0) {
        QRect owner = name;
        owner.setLeft(name.left() + drawn.width + kCollectionGap);
        if (owner.width() > 0) {
            MarkupRenderer renderer(&painter, SharedFonts::Normal(), kCollectionColour, fill.rgb());
            renderer.DrawMarkup(EscapeMarkup(FillPlaceholder(QStringLiteral("(%1)"), item->OwnerCollection().Name())),
                                owner, kTextFlags);
        }
    }
    if (!result.detailMarkup.isEmpty()) {
        QRect detail(QPoint(rect.left() + kTextLeft, band.top() + band.height() / 2),
                     QPoint(rect.right() - kTextRightInset, band.bottom() - 1));
        MarkupRenderer renderer(&painter, SharedFonts::Normal(), kTextColour, fill.rgb());
        renderer.DrawMarkup(result.detailMarkup, detail, kTextFlags);
    }
}

void VeSearchResultsCtrlBase::paintEvent(QPaintEvent* event)
{
    if (RowCount() == 0) {
        QPainter p(viewport());
        p.fillRect(viewport()->rect(), Qt::white);
        const QRect band(kEmptyInset, 0, std::max(0, viewport()->width() - 2 * kEmptyInset), kRowHeight);
        const QFont& font = SharedFonts::Normal();
        p.setFont(font);
        p.setPen(kEmptyColour);
        p.drawText(band, Qt::AlignCenter | Qt::TextSingleLine,
                   QFontMetrics(font).elidedText(QStringLiteral("No items match your search."), Qt::ElideRight,
                                                 band.width()));
        return;
    }
    RowListBase::paintEvent(event);
}

void VeSearchResultsCtrlBase::PaintBelowRows(QPainter& painter, const QRect& area)
{
    painter.fillRect(area, Qt::white);
}

// ---- thumbnails ------------------------------------------------------------------------------

bool VeSearchResultsCtrlBase::event(QEvent* event)
{
    if (event->type() == kThumbReadyEvent) {
        OnThumbReady(static_cast<ThumbEvent*>(event)->ItemId());
        return true;
    }
    return RowListBase::event(event);
}

void VeSearchResultsCtrlBase::OnThumbReady(int32_t key)
{
    // Only the rows in view can need it: the others ask again when they are painted.
    const int first = ScrollPosition() / kRowHeight;
    const int last = std::min(RowCount() - 1, (ScrollPosition() + viewport()->height()) / kRowHeight);
    for (int i = std::max(0, first); i <= last; ++i) {
        const Item* item = ItemAt(i);
        if (item && FadRowKey(*item) == key) {
            UpdateRow(RowAtIndex(i));
            return;
        }
    }
}

// ---- commands --------------------------------------------------------------------------------

std::unique_ptr<QMenu> VeSearchResultsCtrlBase::ContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    FillMenu(*menu, MenuResource(kMenuResultsContext).items);
    const int selected = SelectedCount();
    auto enable = [&menu](int id, bool on) {
        if (QAction* a = FindAction(*menu, id))
            a->setEnabled(on);
    };
    enable(cmd::kAddToCombination, selected > 0);
    enable(cmd::kDelete, selected > 0);
    enable(cmd::kResultRename, selected == 1);
    enable(cmd::kResultSelectAll, RowCount() > 0);
    enable(cmd::kResultSelectInverse, RowCount() > 0);
    return menu;
}

bool VeSearchResultsCtrlBase::RunCommand(int commandId)
{
    switch (commandId) {
    case cmd::kAddToCombination: return false; // present, and deliberately without effect
    case cmd::kDelete: return DeleteSelected();
    case cmd::kResultRename: return StartRename();
    case cmd::kResultSelectAll: return SelectAll(true);
    case cmd::kResultSelectInverse: return InvertSelection(true);
    default: return false;
    }
}

void VeSearchResultsCtrlBase::OnRightButtonPressed(Row*, const QPoint&, Qt::KeyboardModifiers)
{
    if (RowCount() == 0)
        return;
    std::unique_ptr<QMenu> menu = ContextMenu();
    if (QAction* chosen = menu->exec(QCursor::pos()))
        RunCommand(CommandIdOf(chosen));
}

void VeSearchResultsCtrlBase::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        DeleteSelected();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
        StartRename();
        event->accept();
        return;
    }
    RowListBase::keyPressEvent(event);
}

bool VeSearchResultsCtrlBase::DeleteSelected()
{
    std::vector<Item*> items;
    for (const Item* item : SelectedItems())
        items.push_back(const_cast<Item*>(item));
    if (items.empty() || !PhotoCommands(m_prompts).ConfirmDelete(this, items))
        return false;
    m_editor->CancelEdit();
    for (int i = RowCount() - 1; i >= 0; --i) {
        ResultRow* row = ResultRowAt(i);
        if (!row->IsSelected())
            continue;
        Item* item = const_cast<Item*>(row->GetItem());
        emit ItemAboutToBeDeleted(item);
        if (m_renamed == row)
            m_renamed = nullptr;
        RemoveRow(row, false);
        RemoveItems({item});
    }
    viewport()->update();
    emit Notify(kNotifySelectionChanged);
    emit ItemsDeleted();
    setFocus(Qt::OtherFocusReason);
    return true;
}

// ---- rename ----------------------------------------------------------------------------------

bool VeSearchResultsCtrlBase::StartRename()
{
    if (SelectedCount() != 1)
        return false;
    ResultRow* row = static_cast<ResultRow*>(FirstSelected());
    if (!row || !row->GetItem())
        return false;
    EnsureVisible(row);
    m_renamed = row;
    m_editor->setText(row->GetItem()->Name());
    PlaceEditor();
    m_editor->ShowWithFocus();
    return true;
}

void VeSearchResultsCtrlBase::PlaceEditor()
{
    if (m_renamed)
        m_editor->PlaceInCell(NameRect(RowRect(m_renamed)));
}

bool VeSearchResultsCtrlBase::CellEditMayEnd(VeCellEdit&)
{
    return true;
}

void VeSearchResultsCtrlBase::CellEditEnded(VeCellEdit& editor, int endCode)
{
    ResultRow* row = m_renamed;
    m_renamed = nullptr;
    if (!row || !VeCellEdit::IsCommitCode(endCode) || IndexOf(row) < 0)
        return;
    Item* item = const_cast<Item*>(row->GetItem());
    const QString name = editor.text().trimmed();
    if (!item || name.isEmpty() || name == item->Name())
        return;
    item->SetName(name);
    row->DropTexts();
    UpdateRow(row);
    emit ItemRenamed(item);
}

void VeSearchResultsCtrlBase::resizeEvent(QResizeEvent* event)
{
    RowListBase::resizeEvent(event);
    PlaceEditor();
}

void VeSearchResultsCtrlBase::scrollContentsBy(int dx, int dy)
{
    RowListBase::scrollContentsBy(dx, dy);
    PlaceEditor();
}

} // namespace tessary
