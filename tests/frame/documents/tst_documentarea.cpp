#include "core/appstate.h"
#include "core/settingsstore.h"
#include "document/abstractdocument.h"
#include "document/documentrules.h"
#include "frame/chrome/navigatorpalette.h"
#include "frame/documents/documentarea.h"
#include "frame/documents/documenttabbar.h"
#include "frame/documents/subwindowarrangement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QAbstractButton>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

// A document without a page: it reports only what a test makes it report.
class FakeDocument : public AbstractDocument
{
public:
    QString address;
    // What the page was given to load.
    QUrl url;
    int percent = 0;
    bool secure = false;
    bool active = false;
    bool onScreen = true;
    // Each time the document was told it came into view or was covered.
    int onScreenChanges = 0;
    // Everything it was told, in order (a repeat of what it was last told included).
    QList<bool> told;
    // The sizes the document had while it was covered (a covered page is not laid out anew).
    QList<QSize> coveredSizes;
    int refreshes = 0;
    int navigations = 0;

    void load(const QString &text, const QUrl &target) override
    {
        address = text;
        url = target;
    }
    void navigate(const QString &text, const QUrl &target) override
    {
        address = text;
        url = target;
        ++navigations;
    }
    void openNewWindow(NewWindowRequest &) override {}
    void refresh() override { ++refreshes; }
    QString locationUrl() const override { return address; }
    QString locationName() const override { return address; }
    int progress() const override { return percent; }
    bool isSecure() const override { return secure; }
    void activate() override { active = true; }
    void deactivate() override { active = false; }
    void setOnScreen(bool seen) override
    {
        if (seen != onScreen)
            ++onScreenChanges;
        onScreen = seen;
        told.append(seen);
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        if (!onScreen)
            coveredSizes.append(event->size());
        AbstractDocument::resizeEvent(event);
    }

    void closeEvent(QCloseEvent *event) override
    {
        Q_EMIT closing(address);
        // A page closed while loading reports once more as it stops.
        if (percent > 0)
            Q_EMIT progressChanged(percent);
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
            if (m_area->documents().value(k - 1) != document ||
                navigator->rowText(k) != m_area->tabBar()->tabText(k - 1))
                return {QStringLiteral("(out of step at %1)").arg(k)};
            captions << m_area->tabBar()->tabText(k - 1).section(u'.', 0, 0).mid(7);
        }
        return captions;
    }

    static constexpr qint32 SettingsModel::*kControlSettings[] = {
        &SettingsModel::controlLeft, &SettingsModel::controlShiftLeft, &SettingsModel::controlRight,
        &SettingsModel::controlShiftRight, &SettingsModel::controlDouble};

    QPoint tabCenter(int position) const
    {
        return m_area->tabBar()->tabRect(position - 1).center();
    }

    QAbstractButton *closeButton(int position) const
    {
        DocumentTabBar *bar = m_area->tabBar();
        QWidget *button = bar->tabButton(position - 1, QTabBar::RightSide);
        if (!button)
            button = bar->tabButton(position - 1, QTabBar::LeftSide);
        return qobject_cast<QAbstractButton *>(button);
    }

    // Five documents, each shown once, as after opening them one by one and looking at each;
    // the one at the index (from 0) in front.
    QList<FakeDocument *> openFiveLookedAt(int front)
    {
        QList<FakeDocument *> all;
        for (const char *name : {"a", "b", "c", "d", "e"})
            all.append(open(name));
        for (FakeDocument *d : all)
            m_area->bringToFront(d);
        m_area->bringToFront(all[front]);
        return all;
    }

    // "shown, covered": what a document was told, for a failure message.
    static QString toldText(const QList<bool> &told)
    {
        QStringList words;
        for (bool seen : told)
            words << (seen ? QStringLiteral("shown") : QStringLiteral("covered"));
        return words.isEmpty() ? QStringLiteral("nothing") : words.join(QStringLiteral(", "));
    }

    static QMdiSubWindow *subOf(AbstractDocument *document)
    {
        return qobject_cast<QMdiSubWindow *>(document->parentWidget());
    }

private slots:
    // The pure placements: the tabs cycling selects, the rectangles of tiled windows.
    void cyclingWrapsAtBothEnds()
    {
        QCOMPARE(DocumentTabBar::cycledTab(3, 3, false), 1);
        QCOMPARE(DocumentTabBar::cycledTab(1, 3, true), 3);
        QCOMPARE(DocumentTabBar::cycledTab(2, 3, false), 3);
        QCOMPARE(DocumentTabBar::cycledTab(1, 1, false), 0);
    }
    void tileHorizontallyFillsTheArea()
    {
        const QList<QRect> rects = SubWindowArrangement::tileHorizontally(QRect(10, 20, 300, 100), 3);
        QCOMPARE(rects, QList<QRect>({QRect(10, 20, 300, 34), QRect(10, 54, 300, 33),
                                      QRect(10, 87, 300, 33)}));
        QVERIFY(SubWindowArrangement::tileHorizontally(QRect(0, 0, 300, 100), 0).isEmpty());
        QVERIFY(SubWindowArrangement::tileHorizontally(QRect(), 4).isEmpty());
    }

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

    void cleanup()
    {
        m_window.reset();
        AppState::settings = SettingsModel();
    }

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
        QCOMPARE(m_area->documents().indexOf(b), 1); // until the queued close
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

    // Every click on a tab brings its document forward, then runs the action the "Control"
    // setting for that button and modifier holds.
    void tabClicksRunTheConfiguredAction_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("setting");
        QTest::addColumn<int>("action");
        const auto left = Qt::LeftButton, right = Qt::RightButton;
        const Qt::KeyboardModifiers none, shift(Qt::ShiftModifier), ctrl(Qt::ControlModifier),
            alt(Qt::AltModifier);
        constexpr int Left = 0, ShiftLeft = 1, Right = 2, ShiftRight = 3, Double = 4;
        for (int action = 0; action <= 6; ++action) {
            const QByteArray n = QByteArray::number(action == 6 ? 9 : action);
            const int code = action == 6 ? 9 : action;
            QTest::newRow("left " + n) << false << left << none << Left << code;
            QTest::newRow("shift+left " + n) << false << left << shift << ShiftLeft << code;
            QTest::newRow("right " + n) << false << right << none << Right << code;
            QTest::newRow("shift+right " + n)
                << false << right << shift << ShiftRight << code;
            QTest::newRow("double " + n) << true << left << none << Double << code;
        }
        QTest::newRow("ctrl+left") << false << left << ctrl << ShiftLeft << 1;
        QTest::newRow("alt+left") << false << left << alt << ShiftLeft << 2;
        QTest::newRow("ctrl+right") << false << right << ctrl << ShiftRight << 4;
        QTest::newRow("middle") << false << Qt::MiddleButton << none << Right << 5;
        QTest::newRow("alt+middle")
            << false << Qt::MiddleButton << alt << ShiftRight << 2;
    }

    void tabClicksRunTheConfiguredAction()
    {
        QFETCH(bool, doubleClick);
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, setting);
        QFETCH(int, action);
        // Every other setting would do something visible: only the one under test may act.
        SettingsModel &s = AppState::settings;
        s.controlLeft = s.controlShiftLeft = s.controlRight = s.controlShiftRight =
            s.controlDouble = 0;
        s.*kControlSettings[setting] = action;

        FakeDocument *a = open("a");
        FakeDocument *b = open("b");
        FakeDocument *c = open("c");
        QSignalSpy menus(m_area, &DocumentArea::tabMenuRequested);
        QSignalSpy activated(m_area, &DocumentArea::activeDocumentChanged);
        DocumentTabBar *bar = m_area->tabBar();
        const QPoint at = tabCenter(1);
        QTest::mouseClick(bar, button, modifiers, at);
        if (doubleClick) // the second click of a double click arrives as the double click
            QTest::mouseDClick(bar, button, modifiers, at);

        QVERIFY(!activated.isEmpty());
        QCOMPARE(activated.first().at(0).value<AbstractDocument *>(), a);
        QVERIFY(!c->active);
        QVERIFY(bar->isSelected(action == 5 ? 4 : 1));
        switch (action) {
        case 1:
            QTRY_COMPARE(shown({b, c}), QStringList({"b", "c"}));
            return;
        case 2:
            QVERIFY(bar->isShrunk(1) && !bar->isShrunk(2));
            QCOMPARE(bar->tabText(0), DocumentRules::tabCaption(a->address, true));
            // Shrinking twice gives the full caption back.
            m_area->runTabAction(a, 2);
            QCOMPARE(bar->tabText(0), DocumentRules::tabCaption(a->address, false));
            break;
        case 3:
            QCOMPARE(menus.size(), 1);
            QCOMPARE(menus.first().at(0).value<AbstractDocument *>(), a);
            QCOMPARE(menus.first().at(1).toPoint(), bar->mapToGlobal(at));
            break;
        case 4:
            QCOMPARE(a->refreshes, 1);
            break;
        case 5:
            QCOMPARE(m_area->documents().size(), 4);
            QCOMPARE(static_cast<FakeDocument *>(m_area->documents().value(3))->address, a->address);
            QCOMPARE(m_area->activeDocument(), m_area->documents().value(3));
            return;
        default:
            break;
        }
        if (action != 3)
            QVERIFY(menus.isEmpty());
        QCOMPARE(a->refreshes, action == 4 ? 1 : 0);
        QTest::qWait(0); // a close would have been queued
        QCOMPARE(shown({a, b, c}), QStringList({"a", "b", "c"}));
    }

    // Clicks on the strip beside the tabs: the New menu at the pointer, a new tab for a double
    // click or Ctrl with the left button, nothing for a plain click.
    void clicksBesideTheTabs()
    {
        open("a");
        QSignalSpy menus(m_area, &DocumentArea::newMenuRequested);
        QSignalSpy newTabs(m_area, &DocumentArea::newTabRequested);
        DocumentTabBar *bar = m_area->tabBar();
        const QPoint empty(bar->tabRect(0).right() + 40, bar->height() / 2);
        QCOMPARE(bar->tabAt(empty), -1);
        QTest::mouseClick(bar, Qt::RightButton, {}, empty);
        QCOMPARE(menus.size(), 1);
        QCOMPARE(menus.first().at(0).toPoint(), bar->mapToGlobal(empty));
        QTest::mouseClick(bar, Qt::LeftButton, {}, empty);
        QCOMPARE(newTabs.size(), 0);
        QTest::mouseClick(bar, Qt::LeftButton, Qt::ControlModifier, empty);
        QCOMPARE(newTabs.size(), 1);
        QTest::mouseDClick(bar, Qt::LeftButton, {}, empty);
        QCOMPARE(newTabs.size(), 2);
    }

    // A tab's close button closes that tab's document, whichever is active, and takes exactly
    // one tab: also when the second half of a double click lands on the tab moved up into the
    // place, when the last tab closes, and when a loading page reports as it stops.
    void closeButtonsTakeOneTabEach()
    {
        FakeDocument *a = open("a");
        FakeDocument *b = open("b");
        FakeDocument *c = open("c");
        FakeDocument *d = open("d");
        Q_EMIT b->loadCompleted();
        b->percent = 80; // loading again
        Q_EMIT b->progressChanged(80);
        QTest::mouseClick(closeButton(2), Qt::LeftButton);
        QTRY_COMPARE(shown({a, c, d}), QStringList({"a", "c", "d"}));
        QCOMPARE(m_area->activeDocument(), d);
        QCOMPARE(m_area->tabBar()->iconIndex(2), 0);
        QCOMPARE(m_area->navigator()->rowStatus(2), QString());

        // The double click: its first click closes a, its second arrives at c's button.
        QTest::mouseClick(closeButton(1), Qt::LeftButton);
        QTRY_COMPARE(shown({c, d}), QStringList({"c", "d"}));
        QAbstractButton *moved = closeButton(1);
        QMouseEvent second(QEvent::MouseButtonDblClick, moved->rect().center(),
                           moved->mapToGlobal(moved->rect().center()), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(moved, &second);
        QTest::mouseRelease(moved, Qt::LeftButton);
        QTest::qWait(0);
        QCOMPARE(shown({c, d}), QStringList({"c", "d"}));

        // The same for a double click on a tab whose click closes it.
        AppState::settings.controlLeft = 1;
        AppState::settings.controlDouble = 1;
        QTest::mouseClick(m_area->tabBar(), Qt::LeftButton, {}, tabCenter(1));
        QTRY_COMPARE(shown({d}), QStringList({"d"}));
        QMouseEvent onTab(QEvent::MouseButtonDblClick, tabCenter(1),
                          m_area->tabBar()->mapToGlobal(tabCenter(1)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_area->tabBar(), &onTab);
        QTest::qWait(0);
        QCOMPARE(shown({d}), QStringList({"d"}));

        // The last one, loading.
        QSignalSpy active(m_area, &DocumentArea::activeDocumentChanged);
        d->percent = 70;
        QTest::mouseClick(closeButton(1), Qt::LeftButton);
        QTRY_COMPARE(shown({}), QStringList());
        QVERIFY(!m_area->activeDocument());
        QVERIFY(!active.last().at(0).value<AbstractDocument *>());
        QCOMPARE(m_area->lastClosedAddress(), QStringLiteral("http://d.invalid/"));
    }

    // Tiled and cascaded documents are framed windows with their pages' titles; a tab click
    // keeps the arrangement; Maximize All gives back the tabbed view with the active on top.
    void arrangementsFrameTheDocuments()
    {
        FakeDocument *a = open("a");
        FakeDocument *b = open("b");
        FakeDocument *c = open("c");
        Q_EMIT b->titleChanged(QStringLiteral("Bee"));
        const QList<FakeDocument *> all{a, b, c};
        // Framed: every document in a window with a title bar. Tabbed: no frames, and the active
        // document fills the area.
        auto framed = [&](bool expected) {
            for (FakeDocument *d : all) {
                QMdiSubWindow *sub = subOf(d);
                if (sub->windowFlags().testFlag(Qt::FramelessWindowHint) == expected ||
                    sub->isHidden())
                    return false;
                if (expected && (d->geometry().top() <= 0 || sub->isMaximized()))
                    return false;
            }
            QMdiSubWindow *active = m_area->mdiArea()->currentSubWindow();
            return expected || (active->isMaximized() && active->widget()->geometry().top() == 0 &&
                                active->size() == m_area->mdiArea()->viewport()->size());
        };
        QVERIFY(framed(false));

        m_area->arrangement()->tileHorizontally();
        QVERIFY(framed(true));
        QCOMPARE(subOf(b)->windowTitle(), QStringLiteral("Bee"));
        QCOMPARE(subOf(a)->windowTitle(), a->address);
        QCOMPARE(subOf(b)->geometry().top(), subOf(a)->geometry().bottom() + 1);
        QTest::mouseClick(m_area->tabBar(), Qt::LeftButton, {}, tabCenter(2));
        QCOMPARE(m_area->activeDocument(), b);
        QVERIFY(framed(true));

        m_area->arrangement()->cascade();
        QVERIFY(framed(true));
        // Each one step down and right of the one before, all large enough to read.
        const QSize room = m_area->mdiArea()->viewport()->size();
        const QPoint step = subOf(b)->pos() - subOf(a)->pos();
        QVERIFY(step.x() > 0 && step.x() == step.y());
        QCOMPARE(subOf(c)->pos() - subOf(b)->pos(), step);
        QCOMPARE(subOf(c)->geometry().bottomRight(), QPoint(room.width() - 1, room.height() - 1));
        QVERIFY(subOf(a)->width() > room.width() / 2 && subOf(a)->height() > room.height() / 2);
        QCOMPARE(m_area->mdiArea()->subWindowList(QMdiArea::StackingOrder).last(), subOf(b));

        m_area->arrangement()->minimizeAll();
        QVERIFY(subOf(a)->isMinimized() && subOf(c)->isMinimized());
        // A tab click brings its document back from the shelf.
        QTest::mouseClick(m_area->tabBar(), Qt::LeftButton, {}, tabCenter(3));
        QVERIFY(!subOf(c)->isMinimized() && !subOf(c)->isMaximized());

        m_area->arrangement()->maximizeAll();
        QVERIFY(!m_area->arrangement()->isArranged());
        QVERIFY(framed(false));
        QCOMPARE(m_area->activeDocument(), c);
        QCOMPARE(m_area->mdiArea()->subWindowList(QMdiArea::StackingOrder).last(), subOf(c));

        // Maximising one framed document from its title bar is Maximize All too.
        m_area->arrangement()->cascade();
        subOf(a)->showMaximized();
        QVERIFY(!m_area->arrangement()->isArranged());
        QVERIFY(framed(false));
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
        m_area->arrangement()->tileHorizontally();
        QCOMPARE(seen(), QList<bool>({true, true, true}));
        m_area->arrangement()->maximizeAll();
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

    void aSwitchChangesOnlyTheTwoPages_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("next tab (Ctrl+Tab)") << 0;
        QTest::newRow("previous tab (Ctrl+Shift+Tab)") << 1;
        QTest::newRow("click on a tab") << 2;
        QTest::newRow("Window menu") << 3;
        QTest::newRow("navigator row") << 4;
    }

    // A switch shows the page brought forward and covers the one left; no other page is told
    // anything, and a covered page keeps the size it was shown at.
    void aSwitchChangesOnlyTheTwoPages()
    {
        QFETCH(int, way);
        const QList<FakeDocument *> all = openFiveLookedAt(2);
        const QSize shownSize = all[2]->size();
        QVERIFY(!shownSize.isEmpty());
        for (int round = 0; round < 6; ++round) {
            for (FakeDocument *d : all) {
                d->onScreenChanges = 0;
                d->coveredSizes.clear();
            }
            auto *left = static_cast<FakeDocument *>(m_area->activeDocument());
            const int from = int(all.indexOf(left));
            int to = from;
            switch (way) {
            case 0:
                m_area->cycleTabs(false);
                to = (from + 1) % 5;
                break;
            case 1:
                m_area->cycleTabs(true);
                to = (from + 4) % 5;
                break;
            case 2:
                to = (from + 2) % 5;
                QTest::mouseClick(m_area->tabBar(), Qt::LeftButton, {}, tabCenter(to + 1));
                break;
            case 3:
                to = (from + 3) % 5;
                m_area->bringToFront(all[to]);
                break;
            default:
                to = (from + 4) % 5;
                Q_EMIT m_area->navigator()->rowClicked(to + 1);
                break;
            }
            QCOMPARE(m_area->activeDocument(), all[to]);
            QList<int> changes;
            for (FakeDocument *d : all)
                changes.append(d->onScreenChanges);
            QList<int> expected(5, 0);
            expected[from] = expected[to] = 1;
            QCOMPARE(changes, expected);
            for (FakeDocument *d : all) {
                QCOMPARE(d->onScreen, d == all[to]);
                QCOMPARE(d->coveredSizes, QList<QSize>());
                QCOMPARE(d->size(), shownSize);
            }
        }
    }

    void anOpeningChangesOnlyTheTwoPages_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("new document (Ctrl+N, New, hand-over, a group's page)") << 0;
        QTest::newRow("duplicated tab") << 1;
        QTest::newRow("saved pages restored") << 2;
    }

    // Opening a tab shows its page and covers the one it replaces; the pages already covered
    // are told nothing, and keep their size. Saved pages restored show only the last of them.
    void anOpeningChangesOnlyTheTwoPages()
    {
        QFETCH(int, way);
        const QList<FakeDocument *> before = openFiveLookedAt(1);
        const QSize shownSize = before[1]->size();
        for (FakeDocument *d : before) {
            d->told.clear();
            d->coveredSizes.clear();
        }
        int opened = 1;
        switch (way) {
        case 0:
            open("new");
            break;
        case 1:
            m_area->runTabAction(before[3], 5);
            break;
        default: {
            SettingsStore &store = SettingsStore::instance();
            opened = 3;
            store.write(QStringLiteral("Settings"), QStringLiteral("DocumentCount"),
                        QString::number(opened));
            for (int i = 1; i <= opened; ++i)
                store.write(QStringLiteral("Settings"), QStringLiteral("Document%1").arg(i),
                            QStringLiteral("http://saved%1.invalid/").arg(i));
            m_area->loadAll();
            break;
        }
        }
        const QList<AbstractDocument *> all = m_area->documents();
        QCOMPARE(all.size(), before.size() + opened);
        QCOMPARE(m_area->activeDocument(), all.last());
        for (AbstractDocument *document : all) {
            auto *d = static_cast<FakeDocument *>(document);
            const int k = int(all.indexOf(document));
            QList<bool> expected;
            if (d == all.last())
                expected = {true};
            else if (d == before[1] || k >= before.size())
                expected = {false};
            // Compared as text: Qt 6.4 compares two empty lists of bool with a null pointer.
            QVERIFY2(toldText(d->told) == toldText(expected),
                     qPrintable(QStringLiteral("document %1 was told %2").arg(k + 1).arg(toldText(d->told))));
            QCOMPARE(d->coveredSizes, QList<QSize>());
            QCOMPARE(d->size(), shownSize);
        }
    }

    // Tabs added before the window first shows give the strip its height at once: laid out
    // with an empty strip, the window would lay out (and draw its page) again at the first
    // change of a shown tab.
    void tabsAddedBeforeTheFirstShowSizeTheStrip()
    {
        // The strip in a holder on a toolbar, as in the frame's band.
        QMainWindow window;
        auto *area = new DocumentArea(&window, [] { return new FakeDocument; });
        auto *holder = new QWidget;
        (new QHBoxLayout(holder))->addWidget(area->tabBar());
        auto *band = new QToolBar(&window);
        band->addWidget(holder);
        window.addToolBar(Qt::TopToolBarArea, band);
        window.setCentralWidget(area->mdiArea());
        window.resize(640, 480);
        window.layout()->activate();
        area->openDocument(QStringLiteral("http://a.invalid/"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(area->tabBar()->height() > 0);
        QCOMPARE(area->tabBar()->height(), area->tabBar()->sizeHint().height());
    }

    // The mouse over the free area of the documents folds the navigator palette up.
    void mouseOverTheAreaFoldsThePalette()
    {
        NavigatorPalette *palette = m_area->navigator();
        const int height = palette->height();
        QTest::mouseMove(m_area->mdiArea()->viewport(), QPoint(20, 20));
        QTRY_VERIFY(palette->height() < height);
    }

    // A palette just under 5000 twips grows one step past it and stops; a sticky one does not
    // move. The rows read back as written, and reads outside them are empty.
    void paletteFoldsAndReadsItsRows()
    {
        QWidget owner;
        NavigatorPalette palette(&owner);
        auto *foldTimer = palette.findChild<QTimer *>(QStringLiteral("Timer1"));
        QVERIFY(foldTimer);
        palette.setHeightTwips(4900);
        QVERIFY(qAbs(palette.heightTwips() - 4900) < 15);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&palette, &enter);
        QTRY_VERIFY(!foldTimer->isActive());
        QVERIFY(palette.heightTwips() > 5000 && palette.heightTwips() < 5000 + 250 + 15);

        auto *bar = palette.findChild<QToolBar *>(QStringLiteral("cToolbar1"));
        QVERIFY(bar);
        auto *sticky = bar->findChild<QAbstractButton *>(QStringLiteral("Sticky"));
        QVERIFY(sticky && !palette.stickyDown());
        sticky->click();
        QVERIFY(palette.stickyDown());
        const int height = palette.heightTwips();
        QSignalSpy ticks(foldTimer, &QTimer::timeout);
        palette.startShrinking();
        QTRY_VERIFY(ticks.count() >= 2);
        QCOMPARE(palette.heightTwips(), height);

        QCOMPARE(palette.appendRow(QStringLiteral("http://a.test/")), 1);
        palette.setRowStatus(1, QStringLiteral("40%"));
        palette.setRowBold(1, true);
        QCOMPARE(palette.rowText(1), QStringLiteral("http://a.test/"));
        QCOMPARE(palette.rowStatus(1), QStringLiteral("40%"));
        QVERIFY(palette.rowBold(1));
        for (int outside : {0, 2}) {
            QCOMPARE(palette.rowText(outside), QString());
            QCOMPARE(palette.rowStatus(outside), QString());
            QVERIFY(!palette.rowBold(outside));
        }
    }

    // A page's title reaches the tab's tool tip as text, never as markup.
    void titlesAreShownAsText()
    {
        FakeDocument *a = open("a");
        const QString title = QStringLiteral("<img src=\"file:///etc/x.png\"><b>Bold</b>");
        Q_EMIT a->titleChanged(title);
        QCOMPARE(m_area->tabBar()->tabToolTip(0), Qt::convertFromPlainText(title));
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

    // The frame learns whether the active page is loading: from its first progress report (0 %
    // included) to its completion, and again for the document that becomes the active one.
    void theActivePagesLoadingReachesTheFrame()
    {
        QSignalSpy loading(m_area, &DocumentArea::currentLoadingChanged);
        FakeDocument *a = open("a");
        FakeDocument *b = open("b");
        loading.clear();
        Q_EMIT b->progressChanged(0);
        QCOMPARE(loading.size(), 1);
        QCOMPARE(loading.last().at(0).toBool(), true);
        Q_EMIT a->progressChanged(10); // in the background
        QCOMPARE(loading.size(), 1);
        Q_EMIT b->loadCompleted();
        QCOMPARE(loading.last().at(0).toBool(), false);

        m_area->bringToFront(a);
        QCOMPARE(loading.last().at(0).toBool(), true);
        Q_EMIT a->loadCompleted();
        QCOMPARE(loading.last().at(0).toBool(), false);

        // The active page closes while loading: the next one is idle.
        Q_EMIT a->progressChanged(0);
        QCOMPARE(loading.last().at(0).toBool(), true);
        m_area->closeDocument(a);
        QTRY_COMPARE(m_area->activeDocument(), b);
        QCOMPARE(loading.last().at(0).toBool(), false);
    }

    // Words given as an address are looked up with the area's search, in a new document and in
    // the active one; an address stays an address, and a script address goes nowhere.
    void wordsGoToTheAreasSearch()
    {
        QVERIFY(!m_area->navigateActive(QStringLiteral("http://a.invalid/")));
        QCOMPARE(m_area->documentCount(), 0);
        QStringList queries;
        m_area->setSearchAddress([&](const QString &query) {
            queries << query;
            return QStringLiteral("http://search.invalid/c");
        });
        auto *document = static_cast<FakeDocument *>(m_area->openDocument(QStringLiteral(" two words ")));
        QCOMPARE(document->address, QStringLiteral("http://search.invalid/c"));
        QCOMPARE(queries, QStringList{QStringLiteral("two words")});
        QVERIFY(m_area->navigateActive(QStringLiteral("http://d.invalid/")));
        QCOMPARE(document->address, QStringLiteral("http://d.invalid/"));
        QCOMPARE(queries.size(), 1);
        QVERIFY(m_area->navigateActive(QStringLiteral("bread")));
        QCOMPARE(document->address, QStringLiteral("http://search.invalid/c"));
        QCOMPARE(queries, QStringList({QStringLiteral("two words"), QStringLiteral("bread")}));
        QCOMPARE(document->navigations, 2);
        QVERIFY(m_area->navigateActive(QStringLiteral("javascript:alert(1)")));
        QCOMPARE(document->navigations, 2);
        QCOMPARE(m_area->documentCount(), 1);
        // The page loads what was decided; the document keeps the text as typed to show.
        QVERIFY(m_area->navigateActive(QStringLiteral("example.org")));
        QCOMPARE(document->address, QStringLiteral("example.org"));
        QCOMPARE(document->url, QUrl(QStringLiteral("http://example.org")));
        QCOMPARE(queries.size(), 2);
    }

    // A shortcut file opens the address it holds, in a new document and in the active one, and
    // is named (caption, typed list) by that address; one that holds none opens no page.
    void shortcutsAreFollowedInEveryDocument()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Site.URL"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[InternetShortcut]\r\nURL=http://held.invalid/\r\n");
        file.close();
        QSignalSpy opened(m_area, &DocumentArea::addressOpened);

        auto *document = static_cast<FakeDocument *>(m_area->openDocument(path));
        QCOMPARE(document->address, QStringLiteral("http://held.invalid/"));
        QCOMPARE(opened.last().at(0).toString(), QStringLiteral("http://held.invalid/"));
        QCOMPARE(shown({document}), QStringList{QStringLiteral("held")});

        QVERIFY(m_area->navigateActive(QStringLiteral("http://other.invalid/")));
        QVERIFY(m_area->navigateActive(QUrl::fromLocalFile(path).toString()));
        QCOMPARE(document->address, QStringLiteral("http://held.invalid/"));
        QCOMPARE(document->navigations, 2);

        const QString missing = dir.filePath(QStringLiteral("missing.url"));
        QVERIFY(m_area->navigateActive(missing));
        QCOMPARE(document->navigations, 2);
        auto *empty = static_cast<FakeDocument *>(m_area->openDocument(missing));
        QVERIFY(empty != document);
        QCOMPARE(empty->address, QString());
        QCOMPARE(m_area->documentCount(), 2);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestDocumentArea test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_documentarea.moc"
