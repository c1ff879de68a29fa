#pragma once
// Helpers of the frame suites: a receiver that records the commands posted to it.

#include <vector>

#include <QCoreApplication>
#include <QObject>

#include "views/common/CommandEvent.h"

namespace tessary::test {

class CommandRecorder : public QObject {
public:
    std::vector<int> ids;

    bool event(QEvent* e) override
    {
        if (e->type() == kCommandEventType) {
            ids.push_back(static_cast<CommandEvent*>(e)->CommandId());
            return true;
        }
        return QObject::event(e);
    }
};

// Runs the posted events (commands are queued).
inline void DeliverPosted()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace tessary::test
