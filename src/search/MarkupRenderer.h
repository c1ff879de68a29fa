#pragma once
// Drawing and measuring one line of colour markup (Markup.h) with QPainter and QFontMetrics.
// Runs are drawn left to right into what is left of the rectangle; a run that does not fit
// is cut with an end ellipsis (when asked for) and nothing after it is drawn.
// UI thread only (it paints); a renderer without a painter only measures.

#include <QFont>
#include <QRect>
#include <QRgb>
#include <QString>

#include "search/Markup.h"

class QPainter;

namespace tessary {

// Text format flags, with the values of the original drawing interface. Text always goes on
// one line; line feeds are drawn as blanks.
enum DrawTextFlag : unsigned {
    DtTop = 0x0,
    DtLeft = 0x0,
    DtVCenter = 0x4,
    DtBottom = 0x8,
    DtSingleLine = 0x20,
    DtCalcRect = 0x400,   // measure only: nothing is painted
    DtNoPrefix = 0x800,   // "&" is never a mnemonic here; accepted for the panes' sake
    DtEndEllipsis = 0x8000,
};

struct MarkupExtent {
    int width = 0;  // from the rectangle's left edge to the end of the last drawn run
    int height = 0; // the largest line height of the drawn runs
};

class MarkupRenderer {
public:
    // Saves the painter's state and selects the font and colours; the destructor restores
    // it. `opaque` fills plain runs' background with `backColor`.
    MarkupRenderer(QPainter* painter, const QFont& font, QRgb textColor, QRgb backColor, bool opaque = false);
    ~MarkupRenderer();
    MarkupRenderer(const MarkupRenderer&) = delete;
    MarkupRenderer& operator=(const MarkupRenderer&) = delete;

    const QFont& Font() const { return m_font; }
    RunDefaults Defaults() const { return m_defaults; }

    // Draws the markup on one line in `rect`. With DtCalcRect nothing is painted and `rect`
    // becomes the measured extent (its width the width used, its height the largest
    // height); otherwise `rect` is left as it is. An empty text measures 0 by 0.
    MarkupExtent DrawMarkup(const QString& markup, QRect& rect, unsigned flags);

    // Draws one run into `free` and moves its left edge past the run. Returns the run's line
    // height, 0 when nothing was drawn (an empty rectangle or text). `cut` tells whether the
    // run did not fit.
    int DrawRun(const ColorRun& run, QRect& free, unsigned flags, bool* cut = nullptr);

private:
    QPainter* m_painter;
    QFont m_font;
    RunDefaults m_defaults;
};

} // namespace tessary
