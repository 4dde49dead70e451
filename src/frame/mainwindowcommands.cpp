// The frame's side of its commands: what they reach it through, and the ways into them besides
// the menus (toolbar buttons, gestures, keyboard shortcuts, the status bar).

#include "mainwindow.h"

#include "commandbindings.h"
#include "commandhost.h"
#include "commandregistry.h"
#include "core/appstate.h"
#include "menucontroller.h"
#include "navigationcommands.h"
#include "striptoolbar.h"
#include "viewcommands.h"

#include <QAction>
#include <QCursor>

namespace {

// Shortcuts and gestures wait while a small modal dialog is open.
bool noModalDialogOpen()
{
    return !AppState::modalDialogOpen();
}

// The frame as its commands and menus reach it.
class FrameCommandHost final : public CommandHost
{
public:
    explicit FrameCommandHost(MainWindow &frame) : m_frame(frame) {}

    QWidget *frameWidget() override { return &m_frame; }

    DocumentWindow *activeDocument() const override { return m_frame.activeDocument(); }
    QList<DocumentWindow *> documents() const override { return m_frame.documents(); }
    void openDocument(const QString &address) override { m_frame.openDocument(address); }
    void bringToFront(DocumentWindow *document) override { m_frame.bringToFront(document); }
    void runTabAction(DocumentWindow *document, int action) override
    {
        m_frame.runTabAction(document, action);
    }
    QString lastClosedAddress() const override { return m_frame.lastClosedAddress(); }
    DocumentArea *documentArea() override { return m_frame.documentArea(); }
    void showWindowList() override { m_frame.showWindowList(); }
    void showQuickSearch() override { m_frame.showQuickSearch(); }

    ToolBarBands *bands() override { return m_frame.m_bands; }
    void setBandsAlignment(int alignment) override { m_frame.setBandsAlignment(alignment); }
    QWidget *statusCanvas() override { return m_frame.m_statusCanvas; }
    PanelStatusBar *statusBar() override { return m_frame.m_statusBar; }
    QDockWidget *sidebarDock() override { return m_frame.m_sidebarDock; }
    void showSidebarSection(const QString &key) override { m_frame.showSidebarSection(key); }
    StripToolBar *toolBar(const QString &bandKey) override
    {
        if (bandKey == QLatin1String("Toolbar1"))
            return m_frame.m_browseToolBar;
        if (bandKey == QLatin1String("Toolbar2"))
            return m_frame.m_sitesToolBar;
        if (bandKey == QLatin1String("Addressbar"))
            return m_frame.m_addressToolBar;
        return nullptr;
    }
    void setToolbarShowText(StripToolBar *toolbar, const QString &bandKey, bool show) override
    {
        m_frame.setToolbarShowText(toolbar, bandKey, show);
    }
    void setToolbarTextRight(StripToolBar *toolbar, const QString &bandKey, bool right) override
    {
        m_frame.setToolbarTextRight(toolbar, bandKey, right);
    }
    void setToolbarLargeIcons(StripToolBar *toolbar, bool large) override
    {
        m_frame.setToolbarLargeIcons(toolbar, large);
    }
    void showCustomLinkButtons() override { m_frame.showCustomLinkButtons(); }
    QString nextSkin() const override { return m_frame.m_nextSkin; }
    void setNextSkin(const QString &skin) override { m_frame.m_nextSkin = skin; }

    QComboBox *addressBar() override { return m_frame.m_addressBar; }
    bool addressHasFocus() const override { return m_frame.m_addressHasFocus; }
    void go() override { m_frame.onGoButton(); }
    int searchEngine() const override { return m_frame.m_searchEngine; }
    void setSearchEngine(int engine) override { m_frame.m_searchEngine = qint16(engine); }
    void searchWeb(int engine, const QString &text) override { m_frame.searchWeb(engine, text); }

private:
    MainWindow &m_frame;
};

} // namespace

void MainWindow::createCommands()
{
    m_commandHost = std::make_unique<FrameCommandHost>(*this);
    m_commands = new CommandRegistry(this);
    m_menus = new MenuController(*m_commandHost, *m_commands, this);
    new NavigationCommands(*m_commandHost, *m_commands, this);
    new ViewCommands(*m_commandHost, *m_commands, *m_menus, this);

    for (const CommandBindings::Shortcut &shortcut : CommandBindings::shortcuts()) {
        auto *carrier = new QAction(this);
        carrier->setShortcut(shortcut.keys);
        carrier->setShortcutContext(Qt::WindowShortcut);
        const QString key = QLatin1String(shortcut.command);
        connect(carrier, &QAction::triggered, this, [this, key] {
            if (noModalDialogOpen())
                m_commands->trigger(key);
        });
        addAction(carrier);
    }
}

void MainWindow::toggleFlash()
{
    m_commands->trigger(QStringLiteral("mnuContentFlash"));
}

// ---------------------------------------------------------------- toolbar buttons

void MainWindow::onToolbarButtonClicked(StripToolBar *toolbar, const QString &bandKey, int position)
{
    if (position == -1) {
        m_menus->showToolbarOptions(bandKey, QCursor::pos());
        return;
    }
    const CommandBindings::ButtonCommand command = CommandBindings::buttonCommand(
        bandKey, toolbar->buttonKey(position), AppState::settings.controlNavNew);
    if (!command.key.isEmpty())
        m_commands->run(command.key, command.data);
}

void MainWindow::bindButtonStates(StripToolBar *toolbar, const QString &bandKey)
{
    for (int position = 0; position < toolbar->buttonCount(); ++position) {
        const QString button = toolbar->buttonKey(position);
        QAction *command =
            m_commands->action(CommandBindings::buttonCommand(bandKey, button, false).key);
        if (!command)
            continue;
        toolbar->setButtonEnabled(button, command->isEnabled());
        connect(command, &QAction::enabledChanged, toolbar,
                [toolbar, button](bool enabled) { toolbar->setButtonEnabled(button, enabled); });
        if (command->isCheckable()) {
            toolbar->setButtonChecked(button, command->isChecked());
            connect(command, &QAction::toggled, toolbar,
                    [toolbar, button](bool down) { toolbar->setButtonChecked(button, down); });
        }
    }
}

QPoint MainWindow::belowButton(StripToolBar *toolbar, int position) const
{
    const QRect r = toolbar->buttonRect(toolbar->buttonKey(position));
    return toolbar->mapToGlobal(r.bottomLeft() + QPoint(0, 1));
}

void MainWindow::onBrowseButtonClicked(int position)
{
    onToolbarButtonClicked(m_browseToolBar, QStringLiteral("Toolbar1"), position);
}

void MainWindow::onBrowseDropDown(int position)
{
    m_menus->showBrowseDropDown(m_browseToolBar->buttonKey(position),
                                belowButton(m_browseToolBar, position));
}

void MainWindow::onSitesButtonClicked(int position)
{
    onToolbarButtonClicked(m_sitesToolBar, QStringLiteral("Toolbar2"), position);
}

void MainWindow::onAddressButtonClicked(int position)
{
    onToolbarButtonClicked(m_addressToolBar, QStringLiteral("Addressbar"), position);
}

void MainWindow::onAddressDropDown(int position)
{
    if (m_addressToolBar->buttonKey(position) == QLatin1String("Search"))
        m_menus->showSearchEnginesMenu(belowButton(m_addressToolBar, position));
}

// ---------------------------------------------------------------- gestures and status bar

void MainWindow::onMouseGesture(qint32 gestureType, int, int, int, int, bool &acceptGesture)
{
    const qint32 action = gestureAction(gestureType);
    if (noModalDialogOpen() && action != 0)
        m_commands->trigger(CommandBindings::gestureCommand(action));
    acceptGesture = true;
}

void MainWindow::onStatusPanelDoubleClicked(int panel, int, int)
{
    if (panel == 4)
        m_commands->trigger(QStringLiteral("PopupKillerEnable"));
}
