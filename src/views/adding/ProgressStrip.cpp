#include "ProgressStrip.h"

#include <QPainter>

namespace tessary {

namespace {
constexpr int kBlockWidth = 6;
constexpr int kBlockGap = 2;
constexpr int kBlocks = 7;

// One copy of the picture: a run of blocks fading in towards the leading edge.
void DrawPicture(QPainter& p, int x, const QRect& inner)
{
    for (int i = 0; i < kBlocks; ++i) {
        const int left = x + i * (kBlockWidth + kBlockGap);
        const int alpha = 70 + (185 * (i + 1)) / kBlocks;
        p.fillRect(QRect(left, inner.top() + 1, kBlockWidth, inner.height() - 2), QColor(49, 106, 197, alpha));
    }
}
} // namespace

ProgressStrip::ProgressStrip(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ProgressStrip::Advance(int pixels)
{
    const int w = width();
    m_offset = w > 0 ? (m_offset + pixels) % w : 0;
    update();
}

void ProgressStrip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect outer = rect();
    p.fillRect(outer, QColor(255, 255, 255));
    // A sunken edge as the common progress control has.
    p.setPen(QColor(160, 160, 160));
    p.drawLine(outer.topLeft(), outer.topRight());
    p.drawLine(outer.topLeft(), outer.bottomLeft());
    p.setPen(QColor(227, 227, 227));
    p.drawLine(outer.bottomLeft(), outer.bottomRight());
    p.drawLine(outer.topRight(), outer.bottomRight());
    const QRect inner = outer.adjusted(2, 2, -2, -2);
    p.setClipRect(inner);
    const int pictureWidth = kBlocks * (kBlockWidth + kBlockGap);
    // The picture leaves on the right and comes back in on the left.
    const int x = inner.left() + m_offset - pictureWidth;
    DrawPicture(p, x, inner);
    DrawPicture(p, x + width(), inner);
}

} // namespace tessary
