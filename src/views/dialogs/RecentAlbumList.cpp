#include "RecentAlbumList.h"

#include <memory>

#include <QPainter>

#include "views/common/SharedFonts.h"
#include "views/dialogs/RecentAlbumRow.h"

namespace tessary {

RecentAlbumList::RecentAlbumList(QWidget* parent) : VeListBox(parent)
{
    setObjectName(QStringLiteral("RecentAlbumList"));
    SetRowHeight(kRowHeight);
}

void RecentAlbumList::SetAlbums(const QStringList& paths)
{
    Clear();
    for (const QString& path : paths)
        AddRow(std::make_unique<RecentAlbumRow>(path));
    viewport()->update();
}

RecentAlbumRow* RecentAlbumList::AlbumRowAt(int index) const
{
    return static_cast<RecentAlbumRow*>(RowAtIndex(index));
}

RecentAlbumRow* RecentAlbumList::SelectedAlbumRow() const
{
    return static_cast<RecentAlbumRow*>(FirstSelected());
}

bool RecentAlbumList::ApplyStoredName(int index, const QString& path, const QString& name)
{
    RecentAlbumRow* row = AlbumRowAt(index);
    if (!row || row->Path() != path || name.isEmpty())
        return false;
    row->SetStoredName(name);
    UpdateRow(row);
    return true;
}

void RecentAlbumList::PaintBelowRows(QPainter& painter, const QRect& area)
{
    painter.fillRect(area, Qt::white);
    if (RowCount() != 0)
        return;
    const QRect view = viewport()->rect();
    const QRect upperHalf(view.left(), view.top(), view.width(), view.height() / 2);
    painter.setFont(SharedFonts::Large());
    painter.setPen(kEmptyTextColor);
    painter.drawText(upperHalf, Qt::AlignCenter | Qt::TextSingleLine, kEmptyText);
}

void RecentAlbumList::OnRightButtonPressed(Row* row, const QPoint& point, Qt::KeyboardModifiers)
{
    emit ContextMenuRequested(viewport()->mapToGlobal(point), static_cast<RecentAlbumRow*>(row));
}

void RecentAlbumList::OnDoubleClicked(Row* row, const QPoint&, Qt::KeyboardModifiers)
{
    emit RowDoubleClicked(static_cast<RecentAlbumRow*>(row));
}

} // namespace tessary
