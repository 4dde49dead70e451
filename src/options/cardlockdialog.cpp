#include "cardlockdialog.h"

#include "core/fixeddialog.h"
#include "core/appstate.h"
#include "core/passworddigest.h"
#include "core/strings.h"
#include "taggedwidget.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CardLockDialog::CardLockDialog(OptionsMessage message, QWidget *parent)
    : QDialog(parent), m_message(std::move(message))
{
    setObjectName(QStringLiteral("frmFormPass"));
    setProperty(kTagProperty, resId(5500));
    m_password = new QLineEdit;
    m_password->setObjectName(QStringLiteral("txtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    auto *buttons = new QDialogButtonBox;
    QPushButton *ok = taggedWidget(buttons->addButton(QDialogButtonBox::Ok), "cmdOK", 5503);
    taggedWidget(buttons->addButton(QDialogButtonBox::Cancel), "cmdCancel", 5504);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CardLockDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CardLockDialog::reject);

    auto *passwordLabel = new QLabel(resId(5502));
    passwordLabel->setBuddy(m_password);
    auto *row = new QHBoxLayout;
    row->addWidget(passwordLabel);
    row->addWidget(m_password, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(resId(5501)));
    layout->addLayout(row);
    layout->addWidget(buttons);
    m_password->setMinimumWidth(200);

    loadResStrings(this);
    makeFixedDialog(this);
}

bool CardLockDialog::unlock(const OptionsMessage &message, QWidget *parent)
{
    CardLockDialog prompt(message, parent);
    prompt.exec();
    return AppState::creditInfoUnlocked;
}

void CardLockDialog::accept()
{
    if (PasswordDigest::matches(AppState::settings.creditInfoPassword, m_password->text())) {
        AppState::creditInfoUnlocked = true;
        QDialog::accept();
        return;
    }
    m_message(QMessageBox::Warning, loadResString(5505));
    reject();
}
