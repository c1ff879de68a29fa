#include "RecentAlbumRow.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>

#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"

namespace tessary {

RecentAlbumRow::RecentAlbumRow(const QString& path) : path_(path), displayName_(FileTitle(path)) {}

QString RecentAlbumRow::FileTitle(const QString& path)
{
    return QFileInfo(path).completeBaseName();
}

void RecentAlbumRow::SetStoredName(const QString& name)
{
    if (!name.isEmpty())
        displayName_ = name;
}

void RecentAlbumRow::Draw(QPainter& painter, const QRect& rect, const RowState& state)
{
    QColor fill = kFill;
    if (state.selected)
        fill = state.focused ? kSelectedFocusFill : kSelectedFill;
    else if (state.hot)
        fill = kHotFill;
    painter.fillRect(rect, fill);

    const int side = rect.height();
    const QRect square(rect.left(), rect.top(), side, side);
    const QImage& glyph = ResourceImage(kIdbRecentAlbum);
    if (!glyph.isNull()) {
        QRect target(QPoint(0, 0), glyph.size().boundedTo(square.size()));
        target.moveCenter(square.center());
        painter.drawImage(target, ResourceImageFor(kIdbRecentAlbum, painter));
    }

    const int left = square.right() + 1 + kTextGap;
    const int width = rect.right() + 1 - kRightMargin - left;
    if (width <= 0)
        return;
    const int upper = side / 2;
    const QRect nameRect(left, rect.top(), width, upper);
    const QRect pathRect(left, rect.top() + upper, width, side - upper);

    painter.setFont(SharedFonts::LargeBold());
    painter.setPen(kNameColor);
    painter.drawText(nameRect, Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine,
                     QFontMetrics(SharedFonts::LargeBold()).elidedText(displayName_, Qt::ElideRight, width));

    painter.setFont(SharedFonts::Normal());
    painter.setPen(kPathColor);
    painter.drawText(pathRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     QFontMetrics(SharedFonts::Normal()).elidedText(path_, Qt::ElideMiddle, width));
}

} // namespace tessary
