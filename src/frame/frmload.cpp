#include "frmload.h"

#include "core/maincode.h"
#include "core/olecolor.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "frmmain.h"

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

frmLoad::frmLoad(frmMain *frame) : QDialog(frame), m_frame(frame)
{
    setObjectName(QStringLiteral("frmLoad"));
    setProperty(kTagProperty, ResId(7500));
    auto *label = new QLabel(ResId(7501), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    Option1[0] = new QRadioButton(this);
    Option1[0]->setProperty(kTagProperty, ResId(7502));
    Option1[0]->setChecked(true);
    Option1[1] = new QRadioButton(this);
    Option1[1]->setProperty(kTagProperty, ResId(7503));
    chkDontAskAgain = new QCheckBox(this);
    chkDontAskAgain->setObjectName(QStringLiteral("chkDontAskAgain"));
    chkDontAskAgain->setProperty(kTagProperty, ResId(7504));
    btnOk = new QPushButton(this);
    btnOk->setProperty(kTagProperty, ResId(111));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(this);
    btnCancel->setProperty(kTagProperty, ResId(112));
    btnDetails = new QPushButton(this);
    btnDetails->setProperty(kTagProperty, ResId(7505));
    Frame2 = new QGroupBox(this);
    Frame2->setProperty(kTagProperty, ResId(7507));
    ListView1 = new QTreeWidget(Frame2);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(1);
    ListView1->setRootIsDecorated(false);
    ListView1->headerItem()->setData(0, kHeaderTagRole, ResId(2503));
    auto *frameLayout = new QVBoxLayout(Frame2);
    frameLayout->addWidget(ListView1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnDetails);
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(Option1[0]);
    layout->addWidget(Option1[1]);
    layout->addWidget(chkDontAskAgain);
    layout->addLayout(buttons);
    layout->addWidget(Frame2, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    LoadResStrings(this);
    MainCode::ModalDialogClosed = false;

    const SettingsStore &store = SettingsStore::instance();
    m_details = !SettingsModel::readBoolean(store, kSettings, QStringLiteral("ShowAutoLoadDetails"), false);
    btnDetails_Click();

    const int n = SettingsModel::readInteger(store, kSettings, QStringLiteral("DocumentCount"), 0);
    for (int i = 1; i <= n; ++i) {
        QString address = store.read(kSettings, QStringLiteral("Document%1").arg(i),
                                     MainCode::Settings.SitesHome1);
        if (address.isEmpty())
            address = QStringLiteral("about:blank");
        auto *item = new QTreeWidgetItem(QStringList{address});
        item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
        ListView1->addTopLevelItem(item);
    }

    connect(btnDetails, &QPushButton::clicked, this, &frmLoad::btnDetails_Click);
    connect(btnOk, &QPushButton::clicked, this, &frmLoad::btnOk_Click);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmLoad::showEvent(QShowEvent *event)
{
    // Centred on the screen once its size is known.
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}

frmLoad::~frmLoad()
{
    MainCode::ModalDialogClosed = true;
    SettingsModel::writeBoolean(SettingsStore::instance(), kSettings,
                                QStringLiteral("ShowAutoLoadDetails"), m_details);
}

void frmLoad::btnDetails_Click()
{
    m_details = !m_details;
    // A hidden list cannot be operated.
    Frame2->setVisible(m_details);
    btnDetails->setText(LoadResString(m_details ? 7506 : 7505));
}

void frmLoad::btnOk_Click()
{
    const bool loadAll = Option1[0]->isChecked();
    if (loadAll) {
        SettingsStore &store = SettingsStore::instance();
        SettingsStore::Batch batch(store);
        int count = 0;
        for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = ListView1->topLevelItem(i);
            if (item->checkState(0) != Qt::Checked)
                continue;
            ++count;
            store.write(kSettings, QStringLiteral("Document%1").arg(count), item->text(0));
        }
        store.write(kSettings, QStringLiteral("DocumentCount"), QString::number(count));
    }
    const bool dontAsk = chkDontAskAgain->isChecked();
    accept();
    if (loadAll) {
        m_frame->LoadAllDocuments();
        if (dontAsk)
            MainCode::Settings.LoadAction = 1;
    } else if (dontAsk) {
        MainCode::Settings.LoadAction = 3;
    }
}
