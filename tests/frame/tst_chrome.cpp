#include "core/maincode.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/startup.h"
#include "core/strings.h"
#include "document/frmdocument.h"
#include "frame/crebar.h"
#include "frame/ctoolbar.h"
#include "frame/dtabcontrol.h"
#include "frame/frmmain.h"
#include "frame/frmnavigator.h"
#include "frame/popupmenu6.h"
#include "testserver.h"
#include "widgets/cnostatusbar.h"

#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <memory>

using Kind = frmMain::MenuKind;

namespace {

const QStringList kBandKeys = {"MenuBar", "Logo", "Toolbar1", "Toolbar2", "Addressbar", "Tabbar"};

void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

QList<cReBar::BandState> savedLayout()
{
    QFile file(frmMain::LayoutFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<cReBar::BandState> bands;
    cReBar::ParseLayout(QString::fromUtf8(file.readAll()), kBandKeys, &bands);
    return bands;
}

// Answers the next message box with OK and keeps its text.
void answerMessageBox(QObject *context, QString *text)
{
    QTimer::singleShot(0, context, [text] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->accept();
        }
    });
}

} // namespace

class TestChrome : public QObject
{
    Q_OBJECT

    TestServer m_server;

    SettingsStore &store() { return SettingsStore::instance(); }

    std::unique_ptr<frmMain> makeFrame(const QString &commandLine = QString())
    {
        store().write("Settings", "FirstTime", "False");
        store().write("General", "SaveDocumentOnExit", "False");
        MainCode::Settings = SettingsModel();
        auto frame = std::make_unique<frmMain>();
        frame->MDIForm_Load(commandLine.isEmpty() ? m_server.page("Home") : commandLine);
        frame->ShowFrame();
        frame->resize(1000, 700);
        return frame;
    }

    static QStringList bandOrder(frmMain &frame)
    {
        QStringList keys;
        for (int i = 0; i < frame.cReBar1->BandCount(); ++i)
            keys << frame.cReBar1->BandKey(i);
        return keys;
    }

    static cBandBar *band(frmMain &frame, const QString &key)
    {
        return frame.cReBar1->Band(frame.cReBar1->BandIndexForKey(key));
    }

private slots:
    void init()
    {
        QFile::remove(store().filePath());
        store().reload();
        MainCode::OpenDocuments = 0;
        QFile::remove(frmMain::LayoutFile());
        QDir(Paths::dataFile("skins")).removeRecursively();
    }

    // ---------------------------------------------------------------- bands and layout

    void defaultBandsWithoutAUsableLayout_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("corrupt") << QByteArray("\x01\x02<rebar version=\"1\"><band") << true;
        QTest::newRow("unknown band")
            << QByteArray("<rebar version=\"1\"><band key=\"Sidebar\" newrow=\"1\" visible=\"1\" "
                          "width=\"9\"/></rebar>")
            << true;
    }

    void defaultBandsWithoutAUsableLayout()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, present);
        if (present)
            writeFile(frmMain::LayoutFile(), content);
        auto frame = makeFrame();
        QCOMPARE(bandOrder(*frame), kBandKeys);
        QList<bool> rows;
        for (int i = 0; i < frame->cReBar1->BandCount(); ++i)
            rows << frame->cReBar1->BandNewRow(i);
        QCOMPARE(rows, QList<bool>({true, false, true, true, true, true}));
        QVERIFY(band(*frame, "Logo")->minimumHeight() != 52);
        QTRY_COMPARE(band(*frame, "Logo")->y(), band(*frame, "MenuBar")->y());
        QVERIFY(band(*frame, "Toolbar1")->y() > band(*frame, "MenuBar")->y());
        frame->close();
        // The exit leaves a layout the next start can use.
        QCOMPARE(savedLayout().size(), 6);
    }

    void layoutSurvivesARestart()
    {
        int addressWidth = 0;
        {
            auto frame = makeFrame();
            // The user drags the address band in front of the browse toolbar and hides the tabs.
            frame->insertToolBar(band(*frame, "Toolbar1"), band(*frame, "Addressbar"));
            QTRY_COMPARE(band(*frame, "Addressbar")->y(), band(*frame, "Toolbar1")->y());
            frame->RunMenuCommand(Kind::Main, {"mnuViewTabsBar"});
            QVERIFY(!frame->MenuChecked("mnuViewTabsBar"));
            addressWidth = band(*frame, "Addressbar")->width();
            frame->close();
        }
        QStringList order;
        for (const cReBar::BandState &b : savedLayout())
            order << b.key;
        QCOMPARE(order,
                 QStringList({"MenuBar", "Logo", "Addressbar", "Toolbar1", "Toolbar2", "Tabbar"}));

        auto frame = makeFrame();
        QCOMPARE(bandOrder(*frame), order);
        QTRY_COMPARE(band(*frame, "Addressbar")->y(), band(*frame, "Toolbar1")->y());
        QVERIFY(band(*frame, "Addressbar")->x() < band(*frame, "Toolbar1")->x());
        QCOMPARE(band(*frame, "Addressbar")->width(), addressWidth);
        QVERIFY(band(*frame, "Tabbar")->isHidden());
        QVERIFY(!frame->MenuChecked("mnuViewTabsBar"));
        QCOMPARE(band(*frame, "Logo")->minimumHeight(), 52);
        frame->close();
    }

    void restoredMinimumHeightGoesToTheLogo()
    {
        writeFile(frmMain::LayoutFile(), cReBar::LayoutText({{"MenuBar", true, true, 0},
                                                             {"Toolbar1", true, true, 0},
                                                             {"Logo", false, true, 0},
                                                             {"Toolbar2", true, false, 0},
                                                             {"Addressbar", true, true, 0},
                                                             {"Tabbar", true, true, 0}})
                                             .toUtf8());
        auto frame = makeFrame();
        QCOMPARE(frame->cReBar1->BandKey(1), QStringLiteral("Toolbar1"));
        QCOMPARE(band(*frame, "Logo")->minimumHeight(), 52);
        QVERIFY(band(*frame, "Toolbar1")->minimumHeight() < 52);
        QTRY_COMPARE(band(*frame, "Logo")->y(), band(*frame, "Toolbar1")->y());
        frame->close();
    }

    void alignmentMovesTheBands()
    {
        auto frame = makeFrame();
        frame->RunMenuCommand(Kind::Main, {"mnuAlignBottom"});
        QCOMPARE(frame->picHolderAlign(), 2);
        for (int i = 0; i < frame->cReBar1->BandCount(); ++i)
            QCOMPARE(frame->toolBarArea(frame->cReBar1->Band(i)), Qt::BottomToolBarArea);
        QVERIFY(frame->m_cMenu->RadioCheck(frame->m_cMenu->IndexForKey("mnuAlignBottom")));
        QVERIFY(!frame->m_cMenu->RadioCheck(frame->m_cMenu->IndexForKey("mnuAlignTop")));
        QTRY_VERIFY(band(*frame, "MenuBar")->y() > frame->height() / 2);
        // The rows keep their order from top to bottom.
        QVERIFY(band(*frame, "MenuBar")->y() < band(*frame, "Toolbar1")->y());
        QVERIFY(band(*frame, "Addressbar")->y() < band(*frame, "Tabbar")->y());
        frame->RunMenuCommand(Kind::Main, {"mnuAlignTop"});
        QCOMPARE(frame->toolBarArea(band(*frame, "Tabbar")), Qt::TopToolBarArea);
        QCOMPARE(bandOrder(*frame), kBandKeys);
        frame->close();
    }

    // ---------------------------------------------------------------- toolbars

    void toolbarsAsBuilt()
    {
        auto frame = makeFrame();
        cToolbar *t1 = frame->Toolbar1;
        QCOMPARE(t1->ButtonCount(), 13);
        QCOMPARE(t1->ButtonKey(7), QString());
        QCOMPARE(t1->ButtonStyle("Links"), cToolbar::kStyleWholeDropDown);
        QCOMPARE(t1->ButtonStyle("Stop"), cToolbar::kStyleDropDown);
        QCOMPARE(t1->ImageSize(), 24);
        QVERIFY(t1->PicturesLoaded());
        QVERIFY(t1->ButtonTextVisible("Back") && t1->TextRight());
        QCOMPARE(frame->Toolbar2->ImageSize(), 16);
        QCOMPARE(frame->Toolbar3->ButtonKey(0), QStringLiteral("AddressBar"));
        QCOMPARE(frame->Toolbar3->ButtonStyle("GoNew"), cToolbar::kStyleCheck);
        QCOMPARE(frame->Toolbar3->ButtonImage("Search"), 15);
        QVERIFY(frame->Addressbar->isVisible());

        frame->RunMenuCommand(Kind::SearchEngines, {"mnuSearchEngineWiki"});
        QCOMPARE(frame->g_nSearchEngine, 5);
        QCOMPARE(frame->Toolbar3->ButtonImage("Search"), 20);
        frame->close();
        QCOMPARE(store().read("Settings", "CurrentSearchEngine", {}), QStringLiteral("5"));
    }

    void toolbarOptionsApplyAtOnce()
    {
        auto frame = makeFrame();
        cToolbar *t1 = frame->Toolbar1;
        auto option = [&](Kind kind, const char *key, bool checked) {
            frame->RunMenuCommand(kind, {QLatin1String(key), 0, checked});
        };
        option(Kind::NavToolbar, "mnuTBShowText", true);
        QVERIFY(!t1->ButtonTextVisible("Back"));
        QCOMPARE(store().read("Settings", "Toolbar1ShowText", {}), QStringLiteral("False"));
        option(Kind::NavToolbar, "mnuTBShowText", false);
        QVERIFY(t1->ButtonTextVisible("Back"));
        QCOMPARE(store().read("Settings", "Toolbar1ShowText", {}), QStringLiteral("True"));

        option(Kind::NavToolbar, "mnuTBTextAlignBottom", false);
        QVERIFY(!t1->TextRight());
        QCOMPARE(store().read("Settings", "Toolbar1TextAlignRight", {}), QStringLiteral("False"));

        option(Kind::NavToolbar, "mnuTBLinksButton", true);
        QVERIFY(!t1->ButtonVisible("Links") && !t1->ButtonVisible("LinksSep"));
        QCOMPARE(t1->ButtonIndex("Links"), 12);
        QCOMPARE(store().read("Settings", "Toolbar1LinksButton", {}), QStringLiteral("False"));

        option(Kind::NavToolbar, "mnuTBLargeIcons", true);
        QCOMPARE(t1->ImageSize(), 16);
        QVERIFY(t1->PicturesLoaded());
        QCOMPARE(store().read("Settings", "Toolbar1LargeIcons", {}), QStringLiteral("False"));

        // The sites toolbar without links: its one button speaks for the option.
        option(Kind::SitesToolbar, "mnuTBShowText", true);
        QCOMPARE(store().read("Settings", "Toolbar2ShowText", {}), QStringLiteral("False"));
        option(Kind::SitesToolbar, "mnuTBShowText", false);
        QCOMPARE(store().read("Settings", "Toolbar2ShowText", {}), QStringLiteral("True"));
        option(Kind::SitesToolbar, "mnuTBLargeIcons", false);
        QCOMPARE(frame->Toolbar2->ImageSize(), 24);
        frame->close();

        // The next start builds the toolbars as they were left.
        auto again = makeFrame();
        QCOMPARE(again->Toolbar1->ImageSize(), 16);
        QVERIFY(!again->Toolbar1->TextRight());
        QVERIFY(!again->Toolbar1->ButtonVisible("Links"));
        QCOMPARE(again->Toolbar2->ImageSize(), 24);
        again->close();
    }

    void properButtonsFollowTheLinks()
    {
        auto frame = makeFrame();
        cToolbar *t2 = frame->Toolbar2;
        SettingsModel &s = MainCode::Settings;
        QCOMPARE(t2->ButtonCount(), 1);
        QVERIFY(t2->ButtonVisible("Custom"));
        QVERIFY(band(*frame, "Toolbar2")->isHidden()); // the sites toolbar starts hidden

        s.CustomLinksCount = 2;
        s.CustomLinksName = QStringList{"R&D", "News"};
        s.CustomLinksURL = QStringList{m_server.page("Link one"), m_server.page("Link two")};
        frame->ShowProperButtons();
        QCOMPARE(t2->ButtonCount(), 3);
        QVERIFY(!t2->ButtonVisible("Custom"));
        QCOMPARE(t2->ButtonKey(1), QStringLiteral("Custom1"));
        QCOMPARE(t2->ButtonCaption("Custom1"), QStringLiteral("R&&D"));
        QCOMPARE(t2->ButtonToolTip("Custom1"), QStringLiteral("R&D"));
        QVERIFY(band(*frame, "Toolbar2")->isHidden());

        frame->RunMenuCommand(Kind::Main, {"mnuViewSitesToolbar"});
        QVERIFY(!band(*frame, "Toolbar2")->isHidden());
        store().write("Settings", "Toolbar2ShowText", "False");
        s.CustomLinksCount = 1;
        frame->ShowProperButtons();
        QCOMPARE(t2->ButtonCount(), 2);
        QVERIFY(!t2->ButtonTextVisible("Custom1"));
        QVERIFY(!band(*frame, "Toolbar2")->isHidden());

        // A link button opens its address in a new tab (the default), a links-menu item in
        // the active tab when links stay in the page.
        QVERIFY(s.ControlSitesNew);
        frame->Toolbar2_ButtonClick(1);
        QCOMPARE(frame->Documents().size(), 2);
        QTRY_COMPARE(frame->vbalDTabControl1->Caption(2), QStringLiteral("Link one"));
        s.ControlSitesNew = false;
        s.CustomLinksCount = 2;
        frmDocument *document = frame->ActiveDocument();
        frame->RunMenuCommand(Kind::Links, {"Link2", 2});
        QTRY_COMPARE(document->LocationName(), QStringLiteral("Link two"));
        QCOMPARE(frame->Documents().size(), 2);

        s.CustomLinksCount = 0;
        frame->ShowProperButtons();
        QCOMPARE(t2->ButtonCount(), 1);
        QVERIFY(t2->ButtonVisible("Custom"));
        frame->close();
    }

    void importReplacesTheLinks()
    {
        auto frame = makeFrame();
        MainCode::IELinksCount = 2;
        MainCode::IELinksName = QStringList{"One", "Two"};
        MainCode::IELinksURL = QStringList{"http://one.invalid/", "http://two.invalid/"};
        MainCode::Settings.CustomLinksCount = 0;
        frame->RunMenuCommand(Kind::Links, {"mnuImportIELinks"}); // no links yet: no question
        QCOMPARE(MainCode::Settings.CustomLinksName, QStringList({"One", "Two"}));
        QCOMPARE(frame->Toolbar2->ButtonCount(), 3);

        // With links present the answer No keeps them.
        MainCode::IELinksName = QStringList{"Three", "Four"};
        QTimer::singleShot(0, this, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->button(QMessageBox::No)->click();
        });
        frame->RunMenuCommand(Kind::SitesToolbar, {"mnuImportIELinks"});
        QCOMPARE(MainCode::Settings.CustomLinksName, QStringList({"One", "Two"}));
        MainCode::IELinksCount = 0;
        frame->close();
    }

    // ---------------------------------------------------------------- document-dependent commands

    void modifyMenuFollowsTheDocuments()
    {
        const QStringList items = {
            "mnuFileClose",        "mnuFileSaveAs",      "mnuFileProperties", "mnuFilePageSetup",
            "mnuFilePrintPreview", "mnuFilePrint",       "mnuEditIncFont",    "mnuEditDecFont",
            "mnuEditResetFont",    "mnuEditSelectAll",   "mnuEditFind",       "mnuViewAddToFav",
            "mnuViewTabs",         "mnuViewSource",      "mnuNavigateBack",   "mnuNavigateForward",
            "mnuNavigateStop",     "mnuNavigateRefresh", "mnuContentFillForm"};
        auto frame = makeFrame();
        auto check = [&](bool enabled) {
            for (const QString &key : items)
                QVERIFY2(frame->MenuEnabled(key) == enabled, qPrintable(key));
            for (int position = 1; position <= 4; ++position)
                QCOMPARE(frame->Toolbar1->ButtonEnabledAt(position), enabled);
            QVERIFY(frame->Toolbar1->ButtonEnabled("New"));
            // Nothing here can show engine options or run Java and ActiveX.
            for (const char *key : {"mnuViewInternetOptions", "mnuContentJava", "mnuContentDLACTX",
                                    "mnuContentRUNACTX"})
                QVERIFY(!frame->MenuEnabled(QLatin1String(key)));
        };
        check(true);
        QVERIFY(!frame->MenuEnabled("mnuEditUndoClose"));
        frame->CloseAllDocuments();
        QTRY_COMPARE(MainCode::OpenDocuments, qint16(0));
        check(false);
        QVERIFY(frame->MenuEnabled("mnuEditUndoClose"));
        // Undo close came alive when the document closed.
        QVERIFY(!frame->g_sLastClosedDocument.isEmpty());
        frame->RunMenuCommand(Kind::New, {"mnuNewUndoClose"});
        QCOMPARE(MainCode::OpenDocuments, qint16(1));
        check(true);
        frame->close();
    }

    void viewAndContentCommands()
    {
        auto frame = makeFrame(m_server.page("Content"));
        QTRY_COMPARE(frame->vbalDTabControl1->Caption(1), QStringLiteral("Content"));

        frame->RunMenuCommand(Kind::Main, {"mnuViewBrowseToolbar"});
        QVERIFY(band(*frame, "Toolbar1")->isHidden());
        QVERIFY(!frame->MenuChecked("mnuViewBrowseToolbar"));
        frame->RunMenuCommand(Kind::Main, {"mnuViewAddressBar"});
        QVERIFY(band(*frame, "Addressbar")->isHidden());
        frame->RunMenuCommand(Kind::Main, {"mnuViewStatusBar"});
        QVERIFY(frame->picStatus->isHidden());
        QVERIFY(!MainCode::Settings.StatusBarVisible);

        // A download switch reloads every page; its mark follows the setting.
        const bool images = MainCode::Settings.EnableImages;
        QCOMPARE(frame->MenuChecked("mnuContentImage"), images);
        const int before = m_server.requests;
        frame->RunMenuCommand(Kind::Main, {"mnuContentImage"});
        QCOMPARE(MainCode::Settings.EnableImages, !images);
        QCOMPARE(frame->MenuChecked("mnuContentImage"), !images);
        QTRY_VERIFY(m_server.requests > before);
        frame->RunMenuCommand(Kind::Main, {"mnuContentJava"});
        QCOMPARE(frame->MenuChecked("mnuContentJava"), MainCode::Settings.EnableJava);

        // Unknown keys do nothing.
        frame->RunMenuCommand(Kind::Main, {"mnuNoSuchThing"});
        frame->close();
        QCOMPARE(store().read("Settings", "BrowseToolbarVisible", {}), QStringLiteral("False"));
        QCOMPARE(store().read("Settings", "AddressBarVisible", {}), QStringLiteral("False"));
        QCOMPARE(store().read("Settings", "StatusBarVisible", {}), QStringLiteral("False"));
        QCOMPARE(store().read("Content", "EnableImages", {}),
                 images ? QStringLiteral("False") : QStringLiteral("True"));

        auto again = makeFrame();
        QVERIFY(band(*again, "Toolbar1")->isHidden());
        QVERIFY(!again->MenuChecked("mnuViewBrowseToolbar"));
        QCOMPARE(again->MenuChecked("mnuContentImage"), !images);
        again->close();
    }

    void windowMenuCommands()
    {
        auto frame = makeFrame(m_server.page("First"));
        frame->LoadNewDoc(m_server.page("Second"));
        frame->LoadNewDoc(m_server.page("Third"));
        const QList<frmDocument *> documents = frame->Documents();
        QCOMPARE(documents.size(), 3);
        QTRY_COMPARE(documents[0]->windowTitle(), QStringLiteral("First"));
        QTRY_COMPARE(documents[2]->windowTitle(), QStringLiteral("Third"));

        // Opening the Window menu lists the windows, the active one first.
        PopupMenu6 *menu = frame->m_cMenu;
        frame->m_cMenu_InitPopupMenu(menu->IndexForKey("mnuWindow"));
        QCOMPARE(menu->Caption(menu->IndexForKey("mnuWin(8)")), QStringLiteral("&1) Third"));
        QCOMPARE(menu->Caption(menu->IndexForKey("mnuWin(9)")), QStringLiteral("&2) First"));
        QVERIFY(menu->Enabled(menu->IndexForKey("mnuWin(5)")));

        // Choosing a listed window brings it forward.
        const int first = menu->IndexForKey("mnuWin(9)");
        frame->RunMenuCommand(Kind::Main, {"mnuWin(9)", menu->ItemData(first)});
        QTRY_COMPARE(frame->ActiveDocument(), documents[0]);

        frame->RunMenuCommand(Kind::Main,
                              {"mnuWin(0)", menu->ItemData(menu->IndexForKey("mnuWin(0)"))});
        const QRect area = frame->mdiArea()->viewport()->rect();
        int top = 0;
        for (frmDocument *d : documents) {
            auto *sub = qobject_cast<QMdiSubWindow *>(d->parentWidget());
            QVERIFY(!sub->isMaximized());
            QCOMPARE(sub->geometry().top(), top);
            QCOMPARE(sub->geometry().width(), area.width());
            top = sub->geometry().bottom() + 1;
        }
        QCOMPARE(top, area.height());

        frame->RunMenuCommand(Kind::Main, {"mnuWin(5)", Interface::kWinNext});
        QTRY_VERIFY(frame->ActiveDocument() != documents[0]);
        frame->RunMenuCommand(Kind::Main, {"mnuWin(2)", Interface::kWinMaximize});
        QVERIFY(frame->mdiArea()->currentSubWindow()->isMaximized());

        // The Auto-Refresh submenu marks the active document's period.
        frmDocument *active = frame->ActiveDocument();
        frame->RunMenuCommand(Kind::Main, {"mnuTabAutoRefresh2"});
        QVERIFY(active->tmrAutoRefresh.Enabled());
        QCOMPARE(active->tmrAutoRefresh.Interval(), 120);
        auto marked = [&] {
            frame->m_cMenu_InitPopupMenu(menu->IndexForKey("mnuTabAutoRefresh"));
            QStringList keys;
            for (int i : menu->SubItems(menu->IndexForKey("mnuTabAutoRefresh"))) {
                if (menu->RadioCheck(i))
                    keys << menu->ItemKey(i);
            }
            return keys;
        };
        QCOMPARE(marked(), QStringList{"mnuTabAutoRefresh2"});
        active->tmrAutoRefresh.SetInterval(90);
        QCOMPARE(marked(), QStringList{"mnuTabAutoRefreshCustom"});
        frame->RunMenuCommand(Kind::Main, {"mnuTabAutoRefreshStop"});
        QCOMPARE(marked(), QStringList{"mnuTabAutoRefreshStop"});

        frame->CloseAllDocuments();
        QTRY_COMPARE(frame->Documents().size(), 0);
        QCOMPARE(marked(), QStringList{"mnuTabAutoRefreshStop"});
        frame->RunMenuCommand(Kind::Main, {"mnuTabAutoRefresh1"}); // no document: nothing
        frame->m_cMenu_InitPopupMenu(menu->IndexForKey("mnuWindow"));
        QVERIFY(menu->IndexForKey("mnuWin(7)") == 0);
        frame->close();
    }

    void tabMenuActsOnTheClickedTab()
    {
        auto frame = makeFrame(m_server.page("Left"));
        frame->LoadNewDoc(m_server.page("Right"));
        frmDocument *left = frame->Navigator()->RowDocument(1);
        frmDocument *right = frame->Navigator()->RowDocument(2);
        QCOMPARE(frame->ActiveDocument(), right);
        QString seen;
        QTimer::singleShot(0, this, [&] {
            auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(popup);
            for (QAction *action : popup->actions()) {
                seen += action->objectName() + QLatin1Char(' ');
                if (action->objectName() == QLatin1String("mnuTabClose")) {
                    popup->setActiveAction(action);
                    QTest::keyClick(popup, Qt::Key_Return);
                    return;
                }
            }
        });
        frame->DoTabAction(left, 1, 3);
        QVERIFY(seen.startsWith(QLatin1String("mnuTabRefresh mnuTabClose")));
        QTRY_COMPARE(frame->Documents().size(), 1);
        QCOMPARE(frame->Documents().value(0), right);
        frame->close();
    }

    // ---------------------------------------------------------------- skins

    void theSkinReachesTheBars()
    {
        auto frame = makeFrame();
        QCOMPARE(MainCode::Settings.CurrentSkin, QStringLiteral("daybreak"));
        QVERIFY(!frame->SkinPicture.isNull());
        QVERIFY(frame->SkinPath().endsWith(QLatin1String("/skins/daybreak.qvs")));
        QCOMPARE(frame->m_cStatusBar->ImageFile(), frame->SkinPath());
        QVERIFY(!frame->tbrMenu->Background().isNull());
        QVERIFY(!band(*frame, "Toolbar1")->BackgroundPicture().isNull());
        QVERIFY(MainCode::SkinNames.contains(QStringLiteral("meadow")));
        QCOMPARE(MainCode::SkinNames.value(0), QStringLiteral("none"));
        QCOMPARE(int(MainCode::SkinCount), int(MainCode::SkinNames.size()));
        frame->close();
    }

    void aSkinChosenNowComesNextTime()
    {
        {
            auto frame = makeFrame();
            PopupMenu6 *menu = frame->m_cMenu;
            frame->m_cMenu_InitPopupMenu(menu->IndexForKey("mnuWindow"));
            frame->m_cMenu_InitPopupMenu(menu->IndexForKey("mnuSkin"));
            auto keyOf = [&](const QString &skin) {
                for (int i : menu->SubItems(menu->IndexForKey("mnuSkin"))) {
                    if (menu->Caption(i) == skin)
                        return menu->ItemKey(i);
                }
                return QString();
            };
            // The running skin again: no notice.
            frame->RunMenuCommand(Kind::Main, {keyOf("daybreak")});
            QCOMPARE(frame->g_sNextSkin, QStringLiteral("daybreak"));
            QString notice;
            answerMessageBox(this, &notice);
            frame->RunMenuCommand(Kind::Main, {keyOf("slate")});
            QCOMPARE(notice, LoadResString(1147));
            QCOMPARE(frame->g_sNextSkin, QStringLiteral("slate"));
            QCOMPARE(MainCode::Settings.CurrentSkin,
                     QStringLiteral("daybreak")); // not before a restart
            frame->close();
        }
        QCOMPARE(store().read("Skins", "CurrentSkin", {}), QStringLiteral("slate"));
        auto frame = makeFrame();
        QVERIFY(frame->SkinPath().endsWith(QLatin1String("/skins/slate.qvs")));
        frame->close();
    }

    void aSkinThatDoesNotLoadIsDropped_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not a picture") << "broken" << QByteArray("not a picture at all");
        QTest::newRow("empty file") << "empty" << QByteArray();
    }

    void aSkinThatDoesNotLoadIsDropped()
    {
        QFETCH(QString, skin);
        QFETCH(QByteArray, content);
        writeFile(Paths::dataFile("skins/" + skin + ".qvs"), content);
        store().write("Skins", "CurrentSkin", skin);
        QString notice;
        answerMessageBox(this, &notice);
        auto frame = makeFrame();
        QCOMPARE(notice, LoadResString(1148));
        QCOMPARE(MainCode::Settings.CurrentSkin, QStringLiteral("none"));
        QVERIFY(frame->SkinPicture.isNull());
        QVERIFY(frame->SkinPath().isEmpty());
        QVERIFY(frame->m_cStatusBar->ImageFile().isEmpty());
        QVERIFY(frame->tbrMenu->Background().isNull());
        QVERIFY(!frame->grab().isNull()); // painting without a skin
        frame->close();
        QCOMPARE(store().read("Skins", "CurrentSkin", {}), QStringLiteral("none"));
    }

    void noSkin()
    {
        store().write("Skins", "CurrentSkin", "none");
        auto frame = makeFrame();
        QVERIFY(frame->SkinPath().isEmpty());
        QVERIFY(frame->m_cStatusBar->ImageFile().isEmpty());
        QVERIFY(band(*frame, "Toolbar1")->BackgroundPicture().isNull());
        frame->close();
        QCOMPARE(store().read("Skins", "CurrentSkin", {}), QStringLiteral("none"));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    InitApplicationIdentity();
    TestChrome test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_chrome.moc"
