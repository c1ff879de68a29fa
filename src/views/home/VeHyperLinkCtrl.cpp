#include "VeHyperLinkCtrl.h"

#include <algorithm>

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "views/common/CommandEvent.h"
#include "views/common/ImageResources.h"
#include "views/common/SharedFonts.h"

namespace tessary {

VeHyperLinkCtrl::VeHyperLinkCtrl(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    resize(sizeHint());
}

void VeHyperLinkCtrl::SetGlyph(int glyphId)
{
    m_glyphId = glyphId;
    resize(sizeHint());
    update();
}

const QImage& VeHyperLinkCtrl::Glyph() const
{
    static const QImage none;
    return m_glyphId != 0 ? ResourceImage(m_glyphId) : none;
}

void VeHyperLinkCtrl::SetCaption(const QString& caption)
{
    m_caption = caption;
    resize(sizeHint());
    update();
}

void VeHyperLinkCtrl::SetTarget(WebPage page)
{
    m_target = page;
}

void VeHyperLinkCtrl::SetCommand(int commandId)
{
    m_command = commandId;
}

void VeHyperLinkCtrl::SetBackground(const QImage& background)
{
    m_background = background;
    update();
}

const QFont& VeHyperLinkCtrl::CaptionFont() const
{
    return m_hot ? SharedFonts::Link() : SharedFonts::Normal();
}

QSize VeHyperLinkCtrl::SizeFor(const QSize& glyph, const QString& caption, const QFontMetrics& metrics)
{
    return QSize(glyph.width() + kCaptionGap + metrics.horizontalAdvance(caption),
                 std::max(glyph.height(), metrics.height()));
}

QSize VeHyperLinkCtrl::sizeHint() const
{
    return SizeFor(Glyph().size(), m_caption, QFontMetrics(SharedFonts::Normal()));
}

void VeHyperLinkCtrl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!m_background.isNull())
        p.drawImage(0, 0, m_background);
    const QImage& glyph = Glyph();
    if (!glyph.isNull())
        p.drawImage(0, (height() - glyph.height()) / 2, ResourceImageFor(m_glyphId, p));
    p.setFont(CaptionFont());
    p.setPen(CaptionColor());
    const int left = glyph.width() + kCaptionGap;
    p.drawText(QRect(left, 0, width() - left, height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               m_caption);
}

void VeHyperLinkCtrl::SetHot(bool hot)
{
    if (hot == m_hot)
        return;
    m_hot = hot;
    update();
}

void VeHyperLinkCtrl::enterEvent(QEnterEvent*)
{
    SetHot(true);
}

void VeHyperLinkCtrl::leaveEvent(QEvent*)
{
    SetHot(false);
}

void VeHyperLinkCtrl::mouseMoveEvent(QMouseEvent* event)
{
    // With a button held the mouse stays grabbed, so leave events do not come.
    SetHot(rect().contains(event->position().toPoint()));
}

void VeHyperLinkCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
}

void VeHyperLinkCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    if (rect().contains(event->position().toPoint()))
        Activate();
}

void VeHyperLinkCtrl::Activate()
{
    // The shell answers for pages that cannot be opened; nothing to report here.
    if (m_target)
        OpenWebPage(*m_target);
    else if (m_command != 0)
        PostCommand(window(), m_command);
    emit Clicked();
}

void VeHyperLinkCtrl::hideEvent(QHideEvent*)
{
    // A page switch can hide the link under the mouse; it must not come back hot.
    m_pressed = false;
    SetHot(false);
}

} // namespace tessary
