#pragma once

#include "formrecord.h"
#include "optionsmessage.h"
#include "optionspage.h"

#include "core/formstore.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;

// The form filler's data: personal, address and card values and six fields of the user's own,
// kept in "form.bin", and the switch for automatic filling. The card tab's password lock acts at
// once, whatever becomes of the dialog; everything else is written only by save().
class FormsOptionsPage : public OptionsPage
{
    Q_OBJECT
public:
    enum Tab { PersonTab, AddressTab, CardTab, UserDefinedTab };

    explicit FormsOptionsPage(OptionsHost &host, QWidget *parent = nullptr);

    // Tests put a recorder in place of the message box; the password prompt uses it too.
    void setMessageFunction(OptionsMessage message) { m_message = std::move(message); }

    QString refusal() const override;
    // Writes the switch, the password and the field names; the form data only when the file
    // could be read (a damaged file is kept as it is).
    void save() override;

    // What the controls hold now.
    FormRecord record() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildPersonTab();
    void buildAddressTab();
    void buildCardTab();
    void buildUserDefinedTab();
    void load();
    void showRecord(const FormRecord &values);
    void protectToggled(bool on);
    void tintCardFields(bool protectedData);
    void tabChanged(int index);

    OptionsMessage m_message;
    FormStore m_store;
    // "form.bin" exists but could not be read: the data cannot be edited here.
    bool m_dataUnreadable = false;
    bool m_unreadableTold = false;
    int m_previousTab = PersonTab;

    QCheckBox *m_autoFill = nullptr;
    QTabWidget *m_tabs = nullptr;
    QComboBox *m_title = nullptr, *m_sex = nullptr, *m_birthDay = nullptr, *m_birthMonth = nullptr;
    QLineEdit *m_firstName = nullptr, *m_lastName = nullptr, *m_phone = nullptr, *m_fax = nullptr;
    QLineEdit *m_birthYear = nullptr, *m_mail = nullptr, *m_job = nullptr;
    QLineEdit *m_address1 = nullptr, *m_address2 = nullptr;
    QComboBox *m_country = nullptr;
    QLineEdit *m_city = nullptr, *m_state = nullptr, *m_zipCode = nullptr;
    QLineEdit *m_password = nullptr, *m_confirm = nullptr;
    QCheckBox *m_protect = nullptr;
    QComboBox *m_cardType = nullptr, *m_expMonth = nullptr;
    QLineEdit *m_cardNumber = nullptr, *m_validCode = nullptr, *m_expYear = nullptr;
    QLineEdit *m_userName = nullptr, *m_bank = nullptr;
    std::array<QLineEdit *, FormRecord::kCustomFields> m_customName{}, m_customValue{};
};
