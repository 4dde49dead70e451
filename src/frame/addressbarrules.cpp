#include "addressbarrules.h"

#include "platform/typedaddress.h"

namespace AddressBarRules {

QString completeAddress(const QString &text)
{
    return QLatin1String("http://www.") + text.trimmed() + QLatin1String(".com");
}

bool shouldInsertAtTop(const QStringList &list, const QString &address)
{
    return list.isEmpty() || list.first() != address;
}

EnterOutcome decideEnter(const EnterInput &input)
{
    EnterOutcome out;
    out.text = input.text;
    if (input.ctrl) {
        // Ctrl+Enter on an empty text does nothing rather than open "http://www..com".
        if (input.text.trimmed().isEmpty())
            return out;
        out.text = completeAddress(input.text);
    }
    if (out.text.trimmed().isEmpty())
        return out;
    if (input.shift) {
        out.action = EnterOutcome::Search;
        out.focusDocument = true;
        return out;
    }
    // A script address would run in the page showing: it is not loaded, nor kept in the list.
    if (TypedAddress::isScriptAddress(out.text))
        return out;
    if (input.goNewDown || !input.hasActiveDocument) {
        // Opening a new tab already puts the text at the top of the list, and shows the new
        // document; the handler itself moves no focus.
        out.action = EnterOutcome::OpenNewTab;
        return out;
    }
    out.action = EnterOutcome::NavigateActive;
    if (input.typedAddresses.contains(out.text))
        return out; // list unchanged, focus stays in the address bar
    out.addToTypedList = true;
    out.focusDocument = true;
    return out;
}

} // namespace AddressBarRules
