#include "CollectionRow.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>

#include "album/Collections.h"
#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"
#include "views/common/SkinPainting.h"

namespace tessary {

namespace {

const QColor kBadgeFallback(0x8A, 0x98, 0xB2);

QString CountText(const Collection& collection)
{
    return QString::number(collection.GetItems().Count());
}

} // namespace

CollectionRow::CollectionRow(Collection& collection, Kind kind)
    : Row(kind != Kind::Add), collection_(&collection), kind_(kind)
{
}

const QFont& CollectionRow::AddRowFont()
{
    static const QFont font = SharedFonts::Make(13, false, true);
    return font;
}

QString CollectionRow::Text() const
{
    switch (kind_) {
    case Kind::All:
        return QStringLiteral("All Collections");
    case Kind::Add:
        return QStringLiteral("Double-click to add a collection");
    case Kind::Real:
        break;
    }
    return collection_->Name();
}

QRect CollectionRow::BadgeRect(const QRect& rect) const
{
    if (kind_ != Kind::Real || collection_->GetItems().Count() <= 0)
        return {};
    const QRect content = rect.adjusted(kInsetLeft, 0, -kInsetRight, 0);
    const int width =
        std::max(QFontMetrics(SharedFonts::Normal()).horizontalAdvance(CountText(*collection_)) + kBadgePadding,
                 kBadgeMinWidth);
    return QRect(content.right() - width + 1, content.top() + (content.height() - kBadgeHeight) / 2, width,
                 kBadgeHeight);
}

void CollectionRow::Draw(QPainter& painter, const QRect& rect, const RowState& state)
{
    if (state.selected) {
        const int id = state.focused ? kIdbCollectionFocused : kIdbCollectionSelected;
        DrawThreeSlice(painter, rect, ResourceImage(id), kSelectedCap, kFlatFill);
    } else if (state.hot) {
        DrawThreeSlice(painter, rect, ResourceImage(kIdbCollectionHover), kHoverCap, kFlatFill);
    } else {
        painter.fillRect(rect, kFlatFill);
    }
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), kBottomLine);

    QRect content = rect.adjusted(kInsetLeft, 0, -kInsetRight, 0);
    if (kind_ != Kind::All) {
        const int glyphId = kind_ == Kind::Add ? kIdbAddCollectionGlyph : kIdbCollectionGlyph;
        const QImage& glyph = ResourceImage(glyphId);
        if (!glyph.isNull()) {
            const int w = glyph.height() > 0 ? glyph.width() * kGlyphHeight / glyph.height() : 0;
            painter.drawImage(
                QRect(content.left(), content.top() + (content.height() - kGlyphHeight) / 2, w, kGlyphHeight),
                ResourceImageFor(glyphId, painter));
        }
        content.setLeft(content.left() + (kind_ == Kind::Add ? kTextOffsetAdd : kTextOffsetReal));
    }

    const QRect badge = BadgeRect(rect);
    if (!badge.isEmpty()) {
        const QImage& skin = ResourceImage(kIdbCountBadge);
        if (badge.width() > kBadgeMinWidth)
            DrawThreeSlice(painter, badge, skin, kBadgeCap, kBadgeFallback);
        else if (!skin.isNull())
            painter.drawImage(badge, skin);
        else
            painter.fillRect(badge, kBadgeFallback);
        painter.setFont(SharedFonts::Normal());
        painter.setPen(kBadgeTextColor);
        painter.drawText(badge, Qt::AlignCenter | Qt::TextSingleLine, CountText(*collection_));
        content.setRight(badge.left() - kBadgeGap - 1);
    }

    const QFont& font = kind_ == Kind::All   ? SharedFonts::Bold()
                        : kind_ == Kind::Add ? AddRowFont()
                                             : SharedFonts::Normal();
    painter.setFont(font);
    painter.setPen(kind_ == Kind::Add ? kAddTextColor : kTextColor);
    if (content.width() <= 0)
        return;
    const QString text = QFontMetrics(font).elidedText(Text(), Qt::ElideRight, content.width());
    painter.drawText(content, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

} // namespace tessary
