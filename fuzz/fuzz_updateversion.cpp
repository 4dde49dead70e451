// The update check's version file and the versions it names. What a found product gives must
// be usable as it stands: a plain file name, a 32-byte digest, a version that reads back the same.
#include "core/updateversionfile.h"
#include "fuzzinput.h"

#include <cstdlib>

namespace {

// A version as the version file writes it: its four parts in decimal, separated by dots.
QString versionText(const UpdateVersion &version)
{
    const auto &parts = version.parts;
    return QStringLiteral("%1.%2.%3.%4").arg(parts[0]).arg(parts[1]).arg(parts[2]).arg(parts[3]);
}

void checkVersionText(const QString &text)
{
    UpdateVersion version;
    if (!UpdateVersion::parse(text, version))
        return;
    UpdateVersion again;
    if (!UpdateVersion::parse(versionText(version), again) || again != version)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    for (const QString &product : {QStringLiteral("Quarvel"), QString()}) {
        UpdateVersionFile file;
        const UpdateVersionFile::Result result = file.parse(bytes, product);
        if (result < UpdateVersionFile::InvalidDataStartEnd || result > UpdateVersionFile::VersionFound)
            abort();
        (void)UpdateVersionFile::statusString(result);
        if (result != UpdateVersionFile::VersionFound)
            continue;
        if (!UpdateVersionFile::isSafeFileName(file.fileName()) || file.fileName().contains(u'/')
            || file.sha256().size() != 32)
            abort();
        checkVersionText(versionText(file.version()));
    }
    checkVersionText(QString::fromUtf8(bytes).trimmed());
    return 0;
}
