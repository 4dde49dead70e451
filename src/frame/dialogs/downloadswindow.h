#pragma once

#include "platform/downloadmanager.h"

#include <QHash>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;
class QWebEngineProfile;

// The frame's downloads: a small tool window with one row per download (its file name, a
// progress bar with the bytes received, Cancel while it runs). It shows itself when a download
// starts; a completed download is announced by a notice of the frame, a failed one by a
// message that says why.
class DownloadsWindow : public QWidget
{
    Q_OBJECT
public:
    // Follows the downloads of profile for frame, asking the user where each one goes.
    DownloadsWindow(QWebEngineProfile *profile, QWidget *frame);

signals:
    // A download a page started by itself was refused; statusText says so, for the status bar.
    void downloadRefused(const QString &statusText);

private:
    struct Row
    {
        QWidget *widget = nullptr;
        QLabel *name = nullptr;
        QProgressBar *bar = nullptr;
        QLabel *status = nullptr;
        QPushButton *cancel = nullptr;
        bool finished = false;
    };

    QString askSavePath(const QString &proposedPath);
    void addRow(int id, const QString &filePath);
    void showProgress(int id, qint64 received, qint64 total);
    void finishRow(int id, DownloadManager::Outcome outcome, const QString &filePath,
                   const QString &reason);
    // Removes the rows of the downloads that ended.
    void clearFinished();

    DownloadManager *m_manager;
    QVBoxLayout *m_list;
    QHash<int, Row> m_rows;
};
