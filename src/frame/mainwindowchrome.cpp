// The frame's chrome: interface start-up, toolbars, bands and their layout file, skins.

#include "mainwindow.h"
#include "sidebar/sidebar.h"

#include "commandregistry.h"
#include "framemenus.h"
#include "menucontroller.h"

#include "core/appstate.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "toolbarbands.h"
#include "striptoolbar.h"
#include "document/documentwindow.h"
#include "documenttabbar.h"
#include "keyedmenu.h"
#include "skinpaint.h"

#include <QComboBox>
#include <QFile>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QSaveFile>

namespace {

const QString kSettings = QStringLiteral("Settings");

bool readOption(const char *key, bool defaultValue)
{
    return SettingsModel::readBoolean(SettingsStore::instance(), kSettings, QLatin1String(key),
                                      defaultValue);
}

} // namespace

// ---------------------------------------------------------------- start-up

void MainWindow::initInterface()
{
    SettingsModel &s = AppState::settings;
    // 1, 2. The skin settings; the next start keeps this skin unless one is chosen.
    s.loadSkins(SettingsStore::instance());
    m_nextSkin = s.currentSkin;

    // 3. The skin picture; a skin that does not load is dropped for this start and the next.
    m_skinPath.clear();
    skinPicture = QPixmap();
    if (s.currentSkin != QLatin1String("none")) {
        const QString path = FrameMenus::skinFile(s.currentSkin);
        QPixmap picture;
        if (!path.isEmpty() && picture.load(path) && SkinPaint::usable(picture)) {
            m_skinPath = path;
            skinPicture = picture;
        } else {
            QMessageBox::information(this, loadResString(100), loadResString(1148));
            s.currentSkin = QStringLiteral("none");
            m_nextSkin = s.currentSkin;
        }
    }

    // 4. The side bar.
    m_sidebar->buildSidebar(QString());
    // 5. Toolbars.
    createToolbars();

    // 6, 7. The menu bar.
    m_menus->buildMenuBar(m_menuBar);
    m_menuBarHost->capture(m_menuBar);

    // 8. The bands.
    loadBandLayout(m_skinPath);

    // 9. The page-progress drawer of the status bar.
    m_progressPainter.setMin(0);
    m_progressPainter.setMax(100);
    m_progressPainter.setWidth(172);

    // 10. The status bar.
    createStatusBar(m_skinPath);

    // 11. The tab strip shows the skin through its band.
}

QString MainWindow::stripFile(bool large) const
{
    const QString configured =
        large ? AppState::settings.toolbarLargeBitmap : AppState::settings.toolbarSmallBitmap;
    // A strip that does not load gives way to the one shipped with the program.
    if (!configured.isEmpty() && !QImage(configured).isNull())
        return configured;
    return Paths::assetFile(large ? QStringLiteral("nav_24h.bmp") : QStringLiteral("nav_16h.bmp"));
}

void MainWindow::createToolbars()
{
    // Browse toolbar.
    {
        const bool large = readOption("Toolbar1LargeIcons", true);
        const bool showText = readOption("Toolbar1ShowText", true);
        const bool textRight = readOption("Toolbar1TextAlignRight", true);
        const bool officeXP = readOption("Toolbar1OfficeXP", false);
        const bool links = readOption("Toolbar1LinksButton", true);
        if (officeXP)
            m_browseToolBar->setDrawStyle(StripToolBar::kDrawOfficeXP);
        m_browseToolBar->setImageSource(stripFile(large));
        m_browseToolBar->createToolBar(large ? 24 : 16, textRight, showText);
        struct Button
        {
            const char *key;
            int id;
            int image;
            qint32 style;
        };
        const Button buttons[] = {
            {"New", 1101, 0, StripToolBar::kStyleDropDown},
            {"Back", 1102, 3, StripToolBar::kStyleDropDown},
            {"Forward", 1103, 4, StripToolBar::kStyleDropDown},
            {"Refresh", 1104, 5, StripToolBar::kStyleDropDown},
            {"Stop", 1105, 6, StripToolBar::kStyleDropDown},
            {"Home", 1106, 8, StripToolBar::kStyleAutosize},
            {"Home2", 1129, 9, StripToolBar::kStyleAutosize},
            {"", 0, -1, StripToolBar::kStyleSeparator},
            {"Mail", 1113, 1, StripToolBar::kStyleAutosize},
            {"Search", 1114, 2, StripToolBar::kStyleAutosize},
            {"News", 1115, 7, StripToolBar::kStyleAutosize},
            {"LinksSep", 0, -1, StripToolBar::kStyleSeparator},
            {"Links", 1202, 10, StripToolBar::kStyleWholeDropDown},
        };
        for (const Button &b : buttons) {
            const QString text = b.id ? loadResString(b.id) : QString();
            m_browseToolBar->addButton(text, b.image, text, b.style, QLatin1String(b.key));
        }
        if (!links) {
            m_browseToolBar->setButtonVisible(QStringLiteral("Links"), false);
            m_browseToolBar->setButtonVisible(QStringLiteral("LinksSep"), false);
        }
        setToolbarShowText(m_browseToolBar, QStringLiteral("Toolbar1"), showText);
        bindButtonStates(m_browseToolBar, QStringLiteral("Toolbar1"));
        connect(m_browseToolBar, &StripToolBar::buttonClicked, this, &MainWindow::onBrowseButtonClicked);
        connect(m_browseToolBar, &StripToolBar::dropDownPressed, this, &MainWindow::onBrowseDropDown);
    }

    // Sites toolbar; its link buttons come from showCustomLinkButtons.
    const bool textRight2 = readOption("Toolbar2TextAlignRight", true);
    const bool showText2 = readOption("Toolbar2ShowText", true);
    {
        const bool large = readOption("Toolbar2LargeIcons", false);
        if (readOption("Toolbar2OfficeXP", false))
            m_sitesToolBar->setDrawStyle(StripToolBar::kDrawOfficeXP);
        m_sitesToolBar->setImageSource(stripFile(large));
        m_sitesToolBar->createToolBar(large ? 24 : 16, textRight2, showText2);
        const QString custom = loadResString(1199);
        m_sitesToolBar->addButton(custom, 10, custom, StripToolBar::kStyleAutosize, QStringLiteral("Custom"));
        setToolbarShowText(m_sitesToolBar, QStringLiteral("Toolbar2"), showText2);
        bindButtonStates(m_sitesToolBar, QStringLiteral("Toolbar2"));
        connect(m_sitesToolBar, &StripToolBar::buttonClicked, this, &MainWindow::onSitesButtonClicked);
    }

    // Address toolbar: the address field and its three buttons.
    {
        if (readOption("AddressbarOfficeXP", false))
            m_addressToolBar->setDrawStyle(StripToolBar::kDrawOfficeXP);
        m_addressToolBar->setImageSource(stripFile(false));
        m_addressToolBar->createToolBar(16, textRight2, showText2);
        m_addressToolBar->addControl(m_addressHolder, QStringLiteral("AddressBar"));
        m_addressToolBar->addButton(loadResString(1176), 11, loadResString(1179), StripToolBar::kStyleAutosize,
                            QStringLiteral("Go"));
        m_addressToolBar->addButton(loadResString(1177), 13, QString(), StripToolBar::kStyleCheck,
                            QStringLiteral("GoNew"));
        m_addressToolBar->addButton(loadResString(1178), 15 + m_searchEngine, loadResString(1114),
                            StripToolBar::kStyleDropDown, QStringLiteral("Search"));
        m_commands->setEnabled(QStringLiteral("AddressbarGo"),
                               !m_addressBar->currentText().isEmpty());
        bindButtonStates(m_addressToolBar, QStringLiteral("Addressbar"));
        connect(m_addressToolBar, &StripToolBar::buttonClicked, this, &MainWindow::onAddressButtonClicked);
        connect(m_addressToolBar, &StripToolBar::dropDownPressed, this, &MainWindow::onAddressDropDown);
    }
}

void MainWindow::setToolbarShowText(StripToolBar *toolbar, const QString &bandKey, bool show)
{
    for (int i = 0; i < toolbar->buttonCount(); ++i)
        toolbar->setButtonTextVisible(toolbar->buttonKey(i), show);
    toolbar->resizeToolBar();
    const int band = m_bands->bandIndexForKey(bandKey);
    if (band < 0)
        return; // at start-up the bands come later
    m_bands->setBandChildSize(band, toolbar->naturalWidth());
    m_bands->setBandChildMinHeight(band, 24);
    m_bands->relayoutBands();
}

void MainWindow::setToolbarTextRight(StripToolBar *toolbar, const QString &bandKey, bool right)
{
    toolbar->setTextRight(right);
    const int band = m_bands->bandIndexForKey(bandKey);
    if (band < 0)
        return;
    m_bands->setBandChildSize(band, toolbar->naturalWidth());
    m_bands->setBandChildMinHeight(band, 24);
    m_bands->relayoutBands();
}

void MainWindow::setToolbarLargeIcons(StripToolBar *toolbar, bool large)
{
    toolbar->setImageSource(stripFile(large));
    toolbar->setImageSize(large ? 24 : 16);
    // The band that holds this toolbar, wherever the layout put it.
    for (int band = 0; band < m_bands->bandCount(); ++band) {
        if (m_bands->bandChild(band) == toolbar) {
            m_bands->setBandChildMinHeight(band, large ? 24 : 16);
            m_bands->setBandChildSize(band, toolbar->naturalWidth());
        }
    }
    m_bands->relayoutBands();
}

void MainWindow::showCustomLinkButtons()
{
    const int band = m_bands->bandIndexForKey(QStringLiteral("Toolbar2"));
    const bool visible = band >= 0 ? m_bands->bandVisible(band) : !m_sitesToolBar->isHidden();
    const int n = m_sitesToolBar->buttonCount();
    for (int i = 1; i < n; ++i)
        m_sitesToolBar->removeButton(QStringLiteral("Custom%1").arg(i));
    const SettingsModel &s = AppState::settings;
    m_sitesToolBar->setButtonVisible(QStringLiteral("Custom"), s.customLinksCount < 1);
    for (int i = 1; i <= s.customLinksCount; ++i) {
        const QString name = s.customLinksName.value(i - 1);
        m_sitesToolBar->addButton(name, 10, KeyedMenu::escapeCaption(name), StripToolBar::kStyleAutosize,
                            QStringLiteral("Custom%1").arg(i));
    }
    setToolbarShowText(m_sitesToolBar, QStringLiteral("Toolbar2"), readOption("Toolbar2ShowText", true));
    if (band >= 0)
        m_bands->setBandVisible(band, visible);
    else
        m_sitesToolBar->setVisible(visible);
}

void MainWindow::updateDocumentActions()
{
    // The browse toolbar's Back, Forward, Refresh and Stop buttons follow their commands.
    const bool enabled = AppState::openDocuments > 0;
    for (const char *key : {"mnuFileClose",       "mnuFileSaveAs",       "mnuFileProperties",
                            "mnuFilePageSetup",   "mnuFilePrintPreview", "mnuFilePrint",
                            "mnuEditIncFont",     "mnuEditDecFont",      "mnuEditResetFont",
                            "mnuEditSelectAll",   "mnuEditFind",         "mnuViewAddToFav",
                            "mnuViewTabs",        "mnuViewSource",       "mnuViewInternetOptions",
                            "mnuNavigateBack",    "mnuNavigateForward",  "mnuNavigateStop",
                            "mnuNavigateRefresh", "mnuContentFillForm"})
        m_commands->setEnabled(QLatin1String(key), enabled);
    // The engine has no options dialog, Java or ActiveX: these commands can do nothing.
    for (const char *key :
         {"mnuViewInternetOptions", "mnuContentJava", "mnuContentDLACTX", "mnuContentRUNACTX"})
        m_commands->setEnabled(QLatin1String(key), false);
    if (m_sidebar) {
        m_sidebar->btnAdd->setEnabled(enabled);
        m_sidebar->btnGroupAdd->setEnabled(enabled);
    }
}

// ---------------------------------------------------------------- bands and layout

QString MainWindow::layoutFile()
{
    return Paths::dataFile(QStringLiteral("layout.xml"));
}

void MainWindow::createDefaultBands(const QString &skinPath)
{
    int major = 0, minor = 0, build = 0;
    StripToolBar::version(major, minor, build);
    setUpdatesEnabled(false);
    m_bands->reset();
    m_bands->setBackgroundPicture(skinPicture);
    m_bands->createBands(m_bandsAlignment == 2 ? Qt::BottomToolBarArea : Qt::TopToolBarArea);

    int band = m_bands->addBand(m_menuBarHost, QString(), true, false, QStringLiteral("MenuBar"));
    m_bands->setBandChildMinHeight(band, 24);
    if (major > 4 || minor > 70)
        m_bands->addBand(m_logo, QString(), false, true, QStringLiteral("Logo"));
    for (auto [toolbar, key] : {std::pair<StripToolBar *, const char *>{m_browseToolBar, "Toolbar1"},
                                {m_sitesToolBar, "Toolbar2"},
                                {m_addressToolBar, "Addressbar"}}) {
        band = m_bands->addBand(toolbar, QString(), true, false, QLatin1String(key));
        m_bands->setBandChildMinHeight(band, 16);
    }
    m_bands->addBand(m_tabHolder, QString(), true, false, QStringLiteral("Tabbar"));

    m_menuBarHost->setBackgroundPicture(skinPicture);
    m_menuBarHost->refresh();
    if (!skinPath.isEmpty())
        m_menus->mainMenu()->setPicture(skinPicture);
    setUpdatesEnabled(true);
}

void MainWindow::loadBandLayout(const QString &skinPath)
{
    QString text;
    QFile file(layoutFile());
    if (file.open(QIODevice::ReadOnly))
        text = QString::fromUtf8(file.readAll());
    createDefaultBands(skinPath);
    if (text.trimmed().isEmpty())
        return;
    const QStringList keys = {QStringLiteral("MenuBar"),    QStringLiteral("Logo"),
                              QStringLiteral("Toolbar1"),   QStringLiteral("Toolbar2"),
                              QStringLiteral("Addressbar"), QStringLiteral("Tabbar")};
    const QList<QWidget *> children = {m_menuBarHost, m_logo, m_browseToolBar, m_sitesToolBar, m_addressToolBar, m_tabHolder};
    // A text that is not a layout leaves the default bands.
    if (!m_bands->restoreLayout(text, keys, children))
        return;
    m_bands->setBandChildMinHeight(m_bands->bandIndexForKey(QStringLiteral("Logo")), 52);
}

void MainWindow::saveBandLayout()
{
    if (m_bands->bandCount() == 0)
        return;
    QSaveFile file(layoutFile());
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(m_bands->currentLayoutText().toUtf8());
    file.commit(); // a failed write keeps the last layout
}

void MainWindow::destroyToolbars()
{
    m_bands->destroyBands();
    for (StripToolBar *toolbar : {m_browseToolBar, m_sitesToolBar, m_addressToolBar})
        toolbar->hide();
}

void MainWindow::setBandsAlignment(int alignment)
{
    m_bandsAlignment = alignment;
    m_bands->setArea(alignment == 2 ? Qt::BottomToolBarArea : Qt::TopToolBarArea);
}

// ---------------------------------------------------------------- skins

void MainWindow::enumerateSkins()
{
    AppState::skinNames = FrameMenus::enumerateSkins(FrameMenus::skinFolders());
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    // The skin behind the bands (their gaps show the window itself).
    if (!SkinPaint::usable(skinPicture) || m_closing)
        return;
    QPainter painter(this);
    SkinPaint::tile(painter, this, event->rect(), skinPicture);
}
