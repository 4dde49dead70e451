#pragma once

#include "downloadgate.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWebEngineDownloadRequest;
class QWebEnginePage;
class QWebEngineProfile;

// The downloads of a web profile: a file the engine cannot show, a link saved from a page's
// menu. Each one is asked where to go, is written under a temporary name in the chosen folder
// and gets its final name only once complete; a cancelled or failed download leaves no file
// behind. A page saved from its own menu is asked where to go too, and the engine writes it
// there itself; a page saved by Save As is only followed (it has its path already).
//
// The downloaded files are the user's: they get the permissions new files get (the umask).
//
// A page that starts downloads by itself is asked about the first only, however far apart they
// come; the others are refused (DownloadGate) until the user clicks or presses a key on the
// page's view (the user's wish for one more download) or takes the page elsewhere.
class DownloadManager : public QObject
{
    Q_OBJECT
public:
    enum class Outcome { Completed, Cancelled, Failed };
    Q_ENUM(Outcome)

    // Asks for the file a download is to be saved as, proposing proposedPath; returns the path
    // chosen, or an empty one to cancel. It runs while the engine waits for the answer. A path
    // that exists when it is returned is replaced: the asker had the user agree to that.
    using SavePathAsker = std::function<QString(const QString &proposedPath)>;

    explicit DownloadManager(QWebEngineProfile *profile, QObject *parent = nullptr);
    // Running downloads are cancelled and their partial files removed.
    ~DownloadManager() override;

    // Without an asker every download is cancelled.
    void setSavePathAsker(SavePathAsker asker) { m_asker = std::move(asker); }

    // Stops a running download: downloadFinished follows with Cancelled.
    void cancel(int id);

signals:
    // A download was accepted; filePath is where it will be once complete.
    void downloadStarted(int id, const QString &filePath);
    // total is -1 while the size is not known.
    void downloadProgress(int id, qint64 received, qint64 total);
    // How a download ended. filePath is the file a completed download became (a file that
    // took its name meanwhile is kept, and the download gets a numbered name beside it);
    // reason says why a download failed.
    void downloadFinished(int id, DownloadManager::Outcome outcome, const QString &filePath,
                          const QString &reason);
    // A download a page started by itself, after its one question, was refused unasked;
    // fileName is the name it proposed.
    void downloadRefused(const QString &fileName);

protected:
    // Notes the user's clicks and keys on web views, for the pages' downloads.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Download
    {
        QPointer<QWebEngineDownloadRequest> request;
        QString filePath;
        // What the engine writes until the download is complete; empty for a saved page.
        QString partPath;
        // The path was chosen here (not by Save As).
        bool chosenHere = false;
        // The user agreed to replace the file at filePath.
        bool replaceAgreed = false;
        // The size the server announced; 0 when it did not.
        qint64 announcedBytes = 0;
    };

    void onDownloadRequested(QWebEngineDownloadRequest *request);
    // The gate's key of the page, forgotten by the gate when the page goes and started afresh
    // when the user takes the page elsewhere.
    quintptr gateKey(QWebEnginePage *page);
    // The page a download comes from, or nullptr for a page that has gone or is not known.
    static QWebEnginePage *pageOf(QWebEngineDownloadRequest *request);
    // Asks for the path and accepts a download into its temporary file; false when cancelled.
    bool accept(QWebEngineDownloadRequest *request, Download &download);
    // The engine starts a download anew after a broken connection and asks for its target
    // again, in a new request: the download goes on into its temporary file, unasked. False
    // when request is not such a restart.
    bool continueRestarted(QWebEngineDownloadRequest *request);
    void follow(int id, QWebEngineDownloadRequest *request);
    void onStateChanged(int id);
    // Moves a complete download to its final name (filePath is updated when the name was
    // taken meanwhile); returns why it failed, empty when it did not.
    QString giveFinalName(Download &download);

    SavePathAsker m_asker;
    DownloadGate m_gate;
    QElapsedTimer m_clock;
    QHash<int, Download> m_downloads;
    int m_nextId = 1;
};
