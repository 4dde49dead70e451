#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The form filler's data: values under keys, each value marked when it is card data. A key may
// hold several values, kept in the order they were written; keys compare without regard to
// letter case. The store lives in memory; openDataFile and saveDataFile move it to and from
// "form.bin" in the data folder.
class FormStore
{
public:
    struct Entry
    {
        QString key;
        QString value;
        bool cardData = false;

        bool operator==(const Entry &) const = default;
    };

    // "form.bin" in the user's data folder.
    static QString defaultFile();

    // Replaces the store by the file's content. A missing, unreadable, damaged or unknown-version
    // file leaves the store empty and returns false.
    bool openDataFile(const QString &path);
    // Empties the store in memory; the file is left alone.
    void clearValues();
    // Adds a value under the key, after the values the key already holds.
    void setValue(const QString &key, const QString &value, bool cardData);
    // Writes the whole store atomically, readable by the user only. On failure the file keeps its
    // previous content and false is returned.
    bool saveDataFile(const QString &path) const;
    // The first value under the key, or an empty text when the key holds none.
    QString value(const QString &key) const;
    // Every value of the store, in write order.
    const QList<Entry> &entries() const { return m_entries; }

    // The file content for the current store, and its reading (exposed for tests of the format).
    QByteArray serialize() const;
    bool parse(const QByteArray &data);

private:
    QList<Entry> m_entries;
};
