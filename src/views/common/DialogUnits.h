#pragma once
// Dialog units as the dialog templates of the program use them: a horizontal unit is a
// quarter of the dialog font's average character width, a vertical unit an eighth of its
// character height. UI thread only (fonts).

#include <QFont>
#include <QRect>
#include <QSize>

namespace tessary {

// "Tahoma" at 13 pixels when the face is registered, otherwise the default sans font at 13.
QFont DialogFont();

struct DialogBaseUnits {
    int charWidth = 0;  // average width of the 52 Latin letters, rounded
    int charHeight = 0; // ascent plus descent
};

DialogBaseUnits BaseUnitsOf(const QFont& font);
// x * charWidth / 4 and y * charHeight / 8, each rounded to nearest.
QRect MapDialogRect(const QRect& dialogUnits, const DialogBaseUnits& base);
QSize MapDialogSize(const QSize& dialogUnits, const DialogBaseUnits& base);

} // namespace tessary
