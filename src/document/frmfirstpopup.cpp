#include "frmfirstpopup.h"

#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "noticedialog.h"

#include <QCoreApplication>
#include <QPointer>

frmFirstPopup::frmFirstPopup(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFirstPopup"));
    BuildNoticeDialog(this, 17500, 17501, {17502, 17503, 17504, 17505, 17506});
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
