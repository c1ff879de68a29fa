#pragma once
// Drawing the program's skins: images whose end caps keep their size while the middle is
// stretched. UI thread only.

class QColor;
class QImage;
class QPainter;
class QRect;

namespace tessary {

// Both caps of `cap` pixels as they are, the middle stretched over `target`; a flat fill
// in `fallback` when the skin is missing or the target is too narrow for its caps.
void DrawThreeSlice(QPainter& p, const QRect& target, const QImage& skin, int cap, const QColor& fallback);

} // namespace tessary
