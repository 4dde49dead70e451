#include "core/appstate.h"
#include "core/historystore.h"
#include "core/strings.h"
#include "platform/browsingdata.h"
#include "platform/webbrowser.h"
#include "sidebar/historycleaner.h"
#include "sidebar/historycleanerpanel.h"
#include "sidebar/historygrouping.h"
#include "sidebar/historytree.h"
#include "testserver.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QtTest>

#include <optional>

namespace {

// The test server with "/", a page that sets the cookie "visit", and "/cached", a large page
// the engine may keep for an hour.
class CookieServer : public TestServer
{
public:
    CookieServer()
    {
        setRoute(QStringLiteral("/"), Route("200 OK", html(QStringLiteral("Cookie")), "text/html",
                                           "Set-Cookie: visit=1; Max-Age=3600\r\n"));
        Route cached("200 OK", QByteArray(200000, 'c'), "text/plain");
        cached.cacheControl = "max-age=3600";
        setRoute(QStringLiteral("/cached"), cached);
    }
    QUrl url() const { return QUrl(TestServer::url(QStringLiteral("/"))); }

    qsizetype requests(const QString &target) const { return targets().count(target); }
    // Whether the last request for "/" carried a cookie.
    bool lastHadCookie() const
    {
        for (qsizetype i = log().size() - 1; i >= 0; --i) {
            if (log()[i].target == QLatin1String("/"))
                return log()[i].hasHeader("cookie");
        }
        return false;
    }
};

// Counts the cleaner's progress windows that show.
class WindowWatch : public QObject
{
public:
    WindowWatch() { qApp->installEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<CleanProgressWindow *>(watched))
            ++shown;
        return false;
    }
};

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;
    // What the host saw.
    QStringList m_opened, m_navigated, m_messages;
    int m_typedCleared = 0, m_searchCleared = 0;
    QMessageBox::StandardButton m_answer = QMessageBox::Yes;

    template <typename T> static T *control(QWidget &parent, const char *name)
    {
        T *widget = parent.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    SidebarHost host()
    {
        SidebarHost h;
        h.openDocument = [this](const QString &a) { m_opened << a; };
        h.navigateActive = [this](const QString &a) { m_navigated << a; return true; };
        h.clearTypedAddresses = [this] { ++m_typedCleared; };
        h.clearSearchList = [this] { ++m_searchCleared; };
        h.messageBox = [this](QWidget *, QMessageBox::Icon, const QString &text, QMessageBox::StandardButtons) {
            m_messages << text;
            return m_answer;
        };
        return h;
    }
    // Runs the cleaner and waits for its report; the large files left in the engine's cache
    // when it came go to cacheFilesLeft.
    bool clean(HistoryCleaner::Kinds kinds, HistoryStore *store, int *cacheFilesLeft = nullptr)
    {
        std::optional<bool> result;
        HistoryCleaner::deleteHistory(host(), kinds, nullptr, store, [&](bool ok) {
            result = ok;
            if (cacheFilesLeft)
                *cacheFilesLeft = largeCacheFiles();
        });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(result.has_value(), CacheClearing::kTimeLimitMs + 5000); }();
        return result.value_or(false);
    }
    // Files of the engine's cache big enough to hold the cached page.
    static int largeCacheFiles()
    {
        int count = 0;
        QDirIterator it(WebBrowser::sharedProfile()->cachePath(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            count += it.nextFileInfo().size() > 100000;
        return count;
    }
    QString newStoreFile() { return m_dir.filePath(QStringLiteral("history%1.db").arg(++m_files)); }

    // "key=text" of each child of a node.
    static QStringList children(const QTreeWidgetItem *parent)
    {
        QStringList result;
        for (int i = 0; i < parent->childCount(); ++i)
            result << parent->child(i)->data(0, Qt::UserRole).toString() + u'=' + parent->child(i)->text(0);
        return result;
    }
    static QTreeWidgetItem *node(QTreeWidget &tree, const QString &key)
    {
        for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
            if ((*it)->data(0, Qt::UserRole).toString() == key)
                return *it;
        }
        return nullptr;
    }

private slots:
    void init()
    {
        m_opened.clear();
        m_navigated.clear();
        m_messages.clear();
        m_typedCleared = m_searchCleared = 0;
        m_answer = QMessageBox::Yes;
        AppState::settings = SettingsModel();
    }

    void grouping_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<QString>("key");
        const QDate sunday(2024, 6, 2), wednesday(2024, 6, 5), saturday(2024, 6, 8);
        const struct
        {
            const char *name;
            QDate today;
            int days;
            const char *key;
        } rows[] = {
            {"sunday, today", sunday, 0, "Today"},
            {"sunday, tomorrow", sunday, -1, "Today"},
            {"sunday, yesterday", sunday, 1, "LastWeek"},
            {"sunday, 7", sunday, 7, "LastWeek"},
            {"sunday, 8", sunday, 8, "TwoWeek"},
            {"sunday, 14", sunday, 14, "TwoWeek"},
            {"sunday, 15", sunday, 15, "VeryOld"},
            {"wednesday, yesterday", wednesday, 1, "Week2"},
            {"wednesday, sunday", wednesday, 3, "Week0"},
            {"wednesday, 4", wednesday, 4, "LastWeek"},
            {"wednesday, 10", wednesday, 10, "LastWeek"},
            {"wednesday, 11", wednesday, 11, "TwoWeek"},
            {"wednesday, 17", wednesday, 17, "TwoWeek"},
            {"wednesday, 18", wednesday, 18, "VeryOld"},
            {"saturday, yesterday", saturday, 1, "Week5"},
            {"saturday, sunday", saturday, 6, "Week0"},
            {"saturday, 7", saturday, 7, "LastWeek"},
            {"saturday, 13", saturday, 13, "LastWeek"},
            {"saturday, 14", saturday, 14, "TwoWeek"},
            {"saturday, 21", saturday, 21, "VeryOld"},
            {"over the new year", QDate(2025, 1, 1), 1, "Week2"},
        };
        for (const auto &row : rows)
            QTest::newRow(row.name) << row.today << row.days << QString::fromLatin1(row.key);
    }
    void grouping()
    {
        QFETCH(QDate, today);
        QFETCH(int, daysAgo);
        QFETCH(QString, key);
        QCOMPARE(HistoryGrouping::groupKey(today.addDays(-daysAgo), today), key);
        // Every key names a node of that day's tree.
        QStringList nodes;
        for (const HistoryGrouping::Group &group : HistoryGrouping::groups(HistoryGrouping::weekday(today)))
            nodes << group.key;
        QVERIFY(nodes.contains(key));
    }

    void groupNodes()
    {
        QStringList wednesday;
        for (const HistoryGrouping::Group &g : HistoryGrouping::groups(3))
            wednesday << g.key + u'=' + g.text;
        QCOMPARE(wednesday, QStringList({"Today=Today", "Week2=Tuesday", "Week1=Monday", "Week0=Sunday",
                                         "LastWeek=Last Week", "TwoWeek=Two Weeks", "VeryOld=Old History"}));
        QCOMPARE(HistoryGrouping::groups(0).size(), 4);
    }

    // Entries without title show their address, entries with neither leave a gap in the keys,
    // and a leaf opens the address of the snapshot that built the tree, not what the store
    // holds at that index by now.
    void treeFromStore()
    {
        const QString file = newStoreFile();
        HistoryStore store(file);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QVERIFY(store.addVisit(QStringLiteral("http://a.test/"), QStringLiteral("Alpha"), now));
        QVERIFY(store.addVisit(QStringLiteral("http://b.test/"), QString(), now.addSecs(-1)));
        QVERIFY(store.addVisit(QStringLiteral("http://old.test/"), QStringLiteral("Old"), now.addDays(-100)));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("INSERT INTO history VALUES ('', '', %1)")
                                           .arg(now.addSecs(-2).toMSecsSinceEpoch())));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));

        QTreeWidget widget;
        HistoryTree tree(&widget, host());
        tree.setStore(&store);
        QSignalSpy loaded(&tree, &HistoryTree::loaded);
        tree.loadHistory();
        QCOMPARE(loaded.count(), 1);

        QStringList groups;
        for (const HistoryGrouping::Group &g : HistoryGrouping::groups(HistoryGrouping::weekday(QDate::currentDate())))
            groups << g.key + u'=' + g.text;
        QCOMPARE(children(widget.invisibleRootItem()), groups);
        QCOMPARE(children(node(widget, "Today")), QStringList({"History0=Alpha", "History1=http://b.test/"}));
        QCOMPARE(children(node(widget, "VeryOld")), QStringList({"History3=Old"}));
        // A leaf's number gives its address; the entry without one and numbers outside give none.
        const QStringList addresses = {"http://a.test/", "http://b.test/", "", "http://old.test/", ""};
        for (int i = -1; i < addresses.size(); ++i)
            QCOMPARE(tree.historyItem(i), i < 0 ? QString() : addresses[i]);

        // A newer visit moves every index of the store down by one; the tree still opens what
        // it shows.
        QVERIFY(store.addVisit(QStringLiteral("http://new.test/"), QStringLiteral("New"), now.addSecs(1)));
        widget.resize(400, 400);
        widget.show();
        widget.expandAll();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        const QRect leaf = widget.visualItemRect(node(widget, "History1"));
        QTest::mouseDClick(widget.viewport(), Qt::LeftButton, {}, leaf.center());
        QCOMPARE(m_navigated, QStringList{"http://b.test/"});
        AppState::settings.controlHistNew = true;
        tree.openNode(node(widget, "History3"));
        QCOMPARE(m_opened, QStringList{"http://old.test/"});

        // Group nodes open nothing, empty or not.
        const QRect group = widget.visualItemRect(node(widget, "Today"));
        QTest::mouseDClick(widget.viewport(), Qt::LeftButton, {}, group.center());
        tree.openNode(node(widget, "TwoWeek"));
        QCOMPARE(m_opened.size() + m_navigated.size(), 2);

        // Shown again, the tree is built anew only when the store changed since its last load.
        tree.reloadIfChanged();
        QCOMPARE(loaded.count(), 2);
        QCOMPARE(children(node(widget, "Today")).first(), QStringLiteral("History0=New"));
        tree.reloadIfChanged();
        QCOMPARE(loaded.count(), 2);

        // Released, the snapshot opens nothing more.
        tree.releaseHistoryReader();
        tree.openNode(node(widget, "History0"));
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(tree.historyItem(0), QString());
    }

    // A cookie set by a page is gone after cleaning cookies: the next request carries none.
    // Runs before the other cleanings: a cache clearing in progress can hold back page loads.
    void cleanerCookies()
    {
        CookieServer server;
        QWebEngineProfile *profile = WebBrowser::sharedProfile();
        QWebEnginePage page(profile);
        QSignalSpy added(profile->cookieStore(), &QWebEngineCookieStore::cookieAdded);
        QSignalSpy removed(profile->cookieStore(), &QWebEngineCookieStore::cookieRemoved);
        QSignalSpy finished(&page, &QWebEnginePage::loadFinished);
        page.load(server.url());
        QVERIFY(finished.wait(30000));
        QTRY_VERIFY_WITH_TIMEOUT(!added.isEmpty(), 10000);
        page.load(server.url());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 30000);
        QVERIFY(server.lastHadCookie());

        QVERIFY(clean(HistoryCleaner::Cookies, nullptr));
        QTRY_VERIFY_WITH_TIMEOUT(!removed.isEmpty(), 10000);
        page.load(server.url());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 3, 30000);
        QCOMPARE(server.requests(QStringLiteral("/")), 3);
        QVERIFY(!server.lastHadCookie());
    }

    void cleanerEmptiesTheCache()
    {
        // Reported done only once the engine has emptied its cache: the page comes from the
        // server again.
        CookieServer server;
        QWebEnginePage page(WebBrowser::sharedProfile());
        QSignalSpy finished(&page, &QWebEnginePage::loadFinished);
        const QUrl cached = server.url().resolved(QUrl(QStringLiteral("cached")));
        page.load(cached);
        QVERIFY(finished.wait(30000));
        QTRY_VERIFY_WITH_TIMEOUT(largeCacheFiles() > 0, 10000);
        page.load(QUrl(QStringLiteral("about:blank")));
        QVERIFY(finished.wait(30000));
        page.load(cached);
        QVERIFY(finished.wait(30000));
        QCOMPARE(server.requests(QStringLiteral("/cached")), 1);

        int left = -1;
        QVERIFY(clean(HistoryCleaner::TemporaryFiles, nullptr, &left));
        QCOMPARE(left, 0);
        // The engine now and then holds a request made just after its cache was emptied and
        // never lets it go (the cleaner itself asks again for that reason): a load that does
        // not end is made again, as a person would reload.
        bool loaded = false;
        for (int attempt = 0; attempt < 4 && !loaded; ++attempt) {
            page.load(cached);
            loaded = finished.wait(10000);
        }
        QVERIFY(loaded);
        QVERIFY(server.requests(QStringLiteral("/cached")) >= 2);
    }

    void cleanerSteps()
    {
        HistoryStore store(newStoreFile());
        QVERIFY(store.addVisit(QStringLiteral("http://a.test/"), QStringLiteral("A")));
        WindowWatch watch;

        // Nothing chosen: done at once, no window.
        QVERIFY(clean({}, &store));
        HistoryCleanerPanel::cleanAtExit(host());
        QCOMPARE(watch.shown, 0);
        QCOMPARE(m_typedCleared + m_searchCleared, 0);
        QCOMPARE(store.snapshot().size(), 1);

        QVERIFY(clean(HistoryCleaner::AllKinds, &store));
        QCOMPARE(watch.shown, 1);
        QCOMPARE(m_typedCleared, 1);
        QCOMPARE(m_searchCleared, 1);
        QVERIFY(store.snapshot().isEmpty());

        // A store that cannot be opened cannot be emptied: the cleaning fails.
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("broken.db")));
        HistoryStore broken(m_dir.filePath(QStringLiteral("broken.db")));
        QVERIFY(!clean(HistoryCleaner::InternetHistory, &broken));
    }

    void cleanerPanel()
    {
        HistoryStore store(newStoreFile());
        QVERIFY(store.addVisit(QStringLiteral("http://a.test/"), QStringLiteral("A")));
        QWidget panel;
        panel.resize(300, 150);
        QTreeWidget widget;
        HistoryTree tree(&widget, host());
        tree.setStore(&store);
        QSignalSpy loaded(&tree, &HistoryTree::loaded);
        HistoryCleanerPanel cleaner(&panel, host(), &tree);
        auto *cookiesLabel = control<QLabel>(panel, "Label5");
        auto *addressLabel = control<QLabel>(panel, "Label3");
        auto *searchLabel = control<QLabel>(panel, "Label4");
        auto *addressBox = control<QCheckBox>(panel, "chkManAddress");
        auto *cleanSelected = control<QToolButton>(panel, "btnCleanSel");
        QCOMPARE(cookiesLabel->text(), loadResString(8020));
        QVERIFY(!cleanSelected->isEnabled());

        // A label click toggles its box; twice leaves all as it was.
        QTest::mouseClick(addressLabel, Qt::LeftButton);
        QVERIFY(addressBox->isChecked());
        QVERIFY(cleanSelected->isEnabled());
        QTest::mouseClick(searchLabel, Qt::LeftButton);
        QTest::mouseClick(searchLabel, Qt::LeftButton);
        QCOMPARE(cleaner.selectedKinds(), HistoryCleaner::Kinds(HistoryCleaner::AddressList));

        // Only the address list: no rebuild of the tree; the box stays ticked.
        QTest::mouseClick(cleanSelected, Qt::LeftButton);
        QCOMPARE(m_typedCleared, 1);
        QCOMPARE(loaded.count(), 0);
        QCOMPARE(m_messages, QStringList{loadResString(15000)});
        QVERIFY(addressBox->isChecked() && cleanSelected->isEnabled());

        // Declined, nothing is cleaned; accepted, everything, and the tree is rebuilt.
        m_answer = QMessageBox::No;
        QVERIFY(!cleaner.cleanAll());
        QCOMPARE(m_typedCleared, 1);
        m_answer = QMessageBox::Yes;
        QSignalSpy cleaned(&cleaner, &HistoryCleanerPanel::cleaned);
        QVERIFY(cleaner.cleanAll());
        QVERIFY(!cleaner.cleanAll()); // one cleaning at a time
        QVERIFY(cleaned.wait(CacheClearing::kTimeLimitMs + 5000));
        QCOMPARE(cleaned.first().first(), QVariant(true));
        QCOMPARE(m_messages.last(), loadResString(15000));
        QCOMPARE(loaded.count(), 1);
        QVERIFY(store.snapshot().isEmpty());
        QCOMPARE(widget.topLevelItem(0)->childCount(), 0);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestHistory test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_history.moc"
