#pragma once

#include "optionsmessage.h"

#include <QDialog>

class QLineEdit;

// Asks for the card-data password. The right password unlocks card data for the rest of the run
// (AppState::creditInfoUnlocked); a wrong one is told and the prompt closes, leaving it locked.
class CardLockDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CardLockDialog(OptionsMessage message, QWidget *parent = nullptr);

    // Shows the prompt modally; true when card data is unlocked afterwards.
    static bool unlock(const OptionsMessage &message, QWidget *parent);

    void accept() override;

private:
    OptionsMessage m_message;
    QLineEdit *m_password = nullptr;
};
