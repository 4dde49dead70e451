// The quick-notes file ("notes.qvr").
#include "core/notesfiles.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = writeScratchFile(QStringLiteral("notes.qvr"), fuzzBytes(data, size));
    bool ok = false;
    const QString notes = NotesFiles::readQuickNotes(path, &ok);
    if (ok)
        NotesFiles::writeQuickNotes(path, notes);
    return 0;
}
