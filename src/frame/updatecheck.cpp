#include "updatecheck.h"

#include "core/strings.h"
#include "frame/chrome/framestatusbar.h"
#include "frame/dialogs/updatedialog.h"
#include "platform/updatechecker.h"

#include <QFile>
#include <QProcess>
#include <QWidget>

UpdateCheck::UpdateCheck(QWidget *frame, FrameStatusBar *statusBar)
    : QObject(frame), m_frame(frame), m_statusBar(statusBar), m_checker(new UpdateChecker(this))
{
    connect(m_checker, &UpdateChecker::checkFinished, this, &UpdateCheck::onChecked);
}

UpdateCheck::~UpdateCheck() = default;

UpdateCheck *UpdateCheck::start(QWidget *frame, FrameStatusBar *statusBar)
{
    auto *check = new UpdateCheck(frame, statusBar);
    statusBar->setStatusText(loadResString(16011));
    check->m_checker->check();
    return check;
}

void UpdateCheck::onChecked(UpdateVersionFile::Result result)
{
    if (result != UpdateVersionFile::VersionFound) {
        m_statusBar->setStatusText(loadResString(UpdateVersionFile::statusString(result)));
    } else if (!m_checker->isNewer()) {
        m_statusBar->setStatusText(loadResString(16012));
    } else {
        m_statusBar->setStatusText(loadResString(16001));
        m_dialog = new UpdateDialog(m_checker, m_frame);
        connect(m_dialog, &UpdateDialog::statusTextChanged, m_statusBar, &FrameStatusBar::setStatusText);
        connect(m_dialog, &UpdateDialog::installRequested, this, &UpdateCheck::install);
        connect(m_dialog, &QDialog::finished, this, [this] {
            m_dialog->deleteLater();
            deleteLater();
        });
        m_dialog->show();
        return;
    }
    deleteLater();
}

void UpdateCheck::install(const QString &path)
{
    // Quarvel closes the way the user closes it (documents saved, settings written, the
    // clean-exit marker cleared) before the installer runs; a frame that stays open runs nothing.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!m_frame->close())
        return;
    QProcess::startDetached(path, {});
}
