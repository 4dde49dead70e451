#include "customlinkdialog.h"

#include "core/fixeddialog.h"
#include "activepagesource.h"
#include "limitedtext.h"

#include "core/strings.h"
#include "platform/typedaddress.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

CustomLinkDialog::CustomLinkDialog(OptionsHost &host, QWidget *parent)
    : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("frmLink"));

    auto *nameLabel = new QLabel(resId(7000), this);
    nameLabel->setObjectName(QStringLiteral("Label1"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("txtName"));
    m_name->setMaxLength(kNameLimit);
    nameLabel->setBuddy(m_name);

    auto *addressLabel = new QLabel(resId(7001), this);
    addressLabel->setObjectName(QStringLiteral("Label2"));
    m_address = new QLineEdit(QStringLiteral("http://"), this);
    m_address->setObjectName(QStringLiteral("txtURL"));
    addressLabel->setBuddy(m_address);

    auto *buttons = new QDialogButtonBox(this);
    auto *ok = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setProperty(kTagProperty, resId(111));
    ok->setDefault(true);
    auto *cancel = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setProperty(kTagProperty, resId(112));
    m_current = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    m_current->setObjectName(QStringLiteral("btnCurrent"));
    m_current->setProperty(kTagProperty, resId(8034));
    m_current->setAutoDefault(false);
    m_current->setEnabled(ActivePageSource::of(m_host) != nullptr);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_current, &QPushButton::clicked, this, &CustomLinkDialog::useCurrent);

    auto *grid = new QGridLayout(this);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(addressLabel, 1, 0);
    grid->addWidget(m_address, 1, 1);
    grid->addWidget(buttons, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    loadResStrings(this);
    resize(4785 / 15, 1725 / 15);
    setMinimumWidth(4785 / 15);
    makeFixedDialog(this);
}

QString CustomLinkDialog::name() const
{
    return m_name->text();
}

void CustomLinkDialog::setName(const QString &name)
{
    setLimitedText(m_name, name, kNameLimit);
}

QString CustomLinkDialog::address() const
{
    return completedAddress(m_address->text());
}

void CustomLinkDialog::setAddress(const QString &address)
{
    m_address->setText(address);
}

QString CustomLinkDialog::completedAddress(const QString &typed)
{
    // "scheme:" followed by something other than a port number keeps the text as it is.
    static const QRegularExpression scheme(
        QStringLiteral("^[a-zA-Z][a-zA-Z0-9+.-]*:(?!\\d+(?:[/?#]|$))"));
    const QString text = typed.trimmed();
    if (text.isEmpty() || scheme.match(text).hasMatch())
        return typed;
    return TypedAddress::resolve(text, QString(), {}).toString();
}

void CustomLinkDialog::useCurrent()
{
    if (const ActivePageSource *page = ActivePageSource::of(m_host)) {
        setName(page->activePageTitle());
        m_address->setText(page->activePageAddress());
    }
}
