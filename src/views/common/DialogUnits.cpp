#include "DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace tessary {

namespace {
int MulDivRound(int value, int numerator, int denominator)
{
    const long long p = static_cast<long long>(value) * numerator;
    return int(p >= 0 ? (p + denominator / 2) / denominator : -((-p + denominator / 2) / denominator));
}
} // namespace

QFont DialogFont()
{
    QFont font;
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma"))) {
        font = QFont(QStringLiteral("Tahoma"));
    } else {
        font = QFont(QStringLiteral("Sans Serif"));
        font.setStyleHint(QFont::SansSerif);
    }
    font.setPixelSize(13);
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(width / 26 + 1) / 2, metrics.ascent() + metrics.descent()};
}

QRect MapDialogRect(const QRect& dialogUnits, const DialogBaseUnits& base)
{
    const int left = MulDivRound(dialogUnits.left(), base.charWidth, 4);
    const int top = MulDivRound(dialogUnits.top(), base.charHeight, 8);
    const int right = MulDivRound(dialogUnits.left() + dialogUnits.width(), base.charWidth, 4);
    const int bottom = MulDivRound(dialogUnits.top() + dialogUnits.height(), base.charHeight, 8);
    return QRect(left, top, right - left, bottom - top);
}

QSize MapDialogSize(const QSize& dialogUnits, const DialogBaseUnits& base)
{
    return {MulDivRound(dialogUnits.width(), base.charWidth, 4), MulDivRound(dialogUnits.height(), base.charHeight, 8)};
}

} // namespace tessary
