#include "core/saverefusalnotifier.h"
#include "core/userfile.h"
#include "notafile.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using NotAFile::contentOf;
using NotAFile::isUserOnlyFile;

// Saves write only where a regular file or nothing stands; what they held when refused is kept
// beside, and each refused path is noted once a run.
class TestUserFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { UserFile::takeRefusedSaves(); }

    void refusedWhereNoFileStands_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"device", "device link", "pipe", "pipe link", "folder", "folder link"})
            QTest::newRow(kind) << kind;
    }
    void refusedWhereNoFileStands()
    {
        QFETCH(QString, kind);
        QTemporaryDir folder;
        if (kind.startsWith(QLatin1String("device")) && !NotAFile::devicesAllowed(folder.path()))
            QSKIP("device nodes cannot be made here");
        const QString path = folder.filePath(QStringLiteral("notes.qvr"));
        QVERIFY(NotAFile::make(path, kind));
        const QSignalSpy told(&UserFile::refusalNotifier(), &SaveRefusalNotifier::saveRefused);

        QCOMPARE(UserFile::saveOrKeep(path, "typed in the run"), UserFile::Saved::Refused);
        QVERIFY(NotAFile::isStill(path, kind));
        QCOMPARE(UserFile::writeTarget(path), QString());
        const QStringList kept = NotAFile::namesBeside(path, QStringLiteral(".unsaved-"));
        QCOMPARE(kept.size(), 1);
        const QString keptPath = folder.filePath(kept.first());
        QVERIFY(isUserOnlyFile(keptPath));
        QCOMPARE(contentOf(keptPath), QByteArray("typed in the run"));
        QCOMPARE(told.count(), 1);
        const QList<UserFile::RefusedSave> refused = UserFile::takeRefusedSaves();
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused.first().path, path);
        QCOMPARE(refused.first().keptAs, keptPath);

        // The bool save says no and keeps the same way.
        QVERIFY(!UserFile::save(path, "typed later"));
        QVERIFY(NotAFile::isStill(path, kind));
    }

    // A path refused again rewrites what was kept for it and is not noted again; once the kept
    // file is gone, the content goes to a new one, and that is noted.
    void refusedAgainRewritesWhatWasKept()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("quarvel.ini"));
        QVERIFY(NotAFile::make(path, QStringLiteral("pipe")));
        QCOMPARE(UserFile::saveOrKeep(path, "first"), UserFile::Saved::Refused);
        const QList<UserFile::RefusedSave> first = UserFile::takeRefusedSaves();
        QCOMPARE(first.size(), 1);
        const QSignalSpy told(&UserFile::refusalNotifier(), &SaveRefusalNotifier::saveRefused);
        QCOMPARE(UserFile::saveOrKeep(path, "second"), UserFile::Saved::Refused);
        QCOMPARE(NotAFile::namesBeside(path, QStringLiteral(".unsaved-")).size(), 1);
        QCOMPARE(contentOf(first.first().keptAs), QByteArray("second"));
        QCOMPARE(told.count(), 0);
        QVERIFY(UserFile::takeRefusedSaves().isEmpty());

        QVERIFY(QFile::remove(first.first().keptAs));
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("elsewhere")), first.first().keptAs));
        QCOMPARE(UserFile::saveOrKeep(path, "third"), UserFile::Saved::Refused);
        // The link put in the kept file's place is not written through.
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("elsewhere"))));
        const QList<UserFile::RefusedSave> third = UserFile::takeRefusedSaves();
        QCOMPARE(third.size(), 1);
        QVERIFY(third.first().keptAs != first.first().keptAs);
        QCOMPARE(contentOf(third.first().keptAs), QByteArray("third"));
        QVERIFY(isUserOnlyFile(third.first().keptAs));
    }

    // A link is followed to a regular file, or to nothing in a folder of the user's that not
    // everyone may write in; the link stays a link.
    void linksFollowedOnlyToAFileOrAFolderOfTheUser()
    {
        QTemporaryDir folder;
        const auto at = [&folder](const char *name) { return folder.filePath(QLatin1String(name)); };
        QVERIFY(UserFile::save(at("real"), "old"));
        QVERIFY(QFile::link(at("real"), at("to real")));
        QVERIFY(QFile::link(QStringLiteral("to real"), at("to link")));
        QCOMPARE(UserFile::saveOrKeep(at("to link"), "new"), UserFile::Saved::Written);
        QVERIFY(QFileInfo(at("to link")).isSymLink() && QFileInfo(at("to real")).isSymLink());
        QCOMPARE(contentOf(at("real")), QByteArray("new"));
        QVERIFY(isUserOnlyFile(at("real")));

        QVERIFY(UserFile::makeFolder(at("own")));
        QVERIFY(QFile::link(at("own/made"), at("to own")));
        QCOMPARE(UserFile::saveOrKeep(at("to own"), "made"), UserFile::Saved::Written);
        QCOMPARE(contentOf(at("own/made")), QByteArray("made"));

        // Into a folder anyone may write in, or one of someone else's, nothing is made.
        QVERIFY(QDir().mkdir(at("open")));
        QVERIFY(QFile::setPermissions(at("open"), QFileDevice::Permissions(0x7777)));
        QVERIFY(QFile::link(at("open/made"), at("to open")));
        QCOMPARE(UserFile::saveOrKeep(at("to open"), "refused"), UserFile::Saved::Refused);
        QVERIFY(!QFileInfo::exists(at("open/made")));
        if (::geteuid() == 0) {
            QVERIFY(QDir().mkdir(at("theirs")));
            QVERIFY(::chown(QFile::encodeName(at("theirs")).constData(), 65534, 65534) == 0);
            QVERIFY(QFile::link(at("theirs/made"), at("to theirs")));
            QCOMPARE(UserFile::saveOrKeep(at("to theirs"), "refused"), UserFile::Saved::Refused);
            QVERIFY(!QFileInfo::exists(at("theirs/made")));
        }

        // A loop of links leads nowhere.
        QVERIFY(QFile::link(at("loop b"), at("loop a")));
        QVERIFY(QFile::link(at("loop a"), at("loop b")));
        QCOMPARE(UserFile::saveOrKeep(at("loop a"), "refused"), UserFile::Saved::Refused);
        QVERIFY(QFileInfo(at("loop a")).isSymLink());
        QCOMPARE(UserFile::takeRefusedSaves().size(), ::geteuid() == 0 ? 3 : 2);
    }

    // A write that cannot be made (below a file, not a folder) fails as a write: nothing is
    // refused, kept or noted.
    void failedWriteIsNoRefusal()
    {
        QTemporaryDir folder;
        QVERIFY(UserFile::save(folder.filePath(QStringLiteral("file")), "a file"));
        const QString below = folder.filePath(QStringLiteral("file/Quarvel.ini"));
        QCOMPARE(UserFile::saveOrKeep(below, "settings"), UserFile::Saved::Failed);
        QVERIFY(UserFile::takeRefusedSaves().isEmpty());
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"file"});
    }

    // What the databases are opened with: the file a link leads to, created empty and
    // user-only where nothing stands; never a name something already stands at.
    void createEmptyMakesOnlyNewFiles()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("history.db"));
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("real.db")), path));
        const QString target = UserFile::writeTarget(path);
        QCOMPARE(target, folder.filePath(QStringLiteral("real.db")));
        QVERIFY(!UserFile::createEmpty(path));
        QVERIFY(UserFile::createEmpty(target));
        QVERIFY(isUserOnlyFile(target));
        QCOMPARE(contentOf(target), QByteArray());
        QVERIFY(!UserFile::createEmpty(target));
        QCOMPARE(UserFile::writeTarget(path), target);
    }
};

QTEST_GUILESS_MAIN(TestUserFile)
#include "tst_userfile.moc"
