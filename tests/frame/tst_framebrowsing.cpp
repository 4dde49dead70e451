#include "mainwindowtest.h"

// Browsing in the frame: tabs and their registry, typed addresses, the first page, the
// shortcuts and gestures, the hand-over, popups, the window list and the status bar.
class TestFrameBrowsing : public MainWindowTest
{
    Q_OBJECT

private slots:
    void init() { resetForTest(); }

    void tabsFollowTitlesAndClosesKeepTheRegistry()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(QLatin1Char('"') + m_server.page("Page A") + QLatin1Char('"'));
        QCOMPARE(frameDocuments(*frame).size(), 1); // only the command-line tab
        enterInNewTab(*frame, m_server.page("Page B"));
        enterInNewTab(*frame, m_server.page("Page C"));
        enterInNewTab(*frame, m_server.page("Page D"));
        enterInNewTab(*frame, m_server.page("Page E"));
        QTRY_COMPARE(tabCaptions(*frame), QStringList({"Page A", "Page B", "Page C", "Page D", "Page E"}));
        NavigatorPalette *nav = frame->findChild<DocumentArea *>()->navigator();
        QTRY_COMPARE(nav->rowStatus(5), QStringLiteral("Completed"));
        QCOMPARE(nav->rowText(3), QStringLiteral("Page C"));
        QVERIFY(registryConsistent(*frame));
        QCOMPARE(activeFrameDocument(*frame), documentAt(*frame, 5));
        QVERIFY(nav->rowBold(5) && !nav->rowBold(1));
        QCOMPARE(frame->findChild<AddressBar *>()->addressText(),
                 QUrl(m_server.page("Page E")).toString());

        // Close a middle one, then the first, then the last.
        frame->findChild<DocumentArea *>()->runTabAction(documentAt(*frame, 3), 1);
        QTRY_COMPARE(nav->rowCount(), 4);
        QVERIFY(registryConsistent(*frame));
        QCOMPARE(tabCaptions(*frame), QStringList({"Page A", "Page B", "Page D", "Page E"}));
        frame->findChild<DocumentArea *>()->runTabAction(documentAt(*frame, 1), 1);
        QTRY_COMPARE(nav->rowCount(), 3);
        QVERIFY(registryConsistent(*frame));
        frame->findChild<DocumentArea *>()->runTabAction(documentAt(*frame, 3), 1);
        QTRY_COMPARE(nav->rowCount(), 2);
        QVERIFY(registryConsistent(*frame));
        QCOMPARE(tabCaptions(*frame), QStringList({"Page B", "Page D"}));
        QCOMPARE(nav->rowText(2), QStringLiteral("Page D"));
        QCOMPARE(frame->findChild<DocumentArea *>()->lastClosedAddress(),
                 QUrl(m_server.page("Page E")).toString());

        // A click on a tab brings its document to the front.
        frame->findChild<DocumentArea *>()->runTabAction(documentAt(*frame, 1), 0);
        QTRY_COMPARE(activeFrameDocument(*frame), documentAt(*frame, 1));
        QTRY_VERIFY(frame->findChild<DocumentTabBar *>()->isSelected(1));
        QCOMPARE(frame->findChild<AddressBar *>()->addressText(),
                 QUrl(m_server.page("Page B")).toString());

        // Shrinking a tab shows three characters and the odd icon.
        frame->findChild<DocumentArea *>()->runTabAction(documentAt(*frame, 2), 2);
        QCOMPARE(frame->findChild<DocumentTabBar *>()->tabText(1), QStringLiteral("Pag"));
        QCOMPARE(frame->findChild<DocumentTabBar *>()->iconIndex(2) % 2, 1);
        frame->close();
        QCOMPARE(frame->findChild<DocumentArea *>()->documentCount(), 0);
    }

    // The first page starts loading before the frame exists; the first tab takes it over with
    // what it did meanwhile, whether it was still loading or had already finished.
    void theFirstTabTakesOverThePreparedPage()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        for (const bool finishedFirst : {false, true}) {
            const QString address = m_server.page(finishedFirst ? "Early done" : "Early");
            PreparedPage::prepare(address, DownloadControl::Images);
            const BrowserPage *prepared = PreparedPage::current()->page();
            if (finishedFirst)
                QTRY_VERIFY(PreparedPage::current()->loadFinished());
            auto frame = makeFrame(address);
            QVERIFY(!PreparedPage::isPrepared());
            DocumentWindow *document = activeFrameDocument(*frame);
            QCOMPARE(document->findChild<WebBrowser *>()->page(), prepared);
            QTRY_COMPARE(tabCaptions(*frame), QStringList({finishedFirst ? "Early done" : "Early"}));
            QTRY_COMPARE(frame->findChild<DocumentArea *>()->navigator()->rowStatus(1),
                         QStringLiteral("Completed"));
            QCOMPARE(frame->findChild<AddressBar *>()->addressText(), QUrl(address).toString());
            const auto visits = HistoryStore::instance().snapshot();
            QVERIFY(std::any_of(visits.begin(), visits.end(),
                                [&](const HistoryStore::Entry &e) { return e.url == QUrl(address).toString(); }));
            // The document's switches reach the page it took over.
            AppState::settings.enableScripts = false;
            document->applyDownloadOptions();
            QVERIFY(!prepared->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled));
            frame->close();
        }

        // Prepared for another address than the first tab opens: dropped, and the tab loads.
        PreparedPage::prepare(m_server.page("Not this"), 0);
        auto frame = makeFrame(m_server.page("This"));
        QVERIFY(!PreparedPage::isPrepared());
        QTRY_COMPARE(tabCaptions(*frame), QStringList({"This"}));
    }

    void enterNavigatesAndRemembers()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.page("Start"));
        DocumentWindow *document = activeFrameDocument(*frame);
        QVERIFY(document);
        QTRY_COMPARE(document->locationName(), QStringLiteral("Start"));
        AddressBar *address = frame->findChild<AddressBar *>();

        // A new text navigates the active document and goes to the top of the list.
        address->setAddressText(m_server.page("Second"));
        address->onAddressEnter(false, false);
        QTRY_COMPARE(document->locationName(), QStringLiteral("Second"));
        QCOMPARE(frameDocuments(*frame).size(), 1);
        QCOMPARE(address->typedAddresses().value(0), m_server.page("Second"));

        // Typing and pressing Enter in the address bar itself.
        address->comboBox()->lineEdit()->setFocus();
        address->comboBox()->lineEdit()->selectAll();
        QTest::keyClicks(address->comboBox()->lineEdit(), m_server.page("Typed"));
        QTest::keyClick(address->comboBox()->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE(document->locationName(), QStringLiteral("Typed"));
        // Keys as a keyboard delivers them, through the combo box.
        address->setAddressText(m_server.page("Keyboard"));
        QTest::keyClick(address->comboBox(), Qt::Key_Return);
        QTRY_COMPARE(document->locationName(), QStringLiteral("Keyboard"));
        QCOMPARE(frameDocuments(*frame).size(), 1);
        const int listSize = int(address->typedAddresses().size());

        // Down and Up in the field bring listed addresses into it without opening them; Esc
        // shows the page's address again.
        address->comboBox()->setFocus();
        const qsizetype requestsBefore = m_server.log().size();
        QTest::keyClick(address->comboBox(), Qt::Key_Down);
        QVERIFY(address->addressText() != document->locationUrl());
        QTest::keyClick(address->comboBox(), Qt::Key_Escape);
        QTRY_COMPARE(address->addressText(), document->locationUrl());
        QCOMPARE(m_server.log().size(), requestsBefore);

        // Without a scheme the text is a web address.
        address->setAddressText(
            QStringLiteral("127.0.0.1:%1/page?title=Bare").arg(m_server.serverPort()));
        address->onAddressEnter(false, false);
        QTRY_COMPARE(document->locationName(), QStringLiteral("Bare"));

        // A text already listed leaves the list alone.
        address->setAddressText(m_server.page("Start"));
        address->onAddressEnter(false, false);
        QTRY_COMPARE(document->locationName(), QStringLiteral("Start"));
        QCOMPARE(address->typedAddresses().size(), listSize + 1);

        // Back, forward and refresh.
        frame->findChild<CommandRegistry *>()->trigger("mnuNavigateBack");
        QTRY_COMPARE(document->locationName(), QStringLiteral("Bare"));
        frame->findChild<CommandRegistry *>()->trigger("mnuNavigateForward");
        QTRY_COMPARE(document->locationName(), QStringLiteral("Start"));
        const qsizetype before = m_server.log().size();
        frame->findChild<CommandRegistry *>()->trigger("mnuNavigateRefresh");
        QTRY_VERIFY(m_server.log().size() > before);
        QTRY_VERIFY(!isLoading(document)); // the reload has ended before the next navigation

        // A redirect ends on its target, and the address bar follows it.
        address->setAddressText(m_server.url("/redirect?to=/page%3Ftitle%3DTarget"));
        address->onAddressEnter(false, false);
        QTRY_COMPARE(document->locationName(), QStringLiteral("Target"));
        QTRY_COMPARE(address->addressText(), m_server.page("Target"));

        // Stop ends a slow load; the frame keeps working.
        address->setAddressText(m_server.url("/slow?ms=3000&title=Slow"));
        address->onAddressEnter(false, false);
        QTRY_VERIFY(isLoading(document));
        frame->findChild<CommandRegistry *>()->trigger("mnuNavigateStop");
        QTRY_VERIFY(!isLoading(document));

        // Home goes to home page 1 in the active tab.
        AppState::settings.sitesHome1 = m_server.page("Home");
        frame->findChild<CommandRegistry *>()->trigger("mnuNavigateHome1");
        QTRY_COMPARE(document->locationName(), QStringLiteral("Home"));
        QCOMPARE(frameDocuments(*frame).size(), 1);

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
        frame->findChild<DocumentArea *>()->closeAll();
        QTRY_COMPARE(frameDocuments(*frame).size(), 0);
        // Nothing to do, nothing breaks.
        frame->findChild<CommandRegistry *>()->trigger("mnuNavigateBack");
        frame->findChild<CommandRegistry *>()->trigger("mnuNavigateRefresh");
        AppState::settings.sitesMail = m_server.page("Mail");
        frame->findChild<CommandRegistry *>()->trigger("mnuNavigateMail");
        QCOMPARE(frameDocuments(*frame).size(), 1);
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(0), QStringLiteral("Mail"));
        frame->close();
    }

    // The shortcuts act wherever the focus is, through the real key path of the window.
    void shortcutsWorkFromAPageAndTheAddressBar()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.page("One"));
        enterInNewTab(*frame, m_server.page("Two"));
        enterInNewTab(*frame, m_server.page("Three"));
        QTRY_COMPARE(activeFrameDocument(*frame), documentAt(*frame, 3));
        // Every page has loaded: a load completing later would show its address in the field,
        // over the text the field is given below.
        NavigatorPalette *nav = frame->findChild<DocumentArea *>()->navigator();
        for (int k = 1; k <= 3; ++k)
            QTRY_COMPARE(nav->rowStatus(k), QStringLiteral("Completed"));
        QWindow *window = frame->windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        // From the address bar: Ctrl+Tab wraps to the first tab, Ctrl+Shift+Tab back to the last.
        QLineEdit *edit = frame->findChild<AddressBar *>()->comboBox()->lineEdit();
        edit->setFocus();
        QTest::keyClick(window, Qt::Key_Tab, Qt::ControlModifier);
        QTRY_COMPARE(activeFrameDocument(*frame), documentAt(*frame, 1));
        QTest::keyClick(window, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(activeFrameDocument(*frame), documentAt(*frame, 3));

        // From a page: Alt+D moves to the address bar; Esc stops and still reaches the widget.
        DocumentWindow *page = activeFrameDocument(*frame);
        page->setFocus();
        QTRY_VERIFY(!frame->findChild<AddressBar *>()->comboBox()->hasFocus());
        QTest::keyClick(window, Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(frame->findChild<AddressBar *>()->comboBox()->hasFocus());
        // Alt+D again, the field keeping the focus: the text is selected all the same.
        edit->setText(QStringLiteral("example.org/typed"));
        edit->setCursorPosition(3);
        QTest::keyClick(window, Qt::Key_D, Qt::AltModifier);
        QTRY_COMPARE(edit->selectedText(), QStringLiteral("example.org/typed"));
        int escapes = 0;
        struct Counter : QObject
        {
            int *count;
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::KeyPress &&
                    static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape)
                    ++*count;
                return false;
            }
        } filter;
        filter.count = &escapes;
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused);
        focused->installEventFilter(&filter);
        QTest::keyClick(window, Qt::Key_Escape);
        QCOMPARE(escapes, 1);

        // Ctrl+F4 closes the active tab once the key has been handled.
        QTest::keyClick(window, Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(frameDocuments(*frame).size(), 2);
        focused->removeEventFilter(&filter);

        // From the quick notes: Ctrl+N opens home page 1 in a new tab, Alt+Home takes the
        // active page home, F9 opens the quick search; none of them types into the notes.
        AppState::settings.sitesHome1 = m_server.page("Home");
        QPlainTextEdit *notes = quickNotes(*frame);
        const QString notesBefore = notes->toPlainText();
        frame->findChild<QDockWidget *>("sidebarDock")->show();
        notes->setFocus();
        QTRY_VERIFY(notes->hasFocus());
        QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
        QTRY_COMPARE(frameDocuments(*frame).size(), 3);
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(2), QStringLiteral("Home"));
        frame->findChild<DocumentArea *>()->bringToFront(documentAt(*frame, 1));
        notes->setFocus();
        QTest::keyClick(window, Qt::Key_Home, Qt::AltModifier);
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(0), QStringLiteral("Home"));
        bool quickSearchShown = false;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QuickSearchDialog *>(QApplication::activeModalWidget())) {
                quickSearchShown = true;
                box->reject();
            }
        });
        answer.start(20);
        QTest::keyClick(window, Qt::Key_F9);
        QTRY_VERIFY(quickSearchShown);
        QCOMPARE(notes->toPlainText(), notesBefore);
        frame->close();
    }

    // The field's text matching a listed address is no choice of it: the focus leaving the field
    // (into the page, at the close, with the frame destroyed unclosed) opens nothing.
    void leavingTheAddressFieldOpensNothing()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.page("Start"));
        DocumentWindow *document = activeFrameDocument(*frame);
        QVERIFY(document);
        QTRY_COMPARE(document->locationName(), QStringLiteral("Start"));
        QVERIFY(QTest::qWaitForWindowExposed(frame->windowHandle()));
        AddressBar *address = frame->findChild<AddressBar *>();
        QLineEdit *field = address->comboBox()->lineEdit();
        const QStringList listed{m_server.page("Start"), m_server.page("Listed")};
        address->setTypedAddresses(listed);
        const qsizetype mark = m_server.mark();

        field->setFocus();
        QTRY_VERIFY(address->hasFocus());
        field->setText(m_server.page("Listed"));
        document->setFocus();
        QTRY_VERIFY(!address->hasFocus());
        QCOMPARE(address->typedAddresses(), listed);
        QCOMPARE(frameDocuments(*frame).size(), 1);
        // A page asked for now comes after anything the focus's move asked for.
        address->setAddressText(m_server.page("After"));
        address->onAddressEnter(false, false);
        QTRY_COMPARE(document->locationName(), QStringLiteral("After"));
        QVERIFY2(!m_server.logText(mark).contains(QLatin1String("Listed")), qPrintable(m_server.logText(mark)));

        // A click on the entry in the list is a choice.
        address->comboBox()->showPopup();
        QAbstractItemView *list = address->comboBox()->view();
        QTRY_VERIFY(list->isVisible());
        const QModelIndex entry = list->model()->index(int(address->typedAddresses().indexOf(m_server.page("Listed"))), 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
        QTRY_COMPARE(document->locationName(), QStringLiteral("Listed"));
        const QStringList typed = address->typedAddresses();

        const qsizetype closing = m_server.mark();
        frame->activateWindow(); // the list's window was the active one
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        field->setFocus();
        QTRY_VERIFY(address->hasFocus());
        field->setText(m_server.page("After"));
        frame->close();
        QCOMPARE(frame->findChild<DocumentArea *>()->documentCount(), 0);
        QCOMPARE(address->typedAddresses(), typed);

        // Destroyed without its close, the frame opens no document into its half-gone parts.
        frame = makeFrame(m_server.page("Again"));
        QTRY_COMPARE(tabCaptions(*frame), QStringList({"Again"}));
        address = frame->findChild<AddressBar *>();
        address->setTypedAddresses(listed);
        address->comboBox()->lineEdit()->setFocus();
        QTRY_VERIFY(address->hasFocus());
        address->comboBox()->lineEdit()->setText(m_server.page("Listed"));
        frame.reset();
        QVERIFY2(!m_server.logText(closing).contains(QLatin1String("Listed")), qPrintable(m_server.logText(closing)));
    }

    // Gesture 17 adds the current site to the popup killer's whitelist and says so.
    void gestureAddsTheSiteToTheWhitelist()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.page("Listed"));
        QTRY_COMPARE(frame->findChild<DocumentArea *>()->navigator()->rowStatus(1),
                     QStringLiteral("Completed"));
        AppState::settings.mouseUp = 17;
        const qsizetype before = programWhitelist().size();
        QStringList said;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&said] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                said << box->text();
                box->accept();
            }
        });
        answer.start(20);
        bool accepted = false;
        Q_EMIT frame->findChild<MouseGestureRecognizer *>()->gestureRecognized(
            MouseGestureRecognizer::kUp, 0, 0, 0, 0, accepted);
        QVERIFY(accepted);
        QCOMPARE(programWhitelist().size(), before + 1);
        // The site, not the page: another page of it may open windows too.
        QCOMPARE(programWhitelist().last(), QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()));
        QVERIFY(whitelistMatches(m_server.page("Another page"), programWhitelist()));
        QCOMPARE(said, QStringList({loadResString(1183)}));
        frame->close();
    }

    void handOverOpensATabAndRestores()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.page("Before"));
        const qsizetype before = frameDocuments(*frame).size();

        frame->handOver(m_server.page("Handed"));
        QCOMPARE(frameDocuments(*frame).size(), before + 1);
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(int(before)),
                     QStringLiteral("Handed"));
        // The page it covers is hidden as a view, not only to the engine: a view left shown
        // behind it keeps the engine's compositor ticking.
        QVERIFY(documentAt(*frame, int(before) + 1)->findChild<QWebEngineView *>()->isVisible());
        QVERIFY(documentAt(*frame, int(before))->findChild<QWebEngineView *>()->isHidden());

        // Empty and one-character texts open nothing but still bring the window back.
        frame->showMinimized();
        QTRY_VERIFY(frame->isMinimized());
        frame->handOver(QString());
        frame->handOver(QStringLiteral("x"));
        QCOMPARE(frameDocuments(*frame).size(), before + 1);
        QTRY_VERIFY(!frame->isMinimized());
        QVERIFY(frame->isVisible());
        frame->close();
    }

    void popupsAreKilledUnlessAllowed()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.url("/popup"));
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(0), QStringLiteral("Opener"));
        // The kill shows on the killer's panel; no tab opened. The panel blinks on the first
        // tick of the killer's timer, which the test gives at once instead of after 800 ms.
        auto *blink =
            activeFrameDocument(*frame)->findChild<QTimer *>(QStringLiteral("blinkTimer"));
        QVERIFY(blink);
        QTRY_VERIFY(blink->isActive());
        QMetaObject::invokeMethod(blink, "timeout");
        QTRY_COMPARE(
            frame->findChild<FrameStatusBar *>()->panels()->panelIcon(QStringLiteral("Item4")), 5);
        QCOMPARE(frameDocuments(*frame).size(), 1);

        AppState::settings.popupKillerEnable = false;
        frame->findChild<CommandRegistry *>()->trigger("mnuNavigateRefresh");
        QTRY_COMPARE(frameDocuments(*frame).size(), 2);
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(1), QStringLiteral("Popup"));
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
        frame->findChild<DocumentArea *>()->openDocument(QUrl::fromLocalFile(path).toString());
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(1),
                     QStringLiteral("From shortcut"));
        frame->findChild<DocumentArea *>()->openDocument(path);
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(2),
                     QStringLiteral("From shortcut"));
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
            WindowListDialog list(frameDocuments(*frame), frame.get());
            auto *rows = list.findChild<QTreeWidget *>(QStringLiteral("ListView1"));
            QCOMPARE(rows->topLevelItemCount(), 2);
            QVERIFY(rows->topLevelItem(1)->font(0).bold());
            QVERIFY(!rows->topLevelItem(0)->font(0).bold());
            QCOMPARE(rows->headerItem()->text(0), QStringLiteral("Site"));
            list.open();
            QVERIFY(AppState::modalDialogOpen());
            rows->setCurrentItem(rows->topLevelItem(0));
            Q_EMIT rows->itemDoubleClicked(rows->topLevelItem(0), 0);
            QCOMPARE(list.chosen(), documentAt(*frame, 1));
            QVERIFY(!AppState::modalDialogOpen());
        }

        // The palette grows by 250 twips a tick up to 5000 and stands still while sticky.
        NavigatorPalette *nav = frame->findChild<DocumentArea *>()->navigator();
        QCOMPARE(nav->findChild<QTreeWidget *>(QStringLiteral("ListView1"))->headerItem()->text(1),
                 QStringLiteral("Status"));
        auto *foldTimer = nav->findChild<QTimer *>(QStringLiteral("Timer1"));
        QVERIFY(foldTimer);
        QCOMPARE(foldTimer->interval(), 50);
        foldTimer->setInterval(10); // the steps below count ticks, not time
        nav->resize(nav->width(), twipsToPixels(4875));
        // The pointer comes over the palette: it opens, one step and no further.
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), nav->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(nav, &enter);
        QTRY_VERIFY(pixelsToTwips(nav->height()) > 5000);
        const int grown = nav->height();
        QTRY_VERIFY(!foldTimer->isActive()); // the next tick found it open and stopped
        QCOMPARE(nav->height(), grown);
        auto *bar = nav->findChild<StripToolBar *>(QStringLiteral("cToolbar1"));
        auto *sticky = qobject_cast<QToolButton *>(bar->buttonWidget(QStringLiteral("Sticky")));
        QCOMPARE(sticky->toolTip(), QStringLiteral("Sticky"));
        sticky->click();
        QCOMPARE(sticky->toolTip(), QStringLiteral("Auto shrink"));
        // The frame folds the palette (the pointer moved over the documents): a sticky one stays.
        QSignalSpy ticks(foldTimer, &QTimer::timeout);
        nav->startShrinking();
        QTRY_VERIFY(ticks.count() >= 3);
        QCOMPARE(nav->height(), grown);
        sticky->click();
        QCOMPARE(sticky->toolTip(), QStringLiteral("Keep visible"));
        QTRY_VERIFY(nav->height() < grown);

        // The toolbar shows every button at the palette's own width; the arrow of "New" opens
        // the New menu below the toolbar at the button's left edge.
        nav->show();
        QVERIFY(QTest::qWaitForWindowExposed(nav));
        QCOMPARE(bar->buttonKey(0), QStringLiteral("New"));
        QCOMPARE(qobject_cast<QToolButton *>(bar->buttonWidget(QStringLiteral("New")))->popupMode(),
                 QToolButton::MenuButtonPopup); // its drop-down arrow
        for (int i = 0; i < bar->buttonCount(); ++i) {
            if (QWidget *button = bar->buttonWidget(bar->buttonKey(i)))
                QVERIFY2(button->isVisible(), qPrintable(bar->buttonKey(i)));
        }
        QWidget *newButton = bar->buttonWidget(QStringLiteral("New"));
        QPoint menuAt;
        QStringList items;
        QTimer::singleShot(0, this, [&] {
            auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(popup);
            menuAt = popup->pos();
            for (QAction *action : popup->actions())
                items << action->objectName();
            popup->close();
        });
        QTest::mousePress(newButton, Qt::LeftButton, {},
                          QPoint(newButton->width() - 3, newButton->height() / 2));
        QCOMPARE(menuAt, bar->mapToGlobal(QPoint(newButton->x(), bar->height())));
        QVERIFY(!items.isEmpty());
        nav->hide();
        frame->close();
    }

    void statusBarAndGestures()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        store().write("Gestures", "MouseLeftDown", "6");
        auto frame = makeFrame(m_server.page("Status"));
        FrameStatusBar *status = frame->findChild<FrameStatusBar *>();
        PanelStatusBar *bar = status->panels();
        QCOMPARE(bar->panelIndex(QStringLiteral("Item8")), 8);
        QVERIFY_THROWS_EXCEPTION(NumberedError, bar->panelIndex(9)); // eight panels
        QCOMPARE(bar->panelIcon(QStringLiteral("Item4")), 3);
        QVERIFY(!bar->panelText(QStringLiteral("Item2")).isEmpty()); // the clock ran once
        {
            // The clock's panel has the same text as its tool tip, shown over it.
            int l = 0, t = 0, r = 0, b = 0;
            bar->panelRect(QStringLiteral("Item2"), l, t, r, b);
            const QPointF over((l + r) / 2, (t + b) / 2);
            QMouseEvent move(QEvent::MouseMove, over, status->canvas()->mapToGlobal(over),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(status->canvas(), &move);
            QCOMPARE(status->canvas()->toolTip(), bar->panelText(QStringLiteral("Item2")));
        }

        // The progress panel is owner-drawn while a page loads and paints the bar there.
        frame->resize(1200, 700);
        QTRY_VERIFY(status->canvas()->width() > 900);
        status->setProgressText(QStringLiteral("0"));
        const QImage idle = status->canvas()->grab().toImage();
        status->setProgressText(QStringLiteral("45"));
        int l = 0, t = 0, r = 0, b = 0;
        bar->panelRect(QStringLiteral("Item7"), l, t, r, b);
        const QImage loading = status->canvas()->grab().toImage();
        bool painted = false;
        for (int x = l; x < r && !painted; ++x)
            painted = loading.pixelColor(x, (t + b) / 2) != idle.pixelColor(x, (t + b) / 2);
        QVERIFY(painted);
        // Idle again: the panel is drawn as before the load.
        status->setProgressText(QStringLiteral("0"));
        const QRect item7(l, t, r - l, b - t);
        QCOMPARE(status->canvas()->grab().toImage().copy(item7), idle.copy(item7));

        // A double click on the killer's panel toggles it, twice restores it; other panels
        // leave it alone: the one before it opens the options.
        bool optionsShown = false;
        QTimer::singleShot(0, this, [&optionsShown] {
            if (auto *options = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget())) {
                optionsShown = true;
                options->reject();
            }
        });
        Q_EMIT bar->panelDoubleClicked(3, 0, 0);
        QVERIFY(optionsShown);
        QVERIFY(AppState::settings.popupKillerEnable);
        Q_EMIT bar->panelDoubleClicked(4, 0, 0);
        QVERIFY(!AppState::settings.popupKillerEnable);
        QCOMPARE(bar->panelIcon(QStringLiteral("Item4")), 1);
        Q_EMIT bar->panelDoubleClicked(4, 0, 0);
        QVERIFY(AppState::settings.popupKillerEnable);
        QCOMPARE(bar->panelIcon(QStringLiteral("Item4")), 3);

        // Strokes map to their settings; a gesture is accepted even while a modal dialog is
        // open, but acts only once every modal dialog has closed, nested ones included.
        QCOMPARE(CommandBindings::gestureAction(MouseGestureRecognizer::kUp, AppState::settings), 3);
        QCOMPARE(CommandBindings::gestureAction(MouseGestureRecognizer::kUpRight, AppState::settings), 10);
        QCOMPARE(CommandBindings::gestureAction(MouseGestureRecognizer::kLeftDown, AppState::settings), 6);
        QCOMPARE(CommandBindings::gestureAction(3, AppState::settings), 0);
        bool accepted = false;
        {
            QDialog outer(frame.get());
            outer.setModal(true);
            outer.show();
            QDialog inner(&outer);
            inner.open();
            QVERIFY(AppState::modalDialogOpen());
            inner.accept();
            QVERIFY(AppState::modalDialogOpen());
            Q_EMIT frame->findChild<MouseGestureRecognizer *>()->gestureRecognized(
                MouseGestureRecognizer::kLeftDown, 0, 0, 0, 0, accepted);
            outer.accept();
            QVERIFY(!AppState::modalDialogOpen());
        }
        QVERIFY(accepted);
        QCOMPARE(frameDocuments(*frame).size(), 1);
        accepted = false;
        AppState::settings.sitesHome1 = m_server.page("Gesture");
        Q_EMIT frame->findChild<MouseGestureRecognizer *>()->gestureRecognized(
            MouseGestureRecognizer::kLeftDown, 0, 0, 0, 0, accepted);
        QVERIFY(accepted);
        QCOMPARE(frameDocuments(*frame).size(), 2);
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(1), QStringLiteral("Gesture"));
        checkRightPressHeld(true);
        frame->close();
        checkRightPressHeld(false);
    }

    // An address that cannot be opened, typed and entered in the active tab or a new one:
    // the field keeps the text to be mended, and tab, window and frame keep a name.
    void failedLoadKeepsTypedTextAndNames_data()
    {
        QTest::addColumn<bool>("suppressErrors");
        QTest::addColumn<bool>("newTab");
        QTest::newRow("error page") << false << false;
        QTest::newRow("errors suppressed") << true << false;
        QTest::newRow("error page, new tab") << false << true;
        QTest::newRow("errors suppressed, new tab") << true << true;
    }

    void failedLoadKeepsTypedTextAndNames()
    {
        QFETCH(bool, suppressErrors);
        QFETCH(bool, newTab);
        store().write("General", "SaveDocumentOnExit", "False");
        store().write("Content", "SuppressErrors", suppressErrors ? "True" : "False");
        auto frame = makeFrame(m_server.page("Start"));
        DocumentWindow *start = activeFrameDocument(*frame);
        QVERIFY(start);
        QTRY_COMPARE(start->locationName(), QStringLiteral("Start"));
        QTRY_VERIFY(!isLoading(start));
        quint16 port = 0;
        {
            QTcpServer closed; // a port nobody listens on once it is closed
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            port = closed.serverPort();
        }
        const QString typed = QStringLiteral("127.0.0.1:%1/typo").arg(port);
        AddressBar *address = frame->findChild<AddressBar *>();
        QLineEdit *field = address->comboBox()->lineEdit();
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, typed);
        address->setGoNew(newTab);
        QTest::keyClick(field, Qt::Key_Return);
        address->setGoNew(false);
        QTRY_COMPARE(frameDocuments(*frame).size(), newTab ? 2 : 1);
        DocumentWindow *document = activeFrameDocument(*frame);
        QCOMPARE(document == start, !newTab);
        auto *browser = document->findChild<WebBrowser *>();
        QTRY_VERIFY(browser->loadFailed() && !isLoading(document));
        // The failed load may still report after its end (an error page's title): wait until
        // the document has a name and the tab, the window list and the frame's caption show it.
        const int k = int(frameDocuments(*frame).indexOf(document)) + 1;
        const auto shownNames = [&] {
            return QStringList{document->windowTitle(), tabCaptions(*frame).value(k - 1),
                               frame->findChild<DocumentArea *>()->navigator()->rowText(k),
                               frame->windowTitle()};
        };
        const auto namedAlike = [&] {
            const QString name = document->windowTitle();
            return !name.trimmed().isEmpty() &&
                   shownNames() == QStringList({name, name, name, QStringLiteral("%1 - [%2]").arg(loadResString(1120), name)});
        };
        QTRY_VERIFY2(namedAlike(), qPrintable(shownNames().join(QLatin1String(" | "))));

        QCOMPARE(address->addressText(), typed);
        const QString name = document->windowTitle(); // the Window menu's and window list's
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(name));
        QCOMPARE(tabCaptions(*frame).value(k - 1), name);
        QCOMPARE(frame->findChild<DocumentArea *>()->navigator()->rowText(k), name);
        QCOMPARE(frame->windowTitle(), QStringLiteral("%1 - [%2]").arg(loadResString(1120), name));
        if (suppressErrors && !newTab)
            QCOMPARE(name, QStringLiteral("Start")); // the page stayed as it was
        {
            WindowListDialog list(frameDocuments(*frame), frame.get());
            auto *rows = list.findChild<QTreeWidget *>(QStringLiteral("ListView1"));
            for (int row = 0; row < rows->topLevelItemCount(); ++row)
                QVERIFY(!rows->topLevelItem(row)->text(0).trimmed().isEmpty());
        }

        // Back from another tab, the field holds the text again.
        if (newTab) {
            frame->findChild<DocumentArea *>()->bringToFront(start);
            QTRY_COMPARE(address->addressText(), start->locationUrl());
            frame->findChild<DocumentArea *>()->bringToFront(document);
            QTRY_COMPARE(address->addressText(), typed);
        }
        // The typo is mended in place; the next address that opens shows as the page's.
        field->setFocus();
        field->end(false);
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, QStringLiteral("page"));
        QCOMPARE(address->addressText(), typed.chopped(4) + QStringLiteral("page"));
        field->selectAll();
        QTest::keyClicks(field, m_server.page("Mended"));
        QTest::keyClick(field, Qt::Key_Return);
        QTRY_COMPARE(document->locationName(), QStringLiteral("Mended"));
        QTRY_COMPARE(address->addressText(), m_server.page("Mended"));
        frame->close();
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    initApplicationIdentity();
    TestFrameBrowsing test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_framebrowsing.moc"
