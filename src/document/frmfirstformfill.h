#pragma once

#include <QDialog>

// The one-time notice shown when the form filler fills its first form.
class frmFirstFormFill : public QDialog
{
    Q_OBJECT
public:
    explicit frmFirstFormFill(QWidget *parent = nullptr);
};
