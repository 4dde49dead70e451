#pragma once

#include "core/updateversionfile.h"

#include <QObject>
#include <QPointer>
#include <QString>

class FrameStatusBar;
class QWidget;
class UpdateChecker;
class UpdateDialog;

// One update check of the frame's: asks the version file, tells the outcome on the status bar,
// offers a newer version in the update dialog, and runs a confirmed download after the frame
// has closed normally. It deletes itself when it is done.
class UpdateCheck : public QObject
{
    Q_OBJECT
public:
    UpdateCheck(QWidget *frame, FrameStatusBar *statusBar);
    ~UpdateCheck() override;

    // Starts a check for frame; the status bar shows "Checking for new updates..." meanwhile.
    static UpdateCheck *start(QWidget *frame, FrameStatusBar *statusBar);

private:
    void onChecked(UpdateVersionFile::Result result);
    void install(const QString &path);

    QWidget *m_frame;
    FrameStatusBar *m_statusBar;
    UpdateChecker *m_checker;
    QPointer<UpdateDialog> m_dialog;
};
