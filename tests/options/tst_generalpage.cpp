#include "recordingoptionshost.h"

#include "core/appstate.h"
#include "core/passworddigest.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "options/generaloptionspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestGeneralPage : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    RecordingOptionsHost m_host;

    // The settings as a store holding these "General" values gives them.
    void loadSettings(const QList<std::pair<const char *, QString>> &values)
    {
        SettingsStore store(m_dir.filePath(QStringLiteral("load.ini")));
        for (const auto &[key, value] : values)
            store.write(QStringLiteral("General"), QLatin1String(key), value);
        AppState::settings = SettingsModel();
        AppState::settings.load(store, {});
    }
    // What a save of the settings writes for a "General" key.
    QString stored(const char *key)
    {
        SettingsStore store(m_dir.filePath(QStringLiteral("save.ini")));
        AppState::settings.save(store, {});
        return store.read(QStringLiteral("General"), QLatin1String(key), QStringLiteral("<none>"));
    }
    template <typename T> static T *control(QWidget &page, const char *name)
    {
        return page.findChild<T *>(QLatin1String(name));
    }

private Q_SLOTS:
    void loadSetsTheControls_data()
    {
        QTest::addColumn<QString>("autoSave");
        QTest::addColumn<QString>("loadAction");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("listEnabled");
        QTest::addColumn<bool>("loadNowEnabled");
        QTest::newRow("load all") << "True" << "1" << 0 << true << false;
        QTest::newRow("ask") << "True" << "2" << 1 << true << false;
        QTest::newRow("manual") << "True" << "3" << 2 << true << true;
        QTest::newRow("unknown action") << "True" << "7" << -1 << true << false;
        QTest::newRow("auto-save off") << "False" << "3" << 2 << false << false;
    }
    void loadSetsTheControls()
    {
        QFETCH(QString, autoSave);
        QFETCH(QString, loadAction);
        loadSettings({{"SaveDocumentOnExit", autoSave}, {"LoadAction", loadAction},
                      {"MinimizeToTray", "True"}, {"TrayPassword", "old"}});
        GeneralOptionsPage page(m_host);
        auto *list = control<QComboBox>(page, "cmbAskToLoad");
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->itemText(2), loadResString(8006));
        QTEST(list->currentIndex(), "index");
        QTEST(list->isEnabled(), "listEnabled");
        QTEST(control<QPushButton>(page, "btnLoadNow")->isEnabled(), "loadNowEnabled");
        QVERIFY(control<QLineEdit>(page, "txtPassword")->text().isEmpty());
        QVERIFY(control<QLineEdit>(page, "txtConfirm")->isEnabled());

        // Choosing another item disables "Load Now"; a save keeps an action the list lacks.
        control<QCheckBox>(page, "chkAutoSave")->setChecked(true);
        list->setCurrentIndex(1);
        QVERIFY(!control<QPushButton>(page, "btnLoadNow")->isEnabled());
        list->setCurrentIndex(-1);
        page.save();
        QCOMPARE(stored("LoadAction"), loadAction);
    }

    void passwordsDecideTheSave_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("lockedWith"); // the password the saved digest matches
        QTest::newRow("one character differs") << true << "secret" << "secrex" << true << "old";
        QTest::newRow("letter case differs") << true << "Secret" << "secret" << true << "old";
        QTest::newRow("same") << true << "secret" << "secret" << false << "secret";
        QTest::newRow("left empty") << true << "" << "" << false << "old";
        QTest::newRow("tray off, differing") << false << "first" << "second" << false << "first";
    }
    void passwordsDecideTheSave()
    {
        QFETCH(bool, tray);
        loadSettings({{"MinimizeToTray", "False"}, {"TrayPassword", "old"},
                      {"CheckForUpdate", "False"}});
        GeneralOptionsPage page(m_host);
        control<QCheckBox>(page, "chkMinimize2Tray")->setChecked(true);
        QFETCH(QString, password);
        QFETCH(QString, confirm);
        control<QLineEdit>(page, "txtPassword")->setText(password);
        control<QLineEdit>(page, "txtConfirm")->setText(confirm);
        control<QCheckBox>(page, "chkMinimize2Tray")->setChecked(tray);
        control<QCheckBox>(page, "chkAutoupdate")->setChecked(true);

        QFETCH(bool, refused);
        QCOMPARE(page.refusal(), refused ? loadResString(3021) : QString());
        if (!refused)
            page.save();
        QFETCH(QString, lockedWith);
        QVERIFY(PasswordDigest::matches(stored("TrayPassword"), lockedWith));
        QCOMPARE(stored("MinimizeToTray"), !refused && tray ? "True" : "False");
        QCOMPARE(stored("CheckForUpdate"), refused ? "False" : "True");
    }

    void loadNowNeedsSavedDocuments_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("requested");
        QTest::newRow("missing") << QString() << false;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("no number") << "many" << false;
        QTest::newRow("two") << "2" << true;
    }
    void loadNowNeedsSavedDocuments()
    {
        QFETCH(QString, count);
        QFETCH(bool, requested);
        SettingsStore::setInstanceFile(m_dir.filePath(QTest::currentDataTag() + QStringLiteral(".ini")));
        if (!count.isNull())
            SettingsStore::instance().write(QStringLiteral("Settings"), QStringLiteral("DocumentCount"), count);
        loadSettings({{"SaveDocumentOnExit", "True"}, {"LoadAction", "3"}});
        GeneralOptionsPage page(m_host);
        QStringList messages;
        page.setMessageFunction([&](QMessageBox::Icon, const QString &, const QString &text) { messages << text; });
        QSignalSpy spy(&page, &GeneralOptionsPage::savedDocumentsLoadRequested);
        control<QPushButton>(page, "btnLoadNow")->click();
        QCOMPARE(spy.count(), int(requested));
        QCOMPARE(messages, requested ? QStringList() : QStringList{loadResString(15009)});
    }

    // A registration that fails says so (the desktop's list of default programs is a folder
    // here, so it cannot be read or written).
    void makeDefaultReportsFailure()
    {
        const QString list = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + QStringLiteral("/mimeapps.list");
        QVERIFY(QDir().mkpath(list));
        GeneralOptionsPage page(m_host);
        QStringList messages;
        page.setMessageFunction([&](QMessageBox::Icon, const QString &, const QString &text) { messages << text; });
        auto *button = control<QPushButton>(page, "btnMakeDefault");
        button->click();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().startsWith(loadResString(15011)));
        QVERIFY(button->isEnabled());
        QVERIFY(QDir().rmdir(list));
    }
};

QTEST_MAIN(TestGeneralPage)
#include "tst_generalpage.moc"
