// Small glyphs: the command glyph strip, the home navigation glyphs, the search box parts and
// the insertion marker. Strokes sit on whole or half pixels so that they stay crisp at 1x.
#include "ArtCatalogue.h"
#include "ArtKit.h"

#include <functional>

namespace artgen {

namespace {
constexpr int kGlyph = 16;
constexpr double kArrowStroke = 2.0;

void ArrowUp(QPainter& p, bool toEnd)
{
    p.setPen(Stroke(pal::kInk, kArrowStroke));
    p.setBrush(Qt::NoBrush);
    const double tip = toEnd ? 6.5 : 3.5;
    QPainterPath head;
    head.moveTo(4.0, tip + 4.0);
    head.lineTo(8.0, tip);
    head.lineTo(12.0, tip + 4.0);
    p.drawPath(head);
    p.drawLine(QPointF(8.0, tip + 0.5), QPointF(8.0, 13.0));
    if (toEnd) {
        p.setPen(Qt::NoPen);
        p.setBrush(pal::kHot);
        p.drawRoundedRect(QRectF(3.0, 2.0, 10.0, 2.0), 1.0, 1.0);
    }
}

void Flipped(QPainter& p, const std::function<void(QPainter&)>& draw)
{
    p.save();
    p.translate(0, kGlyph);
    p.scale(1, -1);
    draw(p);
    p.restore();
}

void GlyphAdd(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(pal::kHot);
    p.drawRoundedRect(QRectF(7.0, 2.0, 2.0, 12.0), 1.0, 1.0);
    p.drawRoundedRect(QRectF(2.0, 7.0, 12.0, 2.0), 1.0, 1.0);
}

void GlyphDelete(QPainter& p)
{
    p.setPen(Stroke(pal::kDanger, 2.0));
    p.drawLine(QPointF(4.0, 4.0), QPointF(12.0, 12.0));
    p.drawLine(QPointF(4.0, 12.0), QPointF(12.0, 4.0));
}

// A small plus or cross with a white halo, for the corner of a 16-pixel glyph; a full badge
// would be too small to read there.
void MiniMark(QPainter& p, QColor colour, Mark mark)
{
    const QPointF c(12.0, 12.0);
    const double a = 2.5;
    QPainterPath path;
    if (mark == Mark::Plus) {
        path.moveTo(c.x() - a, c.y());
        path.lineTo(c.x() + a, c.y());
        path.moveTo(c.x(), c.y() - a);
        path.lineTo(c.x(), c.y() + a);
    } else {
        path.moveTo(c.x() - a, c.y() - a);
        path.lineTo(c.x() + a, c.y() + a);
        path.moveTo(c.x() - a, c.y() + a);
        path.lineTo(c.x() + a, c.y() - a);
    }
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(pal::kWhite, 4.2));
    p.drawPath(path);
    p.setPen(Stroke(colour, 2.0));
    p.drawPath(path);
    p.restore();
}

void GlyphCloseAlbum(QPainter& p)
{
    // At this size the album's cover photo would be noise: a cover with a label instead.
    const QRectF cover(2.5, 1.5, 10, 13);
    p.setPen(QPen(QColor(48, 86, 150), 1.0));
    p.setBrush(Vertical(cover, QColor(112, 158, 226), QColor(72, 118, 196)));
    p.drawRoundedRect(cover, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(QColor(48, 86, 150), 120));
    p.drawRect(QRectF(3.0, 2.0, 2.0, 12.0));
    p.setBrush(pal::kWhite);
    p.drawRect(QRectF(6.0, 4.0, 5.0, 3.0));
    MiniMark(p, pal::kDanger, Mark::Cross);
}

void GlyphPhoto(QPainter& p, QColor badge, Mark mark)
{
    Photo(p, QRectF(0.5, 2.5, 13, 10), 1.5);
    MiniMark(p, badge, mark);
}

void GlyphHideResults(QPainter& p)
{
    Magnifier(p, QPointF(6.5, 6.5), 5.0, 1.5, pal::kInk);
    MiniMark(p, pal::kDanger, Mark::Cross);
}

void GlyphEnvelope(QPainter& p)
{
    Envelope(p, QRectF(1.5, 3.5, 13, 9), 1.0, pal::kInk, pal::kWhite);
}

void GlyphGlobe(QPainter& p)
{
    Globe(p, QPointF(8.0, 8.0), 6.5, 1.0, pal::kHotDeep, QColor(0xE0, 0xEC, 0xFC));
}

void GlyphHelp(QPainter& p)
{
    BlueDisc(p, QPointF(8.0, 8.0), 7.5);
    QuestionMark(p, QPointF(8.0, 6.2), 2.4, 1.7, pal::kWhite);
}

QImage NaviDisc(const std::function<void(QPainter&)>& symbol)
{
    QImage image = NewCanvas(24, 24);
    QPainter p(&image);
    Prepare(p);
    BlueDisc(p, QPointF(12, 12), 11.5);
    symbol(p);
    return image;
}
} // namespace

QImage CommandGlyphs()
{
    const std::function<void(QPainter&)> glyphs[] = {
        GlyphAdd,
        GlyphDelete,
        [](QPainter& p) { ArrowUp(p, true); },
        [](QPainter& p) { ArrowUp(p, false); },
        [](QPainter& p) { Flipped(p, [](QPainter& q) { ArrowUp(q, false); }); },
        [](QPainter& p) { Flipped(p, [](QPainter& q) { ArrowUp(q, true); }); },
        GlyphCloseAlbum,
        [](QPainter& p) { GlyphPhoto(p, pal::kHot, Mark::Plus); },
        [](QPainter& p) { GlyphPhoto(p, pal::kDanger, Mark::Cross); },
        GlyphHideResults,
        GlyphEnvelope,
        GlyphGlobe,
        GlyphHelp,
    };
    const int count = int(std::size(glyphs));
    QImage image = NewCanvas(kGlyph * count, kGlyph);
    QPainter p(&image);
    Prepare(p);
    for (int i = 0; i < count; ++i) {
        p.save();
        p.translate(i * kGlyph, 0);
        p.setClipRect(QRect(0, 0, kGlyph, kGlyph));
        glyphs[i](p);
        p.restore();
    }
    return image;
}

QImage NaviWebsite()
{
    return NaviDisc([](QPainter& p) {
        Globe(p, QPointF(12, 12), 7.0, 1.2, pal::kWhite, QBrush(Qt::NoBrush));
    });
}

QImage NaviContact()
{
    return NaviDisc([](QPainter& p) {
        // A speech bubble with three dots.
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(5.5, 6.5, 13, 9), 3, 3);
        QPainterPath tail;
        tail.moveTo(8.0, 15.0);
        tail.lineTo(7.5, 19.0);
        tail.lineTo(12.0, 15.0);
        tail.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(pal::kWhite);
        p.drawPath(bubble.united(tail));
        p.setBrush(pal::kHot);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(8.5 + 3.5 * i, 11.0), 1.1, 1.1);
    });
}

QImage NaviHelp()
{
    return NaviDisc([](QPainter& p) { QuestionMark(p, QPointF(12, 9.2), 3.6, 2.3, pal::kWhite); });
}

QImage NaviAbout()
{
    return NaviDisc([](QPainter& p) { InfoSign(p, 12.0, 5.5, 13.0, 2.4, pal::kWhite); });
}

QImage SearchBoxFrame()
{
    // Slices: columns 0-1 left edge, 2-3 stretched, 4-5 right edge.
    QImage image = NewOpaque(6, 22, QColor(240, 244, 252));
    QPainter p(&image);
    const QColor outer = pal::kBorder;
    const QColor inner(0xDD, 0xE3, 0xEE);
    p.fillRect(QRect(0, 0, 6, 1), outer);
    p.fillRect(QRect(0, 21, 6, 1), outer);
    p.fillRect(QRect(0, 0, 1, 22), outer);
    p.fillRect(QRect(5, 0, 1, 22), outer);
    p.fillRect(QRect(1, 1, 4, 1), inner.darker(104));
    p.fillRect(QRect(1, 20, 4, 1), QColor(0xF4, 0xF6, 0xFA));
    p.fillRect(QRect(1, 1, 1, 20), inner);
    p.fillRect(QRect(4, 1, 1, 20), inner);
    return image;
}

QImage SearchClearGlyph()
{
    QImage image = NewCanvas(16, 16);
    QPainter p(&image);
    Prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xAE, 0xB8, 0xCA));
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setPen(Stroke(pal::kWhite, 1.6));
    p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
    p.drawLine(QPointF(5.5, 10.5), QPointF(10.5, 5.5));
    return image;
}

QImage SearchOptionsGlyph()
{
    QImage image = NewCanvas(24, 16);
    QPainter p(&image);
    Prepare(p);
    Magnifier(p, QPointF(8.5, 7.0), 4.5, 1.5, pal::kInkSoft);
    QPainterPath arrow;
    arrow.moveTo(16.5, 7.0);
    arrow.lineTo(21.5, 7.0);
    arrow.lineTo(19.0, 10.0);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(pal::kInkSoft);
    p.drawPath(arrow);
    return image;
}

QImage InsertMarker()
{
    // Slices: 8-pixel ends, columns 8-15 stretched along the row boundary.
    QImage image = NewCanvas(24, 7);
    QPainter p(&image);
    Prepare(p);
    p.setPen(Qt::NoPen);
    p.fillRect(QRect(3, 3, 18, 1), pal::kHot);
    p.fillRect(QRect(3, 2, 18, 1), WithAlpha(pal::kHot, 110));
    p.fillRect(QRect(3, 4, 18, 1), WithAlpha(pal::kHot, 110));
    p.setBrush(pal::kHot);
    QPainterPath left;
    left.moveTo(0.0, 0.0);
    left.lineTo(5.0, 3.5);
    left.lineTo(0.0, 7.0);
    left.closeSubpath();
    p.drawPath(left);
    QPainterPath right;
    right.moveTo(24.0, 0.0);
    right.lineTo(19.0, 3.5);
    right.lineTo(24.0, 7.0);
    right.closeSubpath();
    p.drawPath(right);
    return image;
}

} // namespace artgen
