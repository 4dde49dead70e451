#include "app/startup.h"
#include "core/appstate.h"
#include "core/notesfiles.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "document/documentwindow.h"
#include "document/popupkiller.h"
#include "document/popupwhitelist.h"
#include "frame/chrome/framestatusbar.h"
#include "frame/documents/documenttabbar.h"
#include "frame/mainwindow.h"
#include "framedocuments.h"
#include "testframe.h"
#include "testserver.h"
#include "widgets/panelstatusbar.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

// Popups opened by pages, through the real frame and engine: killed with the indication,
// let through by the whitelist or with the killer off.
class TestPopups : public QObject
{
    Q_OBJECT

    TestServer m_server;
    SettingsStore &store() { return SettingsStore::instance(); }

private slots:
    void init()
    {
        QFile::remove(store().filePath());
        store().reload();
        // The one-time notice would wait for a click.
        store().write("Popup", "FirstPopup", "False");
        store().write("Popup", "PopupPromptWhitelist", "False");
        AppState::settings = SettingsModel();
        programWhitelist().clear();
        QFile::remove(Paths::dataFile(QStringLiteral("Whitelist.qvr")));
    }

    void killedPopupShowsTheIndication()
    {
        auto frame = makeFrame(m_server.url("/popup"));
        QCOMPARE(frame->findChild<FrameStatusBar *>()->panels()->panelIcon(QStringLiteral("Item4")),
                 3);
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(0), QStringLiteral("Opener"));
        // The kill blinks the killer's panel.
        QTRY_COMPARE(
            frame->findChild<FrameStatusBar *>()->panels()->panelIcon(QStringLiteral("Item4")), 5);
        QCOMPARE(frameDocuments(*frame).size(), 1);
        QTRY_COMPARE(
            frame->findChild<FrameStatusBar *>()->panels()->panelIcon(QStringLiteral("Item4")), 3);
        QTRY_VERIFY(!isPopupCursorShown());
        frame->close();
    }

    // The first kill ever shows the one-time notice over the killing document.
    void firstKillShowsTheNotice()
    {
        store().write("Popup", "FirstPopup", "True");
        QString shown;
        QWidget *owner = nullptr;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                shown = modal->objectName();
                owner = modal->parentWidget();
                modal->reject();
            }
        });
        probe.start(10);
        auto frame = makeFrame(m_server.url("/popup"));
        QTRY_COMPARE(shown, QStringLiteral("frmFirstPopup"));
        QCOMPARE(owner, activeFrameDocument(*frame));
        frame->close();
    }

    void whitelistedOpenerMayOpen()
    {
        // The whitelist file as a previous run left it.
        QVERIFY(NotesFiles::writeWhitelist(Paths::dataFile(QStringLiteral("Whitelist.qvr")),
                                           {QStringLiteral("127.0.0.1")}));
        auto frame = makeFrame(m_server.url("/popup"));
        QTRY_COMPARE(frameDocuments(*frame).size(), 2);
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(1), QStringLiteral("Popup"));
        frame->close();
    }

    void whitelistSurvivesARestart()
    {
        {
            auto frame = makeFrame(m_server.page("First"));
            addToWhitelist(QStringLiteral("allowed.example"));
            frame->close();
        }
        programWhitelist().clear();
        auto frame = makeFrame(m_server.page("Second"));
        QCOMPARE(programWhitelist(), QStringList{QStringLiteral("allowed.example")});
        frame->close();
    }

    // Alt held lets the popup through after the whitelist question; the popup's tab opens only
    // once the question is answered.
    void questionComesBeforeThePopup()
    {
        store().write("Popup", "PopupPromptWhitelist", "True");
        auto frame = makeFrame(m_server.page("Start"));
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(0), QStringLiteral("Start"));
        qsizetype documentsWhenAsked = -1;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            auto *question = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!question || question->objectName() != QLatin1String("frmWhitelist"))
                return;
            documentsWhenAsked = frameDocuments(*frame).size();
            question->findChild<QRadioButton *>(QStringLiteral("Option1_1"))->setChecked(true);
            question->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
        });
        probe.start(10);
        QTest::keyPress(frame.get(), Qt::Key_Alt, Qt::AltModifier);
        QVERIFY(isAltDown());
        activeFrameDocument(*frame)->navigate(m_server.url("/popup"), QUrl(m_server.url("/popup")));
        QTRY_COMPARE(documentsWhenAsked, 1);
        QTRY_COMPARE(frameDocuments(*frame).size(), 2);
        QTest::keyRelease(frame.get(), Qt::Key_Alt);
        QCOMPARE(programWhitelist(), QStringList{m_server.url("/popup")});
        frame->close();
    }

    void killerOffLetsThrough()
    {
        auto frame = makeFrame(m_server.page("Start"));
        AppState::settings.popupKillerEnable = false;
        activeFrameDocument(*frame)->navigate(m_server.url("/popup"), QUrl(m_server.url("/popup")));
        QTRY_COMPARE(frameDocuments(*frame).size(), 2);
        frame->close();
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    initApplicationIdentity();
    TestPopups test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_popups.moc"
