#include "core/formstore.h"
#include "core/historystore.h"
#include "core/notesfiles.h"
#include "core/settingsstore.h"
#include "core/userfile.h"
#include "frame/chrome/framechrome.h"
#include "frame/mainwindow.h"
#include "notafile.h"
#include "platform/defaultbrowser.h"
#include "platform/urlshortcut.h"
#include "programprocess.h"
#include "sidebar/favoritesscan.h"
#include "sidebar/favoritestree.h"
#include "sidebar/rssdatabase.h"
#include "sidebar/sidebar.h"
#include "sidebar/websitegroups.h"
#include "testframe.h"
#include "testhome.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool makeNotAFile(const QString &path, const QString &kind)
{
    return NotAFile::make(path, kind);
}

bool isNotAFile(const QString &path, const QString &kind)
{
    return NotAFile::isStill(path, kind);
}

// The names path was set aside under.
QStringList setAsideNames(const QString &path)
{
    return NotAFile::namesBeside(path, QStringLiteral(".unreadable-"));
}

// The names what could not be saved at path is kept under.
QStringList keptNames(const QString &path)
{
    return NotAFile::namesBeside(path, QStringLiteral(".unsaved-"));
}

using NotAFile::contentOf;
using NotAFile::isUserOnlyFile;

// Answers every message box while it lives, keeping their texts.
class BoxAnswer
{
public:
    BoxAnswer()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                m_texts << box->text();
                box->accept();
            }
        });
        m_timer.start(20);
    }
    const QStringList &texts() const { return m_texts; }

private:
    QTimer m_timer;
    QStringList m_texts;
};

// While it lives, a reader that opened the pipe at path and waits in it for a writer is let go
// after a few seconds (it then reads an empty file): a test of a reader that blocks fails
// rather than hangs. released() tells whether that was needed.
class PipeRelease
{
public:
    explicit PipeRelease(const QString &path) : m_path(QFile::encodeName(path))
    {
        m_thread = std::thread([this] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (!m_stop) {
                if (std::chrono::steady_clock::now() >= deadline) {
                    // Succeeds only while someone has the pipe open for reading.
                    const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                    if (fd >= 0) {
                        m_released = true;
                        ::close(fd);
                    }
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
    }
    ~PipeRelease()
    {
        m_stop = true;
        m_thread.join();
    }
    bool released() const { return m_released; }

private:
    QByteArray m_path;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_released{false};
};

} // namespace

// Where a user file should be there is a named pipe or a folder: each reader returns at once
// with "cannot read" and the start goes on, the thing kept aside or left as it is.
class TestNotAFile : public QObject
{
    Q_OBJECT

    // Each reader on the path given; true when it said it could not read the file.
    using Reader = std::function<bool(const QString &path)>;

    static Reader readerOf(const QString &name)
    {
        if (name == QLatin1String("settings"))
            return [](const QString &path) {
                SettingsStore store(path);
                const bool unreadable = !store.takeSetAsideFile().isEmpty();
                // Kept aside, it is written anew without touching what was set aside.
                return unreadable && store.write(QStringLiteral("General"), QStringLiteral("Key"), QStringLiteral("1")) &&
                       UserFile::find(path) == UserFile::Found::File;
            };
        if (name == QLatin1String("notes"))
            return [](const QString &path) {
                bool ok = true;
                NotesFiles::readQuickNotes(path, &ok);
                return !ok;
            };
        if (name == QLatin1String("whitelist"))
            return [](const QString &path) {
                bool ok = true;
                return NotesFiles::readWhitelist(path, &ok).isEmpty() && !ok;
            };
        if (name == QLatin1String("group"))
            return [](const QString &path) {
                const QFileInfo info(path);
                WebsiteGroups groups(info.absolutePath());
                WebsiteGroups::OpenFailure why = WebsiteGroups::OpenFailure::None;
                int opened = 0;
                return !groups.openGroup(info.completeBaseName(), false, QString(),
                                         [&opened](const QString &) { ++opened; }, &why) &&
                       why == WebsiteGroups::OpenFailure::Unreadable && opened == 0;
            };
        if (name == QLatin1String("favorites cache"))
            return [](const QString &path) {
                QList<FavoritesScan::Node> nodes;
                QList<FavoritesScan::Record> records;
                return !FavoritesScan::readCache(path, &nodes, &records) && nodes.isEmpty();
            };
        if (name == QLatin1String("form data"))
            return [](const QString &path) { return !FormStore().openDataFile(path); };
        if (name == QLatin1String("history"))
            return [](const QString &path) { return !HistoryStore(path).isOpen(); };
        if (name == QLatin1String("news feeds"))
            return [](const QString &path) {
                RssDatabase database(path);
                return !database.open() && !database.lastError().isEmpty();
            };
        if (name == QLatin1String("shortcut"))
            return [](const QString &path) { return readUrlShortcut(path.chopped(4)).isEmpty(); };
        return {};
    }

    // A writer, made ready while nothing stands at its path yet.
    struct Writer
    {
        QString path;               // where it saves
        std::function<bool()> save; // true when it said the save did not go through
        // Whether the file kept beside holds what the save held; none when it keeps nothing.
        std::function<bool(const QString &kept)> holds;
    };

    static std::function<bool(const QString &)> holding(const QByteArray &part)
    {
        return [part](const QString &kept) { return contentOf(kept).contains(part); };
    }

    static Writer writerOf(const QString &name, const QTemporaryDir &folder)
    {
        if (name == QLatin1String("settings")) {
            auto store = std::make_shared<SettingsStore>(folder.filePath(QStringLiteral("Quarvel.ini")));
            return {store->filePath(), [store] { return !store->write("General", "Kept", "the value"); },
                    holding("Kept=the value")};
        }
        if (name == QLatin1String("notes"))
            return {folder.filePath(QStringLiteral("notes.qvr")),
                    [path = folder.filePath(QStringLiteral("notes.qvr"))] {
                        return !NotesFiles::writeQuickNotes(path, QStringLiteral("typed in the run"));
                    },
                    holding("typed in the run\r\n")};
        if (name == QLatin1String("whitelist"))
            return {folder.filePath(QStringLiteral("Whitelist.qvr")),
                    [path = folder.filePath(QStringLiteral("Whitelist.qvr"))] {
                        return !NotesFiles::writeWhitelist(path, {QStringLiteral("allowed.example")});
                    },
                    holding("allowed.example\r\n")};
        if (name == QLatin1String("group")) {
            const QString groups = folder.filePath(QStringLiteral("groups"));
            QDir().mkdir(groups);
            return {groups + QStringLiteral("/news.gbr"),
                    [groups] {
                        return !WebsiteGroups(groups).saveGroup(QStringLiteral("news"), false, QString(),
                                                                {QStringLiteral("http://news.example/")});
                    },
                    holding("http://news.example/\r\n")};
        }
        if (name == QLatin1String("favorites cache")) {
            UserFile::makeFolder(FavoritesTree::favoritesFolder());
            writeUrlShortcut(FavoritesTree::favoritesFolder() + QStringLiteral("/Kept.url"),
                             QStringLiteral("http://kept.example/"));
            return {FavoritesTree::cacheFile(),
                    [] {
                        QTreeWidget tree;
                        FavoritesTree favorites(&tree, SidebarHost());
                        favorites.loadFavorites();
                        return true; // the tree goes on without its cache, saying nothing itself
                    },
                    holding("http://kept.example/")};
        }
        if (name == QLatin1String("form data"))
            return {folder.filePath(QStringLiteral("form.bin")),
                    [path = folder.filePath(QStringLiteral("form.bin"))] {
                        FormStore store;
                        store.setValue(QStringLiteral("name"), QStringLiteral("Kept Name"), false);
                        return !store.saveDataFile(path);
                    },
                    [](const QString &kept) {
                        FormStore store;
                        return store.openDataFile(kept) && store.value(QStringLiteral("name")) == QLatin1String("Kept Name");
                    }};
        if (name == QLatin1String("shortcut"))
            return {folder.filePath(QStringLiteral("Example.url")),
                    [path = folder.filePath(QStringLiteral("Example.url"))] {
                        return !writeUrlShortcut(path, QStringLiteral("http://kept.example/"));
                    },
                    holding("URL=http://kept.example/\r\n")};
        if (name == QLatin1String("desktop entry"))
            return {DefaultBrowser::desktopFilePath(),
                    [] { return !DefaultBrowser(QStringLiteral("/usr/bin/quarvel")).associateFiles(); },
                    holding("Exec=")};
        // The user's other choices in a list that cannot be read are not known: nothing is
        // written, and nothing kept.
        if (name == QLatin1String("mimeapps.list"))
            return {DefaultBrowser::mimeAppsPath(),
                    [] { return !DefaultBrowser(QStringLiteral("/usr/bin/quarvel")).associateFiles(); }, {}};
        if (name == QLatin1String("history"))
            return {folder.filePath(QStringLiteral("history.db")),
                    [path = folder.filePath(QStringLiteral("history.db"))] { return !HistoryStore(path).isOpen(); },
                    {}};
        if (name == QLatin1String("news feeds"))
            return {folder.filePath(QStringLiteral("newsfeeddb.mdb")),
                    [path = folder.filePath(QStringLiteral("newsfeeddb.mdb"))] { return !RssDatabase(path).open(); },
                    {}};
        return {};
    }

private slots:
    void readersReturnAtOnce_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("setAside");
        const QList<std::tuple<const char *, const char *, bool>> readers = {
            {"settings", "Quarvel.ini", true},     {"notes", "notes.qvr", false},
            {"whitelist", "Whitelist.qvr", false}, {"group", "news.qvg", false},
            {"favorites cache", "quarvel.ini", false}, {"form data", "form.bin", false},
            {"history", "history.db", false},      {"news feeds", "newsfeeddb.mdb", false},
            {"shortcut", "Example.url", false},
        };
        for (const auto &[name, file, aside] : readers) {
            for (const char *kind : {"pipe", "folder"})
                QTest::addRow("%s, %s", name, kind) << name << file << kind << aside;
        }
    }
    void readersReturnAtOnce()
    {
        QFETCH(QString, reader);
        QFETCH(QString, fileName);
        QFETCH(QString, kind);
        QFETCH(bool, setAside);
        QTemporaryDir folder;
        const QString path = folder.filePath(fileName);
        QVERIFY(makeNotAFile(path, kind));
        bool unreadable = false;
        {
            const PipeRelease release(path);
            unreadable = readerOf(reader)(path);
            QVERIFY2(!release.released(), "the reader waited in the pipe");
        }
        QVERIFY(unreadable);
        const QStringList aside = setAsideNames(path);
        if (setAside) {
            QCOMPARE(aside.size(), 1);
            QVERIFY(isNotAFile(folder.filePath(aside.first()), kind));
        } else {
            QVERIFY(aside.isEmpty());
            QVERIFY(isNotAFile(path, kind));
        }
    }

    // Each writer where a device (through a link), a pipe or a folder stands: it leaves the
    // thing as it is, keeps what it would have saved in a file beside and notes that once.
    void writersLeaveWhatIsNotAFile_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QString>("kind");
        for (const char *writer : {"settings", "notes", "whitelist", "group", "favorites cache", "form data",
                                   "shortcut", "desktop entry", "mimeapps.list", "history", "news feeds"}) {
            for (const char *kind : {"device link", "pipe", "folder"})
                QTest::addRow("%s, %s", writer, kind) << writer << kind;
        }
    }
    void writersLeaveWhatIsNotAFile()
    {
        QFETCH(QString, writer);
        QFETCH(QString, kind);
        QTemporaryDir folder;
        if (kind.startsWith(QLatin1String("device")) && !NotAFile::devicesAllowed(folder.path()))
            QSKIP("device nodes cannot be made here");
        UserFile::takeRefusedSaves();
        const Writer write = writerOf(writer, folder);
        QVERIFY(UserFile::makeFolder(QFileInfo(write.path).absolutePath()));
        QVERIFY(makeNotAFile(write.path, kind));
        // Files of the test home are found again by the next row.
        const auto removal = qScopeGuard([&write, &kind] {
            NotAFile::remove(write.path, kind);
            for (const QString &name : keptNames(write.path))
                QFile::remove(QFileInfo(write.path).dir().filePath(name));
            QFile::remove(DefaultBrowser::desktopFilePath());
        });
        bool failed = false;
        {
            const PipeRelease release(write.path);
            failed = write.save();
            QVERIFY2(!release.released(), "the writer waited in the pipe");
        }
        QVERIFY(failed);
        QVERIFY(isNotAFile(write.path, kind));
        const QStringList kept = keptNames(write.path);
        const QList<UserFile::RefusedSave> refused = UserFile::takeRefusedSaves();
        if (write.holds) {
            QCOMPARE(kept.size(), 1);
            const QString keptPath = QFileInfo(write.path).dir().filePath(kept.first());
            QVERIFY(write.holds(keptPath));
            QVERIFY(isUserOnlyFile(keptPath));
            QCOMPARE(refused.size(), 1);
            QCOMPARE(refused.first().path, write.path);
            QCOMPARE(refused.first().keptAs, keptPath);
        } else {
            QVERIFY(kept.isEmpty());
            QVERIFY(refused.isEmpty());
        }
    }

    // A database reached through a link to nothing is made only in a folder of the user's that
    // not everyone may write in, and SQLite opens the file made there.
    void databasesMadeOnlyInTheUsersFolders()
    {
        QTemporaryDir folder;
        QVERIFY(UserFile::makeFolder(folder.filePath(QStringLiteral("own"))));
        QVERIFY(QDir().mkdir(folder.filePath(QStringLiteral("open"))));
        QVERIFY(QFile::setPermissions(folder.filePath(QStringLiteral("open")), QFileDevice::Permissions(0x7777)));
        for (const char *name : {"history.db", "newsfeeddb.mdb"}) {
            const QString inOwn = folder.filePath(QStringLiteral("own/") + QLatin1String(name));
            const QString inOpen = folder.filePath(QStringLiteral("open/") + QLatin1String(name));
            const QString toOwn = folder.filePath(QStringLiteral("to own ") + QLatin1String(name));
            const QString toOpen = folder.filePath(QStringLiteral("to open ") + QLatin1String(name));
            QVERIFY(QFile::link(inOwn, toOwn));
            QVERIFY(QFile::link(inOpen, toOpen));
            const bool history = QLatin1String(name) == QLatin1String("history.db");
            const auto opens = [history](const QString &path) {
                return history ? HistoryStore(path).isOpen() : RssDatabase(path).open();
            };
            QVERIFY(!opens(toOpen));
            QVERIFY(!QFileInfo::exists(inOpen));
            QVERIFY(opens(toOwn));
            QVERIFY(QFileInfo(toOwn).isSymLink());
            QCOMPARE(UserFile::find(inOwn), UserFile::Found::File);
            QVERIFY(isUserOnlyFile(inOwn));
        }
    }

    // What the close saves (settings, layout, notes) where something else stands is kept beside
    // it, and the close says so, once for each.
    void closeKeepsWhatItCouldNotSave()
    {
        UserFile::takeRefusedSaves();
        std::unique_ptr<MainWindow> frame = makeFrame();
        const QString notes = Sidebar::quickNotesFile();
        const QString layout = FrameChrome::layoutFile();
        const bool devices = NotAFile::devicesAllowed(QFileInfo(notes).absolutePath());
        const QString notesKind = devices ? QStringLiteral("device link") : QStringLiteral("folder");
        QVERIFY(makeNotAFile(notes, notesKind));
        QVERIFY(makeNotAFile(layout, QStringLiteral("pipe")));
        const auto removal = qScopeGuard([&] {
            for (const QString &path : {notes, layout}) {
                for (const QString &name : keptNames(path))
                    QFile::remove(QFileInfo(path).dir().filePath(name));
            }
            NotAFile::remove(notes, notesKind);
            NotAFile::remove(layout, QStringLiteral("pipe"));
        });
        auto *typed = frame->findChild<QPlainTextEdit *>(QStringLiteral("txtQuickNotes"));
        QVERIFY(typed);
        typed->setPlainText(QStringLiteral("typed in the run"));
        QStringList notices;
        {
            const BoxAnswer answer;
            const PipeRelease release(layout);
            frame->close();
            frame.reset();
            QVERIFY(!release.released());
            notices = answer.texts();
        }
        QVERIFY(isNotAFile(notes, notesKind));
        QVERIFY(isNotAFile(layout, QStringLiteral("pipe")));
        QCOMPARE(keptNames(notes).size(), 1);
        QCOMPARE(keptNames(layout).size(), 1);
        const QString keptNotes = QFileInfo(notes).dir().filePath(keptNames(notes).first());
        const QString keptLayout = QFileInfo(layout).dir().filePath(keptNames(layout).first());
        QCOMPARE(contentOf(keptNotes), QByteArray("typed in the run\r\n"));
        QVERIFY(contentOf(keptLayout).contains("<rebar"));
        QCOMPARE(notices.size(), 2);
        QVERIFY(notices.at(0).contains(layout) && notices.at(0).contains(keptLayout));
        QVERIFY(notices.at(1).contains(notes) && notices.at(1).contains(keptNotes));
    }

    // At the session's end the close asks nothing: what it could not save is kept beside all
    // the same, and said on standard error.
    void sessionEndSaysItWithoutAsking()
    {
        UserFile::takeRefusedSaves();
        std::unique_ptr<MainWindow> frame = makeFrame();
        const QString notes = Sidebar::quickNotesFile();
        QVERIFY(makeNotAFile(notes, QStringLiteral("folder")));
        const auto removal = qScopeGuard([&notes] {
            for (const QString &name : keptNames(notes))
                QFile::remove(QFileInfo(notes).dir().filePath(name));
            NotAFile::remove(notes, QStringLiteral("folder"));
            // The layout the close wrote; the next start is to find none.
            QFile::remove(FrameChrome::layoutFile());
        });
        frame->findChild<QPlainTextEdit *>(QStringLiteral("txtQuickNotes"))->setPlainText(QStringLiteral("at the end"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(notes)));
        const BoxAnswer answer;
        frame->endSession();
        QVERIFY(answer.texts().isEmpty());
        QCOMPARE(keptNames(notes).size(), 1);
        QCOMPARE(contentOf(QFileInfo(notes).dir().filePath(keptNames(notes).first())), QByteArray("at the end\r\n"));
        QVERIFY(isNotAFile(notes, QStringLiteral("folder")));
    }

    // A link leads to what it points at: a link to a file is read, one to a pipe is not.
    void linksAreFollowed()
    {
        QTemporaryDir folder;
        QVERIFY(UserFile::save(folder.filePath("real"), "text"));
        QVERIFY(::mkfifo(QFile::encodeName(folder.filePath("pipe")).constData(), 0600) == 0);
        QVERIFY(QFile::link(folder.filePath("real"), folder.filePath("to real")));
        QVERIFY(QFile::link(folder.filePath("pipe"), folder.filePath("to pipe")));
        QVERIFY(QFile::link(folder.filePath("gone"), folder.filePath("to nothing")));
        QCOMPARE(UserFile::find(folder.filePath("to real")), UserFile::Found::File);
        QCOMPARE(UserFile::find(folder.filePath("to pipe")), UserFile::Found::NotAFile);
        QCOMPARE(UserFile::find(folder.filePath("to nothing")), UserFile::Found::Nothing);
        QByteArray data;
        QVERIFY(UserFile::read(folder.filePath("to real"), &data));
        QCOMPARE(data, QByteArray("text"));
        const PipeRelease release(folder.filePath("pipe"));
        QVERIFY(!UserFile::read(folder.filePath("to pipe"), &data));
        QVERIFY(!release.released());
    }

    // A pipe or a folder in place of the toolbar layout: the frame starts with the default bands,
    // the thing is kept aside and the start says so once.
    void frameStartsPastALayoutThatIsNotAFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("pipe") << "pipe";
        QTest::newRow("folder") << "folder";
    }
    void frameStartsPastALayoutThatIsNotAFile()
    {
        QFETCH(QString, kind);
        const QString path = FrameChrome::layoutFile();
        QVERIFY(UserFile::makeFolder(QFileInfo(path).absolutePath()));
        QVERIFY(makeNotAFile(path, kind));
        QStringList notices;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&notices] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                notices << box->text();
                box->accept();
            }
        });
        answer.start(20);
        std::unique_ptr<MainWindow> frame;
        {
            const PipeRelease release(path);
            frame = makeFrame();
            QVERIFY2(!release.released(), "the frame waited in the pipe");
        }
        answer.stop();
        QVERIFY(frame->isVisible());
        const QStringList aside = setAsideNames(path);
        QCOMPARE(aside.size(), 1);
        QVERIFY(isNotAFile(QFileInfo(path).dir().filePath(aside.first()), kind));
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices.first().contains(aside.first()));
        frame->close();
        frame.reset();
        // The exit wrote a layout the next start can use.
        QCOMPARE(UserFile::find(path), UserFile::Found::File);
        for (const QString &name : aside) {
            const QString kept = QFileInfo(path).dir().filePath(name);
            if (kind == QLatin1String("folder"))
                QDir(kept).removeRecursively();
            else
                QFile::remove(kept);
        }
        QFile::remove(path);
    }

    // The program itself with a pipe for its layout: it sets the pipe aside at once and goes on
    // (to the notice that says so, which the desktop tier answers), rather than waiting in it
    // with the instance lock held.
    void programSetsALayoutPipeAside()
    {
        TestHome home;
        QVERIFY(home.isValid());
        // A start that asks nothing: no default-browser question comes first.
        QVERIFY(home.addUserFolder(QStringLiteral("config/Quarvel")));
        SettingsStore settings(home.filePath(QStringLiteral("config/Quarvel/Quarvel.ini")));
        QVERIFY(settings.write("General", "CheckIfDefault", "False"));
        QVERIFY(settings.write("Settings", "FileAssociationSetDefault", "False"));
        QVERIFY(home.addUserFolder(QStringLiteral("data/Quarvel")));
        const QString layout = home.filePath(QStringLiteral("data/Quarvel/layout.xml"));
        QVERIFY(makeNotAFile(layout, QStringLiteral("pipe")));

        ProgramProcess program(home);
        const PipeRelease release(layout);
        QVERIFY(program.start(QStringLiteral(QUARVEL_BINARY), {}, QProcessEnvironment::systemEnvironment()));
        QTRY_VERIFY2_WITH_TIMEOUT(!setAsideNames(layout).isEmpty() || !program.isRunning(),
                                  qPrintable(program.errorTail(20)), 60000);
        QVERIFY2(program.isRunning(), qPrintable(program.errorTail(20)));
        QVERIFY(!release.released());
        QVERIFY(isNotAFile(QFileInfo(layout).dir().filePath(setAsideNames(layout).first()), QStringLiteral("pipe")));
        QCOMPARE(UserFile::find(layout), UserFile::Found::Nothing);
    }
};

QTEST_MAIN(TestNotAFile)
#include "tst_notafile.moc"
