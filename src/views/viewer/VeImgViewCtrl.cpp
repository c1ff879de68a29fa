#include "VeImgViewCtrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "imaging/QImageView.h"
#include "views/common/SharedFonts.h"

namespace tessary {

namespace {

constexpr QColor kMessageColor{0xC8, 0xC8, 0xC8};

QColor ToQColor(DibColor c)
{
    return QColor(c.red, c.green, c.blue);
}

} // namespace

VeImgViewCtrl::VeImgViewCtrl(QWidget* parent, int workers, ViewerDecoder::LoadFunction load)
    : QWidget(parent)
    , m_readAhead(nullptr, workers, std::move(load))
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_readAhead, &ViewerReadAhead::Ready, this, &VeImgViewCtrl::OnReady);
}

VeImgViewCtrl::~VeImgViewCtrl() = default;

DibSize VeImgViewCtrl::ClientSize() const
{
    return {width(), height()};
}

void VeImgViewCtrl::SetPhotos(const QStringList& paths, int index)
{
    Clear();
    if (paths.isEmpty())
        return;
    m_readAhead.SetList(paths);
    m_wheel = 0;
    ShowPhoto(std::clamp(index, 0, int(paths.size()) - 1));
}

void VeImgViewCtrl::Clear()
{
    m_readAhead.Clear();
    m_index = -1;
    m_displayed = -1;
    m_message = false;
    m_frame = QImage();
    update();
}

bool VeImgViewCtrl::ShowPhoto(int index)
{
    if (index < 0 || index >= Count() || index == m_index)
        return false;
    m_index = index;
    m_readAhead.Show(index, ClientSize());
    emit CurrentChanged(index);
    UpdateFrame();
    return true;
}

QRect VeImgViewCtrl::PhotoRect() const
{
    if (m_frame.isNull())
        return {};
    const QSize size = m_frame.size();
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void VeImgViewCtrl::SetEnlargeSmallImages(bool on)
{
    if (m_options.enlargeSmallImages == on)
        return;
    m_options.enlargeSmallImages = on;
    UpdateFrame();
}

void VeImgViewCtrl::SetShowTransparency(bool on)
{
    if (m_options.showTransparency == on)
        return;
    m_options.showTransparency = on;
    UpdateFrame();
}

void VeImgViewCtrl::SetBackgroundColor(DibColor colour)
{
    if (m_options.background == colour)
        return;
    m_options.background = colour;
    UpdateFrame();
}

void VeImgViewCtrl::OnReady(int index)
{
    if (index == m_index)
        UpdateFrame();
}

void VeImgViewCtrl::UpdateFrame()
{
    if (m_index < 0)
        return;
    if (const ScreenPhoto* photo = m_readAhead.Photo(m_index)) {
        DibImage24 frame;
        if (ComposeFrame(*photo, ClientSize(), m_options, frame)) {
            m_frame = ToQImage(frame).convertToFormat(QImage::Format_RGB32);
            m_message = false;
        } else {
            m_frame = QImage();
            m_message = true;
        }
    } else if (m_readAhead.Failed(m_index)) {
        m_frame = QImage();
        m_message = true;
    } else {
        return;
    }
    m_displayed = m_index;
    update();
    emit Displayed(m_index);
}

void VeImgViewCtrl::RequestClose()
{
    if (m_closeAllowed)
        emit CloseRequested();
}

void VeImgViewCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(m_options.background));
    if (!m_frame.isNull()) {
        painter.drawImage(PhotoRect().topLeft(), m_frame);
    } else if (m_message) {
        painter.setFont(SharedFonts::Large());
        painter.setPen(kMessageColor);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, QString::fromLatin1(kCannotShowText));
    }
}

void VeImgViewCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_index < 0)
        return;
    m_readAhead.Show(m_index, ClientSize());
    UpdateFrame();
}

void VeImgViewCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_PageUp:
    case Qt::Key_Left:
    case Qt::Key_Up: Previous(); break;
    case Qt::Key_Space:
    case Qt::Key_PageDown:
    case Qt::Key_Right:
    case Qt::Key_Down: Next(); break;
    case Qt::Key_Home: ShowPhoto(0); break;
    case Qt::Key_End: ShowPhoto(Count() - 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: RequestClose(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void VeImgViewCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        event->accept();
        RequestClose();
        return;
    }
    QWidget::mousePressEvent(event);
}

void VeImgViewCtrl::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    // Fine-grained wheels send parts of a notch; a turn back starts counting afresh.
    if ((delta > 0) != (m_wheel > 0))
        m_wheel = 0;
    m_wheel += delta;
    while (m_wheel >= kWheelNotch) {
        m_wheel -= kWheelNotch;
        Previous();
    }
    while (m_wheel <= -kWheelNotch) {
        m_wheel += kWheelNotch;
        Next();
    }
    event->accept();
}

} // namespace tessary
