#include "recordingoptionshost.h"

#include "core/appstate.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "options/historyoptionspage.h"
#include "options/sidebaroptionspage.h"
#include "sidebar/sidebar.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

} // namespace

class TestHistSide : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QStringList m_messages;

    // The settings as a store holding these values of one section gives them.
    void loadSettings(const char *section, const QList<std::pair<const char *, QString>> &values)
    {
        QFile::remove(m_dir.filePath(QStringLiteral("load.ini")));
        SettingsStore store(m_dir.filePath(QStringLiteral("load.ini")));
        for (const auto &[key, value] : values)
            store.write(QLatin1String(section), QLatin1String(key), value);
        AppState::settings = SettingsModel();
        AppState::settings.load(store, {});
    }
    // What a save of the settings writes for these keys of one section, joined by spaces.
    QString stored(const char *section, const QStringList &keys)
    {
        QFile::remove(m_dir.filePath(QStringLiteral("save.ini")));
        SettingsStore store(m_dir.filePath(QStringLiteral("save.ini")));
        AppState::settings.save(store, {});
        QStringList values;
        for (const QString &key : keys)
            values << store.read(QLatin1String(section), key, QStringLiteral("<none>"));
        return values.join(QLatin1Char(' '));
    }
    template <typename T> static T *control(QWidget &page, const char *name)
    {
        return page.findChild<T *>(QLatin1String(name));
    }
    template <typename Page> void recordMessages(Page &page)
    {
        m_messages.clear();
        page.setMessageFunction([this](QMessageBox::Icon icon, const QString &, const QString &text) {
            m_messages << QStringLiteral("%1 %2").arg(int(icon)).arg(text);
        });
    }
    static QString message(QMessageBox::Icon icon, int id)
    {
        return QStringLiteral("%1 %2").arg(int(icon)).arg(loadResString(id));
    }

private Q_SLOTS:
    void historyPageLoadsAndSaves_data()
    {
        QTest::addColumn<QString>("values"); // CleanAddress .. CleanTemp as stored
        QTest::addColumn<QString>("saved");  // after ticking the temp-files box
        QTest::newRow("cookies only") << "False False True False False" << "False False True False True";
        QTest::newRow("all") << "True True True True True" << "True True True True True";
        QTest::newRow("none") << "False False False False False" << "False False False False True";
    }
    void historyPageLoadsAndSaves()
    {
        const QStringList keys{"CleanAddress", "CleanSearch", "CleanCookies", "CleanHistory", "CleanTemp"};
        const char *boxes[] = {"chkAutoAddress", "chkAutoSearch", "chkAutoCookies", "chkAutoHistory",
                               "chkAutoTemp"};
        QFETCH(QString, values);
        const QStringList value = values.split(QLatin1Char(' '));
        loadSettings("History", {{"CleanAddress", value[0]}, {"CleanSearch", value[1]},
                                 {"CleanCookies", value[2]}, {"CleanHistory", value[3]},
                                 {"CleanTemp", value[4]}});
        RecordingOptionsHost host;
        HistoryOptionsPage page(host);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(control<QCheckBox>(page, boxes[i])->isChecked(), value[i] == QLatin1String("True"));

        page.save();
        QCOMPARE(stored("History", keys), values);
        control<QCheckBox>(page, "chkAutoTemp")->setChecked(true);
        QCOMPARE(stored("History", keys), values); // only save() writes
        page.save();
        QTEST(stored("History", keys), "saved");
        QVERIFY(host.calls.isEmpty());
    }

    void historyPageCleansAtOnce_data()
    {
        QTest::addColumn<QString>("ticked");   // manual boxes ticked, then clicked
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("answer");       // to the "clean all" question
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<int>("result");        // the message, 0 none
        QTest::newRow("all, yes") << "" << "btnCleanAll" << true << false
                                  << QStringList{"clean 11111", "reload history"} << 15000;
        QTest::newRow("all, no") << "chkManSearch" << "btnCleanAll" << false << false << QStringList() << 0;
        QTest::newRow("all, failing") << "" << "btnCleanAll" << true << true
                                      << QStringList{"clean 11111", "reload history"} << 15001;
        QTest::newRow("lists only") << "chkManAddress chkManSearch" << "btnCleanSel" << true << false
                                    << QStringList{"clean 11000"} << 15000;
        QTest::newRow("temp files") << "chkManTemp" << "btnCleanSel" << true << true
                                    << QStringList{"clean 00001", "reload history"} << 15001;
    }
    void historyPageCleansAtOnce()
    {
        loadSettings("History", {});
        RecordingOptionsHost host;
        QFETCH(bool, fails);
        host.cleaningSucceeds = !fails;
        HistoryOptionsPage page(host);
        recordMessages(page);
        QFETCH(bool, answer);
        QStringList questions;
        page.setConfirmation([&](const QString &text) {
            questions << text;
            return answer;
        });

        auto *cleanAll = control<QPushButton>(page, "btnCleanAll");
        auto *cleanSelected = control<QPushButton>(page, "btnCleanSel");
        QVERIFY(!cleanSelected->isEnabled());
        QFETCH(QString, ticked);
        const QStringList names = ticked.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString &name : names)
            control<QCheckBox>(page, qPrintable(name))->setChecked(true);
        QCOMPARE(cleanSelected->isEnabled(), !names.isEmpty());

        QFETCH(QString, button);
        control<QPushButton>(page, qPrintable(button))->click();
        QTEST(host.calls, "calls");
        QCOMPARE(questions, button == QLatin1String("btnCleanAll") ? QStringList{loadResString(8512)}
                                                                   : QStringList());
        QFETCH(int, result);
        QCOMPARE(m_messages, result == 0 ? QStringList()
                                         : QStringList{message(result == 15000 ? QMessageBox::Information
                                                                               : QMessageBox::Warning,
                                                               result)});
        QVERIFY(cleanAll->isEnabled());
        QCOMPARE(cleanSelected->isEnabled(), !names.isEmpty());
        QVERIFY(!QApplication::overrideCursor());

        // Clearing the last ticked box disables "Clean Selected" again.
        for (const QString &name : names)
            control<QCheckBox>(page, qPrintable(name))->setChecked(false);
        QVERIFY(!cleanSelected->isEnabled());
        page.save();
        QVERIFY(!AppState::settings.cleanAddress && !AppState::settings.cleanTemp);
    }

    void historyPageWaitsForTheEngine()
    {
        // The engine empties its cache in the background: until it reports, the page stays
        // busy and says nothing; a page closed meanwhile is not reached.
        loadSettings("History", {});
        RecordingOptionsHost host;
        host.deferCleaning = true;
        auto *page = new HistoryOptionsPage(host);
        recordMessages(*page);
        QSignalSpy cleaned(page, &HistoryOptionsPage::cleaned);
        control<QCheckBox>(*page, "chkManTemp")->setChecked(true);
        QVERIFY(page->cleanSelected());
        QVERIFY(!page->cleanSelected());
        QVERIFY(!control<QPushButton>(*page, "btnCleanAll")->isEnabled());
        QVERIFY(m_messages.isEmpty() && cleaned.isEmpty());
        host.pendingCleaning(true);
        QCOMPARE(cleaned.count(), 1);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(control<QPushButton>(*page, "btnCleanAll")->isEnabled());
        QVERIFY(!QApplication::overrideCursor());

        QVERIFY(page->cleanSelected());
        delete page;
        host.pendingCleaning(false);
        QVERIFY(!QApplication::overrideCursor());
    }

    void sidebarPageLoadsAndSaves_data()
    {
        QTest::addColumn<QString>("fontName");
        QTest::addColumn<QString>("fontSize");
        QTest::addColumn<QString>("favorites");
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("family");     // the preview's
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("favoritesSlider");
        QTest::addColumn<QString>("favoritesLabel");
        QTest::addColumn<QString>("historyLabel");
        QTest::addColumn<QString>("saved");      // QNFontName QNFontSize FavRefresh HistRefresh
        QTest::newRow("no font, no size") << "" << "0" << "0" << "1" << "Verdana" << 12 << 0
                                          << "Stopped" << "1 minutes" << "Verdana 12 0 1";
        QTest::newRow("stored font") << "Serif" << "9" << "60" << "15" << "Serif" << 9 << 60
                                     << "60 minutes" << "15 minutes" << "Serif 9 60 15";
        QTest::newRow("periods beyond the slider") << "Serif" << "-3" << "90" << "-5" << "Serif" << 12 << 60
                                                   << "90 minutes" << "Stopped" << "Serif 12 90 -5";
    }
    void sidebarPageLoadsAndSaves()
    {
        QFETCH(QString, fontName);
        QFETCH(QString, fontSize);
        QFETCH(QString, favorites);
        QFETCH(QString, history);
        loadSettings("Sidebar", {{"EnableSidebar", "True"}, {"QNFontName", fontName},
                                 {"QNFontSize", fontSize}, {"QNBold", "True"}, {"QNColor", "255"},
                                 {"FavRefresh", favorites}, {"HistRefresh", history}});
        RecordingOptionsHost host;
        SidebarOptionsPage page(host);
        auto *preview = control<QLineEdit>(page, "txtPreview");
        QCOMPARE(preview->text(), QStringLiteral("Quick Notes Preview"));
        QTEST(preview->font().family(), "family");
        QTEST(preview->font().pointSize(), "points");
        QVERIFY(preview->font().bold() && !preview->font().italic());
        QCOMPARE(preview->palette().color(QPalette::Text), QColor(Qt::red));
        QVERIFY(control<QCheckBox>(page, "chkEnableSidebar")->isChecked());
        QTEST(control<QSlider>(page, "slideFavorites")->value(), "favoritesSlider");
        QTEST(control<QLabel>(page, "lblFavorites")->text(), "favoritesLabel");
        QTEST(control<QLabel>(page, "lblHistory")->text(), "historyLabel");

        const QStringList keys{"QNFontName", "QNFontSize", "FavRefresh", "HistRefresh"};
        page.save();
        QTEST(stored("Sidebar", keys), "saved");
        QCOMPARE(stored("Sidebar", {"EnableSidebar", "QNBold", "QNColor"}), QStringLiteral("True True 255"));

        // A moved slider stores what it shows; unticking the box turns the side bar off.
        control<QSlider>(page, "slideFavorites")->setValue(0);
        control<QSlider>(page, "slideHistory")->setValue(60);
        QCOMPARE(control<QLabel>(page, "lblFavorites")->text(), QStringLiteral("Stopped"));
        QCOMPARE(control<QLabel>(page, "lblHistory")->text(), QStringLiteral("60 minutes"));
        control<QCheckBox>(page, "chkEnableSidebar")->setChecked(false);
        page.save();
        QCOMPARE(stored("Sidebar", {"FavRefresh", "HistRefresh", "EnableSidebar"}),
                 QStringLiteral("0 60 False"));
        QVERIFY(host.calls.isEmpty());
    }

    void sidebarPageTakesChosenFontAndColor_data()
    {
        QTest::addColumn<double>("chosenSize"); // 0: the font dialog is cancelled
        QTest::addColumn<bool>("colorChosen");
        QTest::addColumn<QString>("saved");     // QNFontName QNFontSize QNItalic QNUnderline QNColor
        QTest::newRow("both cancelled") << 0.0 << false << "Serif 9 False False -2147483640";
        QTest::newRow("half to even, down") << 10.5 << true << "Monospace 10 True True 65280";
        QTest::newRow("half to even, up") << 11.5 << false << "Monospace 12 True True -2147483640";
        QTest::newRow("below a half") << 8.4 << true << "Monospace 8 True True 65280";
    }
    void sidebarPageTakesChosenFontAndColor()
    {
        // A system colour (window text) stays stored as such until a colour is picked.
        loadSettings("Sidebar", {{"QNFontName", "Serif"}, {"QNFontSize", "9"}, {"QNColor", "&H80000008"}});
        RecordingOptionsHost host;
        SidebarOptionsPage page(host);
        QFETCH(double, chosenSize);
        QFETCH(bool, colorChosen);
        QFont offered;
        page.setFontChooser([&](const QFont &current, QWidget *) -> std::optional<QFont> {
            offered = current;
            if (chosenSize == 0)
                return std::nullopt;
            QFont font(QStringLiteral("Monospace"));
            font.setPointSizeF(chosenSize);
            font.setItalic(true);
            font.setUnderline(true);
            font.setStrikeOut(true);
            return font;
        });
        page.setColorChooser([&](const QColor &, QWidget *) -> std::optional<QColor> {
            return colorChosen ? std::optional<QColor>(QColor(Qt::green)) : std::nullopt;
        });
        control<QPushButton>(page, "btnFont")->click();
        control<QToolButton>(page, "picColor")->click();
        QCOMPARE(offered.family(), QStringLiteral("Serif"));
        QCOMPARE(offered.pointSize(), 9);
        QVERIFY(!control<QLineEdit>(page, "txtPreview")->font().strikeOut());
        page.save();
        QTEST(stored("Sidebar", {"QNFontName", "QNFontSize", "QNItalic", "QNUnderline", "QNColor"}), "saved");
    }

    void sidebarPageRefreshesTreesAtOnce()
    {
        loadSettings("Sidebar", {});
        RecordingOptionsHost host;
        SidebarOptionsPage page(host);
        recordMessages(page);
        auto *favorites = control<QPushButton>(page, "cmdRefreshFavorites");
        favorites->click();
        control<QPushButton>(page, "cmdRefreshHistory")->click();
        QCOMPARE(host.calls, (QStringList{"reload favorites", "reload history"}));
        QCOMPARE(m_messages, (QStringList{message(QMessageBox::NoIcon, 15012),
                                          message(QMessageBox::NoIcon, 15014)}));
        QVERIFY(favorites->isEnabled());
        QVERIFY(!QApplication::overrideCursor());

        // A rebuild that fails says so.
        m_messages.clear();
        host.reloadSucceeds = false;
        favorites->click();
        control<QPushButton>(page, "cmdRefreshHistory")->click();
        QCOMPARE(m_messages, (QStringList{message(QMessageBox::NoIcon, 15013),
                                          message(QMessageBox::NoIcon, 15015)}));
    }

    // "Refresh Favorites Now" while the favorites tree is being rebuilt: the rebuild under way
    // goes on, and the page says the favorites were refreshed.
    void refreshFavoritesDuringARebuild()
    {
        loadSettings("Sidebar", {});
        QVERIFY(QDir().mkpath(Paths::dataFile(QStringLiteral("Favorites/Work/Later"))));
        SidebarHost quiet;
        quiet.messageBox = [](QWidget *, QMessageBox::Icon, const QString &,
                              QMessageBox::StandardButtons) { return QMessageBox::Ok; };
        Sidebar sidebar(quiet);
        sidebar.buildSidebar();
        struct TreeHost : RecordingOptionsHost
        {
            Sidebar *tree = nullptr;
            bool reloadFavorites() override { return tree->reloadFavorites(); }
        } host;
        host.tree = &sidebar;
        SidebarOptionsPage page(host);
        recordMessages(page);
        // The rebuild lets events through while it scans: the click lands in the middle of it.
        QTimer::singleShot(0, &page, [&page] { control<QPushButton>(page, "cmdRefreshFavorites")->click(); });
        QVERIFY(sidebar.reloadFavorites());
        QCOMPARE(m_messages, QStringList{message(QMessageBox::NoIcon, 15012)});
    }
};

QTEST_MAIN(TestHistSide)
#include "tst_histside.moc"
