// Pane artwork: row skins of the collections, results and tags panes, the count badge, the
// hint glyphs, and the info strip's shadow and glyphs.
#include "ArtCatalogue.h"
#include "ArtKit.h"

#include <algorithm>
#include <cmath>

namespace artgen {

namespace {
constexpr int kCollectionRow = 31;
constexpr int kResultRow = 49;
constexpr int kTagRow = 30;
constexpr int kTagNameColumn = 160;

// A collection row skin: the row's flat fill and bottom line with a rounded panel on top.
QImage CollectionSkin(int width, double inset, double radius, QColor top, QColor bottom,
                      QColor border, QColor light)
{
    QImage image = NewOpaque(width, kCollectionRow, pal::kRowFill);
    QPainter p(&image);
    Prepare(p);
    RoundedPanel(p, QRectF(inset + 0.5, 2.5, width - 2 * inset - 1, kCollectionRow - 6), radius,
                 top, bottom, border, light);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(0, kCollectionRow - 1, width, 1), pal::kRowLine);
    return image;
}

QImage TagSelection(QColor name, QColor value)
{
    QImage image = NewOpaque(kTagNameColumn + 8, kTagRow, value);
    QPainter p(&image);
    p.fillRect(QRect(0, 0, kTagNameColumn, kTagRow), name);
    const QColor line(0xA9, 0xBE, 0xE2);
    p.fillRect(QRect(0, 0, image.width(), 1), line);
    p.fillRect(QRect(0, kTagRow - 1, image.width(), 1), line);
    p.fillRect(QRect(0, 1, image.width(), 1), WithAlpha(pal::kWhite, 120));
    return image;
}
} // namespace

QImage CollectionSelectedSkin()
{
    return CollectionSkin(40, 2, 4, QColor(0xDF, 0xE5, 0xF0), QColor(0xD3, 0xDB, 0xE9),
                          QColor(0xB2, 0xBE, 0xD3), WithAlpha(pal::kWhite, 130));
}

QImage CollectionFocusedSkin()
{
    return CollectionSkin(40, 2, 4, QColor(0xDA, 0xE6, 0xFA), QColor(0xC4, 0xD6, 0xF4),
                          QColor(0x8F, 0xB0, 0xE6), WithAlpha(pal::kWhite, 170));
}

QImage CollectionHoverSkin()
{
    return CollectionSkin(20, 1, 2, QColor(0xF7, 0xF9, 0xFD), QColor(0xF1, 0xF5, 0xFB),
                          pal::kAccent, WithAlpha(pal::kWhite, 0));
}

QImage CollectionGlyph()
{
    QImage image = NewCanvas(25, 25);
    QPainter p(&image);
    Prepare(p);
    CollectionFolder(p, QRectF(1.5, 3.5, 22, 18), QColor(0x8C, 0xB2, 0xEA), true);
    return image;
}

QImage AddCollectionGlyph()
{
    QImage image = NewCanvas(25, 25);
    QPainter p(&image);
    Prepare(p);
    CollectionFolder(p, QRectF(1.5, 3.5, 20, 17), QColor(0xD2, 0xD8, 0xE2), false);
    Badge(p, QPointF(19.5, 18.5), 4.5, pal::kHot, Mark::Plus);
    return image;
}

QImage CountBadge()
{
    // Slices: 10-pixel ends, columns 10-11 stretched.
    QImage image = NewCanvas(22, 20);
    QPainter p(&image);
    Prepare(p);
    const QRectF pill(0.5, 1.5, 21, 17);
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(pill, QColor(128, 146, 180), QColor(98, 116, 152)));
    p.drawRoundedRect(pill, 8.5, 8.5);
    return image;
}

QImage ItemListHintGlyph()
{
    QImage image = NewCanvas(24, 24);
    QPainter p(&image);
    Prepare(p);
    Photo(p, QRectF(1.5, 3.5, 18, 14), 2, true);
    Badge(p, QPointF(18.5, 17.5), 4.5, QColor(0x84, 0xA6, 0xDA), Mark::Plus);
    return image;
}

QImage DetailsHintGlyph()
{
    QImage image = NewCanvas(24, 24);
    QPainter p(&image);
    Prepare(p);
    Photo(p, QRectF(1.5, 3.5, 18, 14), 2, true);
    Magnifier(p, QPointF(15.5, 14.5), 4.5, 1.6, QColor(0x84, 0x8E, 0xA0));
    return image;
}

QImage ResultSelectedSkin()
{
    QImage image = NewOpaque(40, kResultRow, pal::kWhite);
    QPainter p(&image);
    Prepare(p);
    RoundedPanel(p, QRectF(2.5, 1.5, 35, kResultRow - 3), 4, QColor(0xE6, 0xEE, 0xFB),
                 QColor(0xD3, 0xE0, 0xF6), QColor(0xA6, 0xBF, 0xE8), WithAlpha(pal::kWhite, 170));
    return image;
}

QImage TagSelectedEven()
{
    return TagSelection(QColor(0xC8, 0xD6, 0xEF), QColor(0xD8, 0xE3, 0xF5));
}

QImage TagSelectedOdd()
{
    return TagSelection(QColor(0xD0, 0xDD, 0xF3), QColor(0xE0, 0xE9, 0xF8));
}

QImage InfoShadow()
{
    // Nine parts of 4 x 4; the centre is where the thumbnail lies and stays clear.
    QImage image = NewCanvas(12, 12);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const double cx = x + 0.5;
            const double cy = y + 0.5;
            const double dx = std::max({4.0 - cx, 0.0, cx - 8.0});
            const double dy = std::max({4.0 - cy, 0.0, cy - 8.0});
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d <= 0.0)
                continue;
            const int alpha = d <= 1.0 ? 96 : int(std::lround(60.0 * std::exp(-(d - 1.0) * 1.2)));
            const QColor c = WithAlpha(pal::kInk, alpha);
            image.setPixelColor(x, y, c);
        }
    }
    return image;
}

QImage InfoCollectionGlyph()
{
    QImage image = NewCanvas(32, 32);
    QPainter p(&image);
    Prepare(p);
    CollectionFolder(p, QRectF(2.5, 4.5, 27, 23), QColor(0x8C, 0xB2, 0xEA), true);
    return image;
}

QImage InfoAllCollectionsGlyph()
{
    QImage image = NewCanvas(32, 32);
    QPainter p(&image);
    Prepare(p);
    CollectionFolder(p, QRectF(8.5, 2.5, 21, 17), QColor(0xB9, 0xCC, 0xEC), false);
    CollectionFolder(p, QRectF(5.5, 6.5, 21, 17), QColor(0xA2, 0xBF, 0xEC), false);
    CollectionFolder(p, QRectF(2.5, 10.5, 22, 18), QColor(0x8C, 0xB2, 0xEA), true);
    return image;
}

QImage InfoMultipleGlyph()
{
    QImage image = NewCanvas(32, 32);
    QPainter p(&image);
    Prepare(p);
    p.save();
    p.translate(14.5, 13.5);
    p.rotate(-9);
    Photo(p, QRectF(-11, -8.5, 22, 17), 1.5);
    p.restore();
    Photo(p, QRectF(6.5, 9.5, 22, 17), 1.5);
    Badge(p, QPointF(25.5, 25.5), 5.0, pal::kHot, Mark::Check);
    return image;
}

QImage RecentAlbumGlyph()
{
    QImage image = NewCanvas(32, 32);
    QPainter p(&image);
    Prepare(p);
    AlbumBook(p, QRectF(5.5, 2.5, 22, 28));
    return image;
}

} // namespace artgen
