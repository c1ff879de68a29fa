#include "VeSearchBoxCtrlBase.h"

#include <algorithm>

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include "album/Collections.h"
#include "app/Settings.h"
#include "views/common/ImageResources.h"
#include "views/common/ResourceIds.h"
#include "views/common/SharedFonts.h"
#include "views/common/SkinPainting.h"
#include "views/menus/CommandIds.h"
#include "views/menus/MenuBuilder.h"
#include "views/menus/MenuResources.h"
#include "views/search/SearchBoxButton.h"
#include "views/search/VeFlyoutWndBase.h"

namespace tessary {

namespace {

constexpr int kTextPixels = 14;
constexpr int kCuePixels = 13;
constexpr auto kCuePrefix = "Search ";

QString CueOf(const Collection* scope)
{
    return scope ? QString::fromLatin1(kCuePrefix) + scope->Name() : QString::fromLatin1(kCuePrefix).trimmed();
}

} // namespace

VeSearchBoxCtrlBase::VeSearchBoxCtrlBase(QWidget* parent)
    : QWidget(parent),
      m_edit(new SearchEdit(*this, this)),
      m_clear(new SearchBoxButton(kIdbSearchClear, this)),
      m_options(new SearchBoxButton(kIdbSearchOptions, this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::IBeamCursor);
    m_edit->setFont(SharedFonts::Make(kTextPixels));
    m_edit->setTextMargins(kEditLeftMargin, 0, kEditRightMargin, 0);
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Base, kActiveFill);
    palette.setColor(QPalette::Text, kTextColor);
    m_edit->setPalette(palette);
    m_edit->hide();
    m_clear->hide();
    connect(m_edit, &QLineEdit::textChanged, this, &VeSearchBoxCtrlBase::OnTextChanged);
    connect(m_clear, &SearchBoxButton::Clicked, this, &VeSearchBoxCtrlBase::OnClearClicked);
    connect(m_options, &SearchBoxButton::Clicked, this, &VeSearchBoxCtrlBase::OnOptionsClicked);
    // The previous focus holder is only known from the application's focus change.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now == m_edit && old != m_edit)
            m_previousFocus = old;
    });
    LayOut();
}

VeSearchBoxCtrlBase::~VeSearchBoxCtrlBase()
{
    qApp->removeEventFilter(this);
    RemoveListener(m_flyout.get());
    m_flyout.reset();
}

VeFlyoutWndBase& VeSearchBoxCtrlBase::Flyout()
{
    if (!m_flyout) {
        m_flyout = std::make_unique<VeFlyoutWndBase>(*this, this);
        // First, so that suggestions are in place before the other listeners hear of a change.
        m_listeners.insert(m_listeners.begin(), m_flyout.get());
    }
    return *m_flyout;
}

QString VeSearchBoxCtrlBase::GetText() const
{
    return m_edit->text();
}

void VeSearchBoxCtrlBase::SetScope(Collection* scope)
{
    SetTextByProgram(QString());
    m_scope = scope;
    update();
}

void VeSearchBoxCtrlBase::AddListener(SearchBoxListener* listener)
{
    if (listener && std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void VeSearchBoxCtrlBase::RemoveListener(SearchBoxListener* listener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

void VeSearchBoxCtrlBase::Tell(int flags)
{
    if (!m_scope)
        return;
    const std::vector<SearchBoxListener*> listeners = m_listeners;
    for (SearchBoxListener* listener : listeners)
        if (std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end())
            listener->OnSearchBoxEvent(*this, flags);
}

bool VeSearchBoxCtrlBase::IsActive() const
{
    return !m_edit->isHidden();
}

void VeSearchBoxCtrlBase::Activate()
{
    Flyout();
    if (!IsActive()) {
        m_edit->show();
        // Presses elsewhere end the editing even on windows that take no focus.
        qApp->installEventFilter(this);
    }
    m_edit->setFocus(Qt::OtherFocusReason);
    LayOut();
    update();
}

void VeSearchBoxCtrlBase::Deactivate()
{
    qApp->removeEventFilter(this);
    if (m_flyout)
        m_flyout->Hide();
    m_edit->hide();
    LayOut();
    update();
}

void VeSearchBoxCtrlBase::PutTypedText(const QString& text)
{
    m_programmatic = false;
    m_edit->setText(text);
    m_edit->end(false);
}

void VeSearchBoxCtrlBase::SetTextByProgram(const QString& text)
{
    // Only for this change: a later keystroke is typing again even if the edit kept the focus.
    m_programmatic = true;
    m_edit->setText(text);
    m_programmatic = false;
}

void VeSearchBoxCtrlBase::OnTextChanged()
{
    LayOut();
    update();
    Tell(m_programmatic ? kSearchSetByProgram : kSearchTyped);
}

bool VeSearchBoxCtrlBase::OnEditKey(QKeyEvent& event)
{
    if (Flyout().IsVisible() && Flyout().HandleKey(event))
        return true;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event.isAutoRepeat())
            Tell(kSearchCommitted);
        return true;
    case Qt::Key_Escape: {
        if (event.isAutoRepeat())
            return true;
        SetTextByProgram(QString());
        QWidget* back = m_previousFocus;
        if (!back || back == m_edit || !back->isVisible() || !back->isEnabled() || back->window() != window())
            back = this;
        back->setFocus(Qt::OtherFocusReason);
        if (m_edit->hasFocus())
            m_edit->clearFocus();
        return true;
    }
    case Qt::Key_Delete:
        if (GetText().isEmpty() && !Flyout().IsVisible() && Flyout().List().ItemCount() > 0)
            Flyout().ShowAt(GlobalRectOf(*this));
        return false;
    default:
        return false;
    }
}

void VeSearchBoxCtrlBase::OnEditFocusIn()
{
    m_programmatic = false;
}

void VeSearchBoxCtrlBase::OnEditFocusOut(Qt::FocusReason reason)
{
    // A menu popping up over the edit leaves it the focus when it closes.
    if (reason == Qt::PopupFocusReason || !IsActive())
        return;
    Deactivate();
    if (!GetText().isEmpty())
        Tell(kSearchCommitted);
}

void VeSearchBoxCtrlBase::OnClearClicked()
{
    m_programmatic = !m_edit->hasFocus();
    m_edit->clear();
    m_programmatic = false;
}

std::unique_ptr<QMenu> VeSearchBoxCtrlBase::MakeOptionsMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    FillMenu(*menu, MenuResource(kMenuSearchOptions).items);
    if (QAction* clear = FindAction(*menu, cmd::kClearSearchHistory))
        clear->setEnabled(!Flyout().History().Recent().isEmpty());
    if (QAction* suggest = FindAction(*menu, cmd::kAutoSuggest))
        suggest->setChecked(Settings::Instance().autoSuggest);
    return menu;
}

void VeSearchBoxCtrlBase::RunOptionsCommand(int commandId)
{
    if (commandId == cmd::kClearSearchHistory) {
        Flyout().ClearHistory();
    } else if (commandId == cmd::kAutoSuggest) {
        Settings& settings = Settings::Instance();
        settings.autoSuggest = !settings.autoSuggest;
        if (!settings.autoSuggest)
            Flyout().Hide();
    }
}

void VeSearchBoxCtrlBase::OnOptionsClicked()
{
    std::unique_ptr<QMenu> menu = MakeOptionsMenu();
    const QPoint under = m_options->mapToGlobal(QPoint(0, m_options->height()));
    if (QAction* chosen = menu->exec(under))
        RunOptionsCommand(CommandIdOf(chosen));
}

bool VeSearchBoxCtrlBase::HandleCommand(int commandId)
{
    if (commandId != cmd::kEditFind)
        return false;
    Activate();
    return true;
}

bool VeSearchBoxCtrlBase::event(QEvent* event)
{
    if (DispatchCommandEvent(*this, event))
        return true;
    return QWidget::event(event);
}

bool VeSearchBoxCtrlBase::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && IsActive() && watched->isWidgetType()) {
        auto* target = static_cast<QWidget*>(watched);
        const bool ours = target == this || isAncestorOf(target) || target == m_flyout.get() ||
                          (m_flyout && m_flyout->isAncestorOf(target));
        // Popup menus are windows of their own; a press in one is not a press elsewhere.
        const bool inMenu = qobject_cast<QMenu*>(target->window()) != nullptr;
        if (!ours && !inMenu && m_edit->hasFocus())
            m_edit->clearFocus();
    }
    return QWidget::eventFilter(watched, event);
}

QRect VeSearchBoxCtrlBase::TextArea() const
{
    const QRect inner = rect().adjusted(kInset, kInset, -kInset, -kInset);
    const int button = GetText().isEmpty() ? kOptionsWidth : kClearWidth;
    return inner.adjusted(0, 0, -button, 0);
}

void VeSearchBoxCtrlBase::LayOut()
{
    const QRect inner = rect().adjusted(kInset, kInset, -kInset, -kInset);
    const bool hasText = !GetText().isEmpty();
    m_clear->setGeometry(inner.right() - kClearWidth + 1, inner.top(), kClearWidth, inner.height());
    m_options->setGeometry(inner.right() - kOptionsWidth + 1, inner.top(), kOptionsWidth, inner.height());
    m_clear->setVisible(hasText);
    m_options->setVisible(!hasText);
    m_edit->setGeometry(TextArea());
    const QColor fill = CurrentFill();
    m_clear->SetFill(fill);
    m_options->SetFill(fill);
}

QColor VeSearchBoxCtrlBase::CurrentFill() const
{
    if (IsActive())
        return kActiveFill;
    return m_hot ? kHotFill : kInactiveFill;
}

void VeSearchBoxCtrlBase::RefreshBackdrop()
{
    m_backdropDirty = false;
    QWidget* parent = parentWidget();
    if (!parent || size().isEmpty()) {
        m_backdrop = QImage();
        return;
    }
    // Only the parent's own painting, not its children (this box among them).
    m_backdrop = QImage(size(), QImage::Format_RGB32);
    m_backdrop.fill(parent->palette().color(parent->backgroundRole()));
    parent->render(&m_backdrop, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
}

void VeSearchBoxCtrlBase::paintEvent(QPaintEvent*)
{
    if (m_backdropDirty)
        RefreshBackdrop();
    QPainter p(this);
    DrawThreeSlice(p, rect(), ResourceImage(kIdbSearchBoxFrame), kFrameCap, kFallbackFrame);
    if (!m_backdrop.isNull()) {
        const int r = width() - 1;
        const int b = height() - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b)})
            p.fillRect(QRect(corner, QSize(1, 1)), m_backdrop.pixelColor(corner));
    }
    const QRect inner = rect().adjusted(kInset, kInset, -kInset, -kInset);
    p.fillRect(inner, CurrentFill());
    if (IsActive())
        return;

    const QString text = GetText();
    const QRect textRect = TextArea().adjusted(kTextLeft, 0, 0, 0);
    const QFont font = text.isEmpty() ? SharedFonts::Make(kCuePixels, false, true) : SharedFonts::Make(kTextPixels);
    const QString shown = text.isEmpty() ? CueOf(m_scope) : text;
    p.setFont(font);
    p.setPen(text.isEmpty() ? kCueColor : kTextColor);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               QFontMetrics(font).elidedText(shown, Qt::ElideRight, textRect.width()));
}

void VeSearchBoxCtrlBase::resizeEvent(QResizeEvent*)
{
    m_backdropDirty = true;
    LayOut();
}

void VeSearchBoxCtrlBase::moveEvent(QMoveEvent*)
{
    m_backdropDirty = true;
}

void VeSearchBoxCtrlBase::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || IsActive())
        return;
    if (!TextArea().contains(event->position().toPoint()))
        return;
    Activate();
    if (!Flyout().IsVisible() && m_scope) {
        Flyout().ShowAt(GlobalRectOf(*this));
        Tell(kSearchSuggestWanted);
    }
}

void VeSearchBoxCtrlBase::enterEvent(QEnterEvent*)
{
    m_hot = true;
    LayOut();
    update();
}

void VeSearchBoxCtrlBase::leaveEvent(QEvent*)
{
    m_hot = false;
    LayOut();
    update();
}

} // namespace tessary
