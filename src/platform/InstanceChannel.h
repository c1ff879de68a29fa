#pragma once
// The hand-over channel between a second start and the running instance: a per-user local
// socket. A message is a little-endian u32 byte count followed by that many bytes (an empty
// message asks only for activation); the receiver answers with one byte once it has handled
// the message, so that the sender's hand-over is synchronous.

#include <functional>
#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace tessary {

// Largest message accepted: far above any real command line, small enough to bound memory.
constexpr quint32 kMaxInstanceMessage = 4u * 1024u * 1024u;

class InstanceServer : public QObject {
    Q_OBJECT
public:
    // Called on the UI thread for each complete message; returns the answer byte.
    using Handler = std::function<char(const QByteArray& message)>;

    explicit InstanceServer(Handler handler, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Removes a socket left by a killed instance, then listens. Call only while holding the
    // instance lock.
    bool Listen(const QString& name);
    QString FullName() const;

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);

    Handler m_handler;
    QLocalServer* m_server;
};

// Sends one message to the running instance and waits for its answer (blocking).
// False when there is nobody listening or the exchange fails or times out.
bool SendToRunningInstance(const QString& name, const QByteArray& message, char* answer = nullptr,
                           int timeoutMs = 30000);

} // namespace tessary
