#include "SearchBoxButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "views/common/ImageResources.h"

namespace tessary {

namespace {
constexpr int kHotLighten = 103; // percent
constexpr int kPressedDarken = 106;
} // namespace

SearchBoxButton::SearchBoxButton(int glyphId, QWidget* parent) : QWidget(parent), m_glyphId(glyphId)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
}

void SearchBoxButton::SetFill(const QColor& fill)
{
    if (fill == m_fill)
        return;
    m_fill = fill;
    update();
}

void SearchBoxButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QColor fill = m_fill;
    if (m_pressed && m_hot)
        fill = fill.darker(kPressedDarken);
    else if (m_hot)
        fill = fill.lighter(kHotLighten);
    p.fillRect(rect(), fill);
    const QImage& glyph = ResourceImage(m_glyphId);
    if (!glyph.isNull()) {
        const QPoint at((width() - glyph.width()) / 2, (height() - glyph.height()) / 2);
        p.drawImage(at, ResourceImageFor(m_glyphId, p));
    }
}

void SearchBoxButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    update();
}

void SearchBoxButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    update();
    if (rect().contains(event->position().toPoint()))
        emit Clicked();
}

void SearchBoxButton::enterEvent(QEnterEvent*)
{
    m_hot = true;
    update();
}

void SearchBoxButton::leaveEvent(QEvent*)
{
    m_hot = false;
    update();
}

} // namespace tessary
