#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// One Quarvel per user. The first start holds the instance lock and listens on the hand-over
// socket; a later start sends its command line there, waits for the acknowledgement and ends.
//
// Hand-over message: a 32-bit big-endian byte count, then that many bytes of UTF-8 text (one
// zero byte for an empty command line). The receiver answers one byte once it has handled it.
namespace SingleInstance {

QString mutexName();  // "QuarvelV100_APPLICATION_MUTEX"
QString serverName(); // "QuarvelV100_APPLICATION"
QString lockFilePath();
QString serverPath();

// Largest hand-over accepted; anything larger is dropped.
inline constexpr qint32 kMaxPayload = 64 * 1024;
// How long either side waits for the other.
inline constexpr int kTimeoutMs = 3000;

// Takes the instance lock; true when this process is the only instance. A lock left by a
// crashed instance is taken over.
bool acquireInstanceMutex();
// Drops the lock if held.
void releaseInstanceMutex();
bool holdsInstanceMutex();

// The command line as handed over: when it begins with a double quote, that quote is dropped
// and so is the last character, but only when it is a double quote too.
QString stripCommandLineQuotes(const QString &commandLine);

// Whether the text fits in one hand-over (kMaxPayload bytes of UTF-8).
bool fitsHandOver(const QString &text);

// Sends the text to the running instance and waits for its acknowledgement. False when no
// instance answered, and for a text that does not fit. Needs no application object.
bool sendCommandLine(const QString &text, int timeoutMs = kTimeoutMs);

// Decodes a received payload: cuts one trailing NUL character.
QString decodeHandOver(const QByteArray &payload);

// The first instance's end of the hand-over.
class Server : public QObject
{
    Q_OBJECT
public:
    explicit Server(QObject *parent = nullptr);
    ~Server() override;

    // Starts listening at serverPath(); a socket file left by a crashed instance is replaced.
    bool listen();

signals:
    // A later start handed over its command line; the acknowledgement goes out once the
    // connected slots have returned.
    void commandLineReceived(const QString &text);

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket *socket);

    QLocalServer *m_server = nullptr;
};

} // namespace SingleInstance
