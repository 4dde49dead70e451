#include "panelcommands.h"

#include "commandhost.h"
#include "commandregistry.h"
#include "document/documentwindow.h"
#include "frame/documents/documentarea.h"
#include "menucontroller.h"
#include "options/optionsdialog.h"
#include "sidebar/favoritesdialogs.h"
#include "sidebar/favoritestree.h"
#include "sidebar/sidebar.h"

#include <QAction>

PanelCommands::PanelCommands(CommandHost &host, CommandRegistry &commands, MenuController &menus,
                             Sidebar &sidebar, OptionsHost &options, QObject *parent)
    : QObject(parent), m_host(host), m_commands(commands), m_menus(menus), m_sidebar(sidebar),
      m_options(options)
{
    auto command = [this](const char *key, auto slot) {
        connect(m_commands.add(QLatin1String(key)), &QAction::triggered, this, slot);
    };
    command("mnuViewFav", [this] { m_host.showSidebarSection(QStringLiteral("FAVORITES")); });
    command("mnuViewHistory", [this] { m_host.showSidebarSection(QStringLiteral("HISTORY")); });
    command("mnuViewAddToFav", [this] { addToFavorites(m_host.activeDocument()); });
    command("mnuTabAdd2Fav", [this] { addToFavorites(m_menus.tabMenuDocument()); });
    command("mnuViewOrgFav", [this] { organizeFavorites(); });
    command("mnuViewOptions", [this] { showOptions(OptionsPageId::General); });
    // The options dialog on another page: one key for every page, the page as its data.
    m_commands.addFamily(QLatin1String(kOptionsPageKey),
                         [this](const QString &, qint32 page) { showOptions(OptionsPageId(page)); });
    connect(&m_sidebar, &Sidebar::addToFavoritesRequested, this,
            [this] { m_commands.trigger(QStringLiteral("mnuViewAddToFav")); });
    connect(&m_sidebar, &Sidebar::organizeFavoritesRequested, this,
            [this] { m_commands.trigger(QStringLiteral("mnuViewOrgFav")); });
}

void PanelCommands::addToFavorites(DocumentWindow *document)
{
    if (!document)
        return;
    const QString address = document->locationUrl();
    const QString title = document->locationName().isEmpty() ? address : document->locationName();
    AddFavoriteDialog::addToFavorites(m_host.frameWidget(), title, address,
                                      FavoritesTree::favoritesFolder(), m_sidebar.host());
    m_sidebar.reloadFavorites();
}

void PanelCommands::organizeFavorites()
{
    OrganizeFavoritesDialog::organize(m_host.frameWidget(), FavoritesTree::favoritesFolder(),
                                     m_sidebar.host());
    m_sidebar.reloadFavorites();
}

void PanelCommands::showOptions(OptionsPageId page)
{
    OptionsDialog dialog(m_options, page, m_host.frameWidget());
    connect(&dialog, &OptionsDialog::savedDocumentsLoadRequested, m_host.documentArea(),
            &DocumentArea::loadAll);
    dialog.exec();
}
