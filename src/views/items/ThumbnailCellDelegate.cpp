#include "ThumbnailCellDelegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

namespace tessary {

namespace {

const QColor kSelectedFill(0xCC, 0xE8, 0xFF);
const QColor kSelectedFrame(0x99, 0xD1, 0xFF);
const QColor kHoverFill(0xE5, 0xF3, 0xFF);
const QColor kNameColor(0x1E, 0x1E, 0x1E);
constexpr int kNameGap = 4;
constexpr int kNameLines = 2;
constexpr int kBottomGap = 6;

// Up to two wrapped lines; the last one ends in an ellipsis when the name goes on.
QStringList NameLines(const QString& name, const QFont& font, int width)
{
    QStringList lines;
    QTextLayout layout(name, font);
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        if (lines.size() == kNameLines - 1) {
            lines << QFontMetrics(font).elidedText(name.mid(line.textStart()), Qt::ElideRight, width);
            break;
        }
        lines << name.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

} // namespace

ThumbnailCellDelegate::ThumbnailCellDelegate(std::function<QPixmap(int row)> cellOf, QObject* parent)
    : QStyledItemDelegate(parent), m_cellOf(std::move(cellOf))
{
}

QSize ThumbnailCellDelegate::GridSize(const QFont& font)
{
    const int lines = QFontMetrics(font).lineSpacing() * kNameLines;
    return QSize(kGridWidth, kTopGap + kCellSide + kNameGap + lines + kBottomGap);
}

QRect ThumbnailCellDelegate::CellRect(const QRect& box)
{
    return QRect(box.left() + (box.width() - kCellSide) / 2, box.top() + kTopGap, kCellSide, kCellSide);
}

QRect ThumbnailCellDelegate::NameRect(const QRect& box, const QFont& font)
{
    const int top = box.top() + kTopGap + kCellSide + kNameGap;
    return QRect(box.left() + 3, top, box.width() - 6, QFontMetrics(font).lineSpacing() * kNameLines);
}

void ThumbnailCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    const QRect box = option.rect.adjusted(2, 0, -2, -2);
    const bool selected = option.state & QStyle::State_Selected;
    const bool hot = option.state & QStyle::State_MouseOver;
    if (selected || hot) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(selected ? kSelectedFrame : Qt::NoPen);
        painter->setBrush(selected ? kSelectedFill : kHoverFill);
        painter->drawRect(box.adjusted(0, 0, -1, -1));
        painter->restore();
    }
    const QPixmap cell = m_cellOf ? m_cellOf(index.row()) : QPixmap();
    if (!cell.isNull())
        painter->drawPixmap(CellRect(option.rect).topLeft(), cell);

    const QString name = index.data(Qt::DisplayRole).toString();
    const QRect nameRect = NameRect(option.rect, option.font);
    painter->save();
    painter->setFont(option.font);
    painter->setPen(kNameColor);
    const int lineHeight = QFontMetrics(option.font).lineSpacing();
    int y = nameRect.top();
    for (const QString& line : NameLines(name, option.font, nameRect.width())) {
        painter->drawText(QRect(nameRect.left(), y, nameRect.width(), lineHeight), Qt::AlignHCenter | Qt::AlignTop,
                          line);
        y += lineHeight;
    }
    painter->restore();
}

QSize ThumbnailCellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return GridSize(option.font);
}

void ThumbnailCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                                 const QModelIndex&) const
{
    const QRect name = NameRect(option.rect, option.font);
    editor->setGeometry(name.left(), name.top() - 2, name.width(), QFontMetrics(option.font).lineSpacing() + 4);
}

} // namespace tessary
