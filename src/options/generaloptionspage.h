#pragma once

#include "optionsmessage.h"
#include "optionspage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// Page 1 of the options: saving the open pages at exit and what the next start does with them,
// minimising to the tray behind a password, the default-browser and update checks. The two
// password boxes start empty: left empty they keep the stored password.
class GeneralOptionsPage : public OptionsPage
{
    Q_OBJECT
public:
    explicit GeneralOptionsPage(OptionsHost &host, QWidget *parent = nullptr);

    QString refusal() const override;
    void save() override;

    void setMessageFunction(OptionsMessage message) { m_message = std::move(message); }

Q_SIGNALS:
    // "Load Now" found saved pages: the frame opens them while the dialog stays open.
    void savedDocumentsLoadRequested();

private:
    void load();
    void updateLoadControls();
    void loadNow();
    void makeDefault();

    QCheckBox *m_autoSave;
    QComboBox *m_askToLoad;
    QPushButton *m_loadNow;
    QCheckBox *m_minimizeToTray;
    QLineEdit *m_password;
    QLineEdit *m_confirm;
    QCheckBox *m_checkDefault;
    QPushButton *m_makeDefault;
    QCheckBox *m_autoUpdate;
    OptionsMessage m_message;
};
