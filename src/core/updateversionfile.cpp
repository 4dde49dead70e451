#include "updateversionfile.h"

#include <QStringDecoder>
#include <QStringList>
#include <QVersionNumber>

#include <algorithm>

#ifndef QUARVEL_VERSION
#define QUARVEL_VERSION "0.0.0"
#endif

namespace {

const QString kStartLine = QStringLiteral("QUARVEL-UPDATES");
const QString kEndLine = QStringLiteral("END");

bool hasControlCharacters(const QString &text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control && c != QLatin1Char('\n') && c != QLatin1Char('\r') &&
            c != QLatin1Char('\t'))
            return true;
    }
    return false;
}

} // namespace

bool UpdateVersion::parse(const QString &text, UpdateVersion &version)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    UpdateVersion parsed;
    for (int i = 0; i < 4; ++i) {
        const QString &part = parts.at(i);
        // Digits only: no sign, no blanks, no hexadecimal prefix.
        if (part.isEmpty() || part.size() > 10 ||
            !std::all_of(part.cbegin(), part.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            return false;
        const qulonglong value = part.toULongLong();
        if (value > 0xFFFFFFFFull)
            return false;
        parsed.parts[i] = quint32(value);
    }
    version = parsed;
    return true;
}

UpdateVersion UpdateVersion::installed()
{
    const QVersionNumber number = QVersionNumber::fromString(QStringLiteral(QUARVEL_VERSION));
    UpdateVersion version;
    version.parts = {quint32(number.majorVersion()), quint32(number.minorVersion()), 0,
                     quint32(number.microVersion())};
    return version;
}

bool UpdateVersionFile::isSafeFileName(const QString &name)
{
    if (name.isEmpty() || name.size() > 128 || name.startsWith(QLatin1Char('.')))
        return false;
    return std::all_of(name.cbegin(), name.cend(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'.' || c == u'_' || c == u'-' || c == u'+';
    });
}

int UpdateVersionFile::statusString(Result result)
{
    return result == VersionFound ? 0 : 16002 + int(result);
}

UpdateVersionFile::Result UpdateVersionFile::parse(const QByteArray &data, const QString &product)
{
    if (data.size() > kMaxSize)
        return InvalidDataStartEnd;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(data);
    if (decoder.hasError() || hasControlCharacters(text))
        return InvalidDataStartEnd;

    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            lines.append(trimmed);
    }
    if (lines.size() < 2 || lines.constFirst() != kStartLine || lines.constLast() != kEndLine)
        return InvalidDataStartEnd;
    lines.removeFirst();
    lines.removeLast();

    bool found = false;
    UpdateVersion version;
    QString fileName;
    QByteArray digest;
    for (const QString &line : std::as_const(lines)) {
        QStringList fields = line.split(QLatin1Char('|'));
        if (fields.size() != 4)
            return InvalidParameterCount;
        for (QString &field : fields)
            field = field.trimmed();
        if (found || fields.at(0) != product)
            continue;
        const QString &hex = fields.at(3);
        const bool hexOnly = hex.size() == 64 && std::all_of(hex.cbegin(), hex.cend(), [](QChar c) {
                                 return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') ||
                                        (c >= u'A' && c <= u'F');
                             });
        if (!UpdateVersion::parse(fields.at(1), version) || !isSafeFileName(fields.at(2)) || !hexOnly)
            return InvalidParameterCount;
        fileName = fields.at(2);
        digest = QByteArray::fromHex(hex.toLatin1());
        found = true;
    }
    if (!found)
        return ProductNotFound;
    m_version = version;
    m_fileName = fileName;
    m_sha256 = digest;
    return VersionFound;
}
