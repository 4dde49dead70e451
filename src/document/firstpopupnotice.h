#pragma once

#include <QDialog>

// The one-time notice shown when the popup killer kills its first popup.
class FirstPopupNotice : public QDialog
{
    Q_OBJECT
public:
    explicit FirstPopupNotice(QWidget *parent = nullptr);

    // Shows the notice modally once the current event has been handled (nothing is shown when
    // parent is gone by then).
    static void queue(QWidget *parent);
};
