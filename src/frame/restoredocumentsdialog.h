#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class MainWindow;

// Asks at start-up which saved pages of the last session to reopen.
class RestoreDocumentsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RestoreDocumentsDialog(MainWindow *frame);
    ~RestoreDocumentsDialog() override;

    QRadioButton *m_choices[2] = {nullptr, nullptr};
    QCheckBox *m_dontAskAgain = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_detailsButton = nullptr;
    QGroupBox *m_detailsFrame = nullptr;
    QTreeWidget *m_list = nullptr;

    void onDetailsClicked();
    void onOkClicked();
    bool detailsShown() const { return m_details; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    MainWindow *m_frame;
    bool m_details = false;
};
