#pragma once
// Random mouse, wheel and key input at the visible top-level windows, one action at a time,
// each followed by a zero timer that must come back (its delay is the answer time). An
// action that opens a modal dialog or a popup menu blocks until that closes: such a window
// gets random input of its own from a timer and is then closed with Escape or reject. A file
// dialog is closed at once (it would browse the real disk). UI thread only.

#include <random>
#include <string>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace tessary::test {

class Watchdog;

class RandomInput : public QObject {
public:
    RandomInput(std::mt19937& rng, Watchdog& watchdog);
    ~RandomInput() override;

    // One action at the popup or modal dialog on top, or else at a visible top-level window
    // (the main window most often), then waits for the answer.
    void Step();

    int Events() const { return m_events; }
    double SlowestAnswerMs() const { return m_slowestMs; }
    // An action with its answer, modal windows it opened included.
    double SlowestActionMs() const { return m_slowestActionMs; }
    int BlockingWindows() const { return m_blocking; }
    int FileDialogs() const { return m_fileDialogs; }

private:
    void Act(QWidget* window);
    void Send(QWidget* window);
    void WaitForAnswer();
    void NestedTick();
    void Dismiss(QWidget* top);
    QPoint RandomPoint(QWidget* window);
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    std::mt19937& m_rng;
    Watchdog& m_watchdog;
    bool m_running = true;
    int m_events = 0;
    double m_slowestMs = 0;
    double m_slowestActionMs = 0;
    int m_blocking = 0;
    int m_fileDialogs = 0;
    // The popup or modal window on top when each action still in progress began.
    std::vector<QPointer<QWidget>> m_blockers;
};

} // namespace tessary::test
