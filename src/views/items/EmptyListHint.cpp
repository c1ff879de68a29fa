#include "EmptyListHint.h"

#include <QFontMetrics>
#include <QPainter>

#include "album/Collections.h"
#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"

namespace tessary {

namespace {
const QColor kHintColor(0xA0, 0xA0, 0xA0);
constexpr int kGlyphColumn = 32;
constexpr int kGlyphRise = 5;
constexpr int kTextFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
} // namespace

QString EmptyListHintText(const Collection* shown)
{
    if (shown && shown->Id() > 0)
        return QStringLiteral("Add photos here for \"%1\".\n\nYou can:\n\n1) Click \"Add Photos\" on the toolbar;\n"
                              "2) Or, drag photos into this pane.")
            .arg(shown->Name());
    return QStringLiteral("Select a collection on the left, then add photos here.");
}

HintPlacement PlaceEmptyListHint(const QRect& client, int textWidth)
{
    QRect block = client.adjusted(10, 10, -10, -10);
    block.setBottom(block.bottom() + 8);
    const int w = textWidth + kGlyphColumn;
    if (block.width() >= w) {
        const int spare = block.width() - w;
        block.setLeft(block.left() + spare / 2);
        block.setRight(block.right() - spare / 2);
        block.translate(-spare / 12, 0);
    }
    if (block.height() > 92)
        block.setTop(block.top() + (block.height() - 90) / 3);
    HintPlacement placement;
    placement.block = block;
    placement.text = block.adjusted(kGlyphColumn, 0, 0, 0);
    placement.glyph = QPoint(placement.text.left() - kGlyphColumn, placement.text.top() - kGlyphRise);
    return placement;
}

void PaintEmptyListHint(QPainter& painter, const QRect& client, const Collection* shown)
{
    PaintHint(painter, client, EmptyListHintText(shown), kIdbItemListHint);
}

void PaintHint(QPainter& painter, const QRect& client, const QString& text, int glyphId)
{
    painter.fillRect(client, Qt::white);
    const QFont& font = SharedFonts::Large();
    const QFontMetrics metrics(font);
    // The wrapped width within the room there is beside the glyph.
    const QRect room = client.adjusted(10 + kGlyphColumn, 10, -10, -10);
    const int textWidth = metrics.boundingRect(QRect(0, 0, std::max(1, room.width()), 100000), kTextFlags, text).width() + 1;
    const HintPlacement placement = PlaceEmptyListHint(client, textWidth);
    painter.drawImage(placement.glyph, ResourceImageFor(glyphId, painter));
    painter.setFont(font);
    painter.setPen(kHintColor);
    painter.drawText(placement.text, kTextFlags, text);
}

} // namespace tessary
