#pragma once
// The text an empty item list shows in place of rows, and where it goes: word-wrapped in the
// large font, grey, in a block narrowed to the text and lifted a little above the middle, with
// the hint glyph 32 pixels to its left. UI thread only.

#include <QRect>
#include <QString>

class QImage;
class QPainter;

namespace tessary {

class Collection;

// The invitation to add photos to a real collection, else the request to pick one.
QString EmptyListHintText(const Collection* shown);

struct HintPlacement {
    QRect block; // the hint block
    QRect text;  // where the text is drawn
    QPoint glyph;
};
// `textWidth` is the width of the wrapped text.
HintPlacement PlaceEmptyListHint(const QRect& client, int textWidth);

// Fills the client area white and draws `text` with the artwork `glyphId` by the placement
// above.
void PaintHint(QPainter& painter, const QRect& client, const QString& text, int glyphId);
// The same with the item list's text for `shown` and its glyph.
void PaintEmptyListHint(QPainter& painter, const QRect& client, const Collection* shown);

} // namespace tessary
