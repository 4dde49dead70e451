#include "settingsstore.h"

#include "paths.h"
#include "userfile.h"

#include <QFile>
#include <QStringDecoder>

#include <memory>
#include <optional>

namespace {

std::unique_ptr<SettingsStore> &storeSlot()
{
    static std::unique_ptr<SettingsStore> store;
    return store;
}

bool needsEscape(QStringView value)
{
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '\n' || u == '\r' || u == 0)
            return true;
    }
    return false;
}

QString escapeValue(const QString &value)
{
    if (!needsEscape(value))
        return value;
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\0':
            out += QLatin1String("\\0");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescapeValue(QStringView value)
{
    if (!value.contains(u'\\'))
        return value.toString();
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case '0':
            out += QChar(0);
            break;
        default:
            out += next;
        }
    }
    return out;
}

} // namespace

SettingsStore::SettingsStore(const QString &filePath) : m_filePath(filePath)
{
    reload();
}

SettingsStore &SettingsStore::instance()
{
    auto &slot = storeSlot();
    if (!slot)
        slot = std::make_unique<SettingsStore>(Paths::configDir() + QLatin1Char('/') + kAppTitle + QLatin1String(".ini"));
    return *slot;
}

void SettingsStore::setInstanceFile(const QString &filePath)
{
    storeSlot() = std::make_unique<SettingsStore>(filePath);
}

void SettingsStore::reload()
{
    m_sections.clear();
    m_sectionIndex.clear();
    m_dirty = false;
    m_readOnly = false;
    m_setAsideKeptValues = false;
    // Something that is not a file (a folder, a pipe) is never opened: it is set aside below.
    const UserFile::Found found = UserFile::find(m_filePath);
    if (found == UserFile::Found::Nothing)
        return;
    if (found == UserFile::Found::File) {
        QByteArray bytes;
        if (!UserFile::read(m_filePath, &bytes))
            return;
        if (const std::optional<QString> text = readableText(bytes)) {
            parse(*text);
            return;
        }
        if (!bytes.contains('\0')) {
            // Text with a few bytes that are not UTF-8: every value is kept, a line that is not
            // UTF-8 read as Latin-1; a copy of the file as it was is kept, and the user told once.
            const QString aside = UserFile::unreadableName(m_filePath);
            if (QFile::copy(m_filePath, aside)) {
                parse(mixedText(bytes));
                m_setAsideFile = aside;
                m_setAsideKeptValues = true;
                return;
            }
        }
    }
    // A file we cannot read is kept under a new name and never written over: the program starts
    // from the defaults and says so once (takeSetAsideFile).
    const QString aside = UserFile::setAside(m_filePath);
    if (!aside.isEmpty())
        m_setAsideFile = aside;
    else
        m_readOnly = true; // cannot move it away: leave it as it is and write nothing over it
}

std::optional<QString> SettingsStore::readableText(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return std::nullopt; // UTF-16 and binary files; a stored NUL is always escaped
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString SettingsStore::mixedText(const QByteArray &bytes)
{
    // Line by line: a line that is not UTF-8 is read as Latin-1, the others lose nothing.
    QString content;
    content.reserve(bytes.size());
    qsizetype start = 0;
    while (start <= bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QByteArray line = bytes.sliced(start, end - start);
        if (start > 0)
            content += u'\n';
        const std::optional<QString> text = readableText(line);
        content += text ? *text : QString::fromLatin1(line);
        start = end + 1;
    }
    return content;
}

void SettingsStore::parse(const QString &content)
{
    m_sections.clear();
    m_sectionIndex.clear();
    Section *current = nullptr;
    for (QStringView line : QStringView(content).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'#'))
            continue;
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            const QString name = trimmed.mid(1, trimmed.size() - 2).toString();
            const QString lower = name.toLower();
            auto it = m_sectionIndex.constFind(lower);
            if (it == m_sectionIndex.constEnd()) {
                m_sectionIndex.insert(lower, m_sections.size());
                m_sections.append(Section{name, {}, {}});
                current = &m_sections.last();
            } else {
                current = &m_sections[*it];
            }
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!current || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed().toString();
        const QString value = unescapeValue(line.mid(eq + 1));
        const QString lower = key.toLower();
        auto it = current->index.constFind(lower);
        if (it == current->index.constEnd()) {
            current->index.insert(lower, current->entries.size());
            current->entries.append(Entry{key, value});
        } else {
            current->entries[*it].value = value;
        }
    }
}

QByteArray SettingsStore::serialize() const
{
    QString out;
    qsizetype size = 0;
    for (const Section &section : m_sections) {
        size += section.name.size() + 4;
        for (const Entry &entry : section.entries)
            size += entry.key.size() + entry.value.size() + 2;
    }
    out.reserve(size + size / 16);
    for (const Section &section : m_sections) {
        if (!out.isEmpty())
            out += u'\n';
        out += u'[';
        out += section.name;
        out += QLatin1String("]\n");
        for (const Entry &entry : section.entries) {
            out += entry.key;
            out += u'=';
            out += escapeValue(entry.value);
            out += u'\n';
        }
    }
    return out.toUtf8();
}

const SettingsStore::Entry *SettingsStore::find(const QString &section, const QString &key) const
{
    const auto sit = m_sectionIndex.constFind(section.toLower());
    if (sit == m_sectionIndex.constEnd())
        return nullptr;
    const Section &s = m_sections[*sit];
    const auto kit = s.index.constFind(key.toLower());
    if (kit == s.index.constEnd())
        return nullptr;
    return &s.entries[*kit];
}

QString SettingsStore::read(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const Entry *entry = find(section, key);
    return entry ? entry->value : defaultValue;
}

bool SettingsStore::contains(const QString &section, const QString &key) const
{
    return find(section, key) != nullptr;
}

bool SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    const QString sectionLower = section.toLower();
    auto sit = m_sectionIndex.constFind(sectionLower);
    qsizetype sectionPos;
    if (sit == m_sectionIndex.constEnd()) {
        sectionPos = m_sections.size();
        m_sectionIndex.insert(sectionLower, sectionPos);
        m_sections.append(Section{section, {}, {}});
    } else {
        sectionPos = *sit;
    }
    Section &s = m_sections[sectionPos];
    const QString keyLower = key.toLower();
    auto kit = s.index.constFind(keyLower);
    if (kit == s.index.constEnd()) {
        s.index.insert(keyLower, s.entries.size());
        s.entries.append(Entry{key, value});
    } else {
        Entry &entry = s.entries[*kit];
        if (entry.value == value && !m_dirty)
            return !m_lastWriteFailed;
        entry.value = value;
    }
    m_dirty = true;
    if (m_batchDepth > 0)
        return true;
    return flush();
}

bool SettingsStore::flush()
{
    if (!m_dirty)
        return true;
    if (m_readOnly) {
        m_lastWriteFailed = true;
        return false;
    }
    const bool ok = UserFile::save(m_filePath, serialize());
    m_lastWriteFailed = !ok;
    if (ok)
        m_dirty = false;
    return ok;
}

SettingsStore::Batch::Batch(SettingsStore &store) : m_store(store)
{
    ++m_store.m_batchDepth;
}

SettingsStore::Batch::~Batch()
{
    if (--m_store.m_batchDepth == 0)
        m_store.flush();
}
