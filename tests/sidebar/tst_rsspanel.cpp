#include "rssdocument.h"
#include "testserver.h"

#include "core/appstate.h"
#include "core/strings.h"
#include "core/utctime.h"
#include "sidebar/rsschanneldialog.h"
#include "sidebar/rsspanel.h"
#include "sidebar/sidebar.h"
#include "sidebar/sidebarimages.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

class TestRssPanel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_serial = 0;
    TestServer *m_server = nullptr;
    // A connection of the test's own to the database file of the last side bar made.
    std::unique_ptr<RssDatabase> m_db;
    QStringList m_opened, m_status, m_messages;
    QList<QStringList> m_tips;
    QMessageBox::StandardButton m_answer = QMessageBox::Yes;

    SidebarHost host()
    {
        SidebarHost h;
        h.openDocument = [this](const QString &address) { m_opened << address; };
        h.setStatusText = [this](const QString &text) { m_status << text; };
        h.showTip = [this](const QString &t, const QString &d, const QString &l) { m_tips << QStringList{t, d, l}; };
        h.messageBox = [this](QWidget *, QMessageBox::Icon, const QString &text, QMessageBox::StandardButtons) {
            m_messages << text;
            return m_answer;
        };
        return h;
    }

    std::unique_ptr<Sidebar> makeSidebar(const QString &file = QString())
    {
        auto sidebar = std::make_unique<Sidebar>(host());
        sidebar->buildSidebar();
        const QString path = file.isEmpty() ? m_dir.filePath(QStringLiteral("db%1.mdb").arg(++m_serial)) : file;
        rss(*sidebar)->openConnection(path);
        m_db = std::make_unique<RssDatabase>(path);
        m_db->open();
        sidebar->resize(320, 640);
        sidebar->showSection(QStringLiteral("RSSFEED"));
        sidebar->show();
        return sidebar;
    }

    static RssPanel *rss(Sidebar &sidebar) { return sidebar.findChild<RssPanel *>(); }

    template <typename T> static T *control(QWidget &parent, const char *name)
    {
        T *widget = parent.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    static QTreeWidget *channelList(QWidget &panel) { return control<QTreeWidget>(panel, "ListView1"); }
    static QTreeWidget *headlineList(QWidget &panel) { return control<QTreeWidget>(panel, "ListView2"); }

    // The stored channel's title, empty when there is no such channel.
    QString channelTitle(qint32 id)
    {
        for (const RssDatabase::Channel &channel : m_db->channels().value_or(QList<RssDatabase::Channel>())) {
            if (channel.channelId == id)
                return channel.channelTitle;
        }
        return QString();
    }

    // What the RSS section's tab shows: the picture of sidebarIL at this index.
    static bool sectionIconIs(Sidebar &sidebar, int index)
    {
        const auto *tabs = control<QTabWidget>(sidebar, "sidebar");
        const QIcon shown = tabs->tabIcon(sidebar.sectionIndex(QStringLiteral("RSSFEED")));
        return shown.pixmap(SidebarImages::kSize).toImage()
            == SidebarImages::icon(index).pixmap(SidebarImages::kSize).toImage();
    }

    // The wait cursor of a channel dialog's download.
    static bool busy()
    {
        return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    }

    qint32 addChannel(RssPanel *panel, const QString &title, const QString &path)
    {
        const qint32 id = m_db->insertChannel(title, QString(), m_server->url(path), QString(), QString());
        panel->fillChannelList();
        return id;
    }

    static QStringList column(QTreeWidget *list, int c)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(c);
        return out;
    }

    static bool isNew(QTreeWidgetItem *row)
    {
        return row->font(0).bold() && row->data(0, RssPanel::kIconKeyRole).toString() == QLatin1String("feedchannelnew");
    }

    static void doubleClick(QTreeWidget *list, QTreeWidgetItem *item, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(item).center());
    }

    static bool runCheck(RssPanel *panel)
    {
        QSignalSpy finished(panel, &RssPanel::checkFinished);
        panel->onCheckClicked();
        return finished.count() == 1 || finished.wait(20000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_server = new TestServer(this);
        AppState::settings.rssTimeoutSec = 10;
        AppState::settings.rssProxyServer.clear();
    }

    void init()
    {
        m_opened.clear();
        m_status.clear();
        m_messages.clear();
        m_tips.clear();
        m_answer = QMessageBox::Yes;
        m_server->clearRoutes();
    }

    void withoutDatabaseTheReaderIsOff()
    {
        const QString bad = m_dir.filePath(QStringLiteral("bad.mdb"));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, '\x07'));
        f.close();
        auto sidebar = makeSidebar(bad);
        RssPanel *panel = rss(*sidebar);
        QCOMPARE(m_messages, QStringList{loadResString(1200)});
        panel->onCheckClicked();
        panel->onAddChannelClicked();
        QCOMPARE(m_messages, QStringList(3, loadResString(1200)));
        QVERIFY(!sidebar->findChild<RssChannelDialog *>());
        // The clock's periodic check stays silent without a database.
        AppState::settings.rssStartupCheck = true;
        AppState::settings.rssAutoCheckMinutes = 1;
        panel->runStartupCheck();
        for (int minute = 0; minute < 2; ++minute)
            panel->onMinuteTick();
        QCOMPARE(m_messages.size(), 3);
        AppState::settings.rssAutoCheckMinutes = 0;
    }

    void addChannelThroughTheDialog()
    {
        m_server->feed(QStringLiteral("/a"), rssFeed(QStringLiteral("Feed A"),
                                                     {{"one", "http://a/1", "Tue, 10 Jun 2003 04:00:00 GMT", ""},
                                                      {"two", "http://a/2", "", ""}}));
        auto sidebar = makeSidebar();
        RssPanel *panel = rss(*sidebar);
        QVERIFY(!control<QToolButton>(*panel, "cmdCheckRss")->isEnabled());
        const std::unique_ptr<RssChannelDialog> owned(panel->newChannelDialog());
        RssChannelDialog &dialog = *owned;
        auto *url = control<QLineEdit>(dialog, "txtURL");
        auto *title = control<QLineEdit>(dialog, "txtTitle");
        auto *description = control<QLineEdit>(dialog, "txtDesc");
        auto *retrieve = control<QPushButton>(dialog, "cmdRetrieve");
        auto *add = control<QPushButton>(dialog, "cmdAdd");
        dialog.setForAdding();
        dialog.show();
        QVERIFY(!add->isEnabled());
        QVERIFY(!retrieve->isEnabled());
        QVERIFY(title->isReadOnly());
        QCOMPARE(add->text(), loadResString(18007));

        url->setText(m_server->url(QStringLiteral("/a")));
        QVERIFY(retrieve->isEnabled());
        QSignalSpy retrieved(&dialog, &RssChannelDialog::retrieveFinished);
        retrieve->click();
        QVERIFY(retrieved.wait(20000));
        QCOMPARE(retrieved.first().first().toBool(), true);
        QCOMPARE(title->text(), QStringLiteral("Feed A"));
        QCOMPARE(description->text(), QStringLiteral("About Feed A"));
        QVERIFY(!title->isReadOnly());
        QVERIFY(add->isEnabled());

        // A changed address needs its own retrieve; an empty title blocks Add.
        url->setText(m_server->url(QStringLiteral("/other")));
        QVERIFY(!add->isEnabled());
        url->setText(m_server->url(QStringLiteral("/a")));
        retrieve->click();
        QVERIFY(retrieved.wait(20000));
        title->clear();
        QVERIFY(!add->isEnabled());
        title->setText(QStringLiteral("Bob's feed"));
        description->setText(QStringLiteral("x' OR '1'='1"));
        QVERIFY(add->isEnabled());

        QSignalSpy added(&dialog, &RssChannelDialog::addFinished);
        add->click();
        QVERIFY(added.wait(20000));
        const qint32 id = added.first().first().toInt();
        QVERIFY(id > 0);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(column(channelList(*panel), 0), QStringList{QStringLiteral("Bob's feed")});
        QCOMPARE(column(channelList(*panel), 1), QStringList{QStringLiteral("x' OR '1'='1")});
        QCOMPARE(m_db->headlines(id)->size(), 2);
        QVERIFY(control<QToolButton>(*panel, "cmdCheckRss")->isEnabled());
        QVERIFY(m_messages.isEmpty());
    }

    void failedRetrieveAndCancel()
    {
        m_server->route(QStringLiteral("/silent")).silent = true;
        m_server->feed(QStringLiteral("/a"), rssFeed(QStringLiteral("A"), {{"one", "http://a/1", "", ""}}));
        auto sidebar = makeSidebar();
        RssPanel *panel = rss(*sidebar);
        {
            const std::unique_ptr<RssChannelDialog> owned(panel->newChannelDialog());
            RssChannelDialog &dialog = *owned;
            auto *url = control<QLineEdit>(dialog, "txtURL");
            auto *retrieve = control<QPushButton>(dialog, "cmdRetrieve");
            dialog.setForAdding();
            dialog.show();
            url->setText(m_server->url(QStringLiteral("/missing")));
            QSignalSpy retrieved(&dialog, &RssChannelDialog::retrieveFinished);
            retrieve->click();
            QVERIFY(retrieved.wait(20000));
            QCOMPARE(retrieved.first().first().toBool(), false);
            QCOMPARE(m_messages, QStringList{loadResString(18012)});
            QVERIFY(!control<QPushButton>(dialog, "cmdAdd")->isEnabled());

            // Cancel during a retrieve closes at once and says nothing.
            url->setText(m_server->url(QStringLiteral("/silent")));
            retrieve->click();
            QVERIFY(busy());
            QVERIFY(!retrieve->isEnabled());
            control<QPushButton>(dialog, "cmdCancel")->click();
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QVERIFY(!busy());
            QVERIFY(retrieve->isEnabled());
            QCOMPARE(m_messages.size(), 1);
        }
        {
            // Cancel during Add's download stores nothing.
            const std::unique_ptr<RssChannelDialog> owned(panel->newChannelDialog());
            RssChannelDialog &dialog = *owned;
            auto *add = control<QPushButton>(dialog, "cmdAdd");
            dialog.setForAdding();
            dialog.show();
            control<QLineEdit>(dialog, "txtURL")->setText(m_server->url(QStringLiteral("/a")));
            QSignalSpy retrieved(&dialog, &RssChannelDialog::retrieveFinished);
            control<QPushButton>(dialog, "cmdRetrieve")->click();
            QVERIFY(retrieved.wait(20000));
            m_server->route(QStringLiteral("/a")).silent = true;
            add->click();
            QVERIFY(busy());
            QVERIFY(!add->isEnabled());
            QTRY_VERIFY(m_server->targets().size() >= 1);
            control<QPushButton>(dialog, "cmdCancel")->click();
            QVERIFY(!dialog.isVisible());
            QVERIFY(!busy());
        }
        QVERIFY(m_db->channels()->isEmpty());
        QCOMPARE(channelList(*panel)->topLevelItemCount(), 0);
    }

    void editChannel()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = rss(*sidebar);
        const qint32 id = addChannel(panel, QStringLiteral("Old"), QStringLiteral("/e"));
        const qint32 other = addChannel(panel, QStringLiteral("Other"), QStringLiteral("/o"));
        panel->onEditChannelClicked(); // nothing selected: nothing happens
        QVERIFY(!sidebar->findChild<RssChannelDialog *>());

        QTreeWidget *channels = channelList(*panel);
        channels->setCurrentItem(channels->topLevelItem(0));
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<RssChannelDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QVERIFY(control<QLineEdit>(*dialog, "txtURL")->isReadOnly());
            QCOMPARE(control<QLineEdit>(*dialog, "txtURL")->text(), m_server->url(QStringLiteral("/e")));
            QCOMPARE(control<QPushButton>(*dialog, "cmdAdd")->text(), loadResString(18010));
            control<QLineEdit>(*dialog, "txtTitle")->setText(QStringLiteral("New 'one'"));
            control<QLineEdit>(*dialog, "txtDesc")->setText(QStringLiteral("D\"q"));
            checked = true;
            control<QPushButton>(*dialog, "cmdAdd")->click();
        });
        panel->onEditChannelClicked();
        QVERIFY(checked);
        // The channel edited, and only that one, has the new title.
        QCOMPARE(channelTitle(id), QStringLiteral("New 'one'"));
        QCOMPARE(channelTitle(other), QStringLiteral("Other"));
        QCOMPARE(column(channels, 0), (QStringList{QStringLiteral("New 'one'"), QStringLiteral("Other")}));
        QCOMPARE(column(channels, 1), (QStringList{QStringLiteral("D\"q"), QString()}));
    }

    void checkMarksChannelsWithNewHeadlines()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = rss(*sidebar);
        QTreeWidget *channels = channelList(*panel);
        auto item = [](const char *title, const char *date) {
            return FeedItem{QLatin1String(title), QStringLiteral("http://x/") + QLatin1String(title), QLatin1String(date), QString()};
        };
        m_server->feed(QStringLiteral("/1"), rssFeed(QStringLiteral("A"), {item("a1", "Mon, 01 Jan 2024 10:00:00 GMT")}));
        m_server->feed(QStringLiteral("/2"), rssFeed(QStringLiteral("B"), {item("b1", "Mon, 01 Jan 2024 10:00:00 GMT")}));
        m_server->setRoute(QStringLiteral("/3"), {"404 Not Found", ""});
        addChannel(panel, QStringLiteral("A"), QStringLiteral("/1"));
        addChannel(panel, QStringLiteral("B"), QStringLiteral("/2"));
        addChannel(panel, QStringLiteral("C"), QStringLiteral("/3"));
        QVERIFY(runCheck(panel));
        QCOMPARE(m_status, (QStringList{loadResString(18000) + "A", loadResString(18000) + "B",
                                        loadResString(18000) + "C", loadResString(18001)}));
        QVERIFY(sectionIconIs(*sidebar, 8));
        QVERIFY(!sectionIconIs(*sidebar, 5));

        // Refilling the list clears the rows' marks; only B has something new next time.
        panel->fillChannelList();
        m_server->feed(QStringLiteral("/2"), rssFeed(QStringLiteral("B"), {item("b2", "Tue, 02 Jan 2024 10:00:00 GMT"),
                                                                           item("b1", "Mon, 01 Jan 2024 10:00:00 GMT")}));
        m_status.clear();
        QVERIFY(runCheck(panel));
        QCOMPARE(m_status.last(), loadResString(18001));
        QVERIFY(!isNew(channels->topLevelItem(0)));
        QVERIFY(isNew(channels->topLevelItem(1)));
        QVERIFY(!isNew(channels->topLevelItem(2)));

        // Nothing new: the final text says so and no mark changes.
        m_status.clear();
        QVERIFY(runCheck(panel));
        QCOMPARE(m_status.last(), loadResString(18520));
        QVERIFY(isNew(channels->topLevelItem(1)));
        QVERIFY(sectionIconIs(*sidebar, 8));
        QVERIFY(m_messages.isEmpty());

        // A feed nested too deeply is refused: the check reports it and the channel stays.
        m_server->feed(QStringLiteral("/1"), "<rss>" + QByteArray("<a>").repeated(5000) +
                                                 QByteArray("</a>").repeated(5000) + "</rss>");
        QVERIFY(runCheck(panel));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(channels->topLevelItemCount(), 3);
        m_messages.clear();

        // An empty list writes only the final text.
        auto empty = makeSidebar();
        m_status.clear();
        QVERIFY(runCheck(rss(*empty)));
        QCOMPARE(m_status, QStringList{loadResString(18520)});
    }

    // A feed whose item is dated ahead of our clock, checked again and again, lists it once.
    void itemDatedAheadIsListedOnce()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = rss(*sidebar);
        const QString tomorrow = QDateTime::currentDateTimeUtc().addDays(1).toString(Qt::RFC2822Date);
        m_server->feed(QStringLiteral("/a"), rssFeed(QStringLiteral("Ahead"),
                                                     {FeedItem{QStringLiteral("ahead"), QStringLiteral("http://x/a"),
                                                               tomorrow, QString()}}));
        const qint32 id = addChannel(panel, QStringLiteral("Ahead"), QStringLiteral("/a"));
        for (int check = 0; check < 3; ++check)
            QVERIFY(runCheck(panel));
        QCOMPARE(m_db->headlines(id)->size(), 1);
        QVERIFY(m_messages.isEmpty());
    }

    // A feed names the links of its headlines: only web addresses open, the rest are refused.
    void onlyWebLinksOpen()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = rss(*sidebar);
        const qint32 id = addChannel(panel, QStringLiteral("Links"), QStringLiteral("/l"));
        const QStringList links = {"file:///etc/passwd", "javascript:alert(1)", "data:text/html,<b>x</b>",
                                   "HTTPS://example.com/ok"};
        for (int i = 0; i < links.size(); ++i)
            m_db->addHeadline(id, QString::number(i), QString(), links[i],
                              UtcTime::at(QDate(2024, 5, 1 + i), QTime(9, 0)));
        panel->fillChannelList();
        QTreeWidget *channels = channelList(*panel);
        QTRY_VERIFY(!channels->visualItemRect(channels->topLevelItem(0)).isEmpty());
        doubleClick(channels, channels->topLevelItem(0));
        QTreeWidget *headlines = headlineList(*panel);
        for (int row = 0; row < headlines->topLevelItemCount(); ++row)
            doubleClick(headlines, headlines->topLevelItem(row));
        QCOMPARE(m_opened, QStringList{QStringLiteral("https://example.com/ok")});
        QCOMPARE(m_messages.size(), 3);
    }

    void openAndMarkHeadlines()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = rss(*sidebar);
        const qint32 id = addChannel(panel, QStringLiteral("Days"), QStringLiteral("/d"));
        for (int day : {2, 3, 1})
            m_db->addHeadline(id, QStringLiteral("%1 May").arg(day), QString(), QStringLiteral("http://d/%1").arg(day),
                              UtcTime::at(QDate(2024, 5, day), QTime(9, 0)));
        panel->fillChannelList();
        QTreeWidget *channels = channelList(*panel);
        QTreeWidget *headlines = headlineList(*panel);
        QTRY_VERIFY(!channels->visualItemRect(channels->topLevelItem(0)).isEmpty());
        doubleClick(channels, channels->topLevelItem(0));
        QCOMPARE(column(headlines, 0), (QStringList{"3 May", "2 May", "1 May"}));
        QVERIFY(headlines->topLevelItem(0)->font(0).bold());

        // Opening a headline opens its link in a new tab and marks it read.
        QTreeWidgetItem *top = headlines->topLevelItem(0);
        doubleClick(headlines, top);
        QCOMPARE(m_opened, QStringList{QStringLiteral("http://d/3")});
        QVERIFY(!top->font(0).bold());
        QCOMPARE(m_db->newestUnreadHeadline(id)->headlineTitle, QStringLiteral("2 May"));
        // Ctrl toggles the read state without opening anything.
        doubleClick(headlines, top, Qt::ControlModifier);
        QVERIFY(top->font(0).bold());
        QCOMPARE(m_db->newestUnreadHeadline(id)->headlineTitle, QStringLiteral("3 May"));
        doubleClick(headlines, top, Qt::ControlModifier);
        QVERIFY(!top->font(0).bold());
        QCOMPARE(m_opened.size(), 1);

        // Enter opens; Delete on a headline does nothing.
        headlines->setCurrentItem(headlines->topLevelItem(1));
        QTest::keyClick(headlines, Qt::Key_Return);
        QCOMPARE(m_opened.last(), QStringLiteral("http://d/2"));
        QTest::keyClick(headlines, Qt::Key_Delete);
        QCOMPARE(headlines->topLevelItemCount(), 3);
        QVERIFY(m_messages.isEmpty());

        // A press beside the rows selects nothing; the headline commands keep their channel.
        QTest::mouseClick(channels->viewport(), Qt::LeftButton, {}, QPoint(5, channels->viewport()->height() - 3));
        QVERIFY(channels->selectedItems().isEmpty());
        panel->onRemoveChannelClicked();
        panel->onEditChannelClicked();
        QVERIFY(m_messages.isEmpty());
        doubleClick(headlines, headlines->topLevelItem(2));
        QCOMPARE(m_opened.last(), QStringLiteral("http://d/1"));
        QVERIFY(!m_db->newestUnreadHeadline(id));

        // Ctrl on the channel marks everything read; Delete asks first.
        QVERIFY(m_db->setChannelRead(id, false));
        channels->setCurrentItem(channels->topLevelItem(0));
        QTest::keyClick(channels, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(!m_db->newestUnreadHeadline(id));
        m_answer = QMessageBox::No;
        QTest::keyClick(channels, Qt::Key_Delete);
        QCOMPARE(m_messages, QStringList{loadResString(18009)});
        QCOMPARE(channels->topLevelItemCount(), 1);
        m_answer = QMessageBox::Yes;
        QTest::keyClick(channels, Qt::Key_Delete);
        QCOMPARE(channels->topLevelItemCount(), 0);
        QCOMPARE(headlines->topLevelItemCount(), 0);
        QVERIFY(!control<QToolButton>(*panel, "cmdRemoveRss")->isEnabled());
        QVERIFY(m_db->headlines(id)->isEmpty());
    }

    void removingAChannelDuringACheck()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = rss(*sidebar);
        m_server->feed(QStringLiteral("/slow"), rssFeed(QStringLiteral("S"), {{"s", "http://s/", "", ""}}));
        m_server->route(QStringLiteral("/slow")).delayMs = 300;
        m_server->feed(QStringLiteral("/next"), rssFeed(QStringLiteral("N"), {{"n", "http://n/", "", ""}}));
        addChannel(panel, QStringLiteral("A slow"), QStringLiteral("/slow"));
        const qint32 next = addChannel(panel, QStringLiteral("B next"), QStringLiteral("/next"));
        QSignalSpy finished(panel, &RssPanel::checkFinished);
        panel->onCheckClicked();
        QCOMPARE(m_status, QStringList{loadResString(18000) + "A slow"}); // the check runs
        panel->onCheckClicked(); // a second check does not start
        QCOMPARE(m_status.size(), 1);
        QTreeWidget *channels = channelList(*panel);
        channels->setCurrentItem(channels->topLevelItem(1));
        panel->onRemoveChannelClicked();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.count(), 1);
        QVERIFY(m_db->headlines(next)->isEmpty());
        QCOMPARE(m_status.count(loadResString(18000) + "A slow"), 1);
        QCOMPARE(m_status.count(loadResString(18000) + "B next"), 0);
    }

    void clockRunsChecks()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = rss(*sidebar);
        m_server->feed(QStringLiteral("/c"), rssFeed(QStringLiteral("C"), {}));
        addChannel(panel, QStringLiteral("C"), QStringLiteral("/c"));
        AppState::settings.rssStartupCheck = true;
        AppState::settings.rssAutoCheckMinutes = 2;
        // A check that starts shows the channel it fetches first.
        const QString fetchingC = loadResString(18000) + "C";
        QSignalSpy finished(panel, &RssPanel::checkFinished);
        panel->runStartupCheck();
        QCOMPARE(m_status.count(fetchingC), 1);
        QVERIFY(finished.wait(20000));
        // Once only.
        panel->runStartupCheck();
        QCOMPARE(m_status.count(fetchingC), 1);
        panel->onMinuteTick();
        QCOMPARE(m_status.count(fetchingC), 1);
        panel->onMinuteTick(); // the second minute
        QCOMPARE(m_status.count(fetchingC), 2);
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.count(), 2);
        AppState::settings.rssAutoCheckMinutes = 0;
        AppState::settings.rssStartupCheck = false;
    }

    void unloadStopsTheCheckAndPurges()
    {
        const QString file = m_dir.filePath(QStringLiteral("unload.mdb"));
        {
            auto sidebar = makeSidebar(file);
            RssPanel *panel = rss(*sidebar);
            m_server->route(QStringLiteral("/silent")).silent = true;
            const qint32 id = addChannel(panel, QStringLiteral("Quiet"), QStringLiteral("/silent"));
            m_db->setClock([] { return QDateTime::currentDateTimeUtc().addDays(-10); });
            QVERIFY(m_db->addHeadline(id, QStringLiteral("old"), QString(), QStringLiteral("u"), QDateTime()));
            QVERIFY(m_db->setChannelRead(id, true));
            m_db.reset();
            AppState::settings.readDeleteDays = 1;
            AppState::settings.unreadDeleteDays = 3;
            QSignalSpy finished(panel, &RssPanel::checkFinished);
            panel->onCheckClicked();
            QTRY_VERIFY(!m_server->targets().isEmpty());
            m_status.clear();
            sidebar->unload();
            QCOMPARE(finished.count(), 1);
            QVERIFY(m_status.isEmpty()); // no final text while closing
            // The connection is closed: the commands find no database.
            panel->onCheckClicked();
            QCOMPARE(m_messages, QStringList{loadResString(1200)});
        }
        RssDatabase db(file);
        QVERIFY(db.open());
        QCOMPARE(db.channels()->size(), 1);
        QVERIFY(db.headlines(db.channels()->first().channelId)->isEmpty());
    }

    void makersFeedShowsItsNewestHeadline()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = rss(*sidebar);
        m_server->feed(QStringLiteral("/maker"),
                       rssFeed(QStringLiteral("M"), {{"Newest", "http://m/2", "Tue, 02 Jan 2024 10:00:00 GMT", "new"},
                                                     {"Older", "http://m/1", "Mon, 01 Jan 2024 10:00:00 GMT", "old"}}));
        m_server->feed(QStringLiteral("/plain"), rssFeed(QStringLiteral("P"), {{"p", "http://p/", "", ""}}));
        addChannel(panel, QStringLiteral("M"), QStringLiteral("/maker"));
        addChannel(panel, QStringLiteral("P"), QStringLiteral("/plain"));
        RssPanel::setMakerFeedPrefix(m_server->url(QStringLiteral("/MAKER")).toUpper());
        QVERIFY(runCheck(panel));
        RssPanel::setMakerFeedPrefix(QStringLiteral("HTTPS://QUARVEL.INVALID"));
        QCOMPARE(m_tips, (QList<QStringList>{{"Newest", "new", "http://m/2"}}));
    }
};

QTEST_MAIN(TestRssPanel)
#include "tst_rsspanel.moc"
