#include "core/strings.h"
#include "core/userfile.h"
#include "sidebar/addgroupdialog.h"
#include "sidebar/websitegrouplist.h"
#include "sidebar/websitegroups.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

class TestWebsiteGroups : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_serial = 0;
    QStringList m_messages;
    QMessageBox::StandardButton m_answer = QMessageBox::Yes;

    // A fresh groups folder (not created yet) under its own parent.
    QString newFolder()
    {
        const QString parent = m_dir.filePath(QString::number(++m_serial));
        QDir().mkpath(parent);
        return parent + QStringLiteral("/groups");
    }

    SidebarHost host(const QStringList &open, QStringList *opened = nullptr)
    {
        SidebarHost h;
        h.openAddresses = [open] { return open; };
        h.openDocument = [opened](const QString &address) {
            if (opened)
                *opened << address;
        };
        h.messageBox = [this](QWidget *, QMessageBox::Icon, const QString &text,
                              QMessageBox::StandardButtons) {
            m_messages << text;
            return m_answer;
        };
        return h;
    }

    static QStringList opened(const WebsiteGroups &groups, const QString &name, bool isProtected,
                              const QString &password, bool *ok = nullptr)
    {
        QStringList addresses;
        const bool result = groups.openGroup(name, isProtected, password,
                                             [&](const QString &a) { addresses << a; });
        if (ok)
            *ok = result;
        return addresses;
    }

    template <typename T> static T *control(QWidget &parent, const char *name)
    {
        T *widget = parent.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    // Opens the row while answering the password dialog it asks with: the typed password and
    // OK, or Cancel when nothing is typed. Returns how many password dialogs were shown.
    static int openAnswering(WebsiteGroupList &list, QTreeWidgetItem *row,
                             const std::optional<QString> &typed)
    {
        int asked = 0;
        QTimer::singleShot(0, &list, [&asked, typed] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog || dialog->objectName() != QLatin1String("frmPassword"))
                return;
            ++asked;
            if (!typed) {
                control<QPushButton>(*dialog, "cmdCancel")->click();
                return;
            }
            control<QLineEdit>(*dialog, "txtPassword")->setText(*typed);
            control<QPushButton>(*dialog, "cmdOK")->click();
        });
        list.openRow(row);
        QCoreApplication::processEvents(); // an answer that found no dialog is not left for later
        return asked;
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void plainGroupRoundTrip()
    {
        const QString folder = newFolder();
        WebsiteGroups groups(folder);
        bool ok = false;
        QCOMPARE(opened(groups, QStringLiteral("Work"), false, QString(), &ok), QStringList());
        QVERIFY(!ok); // no file yet

        QVERIFY(groups.saveGroup(QStringLiteral("Work"), false, QStringLiteral("ignored"),
                                 {QStringLiteral("http://a.example/"), QString(),
                                  QStringLiteral("http://b.example/?q=1")}));
        const QString file = folder + QStringLiteral("/Work.gbr");
        QCOMPARE(contents(file), QByteArray("http://a.example/\r\n\r\nhttp://b.example/?q=1\r\n"));
        // Nothing for the group or others, on the file or the folder.
        QCOMPARE(int(QFile::permissions(file) & 0x00FF), 0);
        QCOMPARE(int(QFile::permissions(folder) & 0x00FF), 0);
        QCOMPARE(opened(groups, QStringLiteral("Work"), false, QString(), &ok),
                 QStringList({QStringLiteral("http://a.example/"),
                              QStringLiteral("http://b.example/?q=1")}));
        QVERIFY(ok);

        // No documents open: an empty file that opens nothing, successfully.
        QVERIFY(groups.saveGroup(QStringLiteral("Empty"), false, QString(), {}));
        QCOMPARE(contents(folder + QStringLiteral("/Empty.gbr")), QByteArray());
        QCOMPARE(opened(groups, QStringLiteral("Empty"), false, QString(), &ok), QStringList());
        QVERIFY(ok);
    }

    void protectedGroupFile()
    {
        const QString folder = newFolder();
        WebsiteGroups groups(folder);
        const QStringList two = {QStringLiteral("http://one.example/"),
                                 QStringLiteral("https://two.example/path")};
        QVERIFY(groups.saveGroup(QStringLiteral("Bank"), true, QStringLiteral("ac"), two));
        const QString file = folder + QStringLiteral("/Bank.gbs");
        const QByteArray data = contents(file);
        QCOMPARE(data.size(), 518);
        const quint8 key = WebsiteGroups::keyFromPassword(QStringLiteral("ac"));
        QCOMPARE(key, quint8(('a' + 'c') % 256));
        for (int i = 0; i < 6; ++i)
            QCOMPARE(quint8(data[i]) ^ key, quint8("qorvix"[i]));
        QCOMPARE(quint8(data[6]) ^ key, quint8('h'));
        QCOMPARE(quint8(data[6 + 255]), key); // padding

        bool ok = false;
        QCOMPARE(opened(groups, QStringLiteral("Bank"), true, QStringLiteral("ac"), &ok), two);
        QVERIFY(ok);
        QCOMPARE(opened(groups, QStringLiteral("Bank"), true, QStringLiteral("ad"), &ok),
                 QStringList());
        QVERIFY(!ok);
        // The key is only the sum of the codes: another password with the same sum opens it.
        QCOMPARE(opened(groups, QStringLiteral("Bank"), true, QStringLiteral("bb"), &ok), two);
        QVERIFY(ok);
        // The plain group of the same name is another file.
        QCOMPARE(opened(groups, QStringLiteral("Bank"), false, QString(), &ok), QStringList());
        QVERIFY(!ok);

        // 256 characters fill a record without padding; longer addresses are cut.
        const QString full = QStringLiteral("http://x.example/") + QString(239, u'a');
        const QString longer = QStringLiteral("http://y.example/") + QString(283, u'b');
        QCOMPARE(full.size(), 256);
        QVERIFY(groups.saveGroup(QStringLiteral("Long"), true, QStringLiteral("k"),
                                 {full, longer, QStringLiteral("http://\xe9t\xe9.example/")}));
        QCOMPARE(contents(folder + QStringLiteral("/Long.gbs")).size(), 6 + 3 * 256);
        QCOMPARE(opened(groups, QStringLiteral("Long"), true, QStringLiteral("k")),
                 QStringList({full, longer.left(256), QStringLiteral("http://\xe9t\xe9.example/")}));

        // A file that ends inside a record opens the whole records before it and fails as
        // damaged, not as a wrong password.
        QVERIFY(UserFile::save(file, data + QByteArray(10, 'z')));
        WebsiteGroups::OpenFailure failure = WebsiteGroups::OpenFailure::None;
        QCOMPARE(opened(groups, QStringLiteral("Bank"), true, QStringLiteral("ac"), &ok), two);
        QVERIFY(!ok);
        QVERIFY(!groups.openGroup(QStringLiteral("Bank"), true, QStringLiteral("ad"), {}, &failure));
        QCOMPARE(failure, WebsiteGroups::OpenFailure::WrongPassword);
        QVERIFY(!groups.openGroup(QStringLiteral("Bank"), true, QStringLiteral("ac"), {}, &failure));
        QCOMPARE(failure, WebsiteGroups::OpenFailure::Damaged);
    }

    void listingAndLetterCase()
    {
        const QString folder = newFolder();
        WebsiteGroups groups(folder);
        QVERIFY(groups.saveGroup(QStringLiteral("Work"), true, QStringLiteral("pw"),
                                 {QStringLiteral("http://secret.example/")}));
        const QDir dir(folder);
        QVERIFY(UserFile::save(dir.filePath(QStringLiteral("Work.GBR")), "http://work.example/\r\n"));
        QVERIFY(UserFile::save(dir.filePath(QStringLiteral("Alpha.gbr")), "http://alpha.example/\n"));
        QVERIFY(UserFile::save(dir.filePath(QStringLiteral("notes.txt")), "x"));
        QVERIFY(UserFile::save(dir.filePath(QStringLiteral(".gbr")), "x"));
        QVERIFY(dir.mkdir(QStringLiteral("Sub.gbr")));

        QStringList rows;
        for (const WebsiteGroups::Group &g : groups.groups())
            rows << g.name + (g.isProtected ? QStringLiteral("+") : QString());
        QCOMPARE(rows, QStringList({QStringLiteral("Work+"), QStringLiteral("Work"),
                                    QStringLiteral("Alpha")}));

        QCOMPARE(opened(groups, QStringLiteral("Work"), false, QString()),
                 QStringList{QStringLiteral("http://work.example/")});
        // Saving under the same name in another case replaces the file that is there.
        QVERIFY(groups.saveGroup(QStringLiteral("work"), false, QString(),
                                 {QStringLiteral("http://new.example/")}));
        QCOMPARE(contents(dir.filePath(QStringLiteral("Work.GBR"))),
                 QByteArray("http://new.example/\r\n"));
        QVERIFY(!dir.exists(QStringLiteral("work.gbr")));

        // Each kind deletes its own file.
        QVERIFY(groups.deleteGroup(QStringLiteral("Work"), false));
        QVERIFY(!dir.exists(QStringLiteral("Work.GBR")));
        QVERIFY(dir.exists(QStringLiteral("Work.gbs")));
        QCOMPARE(opened(groups, QStringLiteral("Work"), true, QStringLiteral("pw")),
                 QStringList{QStringLiteral("http://secret.example/")});
        QVERIFY(groups.deleteGroup(QStringLiteral("Work"), true));
        QVERIFY(!dir.exists(QStringLiteral("Work.gbs")));
    }

    void hostileNamesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("parent") << QStringLiteral("..");
        QTest::newRow("self") << QStringLiteral(".");
        QTest::newRow("climb") << QStringLiteral("../evil");
        QTest::newRow("slash") << QStringLiteral("a/b");
        QTest::newRow("backslash") << QStringLiteral("..\\evil");
        QTest::newRow("line break") << QStringLiteral("a\nb");
        QTest::newRow("nul") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
        QTest::newRow("41 characters") << QString(41, u'n');
    }

    void hostileNamesAreRefused()
    {
        QFETCH(QString, name);
        const QString folder = newFolder();
        WebsiteGroups groups(folder);
        QVERIFY(groups.saveGroup(QStringLiteral("Keep"), false, QString(), {}));
        const QDir parent = QFileInfo(folder).dir();
        for (bool isProtected : {false, true})
            QVERIFY(!groups.saveGroup(name, isProtected, QStringLiteral("pw"), {QStringLiteral("x")}));
        QCOMPARE(parent.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("groups")});
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Keep.gbr")});
        QVERIFY(WebsiteGroups::isValidName(QString(40, u'n')));
    }

    void nameStartingWithColonStaysInTheFolder()
    {
        // Found by fuzz_groups: such a group was written to the working folder.
        const QString folder = newFolder();
        WebsiteGroups groups(folder);
        const QString working = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QFileInfo(folder).path()));
        const bool saved = groups.saveGroup(QStringLiteral(":work"), true, QStringLiteral("pw"),
                                            {QStringLiteral("http://a.example/")});
        const QStringList strays = QDir::current().entryList(QDir::Files | QDir::Hidden);
        QDir::setCurrent(working);
        QVERIFY(saved);
        QCOMPARE(strays, QStringList());
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("/:work.gbs")));
        QCOMPARE(opened(groups, QStringLiteral(":work"), true, QStringLiteral("pw")),
                 QStringList{QStringLiteral("http://a.example/")});
    }

    void failedSaveKeepsTheOldFile()
    {
        const QString folder = newFolder();
        WebsiteGroups groups(folder);
        QVERIFY(groups.saveGroup(QStringLiteral("Keep"), true, QStringLiteral("pw"),
                                 {QStringLiteral("http://old.example/")}));
        const QString file = folder + QStringLiteral("/Keep.gbs");
        const QByteArray before = contents(file);
        // Nothing outside Latin-1 fits the scrambled records or the key.
        QVERIFY(!groups.saveGroup(QStringLiteral("Keep"), true, QStringLiteral("pw"),
                                  {QStringLiteral("http://new.example/\u20ac")}));
        QVERIFY(!groups.saveGroup(QStringLiteral("Keep"), true, QStringLiteral("\u20ac"),
                                  {QStringLiteral("http://new.example/")}));
        QCOMPARE(contents(file), before);

        // A folder that cannot be made.
        QVERIFY(UserFile::save(m_dir.filePath(QStringLiteral("plainfile")), "x"));
        WebsiteGroups blocked(m_dir.filePath(QStringLiteral("plainfile")));
        QVERIFY(!blocked.saveGroup(QStringLiteral("Keep"), false, QString(), {}));
    }

    void dialogAsksBeforeReplacingAndChecksThePassword()
    {
        const QString folder = newFolder();
        WebsiteGroups groups(folder);
        QVERIFY(groups.saveGroup(QStringLiteral("Group1"), false, QString(),
                                 {QStringLiteral("http://old.example/")}));
        const QString plain = folder + QStringLiteral("/Group1.gbr");
        const SidebarHost h = host({QStringLiteral("http://new.example/")});
        m_messages.clear();

        AddGroupDialog first(groups, h);
        first.show();
        QCOMPARE(control<QLineEdit>(first, "txtGroupName")->text(), QStringLiteral("Group1"));
        m_answer = QMessageBox::No;
        QTest::mouseClick(control<QPushButton>(first, "OKButton"), Qt::LeftButton);
        QCOMPARE(m_messages, QStringList{loadResString(19002)});
        QVERIFY(first.isVisible());
        QCOMPARE(contents(plain), QByteArray("http://old.example/\r\n"));

        // A password typed only once is refused; the protected group is new, so no question.
        m_messages.clear();
        control<QLineEdit>(first, "txtPassword")->setText(QStringLiteral("pw"));
        QTest::mouseClick(control<QPushButton>(first, "OKButton"), Qt::LeftButton);
        QCOMPARE(m_messages, QStringList{loadResString(19010)});
        QVERIFY(first.isVisible());
        QVERIFY(!QFile::exists(folder + QStringLiteral("/Group1.gbs")));

        m_messages.clear();
        control<QLineEdit>(first, "txtConfirm")->setText(QStringLiteral("pw"));
        QTest::mouseClick(control<QPushButton>(first, "OKButton"), Qt::LeftButton);
        QCOMPARE(m_messages, QStringList());
        QCOMPARE(first.result(), int(QDialog::Accepted));
        QCOMPARE(opened(groups, QStringLiteral("Group1"), true, QStringLiteral("pw")),
                 QStringList{QStringLiteral("http://new.example/")});

        // Yes replaces the plain group; the name matches in any letter case.
        AddGroupDialog second(groups, h);
        second.show();
        control<QLineEdit>(second, "txtGroupName")->setText(QStringLiteral("GROUP1"));
        m_answer = QMessageBox::Yes;
        QTest::mouseClick(control<QPushButton>(second, "OKButton"), Qt::LeftButton);
        QCOMPARE(m_messages, QStringList{loadResString(19002)});
        QCOMPARE(second.result(), int(QDialog::Accepted));
        QCOMPARE(contents(plain), QByteArray("http://new.example/\r\n"));

        control<QLineEdit>(second, "txtGroupName")->clear();
        QVERIFY(!control<QPushButton>(second, "OKButton")->isEnabled());
    }

    void listOpensAndRemovesGroups()
    {
        const QString folder = newFolder();
        WebsiteGroups groups(folder);
        QVERIFY(groups.saveGroup(QStringLiteral("A"), false, QString(), {QStringLiteral("http://a/")}));
        QVERIFY(groups.saveGroup(QStringLiteral("B"), true, QStringLiteral("pw"), {QStringLiteral("http://b/")}));
        QStringList tabs;
        QTreeWidget list;
        list.setHeaderHidden(true);
        QToolButton add, remove;
        WebsiteGroupList controller(&list, &add, &remove, host({}, &tabs), nullptr, folder);
        controller.fillGroupList();
        list.resize(200, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCOMPARE(list.topLevelItemCount(), 2);
        QTreeWidgetItem *b = list.topLevelItem(0);
        QCOMPARE(b->text(0), QStringLiteral("B"));
        QVERIFY(b->data(0, WebsiteGroupList::kProtectedRole).toBool());
        QVERIFY(remove.isEnabled());

        m_messages.clear();
        QCOMPARE(openAnswering(controller, b, std::nullopt), 1); // cancelled
        QCOMPARE(openAnswering(controller, b, QStringLiteral("wrong")), 1);
        QCOMPARE(tabs, QStringList());
        QCOMPARE(m_messages, QStringList{loadResString(19011)});
        QCOMPARE(openAnswering(controller, b, QStringLiteral("pw")), 1);
        QCOMPARE(tabs, QStringList{QStringLiteral("http://b/")});

        // A plain file damaged since the list was filled (another file's bytes) opens no tab
        // and says why.
        const QString fileA = folder + QStringLiteral("/A.gbr");
        const QByteArray goodA = contents(fileA);
        QVERIFY(UserFile::save(fileA, QByteArray("\x7f" "ELF\0\0\nhttp://x/\n", 15)));
        m_messages.clear();
        controller.openRow(list.topLevelItem(1));
        QCOMPARE(tabs.size(), 1);
        QCOMPARE(m_messages, QStringList{loadResString(19014)});
        QVERIFY(UserFile::save(fileA, goodA));

        // A press on empty space leaves no row selected: the question comes, nothing goes.
        m_messages.clear();
        m_answer = QMessageBox::Yes;
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(100, 150));
        QTest::keyClick(&list, Qt::Key_Delete);
        QCOMPARE(m_messages, QStringList{loadResString(19005)});
        QCOMPARE(list.topLevelItemCount(), 2);

        // A right-button press selects; Enter opens like a double click; Delete removes.
        const QPoint rowA = list.visualItemRect(list.topLevelItem(1)).center();
        QTest::mouseClick(list.viewport(), Qt::RightButton, {}, rowA);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(tabs.last(), QStringLiteral("http://a/"));
        QTest::keyClick(&list, Qt::Key_Delete);
        QCOMPARE(list.topLevelItemCount(), 1);
        QVERIFY(!QFile::exists(folder + QStringLiteral("/A.gbr")));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.topLevelItem(0)).center());
        remove.click();
        QCOMPARE(list.topLevelItemCount(), 0);
        QVERIFY(!remove.isEnabled());
    }
};

QTEST_MAIN(TestWebsiteGroups)
#include "tst_websitegroups.moc"
