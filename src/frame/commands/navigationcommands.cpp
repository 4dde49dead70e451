#include "navigationcommands.h"

#include "commandhost.h"
#include "commandregistry.h"
#include "panelcommands.h"
#include "core/appstate.h"
#include "core/filedialogfolder.h"
#include "core/paths.h"
#include "core/strings.h"
#include "core/website.h"
#include "document/documentwindow.h"
#include "frame/chrome/striptoolbar.h"
#include "frame/dialogs/aboutdialog.h"
#include "frame/documents/documentarea.h"
#include "platform/webbrowser.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QUrl>


NavigationCommands::NavigationCommands(CommandHost &host, CommandRegistry &commands,
                                       QObject *parent)
    : QObject(parent), m_host(host), m_commands(commands)
{
    registerCommands();
}

void NavigationCommands::registerCommands()
{
    using N = NavigationCommands;
    const struct
    {
        const char *key;
        void (NavigationCommands::*body)();
    } commands[] = {
        {"mnuFileNew", &N::openHomeInNewTab},
        {"mnuFileOpen", &N::openFile},
        {"mnuFileClose", &N::closeActiveDocument},
        {"mnuFileExit", &N::exitProgram},
        {"mnuEditUndoClose", &N::undoClose},
        {"mnuNavigateBack", &N::back},
        {"mnuNavigateForward", &N::forward},
        {"mnuNavigateStop", &N::stop},
        {"mnuNavigateRefresh", &N::refresh},
        {"mnuNavigateRefreshAll", &N::refreshAll},
        {"mnuNavigateStopAll", &N::stopAll},
        {"mnuNavigateHome1", &N::goHome},
        {"mnuNavigateHome2", &N::goSecondHome},
        {"mnuNavigateMail", &N::goMail},
        {"mnuNavigateSearch", &N::goSearch},
        {"mnuNavigateNews", &N::goNews},
        {"mnuNewHome1", &N::openHomeInNewTab},
        {"mnuNewHome2", &N::openSecondHomeInNewTab},
        {"mnuNewBlank", &N::openBlankTab},
        {"mnuNewCurrent", &N::duplicateCurrentTab},
        {"mnuNewClipboard", &N::openClipboardAddress},
        {"mnuNewEmail", &N::openMailInNewTab},
        {"mnuNewSearch", &N::openSearchInNewTab},
        {"mnuNewNews", &N::openNewsInNewTab},
        {"mnuNewUndoClose", &N::undoClose},
        {"mnuCustomSitesToolbar", &N::customizeSitesToolbar},
        {"mnuImportIELinks", &N::importLinks},
        {"mnuHelpQuickTour", &N::openQuickTour},
        // The help shipped with the program.
        {"mnuHelpContents", &N::openHelpContents},
        {"mnuHelpAbout", &N::showAbout},
        {"AddressbarGo", &N::go},
        {"AddressbarSearch", &N::searchAddressText},
        // The page's own key for a refresh past the cache, which has no menu item.
        {"PageRefreshBypassCache", &N::refreshBypassingCache},
    };
    for (const auto &command : commands)
        m_commands.add(QLatin1String(command.key), this, command.body);

    // The page's own commands, on the active document.
    const struct
    {
        const char *key;
        int command;
    } browserCommands[] = {
        {"mnuFileSaveAs", WebBrowser::SaveAs},
        {"mnuFileProperties", WebBrowser::Properties},
        {"mnuFilePageSetup", WebBrowser::PageSetup},
        {"mnuFilePrintPreview", WebBrowser::PrintPreview},
        {"mnuFilePrint", WebBrowser::Print},
    };
    for (const auto &entry : browserCommands) {
        const int command = entry.command;
        connect(m_commands.add(QLatin1String(entry.key)), &QAction::triggered, this,
                [this, command] { runBrowserCommand(command); });
    }
    const char *const engines[] = {"mnuSearchEngineGoogle", "mnuSearchEngineMsn",
                                   "mnuSearchEngineYahoo",  "mnuSearchEngineAsk",
                                   "mnuSearchEngineLive",   "mnuSearchEngineWiki"};
    for (int engine = 0; engine < int(std::size(engines)); ++engine)
        connect(m_commands.add(QLatin1String(engines[engine])), &QAction::triggered, this,
                [this, engine] { selectSearchEngine(engine); });

    // Go New is a state the address bar's Enter and Go read; its button shows it.
    m_commands.add(QStringLiteral("AddressbarGoNew"))->setCheckable(true);

    m_commands.addFamily(QStringLiteral("Link"),
                         [this](const QString &, qint32 link) { openLink(link); });

    // The pages of the project's web site, each in a new tab.
    const struct
    {
        const char *key;
        const char *page;
    } sitePages[] = {{"mnuHelpOnTheWeb", ""},     {"mnuHelpForum", "forum"},
                     {"mnuHelpGames", "games"},   {"mnuHelpBlog", "blog"},
                     {"mnuHelpReportBug", "contact"}};
    for (const auto &entry : sitePages) {
        const QString page = QLatin1String(entry.page);
        connect(m_commands.add(QLatin1String(entry.key)), &QAction::triggered, this,
                [this, page] { m_host.openDocument(WebSite::page(page)); });
    }
}

// ---------------------------------------------------------------- navigation

void NavigationCommands::back()
{
    if (DocumentWindow *document = m_host.activeDocument())
        document->goBack();
}

void NavigationCommands::forward()
{
    if (DocumentWindow *document = m_host.activeDocument())
        document->goForward();
}

void NavigationCommands::stop()
{
    if (DocumentWindow *document = m_host.activeDocument())
        document->stop();
}

void NavigationCommands::refresh()
{
    if (DocumentWindow *document = m_host.activeDocument()) {
        document->applyDownloadOptions();
        document->reload();
    }
}

void NavigationCommands::refreshBypassingCache()
{
    if (DocumentWindow *document = m_host.activeDocument()) {
        document->applyDownloadOptions();
        document->reload(3);
    }
}

void NavigationCommands::refreshAll()
{
    // Every document with the current download options.
    for (DocumentWindow *document : m_host.documents()) {
        document->applyDownloadOptions();
        document->reload();
    }
}

void NavigationCommands::stopAll()
{
    for (DocumentWindow *document : m_host.documents())
        document->stop();
}

void NavigationCommands::goSite(const QString &address)
{
    if (!m_host.documentArea()->navigateActive(address))
        m_host.openDocument(address);
}

void NavigationCommands::goHome()
{
    goSite(AppState::settings.sitesHome1);
}
void NavigationCommands::goSecondHome()
{
    goSite(AppState::settings.sitesHome2);
}
void NavigationCommands::goMail()
{
    goSite(AppState::settings.sitesMail);
}
void NavigationCommands::goSearch()
{
    goSite(AppState::settings.sitesSearch);
}
void NavigationCommands::goNews()
{
    goSite(AppState::settings.sitesNews);
}

// ---------------------------------------------------------------- new tabs

void NavigationCommands::openHomeInNewTab()
{
    m_host.openDocument(AppState::settings.sitesHome1);
    focusAddressBar();
}
void NavigationCommands::openSecondHomeInNewTab()
{
    m_host.openDocument(AppState::settings.sitesHome2);
}
void NavigationCommands::openMailInNewTab()
{
    m_host.openDocument(AppState::settings.sitesMail);
}
void NavigationCommands::openSearchInNewTab()
{
    m_host.openDocument(AppState::settings.sitesSearch);
}
void NavigationCommands::openNewsInNewTab()
{
    m_host.openDocument(AppState::settings.sitesNews);
}
void NavigationCommands::openBlankTab()
{
    m_host.openDocument(QStringLiteral("about:blank"));
    focusAddressBar();
}

void NavigationCommands::focusAddressBar()
{
    // A new tab waits for an address: typing goes to the address bar, replacing its text.
    m_host.addressBar()->setFocus(Qt::ShortcutFocusReason);
    m_host.addressBar()->lineEdit()->selectAll();
}

void NavigationCommands::duplicateCurrentTab()
{
    DocumentWindow *document = m_host.activeDocument();
    m_host.openDocument(document ? document->locationUrl() : AppState::settings.sitesHome1);
}

void NavigationCommands::openClipboardAddress()
{
    m_host.openDocument(QApplication::clipboard()->text());
}

void NavigationCommands::undoClose()
{
    const QString address = m_host.lastClosedAddress();
    if (!address.isEmpty())
        m_host.openDocument(address);
}

// ---------------------------------------------------------------- file

void NavigationCommands::openFile()
{
    // The patterns in the last parentheses are the ones the dialog applies; the name shown
    // is the text before them.
    const QString file = QFileDialog::getOpenFileName(
        m_host.frameWidget(), QStringLiteral("Open"), FileDialogFolder::startFolder(),
        QStringLiteral("HTML Files (*.htm,*.html,*.url) (*.htm *html *.url)"), nullptr,
        QFileDialog::HideNameFilterDetails);
    if (file.isEmpty())
        return;
    FileDialogFolder::remember(file);
    m_host.openDocument(file);
    if (DocumentWindow *document = m_host.activeDocument())
        document->setWindowTitle(file);
}

void NavigationCommands::closeActiveDocument()
{
    if (DocumentWindow *document = m_host.activeDocument()) {
        if (QWidget *sub = document->parentWidget())
            QMetaObject::invokeMethod(sub, &QWidget::close, Qt::QueuedConnection);
    }
}

void NavigationCommands::runBrowserCommand(int command)
{
    if (DocumentWindow *document = m_host.activeDocument())
        document->execBrowserCommand(command);
}

void NavigationCommands::exitProgram()
{
    // After the menu that asked for it has closed.
    QMetaObject::invokeMethod(m_host.frameWidget(), &QWidget::close, Qt::QueuedConnection);
}

// ---------------------------------------------------------------- address bar and links

void NavigationCommands::go()
{
    m_host.go();
}

void NavigationCommands::searchAddressText()
{
    m_host.searchWeb(m_host.searchEngine(), m_host.addressBar()->currentText());
}

void NavigationCommands::selectSearchEngine(int engine)
{
    m_host.setSearchEngine(engine);
    m_host.toolBar(QStringLiteral("Addressbar"))
        ->setButtonImage(QStringLiteral("Search"), 15 + engine);
    m_host.addressBar()->setEditText(QString());
}

void NavigationCommands::openLink(int link)
{
    const SettingsModel &s = AppState::settings;
    if (link < 1 || link > s.customLinksURL.size())
        return;
    const QString address = s.customLinksURL[link - 1];
    if (s.controlSitesNew || !m_host.documentArea()->navigateActive(address))
        m_host.openDocument(address);
}

void NavigationCommands::importLinks()
{
    SettingsModel &s = AppState::settings;
    if (s.customLinksCount > 0 &&
        QMessageBox::question(m_host.frameWidget(), loadResString(100), loadResString(15003),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    const qsizetype links = AppState::linkNames.size();
    if (links < 1) {
        QMessageBox::warning(m_host.frameWidget(), loadResString(100), loadResString(15004));
        return;
    }
    s.customLinksCount = qint16(links);
    s.customLinksName = AppState::linkNames;
    s.customLinksURL = AppState::linkUrls.mid(0, links);
    while (s.customLinksName.size() < s.customLinksCount)
        s.customLinksName.append(QString());
    while (s.customLinksURL.size() < s.customLinksCount)
        s.customLinksURL.append(QString());
    m_host.showCustomLinkButtons();
}

void NavigationCommands::customizeSitesToolbar()
{
    m_commands.run(QLatin1String(PanelCommands::kOptionsPageKey), qint32(OptionsPageId::CustomLinks));
}

void NavigationCommands::showAbout()
{
    AboutDialog about(m_host.frameWidget());
    about.exec();
}

void NavigationCommands::openQuickTour()
{
    m_host.openDocument(
        QUrl::fromLocalFile(Paths::assetFile(QStringLiteral("help/quicktour.html"))).toString());
}

void NavigationCommands::openHelpContents()
{
    m_host.openDocument(
        QUrl::fromLocalFile(Paths::assetFile(QStringLiteral("help/contents.html"))).toString());
}
