#include "app/startup.h"
#include "core/appstate.h"
#include "core/settingsstore.h"
#include "core/website.h"
#include "document/documentwindow.h"
#include "frame/commands/commandregistry.h"
#include "frame/commands/menucontroller.h"
#include "frame/mainwindow.h"
#include "framedocuments.h"
#include "platform/webbrowser.h"
#include "testframe.h"
#include "testserver.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QtTest>

#include <memory>

// The commands that go to pages: the Back and Forward buttons' history menus, the Help menu's
// pages and the site's pages in new tabs.
class TestNavigationCommands : public QObject
{
    Q_OBJECT

    TestServer m_server;

    static QStringList titles(const QList<MenuController::TravelLogEntry> &entries)
    {
        QStringList list;
        for (const auto &entry : entries)
            list << QStringLiteral("%1@%2").arg(entry.title).arg(entry.index);
        return list;
    }

private slots:
    void init()
    {
        QFile::remove(SettingsStore::instance().filePath());
        SettingsStore::instance().reload();
        AppState::settings = SettingsModel();
    }

    void backAndForwardMenusListTheHistoryAndGoThere()
    {
        auto frame = makeFrame(m_server.page("One"));
        DocumentWindow *document = activeFrameDocument(*frame);
        QVERIFY(document);
        QTRY_COMPARE(document->locationName(), QStringLiteral("One"));
        document->navigate(m_server.page("Two"), QUrl(m_server.page("Two")));
        QTRY_COMPARE(document->locationName(), QStringLiteral("Two"));
        document->navigate(m_server.page("Three"), QUrl(m_server.page("Three")));
        QTRY_COMPARE(document->locationName(), QStringLiteral("Three"));

        const QWebEngineHistory &history = *document->history();
        QCOMPARE(titles(MenuController::travelLog(history, true)), QStringList({"Two@1", "One@0"}));
        QVERIFY(MenuController::travelLog(history, false).isEmpty());

        // Nothing ahead: the Forward arrow shows no menu and returns at once.
        MenuController *menus = frame->findChild<MenuController *>();
        menus->showBrowseDropDown(QStringLiteral("Forward"), QPoint(10, 10));
        QVERIFY(!QApplication::activePopupWidget());

        // The Back arrow lists the entries, the nearest first; choosing one goes there.
        QStringList shown;
        QTimer::singleShot(0, this, [&shown] {
            auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(popup);
            for (QAction *action : popup->actions())
                shown << action->text();
            popup->setActiveAction(popup->actions().value(1));
            QTest::keyClick(popup, Qt::Key_Return);
        });
        menus->showBrowseDropDown(QStringLiteral("Back"), QPoint(10, 10));
        QCOMPARE(shown, QStringList({"Two", "One"}));
        QTRY_COMPARE(document->locationName(), QStringLiteral("One"));
        // Going there kept the entries after it.
        QCOMPARE(titles(MenuController::travelLog(history, false)), QStringList({"Two@1", "Three@2"}));
        QVERIFY(MenuController::travelLog(history, true).isEmpty());

        // Dismissing the Forward menu goes nowhere.
        QTimer::singleShot(0, this, [] {
            if (QWidget *popup = QApplication::activePopupWidget())
                QTest::keyClick(popup, Qt::Key_Escape);
        });
        menus->showBrowseDropDown(QStringLiteral("Forward"), QPoint(10, 10));
        QCOMPARE(history.currentItemIndex(), 0);
        QCOMPARE(document->locationName(), QStringLiteral("One"));
        frame->close();
    }

    void sitePagesOpenInNewTabsUnderTheSiteAddress()
    {
        auto frame = makeFrame(m_server.page("Start"));
        WebSite::setBaseForTesting(m_server.url("/site/"));
        QTRY_COMPARE(frameDocuments(*frame).size(), 1);
        const struct
        {
            const char *key;
            const char *path;
        } pages[] = {{"mnuHelpOnTheWeb", "/site/"},  {"mnuHelpForum", "/site/forum"},
                     {"mnuHelpGames", "/site/games"}, {"mnuHelpBlog", "/site/blog"},
                     {"mnuHelpReportBug", "/site/contact"}};
        int tabs = 1;
        for (const auto &page : pages) {
            frame->findChild<CommandRegistry *>()->trigger(QLatin1String(page.key));
            QCOMPARE(frameDocuments(*frame).size(), ++tabs);
            QTRY_COMPARE(frameDocuments(*frame).last()->locationUrl(),
                         m_server.url(QLatin1String(page.path)));
        }
        // The help and the quick tour are pages of their own, shipped with the program.
        frame->findChild<CommandRegistry *>()->trigger(QStringLiteral("mnuHelpContents"));
        QTRY_COMPARE(frameDocuments(*frame).last()->locationName(), QStringLiteral("Quarvel Help"));
        frame->findChild<CommandRegistry *>()->trigger(QStringLiteral("mnuHelpQuickTour"));
        QTRY_COMPARE(frameDocuments(*frame).last()->locationName(),
                     QStringLiteral("Quarvel Quick Tour"));
        WebSite::setBaseForTesting(QString());
        frame->close();
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    initApplicationIdentity();
    TestNavigationCommands test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_navigationcommands.moc"
