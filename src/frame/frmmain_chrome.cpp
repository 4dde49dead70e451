// The frame's chrome: interface start-up, toolbars, bands and their layout file, skins.

#include "frmmain.h"
#include "sidebar/sidebar.h"

#include "core/maincode.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "crebar.h"
#include "ctoolbar.h"
#include "document/frmdocument.h"
#include "dtabcontrol.h"
#include "popupmenu6.h"
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

void frmMain::InitInterface()
{
    SettingsModel &s = MainCode::Settings;
    // 1, 2. The skin settings; the next start keeps this skin unless one is chosen.
    s.loadSkins(SettingsStore::instance());
    g_sNextSkin = s.CurrentSkin;

    // 3. The skin picture; a skin that does not load is dropped for this start and the next.
    m_skinPath.clear();
    SkinPicture = QPixmap();
    if (s.CurrentSkin != QLatin1String("none")) {
        const QString path = Interface::SkinFile(s.CurrentSkin);
        QPixmap picture;
        if (!path.isEmpty() && picture.load(path) && SkinPaint::usable(picture)) {
            m_skinPath = path;
            SkinPicture = picture;
        } else {
            QMessageBox::information(this, LoadResString(100), LoadResString(1148));
            s.CurrentSkin = QStringLiteral("none");
            g_sNextSkin = s.CurrentSkin;
        }
    }

    // 4. The side bar.
    m_sidebar->BuildSidebar(QString());
    // 5. Toolbars.
    CreateToolbars();

    // 6, 7. The menu bar.
    delete m_cMenu;
    m_cMenu = new PopupMenu6(this);
    m_cMenu->sethWndOwner(this);
    Interface::BuildMainMenu(*m_cMenu);
    connect(m_cMenu, &PopupMenu6::Click, this, &frmMain::m_cMenu_Click);
    connect(m_cMenu, &PopupMenu6::InitPopupMenu, this, &frmMain::m_cMenu_InitPopupMenu);
    m_cMenu->BuildMenuBar(tbrMenu);
    tbhMenu->Capture(tbrMenu);

    // 8. The bands.
    LoadRebarLayout(m_skinPath);

    // 9. The page-progress drawer of the status bar.
    cProgress.setMin(0);
    cProgress.setMax(100);
    cProgress.setWidth(172);

    // 10. The status bar.
    CreateStatusBar(m_skinPath);

    // 11. The tab strip shows the skin through its band.
}

QString frmMain::StripFile(bool large) const
{
    const QString configured =
        large ? MainCode::Settings.ToolbarLargeBitmap : MainCode::Settings.ToolbarSmallBitmap;
    // A strip that does not load gives way to the one shipped with the program.
    if (!configured.isEmpty() && !QImage(configured).isNull())
        return configured;
    return Paths::assetFile(large ? QStringLiteral("nav_24h.bmp") : QStringLiteral("nav_16h.bmp"));
}

void frmMain::CreateToolbars()
{
    // Browse toolbar.
    {
        const bool large = readOption("Toolbar1LargeIcons", true);
        const bool showText = readOption("Toolbar1ShowText", true);
        const bool textRight = readOption("Toolbar1TextAlignRight", true);
        const bool officeXP = readOption("Toolbar1OfficeXP", false);
        const bool links = readOption("Toolbar1LinksButton", true);
        if (officeXP)
            Toolbar1->setDrawStyle(cToolbar::kDrawOfficeXP);
        Toolbar1->setImageSource(StripFile(large));
        Toolbar1->CreateToolbar(large ? 24 : 16, textRight, showText);
        struct Button
        {
            const char *key;
            int id;
            int image;
            qint32 style;
        };
        const Button buttons[] = {
            {"New", 1101, 0, cToolbar::kStyleDropDown},
            {"Back", 1102, 3, cToolbar::kStyleDropDown},
            {"Forward", 1103, 4, cToolbar::kStyleDropDown},
            {"Refresh", 1104, 5, cToolbar::kStyleDropDown},
            {"Stop", 1105, 6, cToolbar::kStyleDropDown},
            {"Home", 1106, 8, cToolbar::kStyleAutosize},
            {"Home2", 1129, 9, cToolbar::kStyleAutosize},
            {"", 0, -1, cToolbar::kStyleSeparator},
            {"Mail", 1113, 1, cToolbar::kStyleAutosize},
            {"Search", 1114, 2, cToolbar::kStyleAutosize},
            {"News", 1115, 7, cToolbar::kStyleAutosize},
            {"LinksSep", 0, -1, cToolbar::kStyleSeparator},
            {"Links", 1202, 10, cToolbar::kStyleWholeDropDown},
        };
        for (const Button &b : buttons) {
            const QString text = b.id ? LoadResString(b.id) : QString();
            Toolbar1->AddButton(text, b.image, text, b.style, QLatin1String(b.key));
        }
        if (!links) {
            Toolbar1->setButtonVisible(QStringLiteral("Links"), false);
            Toolbar1->setButtonVisible(QStringLiteral("LinksSep"), false);
        }
        SetToolbarShowText(Toolbar1, QStringLiteral("Toolbar1"), showText);
        connect(Toolbar1, &cToolbar::ButtonClick, this, &frmMain::Toolbar1_ButtonClick);
        connect(Toolbar1, &cToolbar::DropDownPress, this, &frmMain::Toolbar1_DropDownPress);
    }

    // Sites toolbar; its link buttons come from ShowProperButtons.
    const bool textRight2 = readOption("Toolbar2TextAlignRight", true);
    const bool showText2 = readOption("Toolbar2ShowText", true);
    {
        const bool large = readOption("Toolbar2LargeIcons", false);
        if (readOption("Toolbar2OfficeXP", false))
            Toolbar2->setDrawStyle(cToolbar::kDrawOfficeXP);
        Toolbar2->setImageSource(StripFile(large));
        Toolbar2->CreateToolbar(large ? 24 : 16, textRight2, showText2);
        const QString custom = LoadResString(1199);
        Toolbar2->AddButton(custom, 10, custom, cToolbar::kStyleAutosize, QStringLiteral("Custom"));
        SetToolbarShowText(Toolbar2, QStringLiteral("Toolbar2"), showText2);
        connect(Toolbar2, &cToolbar::ButtonClick, this, &frmMain::Toolbar2_ButtonClick);
    }

    // Address toolbar: the address field and its three buttons.
    {
        if (readOption("AddressbarOfficeXP", false))
            Toolbar3->setDrawStyle(cToolbar::kDrawOfficeXP);
        Toolbar3->setImageSource(StripFile(false));
        Toolbar3->CreateToolbar(16, textRight2, showText2);
        Toolbar3->AddControl(Picture1, QStringLiteral("AddressBar"));
        Toolbar3->AddButton(LoadResString(1176), 11, LoadResString(1179), cToolbar::kStyleAutosize,
                            QStringLiteral("Go"));
        Toolbar3->AddButton(LoadResString(1177), 13, QString(), cToolbar::kStyleCheck,
                            QStringLiteral("GoNew"));
        Toolbar3->AddButton(LoadResString(1178), 15 + g_nSearchEngine, LoadResString(1114),
                            cToolbar::kStyleDropDown, QStringLiteral("Search"));
        Toolbar3->setButtonEnabled(QStringLiteral("Go"), !Addressbar->currentText().isEmpty());
        connect(Toolbar3, &cToolbar::ButtonClick, this, &frmMain::Toolbar3_ButtonClick);
        connect(Toolbar3, &cToolbar::DropDownPress, this, &frmMain::Toolbar3_DropDownPress);
    }
}

void frmMain::SetToolbarShowText(cToolbar *toolbar, const QString &bandKey, bool show)
{
    for (int i = 0; i < toolbar->ButtonCount(); ++i)
        toolbar->setButtonTextVisible(toolbar->ButtonKey(i), show);
    toolbar->ResizeToolbar();
    const int band = cReBar1->BandIndexForKey(bandKey);
    if (band < 0)
        return; // at start-up the bands come later
    cReBar1->setBandChildSize(band, toolbar->NaturalWidth());
    cReBar1->setBandChildMinHeight(band, 24);
    cReBar1->RelayoutBands();
}

void frmMain::SetToolbarTextRight(cToolbar *toolbar, const QString &bandKey, bool right)
{
    toolbar->setTextRight(right);
    const int band = cReBar1->BandIndexForKey(bandKey);
    if (band < 0)
        return;
    cReBar1->setBandChildSize(band, toolbar->NaturalWidth());
    cReBar1->setBandChildMinHeight(band, 24);
    cReBar1->RelayoutBands();
}

void frmMain::SetToolbarLargeIcons(cToolbar *toolbar, bool large)
{
    toolbar->setImageSource(StripFile(large));
    toolbar->setImageSize(large ? 24 : 16);
    // The band that holds this toolbar, wherever the layout put it.
    for (int band = 0; band < cReBar1->BandCount(); ++band) {
        if (cReBar1->BandChild(band) == toolbar) {
            cReBar1->setBandChildMinHeight(band, large ? 24 : 16);
            cReBar1->setBandChildSize(band, toolbar->NaturalWidth());
        }
    }
    cReBar1->RelayoutBands();
}

void frmMain::ShowProperButtons()
{
    const int band = cReBar1->BandIndexForKey(QStringLiteral("Toolbar2"));
    const bool visible = band >= 0 ? cReBar1->BandVisible(band) : !Toolbar2->isHidden();
    const int n = Toolbar2->ButtonCount();
    for (int i = 1; i < n; ++i)
        Toolbar2->RemoveButton(QStringLiteral("Custom%1").arg(i));
    const SettingsModel &s = MainCode::Settings;
    Toolbar2->setButtonVisible(QStringLiteral("Custom"), s.CustomLinksCount < 1);
    for (int i = 1; i <= s.CustomLinksCount; ++i) {
        const QString name = s.CustomLinksName.value(i - 1);
        Toolbar2->AddButton(name, 10, PopupMenu6::EscapeCaption(name), cToolbar::kStyleAutosize,
                            QStringLiteral("Custom%1").arg(i));
    }
    SetToolbarShowText(Toolbar2, QStringLiteral("Toolbar2"), readOption("Toolbar2ShowText", true));
    if (band >= 0)
        cReBar1->setBandVisible(band, visible);
    else
        Toolbar2->setVisible(visible);
}

void frmMain::ModifyMenu()
{
    const bool enabled = MainCode::OpenDocuments > 0;
    if (m_cMenu) {
        for (const char *key :
             {"mnuFileClose",       "mnuFileSaveAs",       "mnuFileProperties",
              "mnuFilePageSetup",   "mnuFilePrintPreview", "mnuFilePrint",
              "mnuEditIncFont",     "mnuEditDecFont",      "mnuEditResetFont",
              "mnuEditSelectAll",   "mnuEditFind",         "mnuViewAddToFav",
              "mnuViewTabs",        "mnuViewSource",       "mnuViewInternetOptions",
              "mnuNavigateBack",    "mnuNavigateForward",  "mnuNavigateStop",
              "mnuNavigateRefresh", "mnuContentFillForm"})
            m_cMenu->setEnabled(m_cMenu->IndexForKey(QLatin1String(key)), enabled);
        // The engine has no options dialog, Java or ActiveX: these items can do nothing.
        for (const char *key :
             {"mnuViewInternetOptions", "mnuContentJava", "mnuContentDLACTX", "mnuContentRUNACTX"})
            m_cMenu->setEnabled(m_cMenu->IndexForKey(QLatin1String(key)), false);
    }
    for (int position = 1; position <= 4; ++position)
        Toolbar1->setButtonEnabledAt(position, enabled);
    if (m_sidebar) {
        m_sidebar->btnAdd->setEnabled(enabled);
        m_sidebar->btnGroupAdd->setEnabled(enabled);
    }
}

// ---------------------------------------------------------------- bands and layout

QString frmMain::LayoutFile()
{
    return Paths::dataFile(QStringLiteral("layout.xml"));
}

void frmMain::CreateRebarBands(const QString &skinPath)
{
    int major = 0, minor = 0, build = 0;
    cToolbar::GetVersion(major, minor, build);
    setUpdatesEnabled(false);
    cReBar1->Reset();
    cReBar1->setBackgroundPicture(SkinPicture);
    cReBar1->CreateRebar(m_picHolderAlign == 2 ? Qt::BottomToolBarArea : Qt::TopToolBarArea);

    int band = cReBar1->AddBand(tbhMenu, QString(), true, false, QStringLiteral("MenuBar"));
    cReBar1->setBandChildMinHeight(band, 24);
    if (major > 4 || minor > 70)
        cReBar1->AddBand(picTest, QString(), false, true, QStringLiteral("Logo"));
    for (auto [toolbar, key] : {std::pair<cToolbar *, const char *>{Toolbar1, "Toolbar1"},
                                {Toolbar2, "Toolbar2"},
                                {Toolbar3, "Addressbar"}}) {
        band = cReBar1->AddBand(toolbar, QString(), true, false, QLatin1String(key));
        cReBar1->setBandChildMinHeight(band, 16);
    }
    cReBar1->AddBand(Picture6, QString(), true, false, QStringLiteral("Tabbar"));

    tbhMenu->setBackgroundPicture(SkinPicture);
    tbhMenu->Refresh();
    if (!skinPath.isEmpty())
        m_cMenu->setPicture(SkinPicture);
    setUpdatesEnabled(true);
}

void frmMain::LoadRebarLayout(const QString &skinPath)
{
    QString text;
    QFile file(LayoutFile());
    if (file.open(QIODevice::ReadOnly))
        text = QString::fromUtf8(file.readAll());
    CreateRebarBands(skinPath);
    if (text.trimmed().isEmpty())
        return;
    const QStringList keys = {QStringLiteral("MenuBar"),    QStringLiteral("Logo"),
                              QStringLiteral("Toolbar1"),   QStringLiteral("Toolbar2"),
                              QStringLiteral("Addressbar"), QStringLiteral("Tabbar")};
    const QList<QWidget *> children = {tbhMenu, picTest, Toolbar1, Toolbar2, Toolbar3, Picture6};
    // A text that is not a layout leaves the default bands.
    if (!cReBar1->RestoreLayout(text, keys, children))
        return;
    cReBar1->setBandChildMinHeight(cReBar1->BandIndexForKey(QStringLiteral("Logo")), 52);
}

void frmMain::SaveRebarLayout()
{
    if (cReBar1->BandCount() == 0)
        return;
    QSaveFile file(LayoutFile());
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(cReBar1->GetLayout().toUtf8());
    file.commit(); // a failed write keeps the last layout
}

void frmMain::DestroyToolbars()
{
    cReBar1->DestroyRebar();
    for (cToolbar *toolbar : {Toolbar1, Toolbar2, Toolbar3})
        toolbar->hide();
}

void frmMain::mnuAlignTop()
{
    m_picHolderAlign = 1;
    cReBar1->setArea(Qt::TopToolBarArea);
    m_cMenu->setRadioCheck(m_cMenu->IndexForKey(QStringLiteral("mnuAlignTop")), true);
    m_cMenu->setRadioCheck(m_cMenu->IndexForKey(QStringLiteral("mnuAlignBottom")), false);
}

void frmMain::mnuAlignBottom()
{
    m_picHolderAlign = 2;
    cReBar1->setArea(Qt::BottomToolBarArea);
    m_cMenu->setRadioCheck(m_cMenu->IndexForKey(QStringLiteral("mnuAlignBottom")), true);
    m_cMenu->setRadioCheck(m_cMenu->IndexForKey(QStringLiteral("mnuAlignTop")), false);
}

// ---------------------------------------------------------------- skins

void frmMain::EnumerateSkins()
{
    MainCode::SkinNames = Interface::EnumerateSkins(Interface::SkinFolders());
    MainCode::SkinCount = qint16(MainCode::SkinNames.size());
}

void frmMain::BuildSkinsMenu(const QString &key)
{
    Interface::BuildSkinsMenu(*m_cMenu, key, MainCode::SkinNames, g_sNextSkin);
}

void frmMain::SelectSkin(const QString &key)
{
    const int index = m_cMenu->IndexForKey(key);
    if (index < 1)
        return;
    g_sNextSkin = m_cMenu->Caption(index);
    if (MainCode::Settings.CurrentSkin != g_sNextSkin)
        QMessageBox::information(this, LoadResString(100), LoadResString(1147));
}

void frmMain::paintEvent(QPaintEvent *event)
{
    // The skin behind the bands (their gaps show the window itself).
    if (!SkinPaint::usable(SkinPicture) || g_bClosing)
        return;
    QPainter painter(this);
    SkinPaint::tile(painter, this, event->rect(), SkinPicture);
}

// ---------------------------------------------------------------- toolbar events

QPoint frmMain::BelowButton(cToolbar *toolbar, int position) const
{
    const QRect r = toolbar->ButtonRect(toolbar->ButtonKey(position));
    return toolbar->mapToGlobal(r.bottomLeft() + QPoint(0, 1));
}

void frmMain::Toolbar1_ButtonClick(int position)
{
    if (position == -1) {
        ShowMenu(
            m_cNavToolbar,
            [this](PopupMenu6 &menu) {
                Interface::BuildNavToolbarMenu(menu, SettingsStore::instance(), *Toolbar1,
                                               MainCode::IsXP);
            },
            &frmMain::m_cNavToolbar_Click, QCursor::pos());
        return;
    }
    const QString key = Toolbar1->ButtonKey(position);
    const bool newTab = MainCode::Settings.ControlNavNew;
    if (key == QLatin1String("New"))
        NewHome1();
    else if (key == QLatin1String("Back"))
        Back();
    else if (key == QLatin1String("Forward"))
        Forward();
    else if (key == QLatin1String("Refresh"))
        Refresh();
    else if (key == QLatin1String("Stop"))
        StopLoading();
    else if (key == QLatin1String("Home"))
        newTab ? NewHome1() : Home1();
    else if (key == QLatin1String("Home2"))
        newTab ? NewHome2() : Home2();
    else if (key == QLatin1String("Mail"))
        newTab ? NewEmail() : GoMail();
    else if (key == QLatin1String("Search"))
        newTab ? NewSearch() : GoSearch();
    else if (key == QLatin1String("News"))
        newTab ? NewNews() : GoNews();
}

void frmMain::Toolbar1_DropDownPress(int position)
{
    const QString key = Toolbar1->ButtonKey(position);
    const QPoint at = BelowButton(Toolbar1, position);
    if (key == QLatin1String("New")) {
        ShowNewMenu(at);
    } else if (key == QLatin1String("Refresh")) {
        ShowMenu(
            m_cRefresh, [](PopupMenu6 &menu) { Interface::BuildRefreshAllMenu(menu); },
            &frmMain::m_cRefresh_Click, at);
    } else if (key == QLatin1String("Stop")) {
        ShowMenu(
            m_cStop, [](PopupMenu6 &menu) { Interface::BuildStopAllMenu(menu); },
            &frmMain::m_cStop_Click, at);
    } else if (key == QLatin1String("Links")) {
        ShowMenu(
            m_cNavLinksToolbar,
            [](PopupMenu6 &menu) {
                const SettingsModel &s = MainCode::Settings;
                Interface::BuildLinksMenu(menu, s.CustomLinksName, s.CustomLinksCount);
            },
            &frmMain::m_cNavLinksToolbar_Click, at);
    } else if (key == QLatin1String("Back") || key == QLatin1String("Forward")) {
        ShowTravelLogMenu(key == QLatin1String("Back"), at);
    }
}

void frmMain::Toolbar2_ButtonClick(int position)
{
    if (position == -1) {
        ShowMenu(
            m_cSitesToolbar,
            [this](PopupMenu6 &menu) {
                Interface::BuildSitesToolbarMenu(menu, SettingsStore::instance(), *Toolbar2,
                                                 MainCode::IsXP);
            },
            &frmMain::m_cSitesToolbar_Click, QCursor::pos());
        return;
    }
    const QString key = Toolbar2->ButtonKey(position);
    if (key == QLatin1String("Custom")) {
        MainCode::OptionsPage = 5;
        mnuViewOptions();
    } else if (key.startsWith(QLatin1String("Custom"))) {
        bool ok = false;
        const int link = key.mid(6).toInt(&ok);
        if (ok)
            OpenLink(link);
    }
}

void frmMain::Toolbar3_ButtonClick(int position)
{
    if (position == -1) {
        if (MainCode::IsXP)
            ShowMenu(
                m_cAddressbar,
                [](PopupMenu6 &menu) {
                    Interface::BuildAddressBarMenu(menu, SettingsStore::instance(), true);
                },
                &frmMain::m_cAddressbar_Click, QCursor::pos());
        return;
    }
    const QString key = Toolbar3->ButtonKey(position);
    if (key == QLatin1String("Go"))
        GoButton();
    else if (key == QLatin1String("Search"))
        SearchWeb(g_nSearchEngine, Addressbar->currentText());
}

void frmMain::Toolbar3_DropDownPress(int position)
{
    if (Toolbar3->ButtonKey(position) == QLatin1String("Search"))
        ShowMenu(
            m_cSearchEngines, [](PopupMenu6 &menu) { Interface::BuildSearchEnginesMenu(menu); },
            &frmMain::m_cSearchEngines_Click, BelowButton(Toolbar3, position));
}
