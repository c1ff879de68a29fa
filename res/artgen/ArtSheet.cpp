// Contact sheet and mock-up of the artwork.
#include "ArtSheet.h"

#include "ArtKit.h"

#include <QPainter>
#include <QString>

#include <algorithm>
#include <map>

namespace artgen {

namespace {

// Digits of a 3 x 5 pixel font, one row per 3 bits, for the sheet's labels.
constexpr unsigned char kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

void DrawNumber(QPainter& p, int x, int y, int value, int scale, QColor colour)
{
    const QString digits = QString::number(value);
    for (int i = 0; i < digits.size(); ++i) {
        const int d = digits[i].digitValue();
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (kDigits[d][row] & (4 >> col))
                    p.fillRect(QRect(x + (i * 4 + col) * scale, y + row * scale, scale, scale),
                               colour);
    }
}

void Checker(QPainter& p, const QRect& r)
{
    p.save();
    p.setClipRect(r);
    const int cell = 8;
    for (int y = r.top(); y <= r.bottom(); y += cell)
        for (int x = r.left(); x <= r.right(); x += cell) {
            const bool dark = (((x - r.left()) / cell) + ((y - r.top()) / cell)) % 2;
            p.fillRect(QRect(x, y, cell, cell), dark ? QColor(214, 214, 214) : QColor(255, 255, 255));
        }
    p.restore();
}

int SheetScale(const QImage& image)
{
    const int big = std::max(image.width(), image.height());
    if (big <= 32)
        return 4;
    if (big <= 64 || image.width() <= 240)
        return 2;
    return 1;
}

QImage Catalogued(const std::vector<std::pair<int, QImage>>& images)
{
    const int width = 1120;
    const int margin = 16;
    const int gap = 20;
    const int label = 14;
    // First pass lays out, second paints.
    struct Cell {
        QRect rect;
        int id;
        const QImage* image;
    };
    std::vector<Cell> cells;
    int x = margin;
    int y = margin;
    int rowHeight = 0;
    for (const auto& [id, image] : images) {
        const int s = SheetScale(image);
        const QSize size(image.width() * s, image.height() * s);
        if (x + size.width() > width - margin && x > margin) {
            x = margin;
            y += rowHeight + label + gap;
            rowHeight = 0;
        }
        cells.push_back({QRect(QPoint(x, y), size), id, &image});
        x += size.width() + gap;
        rowHeight = std::max(rowHeight, size.height());
    }
    const int height = y + rowHeight + label + margin;
    QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(236, 238, 242));
    QPainter p(&sheet);
    for (const Cell& cell : cells) {
        Checker(p, cell.rect);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(cell.rect, *cell.image);
        DrawNumber(p, cell.rect.left(), cell.rect.bottom() + 4, cell.id, 2, QColor(61, 75, 102));
    }
    return sheet;
}

// Left cap, stretched middle and right cap of a three-part skin.
void ThreePart(QPainter& p, const QImage& skin, const QRect& r, int cap)
{
    const int h = skin.height();
    p.drawImage(QRect(r.left(), r.top(), cap, r.height()), skin, QRect(0, 0, cap, h));
    p.drawImage(QRect(r.left() + cap, r.top(), r.width() - 2 * cap, r.height()), skin,
                QRect(cap, 0, skin.width() - 2 * cap, h));
    p.drawImage(QRect(r.right() + 1 - cap, r.top(), cap, r.height()), skin,
                QRect(skin.width() - cap, 0, cap, h));
}

// Nine parts with `edge`-pixel corners around the rectangle r (the skin's centre is r).
void NinePart(QPainter& p, const QImage& skin, const QRect& r, int edge)
{
    const int sw = skin.width() - 2 * edge;
    const int sh = skin.height() - 2 * edge;
    const int xs[3] = {r.left() - edge, r.left(), r.right() + 1};
    const int ws[3] = {edge, r.width(), edge};
    const int ys[3] = {r.top() - edge, r.top(), r.bottom() + 1};
    const int hs[3] = {edge, r.height(), edge};
    const int sx[3] = {0, edge, edge + sw};
    const int sy[3] = {0, edge, edge + sh};
    const int sws[3] = {edge, sw, edge};
    const int shs[3] = {edge, sh, edge};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            if (!(i == 1 && j == 1))
                p.drawImage(QRect(xs[i], ys[j], ws[i], hs[j]), skin,
                            QRect(sx[i], sy[j], sws[i], shs[j]));
}

int Blend(int old, int target, int w)
{
    return old + w * (target - old) / 256;
}

// The tab strip's selection and hover shading.
void ShadeTab(QImage& tab, bool selected)
{
    const int h = tab.height();
    const int w = tab.width();
    for (int i = 1; i < (selected ? h : h - 1); ++i) {
        const bool last = i == h - 1;
        for (int j = 0; j < w; ++j) {
            const bool edge = j == 0 || j == w - 1;
            int weight;
            int target;
            if (!selected) {
                weight = i * i * 128 / (h * h);
                target = 255;
            } else if (edge) {
                weight = i * i * (last ? 150 : 220) / (h * h);
                target = 128;
            } else {
                weight = i * i * (last ? 140 : 230) / (h * h);
                target = 255;
            }
            const QColor c = tab.pixelColor(j, i);
            tab.setPixelColor(j, i, QColor(Blend(c.red(), target, weight),
                                           Blend(c.green(), target, weight),
                                           Blend(c.blue(), target, weight)));
        }
    }
}

QImage Glyph(const QImage& strip, int index)
{
    return strip.copy(index * 16, 0, 16, 16);
}

void CommandButton(QPainter& p, const std::map<int, const QImage*>& art, const QRect& r,
                   int state, int glyph)
{
    if (state == 0)
        p.drawImage(r, *art.at(226), QRect(0, 1, art.at(226)->width(), 27));
    else if (state == 1)
        ThreePart(p, *art.at(229), r, 14);
    else
        ThreePart(p, *art.at(227), r, 11);
    const int shift = state == 2 ? 1 : 0;
    p.drawImage(r.left() + 7 + shift, r.top() + 5 + shift, Glyph(*art.at(224), glyph));
    // Stand-in for the caption.
    if (r.width() > 40)
        p.fillRect(QRect(r.left() + 29 + shift, r.top() + 12 + shift, r.width() - 40, 3),
                   WithAlpha(pal::kInk, 150));
}

void CollectionRow(QPainter& p, const std::map<int, const QImage*>& art, const QRect& r,
                   int skin, int glyph, bool badge)
{
    if (skin == 0)
        p.fillRect(r, pal::kRowFill);
    else if (skin == 307)
        ThreePart(p, *art.at(307), r, 4);
    else
        ThreePart(p, *art.at(skin), r, 14);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), pal::kRowLine);
    int textLeft = r.left() + 15;
    if (glyph) {
        p.drawImage(r.left() + 15, r.top() + (r.height() - 25) / 2, *art.at(glyph));
        textLeft += 29;
    }
    int textRight = r.right() - 10;
    if (badge) {
        const QRect b(r.right() - 10 - 26, r.top() + (r.height() - 20) / 2, 26, 20);
        ThreePart(p, *art.at(310), b, 10);
        p.fillRect(QRect(b.left() + 9, b.top() + 9, 8, 2), pal::kWhite);
        textRight = b.left() - 5;
    }
    p.fillRect(QRect(textLeft, r.top() + 14, std::min(90, textRight - textLeft), 3),
               glyph == 309 ? pal::kHint : pal::kInk);
}

QImage MockUp(const std::map<int, const QImage*>& art)
{
    const int w = 540;
    const int h = 43 + 31 + 4 * 31 + 30 + 50;
    QImage mock(w, h, QImage::Format_ARGB32_Premultiplied);
    mock.fill(pal::kWhite);
    QPainter p(&mock);
    // Top strip with a selected and a hot tab and the search box.
    p.drawImage(QRect(0, 0, w, 43), *art.at(204));
    const struct { int x, width, icon; bool selected; } tabs[] = {{15, 110, 202, true},
                                                                  {125, 130, 203, false}};
    for (const auto& t : tabs) {
        QImage tab = art.at(204)->scaled(t.width, 43).convertToFormat(QImage::Format_RGB32);
        ShadeTab(tab, t.selected);
        QPainter tp(&tab);
        tp.drawImage(12, (43 - 32) / 2, *art.at(t.icon));
        tp.fillRect(QRect(52, 20, t.width - 67, 3),
                    t.selected ? pal::kInk : pal::kHot);
        tp.end();
        p.drawImage(t.x, 0, tab);
    }
    const QRect box(w - 220, (43 - 22) / 2, 216, 22);
    ThreePart(p, *art.at(223), box, 2);
    p.fillRect(box.adjusted(2, 2, -2, -2), QColor(240, 244, 252));
    p.drawImage(box.right() - 1 - 27 + (27 - 24) / 2, box.top() + 3, *art.at(314));
    // Command bar: normal, hot and pressed buttons; icon-only ones at the right.
    p.drawImage(QRect(0, 43, w, 31), *art.at(226));
    CommandButton(p, art, QRect(10, 44, 100, 27), 0, 6);
    CommandButton(p, art, QRect(112, 44, 100, 27), 1, 7);
    CommandButton(p, art, QRect(214, 44, 120, 27), 2, 8);
    CommandButton(p, art, QRect(336, 44, 100, 27), 0, 9);
    CommandButton(p, art, QRect(w - 10 - 30 - 2 - 30, 44, 30, 27), 1, 11);
    CommandButton(p, art, QRect(w - 10 - 30, 44, 30, 27), 0, 12);
    // Collections pane, splitter and the item list's hint.
    const int top = 74;
    CollectionRow(p, art, QRect(0, top, 220, 31), 306, 0, false);
    CollectionRow(p, art, QRect(0, top + 31, 220, 31), 307, 308, true);
    CollectionRow(p, art, QRect(0, top + 62, 220, 31), 0, 308, true);
    CollectionRow(p, art, QRect(0, top + 93, 220, 31), 305, 308, true);
    CollectionRow(p, art, QRect(0, top + 124, 220, 31), 0, 309, false);
    p.fillRect(QRect(0, top + 155, 220, h - 50 - top - 155), pal::kRowFill);
    p.fillRect(QRect(221, top, 1, h - 50 - top), pal::kAccent);
    p.drawImage(250, top + 30, *art.at(311));
    p.fillRect(QRect(282, top + 36, 180, 3), QColor(0xA0, 0xA0, 0xA0));
    p.fillRect(QRect(282, top + 46, 120, 3), QColor(0xA0, 0xA0, 0xA0));
    // Info strip with a shadowed thumbnail and the multiple-selection glyph.
    const int strip = h - 50;
    p.fillRect(QRect(0, strip, w, 1), pal::kRowLine);
    QImage thumb = NewCanvas(55, 40);
    {
        QPainter tp(&thumb);
        Prepare(tp);
        Photo(tp, QRectF(0.5, 0.5, 54, 39), 0.5);
    }
    const QRect thumbRect(15, strip + 5, 55, 40);
    p.drawImage(thumbRect.topLeft(), thumb);
    NinePart(p, *art.at(318), thumbRect, 4);
    p.fillRect(QRect(85, strip + 16, 150, 3), pal::kInk);
    p.fillRect(QRect(85, strip + 30, 220, 3), pal::kInkSoft);
    p.drawImage(320 + (55 - 32) / 2, strip + 5 + (40 - 32) / 2 + 1, *art.at(321));
    p.fillRect(QRect(320 + 70, strip + 23, 110, 3), pal::kInk);
    return mock;
}
} // namespace

QImage ContactSheet(const std::vector<std::pair<int, QImage>>& images)
{
    const QImage catalogued = Catalogued(images);
    std::map<int, const QImage*> byId;
    for (const auto& [id, image] : images)
        byId[id] = &image;
    const QImage mock = MockUp(byId);
    const int scale = 2;
    QImage sheet(catalogued.width(), catalogued.height() + mock.height() * scale + 32,
                 QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(236, 238, 242));
    QPainter p(&sheet);
    p.drawImage(0, 0, catalogued);
    p.drawImage(QRect(16, catalogued.height() + 16, mock.width() * scale, mock.height() * scale),
                mock);
    return sheet;
}

} // namespace artgen
