#include "core/filesnapshot.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// A file put back as it was at a moment: its bytes, or its absence; what could not be read then
// is never touched.
class TestFileSnapshot : public QObject
{
    Q_OBJECT

private slots:
    void fileComesBackByteForByte()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Quarvel.ini");
        const QByteArray before("[Settings]\r\nPrevSessionCrashed=True\r\n\xe9t\xe9\n");
        QVERIFY(writeFile(path, before));
        const FileSnapshot snapshot = FileSnapshot::of(path);
        QVERIFY(snapshot.isKnown() && snapshot.existed());
        QVERIFY(writeFile(path, "[Settings]\nPrevSessionCrashed=False\n"));
        QVERIFY(snapshot.restore());
        QCOMPARE(contentOf(path), before);
    }

    void fileMadeSinceGoesButNotALink()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Quarvel.ini");
        const FileSnapshot snapshot = FileSnapshot::of(path);
        QVERIFY(snapshot.isKnown() && !snapshot.existed());
        QVERIFY(snapshot.restore()); // nothing there, nothing to do
        QVERIFY(writeFile(path, "made by this start"));
        QVERIFY(snapshot.restore());
        QVERIFY(!QFile::exists(path));

        // A link put there meanwhile is not ours to remove, nor what it leads to.
        const QString target = dir.filePath("elsewhere");
        QVERIFY(writeFile(target, "someone's"));
        QVERIFY(QFile::link(target, path));
        QVERIFY(!snapshot.restore());
        QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(contentOf(target), QByteArray("someone's"));
    }

    void whatCouldNotBeReadIsLeftAlone()
    {
        QTemporaryDir dir;
        const QString pipe = dir.filePath("pipe");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const FileSnapshot ofPipe = FileSnapshot::of(pipe);
        QVERIFY(!ofPipe.isKnown());
        QVERIFY(!ofPipe.restore());
        struct stat status;
        QCOMPARE(::lstat(QFile::encodeName(pipe).constData(), &status), 0);
        QVERIFY(S_ISFIFO(status.st_mode));

        const FileSnapshot ofFolder = FileSnapshot::of(dir.path());
        QVERIFY(!ofFolder.isKnown());
        QVERIFY(!ofFolder.restore());
        QVERIFY(QFileInfo(dir.path()).isDir());
    }
};

QTEST_GUILESS_MAIN(TestFileSnapshot)
#include "tst_filesnapshot.moc"
