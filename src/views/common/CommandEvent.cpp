#include "CommandEvent.h"

#include <QCoreApplication>

namespace tessary {

void PostCommand(QObject* target, int commandId)
{
    if (target)
        QCoreApplication::postEvent(target, new CommandEvent(commandId));
}

bool SendCommand(QObject* target, int commandId)
{
    auto* handler = dynamic_cast<CommandTarget*>(target);
    return handler && handler->HandleCommand(commandId);
}

bool DispatchCommandEvent(CommandTarget& target, QEvent* event)
{
    if (event->type() != kCommandEventType)
        return false;
    target.HandleCommand(static_cast<CommandEvent*>(event)->CommandId());
    return true;
}

} // namespace tessary
