#include "settingsmodel.h"

#include "passworddigest.h"
#include "paths.h"
#include "settingsstore.h"
#include "storedvalue.h"

#include <QFont>

namespace {

using M = SettingsModel;

const QString kSettings = QStringLiteral("Settings");
const QString kCustomLinks = QStringLiteral("CustomLinks");
const QString kSkins = QStringLiteral("Skins");

QString keyed(const char *word, qsizetype index)
{
    return QLatin1String(word) + QString::number(index);
}

// Reads one key into a member; a text that fails to convert leaves the member as it was.
template <typename T> void readInto(const SettingsStore &store, const QString &section,
                                    const QString &key, const QString &defaultText, T &target)
{
    const QString text = store.read(section, key, defaultText);
    if constexpr (std::is_same_v<T, bool>) {
        if (const auto v = StoredValue::toBoolean(text))
            target = *v;
    } else if constexpr (std::is_same_v<T, qint16>) {
        if (const auto v = StoredValue::toInteger(text))
            target = *v;
    } else if constexpr (std::is_same_v<T, qint32>) {
        if (const auto v = StoredValue::toLong(text))
            target = *v;
    } else if constexpr (std::is_same_v<T, float>) {
        if (const auto v = StoredValue::toSingle(text))
            target = *v;
    } else {
        target = text;
    }
}

QString toText(bool v) { return StoredValue::fromBoolean(v); }
QString toText(qint16 v) { return StoredValue::fromInteger(v); }
QString toText(qint32 v) { return StoredValue::fromInteger(v); }
QString toText(float v) { return StoredValue::fromSingle(v); }
QString toText(const QString &v) { return v; }

// A password as the store should hold it: digests stay, a plain value becomes its digest.
QString loadPassword(SettingsStore &store, const QString &section, const QString &key)
{
    const QString stored = store.read(section, key, QString());
    if (stored.isEmpty() || PasswordDigest::isDigest(stored))
        return stored;
    const QString digest = PasswordDigest::make(stored);
    store.write(section, key, digest);
    return digest;
}

} // namespace

const std::vector<SettingsModel::Key> &SettingsModel::plainKeys()
{
    static const std::vector<Key> keys = [] {
        const QString t = QStringLiteral("True"), f = QStringLiteral("False");
        std::vector<Key> k = {
            {"Settings", "MainLeft", &M::mainLeft, QStringLiteral("1000")},
            {"Settings", "MainTop", &M::mainTop, QStringLiteral("1000")},
            {"Settings", "MainWidth", &M::mainWidth, QStringLiteral("6500")},
            {"Settings", "MainHeight", &M::mainHeight, QStringLiteral("6500")},
            {"Settings", "MainMaximized", &M::mainMaximized, t},
            {"Settings", "BrowseToolbarVisible", &M::browseToolbarVisible, t},
            {"Settings", "AddressBarVisible", &M::addressBarVisible, t},
            {"Settings", "TabsBarVisible", &M::tabsBarVisible, t},
            {"Settings", "StatusBarVisible", &M::statusBarVisible, t},
            {"Settings", "GoNew", &M::goNew, f},
            {"Settings", "CurrentSearchEngine", &M::currentSearchEngine, QStringLiteral("0")},
            {"General", "SaveDocumentOnExit", &M::saveDocumentOnExit, t},
            {"General", "LoadAction", &M::loadAction, QStringLiteral("2")},
            {"General", "MinimizeToTray", &M::minimizeToTray, t},
            {"General", "CheckIfDefault", &M::checkIfDefault, t},
            {"General", "CheckForUpdate", &M::checkForUpdate, t},
            {"History", "CleanAddress", &M::cleanAddress, f},
            {"History", "CleanSearch", &M::cleanSearch, f},
            {"History", "CleanCookies", &M::cleanCookies, f},
            {"History", "CleanHistory", &M::cleanHistory, f},
            {"History", "CleanTemp", &M::cleanTemp, f},
            {"Sites", "SitesHome1", &M::sitesHome1, defaultSitesHome1()},
            {"Sites", "SitesHome2", &M::sitesHome2, defaultSitesHome2()},
            {"Sites", "SitesSearch", &M::sitesSearch, defaultSitesSearch()},
            {"Sites", "SitesNews", &M::sitesNews, defaultSitesNews()},
            {"Sites", "SitesMail", &M::sitesMail, defaultSitesMail()},
            {"Sidebar", "EnableSidebar", &M::enableSidebar, t},
            {"Sidebar", "QNFontName", &M::qnFontName, QStringLiteral("Verdana")},
            {"Sidebar", "QNFontSize", &M::qnFontSize, QStringLiteral("10")},
            {"Sidebar", "QNColor", &M::qnColor, QStringLiteral("&H00FF6666")},
            {"Sidebar", "QNBold", &M::qnBold, f},
            {"Sidebar", "QNItalic", &M::qnItalic, f},
            {"Sidebar", "QNUnderline", &M::qnUnderline, f},
            {"Sidebar", "FavRefresh", &M::favRefresh, QStringLiteral("10")},
            {"Sidebar", "HistRefresh", &M::histRefresh, QStringLiteral("10")},
            {"Settings", "SitesToolbarVisible", &M::sitesToolbarVisible, f},
            {"Control", "ControlNavNew", &M::controlNavNew, f},
            {"Control", "ControlSitesNew", &M::controlSitesNew, t},
            {"Control", "ControlFavNew", &M::controlFavNew, f},
            {"Control", "ControlHistNew", &M::controlHistNew, f},
            {"Control", "ControlLeft", &M::controlLeft, QStringLiteral("0")},
            {"Control", "ControlShiftLeft", &M::controlShiftLeft, QStringLiteral("4")},
            {"Control", "ControlRight", &M::controlRight, QStringLiteral("1")},
            {"Control", "ControlShiftRight", &M::controlShiftRight, QStringLiteral("3")},
            {"Control", "ControlDouble", &M::controlDouble, QStringLiteral("2")},
            {"Content", "EnableImages", &M::enableImages, t},
            {"Content", "EnableSound", &M::enableSound, t},
            {"Content", "EnableVideo", &M::enableVideo, t},
            {"Content", "EnableScripts", &M::enableScripts, t},
            {"Content", "EnableJava", &M::enableJava, t},
            {"Content", "EnableActiveXDL", &M::enableActiveXDL, t},
            {"Content", "EnableActiveXRUN", &M::enableActiveXRUN, t},
            {"Content", "EnableFlash", &M::enableFlash, t},
            {"Content", "SuppressErrors", &M::suppressErrors, t},
            {"Content", "SuppressScriptErrors", &M::suppressScriptErrors, t},
            {"Forms", "AutoFormFill", &M::autoFormFill, t},
            {"Forms", "ProtectCreditInfo", &M::protectCreditInfo, f},
            {"Popup", "PopupKillerEnable", &M::popupKillerEnable, t},
            {"Popup", "PopupAltEnable", &M::popupAltEnable, t},
            {"Popup", "PopupChangeMouse", &M::popupChangeMouse, t},
            {"Popup", "PopupPlaySound", &M::popupPlaySound, t},
            {"Popup", "PopupSoundFile", &M::popupSoundFile, Paths::assetFile(QStringLiteral("popup.wav"))},
            {"Popup", "PopupAutoWhitelistAdd", &M::popupAutoWhitelistAdd, QStringLiteral("1")},
            {"Popup", "PopupPromptWhitelist", &M::popupPromptWhitelist, t},
            {"RSS", "RSSStartupCheck", &M::rssStartupCheck, t},
            {"RSS", "RSSAutoCheckMinutes", &M::rssAutoCheckMinutes, QStringLiteral("30")},
            {"RSS", "RSSTimeoutSec", &M::rssTimeoutSec, QStringLiteral("0")},
            {"RSS", "RSSProxyServer", &M::rssProxyServer, QString()},
            {"RSS", "ReadDeleteDays", &M::readDeleteDays, QStringLiteral("1")},
            {"RSS", "UnreadDeleteDays", &M::unreadDeleteDays, QStringLiteral("3")},
            {"Gestures", "MouseUp", &M::mouseUp, QStringLiteral("3")},
            {"Gestures", "MouseDown", &M::mouseDown, QStringLiteral("4")},
            {"Gestures", "MouseRight", &M::mouseRight, QStringLiteral("2")},
            {"Gestures", "MouseLeft", &M::mouseLeft, QStringLiteral("1")},
            {"Gestures", "MouseUpRight", &M::mouseUpRight, QStringLiteral("10")},
            {"Gestures", "MouseUpLeft", &M::mouseUpLeft, QStringLiteral("0")},
            {"Gestures", "MouseDownRight", &M::mouseDownRight, QStringLiteral("0")},
            {"Gestures", "MouseDownLeft", &M::mouseDownLeft, QStringLiteral("0")},
            {"Gestures", "MouseRightUp", &M::mouseRightUp, QStringLiteral("0")},
            {"Gestures", "MouseRightDown", &M::mouseRightDown, QStringLiteral("0")},
            {"Gestures", "MouseLeftUp", &M::mouseLeftUp, QStringLiteral("0")},
            {"Gestures", "MouseLeftDown", &M::mouseLeftDown, QStringLiteral("0")},
        };
        return k;
    }();
    return keys;
}

QString SettingsModel::defaultSitesHome1() { return QStringLiteral("about:blank"); }
QString SettingsModel::defaultSitesHome2() { return QStringLiteral("https://www.wikipedia.org/"); }
QString SettingsModel::defaultSitesSearch() { return QStringLiteral("https://duckduckgo.com/"); }
QString SettingsModel::defaultSitesNews() { return QStringLiteral("https://www.reuters.com/"); }
QString SettingsModel::defaultSitesMail() { return QStringLiteral("https://mail.proton.me/"); }

void SettingsModel::load(SettingsStore &store, const LoadContext &context)
{
    for (const Key &k : plainKeys()) {
        const QString section = QLatin1String(k.section), key = QLatin1String(k.key);
        std::visit([&](auto member) { readInto(store, section, key, k.defaultText, this->*member); },
                   k.member);
    }

    // The palette keeps its place unless the store says otherwise.
    readInto(store, kSettings, QStringLiteral("NavigatorLeft"), toText(navigatorLeft), navigatorLeft);
    readInto(store, kSettings, QStringLiteral("NavigatorTop"), toText(navigatorTop), navigatorTop);
    readInto(store, kSettings, QStringLiteral("NavigatorWidth"), toText(navigatorWidth), navigatorWidth);
    readInto(store, kSettings, QStringLiteral("NavigatorHeight"), toText(navigatorHeight), navigatorHeight);

    // Typed addresses: every entry goes to the top, so the one read last ends up first.
    typedAddresses.clear();
    qint16 historyCount = 0;
    readInto(store, kSettings, QStringLiteral("HistoryCount"), QStringLiteral("0"), historyCount);
    // A count beyond the entries stored brings only the entries that exist.
    for (qint16 i = 1; i <= historyCount && i > 0; ++i) {
        const QString key = keyed("HistorySite", i);
        if (store.contains(kSettings, key))
            typedAddresses.prepend(store.read(kSettings, key, QString()));
    }

    // After a crash, "load all saved pages" becomes "ask".
    if (context.prevSessionCrashed && loadAction == 1)
        loadAction = 2;

    trayPassword = loadPassword(store, QStringLiteral("General"), QStringLiteral("TrayPassword"));
    creditInfoPassword = loadPassword(store, QStringLiteral("Forms"), QStringLiteral("CreditInfoPassword"));

    if (qnFontName.isEmpty())
        qnFontName = QStringLiteral("Verdana");

    // Custom links; -1 means no list was ever saved: take the Links favorites folder's.
    readInto(store, kCustomLinks, QStringLiteral("CustomLinksCount"), QStringLiteral("-1"),
             customLinksCount);
    customLinksName.clear();
    customLinksURL.clear();
    if (customLinksCount == -1) {
        const qsizetype n = qMin(context.linkNames.size(), context.linkUrls.size());
        customLinksCount = qint16(n);
        customLinksName = context.linkNames.mid(0, n);
        customLinksURL = context.linkUrls.mid(0, n);
    } else if (customLinksCount < 0) {
        customLinksCount = 0; // a damaged count: no list rather than a negative one
    } else {
        for (qint16 i = 1; i <= customLinksCount && i > 0; ++i) {
            customLinksName.append(store.read(kCustomLinks, keyed("CustomLinksName", i), QString()));
            customLinksURL.append(store.read(kCustomLinks, keyed("CustomLinksURL", i), QString()));
        }
    }
}

void SettingsModel::loadSkins(const SettingsStore &store)
{
    currentSkin = store.read(kSkins, QStringLiteral("CurrentSkin"), QStringLiteral("daybreak"));
    toolbarLargeBitmap = store.read(kSkins, QStringLiteral("ToolbarLargeBitmap"),
                                    Paths::assetFile(QStringLiteral("nav_24h.bmp")));
    toolbarSmallBitmap = store.read(kSkins, QStringLiteral("ToolbarSmallBitmap"),
                                    Paths::assetFile(QStringLiteral("nav_16h.bmp")));
}

bool SettingsModel::save(SettingsStore &store, const SaveContext &context) const
{
    {
        SettingsStore::Batch batch(store);
        writeKeys(store, context);
    }
    return !store.lastWriteFailed();
}

void SettingsModel::writeKeys(SettingsStore &store, const SaveContext &context) const
{
    static const QStringList geometryKeys = {
        QStringLiteral("MainLeft"),     QStringLiteral("MainTop"),
        QStringLiteral("MainWidth"),    QStringLiteral("MainHeight"),
        QStringLiteral("MainMaximized"),
    };

    // Typed addresses: the newest (the top of the list) are kept, empty ones skipped, and
    // written from the lowest kept one upwards, the top one last.
    QStringList kept;
    for (const QString &address : typedAddresses) {
        if (kept.size() >= kMaxTypedAddresses)
            break;
        if (!address.isEmpty())
            kept.append(address);
    }
    int count = 0;
    for (qsizetype p = kept.size() - 1; p >= 0; --p)
        store.write(kSettings, keyed("HistorySite", ++count), kept[p]);
    store.write(kSettings, QStringLiteral("HistoryCount"), toText(qint16(count)));

    // Window geometry only in the normal state; the palette unless minimised.
    if (context.windowState == WindowState::Normal) {
        for (int i = 0; i < 4; ++i) {
            const float *value[] = {&mainLeft, &mainTop, &mainWidth, &mainHeight};
            store.write(kSettings, geometryKeys[i], toText(*value[i]));
        }
    }
    if (context.windowState != WindowState::Minimized) {
        store.write(kSettings, QStringLiteral("NavigatorLeft"), toText(navigatorLeft));
        store.write(kSettings, QStringLiteral("NavigatorTop"), toText(navigatorTop));
        store.write(kSettings, QStringLiteral("NavigatorWidth"), toText(navigatorWidth));
        store.write(kSettings, QStringLiteral("NavigatorHeight"), toText(navigatorHeight));
    }
    store.write(kSettings, QStringLiteral("MainMaximized"),
                toText(context.windowState == WindowState::Maximized));

    for (const Key &k : plainKeys()) {
        const QString section = QLatin1String(k.section), key = QLatin1String(k.key);
        if (section == kSettings && geometryKeys.contains(key))
            continue;
        std::visit([&](auto member) { store.write(section, key, toText(this->*member)); }, k.member);
    }

    store.write(QStringLiteral("General"), QStringLiteral("TrayPassword"), trayPassword);
    store.write(QStringLiteral("Forms"), QStringLiteral("CreditInfoPassword"), creditInfoPassword);

    store.write(kCustomLinks, QStringLiteral("CustomLinksCount"), toText(customLinksCount));
    for (qsizetype i = 0; i < customLinksCount; ++i) {
        store.write(kCustomLinks, keyed("CustomLinksName", i + 1), customLinksName.value(i));
        store.write(kCustomLinks, keyed("CustomLinksURL", i + 1), customLinksURL.value(i));
    }

    store.write(kSkins, QStringLiteral("CurrentSkin"), context.nextSkin);
    store.write(kSkins, QStringLiteral("ToolbarLargeBitmap"), toolbarLargeBitmap);
    store.write(kSkins, QStringLiteral("ToolbarSmallBitmap"), toolbarSmallBitmap);
}

bool SettingsModel::readBoolean(const SettingsStore &store, const QString &section,
                                const QString &key, bool defaultValue)
{
    bool value = false;
    readInto(store, section, key, toText(defaultValue), value);
    return value;
}

qint16 SettingsModel::readInteger(const SettingsStore &store, const QString &section,
                                  const QString &key, qint16 defaultValue)
{
    qint16 value = 0;
    readInto(store, section, key, toText(defaultValue), value);
    return value;
}

bool SettingsModel::writeBoolean(SettingsStore &store, const QString &section, const QString &key,
                                 bool value)
{
    return store.write(section, key, toText(value));
}

QFont SettingsModel::quickNotesFont() const
{
    QFont font(qnFontName);
    if (qnFontSize > 0)
        font.setPointSize(qnFontSize);
    font.setBold(qnBold);
    font.setItalic(qnItalic);
    font.setUnderline(qnUnderline);
    return font;
}
