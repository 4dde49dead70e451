#include "passworddialog.h"

#include "core/fixeddialog.h"
#include "core/passworddigest.h"
#include "core/strings.h"
#include "dialogbuttonrow.h"
#include "plainmessagebox.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

PasswordDialog::PasswordDialog(Mode mode, const QString &storedDigest, QWidget *parent)
    : QDialog(parent), m_mode(mode), m_storedDigest(storedDigest),
      m_password(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmPassword"));
    const bool unlock = mode == Mode::Unlock;
    setWindowTitle(loadResString(unlock ? 3500 : 19012));
    setModal(true);

    auto *prompt = new QLabel(loadResString(unlock ? 3501 : 19013), this);
    prompt->setObjectName(QStringLiteral("lblLabels"));
    auto *label = new QLabel(loadResString(3502), this);
    label->setObjectName(QStringLiteral("lblLabels1"));
    label->setBuddy(m_password);
    m_password->setObjectName(QStringLiteral("txtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(15);
    const DialogButtonRow buttons(this, {"cmdOK", 3503}, {"cmdCancel", 3504});
    m_ok = buttons.accept;
    m_ok->setEnabled(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(prompt, 0, 0, 1, 2);
    grid->addWidget(label, 1, 0);
    grid->addWidget(m_password, 1, 1);
    grid->addLayout(buttons.row, 2, 0, 1, 2);
    // Wide enough for the caption on a window manager's title bar, which also holds an icon and
    // buttons and often a bold font; nothing to minimise or maximise.
    const int titleWidth =
        fontMetrics().horizontalAdvance(windowTitle()) * 6 / 5 + 7 * fontMetrics().height();
    setFixedSize(qMax(sizeHint().width(), titleWidth), sizeHint().height());
    makeFixedDialog(this);

    connect(m_password, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_ok->setEnabled(!text.isEmpty()); });
    connect(m_ok, &QPushButton::clicked, this, &PasswordDialog::onOk);
    connect(buttons.reject, &QPushButton::clicked, this, &QDialog::reject);
}

QString PasswordDialog::password() const
{
    return m_password->text();
}

void PasswordDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_password->setFocus();
    m_password->selectAll();
}

void PasswordDialog::onOk()
{
    if (m_password->text().isEmpty())
        return;
    if (m_mode == Mode::Unlock && !PasswordDigest::matches(m_storedDigest, m_password->text())) {
        plainMessageBox(this, QMessageBox::Warning, loadResString(100), loadResString(3505));
        m_password->setFocus();
        m_password->selectAll();
        return;
    }
    m_cancelled = false;
    accept();
}
