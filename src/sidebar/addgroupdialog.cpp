#include "addgroupdialog.h"

#include "core/fixeddialog.h"
#include "core/strings.h"
#include "sidebarimages.h"
#include "websitegroups.h"
#include "widgets/dialogbuttonrow.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int kPictureSize = 32;
constexpr int kMaxPasswordLength = 15;
} // namespace

AddGroupDialog::AddGroupDialog(WebsiteGroups &groups, const SidebarHost &host, QWidget *parent)
    : QDialog(parent), m_groups(groups), m_host(host), m_name(new QLineEdit(this)),
      m_password(new QLineEdit(this)), m_confirm(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmAddGroup"));
    setWindowTitle(loadResString(19000));
    setModal(true);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(SidebarImages::icon(QStringLiteral("heart")).pixmap(kPictureSize));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    auto *prompt = new QLabel(loadResString(19004), this);
    prompt->setObjectName(QStringLiteral("Label2"));
    auto label = [this](const char *name, int id, QLineEdit *buddy) {
        auto *l = new QLabel(loadResString(id), this);
        l->setObjectName(QLatin1String(name));
        l->setBuddy(buddy);
        return l;
    };
    m_name->setObjectName(QStringLiteral("txtGroupName"));
    m_name->setMaxLength(WebsiteGroups::kMaxNameLength);
    m_name->installEventFilter(this);
    for (QLineEdit *box : {m_password, m_confirm}) {
        box->setEchoMode(QLineEdit::Password);
        box->setMaxLength(kMaxPasswordLength);
    }
    m_password->setObjectName(QStringLiteral("txtPassword"));
    m_confirm->setObjectName(QStringLiteral("txtConfirm"));
    const DialogButtonRow buttons(this, {"OKButton", 111}, {"CancelButton", 112});
    m_ok = buttons.accept;
    buttons.reject->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(picture, 0, 0, 4, 1);
    grid->addWidget(prompt, 0, 1, 1, 2);
    grid->addWidget(label("Label1", 19001, m_name), 1, 1);
    grid->addWidget(m_name, 1, 2);
    grid->addWidget(label("Label3", 19008, m_password), 2, 1);
    grid->addWidget(m_password, 2, 2);
    grid->addWidget(label("Label4", 19009, m_confirm), 3, 1);
    grid->addWidget(m_confirm, 3, 2);
    grid->addLayout(buttons.row, 4, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setColumnMinimumWidth(2, m_name->fontMetrics().averageCharWidth() * 28);
    makeFixedDialog(this);

    connect(m_name, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_ok->setEnabled(!text.isEmpty()); });
    connect(m_ok, &QPushButton::clicked, this, &AddGroupDialog::onOk);
    connect(buttons.reject, &QPushButton::clicked, this, &QDialog::reject);
    m_name->setText(QStringLiteral("Group1"));
    m_name->setFocus();
}

bool AddGroupDialog::eventFilter(QObject *watched, QEvent *event)
{
    // The whole name is selected whenever the box gets the focus; after the click's own cursor
    // placement when a mouse press brought it.
    if (watched == m_name && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, m_name, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}

bool AddGroupDialog::groupExists(const QString &name, bool isProtected) const
{
    const QList<WebsiteGroups::Group> groups = m_groups.groups();
    return std::any_of(groups.cbegin(), groups.cend(), [&](const WebsiteGroups::Group &group) {
        return group.isProtected == isProtected &&
               group.name.toUpper() == name.toUpper();
    });
}

void AddGroupDialog::onOk()
{
    const QString name = m_name->text();
    if (name.isEmpty())
        return;
    const bool isProtected = !m_password->text().isEmpty();
    if (groupExists(name, isProtected) &&
        m_host.message(this, QMessageBox::Critical, loadResString(19002),
                       QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        m_name->setFocus();
        return;
    }
    if (m_password->text() != m_confirm->text()) {
        m_host.message(this, QMessageBox::Critical, loadResString(19010));
        m_password->setFocus();
        return;
    }
    if (!m_groups.saveGroup(name, isProtected, m_password->text(), m_host.documentAddresses())) {
        m_host.message(this, QMessageBox::Critical, loadResString(19003));
        return;
    }
    accept();
}
