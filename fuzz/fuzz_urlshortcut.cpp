// Internet shortcut files (".url").
#include "fuzzinput.h"
#include "platform/urlshortcut.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    writeScratchFile(QStringLiteral("shortcut.url"), fuzzBytes(data, size));
    (void)readUrlShortcut(QDir::tempPath() + QStringLiteral("/shortcut"));
    return 0;
}
