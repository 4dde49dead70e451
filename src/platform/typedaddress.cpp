#include "typedaddress.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace TypedAddress {

namespace {

bool hasKnownScheme(const QString &text)
{
    static const QRegularExpression scheme(QStringLiteral("^([a-zA-Z][a-zA-Z0-9+.-]*):"));
    const QRegularExpressionMatch match = scheme.match(text);
    if (!match.hasMatch())
        return false;
    static const QStringList known = {
        QStringLiteral("http"),  QStringLiteral("https"),      QStringLiteral("ftp"),
        QStringLiteral("file"),  QStringLiteral("about"),      QStringLiteral("data"),
        QStringLiteral("mailto"), QStringLiteral("javascript"), QStringLiteral("view-source"),
        QStringLiteral("blob"),  QStringLiteral("qrc"),
    };
    return known.contains(match.captured(1).toLower());
}

} // namespace

bool isSearchText(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty() || hasKnownScheme(text))
        return false;
    // Paths to files: absolute, from the home folder or relative to the current one.
    if (text.startsWith(QLatin1Char('/')) || text.startsWith(QLatin1Char('~')) ||
        text.startsWith(QLatin1String("./")) || text.startsWith(QLatin1String("../")))
        return false;
    if (text.contains(QRegularExpression(QStringLiteral("\\s"))))
        return true;
    if (text.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
        text.startsWith(QLatin1String("localhost:"), Qt::CaseInsensitive) ||
        text.startsWith(QLatin1String("localhost/"), Qt::CaseInsensitive))
        return false;
    // One word: a host has a dot ("example.org", "10.0.0.1"), a port or a path.
    return !text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char(':')) &&
           !text.contains(QLatin1Char('/'));
}

QUrl resolve(const QString &text, const QString &workingFolder,
             const std::function<QString(const QString &query)> &searchAddress)
{
    const bool existingFile = QFileInfo::exists(QDir(workingFolder).absoluteFilePath(text.trimmed()));
    if (searchAddress && !existingFile && isSearchText(text)) {
        const QString address = searchAddress(text.trimmed());
        if (!address.isEmpty())
            return QUrl(address);
    }
    return QUrl::fromUserInput(text, workingFolder);
}

} // namespace TypedAddress
