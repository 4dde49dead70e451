#include "formstore.h"

#include "paths.h"
#include "userfile.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>

// File layout: the magic "QVFORM", a 16-bit version, then (QDataStream, Qt 6.0 encoding) the
// payload as a byte array and the SHA-256 digest of that payload. The payload holds a 32-bit
// count followed by that many entries of key, value and a flags byte (bit 0: card data).
// A file that fails any check is not read at all.

namespace {

constexpr char kMagic[] = "QVFORM";
constexpr qsizetype kMagicSize = sizeof(kMagic) - 1;
constexpr quint16 kVersion = 1;
constexpr quint8 kCardDataFlag = 0x01;
// A form store is a few kilobytes; anything far larger is not ours.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;


} // namespace

QString FormStore::defaultFile()
{
    return Paths::dataFile(QStringLiteral("form.bin"));
}

bool FormStore::openDataFile(const QString &path)
{
    m_entries.clear();
    QByteArray data;
    return UserFile::read(path, &data, kMaxFileSize) && parse(data);
}

void FormStore::clearValues()
{
    m_entries.clear();
}

void FormStore::setValue(const QString &key, const QString &value, bool cardData)
{
    m_entries.append({key, value, cardData});
}

bool FormStore::saveDataFile(const QString &path) const
{
    return UserFile::save(path, serialize());
}

QString FormStore::value(const QString &key) const
{
    for (const Entry &entry : m_entries) {
        if (entry.key.compare(key, Qt::CaseInsensitive) == 0)
            return entry.value;
    }
    return QString();
}

QByteArray FormStore::serialize() const
{
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << quint32(m_entries.size());
        for (const Entry &entry : m_entries)
            out << entry.key << entry.value << quint8(entry.cardData ? kCardDataFlag : 0);
    }
    QByteArray data(kMagic, kMagicSize);
    QDataStream out(&data, QIODevice::Append);
    out.setVersion(QDataStream::Qt_6_0);
    out << kVersion << payload << QCryptographicHash::hash(payload, QCryptographicHash::Sha256);
    return data;
}

bool FormStore::parse(const QByteArray &data)
{
    m_entries.clear();
    if (!data.startsWith(QByteArrayView(kMagic, kMagicSize)))
        return false;

    QDataStream in(data.sliced(kMagicSize));
    in.setVersion(QDataStream::Qt_6_0);
    quint16 version = 0;
    in >> version;
    if (in.status() != QDataStream::Ok || version != kVersion)
        return false;
    QByteArray payload, digest;
    in >> payload >> digest;
    if (in.status() != QDataStream::Ok || !in.atEnd()
        || digest != QCryptographicHash::hash(payload, QCryptographicHash::Sha256))
        return false;

    QDataStream entries(payload);
    entries.setVersion(QDataStream::Qt_6_0);
    quint32 count = 0;
    entries >> count;
    QList<Entry> read;
    for (quint32 i = 0; i < count && entries.status() == QDataStream::Ok; ++i) {
        Entry entry;
        quint8 flags = 0;
        entries >> entry.key >> entry.value >> flags;
        entry.cardData = flags & kCardDataFlag;
        read.append(entry);
    }
    if (entries.status() != QDataStream::Ok || !entries.atEnd())
        return false;
    m_entries = std::move(read);
    return true;
}
