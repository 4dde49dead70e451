#include "controloptionspage.h"

#include "pageframe.h"

#include "core/appstate.h"
#include "core/strings.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

struct NewTabList
{
    const char *list;
    int label;
    bool SettingsModel::*setting;
};

struct ActionList
{
    const char *list;
    int label;
    qint32 SettingsModel::*setting;
};

const NewTabList kNewTabLists[] = {
    {"lstNavigate", 8071, &SettingsModel::controlNavNew},
    {"lstSites", 8072, &SettingsModel::controlSitesNew},
    {"lstFavorites", 8074, &SettingsModel::controlFavNew},
    {"lstHistory", 8075, &SettingsModel::controlHistNew},
};

const ActionList kActionLists[] = {
    {"lstTabLeft", 8077, &SettingsModel::controlLeft},
    {"lstTabShftLeft", 8078, &SettingsModel::controlShiftLeft},
    {"lstTabRight", 8079, &SettingsModel::controlRight},
    {"lstTabShftRight", 8080, &SettingsModel::controlShiftRight},
    {"lstTabDbl", 8081, &SettingsModel::controlDouble},
};

QGroupBox *group(QWidget *parent, int caption, QFormLayout *&form)
{
    auto *box = new QGroupBox(parent);
    box->setProperty(kTagProperty, resId(caption));
    form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    // Nine lists in three groups share the page's height.
    form->setContentsMargins(8, 4, 8, 4);
    form->setVerticalSpacing(3);
    return box;
}

QComboBox *addList(QFormLayout *form, const char *name, int label, const QStringList &items)
{
    auto *list = new QComboBox(form->parentWidget());
    list->setObjectName(QLatin1String(name));
    list->addItems(items);
    auto *caption = new QLabel(resId(label), form->parentWidget());
    caption->setBuddy(list);
    form->addRow(caption, list);
    return list;
}

} // namespace

ControlOptionsPage::ControlOptionsPage(OptionsHost &host, QWidget *parent)
    : OptionsPage(host, parent)
{
    const QStringList newTabItems = {QStringLiteral("open in active tab"),
                                     QStringLiteral("open in new tab")};
    const QStringList actionItems = {
        QStringLiteral("Activate Tab"), QStringLiteral("Close Tab"),
        QStringLiteral("Toggle Shrink Tab"), QStringLiteral("Show Tab Menu"),
        QStringLiteral("Refresh Tab"), QStringLiteral("Duplicate Tab")};

    QGroupBox *frame = addPageFrame(this, "frameControl", 8069);

    QFormLayout *toolbars = nullptr, *sidebar = nullptr, *tabs = nullptr;
    auto *toolbarGroup = group(frame, 8070, toolbars);
    auto *sidebarGroup = group(frame, 8073, sidebar);
    auto *tabsGroup = group(frame, 8076, tabs);
    for (int i = 0; i < int(m_newTab.size()); ++i)
        m_newTab[i] = addList(i < 2 ? toolbars : sidebar, kNewTabLists[i].list,
                              kNewTabLists[i].label, newTabItems);
    for (int i = 0; i < int(m_tabActions.size()); ++i)
        m_tabActions[i] =
            addList(tabs, kActionLists[i].list, kActionLists[i].label, actionItems);

    auto *column = new QVBoxLayout(frame);
    column->setSpacing(4);
    column->addWidget(toolbarGroup);
    column->addWidget(sidebarGroup);
    column->addWidget(tabsGroup);
    column->addStretch();

    localise();
    load();
}

void ControlOptionsPage::load()
{
    const SettingsModel &s = AppState::settings;
    for (int i = 0; i < int(m_newTab.size()); ++i)
        m_newTab[i]->setCurrentIndex(s.*kNewTabLists[i].setting ? 1 : 0);
    // An action the list does not offer selects nothing, and save keeps it.
    for (int i = 0; i < int(m_tabActions.size()); ++i) {
        const qint32 action = s.*kActionLists[i].setting;
        m_tabActions[i]->setCurrentIndex(action >= 0 && action < m_tabActions[i]->count()
                                             ? int(action)
                                             : -1);
    }
}

void ControlOptionsPage::save()
{
    SettingsModel &s = AppState::settings;
    for (int i = 0; i < int(m_newTab.size()); ++i)
        s.*kNewTabLists[i].setting = m_newTab[i]->currentIndex() == 1;
    for (int i = 0; i < int(m_tabActions.size()); ++i) {
        if (m_tabActions[i]->currentIndex() >= 0)
            s.*kActionLists[i].setting = m_tabActions[i]->currentIndex();
    }
}
