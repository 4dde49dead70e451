#include "frame/addressbarrules.h"
#include "frame/quicksearchdialog.h"
#include "frame/searchengines.h"

#include <QtTest>

using namespace AddressBarRules;
using Action = EnterOutcome::Action;

Q_DECLARE_METATYPE(EnterOutcome::Action)

class TestAddressBar : public QObject
{
    Q_OBJECT
private slots:
    void enterDecision_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("goNew");
        QTest::addColumn<bool>("hasDocument");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("usedText");
        QTest::addColumn<bool>("addToList");
        QTest::addColumn<bool>("focus");

        const QStringList none;
        QTest::newRow("empty does nothing") << "" << false << false << false << true << none
                                            << Action::Nothing << "" << false << false;
        QTest::newRow("blank does nothing") << "   " << false << false << false << true << none
                                            << Action::Nothing << "   " << false << false;
        QTest::newRow("ctrl on empty does nothing") << "" << true << false << false << true << none
                                                    << Action::Nothing << "" << false << false;
        QTest::newRow("new text navigates and focuses")
            << "a.test" << false << false << false << true << none << Action::NavigateActive
            << "a.test" << true << true;
        QTest::newRow("known text leaves list and focus")
            << "a.test" << false << false << false << true << QStringList{"b", "a.test"}
            << Action::NavigateActive << "a.test" << false << false;
        QTest::newRow("list compare is case-sensitive")
            << "A.test" << false << false << false << true << QStringList{"a.test"}
            << Action::NavigateActive << "A.test" << true << true;
        QTest::newRow("no document opens a tab")
            << "a.test" << false << false << false << false << none << Action::OpenNewTab
            << "a.test" << false << false;
        QTest::newRow("go-new opens a tab") << "a.test" << false << false << true << true << none
                                            << Action::OpenNewTab << "a.test" << false << false;
        QTest::newRow("ctrl completes") << "example" << true << false << false << true << none
                                        << Action::NavigateActive << "http://www.example.com" << true
                                        << true;
        QTest::newRow("shift searches") << "two words" << false << true << false << true << none
                                        << Action::Search << "two words" << false << true;
        QTest::newRow("ctrl and shift search the completed text")
            << "example" << true << true << false << false << none << Action::Search
            << "http://www.example.com" << false << true;
    }
    void enterDecision()
    {
        QFETCH(QString, text);
        QFETCH(bool, ctrl);
        QFETCH(bool, shift);
        QFETCH(bool, goNew);
        QFETCH(bool, hasDocument);
        QFETCH(QStringList, typed);
        QFETCH(Action, action);
        QFETCH(QString, usedText);
        QFETCH(bool, addToList);
        QFETCH(bool, focus);
        const EnterOutcome out = decideEnter({text, ctrl, shift, goNew, hasDocument, typed});
        QCOMPARE(out.action, action);
        QCOMPARE(out.text, usedText);
        QCOMPARE(out.addToTypedList, addToList);
        QCOMPARE(out.focusDocument, focus);
    }

    void typedListInsertion()
    {
        QVERIFY(shouldInsertAtTop({}, QStringLiteral("x")));
        QVERIFY(!shouldInsertAtTop({"x", "y"}, QStringLiteral("x")));
        QVERIFY(shouldInsertAtTop({"y", "x"}, QStringLiteral("x")));
        QVERIFY(shouldInsertAtTop({"x"}, QStringLiteral("X")));
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

        // History: no empty entries, repeats move to the top, at most 50.
        QStringList h;
        h = QuickSearchDialog::addToHistory(h, QStringLiteral("one"));
        h = QuickSearchDialog::addToHistory(h, QStringLiteral("two"));
        h = QuickSearchDialog::addToHistory(h, QStringLiteral("  "));
        h = QuickSearchDialog::addToHistory(h, QStringLiteral("one"));
        QCOMPARE(h, QStringList({"one", "two"}));
        for (int i = 0; i < 60; ++i)
            h = QuickSearchDialog::addToHistory(h, QString::number(i));
        QCOMPARE(h.size(), QuickSearchDialog::kMaxHistory);
        QCOMPARE(h.first(), QStringLiteral("59"));
    }
};

QTEST_GUILESS_MAIN(TestAddressBar)
#include "tst_addressbar.moc"
