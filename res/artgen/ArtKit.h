#pragma once
// Drawing kit of the artwork generator: the palette, canvases, file writers and the shapes
// that several images share. Everything is drawn with QPainter on QImage (no text, no fonts),
// so the output depends only on the code and the Qt version. Single-threaded.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

namespace artgen {

// ---- palette -------------------------------------------------------------------------------

namespace pal {
inline const QColor kInk{61, 75, 102};         // main text and glyph strokes
inline const QColor kInkSoft{108, 117, 135};   // secondary text, quieter strokes
inline const QColor kHot{50, 120, 220};        // links, hot state, "add"
inline const QColor kHotDeep{34, 94, 186};     // darker end of blue gradients
inline const QColor kAccent{0xD3, 0xDE, 0xF1}; // splitters, light blue fills
inline const QColor kSelect{212, 220, 238};    // list selection
inline const QColor kRowFill{0xEA, 0xEF, 0xF6};
inline const QColor kRowLine{0xCA, 0xD4, 0xE5};
inline const QColor kBorder{0xA7, 0xB2, 0xC4};
inline const QColor kHint{0xA0, 0xA6, 0xB2};   // muted glyphs of hints and placeholders
inline const QColor kDanger{212, 74, 74};      // delete / close marks
inline const QColor kSun{242, 180, 64};        // the one warm tone, sun of photo glyphs
inline const QColor kLeaf{92, 170, 120};       // hills of photo glyphs
inline const QColor kWhite{255, 255, 255};
} // namespace pal

// ---- canvases and files --------------------------------------------------------------------

// The scale canvases are made at: 1, or 2 for the high-density variants. Images are drawn
// in 1x units either way; a canvas of scale 2 has twice the pixels and a device pixel ratio
// of 2, so the painter scales.
void SetCanvasScale(int scale);
int CanvasScale();

// A transparent ARGB32 premultiplied image of width x height units.
QImage NewCanvas(int width, int height);
// An opaque image filled with `fill`.
QImage NewOpaque(int width, int height, QColor fill);
// A painter with antialiasing and smooth transforms on.
void Prepare(QPainter& painter);

// A plain 24-bit BI_RGB bottom-up BMP file of the image (alpha dropped), written byte by byte
// so that the layout is exactly what the program's BMP reader takes.
QByteArray EncodeBmp24(const QImage& image);
// A PNG file of the image with its alpha channel.
QByteArray EncodePng(const QImage& image);

// ---- paint helpers -------------------------------------------------------------------------

QColor Mix(QColor a, QColor b, double t);        // a + t (b - a), alpha included
QColor WithAlpha(QColor c, int alpha);
QPen Stroke(QColor colour, double width);        // round caps and joins
void VerticalGradient(QPainter& p, const QRectF& r, QColor top, QColor bottom);
QLinearGradient Vertical(const QRectF& r, QColor top, QColor bottom);

// A horizontal line of one pixel at pixel row y, from x0 to x1 (exclusive).
void HLine(QImage& image, int y, int x0, int x1, QColor c);

// ---- shared shapes -------------------------------------------------------------------------

enum class Mark { Plus, Cross, Check, Slash };
// A round badge with a white symbol and a white ring that separates it from what lies below.
void Badge(QPainter& p, QPointF centre, double radius, QColor fill, Mark mark);
// A photo: white mat with a border, sky, hills and a sun; `muted` uses the hint greys.
void Photo(QPainter& p, const QRectF& r, double radius, bool muted = false);
// A closed photo album seen from the front: cover, spine and a photo on the cover.
void AlbumBook(QPainter& p, const QRectF& r, bool muted = false);
// A collection folder with a photo showing at its top edge.
void CollectionFolder(QPainter& p, const QRectF& r, QColor body, bool withPhoto);
// A magnifier: lens ring and handle, the lens centred at `c` with outer radius `r`.
void Magnifier(QPainter& p, QPointF c, double r, double stroke, QColor colour);
// An envelope in the rectangle.
void Envelope(QPainter& p, const QRectF& r, double stroke, QColor line, QColor fill);
// A globe (circle, equator and meridians).
void Globe(QPainter& p, QPointF c, double r, double stroke, QColor line, const QBrush& fill);
// The outline of a question mark whose hook is centred at `c` with radius `r`, stroked, and
// its dot; the glyph is about 2.6 r high from the hook top.
void QuestionMark(QPainter& p, QPointF c, double r, double stroke, QColor colour);
// The letter-free "i" sign: a dot over a bar, centred on x = cx.
void InfoSign(QPainter& p, double cx, double top, double height, double stroke, QColor colour);
// A disc filled with a soft top-to-bottom blue gradient and a one-pixel darker rim.
void BlueDisc(QPainter& p, QPointF c, double r);

// ---- skins ---------------------------------------------------------------------------------

// A rounded panel for skins: fill gradient, one-pixel border, optional inner light at the top.
void RoundedPanel(QPainter& p, const QRectF& r, double radius, QColor fillTop,
                  QColor fillBottom, QColor border, QColor innerLight);

} // namespace artgen
