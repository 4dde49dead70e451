#include "addressbarrules.h"

namespace AddressBarRules {

QString completeAddress(const QString &text)
{
    return TypedAddress::completeAddress(text);
}

bool shouldInsertAtTop(const QStringList &list, const QString &address)
{
    return list.isEmpty() || list.first() != address;
}

EnterOutcome decideEnter(const EnterInput &input)
{
    return TypedAddress::decideEnter(input);
}

} // namespace AddressBarRules
