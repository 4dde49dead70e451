#include "core/appstate.h"
#include "core/historystore.h"
#include "core/paths.h"
#include "document/documentwindow.h"
#include "frame/commands/commandregistry.h"
#include "frame/commands/panelcommands.h"
#include "frame/mainwindow.h"
#include "framedocuments.h"
#include "options/optionsdialog.h"
#include "options/optionspage.h"
#include "platform/urlshortcut.h"
#include "sidebar/addgroupdialog.h"
#include "sidebar/favoritesdialogs.h"
#include "sidebar/favoritestree.h"
#include "sidebar/sidebar.h"
#include "sidebar/websitegrouplist.h"
#include "sidebar/websitegroups.h"
#include "testframe.h"
#include "testserver.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

// The side bar's sections and the options dialog in a running frame, as a user meets them.
class TestPanels : public QObject
{
    Q_OBJECT

    TestServer m_server;

    static QTreeWidgetItem *findItem(QTreeWidget *tree, const QString &text)
    {
        const QList<QTreeWidgetItem *> found =
            tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    // Runs the command while answering the modal dialog of type T it shows.
    template<typename T, typename Answer>
    static bool answerDialog(MainWindow &frame, const QString &command, Answer answer)
    {
        return answerDialog<T>([&] { frame.findChild<CommandRegistry *>()->trigger(command); },
                               answer);
    }
    template<typename T, typename Answer>
    static bool answerDialog(const std::function<void()> &trigger, Answer answer)
    {
        bool shown = false;
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
            if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
                poll.stop();
                shown = true;
                answer(dialog);
            }
        });
        poll.start();
        trigger();
        return shown;
    }

private slots:
    void favoritesGroupsAndHistory()
    {
        // What earlier runs left: a shortcut in a folder, a group of two pages, a visit.
        const QString favorites = Paths::dataFile(QStringLiteral("Favorites"));
        QVERIFY(QDir().mkpath(favorites + QStringLiteral("/Work")));
        QVERIFY(writeUrlShortcut(favorites + QStringLiteral("/Work/Plan.url"), m_server.page("Plan")));
        WebsiteGroups groups;
        QVERIFY(groups.saveGroup(QStringLiteral("Pair"), false, QString(),
                                 {m_server.page("One"), m_server.page("Two")}));
        QVERIFY(HistoryStore::instance().addVisit(m_server.page("Visited"), QStringLiteral("Visited")));

        auto frame = makeFrame();
        Sidebar *bar = frame->findChild<Sidebar *>();
        auto *sections = bar->findChild<QTabWidget *>(QStringLiteral("sidebar"));
        auto *favoritesTree = bar->findChild<QTreeWidget *>(QStringLiteral("TreeView1"));
        auto *historyTree = bar->findChild<QTreeWidget *>(QStringLiteral("TreeView2"));
        auto *groupList = bar->findChild<QTreeWidget *>(QStringLiteral("ListView3"));
        QTRY_VERIFY(findItem(favoritesTree, QStringLiteral("Plan")));
        // The history tree waits until its section shows.
        QVERIFY(!findItem(historyTree, QStringLiteral("Today")));
        sections->setCurrentIndex(bar->sectionIndex(QStringLiteral("HISTORY")));
        QTRY_VERIFY(findItem(historyTree, QStringLiteral("Today")));
        QTreeWidgetItem *today = findItem(historyTree, QStringLiteral("Today"));
        QCOMPARE(today->childCount(), 1);
        QCOMPARE(today->child(0)->text(0), QStringLiteral("Visited"));
        QCOMPARE(groupList->topLevelItemCount(), 1);

        // A favorite and a history entry open with no document in new tabs; the group adds
        // a tab for each of its pages.
        bar->findChild<FavoritesTree *>()->openNode(findItem(favoritesTree, QStringLiteral("Plan")));
        QTRY_COMPARE(frameDocuments(*frame).size(), 1);
        bar->findChild<WebsiteGroupList *>()->openRow(groupList->topLevelItem(0));
        QTRY_COMPARE(frameDocuments(*frame).size(), 3);
        QTRY_COMPARE(activeFrameDocument(*frame)->locationName(), QStringLiteral("Two"));

        // Add to Favorites: the page of the active tab, kept in the folder chosen.
        QVERIFY(answerDialog<AddFavoriteDialog>(*frame, QStringLiteral("mnuViewAddToFav"),
                                                [](AddFavoriteDialog *dialog) { dialog->accept(); }));
        QVERIFY(QFile::exists(favorites + QStringLiteral("/Two.url")));
        QCOMPARE(readUrlShortcut(favorites + QStringLiteral("/Two")), m_server.page("Two"));
        QTRY_VERIFY(findItem(favoritesTree, QStringLiteral("Two")));

        // The open tabs saved as a group, once each one's page has its address (a covered
        // tab's may come after the front one's).
        const auto tabAddresses = [&frame] {
            QStringList addresses;
            for (const DocumentWindow *document : frameDocuments(*frame))
                addresses << document->locationUrl();
            return addresses;
        };
        QTRY_COMPARE(tabAddresses(), QStringList({m_server.page("Plan"), m_server.page("One"),
                                                  m_server.page("Two")}));
        auto *addGroup = bar->findChild<QToolButton *>(QStringLiteral("btnGroupAdd"));
        QVERIFY(answerDialog<AddGroupDialog>([addGroup] { addGroup->click(); },
                                             [](AddGroupDialog *dialog) { dialog->onOk(); }));
        QCOMPARE(groupList->topLevelItemCount(), 2);
        QStringList reopened;
        QVERIFY(groups.openGroup(QStringLiteral("Group1"), false, QString(),
                                 [&reopened](const QString &address) { reopened << address; }));
        QCOMPARE(reopened, QStringList({m_server.page("Plan"), m_server.page("One"),
                                        m_server.page("Two")}));

        frame->findChild<CommandRegistry *>()->trigger(QStringLiteral("mnuViewHistory"));
        QCOMPARE(bar->sectionKey(sections->currentIndex()), QStringLiteral("HISTORY"));
        frame->close();
    }

    // Each way into the options dialog opens it on its own page.
    void optionsOpenOnTheirCommandsPage()
    {
        auto frame = makeFrame();
        const auto pageShown = [](const std::function<void()> &trigger) {
            auto shown = OptionsPageId(0);
            answerDialog<OptionsDialog>(trigger, [&shown](OptionsDialog *dialog) {
                shown = dialog->currentPage();
                dialog->reject();
            });
            return shown;
        };
        const auto command = [&frame](const char *key) {
            return [&frame, key] {
                frame->findChild<CommandRegistry *>()->trigger(QLatin1String(key));
            };
        };
        QCOMPARE(pageShown(command("mnuViewOptions")), OptionsPageId::General);
        QCOMPARE(pageShown(command("mnuCustomSitesToolbar")), OptionsPageId::CustomLinks);
        QCOMPARE(pageShown(command("mnuContentFormData")), OptionsPageId::Forms);
        // Any page, by the one key with the page as its data.
        QCOMPARE(pageShown([&frame] {
                     frame->findChild<CommandRegistry *>()->run(
                         QLatin1String(PanelCommands::kOptionsPageKey), qint32(OptionsPageId::Skins));
                 }),
                 OptionsPageId::Skins);
        auto *rssSettings = frame->findChild<QToolButton *>(QStringLiteral("cmdRssSetting"));
        QVERIFY(rssSettings);
        QCOMPARE(pageShown([rssSettings] { rssSettings->click(); }), OptionsPageId::RssReader);
        frame->close();
    }

    void optionsApplyAndStay()
    {
        auto frame = makeFrame();
        QVERIFY(
            frame->findChild<CommandRegistry *>()->isChecked(QStringLiteral("mnuContentImage")));
        QVERIFY(answerDialog<OptionsDialog>(*frame, QStringLiteral("mnuViewOptions"),
                                            [](OptionsDialog *dialog) {
            QCOMPARE(dialog->currentPage(), OptionsPageId::General);
            dialog->page(OptionsPageId::Content)
                ->findChild<QCheckBox *>(QStringLiteral("chkDownload0"))
                ->setChecked(false);
            dialog->accept();
        }));
        QVERIFY(!AppState::settings.enableImages);
        QVERIFY(
            !frame->findChild<CommandRegistry *>()->isChecked(QStringLiteral("mnuContentImage")));
        frame->close();
        frame.reset();

        // The next start finds it so.
        AppState::settings.enableImages = true;
        frame = makeFrame();
        QVERIFY(!AppState::settings.enableImages);
        QVERIFY(
            !frame->findChild<CommandRegistry *>()->isChecked(QStringLiteral("mnuContentImage")));

        // Cancel changes nothing.
        QVERIFY(answerDialog<OptionsDialog>(*frame, QStringLiteral("mnuViewOptions"),
                                            [](OptionsDialog *dialog) {
            dialog->page(OptionsPageId::Content)
                ->findChild<QCheckBox *>(QStringLiteral("chkDownload0"))
                ->setChecked(true);
            dialog->reject();
        }));
        QVERIFY(!AppState::settings.enableImages);
        frame->close();
    }
};

QTEST_MAIN(TestPanels)
#include "tst_panels.moc"
