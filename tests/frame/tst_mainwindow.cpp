#include "mainwindowtest.h"

#include "core/userfile.h"
#include "core/website.h"

#include <functional>

// The frame window from its start to its end: the load and what it reports, the settings and
// the saved pages coming back, the tray and the lock, the timers, the close and its steps.
class TestMainWindow : public MainWindowTest
{
    Q_OBJECT

    // Runs a frame's load, ending it (abandonStart) at the first start-up question that
    // isQuestion picks; atTheEnd then looks at the files, as the program ends there. Every
    // question is answered no (rejected) afterwards, so the load runs on. Whether the question
    // came, and the frame, whose close runs no step any more.
    bool abandonAtQuestion(const std::function<bool(QDialog *)> &isQuestion,
                           const std::function<void()> &atTheEnd, std::unique_ptr<MainWindow> *window)
    {
        WebSite::setBaseForTesting(QStringLiteral("http://127.0.0.1:9"));
        *window = std::make_unique<MainWindow>();
        MainWindow *frame = window->get();
        bool asked = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (!asked && isQuestion(dialog)) {
                asked = true;
                frame->abandonStart();
                atTheEnd();
            }
            dialog->reject();
        });
        watch.start(10);
        frame->startUp(QString());
        return asked;
    }

private slots:
    void init() { resetForTest(); }

    void firstRunOpensOnlyTheQuickTour()
    {
        QCOMPARE(marker(), QStringLiteral("(none)"));
        {
            // No crash notice: the previous session did not crash.
            bool crashNoticeShown = false;
            QTimer watch;
            connect(&watch, &QTimer::timeout, this, [&crashNoticeShown] {
                if (auto *w =
                        qobject_cast<CrashNoticeDialog *>(QApplication::activeModalWidget())) {
                    crashNoticeShown = true;
                    w->accept();
                }
            });
            watch.start(0);
            auto frame = makeFrame(m_server.page("Ignored"), FrameStart::FirstRun);
            watch.stop();
            QVERIFY(!crashNoticeShown);
            QCOMPARE(marker(), QStringLiteral("True"));
            QCOMPARE(store().read("Settings", "FirstTime", {}), QStringLiteral("False"));
            QCOMPARE(frameDocuments(*frame).size(), 1);
            QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(0),
                         QStringLiteral("Quarvel Quick Tour"));
            // The frame's caption names the active page, and only while there is one.
            QTRY_COMPARE(frame->windowTitle(), QStringLiteral("Quarvel v2.7 - [Quarvel Quick Tour]"));
            frame->findChild<DocumentArea *>()->closeAll();
            QTRY_COMPARE(frame->windowTitle(), QStringLiteral("Quarvel v2.7"));
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
            if (auto *w = qobject_cast<CrashNoticeDialog *>(QApplication::activeModalWidget())) {
                noticeShown = w->windowTitle() == QLatin1String("Warning!");
                w->accept();
            }
        });
        auto frame = makeFrame(m_server.page("After crash"));
        QVERIFY(noticeShown);
        QCOMPARE(AppState::settings.loadAction, 2);
        frame->close();
        QCOMPARE(store().read("General", "LoadAction", {}), QStringLiteral("2"));
    }

    // Ended while a start-up question is open, the start keeps nothing: the settings file is
    // what it was before the start, byte for byte, the crash marker with it, and no close step
    // runs after it. A clean marker stays clean, an unanswered crash notice comes again.
    void abandonedStartKeepsTheSettingsAsTheyWere_data()
    {
        QTest::addColumn<QString>("marker");
        QTest::addColumn<QString>("question");
        QTest::newRow("crash notice") << "True" << "Warning!";
        QTest::newRow("restore question") << "False" << "Load Saved Documents";
    }
    void abandonedStartKeepsTheSettingsAsTheyWere()
    {
        QFETCH(QString, marker);
        QFETCH(QString, question);
        store().write("Settings", "PrevSessionCrashed", marker);
        store().write("Settings", "FirstTime", "False");
        store().write("General", "CheckIfDefault", "False");
        store().write("Settings", "FileAssociationSetDefault", "False");
        store().write("General", "SaveDocumentOnExit", "True");
        store().write("General", "LoadAction", "2");
        store().write("Settings", "DocumentCount", "1");
        store().write("Settings", "Document1", m_server.page("Saved"));
        QByteArray before;
        QVERIFY(UserFile::read(store().filePath(), &before));

        QByteArray atTheEnd;
        std::unique_ptr<MainWindow> frame;
        QVERIFY(abandonAtQuestion([&](QDialog *dialog) { return dialog->windowTitle() == question; },
                                  [&] { UserFile::read(store().filePath(), &atTheEnd); }, &frame));
        QCOMPARE(atTheEnd, before);
        QVERIFY(frame->hasUnloaded());
        QSignalSpy closeSteps(frame.get(), &MainWindow::unloadStepFinished);
        frame->close();
        QCOMPARE(closeSteps.size(), 0);
    }

    // Ended while the notice of a settings file set aside is open: the file goes back where it
    // was, as it was, for the next start to find and tell again.
    void abandonedStartPutsAnUnreadableFileBack()
    {
        const QString file = store().filePath();
        const QByteArray garbage("\xff\xfe[\0S\0]\0", 8);
        {
            QFile unreadable(file);
            QVERIFY(unreadable.open(QIODevice::WriteOnly));
            unreadable.write(garbage);
        }
        const QDir folder = QFileInfo(file).dir();
        const QStringList asidePattern{QFileInfo(file).fileName() + QStringLiteral(".unreadable-*")};
        const QStringList before = folder.entryList(asidePattern, QDir::Files);
        SettingsStore::setInstanceFile(file);
        QVERIFY(!QFile::exists(file)); // set aside as the store read it

        QStringList asideAfter;
        QByteArray atTheEnd;
        std::unique_ptr<MainWindow> frame;
        // The notice names the file set aside; every question of a start from the defaults is
        // answered too.
        const bool told = abandonAtQuestion(
            [](QDialog *dialog) {
                auto *box = qobject_cast<QMessageBox *>(dialog);
                return box && box->text().contains(QStringLiteral(".unreadable-"));
            },
            [&] {
                asideAfter = folder.entryList(asidePattern, QDir::Files);
                UserFile::read(file, &atTheEnd);
            },
            &frame);
        QVERIFY(told);
        QCOMPARE(asideAfter, before);
        QCOMPARE(atTheEnd, garbage);
        frame.reset();
        QFile::remove(file);
        store().reload();
    }

    // A settings file that is not text is kept aside and the start says so once; the frame
    // starts all the same.
    void unreadableSettingsAreReportedAtStart()
    {
        const QString file = store().filePath();
        store().write("General", "SaveDocumentOnExit", "False");
        {
            QFile garbage(file);
            QVERIFY(garbage.open(QIODevice::WriteOnly));
            garbage.write(QByteArray("\xff\xfe[\0S\0]\0", 8));
        }
        // The file kept aside is the one new file beside the settings file.
        const QDir folder = QFileInfo(file).dir();
        const QStringList asidePattern{QFileInfo(file).fileName() + QStringLiteral(".unreadable-*")};
        const QStringList before = folder.entryList(asidePattern, QDir::Files);
        SettingsStore::setInstanceFile(file);
        QStringList asideFiles = folder.entryList(asidePattern, QDir::Files);
        for (const QString &old : before)
            asideFiles.removeAll(old);
        QCOMPARE(asideFiles.size(), 1);
        const QString aside = folder.filePath(asideFiles.first());
        store().write("General", "SaveDocumentOnExit", "False"); // the later tests' settings
        QStringList notices;
        auto frame = makeFrameAnsweringNotices(m_server.page("After the notice"), &notices);
        const QString shown = notices.join(QLatin1Char('\n'));
        QVERIFY(!aside.isEmpty());
        QVERIFY(shown.contains(aside));
        QVERIFY(QFile::exists(aside));
        QTRY_COMPARE(frameDocuments(*frame).size(), 1);
        frame->close();
        QFile::remove(aside);
    }

    // A settings file that cannot be written and a history store that cannot be opened are
    // said once at start; browsing goes on.
    void unwritableSettingsAndDamagedHistoryAreReported()
    {
        const QString file = store().filePath();
        QTemporaryDir dir;
        QVERIFY(pointStoreBelowAFile(dir));
        store().write("General", "SaveDocumentOnExit", "False");
        QStringList shown;
        auto frame = makeFrameAnsweringNotices(m_server.page("Unwritable"), &shown);
        QCOMPARE(shown.size(), HistoryStore::instance().isOpen() ? 1 : 2);
        QVERIFY(shown.first().contains(QStringLiteral("file/Quarvel.ini")));
        QTRY_COMPARE(frameDocuments(*frame).size(), 1);
        frame->close();
        frame.reset();
        SettingsStore::setInstanceFile(file);
        store().write("General", "SaveDocumentOnExit", "False");

        // The history store: a damaged file is kept as it is and reported.
        HistoryStore damaged(dir.filePath(QStringLiteral("history.db")));
        QFile garbage(dir.filePath(QStringLiteral("bad.db")));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(4096, '\x5a'));
        garbage.close();
        HistoryStore bad(dir.filePath(QStringLiteral("bad.db")));
        QVERIFY(damaged.isOpen());
        QVERIFY(!bad.isOpen());
        QFile kept(dir.filePath(QStringLiteral("bad.db")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray(4096, '\x5a'));
    }

    // The page known before the frame exists follows the start-up order; nothing when the first
    // tab waits for the user.
    void firstPageAddressFollowsTheStartUpOrder()
    {
        struct Case
        {
            const char *firstTime, *crashed, *save, *loadAction, *count, *document1, *commandLine,
                *expected;
        };
        const Case cases[] = {
            {"True", "False", "False", "1", "0", "", "", ""},              // quick tour first
            {"False", "True", "False", "1", "0", "", "http://c/", ""},     // crash notice first
            {"False", "False", "False", "1", "3", "http://d/", "", "HOME"},
            {"False", "False", "False", "1", "3", "http://d/", "\"http://c/\"", "http://c/"},
            {"False", "False", "True", "1", "3", "http://d/", "http://c/", "http://d/"},
            {"False", "False", "True", "1", "0", "", "http://c/", "http://c/"},
            {"False", "False", "True", "2", "3", "http://d/", "http://c/", ""}, // the question
            {"False", "False", "True", "2", "0", "", "", ""},
            {"False", "False", "True", "3", "3", "http://d/", "http://c/", "http://c/"},
        };
        for (const Case &c : cases) {
            QFile::remove(store().filePath());
            store().reload();
            const SettingsStore::Batch batch(store());
            store().write("Settings", "FirstTime", c.firstTime);
            store().write("Settings", "PrevSessionCrashed", c.crashed);
            store().write("General", "SaveDocumentOnExit", c.save);
            store().write("General", "LoadAction", c.loadAction);
            store().write("Settings", "DocumentCount", c.count);
            if (*c.document1)
                store().write("Settings", "Document1", c.document1);
            SettingsModel settings;
            settings.load(store(), {});
            const QString expected = QLatin1String(c.expected) == QLatin1String("HOME")
                                         ? settings.sitesHome1
                                         : QString::fromLatin1(c.expected);
            QCOMPARE(firstPageAddress(store(), settings, QString::fromLatin1(c.commandLine)), expected);
        }
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
        // Start-up runs the event loop before the question (the favorites scan), so the
        // answer waits until the question is there.
        QTimer answer;
        answer.setInterval(0);
        connect(&answer, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<RestoreDocumentsDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            answer.stop();
            shown = dialog->windowTitle() == QLatin1String("Load Saved Documents");
            dialog->findChild<QTreeWidget *>(QStringLiteral("ListView1"))
                ->topLevelItem(1)
                ->setCheckState(0, Qt::Unchecked);
            dialog->findChild<QCheckBox *>(QStringLiteral("chkDontAskAgain"))->setChecked(true);
            QTest::keyClick(dialog, Qt::Key_Return); // OK
        });
        answer.start();
        auto frame = makeFrame();
        QVERIFY(shown);
        QTRY_COMPARE(tabCaptions(*frame), QStringList({"First", "Third"}));
        QCOMPARE(AppState::settings.loadAction, 1);
        QCOMPARE(store().read("Settings", "Document3", {}), m_server.page("Third")); // never deleted
        frame->close();
    }

    // Minimised with "MinimizeToTray" the frame hides in the notification area; with a lock it
    // comes back only with the right password, in the normal state, holding the instance lock.
    void trayAndLock()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        store().write("General", "MinimizeToTray", "True");
        store().write("General", "TrayPassword", "Secret");
        auto frame = makeFrame(m_server.page("Locked"));
        QVERIFY(frame->findChild<FrameTray *>()->hasIcon());
        frame->findChild<FrameTray *>()->setAvailabilityForTesting([] { return true; });
        SingleInstance::acquireInstanceMutex();
        frame->showMaximized();
        frame->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(frame->isHidden());
        QVERIFY(!SingleInstance::holdsInstanceMutex());
        frame->handOver(QString()); // a later start does not unlock it
        QVERIFY(frame->isHidden());

        // The dialog: OK only with text; a wrong password (letter case counts) keeps it locked.
        QStringList typed = {"secret", "Secret"};
        QStringList said;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                said << box->text();
                box->accept();
                if (auto *dialog = qobject_cast<PasswordDialog *>(box->parentWidget()))
                    dialog->findChild<QLineEdit *>(QStringLiteral("txtPassword"))->clear();
            } else if (auto *dialog = qobject_cast<PasswordDialog *>(modal)) {
                auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("txtPassword"));
                auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("cmdOK"));
                QVERIFY(edit && ok);
                if (!edit->text().isEmpty())
                    return;
                QVERIFY(!ok->isEnabled());
                if (typed.isEmpty()) {
                    dialog->reject();
                    return;
                }
                edit->setText(typed.takeFirst());
                QVERIFY(ok->isEnabled());
                // Clicked once this tick is over: the message box opens a loop of its own.
                QMetaObject::invokeMethod(ok, &QPushButton::click, Qt::QueuedConnection);
            }
        });
        answer.start(20);
        Q_EMIT frame->findChild<FrameTray *>()->restoreRequested();
        QCOMPARE(said, QStringList({loadResString(3505)}));
        QVERIFY(frame->isVisible());
        QCOMPARE(frame->windowState() & Qt::WindowMaximized, Qt::WindowStates());
        QVERIFY(SingleInstance::holdsInstanceMutex());

        // Cancelled: it stays in the notification area.
        frame->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(frame->isHidden());
        Q_EMIT frame->findChild<FrameTray *>()->restoreRequested();
        QVERIFY(frame->isHidden());
        SingleInstance::releaseInstanceMutex();
        frame->close();
        QVERIFY(!frame->findChild<FrameTray *>()->hasIcon());
    }

    // The reload timers run with the periods of the settings; any period the settings hold fires.
    void refreshTimersFollowTheSettings()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        store().write("Sidebar", "FavRefresh", "2");
        store().write("Sidebar", "HistRefresh", "0");
        auto frame = makeFrame(m_server.page("Timers"));
        QVERIFY(frame->findChild<QTimer *>("FavoritesTimer")->isActive());
        QCOMPARE(frame->findChild<QTimer *>("FavoritesTimer")->interval(), 120000);
        QVERIFY(!frame->findChild<QTimer *>("HistoryTimer")->isActive());
        frame->close();
        QVERIFY(!frame->findChild<QTimer *>("FavoritesTimer")->isActive());

        QTimer timer;
        FrameOptionsHost::armRefreshTimer(timer, 600); // past the 16-bit product
        QCOMPARE(timer.interval(), 36000000);
        FrameOptionsHost::armRefreshTimer(timer, 32767);
        QVERIFY(timer.isActive() && timer.interval() > 0);
        FrameOptionsHost::armRefreshTimer(timer, -5);
        QVERIFY(!timer.isActive());
    }

    // The quick notes take the font and colour of the settings at start.
    void quickNotesStyleAtStart()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        store().write("Sidebar", "QNFontSize", "14");
        store().write("Sidebar", "QNBold", "True");
        store().write("Sidebar", "QNItalic", "True");
        store().write("Sidebar", "QNColor", "255"); // red, as 0x00BBGGRR
        auto frame = makeFrame(m_server.page("Notes"));
        QPlainTextEdit *notes = quickNotes(*frame);
        QCOMPARE(notes->font().pointSize(), 14);
        QVERIFY(notes->font().bold() && notes->font().italic() && !notes->font().underline());
        QCOMPARE(notes->palette().color(QPalette::Text), QColor(255, 0, 0));
        QCOMPARE(notes->font().family(), QStringLiteral("Verdana")); // an empty name's default
        frame->close();
    }

    // Once the window has painted, the first page goes on loading first and the quick notes are
    // read after its load: a page that never answers holds them up only a moment (they come
    // while it still loads), and after a page that loaded they are there.
    void quickNotesWaitForTheFirstPage()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        QVERIFY(NotesFiles::writeQuickNotes(Sidebar::quickNotesFile(), QStringLiteral("Kept notes")));
        TestServer::Route silent;
        silent.silent = true;
        m_server.setRoute(QStringLiteral("/silent"), silent);
        {
            auto frame = makeFrame(m_server.url(QStringLiteral("/silent")));
            QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
            DocumentWindow *document = documentAt(*frame, 1);
            QVERIFY(document);
            QTRY_VERIFY(isLoading(document));
            QTRY_COMPARE(quickNotes(*frame)->toPlainText(), QStringLiteral("Kept notes"));
            QVERIFY(isLoading(document));
            frame->close();
        }
        auto frame = makeFrame(m_server.page(QStringLiteral("Loaded")));
        DocumentWindow *document = documentAt(*frame, 1);
        QVERIFY(document);
        QTRY_VERIFY(!isLoading(document) && document->windowTitle() == QStringLiteral("Loaded"));
        QTRY_COMPARE(quickNotes(*frame)->toPlainText(), QStringLiteral("Kept notes"));
        frame->close();
    }

    // Before the frame shows, the first page has the event loop until it has loaded, and only a
    // moment for a page that does not answer; once a page has loaded the frame shows at once.
    void firstPageGetsAHeadStartBeforeTheFrameShows()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        int ticks = 0;
        const auto countTicks = [&ticks] { QTimer::singleShot(0, [&ticks] { ++ticks; }); };
        {
            auto frame = makeUnshownFrame(m_server.page(QStringLiteral("Fast")));
            DocumentWindow *document = documentAt(*frame, 1);
            QVERIFY(document);
            QElapsedTimer took;
            took.start();
            frame->giveFirstPageAHeadStart(60000);
            QVERIFY2(took.elapsed() < 30000, "the head start waited beyond the page's load");
            QVERIFY(!isLoading(document));
            QCOMPARE(document->windowTitle(), QStringLiteral("Fast"));
            QVERIFY(!frame->isVisible());
            // Loaded already: no more waiting.
            countTicks();
            frame->giveFirstPageAHeadStart(60000);
            QCOMPARE(ticks, 0);
            frame->showFrame();
            frame->close();
        }
        TestServer::Route silent;
        silent.silent = true;
        m_server.setRoute(QStringLiteral("/silent"), silent);
        {
            auto frame = makeUnshownFrame(m_server.url(QStringLiteral("/silent")));
            DocumentWindow *document = documentAt(*frame, 1);
            QVERIFY(document);
            frame->giveFirstPageAHeadStart();
            QVERIFY(isLoading(document));
            QVERIFY(!frame->isVisible());
            frame->showFrame();
            frame->close();
        }
    }

    // A restart gives back what the user left: every setting reaches its control at start and is
    // written back unchanged when nothing was changed.
    void settingsComeBackUnchanged()
    {
        QMap<QPair<QString, QString>, QString> written;
        for (const SettingsModel::Key &k : SettingsModel::plainKeys()) {
            QString value = k.defaultText;
            if (value == QLatin1String("True") || value == QLatin1String("False"))
                value = value == QLatin1String("True") ? "False" : "True"; // every switch flipped
            written[{k.section, k.key}] = value;
        }
        const QList<std::pair<const char *, QString>> values = {
            {"MainLeft", "1500"}, {"MainTop", "900"}, {"MainWidth", "9000"}, {"MainHeight", "7200"},
            {"CurrentSearchEngine", "3"}, {"SaveDocumentOnExit", "True"}, {"LoadAction", "3"},
            {"SitesHome1", m_server.page("Home one")}, {"SitesHome2", m_server.page("Home two")},
            {"SitesSearch", "http://127.0.0.1:1/search?q="}, {"SitesNews", "http://127.0.0.1:1/news"},
            {"SitesMail", "mailto:me@example.org"}, {"QNFontName", "DejaVu Sans"},
            {"QNFontSize", "12"}, {"QNColor", "255"}, {"FavRefresh", "7"}, {"HistRefresh", "0"},
            {"ControlLeft", "4"}, {"ControlShiftLeft", "0"}, {"ControlRight", "2"},
            {"ControlShiftRight", "1"}, {"ControlDouble", "3"}, {"PopupSoundFile", "/nowhere/pop.wav"},
            {"PopupAutoWhitelistAdd", "2"}, {"RSSAutoCheckMinutes", "45"}, {"RSSTimeoutSec", "20"},
            {"RSSProxyServer", "proxy.example.org:8080"}, {"ReadDeleteDays", "5"},
            {"UnreadDeleteDays", "9"}, {"MouseUp", "17"}, {"MouseLeftDown", "14"}, {"MouseRight", "0"},
            // No cleaning at exit: it would empty the typed addresses before they are saved.
            {"CleanAddress", "False"}, {"CleanSearch", "False"}, {"CleanCookies", "False"},
            {"CleanHistory", "False"}, {"CleanTemp", "False"},
        };
        for (const auto &[key, value] : values) {
            auto it = written.begin();
            while (it != written.end() && it.key().second != QLatin1String(key))
                ++it;
            QVERIFY2(it != written.end(), key);
            *it = value;
        }
        const QStringList typed = {m_server.page("Typed newest"), "example.org", "file:///tmp/"};
        written[{"Settings", "HistoryCount"}] = "3";
        for (int i = 0; i < 3; ++i) // HistorySite1 is the bottom of the list
            written[{"Settings", QStringLiteral("HistorySite%1").arg(3 - i)}] = typed[i];
        written[{"CustomLinks", "CustomLinksCount"}] = "2";
        written[{"CustomLinks", "CustomLinksName1"}] = "R&D";
        written[{"CustomLinks", "CustomLinksURL1"}] = m_server.page("Link one");
        written[{"CustomLinks", "CustomLinksName2"}] = "News";
        written[{"CustomLinks", "CustomLinksURL2"}] = m_server.page("Link two");
        written[{"Settings", "NavigatorLeft"}] = "3000";
        written[{"Settings", "NavigatorTop"}] = "2400";
        written[{"Settings", "NavigatorWidth"}] = "3600";
        written[{"Settings", "NavigatorHeight"}] = "4500";
        written[{"Skins", "CurrentSkin"}] = "slate";
        written[{"Skins", "ToolbarLargeBitmap"}] = "/nowhere/large.bmp";
        written[{"Skins", "ToolbarSmallBitmap"}] = "/nowhere/small.bmp";
        {
            const SettingsStore::Batch batch(store());
            for (auto it = written.cbegin(); it != written.cend(); ++it)
                store().write(it.key().first, it.key().second, *it);
        }

        QStringList notices;
        auto frame = makeFrameAnsweringNotices(QString(), &notices);
        QCOMPARE(notices, QStringList());
        QCOMPARE(frame->geometry(), QRect(100, 60, 600, 480));
        for (const char *key : {"Toolbar1", "Addressbar", "Tabbar"})
            QVERIFY2(!frame->findChild<FrameChrome *>()->bandVisible(QLatin1String(key)), key);
        QVERIFY(frame->findChild<FrameChrome *>()->bandVisible("Toolbar2"));
        QVERIFY(frame->findChild<FrameStatusBar *>()->canvas()->isHidden());
        QVERIFY(frame->findChild<QDockWidget *>("sidebarDock")->isHidden());
        QVERIFY(frame->findChild<AddressBar *>()->goNewDown());
        QCOMPARE(frame->findChild<AddressBar *>()->typedAddresses(), typed);
        QCOMPARE(frame->findChild<AddressBar *>()->searchEngine(), 3);
        QCOMPARE(frame->findChild<FrameChrome *>()->toolBar("Toolbar2")->buttonKey(2),
                 QStringLiteral("Custom2"));
        for (const ContentSwitches::Switch &entry : ContentSwitches::switches()) {
            QVERIFY2(
                !frame->findChild<CommandRegistry *>()->isChecked(QLatin1String(entry.menuKey)),
                entry.menuKey);
        }
        QCOMPARE(quickNotes(*frame)->font().family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(frame->findChild<QTimer *>("FavoritesTimer")->interval(), 7 * 60000);
        QVERIFY(!frame->findChild<FrameTray *>()->hasIcon());
        QVERIFY(frameDocuments(*frame).isEmpty()); // no saved page comes back: the list stays
        frame->close();
        frame.reset();

        SettingsStore reread(store().filePath());
        for (auto it = written.cbegin(); it != written.cend(); ++it)
            QCOMPARE(it.key().first + '/' + it.key().second + '=' +
                         reread.read(it.key().first, it.key().second, "(missing)"),
                     it.key().first + '/' + it.key().second + '=' + *it);
    }

    // The close runs its steps in order, each one even when an earlier step failed: with the
    // settings file unwritable the layout and the quick notes are still kept.
    void closeRunsEveryStep()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        store().write("General", "MinimizeToTray", "True");
        auto frame = makeFrame(m_server.page("Closing"));
        const QString notes = QStringLiteral("Buy milk %1").arg(QDateTime::currentMSecsSinceEpoch());
        quickNotes(*frame)->setPlainText(notes);
        QFile::remove(FrameChrome::layoutFile());
        const QString file = store().filePath();
        QTemporaryDir dir;
        QVERIFY(pointStoreBelowAFile(dir));

        QSignalSpy steps(frame.get(), &MainWindow::unloadStepFinished);
        frame->close();
        QStringList order, failed;
        for (const QList<QVariant> &step : steps) {
            order << step.at(0).toString();
            if (!step.at(1).toBool())
                failed << step.at(0).toString();
        }
        QCOMPARE(order, QStringList({"feeds", "keysAndGestures", "historyCleaning",
                                     "settings", "bandLayout", "trayIcon", "quickNotes",
                                     "exitMarker", "historyReader", "toolbars", "timers", "navigator",
                                     "trayAndQuickSearch", "otherWindows", "instanceLock"}));
        QCOMPARE(failed, QStringList({"settings", "exitMarker"}));
        QVERIFY(QFile::exists(FrameChrome::layoutFile()));
        QFile kept(Sidebar::quickNotesFile());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(kept.readAll()).contains(notes));
        QVERIFY(!frame->findChild<FrameTray *>()->hasIcon());
        QVERIFY(!frame->findChild<QTimer *>("FavoritesTimer")->isActive());
        SettingsStore::setInstanceFile(file);
    }

    // The session's end (a termination signal, a log-out) runs the close's own steps once,
    // in the close's order, and takes the frame off the screen; a close after it runs nothing.
    void endSessionRunsTheCloseOnce()
    {
        store().write("General", "SaveDocumentOnExit", "True");
        auto frame = makeFrame(m_server.page("Ending"));
        const QString notes = QStringLiteral("Call back %1").arg(QDateTime::currentMSecsSinceEpoch());
        quickNotes(*frame)->setPlainText(notes);
        QCOMPARE(store().read("Settings", "PrevSessionCrashed", ""), QStringLiteral("True"));

        QSignalSpy steps(frame.get(), &MainWindow::unloadStepFinished);
        frame->endSession();
        QStringList order;
        for (const QList<QVariant> &step : steps) {
            order << step.at(0).toString();
            QVERIFY2(step.at(1).toBool(), qPrintable(step.at(0).toString()));
        }
        // The marker says "clean" once every save is done.
        QCOMPARE(order.indexOf("exitMarker"), order.indexOf("quickNotes") + 1);
        QCOMPARE(order.last(), QStringLiteral("instanceLock"));
        QVERIFY(order.contains("settings") && order.contains("bandLayout") &&
                order.contains("quickNotes"));
        QVERIFY(!frame->isVisible());
        QCOMPARE(store().read("Settings", "PrevSessionCrashed", ""), QStringLiteral("False"));
        QCOMPARE(store().read("Settings", "DocumentCount", ""), QStringLiteral("1"));
        QFile kept(Sidebar::quickNotesFile());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(kept.readAll()).contains(notes));

        const qsizetype ran = steps.size();
        frame->endSession();
        frame->close();
        QCOMPARE(steps.size(), ran);
    }

    void destroyedWithoutClose()
    {
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.page("Gone"));
        QTRY_COMPARE(frame->findChild<DocumentTabBar *>()->tabText(0), QStringLiteral("Gone"));
        QSignalSpy unloaded(frameDocuments(*frame).value(0), &AbstractDocument::closing);
        frame.reset(); // as a failing check leaves it: no close first
        QCOMPARE(unloaded.count(), 1);
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

    // A first start opens at a usable size; a stored geometry is kept inside the screen.
    void frameOpensWithinTheScreen()
    {
        using FrameGeometry::initialGeometry;
        const QRect screen(0, 0, 1366, 740);
        QCOMPARE(initialGeometry(QRect(), screen), QRect(136, 74, 1093, 592));
        QCOMPARE(initialGeometry(QRect(67, 67, 433, 433), screen), QRect(67, 67, 433, 433));
        QCOMPARE(initialGeometry(QRect(-50, 600, 2000, 400), screen), QRect(0, 340, 1366, 400));
        QCOMPARE(initialGeometry(QRect(1300, 10, 400, 300), QRect(1366, 0, 1280, 1024)),
                 QRect(1366, 10, 400, 300)); // a second screen's area

        store().write("Settings", "MainMaximized", "False");
        store().write("General", "SaveDocumentOnExit", "False");
        auto frame = makeFrame(m_server.page("First start"));
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(frame->geometry().size(), available.size() * 4 / 5);
        frame->close();
    }
};

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    initApplicationIdentity();
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
