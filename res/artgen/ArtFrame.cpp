// Page tabs, the top strip and the command bar.
#include "ArtCatalogue.h"
#include "ArtKit.h"

namespace artgen {

namespace {
// The command bar face is 31 rows; the buttons cover rows 1 to 27 of it.
constexpr int kBarHeight = 31;
constexpr int kButtonTop = 1;
constexpr int kButtonHeight = 27;
constexpr int kSkinWidth = 40;

QImage FaceRows(int top, int height, int width)
{
    const QImage face = CmdBarFace();
    QImage out = NewCanvas(width, height);
    QPainter p(&out);
    p.drawImage(QRect(0, 0, width, height), face, QRect(0, top, face.width(), height));
    return out;
}

void RoofAndHouse(QPainter& p)
{
    // Soft ground shadow.
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(pal::kInk, 40));
    p.drawEllipse(QPointF(16, 28.5), 12, 1.8);
    // Walls.
    const QRectF walls(7.5, 14.5, 17, 13);
    p.setPen(QPen(QColor(96, 112, 142), 1.0));
    p.setBrush(Vertical(walls, pal::kWhite, QColor(0xE2, 0xE9, 0xF4)));
    p.drawRect(walls);
    // Chimney.
    p.setBrush(Vertical(QRectF(20.5, 5.5, 3, 7), QColor(130, 146, 176), QColor(104, 120, 150)));
    p.drawRect(QRectF(20.5, 5.5, 3, 7));
    // Roof.
    QPainterPath roof;
    roof.moveTo(3.0, 16.0);
    roof.lineTo(16.0, 4.0);
    roof.lineTo(29.0, 16.0);
    roof.lineTo(26.5, 17.5);
    roof.lineTo(16.0, 8.0);
    roof.lineTo(5.5, 17.5);
    roof.closeSubpath();
    p.setPen(QPen(pal::kHotDeep.darker(115), 1.0));
    p.setBrush(Vertical(QRectF(3, 4, 26, 14), QColor(96, 156, 238), pal::kHotDeep));
    p.drawPath(roof);
    // Gable under the roof.
    QPainterPath gable;
    gable.moveTo(8.0, 15.0);
    gable.lineTo(16.0, 8.2);
    gable.lineTo(24.0, 15.0);
    gable.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF4, 0xF7, 0xFC));
    p.drawPath(gable);
    // Door and window.
    p.setPen(QPen(QColor(40, 80, 150), 1.0));
    p.setBrush(Vertical(QRectF(12.5, 19.5, 5, 8), QColor(84, 140, 222), QColor(52, 104, 190)));
    p.drawRoundedRect(QRectF(12.5, 19.5, 5, 8), 1.0, 1.0);
    p.setPen(QPen(QColor(96, 112, 142), 1.0));
    p.setBrush(QColor(196, 220, 248));
    p.drawRect(QRectF(19.5, 18.5, 3, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(pal::kSun);
    p.drawEllipse(QPointF(16.5, 24), 0.7, 0.7);
}

void Card(QPainter& p, QPointF centre, double angle, double w, double h)
{
    p.save();
    p.translate(centre);
    p.rotate(angle);
    p.setPen(QPen(pal::kBorder.darker(110), 1.0));
    p.setBrush(QColor(0xF6, 0xF8, 0xFB));
    p.drawRoundedRect(QRectF(-w / 2, -h / 2, w, h), 1.5, 1.5);
    p.restore();
}
} // namespace

QImage TabHome()
{
    QImage image = NewCanvas(32, 32);
    QPainter p(&image);
    Prepare(p);
    RoofAndHouse(p);
    return image;
}

QImage TabAlbum()
{
    QImage image = NewCanvas(32, 32);
    QPainter p(&image);
    Prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(pal::kInk, 36));
    p.drawEllipse(QPointF(16, 28.5), 12, 1.8);
    Card(p, QPointF(15.5, 14.5), -12, 22, 17);
    Card(p, QPointF(16.5, 15.5), 7, 22, 17);
    Photo(p, QRectF(4.5, 8.5, 23, 18), 1.5);
    return image;
}

QImage TopStripBackground()
{
    QImage image = NewOpaque(8, 43, pal::kWhite);
    QPainter p(&image);
    VerticalGradient(p, QRectF(0, 0, 8, 42), QColor(0xF6, 0xF8, 0xFC), QColor(0xD8, 0xE1, 0xEE));
    p.fillRect(QRect(0, 42, 8, 1), QColor(0xB6, 0xC2, 0xD6));
    return image;
}

QImage CmdBarFace()
{
    QImage image = NewOpaque(8, kBarHeight, pal::kWhite);
    QPainter p(&image);
    VerticalGradient(p, QRectF(0, 0, 8, kBarHeight - 1), QColor(0xFB, 0xFC, 0xFE),
                     QColor(0xE9, 0xEE, 0xF6));
    p.fillRect(QRect(0, kBarHeight - 1, 8, 1), pal::kRowLine);
    return image;
}

QImage CmdBarHotSkin()
{
    QImage image = FaceRows(kButtonTop, kButtonHeight, kSkinWidth);
    QPainter p(&image);
    Prepare(p);
    RoundedPanel(p, QRectF(0.5, 0.5, kSkinWidth - 1, kButtonHeight - 1), 4.5, pal::kWhite,
                 QColor(0xE4, 0xED, 0xFB), QColor(0x9C, 0xB8, 0xE6), WithAlpha(pal::kWhite, 0));
    return image;
}

QImage CmdBarPressedSkin()
{
    QImage image = FaceRows(kButtonTop, kButtonHeight, kSkinWidth);
    QPainter p(&image);
    Prepare(p);
    RoundedPanel(p, QRectF(0.5, 0.5, kSkinWidth - 1, kButtonHeight - 1), 4.5,
                 QColor(0xCC, 0xD9, 0xEF), QColor(0xDC, 0xE5, 0xF4), QColor(0x86, 0xA1, 0xCE),
                 QColor(0xBC, 0xCB, 0xE4));
    return image;
}

} // namespace artgen
