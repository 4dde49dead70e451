#include "core/paths.h"
#include "core/storedcolor.h"
#include "core/userfile.h"
#include "core/strings.h"
#include "sidebar/rsspanel.h"
#include "sidebar/sidebar.h"
#include "sidebar/sidebargeometry.h"
#include "sidebar/sidebarimages.h"

#include <QApplication>
#include <QFile>
#include <QKeySequence>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using Places = QList<QList<double>>; // left, top, width, height per control, in layout order

class TestSidebar : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    template <typename T> static T *control(QWidget &parent, const char *name)
    {
        T *widget = parent.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    // The same picture (icons made anew for each call compare by their pixels).
    static bool sameIcon(const QIcon &a, const QIcon &b)
    {
        return a.pixmap(SidebarImages::kSize).toImage() == b.pixmap(SidebarImages::kSize).toImage();
    }

    static SidebarHost quietHost()
    {
        SidebarHost host;
        host.messageBox = [](QWidget *, QMessageBox::Icon, const QString &, QMessageBox::StandardButtons) {
            return QMessageBox::Ok;
        };
        return host;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void panelLayout_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<Places>("places");
        QTest::newRow("notes") << 0 << 3000.0 << 6000.0 << QStringList{"txtQuickNotes"} << Places{{0, 0, 3000, 6000}};
        QTest::newRow("favorites, two halves")
            << 1 << 3000.0 << 6001.0
            << QStringList{"btnAdd", "btnOrganize", "TreeView1", "btnGroupAdd", "btnGroupRemove", "ListView3"}
            << Places{{0, 0, 495, 495}, {495, 0, 495, 495}, {0, 495, 3000, 2506},
                      {0, 3001, 495, 495}, {495, 3001, 495, 495}, {0, 3496, 3000, 2506}};
        QTest::newRow("favorites lower than two button rows")
            << 1 << 3000.0 << 700.0
            << QStringList{"btnAdd", "btnOrganize", "TreeView1", "btnGroupAdd", "btnGroupRemove", "ListView3"}
            << Places{{0, 0, 495, 495}, {495, 0, 495, 495}, {0, 495, 3000, 0},
                      {0, 495, 495, 495}, {495, 495, 495, 495}, {0, 990, 3000, 0}};
        QTest::newRow("history under the cleaner")
            << 2 << 3000.0 << 6000.0 << QStringList{"Picture4", "TreeView2"}
            << Places{{0, 0, 3000, 2175}, {0, 2195, 3000, 3805}};
        QTest::newRow("rss")
            << 3 << 3000.0 << 6000.0
            << QStringList{"cmdAddRss", "cmdRemoveRss", "cmdEditRss", "cmdCheckRss", "cmdRssSetting", "ListView1", "ListView2"}
            << Places{{0, 0, 495, 495}, {495, 0, 495, 495}, {990, 0, 495, 495}, {1485, 0, 495, 495},
                      {1980, 0, 495, 495}, {0, 505, 2950, 2727.5}, {0, 3272.5, 2950, 2727.5}};
        QTest::newRow("rss too low for its lists")
            << 3 << 30.0 << 400.0
            << QStringList{"cmdAddRss", "cmdRemoveRss", "cmdEditRss", "cmdCheckRss", "cmdRssSetting", "ListView1", "ListView2"}
            << Places{{0, 0, 495, 495}, {495, 0, 495, 495}, {990, 0, 495, 495}, {1485, 0, 495, 495},
                      {1980, 0, 495, 495}, {0, 505, 0, 0}, {0, 545, 0, 0}};
        QTest::newRow("browser") << 4 << 2000.0 << 1000.0 << QStringList{"WebBrowser1"} << Places{{0, 0, 2000, 1000}};
        QTest::newRow("no such panel") << 5 << 2000.0 << 1000.0 << QStringList{} << Places{};
    }
    void panelLayout()
    {
        QFETCH(int, index);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(QStringList, controls);
        QFETCH(Places, places);
        const QList<SidebarGeometry::Place> layout = SidebarGeometry::panelLayout(index, width, height);
        QStringList names;
        Places got;
        for (const auto &p : layout) {
            names << p.control;
            got << QList<double>{p.left, p.top, p.width, p.height};
        }
        QCOMPARE(names, controls);
        QCOMPARE(got, places);
        // The same size gives the same layout again.
        const auto again = SidebarGeometry::panelLayout(index, width, height);
        QCOMPARE(again.size(), layout.size());
    }

    void rowHeights_data()
    {
        QTest::addColumn<int>("text");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("band");
        QTest::newRow("mode 0") << 13 << 16 << 0 << 14;
        QTest::newRow("mode 1, small text") << 13 << 16 << 1 << 19;
        QTest::newRow("mode 1, tall text") << 22 << 16 << 1 << 23;
        QTest::newRow("mode 2: one more than the icons") << 13 << 16 << 2 << 17;
        QTest::newRow("mode 2, tall text") << 20 << 16 << 2 << 17;
        QTest::newRow("other mode") << 13 << 16 << 7 << 13;
    }
    void rowHeights()
    {
        QFETCH(int, text);
        QFETCH(int, icon);
        QFETCH(int, mode);
        QFETCH(int, band);
        QCOMPARE(SidebarGeometry::rowHeight(text, icon, mode), band);
    }

    void buildsTheSections()
    {
        Sidebar sidebar(quietHost());
        sidebar.buildSidebar();
        sidebar.buildSidebar(); // once only
        auto *tabs = sidebar.findChild<QTabWidget *>(QStringLiteral("sidebar"));
        QCOMPARE(tabs->count(), 5);
        const int captions[] = {1122, 1078, 1159, 1192, 1207};
        const int tips[] = {1123, 1124, 1161, 18519, 1208};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(sidebar.sectionKey(i), Sidebar::kSectionKeys[i]);
            QCOMPARE(sidebar.sectionIndex(Sidebar::kSectionKeys[i]), i);
            // The menu bar keeps the Alt letters the View menu's captions carry.
            QCOMPARE(tabs->tabText(i), captionWithoutAccessKey(loadResString(captions[i])));
            QCOMPARE(withoutMnemonic(tabs->tabText(i)), withoutMnemonic(loadResString(captions[i])));
            QVERIFY(QKeySequence::mnemonic(tabs->tabText(i)).isEmpty());
            QCOMPARE(tabs->tabToolTip(i), loadResString(tips[i]));
            QCOMPARE(tabs->widget(i)->objectName(), QStringLiteral("picTab%1").arg(i));
        }
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(sidebar.sectionIndex(QStringLiteral("NOPE")), -1);
        sidebar.showSection(QStringLiteral("RSSFEED"));
        QCOMPARE(tabs->currentWidget(), static_cast<QWidget *>(sidebar.findChild<RssPanel *>()));
        QCOMPARE(control<QTreeWidget>(sidebar, "ListView2")->toolTip(), loadResString(18513));
        QCOMPARE(control<QToolButton>(sidebar, "cmdCheckRss")->toolTip(), loadResString(18517));
        QCOMPARE(control<QToolButton>(sidebar, "btnGroupRemove")->toolTip(), loadResString(1196));
        // Every control named in the layout rules is in its panel.
        for (int i = 0; i < 5; ++i) {
            for (const auto &place : SidebarGeometry::panelLayout(i, 1000, 1000))
                QVERIFY2(tabs->widget(i)->findChild<QWidget *>(place.control), qPrintable(place.control));
        }

        // The panel follows its size in pixels (15 twips each).
        sidebar.resize(300, 600);
        sidebar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sidebar));
        sidebar.showSection(QStringLiteral("RSSFEED"));
        QWidget *panel = sidebar.findChild<RssPanel *>();
        QTRY_VERIFY(panel->width() > 0);
        const int w = panel->width();
        QCOMPARE(control<QToolButton>(sidebar, "cmdCheckRss")->geometry(), QRect(99, 0, 33, 33));
        QCOMPARE(control<QTreeWidget>(sidebar, "ListView1")->width(), twipsToPixels(pixelsToTwips(w) - 50));
        QVERIFY(sameIcon(tabs->tabIcon(sidebar.sectionIndex(QStringLiteral("RSSFEED"))), SidebarImages::icon(5)));
    }

    void clickInTheNotesPinsTheBarOpen()
    {
        Sidebar sidebar(quietHost());
        sidebar.buildSidebar();
        QVERIFY(!sidebar.isPinned()); // built unpinned
        QSignalSpy widths(&sidebar, &Sidebar::widthRequested);
        QPlainTextEdit *notes = control<QPlainTextEdit>(sidebar, "txtQuickNotes");
        notes->setReadOnly(true);
        sidebar.resize(200, 400);
        sidebar.show();
        sidebar.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&sidebar));
        QTest::mouseClick(notes->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(widths.count(), 1);
        QCOMPARE(widths.takeFirst().at(0).toInt(), twipsToPixels(SidebarGeometry::kStandardWidthTwips));
        QVERIFY(sidebar.isPinned());
        QTRY_VERIFY(notes->hasFocus());
        QVERIFY(!notes->isReadOnly());
        QTest::keyClicks(notes, QStringLiteral("typed"));
        QCOMPARE(notes->toPlainText(), QStringLiteral("typed"));

        // Showing a section pins the bar and asks for the standard width as well.
        sidebar.setPinned(false);
        sidebar.showSection(QStringLiteral("HISTORY"));
        QVERIFY(sidebar.isPinned());
        QCOMPARE(widths.count(), 1);
        QCOMPARE(widths.takeFirst().at(0).toInt(), twipsToPixels(SidebarGeometry::kStandardWidthTwips));
        QCOMPARE(control<QTabWidget>(sidebar, "sidebar")->currentIndex(),
                 sidebar.sectionIndex(QStringLiteral("HISTORY")));
    }

    void stripedLists()
    {
        QTreeWidget tree;
        tree.setIconSize(QSize(16, 16));
        tree.setFont(QFont(tree.font().family(), 9));
        tree.addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("row")}));
        Sidebar::layoutSidebarPanel(&tree, storedColorToQColor(0xF7F7F7), storedColorToQColor(0xFFF4F4), 2);
        QVERIFY(tree.alternatingRowColors());
        QCOMPARE(tree.palette().color(QPalette::Base), QColor(0xF7, 0xF7, 0xF7));
        QCOMPARE(tree.palette().color(QPalette::AlternateBase), QColor(0xF4, 0xF4, 0xFF));
        tree.show();
        QCOMPARE(tree.sizeHintForRow(0), 17);

        // Not a report list: no stripes.
        QListWidget list;
        list.setAlternatingRowColors(true);
        Sidebar::layoutSidebarPanel(&list, Qt::red, Qt::blue, 2);
        QVERIFY(!list.alternatingRowColors());
    }

    // The notes of a start are read once the window shows: a save coming first (a close right
    // after the start, or text put in the box before) reads them, so the file loses nothing.
    void notesSavedBeforeTheyLoadedKeepTheFile()
    {
        QByteArray written;
        for (int i = 0; i < 20000; ++i)
            written += "note " + QByteArray::number(i) + "\r\n";
        QVERIFY(UserFile::makeFolder(Paths::dataDir()));
        QVERIFY(UserFile::save(Sidebar::quickNotesFile(), written));
        auto fileBytes = [] {
            QByteArray data;
            return UserFile::read(Sidebar::quickNotesFile(), &data) ? data : QByteArray("<none>");
        };
        {
            Sidebar untouched(quietHost());
            QVERIFY(!untouched.quickNotesLoaded());
            QVERIFY(untouched.saveQuickNotes());
            QVERIFY(untouched.quickNotesLoaded());
            QCOMPARE(fileBytes(), written); // read, unchanged, not written
        }
        Sidebar typedFirst(quietHost());
        control<QPlainTextEdit>(typedFirst, "txtQuickNotes")->setPlainText(QStringLiteral("typed "));
        QVERIFY(typedFirst.saveQuickNotes());
        QCOMPARE(fileBytes(), "typed " + written);
        // Once loaded, a later load of the start's does not add the file a second time.
        typedFirst.ensureQuickNotesLoaded();
        QCOMPARE(control<QPlainTextEdit>(typedFirst, "txtQuickNotes")->toPlainText().size(),
                 QString::fromLatin1(written).remove(u'\r').size() + 5);
    }

    void quickNotesRoundTrip()
    {
        const QString file = m_dir.filePath(QStringLiteral("notes.qvr"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("first line\r\nsecond 'line'\r\n");
        f.close();
        Sidebar sidebar(quietHost());
        QPlainTextEdit *notes = control<QPlainTextEdit>(sidebar, "txtQuickNotes");
        sidebar.loadQuickNotes(file);
        QCOMPARE(notes->toPlainText(), QStringLiteral("first line\nsecond 'line'"));
        notes->setPlainText(QStringLiteral("a\nb ") + QString(600, u'x'));
        QVERIFY(sidebar.saveQuickNotes(file));
        Sidebar again(quietHost());
        QPlainTextEdit *notesAgain = control<QPlainTextEdit>(again, "txtQuickNotes");
        again.loadQuickNotes(file);
        QCOMPARE(notesAgain->toPlainText(), notes->toPlainText());
        // A missing file leaves the box as it is.
        again.loadQuickNotes(m_dir.filePath(QStringLiteral("none.qvr")));
        QCOMPARE(notesAgain->toPlainText(), notes->toPlainText());
        // An unwritable place is reported.
        QVERIFY(!sidebar.saveQuickNotes(m_dir.filePath(QStringLiteral("no/such/dir/notes.qvr"))));
    }
};

QTEST_MAIN(TestSidebar)
#include "tst_sidebar.moc"
