#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>

// A version of four 32-bit parts, compared part by part from the first.
struct UpdateVersion
{
    std::array<quint32, 4> parts{};

    // "2.8.0.12": exactly four decimal parts, each within 32 bits; false for anything else.
    static bool parse(const QString &text, UpdateVersion &version);
    // The running program's version: its major and minor number, 0, and its build number.
    static UpdateVersion installed();

    friend auto operator<=>(const UpdateVersion &, const UpdateVersion &) = default;
};

// The project's published version file and what it says about one product.
//
// The file is UTF-8 text of at most 64 KiB. Its first line (blank lines aside) is "QUARVEL-UPDATES"
// and its last "END"; every line between names one product with four fields separated by "|":
//
//   QUARVEL-UPDATES
//   Quarvel | 2.8.0.12 | qvsetup-2.8.0.12.run | <SHA-256 of that file, 64 hexadecimal digits>
//   END
//
// The download lies beside the version file under the file name given, which must be a plain
// base name (letters, digits, ".", "_", "-", "+"; no path, not starting with a dot).
class UpdateVersionFile
{
public:
    // The outcome of a check, numbered as the status texts 16003.. follow them.
    enum Result {
        CannotConnect = 1,
        InvalidDataStartEnd = 2, // no start or end line, text that is not clean UTF-8, too long
        InvalidParameterCount = 3, // a line without exactly four fields, or a field of the
                                   // product's line that is not what it must be
        ProductNotFound = 4,
        VersionFound = 5,
    };

    static constexpr qint64 kMaxSize = 64 * 1024;

    // Reads data for product; the fields below are set only when the result is VersionFound.
    Result parse(const QByteArray &data, const QString &product);

    UpdateVersion version() const { return m_version; }
    QString fileName() const { return m_fileName; }
    // The download's SHA-256, 32 bytes.
    QByteArray sha256() const { return m_sha256; }

    // Whether name may be used as the download's file name.
    static bool isSafeFileName(const QString &name);
    // The string number of the status text for a result (16003..16006; 0 for VersionFound).
    static int statusString(Result result);

private:
    UpdateVersion m_version;
    QString m_fileName;
    QByteArray m_sha256;
};
