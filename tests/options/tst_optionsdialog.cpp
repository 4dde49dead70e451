#include "recordingoptionshost.h"

#include "core/appstate.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "options/formsoptionspage.h"
#include "options/generaloptionspage.h"
#include "options/optionsdialog.h"
#include "options/optionspagefactory.h"
#include "options/skinsoptionspage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(OptionsPageId)

class TestOptionsDialog : public QObject
{
    Q_OBJECT
private:
    RecordingOptionsHost *m_host = nullptr;
    OptionsDialog *m_dialog = nullptr;
    QStringList m_messages;

    void open(OptionsPageId page)
    {
        m_dialog = new OptionsDialog(*m_host, page);
        m_dialog->setMessageFunction(
            [this](QMessageBox::Icon, const QString &, const QString &text) { m_messages.append(text); });
    }
    QTreeWidget *tree() const { return m_dialog->findChild<QTreeWidget *>(QStringLiteral("TreeView1")); }
    QString currentKey() const { return tree()->currentItem()->data(0, Qt::UserRole).toString(); }
    template <typename T> T *control(const char *name) const
    {
        return m_dialog->findChild<T *>(QLatin1String(name));
    }

private Q_SLOTS:
    void init()
    {
        AppState::settings = SettingsModel();
        AppState::skinNames = {QStringLiteral("none"), QStringLiteral("Blue"), QStringLiteral("Green")};
        m_host = new RecordingOptionsHost;
        m_messages.clear();
    }
    void cleanup()
    {
        delete m_dialog;
        m_dialog = nullptr;
        delete m_host;
    }

    void hostileValuesSurviveOk_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("negative") << "-1";
        QTest::newRow("very negative") << "-99999999999";
        QTest::newRow("huge") << "99999999999";
        QTest::newRow("not a number") << "abc";
        QTest::newRow("long") << QString(10000, u'x');
        QTest::newRow("long number") << QString(10000, u'9');
    }
    void hostileValuesSurviveOk()
    {
        QFETCH(QString, value);
        QTemporaryDir dir;
        SettingsStore in(dir.filePath(QStringLiteral("in.ini")));
        for (const SettingsModel::Key &k : SettingsModel::plainKeys())
            in.write(QLatin1String(k.section), QLatin1String(k.key), value);
        in.write(QStringLiteral("General"), QStringLiteral("TrayPassword"), value);
        in.write(QStringLiteral("Forms"), QStringLiteral("CreditInfoPassword"), value);
        in.write(QStringLiteral("CustomLinks"), QStringLiteral("CustomLinksCount"), value);
        in.write(QStringLiteral("Skins"), QStringLiteral("ToolbarLargeBitmap"), value);
        AppState::settings.load(in, {});
        SettingsStore before(dir.filePath(QStringLiteral("before.ini")));
        QVERIFY(AppState::settings.save(before, {}));
        for (int page = 1; page <= kOptionsPageCount; ++page) {
            open(OptionsPageId(page));
            m_dialog->accept();
            delete m_dialog;
            m_dialog = nullptr;
        }
        SettingsStore after(dir.filePath(QStringLiteral("after.ini")));
        QVERIFY(AppState::settings.save(after, {}));
        QFile a(before.filePath()), b(after.filePath());
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QList<QByteArray> la = a.readAll().split('\n'), lb = b.readAll().split('\n');
        // The one value OK puts right: a quick-notes font size no font has is stored as the
        // preview's size, as a font chosen on that page would be.
        QStringList diffs;
        for (qsizetype i = 0; i < qMax(la.size(), lb.size()); ++i) {
            if (la.value(i).startsWith("QNFontSize=") && lb.value(i) == "QNFontSize=12")
                continue;
            if (la.value(i) != lb.value(i))
                diffs << QString::fromUtf8(la.value(i).left(80) + " => " + lb.value(i).left(80));
        }
        QVERIFY2(diffs.isEmpty(), qPrintable(diffs.join(QLatin1Char('\n'))));
    }

    void treeHoldsThePagesInOrder()
    {
        open(OptionsPageId::General);
        QTreeWidgetItem *root = tree()->topLevelItem(0);
        QCOMPARE(tree()->topLevelItemCount(), 1);
        QCOMPARE(root->data(0, Qt::UserRole).toString(), QStringLiteral("QVOptions"));
        QStringList keys;
        for (int i = 0; i < root->childCount(); ++i)
            keys << root->child(i)->data(0, Qt::UserRole).toString();
        QCOMPARE(keys, QStringList({"General", "History", "Sites", "Sidebar", "CustomLinks", "Skins",
                                    "Control", "Content", "Form", "Popup", "Rss", "Gestures"}));
        QCOMPARE(root->child(8)->text(0), loadResString(8082));
        QVERIFY(qobject_cast<GeneralOptionsPage *>(m_dialog->page(OptionsPageId::General)));
        QVERIFY(qobject_cast<SkinsOptionsPage *>(m_dialog->page(OptionsPageId::Skins)));
        QVERIFY(qobject_cast<FormsOptionsPage *>(m_dialog->page(OptionsPageId::Forms)));
        QCOMPARE(m_dialog->windowTitle(), loadResString(8000));
    }

    void opensOnTheGivenPage_data()
    {
        QTest::addColumn<OptionsPageId>("page");
        QTest::addColumn<QString>("node");
        QTest::newRow("first") << OptionsPageId::General << "General";
        QTest::newRow("forms") << OptionsPageId::Forms << "Form";
        QTest::newRow("last") << OptionsPageId::MouseGestures << "Gestures";
    }
    void opensOnTheGivenPage()
    {
        QFETCH(OptionsPageId, page);
        open(page);
        QCOMPARE(m_dialog->currentPage(), page);
        QTEST(currentKey(), "node");
        QVERIFY(m_dialog->page(page)->isVisibleTo(m_dialog));
        m_dialog->reject();
    }

    void rootKeepsThePageAndNodesChooseTheirs()
    {
        open(OptionsPageId::Skins);
        tree()->setCurrentItem(tree()->topLevelItem(0));
        QCOMPARE(m_dialog->currentPage(), OptionsPageId::Skins);
        tree()->setCurrentItem(tree()->topLevelItem(0)->child(9));
        QCOMPARE(m_dialog->currentPage(), OptionsPageId::PopupKiller);
    }

    void refusalShowsThePageAndWritesNothing()
    {
        AppState::settings.minimizeToTray = true;
        AppState::settings.saveDocumentOnExit = false;
        open(OptionsPageId::Skins);
        control<QCheckBox>("chkAutoSave")->setChecked(true);
        control<QComboBox>("lstSkin")->setCurrentIndex(2);
        control<QLineEdit>("txtPassword")->setText(QStringLiteral("secret"));
        control<QLineEdit>("txtConfirm")->setText(QStringLiteral("secreT"));

        m_dialog->accept();
        QCOMPARE(m_messages, QStringList{loadResString(3021)});
        QCOMPARE(m_dialog->currentPage(), OptionsPageId::General);
        QCOMPARE(currentKey(), QStringLiteral("General"));
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(!AppState::settings.saveDocumentOnExit);
        QCOMPARE(m_host->chosenSkin, QStringLiteral("Blue"));
        QVERIFY(m_host->calls.isEmpty());
    }

    void okAppliesWhatChanged_data()
    {
        QTest::addColumn<bool>("trayBefore");
        QTest::addColumn<bool>("trayAfter");
        QTest::addColumn<int>("skinIndex");
        QTest::addColumn<QString>("largeImage");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("nothing changed") << true << true << 1 << "" << QStringList();
        QTest::newRow("tray off, other skin")
            << true << false << 2 << "" << QStringList{loadResString(1147)};
        QTest::newRow("tray on, other image")
            << false << true << 1 << "/tmp/big.bmp" << QStringList{loadResString(15005)};
    }
    void okAppliesWhatChanged()
    {
        QFETCH(bool, trayBefore);
        QFETCH(bool, trayAfter);
        QFETCH(QString, largeImage);
        SettingsModel &s = AppState::settings;
        s.minimizeToTray = trayBefore;
        s.enableSidebar = true;
        s.favRefresh = 10;
        s.histRefresh = 0;
        s.qnFontName = QStringLiteral("Serif");
        s.qnFontSize = 11;
        s.qnBold = true;
        s.qnColor = 0x0000FF; // red in the stored byte order
        s.enableScripts = true;
        s.autoFormFill = true;
        open(OptionsPageId::General);
        control<QCheckBox>("chkMinimize2Tray")->setChecked(trayAfter);
        QFETCH(int, skinIndex);
        control<QComboBox>("lstSkin")->setCurrentIndex(skinIndex);
        control<QLineEdit>("txtToolbarImageLarge")->setText(largeImage);

        m_dialog->accept();
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QTEST(m_messages, "messages");
        // The pages save first (the skin page names the next skin), then OK applies.
        QStringList expected{QStringLiteral("next skin ") + AppState::skinNames[skinIndex],
                             QStringLiteral("popup killer state")};
        if (trayBefore != trayAfter)
            expected << QStringLiteral("tray %1").arg(trayAfter);
        expected << "sidebar 1" << "notes #ff0000" << "favorites 10" << "history 0" << "links";
        for (const char *key : {"Image", "Sound", "Video", "Scripts", "Java", "DLACTX", "RUNACTX",
                                "Flash", "AutoFill"}) {
            const bool on = QLatin1String(key) == QLatin1String("Scripts")
                            || QLatin1String(key) == QLatin1String("AutoFill");
            expected << QStringLiteral("check mnuContent%1 %2").arg(QLatin1String(key)).arg(on);
        }
        expected << "form data";
        QCOMPARE(m_host->calls, expected);
        QCOMPARE(m_host->notesFont.family(), QStringLiteral("Serif"));
        QCOMPARE(m_host->notesFont.pointSize(), 11);
        QVERIFY(m_host->notesFont.bold());
        QCOMPARE(AppState::settings.minimizeToTray, trayAfter);
        QVERIFY(AppState::sidebarVisible);
    }

    void cancelChangesNothing()
    {
        open(OptionsPageId::General);
        control<QCheckBox>("chkAutoupdate")->setChecked(true);
        control<QComboBox>("lstSkin")->setCurrentIndex(2);
        control<QLineEdit>("txtToolbarImageSmall")->setText(QStringLiteral("/tmp/small.bmp"));
        m_dialog->reject();
        QVERIFY(!AppState::settings.checkForUpdate);
        QVERIFY(AppState::settings.toolbarSmallBitmap.isEmpty());
        QVERIFY(m_host->calls.isEmpty());
        QVERIFY(m_messages.isEmpty());
    }

    // The page localiser works on the page's controls by the same rules as a form's.
    void pageLocalisesItsControls()
    {
        RecordingOptionsHost host;
        struct PlainPage : OptionsPage
        {
            using OptionsPage::OptionsPage;
            void save() override {}
        } page(host);
        page.setProperty(kTagProperty, resId(8001));
        auto *number = new QLabel(resId(8011), &page);
        auto *words = new QLabel(QStringLiteral("8011 apples"), &page);
        auto *box = new QCheckBox(QStringLiteral("designed"), &page);
        box->setProperty(kTagProperty, resId(8100));
        auto *zero = new QCheckBox(QStringLiteral("kept"), &page);
        zero->setProperty(kTagProperty, QStringLiteral("0"));
        zero->setToolTip(QStringLiteral("Auto-Refresh (minutes)"));
        page.localise();
        QCOMPARE(number->text(), loadResString(8011));
        QCOMPARE(words->text(), QStringLiteral("8011 apples"));
        QCOMPARE(box->text(), loadResString(8100));
        QCOMPARE(zero->text(), QStringLiteral("kept"));
        QCOMPARE(zero->toolTip(), QStringLiteral("Auto-Refresh (minutes)"));
        QVERIFY(page.windowTitle().isEmpty());
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
