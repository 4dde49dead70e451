#pragma once

#include "sidebarhost.h"

#include <QString>
#include <QWidget>

class QWebEngineView;

// The small browser of the side bar's GAMES section ("WebBrowser1"). It shows the games page of
// the project's web site; a game, or the games index itself, opens in a tab instead. Each load of
// a page whose title differs from the one last seen posts the "games updated" notice.
class GamesBrowser : public QWidget
{
    Q_OBJECT
public:
    explicit GamesBrowser(const SidebarHost &host, QWidget *parent = nullptr);

    // The page the section shows, and the two addresses that open in a tab.
    static QString gamesPage();
    static QString gamePagePrefix();
    static QString gamesFolder();
    // Whether a navigation of the small browser to the address opens in a tab instead: it begins
    // with the game page's address or is the games folder (letter case aside).
    static bool opensInTab(const QString &address);

    // Loads the games page; the engine view is made on the first call.
    void loadGamesPage();

signals:
    // A load of the games page ended with this title.
    void pageLoaded(const QString &title);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void onLoadFinished(bool ok);

    SidebarHost m_host;
    QWebEngineView *m_view = nullptr;
};
