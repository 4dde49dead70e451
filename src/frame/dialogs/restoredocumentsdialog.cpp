#include "restoredocumentsdialog.h"
#include "widgets/standardicons.h"

#include "core/appstate.h"
#include "core/fixeddialog.h"
#include "core/settingsstore.h"
#include "core/storedcolor.h"
#include "core/strings.h"
#include "widgets/dialogbuttonrow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kSettings = QStringLiteral("Settings");
}

RestoreDocumentsDialog::RestoreDocumentsDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLoad"));
    setProperty(kTagProperty, resId(7500));
    auto *label = new QLabel(resId(7501), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    m_choices[0] = new QRadioButton(this);
    m_choices[0]->setProperty(kTagProperty, resId(7502));
    m_choices[0]->setChecked(true);
    m_choices[1] = new QRadioButton(this);
    m_choices[1]->setProperty(kTagProperty, resId(7503));
    m_dontAskAgain = new QCheckBox(this);
    m_dontAskAgain->setObjectName(QStringLiteral("chkDontAskAgain"));
    m_dontAskAgain->setProperty(kTagProperty, resId(7504));
    const DialogButtonRow buttons(this, {nullptr, 111}, {nullptr, 112});
    m_okButton = buttons.accept;
    m_cancelButton = buttons.reject;
    m_detailsButton = new QPushButton(this);
    m_detailsButton->setProperty(kTagProperty, resId(7505));
    m_detailsFrame = new QGroupBox(this);
    m_detailsFrame->setProperty(kTagProperty, resId(7507));
    m_list = new QTreeWidget(m_detailsFrame);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setColumnCount(1);
    m_list->setRootIsDecorated(false);
    m_list->headerItem()->setData(0, kHeaderTagRole, resId(2503));
    auto *frameLayout = new QVBoxLayout(m_detailsFrame);
    frameLayout->addWidget(m_list);

    buttons.row->insertWidget(0, m_detailsButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_choices[0]);
    layout->addWidget(m_choices[1]);
    layout->addWidget(m_dontAskAgain);
    layout->addLayout(buttons.row);
    layout->addWidget(m_detailsFrame, 1);

    loadResStrings(this);

    const SettingsStore &store = SettingsStore::instance();
    m_details = !SettingsModel::readBoolean(store, kSettings, QStringLiteral("ShowAutoLoadDetails"), false);
    onDetailsClicked();

    const int n = SettingsModel::readInteger(store, kSettings, QStringLiteral("DocumentCount"), 0);
    for (int i = 1; i <= n; ++i) {
        QString address = store.read(kSettings, QStringLiteral("Document%1").arg(i),
                                     AppState::settings.sitesHome1);
        if (address.isEmpty())
            address = QStringLiteral("about:blank");
        auto *item = new QTreeWidgetItem(QStringList{address});
        item->setIcon(0, StandardIcons::icon(this, QStyle::SP_FileIcon));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
        m_list->addTopLevelItem(item);
    }

    connect(m_detailsButton, &QPushButton::clicked, this, &RestoreDocumentsDialog::onDetailsClicked);
    connect(m_okButton, &QPushButton::clicked, this, &RestoreDocumentsDialog::onOkClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    makeFixedDialog(this);
}

void RestoreDocumentsDialog::showEvent(QShowEvent *event)
{
    // Centred on the screen once its size is known.
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}

RestoreDocumentsDialog::~RestoreDocumentsDialog()
{
    SettingsModel::writeBoolean(SettingsStore::instance(), kSettings,
                                QStringLiteral("ShowAutoLoadDetails"), m_details);
}

void RestoreDocumentsDialog::onDetailsClicked()
{
    m_details = !m_details;
    // A hidden list cannot be operated.
    m_detailsFrame->setVisible(m_details);
    m_detailsButton->setText(loadResString(m_details ? 7506 : 7505));
}

void RestoreDocumentsDialog::onOkClicked()
{
    const bool loadAll = m_choices[0]->isChecked();
    if (loadAll) {
        SettingsStore &store = SettingsStore::instance();
        SettingsStore::Batch batch(store);
        int count = 0;
        for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = m_list->topLevelItem(i);
            if (item->checkState(0) != Qt::Checked)
                continue;
            ++count;
            store.write(kSettings, QStringLiteral("Document%1").arg(count), item->text(0));
        }
        store.write(kSettings, QStringLiteral("DocumentCount"), QString::number(count));
    }
    const bool dontAsk = m_dontAskAgain->isChecked();
    m_loadChosen = loadAll;
    if (dontAsk)
        AppState::settings.loadAction = loadAll ? 1 : 3;
    accept();
}
