#include "core/appstate.h"
#include "core/settingsstore.h"
#include "frame/dialogs/defaultbrowserdialog.h"
#include "platform/defaultbrowser.h"

#include <QApplication>
#include <QCheckBox>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Registration as the default browser in a home of its own: no xdg tool of the machine runs
// (PATH holds only the test's own fake xdg-mime).
class TestDefaultBrowser : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    QByteArray m_path;

    QString config() const { return m_home->filePath(QStringLiteral("config")); }
    QString bin() const { return m_home->filePath(QStringLiteral("bin")); }

    static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void write(const QString &path, const QByteArray &data)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    // Every file under the home with its content.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> files;
        QDirIterator it(m_home->path(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files.insert(path, readAll(path));
        }
        return files;
    }

private slots:
    void initTestCase() { m_path = qgetenv("PATH"); }
    void cleanupTestCase() { qputenv("PATH", m_path); }

    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        qputenv("XDG_DATA_HOME", m_home->filePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", config().toLocal8Bit());
        QDir().mkpath(bin());
        qputenv("PATH", bin().toLocal8Bit());
    }

    void registrationKeepsTheUsersOtherChoices()
    {
        // A line that is not UTF-8 comes back byte for byte, and the list keeps its mode.
        const QByteArray before = "# mine \xe9t\xe9\n"
                                  "[Added Associations]\n"
                                  "text/html=other.desktop;\n"
                                  "\n"
                                  "[Default Applications]\n"
                                  "image/png=viewer.desktop;\n"
                                  "text/html = other.desktop;\n"
                                  "x-scheme-handler/http=quarvel.desktop;old.desktop\n"
                                  "\n"
                                  "[Removed Associations]\n"
                                  "text/plain=editor.desktop;\n";
        write(DefaultBrowser::mimeAppsPath(), before);
        const auto listMode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
            | QFileDevice::ReadOther;
        QVERIFY(QFile::setPermissions(DefaultBrowser::mimeAppsPath(), listMode));

        DefaultBrowser browser(QStringLiteral("/opt/my apps/quarvel"));
        QVERIFY(!browser.isDefault());
        QVERIFY2(browser.associateFiles(), qPrintable(browser.errorString()));
        QVERIFY(browser.isDefault());

        QCOMPARE(readAll(DefaultBrowser::mimeAppsPath()),
                 QByteArray("# mine \xe9t\xe9\n"
                            "[Added Associations]\n"
                            "text/html=other.desktop;\n"
                            "\n"
                            "[Default Applications]\n"
                            "image/png=viewer.desktop;\n"
                            "text/html=quarvel.desktop;other.desktop;\n"
                            "x-scheme-handler/http=quarvel.desktop;old.desktop;\n"
                            "application/xhtml+xml=quarvel.desktop;\n"
                            "x-scheme-handler/https=quarvel.desktop;\n"
                            "application/x-mswinurl=quarvel.desktop;\n"
                            "\n"
                            "[Removed Associations]\n"
                            "text/plain=editor.desktop;\n"));
        const QByteArray entry = readAll(DefaultBrowser::desktopFilePath());
        QVERIFY(entry.contains("\nExec=\"/opt/my apps/quarvel\" %u\n"));
        QVERIFY(entry.contains("\nMimeType=text/html;application/xhtml+xml;x-scheme-handler/http;"
                               "x-scheme-handler/https;application/x-mswinurl;\n"));
        QCOMPARE(int(QFile::permissions(DefaultBrowser::desktopFilePath()) & 0x00FF), 0); // ours
        QCOMPARE(QFile::permissions(DefaultBrowser::mimeAppsPath()) & QFileDevice::Permissions(0x7077),
                 listMode);

        // Another copy of the program is not the default, though the desktop entry is.
        QVERIFY(!DefaultBrowser(QStringLiteral("/usr/bin/quarvel")).isDefault());
        // Characters the desktop would expand are escaped, '%' doubled.
        QCOMPARE(DefaultBrowser(QStringLiteral("/a$b/100%/q\\r")).execLine(),
                 QStringLiteral("\"/a\\\\$b/100%%/q\\\\\\\\r\" %u"));
    }

    void missingSectionIsCreated()
    {
        write(DefaultBrowser::mimeAppsPath(), "[Added Associations]\nimage/png=viewer.desktop;");
        DefaultBrowser browser(QStringLiteral("/usr/bin/quarvel"));
        QVERIFY(browser.associateFiles());
        const QString text = QString::fromUtf8(readAll(DefaultBrowser::mimeAppsPath()));
        QVERIFY(text.startsWith(QStringLiteral("[Added Associations]\nimage/png=viewer.desktop;\n\n"
                                               "[Default Applications]\ntext/html=quarvel.desktop;\n")));
        for (const QString &type : DefaultBrowser::mimeTypes())
            QCOMPARE(DefaultBrowser::defaultFor(text, type), QStringLiteral("quarvel.desktop"));
        QVERIFY(browser.isDefault());
    }

    void xdgToolsAreTold_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::newRow("tool succeeds") << 0;
        QTest::newRow("tool fails") << 1; // the files are written: still a success
    }
    void xdgToolsAreTold()
    {
        QFETCH(int, exitCode);
        const QString log = m_home->filePath(QStringLiteral("xdg-mime.log"));
        const QString script = bin() + QStringLiteral("/xdg-mime");
        write(script, QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\nexit %2\n").arg(log).arg(exitCode).toUtf8());
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QVERIFY(DefaultBrowser(QStringLiteral("/usr/bin/quarvel")).associateFiles());
        QCOMPARE(readAll(log), QByteArray("default quarvel.desktop text/html\n"
                                          "default quarvel.desktop application/xhtml+xml\n"
                                          "default quarvel.desktop x-scheme-handler/http\n"
                                          "default quarvel.desktop x-scheme-handler/https\n"
                                          "default quarvel.desktop application/x-mswinurl\n"));
    }

    void unwritableTargetIsAFailure_data()
    {
        QTest::addColumn<bool>("blockList");
        QTest::newRow("mimeapps.list") << true;
        QTest::newRow("desktop entry") << false;
    }
    void unwritableTargetIsAFailure()
    {
        QFETCH(bool, blockList);
        // Tests run as root: a folder in the file's place is what cannot be written.
        const QString blocked = blockList ? DefaultBrowser::mimeAppsPath() : DefaultBrowser::desktopFilePath();
        QVERIFY(QDir().mkpath(blocked));
        DefaultBrowser browser(QStringLiteral("/usr/bin/quarvel"));
        QVERIFY(!browser.associateFiles());
        QVERIFY2(browser.errorString().contains(blocked), qPrintable(browser.errorString()));
        QVERIFY(QFileInfo(blocked).isDir());
        QVERIFY(!browser.isDefault());
        if (!blockList) // no defaults that name an entry which is not there
            QVERIFY(!QFile::exists(DefaultBrowser::mimeAppsPath()));
    }

    void theTestOnlyReads()
    {
        const QMap<QString, QByteArray> empty = snapshot();
        QVERIFY(!DefaultBrowser(QStringLiteral("/usr/bin/quarvel")).isDefault());
        QCOMPARE(snapshot(), empty);

        write(DefaultBrowser::mimeAppsPath(), "[Default Applications]\ntext/html=other.desktop;\n");
        const QMap<QString, QByteArray> before = snapshot();
        QVERIFY(!DefaultBrowser(QStringLiteral("/usr/bin/quarvel")).isDefault());
        QCOMPARE(snapshot(), before);
    }

    void promptStoresTheAnswer_data()
    {
        QTest::addColumn<char>("key");
        QTest::addColumn<bool>("dontAsk");
        QTest::newRow("y") << 'y' << false;
        QTest::newRow("n, don't ask") << 'n' << true;
    }
    void promptStoresTheAnswer()
    {
        QFETCH(char, key);
        QFETCH(bool, dontAsk);
        AppState::settings.checkIfDefault = true;
        DefaultBrowserDialog prompt;
        prompt.findChild<QCheckBox *>(QStringLiteral("Check1"))->setChecked(dontAsk);
        prompt.show();
        QVERIFY(QTest::qWaitForWindowExposed(&prompt));
        QTest::keyClick(&prompt, key);
        QVERIFY(prompt.isHidden());

        const bool yes = key == 'y';
        QCOMPARE(DefaultBrowser().isDefault(), yes);
        QCOMPARE(SettingsStore::instance().read(QStringLiteral("Settings"),
                                                QStringLiteral("FileAssociationSetDefault"), QString()),
                 yes ? QStringLiteral("True") : QStringLiteral("False"));
        QCOMPARE(AppState::settings.checkIfDefault, !dontAsk);
    }
};

QTEST_MAIN(TestDefaultBrowser)
#include "tst_defaultbrowser.moc"
