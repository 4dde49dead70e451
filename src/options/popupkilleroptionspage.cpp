#include "popupkilleroptionspage.h"

#include "core/appstate.h"
#include "core/paths.h"
#include "core/strings.h"
#include "document/popupwhitelist.h"
#include "optionshost.h"
#include "taggedwidget.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString askForSoundFile(QWidget *parent, const QString &current)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Select Sound File..."),
                                        current.isEmpty() ? QString() : QFileInfo(current).path(),
                                        QStringLiteral("Sound Files (*.wav)"));
}

} // namespace

PopupKillerOptionsPage::PopupKillerOptionsPage(OptionsHost &host, QWidget *parent)
    : OptionsPage(host, parent), m_pickSoundFile(askForSoundFile)
{
    setObjectName(QStringLiteral("PopupKillerOptions1"));
    auto *frame = taggedWidget(new QGroupBox, "framePopupKiller", 8086);

    m_enable = taggedWidget(new QCheckBox, "chkEnablePopupKiller", 8087);
    m_altOverride = taggedWidget(new QCheckBox, "chkDisablePopup", 8088);
    m_changeMouse = taggedWidget(new QCheckBox, "ChkChangeMouse", 8103);
    m_playSound = taggedWidget(new QCheckBox, "chkPlaySound", 8089);
    m_soundFile = new QLineEdit;
    m_soundFile->setObjectName(QStringLiteral("txtPopupSndFile"));
    m_browse = taggedWidget(new QPushButton, "btnBrowsePopup", 8091);
    m_browse->setMaximumWidth(m_browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    m_offerWhitelistAdd = taggedWidget(new QCheckBox, "chkOfferWhitelistAdd", 8102);
    // Until the killer is switched on the dependent controls are off.
    for (QWidget *w : {static_cast<QWidget *>(m_altOverride), static_cast<QWidget *>(m_playSound),
                       static_cast<QWidget *>(m_soundFile), static_cast<QWidget *>(m_browse)})
        w->setEnabled(false);

    auto *soundRow = new QHBoxLayout;
    soundRow->addWidget(new QLabel(resId(8090)));
    soundRow->addWidget(m_soundFile, 1);
    soundRow->addWidget(m_browse);

    auto *listGroup = taggedWidget(new QGroupBox, "fraWhiteList", 8092);
    m_entry = new QLineEdit;
    m_entry->setObjectName(QStringLiteral("txtWhiteList"));
    m_add = taggedWidget(new QPushButton, "btnAdd", 8094);
    m_remove = taggedWidget(new QPushButton, "btnRemove", 8095);
    m_add->setEnabled(false);
    m_remove->setEnabled(false);
    m_whitelist = new QListWidget;
    m_whitelist->setObjectName(QStringLiteral("lstWhiteList"));
    auto *listLayout = new QGridLayout(listGroup);
    listLayout->addWidget(new QLabel(resId(8093)), 0, 0);
    listLayout->addWidget(m_entry, 0, 1);
    listLayout->addWidget(m_add, 0, 2);
    listLayout->addWidget(new QLabel(resId(8096)), 1, 0, Qt::AlignTop);
    listLayout->addWidget(m_whitelist, 1, 1);
    listLayout->addWidget(m_remove, 1, 2, Qt::AlignTop);
    listLayout->setColumnStretch(1, 1);

    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_enable);
    frameLayout->addWidget(m_altOverride);
    frameLayout->addWidget(m_changeMouse);
    frameLayout->addWidget(m_playSound);
    frameLayout->addLayout(soundRow);
    frameLayout->addWidget(m_offerWhitelistAdd);
    frameLayout->addWidget(listGroup, 1);
    fillPage(this, frame);

    localise();

    // Connected before loading: a box the stored settings tick runs its handler as a click
    // would, a box left unticked keeps the states set above.
    connect(m_enable, &QCheckBox::toggled, this, &PopupKillerOptionsPage::updateSwitches);
    connect(m_playSound, &QCheckBox::toggled, this, &PopupKillerOptionsPage::updateSoundFile);
    load();

    connect(m_browse, &QPushButton::clicked, this, &PopupKillerOptionsPage::browseSoundFile);
    connect(m_entry, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_add->setEnabled(!text.isEmpty()); });
    connect(m_whitelist, &QListWidget::itemSelectionChanged, this,
            [this] { m_remove->setEnabled(!m_whitelist->selectedItems().isEmpty()); });
    connect(m_add, &QPushButton::clicked, this, &PopupKillerOptionsPage::addEntry);
    connect(m_remove, &QPushButton::clicked, this, &PopupKillerOptionsPage::removeEntry);
}

void PopupKillerOptionsPage::load()
{
    const SettingsModel &s = AppState::settings;
    m_enable->setChecked(s.popupKillerEnable);
    m_altOverride->setChecked(s.popupAltEnable);
    m_changeMouse->setChecked(s.popupChangeMouse);
    m_playSound->setChecked(s.popupPlaySound);
    m_soundFile->setText(Paths::displayPath(s.popupSoundFile));
    m_whitelist->addItems(programWhitelist());
    m_offerWhitelistAdd->setChecked(s.popupPromptWhitelist);
}

void PopupKillerOptionsPage::updateSwitches()
{
    const bool on = m_enable->isChecked();
    m_changeMouse->setEnabled(on);
    m_altOverride->setEnabled(on);
    m_playSound->setEnabled(on);
    const bool sound = on && m_playSound->isChecked();
    m_soundFile->setEnabled(sound);
    m_browse->setEnabled(sound);
}

void PopupKillerOptionsPage::updateSoundFile()
{
    m_soundFile->setEnabled(m_playSound->isChecked());
    m_browse->setEnabled(m_playSound->isChecked());
}

void PopupKillerOptionsPage::browseSoundFile()
{
    const QString current = Paths::editedPath(m_soundFile->text(), AppState::settings.popupSoundFile);
    const QString file = m_pickSoundFile(this, current);
    if (!file.isEmpty())
        m_soundFile->setText(file);
}

void PopupKillerOptionsPage::selectEntryText()
{
    m_entry->setFocus();
    m_entry->selectAll();
}

void PopupKillerOptionsPage::addEntry()
{
    // As typed: the killer matches entries anywhere in an address, so any text is a site.
    m_whitelist->addItem(m_entry->text());
    selectEntryText();
}

void PopupKillerOptionsPage::removeEntry()
{
    const int row = m_whitelist->currentRow();
    if (row < 0)
        return;
    // The entry goes back into the entry box, from which Add would restore it.
    m_entry->setText(m_whitelist->item(row)->text());
    selectEntryText();
    delete m_whitelist->takeItem(row);
    m_whitelist->setCurrentRow(-1);
    m_whitelist->clearSelection();
    m_remove->setEnabled(false);
}

QString PopupKillerOptionsPage::refusal() const
{
    if (m_playSound->isChecked() && m_soundFile->text().isEmpty())
        return loadResString(15016);
    return QString();
}

void PopupKillerOptionsPage::save()
{
    SettingsModel &s = AppState::settings;
    s.popupKillerEnable = m_enable->isChecked();
    s.popupAltEnable = m_altOverride->isChecked();
    s.popupChangeMouse = m_changeMouse->isChecked();
    s.popupPlaySound = m_playSound->isChecked();
    s.popupSoundFile = Paths::editedPath(m_soundFile->text(), s.popupSoundFile);
    QStringList entries;
    for (int i = 0; i < m_whitelist->count() && i < kMaxWhitelistEntries; ++i)
        entries.append(m_whitelist->item(i)->text());
    programWhitelist() = entries;
    s.popupPromptWhitelist = m_offerWhitelistAdd->isChecked();
    host().showPopupKillerState();
}
