#include "frmfirstpopup.h"

#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "core/strings.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

frmFirstPopup::frmFirstPopup(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFirstPopup"));
    setProperty(kTagProperty, ResId(17500));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(ResId(17501), this);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    heading->setFont(bold);
    layout->addWidget(heading);
    for (int id : {17502, 17503, 17504, 17505, 17506}) {
        auto *label = new QLabel(ResId(id), this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto *ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setProperty(kTagProperty, ResId(111));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    LoadResStrings(this);
    setFixedWidth(420);
}

void frmFirstPopup::NoticeOnce(QWidget *parent)
{
    SettingsStore &store = SettingsStore::instance();
    const QString section = QStringLiteral("Popup");
    const QString key = QStringLiteral("FirstPopup");
    if (!SettingsModel::readBoolean(store, section, key, true))
        return;
    SettingsModel::writeBoolean(store, section, key, false);
    QPointer<QWidget> owner(parent);
    QMetaObject::invokeMethod(
        parent ? static_cast<QObject *>(parent) : QCoreApplication::instance(),
        [owner, hadOwner = parent != nullptr] {
            if (hadOwner && !owner)
                return;
            frmFirstPopup notice(owner);
            notice.exec();
        },
        Qt::QueuedConnection);
}
