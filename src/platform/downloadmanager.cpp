#include "downloadmanager.h"

#include "browserpage.h"
#include "downloadorigins.h"

#include "core/downloadfilename.h"
#include "core/filedialogfolder.h"
#include "core/strings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTouchEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMetaEnum>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace {

// Tries at a free numbered name when the name found free is taken before the rename.
constexpr int kRenameAttempts = 5;

// Whether a name is taken in a folder; a link counts, even one that leads nowhere.
bool isTaken(const QDir &folder, const QString &name)
{
    const QFileInfo info(folder.filePath(name));
    return info.exists() || info.isSymLink();
}

// The engine writes a download beside the name it is given, under this suffix, and renames
// the file to that name once the last byte is written.
const QString kEngineSuffix = QStringLiteral(".download");

// Removes what a download wrote before it was complete. The engine removes its own file when
// a download is cancelled or dropped; this catches what a quick exit leaves behind.
void removePartial(const QString &partPath)
{
    if (!partPath.isEmpty()) {
        QFile::remove(partPath);
        QFile::remove(partPath + kEngineSuffix);
    }
}

// The engine's reason for a server that sent less than it announced; this Qt has no name for it.
constexpr int kContentLengthMismatch = 38;

// Why the engine interrupted a download, in words. This Qt names only some of the engine's
// reasons and words the others wrongly ("canceled by the user").
QString interruptReasonText(const QWebEngineDownloadRequest &request)
{
    const int reason = request.interruptReason();
    if (reason == kContentLengthMismatch)
        return loadResString(19714);
    if (!QMetaEnum::fromType<QWebEngineDownloadRequest::DownloadInterruptReason>().valueToKey(reason))
        return loadResString(19715).arg(reason);
    return request.interruptReasonString();
}

// The mode a new file of this process gets (0666 less the umask); the engine writes some of
// its files (saved pages) for the user alone.
mode_t newFileMode()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        while (!status.atEnd()) {
            const QByteArray line = status.readLine();
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return 0666 & ~mode_t(mask);
            }
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

DownloadManager::DownloadManager(QWebEngineProfile *profile, QObject *parent) : QObject(parent)
{
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            &DownloadManager::onDownloadRequested);
    m_clock.start();
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

bool DownloadManager::eventFilter(QObject *, QEvent *event)
{
    // The receiver is not looked at: the engine hands key events to objects of its own that may
    // be half torn down. The widget the input is for is asked of the application instead.
    QWidget *target = nullptr;
    switch (event->type()) {
    case QEvent::KeyPress:
        target = QApplication::focusWidget();
        break;
    case QEvent::MouseButtonPress:
        target = QApplication::widgetAt(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
        break;
    case QEvent::TouchBegin: {
        const auto &points = static_cast<QTouchEvent *>(event)->points();
        if (!points.isEmpty())
            target = QApplication::widgetAt(points.first().globalPosition().toPoint());
        break;
    }
    default:
        return false;
    }
    // The view's own input widget, or a menu the view opened.
    for (QWidget *widget = target; widget; widget = widget->parentWidget()) {
        if (auto *view = qobject_cast<QWebEngineView *>(widget)) {
            if (QWebEnginePage *page = view->page())
                m_gate.noteUserAction(gateKey(page), m_clock.elapsed());
            // Downloads of no known page (their page has gone) share one record, which any
            // click or key in a page credits.
            m_gate.noteUserAction(0, m_clock.elapsed());
            break;
        }
    }
    return false;
}

QWebEnginePage *DownloadManager::pageOf(QWebEngineDownloadRequest *request)
{
    const DownloadOrigins &origins = DownloadOrigins::shared();
    if (auto *page = qobject_cast<QWebEnginePage *>(origins.pageOf(request->url())))
        return page;
    // A blob or data address is made in the page and downloads at once, while the page is
    // there; the engine is asked for it unless a page has just gone (it could be that one).
    const QString scheme = request->url().scheme();
    if ((scheme == u"blob" || scheme == u"data") && !origins.pageWentWithin(5000))
        return request->page();
    return nullptr;
}

quintptr DownloadManager::gateKey(QWebEnginePage *page)
{
    const auto key = reinterpret_cast<quintptr>(page);
    if (page && !m_gate.knows(key)) {
        connect(page, &QObject::destroyed, this, [this, key] { m_gate.forget(key); });
        if (auto *browserPage = qobject_cast<BrowserPage *>(page))
            connect(browserPage, &BrowserPage::userNavigated, this, [this, key] { m_gate.restart(key); });
    }
    return key;
}

DownloadManager::~DownloadManager()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
    for (const Download &download : std::as_const(m_downloads)) {
        if (download.request) {
            download.request->disconnect(this);
            if (!download.partPath.isEmpty())
                download.request->cancel();
        }
        removePartial(download.partPath);
    }
}

void DownloadManager::onDownloadRequested(QWebEngineDownloadRequest *request)
{
    if (continueRestarted(request))
        return;
    Download download;
    if (request->state() == QWebEngineDownloadRequest::DownloadRequested) {
        // A page saves itself only when the user asks it to; other downloads may be the page's.
        const QPointer<QWebEnginePage> page = pageOf(request);
        const quintptr key = gateKey(page);
        if (!request->isSavePageDownload() && !m_gate.mayAsk(key, m_clock.elapsed())) {
            const QString name = DownloadFileName::clean(request->suggestedFileName(), loadResString(19711));
            request->cancel();
            emit downloadRefused(name);
            return;
        }
        const bool accepted = accept(request, download);
        if (page || !key)
            m_gate.noteAnswered(key, m_clock.elapsed());
        if (!accepted)
            return;
    } else if (request->isSavePageDownload() &&
               request->state() == QWebEngineDownloadRequest::DownloadInProgress) {
        // Saved by Save As, which chose its path: only its progress is shown.
        download.filePath = QDir(request->downloadDirectory()).filePath(request->downloadFileName());
    } else {
        return; // decided elsewhere
    }
    const int id = m_nextId++;
    download.request = request;
    m_downloads.insert(id, download);
    follow(id, request);
    emit downloadStarted(id, download.filePath);
}

bool DownloadManager::accept(QWebEngineDownloadRequest *request, Download &download)
{
    // A page saved from its own menu comes with a name made of its title, a file with the
    // name its server or link suggests.
    const bool savePage = request->isSavePageDownload();
    const QString suggested = savePage ? request->downloadFileName() : request->suggestedFileName();
    const QString proposed =
        QDir(FileDialogFolder::downloadFolder()).filePath(DownloadFileName::clean(suggested, loadResString(19711)));
    // The engine keeps the request while it waits; the guard is for a profile that went.
    const QPointer<QWebEngineDownloadRequest> guard(request);
    const QString chosen = m_asker ? m_asker(proposed) : QString();
    if (!guard)
        return false;
    if (chosen.isEmpty()) {
        request->cancel();
        return false;
    }
    const QFileInfo target(chosen);
    const QDir targetFolder = target.absoluteDir();
    download.filePath = target.absoluteFilePath();
    download.chosenHere = true;
    download.replaceAgreed = isTaken(targetFolder, target.fileName());
    QString written = target.fileName();
    if (!savePage) {
        written = DownloadFileName::partName(target.fileName(), [&targetFolder](const QString &name) {
            return isTaken(targetFolder, name) || isTaken(targetFolder, name + kEngineSuffix);
        });
        if (written.isEmpty()) {
            request->cancel();
            return false;
        }
        download.partPath = targetFolder.filePath(written);
    }
    request->setDownloadDirectory(targetFolder.absolutePath());
    request->setDownloadFileName(written);
    request->accept();
    return true;
}

bool DownloadManager::continueRestarted(QWebEngineDownloadRequest *request)
{
    if (request->state() != QWebEngineDownloadRequest::DownloadRequested || request->isSavePageDownload())
        return false;
    for (auto it = m_downloads.begin(); it != m_downloads.end(); ++it) {
        if (it->partPath.isEmpty() || !it->request || it->request == request ||
            it->request->id() != request->id())
            continue;
        const QFileInfo part(it->partPath);
        request->setDownloadDirectory(part.absolutePath());
        request->setDownloadFileName(part.fileName());
        request->accept();
        // The engine reports to the new request only; the old one stays the profile's.
        it->request->disconnect(this);
        it->request = request;
        follow(it.key(), request);
        return true;
    }
    return false;
}

void DownloadManager::follow(int id, QWebEngineDownloadRequest *request)
{
    auto reportProgress = [this, id, request] {
        const auto it = m_downloads.find(id);
        // The engine sets the size to what arrived when it ends, so the size announced is
        // taken while the download runs.
        if (it != m_downloads.end() && request->totalBytes() > 0 &&
            request->state() == QWebEngineDownloadRequest::DownloadInProgress)
            it->announcedBytes = request->totalBytes();
        emit downloadProgress(id, request->receivedBytes(), request->totalBytes());
    };
    m_downloads[id].announcedBytes = std::max<qint64>(request->totalBytes(), 0);
    connect(request, &QWebEngineDownloadRequest::receivedBytesChanged, this, reportProgress);
    connect(request, &QWebEngineDownloadRequest::totalBytesChanged, this, reportProgress);
    // Queued: the engine reports the state before the bytes of the same update.
    connect(request, &QWebEngineDownloadRequest::stateChanged, this, [this, id] { onStateChanged(id); },
            Qt::QueuedConnection);
}

void DownloadManager::cancel(int id)
{
    const auto it = m_downloads.constFind(id);
    if (it != m_downloads.constEnd() && it->request)
        it->request->cancel();
}

void DownloadManager::onStateChanged(int id)
{
    const auto it = m_downloads.find(id);
    if (it == m_downloads.end())
        return;
    QWebEngineDownloadRequest *request = it->request;
    const auto state = request ? request->state() : QWebEngineDownloadRequest::DownloadInterrupted;
    Outcome outcome = Outcome::Failed;
    QString reason;
    switch (state) {
    case QWebEngineDownloadRequest::DownloadRequested:
    case QWebEngineDownloadRequest::DownloadInProgress:
        return;
    case QWebEngineDownloadRequest::DownloadCompleted:
        // The engine counts a connection closed early as the end of a file whose server gave
        // no means to resume it; fewer bytes than announced are a failure here.
        if (it->announcedBytes > 0 && request->receivedBytes() < it->announcedBytes) {
            const QLocale locale;
            reason = loadResString(19713).arg(locale.formattedDataSize(request->receivedBytes()),
                                              locale.formattedDataSize(it->announcedBytes));
        } else {
            reason = giveFinalName(*it);
        }
        outcome = reason.isEmpty() ? Outcome::Completed : Outcome::Failed;
        break;
    case QWebEngineDownloadRequest::DownloadCancelled:
        outcome = Outcome::Cancelled;
        break;
    case QWebEngineDownloadRequest::DownloadInterrupted:
        // Final for us, even where the engine could resume it: the partial file goes.
        outcome = Outcome::Failed;
        reason = request ? interruptReasonText(*request) : QString();
        break;
    }
    const Download download = m_downloads.take(id);
    if (outcome != Outcome::Completed)
        removePartial(download.partPath);
    if (request) {
        request->disconnect(this);
        // The engine drops its record of the download with the request (and what an
        // interrupted download left with it).
        request->deleteLater();
    }
    emit downloadFinished(id, outcome, download.filePath, reason);
}

QString DownloadManager::giveFinalName(Download &download)
{
    if (download.partPath.isEmpty()) {
        // The engine writes a saved page for the user alone; one saved where the user chose
        // here is the user's file as a download is. Save As keeps what it wrote.
        if (download.chosenHere)
            ::chmod(QFile::encodeName(download.filePath).constData(), newFileMode());
        return QString();
    }
    QString failure;
    if (download.replaceAgreed) {
        // rename() replaces the old file in one step.
        std::error_code error;
        std::filesystem::rename(QFile::encodeName(download.partPath).constData(),
                                QFile::encodeName(download.filePath).constData(), error);
        if (error)
            failure = QString::fromLocal8Bit(error.message());
    } else {
        // Never over a file that took the name meanwhile: that one stays, and the download
        // gets a free numbered name beside it.
        const QFileInfo target(download.filePath);
        const QDir folder = target.absoluteDir();
        const auto taken = [&folder](const QString &name) { return isTaken(folder, name); };
        for (int attempt = 0; attempt < kRenameAttempts; ++attempt) {
            const QString name = DownloadFileName::freeName(target.fileName(), taken);
            QFile file(download.partPath);
            if (!name.isEmpty() && file.rename(folder.filePath(name))) {
                download.filePath = folder.filePath(name);
                failure.clear();
                break;
            }
            failure = file.errorString();
            if (name.isEmpty() || !taken(name))
                break; // not for the name: another try would fail the same way
        }
    }
    if (!failure.isEmpty()) {
        removePartial(download.partPath);
        return loadResString(19710).arg(failure);
    }
    ::chmod(QFile::encodeName(download.filePath).constData(), newFileMode());
    return QString();
}
