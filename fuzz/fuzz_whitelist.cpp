// The popup whitelist file ("Whitelist.qvr").
#include "core/notesfiles.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = writeScratchFile(QStringLiteral("Whitelist.qvr"), fuzzBytes(data, size));
    bool ok = false;
    const QStringList entries = NotesFiles::readWhitelist(path, &ok);
    if (ok)
        NotesFiles::writeWhitelist(path, entries);
    return 0;
}
