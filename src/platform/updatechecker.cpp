#include "updatechecker.h"

#include "core/paths.h"
#include "core/userfile.h"
#include "core/website.h"

#include <QDir>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>

namespace {

bool g_loopbackHttpAllowed = false;

// Larger answers are not a download of ours.
constexpr qint64 kMaxDownloadSize = qint64(1) << 30;

} // namespace

UpdateChecker::UpdateChecker(QObject *parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this))
{
}

UpdateChecker::~UpdateChecker()
{
    // A transfer ending now reports to no one; an unfinished download is discarded with m_file.
    for (QNetworkReply *reply : {m_check.data(), m_download.data()}) {
        if (reply) {
            reply->disconnect(this);
            reply->abort();
        }
    }
}

void UpdateChecker::setLoopbackHttpAllowedForTesting(bool allowed)
{
    g_loopbackHttpAllowed = allowed;
}

bool UpdateChecker::isAllowedUrl(const QUrl &url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    if (url.scheme() == QLatin1String("https"))
        return true;
    return g_loopbackHttpAllowed && url.scheme() == QLatin1String("http") &&
           url.host() == QLatin1String("127.0.0.1");
}

bool UpdateChecker::isNewer() const
{
    return UpdateVersion::installed() < m_versionFile.version();
}

QNetworkReply *UpdateChecker::get(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(m_timeoutMs);
    QNetworkReply *reply = m_network->get(request);
    // A redirect is followed only to where the first request could have gone.
    connect(reply, &QNetworkReply::redirected, reply, [reply](const QUrl &target) {
        if (isAllowedUrl(target))
            emit reply->redirectAllowed();
        else
            reply->abort();
    });
    return reply;
}

QUrl UpdateChecker::versionFileUrl()
{
    return WebSite::page(QStringLiteral("version.txt"));
}

QString UpdateChecker::downloadFolder()
{
    return Paths::dataFile(QStringLiteral("update"));
}

void UpdateChecker::check(const QString &product)
{
    if (m_check || m_download)
        return;
    m_product = product;
    m_tooLarge = false;
    m_versionUrl = versionFileUrl();
    if (!isAllowedUrl(m_versionUrl)) {
        QTimer::singleShot(0, this, [this] { emit checkFinished(UpdateVersionFile::CannotConnect); });
        return;
    }
    m_check = get(m_versionUrl);
    connect(m_check, &QNetworkReply::readyRead, this, [this] {
        if (m_check && m_check->bytesAvailable() > UpdateVersionFile::kMaxSize) {
            m_tooLarge = true;
            m_check->abort();
        }
    });
    connect(m_check, &QNetworkReply::finished, this, &UpdateChecker::onCheckFinished);
}

void UpdateChecker::onCheckFinished()
{
    QNetworkReply *reply = m_check;
    m_check.clear();
    if (!reply)
        return;
    reply->deleteLater();
    UpdateVersionFile::Result result;
    if (m_tooLarge)
        result = UpdateVersionFile::InvalidDataStartEnd;
    else if (reply->error() != QNetworkReply::NoError ||
             reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200)
        result = UpdateVersionFile::CannotConnect;
    else
        result = m_versionFile.parse(reply->read(UpdateVersionFile::kMaxSize + 1), m_product);
    emit checkFinished(result);
}

void UpdateChecker::download()
{
    if (m_check || m_download)
        return;
    m_cancelled = false;
    m_tooLarge = false;
    m_downloadedFile.clear();
    m_hash.reset();
    // The name was checked to be a plain base name when the version file was read.
    const QUrl url = m_versionUrl.resolved(QUrl(m_versionFile.fileName()));
    const QString folder = downloadFolder();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // Only a regular file of that name (or nothing) is replaced by the download.
    const QString target = UserFile::writeTarget(QDir(folder).filePath(m_versionFile.fileName()));
    m_file = std::make_unique<QSaveFile>(target);
    if (!UpdateVersionFile::isSafeFileName(m_versionFile.fileName()) || !isAllowedUrl(url) ||
        target.isEmpty() || !m_file->open(QIODevice::WriteOnly) ||
        !m_file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        m_file.reset();
        QTimer::singleShot(0, this, [this] { emit downloadFinished(Completion::Failed); });
        return;
    }
    m_download = get(url);
    connect(m_download, &QNetworkReply::readyRead, this, &UpdateChecker::onDownloadData);
    connect(m_download, &QNetworkReply::finished, this, &UpdateChecker::onDownloadFinished);
}

void UpdateChecker::onDownloadData()
{
    if (!m_download || !m_file)
        return;
    const QByteArray data = m_download->readAll();
    m_hash.addData(data);
    if (m_file->size() + data.size() > kMaxDownloadSize) {
        m_tooLarge = true;
        m_download->abort();
        return;
    }
    if (m_file->write(data) != data.size()) {
        m_download->abort();
        return;
    }
    if (data.isEmpty())
        return;
    // Reported with every piece (the reply's own progress signal leaves out the first ones).
    const qint64 received = m_file->size();
    const qint64 total = m_download->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    const QLocale locale;
    const int percent = total > 0 ? int(std::clamp<qint64>(received * 100 / total, 0, 100)) : 0;
    const QString name = m_versionFile.fileName();
    emit downloadProgress(total > 0 ? QStringLiteral("%1: %2 / %3")
                                          .arg(name, locale.formattedDataSize(received), locale.formattedDataSize(total))
                                    : QStringLiteral("%1: %2").arg(name, locale.formattedDataSize(received)),
                          percent);
}

void UpdateChecker::onDownloadFinished()
{
    if (!m_download)
        return;
    if (m_download->isOpen())
        onDownloadData();
    QNetworkReply *reply = m_download;
    const bool ok = reply->error() == QNetworkReply::NoError &&
                    reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200 &&
                    !m_tooLarge && m_file && m_file->error() == QFileDevice::NoError;
    if (m_cancelled)
        finishDownload(Completion::Cancelled);
    else if (!ok || m_hash.result() != m_versionFile.sha256())
        finishDownload(Completion::Failed); // the unfinished file is discarded, never kept
    else if (!m_file->commit())
        finishDownload(Completion::Failed);
    else {
        m_downloadedFile = m_file->fileName();
        finishDownload(Completion::Completed);
    }
}

void UpdateChecker::finishDownload(Completion status)
{
    if (m_download)
        m_download->deleteLater();
    m_download.clear();
    m_file.reset();
    emit downloadFinished(status);
}

void UpdateChecker::cancel()
{
    if (!m_download)
        return;
    m_cancelled = true;
    m_download->abort();
}
