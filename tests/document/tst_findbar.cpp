#include "app/startup.h"
#include "core/appstate.h"
#include "core/settingsstore.h"
#include "document/documentwindow.h"
#include "document/findbar.h"
#include "frame/commands/commandregistry.h"
#include "frame/mainwindow.h"
#include "framedocuments.h"
#include "platform/webbrowser.h"
#include "testframe.h"
#include "testserver.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QWebEnginePage>
#include <QtTest>

#include <memory>

// The find bar over a real page in the real frame: the engine's count, next and previous
// around the page's ends, a search without a match, and the keys that open and close it.
namespace {

// What the bar shows of the last search: the count, the failure or nothing.
QString resultText(const FindBar *bar)
{
    return bar->findChild<QLabel *>(QStringLiteral("lblResult"))->text();
}

} // namespace

class TestFindBar : public QObject
{
    Q_OBJECT

    TestServer m_server;
    std::unique_ptr<MainWindow> m_frame;
    DocumentWindow *m_document = nullptr;

    QWindow *window() const { return m_frame->windowHandle(); }
    QLineEdit *field() const { return m_document->findBar()->findChild<QLineEdit *>(); }

    // Opens the bar by its command and searches for text from the page's top.
    FindBar *search(const QString &text, bool matchCase = false)
    {
        m_frame->findChild<CommandRegistry *>()->trigger(QStringLiteral("mnuEditFind"));
        FindBar *bar = m_document->findBar();
        bar->findChild<QCheckBox *>()->setChecked(matchCase);
        field()->clear();
        field()->setText(text);
        return bar;
    }

private slots:
    void initTestCase()
    {
        SettingsStore &store = SettingsStore::instance();
        QFile::remove(store.filePath());
        store.reload();
        AppState::settings = SettingsModel();
        // Three "apple"s, one of them capitalised.
        m_frame = makeFrame(m_server.page(QStringLiteral("apple Apple pineapple")));
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
        m_document = activeFrameDocument(*m_frame);
        QVERIFY(m_document);
        QTRY_VERIFY(!m_document->findChild<WebBrowser *>()->page()->isLoading() &&
                    m_document->locationName() == QLatin1String("apple Apple pineapple"));
    }

    void cleanupTestCase()
    {
        m_frame->close();
        m_frame.reset();
    }

    void countsAndWrapsBothWays()
    {
        FindBar *bar = search(QStringLiteral("apple"));
        QTRY_COMPARE(resultText(bar), QStringLiteral("1 of 3"));
        QTest::keyClick(window(), Qt::Key_Return);
        QTRY_COMPARE(resultText(bar), QStringLiteral("2 of 3"));
        bar->findNext();
        QTRY_COMPARE(resultText(bar), QStringLiteral("3 of 3"));
        QTest::keyClick(window(), Qt::Key_Return);
        QTRY_COMPARE(resultText(bar), QStringLiteral("1 of 3"));
        QTest::keyClick(window(), Qt::Key_Return, Qt::ShiftModifier);
        QTRY_COMPARE(resultText(bar), QStringLiteral("3 of 3"));
        bar->findPrevious();
        QTRY_COMPARE(resultText(bar), QStringLiteral("2 of 3"));

        // Match case counts anew.
        bar = search(QStringLiteral("Apple"), true);
        QTRY_COMPARE(resultText(bar), QStringLiteral("1 of 1"));
    }

    void searchWithoutMatchSaysSo()
    {
        // A new search starts at the match left selected.
        FindBar *bar = search(QStringLiteral("apple"));
        QTRY_VERIFY(resultText(bar).endsWith(QLatin1String(" of 3")));
        QSignalSpy shown(bar, &FindBar::resultShown);
        field()->setText(QStringLiteral("zebra"));
        QTRY_COMPARE(resultText(bar), QStringLiteral("Phrase not found"));
        QCOMPARE(shown.last(), (QList<QVariant>{0, 0}));
    }

    // Ctrl+F opens the bar with its text selected, typing goes into it, Esc hands the page
    // back the focus; the next Ctrl+F finds the text as it was left, selected.
    void keysOpenAndClose()
    {
        m_document->setFocus();
        QTest::keyClick(window(), Qt::Key_F, Qt::ControlModifier);
        FindBar *bar = m_document->findBar();
        QTRY_VERIFY(bar->isVisible());
        QTRY_COMPARE(QApplication::focusWidget(), field());
        QCOMPARE(field()->selectedText(), field()->text());

        for (char c : {'p', 'i', 'n', 'e'})
            QTest::keyClick(window(), c);
        QCOMPARE(bar->text(), QStringLiteral("pine"));
        QTRY_COMPARE(resultText(bar), QStringLiteral("1 of 1"));

        QTest::keyClick(window(), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QTRY_VERIFY(m_document->findChild<WebBrowser *>()->isAncestorOf(QApplication::focusWidget()));

        QTest::keyClick(window(), Qt::Key_F, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(), field());
        QCOMPARE(field()->selectedText(), QStringLiteral("pine"));
    }

    // F3 and Shift+F3 find again while the bar holds text, from the page as well.
    void findAgainKeys()
    {
        FindBar *bar = search(QStringLiteral("apple"));
        QTRY_VERIFY(resultText(bar).endsWith(QLatin1String(" of 3")));
        const int first = resultText(bar).section(u' ', 0, 0).toInt();
        m_document->setFocus();
        QTest::keyClick(window(), Qt::Key_F3);
        QTRY_COMPARE(resultText(bar), QStringLiteral("%1 of 3").arg(first % 3 + 1));
        QTest::keyClick(window(), Qt::Key_F3, Qt::ShiftModifier);
        QTRY_COMPARE(resultText(bar), QStringLiteral("%1 of 3").arg(first));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    initApplicationIdentity();
    TestFindBar test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_findbar.moc"
