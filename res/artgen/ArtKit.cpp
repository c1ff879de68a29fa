#include "ArtKit.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>
#include <cstdint>

namespace artgen {

namespace {
int g_scale = 1;
} // namespace

void SetCanvasScale(int scale)
{
    g_scale = scale;
}

int CanvasScale()
{
    return g_scale;
}

QImage NewCanvas(int width, int height)
{
    QImage image(width * g_scale, height * g_scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(g_scale);
    image.fill(Qt::transparent);
    return image;
}

QImage NewOpaque(int width, int height, QColor fill)
{
    QImage image(width * g_scale, height * g_scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(g_scale);
    image.fill(fill);
    return image;
}

void Prepare(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

namespace {
void PutLe(QByteArray& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}
} // namespace

QByteArray EncodeBmp24(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width();
    const int h = rgb.height();
    const int stride = ((w * 24 + 31) / 32) * 4;
    const uint32_t pixelBytes = uint32_t(stride) * uint32_t(h);
    QByteArray out;
    out.reserve(int(54 + pixelBytes));
    out.append("BM", 2);
    PutLe(out, 54 + pixelBytes, 4);
    PutLe(out, 0, 4);
    PutLe(out, 54, 4);
    PutLe(out, 40, 4);           // BITMAPINFOHEADER
    PutLe(out, uint32_t(w), 4);
    PutLe(out, uint32_t(h), 4);  // positive: bottom-up
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4);            // BI_RGB
    PutLe(out, pixelBytes, 4);
    PutLe(out, 2835, 4);         // 72 dpi
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        int written = 0;
        for (int x = 0; x < w; ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
            written += 3;
        }
        for (; written < stride; ++written)
            out.append('\0');
    }
    return out;
}

QByteArray EncodePng(const QImage& image)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
    return out;
}

QColor Mix(QColor a, QColor b, double t)
{
    auto lerp = [t](int x, int y) { return int(std::lround(x + t * (y - x))); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QColor WithAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

QPen Stroke(QColor colour, double width)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QLinearGradient Vertical(const QRectF& r, QColor top, QColor bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

void VerticalGradient(QPainter& p, const QRectF& r, QColor top, QColor bottom)
{
    p.fillRect(r, Vertical(r, top, bottom));
}

void HLine(QImage& image, int y, int x0, int x1, QColor c)
{
    QPainter p(&image);
    p.fillRect(QRect(x0, y, x1 - x0, 1), c);
}

void Badge(QPainter& p, QPointF centre, double radius, QColor fill, Mark mark)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(pal::kWhite);
    const double ring = radius >= 4.0 ? 1.2 : 1.0;
    p.drawEllipse(centre, radius + ring, radius + ring);
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);
    const double a = radius * 0.5;
    const double w = radius >= 4.5 ? 1.6 : 1.3;
    p.setPen(Stroke(pal::kWhite, w));
    const double x = centre.x();
    const double y = centre.y();
    switch (mark) {
    case Mark::Plus:
        p.drawLine(QPointF(x - a, y), QPointF(x + a, y));
        p.drawLine(QPointF(x, y - a), QPointF(x, y + a));
        break;
    case Mark::Cross: {
        const double d = a * 0.85;
        p.drawLine(QPointF(x - d, y - d), QPointF(x + d, y + d));
        p.drawLine(QPointF(x - d, y + d), QPointF(x + d, y - d));
        break;
    }
    case Mark::Check: {
        QPainterPath tick;
        tick.moveTo(x - a, y);
        tick.lineTo(x - a * 0.2, y + a * 0.75);
        tick.lineTo(x + a, y - a * 0.7);
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        break;
    }
    case Mark::Slash:
        p.drawLine(QPointF(x - a, y + a), QPointF(x + a, y - a));
        break;
    }
    p.restore();
}

void Photo(QPainter& p, const QRectF& r, double radius, bool muted)
{
    p.save();
    const QColor border = muted ? pal::kHint : pal::kBorder.darker(112);
    const QColor skyTop = muted ? QColor(0xE4, 0xE8, 0xEE) : QColor(150, 190, 240);
    const QColor skyBottom = muted ? QColor(0xF2, 0xF4, 0xF7) : QColor(214, 230, 250);
    const QColor hill = muted ? QColor(0xC4, 0xCA, 0xD4) : pal::kLeaf;
    const QColor hillBack = muted ? QColor(0xD4, 0xD9, 0xE1) : QColor(150, 200, 165);
    const QColor sun = muted ? QColor(0xD6, 0xDA, 0xE2) : pal::kSun;

    p.setPen(QPen(border, 1.0));
    p.setBrush(pal::kWhite);
    p.drawRoundedRect(r, radius, radius);

    const double mat = std::max(1.5, std::round(r.width() / 9.0));
    const QRectF inner = r.adjusted(mat, mat, -mat, -mat);
    QPainterPath clip;
    clip.addRoundedRect(inner, radius * 0.4, radius * 0.4);
    p.setClipPath(clip);
    p.fillRect(inner, Vertical(inner, skyTop, skyBottom));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    const double s = inner.height() * 0.17;
    p.drawEllipse(QPointF(inner.right() - inner.width() * 0.26, inner.top() + inner.height() * 0.3),
                  s, s);
    QPainterPath back;
    back.moveTo(inner.left(), inner.bottom());
    back.lineTo(inner.left(), inner.top() + inner.height() * 0.62);
    back.quadTo(inner.left() + inner.width() * 0.55, inner.top() + inner.height() * 0.35,
                inner.right(), inner.top() + inner.height() * 0.7);
    back.lineTo(inner.right(), inner.bottom());
    p.setBrush(hillBack);
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(inner.left(), inner.bottom());
    front.lineTo(inner.left(), inner.top() + inner.height() * 0.8);
    front.quadTo(inner.left() + inner.width() * 0.3, inner.top() + inner.height() * 0.55,
                 inner.left() + inner.width() * 0.62, inner.top() + inner.height() * 0.78);
    front.quadTo(inner.left() + inner.width() * 0.8, inner.top() + inner.height() * 0.9,
                 inner.right(), inner.top() + inner.height() * 0.82);
    front.lineTo(inner.right(), inner.bottom());
    p.setBrush(hill);
    p.drawPath(front);
    p.restore();
}

void AlbumBook(QPainter& p, const QRectF& r, bool muted)
{
    p.save();
    const QColor coverTop = muted ? QColor(0xB8, 0xC0, 0xCC) : QColor(112, 158, 226);
    const QColor coverBottom = muted ? QColor(0xA4, 0xAD, 0xBB) : QColor(72, 118, 196);
    const QColor edge = muted ? QColor(0x8C, 0x96, 0xA6) : QColor(48, 86, 150);
    const double radius = std::max(1.5, r.width() / 10.0);
    // Pages showing at the right and bottom edge.
    p.setPen(QPen(pal::kBorder, 1.0));
    p.setBrush(QColor(0xF7, 0xF9, 0xFC));
    p.drawRoundedRect(r.adjusted(2, 2, 0, 0), radius, radius);
    // Cover.
    const QRectF cover = r.adjusted(0, 0, -2, -2);
    p.setPen(QPen(edge, 1.0));
    p.setBrush(Vertical(cover, coverTop, coverBottom));
    p.drawRoundedRect(cover, radius, radius);
    // Spine band.
    const double spine = std::max(2.0, std::round(cover.width() * 0.16));
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(edge, 110));
    p.drawRect(QRectF(cover.left() + 0.5, cover.top() + 0.5, spine, cover.height() - 1));
    // Photo on the cover.
    const double inset = std::round(cover.width() * 0.16);
    const QRectF photo(cover.left() + spine + inset * 0.6, cover.top() + cover.height() * 0.2,
                       cover.width() - spine - inset * 1.6, cover.height() * 0.46);
    Photo(p, photo, 1.0, muted);
    p.restore();
}

void CollectionFolder(QPainter& p, const QRectF& r, QColor body, bool withPhoto)
{
    p.save();
    const QColor edge = body.darker(135);
    const double tabH = std::round(r.height() * 0.14);
    const double radius = std::max(1.5, r.height() / 9.0);
    // Back with its tab.
    QPainterPath back;
    back.moveTo(r.left(), r.bottom() - radius);
    back.lineTo(r.left(), r.top() + radius);
    back.quadTo(r.left(), r.top(), r.left() + radius, r.top());
    back.lineTo(r.left() + r.width() * 0.36, r.top());
    back.lineTo(r.left() + r.width() * 0.36 + tabH, r.top() + tabH);
    back.lineTo(r.right() - radius, r.top() + tabH);
    back.quadTo(r.right(), r.top() + tabH, r.right(), r.top() + tabH + radius);
    back.lineTo(r.right(), r.bottom() - radius);
    back.quadTo(r.right(), r.bottom(), r.right() - radius, r.bottom());
    back.lineTo(r.left() + radius, r.bottom());
    back.quadTo(r.left(), r.bottom(), r.left(), r.bottom() - radius);
    p.setPen(QPen(edge, 1.0));
    p.setBrush(body.darker(112));
    p.drawPath(back);
    if (withPhoto) {
        // Tilted a little so that it reads as a print sticking out, not as a band.
        const QRectF photo(-r.width() * 0.34, -r.height() * 0.3, r.width() * 0.68,
                           r.height() * 0.6);
        p.save();
        p.translate(r.left() + r.width() * 0.5, r.top() + tabH + r.height() * 0.3);
        p.rotate(-6);
        Photo(p, photo, 1.0);
        p.restore();
    }
    // Front flap.
    const QRectF front(r.left(), r.top() + r.height() * 0.52, r.width(), r.height() * 0.48);
    p.setPen(QPen(edge, 1.0));
    p.setBrush(Vertical(front, body.lighter(108), body));
    p.drawRoundedRect(front, radius, radius);
    p.restore();
}

void Magnifier(QPainter& p, QPointF c, double r, double stroke, QColor colour)
{
    p.save();
    p.setPen(Stroke(colour, stroke));
    p.setBrush(WithAlpha(pal::kWhite, 200));
    p.drawEllipse(c, r - stroke / 2, r - stroke / 2);
    const double k = 0.7071;
    p.setPen(Stroke(colour, stroke + 0.6));
    p.drawLine(QPointF(c.x() + r * k, c.y() + r * k), QPointF(c.x() + r * 2.0, c.y() + r * 2.0));
    p.restore();
}

void Envelope(QPainter& p, const QRectF& r, double stroke, QColor line, QColor fill)
{
    p.save();
    p.setPen(Stroke(line, stroke));
    p.setBrush(fill);
    p.drawRoundedRect(r, 1.5, 1.5);
    QPainterPath flap;
    flap.moveTo(r.left() + 0.5, r.top() + 0.5);
    flap.lineTo(r.center().x(), r.top() + r.height() * 0.58);
    flap.lineTo(r.right() - 0.5, r.top() + 0.5);
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);
    p.restore();
}

void Globe(QPainter& p, QPointF c, double r, double stroke, QColor line, const QBrush& fill)
{
    p.save();
    p.setPen(QPen(line, stroke));
    p.setBrush(fill);
    p.drawEllipse(c, r, r);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r * 0.42, r);
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    p.restore();
}

void QuestionMark(QPainter& p, QPointF c, double r, double stroke, QColor colour)
{
    p.save();
    QPainterPath hook;
    // From the left of the hook over the top, down the right side and in to the stem.
    hook.arcMoveTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 165);
    hook.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 165, -225);
    hook.quadTo(QPointF(c.x(), c.y() + r * 0.95), QPointF(c.x(), c.y() + r * 1.45));
    p.setPen(Stroke(colour, stroke));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const double dot = stroke * 0.62;
    p.drawEllipse(QPointF(c.x(), c.y() + r * 1.45 + stroke * 1.25 + dot), dot, dot);
    p.restore();
}

void InfoSign(QPainter& p, double cx, double top, double height, double stroke, QColor colour)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const double dot = stroke * 0.62;
    p.drawEllipse(QPointF(cx, top + dot), dot, dot);
    p.setPen(Stroke(colour, stroke));
    const double barTop = top + dot * 2 + stroke * 1.2;
    p.drawLine(QPointF(cx, barTop + stroke / 2), QPointF(cx, top + height - stroke / 2));
    p.restore();
}

void BlueDisc(QPainter& p, QPointF c, double r)
{
    p.save();
    QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
    p.setPen(QPen(pal::kHotDeep, 1.0));
    p.setBrush(Vertical(box, QColor(92, 154, 236), pal::kHot));
    p.drawEllipse(c, r - 0.5, r - 0.5);
    p.restore();
}

void RoundedPanel(QPainter& p, const QRectF& r, double radius, QColor fillTop,
                  QColor fillBottom, QColor border, QColor innerLight)
{
    p.save();
    p.setPen(QPen(border, 1.0));
    p.setBrush(Vertical(r, fillTop, fillBottom));
    p.drawRoundedRect(r, radius, radius);
    if (innerLight.alpha() > 0) {
        p.setPen(QPen(innerLight, 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(r.left() + radius, r.top() + 1), QPointF(r.right() - radius, r.top() + 1));
    }
    p.restore();
}

} // namespace artgen
