#include "InstanceChannel.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QVariant>
#include <QtEndian>

namespace tessary {

InstanceServer::InstanceServer(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::OnNewConnection);
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::Listen(const QString& name)
{
    QLocalServer::removeServer(name);
    return m_server->listen(name);
}

QString InstanceServer::FullName() const
{
    return m_server->fullServerName();
}

void InstanceServer::OnNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        if (socket->bytesAvailable() > 0)
            OnReadyRead(socket);
    }
}

void InstanceServer::OnReadyRead(QLocalSocket* socket)
{
    if (socket->property("handled").toBool())
        return;
    if (socket->bytesAvailable() < 4)
        return;
    uchar head[4];
    socket->peek(reinterpret_cast<char*>(head), 4);
    const quint32 size = qFromLittleEndian<quint32>(head);
    if (size > kMaxInstanceMessage) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < qint64(4 + size))
        return;
    socket->read(4);
    const QByteArray message = socket->read(size);
    socket->setProperty("handled", true);
    const char answer = m_handler ? m_handler(message) : 0;
    socket->write(&answer, 1);
    socket->flush();
    socket->disconnectFromServer();
}

bool SendToRunningInstance(const QString& name, const QByteArray& message, char* answer, int timeoutMs)
{
    if (quint32(message.size()) > kMaxInstanceMessage)
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    uchar head[4];
    qToLittleEndian<quint32>(quint32(message.size()), head);
    socket.write(reinterpret_cast<const char*>(head), 4);
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs) && socket.bytesToWrite() > 0)
        return false;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    char a = 0;
    socket.read(&a, 1);
    if (answer)
        *answer = a;
    return true;
}

} // namespace tessary
