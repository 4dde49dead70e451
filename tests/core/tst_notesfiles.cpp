#include "core/notesfiles.h"
#include "core/userfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestNotesFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    static void writeFile(const QString &path, const QByteArray &data)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(data), data.size());
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray("<unreadable>");
        return file.readAll();
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void quickNotesWritten_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("readBack");

        QTest::newRow("two lines") << QStringLiteral("a\nb") << QByteArray("a\r\nb\r\n")
                                   << QStringLiteral("a\nb");
        QTest::newRow("empty box") << QString() << QByteArray("\r\n") << QString();
        QTest::newRow("trailing empty line") << QStringLiteral("a\n") << QByteArray("a\r\n\r\n")
                                             << QStringLiteral("a\n");
        QTest::newRow("blank lines inside") << QStringLiteral("a\n\n\nb")
                                            << QByteArray("a\r\n\r\n\r\nb\r\n")
                                            << QStringLiteral("a\n\n\nb");
        QTest::newRow("CR LF in the text") << QStringLiteral("a\r\nb\rc")
                                           << QByteArray("a\r\nb\r\nc\r\n")
                                           << QStringLiteral("a\nb\nc");
        QTest::newRow("long line kept") << QString(600, QLatin1Char('x'))
                                        << QByteArray(600, 'x') + "\r\n"
                                        << QString(600, QLatin1Char('x'));
        QTest::newRow("beyond Latin-1") << QStringLiteral("caf\u00e9 \u20ac \u65e5")
                                        << QByteArray("caf\xc3\xa9 \xe2\x82\xac \xe6\x97\xa5\r\n")
                                        << QStringLiteral("caf\u00e9 \u20ac \u65e5");
    }

    void quickNotesWritten()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, file);
        QFETCH(QString, readBack);

        const QString p = path("notes.qvr");
        QVERIFY(NotesFiles::writeQuickNotes(p, text));
        QCOMPARE(readFile(p), file);
        bool ok = false;
        QCOMPARE(NotesFiles::readQuickNotes(p, &ok), readBack);
        QVERIFY(ok);
    }

    void quickNotesRead_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("text");

        QTest::newRow("no last break") << QByteArray("a\r\nb") << QStringLiteral("a\nb");
        QTest::newRow("lone CR ends a line") << QByteArray("a\rb\r") << QStringLiteral("a\nb");
        QTest::newRow("LF only") << QByteArray("a\nb\n") << QStringLiteral("a\nb");
        QTest::newRow("empty file") << QByteArray() << QString();
        QTest::newRow("two empty lines") << QByteArray("\r\n\r\n") << QStringLiteral("\n");
        QTest::newRow("CR LF, CR and LF mixed") << QByteArray("a\r\n\rb\n\r\nc") << QStringLiteral("a\n\nb\n\nc");
        QByteArray many;
        QStringList manyLines;
        for (int i = 0; i < 50000; ++i) {
            many += "line " + QByteArray::number(i) + (i % 2 ? "\r\n" : "\n");
            manyLines << QStringLiteral("line %1").arg(i);
        }
        QTest::newRow("a long file, whole") << many << manyLines.join(u'\n');
        QTest::newRow("stray invalid byte") << QByteArray("caf\xe9 \xc3\xbc\r\n")
                                            << QStringLiteral("caf\ufffd \u00fc");
    }

    void quickNotesRead()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, text);

        const QString p = path("read-notes.qvr");
        writeFile(p, file);
        QCOMPARE(NotesFiles::readQuickNotes(p), text);
    }

    void missingFilesReportFailure()
    {
        bool ok = true;
        QCOMPARE(NotesFiles::readQuickNotes(path("absent.qvr"), &ok), QString());
        QVERIFY(!ok);
        ok = true;
        QVERIFY(NotesFiles::readWhitelist(path("absent.qvr"), &ok).isEmpty());
        QVERIFY(!ok);
    }

    void failedWriteKeepsTheOldFile()
    {
        // A folder in place of the file's folder makes the write fail.
        const QString p = path("no-such-folder/notes.qvr");
        QVERIFY(!NotesFiles::writeQuickNotes(p, QStringLiteral("x")));
        QVERIFY(!NotesFiles::writeWhitelist(p, {QStringLiteral("x")}));

        const QString existing = path("keep.qvr");
        writeFile(existing, "old\r\n");
        QFile::setPermissions(existing, QFileDevice::ReadOwner);
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool written = NotesFiles::writeQuickNotes(existing, QStringLiteral("new"));
        QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                | QFileDevice::ExeOwner);
        QFile::setPermissions(existing, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (written)
            QSKIP("the file system lets this user write anyway (running as root)");
        QCOMPARE(readFile(existing), QByteArray("old\r\n"));
    }

    void whitelistRead_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("entries");

        const QStringList ab{QStringLiteral("a.com"), QStringLiteral("b.org")};
        QTest::newRow("printed count") << QByteArray(" 2 \r\na.com\r\nb.org\r\n") << ab;
        QTest::newRow("count without blanks") << QByteArray("2\r\na.com\r\nb.org") << ab;
        QTest::newRow("more lines than the count")
            << QByteArray(" 1 \r\na.com\r\nb.org\r\n") << QStringList{QStringLiteral("a.com")};
        QTest::newRow("fewer lines than the count") << QByteArray(" 5 \r\na.com\r\nb.org\r\n") << ab;
        QTest::newRow("huge count") << QByteArray(" 99999999999 \r\na.com\r\nb.org\r\n") << ab;
        QTest::newRow("negative count is an entry")
            << QByteArray("-3\r\na.com\r\nb.org\r\n") << QStringList{QStringLiteral("-3")} + ab;
        QTest::newRow("no count line") << QByteArray("many\r\na.com\r\nb.org\r\n")
                                       << QStringList{QStringLiteral("many")} + ab;
        QTest::newRow("LF only") << QByteArray(" 2 \na.com\nb.org\n") << ab;
        QTest::newRow("LF only, no count") << QByteArray("a.com\nb.org\n") << ab;
        QTest::newRow("empty count line") << QByteArray("\r\na.com\r\nb.org\r\n") << ab;
        QTest::newRow("zero count") << QByteArray(" 0 \r\na.com\r\n") << QStringList();
        QTest::newRow("blank entries skipped")
            << QByteArray(" 4 \r\na.com\r\n\r\n   \r\nb.org\r\n") << ab;
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("UTF-8 entry") << QByteArray(" 1 \r\nb\xc3\xbc\x63her.de\r\n")
                                     << QStringList{QStringLiteral("b\u00fccher.de")};
    }

    void writtenFilesAreUserOnly()
    {
        const QString notes = path("mode-notes.qvr"), list = path("mode-Whitelist.qvr");
        QVERIFY(NotesFiles::writeQuickNotes(notes, QStringLiteral("x")));
        QVERIFY(NotesFiles::writeWhitelist(list, {QStringLiteral("a.com")}));
        const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        for (const QString &file : {notes, list}) {
            QCOMPARE(QFile::permissions(file) & others, QFileDevice::Permissions());
            QVERIFY(QFile::permissions(file) & QFileDevice::WriteOwner);
        }

        // Folders made for the user (the Favorites and their sub-folders) are the user's alone,
        // every new level of them; a folder that was there keeps its mode.
        QVERIFY(QDir().mkdir(path("shared")));
        QFile::setPermissions(path("shared"), QFile::permissions(path("shared")) | QFileDevice::ReadOther);
        const QString deep = path("shared/Favorites/Links");
        QVERIFY(UserFile::makeFolder(deep));
        QVERIFY(UserFile::makeFolder(deep));
        for (const QString &folder : {deep, path("shared/Favorites")})
            QCOMPARE(QFile::permissions(folder) & others, QFileDevice::Permissions());
        QVERIFY(QFile::permissions(path("shared")) & QFileDevice::ReadOther);
        QVERIFY(!UserFile::makeFolder(notes + QStringLiteral("/below-a-file")));
    }

    // A file we cannot read moves beside itself under a name of its own, content whole; one
    // that cannot be moved stays and no name is given.
    void unreadableFileIsSetAside()
    {
        const QString p = path("layout.xml");
        QStringList asides;
        for (const QByteArray &data : {QByteArray("\xff\xfe<"), QByteArray("\0\1", 2)}) {
            writeFile(p, data);
            const QString aside = UserFile::setAside(p);
            QVERIFY(aside.startsWith(p + QStringLiteral(".unreadable-")));
            QVERIFY(!QFile::exists(p));
            QCOMPARE(readFile(aside), data);
            asides << aside;
        }
        QVERIFY(asides[0] != asides[1]);
        QCOMPARE(UserFile::setAside(path("absent.xml")), QString());
    }

    void whitelistRead()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, entries);

        const QString p = path("read-Whitelist.qvr");
        writeFile(p, file);
        bool ok = false;
        QCOMPARE(NotesFiles::readWhitelist(p, &ok), entries);
        QVERIFY(ok);
    }

    void whitelistWritten_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QByteArray>("file");

        QTest::newRow("no entries") << QStringList() << QByteArray(" 0 \r\n");
        QTest::newRow("three") << QStringList{QStringLiteral("a"), QStringLiteral("b"),
                                              QStringLiteral("c")}
                               << QByteArray(" 3 \r\na\r\nb\r\nc\r\n");
        QTest::newRow("blanks never stored")
            << QStringList{QString(), QStringLiteral("a"), QStringLiteral("  ")}
            << QByteArray(" 1 \r\na\r\n");
        QTest::newRow("line break inside an entry")
            << QStringList{QStringLiteral("a\r\nb")} << QByteArray(" 1 \r\nab\r\n");
    }

    void whitelistWritten()
    {
        QFETCH(QStringList, entries);
        QFETCH(QByteArray, file);

        const QString p = path("Whitelist.qvr");
        QVERIFY(NotesFiles::writeWhitelist(p, entries));
        QCOMPARE(readFile(p), file);
        // What was written reads back as the stored entries.
        QStringList stored;
        for (QString e : entries) {
            e.remove(QLatin1Char('\r'));
            e.remove(QLatin1Char('\n'));
            if (!e.trimmed().isEmpty())
                stored.append(e);
        }
        QCOMPARE(NotesFiles::readWhitelist(p), stored);
    }
};

QTEST_GUILESS_MAIN(TestNotesFiles)
#include "tst_notesfiles.moc"
