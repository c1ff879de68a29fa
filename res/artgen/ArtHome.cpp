// The home view (banner, navigation column, the four large buttons) and the Open Album
// dialog's banner.
#include "ArtCatalogue.h"
#include "ArtKit.h"

#include <functional>

namespace artgen {

namespace {
constexpr int kButtonW = 350;
constexpr int kButtonH = 52;

// Soft horizontal bands; they stay calm when the image is stretched sideways.
void Waves(QPainter& p, double w, double h, double base, int alpha)
{
    for (int k = 0; k < 2; ++k) {
        const double y0 = base + k * h * 0.12;
        QPainterPath band;
        band.moveTo(0, y0);
        band.cubicTo(w * 0.3, y0 - h * 0.32, w * 0.6, y0 + h * 0.25, w, y0 - h * 0.18);
        band.lineTo(w, h);
        band.lineTo(0, h);
        band.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(WithAlpha(k == 0 ? pal::kAccent : QColor(0xC2, 0xD2, 0xEE), alpha));
        p.drawPath(band);
    }
}

void Heart(QPainter& p, const QRectF& r)
{
    const double w = r.width();
    const double h = r.height();
    QPainterPath heart;
    heart.moveTo(r.left() + w * 0.5, r.top() + h * 0.28);
    heart.cubicTo(r.left() + w * 0.5, r.top() - h * 0.02, r.left() - w * 0.02, r.top(),
                  r.left(), r.top() + h * 0.34);
    heart.cubicTo(r.left(), r.top() + h * 0.62, r.left() + w * 0.34, r.top() + h * 0.78,
                  r.left() + w * 0.5, r.bottom());
    heart.cubicTo(r.left() + w * 0.66, r.top() + h * 0.78, r.right(), r.top() + h * 0.62,
                  r.right(), r.top() + h * 0.34);
    heart.cubicTo(r.right() + w * 0.02, r.top(), r.left() + w * 0.5, r.top() - h * 0.02,
                  r.left() + w * 0.5, r.top() + h * 0.28);
    p.setPen(QPen(QColor(178, 58, 78), 1.0));
    p.setBrush(Vertical(r, QColor(240, 116, 132), QColor(206, 70, 92)));
    p.drawPath(heart);
    p.setPen(Stroke(WithAlpha(pal::kWhite, 150), 2.0));
    p.setBrush(Qt::NoBrush);
    QPainterPath shine;
    shine.moveTo(r.left() + w * 0.16, r.top() + h * 0.38);
    shine.quadTo(r.left() + w * 0.16, r.top() + h * 0.16, r.left() + w * 0.34, r.top() + h * 0.14);
    p.drawPath(shine);
}

void Screen(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(QColor(40, 72, 130), 1.0));
    p.setBrush(Vertical(r, QColor(88, 134, 206), QColor(52, 92, 164)));
    p.drawRoundedRect(r, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 72, 130));
    p.drawRect(QRectF(r.center().x() - 3, r.bottom() + 0.5, 6, 3));
    p.drawRoundedRect(QRectF(r.center().x() - 9, r.bottom() + 3.5, 18, 2.5), 1.2, 1.2);
    QPainterPath play;
    const QPointF c = r.center();
    play.moveTo(c.x() - 4.5, c.y() - 7);
    play.lineTo(c.x() + 7, c.y());
    play.lineTo(c.x() - 4.5, c.y() + 7);
    play.closeSubpath();
    p.setBrush(pal::kWhite);
    p.drawPath(play);
}

// Three faces side by side (normal, hot, pressed), the icon drawn into each; the pressed face
// moves the icon one pixel down and right.
QImage ButtonStrip(const std::function<void(QPainter&)>& icon)
{
    QImage image = NewOpaque(kButtonW * 3, kButtonH, pal::kWhite);
    QPainter p(&image);
    Prepare(p);
    struct Face {
        QColor top, bottom, border;
        double shift;
    };
    const Face faces[] = {
        {pal::kWhite, QColor(0xF1, 0xF5, 0xFA), pal::kAccent, 0},
        {QColor(0xF7, 0xFA, 0xFF), QColor(0xE0, 0xEA, 0xFA), QColor(0x9C, 0xB8, 0xE6), 0},
        {QColor(0xD2, 0xDE, 0xF2), QColor(0xE2, 0xE9, 0xF6), QColor(0x86, 0xA1, 0xCE), 1},
    };
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(i * kButtonW, 0);
        RoundedPanel(p, QRectF(0.5, 0.5, kButtonW - 1, kButtonH - 1), 6, faces[i].top,
                     faces[i].bottom, faces[i].border,
                     i == 2 ? QColor(0xBC, 0xCB, 0xE4) : WithAlpha(pal::kWhite, 0));
        // A quiet divider between the icon area and the caption area.
        p.fillRect(QRectF(56, 10, 1, kButtonH - 20), WithAlpha(faces[i].border, 150));
        p.translate(faces[i].shift, faces[i].shift);
        icon(p);
        p.restore();
    }
    return image;
}
} // namespace

QImage HomeBanner()
{
    const int w = 600;
    const int h = 90;
    QImage image = NewOpaque(w, h, pal::kWhite);
    QPainter p(&image);
    Prepare(p);
    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0, QColor(0xE6, 0xED, 0xF8));
    g.setColorAt(1, QColor(0xF8, 0xFA, 0xFD));
    p.fillRect(QRect(0, 0, w, h), g);
    Waves(p, w, h, h * 0.72, 150);
    p.fillRect(QRect(0, h - 1, w, 1), pal::kRowLine);
    return image;
}

QImage NaviBackground()
{
    const int w = 200;
    const int h = 400;
    const QColor plain(0xF6, 0xF8, 0xFC);
    QImage image = NewOpaque(w, h, plain);
    QPainter p(&image);
    Prepare(p);
    VerticalGradient(p, QRectF(0, 0, w, 180), QColor(0xE8, 0xEE, 0xF8), plain);
    // Faint photo tiles low in the column, clear of the links at the top.
    p.setOpacity(0.35);
    p.save();
    p.translate(58, 330);
    p.rotate(-10);
    Photo(p, QRectF(-34, -24, 68, 50), 3, true);
    p.restore();
    p.save();
    p.translate(128, 344);
    p.rotate(8);
    Photo(p, QRectF(-30, -22, 60, 44), 3, true);
    p.restore();
    p.setOpacity(1.0);
    // Keep the last rows plain: they are stretched down to the bottom.
    p.fillRect(QRect(0, h - 20, w, 20), plain);
    p.fillRect(QRect(w - 1, 0, 1, h), pal::kAccent);
    return image;
}

QImage OpenAlbumBanner()
{
    const int w = 420;
    const int h = 56;
    QImage image = NewOpaque(w, h, pal::kWhite);
    QPainter p(&image);
    Prepare(p);
    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0, QColor(0xE6, 0xED, 0xF8));
    g.setColorAt(1, pal::kWhite);
    p.fillRect(QRect(0, 0, w, h), g);
    Waves(p, w, h, h * 0.78, 120);
    AlbumBook(p, QRectF(14.5, 8.5, 32, 38));
    p.fillRect(QRect(0, h - 1, w, 1), pal::kRowLine);
    return image;
}

QImage HomeButtonNewAlbum()
{
    return ButtonStrip([](QPainter& p) {
        AlbumBook(p, QRectF(11.5, 6.5, 30, 38));
        Badge(p, QPointF(40, 39), 7, pal::kHot, Mark::Plus);
    });
}

QImage HomeButtonOpenAlbum()
{
    return ButtonStrip([](QPainter& p) {
        CollectionFolder(p, QRectF(8.5, 9.5, 38, 32), QColor(0x8C, 0xB2, 0xEA), true);
    });
}

QImage HomeButtonTutorials()
{
    return ButtonStrip([](QPainter& p) { Screen(p, QRectF(8.5, 8.5, 38, 27)); });
}

QImage HomeButtonDonate()
{
    return ButtonStrip([](QPainter& p) { Heart(p, QRectF(10.5, 10.5, 34, 31)); });
}

} // namespace artgen
