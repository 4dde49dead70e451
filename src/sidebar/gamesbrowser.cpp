#include "gamesbrowser.h"

#include "core/settingsstore.h"
#include "core/website.h"
#include "platform/browserpage.h"
#include "widgets/noticerules.h"

#include <QPointer>
#include <QResizeEvent>
#include <QWebEngineView>

namespace {

// Pages the small browser is asked to open in a new window go to a tab.
class GamesPage : public BrowserPage
{
public:
    GamesPage(QWebEngineProfile *profile, const SidebarHost &host, QObject *parent)
        : BrowserPage(profile, parent), m_host(host)
    {
    }

protected:
    QWebEnginePage *createWindow(WebWindowType) override
    {
        // The new page only learns its address; it is dropped once it has.
        auto *target = new QWebEnginePage(profile(), this);
        connect(target, &QWebEnginePage::urlChanged, this, [this, target](const QUrl &url) {
            if (url.isEmpty())
                return;
            m_host.openInNewTab(url.toString());
            target->deleteLater();
        });
        return target;
    }

private:
    SidebarHost m_host;
};

} // namespace

GamesBrowser::GamesBrowser(const SidebarHost &host, QWidget *parent)
    : QWidget(parent), m_host(host)
{
    setObjectName(QStringLiteral("WebBrowser1"));
}

QString GamesBrowser::gamesPage()
{
    return WebSite::page(QStringLiteral("games/sidebar.php"));
}

QString GamesBrowser::gamePagePrefix()
{
    return WebSite::page(QStringLiteral("games/showgame.php"));
}

QString GamesBrowser::gamesFolder()
{
    return WebSite::page(QStringLiteral("games/"));
}

bool GamesBrowser::opensInTab(const QString &address)
{
    const QString lower = address.toLower();
    return lower.startsWith(gamePagePrefix().toLower()) || lower == gamesFolder().toLower();
}

void GamesBrowser::loadGamesPage()
{
    if (!m_view) {
        m_view = new QWebEngineView(this);
        auto *page = new GamesPage(sharedBrowserProfile(), m_host, m_view);
        page->setOwner(this, [this](const QString &url, bool mainFrame, bool &cancel) {
            if (!mainFrame || !opensInTab(url))
                return;
            cancel = true;
            m_host.openInNewTab(url);
        });
        m_view->setPage(page);
        m_view->setGeometry(rect());
        m_view->show();
        connect(page, &QWebEnginePage::loadFinished, this, &GamesBrowser::onLoadFinished);
    }
    m_view->load(QUrl(gamesPage()));
}

void GamesBrowser::onLoadFinished(bool ok)
{
    if (!ok || !m_view)
        return;
    const QString title = m_view->page()->title();
    emit pageLoaded(title);
    // The title of the games page changes when new games are added.
    if (m_view->url().toString() != gamesPage())
        return;
    if (const auto notice = NoticeRules::gamesPageNotice(SettingsStore::instance(), title))
        m_host.tip(notice->title, notice->text, notice->link);
}

void GamesBrowser::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_view)
        m_view->setGeometry(rect());
}
