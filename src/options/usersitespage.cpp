#include "usersitespage.h"

#include "activepagesource.h"
#include "limitedtext.h"
#include "pageframe.h"

#include "core/appstate.h"
#include "core/strings.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct Site
{
    const char *box;
    int label;
    QString SettingsModel::*setting;
};

const Site kSites[] = {
    {"txtHome1", 8029, &SettingsModel::sitesHome1},
    {"txtHome2", 8030, &SettingsModel::sitesHome2},
    {"txtSearch", 8031, &SettingsModel::sitesSearch},
    {"txtNews", 8032, &SettingsModel::sitesNews},
    {"txtMail", 8033, &SettingsModel::sitesMail},
};

} // namespace

UserSitesPage::UserSitesPage(OptionsHost &host, QWidget *parent) : OptionsPage(host, parent)
{
    QGroupBox *frame = addPageFrame(this, "UsersitesOptions", 8027);

    auto *intro = new QLabel(resId(8028), frame);
    intro->setWordWrap(true);

    auto *grid = new QGridLayout;
    for (int i = 0; i < int(m_sites.size()); ++i) {
        auto *label = new QLabel(resId(kSites[i].label), frame);
        auto *box = new QLineEdit(frame);
        box->setObjectName(QLatin1String(kSites[i].box));
        box->setMaxLength(kSiteLimit);
        box->installEventFilter(this);
        label->setBuddy(box);
        grid->addWidget(label, i, 0);
        grid->addWidget(box, i, 1);
        m_sites[i] = box;
    }
    grid->setColumnStretch(1, 1);

    auto *useBlank = new QPushButton(frame);
    useBlank->setObjectName(QStringLiteral("btnUseBlank"));
    useBlank->setProperty(kTagProperty, resId(8101));
    m_useCurrent = new QPushButton(frame);
    m_useCurrent->setObjectName(QStringLiteral("btnUseCurrent"));
    m_useCurrent->setProperty(kTagProperty, resId(8034));
    connect(useBlank, &QPushButton::clicked, this,
            [this] { fillSelected(QStringLiteral("about:blank")); });
    connect(m_useCurrent, &QPushButton::clicked, this, [this] {
        if (const ActivePageSource *page = ActivePageSource::of(this->host()))
            fillSelected(page->activePageAddress());
    });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(useBlank);
    buttons->addWidget(m_useCurrent);

    auto *inner = new QVBoxLayout(frame);
    inner->addWidget(intro);
    inner->addLayout(grid);
    inner->addLayout(buttons);
    inner->addStretch();

    localise();
    load();
}

void UserSitesPage::load()
{
    m_useCurrent->setEnabled(ActivePageSource::of(host()) != nullptr);
    const SettingsModel &s = AppState::settings;
    for (int i = 0; i < int(m_sites.size()); ++i)
        setLimitedText(m_sites[i], s.*kSites[i].setting, kSiteLimit);
}

void UserSitesPage::save()
{
    SettingsModel &s = AppState::settings;
    for (int i = 0; i < int(m_sites.size()); ++i)
        s.*kSites[i].setting = m_sites[i]->text();
}

bool UserSitesPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < int(m_sites.size()); ++i) {
            if (m_sites[i] == watched)
                m_selectedSite = i;
        }
    }
    return OptionsPage::eventFilter(watched, event);
}

void UserSitesPage::fillSelected(const QString &address)
{
    setLimitedText(m_sites[m_selectedSite], address, kSiteLimit);
}
