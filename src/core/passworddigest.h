#pragma once

#include <QString>

// Passwords (the browser lock, the card-data lock) never reach the settings store as typed:
// the store keeps a salted PBKDF2-SHA256 digest, "pbkdf2-sha256$<rounds>$<salt>$<hash>" with
// salt and hash in base64. An empty password stays empty and means "no password".
namespace PasswordDigest {

QString make(const QString &password);
bool isDigest(const QString &stored);
// True when the password matches the stored value (an empty stored value matches only "").
bool matches(const QString &stored, const QString &password);

} // namespace PasswordDigest
