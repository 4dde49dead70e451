#include "addressbarrules.h"

namespace AddressBarRules {

bool shouldInsertAtTop(const QStringList &list, const QString &address)
{
    if (TypedAddress::isScriptAddress(address))
        return false;
    return list.isEmpty() || list.first() != address;
}

} // namespace AddressBarRules
