#include "core/frmwarning.h"
#include "core/maincode.h"
#include "core/settingsstore.h"
#include "core/startup.h"
#include "document/frmdocument.h"
#include "frame/dtabcontrol.h"
#include "frame/frmload.h"
#include "frame/frmmorewindows.h"
#include "frame/frmmain.h"
#include "frame/frmnavigator.h"
#include "platform/webbrowser.h"
#include "widgets/cmousegestures.h"
#include "widgets/cnostatusbar.h"
#include "testserver.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

class TestFrmMain : public QObject
{
    Q_OBJECT

    TestServer m_server;

    SettingsStore &store() { return SettingsStore::instance(); }
    QString marker() { return store().read("Settings", "PrevSessionCrashed", "(none)"); }

    // A frame after its load, shown; later runs unless firstRun.
    std::unique_ptr<frmMain> makeFrame(const QString &commandLine = QString(), bool firstRun = false)
    {
        if (!firstRun)
            store().write("Settings", "FirstTime", "False");
        auto frame = std::make_unique<frmMain>();
        frame->MDIForm_Load(commandLine);
        frame->ShowFrame();
        return frame;
    }

    // Opens an address in a new tab through the address bar.
    void enterInNewTab(frmMain &frame, const QString &address)
    {
        frame.SetGoNew(true);
        frame.SetAddressText(address);
        frame.AddressbarEnter(false, false);
        frame.SetGoNew(false);
    }

    // Rows, tabs and documents agree position by position.
    static bool registryConsistent(frmMain &frame)
    {
        frmNavigator *nav = frame.Navigator();
        if (nav->RowCount() != frame.vbalDTabControl1->Count() ||
            nav->RowCount() != MainCode::OpenDocuments)
            return false;
        for (int k = 1; k <= nav->RowCount(); ++k) {
            frmDocument *document = nav->RowDocument(k);
            if (!document || document->Position() != k)
                return false;
        }
        return true;
    }

    static QStringList tabCaptions(frmMain &frame)
    {
        QStringList captions;
        for (int k = 1; k <= frame.vbalDTabControl1->Count(); ++k)
            captions << frame.vbalDTabControl1->Caption(k);
        return captions;
    }

private slots:
    void init()
    {
        QFile::remove(store().filePath());
        store().reload();
        MainCode::Settings = SettingsModel();
        MainCode::OpenDocuments = 0;
        // The popup killer's questions and one-time notice would wait for a click.
        store().write("Popup", "FirstPopup", "False");
        store().write("Popup", "PopupPromptWhitelist", "False");
    }

    void firstRunOpensOnlyTheQuickTour()
    {
        QCOMPARE(marker(), QStringLiteral("(none)"));
        {
            auto frame = makeFrame(m_server.page("Ignored"), true);
            QVERIFY(!frame->PrevSessionCrashed());
            QCOMPARE(marker(), QStringLiteral("True"));
            QCOMPARE(store().read("Settings", "FirstTime", {}), QStringLiteral("False"));
            QCOMPARE(frame->windowTitle(), QStringLiteral("Quarvel v2.7"));
            QCOMPARE(frame->Documents().size(), 1);
            QTRY_COMPARE(frame->vbalDTabControl1->Caption(1), QStringLiteral("Quarvel Quick Tour"));
            frame->close();
        }
        QCOMPARE(marker(), QStringLiteral("False"));
        QCOMPARE(store().read("Popup", "PopupKillerEnable", {}), QStringLiteral("True"));
        QCOMPARE(store().read("Gestures", "MouseUpRight", {}), QStringLiteral("10"));
    }

    void crashNoticeAfterAnUncleanExit()
    {
        store().write("Settings", "PrevSessionCrashed", "True");
        store().write("General", "LoadAction", "1");
        store().write("General", "SaveDocumentOnExit", "False");
        bool noticeShown = false;
        QTimer::singleShot(0, this, [&] {
            if (auto *w = qobject_cast<frmWarning *>(QApplication::activeModalWidget())) {
                noticeShown = w->windowTitle() == QLatin1String("Warning!");
                w->accept();
            }
        });
        auto frame = makeFrame(m_server.page("After crash"));
        QVERIFY(noticeShown);
        QVERIFY(frame->PrevSessionCrashed());
        QCOMPARE(MainCode::Settings.LoadAction, 2);
        frame->close();
        QCOMPARE(store().read("General", "LoadAction", {}), QStringLiteral("2"));
    }

    void tabsFollowTitlesAndClosesKeepTheRegistry()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(QLatin1Char('"') + m_server.page("Page A") + QLatin1Char('"'));
        QCOMPARE(frame->Documents().size(), 1); // only the command-line tab
        enterInNewTab(*frame, m_server.page("Page B"));
        enterInNewTab(*frame, m_server.page("Page C"));
        enterInNewTab(*frame, m_server.page("Page D"));
        enterInNewTab(*frame, m_server.page("Page E"));
        QTRY_COMPARE(tabCaptions(*frame), QStringList({"Page A", "Page B", "Page C", "Page D", "Page E"}));
        frmNavigator *nav = frame->Navigator();
        QTRY_COMPARE(nav->RowStatus(5), QStringLiteral("Completed"));
        QCOMPARE(nav->RowText(3), QStringLiteral("Page C"));
        QVERIFY(registryConsistent(*frame));
        QCOMPARE(frame->ActiveDocument(), nav->RowDocument(5));
        QVERIFY(nav->RowBold(5) && !nav->RowBold(1));
        QCOMPARE(frame->AddressText(), QUrl(m_server.page("Page E")).toString());

        // Close a middle one, then the first, then the last.
        frame->DoTabAction(nav->RowDocument(3), 3, 1);
        QTRY_COMPARE(nav->RowCount(), 4);
        QVERIFY(registryConsistent(*frame));
        QCOMPARE(tabCaptions(*frame), QStringList({"Page A", "Page B", "Page D", "Page E"}));
        frame->DoTabAction(nav->RowDocument(1), 1, 1);
        QTRY_COMPARE(nav->RowCount(), 3);
        QVERIFY(registryConsistent(*frame));
        frame->DoTabAction(nav->RowDocument(3), 3, 1);
        QTRY_COMPARE(nav->RowCount(), 2);
        QVERIFY(registryConsistent(*frame));
        QCOMPARE(tabCaptions(*frame), QStringList({"Page B", "Page D"}));
        QCOMPARE(nav->RowText(2), QStringLiteral("Page D"));
        QCOMPARE(frame->g_sLastClosedDocument, QUrl(m_server.page("Page E")).toString());

        // A click on a tab brings its document to the front.
        frame->DoTabAction(nav->RowDocument(1), 1, 0);
        QTRY_COMPARE(frame->ActiveDocument(), nav->RowDocument(1));
        QTRY_VERIFY(frame->vbalDTabControl1->Selected(1));
        QCOMPARE(frame->AddressText(), QUrl(m_server.page("Page B")).toString());

        // Shrinking a tab shows three characters and the odd icon.
        frame->DoTabAction(nav->RowDocument(2), 2, 2);
        QCOMPARE(frame->vbalDTabControl1->Caption(2), QStringLiteral("Pag"));
        QCOMPARE(frame->vbalDTabControl1->IconIndex(2) % 2, 1);
        frame->close();
        QCOMPARE(MainCode::OpenDocuments, qint16(0));
    }

    void enterNavigatesAndRemembers()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.page("Start"));
        frmDocument *document = frame->ActiveDocument();
        QVERIFY(document);
        QTRY_COMPARE(document->LocationName(), QStringLiteral("Start"));

        // A new text navigates the active document and goes to the top of the list.
        frame->SetAddressText(m_server.page("Second"));
        frame->AddressbarEnter(false, false);
        QTRY_COMPARE(document->LocationName(), QStringLiteral("Second"));
        QCOMPARE(frame->Documents().size(), 1);
        QCOMPARE(frame->TypedAddresses().value(0), m_server.page("Second"));

        // Typing and pressing Enter in the address bar itself.
        frame->Addressbar->lineEdit()->setFocus();
        frame->Addressbar->lineEdit()->selectAll();
        QTest::keyClicks(frame->Addressbar->lineEdit(), m_server.page("Typed"));
        QTest::keyClick(frame->Addressbar->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE(document->LocationName(), QStringLiteral("Typed"));
        // Keys as a keyboard delivers them, through the combo box.
        frame->SetAddressText(m_server.page("Keyboard"));
        QTest::keyClick(frame->Addressbar, Qt::Key_Return);
        QTRY_COMPARE(document->LocationName(), QStringLiteral("Keyboard"));
        QCOMPARE(frame->Documents().size(), 1);
        const int listSize = int(frame->TypedAddresses().size());

        // Without a scheme the text is a web address.
        frame->SetAddressText(QStringLiteral("127.0.0.1:%1/page?title=Bare").arg(m_server.serverPort()));
        frame->AddressbarEnter(false, false);
        QTRY_COMPARE(document->LocationName(), QStringLiteral("Bare"));

        // A text already listed leaves the list alone.
        frame->SetAddressText(m_server.page("Start"));
        frame->AddressbarEnter(false, false);
        QTRY_COMPARE(document->LocationName(), QStringLiteral("Start"));
        QCOMPARE(frame->TypedAddresses().size(), listSize + 1);

        // Back, forward and refresh.
        frame->Back();
        QTRY_COMPARE(document->LocationName(), QStringLiteral("Bare"));
        frame->Forward();
        QTRY_COMPARE(document->LocationName(), QStringLiteral("Start"));
        const int before = m_server.requests;
        frame->Refresh();
        QTRY_VERIFY(m_server.requests > before);

        // A redirect ends on its target, and the address bar follows it.
        frame->SetAddressText(m_server.url("/redirect?to=/page%3Ftitle%3DTarget"));
        frame->AddressbarEnter(false, false);
        QTRY_COMPARE(document->LocationName(), QStringLiteral("Target"));
        QTRY_COMPARE(frame->AddressText(), m_server.page("Target"));

        // Stop ends a slow load; the frame keeps working.
        frame->SetAddressText(m_server.url("/slow?ms=3000&title=Slow"));
        frame->AddressbarEnter(false, false);
        QTRY_VERIFY(document->WebBro->Busy());
        frame->StopLoading();
        QTRY_VERIFY(!document->WebBro->Busy());

        // Home goes to home page 1 in the active tab.
        MainCode::Settings.SitesHome1 = m_server.page("Home");
        frame->Home1();
        QTRY_COMPARE(document->LocationName(), QStringLiteral("Home"));
        QCOMPARE(frame->Documents().size(), 1);

        frame->close();
        // The list is written from its last entry up: the newest has the highest number.
        const QString count = store().read("Settings", "HistoryCount", {});
        QCOMPARE(store().read("Settings", "HistorySite1", {}), m_server.page("Start"));
        QCOMPARE(store().read("Settings", "HistorySite" + count, {}), m_server.url("/slow?ms=3000&title=Slow"));
    }

    void siteCommandsWithoutDocumentOpenTabs()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.page("Only"));
        frame->CloseAllDocuments();
        QTRY_COMPARE(frame->Documents().size(), 0);
        frame->Back(); // nothing to do, nothing breaks
        frame->Refresh();
        MainCode::Settings.SitesMail = m_server.page("Mail");
        frame->GoMail();
        QCOMPARE(frame->Documents().size(), 1);
        QTRY_COMPARE(frame->vbalDTabControl1->Caption(1), QStringLiteral("Mail"));
        frame->close();
    }

    void savedPagesComeBack()
    {
        store().write("General", "SaveDocumentOnExit", "True");
        store().write("General", "LoadAction", "1");
        {
            auto frame = makeFrame(m_server.page("One"));
            enterInNewTab(*frame, m_server.page("Two"));
            QTRY_COMPARE(tabCaptions(*frame), QStringList({"One", "Two"}));
            // Every completed page already saved the list.
            QTRY_COMPARE(store().read("Settings", "DocumentCount", {}), QStringLiteral("2"));
            frame->close();
        }
        QCOMPARE(store().read("Settings", "Document1", {}), m_server.page("One"));
        QCOMPARE(store().read("Settings", "Document2", {}), m_server.page("Two"));
        {
            auto frame = makeFrame();
            QTRY_COMPARE(tabCaptions(*frame), QStringList({"One", "Two"}));
            frame->close();
        }
    }

    void restoreDialogKeepsTheTickedPages()
    {
        store().write("General", "SaveDocumentOnExit", "True");
        store().write("General", "LoadAction", "2");
        store().write("Settings", "DocumentCount", "3");
        store().write("Settings", "Document1", m_server.page("First"));
        store().write("Settings", "Document2", m_server.page("Second"));
        store().write("Settings", "Document3", m_server.page("Third"));
        bool shown = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<frmLoad *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shown = dialog->windowTitle() == QLatin1String("Load Saved Documents");
            dialog->ListView1->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
            dialog->chkDontAskAgain->setChecked(true);
            dialog->btnOk_Click();
        });
        auto frame = makeFrame();
        QVERIFY(shown);
        QTRY_COMPARE(tabCaptions(*frame), QStringList({"First", "Third"}));
        QCOMPARE(MainCode::Settings.LoadAction, 1);
        QCOMPARE(store().read("Settings", "Document3", {}), m_server.page("Third")); // never deleted
        frame->close();
    }

    void handOverOpensATabAndRestores()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.page("Before"));
        const qsizetype before = frame->Documents().size();

        frame->HandOver(m_server.page("Handed"));
        QCOMPARE(frame->Documents().size(), before + 1);
        QTRY_COMPARE(frame->vbalDTabControl1->Caption(int(before) + 1), QStringLiteral("Handed"));

        // Empty and one-character texts open nothing but still bring the window back.
        frame->showMinimized();
        QTRY_VERIFY(frame->isMinimized());
        frame->HandOver(QString());
        frame->HandOver(QStringLiteral("x"));
        QCOMPARE(frame->Documents().size(), before + 1);
        QTRY_VERIFY(!frame->isMinimized());
        QVERIFY(frame->isVisible());
        frame->close();
    }

    void popupsAreKilledUnlessAllowed()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.url("/popup"));
        QTRY_COMPARE(frame->vbalDTabControl1->Caption(1), QStringLiteral("Opener"));
        // The kill shows on the killer's panel; no tab opened.
        QTRY_COMPARE(frame->m_cStatusBar->PanelIcon(QStringLiteral("Item4")), 5);
        QCOMPARE(frame->Documents().size(), 1);

        MainCode::Settings.PopupKillerEnable = false;
        frame->Refresh();
        QTRY_COMPARE(frame->Documents().size(), 2);
        QTRY_COMPARE(frame->vbalDTabControl1->Caption(2), QStringLiteral("Popup"));
        QVERIFY(registryConsistent(*frame));
        frame->close();
    }

    void shortcutFilesOpenTheirAddress()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("My Site.URL"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[InternetShortcut]\r\nURL=" + m_server.page("From shortcut").toUtf8() + "\r\n");
        file.close();
        auto frame = makeFrame(m_server.page("Start"));
        frame->LoadNewDoc(QUrl::fromLocalFile(path).toString());
        QTRY_COMPARE(frame->vbalDTabControl1->Caption(2), QStringLiteral("From shortcut"));
        frame->LoadNewDoc(path);
        QTRY_COMPARE(frame->vbalDTabControl1->Caption(3), QStringLiteral("From shortcut"));
        frame->close();
    }

    void windowListAndPalette()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.page("Alpha"));
        enterInNewTab(*frame, m_server.page("Beta"));
        QTRY_COMPARE(tabCaptions(*frame), QStringList({"Alpha", "Beta"}));

        // The window list shows every document, the active one bold; OK switches.
        {
            frmMoreWindows list(frame->Documents(), frame.get());
            QCOMPARE(list.ListView1->topLevelItemCount(), 2);
            QVERIFY(list.ListView1->topLevelItem(1)->font(0).bold());
            QVERIFY(!list.ListView1->topLevelItem(0)->font(0).bold());
            QCOMPARE(list.ListView1->headerItem()->text(0), QStringLiteral("Site"));
            QVERIFY(!MainCode::ModalDialogClosed);
            list.ListView1->setCurrentItem(list.ListView1->topLevelItem(0));
            Q_EMIT list.ListView1->itemDoubleClicked(list.ListView1->topLevelItem(0), 0);
            QCOMPARE(list.Chosen(), frame->Navigator()->RowDocument(1));
        }
        QVERIFY(MainCode::ModalDialogClosed);

        // The palette grows by 250 twips a tick up to 5000 and stands still while sticky.
        frmNavigator *nav = frame->Navigator();
        QCOMPARE(nav->ListView1->headerItem()->text(1), QStringLiteral("Status"));
        nav->setHeightTwips(4875);
        nav->Timer1Tag = QStringLiteral("0");
        nav->Timer1_Timer();
        const int grown = nav->heightTwips();
        QVERIFY(grown > 5000);
        nav->Timer1_Timer();
        QCOMPARE(nav->heightTwips(), grown);
        nav->findChild<QAction *>(QStringLiteral("Sticky"))->setChecked(true);
        nav->Timer1Tag = QStringLiteral("1");
        nav->Timer1_Timer();
        QCOMPARE(nav->heightTwips(), grown);
        nav->findChild<QAction *>(QStringLiteral("Sticky"))->setChecked(false);
        nav->Timer1_Timer();
        QVERIFY(nav->heightTwips() < grown);
        frame->close();
    }

    void statusBarAndGestures()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        store().write("Gestures", "MouseLeftDown", "6");
        auto frame = makeFrame(m_server.page("Status"));
        cNoStatusBar *bar = frame->m_cStatusBar;
        QCOMPARE(bar->PanelCount(), 8);
        QCOMPARE(bar->PanelIcon(QStringLiteral("Item4")), 3);
        QVERIFY(!bar->PanelText(QStringLiteral("Item2")).isEmpty()); // the clock ran once
        QCOMPARE(bar->PanelToolTipText(QStringLiteral("Item2")), bar->PanelText(QStringLiteral("Item2")));

        // The progress panel is owner-drawn while a page loads and paints the bar there.
        frame->resize(1200, 700);
        QTRY_VERIFY(frame->picStatus->width() > 900);
        frame->SetProgressTag(QStringLiteral("0"));
        const QImage idle = frame->picStatus->grab().toImage();
        frame->SetProgressTag(QStringLiteral("45"));
        QCOMPARE(bar->PanelStyle(QStringLiteral("Item7")), cNoStatusBar::kStyleOwnerDraw);
        int l = 0, t = 0, r = 0, b = 0;
        bar->GetPanelRect(QStringLiteral("Item7"), l, t, r, b);
        const QImage loading = frame->picStatus->grab().toImage();
        bool painted = false;
        for (int x = l; x < r && !painted; ++x)
            painted = loading.pixelColor(x, (t + b) / 2) != idle.pixelColor(x, (t + b) / 2);
        QVERIFY(painted);
        frame->SetProgressTag(QStringLiteral("0"));
        QCOMPARE(bar->PanelStyle(QStringLiteral("Item7")), cNoStatusBar::kStyleGripperPane);

        // A double click on the killer's panel toggles it, twice restores it.
        frame->m_cStatusBar_DoubleClick(4, 0, 0);
        QVERIFY(!MainCode::Settings.PopupKillerEnable);
        QCOMPARE(bar->PanelIcon(QStringLiteral("Item4")), 1);
        frame->m_cStatusBar_DoubleClick(4, 0, 0);
        QVERIFY(MainCode::Settings.PopupKillerEnable);
        QCOMPARE(bar->PanelIcon(QStringLiteral("Item4")), 3);

        // Strokes map to their settings; a gesture is accepted even while a dialog is open.
        QCOMPARE(frmMain::GestureAction(cMouseGestures::kUp), 3);
        QCOMPARE(frmMain::GestureAction(cMouseGestures::kUpRight), 10);
        QCOMPARE(frmMain::GestureAction(cMouseGestures::kLeftDown), 6);
        QCOMPARE(frmMain::GestureAction(3), 0);
        bool accepted = false;
        MainCode::ModalDialogClosed = false;
        frame->mouseGestures_MouseGesture(cMouseGestures::kLeftDown, 0, 0, 0, 0, accepted);
        QVERIFY(accepted);
        QCOMPARE(frame->Documents().size(), 1);
        MainCode::ModalDialogClosed = true;
        accepted = false;
        MainCode::Settings.SitesHome1 = m_server.page("Gesture");
        frame->mouseGestures_MouseGesture(cMouseGestures::kLeftDown, 0, 0, 0, 0, accepted);
        QVERIFY(accepted);
        QCOMPARE(frame->Documents().size(), 2);
        QTRY_COMPARE(frame->vbalDTabControl1->Caption(2), QStringLiteral("Gesture"));
        QVERIFY(frame->mouseGestures->IsAttached());
        frame->close();
        QVERIFY(!frame->mouseGestures->IsAttached());
    }

    void destroyedWithoutClose()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.page("Gone"));
        QTRY_COMPARE(frame->vbalDTabControl1->Caption(1), QStringLiteral("Gone"));
        frame.reset(); // as a failing check leaves it: no close first
        QCOMPARE(MainCode::OpenDocuments, qint16(0));
    }

    void geometryIsSavedInTwips()
    {
        store().write("Settings", "MainMaximized", "False");
        store().write("Settings", "MainLeft", "1500");
        store().write("Settings", "MainWidth", "9000");
        store().write("General", "SaveDocumentOnExit", "False");
        {
            auto frame = makeFrame(m_server.page("Geometry"));
            QVERIFY(!(frame->windowState() & Qt::WindowMaximized));
            QCOMPARE(frame->geometry().width(), 600);
            frame->setGeometry(20, 30, 640, 480);
            frame->close();
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
