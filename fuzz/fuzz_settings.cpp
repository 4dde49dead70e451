// The settings file ("Quarvel.ini"): reading, and writing back what was read.
#include "core/settingsstore.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    static SettingsStore store(QDir::tempPath() + QStringLiteral("/no-such-folder/Quarvel.ini"));
    if (SettingsStore::isReadableText(bytes)) {
        store.parse(bytes);
        SettingsStore again(QDir::tempPath() + QStringLiteral("/no-such-folder/again.ini"));
        again.parse(store.serialize());
    }
    return 0;
}
