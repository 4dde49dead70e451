#include "firstpopupnotice.h"

#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "noticedialog.h"

#include <QCoreApplication>
#include <QPointer>

FirstPopupNotice::FirstPopupNotice(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFirstPopup"));
    buildNoticeDialog(this, 17500, 17501, {17502, 17503, 17504, 17505, 17506});
}

void FirstPopupNotice::noticeOnce(QWidget *parent)
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
            FirstPopupNotice notice(owner);
            notice.exec();
        },
        Qt::QueuedConnection);
}
