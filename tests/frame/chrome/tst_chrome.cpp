#include "app/startup.h"
#include "core/appstate.h"
#include "core/crashnoticedialog.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/storedcolor.h"
#include "core/strings.h"
#include "document/autorefreshdialog.h"
#include "document/documentwindow.h"
#include "document/firstformfillnotice.h"
#include "document/firstpopupnotice.h"
#include "document/whitelistquestiondialog.h"
#include "frame/address/addressbar.h"
#include "frame/address/quicksearchdialog.h"
#include "frame/chrome/framechrome.h"
#include "frame/chrome/framemenus.h"
#include "frame/chrome/framestatusbar.h"
#include "frame/chrome/fullscreenbar.h"
#include "frame/chrome/keyedmenu.h"
#include "frame/chrome/navigatorpalette.h"
#include "frame/chrome/striptoolbar.h"
#include "frame/chrome/toolbarbands.h"
#include "frame/commands/commandregistry.h"
#include "frame/commands/menucontroller.h"
#include "frame/commands/shortcutrules.h"
#include "frame/dialogs/aboutdialog.h"
#include "frame/dialogs/defaultbrowserdialog.h"
#include "frame/dialogs/restoredocumentsdialog.h"
#include "frame/dialogs/updatedialog.h"
#include "frame/dialogs/windowlistdialog.h"
#include "frame/documents/documenttabbar.h"
#include "frame/mainwindow.h"
#include "framedocuments.h"
#include "options/cardlockdialog.h"
#include "options/customlinkdialog.h"
#include "options/optionsdialog.h"
#include "options/recordingoptionshost.h"
#include "platform/updatechecker.h"
#include "platform/webbrowser.h"
#include "sidebar/addgroupdialog.h"
#include "sidebar/rsschanneldialog.h"
#include "sidebar/rsspanel.h"
#include "sidebar/sidebar.h"
#include "sidebar/websitegroups.h"
#include "testframe.h"
#include "testserver.h"
#include "widgets/mousegesturerecognizer.h"
#include "widgets/panelstatusbar.h"
#include "widgets/passworddialog.h"
#include "widgets/progresspainter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QDialog>
#include <QDockWidget>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>

namespace {

const QStringList kBandKeys = {"MenuBar", "Logo", "Toolbar1", "Toolbar2", "Addressbar", "Tabbar"};

void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

QList<ToolBarBands::BandState> savedLayout()
{
    QFile file(FrameChrome::layoutFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<ToolBarBands::BandState> bands;
    ToolBarBands::parseLayout(QString::fromUtf8(file.readAll()), kBandKeys, &bands);
    return bands;
}

// Chooses the item with the key (in a submenu too) in the next popup menu, as a click does, then
// closes the popup.
void chooseInNextPopup(QObject *context, const QString &key)
{
    QTimer::singleShot(0, context, [key] {
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(popup);
        std::function<QAction *(QMenu *)> find = [&](QMenu *menu) -> QAction * {
            for (QAction *action : menu->actions()) {
                if (action->objectName() == key)
                    return action;
                if (QAction *inner = action->menu() ? find(action->menu()) : nullptr)
                    return inner;
            }
            return nullptr;
        };
        QAction *item = find(popup);
        QVERIFY2(item, qPrintable(key));
        item->trigger();
        popup->close();
    });
}

// Whether the command of the key is there and enabled, as its menu items and buttons show.
bool commandEnabled(MainWindow &frame, const QString &key)
{
    const QAction *action = frame.findChild<CommandRegistry *>()->action(key);
    return action && action->isEnabled();
}

// A toolbar's button as the user sees it.
QToolButton *toolButton(StripToolBar *toolbar, const char *key)
{
    return qobject_cast<QToolButton *>(toolbar->buttonWidget(QLatin1String(key)));
}

// Whether the button shows the picture at index of the toolbar strip of its size.
bool showsStripPicture(StripToolBar *toolbar, const char *key, int index)
{
    const QSize size = toolbar->iconSize();
    ImageStrip strip;
    if (!strip.loadStrip(ImageStrip::toolbarStripFile(size.width() == 24), size.width()))
        return false;
    const QToolButton *button = toolButton(toolbar, key);
    return button && !button->icon().isNull() &&
           button->icon().pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32) ==
               strip.itemPicture(index).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Whether a bar shows the skin: the picture tiled from its window's corner, as the bars paint it
// behind their items (sampled near the bar's top right corner, where no item draws).
bool showsSkin(QWidget *bar, const QPixmap &skin)
{
    if (skin.isNull() || bar->width() < 4 || bar->height() < 2)
        return false;
    QImage drawn(bar->size(), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    bar->render(&drawn, QPoint(), QRegion(), {}); // the bar itself, not its children
    const QPoint at(bar->width() - 2, 1);
    const QPoint inWindow = bar->mapTo(bar->window(), at);
    const QImage picture = skin.toImage();
    return drawn.pixelColor(at) ==
           picture.pixelColor(inWindow.x() % picture.width(), inWindow.y() % picture.height());
}

// The skin the tests start with.
QPixmap shippedSkin()
{
    return QPixmap(Paths::assetFile(QStringLiteral("skins/daybreak.qvs")));
}

// Opens the menu bar's menu of menuKey and chooses its item with the key, as a click does.
void chooseInMenuBar(MainWindow &frame, const char *menuKey, const char *key)
{
    QMenu *menu = nullptr;
    for (QAction *action : frame.findChild<FrameChrome *>()->menuBar()->actions()) {
        if (action->objectName() == QLatin1String(menuKey))
            menu = action->menu();
    }
    QVERIFY(menu);
    emit menu->aboutToShow();
    QAction *item = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QLatin1String(key))
            item = action;
    }
    QVERIFY2(item, key);
    item->trigger();
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

    // The fixture's frame with the settings read anew, as at a start, on the home page unless
    // told otherwise, at a size where the bands fit.
    std::unique_ptr<MainWindow> makeFrame(const QString &commandLine = QString())
    {
        AppState::settings = SettingsModel();
        auto frame = ::makeFrame(commandLine.isEmpty() ? m_server.page("Home") : commandLine);
        frame->resize(1000, 700);
        return frame;
    }

    // makeFrame, answering the message boxes of the start and keeping their texts.
    std::unique_ptr<MainWindow> makeFrameAnsweringNotices(QStringList *notices)
    {
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [notices] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                *notices << box->text();
                box->accept();
            }
        });
        answer.start(20);
        return makeFrame();
    }

    // The layout files kept aside, by full path.
    static QStringList layoutFilesKeptAside()
    {
        const QFileInfo layout(FrameChrome::layoutFile());
        QStringList paths;
        for (const QString &name : layout.dir().entryList({layout.fileName() + ".unreadable-*"}, QDir::Files))
            paths << layout.dir().filePath(name);
        return paths;
    }

    static QStringList bandOrder(MainWindow &frame)
    {
        const ToolBarBands *bands = frame.findChild<FrameChrome *>()->bands();
        QStringList keys;
        for (int i = 0; i < bands->bandCount(); ++i)
            keys << bands->band(i)->objectName(); // a band is named by its key
        return keys;
    }

    static BandToolBar *band(MainWindow &frame, const QString &key)
    {
        const ToolBarBands *bands = frame.findChild<FrameChrome *>()->bands();
        return bands->band(bands->bandIndexForKey(key));
    }

    // A pixel of an empty panel of the status bar (the lock's, on a page without one), six
    // pixels in from its corner.
    static QRgb emptyPanelPixel(MainWindow &frame)
    {
        FrameStatusBar *status = frame.findChild<FrameStatusBar *>();
        const QImage shown = status->canvas()->grab().toImage(); // lays the panels out
        int left = 0, top = 0, right = 0, bottom = 0;
        status->panels()->panelRect(QStringLiteral("Item6"), left, top, right, bottom);
        return shown.pixel(left + 6, top + 6);
    }

    // What a panel without a skin shows.
    static QRgb plainPanelColour(MainWindow &frame)
    {
        const QWidget *canvas = frame.findChild<FrameStatusBar *>()->canvas();
        return canvas->palette().color(QPalette::Window).rgb();
    }

private slots:
    void init()
    {
        QFile::remove(store().filePath());
        store().reload();
        QFile::remove(FrameChrome::layoutFile());
        for (const QString &aside : layoutFilesKeptAside())
            QFile::remove(aside);
        QDir(Paths::dataFile("skins")).removeRecursively();
    }

    // ---------------------------------------------------------------- status bar

    // The progress panel: 100 and an idle panel beside an active document read "Complete" on a
    // full bar; an idle panel without a document stays empty; a loading page shows its share,
    // none yet when its load has just begun.
    void progressPanelReadsComplete()
    {
        QWidget window;
        FrameStatusBar status(&window);
        status.setUpProgressPainter();
        status.create(QString());
        status.canvas()->resize(900, status.canvas()->height());
        int left = 0, top = 0, right = 0, bottom = 0;
        auto panel = [&] {
            const QImage shown = status.canvas()->grab().toImage(); // lays the panels out
            status.panels()->panelRect(QStringLiteral("Item7"), left, top, right, bottom);
            return shown.copy(left, top, right - left, bottom - top);
        };
        const QImage empty = panel();
        status.setProgressText(QStringLiteral("45"));
        const QImage loading = panel();
        status.setProgressText(QStringLiteral("100"));
        const QImage complete = panel();

        // What "Complete" on a full bar looks like over the empty panel.
        ProgressPainter reference;
        reference.setMin(0);
        reference.setMax(100);
        reference.setWidth(right - left);
        reference.setValue(100);
        reference.setShowPercentage(false);
        reference.setText(QStringLiteral("Complete"));
        QImage expected = empty;
        {
            QPainter painter(&expected);
            reference.draw(painter, 0, 2);
        }
        QCOMPARE(complete, expected);
        // Three looks: a full bar, one done in part, none.
        QVERIFY(complete != empty && loading != complete && loading != empty);
        // The bar is full at 100 only: near its right end the done part shows at 100, and the
        // bar's body alike at 45 and before any share came.
        const auto rightEnd = [](const QImage &shown) {
            return shown.copy(shown.width() - 6, 0, 1, shown.height());
        };
        QVERIFY(rightEnd(complete) != rightEnd(loading) && rightEnd(complete) != rightEnd(empty));

        status.setProgressText(QStringLiteral("0"));
        QCOMPARE(panel(), empty);
        status.setHasActiveDocument(true);
        QCOMPARE(panel(), complete);
        status.setProgressText(QStringLiteral("45"));
        QCOMPARE(panel(), loading);
        status.setProgressText(QStringLiteral("0"));
        QCOMPARE(panel(), complete);
        // A load that has begun (0 %) is not complete: an empty bar until its share comes.
        status.setPageLoading(true);
        const QImage begun = panel();
        QVERIFY(begun != complete && begun != loading && begun != empty);
        QCOMPARE(rightEnd(begun), rightEnd(loading));
        status.setProgressText(QStringLiteral("45"));
        QCOMPARE(panel(), loading);
        status.setProgressText(QStringLiteral("0"));
        status.setPageLoading(false);
        QCOMPARE(panel(), complete);
        status.setHasActiveDocument(false);
        QCOMPARE(panel(), empty);
    }

    // ---------------------------------------------------------------- dialog frames

    // Dialogs and prompts have a fixed frame: a title bar with the close button alone, and a
    // size the user cannot change.
    void fixedDialogs_data()
    {
        QTest::addColumn<QString>("form");
        for (const char *form : {"frmWarning", "frmPassword", "frmAutRefresh", "frmFirstFormFill",
                                 "frmFirstPopup", "frmWhitelist", "frmAbout", "frmAssoc",
                                 "frmQSearch", "frmLoad", "frmAutoupdate", "frmMoreWindows",
                                 "frmFormPass", "frmLink", "frmOptions1", "frmAddGroup",
                                 "frmRssChannel"})
            QTest::newRow(form) << QString::fromLatin1(form);
    }
    void fixedDialogs()
    {
        QFETCH(QString, form);
        RecordingOptionsHost optionsHost;
        UpdateChecker checker;
        WebsiteGroups groups;
        const std::map<QString, std::function<QDialog *()>> make = {
            {"frmWarning", [] { return new CrashNoticeDialog; }},
            {"frmPassword", [] { return new PasswordDialog(PasswordDialog::Mode::Unlock); }},
            {"frmAutRefresh", [] { return new AutoRefreshDialog(nullptr); }},
            {"frmFirstFormFill", [] { return new FirstFormFillNotice; }},
            {"frmFirstPopup", [] { return new FirstPopupNotice; }},
            {"frmWhitelist", [] { return new WhitelistQuestionDialog(QStringLiteral("http://a.org/")); }},
            {"frmAbout", [] { return new AboutDialog; }},
            {"frmAssoc", [] { return new DefaultBrowserDialog; }},
            {"frmQSearch", [] { return new QuickSearchDialog; }},
            {"frmLoad", [] { return new RestoreDocumentsDialog; }},
            {"frmAutoupdate", [&checker] { return new UpdateDialog(&checker); }},
            {"frmMoreWindows", [] { return new WindowListDialog({}); }},
            {"frmFormPass", [] { return new CardLockDialog([](QMessageBox::Icon, const QString &, const QString &) {}); }},
            {"frmLink", [&optionsHost] { return new CustomLinkDialog(optionsHost); }},
            {"frmOptions1", [&optionsHost] { return new OptionsDialog(optionsHost, OptionsPageId::General); }},
            {"frmAddGroup", [&groups] { return new AddGroupDialog(groups, SidebarHost()); }},
            {"frmRssChannel", [] { return new RssChannelDialog([] { return nullptr; }, [] { return false; }); }},
        };
        std::unique_ptr<QDialog> dialog(make.at(form)());
        QCOMPARE(dialog->objectName(), form);
        const Qt::WindowFlags flags = dialog->windowFlags();
        QVERIFY(flags.testFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint));
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                           Qt::WindowContextHelpButtonHint)));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->size(), dialog->minimumSize());
    }

    // ---------------------------------------------------------------- bands and layout

    void defaultBandsWithoutAUsableLayout_data()
    {
        const QByteArray good = ToolBarBands::layoutText({{"Tabbar", true, true, 0}}).toUtf8();
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("keptAside");
        QTest::newRow("missing") << QByteArray() << false << false;
        QTest::newRow("empty") << QByteArray() << true << false;
        QTest::newRow("corrupt") << QByteArray("\x01\x02<rebar version=\"1\"><band") << true << true;
        QTest::newRow("unknown band")
            << QByteArray("<rebar version=\"1\"><band key=\"Sidebar\" newrow=\"1\" visible=\"1\" "
                          "width=\"9\"/></rebar>")
            << true << true;
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18) << true << true;
        QTest::newRow("truncated") << good.left(good.size() / 2) << true << true;
        QTest::newRow("junk after the layout") << good + "<rebar/>" << true << true;
        QTest::newRow("not UTF-8") << QByteArray(good).replace("Tabbar", "Tab\xe9" "bar") << true << true;
    }

    // A layout file that is not a layout is kept aside, the start says so once and goes on with
    // the default bands; a missing or empty one simply gives the default.
    void defaultBandsWithoutAUsableLayout()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, present);
        QFETCH(bool, keptAside);
        if (present)
            writeFile(FrameChrome::layoutFile(), content);
        QStringList notices;
        auto frame = makeFrameAnsweringNotices(&notices);
        const QStringList aside = layoutFilesKeptAside();
        QCOMPARE(aside.size(), keptAside ? 1 : 0);
        QCOMPARE(notices.size(), keptAside ? 1 : 0);
        if (keptAside) {
            QVERIFY(notices.first().contains(aside.first()));
            QFile kept(aside.first());
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), content);
        }
        QCOMPARE(bandOrder(*frame), kBandKeys);
        const ToolBarBands *bands = frame->findChild<FrameChrome *>()->bands();
        // A band starts a row where the window breaks the toolbars before it.
        QList<bool> rows;
        for (int i = 0; i < bands->bandCount(); ++i)
            rows << (i == 0 || frame->toolBarBreak(bands->band(i)));
        QCOMPARE(rows, QList<bool>({true, false, true, true, true, true}));
        // The bands as added: their keys, rows and the children's minimum heights.
        QList<bool> addedRows;
        for (int i = 0; i < bands->bandCount(); ++i) {
            QCOMPARE(bands->bandKey(i), kBandKeys[i]);
            addedRows << bands->bandNewRow(i);
        }
        QCOMPARE(addedRows, QList<bool>({true, false, true, true, true, true}));
        QCOMPARE(bands->bandKey(bands->bandCount()), QString());
        QCOMPARE(bands->bandChildMinHeight(bands->bandIndexForKey("MenuBar")), 24);
        QCOMPARE(bands->bandChildMinHeight(bands->bandIndexForKey("Addressbar")), 16);
        QCOMPARE(bands->bandChildMinHeight(-1), 0);
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
            frame->findChild<CommandRegistry *>()->run("mnuViewTabsBar");
            QVERIFY(!frame->findChild<CommandRegistry *>()->isChecked("mnuViewTabsBar"));
            addressWidth = band(*frame, "Addressbar")->width();
            frame->close();
        }
        QStringList order;
        for (const ToolBarBands::BandState &b : savedLayout())
            order << b.key;
        QCOMPARE(order,
                 QStringList({"MenuBar", "Logo", "Addressbar", "Toolbar1", "Toolbar2", "Tabbar"}));
        // The layout file is the user's alone.
        QCOMPARE(QFile::permissions(FrameChrome::layoutFile()) &
                     (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteOther),
                 QFileDevice::Permissions());

        // A layout that reads is used as it is: nothing kept aside, nothing said.
        QFile saved(FrameChrome::layoutFile());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray savedBytes = saved.readAll();
        QStringList notices;
        auto frame = makeFrameAnsweringNotices(&notices);
        QCOMPARE(notices, QStringList());
        QCOMPARE(layoutFilesKeptAside(), QStringList());
        QVERIFY(saved.seek(0));
        QCOMPARE(saved.readAll(), savedBytes);
        QCOMPARE(bandOrder(*frame), order);
        QTRY_COMPARE(band(*frame, "Addressbar")->y(), band(*frame, "Toolbar1")->y());
        QVERIFY(band(*frame, "Addressbar")->x() < band(*frame, "Toolbar1")->x());
        QCOMPARE(band(*frame, "Addressbar")->width(), addressWidth);
        QVERIFY(band(*frame, "Tabbar")->isHidden());
        QVERIFY(!frame->findChild<CommandRegistry *>()->isChecked("mnuViewTabsBar"));
        QCOMPARE(band(*frame, "Logo")->minimumHeight(), 52);
        frame->close();
    }

    void restoredMinimumHeightGoesToTheLogo()
    {
        writeFile(FrameChrome::layoutFile(), ToolBarBands::layoutText({{"MenuBar", true, true, 0},
                                                             {"Toolbar1", true, true, 0},
                                                             {"Logo", false, true, 0},
                                                             {"Toolbar2", true, false, 0},
                                                             {"Addressbar", true, true, 0},
                                                             {"Tabbar", true, true, 0}})
                                             .toUtf8());
        auto frame = makeFrame();
        QCOMPARE(frame->findChild<FrameChrome *>()->bands()->bandIndexForKey("Toolbar1"), 1);
        QCOMPARE(band(*frame, "Logo")->minimumHeight(), 52);
        QVERIFY(band(*frame, "Toolbar1")->minimumHeight() < 52);
        QTRY_COMPARE(band(*frame, "Logo")->y(), band(*frame, "Toolbar1")->y());
        frame->close();
    }

    void alignmentMovesTheBands()
    {
        auto frame = makeFrame();
        QCOMPARE(frame->findChild<FrameChrome *>()->bandsAlignment(), 1);
        frame->findChild<CommandRegistry *>()->run("mnuAlignBottom");
        QCOMPARE(frame->findChild<FrameChrome *>()->bandsAlignment(), 2);
        const ToolBarBands *bands = frame->findChild<FrameChrome *>()->bands();
        for (int i = 0; i < bands->bandCount(); ++i)
            QCOMPARE(frame->toolBarArea(bands->band(i)), Qt::BottomToolBarArea);
        QVERIFY(frame->findChild<MenuController *>()->mainMenu()->isRadioCheck(
            frame->findChild<MenuController *>()->mainMenu()->indexForKey("mnuAlignBottom")));
        QVERIFY(!frame->findChild<MenuController *>()->mainMenu()->isRadioCheck(
            frame->findChild<MenuController *>()->mainMenu()->indexForKey("mnuAlignTop")));
        QTRY_VERIFY(band(*frame, "MenuBar")->y() > frame->height() / 2);
        // The rows keep their order from top to bottom.
        QVERIFY(band(*frame, "MenuBar")->y() < band(*frame, "Toolbar1")->y());
        QVERIFY(band(*frame, "Addressbar")->y() < band(*frame, "Tabbar")->y());
        frame->findChild<CommandRegistry *>()->run("mnuAlignTop");
        QCOMPARE(frame->toolBarArea(band(*frame, "Tabbar")), Qt::TopToolBarArea);
        QCOMPARE(bandOrder(*frame), kBandKeys);
        frame->close();
    }

    // ---------------------------------------------------------------- toolbars

    void toolbarsAsBuilt()
    {
        auto frame = makeFrame();
        StripToolBar *t1 = frame->findChild<FrameChrome *>()->toolBar("Toolbar1");
        QCOMPARE(t1->buttonCount(), 13);
        QCOMPARE(t1->buttonKey(7), QString());
        QCOMPARE(toolButton(t1, "Links")->popupMode(), QToolButton::InstantPopup); // all drop-down
        QCOMPARE(toolButton(t1, "Stop")->popupMode(), QToolButton::MenuButtonPopup); // an arrow
        QCOMPARE(t1->iconSize(), QSize(24, 24));
        QVERIFY(showsStripPicture(t1, "Back", 3));
        QVERIFY(t1->buttonTextVisible("Back") && t1->textRight());
        QCOMPARE(frame->findChild<FrameChrome *>()->toolBar("Toolbar2")->iconSize(), QSize(16, 16));
        StripToolBar *t3 = frame->findChild<FrameChrome *>()->addressToolBar();
        QCOMPARE(t3->buttonKey(0), QStringLiteral("AddressBar"));
        QVERIFY(toolButton(t3, "GoNew")->isCheckable());
        QVERIFY(showsStripPicture(t3, "Search", 15));
        QVERIFY(frame->findChild<AddressBar *>()->comboBox()->isVisible());

        frame->findChild<CommandRegistry *>()->run("mnuSearchEngineWiki");
        QCOMPARE(frame->findChild<AddressBar *>()->searchEngine(), 5);
        QVERIFY(showsStripPicture(t3, "Search", 20));
        frame->close();
        QCOMPARE(store().read("Settings", "CurrentSearchEngine", {}), QStringLiteral("5"));
    }

    void buttonsOfTheToolbars()
    {
        struct Row
        {
            const char *band;
            const char *key;
            int position;
            const char *toolTip;
            const char *caption;
            int image;
            int style;
        };
        const Row rows[] = {
            {"Toolbar1", "New", 0, "New", "New", 0, 24},
            {"Toolbar1", "Home2", 6, "Home", "Home", 9, 16},
            {"Toolbar1", "LinksSep", 11, "", "", -1, 1},
            {"Toolbar1", "Links", 12, "Links", "Links", 10, 144},
            {"Toolbar2", "Custom", 0, "Customize Toolbar...", "Customize Toolbar...", 10, 16},
            {"Addressbar", "Go", 1, "Navigate to the site in the Addressbar", "&Go", 11, 16},
            {"Addressbar", "GoNew", 2,
             "Toggle navigation of Addressbar sites in a new window on/off", "", 13, 18},
            {"Toolbar1", "Nothing", -1, "", "", -1, 0}, // no such key
        };
        auto frame = makeFrame();
        for (const Row &row : rows) {
            const QString band = QLatin1String(row.band);
            const QString key = QLatin1String(row.key);
            const StripToolBar *bar = frame->findChild<FrameChrome *>()->toolBar(band);
            QVERIFY2(bar, row.key);
            QCOMPARE(bar->buttonIndex(key), row.position);
            QCOMPARE(bar->buttonToolTip(key), QLatin1String(row.toolTip));
            QCOMPARE(bar->buttonCaption(key), QLatin1String(row.caption));
            QCOMPARE(bar->buttonImage(key), row.image);
            QCOMPARE(bar->buttonStyle(key), row.style);
            QCOMPARE(bar->buttonWidth(key) > 0, row.position >= 0);
            QVERIFY(bar->picturesLoaded());
            QCOMPARE(bar->imageSize(), band == QLatin1String("Toolbar1") ? 24 : 16);
            QCOMPARE(bar->imageSource(),
                     ImageStrip::toolbarStripFile(band == QLatin1String("Toolbar1")));
        }
        frame->close();
    }

    void hiddenLinksKeepThePositions()
    {
        store().write("Settings", "Toolbar1LinksButton", "False");
        auto frame = makeFrame();
        StripToolBar *t1 = frame->findChild<FrameChrome *>()->toolBar("Toolbar1");
        QCOMPARE(t1->buttonCount(), 13);
        QCOMPARE(t1->buttonIndex("Links"), 12);
        QVERIFY(!t1->buttonVisibleAt(11) && !t1->buttonVisibleAt(12));
        QVERIFY(t1->buttonVisibleAt(10) && !t1->buttonVisibleAt(13));
        t1->setButtonVisibleAt(12, true);
        QVERIFY(t1->buttonVisible("Links"));
        // By position reaches a button without a key too (the separator at 7).
        t1->setButtonVisibleAt(7, false);
        QVERIFY(!t1->buttonVisibleAt(7));
        t1->setButtonEnabledAt(8, false);
        QVERIFY(!t1->buttonEnabled("Mail") && !toolButton(t1, "Mail")->isEnabled());
        t1->setButtonEnabledAt(99, false); // nothing there
        QVERIFY(!t1->buttonEnabledAt(99));
        frame->close();
    }

    void toolbarOptionsApplyAtOnce()
    {
        auto frame = makeFrame();
        StripToolBar *t1 = frame->findChild<FrameChrome *>()->toolBar("Toolbar1");
        // The option menus open on a right click on their toolbar, marked from the stored
        // options; a choice flips the option it shows.
        auto option = [&](StripToolBar *toolbar, const char *key) {
            chooseInNextPopup(this, QLatin1String(key));
            Q_EMIT toolbar->buttonClicked(-1);
        };
        StripToolBar *const browse = t1;
        StripToolBar *const sites = frame->findChild<FrameChrome *>()->toolBar("Toolbar2");
        option(browse, "mnuTBShowText");
        QVERIFY(!t1->buttonTextVisible("Back"));
        QCOMPARE(store().read("Settings", "Toolbar1ShowText", {}), QStringLiteral("False"));
        option(browse, "mnuTBShowText");
        QVERIFY(t1->buttonTextVisible("Back"));
        QCOMPARE(store().read("Settings", "Toolbar1ShowText", {}), QStringLiteral("True"));

        option(browse, "mnuTBTextAlignBottom");
        QVERIFY(!t1->textRight());
        QCOMPARE(store().read("Settings", "Toolbar1TextAlignRight", {}), QStringLiteral("False"));

        option(browse, "mnuTBLinksButton");
        QVERIFY(!t1->buttonVisible("Links") && !t1->buttonVisible("LinksSep"));
        QCOMPARE(t1->buttonKey(12), QStringLiteral("Links"));
        QCOMPARE(store().read("Settings", "Toolbar1LinksButton", {}), QStringLiteral("False"));

        option(browse, "mnuTBLargeIcons");
        QCOMPARE(t1->iconSize(), QSize(16, 16));
        QCOMPARE(t1->imageSource(), ImageStrip::toolbarStripFile(false));
        QVERIFY(showsStripPicture(t1, "Back", 3));
        QCOMPARE(store().read("Settings", "Toolbar1LargeIcons", {}), QStringLiteral("False"));
        // Outside its menu an option has no toolbar to act on.
        QVERIFY(frame->findChild<CommandRegistry *>()->trigger("mnuTBLargeIcons"));
        QCOMPARE(t1->iconSize(), QSize(16, 16));

        // The sites toolbar without links: its one button speaks for the option.
        option(sites, "mnuTBShowText");
        QCOMPARE(store().read("Settings", "Toolbar2ShowText", {}), QStringLiteral("False"));
        option(sites, "mnuTBShowText");
        QCOMPARE(store().read("Settings", "Toolbar2ShowText", {}), QStringLiteral("True"));
        option(sites, "mnuTBLargeIcons");
        QCOMPARE(frame->findChild<FrameChrome *>()->toolBar("Toolbar2")->iconSize(), QSize(24, 24));
        QCOMPARE(frame->findChild<FrameChrome *>()->toolBar("Toolbar2")->imageSource(),
                 ImageStrip::toolbarStripFile(true));
        frame->close();

        // The next start builds the toolbars as they were left.
        auto again = makeFrame();
        QCOMPARE(again->findChild<FrameChrome *>()->toolBar("Toolbar1")->iconSize(), QSize(16, 16));
        QVERIFY(!again->findChild<FrameChrome *>()->toolBar("Toolbar1")->textRight());
        QVERIFY(!again->findChild<FrameChrome *>()->toolBar("Toolbar1")->buttonVisible("Links"));
        QCOMPARE(again->findChild<FrameChrome *>()->toolBar("Toolbar2")->iconSize(), QSize(24, 24));
        again->close();
    }

    void properButtonsFollowTheLinks()
    {
        auto frame = makeFrame();
        StripToolBar *t2 = frame->findChild<FrameChrome *>()->toolBar("Toolbar2");
        SettingsModel &s = AppState::settings;
        QCOMPARE(t2->buttonCount(), 1);
        QVERIFY(t2->buttonVisible("Custom"));
        QVERIFY(band(*frame, "Toolbar2")->isHidden()); // the sites toolbar starts hidden

        s.customLinksCount = 2;
        s.customLinksName = QStringList{"R&D", "News"};
        s.customLinksURL = QStringList{m_server.page("Link one"), m_server.page("Link two")};
        frame->findChild<FrameChrome *>()->showCustomLinkButtons();
        QCOMPARE(t2->buttonCount(), 3);
        QVERIFY(!t2->buttonVisible("Custom"));
        QCOMPARE(t2->buttonKey(1), QStringLiteral("Custom1"));
        QCOMPARE(toolButton(t2, "Custom1")->text(), QStringLiteral("R&&D"));
        QCOMPARE(toolButton(t2, "Custom1")->toolTip(), QStringLiteral("R&D"));
        QVERIFY(band(*frame, "Toolbar2")->isHidden());

        frame->findChild<CommandRegistry *>()->run("mnuViewSitesToolbar");
        QVERIFY(!band(*frame, "Toolbar2")->isHidden());
        store().write("Settings", "Toolbar2ShowText", "False");
        s.customLinksCount = 1;
        frame->findChild<FrameChrome *>()->showCustomLinkButtons();
        QCOMPARE(t2->buttonCount(), 2);
        QVERIFY(!t2->buttonTextVisible("Custom1"));
        QVERIFY(!band(*frame, "Toolbar2")->isHidden());

        // A link button opens its address in a new tab (the default), a links-menu item in
        // the active tab when links stay in the page.
        QVERIFY(s.controlSitesNew);
        Q_EMIT t2->buttonClicked(1);
        QCOMPARE(frameDocuments(*frame).size(), 2);
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(1), QStringLiteral("Link one"));
        s.controlSitesNew = false;
        s.customLinksCount = 2;
        DocumentWindow *document = activeFrameDocument(*frame);
        frame->findChild<CommandRegistry *>()->run("Link2", 2);
        QTRY_COMPARE(document->locationName(), QStringLiteral("Link two"));
        QCOMPARE(frameDocuments(*frame).size(), 2);

        s.customLinksCount = 0;
        frame->findChild<FrameChrome *>()->showCustomLinkButtons();
        QCOMPARE(t2->buttonCount(), 1);
        QVERIFY(t2->buttonVisible("Custom"));
        frame->close();
    }

    // Full screen, entered and left every way: the bars, the status bar, the side bar and the
    // palette come back as the user had them, and the flag follows the window.
    void fullScreenEveryWay()
    {
        auto frame = makeFrame();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        auto *bar = frame->findChild<FullScreenBar *>();
        QVERIFY(bar);
        // The status bar hidden by the user.
        frame->findChild<CommandRegistry *>()->run("mnuViewStatusBar");
        QVERIFY(frame->findChild<FrameStatusBar *>()->canvas()->isHidden());
        const bool sidebarBefore = !frame->findChild<QDockWidget *>("sidebarDock")->isHidden();
        const QList<bool> bandsBefore = [&] {
            QList<bool> shown;
            for (int i = 0; i < frame->findChild<FrameChrome *>()->bands()->bandCount(); ++i)
                shown << frame->findChild<FrameChrome *>()->bands()->bandVisible(i);
            return shown;
        }();
        auto bandsNow = [&] {
            QList<bool> shown;
            for (int i = 0; i < frame->findChild<FrameChrome *>()->bands()->bandCount(); ++i)
                shown << !frame->findChild<FrameChrome *>()->bands()->band(i)->isHidden();
            return shown;
        };
        // The window system reports a state some time after the request.
        auto verifyNormal = [&] {
            QCoreApplication::processEvents();
            QVERIFY(!AppState::fullScreen);
            QVERIFY(!(frame->windowState() & Qt::WindowFullScreen));
            QVERIFY(bar->isHidden());
            QCOMPARE(bandsNow(), bandsBefore);
            QVERIFY(frame->findChild<FrameStatusBar *>()->canvas()->isHidden());
            QVERIFY(!frame->findChild<CommandRegistry *>()->isChecked("mnuViewStatusBar"));
            QCOMPARE(!frame->findChild<QDockWidget *>("sidebarDock")->isHidden(), sidebarBefore);
            QVERIFY(!frame->findChild<DocumentArea *>()->navigator()->isVisible());
        };
        auto verifyFullScreen = [&] {
            QCoreApplication::processEvents();
            QVERIFY(AppState::fullScreen);
            QTRY_VERIFY(frame->windowState() & Qt::WindowFullScreen);
            QVERIFY(bar->isVisible());
            QVERIFY(!bandsNow().contains(true));
            QVERIFY(frame->findChild<QDockWidget *>("sidebarDock")->isHidden());
            QVERIFY(!frame->findChild<CommandRegistry *>()->isChecked("mnuViewSidebar"));
            // The bands keep what they are to show (what a save writes).
            for (int i = 0; i < bandsBefore.size(); ++i)
                QCOMPARE(frame->findChild<FrameChrome *>()->bands()->bandVisible(i),
                         bandsBefore[i]);
        };

        // The menu in and out; the key of its caption in, the bar's button out.
        frame->findChild<CommandRegistry *>()->trigger("mnuViewFullScreen");
        verifyFullScreen();
        frame->findChild<CommandRegistry *>()->trigger("mnuViewFullScreen");
        verifyNormal();
        QTest::keyClick(frame->windowHandle(), Qt::Key_F11);
        verifyFullScreen();

        // The bars come back within full screen; the palette is placed anew beside its button.
        bar->navigatorButton()->click();
        QVERIFY(frame->findChild<DocumentArea *>()->navigator()->isVisible());
        bar->barsButton()->click();
        QCOMPARE(bandsNow(), bandsBefore);
        QVERIFY(frame->findChild<DocumentArea *>()->navigator()->isVisible());
        QCOMPARE(frame->findChild<DocumentArea *>()->navigator()->geometry().right() + 1,
                 bar->navigatorButton()->mapToGlobal(QPoint(0, 0)).x());
        bar->barsButton()->click();
        QVERIFY(!bandsNow().contains(true));

        bar->normalModeButton()->click();
        verifyNormal();

        // The status bar's full-screen panel in; the window manager out.
        frame->findChild<FrameStatusBar *>()->panelDoubleClicked(5);
        verifyFullScreen();
        frame->setWindowState(Qt::WindowNoState);
        verifyNormal();
        frame->close();
    }

    void importReplacesTheLinks()
    {
        auto frame = makeFrame();
        AppState::linkNames = QStringList{"One", "Two"};
        AppState::linkUrls = QStringList{"http://one.invalid/", "http://two.invalid/"};
        AppState::settings.customLinksCount = 0;
        frame->findChild<CommandRegistry *>()->run("mnuImportIELinks"); // no links yet: no question
        QCOMPARE(AppState::settings.customLinksName, QStringList({"One", "Two"}));
        QCOMPARE(frame->findChild<FrameChrome *>()->toolBar("Toolbar2")->buttonCount(), 3);

        // With links present the answer No keeps them.
        AppState::linkNames = QStringList{"Three", "Four"};
        QTimer::singleShot(0, this, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->button(QMessageBox::No)->click();
        });
        frame->findChild<CommandRegistry *>()->run("mnuImportIELinks");
        QCOMPARE(AppState::settings.customLinksName, QStringList({"One", "Two"}));
        AppState::linkNames.clear();
        AppState::linkUrls.clear();
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
                QVERIFY2(commandEnabled(*frame, key) == enabled, qPrintable(key));
            StripToolBar *browse = frame->findChild<FrameChrome *>()->toolBar("Toolbar1");
            for (int position = 1; position <= 4; ++position) {
                QCOMPARE(browse->buttonWidget(browse->buttonKey(position))->isEnabled(), enabled);
                QCOMPARE(browse->buttonEnabledAt(position), enabled);
            }
            QVERIFY(toolButton(browse, "New")->isEnabled());
            // Nothing here can show engine options or run Java and ActiveX.
            for (const char *key : {"mnuViewInternetOptions", "mnuContentJava", "mnuContentDLACTX",
                                    "mnuContentRUNACTX"})
                QVERIFY(!commandEnabled(*frame, QLatin1String(key)));
        };
        check(true);
        QVERIFY(!commandEnabled(*frame, "mnuEditUndoClose"));
        frame->findChild<DocumentArea *>()->closeAll();
        QTRY_COMPARE(frame->findChild<DocumentArea *>()->documentCount(), 0);
        check(false);
        QVERIFY(commandEnabled(*frame, "mnuEditUndoClose"));
        // Undo close came alive when the document closed.
        QVERIFY(!frame->findChild<DocumentArea *>()->lastClosedAddress().isEmpty());
        frame->findChild<CommandRegistry *>()->run("mnuNewUndoClose");
        QCOMPARE(frame->findChild<DocumentArea *>()->documentCount(), 1);
        check(true);
        frame->close();
    }

    // Every key a menu caption shows runs its item: the keyboard shortcuts own theirs, and
    // the command of every other item has the key as its shortcut in the frame.
    void keysShownInMenuCaptionsRunTheirItems()
    {
        auto frame = makeFrame();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        KeyedMenu *menu = frame->findChild<MenuController *>()->mainMenu();
        int shown = 0;
        for (int i = 1; i <= menu->itemCount(); ++i) {
            const QString caption = menu->caption(i);
            if (!caption.contains(u'\t'))
                continue;
            ++shown;
            const QKeySequence keys(caption.section(u'\t', 1), QKeySequence::PortableText);
            QVERIFY2(!keys.isEmpty(), qPrintable(caption));
            const QKeyCombination key = keys[0];
            if (ShortcutRules::decide(key.key(), key.keyboardModifiers(), true, true).action !=
                ShortcutRules::Action::None)
                continue;
            QAction *action = frame->findChild<CommandRegistry *>()->action(menu->itemKey(i));
            QVERIFY2(action && action->shortcut() == keys && frame->actions().contains(action),
                     qPrintable(caption));
        }
        QVERIFY(shown >= 10);

        // Pressed in the window with the focus in the page, a caption's key runs the item.
        QAction *larger = frame->findChild<CommandRegistry *>()->action("mnuEditIncFont");
        QSignalSpy runs(larger, &QAction::triggered);
        activeFrameDocument(*frame)->setFocus();
        QTest::keyClick(frame->windowHandle(), Qt::Key_I, Qt::ControlModifier);
        QTRY_COMPARE(runs.count(), 1);
        frame->close();
    }

    void everyWayInReachesTheSameAction()
    {
        auto frame = makeFrame();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        QAction *stop = frame->findChild<CommandRegistry *>()->action("mnuNavigateStop");
        QVERIFY(stop && stop->isEnabled());
        QSignalSpy runs(stop, &QAction::triggered);
        FrameChrome *chrome = frame->findChild<FrameChrome *>();
        auto button =
            qobject_cast<QAbstractButton *>(chrome->toolBar("Toolbar1")->buttonWidget("Stop"));
        auto menuItem = [&] {
            for (QAction *top : chrome->menuBar()->actions()) {
                if (top->objectName() != QLatin1String("mnuNavigate1"))
                    continue;
                emit top->menu()->aboutToShow();
                for (QAction *item : top->menu()->actions()) {
                    if (item->objectName() == QLatin1String("mnuNavigateStop"))
                        return item;
                }
            }
            return static_cast<QAction *>(nullptr);
        };
        auto gesture = [&] {
            bool accepted = false;
            Q_EMIT frame->findChild<MouseGestureRecognizer *>()->gestureRecognized(
                MouseGestureRecognizer::kDown, 0, 0, 0, 0, accepted);
        };
        QVERIFY(button && menuItem());
        QVERIFY(!AppState::modalDialogOpen());

        button->click();
        gesture(); // the stroke down stops by default
        menuItem()->trigger();
        QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);
        QCOMPARE(runs.count(), 4);

        // Gesture and shortcut wait while a modal dialog is open.
        {
            QDialog modal(frame.get());
            modal.open();
            QVERIFY(AppState::modalDialogOpen());
            gesture();
            QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);
            QCOMPARE(runs.count(), 4);
        }
        QVERIFY(!AppState::modalDialogOpen());

        // The action's state is every way's state.
        stop->setEnabled(false);
        QVERIFY(!button->isEnabled());
        QVERIFY(!menuItem()->isEnabled());
        gesture();
        QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);
        QCOMPARE(runs.count(), 4);
        stop->setEnabled(true);
        QVERIFY(button->isEnabled());

        // A check button shows its action's mark.
        auto goNew =
            qobject_cast<QAbstractButton *>(chrome->addressToolBar()->buttonWidget("GoNew"));
        goNew->click();
        QVERIFY(frame->findChild<AddressBar *>()->goNewDown());
        QVERIFY(frame->findChild<CommandRegistry *>()->isChecked("AddressbarGoNew"));
        frame->findChild<AddressBar *>()->setGoNew(false);
        QVERIFY(!goNew->isChecked());
        frame->close();
    }

    void viewAndContentCommands()
    {
        auto frame = makeFrame(m_server.page("Content"));
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(0), QStringLiteral("Content"));

        frame->findChild<CommandRegistry *>()->run("mnuViewBrowseToolbar");
        QVERIFY(band(*frame, "Toolbar1")->isHidden());
        QVERIFY(!frame->findChild<CommandRegistry *>()->isChecked("mnuViewBrowseToolbar"));
        frame->findChild<CommandRegistry *>()->run("mnuViewAddressBar");
        QVERIFY(band(*frame, "Addressbar")->isHidden());
        frame->findChild<CommandRegistry *>()->run("mnuViewStatusBar");
        QVERIFY(frame->findChild<FrameStatusBar *>()->canvas()->isHidden());
        QVERIFY(!AppState::settings.statusBarVisible);

        // A download switch reloads every page; its mark follows the setting.
        const bool images = AppState::settings.enableImages;
        QCOMPARE(frame->findChild<CommandRegistry *>()->isChecked("mnuContentImage"), images);
        const qsizetype before = m_server.log().size();
        frame->findChild<CommandRegistry *>()->run("mnuContentImage");
        QCOMPARE(AppState::settings.enableImages, !images);
        QCOMPARE(frame->findChild<CommandRegistry *>()->isChecked("mnuContentImage"), !images);
        QTRY_VERIFY(m_server.log().size() > before);
        // The engine has no Java: its switch shows the setting, and running it changes nothing.
        const bool java = AppState::settings.enableJava;
        QCOMPARE(frame->findChild<CommandRegistry *>()->isChecked("mnuContentJava"), java);
        frame->findChild<CommandRegistry *>()->run("mnuContentJava");
        QCOMPARE(AppState::settings.enableJava, java);
        QCOMPARE(frame->findChild<CommandRegistry *>()->isChecked("mnuContentJava"), java);
        // The error switches reach every open page, the one behind too, both ways.
        frame->findChild<DocumentArea *>()->openDocument(m_server.page("Behind"));
        for (int flip = 0; flip < 2; ++flip) {
            frame->findChild<CommandRegistry *>()->run("mnuContentSuppressScriptErrors");
            frame->findChild<CommandRegistry *>()->run("mnuContentSuppressErrors");
            for (DocumentWindow *document : frameDocuments(*frame)) {
                const WebBrowser *browser = document->findChild<WebBrowser *>();
                QCOMPARE(browser->scriptErrorsSuppressed(), AppState::settings.suppressScriptErrors);
                QCOMPARE(browser->page()->settings()->testAttribute(QWebEngineSettings::ErrorPageEnabled),
                         !AppState::settings.suppressErrors);
            }
        }

        // Unknown keys do nothing.
        QVERIFY(!frame->findChild<CommandRegistry *>()->run("mnuNoSuchThing"));
        frame->close();
        QCOMPARE(store().read("Settings", "BrowseToolbarVisible", {}), QStringLiteral("False"));
        QCOMPARE(store().read("Settings", "AddressBarVisible", {}), QStringLiteral("False"));
        QCOMPARE(store().read("Settings", "StatusBarVisible", {}), QStringLiteral("False"));
        QCOMPARE(store().read("Content", "EnableImages", {}),
                 images ? QStringLiteral("False") : QStringLiteral("True"));

        auto again = makeFrame();
        QVERIFY(band(*again, "Toolbar1")->isHidden());
        QVERIFY(!again->findChild<CommandRegistry *>()->isChecked("mnuViewBrowseToolbar"));
        QCOMPARE(again->findChild<CommandRegistry *>()->isChecked("mnuContentImage"), !images);
        again->close();
    }

    void windowMenuCommands()
    {
        auto frame = makeFrame(m_server.page("First"));
        frame->findChild<DocumentArea *>()->openDocument(m_server.page("Second"));
        frame->findChild<DocumentArea *>()->openDocument(m_server.page("Third"));
        const QList<DocumentWindow *> documents = frameDocuments(*frame);
        QCOMPARE(documents.size(), 3);
        QTRY_COMPARE(documents[0]->windowTitle(), QStringLiteral("First"));
        QTRY_COMPARE(documents[2]->windowTitle(), QStringLiteral("Third"));

        // Opening the Window menu lists the windows, the active one first.
        KeyedMenu *menu = frame->findChild<MenuController *>()->mainMenu();
        frame->findChild<MenuController *>()->onMainMenuAboutToShow(menu->indexForKey("mnuWindow"));
        QCOMPARE(menu->caption(menu->indexForKey("mnuWin(8)")), QStringLiteral("&1) Third"));
        QCOMPARE(menu->caption(menu->indexForKey("mnuWin(9)")), QStringLiteral("&2) First"));
        QVERIFY(menu->isEnabled(menu->indexForKey("mnuWin(5)")));

        // Choosing a listed window brings it forward.
        chooseInMenuBar(*frame, "mnuWindow", "mnuWin(9)");
        QTRY_COMPARE(activeFrameDocument(*frame), documents[0]);

        chooseInMenuBar(*frame, "mnuWindow", "mnuWin(0)");
        const QRect area = frame->findChild<QMdiArea *>()->viewport()->rect();
        int top = 0;
        for (DocumentWindow *d : documents) {
            auto *sub = qobject_cast<QMdiSubWindow *>(d->parentWidget());
            QVERIFY(!sub->isMaximized());
            QCOMPARE(sub->geometry().top(), top);
            QCOMPARE(sub->geometry().width(), area.width());
            top = sub->geometry().bottom() + 1;
        }
        QCOMPARE(top, area.height());

        frame->findChild<CommandRegistry *>()->run("mnuWin(5)", FrameMenus::kWinNext);
        QTRY_VERIFY(activeFrameDocument(*frame) != documents[0]);
        frame->findChild<CommandRegistry *>()->run("mnuWin(2)", FrameMenus::kWinMaximize);
        QVERIFY(frame->findChild<QMdiArea *>()->currentSubWindow()->isMaximized());

        // The Auto-Refresh submenu marks the active document's period.
        DocumentWindow *active = activeFrameDocument(*frame);
        frame->findChild<CommandRegistry *>()->run("mnuTabAutoRefresh2");
        QVERIFY(active->autoRefresh()->isEnabled());
        QCOMPARE(active->autoRefresh()->interval(), 120);
        auto marked = [&] {
            frame->findChild<MenuController *>()->onMainMenuAboutToShow(
                menu->indexForKey("mnuTabAutoRefresh"));
            QStringList keys;
            for (int i : menu->subItems(menu->indexForKey("mnuTabAutoRefresh"))) {
                if (menu->isRadioCheck(i))
                    keys << menu->itemKey(i);
            }
            return keys;
        };
        QCOMPARE(marked(), QStringList{"mnuTabAutoRefresh2"});
        active->autoRefresh()->apply(90);
        QCOMPARE(marked(), QStringList{"mnuTabAutoRefreshCustom"});
        frame->findChild<CommandRegistry *>()->run("mnuTabAutoRefreshStop");
        QCOMPARE(marked(), QStringList{"mnuTabAutoRefreshStop"});

        frame->findChild<DocumentArea *>()->closeAll();
        QTRY_COMPARE(frameDocuments(*frame).size(), 0);
        QCOMPARE(marked(), QStringList{"mnuTabAutoRefreshStop"});
        frame->findChild<CommandRegistry *>()->run("mnuTabAutoRefresh1"); // no document: nothing
        frame->findChild<MenuController *>()->onMainMenuAboutToShow(menu->indexForKey("mnuWindow"));
        QVERIFY(menu->indexForKey("mnuWin(7)") == 0);
        frame->close();
    }

    void logoButtonsArrangeAndCloseTheDocuments()
    {
        auto frame = makeFrame(m_server.page("First"));
        frame->findChild<DocumentArea *>()->openDocument(m_server.page("Second"));
        frame->findChild<DocumentArea *>()->openDocument(m_server.page("Third"));
        QCOMPARE(frameDocuments(*frame).size(), 3);
        auto button = [&](const char *name) {
            return frame->findChild<QAbstractButton *>(QLatin1String(name));
        };
        for (const char *name : {"Picture2", "Picture7", "Picture8"})
            QVERIFY2(button(name) && button(name)->isVisible() && !button(name)->icon().isNull(), name);
        QCOMPARE(button("Picture2")->toolTip(), loadResString(20000));
        QCOMPARE(button("Picture8")->toolTip(), loadResString(1064));
        auto subs = [&] {
            QList<QMdiSubWindow *> list;
            for (DocumentWindow *d : frameDocuments(*frame))
                list << qobject_cast<QMdiSubWindow *>(d->parentWidget());
            return list;
        };

        // Tiled: the whole width, one below the other.
        button("Picture7")->click();
        const QRect area = frame->findChild<QMdiArea *>()->viewport()->rect();
        QSet<int> tops;
        for (QMdiSubWindow *sub : subs()) {
            QVERIFY(!sub->isMaximized());
            QCOMPARE(sub->width(), area.width());
            tops << sub->y();
        }
        QCOMPARE(tops.size(), 3);
        // Cascaded: each one further right and down than the one before.
        button("Picture8")->click();
        QList<QPoint> corners;
        for (QMdiSubWindow *sub : subs())
            corners << sub->pos();
        std::sort(corners.begin(), corners.end(), [](QPoint a, QPoint b) { return a.y() < b.y(); });
        QVERIFY(corners[0].x() < corners[1].x() && corners[1].x() < corners[2].x());

        // Close all asks first; No keeps every website.
        auto answer = [&](QMessageBox::StandardButton choice, QString *text) {
            QTimer::singleShot(0, this, [choice, text] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                QVERIFY(box);
                *text = box->text();
                QCOMPARE(box->icon(), QMessageBox::Question);
                box->button(choice)->click();
            });
        };
        QString asked;
        answer(QMessageBox::No, &asked);
        button("Picture2")->click();
        QCOMPARE(asked, loadResString(117));
        QCOMPARE(frameDocuments(*frame).size(), 3);
        answer(QMessageBox::Yes, &asked);
        button("Picture2")->click();
        QTRY_COMPARE(frameDocuments(*frame).size(), 0);
        QCOMPARE(frame->findChild<DocumentTabBar *>()->count(), 0);
        frame->close();
    }

    void officeXPStyleFromTheOptionMenus()
    {
        auto frame = makeFrame();
        StripToolBar *address = frame->findChild<FrameChrome *>()->addressToolBar();
        auto *go = qobject_cast<StripToolButton *>(address->buttonWidget("Go"));
        QVERIFY(go && !go->isFlat());

        // Without the styled look the address toolbar has no option menu.
        AppState::flatStyleAvailable = false;
        bool popupShown = false;
        QTimer::singleShot(0, this, [&popupShown] {
            if (QWidget *popup = QApplication::activePopupWidget()) {
                popupShown = true;
                popup->close();
            }
        });
        Q_EMIT address->buttonClicked(-1);
        QTest::qWait(0);
        QVERIFY(!popupShown);

        AppState::flatStyleAvailable = true;
        chooseInNextPopup(this, QStringLiteral("mnuTBOfficeXPStyle"));
        Q_EMIT address->buttonClicked(-1);
        QCOMPARE(address->drawStyle(), StripToolBar::kDrawOfficeXP);
        QVERIFY(go->isFlat());
        QCOMPARE(store().read("Settings", "AddressbarOfficeXP", {}), QStringLiteral("True"));
        // The item is there on the browse toolbar's menu too.
        chooseInNextPopup(this, QStringLiteral("mnuTBOfficeXPStyle"));
        Q_EMIT frame->findChild<FrameChrome *>()->toolBar("Toolbar1")->buttonClicked(-1);
        StripToolBar *browse = frame->findChild<FrameChrome *>()->toolBar("Toolbar1");
        QVERIFY(qobject_cast<StripToolButton *>(browse->buttonWidget("Back"))->isFlat());
        frame->close();

        // The next start builds them flat.
        auto again = makeFrame();
        StripToolBar *browseAgain = again->findChild<FrameChrome *>()->toolBar("Toolbar1");
        QCOMPARE(browseAgain->drawStyle(), StripToolBar::kDrawOfficeXP);
        QVERIFY(qobject_cast<StripToolButton *>(browseAgain->buttonWidget("Home"))->isFlat());
        StripToolBar *sitesAgain = again->findChild<FrameChrome *>()->toolBar("Toolbar2");
        QVERIFY(!qobject_cast<StripToolButton *>(sitesAgain->buttonWidget("Custom"))->isFlat());
        again->close();
        AppState::flatStyleAvailable = false;
    }

    // A toolbar button's drop-down arrow opens its menu: the search button's lists the engines,
    // the browse toolbar's buttons their own.
    void dropDownArrowsOpenTheirMenus()
    {
        auto frame = makeFrame();
        auto *chrome = frame->findChild<FrameChrome *>();
        StripToolBar *address = chrome->addressToolBar();
        chooseInNextPopup(this, QStringLiteral("mnuSearchEngineWiki"));
        Q_EMIT address->dropDownPressed(address->buttonIndex("Search"));
        QCOMPARE(frame->findChild<AddressBar *>()->searchEngine(), 5);

        StripToolBar *browse = chrome->toolBar("Toolbar1");
        for (const char *button : {"Stop", "Refresh"}) {
            QStringList items;
            QTimer::singleShot(0, this, [&items] {
                if (auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                    for (const QAction *action : popup->actions())
                        items << action->objectName();
                    popup->close();
                }
            });
            Q_EMIT browse->dropDownPressed(browse->buttonIndex(QLatin1String(button)));
            QVERIFY2(items.contains(QLatin1String("mnuNavigate") + QLatin1String(button) +
                                    QLatin1String("All")),
                     qPrintable(items.join(u' ')));
        }
        frame->close();
    }

    void sectionsOpenTheSidebarAtItsStandardWidth()
    {
        const int standard = twipsToPixels(4000);
        auto frame = makeFrame();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        QDockWidget *dock = frame->findChild<QDockWidget *>("sidebarDock");
        Sidebar *sidebar = frame->findChild<Sidebar *>();
        frame->findChild<CommandRegistry *>()->setChecked("mnuViewSidebar", true);
        dock->show();
        frame->resizeDocks({dock}, {standard + 80}, Qt::Horizontal);
        QTRY_COMPARE(dock->width(), standard + 80);
        frame->findChild<CommandRegistry *>()->trigger("mnuViewSidebar");
        QVERIFY(dock->isHidden());

        frame->findChild<CommandRegistry *>()->trigger("mnuViewRSS");
        QVERIFY(dock->isVisible());
        QTRY_COMPARE(dock->width(), standard);
        auto *sections = sidebar->findChild<QTabWidget *>(QStringLiteral("sidebar"));
        QCOMPARE(sidebar->sectionKey(sections->currentIndex()), QStringLiteral("RSSFEED"));

        // A click in the notes does the same.
        sidebar->showSection(QStringLiteral("QUICKNOTES"));
        frame->resizeDocks({dock}, {standard + 80}, Qt::Horizontal);
        QTRY_COMPARE(dock->width(), standard + 80);
        auto *notes = sidebar->findChild<QPlainTextEdit *>(QStringLiteral("txtQuickNotes"));
        QTest::mouseClick(notes->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_COMPARE(dock->width(), standard);
        frame->close();
    }

    // The side bar opens at its standard width and keeps it: showing each section and a
    // question over the page leave it as it is; a drag changes it, and the question then keeps
    // the dragged width.
    void sidebarKeepsItsWidth()
    {
        auto frame = makeFrame(m_server.page("Left"));
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        QDockWidget *dock = frame->findChild<QDockWidget *>("sidebarDock");
        Sidebar *sidebar = frame->findChild<Sidebar *>();
        auto *sections = sidebar->findChild<QTabWidget *>(QStringLiteral("sidebar"));
        CommandRegistry *commands = frame->findChild<CommandRegistry *>();
        QVERIFY(dock->isVisible());
        auto settle = [] {
            for (int i = 0; i < 3; ++i) {
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
                QCoreApplication::processEvents();
            }
        };
        auto askQuestion = [&] {
            QTimer::singleShot(0, this, [] {
                if (auto *question = qobject_cast<WhitelistQuestionDialog *>(QApplication::activeModalWidget()))
                    question->reject();
            });
            WhitelistQuestionDialog::ask(QStringLiteral("http://popup.test/"), activeFrameDocument(*frame));
            settle();
        };
        settle();
        const int standard = twipsToPixels(4000);
        QCOMPARE(dock->width(), standard);

        for (const char *command : {"mnuViewHistory", "mnuViewRSS", "mnuViewFav"}) {
            commands->trigger(QLatin1String(command));
            settle();
            QVERIFY2(dock->width() == standard, command);
        }
        for (const QString &key : {QStringLiteral("GAMES"), QStringLiteral("QUICKNOTES")}) {
            sections->setCurrentIndex(sidebar->sectionIndex(key));
            settle();
            QVERIFY2(dock->width() == standard, qPrintable(key));
        }
        QVERIFY(sections->tabBar()->tabRect(0).left() >= 0);
        askQuestion();
        QCOMPARE(dock->width(), standard);

        frame->resizeDocks({dock}, {standard - 50}, Qt::Horizontal);
        QTRY_COMPARE(dock->width(), standard - 50);
        askQuestion();
        QCOMPARE(dock->width(), standard - 50);
        frame->close();
    }

    void tabMenuActsOnTheClickedTab()
    {
        auto frame = makeFrame(m_server.page("Left"));
        frame->findChild<DocumentArea *>()->openDocument(m_server.page("Right"));
        DocumentWindow *left = frameDocuments(*frame).value(0);
        DocumentWindow *right = frameDocuments(*frame).value(1);
        QCOMPARE(activeFrameDocument(*frame), right);
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
        frame->findChild<DocumentArea *>()->runTabAction(left, 3);
        QVERIFY(seen.startsWith(QLatin1String("mnuTabRefresh mnuTabClose")));
        QTRY_COMPARE(frameDocuments(*frame).size(), 1);
        QCOMPARE(frameDocuments(*frame).value(0), right);
        frame->close();
    }

    // ---------------------------------------------------------------- skins

    void theSkinReachesTheBars()
    {
        auto frame = makeFrame();
        QCOMPARE(AppState::settings.currentSkin, QStringLiteral("daybreak"));
        const FrameChrome *chrome = frame->findChild<FrameChrome *>();
        QVERIFY(!chrome->skinPicture().isNull());
        QVERIFY(chrome->skinPath().endsWith(QLatin1String("/skins/daybreak.qvs")));
        // The status bar's plain panels show the skin, tiled from their corner.
        QCOMPARE(emptyPanelPixel(*frame), chrome->skinPicture().toImage().pixel(6, 6));
        // The side bar's section tabs are drawn on the skin's picture.
        const auto *sections =
            frame->findChild<Sidebar *>()->findChild<QTabWidget *>(QStringLiteral("sidebar"));
        const QTabBar *sectionTabs = sections->tabBar();
        QVERIFY(sectionTabs->autoFillBackground());
        QCOMPARE(sectionTabs->palette().brush(QPalette::Window).texture().toImage(),
                 QPixmap(chrome->skinPath()).toImage());
        QVERIFY(showsSkin(chrome->menuBar(), chrome->skinPicture()));
        QVERIFY(showsSkin(band(*frame, "Toolbar1"), chrome->skinPicture()));
        QVERIFY(AppState::skinNames.contains(QStringLiteral("meadow")));
        QCOMPARE(AppState::skinNames.value(0), QStringLiteral("none"));
        frame->close();
    }

    void aSkinChosenNowComesNextTime()
    {
        {
            auto frame = makeFrame();
            KeyedMenu *menu = frame->findChild<MenuController *>()->mainMenu();
            frame->findChild<MenuController *>()->onMainMenuAboutToShow(
                menu->indexForKey("mnuWindow"));
            frame->findChild<MenuController *>()->onMainMenuAboutToShow(
                menu->indexForKey("mnuSkin"));
            auto keyOf = [&](const QString &skin) {
                for (int i : menu->subItems(menu->indexForKey("mnuSkin"))) {
                    if (menu->caption(i) == skin)
                        return menu->itemKey(i);
                }
                return QString();
            };
            // The running skin again: no notice.
            frame->findChild<CommandRegistry *>()->run(keyOf("daybreak"));
            QCOMPARE(frame->findChild<FrameChrome *>()->nextSkin(), QStringLiteral("daybreak"));
            QString notice;
            answerMessageBox(this, &notice);
            frame->findChild<CommandRegistry *>()->run(keyOf("slate"));
            QCOMPARE(notice, loadResString(1147));
            QCOMPARE(frame->findChild<FrameChrome *>()->nextSkin(), QStringLiteral("slate"));
            QCOMPARE(AppState::settings.currentSkin,
                     QStringLiteral("daybreak")); // not before a restart
            frame->close();
        }
        QCOMPARE(store().read("Skins", "CurrentSkin", {}), QStringLiteral("slate"));
        auto frame = makeFrame();
        QVERIFY(frame->findChild<FrameChrome *>()->skinPath().endsWith(
            QLatin1String("/skins/slate.qvs")));
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
        QCOMPARE(notice, loadResString(1148));
        QCOMPARE(AppState::settings.currentSkin, QStringLiteral("none"));
        QVERIFY(frame->findChild<FrameChrome *>()->skinPicture().isNull());
        QVERIFY(frame->findChild<FrameChrome *>()->skinPath().isEmpty());
        QCOMPARE(emptyPanelPixel(*frame), plainPanelColour(*frame));
        QVERIFY(!showsSkin(frame->findChild<FrameChrome *>()->menuBar(), shippedSkin()));
        QVERIFY(!frame->grab().isNull()); // painting without a skin
        frame->close();
        QCOMPARE(store().read("Skins", "CurrentSkin", {}), QStringLiteral("none"));
    }

    void noSkin()
    {
        store().write("Skins", "CurrentSkin", "none");
        auto frame = makeFrame();
        QVERIFY(frame->findChild<FrameChrome *>()->skinPath().isEmpty());
        QCOMPARE(emptyPanelPixel(*frame), plainPanelColour(*frame));
        QVERIFY(!showsSkin(band(*frame, "Toolbar1"), shippedSkin()));
        frame->close();
        QCOMPARE(store().read("Skins", "CurrentSkin", {}), QStringLiteral("none"));
    }

    // The clock panel shows the locale's time to the minute, so it changes once a minute.
    void clockFormatsDropTheSeconds()
    {
        const QList<std::pair<QString, QString>> cases = {
            {"HH:mm:ss", "HH:mm"},          {"h:mm:ss AP", "h:mm AP"},
            {"HH.mm.ss", "HH.mm"},          {"h:mm AP", "h:mm AP"},
            {"HH:mm:ss.zzz t", "HH:mm t"}, {"H' h 'mm", "H' h 'mm"},
            {"'ss' HH:mm:ss", "'ss' HH:mm"},
        };
        for (const auto &[format, expected] : cases)
            QCOMPARE(FrameStatusBar::minuteTimeFormat(format), expected);
    }

    // With the side bar shown, the Alt letter of every menu belongs to the menu bar: no tab,
    // button or label of the frame or side bar takes one (each would take every second press).
    void menuLettersBelongToTheMenuBar()
    {
        auto frame = makeFrame();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        frame->findChild<CommandRegistry *>()->setChecked("mnuViewSidebar", true);
        frame->findChild<QDockWidget *>("sidebarDock")->show();
        Sidebar *sidebar = frame->findChild<Sidebar *>();
        auto *sections = sidebar->findChild<QTabWidget *>(QStringLiteral("sidebar"));
        QTRY_VERIFY(sections->count() > 0);

        QMenuBar *bar = frame->findChild<QMenuBar *>();
        QVERIFY(bar);
        QSet<QKeySequence> menuLetters;
        for (const QAction *menu : bar->actions()) {
            if (!QKeySequence::mnemonic(menu->text()).isEmpty())
                menuLetters << QKeySequence::mnemonic(menu->text());
        }
        QCOMPARE(menuLetters.size(), 7); // File, Edit, View, Navigate, Content, Window, Help

        // Every part of the frame, each side-bar section shown in turn.
        QStringList takers;
        const auto collect = [&] {
            for (QWidget *w : frame->findChildren<QWidget *>()) {
                if (w->window() != frame.get() || qobject_cast<QMenuBar *>(w))
                    continue;
                QStringList texts;
                if (auto *tabs = qobject_cast<QTabBar *>(w)) {
                    for (int i = 0; i < tabs->count(); ++i)
                        texts << tabs->tabText(i);
                } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
                    texts << button->text();
                } else if (auto *label = qobject_cast<QLabel *>(w); label && label->buddy()) {
                    texts << label->text();
                }
                for (const QString &text : std::as_const(texts)) {
                    if (menuLetters.contains(QKeySequence::mnemonic(text)))
                        takers << w->objectName() + u':' + text;
                }
            }
        };
        // The find bar too, which sits above the page.
        frame->findChild<CommandRegistry *>()->trigger("mnuEditFind");
        QTRY_VERIFY(frame->findChild<QWidget *>(QStringLiteral("chkMatchCase")));
        for (int i = 0; i < sections->count(); ++i) {
            sections->setCurrentIndex(i);
            collect();
        }
        takers.removeDuplicates();
        QCOMPARE(takers, QStringList());
        frame->close();
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    initApplicationIdentity();
    TestChrome test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_chrome.moc"
