// The application icon. Sizes of 48 pixels and up are one drawing in a 256-unit square,
// rounded to whole pixels, whose finer parts come only at the large sizes; 16 to 32 are laid
// out on the pixel grid by hand.
#include "ArtIcon.h"
#include "ArtKit.h"

#include <algorithm>
#include <functional>

namespace artgen {

namespace {

// The album cover of AlbumBook, and the print's sky and hills of Photo.
const QColor kCoverTop(112, 158, 226);
const QColor kCoverBottom(72, 118, 196);
const QColor kCoverEdge(48, 86, 150);
const QColor kPages(0xF7, 0xF9, 0xFC);
const QColor kPageEdge = pal::kBorder;
const QColor kSkyTop(150, 190, 240);
const QColor kSkyBottom(214, 230, 250);
const QColor kHillBack(150, 200, 165);
const QColor kMatEdge = pal::kBorder.darker(112);

// The scene inside a print: sky, sun, a far and a near hill.
void Scene(QPainter& p, const QRectF& r)
{
    p.save();
    p.setClipRect(r);
    p.fillRect(r, Vertical(r, kSkyTop, kSkyBottom));
    p.setPen(Qt::NoPen);
    p.setBrush(pal::kSun);
    const double s = r.height() * 0.16;
    p.drawEllipse(QPointF(r.right() - r.width() * 0.25, r.top() + r.height() * 0.3), s, s);
    QPainterPath back;
    back.moveTo(r.left(), r.bottom());
    back.lineTo(r.left(), r.top() + r.height() * 0.6);
    back.quadTo(r.left() + r.width() * 0.55, r.top() + r.height() * 0.32, r.right(),
                r.top() + r.height() * 0.68);
    back.lineTo(r.right(), r.bottom());
    p.setBrush(kHillBack);
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(r.left(), r.bottom());
    front.lineTo(r.left(), r.top() + r.height() * 0.8);
    front.quadTo(r.left() + r.width() * 0.3, r.top() + r.height() * 0.52,
                 r.left() + r.width() * 0.62, r.top() + r.height() * 0.76);
    front.quadTo(r.left() + r.width() * 0.82, r.top() + r.height() * 0.88, r.right(),
                 r.top() + r.height() * 0.8);
    front.lineTo(r.right(), r.bottom());
    p.setBrush(pal::kLeaf);
    p.drawPath(front);
    p.restore();
}

// A print filling `box`: a border stroke of `pen` inside it, the white mat, then the scene
// `mat` in from the box's edges.
void Print(QPainter& p, const QRectF& box, double mat, double pen)
{
    p.save();
    p.setPen(QPen(kMatEdge, pen));
    p.setBrush(pal::kWhite);
    p.drawRect(box.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2));
    Scene(p, box.adjusted(mat, mat, -mat, -mat));
    p.restore();
}

// ---- 48 pixels and up -----------------------------------------------------------------------

struct Parts {
    bool pageLines;  // single leaves at the edge of the pages
    bool finish;     // stitched spine, title plate, gloss, shadows
};

// Lengths of the 256-unit layout in pixels of one size, rounded so that edges fall on whole
// pixels and strokes stay sharp.
class Layout {
public:
    explicit Layout(int size) : k_(size / 256.0) {}
    double Px(double units) const { return std::round(units * k_); }
    // A stroke width of at least one pixel.
    double Pen(double units) const { return std::max(1.0, Px(units)); }
    // The box from (x, y) of w x h units with its edges on pixel borders, moved inwards by
    // half the stroke so that a stroke of `pen` pixels covers whole pixels inside it.
    QRectF Box(double x, double y, double w, double h, double pen = 0) const
    {
        const QRectF r(Px(x), Px(y), Px(x + w) - Px(x), Px(y + h) - Px(y));
        return r.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
    }
private:
    double k_;
};

QImage Drawn(int size, Parts parts)
{
    QImage image = NewCanvas(size, size);
    QPainter p(&image);
    Prepare(p);
    const Layout u(size);

    const double coverPen = u.Pen(3);
    const double pagePen = u.Pen(2);
    const double matPen = u.Pen(2);
    const QRectF coverBox = u.Box(26, 40, 170, 188);
    const QRectF cover = coverBox.adjusted(coverPen / 2, coverPen / 2, -coverPen / 2, -coverPen / 2);
    // At least two clear pixels of pages beside and below the cover.
    const double beside = std::max(2.0 + pagePen, u.Px(12));
    const QRectF pages = QRectF(coverBox.left() + u.Px(8), coverBox.top() + u.Px(8),
                                coverBox.width() - u.Px(8) + beside,
                                coverBox.height() - u.Px(8) + beside)
                             .adjusted(pagePen / 2, pagePen / 2, -pagePen / 2, -pagePen / 2);

    if (parts.finish) {
        QRadialGradient shade(QPointF(0, 0), 1.0);
        shade.setColorAt(0, QColor(30, 50, 90, 70));
        shade.setColorAt(1, QColor(30, 50, 90, 0));
        p.save();
        p.translate(u.Px(124), u.Px(244));
        p.scale(u.Px(112), std::max(2.0, u.Px(9)));
        p.setPen(Qt::NoPen);
        p.setBrush(shade);
        p.drawEllipse(QPointF(0, 0), 1.0, 1.0);
        p.restore();
    }

    // The loose print behind the album, tilted.
    p.save();
    p.translate(u.Px(180), u.Px(78));
    p.rotate(12);
    const QRectF print(-u.Px(58), -u.Px(46), u.Px(116), u.Px(92));
    if (parts.finish)
        p.fillRect(print.translated(u.Px(3), u.Px(4)), QColor(30, 50, 90, 40));
    Print(p, print, std::max(2.0, u.Px(9)), matPen);
    p.restore();

    // The block of pages showing at the right and bottom.
    p.setPen(QPen(kPageEdge, pagePen));
    p.setBrush(kPages);
    p.drawRoundedRect(pages, u.Px(12), u.Px(12));
    if (parts.pageLines) {
        p.setPen(QPen(WithAlpha(kPageEdge, 150), u.Pen(1.5)));
        const double inset = u.Px(14);
        for (double d : {u.Px(4) + 0.5, u.Px(8) + 0.5}) {
            p.drawLine(QPointF(coverBox.right() + d, pages.top() + inset),
                       QPointF(coverBox.right() + d, pages.bottom() - inset));
            p.drawLine(QPointF(pages.left() + inset, coverBox.bottom() + d),
                       QPointF(coverBox.right() + d - u.Px(2), coverBox.bottom() + d));
        }
    }

    // Cover with its spine band.
    const double radius = u.Px(14);
    p.setPen(QPen(kCoverEdge, coverPen));
    p.setBrush(Vertical(coverBox, kCoverTop, kCoverBottom));
    p.drawRoundedRect(cover, radius, radius);
    QPainterPath inside;
    inside.addRoundedRect(cover.adjusted(coverPen / 2, coverPen / 2, -coverPen / 2, -coverPen / 2),
                          radius - coverPen / 2, radius - coverPen / 2);
    p.save();
    p.setClipPath(inside);
    const double spineRight = coverBox.left() + u.Px(32);
    p.fillRect(QRectF(coverBox.left(), coverBox.top(), spineRight - coverBox.left(), coverBox.height()),
               WithAlpha(kCoverEdge, 110));
    p.fillRect(QRectF(spineRight, coverBox.top(), u.Pen(2), coverBox.height()), WithAlpha(pal::kWhite, 70));
    if (parts.finish) {
        const QRectF gloss(coverBox.left(), coverBox.top(), coverBox.width(), coverBox.height() * 0.45);
        p.fillRect(gloss, Vertical(gloss, WithAlpha(pal::kWhite, 60), WithAlpha(pal::kWhite, 0)));
        QPen stitch(WithAlpha(pal::kWhite, 150), u.Pen(2));
        stitch.setDashPattern({1.5, 1.5});
        stitch.setCapStyle(Qt::FlatCap);
        p.setPen(stitch);
        const double x = spineRight - u.Px(7) - stitch.widthF() / 2;
        p.drawLine(QPointF(x, coverBox.top() + u.Px(12)), QPointF(x, coverBox.bottom() - u.Px(12)));
    }
    p.restore();

    // The photo on the cover, a little above the middle.
    const QRectF photoBox(spineRight + u.Px(16), coverBox.top() + u.Px(30),
                          coverBox.right() - spineRight - u.Px(32), u.Px(86));
    if (parts.finish)
        p.fillRect(photoBox.translated(u.Px(3), u.Px(4)), QColor(20, 40, 90, 60));
    Print(p, photoBox, std::max(2.0, u.Px(8)), matPen);

    if (parts.finish) {
        const QRectF plate = QRectF(photoBox.left() + u.Px(22), photoBox.bottom() + u.Px(26),
                                    photoBox.width() - 2 * u.Px(22), u.Px(18))
                                 .adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(WithAlpha(kCoverEdge, 160), 1.0));
        p.setBrush(WithAlpha(pal::kWhite, 170));
        p.drawRoundedRect(plate, u.Px(4), u.Px(4));
    }
    return image;
}

// ---- 16 to 32 pixels ------------------------------------------------------------------

struct Grid {
    QRect cover;   // border included
    QRect pages;   // border included; lies under the cover, offset down and right
    int spine;     // width of the spine band inside the cover's border
    QRect photo;   // mat included
    QRect plate;   // title plate, empty for none
};

void Put(QImage& image, int x, int y, QColor c)
{
    if (image.rect().contains(x, y))
        image.setPixelColor(x, y, c);
}

// A one-pixel border box with its corner pixels left out, which reads as rounded.
void Box(QImage& image, const QRect& r, QColor border, const std::function<QColor(int)>& fillRow)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const bool edgeX = x == r.left() || x == r.right();
            const bool edgeY = y == r.top() || y == r.bottom();
            if (edgeX && edgeY)
                continue;
            Put(image, x, y, edgeX || edgeY ? border : fillRow(y));
        }
}

QImage OnGrid(int size, const Grid& g)
{
    QImage image = NewCanvas(size, size);
    image.convertTo(QImage::Format_ARGB32);
    Box(image, g.pages, kPageEdge, [](int) { return kPages; });
    const int rows = std::max(1, g.cover.height() - 3);
    Box(image, g.cover, kCoverEdge, [&](int y) {
        return Mix(kCoverTop, kCoverBottom, double(y - g.cover.top() - 1) / rows);
    });
    QPainter p(&image);
    p.fillRect(QRect(g.cover.left() + 1, g.cover.top() + 1, g.spine, g.cover.height() - 2),
               WithAlpha(kCoverEdge, 130));
    if (!g.plate.isEmpty())
        p.fillRect(g.plate, WithAlpha(pal::kWhite, 190));
    // The photo: a white mat of one pixel, then the scene; the hill is smoothed, the rest
    // stays on the grid.
    p.fillRect(g.photo, pal::kWhite);
    const QRect inner = g.photo.adjusted(1, 1, -1, -1);
    p.setClipRect(inner);
    p.fillRect(inner, Vertical(inner, kSkyTop, kSkyBottom));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    const double w = inner.width();
    const double h = inner.height();
    const double x0 = inner.left();
    const double y0 = inner.top();
    QPainterPath hill;
    hill.moveTo(x0, y0 + h);
    hill.lineTo(x0, y0 + h * 0.55);
    hill.quadTo(x0 + w * 0.4, y0 + h * 0.2, x0 + w * 0.72, y0 + h * 0.62);
    hill.quadTo(x0 + w * 0.86, y0 + h * 0.72, x0 + w, y0 + h * 0.6);
    hill.lineTo(x0 + w, y0 + h);
    p.setBrush(pal::kLeaf);
    p.drawPath(hill);
    p.setRenderHint(QPainter::Antialiasing, false);
    // The sun: one pixel at 16, a 2 x 2 block above.
    const int sun = size >= 20 ? 2 : 1;
    p.fillRect(QRect(inner.right() - sun - (size >= 20 ? 1 : 0), inner.top() + 1, sun, sun), pal::kSun);
    return image;
}

} // namespace

const std::vector<int>& AppIconSizes()
{
    static const std::vector<int> sizes = {16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}

QImage AppIcon(int size)
{
    if (size <= 16)
        return OnGrid(size, {QRect(0, 1, 13, 13), QRect(2, 2, 13, 14), 2, QRect(4, 4, 8, 6), {}});
    if (size <= 22)
        return OnGrid(size, {QRect(1, 2, 17, 17), QRect(3, 3, 18, 18), 2, QRect(6, 5, 10, 8),
                             QRect(8, 15, 6, 1)});
    if (size <= 28)
        return OnGrid(size, {QRect(1, 2, 19, 19), QRect(3, 3, 20, 20), 3, QRect(7, 6, 11, 9),
                             QRect(9, 17, 7, 1)});
    if (size <= 40)
        return OnGrid(size, {QRect(2, 2, 25, 26), QRect(4, 3, 26, 28), 4, QRect(9, 6, 15, 12),
                             QRect(11, 21, 11, 2)});
    return Drawn(size, {size >= 96, size >= 96});
}

} // namespace artgen
