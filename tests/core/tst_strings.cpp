#include "core/strings.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTabBar>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>

class TestStrings : public QObject
{
    Q_OBJECT
private slots:
    void tableParsesWithUniqueIds()
    {
        QFile file(QStringLiteral(":/quarvel/strings.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QList<int> errors, duplicates;
        const StringTable table = StringTable::fromText(file.readAll(), &errors, &duplicates);
        QVERIFY2(errors.isEmpty(), qPrintable(QStringLiteral("bad lines: %1").arg(errors.size())));
        QVERIFY2(duplicates.isEmpty(), qPrintable(QString::number(duplicates.value(0))));
        QCOMPARE(table.size(), StringTable::instance().size());
        QCOMPARE(table.size(), table.ids().size());
        for (int id : table.ids())
            QVERIFY2(id >= 100 && id <= 20000, qPrintable(QString::number(id)));
        QVERIFY(table.size() > 500);
    }

    void fixedTexts()
    {
        QCOMPARE(loadResString(100), QStringLiteral("Quarvel"));
        QCOMPARE(loadResString(111), QStringLiteral("&OK"));
        QCOMPARE(loadResString(113), QStringLiteral("&Yes"));
        QCOMPARE(loadResString(117), QStringLiteral("Are you sure you want to close all websites?"));
        QCOMPARE(loadResString(1120), QStringLiteral("Quarvel v2.7"));
        QCOMPARE(loadResString(1200), QStringLiteral("Failed to load RSS component! You may not be "
                                                     "able to use the integrated RSS reader."));
        QCOMPARE(loadResString(16000), QStringLiteral("Quarvel Auto Update!"));
        QCOMPARE(loadResString(16500), QStringLiteral("Warning!"));
        QVERIFY(loadResString(16502).contains(QLatin1String("\n\nMenu-> Help -> Report a bug")));
        QVERIFY(loadResString(99).isEmpty());
    }

    void everyIdTheCodeUsesExists()
    {
        const QRegularExpression use(QStringLiteral(R"((?:loadResString|resId)\(\s*(\d+)\s*\))"));
        QDirIterator it(QStringLiteral(QUARVEL_SOURCE_DIR), {"*.cpp", "*.h"}, QDir::Files,
                        QDirIterator::Subdirectories);
        int uses = 0;
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            for (const auto &m : use.globalMatch(text)) {
                ++uses;
                const int id = m.captured(1).toInt();
                QVERIFY2(StringTable::instance().contains(id),
                         qPrintable(QStringLiteral("%1 uses missing string %2")
                                        .arg(file.fileName()).arg(id)));
            }
        }
        QVERIFY(uses > 0);
    }

    void localisesAForm()
    {
        QWidget form;
        form.setProperty(kTagProperty, QStringLiteral("16000"));
        auto *keep = new QWidget(&form);
        auto *title = new QLabel(QStringLiteral("Title"), &form);
        auto *question = new QLabel(QStringLiteral("1501"), &form);
        auto *unknown = new QLabel(QStringLiteral("19999"), &form);

        auto *yes = new QPushButton(QStringLiteral("design"), &form);
        yes->setProperty(kTagProperty, QStringLiteral("113"));
        yes->setToolTip(QStringLiteral("0"));
        auto *lenient = new QPushButton(&form);
        lenient->setProperty(kTagProperty, QStringLiteral("114abc"));
        lenient->setToolTip(QStringLiteral("112"));

        auto *bar = new QMenuBar(&form);
        QMenu *menu = bar->addMenu(QStringLiteral("1000"));
        QAction *item = menu->addAction(QStringLiteral("111"));
        QAction *separator = menu->addSeparator();
        QAction *dash = menu->addAction(QStringLiteral("-"));

        auto *toolbar = new QToolBar(&form);
        QAction *button = toolbar->addAction(QStringLiteral("113"));
        button->setToolTip(QStringLiteral("114"));
        QAction *gap = toolbar->addSeparator();
        gap->setToolTip(QStringLiteral("113"));

        auto *tabs = new QTabBar(&form);
        tabs->addTab(QStringLiteral("x"));
        tabs->setTabData(0, QStringLiteral("111"));
        tabs->setTabToolTip(0, QStringLiteral("112"));

        auto *view = new QTreeView(&form);
        auto *model = new QStandardItemModel(0, 2, view);
        model->setHorizontalHeaderLabels({"a", "b"});
        model->setHeaderData(1, Qt::Horizontal, QStringLiteral("104"), kHeaderTagRole);
        view->setModel(model);

        loadResStrings(&form);

        QCOMPARE(form.windowTitle(), QStringLiteral("Quarvel Auto Update!"));
        QCOMPARE(title->text(), QStringLiteral("Title"));
        QCOMPARE(question->text(), loadResString(1501));
        QVERIFY(question->text().startsWith(QLatin1String("Quarvel is not currently")));
        QCOMPARE(unknown->text(), QStringLiteral("19999"));
        QCOMPARE(yes->text(), QStringLiteral("&Yes"));
        QVERIFY(yes->toolTip().isEmpty());
        QCOMPARE(lenient->text(), QStringLiteral("&No"));
        QCOMPARE(lenient->toolTip(), QStringLiteral("&Cancel"));
        QCOMPARE(menu->title(), loadResString(1000));
        QCOMPARE(item->text(), QStringLiteral("&OK"));
        QVERIFY(separator->isSeparator() && separator->text().isEmpty());
        QCOMPARE(dash->text(), QStringLiteral("-"));
        QCOMPARE(button->text(), QStringLiteral("&Yes"));
        QCOMPARE(button->toolTip(), QStringLiteral("&No"));
        QVERIFY(gap->text().isEmpty());
        QCOMPARE(tabs->tabText(0), QStringLiteral("&OK"));
        QCOMPARE(tabs->tabToolTip(0), QStringLiteral("&Cancel"));
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("a"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Version"));
        Q_UNUSED(keep);

        // "-1" keeps the design caption.
        QWidget plain;
        plain.setWindowTitle(QStringLiteral("design"));
        plain.setProperty(kTagProperty, QStringLiteral("-1"));
        loadResStrings(&plain);
        QCOMPARE(plain.windowTitle(), QStringLiteral("design"));
    }

    void stripNulls()
    {
        QCOMPARE(::stripNulls(QStringLiteral("abc") + QChar(0) + QStringLiteral("def")),
                 QStringLiteral("abc"));
        QCOMPARE(::stripNulls(QStringLiteral("abc")), QStringLiteral("abc"));
        QCOMPARE(::stripNulls(QString()), QString());
        QCOMPARE(::stripNulls(QString(QChar(0))), QString());
    }

    // A caption without its access key reads as its menu item shows it and, put on a tab or
    // button, shows the same and takes no Alt letter.
    void captionsWithoutAccessKeys_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("reads");
        QTest::newRow("first letter") << "&History" << "History";
        QTest::newRow("inner letter") << "R&SS Feeds" << "RSS Feeds";
        QTest::newRow("no key") << "Quick Notes" << "Quick Notes";
        QTest::newRow("literal ampersand") << "Tom && Jerry" << "Tom & Jerry";
        QTest::newRow("literal and key") << "&Links && more" << "Links & more";
        QTest::newRow("key after literal") << "A &&&B" << "A &B";
        QTest::newRow("trailing ampersand") << "Save &" << "Save &";
        QTest::newRow("empty") << "" << "";
    }
    void captionsWithoutAccessKeys()
    {
        QFETCH(QString, caption);
        QFETCH(QString, reads);
        QCOMPARE(withoutMnemonic(caption), reads);
        const QString onTab = captionWithoutAccessKey(caption);
        QVERIFY2(QKeySequence::mnemonic(onTab).isEmpty(), qPrintable(onTab));
        QTabBar tabs;
        tabs.addTab(onTab);
        QCOMPARE(withoutMnemonic(tabs.tabText(0)), reads); // what the tab draws
    }
};

QTEST_MAIN(TestStrings)
#include "tst_strings.moc"
