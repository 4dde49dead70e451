#include "framechrome.h"

#include "core/appstate.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "core/userfile.h"
#include "commandsource.h"
#include "framemenus.h"
#include "glyphs.h"
#include "keyedmenu.h"
#include "skinpaint.h"
#include "striptoolbar.h"
#include "toolbarbands.h"
#include "widgets/childholder.h"

#include <QAction>
#include <QCursor>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMessageBox>
#include <QPainter>
#include <QToolButton>

#include <functional>
#include <optional>

namespace {

const QString kSettings = QStringLiteral("Settings");

bool readOption(const char *key, bool defaultValue)
{
    return SettingsModel::readBoolean(SettingsStore::instance(), kSettings, QLatin1String(key),
                                      defaultValue);
}

// The logo band's picture box: three small buttons (close all, tile, cascade) at its left
// end, the logo at its right end, over the band's skin.
class LogoBox : public QWidget
{
public:
    LogoBox(QWidget *parent, const std::function<void()> &closeAll,
            const std::function<void()> &tile, const std::function<void()> &cascade)
        : QWidget(parent)
    {
        m_logo.load(Paths::assetFile(QStringLiteral("logo.png")));
        auto *row = new QHBoxLayout(this);
        row->setContentsMargins(2, 0, 0, 0);
        row->setSpacing(0);
        const struct
        {
            const char *name;
            Glyph glyph;
            int toolTip;
            const std::function<void()> &run;
        } buttons[] = {{"Picture2", Glyph::Stop, 20000, closeAll},
                       {"Picture7", Glyph::Tile, 1063, tile},
                       {"Picture8", Glyph::Cascade, 1064, cascade}};
        for (const auto &b : buttons) {
            auto *button = new QToolButton(this);
            button->setObjectName(QLatin1String(b.name));
            button->setAutoRaise(true);
            button->setFocusPolicy(Qt::NoFocus);
            button->setIcon(QIcon(glyphPixmap(b.glyph, 16)));
            button->setIconSize(QSize(16, 16));
            button->setToolTip(loadResString(b.toolTip));
            connect(button, &QToolButton::clicked, this, b.run);
            row->addWidget(button, 0, Qt::AlignVCenter);
        }
        row->addStretch(1);
        const QSize logo = m_logo.isNull() ? QSize(16, 16) : m_logo.size();
        m_buttonsWidth = row->minimumSize().width();
        // Narrower than buttons and logo side by side, the logo is cut at the right.
        const int height = qMax(logo.height() + 4, row->minimumSize().height());
        setMinimumSize(qMax(logo.width() + 8, m_buttonsWidth), height);
        m_hint = QSize(m_buttonsWidth + logo.width() + 8, height);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override { return m_hint; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (m_logo.isNull())
            return;
        QPainter painter(this);
        painter.drawPixmap(qMax(m_buttonsWidth + 4, width() - m_logo.width() - 4),
                           (height() - m_logo.height()) / 2, m_logo);
    }

private:
    QPixmap m_logo;
    QSize m_hint;
    int m_buttonsWidth = 0;
};

} // namespace

FrameChrome::FrameChrome(QMainWindow *frame, CommandSource &commands, const AddressBand &address,
                         QWidget *tabStrip)
    : QObject(frame), m_frame(frame), m_commands(commands), m_address(address)
{
    // The controls the interface start-up puts into the bands. The ones a band wraps are not
    // hidden here: a toolbar never shows a widget that was hidden before it was added.
    m_browseToolBar = new StripToolBar(frame);
    m_browseToolBar->setObjectName(QStringLiteral("Toolbar1"));
    m_sitesToolBar = new StripToolBar(frame);
    m_sitesToolBar->setObjectName(QStringLiteral("Toolbar2"));
    m_addressToolBar = new StripToolBar(frame);
    m_addressToolBar->setObjectName(QStringLiteral("Addressbar"));
    for (StripToolBar *toolbar : {m_browseToolBar, m_sitesToolBar, m_addressToolBar})
        toolbar->hide();
    m_menuBar = new KeyedMenuBar(frame);
    m_menuBar->setObjectName(QStringLiteral("tbrMenu"));
    m_menuBarHost = new MenuBarHost(frame);
    m_menuBarHost->setObjectName(QStringLiteral("tbhMenu"));
    m_logo = new LogoBox(
        frame, [this] { confirmCloseAll(); },
        [this] { m_commands.run(QStringLiteral("mnuWin(0)"), FrameMenus::kWinTile); },
        [this] { m_commands.run(QStringLiteral("mnuWin(1)"), FrameMenus::kWinCascade); });
    m_logo->setObjectName(QStringLiteral("picTest"));
    m_bands = new ToolBarBands(frame);

    tabStrip->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The band takes only the strip's height: the tabs' widths change with every caption, and
    // the band's row gives the strip all the room there is anyway (it scrolls its tabs).
    m_tabHolder = new ChildHolder(tabStrip, ChildHolder::Width::ChildMinimum, frame);
    m_tabHolder->setObjectName(QStringLiteral("Picture6"));
}

StripToolBar *FrameChrome::toolBar(const QString &bandKey) const
{
    if (bandKey == QLatin1String("Toolbar1"))
        return m_browseToolBar;
    if (bandKey == QLatin1String("Toolbar2"))
        return m_sitesToolBar;
    if (bandKey == QLatin1String("Addressbar"))
        return m_addressToolBar;
    return nullptr;
}

// ---------------------------------------------------------------- skins

void FrameChrome::loadSkin()
{
    SettingsModel &s = AppState::settings;
    // 1, 2. The skin settings; the next start keeps this skin unless one is chosen.
    s.loadSkins(SettingsStore::instance());
    m_nextSkin = s.currentSkin;

    // 3. The skin picture; a skin that does not load is dropped for this start and the next.
    m_skinPath.clear();
    m_skinPicture = QPixmap();
    if (s.currentSkin != QLatin1String("none")) {
        const QString path = FrameMenus::skinFile(s.currentSkin);
        QPixmap picture;
        if (!path.isEmpty() && picture.load(path) && SkinPaint::usable(picture)) {
            m_skinPath = path;
            m_skinPicture = picture;
        } else {
            QMessageBox::information(m_frame, loadResString(100), loadResString(1148));
            s.currentSkin = QStringLiteral("none");
            m_nextSkin = s.currentSkin;
        }
    }
}

void FrameChrome::enumerateSkins()
{
    AppState::skinNames = FrameMenus::enumerateSkins(FrameMenus::skinFolders());
}

// ---------------------------------------------------------------- toolbars and menu bar

void FrameChrome::createMenuBar()
{
    Q_EMIT menuBarRequested(m_menuBar);
    m_menuBarHost->capture(m_menuBar);
}

void FrameChrome::createToolbars()
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
        m_browseToolBar->setImageSource(ImageStrip::toolbarStripFile(large));
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
        connect(m_browseToolBar, &StripToolBar::buttonClicked, this, &FrameChrome::onBrowseButtonClicked);
        connect(m_browseToolBar, &StripToolBar::dropDownPressed, this, &FrameChrome::onBrowseDropDown);
    }

    // Sites toolbar; its link buttons come from showCustomLinkButtons.
    const bool textRight2 = readOption("Toolbar2TextAlignRight", true);
    const bool showText2 = readOption("Toolbar2ShowText", true);
    {
        const bool large = readOption("Toolbar2LargeIcons", false);
        if (readOption("Toolbar2OfficeXP", false))
            m_sitesToolBar->setDrawStyle(StripToolBar::kDrawOfficeXP);
        m_sitesToolBar->setImageSource(ImageStrip::toolbarStripFile(large));
        m_sitesToolBar->createToolBar(large ? 24 : 16, textRight2, showText2);
        const QString custom = loadResString(1199);
        m_sitesToolBar->addButton(custom, 10, custom, StripToolBar::kStyleAutosize, QStringLiteral("Custom"));
        setToolbarShowText(m_sitesToolBar, QStringLiteral("Toolbar2"), showText2);
        bindButtonStates(m_sitesToolBar, QStringLiteral("Toolbar2"));
        connect(m_sitesToolBar, &StripToolBar::buttonClicked, this, &FrameChrome::onSitesButtonClicked);
    }

    // Address toolbar: the address field and its three buttons.
    {
        if (readOption("AddressbarOfficeXP", false))
            m_addressToolBar->setDrawStyle(StripToolBar::kDrawOfficeXP);
        m_addressToolBar->setImageSource(ImageStrip::toolbarStripFile(false));
        m_addressToolBar->createToolBar(16, textRight2, showText2);
        m_addressToolBar->addControl(m_address.holder(), QStringLiteral("AddressBar"));
        m_addressToolBar->addButton(loadResString(1176), 11, loadResString(1179), StripToolBar::kStyleAutosize,
                            QStringLiteral("Go"));
        m_addressToolBar->addButton(loadResString(1177), 13, QString(), StripToolBar::kStyleCheck,
                            QStringLiteral("GoNew"));
        m_addressToolBar->addButton(loadResString(1178), 15 + m_address.searchEngine(), loadResString(1114),
                            StripToolBar::kStyleDropDown, QStringLiteral("Search"));
        m_commands.setEnabled(QStringLiteral("AddressbarGo"),
                               !m_address.addressText().isEmpty());
        bindButtonStates(m_addressToolBar, QStringLiteral("Addressbar"));
        connect(m_addressToolBar, &StripToolBar::buttonClicked, this, &FrameChrome::onAddressButtonClicked);
        connect(m_addressToolBar, &StripToolBar::dropDownPressed, this, &FrameChrome::onAddressDropDown);
    }
}

void FrameChrome::setToolbarShowText(StripToolBar *toolbar, const QString &bandKey, bool show)
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

void FrameChrome::setToolbarTextRight(StripToolBar *toolbar, const QString &bandKey, bool right)
{
    toolbar->setTextRight(right);
    const int band = m_bands->bandIndexForKey(bandKey);
    if (band < 0)
        return;
    m_bands->setBandChildSize(band, toolbar->naturalWidth());
    m_bands->setBandChildMinHeight(band, 24);
    m_bands->relayoutBands();
}

void FrameChrome::setToolbarLargeIcons(StripToolBar *toolbar, bool large)
{
    toolbar->setImageSource(ImageStrip::toolbarStripFile(large));
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

void FrameChrome::showCustomLinkButtons()
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

// ---------------------------------------------------------------- bands and layout

QString FrameChrome::layoutFile()
{
    return Paths::dataFile(QStringLiteral("layout.xml"));
}

void FrameChrome::createDefaultBands(const QString &skinPath)
{
    int major = 0, minor = 0, build = 0;
    StripToolBar::version(major, minor, build);
    m_frame->setUpdatesEnabled(false);
    m_bands->reset();
    m_bands->setBackgroundPicture(m_skinPicture);
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

    m_menuBarHost->setBackgroundPicture(m_skinPicture);
    m_menuBarHost->refresh();
    if (!skinPath.isEmpty())
        Q_EMIT menuPictureRequested(m_skinPicture);
    m_frame->setUpdatesEnabled(true);
}

void FrameChrome::loadBandLayout(const QString &skinPath)
{
    const QString path = layoutFile();
    QByteArray bytes;
    const bool present = QFileInfo::exists(path);
    const bool read = present && UserFile::read(path, &bytes);
    createDefaultBands(skinPath);
    if (!present)
        return;
    // Bytes that are not UTF-8 text are never blank: they are set aside below.
    const std::optional<QString> text = read ? SettingsStore::readableText(bytes) : std::nullopt;
    if (text && text->trimmed().isEmpty())
        return;
    const QStringList keys = {QStringLiteral("MenuBar"),    QStringLiteral("Logo"),
                              QStringLiteral("Toolbar1"),   QStringLiteral("Toolbar2"),
                              QStringLiteral("Addressbar"), QStringLiteral("Tabbar")};
    const QList<QWidget *> children = {m_menuBarHost, m_logo, m_browseToolBar, m_sitesToolBar, m_addressToolBar, m_tabHolder};
    if (text && m_bands->restoreLayout(*text, keys, children)) {
        m_bands->setBandChildMinHeight(m_bands->bandIndexForKey(QStringLiteral("Logo")), 52);
        return;
    }
    // Not a layout: the default bands, and the file is kept under another name rather than
    // written over at exit.
    const QString aside = UserFile::setAside(path);
    if (!aside.isEmpty())
        m_setAsideLayoutFile = aside;
    else
        m_layoutFileKept = true;
}

bool FrameChrome::saveBandLayout()
{
    if (m_bands->bandCount() == 0)
        return true;
    if (m_layoutFileKept)
        return false;
    return UserFile::save(layoutFile(), m_bands->currentLayoutText().toUtf8());
}

void FrameChrome::destroyToolbars()
{
    m_bands->destroyBands();
    for (StripToolBar *toolbar : {m_browseToolBar, m_sitesToolBar, m_addressToolBar})
        toolbar->hide();
}

bool FrameChrome::bandVisible(const QString &bandKey) const
{
    return m_bands->bandVisible(m_bands->bandIndexForKey(bandKey));
}

void FrameChrome::setBandVisible(const QString &bandKey, bool visible)
{
    m_bands->setBandVisible(m_bands->bandIndexForKey(bandKey), visible);
}

void FrameChrome::setBandsAlignment(int alignment)
{
    m_bandsAlignment = alignment;
    m_bands->setArea(alignment == 2 ? Qt::BottomToolBarArea : Qt::TopToolBarArea);
}

// ---------------------------------------------------------------- toolbar buttons

void FrameChrome::onToolbarButtonClicked(StripToolBar *toolbar, const QString &bandKey, int position)
{
    if (position == -1) {
        Q_EMIT toolbarOptionsRequested(bandKey, QCursor::pos());
        return;
    }
    const FrameMenus::ButtonCommand command = FrameMenus::buttonCommand(
        bandKey, toolbar->buttonKey(position), AppState::settings.controlNavNew);
    if (!command.key.isEmpty())
        m_commands.run(command.key, command.data);
}

void FrameChrome::bindButtonStates(StripToolBar *toolbar, const QString &bandKey)
{
    for (int position = 0; position < toolbar->buttonCount(); ++position) {
        const QString button = toolbar->buttonKey(position);
        QAction *command =
            m_commands.action(FrameMenus::buttonCommand(bandKey, button, false).key);
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

QPoint FrameChrome::belowButton(StripToolBar *toolbar, int position) const
{
    const QRect r = toolbar->buttonRect(toolbar->buttonKey(position));
    return toolbar->mapToGlobal(r.bottomLeft() + QPoint(0, 1));
}

void FrameChrome::onNavigatorCommand(NavigatorPalette::Command command)
{
    const char *button = "New";
    switch (command) {
    case NavigatorPalette::Command::NewTab: button = "New"; break;
    case NavigatorPalette::Command::Back: button = "Back"; break;
    case NavigatorPalette::Command::Forward: button = "Forward"; break;
    case NavigatorPalette::Command::Refresh: button = "Refresh"; break;
    case NavigatorPalette::Command::Stop: button = "Stop"; break;
    }
    m_commands.trigger(
        FrameMenus::buttonCommand(QStringLiteral("Toolbar1"), QLatin1String(button), false).key);
}

void FrameChrome::onBrowseButtonClicked(int position)
{
    onToolbarButtonClicked(m_browseToolBar, QStringLiteral("Toolbar1"), position);
}

void FrameChrome::onBrowseDropDown(int position)
{
    Q_EMIT browseDropDownRequested(m_browseToolBar->buttonKey(position),
                                   belowButton(m_browseToolBar, position));
}

void FrameChrome::onSitesButtonClicked(int position)
{
    onToolbarButtonClicked(m_sitesToolBar, QStringLiteral("Toolbar2"), position);
}

void FrameChrome::onAddressButtonClicked(int position)
{
    // The address toolbar's only option is the styled look: without it there is no menu.
    if (position == -1 && !AppState::flatStyleAvailable)
        return;
    onToolbarButtonClicked(m_addressToolBar, QStringLiteral("Addressbar"), position);
}

void FrameChrome::onAddressDropDown(int position)
{
    if (m_addressToolBar->buttonKey(position) == QLatin1String("Search"))
        Q_EMIT searchEnginesMenuRequested(belowButton(m_addressToolBar, position));
}


// ---------------------------------------------------------------- the logo band's buttons

void FrameChrome::confirmCloseAll()
{
    if (QMessageBox::question(m_frame, loadResString(100), loadResString(117),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    Q_EMIT closeAllRequested();
}
