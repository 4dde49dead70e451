#include "menucontroller.h"

#include "frame/documents/documentarea.h"

#include "commandhost.h"
#include "commandregistry.h"
#include "core/appstate.h"
#include "core/settingsstore.h"
#include "document/documentwindow.h"
#include "frame/chrome/keyedmenu.h"
#include "shortcutrules.h"

#include <QAction>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWebEngineHistory>

MenuController::MenuController(CommandHost &host, CommandRegistry &commands, QObject *parent)
    : QObject(parent), m_host(host), m_commands(commands)
{
}

void MenuController::buildMenuBar(QMenuBar *bar)
{
    delete m_mainMenu;
    m_mainMenu = new KeyedMenu(this);
    m_mainMenu->setOwner(m_host.frameWidget());
    m_mainMenu->setCommands(&m_commands);
    FrameMenus::buildMainMenu(*m_mainMenu);
    connect(m_mainMenu, &KeyedMenu::aboutToShowItem, this, &MenuController::onMainMenuAboutToShow);
    m_mainMenu->buildMenuBar(bar);
    bindCaptionKeys();
}

void MenuController::bindCaptionKeys()
{
    // A key a caption shows ("&Print...\tCtrl+P") runs its item's command from anywhere in the
    // frame; the keys the keyboard shortcuts own are theirs.
    QWidget *frame = m_host.frameWidget();
    for (int i = 1; i <= m_mainMenu->itemCount(); ++i) {
        const QString caption = m_mainMenu->caption(i);
        const qsizetype tab = caption.indexOf(u'\t');
        QAction *action = m_commands.action(m_mainMenu->itemKey(i));
        if (tab < 0 || !action || !frame)
            continue;
        const QKeySequence keys =
            QKeySequence::fromString(caption.mid(tab + 1).trimmed(), QKeySequence::PortableText);
        if (keys.isEmpty())
            continue;
        const QKeyCombination first = keys[0];
        if (ShortcutRules::decide(first.key(), first.keyboardModifiers(), true, true).action !=
            ShortcutRules::Action::None)
            continue;
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        frame->addAction(action);
    }
}

void MenuController::onMainMenuAboutToShow(int parentItem)
{
    const QString key = m_mainMenu->itemKey(parentItem);
    if (key == QLatin1String("mnuWindow"))
        FrameMenus::buildWindowMenu(*m_mainMenu, key, windowMenuEntries());
    else if (key == QLatin1String("mnuSkin"))
        FrameMenus::buildSkinsMenu(*m_mainMenu, key, AppState::skinNames, m_host.nextSkin());
    else if (key == QLatin1String("mnuTabAutoRefresh"))
        markAutoRefresh(*m_mainMenu, m_host.activeDocument());
}

QList<FrameMenus::WindowEntry> MenuController::windowMenuEntries() const
{
    QList<FrameMenus::WindowEntry> entries;
    QMdiArea *area = m_host.documentArea()->mdiArea();
    const QList<QMdiSubWindow *> subs = area->subWindowList(QMdiArea::CreationOrder);
    QMdiSubWindow *active = area->currentSubWindow();
    for (qsizetype i = 0; i < subs.size(); ++i) {
        auto *document = qobject_cast<DocumentWindow *>(subs[i]->widget());
        if (!document || subs[i]->isHidden())
            continue;
        const FrameMenus::WindowEntry entry{int(i), document->windowTitle()};
        if (subs[i] == active)
            entries.prepend(entry);
        else
            entries.append(entry);
    }
    return entries;
}

void MenuController::showMenu(const std::function<void(KeyedMenu &)> &build, const QPoint &at)
{
    KeyedMenu menu;
    menu.setOwner(m_host.frameWidget());
    menu.setCommands(&m_commands);
    build(menu);
    if (menu.itemCount() == 0)
        return;
    menu.showPopupMenu(at.x(), at.y());
}

void MenuController::showNewMenu(const QPoint &at)
{
    const bool lastClosed = !m_host.lastClosedAddress().isEmpty();
    showMenu([lastClosed](KeyedMenu &menu) { FrameMenus::buildNewTabMenu(menu, lastClosed); }, at);
}

void MenuController::showTabMenu(DocumentWindow *document, const QPoint &at)
{
    // The menu's commands act on the document whose tab was clicked.
    m_tabMenuDocument = document;
    m_tabMenuOpen = true;
    showMenu(
        [this, document](KeyedMenu &menu) {
            FrameMenus::buildTabMenu(menu);
            markAutoRefresh(menu, document);
        },
        at);
    m_tabMenuOpen = false;
}

DocumentWindow *MenuController::tabMenuDocument() const
{
    return m_tabMenuDocument;
}

void MenuController::showSearchEnginesMenu(const QPoint &at)
{
    showMenu([](KeyedMenu &menu) { FrameMenus::buildSearchEnginesMenu(menu); }, at);
}

void MenuController::showBrowseDropDown(const QString &buttonKey, const QPoint &at)
{
    if (buttonKey == QLatin1String("New")) {
        showNewMenu(at);
    } else if (buttonKey == QLatin1String("Refresh")) {
        showMenu([](KeyedMenu &menu) { FrameMenus::buildRefreshAllMenu(menu); }, at);
    } else if (buttonKey == QLatin1String("Stop")) {
        showMenu([](KeyedMenu &menu) { FrameMenus::buildStopAllMenu(menu); }, at);
    } else if (buttonKey == QLatin1String("Links")) {
        showMenu(
            [](KeyedMenu &menu) {
                const SettingsModel &s = AppState::settings;
                FrameMenus::buildLinksMenu(menu, s.customLinksName, s.customLinksCount);
            },
            at);
    } else if (buttonKey == QLatin1String("Back") || buttonKey == QLatin1String("Forward")) {
        showTravelLogMenu(buttonKey == QLatin1String("Back"), at);
    }
}

void MenuController::showToolbarOptions(const QString &bandKey, const QPoint &at)
{
    StripToolBar *toolbar = m_host.toolBar(bandKey);
    if (!toolbar)
        return;
    const SettingsStore &store = SettingsStore::instance();
    m_optionsBand = bandKey;
    showMenu(
        [&](KeyedMenu &menu) {
            if (bandKey == QLatin1String("Toolbar1"))
                FrameMenus::buildNavToolbarMenu(menu, store, *toolbar,
                                                AppState::flatStyleAvailable);
            else if (bandKey == QLatin1String("Toolbar2"))
                FrameMenus::buildSitesToolbarMenu(menu, store, *toolbar,
                                                  AppState::flatStyleAvailable);
            else
                FrameMenus::buildAddressBarMenu(menu, store, AppState::flatStyleAvailable);
        },
        at);
    m_optionsBand.clear();
}

QList<MenuController::TravelLogEntry> MenuController::travelLog(const QWebEngineHistory &history,
                                                                bool back)
{
    QList<TravelLogEntry> entries;
    const int current = history.currentItemIndex();
    const int step = back ? -1 : 1;
    for (int index = current + step; index >= 0 && index < history.count(); index += step) {
        const QWebEngineHistoryItem item = history.itemAt(index);
        if (!item.isValid())
            continue;
        const QString title = item.title().trimmed();
        entries.append({title.isEmpty() ? item.url().toString() : title, item.url(), index});
    }
    return entries;
}

void MenuController::showTravelLogMenu(bool back, const QPoint &at)
{
    QPointer<DocumentWindow> document = m_host.activeDocument();
    if (!document)
        return;
    const QList<TravelLogEntry> entries = travelLog(*document->history(), back);
    if (entries.isEmpty())
        return;
    KeyedMenu menu;
    menu.setOwner(m_host.frameWidget());
    for (const TravelLogEntry &entry : entries)
        menu.addItem(entry.title, {}, entry.index, 0, -1, false, true, QString(), true);
    const int chosen = menu.showPopupMenu(at.x(), at.y());
    // The page may have closed, or its history moved on, while the menu showed.
    if (chosen < 1 || chosen > entries.size() || !document)
        return;
    const TravelLogEntry &entry = entries[chosen - 1];
    QWebEngineHistory *history = document->history();
    if (entry.index >= history->count())
        return;
    const QWebEngineHistoryItem item = history->itemAt(entry.index);
    if (item.isValid() && item.url() == entry.url && entry.index != history->currentItemIndex())
        history->goToItem(item);
}

void MenuController::markAutoRefresh(KeyedMenu &menu, DocumentWindow *document)
{
    const char *keys[] = {"mnuTabAutoRefresh1", "mnuTabAutoRefresh2", "mnuTabAutoRefresh5",
                          "mnuTabAutoRefreshCustom", "mnuTabAutoRefreshStop"};
    for (const char *key : keys)
        menu.setRadioCheck(menu.indexForKey(QLatin1String(key)), false);
    const QString marked =
        document ? document->autoRefresh()->menuKey() : QStringLiteral("mnuTabAutoRefreshStop");
    menu.setRadioCheck(menu.indexForKey(marked), true);
}
