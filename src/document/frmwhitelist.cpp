#include "frmwhitelist.h"

#include "core/maincode.h"
#include "core/strings.h"
#include "popupkiller.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

frmWhitelist::frmWhitelist(const QString &site, QWidget *parent)
    : QDialog(parent), g_sWhitelistSite(site)
{
    setObjectName(QStringLiteral("frmWhitelist"));
    setProperty(kTagProperty, ResId(17000));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto *question = new QLabel(ResId(17004), this);
    question->setObjectName(QStringLiteral("Label1"));
    question->setWordWrap(true);
    layout->addWidget(question);

    auto *group = new QButtonGroup(this);
    const int ids[3] = {17001, 17002, 17005};
    for (int i = 0; i < 3; ++i) {
        Option1[i] = new QRadioButton(this);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Option1[i]->setProperty(kTagProperty, ResId(ids[i]));
        group->addButton(Option1[i], i);
        layout->addWidget(Option1[i]);
    }
    Option1[0]->setChecked(true);

    chkDontAskAgain = new QCheckBox(this);
    chkDontAskAgain->setObjectName(QStringLiteral("chkDontAskAgain"));
    chkDontAskAgain->setProperty(kTagProperty, ResId(17003));
    layout->addWidget(chkDontAskAgain);

    btnOk = new QPushButton(this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setProperty(kTagProperty, ResId(111));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setProperty(kTagProperty, ResId(112));
    connect(btnOk, &QPushButton::clicked, this, &frmWhitelist::btnOk_Click);
    connect(btnCancel, &QPushButton::clicked, this, &frmWhitelist::btnCancel_Click);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    LoadResStrings(this);
    MainCode::ModalDialogClosed = false;

    adjustSize();
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

frmWhitelist::~frmWhitelist()
{
    Form_Unload();
}

void frmWhitelist::Ask(const QString &site, QWidget *parent)
{
    frmWhitelist dialog(site, parent);
    dialog.exec();
}

void frmWhitelist::Queue(const QString &site, QWidget *parent)
{
    QPointer<QWidget> owner(parent);
    QMetaObject::invokeMethod(
        parent ? static_cast<QObject *>(parent) : QCoreApplication::instance(),
        [owner, site, hadOwner = parent != nullptr] {
            if (hadOwner && !owner)
                return;
            Ask(site, owner);
        },
        Qt::QueuedConnection);
}

void frmWhitelist::btnOk_Click()
{
    int choice = 1;
    if (Option1[1]->isChecked())
        choice = 2;
    else if (Option1[2]->isChecked())
        choice = 3;
    const bool dontAsk = chkDontAskAgain->isChecked();
    accept();
    if (choice == 2 && !g_sWhitelistSite.isEmpty())
        AddToWhitelist(g_sWhitelistSite);
    else if (choice == 3 && !g_sWhitelistSite.isEmpty())
        AddToWhitelist(GetDomainName(g_sWhitelistSite));
    MainCode::Settings.PopupAutoWhitelistAdd = choice;
    MainCode::Settings.PopupPromptWhitelist = !dontAsk;
}

void frmWhitelist::btnCancel_Click()
{
    reject();
}

void frmWhitelist::done(int result)
{
    QDialog::done(result);
    Form_Unload();
}

void frmWhitelist::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    MainCode::ModalDialogClosed = true;
}
