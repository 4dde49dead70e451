// The desktop's mimeapps.list: the rewrite that makes Quarvel the default, and what reads the
// current defaults back. The file is the desktop's, so the rewrite may change only the lines it
// owns: in a "[Default Applications]" section, the "key=value" lines whose key is one of our
// types. Every other line must come back byte for byte and in order, with nothing between them
// but lines the rewrite writes itself; afterwards every type names quarvel.desktop first, and a
// second rewrite changes nothing.
#include "fuzzinput.h"
#include "platform/defaultbrowser.h"

#include <cstdlib>

namespace {

const QString kDefaultSection = QStringLiteral("[Default Applications]");
const QString kOurs = QString::fromLatin1(DefaultBrowser::kDesktopId);

QList<QByteArray> linesOf(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    if (text.isEmpty() || text.endsWith('\n'))
        lines.removeLast();
    return lines;
}

bool isHeader(const QString &trimmed)
{
    return trimmed.startsWith(u'[') && trimmed.endsWith(u']');
}

// The lines of the input the rewrite may change: our types' keys inside a defaults section.
QList<bool> ownedLines(const QList<QByteArray> &lines, const QStringList &types)
{
    QList<bool> owned;
    bool inDefaults = false;
    for (const QByteArray &line : lines) {
        const QString trimmed = QString::fromUtf8(line).trimmed();
        if (isHeader(trimmed)) {
            inDefaults = trimmed == kDefaultSection;
            owned << false;
            continue;
        }
        const qsizetype eq = trimmed.indexOf(u'=');
        const bool keyed = inDefaults && !trimmed.startsWith(u'#') && eq > 0;
        owned << (keyed && types.contains(trimmed.left(eq).trimmed()));
    }
    return owned;
}

// A line the rewrite writes itself: one of our keys naming us first, a blank line, or the
// header of the section it adds.
bool isWrittenLine(const QByteArray &line, const QStringList &types)
{
    if (line.isEmpty() || line == kDefaultSection.toUtf8())
        return true;
    const QString text = QString::fromUtf8(line);
    for (const QString &type : types) {
        if (text.startsWith(type + u'=' + kOurs + u';'))
            return true;
    }
    return false;
}

void checkKeptLines(const QByteArray &input, const QByteArray &output, const QStringList &types)
{
    if (!output.endsWith('\n'))
        abort();
    const QList<QByteArray> in = linesOf(input);
    const QList<QByteArray> out = linesOf(output);
    const QList<bool> owned = ownedLines(in, types);
    qsizetype at = 0;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (owned.at(i))
            continue;
        while (at < out.size() && out.at(at) != in.at(i)) {
            if (!isWrittenLine(out.at(at), types))
                abort(); // a line of the desktop's was changed or a foreign one appeared
            ++at;
        }
        if (at == out.size())
            abort(); // a line of the desktop's was lost or moved
        ++at;
    }
    for (; at < out.size(); ++at) {
        if (!isWrittenLine(out.at(at), types))
            abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // isDefault reads the list and the desktop entry from the XDG folders.
    const QString home = QDir::tempPath() + QStringLiteral("/quarvel-fuzz-mimeapps");
    QDir().mkpath(home + QStringLiteral("/config"));
    QDir().mkpath(home + QStringLiteral("/data/applications"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/data")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzBytes(data, size);
    const QStringList &types = DefaultBrowser::mimeTypes();
    const QByteArray output = DefaultBrowser::withDefaults(input, types);
    checkKeptLines(input, output, types);

    const QString rewritten = QString::fromUtf8(output);
    for (const QString &type : types) {
        if (DefaultBrowser::defaultFor(rewritten, type) != kOurs)
            abort();
    }
    if (DefaultBrowser::withDefaults(output, types) != output)
        abort();

    // The reads of the current default, on the list as it was: the same bytes serve as the
    // list and as the desktop entry.
    const QString text = QString::fromUtf8(input);
    for (const QString &type : types)
        (void)DefaultBrowser::defaultFor(text, type);
    static const DefaultBrowser browser(QStringLiteral("/opt/quarvel/bin/quarvel"));
    QFile list(DefaultBrowser::mimeAppsPath());
    QFile entry(DefaultBrowser::desktopFilePath());
    if (list.open(QIODevice::WriteOnly | QIODevice::Truncate))
        list.write(input);
    if (entry.open(QIODevice::WriteOnly | QIODevice::Truncate))
        entry.write(input);
    list.close();
    entry.close();
    (void)browser.isDefault();
    return 0;
}
