#pragma once
// Commands between windows: a command id posted (or sent) as an event to the window that
// carries it out, the way menu and button commands travel between the frame, the views and
// the panes. UI thread only.

#include <QEvent>

class QObject;

namespace tessary {

// Posted-command event type (after the program's worker events at WM_APP + 1002 ...).
inline constexpr QEvent::Type kCommandEventType = QEvent::Type(QEvent::User + 0x100);

class CommandEvent : public QEvent {
public:
    explicit CommandEvent(int commandId) : QEvent(kCommandEventType), m_commandId(commandId) {}
    int CommandId() const { return m_commandId; }

private:
    int m_commandId;
};

// What a window that carries out commands implements. HandleCommand returns whether the
// command was taken; windows that hold pages pass the commands they do not take on.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    virtual bool HandleCommand(int commandId) = 0;
};

// Queues the command for `target` (nothing when it is null); it runs from the event loop.
void PostCommand(QObject* target, int commandId);
// Runs the command at once: the target's HandleCommand when it is a CommandTarget.
bool SendCommand(QObject* target, int commandId);
// For event() overrides: runs a CommandEvent on `target` and returns true; false for other
// events.
bool DispatchCommandEvent(CommandTarget& target, QEvent* event);

} // namespace tessary
