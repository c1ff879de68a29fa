#include "VeFlyoutWndBase.h"

#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QVariantAnimation>

#include "app/Settings.h"
#include "views/search/VeSearchBoxCtrlBase.h"

namespace tessary {

namespace {
constexpr int kFrame = 1;
} // namespace

QRect GlobalRectOf(const QWidget& widget)
{
    return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size());
}

VeFlyoutWndBase::VeFlyoutWndBase(VeSearchBoxCtrlBase& box, QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_box(box),
      m_history(Settings::Instance().mruSearches, Settings::Instance().allSearches),
      m_list(new VeFlatList(this)),
      m_slide(new QVariantAnimation(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->viewport()->setFocusPolicy(Qt::NoFocus);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->AddListener(this);
    m_list->viewport()->installEventFilter(this);
    m_list->viewport()->setMouseTracking(true);

    m_timer.setInterval(kTimerMs);
    connect(&m_timer, &QTimer::timeout, this, &VeFlyoutWndBase::TickIdle);

    m_slide->setDuration(kSlideMs);
    m_slide->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_slide, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { LayOutSlide(value.toInt()); });
}

VeFlyoutWndBase::~VeFlyoutWndBase()
{
    m_list->RemoveListener(this);
    WriteBack();
}

void VeFlyoutWndBase::WriteBack() const
{
    Settings& settings = Settings::Instance();
    settings.mruSearches = m_history.Recent();
    settings.allSearches = m_history.All();
}

void VeFlyoutWndBase::ClearHistory()
{
    m_history.ClearHistory();
    WriteBack();
    m_list->SetItems({});
    Hide();
}

int VeFlyoutWndBase::FullHeight() const
{
    return m_list->ItemCount() * VeFlatList::kRowHeight + 2 * kFrame;
}

void VeFlyoutWndBase::ShowAt(const QRect& globalRect)
{
    const int height = FullHeight();
    setGeometry(globalRect.left(), globalRect.bottom(), globalRect.width(), height);
    if (isVisible() && IsSliding()) {
        m_slide->setEndValue(height);
        return;
    }
    if (!Settings::Instance().autoSuggest || isVisible() || m_list->ItemCount() == 0) {
        LayOutSlide(height);
        return;
    }
    m_slide->stop();
    m_slide->setStartValue(0);
    m_slide->setEndValue(height);
    LayOutSlide(0);
    show();
    m_slide->start();
    m_idleMs = 0;
    m_timer.start();
}

void VeFlyoutWndBase::LayOutSlide(int shownHeight)
{
    // The list keeps its full height and is pushed up out of the window, so that it comes
    // down from under the box.
    const int full = height();
    const int shown = qBound(0, shownHeight, full);
    m_list->setGeometry(kFrame, kFrame - (full - shown), width() - 2 * kFrame, full - 2 * kFrame);
    update();
}

void VeFlyoutWndBase::FinishSlide()
{
    if (m_slide->state() == QAbstractAnimation::Running)
        m_slide->setCurrentTime(m_slide->duration());
    m_slide->stop();
    LayOutSlide(height());
}

bool VeFlyoutWndBase::IsSliding() const
{
    return m_slide->state() == QAbstractAnimation::Running;
}

void VeFlyoutWndBase::Hide()
{
    m_slide->stop();
    m_timer.stop();
    m_idleMs = 0;
    hide();
}

void VeFlyoutWndBase::TickIdle()
{
    if (!isVisible())
        return;
    if (frameGeometry().contains(QCursor::pos())) {
        m_idleMs = 0;
        return;
    }
    if (m_idleMs + kTimerMs >= kIdleLimitMs) {
        Hide();
        return;
    }
    m_idleMs += kTimerMs;
}

void VeFlyoutWndBase::Fill(const QStringList& suggestions)
{
    if (suggestions.isEmpty()) {
        Hide();
        return;
    }
    m_list->SetItems(suggestions);
    ShowAt(GlobalRectOf(m_box));
    m_idleMs = 0;
}

void VeFlyoutWndBase::OnSearchBoxEvent(VeSearchBoxCtrlBase& box, int flags)
{
    if (flags & (kSearchTyped | kSearchSuggestWanted))
        Fill(m_history.Suggest(box.GetText()));
    if (flags & kSearchCommitted) {
        m_history.RecordSearch(box.GetText());
        WriteBack();
        Hide();
    }
}

bool VeFlyoutWndBase::HandleKey(const QKeyEvent& event)
{
    if (!isVisible())
        return false;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const int selected = m_list->SelectedIndex();
        if (selected < 0) {
            Hide();
            return false;
        }
        PutIntoEdit(m_list->ItemText(selected));
        return true;
    }
    case Qt::Key_Escape:
        Hide();
        return true;
    case Qt::Key_Up:
        m_list->SelectPrevious();
        m_idleMs = 0;
        return true;
    case Qt::Key_Down:
        m_list->SelectNext();
        m_idleMs = 0;
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        m_list->ClearSelection();
        m_idleMs = 0;
        return false;
    default:
        return false;
    }
}

void VeFlyoutWndBase::PutIntoEdit(const QString& text)
{
    // Hidden after the text is in, so that the typed change does not bring it back with the
    // longer searches that begin with the chosen one.
    m_box.PutTypedText(text);
    Hide();
}

void VeFlyoutWndBase::OnFlatListEvent(VeFlatList& list, int flags, int row)
{
    if (flags & VeFlatList::kFlagRowChosen)
        PutIntoEdit(list.ItemText(row));
}

bool VeFlyoutWndBase::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport()) {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Enter:
        case QEvent::Wheel:
            m_idleMs = 0;
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void VeFlyoutWndBase::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(kFrameColor);
    p.setBrush(Qt::white);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace tessary
