#include "core/formstore.h"
#include "core/historystore.h"
#include "core/notesfiles.h"
#include "core/settingsstore.h"
#include "core/userfile.h"
#include "frame/chrome/framechrome.h"
#include "frame/mainwindow.h"
#include "platform/urlshortcut.h"
#include "programprocess.h"
#include "sidebar/favoritesscan.h"
#include "sidebar/rssdatabase.h"
#include "sidebar/websitegroups.h"
#include "testframe.h"
#include "testhome.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Makes a named pipe or a folder at path.
bool makeNotAFile(const QString &path, const QString &kind)
{
    if (kind == QLatin1String("pipe"))
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    return QDir().mkdir(path);
}

// Whether path is the pipe or folder makeNotAFile made.
bool isNotAFile(const QString &path, const QString &kind)
{
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return false;
    return kind == QLatin1String("pipe") ? S_ISFIFO(status.st_mode) : S_ISDIR(status.st_mode);
}

// The names path was set aside under.
QStringList setAsideNames(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().entryList({info.fileName() + QStringLiteral(".unreadable-*")},
                                QDir::AllEntries | QDir::System | QDir::Hidden);
}

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
