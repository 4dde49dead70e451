#pragma once

#include "platform/updatechecker.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QPushButton;
class QStackedWidget;

// Offers a newer version ("frmAutoupdate"): a question panel (Yes/No and "Don't check for
// updates in the future."), then a download panel with the status text, a progress bar and
// Cancel. Closing during a download asks first and cancels it. A completed download is run
// only when the user confirms; the dialog then asks for it by installRequested.
class UpdateDialog : public QDialog
{
    Q_OBJECT
public:
    UpdateDialog(UpdateChecker *checker, QWidget *parent = nullptr);
    ~UpdateDialog() override;

    void done(int result) override;

signals:
    // The text for the status bar's first panel (empty when the dialog has closed).
    void statusTextChanged(const QString &text);
    // The user confirmed running the completed download stored at path.
    void installRequested(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Yes: the download panel, and the download starts.
    void startDownload();
    void onProgress(const QString &statusText, int percent);
    void onFinished(UpdateChecker::Completion status);

    QCheckBox *m_dontCheck = nullptr; // "Check1"
    QPushButton *m_yesButton = nullptr;
    QPushButton *m_noButton = nullptr;
    QPushButton *m_cancelDownload = nullptr;
    QLabel *m_downloadStatus = nullptr; // "lblUpdateStatus"
    QStackedWidget *m_panels = nullptr; // question, download
    UpdateChecker *m_checker;
    class ProgressPicture;
    ProgressPicture *m_progress = nullptr;
    bool m_downloading = false;
};
