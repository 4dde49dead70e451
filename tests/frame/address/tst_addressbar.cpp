#include "core/addressmatcher.h"
#include "core/historystore.h"
#include "core/localpathoffers.h"
#include "core/settingsstore.h"
#include "frame/address/addressbar.h"
#include "frame/address/addressbarrules.h"
#include "frame/address/addresscompleter.h"
#include "frame/address/quicksearchdialog.h"
#include "frame/address/searchengines.h"
#include "frame/commands/commandregistry.h"
#include "frame/documents/documentarea.h"
#include "frame/mainwindow.h"
#include "framedocuments.h"
#include "sidebar/historycleaner.h"
#include "sidebar/sidebar.h"
#include "testframe.h"
#include "testserver.h"

#include <QApplication>
#include <QListView>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QtTest>

using namespace AddressBarRules;

namespace {

// The list of offers under the address field: a window of its own, the only list view that is
// one.
QListView *offerList()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (auto *list = qobject_cast<QListView *>(window))
            return list;
    }
    return nullptr;
}

// How many times the address field shows the picture of the page: the typed addresses'
// picture, looked for in the field as drawn (allowing for a slightly different rendering).
int pageIconsShown(QComboBox *field)
{
    const QSize size = field->iconSize();
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(field->palette().color(QPalette::Base));
    {
        QPainter painter(&picture);
        QApplication::style()->standardIcon(QStyle::SP_FileLinkIcon).paint(&painter, picture.rect());
    }
    const QImage shown = field->grab().toImage().convertToFormat(QImage::Format_RGB32);
    auto near = [](QRgb a, QRgb b) {
        return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)) < 60;
    };
    int found = 0;
    for (int x = 0; x + size.width() <= shown.width() && x < 3 * size.width(); ++x) {
        for (int y = 0; y + size.height() <= shown.height(); ++y) {
            int same = 0;
            for (int i = 0; i < size.width(); ++i) {
                for (int j = 0; j < size.height(); ++j)
                    same += near(shown.pixel(x + i, y + j), picture.pixel(i, j));
            }
            if (same * 10 >= size.width() * size.height() * 9) {
                ++found;
                x += size.width() - 1; // the next one stands beside it
                break;
            }
        }
    }
    return found;
}

} // namespace

class TestAddressBar : public QObject
{
    Q_OBJECT

    TestServer m_server;
    std::unique_ptr<MainWindow> m_frame;

private slots:
    void cleanupTestCase()
    {
        if (m_frame)
            m_frame->close();
        m_frame.reset();
    }

    // Enter goes by what TypedAddress decides for the text (its table is tested there).
    void enterGoesByTheTypedAddress()
    {
        const EnterOutcome out = decideEnter({"example", true, false, false, true, {}});
        QCOMPARE(out.action, EnterOutcome::NavigateActive);
        QCOMPARE(out.text, QStringLiteral("http://www.example.com"));
        QCOMPARE(completeAddress(" example "), QStringLiteral("http://www.example.com"));
    }

    void typedListInsertion()
    {
        QVERIFY(shouldInsertAtTop({}, QStringLiteral("x")));
        QVERIFY(!shouldInsertAtTop({"x", "y"}, QStringLiteral("x")));
        QVERIFY(shouldInsertAtTop({"y", "x"}, QStringLiteral("x")));
        QVERIFY(shouldInsertAtTop({"x"}, QStringLiteral("X")));
        QVERIFY(!shouldInsertAtTop({}, QStringLiteral("javascript:alert(1)")));
        QVERIFY(!shouldInsertAtTop({"x"}, QStringLiteral(" JavaScript:alert(1)")));
    }

    void searchAddresses_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("msn two words") << 1 << "two words"
                                       << "https://search.msn.com/results.aspx?q=two+words&FORM=QBRE";
        QTest::newRow("inner blanks kept, outer trimmed")
            << 0 << " two  words " << "https://www.google.com/search?hl=en&lr=&ie=UTF-8&oe=UTF-8&q=two++words";
        QTest::newRow("ampersand is encoded") << 5 << "C&A"
                                              << "https://en.wikipedia.org/wiki/Special:Search?search=C%26A";
        QTest::newRow("plus is encoded") << 3 << "C++" << "https://www.ask.com/web?q=C%2B%2B&qsrc=0&o=0";
        QTest::newRow("hash is encoded") << 2 << "#1"
                                         << "https://search.yahoo.com/search?p=%231&fr=FP-tab-web-t&toggle=1&cop=&ei=UTF-8";
        QTest::newRow("unicode") << 4 << "café" << "https://www.bing.com/search?q=caf%C3%A9&mkt=en-us&FORM=LVCP";
        QTest::newRow("empty gives home") << 0 << "" << "https://www.google.com";
        QTest::newRow("blank gives home") << 5 << "   " << "https://www.wikipedia.org";
        QTest::newRow("unknown engine") << 6 << "x" << "";
        QTest::newRow("negative engine") << -1 << "x" << "";
    }
    void searchAddresses()
    {
        QFETCH(int, engine);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(SearchEngines::searchAddress(engine, text), expected);
    }

    void quickSearch()
    {
        QCOMPARE(SearchEngines::quickSearchAddress(false, QStringLiteral("a b")),
                 QStringLiteral("https://www.google.com/search?hl=en&lr=&ie=UTF-8&oe=UTF-8&q=a+b"));
        QVERIFY(SearchEngines::quickSearchAddress(true, QStringLiteral("x"))
                    .endsWith(QLatin1String("&q=x&sa=N&tab=fg")));

        QCOMPARE(SearchEngines::quickSearchAddress(false, QString()),
                 QStringLiteral("https://www.google.com/search?hl=en&lr=&ie=UTF-8&oe=UTF-8&q="));

        // History: newest first, repeats and empty queries kept as typed, at most 50.
        QStringList h;
        h = QuickSearchDialog::addToHistory(h, QStringLiteral("one"));
        h = QuickSearchDialog::addToHistory(h, QStringLiteral("two"));
        h = QuickSearchDialog::addToHistory(h, QStringLiteral("  "));
        h = QuickSearchDialog::addToHistory(h, QString());
        h = QuickSearchDialog::addToHistory(h, QStringLiteral("one"));
        QCOMPARE(h, QStringList({"one", "", "  ", "two", "one"}));
        for (int i = 0; i < 60; ++i)
            h = QuickSearchDialog::addToHistory(h, QString::number(i));
        QCOMPARE(h.size(), QuickSearchDialog::kMaxHistory);
        QCOMPARE(h.first(), QStringLiteral("59"));
        QCOMPARE(h.last(), QStringLiteral("10"));
    }

    // Every opening of the quick search box takes typing in the query box at once, and Enter
    // searches: a second opening's typing replaces the query left from the first.
    void quickSearchTypesIntoTheQueryBox()
    {
        QWidget owner;
        owner.show();
        QuickSearchDialog box(&owner);
        QSignalSpy searched(&box, &QuickSearchDialog::searchRequested);
        const QStringList queries{QStringLiteral("two words"), QStringLiteral("next")};
        for (const QString &query : queries) {
            box.open();
            QVERIFY(QTest::qWaitForWindowExposed(&box));
            QWidget *focused = box.focusWidget();
            QCOMPARE(focused, box.findChild<QComboBox *>(QStringLiteral("vbalCboEx1")));
            QTest::keyClicks(focused, query);
            QTest::keyClick(focused, Qt::Key_Return);
            QVERIFY(!box.isVisible());
            QCOMPARE(searched.size(), queries.indexOf(query) + 1);
            QCOMPARE(searched.last().first().toString(),
                     SearchEngines::quickSearchAddress(false, query));
        }
    }

    // A repeated query is stored again and an empty one searches with an empty query; the
    // history goes to the settings whole and the next box reads it back.
    void quickSearchHistoryKeepsRepeats()
    {
        QWidget owner;
        owner.show();
        const QStringList queries{QStringLiteral("same"), QStringLiteral("same"), QString()};
        {
            QuickSearchDialog box(&owner);
            box.clearHistory();
            QSignalSpy spy(&box, &QuickSearchDialog::searchRequested);
            for (const QString &query : queries) {
                box.open();
                QVERIFY(QTest::qWaitForWindowExposed(&box));
                QWidget *focused = box.focusWidget();
                QTest::keyClick(focused, Qt::Key_Backspace); // the old query is selected
                QTest::keyClicks(focused, query);
                QTest::keyClick(focused, Qt::Key_Return);
                QVERIFY2(!box.isVisible(), qPrintable(query));
            }
            QCOMPARE(spy.size(), 3);
            QCOMPARE(spy.at(1).first().toString(),
                     SearchEngines::quickSearchAddress(false, QStringLiteral("same")));
            QCOMPARE(spy.at(2).first().toString(), SearchEngines::quickSearchAddress(false, QString()));
            box.unload();
        }
        SettingsStore &store = SettingsStore::instance();
        QCOMPARE(store.read(QStringLiteral("Settings"), QStringLiteral("QSearchSearchListCount"), {}),
                 QStringLiteral("3"));
        QuickSearchDialog again(&owner);
        auto *queryBox = again.findChild<QComboBox *>(QStringLiteral("vbalCboEx1"));
        QStringList items;
        for (int i = 0; i < queryBox->count(); ++i)
            items << queryBox->itemText(i);
        QCOMPARE(items, (QStringList{QString(), QStringLiteral("same"), QStringLiteral("same")}));
        again.clearHistory();
        again.unload();
    }

    void completionOffers_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("visited");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("offered");

        const QStringList visited = {"https://www.example.org/new", "http://example.net/",
                                     "ftp://files.test/x", "about:config"};
        QTest::newRow("without scheme and www") << QStringList{} << visited << "exa"
                                                << QStringList{"https://www.example.org/new",
                                                               "http://example.net/"};
        QTest::newRow("with www") << QStringList{} << visited << "www.exa"
                                  << QStringList{"https://www.example.org/new"};
        QTest::newRow("with scheme") << QStringList{} << visited << "http://exa"
                                     << QStringList{"http://example.net/"};
        QTest::newRow("any case, blanks around") << QStringList{} << visited << " FTP://Files "
                                                 << QStringList{"ftp://files.test/x"};
        QTest::newRow("not inside an address") << QStringList{} << visited << "org" << QStringList{};
        QTest::newRow("address without scheme") << QStringList{} << visited << "about:c"
                                                << QStringList{"about:config"};
        QTest::newRow("typed first, in list order")
            << QStringList{"example.com", "other.test", "www.example.info"} << visited << "ex"
            << QStringList{"example.com", "www.example.info", "https://www.example.org/new",
                           "http://example.net/"};
        QTest::newRow("each address once")
            << QStringList{"example.net", "example.net"} << visited << "example.n"
            << QStringList{"example.net"};
        QTest::newRow("same site by another scheme once")
            << QStringList{} << QStringList{"https://a.test/", "http://www.a.test", "http://a.test/b"}
            << "a" << QStringList{"https://a.test/", "http://a.test/b"};
        QTest::newRow("empty text offers nothing") << QStringList{"x"} << visited << " "
                                                   << QStringList{};
        QStringList many;
        for (int i = 0; i < 30; ++i)
            many << QStringLiteral("http://site%1.test/").arg(i);
        QTest::newRow("at most the limit") << QStringList{} << many << "site"
                                           << many.first(AddressMatcher::kDefaultLimit);
    }
    void completionOffers()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, visited);
        QFETCH(QString, text);
        QFETCH(QStringList, offered);
        AddressMatcher matcher;
        matcher.setTypedAddresses(typed);
        matcher.setVisitedAddresses(visited);
        QCOMPARE(matcher.matches(text), offered);
    }

    void historyAddresses()
    {
        QTemporaryDir dir;
        HistoryStore store(dir.filePath(QStringLiteral("history.db")));
        QVERIFY(store.isOpen());
        const HistoryStore::Revision empty = store.revision();
        const QDateTime t0 = QDateTime::currentDateTimeUtc();
        QVERIFY(store.addVisit(QStringLiteral("http://a.test/"), {}, t0));
        QVERIFY(store.addVisit(QStringLiteral("http://b.test/"), {}, t0.addSecs(1)));
        const HistoryStore::Revision two = store.revision();
        QVERIFY(!(two == empty));
        QCOMPARE(store.addresses(), QStringList({"http://b.test/", "http://a.test/"}));
        // Visiting a known address again changes the order and the revision.
        QVERIFY(store.addVisit(QStringLiteral("http://a.test/"), {}, t0.addSecs(2)));
        QCOMPARE(store.addresses(), QStringList({"http://a.test/", "http://b.test/"}));
        QVERIFY(!(store.revision() == two));
        QVERIFY(store.clear());
        QVERIFY(store.addresses().isEmpty());
        QCOMPARE(store.revision(), empty);
    }

    // The field offers from both lists while typing; the arrow keys put an offer in the field
    // and Enter accepts it; pages visited since the field last had the focus are offered, even
    // to text typed before the history was read.
    void completerInField()
    {
        QTemporaryDir dir;
        HistoryStore history(dir.filePath(QStringLiteral("history.db")));
        QVERIFY(history.addVisit(QStringLiteral("https://www.example.org/page"), {}));
        QComboBox combo;
        combo.setEditable(true);
        combo.addItem(QStringLiteral("example.com"));
        combo.setEditText(QString());
        AddressCompleter completer(&combo, &history);
        QSignalSpy accepted(&completer, &AddressCompleter::addressAccepted);
        combo.show();
        combo.activateWindow();
        combo.lineEdit()->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&combo));

        QAbstractItemView *popup = offerList();
        QVERIFY(popup);
        QTest::keyClicks(&combo, QStringLiteral("exa"));
        QTRY_VERIFY(popup->isVisible());
        QTRY_COMPARE(popup->model()->rowCount(), 2);
        QCOMPARE(combo.currentText(), QStringLiteral("exa"));
        QVERIFY(combo.hasFocus());
        QTest::keyClick(&combo, Qt::Key_Down);
        QCOMPARE(combo.currentText(), QStringLiteral("example.com"));
        // Up past the first offer gives the typed text back.
        QTest::keyClick(&combo, Qt::Key_Up);
        QCOMPARE(combo.currentText(), QStringLiteral("exa"));
        QTest::keyClick(&combo, Qt::Key_Up);
        QTest::keyClick(&combo, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(accepted.size(), 1);
        QCOMPARE(accepted.at(0).at(0).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
        QCOMPARE(combo.currentText(), QStringLiteral("https://www.example.org/page"));
        QVERIFY(!popup->isVisible());

        QVERIFY(history.addVisit(QStringLiteral("http://example.net/"), {}));
        combo.lineEdit()->clearFocus();
        combo.lineEdit()->setFocus();
        combo.setEditText(QString());
        QTest::keyClicks(&combo, QStringLiteral("example.n"));
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(popup->model()->rowCount(), 1);
        QCOMPARE(popup->model()->index(0, 0).data().toString(), QStringLiteral("http://example.net/"));
    }

    // Typing on after the offers stop matching keeps every key: the list closes, the field
    // holds exactly what was typed, and a click on an offer accepts it.
    void typedTextIsNeverReplaced()
    {
        QTemporaryDir dir;
        HistoryStore history(dir.filePath(QStringLiteral("history.db")));
        QVERIFY(history.addVisit(QStringLiteral("http://127.0.0.1:8602/images.html"), {}));
        QVERIFY(history.addVisit(QStringLiteral("http://127.0.0.1:8602/index.html"), {}));
        QComboBox combo;
        combo.setEditable(true);
        AddressCompleter completer(&combo, &history);
        QSignalSpy read(&completer, &AddressCompleter::historyRead);
        combo.show();
        combo.activateWindow();
        combo.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&combo));
        QTRY_VERIFY(!read.isEmpty());

        const QString typed = QStringLiteral("127.0.0.1:8602/hello");
        for (const QChar c : typed) {
            QTest::keyClick(&combo, c.toLatin1());
            QCOMPARE(combo.currentText(), typed.left(combo.currentText().size()));
            QVERIFY(!combo.lineEdit()->hasSelectedText());
        }
        QCOMPARE(combo.currentText(), typed);
        QVERIFY(!offerList()->isVisible());
        QVERIFY(combo.hasFocus());

        QTest::keyClick(&combo, Qt::Key_Backspace);
        combo.setEditText(QString());
        QTest::keyClicks(&combo, QStringLiteral("127.0.0.1:8602/ima"));
        QTRY_VERIFY(offerList()->isVisible());
        QSignalSpy accepted(&completer, &AddressCompleter::addressAccepted);
        const QModelIndex first = offerList()->model()->index(0, 0);
        QTest::mouseClick(offerList()->viewport(), Qt::LeftButton, {},
                          offerList()->visualRect(first).center());
        QCOMPARE(accepted.size(), 1);
        QCOMPARE(combo.currentText(), QStringLiteral("http://127.0.0.1:8602/images.html"));
    }

    // A typed path offers the folder's entries that start with its last part, folders first.
    void localPathOffers()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("notes")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Other")));
        for (const char *name : {"note.html", "notes.txt", ".nothidden"}) {
            QFile file(dir.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString base = dir.path() + QLatin1Char('/');
        QCOMPARE(LocalPathOffers::offers(base + QStringLiteral("no"), 10),
                 QStringList({base + "notes/", base + "note.html", base + "notes.txt"}));
        QCOMPARE(LocalPathOffers::offers(QStringLiteral("file://") + base + QStringLiteral("O"), 10),
                 QStringList({QStringLiteral("file://") + base + "Other/"}));
        QCOMPARE(LocalPathOffers::offers(base + QStringLiteral(".no"), 10), QStringList({base + ".nothidden"}));
        QCOMPARE(LocalPathOffers::offers(base + QStringLiteral("no"), 1), QStringList({base + "notes/"}));
        QVERIFY(LocalPathOffers::offers(QStringLiteral("example.org/no"), 10).isEmpty());
        QVERIFY(LocalPathOffers::offers(base + QStringLiteral("missing/x"), 10).isEmpty());
    }

    // A script address given to the Go buttons or picked from the list (a list saved before
    // such addresses were kept out of it) goes nowhere: no page runs it, no tab opens for it,
    // and the list stays as it was. Handed over by a later start, it is not listed either.
    // (It and the tests after it share one frame, kept until the end.)
    void scriptAddressGoesNowhere_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("newDocuments");
        QTest::newRow("Go") << "go" << "javascript:alert(1)" << 0;
        QTest::newRow("Go New") << "goNew" << "javascript:alert(1)" << 0;
        QTest::newRow("pick from the list") << "pick" << "javascript:alert(1)" << 0;
        QTest::newRow("pick, spelt otherwise") << "pick" << " JavaScript:alert(1)" << 0;
        QTest::newRow("hand-over") << "handOver" << "javascript:alert(1)" << 1;
    }
    void scriptAddressGoesNowhere()
    {
        QFETCH(QString, way);
        QFETCH(QString, text);
        QFETCH(int, newDocuments);
        // One frame for every row (a second frame in the same home would start after an
        // unclean exit); it stays until the end, so this test comes last.
        if (!m_frame)
            m_frame = makeFrame(m_server.page("Start"));
        MainWindow *frame = m_frame.get();
        DocumentWindow *document = activeFrameDocument(*frame);
        QVERIFY(document);
        QTRY_COMPARE(document->locationName(), QStringLiteral("Start"));
        AddressBar *address = frame->findChild<AddressBar *>();
        const QStringList listed{m_server.page("Start"), text};
        address->setTypedAddresses(listed);
        const qsizetype documents = frameDocuments(*frame).size();
        const qsizetype requests = m_server.log().size();

        if (way == QLatin1String("pick")) {
            address->comboBox()->setCurrentIndex(1);
            Q_EMIT address->comboBox()->activated(1);
        } else if (way == QLatin1String("handOver")) {
            frame->handOver(text);
        } else {
            address->setGoNew(way == QLatin1String("goNew"));
            address->setAddressText(text);
            address->onGoButton();
        }
        QCOMPARE(address->typedAddresses(), listed);
        QCOMPARE(frameDocuments(*frame).size(), documents + newDocuments);
        QCOMPARE(document->locationName(), QStringLiteral("Start"));
        QCOMPARE(m_server.log().size(), requests);
    }

    // Words typed in the field load, in the active document, the address of the frame's search
    // for them; the document asks no search of its own.
    void typedWordsGoToTheFramesSearch()
    {
        if (!m_frame)
            m_frame = makeFrame(m_server.page("Start"));
        MainWindow *frame = m_frame.get();
        DocumentWindow *document = activeFrameDocument(*frame);
        QVERIFY(document);
        // The list outlives the test: the frame keeps the search.
        auto queries = std::make_shared<QStringList>();
        frame->findChild<DocumentArea *>()->setSearchAddress(
            [queries, found = m_server.page("Found")](const QString &query) {
                *queries << query;
                return found;
            });
        AddressBar *address = frame->findChild<AddressBar *>();
        address->setGoNew(false);
        address->setAddressText(QStringLiteral(" two words "));
        address->onAddressEnter(false, false);
        QTRY_COMPARE_WITH_TIMEOUT(document->locationName(), QStringLiteral("Found"), 30000);
        QCOMPARE(*queries, QStringList{QStringLiteral("two words")});
        QCOMPARE(activeFrameDocument(*frame), document);
    }

    // The field shows the page's picture on every page, also after the typed addresses were
    // cleaned, and only once.
    void pageIconStaysAfterCleaning()
    {
        if (!m_frame)
            m_frame = makeFrame(m_server.page("Start"));
        MainWindow *frame = m_frame.get();
        QVERIFY(activeFrameDocument(*frame));
        AddressBar *address = frame->findChild<AddressBar *>();
        QComboBox *field = address->comboBox();
        QTRY_COMPARE(pageIconsShown(field), 1);

        bool cleaned = false;
        HistoryCleaner::deleteHistory(frame->findChild<Sidebar *>()->host(), HistoryCleaner::AddressList, frame,
                                      nullptr, [&cleaned](bool ok) { cleaned = ok; });
        QTRY_VERIFY(cleaned);
        QCOMPARE(address->typedAddresses(), QStringList{});
        QCOMPARE(pageIconsShown(field), 1);

        // A page reached in the same tab, then one in a new tab, and one picked from the list.
        DocumentWindow *document = activeFrameDocument(*frame);
        frame->findChild<DocumentArea *>()->navigateActive(m_server.page("Later"));
        QTRY_COMPARE_WITH_TIMEOUT(document->locationName(), QStringLiteral("Later"), 30000);
        QCOMPARE(pageIconsShown(field), 1);
        frame->findChild<DocumentArea *>()->openDocument(m_server.page("New tab"));
        QTRY_COMPARE_WITH_TIMEOUT(activeFrameDocument(*frame)->locationName(), QStringLiteral("New tab"), 30000);
        QCOMPARE(address->typedAddresses().size(), 1);
        QCOMPARE(pageIconsShown(field), 1);
        field->setCurrentIndex(-1);
        field->setCurrentIndex(0);
        Q_EMIT field->activated(0);
        QCOMPARE(pageIconsShown(field), 1);
    }

    // A shortcut file opens the address it holds from every way an address arrives: named on
    // the command line, typed (Enter, with Go New down too), given to Go and Go New, picked from
    // the list, opened from the side bar (in this tab or a new one), handed over by a later
    // start and chosen in File > Open.
    void shortcutIsFollowedFromEveryWayIn_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("newDocuments");
        QTest::newRow("command line") << "commandLine" << 1;
        QTest::newRow("Enter") << "enter" << 0;
        QTest::newRow("Enter, Go New down") << "enterGoNew" << 1;
        QTest::newRow("Go") << "go" << 0;
        QTest::newRow("Go New") << "goNew" << 1;
        QTest::newRow("pick from the list") << "pick" << 0;
        QTest::newRow("side bar") << "sidebar" << 0;
        QTest::newRow("side bar, new tab") << "sidebarNewTab" << 1;
        QTest::newRow("hand-over") << "handOver" << 1;
        QTest::newRow("File > Open") << "fileOpen" << 1;
    }
    void shortcutIsFollowedFromEveryWayIn()
    {
        QFETCH(QString, way);
        QFETCH(int, newDocuments);
        // Each row's shortcut holds a page of its own.
        const QString title = QStringLiteral("Held ") + way;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("My Site.URL"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[InternetShortcut]\r\nURL=" + m_server.page(title).toUtf8() + "\r\n");
        file.close();

        if (way == QLatin1String("commandLine")) {
            // The frame of the tests before ends first: one frame at a time in this home.
            if (m_frame)
                m_frame->close();
            m_frame = makeFrame(path);
            QCOMPARE(frameDocuments(*m_frame).size(), 1);
            QTRY_COMPARE_WITH_TIMEOUT(activeFrameDocument(*m_frame)->locationName(), title, 30000);
            return;
        }
        QVERIFY(m_frame);
        MainWindow *frame = m_frame.get();
        AddressBar *address = frame->findChild<AddressBar *>();
        address->setGoNew(way == QLatin1String("enterGoNew") || way == QLatin1String("goNew"));
        DocumentWindow *before = activeFrameDocument(*frame);
        QVERIFY(before);
        const qsizetype documents = frameDocuments(*frame).size();

        if (way == QLatin1String("enter") || way == QLatin1String("enterGoNew")) {
            address->setAddressText(path);
            address->onAddressEnter(false, false);
        } else if (way == QLatin1String("go") || way == QLatin1String("goNew")) {
            address->setAddressText(path);
            address->onGoButton();
        } else if (way == QLatin1String("pick")) {
            address->setTypedAddresses({path});
            address->comboBox()->setCurrentIndex(0);
            Q_EMIT address->comboBox()->activated(0);
        } else if (way.startsWith(QLatin1String("sidebar"))) {
            frame->findChild<Sidebar *>()->host().openPicked(path, way == QLatin1String("sidebarNewTab"));
        } else if (way == QLatin1String("handOver")) {
            frame->handOver(path);
        } else if (way == QLatin1String("fileOpen")) {
            QTimer chooser;
            connect(&chooser, &QTimer::timeout, this, [&] {
                // The name typed into the dialog's field, then Open.
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                if (auto *name = dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr) {
                    name->setText(path);
                    static_cast<QDialog *>(dialog)->accept();
                }
            });
            chooser.start(20);
            frame->findChild<CommandRegistry *>()->trigger(QStringLiteral("mnuFileOpen"));
        }
        address->setGoNew(false);
        QCOMPARE(frameDocuments(*frame).size(), documents + newDocuments);
        DocumentWindow *document = activeFrameDocument(*frame);
        QVERIFY(document);
        QCOMPARE(document == before, newDocuments == 0);
        QTRY_COMPARE_WITH_TIMEOUT(document->locationName(), title, 30000);
    }
};

QTEST_MAIN(TestAddressBar)
#include "tst_addressbar.moc"
