#include "notesfiles.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// Reads the whole file as text; false when it cannot be opened or read.
bool readText(const QString &path, QString *text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString decoded = utf8.decode(data);
    if (utf8.hasError())
        decoded = QString::fromLatin1(data);
    *text = decoded;
    return true;
}

// The lines of a text as a line reader sees them: a line ends at CR or CR LF (the LF of the
// pair is skipped), a lone LF stays in its line, and text after the last break is a line of its
// own. An empty text has no lines.
QStringList readLines(const QString &text)
{
    QStringList lines;
    QString line;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            lines.append(line);
            line.clear();
            ++i;
            if (i < n && text.at(i) == QLatin1Char('\n'))
                ++i;
        } else {
            line.append(c);
            ++i;
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

bool writeText(const QString &path, const QString &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = text.toUtf8();
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
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

    bool countOk = false;
    const qlonglong count = lines.first().trimmed().toLongLong(&countOk);
    qsizetype last = lines.size() - 1; // index of the last entry line
    if (countOk && count >= 0 && count < last)
        last = qsizetype(count);

    QStringList entries;
    for (qsizetype i = 1; i <= last; ++i) {
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
