#include "core/formstore.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

class TestFormStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    static FormStore sample()
    {
        FormStore store;
        store.setValue(QStringLiteral("sex"), QStringLiteral("M"), false);
        store.setValue(QStringLiteral("City"), QStringLiteral("Zürich"), false);
        store.setValue(QStringLiteral("sex"), QStringLiteral("Male"), false);
        store.setValue(QStringLiteral("card_num"), QStringLiteral("4111 1111 1111 1111"), true);
        store.setValue(QStringLiteral("mail"), QString(), false);
        store.setValue(QStringLiteral("Job"), QStringLiteral("東京 \"quoted\"\n\t\\ end"), false);
        return store;
    }

    static void writeFile(const QString &path, const QByteArray &data)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(data), data.size());
    }

    // Every value under the key (any letter case), in write order.
    static QList<FormStore::Entry> valuesOf(const FormStore &store, const QString &key)
    {
        QList<FormStore::Entry> values;
        for (const FormStore::Entry &entry : store.entries()) {
            if (entry.key.compare(key, Qt::CaseInsensitive) == 0)
                values.append(entry);
        }
        return values;
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A file in our format around a payload, with a matching digest.
    static QByteArray withPayload(const QByteArray &payload, quint16 version = 1)
    {
        QByteArray data("QVFORM");
        QDataStream out(&data, QIODevice::Append);
        out.setVersion(QDataStream::Qt_6_0);
        out << version << payload << QCryptographicHash::hash(payload, QCryptographicHash::Sha256);
        return data;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void roundTripKeepsValuesOrderAndFlags()
    {
        const FormStore original = sample();
        const QString file = path(QStringLiteral("roundtrip.bin"));
        QVERIFY(original.saveDataFile(file));

        FormStore loaded;
        loaded.setValue(QStringLiteral("stale"), QStringLiteral("gone"), false);
        QVERIFY(loaded.openDataFile(file));
        QCOMPARE(loaded.entries(), original.entries());
        QCOMPARE(loaded.value(QStringLiteral("stale")), QString());

        // The first value of a key, whatever the letter case of the key asked for.
        QCOMPARE(loaded.value(QStringLiteral("SEX")), QStringLiteral("M"));
        QCOMPARE(loaded.value(QStringLiteral("city")), QStringLiteral("Zürich"));
        QCOMPARE(loaded.value(QStringLiteral("job")), QStringLiteral("東京 \"quoted\"\n\t\\ end"));
        QCOMPARE(loaded.value(QStringLiteral("missing")), QString());

        const QList<FormStore::Entry> sex = valuesOf(loaded, QStringLiteral("Sex"));
        QCOMPARE(sex.size(), 2);
        QCOMPARE(sex.at(0).value, QStringLiteral("M"));
        QCOMPARE(sex.at(1).value, QStringLiteral("Male"));
        const QList<FormStore::Entry> card = valuesOf(loaded, QStringLiteral("CARD_NUM"));
        QCOMPARE(card.size(), 1);
        QVERIFY(card.at(0).cardData);
        QVERIFY(!sex.at(0).cardData);
        // An empty value is a value: the key is there.
        QCOMPARE(valuesOf(loaded, QStringLiteral("mail")).size(), 1);
    }

    void emptyStoreRoundTrips()
    {
        const QString file = path(QStringLiteral("empty.bin"));
        QVERIFY(FormStore().saveDataFile(file));
        FormStore loaded = sample();
        QVERIFY(loaded.openDataFile(file));
        QVERIFY(loaded.entries().isEmpty());
    }

    void clearValuesLeavesTheFile()
    {
        const QString file = path(QStringLiteral("clear.bin"));
        FormStore store = sample();
        QVERIFY(store.saveDataFile(file));
        const QByteArray before = readFile(file);
        store.clearValues();
        QVERIFY(store.entries().isEmpty());
        QCOMPARE(store.value(QStringLiteral("sex")), QString());
        QCOMPARE(readFile(file), before);
    }

    void unreadableFileGivesEmptyStore_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("create");

        const QByteArray good = sample().serialize();
        QByteArray wrongVersion = good;
        wrongVersion[7] = 2; // the version follows the six magic bytes, big-endian
        QByteArray flipped = good;
        flipped[good.size() / 2] = char(flipped[good.size() / 2] ^ 0x20);

        // A payload whose digest matches but whose count promises far more than it holds.
        QByteArray lying;
        {
            QDataStream out(&lying, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_6_0);
            out << quint32(0xFFFFFFFF) << QStringLiteral("key") << QStringLiteral("value")
                << quint8(0);
        }
        // A string length far beyond the data.
        QByteArray hugeString;
        {
            QDataStream out(&hugeString, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_6_0);
            out << quint32(1) << quint32(0x7FFFFFF0);
        }

        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("garbage") << QByteArray("not a form store at all, just text\n") << true;
        QTest::newRow("magic only") << QByteArray("QVFORM") << true;
        QTest::newRow("truncated header") << good.left(8) << true;
        QTest::newRow("truncated half") << good.left(good.size() / 2) << true;
        QTest::newRow("last byte missing") << good.chopped(1) << true;
        QTest::newRow("trailing bytes") << good + QByteArray("x") << true;
        QTest::newRow("wrong magic") << QByteArray("QVFORX") + good.mid(6) << true;
        QTest::newRow("unknown version") << wrongVersion << true;
        QTest::newRow("flipped byte") << flipped << true;
        QTest::newRow("lying count") << withPayload(lying) << true;
        QTest::newRow("huge string") << withPayload(hugeString) << true;
    }

    void unreadableFileGivesEmptyStore()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, create);
        const QString file = path(QStringLiteral("damaged-%1.bin").arg(QTest::currentDataTag()));
        if (create)
            writeFile(file, content);
        FormStore store = sample();
        QVERIFY(!store.openDataFile(file));
        QVERIFY(store.entries().isEmpty());
        QCOMPARE(store.value(QStringLiteral("sex")), QString());
    }

    void savedFileIsUserOnly()
    {
        const QString file = path(QStringLiteral("mode.bin"));
        QVERIFY(sample().saveDataFile(file));
        const auto userOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        const auto mask = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
            | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFile::permissions(file) & mask, userOnly);

        // An existing file open to others becomes user-only at the next save.
        QVERIFY(QFile::setPermissions(file,
                                      userOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        QVERIFY(sample().saveDataFile(file));
        QCOMPARE(QFile::permissions(file) & mask, userOnly);
    }

    void failedSaveKeepsTheOldFile()
    {
        const QString file = path(QStringLiteral("keep.bin"));
        FormStore small;
        small.setValue(QStringLiteral("a"), QStringLiteral("b"), false);
        QVERIFY(small.saveDataFile(file));
        const QByteArray before = readFile(file);

        // The file-size limit stops the write midway, even for root.
        FormStore big;
        big.setValue(QStringLiteral("big"), QString(4096, QLatin1Char('x')), false);
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const bool ok = big.saveDataFile(file);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(!ok);
        QCOMPARE(readFile(file), before);
        FormStore loaded;
        QVERIFY(loaded.openDataFile(file));
        QCOMPARE(loaded.value(QStringLiteral("A")), QStringLiteral("b"));
        // No temporary file is left behind.
        const QDir dir(m_dir.path());
        QCOMPARE(dir.entryList({QStringLiteral("keep.bin*")}, QDir::Files | QDir::Hidden).size(), 1);

        // A folder that cannot exist.
        QVERIFY(!big.saveDataFile(path(QStringLiteral("keep.bin/form.bin"))));
        QCOMPARE(readFile(file), before);
    }
};

QTEST_GUILESS_MAIN(TestFormStore)
#include "tst_formstore.moc"
