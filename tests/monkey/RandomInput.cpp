#include "RandomInput.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include "Watchdog.h"
#include "views/common/BusyWork.h"

namespace tessary::test {

namespace {

struct KeyInput {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

// Keys the windows handle, and the program's shortcuts (the accelerator table and the
// panes' own keys). Letters and digits come on top of these.
const std::vector<KeyInput>& SpecialKeys()
{
    static const std::vector<KeyInput> keys = {
        {Qt::Key_Return, {}},          {Qt::Key_Enter, {}},          {Qt::Key_Escape, {}},
        {Qt::Key_Tab, {}},             {Qt::Key_Backtab, Qt::ShiftModifier},
        {Qt::Key_Left, {}},            {Qt::Key_Right, {}},          {Qt::Key_Up, {}},
        {Qt::Key_Down, {}},            {Qt::Key_Down, Qt::ShiftModifier},
        {Qt::Key_Up, Qt::ShiftModifier}, {Qt::Key_PageUp, {}},       {Qt::Key_PageDown, {}},
        {Qt::Key_Home, {}},            {Qt::Key_End, {}},            {Qt::Key_Delete, {}},
        {Qt::Key_Backspace, {}},       {Qt::Key_Space, {}},          {Qt::Key_F2, {}},
        {Qt::Key_F5, {}},              {Qt::Key_F6, {}},             {Qt::Key_F6, Qt::ShiftModifier},
        {Qt::Key_Menu, {}},            {Qt::Key_F, Qt::ControlModifier},
        {Qt::Key_A, Qt::ControlModifier}, {Qt::Key_C, Qt::ControlModifier},
        {Qt::Key_X, Qt::ControlModifier}, {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_S, Qt::ControlModifier},
        {Qt::Key_N, Qt::ControlModifier}, {Qt::Key_O, Qt::ControlModifier},
        {Qt::Key_Insert, Qt::ShiftModifier}, {Qt::Key_Insert, Qt::ControlModifier},
        {Qt::Key_Delete, Qt::ShiftModifier}, {Qt::Key_Backspace, Qt::AltModifier},
        {Qt::Key_F, Qt::AltModifier},  {Qt::Key_E, Qt::AltModifier}, {Qt::Key_V, Qt::AltModifier},
    };
    return keys;
}

QWidget* Top()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup;
    return QApplication::activeModalWidget();
}

std::string Describe(const QString& what, const QWidget* window, QPoint at)
{
    return QStringLiteral("%1 at (%2, %3) of %4 \"%5\"")
        .arg(what)
        .arg(at.x())
        .arg(at.y())
        .arg(QString::fromLatin1(window->metaObject()->className()), window->windowTitle())
        .toStdString();
}

} // namespace

RandomInput::RandomInput(std::mt19937& rng, Watchdog& watchdog) : m_rng(rng), m_watchdog(watchdog)
{
    NestedTick();
}

RandomInput::~RandomInput()
{
    m_running = false;
}

void RandomInput::Step()
{
    QWidget* target = Top();
    if (!target) {
        std::vector<QWidget*> windows;
        QWidget* main = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || !w->windowHandle() || w->windowType() == Qt::ToolTip ||
                w->windowType() == Qt::Desktop)
                continue;
            windows.push_back(w);
            if (qobject_cast<QMainWindow*>(w))
                main = w;
        }
        if (windows.empty())
            return;
        target = main && Below(4) != 0 ? main : windows[Below(int(windows.size()))];
    }
    Act(target);
}

QPoint RandomInput::RandomPoint(QWidget* window)
{
    const QRect area = window->rect();
    if (Below(5) < 2) {
        // The middle of a visible child, so that small buttons and cells get hit too.
        const QList<QWidget*> children = window->findChildren<QWidget*>();
        std::vector<QWidget*> shown;
        for (QWidget* c : children)
            if (c->isVisible() && !c->isWindow())
                shown.push_back(c);
        if (!shown.empty()) {
            QWidget* c = shown[Below(int(shown.size()))];
            const QRect r(c->mapTo(window, QPoint(0, 0)), c->size());
            const QPoint p(r.left() + Below(std::max(1, r.width())), r.top() + Below(std::max(1, r.height())));
            if (area.contains(p))
                return p;
        }
    }
    return {Below(std::max(1, area.width())), Below(std::max(1, area.height()))};
}

void RandomInput::Act(QWidget* window)
{
    QElapsedTimer timer;
    timer.start();
    m_blockers.emplace_back(Top());
    Send(window);
    m_blockers.pop_back();
    ++m_events;
    WaitForAnswer();
    m_slowestActionMs = std::max(m_slowestActionMs, double(timer.nsecsElapsed()) / 1e6);
}

void RandomInput::Send(QWidget* window)
{
    const QPointer<QWindow> handle(window->windowHandle());
    const QPointer<QWidget> guard(window);
    if (!handle)
        return;
    static constexpr Qt::MouseButton kButtons[] = {Qt::LeftButton, Qt::LeftButton, Qt::LeftButton,
                                                   Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    const Qt::MouseButton button = kButtons[Below(6)];
    Qt::KeyboardModifiers modifiers;
    if (Below(8) == 0)
        modifiers |= Qt::ControlModifier;
    if (Below(10) == 0)
        modifiers |= Qt::ShiftModifier;
    const QPoint at = RandomPoint(window);
    const int kind = Below(100);

    if (kind < 30) {
        m_watchdog.Describe(Describe(QStringLiteral("click %1").arg(int(button)), window, at));
        QTest::mousePress(handle, button, modifiers, at);
        if (handle)
            QTest::mouseRelease(handle, button, modifiers, at);
    } else if (kind < 38) {
        m_watchdog.Describe(Describe(QStringLiteral("double-click %1").arg(int(button)), window, at));
        QTest::mouseDClick(handle, button, modifiers, at);
    } else if (kind < 46) {
        const QRect area = window->rect();
        const QPoint to(std::clamp(at.x() + Below(121) - 60, 0, area.width() - 1),
                        std::clamp(at.y() + Below(121) - 60, 0, area.height() - 1));
        m_watchdog.Describe(Describe(QStringLiteral("drag to (%1, %2)").arg(to.x()).arg(to.y()), window, at));
        QTest::mousePress(handle, Qt::LeftButton, modifiers, at);
        for (int i = 1; i <= 4 && handle; ++i)
            QTest::mouseMove(handle, at + (to - at) * i / 4);
        if (handle)
            QTest::mouseRelease(handle, Qt::LeftButton, modifiers, to);
    } else if (kind < 56) {
        const int delta = (Below(2) ? 120 : -120) * (1 + Below(3));
        const bool horizontal = Below(6) == 0;
        m_watchdog.Describe(Describe(QStringLiteral("wheel %1").arg(delta), window, at));
        const QPoint global = window->mapToGlobal(at);
        // Up the parents until one takes it, as the window system's wheel events go.
        QPointer<QWidget> target = window->childAt(at) ? window->childAt(at) : window;
        while (target) {
            QWheelEvent wheel(QPointF(target->mapFrom(window, at)), QPointF(global), QPoint(),
                              horizontal ? QPoint(delta, 0) : QPoint(0, delta), Qt::NoButton, modifiers,
                              Qt::NoScrollPhase, false);
            const QPointer<QWidget> parent = target->isWindow() ? nullptr : target->parentWidget();
            QApplication::sendEvent(target, &wheel);
            if (wheel.isAccepted() || !guard)
                break;
            target = parent;
        }
    } else {
        KeyInput input{Qt::Key_A, {}};
        const int pick = Below(100);
        if (pick < 25)
            input.key = Qt::Key(Qt::Key_A + Below(26));
        else if (pick < 32)
            input.key = Qt::Key(Qt::Key_0 + Below(10));
        else
            input = SpecialKeys()[Below(int(SpecialKeys().size()))];
        m_watchdog.Describe(Describe(QStringLiteral("key %1 modifiers %2")
                                         .arg(QKeySequence(input.key).toString())
                                         .arg(int(input.modifiers)),
                                     window, at));
        QTest::keyClick(handle, input.key, input.modifiers);
    }
}

void RandomInput::WaitForAnswer()
{
    QElapsedTimer timer;
    timer.start();
    bool answered = false;
    double ms = 0;
    QTimer::singleShot(0, this, [&] {
        answered = true;
        ms = double(timer.nsecsElapsed()) / 1e6;
        m_watchdog.Beat();
    });
    while (!answered)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    // Closed menus and dialogs go with deleteLater, which a bare processEvents never delivers.
    if (m_blockers.empty())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_slowestMs = std::max(m_slowestMs, ms);
}

void RandomInput::NestedTick()
{
    if (!m_running)
        return;
    QTimer::singleShot(2, this, [this] { NestedTick(); });
    // Only a window that an action in progress opened, and never into busy work (whose
    // loop holds user input back).
    QWidget* top = Top();
    if (m_blockers.empty() || !top || top == m_blockers.back() || IsBusy())
        return;
    if (!top->property("monkeyBudget").isValid()) {
        ++m_blocking;
        top->setProperty("monkeyBudget", Below(40));
    }
    if (qobject_cast<QFileDialog*>(top)) {
        ++m_fileDialogs;
        static_cast<QDialog*>(top)->reject();
        return;
    }
    const int budget = top->property("monkeyBudget").toInt();
    top->setProperty("monkeyBudget", budget - 1);
    if (budget > 0)
        Act(top);
    else
        Dismiss(top);
}

void RandomInput::Dismiss(QWidget* top)
{
    // Escape first, as a user would; the window itself when that does not close it.
    const bool force = top->property("monkeyBudget").toInt() < -8;
    auto* dialog = qobject_cast<QDialog*>(top);
    if (!force && (!dialog || Below(2) == 0)) {
        m_watchdog.Describe(Describe(QStringLiteral("Escape to close"), top, QPoint()));
        m_blockers.emplace_back(top);
        if (QWindow* handle = top->windowHandle())
            QTest::keyClick(handle, Qt::Key_Escape);
        m_blockers.pop_back();
        return;
    }
    m_watchdog.Describe(Describe(QStringLiteral("close"), top, QPoint()));
    if (dialog)
        dialog->reject();
    else
        top->close();
}

} // namespace tessary::test
