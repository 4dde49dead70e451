#include "passworddigest.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

namespace PasswordDigest {

namespace {

constexpr int kRounds = 60000;
constexpr int kKeyLength = 32;
const QLatin1String kScheme("pbkdf2-sha256");

QByteArray derive(const QString &password, const QByteArray &salt, int rounds)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(),
                                              salt, rounds, kKeyLength);
}

struct Parsed
{
    int rounds = 0;
    QByteArray salt;
    QByteArray hash;
};

bool parse(const QString &stored, Parsed &out)
{
    const QStringList parts = stored.split(u'$');
    if (parts.size() != 4 || parts[0] != kScheme)
        return false;
    bool ok = false;
    out.rounds = parts[1].toInt(&ok);
    if (!ok || out.rounds <= 0 || out.rounds > 10'000'000)
        return false;
    out.salt = QByteArray::fromBase64(parts[2].toLatin1());
    out.hash = QByteArray::fromBase64(parts[3].toLatin1());
    return !out.salt.isEmpty() && out.hash.size() == kKeyLength;
}

} // namespace

QString make(const QString &password)
{
    if (password.isEmpty())
        return QString();
    QByteArray salt(16, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()),
                                          salt.size() / int(sizeof(quint32)));
    return QStringList{kScheme, QString::number(kRounds), QString::fromLatin1(salt.toBase64()),
                       QString::fromLatin1(derive(password, salt, kRounds).toBase64())}
        .join(u'$');
}

bool isDigest(const QString &stored)
{
    Parsed parsed;
    return parse(stored, parsed);
}

bool matches(const QString &stored, const QString &password)
{
    if (stored.isEmpty())
        return password.isEmpty();
    Parsed parsed;
    if (!parse(stored, parsed))
        return false;
    const QByteArray candidate = derive(password, parsed.salt, parsed.rounds);
    // Compare without an early exit.
    int diff = 0;
    for (int i = 0; i < kKeyLength; ++i)
        diff |= candidate[i] ^ parsed.hash[i];
    return diff == 0;
}

} // namespace PasswordDigest
