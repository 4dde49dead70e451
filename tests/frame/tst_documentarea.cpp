#include "document/abstractdocument.h"
#include "document/documentrules.h"
#include "frame/documentarea.h"
#include "frame/documenttabbar.h"
#include "frame/navigatorpalette.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

// A document without a page: it reports only what a test makes it report.
class FakeDocument : public AbstractDocument
{
public:
    QString address;
    int percent = 0;
    bool secure = false;
    bool active = false;
    bool onScreen = true;

    void load(const QString &url) override { address = url; }
    void openNewWindow(NewWindowRequest &) override {}
    void refresh() override {}
    QString locationUrl() const override { return address; }
    QString locationName() const override { return address; }
    int progress() const override { return percent; }
    bool isSecure() const override { return secure; }
    void activate() override { active = true; }
    void deactivate() override { active = false; }
    void setOnScreen(bool seen) override { onScreen = seen; }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        Q_EMIT closing(address);
        event->accept();
    }
};

} // namespace

// The document area with fake documents: tabs, navigator rows and positions stay in step, and
// only the active document reaches the frame.
class TestDocumentArea : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> m_window;
    DocumentArea *m_area = nullptr;

    FakeDocument *open(const QString &name)
    {
        return static_cast<FakeDocument *>(
            m_area->openDocument(QStringLiteral("http://%1.invalid/").arg(name)));
    }

    // Tab captions and navigator rows by position, checked to agree with the documents.
    QStringList shown(const QList<FakeDocument *> &expected)
    {
        QStringList captions;
        NavigatorPalette *navigator = m_area->navigator();
        if (navigator->rowCount() != m_area->tabBar()->itemCount() ||
            m_area->documents().size() != expected.size())
            return {QStringLiteral("(out of step)")};
        for (int k = 1; k <= m_area->tabBar()->itemCount(); ++k) {
            FakeDocument *document = expected[k - 1];
            if (m_area->documentAt(k) != document || m_area->positionOf(document) != k ||
                navigator->rowText(k) != m_area->tabBar()->caption(k))
                return {QStringLiteral("(out of step at %1)").arg(k)};
            captions << m_area->tabBar()->caption(k).section(u'.', 0, 0).mid(7);
        }
        return captions;
    }

private slots:
    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_area = new DocumentArea(m_window.get(), [] { return new FakeDocument; });
        auto *layout = new QVBoxLayout(m_window.get());
        layout->addWidget(m_area->tabBar());
        layout->addWidget(m_area->mdiArea());
        m_window->resize(640, 480);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void closesKeepTabsRowsAndPositionsInStep()
    {
        QSignalSpy opened(m_area, &DocumentArea::addressOpened);
        FakeDocument *a = open("a");
        FakeDocument *b = open("b");
        FakeDocument *c = open("c");
        FakeDocument *d = open("d");
        QCOMPARE(opened.size(), 4);
        QCOMPARE(shown({a, b, c, d}), QStringList({"a", "b", "c", "d"}));
        QCOMPARE(m_area->activeDocument(), d);
        QVERIFY(d->active && !a->active);
        QVERIFY(m_area->navigator()->rowBold(4) && !m_area->navigator()->rowBold(1));
        QVERIFY(m_area->tabBar()->isSelected(4));

        // A middle one, the first, then the last; closing is queued.
        m_area->runTabAction(b, 1);
        QCOMPARE(m_area->positionOf(b), 2);
        QTRY_COMPARE(shown({a, c, d}), QStringList({"a", "c", "d"}));
        QCOMPARE(m_area->lastClosedAddress(), QStringLiteral("http://b.invalid/"));
        m_area->runTabAction(a, 1);
        QTRY_COMPARE(shown({c, d}), QStringList({"c", "d"}));
        m_area->runTabAction(d, 1);
        QTRY_COMPARE(shown({c}), QStringList({"c"}));
        QCOMPARE(m_area->lastClosedAddress(), QStringLiteral("http://d.invalid/"));
        // The active one closed: the one left takes over.
        QTRY_COMPARE(m_area->activeDocument(), c);
        QVERIFY(c->active);
        QVERIFY(m_area->navigator()->rowBold(1));
    }

    // Pages no one can see are hidden to the engine: behind the maximised active document, in
    // a minimised frame; tiled documents are all seen.
    void onlyPagesThatCanBeSeenAreOnScreen()
    {
        FakeDocument *a = open("a");
        FakeDocument *b = open("b");
        FakeDocument *c = open("c");
        auto seen = [&] { return QList<bool>{a->onScreen, b->onScreen, c->onScreen}; };
        QCOMPARE(seen(), QList<bool>({false, false, true}));
        m_area->bringToFront(a);
        QCOMPARE(seen(), QList<bool>({true, false, false}));
        m_area->tileHorizontally();
        QCOMPARE(seen(), QList<bool>({true, true, true}));
        m_area->maximizeActive();
        QCOMPARE(seen(), QList<bool>({true, false, false}));
        m_window->showMinimized();
        QTRY_COMPARE(seen(), QList<bool>({false, false, false}));
        m_window->showNormal();
        QTRY_COMPARE(seen(), QList<bool>({true, false, false}));
        m_window->hide();
        QCOMPARE(seen(), QList<bool>({false, false, false}));
        m_window->show();
        QCOMPARE(seen(), QList<bool>({true, false, false}));
        // The active one closes: the one brought forward is seen.
        m_area->runTabAction(a, 1);
        QTRY_VERIFY(m_area->activeDocument() && m_area->activeDocument() != a);
        auto *next = static_cast<FakeDocument *>(m_area->activeDocument());
        QVERIFY(next->onScreen);
        QCOMPARE(b->onScreen && c->onScreen, false);
    }

    // The mouse over the free area of the documents folds the navigator palette up.
    void mouseOverTheAreaFoldsThePalette()
    {
        NavigatorPalette *palette = m_area->navigator();
        palette->m_foldTag = QStringLiteral("0");
        QTest::mouseMove(m_area->mdiArea()->viewport(), QPoint(20, 20));
        QTRY_COMPARE(palette->m_foldTag, QStringLiteral("1"));
    }

    // A page's title reaches the tab's tool tip as text, never as markup.
    void titlesAreShownAsText()
    {
        FakeDocument *a = open("a");
        const QString title = QStringLiteral("<img src=\"file:///etc/x.png\"><b>Bold</b>");
        Q_EMIT a->titleChanged(title);
        QCOMPARE(m_area->tabBar()->toolTipText(1), title);
        const QString shown = m_area->tabBar()->tabToolTip(0);
        QVERIFY(shown.contains(QStringLiteral("&lt;b&gt;Bold&lt;/b&gt;")));
        QVERIFY(!shown.contains(QStringLiteral("<img")));
    }

    void onlyTheActiveDocumentReachesTheFrame()
    {
        QSignalSpy status(m_area, &DocumentArea::currentStatusTextChanged);
        QSignalSpy progress(m_area, &DocumentArea::currentProgressChanged);
        QSignalSpy secure(m_area, &DocumentArea::currentSecureChanged);
        AbstractDocument *active = nullptr;
        connect(m_area, &DocumentArea::activeDocumentChanged, this,
                [&active](AbstractDocument *document) { active = document; });
        FakeDocument *a = open("a");
        FakeDocument *b = open("b");
        QCOMPARE(active, b);
        status.clear();
        progress.clear();

        // The background document's reports show on its own tab and row only.
        Q_EMIT a->statusTextChanged(QStringLiteral("background"));
        Q_EMIT a->progressChanged(40);
        QVERIFY(status.isEmpty() && progress.isEmpty());
        QCOMPARE(m_area->navigator()->rowStatus(1), DocumentRules::progressText(40));
        Q_EMIT b->statusTextChanged(QStringLiteral("front"));
        QCOMPARE(status.size(), 1);
        QCOMPARE(status.last().at(0).toString(), QStringLiteral("front"));

        // A page completed in the background blinks its tab until looked at.
        Q_EMIT a->loadCompleted();
        QCOMPARE(m_area->navigator()->rowStatus(1), DocumentRules::completedText());
        QTRY_COMPARE(m_area->tabBar()->iconIndex(1), DocumentRules::kIconHighlighted);

        // Activation hands the frame the new document's state.
        a->percent = 70;
        a->secure = true;
        status.clear();
        m_area->bringToFront(a);
        QCOMPARE(active, a);
        QVERIFY(a->active && !b->active);
        QCOMPARE(m_area->tabBar()->iconIndex(1), DocumentRules::kIconLoaded);
        QCOMPARE(status.size(), 1);
        QCOMPARE(status.last().at(0).toString(), QString());
        QCOMPARE(progress.last().at(0).toInt(), 70);
        QCOMPARE(secure.last().at(0).toBool(), true);
        QVERIFY(m_area->navigator()->rowBold(1) && !m_area->navigator()->rowBold(2));
        QVERIFY(m_area->tabBar()->isSelected(1));
        Q_EMIT b->statusTextChanged(QStringLiteral("now in the background"));
        QCOMPARE(status.size(), 1);

        // The active document closes: the frame's status is cleared before the next one comes.
        progress.clear();
        m_area->closeDocument(a);
        QTRY_COMPARE(active, b);
        QCOMPARE(progress.first().at(0).toInt(), 0);
        QCOMPARE(status.at(1).at(0).toString(), QString());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestDocumentArea test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_documentarea.moc"
