#include "addressbarrules.h"

namespace AddressBarRules {

bool shouldInsertAtTop(const QStringList &list, const QString &address)
{
    return list.isEmpty() || list.first() != address;
}

} // namespace AddressBarRules
