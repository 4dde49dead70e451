#pragma once

#include "optionspage.h"

#include <functional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// Page 10 of the options: the popup killer's switches, the sound played when it blocks a popup
// and the whitelist of sites whose popups are let through. The page refuses to save while the
// sound is on and no sound file is named.
class PopupKillerOptionsPage : public OptionsPage
{
    Q_OBJECT
public:
    // Asks the user for a sound file, starting from the current one; empty when cancelled.
    using SoundFilePicker = std::function<QString(QWidget *parent, const QString &current)>;

    explicit PopupKillerOptionsPage(OptionsHost &host, QWidget *parent = nullptr);

    QString refusal() const override;
    void save() override;

    void setSoundFilePicker(SoundFilePicker picker) { m_pickSoundFile = std::move(picker); }

private:
    void load();
    void updateSwitches();
    void updateSoundFile();
    void browseSoundFile();
    void addEntry();
    void removeEntry();
    void selectEntryText();

    QCheckBox *m_enable;
    QCheckBox *m_altOverride;
    QCheckBox *m_changeMouse;
    QCheckBox *m_playSound;
    QLineEdit *m_soundFile;
    QPushButton *m_browse;
    QCheckBox *m_offerWhitelistAdd;
    QLineEdit *m_entry;
    QPushButton *m_add;
    QPushButton *m_remove;
    QListWidget *m_whitelist;
    SoundFilePicker m_pickSoundFile;
};
