#include "core/maincode.h"
#include "core/settingsstore.h"
#include "core/startup.h"
#include "document/frmdocument.h"
#include "document/popupkiller.h"
#include "frame/dtabcontrol.h"
#include "frame/frmmain.h"
#include "testserver.h"
#include "widgets/cnostatusbar.h"
#include "core/paths.h"
#include "sidebar/notesfiles.h"

#include <QApplication>
#include <QGuiApplication>
#include <QtTest>

#include <memory>

// Popups opened by pages, through the real frame and engine: killed with the indication,
// let through by the whitelist or with the killer off.
class TestPopups : public QObject
{
    Q_OBJECT

    TestServer m_server;
    SettingsStore &store() { return SettingsStore::instance(); }

    std::unique_ptr<frmMain> makeFrame(const QString &address)
    {
        store().write("Settings", "FirstTime", "False");
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = std::make_unique<frmMain>();
        frame->MDIForm_Load(address);
        frame->ShowFrame();
        return frame;
    }

private slots:
    void init()
    {
        QFile::remove(store().filePath());
        store().reload();
        // The one-time notice would wait for a click.
        store().write("Popup", "FirstPopup", "False");
        store().write("Popup", "PopupPromptWhitelist", "False");
        MainCode::Settings = SettingsModel();
        MainCode::Whitelist.clear();
        MainCode::WhitelistCount = 0;
        MainCode::OpenDocuments = 0;
        QFile::remove(Paths::dataFile(QStringLiteral("Whitelist.qvr")));
    }

    void killedPopupShowsTheIndication()
    {
        auto frame = makeFrame(m_server.url("/popup"));
        QCOMPARE(frame->m_cStatusBar->PanelIcon(QStringLiteral("Item4")), 3);
        QTRY_COMPARE(frame->vbalDTabControl1->Caption(1), QStringLiteral("Opener"));
        // The kill blinks the killer's panel.
        QTRY_COMPARE(frame->m_cStatusBar->PanelIcon(QStringLiteral("Item4")), 5);
        QCOMPARE(frame->Documents().size(), 1);
        QTRY_COMPARE(frame->m_cStatusBar->PanelIcon(QStringLiteral("Item4")), 3);
        QTRY_VERIFY(!PopupCursorShown());
        frame->close();
    }

    void whitelistedOpenerMayOpen()
    {
        // The whitelist file as a previous run left it.
        QVERIFY(NotesFiles::WriteWhitelist(Paths::dataFile(QStringLiteral("Whitelist.qvr")),
                                           {QStringLiteral("127.0.0.1")}));
        auto frame = makeFrame(m_server.url("/popup"));
        QTRY_COMPARE(frame->Documents().size(), 2);
        QTRY_COMPARE(frame->vbalDTabControl1->Caption(2), QStringLiteral("Popup"));
        frame->close();
    }

    void whitelistSurvivesARestart()
    {
        {
            auto frame = makeFrame(m_server.page("First"));
            AddToWhitelist(QStringLiteral("allowed.example"));
            frame->close();
        }
        MainCode::Whitelist.clear();
        MainCode::WhitelistCount = 0;
        auto frame = makeFrame(m_server.page("Second"));
        QCOMPARE(MainCode::Whitelist, QStringList{QStringLiteral("allowed.example")});
        QCOMPARE(MainCode::WhitelistCount, qint16(1));
        frame->close();
    }

    void killerOffLetsThrough()
    {
        auto frame = makeFrame(m_server.page("Start"));
        MainCode::Settings.PopupKillerEnable = false;
        frame->ActiveDocument()->NavigateDoc(m_server.url("/popup"));
        QTRY_COMPARE(frame->Documents().size(), 2);
        frame->close();
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    InitApplicationIdentity();
    TestPopups test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_popups.moc"
