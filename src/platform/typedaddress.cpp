#include "typedaddress.h"

#include "urlshortcut.h"

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

// A shortcut file's path or "file:///" address: "name.url" in any letter case.
bool isShortcutText(const QString &text)
{
    return text.right(4).toLower() == QLatin1String(".url");
}

// resolve(), telling whether the address is the web search's.
QUrl resolveText(const QString &text, const QString &workingFolder, const SearchAddress &searchAddress,
                 bool *searched)
{
    if (isScriptAddress(text))
        return {};
    const bool existingFile = QFileInfo::exists(QDir(workingFolder).absoluteFilePath(text.trimmed()));
    if (searchAddress && !existingFile && isSearchText(text)) {
        const QString address = searchAddress(text.trimmed());
        if (!address.isEmpty()) {
            if (searched)
                *searched = true;
            return QUrl(address);
        }
    }
    const QUrl url = QUrl::fromUserInput(text, workingFolder);
    return url.scheme() == QLatin1String("javascript") ? QUrl() : url;
}

} // namespace

bool isScriptAddress(const QString &text)
{
    // The engine drops blanks and control characters before an address, and tabs and line
    // breaks anywhere in it.
    static const QLatin1String scheme("javascript:");
    qsizetype matched = 0;
    for (const QChar c : text) {
        if ((matched == 0 && (c.unicode() <= 0x20 || c.isSpace())) || c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        if (c.toLower() != QLatin1Char(scheme[matched]))
            return false;
        if (++matched == scheme.size())
            return true;
    }
    return false;
}

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

QUrl resolve(const QString &text, const QString &workingFolder, const SearchAddress &searchAddress)
{
    return resolveText(text, workingFolder, searchAddress, nullptr);
}

QString followShortcut(const QString &text)
{
    if (!isShortcutText(text))
        return text;
    QString path = text;
    if (path.left(8).toLower() == QLatin1String("file:///"))
        path = QUrl(path).toLocalFile();
    return readUrlShortcut(path.left(path.size() - 4));
}

Decision decide(const QString &text, const QString &workingFolder, const SearchAddress &searchAddress)
{
    Decision decision;
    const bool shortcut = isShortcutText(text);
    decision.text = shortcut ? followShortcut(text) : text;
    bool searched = false;
    decision.url = resolveText(decision.text, workingFolder, searchAddress, &searched);
    if (decision.url.isEmpty())
        decision.kind = Decision::Refused;
    else if (shortcut)
        decision.kind = Decision::Shortcut;
    else
        decision.kind = searched ? Decision::Search : Decision::Address;
    return decision;
}

QString completeAddress(const QString &text)
{
    return QLatin1String("http://www.") + text.trimmed() + QLatin1String(".com");
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
    if (isScriptAddress(out.text))
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

} // namespace TypedAddress
