#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <variant>
#include <vector>

class QFont;
class SettingsStore;

// Every user option of Quarvel, one member per stored key, named after the key. The frame
// fills it from the store at load (and applies the visible values itself), the options pages
// and menu commands change it, and it is written back at a normal exit. Members keep their
// zero state until loaded; a stored text that fails to convert leaves the member as it was.
class SettingsModel
{
public:
    enum class WindowState { Normal, Minimized, Maximized };

    // ---- "Settings": frame layout and address-bar state (held by the frame's controls;
    // the frame copies them in before a save and applies them after a load).
    float mainLeft = 0, mainTop = 0, mainWidth = 0, mainHeight = 0; // twips
    bool mainMaximized = false;
    float navigatorLeft = 0, navigatorTop = 0, navigatorWidth = 0, navigatorHeight = 0;
    bool browseToolbarVisible = false;
    bool sitesToolbarVisible = false;
    bool addressBarVisible = false;
    bool tabsBarVisible = false;
    QStringList typedAddresses; // the address bar's list, top entry first
    bool statusBarVisible = false;
    bool goNew = false;
    qint16 currentSearchEngine = 0;

    // ---- "General"
    bool saveDocumentOnExit = false;
    qint32 loadAction = 0; // 1 load all saved documents, 2 ask, 3 load none
    bool minimizeToTray = false;
    QString trayPassword; // digest, empty = no lock
    bool checkIfDefault = false;
    bool checkForUpdate = false;

    // ---- "History": traces cleaned at exit
    bool cleanAddress = false, cleanSearch = false, cleanCookies = false, cleanHistory = false,
         cleanTemp = false;

    // ---- "Sites"
    QString sitesHome1, sitesHome2, sitesSearch, sitesNews, sitesMail;

    // ---- "Sidebar"
    bool enableSidebar = false;
    QString qnFontName;
    qint16 qnFontSize = 0;
    qint32 qnColor = 0; // 0x00BBGGRR
    bool qnBold = false, qnItalic = false, qnUnderline = false;
    qint16 favRefresh = 0, histRefresh = 0; // minutes, 0 = off

    // ---- "CustomLinks"
    qint16 customLinksCount = 0; // -1 in the store: never saved
    QStringList customLinksName, customLinksURL; // entry i of the store at index i - 1

    // ---- "Skins" (read by the splash and the interface start-up, written at exit)
    QString currentSkin;
    QString toolbarLargeBitmap, toolbarSmallBitmap;

    // ---- "Control"
    bool controlNavNew = false, controlSitesNew = false, controlFavNew = false,
         controlHistNew = false;
    qint32 controlLeft = 0, controlShiftLeft = 0, controlRight = 0, controlShiftRight = 0,
           controlDouble = 0;

    // ---- "Content"
    bool enableImages = false, enableSound = false, enableVideo = false, enableScripts = false,
         enableJava = false, enableActiveXDL = false, enableActiveXRUN = false,
         enableFlash = false, suppressErrors = false, suppressScriptErrors = false;

    // ---- "Forms"
    bool autoFormFill = false, protectCreditInfo = false;
    QString creditInfoPassword; // digest, empty = none

    // ---- "Popup"
    bool popupKillerEnable = false, popupAltEnable = false, popupChangeMouse = false,
         popupPlaySound = false;
    QString popupSoundFile;
    qint32 popupAutoWhitelistAdd = 0; // 2 add the page address, 3 its domain
    bool popupPromptWhitelist = false;

    // ---- "RSS"
    bool rssStartupCheck = false;
    qint16 rssAutoCheckMinutes = 0, rssTimeoutSec = 0;
    QString rssProxyServer;
    qint32 readDeleteDays = 0, unreadDeleteDays = 0;

    // ---- "Gestures": action numbers, 0 = not used
    qint32 mouseUp = 0, mouseDown = 0, mouseRight = 0, mouseLeft = 0, mouseUpRight = 0,
           mouseUpLeft = 0, mouseDownRight = 0, mouseDownLeft = 0, mouseRightUp = 0,
           mouseRightDown = 0, mouseLeftUp = 0, mouseLeftDown = 0;

    // What a load needs from outside the store.
    struct LoadContext
    {
        bool prevSessionCrashed = false;
        // Links of the user's Links favorites folder, taken when no custom list was ever saved.
        QStringList linkNames, linkUrls;
    };
    // What a save needs from the frame.
    struct SaveContext
    {
        WindowState windowState = WindowState::Normal;
        QString nextSkin; // the skin chosen for the next start
    };

    // Reads every key that the frame's load reads (all sections but "Skins"). A plain-text
    // password found in the store is replaced there by its digest.
    void load(SettingsStore &store, const LoadContext &context);
    // Reads the "Skins" keys (the splash and the interface start-up do this before the load).
    void loadSkins(const SettingsStore &store);
    // Writes every key back in one atomic file write; false when the file could not be written
    // (it then keeps what it held).
    bool save(SettingsStore &store, const SaveContext &context) const;

    // One row of the key tables: section, key, the member and the default as the read names it.
    using Member = std::variant<bool SettingsModel::*, qint16 SettingsModel::*,
                                qint32 SettingsModel::*, float SettingsModel::*,
                                QString SettingsModel::*>;
    struct Key
    {
        const char *section;
        const char *key;
        Member member;
        QString defaultText;
    };
    // The plain keys (one value, one member), in load order. Lists, geometry, passwords and
    // skins are handled apart.
    static const std::vector<Key> &plainKeys();

    // The quick notes' font as the "QN" keys give it.
    QFont quickNotesFont() const;

    // Most typed addresses a save writes.
    static constexpr int kMaxTypedAddresses = 51;

    // Store helpers for the keys that their owners read and write themselves.
    static bool readBoolean(const SettingsStore &store, const QString &section,
                            const QString &key, bool defaultValue);
    static qint16 readInteger(const SettingsStore &store, const QString &section,
                              const QString &key, qint16 defaultValue);
    static bool writeBoolean(SettingsStore &store, const QString &section, const QString &key,
                             bool value);

    // Default addresses of the "Sites" section.
    static QString defaultSitesHome1();
    static QString defaultSitesHome2();
    static QString defaultSitesSearch();
    static QString defaultSitesNews();
    static QString defaultSitesMail();

private:
    void writeKeys(SettingsStore &store, const SaveContext &context) const;
};
