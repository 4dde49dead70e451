#include "generaloptionspage.h"

#include "core/appstate.h"
#include "core/passworddigest.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "platform/defaultbrowser.h"
#include "taggedwidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kMaxPasswordLength = 15;
constexpr int kManualLoadIndex = 2;

QLineEdit *passwordBox(const char *name)
{
    auto *box = new QLineEdit;
    box->setObjectName(QLatin1String(name));
    box->setEchoMode(QLineEdit::Password);
    box->setMaxLength(kMaxPasswordLength);
    return box;
}

} // namespace

GeneralOptionsPage::GeneralOptionsPage(OptionsHost &host, QWidget *parent)
    : OptionsPage(host, parent), m_message(optionsMessageBox(this))
{
    setObjectName(QStringLiteral("GeneralOptions1"));
    auto *frame = taggedWidget(new QGroupBox, "frameGeneral", 8001);

    auto *autoSaveGroup = taggedWidget(new QGroupBox, "fraAutoSave", 8002);
    m_autoSave = taggedWidget(new QCheckBox, "chkAutoSave", 8003);
    m_askToLoad = new QComboBox;
    m_askToLoad->setObjectName(QStringLiteral("cmbAskToLoad"));
    m_loadNow = taggedWidget(new QPushButton, "btnLoadNow", 8007);
    m_loadNow->setEnabled(false);
    auto *loadRow = new QHBoxLayout;
    loadRow->addWidget(m_askToLoad, 1);
    loadRow->addWidget(m_loadNow);
    auto *autoSaveLayout = new QVBoxLayout(autoSaveGroup);
    autoSaveLayout->addWidget(m_autoSave);
    autoSaveLayout->addLayout(loadRow);

    auto *trayGroup = taggedWidget(new QGroupBox, "fraTray", 8008);
    m_minimizeToTray = taggedWidget(new QCheckBox, "chkMinimize2Tray", 8009);
    m_password = passwordBox("txtPassword");
    m_confirm = passwordBox("txtConfirm");
    auto *trayLayout = new QFormLayout(trayGroup);
    trayLayout->addRow(m_minimizeToTray);
    trayLayout->addRow(new QLabel(resId(8010)), m_password);
    trayLayout->addRow(new QLabel(resId(8011)), m_confirm);

    auto *defaultGroup = taggedWidget(new QGroupBox, "fraDefault", 8012);
    m_checkDefault = taggedWidget(new QCheckBox, "chkDefault", 8013);
    m_makeDefault = taggedWidget(new QPushButton, "btnMakeDefault", 8014);
    auto *defaultLayout = new QVBoxLayout(defaultGroup);
    defaultLayout->addWidget(m_checkDefault);
    defaultLayout->addWidget(m_makeDefault, 0, Qt::AlignLeft);

    m_autoUpdate = taggedWidget(new QCheckBox, "chkAutoupdate", 8100);

    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(autoSaveGroup);
    frameLayout->addWidget(trayGroup);
    frameLayout->addWidget(defaultGroup);
    frameLayout->addWidget(m_autoUpdate);
    frameLayout->addStretch(1);
    fillPage(this, frame);

    localise();
    load();

    connect(m_autoSave, &QCheckBox::toggled, this, &GeneralOptionsPage::updateLoadControls);
    connect(m_askToLoad, &QComboBox::currentIndexChanged, this,
            &GeneralOptionsPage::updateLoadControls);
    connect(m_minimizeToTray, &QCheckBox::toggled, m_password, &QLineEdit::setEnabled);
    connect(m_minimizeToTray, &QCheckBox::toggled, m_confirm, &QLineEdit::setEnabled);
    connect(m_loadNow, &QPushButton::clicked, this, &GeneralOptionsPage::loadNow);
    connect(m_makeDefault, &QPushButton::clicked, this, &GeneralOptionsPage::makeDefault);
}

void GeneralOptionsPage::load()
{
    const SettingsModel &s = AppState::settings;
    m_askToLoad->addItems({loadResString(8004), loadResString(8005), loadResString(8006)});
    m_autoSave->setChecked(s.saveDocumentOnExit);
    // An action the list does not know selects nothing and stays stored.
    m_askToLoad->setCurrentIndex(s.loadAction >= 1 && s.loadAction <= 3 ? s.loadAction - 1 : -1);
    m_minimizeToTray->setChecked(s.minimizeToTray);
    m_password->setEnabled(s.minimizeToTray);
    m_confirm->setEnabled(s.minimizeToTray);
    m_checkDefault->setChecked(s.checkIfDefault);
    m_autoUpdate->setChecked(s.checkForUpdate);
    updateLoadControls();
}

void GeneralOptionsPage::updateLoadControls()
{
    m_askToLoad->setEnabled(m_autoSave->isChecked());
    m_loadNow->setEnabled(m_askToLoad->isEnabled()
                          && m_askToLoad->currentIndex() == kManualLoadIndex);
}

QString GeneralOptionsPage::refusal() const
{
    if (m_minimizeToTray->isChecked() && m_password->text() != m_confirm->text())
        return loadResString(3021);
    return QString();
}

void GeneralOptionsPage::save()
{
    SettingsModel &s = AppState::settings;
    s.saveDocumentOnExit = m_autoSave->isChecked();
    if (m_askToLoad->currentIndex() >= 0)
        s.loadAction = m_askToLoad->currentIndex() + 1;
    s.minimizeToTray = m_minimizeToTray->isChecked();
    if (!m_password->text().isEmpty())
        s.trayPassword = PasswordDigest::make(m_password->text());
    s.checkIfDefault = m_checkDefault->isChecked();
    s.checkForUpdate = m_autoUpdate->isChecked();
}

void GeneralOptionsPage::loadNow()
{
    const int saved = SettingsModel::readInteger(SettingsStore::instance(), QStringLiteral("Settings"),
                                                 QStringLiteral("DocumentCount"), 0);
    if (saved < 1) {
        m_message(QMessageBox::Information, loadResString(15009));
        return;
    }
    Q_EMIT savedDocumentsLoadRequested();
}

void GeneralOptionsPage::makeDefault()
{
    m_makeDefault->setEnabled(false);
    QString error;
    if (registerAsDefaultBrowser(&error))
        m_message(QMessageBox::Information, loadResString(15010));
    else
        m_message(QMessageBox::Information, loadResString(15011) + QStringLiteral("\n\n") + error);
    m_makeDefault->setEnabled(true);
}
