#include "contentoptionspage.h"

#include "pageframe.h"

#include "core/appstate.h"
#include "core/strings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

struct Switch
{
    int caption;
    bool SettingsModel::*setting;
    // Java and ActiveX: the setting is kept, but the web engine has neither, so the box is
    // shown disabled like its menu item.
    bool hasEffect = true;
};

const Switch kSwitchTable[ContentOptionsPage::kSwitches] = {
    {8064, &SettingsModel::enableImages},  {8065, &SettingsModel::enableSound},
    {8066, &SettingsModel::enableVideo},   {8067, &SettingsModel::enableScripts},
    {8068, &SettingsModel::enableFlash},   {8097, &SettingsModel::enableJava, false},
    {8098, &SettingsModel::enableActiveXDL, false}, {8099, &SettingsModel::enableActiveXRUN, false},
};

} // namespace

ContentOptionsPage::ContentOptionsPage(OptionsHost &host, QWidget *parent)
    : OptionsPage(host, parent)
{
    QGroupBox *frame = addPageFrame(this, "frameContent", 8062);
    auto *column = new QVBoxLayout(frame);
    column->addWidget(new QLabel(resId(8063), frame));
    for (int i = 0; i < kSwitches; ++i) {
        auto *box = new QCheckBox(frame);
        box->setObjectName(QStringLiteral("chkDownload%1").arg(i));
        box->setProperty(kTagProperty, resId(kSwitchTable[i].caption));
        box->setEnabled(kSwitchTable[i].hasEffect);
        column->addWidget(box);
        m_switches[i] = box;
    }
    column->addStretch();

    localise();
    load();
}

void ContentOptionsPage::load()
{
    const SettingsModel &s = AppState::settings;
    for (int i = 0; i < kSwitches; ++i)
        m_switches[i]->setChecked(s.*kSwitchTable[i].setting);
}

void ContentOptionsPage::save()
{
    SettingsModel &s = AppState::settings;
    for (int i = 0; i < kSwitches; ++i)
        s.*kSwitchTable[i].setting = m_switches[i]->isChecked();
}
