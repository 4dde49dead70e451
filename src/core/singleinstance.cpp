#include "singleinstance.h"

#include "appstate.h"
#include "paths.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QtEndian>

#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

namespace {

// The client end in plain sockets: a later start sends before any application object exists.
class SocketHandle
{
public:
    SocketHandle() : m_fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {}
    ~SocketHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SocketHandle(const SocketHandle &) = delete;
    SocketHandle &operator=(const SocketHandle &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// Waits until fd is ready for events or the deadline passes.
bool waitFor(int fd, short events, const QDeadlineTimer &deadline)
{
    for (;;) {
        pollfd entry{fd, events, 0};
        const int result = ::poll(&entry, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        if (result > 0)
            return (entry.revents & events) != 0;
        if (result == 0 || errno != EINTR)
            return false;
    }
}

bool sendAll(int fd, const QByteArray &data, const QDeadlineTimer &deadline)
{
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(fd, POLLOUT, deadline))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

namespace {

QByteArray handOverPayload(const QString &text)
{
    QByteArray payload = text.toUtf8();
    if (payload.isEmpty())
        payload = QByteArray(1, '\0');
    return payload;
}

} // namespace

bool fitsHandOver(const QString &text)
{
    return handOverPayload(text).size() <= kMaxPayload;
}

bool sendCommandLine(const QString &text, int timeoutMs)
{
    const QByteArray payload = handOverPayload(text);
    if (payload.size() > kMaxPayload)
        return false;

    const QByteArray path = QFile::encodeName(serverPath());
    sockaddr_un address{};
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));

    const QDeadlineTimer deadline(timeoutMs);
    SocketHandle socket;
    if (socket.fd() < 0)
        return false;
    if (::connect(socket.fd(), reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN)
            return false;
        int error = 0;
        socklen_t length = sizeof(error);
        if (!waitFor(socket.fd(), POLLOUT, deadline) ||
            ::getsockopt(socket.fd(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            return false;
    }
    char header[4];
    qToBigEndian<qint32>(qint32(payload.size()), header);
    if (!sendAll(socket.fd(), QByteArray(header, 4) + payload, deadline))
        return false;
    for (;;) {
        if (!waitFor(socket.fd(), POLLIN, deadline))
            return false;
        char ack = 0;
        const ssize_t n = ::recv(socket.fd(), &ack, 1, 0);
        if (n == 1)
            return ack == kAck;
        if (n == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK))
            return false;
    }
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
