// The settings file ("Quarvel.ini"): reading, and writing back what was read.
#include "core/settingsstore.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    static SettingsStore store(QDir::tempPath() + QStringLiteral("/no-such-folder/Quarvel.ini"));
    if (const std::optional<QString> text = SettingsStore::readableText(bytes)) {
        store.parse(*text);
        SettingsStore again(QDir::tempPath() + QStringLiteral("/no-such-folder/again.ini"));
        again.parse(QString::fromUtf8(store.serialize()));
    }
    return 0;
}
