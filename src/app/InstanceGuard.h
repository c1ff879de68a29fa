#pragma once
// One instance per user login. The first start holds the instance lock for its lifetime and
// listens on the hand-over channel; a later start (unless its only argument is "-ni") hands
// its arguments to the running instance and quits. UI thread only.

#include <memory>
#include <QString>
#include <QStringList>

#include "platform/InstanceChannel.h"
#include "platform/InstanceLock.h"

namespace tessary {

class InstanceGuard {
public:
    enum class Decision {
        Run,       // this is the instance that runs
        HandedOver // another instance runs; it has been activated (exit with 0)
    };

    // "TSRA-MainFrame-{GUID}"; TESSARY_INSTANCE_NAME replaces it (lets tests run side by side).
    static QString InstanceName();
    // The per-user socket name: the instance name plus the user id.
    static QString ChannelName();

    // Exactly one argument, "-ni" (case-sensitive): an extra instance without the check.
    static bool SkipsCheck(const QStringList& args);
    // The album path to open at start: the first argument unless it is "-ni".
    static QString PathToOpen(const QStringList& args);

    InstanceGuard();
    ~InstanceGuard();

    // The single-instance check with the hand-over. When the running instance cannot be
    // reached (it is starting or closing) the arguments are dropped, as on a lost race.
    Decision Check(const QStringList& args);

    // After Check() said Run: serve hand-overs with `handler` (answer byte back to the sender).
    bool Serve(InstanceServer::Handler handler);

private:
    InstanceLock m_lock;
    std::unique_ptr<InstanceServer> m_server;
    bool m_holdsLock = false;
};

} // namespace tessary
