#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

// The per-user settings store: sections of keys, one text value per key, kept in one INI file.
// A read names its default, so a missing key never fails; a write creates section and key as
// needed; nothing is ever deleted. Section and key names compare without regard to letter case.
// Every write reaches the disk at once (atomically, user-only), unless it happens inside a
// Batch, which writes the file once at its end.
class SettingsStore
{
public:
    // The application title under which every key lives: the user's store is named after it.
    static inline const QString kAppTitle = QStringLiteral("Quarvel");

    explicit SettingsStore(const QString &filePath);

    // The store of this user ("Quarvel.ini" in the config folder), created on first use.
    static SettingsStore &instance();
    // Tests and tools point the process-wide store at another file.
    static void setInstanceFile(const QString &filePath);

    QString filePath() const { return m_filePath; }

    QString read(const QString &section, const QString &key, const QString &defaultValue) const;
    bool contains(const QString &section, const QString &key) const;
    // Returns false when the file could not be written; the value is kept in memory regardless.
    bool write(const QString &section, const QString &key, const QString &value);

    // Reloads the file, dropping unsaved changes.
    void reload();
    bool lastWriteFailed() const { return m_lastWriteFailed; }
    // Where a settings file that was not readable text (not UTF-8, or binary) was moved when it
    // was loaded, for the one notice about it: empty when the file was read, and for later
    // calls. The store then starts from the defaults.
    QString takeSetAsideFile() { return std::exchange(m_setAsideFile, QString()); }
    // Whether the file set aside was a copy: its text was read, lines that were not UTF-8 as
    // Latin-1, and no value was lost.
    bool setAsideKeptValues() const { return m_setAsideKeptValues; }
    // The text of bytes when this store can read them without losing a character: UTF-8
    // without NUL. No value otherwise.
    static std::optional<QString> readableText(const QByteArray &bytes);

    class Batch
    {
    public:
        explicit Batch(SettingsStore &store);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        SettingsStore &m_store;
    };

    // The file's text for the current content (exposed for tests of the format).
    QByteArray serialize() const;
    void parse(const QString &content);

private:
    struct Entry
    {
        QString key;
        QString value;
    };
    struct Section
    {
        QString name;
        QList<Entry> entries;
        QHash<QString, qsizetype> index; // lower-case key -> position in entries
    };

    const Entry *find(const QString &section, const QString &key) const;
    bool flush();
    // Text that is UTF-8 but for a few lines: those lines read as Latin-1.
    static QString mixedText(const QByteArray &bytes);

    QString m_filePath;
    QList<Section> m_sections;
    QHash<QString, qsizetype> m_sectionIndex; // lower-case name -> position
    int m_batchDepth = 0;
    bool m_dirty = false;
    bool m_lastWriteFailed = false;
    bool m_readOnly = false; // an unreadable file that could not be moved aside
    QString m_setAsideFile;
    bool m_setAsideKeptValues = false;
};
