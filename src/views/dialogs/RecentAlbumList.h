#pragma once
// RecentAlbumList: the VeListBox of the Open Album dialog, one RecentAlbumRow per recent
// album, 40 pixels a row. An empty list shows "No recent photo albums." centred in its upper
// half. A double-click on a row and a right-button press (after the base has selected the
// row under the pointer) are passed on as signals; the dialog decides what they do.
// UI thread only; the list owns its rows, its parent owns the list.

#include <QColor>
#include <QStringList>

#include "views/rows/VeListBox.h"

namespace tessary {

class RecentAlbumRow;

class RecentAlbumList : public VeListBox {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 40;
    static inline const QColor kEmptyTextColor{0xA0, 0xA0, 0xA0};
    static inline const QString kEmptyText = QStringLiteral("No recent photo albums.");

    explicit RecentAlbumList(QWidget* parent = nullptr);

    // Replaces the rows by one per path, in order.
    void SetAlbums(const QStringList& paths);
    RecentAlbumRow* AlbumRowAt(int index) const;
    RecentAlbumRow* SelectedAlbumRow() const;
    // Gives the row at `index` its stored name when that row still shows `path`; false (and
    // nothing changed) when it does not, e.g. after the list was cleared.
    bool ApplyStoredName(int index, const QString& path, const QString& name);

signals:
    // `row` is the row under the pointer, null when none.
    void RowDoubleClicked(RecentAlbumRow* row);
    void ContextMenuRequested(const QPoint& globalPos, RecentAlbumRow* row);

protected:
    void PaintBelowRows(QPainter& painter, const QRect& area) override;
    void OnRightButtonPressed(Row* row, const QPoint& point, Qt::KeyboardModifiers mods) override;
    void OnDoubleClicked(Row* row, const QPoint& point, Qt::KeyboardModifiers mods) override;
};

} // namespace tessary
