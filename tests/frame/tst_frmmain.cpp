#include "core/frmwarning.h"
#include "core/maincode.h"
#include "core/settingsstore.h"
#include "core/startup.h"
#include "document/frmdocument.h"
#include "frame/frmmain.h"

#include <QApplication>
#include <QMdiArea>
#include <QTimer>
#include <QtTest>

class TestFrmMain : public QObject
{
    Q_OBJECT

    SettingsStore &store() { return SettingsStore::instance(); }
    QString marker() { return store().read("Settings", "PrevSessionCrashed", "(none)"); }

private slots:
    void init()
    {
        QFile::remove(store().filePath());
        store().reload();
        MainCode::Settings = SettingsModel();
    }

    void firstRunSetsMarkerAndOpensNothing()
    {
        QCOMPARE(marker(), QStringLiteral("(none)"));
        {
            frmMain frame;
            frame.MDIForm_Load(QStringLiteral("http://127.0.0.1:1/ignored.html"));
            QVERIFY(!frame.PrevSessionCrashed());
            QCOMPARE(marker(), QStringLiteral("True"));
            QCOMPARE(store().read("Settings", "FirstTime", {}), QStringLiteral("False"));
            QCOMPARE(frame.windowTitle(), QStringLiteral("Quarvel v2.7"));
            QCOMPARE(frame.Documents().size(), 0);
            frame.close();
        }
        QCOMPARE(marker(), QStringLiteral("False"));
        // The exit saved the settings model.
        QCOMPARE(store().read("Popup", "PopupKillerEnable", {}), QStringLiteral("True"));
        QCOMPARE(store().read("Gestures", "MouseUpRight", {}), QStringLiteral("10"));
    }

    void crashNoticeAfterAnUncleanExit()
    {
        store().write("Settings", "FirstTime", "False");
        store().write("Settings", "PrevSessionCrashed", "True");
        store().write("General", "LoadAction", "1");
        bool noticeShown = false;
        QTimer::singleShot(0, this, [&] {
            if (auto *w = qobject_cast<frmWarning *>(QApplication::activeModalWidget())) {
                noticeShown = w->windowTitle() == QLatin1String("Warning!");
                w->accept();
            }
        });
        frmMain frame;
        frame.MDIForm_Load(QString());
        QVERIFY(noticeShown);
        QVERIFY(frame.PrevSessionCrashed());
        QCOMPARE(MainCode::Settings.LoadAction, 2);
        frame.close();
        QCOMPARE(store().read("General", "LoadAction", {}), QStringLiteral("2"));
    }

    void laterRunOpensHomeOrCommandLine()
    {
        store().write("Settings", "FirstTime", "False");
        store().write("General", "SaveDocumentOnExit", "False");
        store().write("Sites", "SitesHome1", "about:blank");
        {
            frmMain frame;
            frame.MDIForm_Load(QString());
            QCOMPARE(frame.Documents().size(), 1);
            frame.close();
        }
        {
            frmMain frame;
            frame.MDIForm_Load(QStringLiteral("\"about:blank\""));
            QCOMPARE(frame.Documents().size(), 1); // only the command-line tab
            QCOMPARE(frame.ActiveDocument()->windowTitle(), QStringLiteral("about:blank"));
            frame.close();
        }
    }

    void handOverOpensATabAndRestores()
    {
        store().write("Settings", "FirstTime", "False");
        frmMain frame;
        frame.MDIForm_Load(QString());
        frame.ShowFrame();
        const qsizetype before = frame.Documents().size();

        frame.HandOver(QStringLiteral("about:blank"));
        QCOMPARE(frame.Documents().size(), before + 1);
        QCOMPARE(frame.ActiveDocument()->windowTitle(), QStringLiteral("about:blank"));

        // Empty and one-character texts open nothing but still bring the window back.
        frame.showMinimized();
        QTRY_VERIFY(frame.isMinimized());
        frame.HandOver(QString());
        frame.HandOver(QStringLiteral("x"));
        QCOMPARE(frame.Documents().size(), before + 1);
        QTRY_VERIFY(!frame.isMinimized());
        QVERIFY(frame.isVisible());
        frame.close();
    }

    void geometryIsSavedInTwips()
    {
        store().write("Settings", "FirstTime", "False");
        store().write("Settings", "MainMaximized", "False");
        store().write("Settings", "MainLeft", "1500");
        store().write("Settings", "MainWidth", "9000");
        {
            frmMain frame;
            frame.MDIForm_Load(QString());
            QVERIFY(!(frame.windowState() & Qt::WindowMaximized));
            QCOMPARE(frame.geometry().width(), 600);
            frame.ShowFrame();
            frame.setGeometry(20, 30, 640, 480);
            frame.close();
        }
        QCOMPARE(store().read("Settings", "MainWidth", {}), QStringLiteral("9600"));
        QCOMPARE(store().read("Settings", "MainHeight", {}), QStringLiteral("7200"));
        QCOMPARE(store().read("Settings", "MainMaximized", {}), QStringLiteral("False"));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    InitApplicationIdentity();
    TestFrmMain test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmmain.moc"
