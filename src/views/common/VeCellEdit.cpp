#include "VeCellEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "views/common/SharedFonts.h"

namespace tessary {

namespace {

constexpr int kFontPixels = 14;
constexpr int kExtraHeight = 4; // the frame above and below the text

bool IsPress(const QEvent* event)
{
    return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
}

} // namespace

VeCellEdit::VeCellEdit(CellEditOwner& owner, Qt::Alignment alignment, const QColor& frameColor, QWidget* parent,
                       int maxLength)
    : QLineEdit(parent), owner_(owner), frameColor_(frameColor)
{
    setFont(SharedFonts::Make(kFontPixels));
    // The frame is painted here; QLineEdit's own inner margin equals its width.
    setFrame(false);
    setTextMargins(0, 0, 0, 0);
    setAlignment((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
    setMaxLength(maxLength);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
    hide();
}

VeCellEdit::~VeCellEdit()
{
    qApp->removeEventFilter(this);
}

void VeCellEdit::PlaceInCell(const QRect& cell)
{
    // A one-line measurement gives the font's line height for any text, the empty sample too.
    const int textHeight = QFontMetrics(font()).height();
    int top = cell.top();
    int height = textHeight + kExtraHeight;
    if (cell.height() > height) {
        top += (cell.height() - height) / 2 - 1;
        height += 2;
    }
    setGeometry(cell.left(), top, cell.width(), height);
}

void VeCellEdit::ShowWithFocus()
{
    endCode_ = kEndCommit;
    open_ = true;
    ++showSerial_;
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

bool VeCellEdit::EndEdit()
{
    if (!open_ || ending_)
        return false;
    return RunEndProtocol();
}

void VeCellEdit::CancelEdit()
{
    if (!open_ || ending_)
        return;
    endCode_ = kEndCancel;
    RunEndProtocol();
}

bool VeCellEdit::RunEndProtocol()
{
    if (ending_ || !open_)
        return false;
    QPointer<VeCellEdit> self(this);
    ending_ = true;
    ++protocolRuns_;
    const int code = endCode_;
    if (code != kEndCancel && !owner_.CellEditMayEnd(*this)) {
        if (!self)
            return false;
        // Whatever ends the next attempt, it is not this Enter.
        endCode_ = kEndCommit;
        swallowPresses_ = true;
        QTimer::singleShot(0, this, [this] { swallowPresses_ = false; });
        setFocus(Qt::OtherFocusReason);
        selectAll();
        ending_ = false;
        return false;
    }
    open_ = false;
    const int serial = showSerial_;
    owner_.CellEditEnded(*this, code);
    if (!self)
        return true;
    if (serial == showSerial_)
        hide();
    ending_ = false;
    return true;
}

void VeCellEdit::MoveFocusAway()
{
    const int runs = protocolRuns_;
    QWidget* target = focusTarget_ ? focusTarget_.data() : parentWidget();
    if (target)
        target->setFocus(Qt::OtherFocusReason);
    // Without an active window the focus does not move, and the key must still end the edit.
    if (runs == protocolRuns_ && open_)
        RunEndProtocol();
}

void VeCellEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        if (event->modifiers() & Qt::ControlModifier) {
            if (event->isAutoRepeat())
                return;
            endCode_ = kEndCtrlEnter;
        } else {
            endCode_ = kEndEnter;
        }
        MoveFocusAway();
        return;
    }
    if (key == Qt::Key_Escape) {
        event->accept();
        endCode_ = kEndCancel;
        MoveFocusAway();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void VeCellEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A popup (the editor's own context menu) only borrows the focus.
    if (!open_ || ending_ || event->reason() == Qt::PopupFocusReason)
        return;
    if (window()->isMinimized())
        endCode_ = kEndCancel;
    RunEndProtocol();
}

void VeCellEdit::paintEvent(QPaintEvent* event)
{
    {
        QPainter back(this);
        back.fillRect(rect(), Qt::white);
    }
    QLineEdit::paintEvent(event);
    QPainter p(this);
    p.setPen(frameColor_);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(Qt::white);
    p.drawRect(rect().adjusted(1, 1, -2, -2));
}

bool VeCellEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsPress(event) || !watched->isWidgetType() || !isVisible() || !open_)
        return QLineEdit::eventFilter(watched, event);
    auto* widget = static_cast<QWidget*>(watched);
    if (widget == this || isAncestorOf(widget) || widget->windowType() == Qt::Popup)
        return QLineEdit::eventFilter(watched, event);
    // A refused ending keeps the press (and its copies passed up to the parents) from
    // acting on what lies under it.
    if (swallowPresses_)
        return true;
    if (ending_)
        return QLineEdit::eventFilter(watched, event);
    const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
    if (rect().contains(mapFromGlobal(global)))
        return QLineEdit::eventFilter(watched, event);
    if (!RunEndProtocol())
        return true;
    return QLineEdit::eventFilter(watched, event);
}

void VeCellEdit::showEvent(QShowEvent* event)
{
    QLineEdit::showEvent(event);
    qApp->installEventFilter(this);
}

void VeCellEdit::hideEvent(QHideEvent* event)
{
    qApp->removeEventFilter(this);
    QLineEdit::hideEvent(event);
}

} // namespace tessary
