#include "core/passworddigest.h"
#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "core/vbconvert.h"

#include <QFile>
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
                return VbConvert::fromBoolean(v);
            else if constexpr (std::is_same_v<T, float>)
                return VbConvert::fromSingle(v);
            else if constexpr (std::is_same_v<T, QString>)
                return v;
            else
                return VbConvert::fromInteger(v);
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
                return VbConvert::fromBoolean(!*VbConvert::toBoolean(k.defaultText));
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
        QCOMPARE(m.MainLeft, 1000.0f);
        QCOMPARE(m.MainTop, 1000.0f);
        QCOMPARE(m.MainWidth, 6500.0f);
        QCOMPARE(m.MainHeight, 6500.0f);
        QVERIFY(m.MainMaximized);
        QVERIFY(m.BrowseToolbarVisible && m.AddressBarVisible && m.TabsBarVisible);
        QVERIFY(!m.SitesToolbarVisible);
        QVERIFY(m.PopupKillerEnable);
        QCOMPARE(m.LoadAction, 2);
        QCOMPARE(m.QNColor, 16737894);
        QCOMPARE(m.QNFontName, QStringLiteral("Verdana"));
        QCOMPARE(m.CustomLinksCount, qint16(0));
        QCOMPARE(m.ControlShiftLeft, 4);
        QCOMPARE(m.RSSAutoCheckMinutes, qint16(30));
        QCOMPARE(m.UnreadDeleteDays, 3);
        QCOMPARE(m.MouseUp, 3);
        QCOMPARE(m.MouseDown, 4);
        QCOMPARE(m.MouseRight, 2);
        QCOMPARE(m.MouseLeft, 1);
        QCOMPARE(m.MouseUpRight, 10);
        QCOMPARE(m.MouseUpLeft + m.MouseDownRight + m.MouseDownLeft + m.MouseRightUp +
                     m.MouseRightDown + m.MouseLeftUp + m.MouseLeftDown,
                 0);
        QVERIFY(m.PopupSoundFile.endsWith(QLatin1String("/popup.wav")));
        QVERIFY(m.TrayPassword.isEmpty());
        QVERIFY(m.TypedAddresses.isEmpty());
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
        QCOMPARE(m.PopupKillerEnable, killer);
    }

    void failedConversionKeepsValue()
    {
        SettingsStore store(freshPath());
        store.write(QStringLiteral("Sidebar"), QStringLiteral("QNFontSize"), QStringLiteral("40000"));
        store.write(QStringLiteral("RSS"), QStringLiteral("ReadDeleteDays"), QStringLiteral("many"));
        Model m;
        m.QNFontSize = 12;
        m.ReadDeleteDays = 9;
        m.load(store, {});
        QCOMPARE(m.QNFontSize, qint16(12));
        QCOMPARE(m.ReadDeleteDays, 9);
    }

    void colourInBothForms()
    {
        SettingsStore hex(freshPath()), dec(freshPath());
        hex.write(QStringLiteral("Sidebar"), QStringLiteral("QNColor"), QStringLiteral("&H00FF6666"));
        dec.write(QStringLiteral("Sidebar"), QStringLiteral("QNColor"), QStringLiteral("16737894"));
        Model a, b;
        a.load(hex, {});
        b.load(dec, {});
        QCOMPARE(a.QNColor, b.QNColor);
        SettingsStore out(freshPath());
        a.save(out, {});
        QCOMPARE(out.read(QStringLiteral("Sidebar"), QStringLiteral("QNColor"), {}),
                 QStringLiteral("16737894"));
    }

    void typedAddresses()
    {
        Model m;
        for (int i = 1; i <= 60; ++i)
            m.TypedAddresses << QStringLiteral("site%1").arg(i);
        m.TypedAddresses.insert(55, QString()); // empties take no number
        SettingsStore store(freshPath());
        m.save(store, {});
        const QString s = QStringLiteral("Settings");
        QCOMPARE(store.read(s, QStringLiteral("HistoryCount"), {}), QStringLiteral("51"));
        QCOMPARE(store.read(s, QStringLiteral("HistorySite1"), {}), QStringLiteral("site60"));
        QCOMPARE(store.read(s, QStringLiteral("HistorySite51"), {}), QStringLiteral("site10"));
        QVERIFY(!store.contains(s, QStringLiteral("HistorySite52")));

        Model back;
        back.load(store, {});
        QCOMPARE(back.TypedAddresses.size(), 51);
        QCOMPARE(back.TypedAddresses.first(), QStringLiteral("site10"));
        QCOMPARE(back.TypedAddresses.last(), QStringLiteral("site60"));

        // A count above the stored keys reads "0" for each missing key.
        store.write(s, QStringLiteral("HistoryCount"), QStringLiteral("53"));
        back.load(store, {});
        QCOMPARE(back.TypedAddresses.size(), 53);
        QCOMPARE(back.TypedAddresses.mid(0, 2), QStringList({"0", "0"}));
    }

    void customLinks()
    {
        const QString c = QStringLiteral("CustomLinks");
        Model::LoadContext withLinks;
        withLinks.ieLinksName = QStringList{"A", "B"};
        withLinks.ieLinksURL = QStringList{"http://a/", "http://b/"};

        // Never saved: the Links folder's links, or none.
        SettingsStore empty(freshPath());
        Model m;
        m.load(empty, {});
        QCOMPARE(m.CustomLinksCount, qint16(0));
        QVERIFY(m.CustomLinksName.isEmpty());
        m.load(empty, withLinks);
        QCOMPARE(m.CustomLinksCount, qint16(2));
        QCOMPARE(m.CustomLinksURL, withLinks.ieLinksURL);

        // A stored 0 means an empty list, not the Links folder.
        SettingsStore zero(freshPath());
        zero.write(c, QStringLiteral("CustomLinksCount"), QStringLiteral("0"));
        m.load(zero, withLinks);
        QCOMPARE(m.CustomLinksCount, qint16(0));
        QVERIFY(m.CustomLinksName.isEmpty());

        // A shorter list leaves the longer list's keys in the store, unread.
        SettingsStore store(freshPath());
        m.CustomLinksCount = 3;
        m.CustomLinksName = QStringList{"1", "2", "3"};
        m.CustomLinksURL = QStringList{"u1", "u2", "u3"};
        m.save(store, {});
        m.CustomLinksCount = 1;
        m.CustomLinksName = QStringList{"one"};
        m.CustomLinksURL = QStringList{"url1"};
        m.save(store, {});
        QCOMPARE(store.read(c, QStringLiteral("CustomLinksName3"), {}), QStringLiteral("3"));
        Model back;
        back.load(store, withLinks);
        QCOMPARE(back.CustomLinksName, QStringList{"one"});

        // A damaged negative count gives no list.
        store.write(c, QStringLiteral("CustomLinksCount"), QStringLiteral("-5"));
        back.load(store, withLinks);
        QCOMPARE(back.CustomLinksCount, qint16(0));
        QVERIFY(back.CustomLinksName.isEmpty());
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
        QCOMPARE(m.LoadAction, expected);
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
        m.MainLeft = 150;
        m.MainWidth = 9000;
        m.NavigatorLeft = 30;
        m.save(store, {Model::WindowState::Normal, {}});
        QCOMPARE(store.read(s, QStringLiteral("MainLeft"), {}), QStringLiteral("150"));
        QCOMPARE(store.read(s, QStringLiteral("MainMaximized"), {}), QStringLiteral("False"));

        m.MainLeft = 999;
        m.NavigatorLeft = 60;
        m.save(store, {Model::WindowState::Maximized, {}});
        QCOMPARE(store.read(s, QStringLiteral("MainLeft"), {}), QStringLiteral("150"));
        QCOMPARE(store.read(s, QStringLiteral("NavigatorLeft"), {}), QStringLiteral("60"));
        QCOMPARE(store.read(s, QStringLiteral("MainMaximized"), {}), QStringLiteral("True"));

        m.NavigatorLeft = 90;
        m.save(store, {Model::WindowState::Minimized, {}});
        QCOMPARE(store.read(s, QStringLiteral("MainLeft"), {}), QStringLiteral("150"));
        QCOMPARE(store.read(s, QStringLiteral("NavigatorLeft"), {}), QStringLiteral("60"));
        QCOMPARE(store.read(s, QStringLiteral("MainMaximized"), {}), QStringLiteral("False"));

        // The palette keeps its place when the store has none.
        SettingsStore fresh(freshPath());
        Model p;
        p.NavigatorTop = 4321;
        p.load(fresh, {});
        QCOMPARE(p.NavigatorTop, 4321.0f);
    }

    void passwordsAreDigests()
    {
        SettingsStore store(freshPath());
        store.write(QStringLiteral("General"), QStringLiteral("TrayPassword"), QStringLiteral("s3cret"));
        Model m;
        m.load(store, {});
        const QString stored = store.read(QStringLiteral("General"), QStringLiteral("TrayPassword"), {});
        QVERIFY(PasswordDigest::isDigest(stored));
        QCOMPARE(m.TrayPassword, stored);
        {
            QFile f(store.filePath());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(!f.readAll().contains("s3cret"));
        }
        QVERIFY(PasswordDigest::matches(m.TrayPassword, QStringLiteral("s3cret")));
        QVERIFY(!PasswordDigest::matches(m.TrayPassword, QStringLiteral("S3cret")));
        QVERIFY(!PasswordDigest::matches(m.TrayPassword, QString()));
        // A digest survives a load unchanged; empty means none.
        m.load(store, {});
        QCOMPARE(m.TrayPassword, stored);
        QVERIFY(m.CreditInfoPassword.isEmpty());
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
