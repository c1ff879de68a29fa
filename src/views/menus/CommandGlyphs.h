#pragma once
// The glyph of a command: its position in the command glyph table is its index into the
// glyph strip (16 x 16 cells) that the command bar and the popup menus draw from. UI thread.

#include <QImage>

namespace tessary {

// Index of the command in the glyph table, or -1 when the command has no glyph.
int CommandGlyphIndex(int commandId);
// The command's glyph (16 x 16, with alpha), or a null image without glyph or artwork. At a
// device pixel ratio above 1, the 32 x 32 high-density one (ratio 2) when there is one.
QImage CommandGlyph(int commandId, qreal devicePixelRatio = 1.0);

} // namespace tessary
