#pragma once

#include <QString>
#include <QStringList>

#include <array>

class FormStore;

// What the form-filler page edits: the user's personal, address and card data as the page's
// controls hold them. Lists are kept as positions, 0 being the blank entry and -1 a stored value
// the list cannot show (such a list is not written). A record is written into the form store under
// its own keys and the field names web forms commonly use for the same value.
struct FormRecord
{
    static constexpr int kCustomFields = 6;

    int title = 0, sex = 0;
    QString firstName, lastName, phone, fax;
    int birthDay = 0, birthMonth = 0;
    QString birthYear, mail, job;
    QString address1, address2;
    int country = 0;
    QString city, state, zipCode;
    int cardType = 0;
    QString cardNumber, validCode;
    int expMonth = 0;
    QString expYear, userName, bank;
    std::array<QString, kCustomFields> customName, customValue;

    bool operator==(const FormRecord &) const = default;

    // The record a store gives back, with the user-defined fields of these names.
    static FormRecord read(const FormStore &store,
                           const std::array<QString, kCustomFields> &customNames);
    // Empties the store and writes the record into it.
    void write(FormStore &store) const;

    // Entries of the lists after their blank entry.
    static const QStringList &titles();
    static const QStringList &sexes();
    static const QStringList &cardTypes();
    static const QStringList &countries();
    // The two-letter code of the country at this position (1 to countries().size()).
    static QString countryCode(int position);
    // Every key the record itself writes, lower-cased: a user-defined field of such a name would
    // be hidden behind the built-in value.
    static const QStringList &builtInKeys();
};
