#include "downloadswindow.h"

#include "core/strings.h"
#include "widgets/notificationwindow.h"
#include "widgets/plainmessagebox.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

DownloadsWindow::DownloadsWindow(QWebEngineProfile *profile, QWidget *frame)
    : QWidget(frame, Qt::Tool), m_manager(new DownloadManager(profile, this))
{
    setWindowTitle(loadResString(19700));
    // A download that starts never takes the keyboard from the page.
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(460, 260);

    auto *content = new QWidget;
    m_list = new QVBoxLayout(content);
    m_list->addStretch(1);
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto *clear = new QPushButton(loadResString(19712));
    connect(clear, &QPushButton::clicked, this, &DownloadsWindow::clearFinished);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(clear);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);

    m_manager->setSavePathAsker([this](const QString &proposed) { return askSavePath(proposed); });
    connect(m_manager, &DownloadManager::downloadStarted, this, &DownloadsWindow::addRow);
    connect(m_manager, &DownloadManager::downloadProgress, this, &DownloadsWindow::showProgress);
    connect(m_manager, &DownloadManager::downloadFinished, this, &DownloadsWindow::finishRow);
    connect(m_manager, &DownloadManager::downloadRefused, this, [this](const QString &fileName) {
        emit downloadRefused(loadResString(19716).arg(fileName));
    });
}

QString DownloadsWindow::askSavePath(const QString &proposedPath)
{
    // The dialog has the user confirm before a chosen file that exists is replaced.
    return QFileDialog::getSaveFileName(parentWidget(), loadResString(19701), proposedPath);
}

void DownloadsWindow::addRow(int id, const QString &filePath)
{
    Row row;
    auto *frame = new QFrame;
    frame->setFrameShape(QFrame::StyledPanel);
    row.widget = frame;
    row.name = new QLabel(QFileInfo(filePath).fileName());
    row.name->setTextFormat(Qt::PlainText);
    // A long name is cut at the window's edge rather than widening it.
    row.name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row.bar = new QProgressBar;
    row.bar->setRange(0, 100);
    row.bar->setValue(0);
    row.status = new QLabel;
    row.status->setTextFormat(Qt::PlainText);
    row.status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row.cancel = new QPushButton(loadResString(112));
    connect(row.cancel, &QPushButton::clicked, this, [this, id] { m_manager->cancel(id); });
    auto *grid = new QGridLayout(frame);
    grid->addWidget(row.name, 0, 0, 1, 2);
    grid->addWidget(row.bar, 1, 0);
    grid->addWidget(row.cancel, 1, 1);
    grid->addWidget(row.status, 2, 0, 1, 2);
    m_list->insertWidget(m_list->count() - 1, frame);
    m_rows.insert(id, row);
    if (!isVisible()) {
        // At the frame's upper right, below its bars; the notices use the lower right.
        const QRect frameRect = parentWidget()->frameGeometry();
        move(frameRect.right() - frameGeometry().width() - 24, frameRect.top() + 160);
    }
    show();
    raise();
}

void DownloadsWindow::showProgress(int id, qint64 received, qint64 total)
{
    const auto it = m_rows.constFind(id);
    if (it == m_rows.constEnd() || it->finished)
        return;
    const QLocale locale;
    if (total > 0) {
        it->bar->setValue(int(std::clamp<qint64>(received * 100 / total, 0, 100)));
        it->status->setText(loadResString(19702).arg(locale.formattedDataSize(received),
                                                     locale.formattedDataSize(total)));
    } else {
        it->status->setText(locale.formattedDataSize(received));
    }
}

void DownloadsWindow::finishRow(int id, DownloadManager::Outcome outcome, const QString &filePath,
                                const QString &reason)
{
    const auto it = m_rows.find(id);
    if (it == m_rows.end())
        return;
    it->finished = true;
    it->cancel->hide();
    const QFileInfo file(filePath);
    it->name->setText(file.fileName());
    QWidget *frame = parentWidget();
    switch (outcome) {
    case DownloadManager::Outcome::Completed:
        it->bar->setValue(100);
        it->status->setText(loadResString(19703));
        NotificationWindow::of(frame)->post(
            {loadResString(19706),
             loadResString(19707).arg(file.fileName(), QDir::toNativeSeparators(file.path())),
             QString()});
        break;
    case DownloadManager::Outcome::Cancelled:
        it->bar->hide();
        it->status->setText(loadResString(19704));
        break;
    case DownloadManager::Outcome::Failed:
        it->bar->hide();
        it->status->setText(loadResString(19705).arg(reason));
        // Told once the engine's report has returned.
        QTimer::singleShot(0, this, [frame, name = file.fileName(), reason] {
            plainMessageBox(frame, QMessageBox::Warning, loadResString(19708),
                            loadResString(19709).arg(name, reason));
        });
        break;
    }
}

void DownloadsWindow::clearFinished()
{
    for (auto it = m_rows.begin(); it != m_rows.end();) {
        if (it->finished) {
            it->widget->deleteLater();
            it = m_rows.erase(it);
        } else {
            ++it;
        }
    }
}
