#include "InstanceGuard.h"

#include <unistd.h>

#include "CommandLinePacket.h"

namespace tessary {

QString InstanceGuard::InstanceName()
{
    const QByteArray over = qgetenv("TESSARY_INSTANCE_NAME");
    if (!over.isEmpty())
        return QString::fromLocal8Bit(over);
    return QStringLiteral("TSRA-MainFrame-{6F1C2B84-3E57-4D0A-9A61-7C2E5B90D4F3}");
}

QString InstanceGuard::ChannelName()
{
    return InstanceName() + QLatin1Char('-') + QString::number(::getuid());
}

bool InstanceGuard::SkipsCheck(const QStringList& args)
{
    return args.size() == 1 && args.first() == QLatin1String("-ni");
}

QString InstanceGuard::PathToOpen(const QStringList& args)
{
    if (args.isEmpty() || args.first() == QLatin1String("-ni"))
        return QString();
    return args.first();
}

InstanceGuard::InstanceGuard() : m_lock(ChannelName()) {}

InstanceGuard::~InstanceGuard()
{
    m_server.reset();
    m_lock.Release();
}

InstanceGuard::Decision InstanceGuard::Check(const QStringList& args)
{
    if (SkipsCheck(args))
        return Decision::Run;
    switch (m_lock.TryAcquire()) {
    case InstanceLock::Result::Acquired:
        m_holdsLock = true;
        return Decision::Run;
    case InstanceLock::Result::Failed:
        return Decision::HandedOver;
    case InstanceLock::Result::HeldElsewhere:
        break;
    }
    // An empty message only restores and activates the running window.
    const QByteArray message = args.isEmpty() ? QByteArray() : CommandLinePacket::Build(args);
    SendToRunningInstance(ChannelName(), message);
    return Decision::HandedOver;
}

bool InstanceGuard::Serve(InstanceServer::Handler handler)
{
    // An extra instance ("-ni") does not take over the channel of the first one.
    if (!m_holdsLock)
        return false;
    m_server = std::make_unique<InstanceServer>(std::move(handler));
    return m_server->Listen(ChannelName());
}

} // namespace tessary
