#include "MarkupRenderer.h"

#include <algorithm>

#include <QColor>
#include <QFontMetrics>
#include <QPainter>

#include "util/Text.h"

namespace tessary {

MarkupRenderer::MarkupRenderer(QPainter* painter, const QFont& font, QRgb textColor, QRgb backColor, bool opaque)
    : m_painter(painter), m_font(font)
{
    m_defaults.textColor = textColor;
    m_defaults.backColor = backColor;
    m_defaults.backMode = opaque ? BackModeOpaque : BackModeTransparent;
    if (m_painter) {
        m_painter->save();
        m_painter->setFont(m_font);
        m_painter->setPen(QColor::fromRgb(textColor));
    }
}

MarkupRenderer::~MarkupRenderer()
{
    if (m_painter)
        m_painter->restore();
}

int MarkupRenderer::DrawRun(const ColorRun& run, QRect& free, unsigned flags, bool* cut)
{
    if (cut)
        *cut = false;
    if (free.isEmpty() || run.text.isEmpty())
        return 0;
    const QFont& font = run.font ? *run.font : m_font;
    const QFontMetrics fm(font);
    QString text = UnescapeMarkup(run.text);
    // One line only: a line break is shown as the blank it stands for.
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));

    // Some characters (object replacement, lone marks) report a negative advance; a run never
    // moves the pen backwards.
    int width = std::max(fm.horizontalAdvance(text), 0);
    if (width > free.width() && (flags & DtEndEllipsis)) {
        text = fm.elidedText(text, Qt::ElideRight, free.width());
        width = std::clamp(fm.horizontalAdvance(text), 0, free.width());
        if (cut)
            *cut = true;
    }
    const int height = fm.height();
    if (m_painter && !(flags & DtCalcRect)) {
        int top = free.top();
        if (flags & DtVCenter)
            top = free.top() + (free.height() - height) / 2;
        else if (flags & DtBottom)
            top = free.top() + free.height() - height;
        m_painter->save();
        m_painter->setClipRect(free, Qt::IntersectClip);
        if (run.backMode == BackModeOpaque)
            m_painter->fillRect(QRect(free.left(), top, width, height), QColor::fromRgb(run.backColor));
        m_painter->setFont(font);
        m_painter->setPen(QColor::fromRgb(run.textColor));
        if (!text.isEmpty())
            m_painter->drawText(QPoint(free.left(), top + fm.ascent()), text);
        m_painter->restore();
    }
    free.setLeft(free.left() + width);
    return height;
}

MarkupExtent MarkupRenderer::DrawMarkup(const QString& markup, QRect& rect, unsigned flags)
{
    MarkupExtent extent;
    QRect free = rect;
    if (!markup.isEmpty()) {
        for (const ColorRun& run : ParseMarkup(markup, m_defaults)) {
            bool cut = false;
            const int height = DrawRun(run, free, flags, &cut);
            if (height <= 0)
                break;
            extent.height = std::max(extent.height, height);
            if (cut)
                break;
        }
    }
    extent.width = free.left() - rect.left();
    if (flags & DtCalcRect) {
        rect.setWidth(extent.width);
        rect.setHeight(extent.height);
    }
    return extent;
}

} // namespace tessary
