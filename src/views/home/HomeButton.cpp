#include "HomeButton.h"

#include <algorithm>

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "views/common/CommandEvent.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"

namespace tessary {

namespace {

constexpr QColor kCaptionColor(0x24, 0x33, 0x4D);
constexpr QColor kDetailColor(0x6B, 0x77, 0x8C);
constexpr int kCaptionPixels = 16;
constexpr int kLineGap = 2;

const QFont& CaptionFont()
{
    static const QFont font = SharedFonts::Make(kCaptionPixels, true);
    return font;
}

} // namespace

HomeButton::HomeButton(int controlId, int commandId, const QImage& strip, const QString& caption,
                       const QString& detail, QWidget* parent)
    : QWidget(parent), m_controlId(controlId), m_commandId(commandId), m_caption(caption), m_detail(detail)
{
    // A strip of device pixel ratio 2 gives faces of that ratio.
    const int scale = std::max(1, int(strip.devicePixelRatio()));
    for (size_t i = 0; i < m_faces.size(); ++i) {
        QImage face(kHomeButtonWidth * scale, kHomeButtonHeight * scale, QImage::Format_RGB32);
        face.setDevicePixelRatio(scale);
        face.fill(Qt::white);
        QPainter p(&face);
        p.drawImage(QRect(0, 0, kHomeButtonWidth, kHomeButtonHeight), strip,
                    QRect(int(i) * kHomeButtonWidth * scale, 0, kHomeButtonWidth * scale, kHomeButtonHeight * scale));
        m_faces[i] = face;
    }
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    resize(sizeHint());
}

QSize HomeButton::sizeHint() const
{
    return QSize(kHomeButtonWidth, kHomeButtonHeight);
}

HomeButton::State HomeButton::CurrentState() const
{
    if (m_captured && m_hot)
        return kPressed;
    return m_hot ? kHot : kNormal;
}

void HomeButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, m_faces[size_t(CurrentState())]);

    const QFontMetrics captionMetrics(CaptionFont());
    const QFontMetrics detailMetrics(SharedFonts::Normal());
    const int textWidth = width() - kTextLeft - kTextRight;
    const int block = captionMetrics.height() + kLineGap + detailMetrics.height();
    // The pressed face sits a pixel lower; the text follows it.
    const int shift = CurrentState() == kPressed ? 1 : 0;
    const int top = (height() - block) / 2 + shift;
    p.setFont(CaptionFont());
    p.setPen(kCaptionColor);
    p.drawText(QRect(kTextLeft + shift, top, textWidth, captionMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
               captionMetrics.elidedText(m_caption, Qt::ElideRight, textWidth));
    p.setFont(SharedFonts::Normal());
    p.setPen(kDetailColor);
    p.drawText(QRect(kTextLeft + shift, top + captionMetrics.height() + kLineGap, textWidth, detailMetrics.height()),
               Qt::AlignLeft | Qt::AlignVCenter, detailMetrics.elidedText(m_detail, Qt::ElideRight, textWidth));
}

void HomeButton::SetFlags(bool hot, bool captured)
{
    const State before = CurrentState();
    m_hot = hot;
    m_captured = captured;
    if (CurrentState() != before)
        update();
}

void HomeButton::enterEvent(QEnterEvent*)
{
    SetFlags(true, m_captured);
}

void HomeButton::leaveEvent(QEvent*)
{
    SetFlags(false, m_captured);
}

void HomeButton::mouseMoveEvent(QMouseEvent* event)
{
    // While held the button keeps the mouse, so moving off it shows up here, not as a leave.
    SetFlags(rect().contains(event->position().toPoint()), m_captured);
}

void HomeButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        SetFlags(rect().contains(event->position().toPoint()), true);
}

void HomeButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_captured)
        return;
    const bool over = rect().contains(event->position().toPoint());
    SetFlags(over, false);
    if (!over)
        return;
    PostCommand(window(), m_commandId);
    emit Clicked(m_commandId);
}

void HomeButton::hideEvent(QHideEvent*)
{
    // A page switch can hide the button under the mouse; it must not come back hot.
    SetFlags(false, false);
}

} // namespace tessary
