#pragma once
// Draws a row of the Thumbnails mode: its 96 x 96 cell (thumbnail or file-type placeholder,
// asked for on every paint because thumbnails arrive while the list is shown) centred at the
// top of the grid box, the item's name in up to two lines below, and the selection and hover
// shading. The name editor of a rename sits where the name is drawn. UI thread only.

#include <functional>

#include <QPixmap>
#include <QStyledItemDelegate>

namespace tessary {

class ThumbnailCellDelegate : public QStyledItemDelegate {
public:
    static constexpr int kCellSide = 96;
    static constexpr int kGridWidth = 116;
    static constexpr int kTopGap = 4;

    // `cellOf` gives the cell to draw for a row (a null pixmap: nothing is drawn).
    ThumbnailCellDelegate(std::function<QPixmap(int row)> cellOf, QObject* parent = nullptr);

    // The grid box for `font`: 116 wide, the cell and two lines of the name high.
    static QSize GridSize(const QFont& font);
    static QRect CellRect(const QRect& box);
    static QRect NameRect(const QRect& box, const QFont& font);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

private:
    std::function<QPixmap(int row)> m_cellOf;
};

} // namespace tessary
