#include "SkinPainting.h"

#include <QPainter>

namespace tessary {

void DrawThreeSlice(QPainter& p, const QRect& target, const QImage& skin, int cap, const QColor& fallback)
{
    if (skin.width() <= 2 * cap || target.width() < 2 * cap) {
        p.fillRect(target, fallback);
        return;
    }
    const int h = target.height();
    const int sh = skin.height();
    p.drawImage(QRect(target.left(), target.top(), cap, h), skin, QRect(0, 0, cap, sh));
    p.drawImage(QRect(target.left() + cap, target.top(), target.width() - 2 * cap, h), skin,
                QRect(cap, 0, skin.width() - 2 * cap, sh));
    p.drawImage(QRect(target.right() - cap + 1, target.top(), cap, h), skin, QRect(skin.width() - cap, 0, cap, sh));
}

} // namespace tessary
