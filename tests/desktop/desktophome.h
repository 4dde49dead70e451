#pragma once

#include "testhome.h"

#include <QList>
#include <QString>

// A throw-away home for one start of Quarvel, with Quarvel's own folders and a Downloads folder
// that user-dirs.dirs names as the download folder. Removed with the object.
class DesktopHome : public TestHome
{
public:
    struct Visit
    {
        QString url;
        QString title;
    };

    DesktopHome();

    QString settingsFile() const { return filePath(QStringLiteral("config/Quarvel/Quarvel.ini")); }

    // Settings of a user who has run Quarvel before: no quick tour, no crash notice, no
    // default-browser question, no update check; the frame maximized on the screen; the pages
    // open at exit are saved (and none are kept now); homePage is home page 1.
    bool seedSettings(const QString &homePage);
    // Visits in the history store, the first one the most recent.
    bool seedHistory(const QList<Visit> &visits);
    // A value of the settings file as Quarvel left it; empty when it is not there.
    QString setting(const QString &section, const QString &key) const;
};
