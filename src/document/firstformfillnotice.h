#pragma once

#include <QDialog>

// The one-time notice shown when the form filler fills its first form.
class FirstFormFillNotice : public QDialog
{
    Q_OBJECT
public:
    explicit FirstFormFillNotice(QWidget *parent = nullptr);
};
