#pragma once

#include "core/updateversionfile.h"

#include <QCryptographicHash>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
class QSaveFile;

// Asks the project's version file whether a newer Quarvel exists, and downloads it. Only https
// is used (redirects included); the download is checked against the SHA-256 the version file
// names and is kept only when it matches. One check or download runs at a time.
class UpdateChecker : public QObject
{
    Q_OBJECT
public:
    // How a download ended, numbered as the messages follow them.
    enum class Completion { Cancelled = 1, Failed = 2, Completed = 3 };

    explicit UpdateChecker(QObject *parent = nullptr);
    ~UpdateChecker() override;

    // A transfer that receives nothing for this long fails (check: CannotConnect).
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    // Lets tests reach a server of their own over plain http on 127.0.0.1.
    static void setLoopbackHttpAllowedForTesting(bool allowed);
    // Whether an address may be fetched from: https, or the test switch's loopback http.
    static bool isAllowedUrl(const QUrl &url);

    // The version file's address: "version.txt" of the project's web site.
    static QUrl versionFileUrl();
    // Where downloads are stored: the "update" folder of the data folder.
    static QString downloadFolder();

    // Fetches and reads the version file; checkFinished reports the result.
    void check(const QString &product = QStringLiteral("Quarvel"));
    // What the last check found: the published version and the file to download (set only by
    // a check that found the product).
    const UpdateVersionFile &versionFile() const { return m_versionFile; }
    // Whether the version found is newer than the installed one.
    bool isNewer() const;

    // Downloads the file the last check found into downloadFolder(); downloadProgress reports
    // along the way and downloadFinished at the end.
    void download();
    // Stops a running download (downloadFinished with Cancelled).
    void cancel();
    // The stored file after a completed download.
    QString downloadedFile() const { return m_downloadedFile; }

signals:
    void checkFinished(UpdateVersionFile::Result result);
    void downloadProgress(const QString &statusText, int percent);
    void downloadFinished(UpdateChecker::Completion status);

private:
    QNetworkReply *get(const QUrl &url);
    void onCheckFinished();
    void onDownloadData();
    void onDownloadFinished();
    void finishDownload(Completion status);

    QNetworkAccessManager *m_network;
    QUrl m_versionUrl; // the version file of the last check; its download lies beside it
    QString m_product;
    int m_timeoutMs = 30000;
    UpdateVersionFile m_versionFile;
    QPointer<QNetworkReply> m_check;
    QPointer<QNetworkReply> m_download;
    std::unique_ptr<QSaveFile> m_file;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    QString m_downloadedFile;
    bool m_cancelled = false;
    bool m_tooLarge = false;
};
