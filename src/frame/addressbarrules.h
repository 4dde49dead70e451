#pragma once

#include <QString>
#include <QStringList>

// What the address bar does with Enter, and how its typed-address list grows.
namespace AddressBarRules {

struct EnterInput
{
    QString text;
    bool ctrl = false;  // complete to "http://www." + text + ".com"
    bool shift = false; // search instead of navigating
    bool goNewDown = false;
    bool hasActiveDocument = false;
    QStringList typedAddresses;
};

struct EnterOutcome
{
    enum Action { Nothing, Search, OpenNewTab, NavigateActive };
    Action action = Nothing;
    QString text;                 // the (completed) text the action uses
    bool addToTypedList = false;  // insert text at the top of the list
    bool focusDocument = false;   // give the active document the focus afterwards
};

EnterOutcome decideEnter(const EnterInput &input);

// The text that Ctrl+Enter completes to.
QString completeAddress(const QString &text);

// Whether an opened address goes to the top of the list: when the list is empty or its first
// entry differs (exactly).
bool shouldInsertAtTop(const QStringList &list, const QString &address);

} // namespace AddressBarRules
