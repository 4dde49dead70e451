#include "defaultbrowserdialog.h"

#include "core/appstate.h"
#include "core/fixeddialog.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "platform/defaultbrowser.h"
#include "widgets/dialogbuttonrow.h"

#include <QGuiApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

DefaultBrowserDialog::DefaultBrowserDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAssoc"));
    setProperty(kTagProperty, resId(1500));

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture2"));
    picture->setPixmap(QIcon(QStringLiteral(":/quarvel/quarvel.png")).pixmap(32, 32));
    picture->setAlignment(Qt::AlignTop);

    auto *question = new QLabel(resId(1501), this);
    question->setObjectName(QStringLiteral("Label1"));
    question->setWordWrap(true);
    question->setMinimumWidth(280); // the dialog about 5175 twips wide

    m_dontAskAgain = new QCheckBox(this);
    m_dontAskAgain->setObjectName(QStringLiteral("Check1"));
    m_dontAskAgain->setProperty(kTagProperty, resId(1502));

    const DialogButtonRow buttons(this, {"OKButton", 113}, {"CancelButton", 114});
    connect(buttons.accept, &QPushButton::clicked, this, &DefaultBrowserDialog::onYes);
    connect(buttons.reject, &QPushButton::clicked, this, &QDialog::reject);

    auto *text = new QVBoxLayout;
    text->addWidget(question);
    text->addWidget(m_dontAskAgain);
    auto *top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(text, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons.row);

    loadResStrings(this);
    makeFixedDialog(this);
}

void DefaultBrowserDialog::checkAtStartUp(QWidget *parent)
{
    if (DefaultBrowser().isDefault())
        return;
    if (AppState::settings.checkIfDefault) {
        DefaultBrowserDialog prompt(parent);
        prompt.exec();
    } else if (SettingsModel::readBoolean(SettingsStore::instance(), QStringLiteral("Settings"),
                                          QStringLiteral("FileAssociationSetDefault"), true)) {
        makeDefaultBrowser(parent);
    }
}

void DefaultBrowserDialog::onYes()
{
    m_answeredYes = true;
    makeDefaultBrowser(this);
    accept();
}

void DefaultBrowserDialog::done(int result)
{
    // Every way out lands here: Yes, No, Esc and the close box.
    AppState::settings.checkIfDefault = !m_dontAskAgain->isChecked();
    SettingsModel::writeBoolean(SettingsStore::instance(), QStringLiteral("Settings"),
                                QStringLiteral("FileAssociationSetDefault"), m_answeredYes);
    QDialog::done(result);
}

void DefaultBrowserDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QDialog::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Y: onYes(); break;
    case Qt::Key_N: reject(); break;
    default: QDialog::keyPressEvent(event);
    }
}

void DefaultBrowserDialog::showEvent(QShowEvent *event)
{
    // Centred on the screen: the frame behind it is not shown yet.
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}
