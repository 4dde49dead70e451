#pragma once

#include <QDialog>

// The notice shown at start when the previous run did not end normally.
class CrashNoticeDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CrashNoticeDialog(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
};
