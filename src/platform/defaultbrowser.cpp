#include "defaultbrowser.h"

#include "core/strings.h"
#include "core/userfile.h"
#include "widgets/plainmessagebox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QString kDefaultSection = QStringLiteral("[Default Applications]");

bool isSectionHeader(const QString &trimmed)
{
    return trimmed.startsWith(u'[') && trimmed.endsWith(u']');
}

// The key of a "key=value" line, or empty for headers, comments and blank lines.
QString keyOf(const QString &trimmed)
{
    if (trimmed.isEmpty() || trimmed.startsWith(u'#') || isSectionHeader(trimmed))
        return {};
    const qsizetype eq = trimmed.indexOf(u'=');
    return eq > 0 ? trimmed.left(eq).trimmed() : QString();
}

QString valueOf(const QString &trimmed)
{
    return trimmed.mid(trimmed.indexOf(u'=') + 1).trimmed();
}

QStringList linesOf(const QString &text)
{
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(u'\n');
    if (text.endsWith(u'\n'))
        lines.removeLast();
    return lines;
}

// The value of key in the first section named header of a key file, or a null text.
QString keyFileValue(const QString &text, const QString &header, const QString &key)
{
    bool inSection = false;
    for (const QString &line : linesOf(text)) {
        const QString trimmed = line.trimmed();
        if (isSectionHeader(trimmed))
            inSection = trimmed == header;
        else if (inSection && keyOf(trimmed) == key)
            return valueOf(trimmed);
    }
    return {};
}

// Our entry first, the user's other choices after it as fall-backs.
QString defaultsValue(const QString &oldValue)
{
    const QString ours = QString::fromLatin1(DefaultBrowser::kDesktopId);
    QStringList ids{ours};
    for (const QString &id : oldValue.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = id.trimmed();
        if (!trimmed.isEmpty() && !ids.contains(trimmed))
            ids << trimmed;
    }
    return ids.join(u';') + u';';
}

// One argument of a desktop entry's Exec key: quoted when it holds a reserved character.
QString quotedExecArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool needsQuotes = std::any_of(argument.cbegin(), argument.cend(),
                                         [](QChar c) { return reserved.contains(c); });
    if (!needsQuotes)
        return argument;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}

// A text as a desktop entry's string value (after the Exec quoting, which it wraps).
QString escapedEntryValue(const QString &text)
{
    QString escaped;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': escaped += QStringLiteral("\\\\"); break;
        case '\n': escaped += QStringLiteral("\\n"); break;
        case '\t': escaped += QStringLiteral("\\t"); break;
        case '\r': escaped += QStringLiteral("\\r"); break;
        default: escaped += c;
        }
    }
    return escaped;
}

void runQuietly(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
    }
}

} // namespace

DefaultBrowser::DefaultBrowser(const QString &programPath)
    : m_programPath(QFileInfo(programPath).absoluteFilePath())
{
}

DefaultBrowser::DefaultBrowser() : DefaultBrowser(QCoreApplication::applicationFilePath()) {}

const QStringList &DefaultBrowser::mimeTypes()
{
    static const QStringList types{
        QStringLiteral("text/html"), QStringLiteral("application/xhtml+xml"),
        QStringLiteral("x-scheme-handler/http"), QStringLiteral("x-scheme-handler/https"),
        QStringLiteral("application/x-mswinurl")};
    return types;
}

QString DefaultBrowser::desktopFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/applications/")
           + QString::fromLatin1(kDesktopId);
}

QString DefaultBrowser::mimeAppsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/mimeapps.list");
}

QString DefaultBrowser::execLine() const
{
    // '%' starts a field code; a literal one is doubled.
    QString program = quotedExecArgument(m_programPath);
    program.replace(u'%', QStringLiteral("%%"));
    return escapedEntryValue(program) + QStringLiteral(" %u");
}

QString DefaultBrowser::desktopEntry() const
{
    QString entry = QStringLiteral("[Desktop Entry]\n"
                                   "Type=Application\n"
                                   "Version=1.0\n"
                                   "Name=%1\n"
                                   "GenericName=Web Browser\n"
                                   "Exec=%2\n"
                                   "Icon=web-browser\n"
                                   "Terminal=false\n"
                                   "StartupNotify=true\n"
                                   "Categories=Network;WebBrowser;\n")
                        .arg(escapedEntryValue(loadResString(100)), execLine());
    return entry + QStringLiteral("MimeType=") + mimeTypes().join(u';') + QStringLiteral(";\n");
}

QByteArray DefaultBrowser::withDefaults(const QByteArray &mimeApps, const QStringList &types)
{
    // The file is the desktop's: only the lines of our keys are rewritten, every other line
    // comes back byte for byte, whatever its encoding. Headers and key names are ASCII, so a
    // line is read as UTF-8 only to be looked at.
    QList<QByteArray> lines = mimeApps.split('\n');
    if (mimeApps.isEmpty() || mimeApps.endsWith('\n'))
        lines.removeLast();
    QList<QByteArray> out;
    QStringList written;
    // New keys go after the last entry of the first defaults section.
    qsizetype insertAt = -1;
    bool inDefaults = false, inFirstDefaults = false;
    for (const QByteArray &line : std::as_const(lines)) {
        const QString trimmed = QString::fromUtf8(line).trimmed();
        if (isSectionHeader(trimmed)) {
            inDefaults = trimmed == kDefaultSection;
            inFirstDefaults = inDefaults && insertAt < 0;
            out << line;
            if (inFirstDefaults)
                insertAt = out.size();
            continue;
        }
        const QString key = inDefaults ? keyOf(trimmed) : QString();
        if (!key.isEmpty() && types.contains(key)) {
            if (written.contains(key))
                continue; // a repeated key would contradict the first
            written << key;
            out << (key + u'=' + defaultsValue(valueOf(trimmed))).toUtf8();
        } else {
            out << line;
        }
        if (inFirstDefaults && !trimmed.isEmpty())
            insertAt = out.size();
    }

    QList<QByteArray> added;
    for (const QString &type : types) {
        if (!written.contains(type))
            added << (type + u'=' + defaultsValue(QString())).toUtf8();
    }
    if (insertAt < 0) {
        if (!out.isEmpty() && !out.constLast().trimmed().isEmpty())
            out << QByteArray();
        out << QString(kDefaultSection).toUtf8() << added;
    } else {
        for (qsizetype i = 0; i < added.size(); ++i)
            out.insert(insertAt + i, added.at(i));
    }
    return out.join('\n') + '\n';
}

QString DefaultBrowser::defaultFor(const QString &mimeApps, const QString &type)
{
    const QString value = keyFileValue(mimeApps, kDefaultSection, type);
    for (const QString &id : value.split(u';', Qt::SkipEmptyParts)) {
        if (!id.trimmed().isEmpty())
            return id.trimmed();
    }
    return {};
}

bool DefaultBrowser::isDefault() const
{
    QByteArray mimeApps;
    if (!UserFile::read(mimeAppsPath(), &mimeApps))
        return false;
    const QString defaults = QString::fromUtf8(mimeApps);
    const QString ours = QString::fromLatin1(kDesktopId);
    if (defaultFor(defaults, QStringLiteral("x-scheme-handler/http")) != ours
        || defaultFor(defaults, QStringLiteral("text/html")) != ours)
        return false;
    // Our entry must start this program, not another copy of Quarvel.
    QByteArray entry;
    if (!UserFile::read(desktopFilePath(), &entry))
        return false;
    return keyFileValue(QString::fromUtf8(entry), QStringLiteral("[Desktop Entry]"),
                        QStringLiteral("Exec"))
           == execLine();
}

bool DefaultBrowser::associateFiles()
{
    m_error.clear();
    const QString entryPath = desktopFilePath();
    const QString listPath = mimeAppsPath();
    for (const QString &path : {entryPath, listPath}) {
        const QString folder = QFileInfo(path).absolutePath();
        if (!QDir().mkpath(folder)) {
            m_error = QStringLiteral("The folder %1 could not be created.").arg(folder);
            return false;
        }
    }
    if (!UserFile::save(entryPath, desktopEntry().toUtf8())) {
        m_error = QStringLiteral("%1 could not be written.").arg(entryPath);
        return false;
    }

    QByteArray defaults;
    QFile list(listPath);
    // A list that is there keeps its mode; one made here is the user's alone.
    QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (list.exists()) {
        // Unreadable (a folder, a pipe), it is left alone: rewriting it would lose the user's
        // other choices.
        if (!UserFile::read(listPath, &defaults)) {
            m_error = QStringLiteral("%1 could not be read.").arg(listPath);
            return false;
        }
        mode = list.permissions();
    }
    if (!UserFile::save(listPath, withDefaults(defaults, mimeTypes()), mode)) {
        m_error = QStringLiteral("%1 could not be written.").arg(listPath);
        return false;
    }
    runDesktopTools();
    return true;
}

void DefaultBrowser::runDesktopTools() const
{
    // The desktop's own tools also tell desktops that keep their choices elsewhere.
    const QString ours = QString::fromLatin1(kDesktopId);
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (!xdgMime.isEmpty()) {
        for (const QString &type : mimeTypes())
            runQuietly(xdgMime, {QStringLiteral("default"), ours, type});
    }
    const QString xdgSettings = QStandardPaths::findExecutable(QStringLiteral("xdg-settings"));
    if (!xdgSettings.isEmpty())
        runQuietly(xdgSettings, {QStringLiteral("set"), QStringLiteral("default-web-browser"), ours});
}

bool registerAsDefaultBrowser(QString *errorString)
{
    DefaultBrowser browser;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool registered = browser.associateFiles();
    QApplication::restoreOverrideCursor();
    if (!registered && errorString)
        *errorString = browser.errorString();
    return registered;
}

bool makeDefaultBrowser(QWidget *parent)
{
    QString error;
    if (registerAsDefaultBrowser(&error))
        return true;
    plainMessageBox(parent, QMessageBox::Warning, loadResString(102),
                    loadResString(1505) + QStringLiteral("\n\n") + error);
    return false;
}
