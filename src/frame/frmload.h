#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class frmMain;

// Asks at start-up which saved pages of the last session to reopen.
class frmLoad : public QDialog
{
    Q_OBJECT
public:
    explicit frmLoad(frmMain *frame);
    ~frmLoad() override;

    QRadioButton *Option1[2] = {nullptr, nullptr};
    QCheckBox *chkDontAskAgain = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;
    QPushButton *btnDetails = nullptr;
    QGroupBox *Frame2 = nullptr;
    QTreeWidget *ListView1 = nullptr;

    void btnDetails_Click();
    void btnOk_Click();
    bool DetailsShown() const { return m_details; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    frmMain *m_frame;
    bool m_details = false;
};
