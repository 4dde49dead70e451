#include "singleinstance.h"

#include "appstate.h"
#include "paths.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QtEndian>

namespace SingleInstance {

namespace {

std::unique_ptr<QLockFile> &lockSlot()
{
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

constexpr char kAck = 'A';
const char kBufferProperty[] = "quarvelHandOver";

} // namespace

QString mutexName() { return AppState::kVersionTag + QLatin1String("_APPLICATION_MUTEX"); }
QString serverName() { return AppState::kVersionTag + QLatin1String("_APPLICATION"); }
namespace {

QString runtimeFile(const QString &name)
{
    const QString dir = Paths::runtimeDir();
    return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + name;
}

} // namespace

QString lockFilePath() { return runtimeFile(mutexName()); }
QString serverPath() { return runtimeFile(serverName()); }

bool acquireInstanceMutex()
{
    auto &lock = lockSlot();
    if (lock && lock->isLocked())
        return true;
    const QString path = lockFilePath();
    if (path.isEmpty())
        return true; // no trustworthy runtime folder: run alone, without hand-over
    lock = std::make_unique<QLockFile>(path);
    // Never stale by age: only a lock whose owner process is gone is taken over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return true;
    if (lock->error() == QLockFile::LockFailedError)
        return false;
    // The lock file cannot be created at all (folder not writable): run as the first instance.
    return true;
}

void releaseInstanceMutex()
{
    auto &lock = lockSlot();
    if (lock) {
        lock->unlock();
        lock.reset();
    }
}

bool holdsInstanceMutex()
{
    const auto &lock = lockSlot();
    return lock && lock->isLocked();
}

QString stripCommandLineQuotes(const QString &commandLine)
{
    if (!commandLine.startsWith(u'"'))
        return commandLine;
    QString text = commandLine.mid(1);
    if (text.endsWith(u'"'))
        text.chop(1);
    return text;
}

QString decodeHandOver(const QByteArray &payload)
{
    QString text = QString::fromUtf8(payload);
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

bool sendCommandLine(const QString &text, int timeoutMs)
{
    QByteArray payload = text.toUtf8();
    if (payload.isEmpty())
        payload = QByteArray(1, '\0');
    if (payload.size() > kMaxPayload)
        return false;

    const QString path = serverPath();
    if (path.isEmpty())
        return false;
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    char header[4];
    qToBigEndian<qint32>(qint32(payload.size()), header);
    socket.write(header, 4);
    socket.write(payload);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime()))))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() ||
            !socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            return false;
    }
    char ack = 0;
    socket.read(&ack, 1);
    socket.disconnectFromServer();
    return ack == kAck;
}

Server::Server(QObject *parent) : QObject(parent), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &Server::onNewConnection);
}

Server::~Server() = default;

bool Server::listen()
{
    const QString path = serverPath();
    if (path.isEmpty())
        return false;
    if (m_server->listen(path))
        return true;
    // Only the holder of the instance lock listens, so a socket file already there was left
    // by an instance that is gone (or one locked away in the tray): take the name over.
    QLocalServer::removeServer(path);
    return m_server->listen(path);
}

bool Server::isListening() const
{
    return m_server->isListening();
}

void Server::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        // A client that stalls is dropped.
        auto *timer = new QTimer(socket);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, socket, &QLocalSocket::abort);
        timer->start(kTimeoutMs);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

void Server::onReadyRead(QLocalSocket *socket)
{
    QByteArray buffer = socket->property(kBufferProperty).toByteArray();
    buffer += socket->readAll();
    if (buffer.size() < 4) {
        socket->setProperty(kBufferProperty, buffer);
        return;
    }
    const qint32 length = qFromBigEndian<qint32>(buffer.constData());
    if (length < 0 || length > kMaxPayload || buffer.size() > 4 + length) {
        socket->abort();
        return;
    }
    if (buffer.size() < 4 + length) {
        socket->setProperty(kBufferProperty, buffer);
        return;
    }
    socket->setProperty(kBufferProperty, QVariant());
    socket->disconnect(this); // one message per connection
    const QString text = decodeHandOver(buffer.mid(4, length));
    QPointer<QLocalSocket> guard(socket);
    emit commandLineReceived(text);
    if (!guard)
        return;
    socket->write(&kAck, 1);
    socket->flush();
    socket->disconnectFromServer();
}

} // namespace SingleInstance
