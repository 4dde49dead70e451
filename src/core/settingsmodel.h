#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <variant>
#include <vector>

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
    float MainLeft = 0, MainTop = 0, MainWidth = 0, MainHeight = 0; // twips
    bool MainMaximized = false;
    float NavigatorLeft = 0, NavigatorTop = 0, NavigatorWidth = 0, NavigatorHeight = 0;
    bool BrowseToolbarVisible = false;
    bool SitesToolbarVisible = false;
    bool AddressBarVisible = false;
    bool TabsBarVisible = false;
    QStringList TypedAddresses; // the address bar's list, top entry first
    bool StatusBarVisible = false;
    bool GoNew = false;
    qint16 CurrentSearchEngine = 0;

    // ---- "General"
    bool SaveDocumentOnExit = false;
    qint32 LoadAction = 0; // 1 load all saved documents, 2 ask, 3 load none
    bool MinimizeToTray = false;
    QString TrayPassword; // digest, empty = no lock
    bool CheckIfDefault = false;
    bool CheckForUpdate = false;

    // ---- "History": traces cleaned at exit
    bool CleanAddress = false, CleanSearch = false, CleanCookies = false, CleanHistory = false,
         CleanTemp = false;

    // ---- "Sites"
    QString SitesHome1, SitesHome2, SitesSearch, SitesNews, SitesMail;

    // ---- "Sidebar"
    bool EnableSidebar = false;
    QString QNFontName;
    qint16 QNFontSize = 0;
    qint32 QNColor = 0; // 0x00BBGGRR
    bool QNBold = false, QNItalic = false, QNUnderline = false;
    qint16 FavRefresh = 0, HistRefresh = 0; // minutes, 0 = off

    // ---- "CustomLinks"
    qint16 CustomLinksCount = 0; // -1 in the store: never saved
    QStringList CustomLinksName, CustomLinksURL; // entry i of the store at index i - 1

    // ---- "Skins" (read by the splash and the interface start-up, written at exit)
    QString CurrentSkin;
    QString ToolbarLargeBitmap, ToolbarSmallBitmap;

    // ---- "Control"
    bool ControlNavNew = false, ControlSitesNew = false, ControlFavNew = false,
         ControlHistNew = false;
    qint32 ControlLeft = 0, ControlShiftLeft = 0, ControlRight = 0, ControlShiftRight = 0,
           ControlDouble = 0;

    // ---- "Content"
    bool EnableImages = false, EnableSound = false, EnableVideo = false, EnableScripts = false,
         EnableJava = false, EnableActiveXDL = false, EnableActiveXRUN = false,
         EnableFlash = false, SuppressErrors = false, SuppressScriptErrors = false;

    // ---- "Forms"
    bool AutoFormFill = false, ProtectCreditInfo = false;
    QString CreditInfoPassword; // digest, empty = none

    // ---- "Popup"
    bool PopupKillerEnable = false, PopupAltEnable = false, PopupChangeMouse = false,
         PopupPlaySound = false;
    QString PopupSoundFile;
    qint32 PopupAutoWhitelistAdd = 0; // 2 add the page address, 3 its domain
    bool PopupPromptWhitelist = false;

    // ---- "RSS"
    bool RSSStartupCheck = false;
    qint16 RSSAutoCheckMinutes = 0, RSSTimeoutSec = 0;
    QString RSSProxyServer;
    qint32 ReadDeleteDays = 0, UnreadDeleteDays = 0;

    // ---- "Gestures": action numbers, 0 = not used
    qint32 MouseUp = 0, MouseDown = 0, MouseRight = 0, MouseLeft = 0, MouseUpRight = 0,
           MouseUpLeft = 0, MouseDownRight = 0, MouseDownLeft = 0, MouseRightUp = 0,
           MouseRightDown = 0, MouseLeftUp = 0, MouseLeftDown = 0;

    // What a load needs from outside the store.
    struct LoadContext
    {
        bool prevSessionCrashed = false;
        // Links of the user's Links favorites folder, taken when no custom list was ever saved.
        QStringList ieLinksName, ieLinksURL;
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
    // Writes every key back in one atomic file write.
    void save(SettingsStore &store, const SaveContext &context) const;

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
};
