#pragma once

#include "platform/typedaddress.h"

#include <QString>
#include <QStringList>

// What the address bar does with Enter, and how its typed-address list grows. What typed text
// becomes is decided by TypedAddress; these are the address bar's names for it.
namespace AddressBarRules {

using EnterInput = TypedAddress::EnterInput;
using EnterOutcome = TypedAddress::EnterOutcome;

// What Enter does, and the text that Ctrl+Enter completes to.
using TypedAddress::completeAddress;
using TypedAddress::decideEnter;

// Whether an opened address goes to the top of the list: when the list is empty or its first
// entry differs (exactly). A script address never does: picked from the list, it would run
// in whatever page is showing.
bool shouldInsertAtTop(const QStringList &list, const QString &address);

} // namespace AddressBarRules
