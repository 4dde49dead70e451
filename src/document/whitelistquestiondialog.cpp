#include "whitelistquestiondialog.h"

#include "core/fixeddialog.h"
#include "core/appstate.h"
#include "core/strings.h"
#include "popupwhitelist.h"
#include "widgets/dialogbuttonrow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

WhitelistQuestionDialog::WhitelistQuestionDialog(const QString &site, QWidget *parent)
    : QDialog(parent), m_site(site)
{
    setObjectName(QStringLiteral("frmWhitelist"));
    setProperty(kTagProperty, resId(17000));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto *question = new QLabel(resId(17004), this);
    question->setObjectName(QStringLiteral("Label1"));
    question->setWordWrap(true);
    layout->addWidget(question);

    auto *group = new QButtonGroup(this);
    const int ids[3] = {17001, 17002, 17005};
    for (int i = 0; i < 3; ++i) {
        m_choices[i] = new QRadioButton(this);
        m_choices[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        m_choices[i]->setProperty(kTagProperty, resId(ids[i]));
        group->addButton(m_choices[i], i);
        layout->addWidget(m_choices[i]);
    }
    m_choices[0]->setChecked(true);

    m_dontAskAgain = new QCheckBox(this);
    m_dontAskAgain->setObjectName(QStringLiteral("chkDontAskAgain"));
    m_dontAskAgain->setProperty(kTagProperty, resId(17003));
    layout->addWidget(m_dontAskAgain);

    const DialogButtonRow buttons(this, {"btnOk", 111}, {"btnCancel", 112});
    m_okButton = buttons.accept;
    m_cancelButton = buttons.reject;
    connect(m_okButton, &QPushButton::clicked, this, &WhitelistQuestionDialog::onOkClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &WhitelistQuestionDialog::onCancelClicked);
    layout->addLayout(buttons.row);

    loadResStrings(this);

    adjustSize();
    makeFixedDialog(this);
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void WhitelistQuestionDialog::ask(const QString &site, QWidget *parent)
{
    WhitelistQuestionDialog dialog(site, parent);
    dialog.exec();
}

void WhitelistQuestionDialog::queue(const QString &site, QWidget *parent)
{
    QPointer<QWidget> owner(parent);
    QMetaObject::invokeMethod(
        parent ? static_cast<QObject *>(parent) : QCoreApplication::instance(),
        [owner, site, hadOwner = parent != nullptr] {
            if (hadOwner && !owner)
                return;
            ask(site, owner);
        },
        Qt::QueuedConnection);
}

void WhitelistQuestionDialog::onOkClicked()
{
    int choice = 1;
    if (m_choices[1]->isChecked())
        choice = 2;
    else if (m_choices[2]->isChecked())
        choice = 3;
    const bool dontAsk = m_dontAskAgain->isChecked();
    accept();
    if (choice == 2 && !m_site.isEmpty())
        addToWhitelist(m_site);
    else if (choice == 3 && !m_site.isEmpty())
        addToWhitelist(domainName(m_site));
    AppState::settings.popupAutoWhitelistAdd = choice;
    AppState::settings.popupPromptWhitelist = !dontAsk;
}

void WhitelistQuestionDialog::onCancelClicked()
{
    reject();
}
