#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// A throw-away home for one start of Quarvel: HOME with its XDG folders (config, data, cache, a
// 0700 runtime folder) and a Downloads folder that user-dirs.dirs names as the download folder.
// Removed with the object.
class DesktopHome
{
public:
    struct Visit
    {
        QString url;
        QString title;
    };

    DesktopHome();

    bool isValid() const { return m_valid; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString downloadFolder() const { return filePath(QStringLiteral("Downloads")); }
    QString settingsFile() const { return filePath(QStringLiteral("config/Quarvel/Quarvel.ini")); }

    // Settings of a user who has run Quarvel before: no quick tour, no crash notice, no
    // default-browser question, no update check; the frame maximized on the screen; the pages
    // open at exit are saved (and none are kept now); homePage is home page 1.
    bool seedSettings(const QString &homePage);
    // Visits in the history store, the first one the most recent.
    bool seedHistory(const QList<Visit> &visits);
    // A value of the settings file as Quarvel left it; empty when it is not there.
    QString setting(const QString &section, const QString &key) const;

    QProcessEnvironment environment(const QProcessEnvironment &base) const;

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};
