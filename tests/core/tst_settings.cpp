#include "core/passworddigest.h"
#include "core/paths.h"
#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "core/storedvalue.h"
#include "core/strings.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using Model = SettingsModel;

namespace {

// The member of a key as text, in the form a save writes it.
QString memberText(const Model &m, const Model::Key &k)
{
    return std::visit(
        [&](auto member) -> QString {
            const auto &v = m.*member;
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>)
                return StoredValue::fromBoolean(v);
            else if constexpr (std::is_same_v<T, float>)
                return StoredValue::fromSingle(v);
            else if constexpr (std::is_same_v<T, QString>)
                return v;
            else
                return StoredValue::fromInteger(v);
        },
        k.member);
}

// A value of the key's type that differs from its default.
QString otherValue(const Model::Key &k)
{
    return std::visit(
        [&](auto member) -> QString {
            using T = std::decay_t<decltype(Model().*member)>;
            if constexpr (std::is_same_v<T, bool>)
                return StoredValue::fromBoolean(!*StoredValue::toBoolean(k.defaultText));
            else if constexpr (std::is_same_v<T, float>)
                return QStringLiteral("1234.5");
            else if constexpr (std::is_same_v<T, QString>)
                return QStringLiteral("x = [y]; ü\\n\nsecond line");
            else if constexpr (std::is_same_v<T, qint16>)
                return QStringLiteral("-7");
            else
                return QStringLiteral("123456");
        },
        k.member);
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    int m_n = 0;
    QString freshPath() { return m_dir.filePath(QStringLiteral("s%1.ini").arg(++m_n)); }

private slots:
    void emptyStoreGivesDefaults()
    {
        SettingsStore store(freshPath());
        Model m;
        m.load(store, {});
        // Loading from an empty store equals loading every default written out.
        SettingsStore explicitDefaults(freshPath());
        for (const Model::Key &k : Model::plainKeys())
            explicitDefaults.write(QLatin1String(k.section), QLatin1String(k.key), k.defaultText);
        Model e;
        e.load(explicitDefaults, {});
        for (const Model::Key &k : Model::plainKeys())
            QCOMPARE(memberText(m, k), memberText(e, k));
        // The defaults a new user gets.
        QCOMPARE(m.mainLeft, 1000.0f);
        QCOMPARE(m.mainTop, 1000.0f);
        QCOMPARE(m.mainWidth, 6500.0f);
        QCOMPARE(m.mainHeight, 6500.0f);
        QVERIFY(m.mainMaximized);
        QVERIFY(m.browseToolbarVisible && m.addressBarVisible && m.tabsBarVisible);
        QVERIFY(!m.sitesToolbarVisible);
        QVERIFY(m.popupKillerEnable);
        QCOMPARE(m.loadAction, 2);
        QCOMPARE(m.qnColor, 16737894);
        QCOMPARE(m.qnFontName, QStringLiteral("Verdana"));
        QCOMPARE(m.customLinksCount, qint16(0));
        QCOMPARE(m.controlShiftLeft, 4);
        QCOMPARE(m.rssAutoCheckMinutes, qint16(30));
        QCOMPARE(m.unreadDeleteDays, 3);
        QCOMPARE(m.mouseUp, 3);
        QCOMPARE(m.mouseDown, 4);
        QCOMPARE(m.mouseRight, 2);
        QCOMPARE(m.mouseLeft, 1);
        QCOMPARE(m.mouseUpRight, 10);
        QCOMPARE(m.mouseUpLeft + m.mouseDownRight + m.mouseDownLeft + m.mouseRightUp +
                     m.mouseRightDown + m.mouseLeftUp + m.mouseLeftDown,
                 0);
        QVERIFY(m.popupSoundFile.endsWith(QLatin1String("/popup.wav")));
        QVERIFY(m.trayPassword.isEmpty());
        QVERIFY(m.typedAddresses.isEmpty());
    }

    void everyKeyRoundTrips()
    {
        SettingsStore in(freshPath());
        for (const Model::Key &k : Model::plainKeys())
            in.write(QLatin1String(k.section), QLatin1String(k.key), otherValue(k));
        Model m;
        m.load(in, {});
        SettingsStore out(freshPath());
        m.save(out, {Model::WindowState::Normal, QStringLiteral("night")});
        SettingsStore reread(out.filePath());
        for (const Model::Key &k : Model::plainKeys()) {
            const QString section = QLatin1String(k.section), key = QLatin1String(k.key);
            QVERIFY2(reread.contains(section, key), k.key);
            QCOMPARE(reread.read(section, key, QString()), memberText(m, k));
            QCOMPARE(memberText(m, k), otherValue(k));
        }
        QCOMPARE(reread.read(QStringLiteral("Skins"), QStringLiteral("CurrentSkin"), {}),
                 QStringLiteral("night"));
    }

    void storedTextsConvert_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("killer");
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("minus one") << "-1" << true;
        QTest::newRow("lower case") << "false" << false;
        QTest::newRow("yes keeps zero state") << "yes" << false;
    }
    void storedTextsConvert()
    {
        QFETCH(QString, stored);
        QFETCH(bool, killer);
        SettingsStore store(freshPath());
        store.write(QStringLiteral("Popup"), QStringLiteral("PopupKillerEnable"), stored);
        Model m;
        m.load(store, {});
        QCOMPARE(m.popupKillerEnable, killer);
    }

    void failedConversionKeepsValue()
    {
        SettingsStore store(freshPath());
        store.write(QStringLiteral("Sidebar"), QStringLiteral("QNFontSize"), QStringLiteral("40000"));
        store.write(QStringLiteral("RSS"), QStringLiteral("ReadDeleteDays"), QStringLiteral("many"));
        Model m;
        m.qnFontSize = 12;
        m.readDeleteDays = 9;
        m.load(store, {});
        QCOMPARE(m.qnFontSize, qint16(12));
        QCOMPARE(m.readDeleteDays, 9);
    }

    void colourInBothForms()
    {
        SettingsStore hex(freshPath()), dec(freshPath());
        hex.write(QStringLiteral("Sidebar"), QStringLiteral("QNColor"), QStringLiteral("&H00FF6666"));
        dec.write(QStringLiteral("Sidebar"), QStringLiteral("QNColor"), QStringLiteral("16737894"));
        Model a, b;
        a.load(hex, {});
        b.load(dec, {});
        QCOMPARE(a.qnColor, b.qnColor);
        SettingsStore out(freshPath());
        a.save(out, {});
        QCOMPARE(out.read(QStringLiteral("Sidebar"), QStringLiteral("QNColor"), {}),
                 QStringLiteral("16737894"));
    }

    void typedAddresses()
    {
        Model m;
        for (int i = 1; i <= 60; ++i)
            m.typedAddresses << QStringLiteral("site%1").arg(i);
        m.typedAddresses.insert(55, QString()); // empties take no number
        SettingsStore store(freshPath());
        m.save(store, {});
        const QString s = QStringLiteral("Settings");
        // The newest (the top of the list) are kept; the top one is written last.
        QCOMPARE(store.read(s, QStringLiteral("HistoryCount"), {}), QStringLiteral("51"));
        QCOMPARE(store.read(s, QStringLiteral("HistorySite1"), {}), QStringLiteral("site51"));
        QCOMPARE(store.read(s, QStringLiteral("HistorySite51"), {}), QStringLiteral("site1"));
        QVERIFY(!store.contains(s, QStringLiteral("HistorySite52")));

        Model back;
        back.load(store, {});
        QCOMPARE(back.typedAddresses.size(), 51);
        QCOMPARE(back.typedAddresses.first(), QStringLiteral("site1"));
        QCOMPARE(back.typedAddresses.last(), QStringLiteral("site51"));

        // A count beyond the stored entries brings only those that exist.
        store.write(s, QStringLiteral("HistoryCount"), QStringLiteral("60"));
        back.load(store, {});
        QCOMPARE(back.typedAddresses.size(), 51);
        QVERIFY(!back.typedAddresses.contains(QStringLiteral("0")));
    }

    void customLinks()
    {
        const QString c = QStringLiteral("CustomLinks");
        Model::LoadContext withLinks;
        withLinks.linkNames = QStringList{"A", "B"};
        withLinks.linkUrls = QStringList{"http://a/", "http://b/"};

        // Never saved: the Links folder's links, or none.
        SettingsStore empty(freshPath());
        Model m;
        m.load(empty, {});
        QCOMPARE(m.customLinksCount, qint16(0));
        QVERIFY(m.customLinksName.isEmpty());
        m.load(empty, withLinks);
        QCOMPARE(m.customLinksCount, qint16(2));
        QCOMPARE(m.customLinksURL, withLinks.linkUrls);

        // A stored 0 means an empty list, not the Links folder.
        SettingsStore zero(freshPath());
        zero.write(c, QStringLiteral("CustomLinksCount"), QStringLiteral("0"));
        m.load(zero, withLinks);
        QCOMPARE(m.customLinksCount, qint16(0));
        QVERIFY(m.customLinksName.isEmpty());

        // A shorter list leaves the longer list's keys in the store, unread.
        SettingsStore store(freshPath());
        m.customLinksCount = 3;
        m.customLinksName = QStringList{"1", "2", "3"};
        m.customLinksURL = QStringList{"u1", "u2", "u3"};
        m.save(store, {});
        m.customLinksCount = 1;
        m.customLinksName = QStringList{"one"};
        m.customLinksURL = QStringList{"url1"};
        m.save(store, {});
        QCOMPARE(store.read(c, QStringLiteral("CustomLinksName3"), {}), QStringLiteral("3"));
        Model back;
        back.load(store, withLinks);
        QCOMPARE(back.customLinksName, QStringList{"one"});

        // A damaged negative count gives no list.
        store.write(c, QStringLiteral("CustomLinksCount"), QStringLiteral("-5"));
        back.load(store, withLinks);
        QCOMPARE(back.customLinksCount, qint16(0));
        QVERIFY(back.customLinksName.isEmpty());
    }

    void loadActionAfterCrash_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("crashed");
        QTest::addColumn<int>("expected");
        QTest::newRow("load all, clean exit") << "1" << false << 1;
        QTest::newRow("load all, crash asks") << "1" << true << 2;
        QTest::newRow("ask, crash") << "2" << true << 2;
        QTest::newRow("none, crash") << "3" << true << 3;
    }
    void loadActionAfterCrash()
    {
        QFETCH(QString, stored);
        QFETCH(bool, crashed);
        QFETCH(int, expected);
        SettingsStore store(freshPath());
        store.write(QStringLiteral("General"), QStringLiteral("LoadAction"), stored);
        Model m;
        Model::LoadContext context;
        context.prevSessionCrashed = crashed;
        m.load(store, context);
        QCOMPARE(m.loadAction, expected);
        m.save(store, {});
        QCOMPARE(store.read(QStringLiteral("General"), QStringLiteral("LoadAction"), {}),
                 QString::number(expected));
    }

    void windowStateDecidesGeometry()
    {
        const QString s = QStringLiteral("Settings");
        SettingsStore store(freshPath());
        Model m;
        m.load(store, {});
        m.mainLeft = 150;
        m.mainWidth = 9000;
        m.navigatorLeft = 30;
        m.save(store, {Model::WindowState::Normal, {}});
        QCOMPARE(store.read(s, QStringLiteral("MainLeft"), {}), QStringLiteral("150"));
        QCOMPARE(store.read(s, QStringLiteral("MainMaximized"), {}), QStringLiteral("False"));

        m.mainLeft = 999;
        m.navigatorLeft = 60;
        m.save(store, {Model::WindowState::Maximized, {}});
        QCOMPARE(store.read(s, QStringLiteral("MainLeft"), {}), QStringLiteral("150"));
        QCOMPARE(store.read(s, QStringLiteral("NavigatorLeft"), {}), QStringLiteral("60"));
        QCOMPARE(store.read(s, QStringLiteral("MainMaximized"), {}), QStringLiteral("True"));

        m.navigatorLeft = 90;
        m.save(store, {Model::WindowState::Minimized, {}});
        QCOMPARE(store.read(s, QStringLiteral("MainLeft"), {}), QStringLiteral("150"));
        QCOMPARE(store.read(s, QStringLiteral("NavigatorLeft"), {}), QStringLiteral("60"));
        QCOMPARE(store.read(s, QStringLiteral("MainMaximized"), {}), QStringLiteral("False"));

        // The palette keeps its place when the store has none.
        SettingsStore fresh(freshPath());
        Model p;
        p.navigatorTop = 4321;
        p.load(fresh, {});
        QCOMPARE(p.navigatorTop, 4321.0f);
    }

    void passwordsAreDigests()
    {
        SettingsStore store(freshPath());
        store.write(QStringLiteral("General"), QStringLiteral("TrayPassword"), QStringLiteral("s3cret"));
        Model m;
        m.load(store, {});
        const QString stored = store.read(QStringLiteral("General"), QStringLiteral("TrayPassword"), {});
        QVERIFY(PasswordDigest::isDigest(stored));
        QCOMPARE(m.trayPassword, stored);
        {
            QFile f(store.filePath());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(!f.readAll().contains("s3cret"));
        }
        QVERIFY(PasswordDigest::matches(m.trayPassword, QStringLiteral("s3cret")));
        QVERIFY(!PasswordDigest::matches(m.trayPassword, QStringLiteral("S3cret")));
        QVERIFY(!PasswordDigest::matches(m.trayPassword, QString()));
        // A digest survives a load unchanged; empty means none.
        m.load(store, {});
        QCOMPARE(m.trayPassword, stored);
        QVERIFY(m.creditInfoPassword.isEmpty());
        QVERIFY(PasswordDigest::matches(QString(), QString()));
        QVERIFY(PasswordDigest::make(QStringLiteral("a")) != PasswordDigest::make(QStringLiteral("a")));
    }

    void storeFile()
    {
        const QString path = freshPath();
        {
            SettingsStore store(path);
            QCOMPARE(store.read(QStringLiteral("General"), QStringLiteral("X"), QStringLiteral("d")),
                     QStringLiteral("d"));
            QVERIFY(store.write(QStringLiteral("General"), QStringLiteral("Key"), QStringLiteral("a=b")));
            QVERIFY(store.write(QStringLiteral("Settings"), QStringLiteral("Multi"),
                                QStringLiteral("line1\nline2\\")));
        }
        struct stat info;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0600u);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("[General]\nKey=a=b\n"));

        SettingsStore again(path);
        QCOMPARE(again.read(QStringLiteral("general"), QStringLiteral("KEY"), {}), QStringLiteral("a=b"));
        QCOMPARE(again.read(QStringLiteral("Settings"), QStringLiteral("Multi"), {}),
                 QStringLiteral("line1\nline2\\"));

        // The user's store is named after the application title its keys live under.
        const QFileInfo userStore(SettingsStore::instance().filePath());
        QCOMPARE(userStore.fileName(), QStringLiteral("Quarvel.ini"));
        QCOMPARE(userStore.path(), Paths::configDir());
        QCOMPARE(SettingsStore::kAppTitle, loadResString(100));
    }

    // A file that is not UTF-8 text is kept aside under a new name, never rewritten with
    // replacement characters. Text with a stray byte keeps every value (that line read as
    // Latin-1) from a copy; anything else starts empty and writes a fresh file.
    void undecodableFileIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("home"); // SitesHome1 as read, null when nothing was kept
        QByteArray utf16("\xff\xfe", 2);
        for (char c : QByteArray("[Settings]\r\nA=1\r\n"))
            utf16 += QByteArray(1, c) + QByteArray(1, '\0');
        QTest::newRow("UTF-16") << utf16 << QString();
        QTest::newRow("Latin-1 value")
            << QByteArray("[Sites]\r\nSitesHome1=http://caf\xe9.example/\r\nSitesHome2=\xc3\xa9t\xc3\xa9\r\n")
            << QStringLiteral("http://caf\u00e9.example/");
        QTest::newRow("random bytes") << QByteArray("\x8f\x01\xc3\x28\xfe\xff\x00\x9a", 8) << QString();
    }
    void undecodableFileIsKeptAside()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, home);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Quarvel.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        SettingsStore store(path);
        const QString asideFile = store.takeSetAsideFile();
        QVERIFY(!asideFile.isEmpty());
        QFile aside(asideFile);
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), bytes);
        QCOMPARE(store.setAsideKeptValues(), !home.isNull());
        QCOMPARE(store.read(QStringLiteral("Sites"), QStringLiteral("SitesHome1"), QString()), home);
        if (!home.isNull())
            QCOMPARE(store.read(QStringLiteral("Sites"), QStringLiteral("SitesHome2"), {}), QStringLiteral("\u00e9t\u00e9"));
        QVERIFY(!store.contains(QStringLiteral("Settings"), QStringLiteral("A")));
        QVERIFY(store.write(QStringLiteral("Settings"), QStringLiteral("A"), QStringLiteral("2")));
        QCOMPARE(SettingsStore(path).read(QStringLiteral("Settings"), QStringLiteral("A"), {}), QStringLiteral("2"));
        QCOMPARE(SettingsStore(path).takeSetAsideFile(), QString());
    }

    void failedWriteIsReported()
    {
        // A store whose folder cannot exist: every write fails, even for root.
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SettingsStore store(dir.filePath(QStringLiteral("file/settings.ini")));
        QVERIFY(!store.write(QStringLiteral("Settings"), QStringLiteral("A"), QStringLiteral("2")));
        QVERIFY(store.lastWriteFailed());
        QCOMPARE(store.read(QStringLiteral("Settings"), QStringLiteral("A"), {}), QStringLiteral("2"));
        Model m;
        m.save(store, {}); // the rest of a save still runs
        QCOMPARE(store.read(QStringLiteral("RSS"), QStringLiteral("RSSTimeoutSec"), {}), QStringLiteral("0"));
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
