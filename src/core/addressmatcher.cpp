#include "addressmatcher.h"

#include <algorithm>

namespace {

// Where the part after "scheme://" begins, or 0 when the address does not start with a scheme
// (a scheme is a letter followed by letters, digits, "+", "-" or ".").
qsizetype schemeEnd(QStringView address)
{
    constexpr qsizetype kLongestScheme = 32;
    const qsizetype separator = address.left(kLongestScheme + 3).indexOf(QLatin1String("://"));
    if (separator < 1 || !address.front().isLetter())
        return 0;
    const QStringView scheme = address.left(separator);
    const bool valid = std::all_of(scheme.begin(), scheme.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('+') || c == QLatin1Char('-')
            || c == QLatin1Char('.');
    });
    return valid ? separator + 3 : 0;
}

qsizetype wwwEnd(QStringView address, qsizetype from)
{
    return address.mid(from).startsWith(QLatin1String("www."), Qt::CaseInsensitive) ? from + 4 : from;
}

} // namespace

QStringView AddressMatcher::bareAddress(QStringView address)
{
    return address.mid(wwwEnd(address, schemeEnd(address)));
}

QList<AddressMatcher::Candidate> AddressMatcher::candidates(const QStringList &addresses)
{
    QList<Candidate> list;
    list.reserve(addresses.size());
    for (const QString &address : addresses) {
        if (address.trimmed().isEmpty())
            continue;
        const qsizetype scheme = schemeEnd(address);
        list.append({address, qint16(scheme), qint16(wwwEnd(address, scheme))});
    }
    return list;
}

void AddressMatcher::setTypedAddresses(const QStringList &addresses)
{
    m_typed = candidates(addresses);
}

void AddressMatcher::setVisitedAddresses(const QStringList &addresses)
{
    m_visited = candidates(addresses);
}

bool AddressMatcher::isMatch(const Candidate &candidate, QStringView text)
{
    const QStringView address(candidate.address);
    return address.startsWith(text, Qt::CaseInsensitive)
        || (candidate.afterScheme > 0
            && address.mid(candidate.afterScheme).startsWith(text, Qt::CaseInsensitive))
        || (candidate.afterWww > candidate.afterScheme
            && address.mid(candidate.afterWww).startsWith(text, Qt::CaseInsensitive));
}

QString AddressMatcher::sameOfferKey(QStringView address)
{
    QStringView bare = bareAddress(address.trimmed());
    if (bare.endsWith(QLatin1Char('/')))
        bare.chop(1);
    return bare.toString().toCaseFolded();
}

QStringList AddressMatcher::matches(const QString &text, int limit) const
{
    QStringList offered;
    const QStringView typed = QStringView(text).trimmed();
    if (typed.isEmpty() || limit <= 0)
        return offered;
    QStringList offeredKeys;
    for (const QList<Candidate> *list : {&m_typed, &m_visited}) {
        for (const Candidate &candidate : *list) {
            if (!isMatch(candidate, typed))
                continue;
            QString key = sameOfferKey(candidate.address);
            if (offeredKeys.contains(key))
                continue;
            offeredKeys.append(std::move(key));
            offered.append(candidate.address);
            if (offered.size() == limit)
                return offered;
        }
    }
    return offered;
}
