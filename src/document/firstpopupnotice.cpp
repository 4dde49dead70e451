#include "firstpopupnotice.h"

#include "noticedialog.h"

#include <QCoreApplication>
#include <QPointer>

FirstPopupNotice::FirstPopupNotice(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFirstPopup"));
    buildNoticeDialog(this, 17500, 17501, {17502, 17503, 17504, 17505, 17506});
}

void FirstPopupNotice::queue(QWidget *parent)
{
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
