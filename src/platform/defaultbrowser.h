#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Quarvel as the desktop's web browser (freedesktop): a quarvel.desktop entry in the user's
// applications folder and the user's mimeapps.list naming it the default for web pages and the
// web protocols. Shows nothing; the caller reports a failed registration.
class DefaultBrowser
{
public:
    // programPath: the absolute path of the program the desktop entry starts.
    explicit DefaultBrowser(const QString &programPath);
    // For the running program.
    DefaultBrowser();

    static constexpr char kDesktopId[] = "quarvel.desktop";

    // The types Quarvel is registered for, in the order they are written.
    static const QStringList &mimeTypes();
    // $XDG_DATA_HOME/applications/quarvel.desktop and $XDG_CONFIG_HOME/mimeapps.list, with
    // the freedesktop defaults when the variables are unset or relative.
    static QString desktopFilePath();
    static QString mimeAppsPath();

    // The desktop entry's command: the program path (quoted when it needs it) and %u, escaped
    // as a desktop-entry value.
    QString execLine() const;

    // Whether the user's defaults for http and for HTML pages are our desktop entry and the
    // entry starts this program. Only reads.
    bool isDefault() const;

    // Writes the desktop entry and the defaults (every other line of mimeapps.list kept), then
    // tells xdg-mime and xdg-settings when they are installed; their failure is not ours once
    // the files are written. False when a file could not be read or written: errorString()
    // then says which and why.
    bool associateFiles();
    QString errorString() const { return m_error; }

    // mimeapps.list text with quarvel.desktop first in [Default Applications] for each type,
    // the section created when missing; every other line kept as it was.
    static QByteArray withDefaults(const QByteArray &mimeApps, const QStringList &types);
    // The first desktop id listed in [Default Applications] for type, or empty.
    static QString defaultFor(const QString &mimeApps, const QString &type);

private:
    QString desktopEntry() const;
    void runDesktopTools() const;

    QString m_programPath;
    QString m_error;
};

// The make-default command of the default-browser prompt and of the options' general page:
// registers the running program with the busy cursor shown. True when Quarvel is now the
// default browser; otherwise errorString (when given) says why.
bool registerAsDefaultBrowser(QString *errorString = nullptr);
// The same, and when it fails tells the user why (message 1505).
bool makeDefaultBrowser(QWidget *parent);
