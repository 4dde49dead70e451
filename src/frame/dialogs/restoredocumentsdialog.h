#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTreeWidget;

// Asks at start-up which saved pages of the last session to reopen. OK with "load" chosen
// keeps the ticked pages as the saved ones; the caller then opens them (loadChosen()).
class RestoreDocumentsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RestoreDocumentsDialog(QWidget *parent = nullptr);
    ~RestoreDocumentsDialog() override;

    // Whether the saved pages are to be opened now (OK with the first choice).
    bool loadChosen() const { return m_loadChosen; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void onDetailsClicked();
    void onOkClicked();

    QRadioButton *m_choices[2] = {nullptr, nullptr};
    QCheckBox *m_dontAskAgain = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_detailsButton = nullptr;
    QGroupBox *m_detailsFrame = nullptr;
    QTreeWidget *m_list = nullptr;
    bool m_details = false;
    bool m_loadChosen = false;
};
