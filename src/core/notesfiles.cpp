#include "notesfiles.h"

#include "userfile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

// Reads the whole file as text; false when it cannot be opened or read.
bool readText(const QString &path, QString *text)
{
    QByteArray data;
    if (!UserFile::read(path, &data))
        return false;
    // A byte sequence that is not UTF-8 becomes one replacement character; the rest of the
    // file reads as it is.
    QStringDecoder utf8(QStringDecoder::Utf8);
    *text = utf8(data);
    return true;
}

// The lines of a text: a line ends at CR LF, CR or LF (files from any editor), and text after
// the last break is a line of its own. An empty text has no lines.
QStringList readLines(const QString &text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.sliced(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.sliced(start));
    return lines;
}

bool writeText(const QString &path, const QString &text)
{
    return UserFile::save(path, text.toUtf8());
}

bool isBlank(const QString &entry)
{
    return entry.trimmed().isEmpty();
}

} // namespace

namespace NotesFiles {

QString readQuickNotes(const QString &path, bool *ok)
{
    QString text;
    const bool read = readText(path, &text);
    if (ok)
        *ok = read;
    if (!read)
        return QString();
    return readLines(text).join(QLatin1Char('\n'));
}

bool writeQuickNotes(const QString &path, const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n|\u2029|\u2028"));
    const QStringList lines = text.split(breaks);
    QString out;
    for (const QString &line : lines) {
        out += line;
        out += QLatin1String("\r\n");
    }
    return writeText(path, out);
}

QStringList readWhitelist(const QString &path, bool *ok)
{
    QString text;
    const bool read = readText(path, &text);
    if (ok)
        *ok = read;
    if (!read)
        return QStringList();

    const QStringList lines = readLines(text);
    if (lines.isEmpty())
        return QStringList();

    // Line 1 holds the count; a first line that is not a count is an entry (a list written by
    // hand). A valid count limits the entries read.
    bool countOk = false;
    const qlonglong count = lines.first().trimmed().toLongLong(&countOk);
    const qsizetype first = countOk && count >= 0 ? 1 : 0;
    qsizetype last = lines.size() - 1; // index of the last entry line
    if (first == 1 && count < last)
        last = qsizetype(count);

    QStringList entries;
    for (qsizetype i = first; i <= last; ++i) {
        if (!isBlank(lines.at(i)))
            entries.append(lines.at(i));
    }
    return entries;
}

bool writeWhitelist(const QString &path, const QStringList &entries)
{
    QStringList kept;
    for (const QString &entry : entries) {
        QString line = entry;
        line.remove(QLatin1Char('\r'));
        line.remove(QLatin1Char('\n'));
        if (!isBlank(line))
            kept.append(line);
    }
    QString out = QLatin1Char(' ') + QString::number(kept.size()) + QLatin1String(" \r\n");
    for (const QString &line : kept) {
        out += line;
        out += QLatin1String("\r\n");
    }
    return writeText(path, out);
}

} // namespace NotesFiles
