#pragma once

#include <QDialog>

// The one-time notice shown when the popup killer kills its first popup.
class FirstPopupNotice : public QDialog
{
    Q_OBJECT
public:
    explicit FirstPopupNotice(QWidget *parent = nullptr);

    // While "Popup"/"FirstPopup" is still true: stores "False" there and shows the notice once
    // the current event has been handled (nothing is shown when parent is gone by then).
    static void noticeOnce(QWidget *parent);
};
