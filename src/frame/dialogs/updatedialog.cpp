#include "updatedialog.h"

#include "core/appstate.h"
#include "core/fixeddialog.h"
#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "widgets/dialogbuttonrow.h"
#include "widgets/plainmessagebox.h"
#include "widgets/progresspainter.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

// The download bar ("ProgressPict"): the dialog's own progress painter, drawn at full size.
class UpdateDialog::ProgressPicture : public QWidget
{
public:
    explicit ProgressPicture(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("ProgressPict"));
        setFixedSize(321, 25);
        m_bar.setMin(0);
        m_bar.setMax(100);
        m_bar.setWidth(width());
        m_bar.setHeight(height());
        m_bar.setShowPercentage(true);
    }
    void setValue(int value)
    {
        m_bar.setValue(value);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        m_bar.draw(painter, 0, 0, width(), height());
    }

private:
    ProgressPainter m_bar;
};

UpdateDialog::UpdateDialog(UpdateChecker *checker, QWidget *parent) : QDialog(parent), m_checker(checker)
{
    setObjectName(QStringLiteral("frmAutoupdate"));
    setProperty(kTagProperty, resId(16000));
    setWindowModality(Qt::ApplicationModal);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture2"));
    picture->setPixmap(QIcon(QStringLiteral(":/quarvel/quarvel.png")).pixmap(32, 32));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    // The question.
    auto *question = new QWidget;
    question->setObjectName(QStringLiteral("Frame1"));
    auto *label = new QLabel(resId(16001), question);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    m_dontCheck = new QCheckBox(question);
    m_dontCheck->setObjectName(QStringLiteral("Check1"));
    m_dontCheck->setProperty(kTagProperty, resId(16002));
    const DialogButtonRow questionButtons(question, {"OKButton", 113}, {"CancelButton", 114});
    m_yesButton = questionButtons.accept;
    m_noButton = questionButtons.reject;
    auto *questionLayout = new QVBoxLayout(question);
    questionLayout->setContentsMargins(0, 0, 0, 0);
    questionLayout->addWidget(label);
    questionLayout->addWidget(m_dontCheck);
    questionLayout->addStretch();
    questionLayout->addLayout(questionButtons.row);

    // The download.
    auto *downloading = new QWidget;
    downloading->setObjectName(QStringLiteral("Frame2"));
    m_downloadStatus = new QLabel(downloading);
    m_downloadStatus->setObjectName(QStringLiteral("lblUpdateStatus"));
    m_downloadStatus->setTextFormat(Qt::PlainText);
    m_progress = new ProgressPicture(downloading);
    m_cancelDownload = new QPushButton(downloading);
    m_cancelDownload->setObjectName(QStringLiteral("CancelDownload"));
    m_cancelDownload->setProperty(kTagProperty, resId(112));
    auto *downloadButtons = new QHBoxLayout;
    downloadButtons->addStretch();
    downloadButtons->addWidget(m_cancelDownload);
    auto *downloadLayout = new QVBoxLayout(downloading);
    downloadLayout->setContentsMargins(0, 0, 0, 0);
    downloadLayout->addWidget(m_downloadStatus);
    downloadLayout->addWidget(m_progress);
    downloadLayout->addStretch();
    downloadLayout->addLayout(downloadButtons);

    m_panels = new QStackedWidget(this);
    m_panels->addWidget(question);
    m_panels->addWidget(downloading);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(picture);
    layout->addWidget(m_panels, 1);
    setFixedSize(427, 119);
    makeFixedDialog(this);

    loadResStrings(this);

    connect(m_yesButton, &QPushButton::clicked, this, &UpdateDialog::startDownload);
    connect(m_noButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_cancelDownload, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_checker, &UpdateChecker::downloadProgress, this, &UpdateDialog::onProgress);
    // Queued: the result's message box must not open inside the network reply's own signal
    // (a cancel aborts the reply, which reports at once).
    connect(m_checker, &UpdateChecker::downloadFinished, this, &UpdateDialog::onFinished,
            Qt::QueuedConnection);
}

UpdateDialog::~UpdateDialog() = default;

void UpdateDialog::startDownload()
{
    if (m_downloading)
        return;
    setCursor(Qt::WaitCursor);
    m_downloading = true;
    m_panels->setCurrentIndex(1);
    m_cancelDownload->setDefault(true);
    m_cancelDownload->setFocus();
    m_checker->download();
}

void UpdateDialog::keyPressEvent(QKeyEvent *event)
{
    if (!m_downloading && event->key() == Qt::Key_Y)
        startDownload();
    else if (!m_downloading && event->key() == Qt::Key_N)
        reject();
    else if (event->key() == Qt::Key_Y || event->key() == Qt::Key_N)
        return;
    else
        QDialog::keyPressEvent(event);
}

void UpdateDialog::onProgress(const QString &statusText, int percent)
{
    m_downloadStatus->setText(statusText);
    emit statusTextChanged(statusText);
    m_progress->setValue(percent);
}

void UpdateDialog::done(int result)
{
    if (m_downloading) {
        if (plainMessageBox(this, QMessageBox::Question, loadResString(16000), loadResString(16007),
                            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
        // The download reports itself cancelled, and that closes the dialog.
        m_checker->cancel();
        return;
    }
    AppState::settings.checkForUpdate = !m_dontCheck->isChecked();
    SettingsModel::writeBoolean(SettingsStore::instance(), QStringLiteral("General"),
                                QStringLiteral("CheckForUpdate"), AppState::settings.checkForUpdate);
    emit statusTextChanged(QString());
    QDialog::done(result);
}

void UpdateDialog::onFinished(UpdateChecker::Completion status)
{
    if (!m_downloading)
        return;
    m_downloading = false;
    unsetCursor();
    if (status == UpdateChecker::Completion::Completed) {
        const bool run = plainMessageBox(this, QMessageBox::Warning, loadResString(16000), loadResString(16009),
                                         QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
        const QString path = m_checker->downloadedFile();
        done(Accepted);
        if (run)
            emit installRequested(path);
        return;
    }
    plainMessageBox(this, QMessageBox::Warning, loadResString(16000),
                    loadResString(status == UpdateChecker::Completion::Cancelled ? 16008 : 16010));
    done(Rejected);
}
