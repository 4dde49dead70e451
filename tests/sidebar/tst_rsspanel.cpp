#include "rssdocument.h"
#include "testserver.h"

#include "core/appstate.h"
#include "core/strings.h"
#include "sidebar/rsschanneldialog.h"
#include "sidebar/rsspanel.h"
#include "sidebar/sidebar.h"

#include <QLineEdit>
#include <QPushButton>
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
        sidebar->m_rssPanel->openConnection(file.isEmpty() ? m_dir.filePath(QStringLiteral("db%1.mdb").arg(++m_serial))
                                                    : file);
        sidebar->resize(320, 640);
        sidebar->showSection(QStringLiteral("RSSFEED"));
        sidebar->show();
        return sidebar;
    }

    qint32 addChannel(RssPanel *panel, const QString &title, const QString &path)
    {
        const qint32 id = panel->m_database->insertChannel(title, QString(), m_server->url(path), QString(), QString());
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
        RssPanel *panel = sidebar->m_rssPanel;
        QVERIFY(!panel->m_database);
        QCOMPARE(m_messages, QStringList{loadResString(1200)});
        panel->onCheckClicked();
        panel->onAddChannelClicked();
        QCOMPARE(m_messages.size(), 3);
        QVERIFY(!panel->channelDialog());
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
        RssPanel *panel = sidebar->m_rssPanel;
        QVERIFY(!panel->m_checkButton->isEnabled());
        const std::unique_ptr<RssChannelDialog> owned(panel->newChannelDialog());
        RssChannelDialog &dialog = *owned;
        dialog.m_addMode = true;
        dialog.show();
        QVERIFY(!dialog.m_addButton->isEnabled());
        QVERIFY(!dialog.m_retrieveButton->isEnabled());
        QVERIFY(dialog.m_titleEdit->isReadOnly());
        QCOMPARE(dialog.m_addButton->text(), loadResString(18007));

        dialog.m_urlEdit->setText(m_server->url(QStringLiteral("/a")));
        QVERIFY(dialog.m_retrieveButton->isEnabled());
        QSignalSpy retrieved(&dialog, &RssChannelDialog::RetrieveFinished);
        dialog.m_retrieveButton->click();
        QVERIFY(retrieved.wait(20000));
        QCOMPARE(retrieved.first().first().toBool(), true);
        QCOMPARE(dialog.m_titleEdit->text(), QStringLiteral("Feed A"));
        QCOMPARE(dialog.m_descriptionEdit->text(), QStringLiteral("About Feed A"));
        QVERIFY(!dialog.m_titleEdit->isReadOnly());
        QVERIFY(dialog.m_addButton->isEnabled());

        // A changed address needs its own retrieve; an empty title blocks Add.
        dialog.m_urlEdit->setText(m_server->url(QStringLiteral("/other")));
        QVERIFY(!dialog.m_addButton->isEnabled());
        dialog.m_urlEdit->setText(m_server->url(QStringLiteral("/a")));
        dialog.m_retrieveButton->click();
        QVERIFY(retrieved.wait(20000));
        dialog.m_titleEdit->clear();
        QVERIFY(!dialog.m_addButton->isEnabled());
        dialog.m_titleEdit->setText(QStringLiteral("Bob's feed"));
        dialog.m_descriptionEdit->setText(QStringLiteral("x' OR '1'='1"));
        QVERIFY(dialog.m_addButton->isEnabled());

        QSignalSpy added(&dialog, &RssChannelDialog::addFinished);
        dialog.m_addButton->click();
        QVERIFY(added.wait(20000));
        const qint32 id = added.first().first().toInt();
        QVERIFY(id > 0);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(column(panel->m_channelList, 0), QStringList{QStringLiteral("Bob's feed")});
        QCOMPARE(column(panel->m_channelList, 1), QStringList{QStringLiteral("x' OR '1'='1")});
        QCOMPARE(panel->m_database->headlines(id)->size(), 2);
        QVERIFY(panel->m_checkButton->isEnabled());
        QVERIFY(m_messages.isEmpty());
    }

    void failedRetrieveAndCancel()
    {
        m_server->route(QStringLiteral("/silent")).silent = true;
        m_server->feed(QStringLiteral("/a"), rssFeed(QStringLiteral("A"), {{"one", "http://a/1", "", ""}}));
        auto sidebar = makeSidebar();
        RssPanel *panel = sidebar->m_rssPanel;
        {
            const std::unique_ptr<RssChannelDialog> owned(panel->newChannelDialog());
            RssChannelDialog &dialog = *owned;
            dialog.m_addMode = true;
            dialog.show();
            dialog.m_urlEdit->setText(m_server->url(QStringLiteral("/missing")));
            QSignalSpy retrieved(&dialog, &RssChannelDialog::RetrieveFinished);
            dialog.m_retrieveButton->click();
            QVERIFY(retrieved.wait(20000));
            QCOMPARE(retrieved.first().first().toBool(), false);
            QCOMPARE(m_messages, QStringList{loadResString(18012)});
            QVERIFY(!dialog.m_addButton->isEnabled());

            // Cancel during a retrieve closes at once and says nothing.
            dialog.m_urlEdit->setText(m_server->url(QStringLiteral("/silent")));
            dialog.m_retrieveButton->click();
            QVERIFY(dialog.isRetrieving());
            dialog.m_cancelButton->click();
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QVERIFY(!dialog.isRetrieving());
            QCOMPARE(m_messages.size(), 1);
        }
        {
            // Cancel during Add's download stores nothing.
            const std::unique_ptr<RssChannelDialog> owned(panel->newChannelDialog());
            RssChannelDialog &dialog = *owned;
            dialog.m_addMode = true;
            dialog.show();
            dialog.m_urlEdit->setText(m_server->url(QStringLiteral("/a")));
            QSignalSpy retrieved(&dialog, &RssChannelDialog::RetrieveFinished);
            dialog.m_retrieveButton->click();
            QVERIFY(retrieved.wait(20000));
            m_server->route(QStringLiteral("/a")).silent = true;
            dialog.m_addButton->click();
            QVERIFY(dialog.isAdding());
            QTRY_VERIFY(m_server->targets().size() >= 1);
            dialog.m_cancelButton->click();
            QVERIFY(!dialog.isVisible());
        }
        QVERIFY(panel->m_database->channels()->isEmpty());
        QCOMPARE(panel->m_channelList->topLevelItemCount(), 0);
    }

    void editChannel()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = sidebar->m_rssPanel;
        const qint32 id = addChannel(panel, QStringLiteral("Old"), QStringLiteral("/e"));
        panel->onEditChannelClicked(); // nothing selected: nothing happens
        QVERIFY(!panel->channelDialog());

        panel->m_channelList->setCurrentItem(panel->m_channelList->topLevelItem(0));
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            RssChannelDialog *dialog = panel->channelDialog();
            QVERIFY(dialog);
            QVERIFY(dialog->m_urlEdit->isReadOnly());
            QCOMPARE(dialog->m_addButton->text(), loadResString(18010));
            QCOMPARE(dialog->m_channelToEdit, id);
            dialog->m_titleEdit->setText(QStringLiteral("New 'one'"));
            dialog->m_descriptionEdit->setText(QStringLiteral("D\"q"));
            checked = true;
            dialog->m_addButton->click();
        });
        panel->onEditChannelClicked();
        QVERIFY(checked);
        QCOMPARE(panel->m_database->channelByID(id)->channelTitle, QStringLiteral("New 'one'"));
        QCOMPARE(column(panel->m_channelList, 0), QStringList{QStringLiteral("New 'one'")});
        QCOMPARE(column(panel->m_channelList, 1), QStringList{QStringLiteral("D\"q")});
    }

    void checkMarksChannelsWithNewHeadlines()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = sidebar->m_rssPanel;
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
        QCOMPARE(sidebar->rssSectionIcon(), 8);

        // Refilling the list clears the rows' marks; only B has something new next time.
        panel->fillChannelList();
        m_server->feed(QStringLiteral("/2"), rssFeed(QStringLiteral("B"), {item("b2", "Tue, 02 Jan 2024 10:00:00 GMT"),
                                                                           item("b1", "Mon, 01 Jan 2024 10:00:00 GMT")}));
        m_status.clear();
        QVERIFY(runCheck(panel));
        QCOMPARE(m_status.last(), loadResString(18001));
        QVERIFY(!isNew(panel->m_channelList->topLevelItem(0)));
        QVERIFY(isNew(panel->m_channelList->topLevelItem(1)));
        QVERIFY(!isNew(panel->m_channelList->topLevelItem(2)));

        // Nothing new: the final text says so and no mark changes.
        m_status.clear();
        QVERIFY(runCheck(panel));
        QCOMPARE(m_status.last(), loadResString(18520));
        QVERIFY(isNew(panel->m_channelList->topLevelItem(1)));
        QCOMPARE(sidebar->rssSectionIcon(), 8);
        QVERIFY(m_messages.isEmpty());

        // A feed nested too deeply is refused: the check reports it and the channel stays.
        m_server->feed(QStringLiteral("/1"), "<rss>" + QByteArray("<a>").repeated(5000) +
                                                 QByteArray("</a>").repeated(5000) + "</rss>");
        QVERIFY(runCheck(panel));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(panel->m_channelList->topLevelItemCount(), 3);
        m_messages.clear();

        // An empty list writes only the final text.
        auto empty = makeSidebar();
        m_status.clear();
        QVERIFY(runCheck(empty->m_rssPanel));
        QCOMPARE(m_status, QStringList{loadResString(18520)});
    }

    // A feed names the links of its headlines: only web addresses open, the rest are refused.
    void onlyWebLinksOpen()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = sidebar->m_rssPanel;
        const qint32 id = addChannel(panel, QStringLiteral("Links"), QStringLiteral("/l"));
        const QStringList links = {"file:///etc/passwd", "javascript:alert(1)", "data:text/html,<b>x</b>",
                                   "HTTPS://example.com/ok"};
        for (int i = 0; i < links.size(); ++i)
            panel->m_database->addHeadline(id, QString::number(i), QString(), links[i],
                                           QDateTime(QDate(2024, 5, 1 + i), QTime(9, 0), Qt::UTC));
        panel->fillChannelList();
        QTreeWidget *channels = panel->m_channelList;
        QTRY_VERIFY(!channels->visualItemRect(channels->topLevelItem(0)).isEmpty());
        doubleClick(channels, channels->topLevelItem(0));
        QTreeWidget *headlines = panel->m_headlineList;
        for (int row = 0; row < headlines->topLevelItemCount(); ++row)
            doubleClick(headlines, headlines->topLevelItem(row));
        QCOMPARE(m_opened, QStringList{QStringLiteral("https://example.com/ok")});
        QCOMPARE(m_messages.size(), 3);
    }

    void openAndMarkHeadlines()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = sidebar->m_rssPanel;
        const qint32 id = addChannel(panel, QStringLiteral("Days"), QStringLiteral("/d"));
        for (int day : {2, 3, 1})
            panel->m_database->addHeadline(id, QStringLiteral("%1 May").arg(day), QString(), QStringLiteral("http://d/%1").arg(day),
                                    QDateTime(QDate(2024, 5, day), QTime(9, 0), Qt::UTC));
        panel->fillChannelList();
        QTreeWidget *channels = panel->m_channelList;
        QTreeWidget *headlines = panel->m_headlineList;
        QTRY_VERIFY(!channels->visualItemRect(channels->topLevelItem(0)).isEmpty());
        doubleClick(channels, channels->topLevelItem(0));
        QCOMPARE(column(headlines, 0), (QStringList{"3 May", "2 May", "1 May"}));
        QVERIFY(headlines->topLevelItem(0)->font(0).bold());

        // Opening a headline opens its link in a new tab and marks it read.
        QTreeWidgetItem *top = headlines->topLevelItem(0);
        doubleClick(headlines, top);
        QCOMPARE(m_opened, QStringList{QStringLiteral("http://d/3")});
        QVERIFY(!top->font(0).bold());
        QCOMPARE(panel->m_database->newestUnreadHeadline(id)->headlineTitle, QStringLiteral("2 May"));
        // Ctrl toggles the read state without opening anything.
        doubleClick(headlines, top, Qt::ControlModifier);
        QVERIFY(top->font(0).bold());
        QCOMPARE(panel->m_database->newestUnreadHeadline(id)->headlineTitle, QStringLiteral("3 May"));
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
        QVERIFY(!panel->m_database->newestUnreadHeadline(id));

        // Ctrl on the channel marks everything read; Delete asks first.
        QVERIFY(panel->m_database->setChannelRead(id, false));
        channels->setCurrentItem(channels->topLevelItem(0));
        QTest::keyClick(channels, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(!panel->m_database->newestUnreadHeadline(id));
        m_answer = QMessageBox::No;
        QTest::keyClick(channels, Qt::Key_Delete);
        QCOMPARE(m_messages, QStringList{loadResString(18009)});
        QCOMPARE(channels->topLevelItemCount(), 1);
        m_answer = QMessageBox::Yes;
        QTest::keyClick(channels, Qt::Key_Delete);
        QCOMPARE(channels->topLevelItemCount(), 0);
        QCOMPARE(headlines->topLevelItemCount(), 0);
        QVERIFY(!panel->m_removeChannelButton->isEnabled());
        QVERIFY(panel->m_database->headlines(id)->isEmpty());
    }

    void removingAChannelDuringACheck()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = sidebar->m_rssPanel;
        m_server->feed(QStringLiteral("/slow"), rssFeed(QStringLiteral("S"), {{"s", "http://s/", "", ""}}));
        m_server->route(QStringLiteral("/slow")).delayMs = 300;
        m_server->feed(QStringLiteral("/next"), rssFeed(QStringLiteral("N"), {{"n", "http://n/", "", ""}}));
        addChannel(panel, QStringLiteral("A slow"), QStringLiteral("/slow"));
        const qint32 next = addChannel(panel, QStringLiteral("B next"), QStringLiteral("/next"));
        QSignalSpy finished(panel, &RssPanel::checkFinished);
        panel->onCheckClicked();
        QVERIFY(panel->isChecking());
        panel->onCheckClicked(); // a second check does not start
        panel->m_channelList->setCurrentItem(panel->m_channelList->topLevelItem(1));
        panel->onRemoveChannelClicked();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.count(), 1);
        QVERIFY(panel->m_database->headlines(next)->isEmpty());
        QCOMPARE(m_status.count(loadResString(18000) + "A slow"), 1);
        QCOMPARE(m_status.count(loadResString(18000) + "B next"), 0);
    }

    void clockRunsChecks()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = sidebar->m_rssPanel;
        m_server->feed(QStringLiteral("/c"), rssFeed(QStringLiteral("C"), {}));
        addChannel(panel, QStringLiteral("C"), QStringLiteral("/c"));
        AppState::settings.rssStartupCheck = true;
        AppState::settings.rssAutoCheckMinutes = 2;
        QSignalSpy finished(panel, &RssPanel::checkFinished);
        panel->runStartupCheck();
        QVERIFY(panel->isChecking());
        QVERIFY(finished.wait(20000));
        // Once only.
        panel->runStartupCheck();
        QVERIFY(!panel->isChecking());
        panel->onMinuteTick();
        QVERIFY(!panel->isChecking());
        panel->onMinuteTick(); // the second minute
        QVERIFY(panel->isChecking());
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
            RssPanel *panel = sidebar->m_rssPanel;
            m_server->route(QStringLiteral("/silent")).silent = true;
            const qint32 id = addChannel(panel, QStringLiteral("Quiet"), QStringLiteral("/silent"));
            panel->m_database->setClock([] { return QDateTime::currentDateTimeUtc().addDays(-10); });
            QVERIFY(panel->m_database->addHeadline(id, QStringLiteral("old"), QString(), QStringLiteral("u"), QDateTime()));
            QVERIFY(panel->m_database->setChannelRead(id, true));
            panel->m_database->setClock({});
            AppState::settings.readDeleteDays = 1;
            AppState::settings.unreadDeleteDays = 3;
            QSignalSpy finished(panel, &RssPanel::checkFinished);
            panel->onCheckClicked();
            QTRY_VERIFY(!m_server->targets().isEmpty());
            m_status.clear();
            sidebar->unload();
            QCOMPARE(finished.count(), 1);
            QVERIFY(m_status.isEmpty()); // no final text while closing
            QVERIFY(!panel->m_database);
        }
        RssDatabase db(file);
        QVERIFY(db.open());
        QCOMPARE(db.channels()->size(), 1);
        QVERIFY(db.headlines(db.channels()->first().channelId)->isEmpty());
    }

    void makersFeedShowsItsNewestHeadline()
    {
        auto sidebar = makeSidebar();
        RssPanel *panel = sidebar->m_rssPanel;
        m_server->feed(QStringLiteral("/maker"),
                       rssFeed(QStringLiteral("M"), {{"Newest", "http://m/2", "Tue, 02 Jan 2024 10:00:00 GMT", "new"},
                                                     {"Older", "http://m/1", "Mon, 01 Jan 2024 10:00:00 GMT", "old"}}));
        m_server->feed(QStringLiteral("/plain"), rssFeed(QStringLiteral("P"), {{"p", "http://p/", "", ""}}));
        addChannel(panel, QStringLiteral("M"), QStringLiteral("/maker"));
        addChannel(panel, QStringLiteral("P"), QStringLiteral("/plain"));
        const QString saved = RssPanel::makerFeedPrefix;
        RssPanel::makerFeedPrefix = m_server->url(QStringLiteral("/MAKER")).toUpper();
        QVERIFY(runCheck(panel));
        RssPanel::makerFeedPrefix = saved;
        QCOMPARE(m_tips, (QList<QStringList>{{"Newest", "new", "http://m/2"}}));
    }
};

QTEST_MAIN(TestRssPanel)
#include "tst_rsspanel.moc"
