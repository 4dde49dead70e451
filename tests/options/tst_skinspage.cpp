#include "recordingoptionshost.h"

#include "core/appstate.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "options/skinsoptionspage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

class TestSkinsPage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadAndSave_data()
    {
        QTest::addColumn<QString>("chosen");  // the skin named for the next start
        QTest::addColumn<int>("selected");    // what the list shows
        QTest::addColumn<int>("choose");      // what the user picks, -1 nothing
        QTest::addColumn<QString>("nextSkin"); // after the save
        QTest::newRow("kept") << "Green" << 2 << 2 << "Green";
        QTest::newRow("other skin") << "Blue" << 1 << 3 << "Red";
        QTest::newRow("later duplicate") << "none" << 4 << 4 << "none";
        QTest::newRow("unknown skin") << "Gone" << -1 << -1 << "Gone";
    }
    void loadAndSave()
    {
        QTemporaryDir dir;
        SettingsStore store(dir.filePath(QStringLiteral("Quarvel.ini")));
        store.write(QStringLiteral("Skins"), QStringLiteral("ToolbarLargeBitmap"), QStringLiteral("/skins/large.bmp"));
        AppState::settings = SettingsModel();
        AppState::settings.loadSkins(store);
        AppState::skinNames = {QStringLiteral("none"), QStringLiteral("Blue"), QStringLiteral("Green"),
                               QStringLiteral("Red"), QStringLiteral("none")};
        RecordingOptionsHost host;
        host.runningSkin = QStringLiteral("Blue");
        QFETCH(QString, chosen);
        host.chosenSkin = chosen;

        SkinsOptionsPage page(host);
        auto *list = page.findChild<QComboBox *>(QStringLiteral("lstSkin"));
        auto *large = page.findChild<QLineEdit *>(QStringLiteral("txtToolbarImageLarge"));
        auto *small = page.findChild<QLineEdit *>(QStringLiteral("txtToolbarImageSmall"));
        QCOMPARE(list->count(), 5);
        QCOMPARE(list->itemText(3), QStringLiteral("Red"));
        QTEST(list->currentIndex(), "selected");
        QCOMPARE(large->text(), QStringLiteral("/skins/large.bmp"));

        QFETCH(int, choose);
        list->setCurrentIndex(choose);
        small->setText(QStringLiteral(" typed by hand .bmp"));
        page.save();
        QTEST(host.chosenSkin, "nextSkin");
        QCOMPARE(host.runningSkin, QStringLiteral("Blue"));
        QCOMPARE(AppState::settings.toolbarSmallBitmap, QStringLiteral(" typed by hand .bmp"));
        QCOMPARE(AppState::settings.toolbarLargeBitmap, QStringLiteral("/skins/large.bmp"));
    }

    // A shipped picture shows by its name, not by the folder it ships in, and stays as stored
    // when the field is left alone.
    void shippedFilesShowTheirNames()
    {
        AppState::settings = SettingsModel();
        AppState::settings.loadSkins(SettingsStore(QStringLiteral("/nonexistent/Quarvel.ini")));
        const QString stored = AppState::settings.toolbarLargeBitmap;
        QCOMPARE(stored, Paths::assetFile(QStringLiteral("nav_24h.bmp")));
        RecordingOptionsHost host;
        SkinsOptionsPage page(host);
        QCOMPARE(page.findChild<QLineEdit *>(QStringLiteral("txtToolbarImageLarge"))->text(),
                 QStringLiteral("nav_24h.bmp"));
        page.save();
        QCOMPARE(AppState::settings.toolbarLargeBitmap, stored);
        QCOMPARE(Paths::displayPath(QStringLiteral("/home/u/large.bmp")), QStringLiteral("/home/u/large.bmp"));
        QCOMPARE(Paths::editedPath(QStringLiteral("mine.bmp"), stored), QStringLiteral("mine.bmp"));
    }
};

QTEST_MAIN(TestSkinsPage)
#include "tst_skinspage.moc"
