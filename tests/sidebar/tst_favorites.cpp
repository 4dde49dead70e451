#include "core/appstate.h"
#include "sidebar/favoritesdialogs.h"
#include "sidebar/favoritesscan.h"
#include "sidebar/favoritestree.h"
#include "platform/urlshortcut.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

class TestFavorites : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_root;
    const QString m_oddFolder = QStringLiteral("He said \"hi\", then left");
    const QString m_oddName = QStringLiteral("x\"y,z");
    const QString m_oddUrl = QStringLiteral("http://q.example/?a=\"1\",b=\"2\"");

    void shortcut(const QString &relative, const QString &url)
    {
        const QString path = QDir(m_root).filePath(relative);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(writeUrlShortcut(path, url));
    }

    // The tree's items by key, depth first.
    static QStringList keys(QTreeWidget &tree)
    {
        QStringList result;
        for (QTreeWidgetItemIterator it(&tree); *it; ++it)
            result.append((*it)->data(0, Qt::UserRole).toString());
        return result;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_root = FavoritesTree::favoritesFolder();
        for (int i = 0; i < 11; ++i)
            shortcut(QStringLiteral("Links/L%1.url").arg(i, 2, 10, QLatin1Char('0')),
                     QStringLiteral("http://l%1.example/").arg(i));
        shortcut(QStringLiteral("links/lower.url"), QStringLiteral("http://lower.example/"));
        shortcut(QStringLiteral("Deep/Links/deep.url"), QStringLiteral("http://deep.example/"));
        shortcut(QStringLiteral("Dup/a.url"), QStringLiteral("http://same.example/"));
        shortcut(QStringLiteral("Dup/b.url"), QStringLiteral("http://same.example/"));
        shortcut(QStringLiteral("Caps.URL"), QStringLiteral("http://caps.example/"));
        shortcut(QStringLiteral(".url"), QStringLiteral("http://nameless.example/"));
        shortcut(m_oddFolder + QLatin1Char('/') + m_oddName + QStringLiteral(".url"), m_oddUrl);
        QVERIFY(QDir().mkpath(m_root + QStringLiteral("/Loop")));
        QVERIFY(QFile::link(m_root, m_root + QStringLiteral("/Loop/up")));
        // Links out of the folder, to a folder and to a shortcut elsewhere.
        const QString elsewhere = m_dir.filePath(QStringLiteral("Elsewhere"));
        QVERIFY(QDir().mkpath(elsewhere));
        QFile outside(elsewhere + QStringLiteral("/secret.url"));
        QVERIFY(outside.open(QIODevice::WriteOnly));
        outside.write("[InternetShortcut]\nURL=http://outside.example/\n");
        outside.close();
        QVERIFY(QFile::link(elsewhere, m_root + QStringLiteral("/Out")));
        QVERIFY(QFile::link(outside.fileName(), m_root + QStringLiteral("/outfile.url")));
    }

    void scanTreeAndCache()
    {
        QTreeWidget tree;
        FavoritesTree favorites(&tree, SidebarHost());
        favorites.setStartTarget(QStringLiteral("http://nowhere.example/"));
        favorites.loadFavorites();

        // Scan order, depth first: "Deep/Links" then the first nine of "Links" fill the ten
        // places; "links" never counts.
        QStringList expectedLinks{QStringLiteral("deep")};
        for (int i = 0; i < 9; ++i)
            expectedLinks.append(QStringLiteral("L%1").arg(i, 2, 10, QLatin1Char('0')));
        QCOMPARE(AppState::linkNames, expectedLinks);
        QCOMPARE(AppState::linkUrls.at(1), QStringLiteral("http://l0.example/"));

        // What the tree read: a scan of the same folder.
        FavoritesScan scan;
        QVERIFY(scan.scan(m_root));
        const QList<FavoritesScan::Record> records = scan.records();
        QStringList names;
        for (const FavoritesScan::Record &record : records)
            names.append(record.name);
        // The loop through "Loop/up" is not followed: every shortcut comes once. Links that
        // lead out of the folder are not followed at all.
        QCOMPARE(names.size(), 11 + 1 + 1 + 2 + 1 + 1);
        QVERIFY(!names.contains(QStringLiteral("secret")) && !names.contains(QStringLiteral("outfile")));
        QVERIFY(names.contains(QStringLiteral("Caps")));
        QVERIFY(!names.contains(QString()));
        QVERIFY(names.contains(QStringLiteral("a")) && names.contains(QStringLiteral("b")));

        const QStringList treeKeys = keys(tree);
        QCOMPARE(treeKeys.count(QStringLiteral("http://same.example/")), 1);
        QCOMPARE(treeKeys.count(QStringLiteral("http://caps.example/")), 1);
        QCOMPARE(treeKeys.count(m_oddUrl), 1);
        QVERIFY(treeKeys.contains(m_root + QStringLiteral("/Loop/up")));
        QVERIFY(!treeKeys.contains(m_root + QStringLiteral("/Out")));
        QCOMPARE(tree.currentItem(), nullptr); // no node matches the start target

        // The cache holds the folder nodes only (no start node) and every record, and reads
        // back as written, quotes and commas included.
        QList<FavoritesScan::Node> nodes;
        QList<FavoritesScan::Record> cached;
        QVERIFY(FavoritesScan::readCache(FavoritesTree::cacheFile(), &nodes, &cached));
        QCOMPARE(cached, records);
        QCOMPARE(nodes, scan.folders());
        QVERIFY(std::none_of(nodes.cbegin(), nodes.cend(), [](const FavoritesScan::Node &n) {
            return n.key.startsWith(QLatin1String("http"));
        }));
        QVERIFY(std::any_of(nodes.cbegin(), nodes.cend(), [this](const FavoritesScan::Node &n) {
            return n.text == m_oddFolder;
        }));

        // A cache whose inner quotes were written as they are still reads.
        QCOMPARE(FavoritesScan::parseFields(u"\"a\"b\",\"c,\"d\",\"\""),
                 (QStringList{QStringLiteral("a\"b"), QStringLiteral("c,\"d"), QString()}));

        // Built from the cache, the tree has the same leaves.
        QTreeWidget again;
        FavoritesTree fromCache(&again, SidebarHost());
        fromCache.loadFavorites(false);
        QCOMPARE(keys(again), treeKeys);
    }

    void startNodeAndOpening()
    {
        QTreeWidget tree;
        QStringList opened;
        SidebarHost host;
        host.openDocument = [&opened](const QString &address) { opened.append(address); };
        FavoritesTree favorites(&tree, host);
        favorites.loadFavorites();
        QVERIFY(tree.currentItem());
        QCOMPARE(tree.currentItem()->data(0, Qt::UserRole).toString(), m_root + QLatin1Char('/'));
        // The cache then holds the leaves as nodes too.
        QList<FavoritesScan::Node> nodes;
        QList<FavoritesScan::Record> cached;
        QVERIFY(FavoritesScan::readCache(FavoritesTree::cacheFile(), &nodes, &cached));
        QVERIFY(std::any_of(nodes.cbegin(), nodes.cend(), [](const FavoritesScan::Node &n) {
            return n.key == QLatin1String("http://caps.example/");
        }));

        favorites.setStartTarget((m_root + QStringLiteral("/DUP")));
        favorites.loadFavorites();
        QTreeWidgetItem *dup = tree.currentItem();
        QVERIFY(dup && dup->isExpanded());
        QCOMPARE(dup->text(0), QStringLiteral("Dup"));

        favorites.openNode(dup); // a folder with leaves is not opened
        QVERIFY(opened.isEmpty());
        favorites.openNode(dup->child(0));
        QCOMPARE(opened, QStringList{QStringLiteral("http://same.example/")});
    }

    void nestedLoadReturnsAtOnce()
    {
        QTreeWidget tree;
        FavoritesTree favorites(&tree, SidebarHost());
        QSignalSpy loaded(&favorites, &FavoritesTree::loaded);
        int nestedWhileBusy = 0;
        QTimer::singleShot(0, &favorites, [&] {
            QVERIFY(!favorites.loadFavorites()); // the first load is still running
            ++nestedWhileBusy;
            QCOMPARE(loaded.count(), 0);
        });
        QVERIFY(favorites.loadFavorites());
        QCOMPARE(nestedWhileBusy, 1);
        QCOMPARE(loaded.count(), 1);
        QList<FavoritesScan::Node> nodes;
        QList<FavoritesScan::Record> records;
        QVERIFY(FavoritesScan::readCache(FavoritesTree::cacheFile(), &nodes, &records));
        QCOMPARE(records.size(), 17);
        // Once it is done, the next load runs.
        QVERIFY(favorites.loadFavorites());
        QCOMPARE(loaded.count(), 2);
    }

    void addDialogNames()
    {
        QCOMPARE(FavoriteNames::fromTitle(QStringLiteral("../../etc/passwd")),
                 QStringLiteral("etc passwd"));
        QCOMPARE(FavoriteNames::fromTitle(QStringLiteral("..")), QStringLiteral("Untitled"));
        QCOMPARE(FavoriteNames::fromTitle(QString(300, QLatin1Char('x'))).size(),
                 FavoriteNames::kMaxLength);
        QCOMPARE(FavoriteNames::fromTitle(QString::fromUtf16(u"a\nb\\c\0d", 7)), QStringLiteral("a b c d"));

        const QString folder = m_dir.filePath(QStringLiteral("AddHere"));
        QStringList messages;
        SidebarHost host;
        host.messageBox = [&messages](QWidget *, QMessageBox::Icon, const QString &text,
                                      QMessageBox::StandardButtons) {
            messages.append(text);
            return QMessageBox::No;
        };
        QString suggested;
        bool stayedOpen = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<AddFavoriteDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("txtName"));
            suggested = name->text();
            name->setText(QStringLiteral("../escape"));
            dialog->accept();
            stayedOpen = dialog->isVisible();
            name->setText(suggested);
            dialog->accept();
        });
        const QString path = AddFavoriteDialog::addToFavorites(
            nullptr, QStringLiteral("News / Today"), QStringLiteral("http://news.example/"),
            folder, host);
        QVERIFY(stayedOpen);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(suggested, QStringLiteral("News Today"));
        QCOMPARE(path, folder + QStringLiteral("/News Today.url"));
        QCOMPARE(readUrlShortcut(path.chopped(4)), QStringLiteral("http://news.example/"));
        QCOMPARE(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther), 0);

        // The same name again asks before replacing; "No" keeps the old shortcut.
        QTimer::singleShot(0, this, [] {
            auto *dialog = qobject_cast<AddFavoriteDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->accept();
            dialog->reject();
        });
        QCOMPARE(AddFavoriteDialog::addToFavorites(nullptr, QStringLiteral("News / Today"),
                                                   QStringLiteral("http://other.example/"),
                                                   folder, host),
                 QString());
        QCOMPARE(messages.size(), 2);
        QCOMPARE(readUrlShortcut(path.chopped(4)), QStringLiteral("http://news.example/"));

        // A title beginning with a colon is a name in the folder like any other.
        QTimer::singleShot(0, this, [] {
            if (auto *dialog = qobject_cast<AddFavoriteDialog *>(QApplication::activeModalWidget()))
                dialog->accept();
        });
        QCOMPARE(AddFavoriteDialog::addToFavorites(nullptr, QStringLiteral(":: News ::"),
                                                   QStringLiteral("http://colon.example/"), folder, host),
                 folder + QStringLiteral("/:: News ::.url"));
        QCOMPARE(readUrlShortcut(folder + QStringLiteral("/:: News ::")), QStringLiteral("http://colon.example/"));
    }

    void organizeNeverOverwrites()
    {
        const QString folder = m_dir.filePath(QStringLiteral("Organize"));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/Sub")));
        QVERIFY(writeUrlShortcut(folder + QStringLiteral("/a.url"), QStringLiteral("http://a/")));
        QVERIFY(writeUrlShortcut(folder + QStringLiteral("/Sub/a.url"), QStringLiteral("http://sub/")));
        QVERIFY(writeUrlShortcut(folder + QStringLiteral("/b.url"), QStringLiteral("http://b/")));
        QVERIFY(QFile::link(folder + QStringLiteral("/Sub"), folder + QStringLiteral("/SubLink")));
        int refusals = 0;
        QMessageBox::StandardButton answer = QMessageBox::No;
        SidebarHost host;
        host.messageBox = [&](QWidget *, QMessageBox::Icon icon, const QString &,
                              QMessageBox::StandardButtons) {
            refusals += icon == QMessageBox::Warning;
            return answer;
        };
        OrganizeFavoritesDialog dialog(folder, host);
        QVERIFY(!dialog.renameEntry(folder + QStringLiteral("/a.url"), QStringLiteral("b")));
        QVERIFY(!dialog.moveEntry(folder + QStringLiteral("/a.url"), folder + QStringLiteral("/Sub")));
        QVERIFY(!dialog.moveEntry(folder + QStringLiteral("/Sub"), folder + QStringLiteral("/Sub")));
        QVERIFY(!dialog.renameEntry(folder + QStringLiteral("/a.url"), QStringLiteral("../a")));
        QCOMPARE(refusals, 4);
        QCOMPARE(readUrlShortcut(folder + QStringLiteral("/b")), QStringLiteral("http://b/"));
        QCOMPARE(readUrlShortcut(folder + QStringLiteral("/Sub/a")), QStringLiteral("http://sub/"));

        QVERIFY(!dialog.deleteEntry(folder + QStringLiteral("/a.url"))); // answered No
        QVERIFY(QFile::exists(folder + QStringLiteral("/a.url")));
        answer = QMessageBox::Yes;
        QVERIFY(dialog.deleteEntry(folder + QStringLiteral("/SubLink")));
        QVERIFY(QFile::exists(folder + QStringLiteral("/Sub/a.url"))); // only the link went
        QVERIFY(dialog.renameEntry(folder + QStringLiteral("/a.url"), QStringLiteral("c")));
        QVERIFY(dialog.moveEntry(folder + QStringLiteral("/c.url"), folder + QStringLiteral("/Sub")));
        QCOMPARE(readUrlShortcut(folder + QStringLiteral("/Sub/c")), QStringLiteral("http://a/"));
    }
};

QTEST_MAIN(TestFavorites)
#include "tst_favorites.moc"
