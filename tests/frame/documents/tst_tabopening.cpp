#include "frame/mainwindowtest.h"

#include "sidebar/websitegroups.h"

#include <QHash>
#include <QScopeGuard>

namespace {

// What the pages of some documents went through from now on: each change of a page's
// visibility to the engine and each show and hide of its view, in order.
class VisibilityLog : public QObject
{
public:
    explicit VisibilityLog(const QList<DocumentWindow *> &documents)
    {
        for (DocumentWindow *document : documents) {
            connect(page(document), &QWebEnginePage::visibleChanged, this,
                    [this, document](bool visible) {
                        m_events[document] << (visible ? "page shown" : "page hidden");
                    });
            QWebEngineView *view = document->findChild<QWebEngineView *>();
            m_views.insert(view, document);
            view->installEventFilter(this);
        }
    }

    QStringList events(DocumentWindow *document) const { return m_events.value(document); }

    static QWebEnginePage *page(DocumentWindow *document)
    {
        return document->findChild<WebBrowser *>()->page();
    }
    // Seen: its page is visible to the engine and its view is shown.
    static bool isSeen(DocumentWindow *document)
    {
        return page(document)->isVisible() && document->findChild<QWebEngineView *>()->isVisible();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
            m_events[m_views.value(watched)]
                << (event->type() == QEvent::Show ? "view shown" : "view hidden");
        return false;
    }

private:
    QHash<QObject *, DocumentWindow *> m_views;
    QHash<DocumentWindow *, QStringList> m_events;
};

} // namespace

// Opening a tab, by every road, in a frame with real pages: only the new page is shown, only
// the one it replaces is covered, and the pages already covered are not woken.
class TestTabOpening : public MainWindowTest
{
    Q_OBJECT

private slots:
    void init() { resetForTest(); }

    void anOpeningWakesNoOtherPage_data()
    {
        QTest::addColumn<QString>("road");
        for (const char *road : {"Ctrl+N", "File > New", "New drop-down", "hand-over",
                                 "allowed popup", "link in a background tab", "website group",
                                 "saved pages"})
            QTest::newRow(road) << QString::fromLatin1(road);
    }

    void anOpeningWakesNoOtherPage()
    {
        QFETCH(QString, road);
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.numberedPage(1));
        // Closed, not only deleted, after a failure too.
        const auto close = qScopeGuard([&frame] { frame->close(); });
        QVERIFY(QTest::qWaitForWindowExposed(frame->windowHandle()));
        AppState::settings.popupKillerEnable = true;
        // For a popup the second page opens one as it loads, which the killer kills. A click
        // anywhere on a numbered page follows its link.
        enterInNewTab(*frame, road == QLatin1String("allowed popup") ? m_server.url("/popup")
                                                                      : m_server.numberedPage(2));
        enterInNewTab(*frame, m_server.numberedPage(3));
        enterInNewTab(*frame, m_server.numberedPage(4));
        NavigatorPalette *navigator = frame->findChild<DocumentArea *>()->navigator();
        for (int k = 1; k <= 4; ++k)
            QTRY_COMPARE(navigator->rowStatus(k), QStringLiteral("Completed"));
        const QList<DocumentWindow *> before = frameDocuments(*frame);
        QCOMPARE(before.size(), 4);
        DocumentWindow *replaced = before[1];
        frame->findChild<DocumentArea *>()->bringToFront(replaced);
        QVERIFY(VisibilityLog::isSeen(replaced));
        const VisibilityLog log(before);

        int opened = 1;
        CommandRegistry *commands = frame->findChild<CommandRegistry *>();
        AppState::settings.sitesHome1 = m_server.page("Home");
        AppState::settings.sitesHome2 = m_server.page("Home 2");
        if (road == QLatin1String("Ctrl+N")) {
            QTest::keyClick(frame->windowHandle(), Qt::Key_N, Qt::ControlModifier);
        } else if (road == QLatin1String("File > New")) {
            commands->trigger("mnuFileNew");
        } else if (road == QLatin1String("New drop-down")) {
            commands->trigger("mnuNewHome2");
        } else if (road == QLatin1String("hand-over")) {
            frame->handOver(m_server.page("Handed"));
        } else if (road == QLatin1String("allowed popup")) {
            AppState::settings.popupKillerEnable = false;
            commands->trigger("mnuNavigateRefresh");
        } else if (road == QLatin1String("link in a background tab")) {
            // The engine takes clicks once the page has been drawn: the click is repeated until
            // one reaches the link.
            QWidget *input = replaced->findChild<QWebEngineView *>()->focusProxy();
            QVERIFY(input);
            QVERIFY(QTest::qWaitFor(
                [&] {
                    QTest::mouseClick(input, Qt::LeftButton, Qt::ControlModifier, QPoint(200, 150));
                    return QTest::qWaitFor([&] { return frameDocuments(*frame).size() > 4; }, 500);
                },
                30000));
        } else if (road == QLatin1String("website group")) {
            opened = 2;
            QVERIFY(WebsiteGroups(WebsiteGroups::defaultFolder())
                        .saveGroup(QStringLiteral("Pair"), false, QString(),
                                   {m_server.page("Grouped 1"), m_server.page("Grouped 2")}));
            frame->findChild<Sidebar *>()->fillGroupList();
            auto *groups = frame->findChild<QTreeWidget *>(QStringLiteral("ListView3"));
            QVERIFY(groups && groups->topLevelItemCount() == 1);
            groups->setCurrentItem(groups->topLevelItem(0));
            QTest::keyClick(groups, Qt::Key_Return);
        } else {
            opened = 2;
            const SettingsStore::Batch batch(store());
            store().write("Settings", "DocumentCount", "2");
            store().write("Settings", "Document1", m_server.page("Saved 1"));
            store().write("Settings", "Document2", m_server.page("Saved 2"));
            frame->findChild<DocumentArea *>()->loadAll();
        }
        QTRY_COMPARE(frameDocuments(*frame).size(), before.size() + opened);

        // A tab opened behind the active one covers nothing.
        const QList<DocumentWindow *> after = frameDocuments(*frame);
        const bool behind = road == QLatin1String("link in a background tab");
        DocumentWindow *front = behind ? replaced : after.last();
        QCOMPARE(activeFrameDocument(*frame), front);
        for (DocumentWindow *document : after) {
            const QString name = QStringLiteral("document %1").arg(after.indexOf(document) + 1);
            QCOMPARE(VisibilityLog::isSeen(document), document == front);
            if (document == replaced && !behind) {
                QVERIFY2(!log.events(document).isEmpty(), qPrintable(name));
                QVERIFY2(log.events(document).filter(QStringLiteral("shown")).isEmpty(),
                         qPrintable(name + u' ' + log.events(document).join(u',')));
            } else if (before.contains(document)) {
                QVERIFY2(log.events(document).isEmpty(),
                         qPrintable(name + u' ' + log.events(document).join(u',')));
            }
        }
    }
};

QTEST_MAIN(TestTabOpening)
#include "tst_tabopening.moc"
