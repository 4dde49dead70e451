#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class BenchHome;

// A user's files grown large, made once and put into each home a run starts in: the settings,
// the quick notes, the whitelist, the website groups, the favorites cache and folder, the band
// layout and the form data at about fileMb each, the feed and history databases at about dbMb.
// The content is what a long-time user would have: many lines and entries, none of them long.
class BigFiles
{
public:
    BigFiles(int fileMb, int dbMb);

    // Every kind of file, by the name the benchmark reports it under.
    static QStringList kinds();

    // Copies the files of the kinds given into the home (folders of many small files are
    // linked, not copied: the program never writes inside them). The settings file is then
    // seeded by the run as usual.
    void putInto(BenchHome &home, const QStringList &kinds) const;
    // What a kind weighs as made, in MB.
    double sizeMb(const QString &kind) const;

private:
    QString stored(const QString &kind) const;
    void makeSettings(const QString &path) const;
    void makeNotes(const QString &path) const;
    void makeWhitelist(const QString &path) const;
    void makeGroups(const QString &folder) const;
    void makeFavorites(const QString &folder, const QString &cachePath) const;
    void makeLayout(const QString &path) const;
    void makeForm(const QString &path) const;
    void makeHistory(const QString &path) const;
    void makeFeeds(const QString &path) const;

    qint64 m_fileBytes;
    qint64 m_dbBytes;
    QTemporaryDir m_dir;
};
